// Copyright Quarn. All Rights Reserved.

// What the plug-in's automation tests share: a transport that answers when the test says so, the
// outcome of one request counted so that a second completion is seen, settings restored after
// each case, a game instance of the test's own, a capture of log lines, and waiting a number of
// frames or, with a bound, for a condition. Public so that the adapter's and the panel's tests use
// the same doubles; everything here compiles away without WITH_DEV_AUTOMATION_TESTS.

#pragma once

#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Containers/Ticker.h"
#include "CoreGlobals.h"
#include "Dom/JsonObject.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "HAL/CriticalSection.h"
#include "HAL/PlatformTime.h"
#include "Misc/AutomationTest.h"
#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/ScopeLock.h"
#include "QuarnClient.h"
#include "QuarnSettings.h"
#include "QuarnTransport.h"

namespace QuarnTests
{
	/** Where the plug-in's tests run: the editor, a game or a server, with the product's tests. */
	inline constexpr EAutomationTestFlags TestFlags = EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext | EAutomationTestFlags::ServerContext | EAutomationTestFlags::ProductFilter;

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

		/** Answers the pending request at Index (0 is the oldest), whatever waits before it; false when none waits there. */
		bool AnswerAt(int32 Index, const FQuarnHttpResponse& Response)
		{
			if (!Pending.IsValidIndex(Index))
			{
				return false;
			}
			FPending Next = MoveTemp(Pending[Index]);
			Pending.RemoveAt(Index);
			Next.OnDone(Response);
			return true;
		}

		bool AnswerAt(int32 Index, int32 Status, const FString& Body)
		{
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = Status;
			Response.Body = Body;
			return AnswerAt(Index, Response);
		}

		/** Answers the oldest pending request; false when none is pending. */
		bool Answer(const FQuarnHttpResponse& Response)
		{
			return AnswerAt(0, Response);
		}

		bool Answer(int32 Status, const FString& Body, const FString& RequestId = FString())
		{
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = Status;
			Response.Body = Body;
			Response.RequestId = RequestId;
			return Answer(Response);
		}

