// Helpers shared by the plug-in tests: a transport that answers from the test, a log capture and
// a game-thread pump.
#pragma once

#include "CoreMinimal.h"
#include "Containers/Ticker.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"
#include "QuarnClient.h"
#include "QuarnSettings.h"
#include "QuarnTransport.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace QuarnTest
{
	inline std::string Str(const FString& S)
	{
		return std::string(TCHAR_TO_UTF8(*S));
	}

	/** Ticks the core ticker, as the game loop does, until Done or the timeout passes. */
	inline bool PumpUntil(const std::function<bool()>& Done, double TimeoutSeconds = 10.0)
	{
		const double End = FPlatformTime::Seconds() + TimeoutSeconds;
		while (!Done())
		{
			if (FPlatformTime::Seconds() > End)
			{
				return false;
			}
			FTSTicker::GetCoreTicker().Tick(0.001f);
			FPlatformProcess::Sleep(0.001f);
		}
		return true;
	}

	inline void PumpTicks(int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			FTSTicker::GetCoreTicker().Tick(0.001f);
		}
	}

	/** A transport that records each request and answers it when the test says so. */
	class FScriptedTransport : public IQuarnTransport
	{
	public:
		struct FPending
		{
			FQuarnHttpRequest Request;
			FQuarnTransportCallback OnDone;
		};

		/** When set, Send answers at once with this, from inside Send. */
		TOptional<FQuarnHttpResponse> ImmediateAnswer;
		/** When true, an immediate answer is delivered twice, as a faulty transport might. */
		bool bAnswerTwice = false;

		TArray<FPending> Pending;
		TArray<FQuarnHttpRequest> Sent;

		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			Sent.Add(Request);
			if (ImmediateAnswer.IsSet())
			{
				OnDone(ImmediateAnswer.GetValue());
				if (bAnswerTwice)
				{
					OnDone(ImmediateAnswer.GetValue());
				}
				return;
			}
			Pending.Add({Request, MoveTemp(OnDone)});
		}

		/** Answers the oldest pending request. */
		void Answer(const FQuarnHttpResponse& Response)
		{
			ASSERT_GT(Pending.Num(), 0);
			FPending Next = MoveTemp(Pending[0]);
			Pending.RemoveAt(0);
			Next.OnDone(Response);
		}

		void Answer(int32 Status, const FString& Body, const FString& RequestId = FString())
		{
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = Status;
			Response.Body = Body;
			Response.RequestId = RequestId;
			Answer(Response);
		}

		void Fail(EQuarnTransportResult Result)
		{
			FQuarnHttpResponse Response;
			Response.Result = Result;
			Answer(Response);
		}
	};

	/** Every log line written while it lives, with its category and verbosity. */
	class FLogCapture : public FOutputDevice
	{
	public:
		struct FLine
		{
			FName Category;
			ELogVerbosity::Type Verbosity;
			FString Text;
		};

		FLogCapture()
		{
			GLog->AddOutputDevice(this);
		}
		virtual ~FLogCapture() override
		{
			GLog->RemoveOutputDevice(this);
		}

		using FOutputDevice::Serialize;
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			Lines.Add({Category, Verbosity, FString(V)});
		}

		bool AnyContains(const FString& Needle) const
		{
			for (const FLine& Line : Lines)
			{
				if (Line.Text.Contains(Needle, ESearchCase::CaseSensitive))
				{
					return true;
				}
			}
			return false;
		}

		/** True when a line of exactly this verbosity and text was written. */
		bool Has(ELogVerbosity::Type Verbosity, const FString& Text) const
		{
			for (const FLine& Line : Lines)
			{
				if (Line.Verbosity == Verbosity && Line.Text.Equals(Text, ESearchCase::CaseSensitive))
				{
					return true;
				}
			}
			return false;
		}

		int32 CountIn(const FName Category) const
		{
			int32 Count = 0;
			for (const FLine& Line : Lines)
			{
				Count += Line.Category == Category ? 1 : 0;
			}
			return Count;
		}

		TArray<FLine> Lines;
	};

	/** Installs a scripted transport and a base address for one test, and restores both after it. */
	class FClientTest : public testing::Test
	{
	protected:
		virtual void SetUp() override
		{
			UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
			SavedBaseUrl = Settings->BaseUrl;
			bSavedAllowInsecure = Settings->bAllowInsecureHttp;
			SavedTimeout = Settings->RequestTimeoutSeconds;
			Settings->BaseUrl = TEXT("https://platform.example.com");
			Settings->bAllowInsecureHttp = false;
			Transport = MakeShared<FScriptedTransport>();
			FQuarnClient::SetTransport(Transport);
		}

		virtual void TearDown() override
		{
			FQuarnClient::SetTransport(nullptr);
			UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
			Settings->BaseUrl = SavedBaseUrl;
			Settings->bAllowInsecureHttp = bSavedAllowInsecure;
			Settings->RequestTimeoutSeconds = SavedTimeout;
			// Deliver anything still queued so that no callback outlives its test.
			PumpTicks(3);
		}

		TSharedPtr<FScriptedTransport> Transport;

	private:
		FString SavedBaseUrl;
		bool bSavedAllowInsecure = false;
		float SavedTimeout = 10.0f;
	};

	/** The outcome of one FQuarnClient::Send, counted so that a second call is seen. */
	struct FOutcome
	{
		int32 Calls = 0;
		bool bOk = false;
		TSharedPtr<FJsonObject> Json;
		FQuarnError Error;
		bool bOnGameThread = false;

		FQuarnResponseCallback Callback()
		{
			return [this](bool bInOk, TSharedPtr<FJsonObject> InJson, const FQuarnError& InError)
			{
				++Calls;
				bOk = bInOk;
				Json = InJson;
				Error = InError;
				bOnGameThread = IsInGameThread();
			};
		}
	};
}
