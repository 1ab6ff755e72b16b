// Copyright Quarn. All Rights Reserved.

// What the cases of the sync subsystem share: a scripted transport, a game instance of their own
// that a case may end halfway, a signed-in player, a watcher bound to the subsystem's events, the
// settings put back, and a case written as steps that each wait, with a bound, for the platform's
// next request before answering it.

#pragma once

#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Containers/Ticker.h"
#include "HAL/PlatformTime.h"
#include "Misc/AutomationTest.h"
#include "QuarnContainerSyncSubsystem.h"
#include "QuarnLog.h"
#include "QuarnSettings.h"
#include "QuarnSubsystem.h"
#include "Tests/QuarnContainerSyncWatcher.h"
#include "Tests/QuarnSyncTestSupport.h"
#include "Tests/QuarnTestDoubles.h"
#include "UObject/Package.h"

namespace QuarnContainerSyncTests
{
	/** The path every transaction goes to. */
	inline const TCHAR* TransactionUrl = TEXT("https://platform.example.com/v1/game/inventory/transaction");

	/** A container document as the platform answers a read. */
	inline FString Document(int64 Version, const FString& ItemsJson)
	{
		return FString::Printf(TEXT("{\"id\":\"c1\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":%lld,\"items\":[%s]}"), static_cast<long long>(Version), *ItemsJson);
	}

	/** A stack of a slot container, its instance id in "id" and in "properties". */
	inline FString SlotItem(const TCHAR* Id, const TCHAR* ItemId, int32 Quantity, int32 SlotIndex)
	{
		return FString::Printf(TEXT("{\"id\":\"%s\",\"item_id\":\"%s\",\"quantity\":%d,\"slot_index\":%d,\"slot_key\":\"\",\"x\":-1,\"y\":-1,\"rotated\":false,\"properties\":{\"__qnid\":\"%s\"}}"), Id, ItemId, Quantity, SlotIndex, Id);
	}

	inline FString Refusal(const TCHAR* Code)
	{
		return FString::Printf(TEXT("{\"error\":{\"code\":\"%s\",\"message\":\"Refused: %s.\",\"hint\":\"\"}}"), Code, Code);
	}

	/** One step of a case: what it waits for, and what it does once that holds. */
	struct FStep
	{
		FString What;
		TFunction<bool()> Ready;
		TFunction<void()> Then;
	};

	/**
	 * The world of one case: the scripted transport, the test's own game instance (ended by
	 * EndGame or when the fixture goes), player "p1" signed in, and a rooted watcher bound to the
	 * subsystem. Going, it puts back the retry limit, the log verbosity, the transport and the
	 * settings, in that order after the game instance has ended.
	 */
	class FKeepInSyncFixture
	{
	public:
		FKeepInSyncFixture()
			: Game(MakeUnique<QuarnTests::FTestGame>())
			, Alive(MakeShared<bool>(true))
			, SavedVerbosity(LogQuarn.GetVerbosity())
			, SavedRetryLimit(UQuarnSettings::Get()->SyncRetryLimit)
		{
			Watcher = NewObject<UQuarnContainerSyncWatcher>(GetTransientPackage());
			Watcher->AddToRoot();
			if (UQuarnContainerSyncSubsystem* const Sync = Subsystem())
			{
				Watcher->Watch(Sync);
			}
			if (UQuarnSubsystem* const Core = UQuarnSubsystem::Get(Game->GetWorld()))
			{
				Core->SetAccessToken(TEXT("p1"), TEXT("token-p1"));
			}
		}

		~FKeepInSyncFixture()
		{
			*Alive = false;
			Game.Reset();
			Watcher->RemoveFromRoot();
			LogQuarn.SetVerbosity(SavedVerbosity);
			GetMutableDefault<UQuarnSettings>()->SyncRetryLimit = SavedRetryLimit;
		}

		FKeepInSyncFixture(const FKeepInSyncFixture&) = delete;
		FKeepInSyncFixture& operator=(const FKeepInSyncFixture&) = delete;

		/** The test game's sync subsystem; null once the game has ended. */
		UQuarnContainerSyncSubsystem* Subsystem() const
		{
			return Game.IsValid() ? UQuarnContainerSyncSubsystem::Get(Game->GetWorld()) : nullptr;
		}

		/** The test game's world; null once the game has ended. */
		UWorld* GetWorld() const
		{
			return Game.IsValid() ? Game->GetWorld() : nullptr;
		}

		QuarnTests::FScriptedTransport& Transport() const
		{
			return *Client.Transport;
		}

		UQuarnContainerSyncWatcher& Events() const
		{
			return *Watcher;
		}

		/** The game's call: false when the game has ended or has no subsystem. */
		bool Keep(const FString& ContainerId, const TArray<FQuarnItemInstance>& Items, const FString& PlayerId = TEXT("p1")) const
		{
			UQuarnContainerSyncSubsystem* const Sync = Subsystem();
			if (Sync == nullptr)
			{
				return false;
			}
			Sync->KeepContainerInSync(PlayerId, ContainerId, Items);
			return true;
		}