		bool Fail(EQuarnTransportResult Result)
		{
			FQuarnHttpResponse Response;
			Response.Result = Result;
			return Answer(Response);
		}
	};

	/** The outcome of one FQuarnClient::Send. */
	struct FOutcome
	{
		int32 Calls = 0;
		bool bOk = false;
		TSharedPtr<FJsonObject> Json;
		FQuarnError Error;
		bool bOnGameThread = false;
		/** Runs after each completion is recorded (a LatentIt's done, say). */
		TFunction<void()> Then;

		static FQuarnResponseCallback Into(const TSharedRef<FOutcome>& Outcome)
		{
			return [Outcome](bool bInOk, TSharedPtr<FJsonObject> InJson, const FQuarnError& InError)
			{
				++Outcome->Calls;
				Outcome->bOk = bInOk;
				Outcome->Json = InJson;
				Outcome->Error = InError;
				Outcome->bOnGameThread = IsInGameThread();
				if (Outcome->Then)
				{
					Outcome->Then();
				}
			};
		}
	};

	/** Installs a scripted transport and a known base address; restores both when it goes. */
	class FClientFixture
	{
	public:
		FClientFixture()
			: Transport(MakeShared<FScriptedTransport>())
		{
			UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
			SavedBaseUrl = Settings->BaseUrl;
			bSavedAllowInsecure = Settings->bAllowInsecureHttp;
			SavedTimeout = Settings->RequestTimeoutSeconds;
			Settings->BaseUrl = TEXT("https://platform.example.com");
			Settings->bAllowInsecureHttp = false;
			FQuarnClient::SetTransport(Transport);
		}

		~FClientFixture()
		{
			FQuarnClient::SetTransport(nullptr);
			UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
			Settings->BaseUrl = SavedBaseUrl;
			Settings->bAllowInsecureHttp = bSavedAllowInsecure;
			Settings->RequestTimeoutSeconds = SavedTimeout;
		}

		TSharedRef<FScriptedTransport> Transport;

	private:
		FString SavedBaseUrl;
		bool bSavedAllowInsecure = false;
		float SavedTimeout = 10.0f;
	};

	/**
	 * A standalone game instance with its own world, so that a test has a game instance subsystem
	 * (and a world to make widgets in) whether it runs in an editor, a game or a server. The game
	 * instance is rooted while the fixture lives; going, it shuts down and destroys its world.
	 *
	 * Init takes the process's network-encryption handlers over from the game that is running, and
	 * Shutdown leaves two of them unbound; the fixture hands the running game its own back, so a
	 * case run inside a live session does not cut that session's encryption hand-shake off.
	 */
	class FTestGame
	{
	public:
		FTestGame()
			: SavedEncryptionToken(FNetDelegates::OnReceivedNetworkEncryptionToken)
			, SavedEncryptionAck(FNetDelegates::OnReceivedNetworkEncryptionAck)
			, SavedEncryptionFailure(FNetDelegates::OnReceivedNetworkEncryptionFailure)
		{
			GameInstance = NewObject<UGameInstance>(GEngine);
			GameInstance->AddToRoot();
			GameInstance->InitializeStandalone();
		}

		~FTestGame()
		{
			UWorld* const World = GameInstance->GetWorld();
			GameInstance->Shutdown();
			if (World != nullptr)
			{
				GEngine->DestroyWorldContext(World);
				World->DestroyWorld(false);
			}
			GameInstance->RemoveFromRoot();
			FNetDelegates::OnReceivedNetworkEncryptionToken = SavedEncryptionToken;
			FNetDelegates::OnReceivedNetworkEncryptionAck = SavedEncryptionAck;
			FNetDelegates::OnReceivedNetworkEncryptionFailure = SavedEncryptionFailure;
		}

		FTestGame(const FTestGame&) = delete;
		FTestGame& operator=(const FTestGame&) = delete;

		UGameInstance* GetGameInstance() const
		{
			return GameInstance;
		}

		UWorld* GetWorld() const
		{
			return GameInstance->GetWorld();
		}

	private:
		UGameInstance* GameInstance = nullptr;
		const FNetDelegates::FReceivedNetworkEncryptionToken SavedEncryptionToken;
		const FNetDelegates::FReceivedNetworkEncryptionAck SavedEncryptionAck;
		const FNetDelegates::FReceivedNetworkEncryptionFailure SavedEncryptionFailure;
	};

	/** Every log line written while it lives, from any thread, with its verbosity. */
	class FLogLines : public FOutputDevice
	{
	public:
		FLogLines()
		{
			GLog->AddOutputDevice(this);
		}

		virtual ~FLogLines() override
		{
			GLog->RemoveOutputDevice(this);
		}

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			FScopeLock Lock(&Mutex);
			Lines.Emplace(static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask), FString(V));
		}

		virtual bool CanBeUsedOnMultipleThreads() const override
		{
			return true;
		}

		/** Whether a line at exactly this verbosity said exactly this. */
		bool Has(ELogVerbosity::Type Verbosity, const FString& Line) const
		{
			FScopeLock Lock(&Mutex);
			return Lines.ContainsByPredicate([Verbosity, &Line](const TPair<ELogVerbosity::Type, FString>& Entry)
			{
				return Entry.Key == Verbosity && Entry.Value.Equals(Line, ESearchCase::CaseSensitive);
			});
		}

		/** Lines at this verbosity that contain Needle. */
		int32 Count(const FString& Needle, ELogVerbosity::Type Verbosity) const
		{
			FScopeLock Lock(&Mutex);
			int32 Found = 0;
			for (const TPair<ELogVerbosity::Type, FString>& Entry : Lines)
			{
				Found += (Entry.Key == Verbosity && Entry.Value.Contains(Needle, ESearchCase::CaseSensitive)) ? 1 : 0;
			}
			return Found;
		}

		/**
		 * Whether a line at any verbosity said exactly this. A line the running test expects (AddExpectedError,
		 * AddExpectedMessage*) reaches log devices as Verbose, so it is looked up by this, not by its verbosity;
		 * the expectation itself says that it was a warning.
		 */
		bool HasAtAnyVerbosity(const FString& Line) const
		{
			FScopeLock Lock(&Mutex);
			return Lines.ContainsByPredicate([&Line](const TPair<ELogVerbosity::Type, FString>& Entry)
			{
				return Entry.Value.Equals(Line, ESearchCase::CaseSensitive);
			});
		}

		/** Lines at any verbosity that contain Needle (see HasAtAnyVerbosity). */
		int32 CountAtAnyVerbosity(const FString& Needle) const
		{
			FScopeLock Lock(&Mutex);
			int32 Found = 0;
			for (const TPair<ELogVerbosity::Type, FString>& Entry : Lines)
			{
				Found += Entry.Value.Contains(Needle, ESearchCase::CaseSensitive) ? 1 : 0;
			}
			return Found;
		}

		/** Whether any line, at any verbosity, contains Needle. */
		bool AnyContains(const FString& Needle) const
		{
			FScopeLock Lock(&Mutex);
			return Lines.ContainsByPredicate([&Needle](const TPair<ELogVerbosity::Type, FString>& Entry)
			{
				return Entry.Value.Contains(Needle, ESearchCase::CaseSensitive);
			});
		}

		/** Whether any line, at any verbosity, starts with Prefix. */
		bool AnyStartsWith(const FString& Prefix) const
		{
			FScopeLock Lock(&Mutex);
			return Lines.ContainsByPredicate([&Prefix](const TPair<ELogVerbosity::Type, FString>& Entry)
			{
				return Entry.Value.StartsWith(Prefix, ESearchCase::CaseSensitive);
			});
		}

	private:
		mutable FCriticalSection Mutex;
		TArray<TPair<ELogVerbosity::Type, FString>> Lines;
	};

	/** Runs asynchronous steps one after another: each is given the function that starts the next. */
	inline void RunInOrder(TArray<TFunction<void(TFunction<void()>)>> Steps, TFunction<void()> Finally)
	{
		struct FState
		{
			TArray<TFunction<void(TFunction<void()>)>> Steps;
			TFunction<void()> Finally;
			int32 Next = 0;
		};
		TSharedRef<FState> State = MakeShared<FState>();
		State->Steps = MoveTemp(Steps);
		State->Finally = MoveTemp(Finally);
		TSharedRef<TFunction<void()>> RunNext = MakeShared<TFunction<void()>>();
		TWeakPtr<TFunction<void()>> WeakRunNext = RunNext;
		*RunNext = [State, WeakRunNext]()
		{
			if (State->Next >= State->Steps.Num())
			{
				State->Finally();
				return;
			}
			const int32 Index = State->Next++;
			TSharedPtr<TFunction<void()>> Continue = WeakRunNext.Pin();
			State->Steps[Index]([Continue]() { (*Continue)(); });
		};
		(*RunNext)();
	}

	/** Runs Then on the game thread once Frames frames have passed. */
	inline void AfterFrames(int32 Frames, TFunction<void()> Then)
	{
		TSharedRef<int32> Remaining = MakeShared<int32>(Frames);
		FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([Remaining, Then](float)
		{
			if (--*Remaining > 0)
			{
				return true;
			}
			Then();
			return false;
		}));
	}

	/**
	 * Runs Then on the game thread on the first frame Condition holds. A wait is always bounded:
	 * after TimeoutSeconds without it, OnTimeout runs instead and the condition is dropped.
	 */
	inline void WaitUntil(TFunction<bool()> Condition, double TimeoutSeconds, TFunction<void()> Then, TFunction<void()> OnTimeout)
	{
		const double GiveUpAt = FPlatformTime::Seconds() + TimeoutSeconds;
		FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([Condition = MoveTemp(Condition), Then = MoveTemp(Then), OnTimeout = MoveTemp(OnTimeout), GiveUpAt](float)
		{
			if (Condition())
			{
				Then();
				return false;
			}
			if (FPlatformTime::Seconds() >= GiveUpAt)
			{
				OnTimeout();
				return false;
			}
			return true;
		}));
	}

	/**
	 * WaitUntil for a latent case: on time-out the case fails, naming what it waited for, and ends
	 * through Done, so that a hang shows where it happened.
	 */
	inline void Await(FAutomationTestBase& Test, const FString& What, TFunction<bool()> Condition, const FDoneDelegate& Done, TFunction<void()> Then, double TimeoutSeconds = 10.0)
	{
		FAutomationTestBase* const TestPtr = &Test;
		WaitUntil(MoveTemp(Condition), TimeoutSeconds, MoveTemp(Then), [TestPtr, What, Done]()
		{
			TestPtr->AddError(FString::Printf(TEXT("Timed out waiting for %s."), *What));
			Done.ExecuteIfBound();
		});
	}

	/** A body written with "\n" line ends as the pretty printer writes it on the build's platform. */
	inline FString Eol(const FString& Text)
	{
		return Text.Replace(TEXT("\n"), LINE_TERMINATOR, ESearchCase::CaseSensitive);
	}
}

#endif // WITH_DEV_AUTOMATION_TESTS
