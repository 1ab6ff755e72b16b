// Copyright Quarn. All Rights Reserved.

// What the sync node's tests share: a scripted transport and a game instance of their own, a
// signed-in player, a node started with its pins recorded, waiting on the core ticker until a
// condition holds, log lines kept with their verbosity, and a transaction body's intents in a
// compact form.

#pragma once

#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Containers/Ticker.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "HAL/CriticalSection.h"
#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/ScopeLock.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "QuarnLog.h"
#include "QuarnStashSync.h"
#include "QuarnSubsystem.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"
#include "Tests/QuarnSyncPinRecorder.h"
#include "Tests/QuarnTestDoubles.h"
#include "UObject/Package.h"

namespace QuarnSyncTests
{
	/** "grant:<item>:<quantity>", "consume:<instance>:<quantity>" or "move:<instance>:<condensed to>" per intent. */
	inline TArray<FString> DescribeIntents(const FString& Body)
	{
		TArray<FString> Result;
		TSharedPtr<FJsonObject> Root;
		if (!FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Body), Root) || !Root.IsValid())
		{
			Result.Add(TEXT("<unreadable body>"));
			return Result;
		}
		const TArray<TSharedPtr<FJsonValue>>* Intents = nullptr;
		if (!Root->TryGetArrayField(TEXT("intents"), Intents))
		{
			Result.Add(TEXT("<no intents>"));
			return Result;
		}
		for (const TSharedPtr<FJsonValue>& Value : *Intents)
		{
			const TSharedPtr<FJsonObject>* IntentObject = nullptr;
			if (!Value.IsValid() || !Value->TryGetObject(IntentObject))
			{
				Result.Add(TEXT("<not an object>"));
				continue;
			}
			const FJsonObject& Intent = **IntentObject;
			const FString Kind = Intent.GetStringField(TEXT("kind"));
			if (Kind == TEXT("grant"))
			{
				Result.Add(FString::Printf(TEXT("grant:%s:%lld"), *Intent.GetStringField(TEXT("item_id")), static_cast<long long>(Intent.GetNumberField(TEXT("quantity")))));
			}
			else if (Kind == TEXT("consume"))
			{
				Result.Add(FString::Printf(TEXT("consume:%s:%lld"), *Intent.GetStringField(TEXT("instance_id")), static_cast<long long>(Intent.GetNumberField(TEXT("quantity")))));
			}
			else
			{
				FString To = TEXT("<no to>");
				const TSharedPtr<FJsonObject>* ToObject = nullptr;
				if (Intent.TryGetObjectField(TEXT("to"), ToObject))
				{
					To.Reset();
					FJsonSerializer::Serialize(ToObject->ToSharedRef(), TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&To));
				}
				Result.Add(FString::Printf(TEXT("%s:%s:%s"), *Kind, *Intent.GetStringField(TEXT("instance_id")), *To));
			}
		}
		return Result;
	}

	/**
	 * One sync case's world: a scripted transport and the test's own game instance, players signed
	 * in with "token-<player>", and the pin recorders of the nodes it started, rooted until it goes.
	 * Going, it puts back the log verbosity, the transport and the settings and ends the game
	 * instance, so that an editor running other tests after these sees nothing of them.
	 */
	class FSyncFixture
	{
	public:
		FSyncFixture()
			: Alive(MakeShared<bool>(true))
			, SavedVerbosity(LogQuarn.GetVerbosity())
		{
		}

		~FSyncFixture()
		{
			*Alive = false;
			for (UQuarnSyncPinRecorder* Recorder : Recorders)
			{
				Recorder->RemoveFromRoot();
			}
			Recorders.Reset();
			LogQuarn.SetVerbosity(SavedVerbosity);
		}

		FSyncFixture(const FSyncFixture&) = delete;
		FSyncFixture& operator=(const FSyncFixture&) = delete;

		QuarnTests::FScriptedTransport& Transport() const
		{
			return *Client.Transport;
		}

		UWorld* GetWorld() const
		{
			return Game.GetWorld();
		}

		/** Gives the player a token in the test game's subsystem; false when there is no subsystem. */
		bool SignIn(const FString& PlayerId)
		{
			UQuarnSubsystem* const Subsystem = UQuarnSubsystem::Get(Game.GetWorld());
			if (Subsystem == nullptr)
			{
				return false;
			}
			Subsystem->SetAccessToken(PlayerId, TEXT("token-") + PlayerId);
			return true;
		}

		/** Starts a sync node for Context with its pins recorded. */
		UQuarnSyncPinRecorder& StartWithContext(UObject* Context, const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& Items)
		{
			UQuarnSyncPinRecorder* const Recorder = NewObject<UQuarnSyncPinRecorder>(GetTransientPackage());
			Recorder->AddToRoot();
			Recorders.Add(Recorder);
			UQuarnSyncStash* const Action = UQuarnSyncStash::SyncStash(Context, PlayerId, ContainerId, Items);
			Recorder->Bind(Action);
			Action->Activate();
			return *Recorder;
		}

		/** Starts a sync node in the test game's world. */
		UQuarnSyncPinRecorder& Start(const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& Items)
		{
			return StartWithContext(Game.GetWorld(), PlayerId, ContainerId, Items);
		}

		/**
		 * Runs Then on the game thread in the first frame where Condition holds (checked at once,
		 * then once a frame). Stops, running nothing, when the fixture has gone: a case that timed
		 * out leaves nothing behind that reaches into the next one. The case's time-out bounds it.
		 */
		void WhenTrue(TFunction<bool()> Condition, TFunction<void()> Then) const
		{
			if (Condition())
			{
				Then();
				return;
			}
			const TWeakPtr<bool> WeakAlive = Alive;
			FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([WeakAlive, Condition = MoveTemp(Condition), Then = MoveTemp(Then)](float)
			{
				const TSharedPtr<bool> bAlive = WeakAlive.Pin();
				if (!bAlive.IsValid() || !*bAlive)
				{
					return false;
				}
				if (!Condition())
				{
					return true;
				}
				Then();
				return false;
			}));
		}

		/** Runs Then after Frames frames, unless the fixture has gone by then. */
		void AfterFrames(int32 Frames, TFunction<void()> Then) const
		{
			const TWeakPtr<bool> WeakAlive = Alive;
			QuarnTests::AfterFrames(Frames, [WeakAlive, Then = MoveTemp(Then)]()
			{
				const TSharedPtr<bool> bAlive = WeakAlive.Pin();
				if (bAlive.IsValid() && *bAlive)
				{
					Then();
				}
			});
		}

	private:
		// Members go in reverse order: the game instance ends while the scripted transport is
		// still installed, and the transport and settings are put back last.
		QuarnTests::FClientFixture Client;
		QuarnTests::FTestGame Game;
		TSharedRef<bool> Alive;
		ELogVerbosity::Type SavedVerbosity;
		TArray<UQuarnSyncPinRecorder*> Recorders;
	};

	/** A desired item as the template's inventory gives it after conversion. */
	inline FQuarnItemInstance Desired(const TCHAR* InstanceId, const TCHAR* ItemId, int32 Quantity, int32 SlotIndex)
	{
		FQuarnItemInstance Item;
		Item.InstanceId = InstanceId;
		Item.ItemId = FName(ItemId);
		Item.Quantity = Quantity;
		Item.SlotIndex = SlotIndex;
		return Item;
	}
}

#endif // WITH_DEV_AUTOMATION_TESTS