		FQuarnContainerSyncStatus Status(const FString& ContainerId) const
		{
			const UQuarnContainerSyncSubsystem* const Sync = Subsystem();
			return Sync ? Sync->GetSyncStatus(TEXT("p1"), ContainerId) : FQuarnContainerSyncStatus();
		}

		/** Ends the game instance as a quitting game does: its subsystems deinitialise. */
		void EndGame()
		{
			Game.Reset();
		}

		/** The oldest request still unanswered is a read of a container. */
		bool ReadPending() const
		{
			return Transport().Pending.Num() > 0 && Transport().Pending[0].Request.Verb == TEXT("GET");
		}

		/** The oldest request still unanswered is a transaction. */
		bool TransactionPending() const
		{
			return Transport().Pending.Num() > 0 && Transport().Pending[0].Request.Url == TransactionUrl;
		}

		/** The transactions sent so far, oldest first. */
		TArray<FQuarnHttpRequest> Transactions() const
		{
			TArray<FQuarnHttpRequest> Result;
			for (const FQuarnHttpRequest& Request : Transport().Sent)
			{
				if (Request.Url == TransactionUrl)
				{
					Result.Add(Request);
				}
			}
			return Result;
		}

		/** The intents of the oldest unanswered transaction, in the compact form of the node's tests. */
		TArray<FString> PendingIntents() const
		{
			return TransactionPending() ? QuarnSyncTests::DescribeIntents(Transport().Pending[0].Request.Body) : TArray<FString>();
		}

		/** An answer with a Retry-After, as the transport hands it over. */
		static FQuarnHttpResponse Answered(int32 Status, const FString& Body, float RetryAfterSeconds = 0.0f)
		{
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = Status;
			Response.Body = Body;
			Response.RetryAfterSeconds = RetryAfterSeconds;
			return Response;
		}

		/**
		 * Runs the steps in order, each once its condition holds (checked at once, then every
		 * frame), then ends the case. A step that waits longer than StepBound fails the case,
		 * naming what it waited for. Nothing runs once the fixture has gone.
		 */
		void Run(FAutomationTestBase& Test, TArray<FStep> Steps, const FDoneDelegate& Done, double StepBound = 8.0) const
		{
			struct FScript
			{
				TArray<FStep> Steps;
				int32 Next = 0;
				double GiveUpAt = 0.0;
			};
			const TSharedRef<FScript> Script = MakeShared<FScript>();
			Script->Steps = MoveTemp(Steps);
			Script->GiveUpAt = FPlatformTime::Seconds() + StepBound;
			FAutomationTestBase* const TestPtr = &Test;
			const TWeakPtr<bool> WeakAlive = Alive;
			auto Advance = [Script, TestPtr, WeakAlive, Done, StepBound]() -> bool
			{
				const TSharedPtr<bool> bAlive = WeakAlive.Pin();
				if (!bAlive.IsValid() || !*bAlive)
				{
					return false;
				}
				while (Script->Next < Script->Steps.Num())
				{
					FStep& Step = Script->Steps[Script->Next];
					if (!Step.Ready())
					{
						if (FPlatformTime::Seconds() >= Script->GiveUpAt)
						{
							TestPtr->AddError(FString::Printf(TEXT("Timed out waiting for %s."), *Step.What));
							Done.Execute();
							return false;
						}
						return true;
					}
					++Script->Next;
					Script->GiveUpAt = FPlatformTime::Seconds() + StepBound;
					if (Step.Then)
					{
						Step.Then();
					}
				}
				Done.Execute();
				return false;
			};
			if (Advance())
			{
				FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([Advance](float) { return Advance(); }));
			}
		}

	private:
		// Members go in reverse order: the game instance ends while the scripted transport is
		// still installed, and the transport and settings are put back last.
		QuarnTests::FClientFixture Client;
		TUniquePtr<QuarnTests::FTestGame> Game;
		TSharedRef<bool> Alive;
		ELogVerbosity::Type SavedVerbosity;
		int32 SavedRetryLimit = 0;
		UQuarnContainerSyncWatcher* Watcher = nullptr;
	};

	/** A step that holds once Frames frames have passed since the step before it. */
	inline FStep AfterFrames(int32 Frames, TFunction<void()> Then, const TCHAR* What = TEXT("a few frames"))
	{
		const TSharedRef<int32> Seen = MakeShared<int32>(-1);
		return {What, [Seen, Frames]() { return ++*Seen >= Frames; }, MoveTemp(Then)};
	}

	/** A step that holds once Seconds have passed since the step before it. */
	inline FStep AfterSeconds(double Seconds, TFunction<void()> Then)
	{
		const TSharedRef<double> Since = MakeShared<double>(-1.0);
		return {FString::Printf(TEXT("%.1f s to pass"), Seconds), [Since, Seconds]()
		{
			const double Now = FPlatformTime::Seconds();
			if (*Since < 0.0)
			{
				*Since = Now;
			}
			return Now - *Since >= Seconds;
		}, MoveTemp(Then)};
	}
}

#endif // WITH_DEV_AUTOMATION_TESTS
