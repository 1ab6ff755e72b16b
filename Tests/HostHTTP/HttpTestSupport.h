// Copyright Quarn. All Rights Reserved.

// What the HTTP tests share: pumping the core ticker as the game loop does, and recording every
// call of a completion delegate.

#pragma once

#include "Containers/StringConv.h"
#include "Containers/Ticker.h"
#include "CoreMinimal.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "HttpModule.h"
#include "HttpTestServer.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace HostHttpTest
{
	inline FString ToFString(const std::string& Utf8)
	{
		const FUTF8ToTCHAR Converted(Utf8.data(), static_cast<int32>(Utf8.size()));
		return FString(Converted.Length(), Converted.Get());
	}

	inline std::string ToStd(const FString& String)
	{
		const FTCHARToUTF8 Converted(*String, String.Len());
		return std::string(Converted.Get(), static_cast<size_t>(Converted.Length()));
	}

	inline std::string BytesToStd(const TArray<uint8>& Bytes)
	{
		return std::string(reinterpret_cast<const char*>(Bytes.GetData()), static_cast<size_t>(Bytes.Num()));
	}

	/** One game-loop frame: ticks the core ticker with the real time since the last frame. */
	inline void PumpFrame()
	{
		static double LastTime = FPlatformTime::Seconds();
		const double Now = FPlatformTime::Seconds();
		FTSTicker::GetCoreTicker().Tick(static_cast<float>(Now - LastTime));
		LastTime = Now;
		FPlatformProcess::Sleep(0.001f);
	}

	/** Pumps frames until Done() or TimeoutSeconds passed (a bound against hangs, not a timing check). */
	template <typename FPredicate>
	bool PumpUntil(FPredicate&& Done, double TimeoutSeconds = 10.0)
	{
		const double Deadline = FPlatformTime::Seconds() + TimeoutSeconds;
		while (!Done())
		{
			if (FPlatformTime::Seconds() > Deadline)
			{
				return false;
			}
			PumpFrame();
		}
		return true;
	}

	inline void PumpFor(double Seconds)
	{
		const double End = FPlatformTime::Seconds() + Seconds;
		while (FPlatformTime::Seconds() < End)
		{
			PumpFrame();
		}
	}

	/** Every call of a request's completion delegate. */
	struct FCompletionRecord
	{
		std::mutex Mutex;
		std::atomic<int32> Calls = 0;
		std::atomic<int32> CallsOffGameThread = 0;
		// Weak: the request owns the delegate that owns this record.
		TWeakPtr<IHttpRequest, ESPMode::ThreadSafe> Request;
		FHttpResponsePtr Response;
		bool bSucceeded = false;
		EHttpRequestStatus::Type Status = EHttpRequestStatus::NotStarted;
		EHttpFailureReason FailureReason = EHttpFailureReason::None;
		double CompletedAtSeconds = 0.0;

		int32 Code() const { return Response ? Response->GetResponseCode() : -1; }
		std::string Body() const { return Response ? ToStd(Response->GetContentAsString()) : std::string(); }
	};

	/**
	 * Waits, without ticking the game thread, until the record saw a completion or ten seconds
	 * passed, then a little longer so that a second completion would show.
	 */
	inline void WaitWithoutTicking(const FCompletionRecord& Record)
	{
		const double Deadline = FPlatformTime::Seconds() + 10.0;
		while (Record.Calls.load() == 0 && FPlatformTime::Seconds() < Deadline)
		{
			FPlatformProcess::Sleep(0.005f);
		}
		FPlatformProcess::Sleep(0.1f);
	}

	/** Binds the completion delegate to a new record. */
	inline std::shared_ptr<FCompletionRecord> RecordCompletion(IHttpRequest& Request)
	{
		auto Record = std::make_shared<FCompletionRecord>();
		Request.OnProcessRequestComplete().BindLambda([Record](FHttpRequestPtr InRequest, FHttpResponsePtr InResponse, bool bInSucceeded)
		{
			std::lock_guard<std::mutex> Lock(Record->Mutex);
			if (!IsInGameThread())
			{
				++Record->CallsOffGameThread;
			}
			Record->Request = InRequest;
			Record->Response = InResponse;
			Record->bSucceeded = bInSucceeded;
			Record->Status = InRequest ? InRequest->GetStatus() : EHttpRequestStatus::NotStarted;
			Record->FailureReason = InRequest ? InRequest->GetFailureReason() : EHttpFailureReason::None;
			Record->CompletedAtSeconds = FPlatformTime::Seconds();
			++Record->Calls;
		});
		return Record;
	}

	/** Pumps until the record saw a completion, then a little longer to catch a second one. */
	inline bool WaitForCompletion(const std::shared_ptr<FCompletionRecord>& Record, double TimeoutSeconds = 10.0)
	{
		const bool bCompleted = PumpUntil([&Record] { return Record->Calls.load() > 0; }, TimeoutSeconds);
		PumpFor(0.1);
		return bCompleted;
	}

	inline FHttpRequestRef MakeRequest(const FString& Verb, const std::string& Url)
	{
		FHttpRequestRef Request = FHttpModule::Get().CreateRequest();
		Request->SetVerb(Verb);
		Request->SetURL(ToFString(Url));
		return Request;
	}
}
