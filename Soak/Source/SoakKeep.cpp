// Copyright Quarn. All Rights Reserved.

// The soak's --keep game: it changes its items about 20 times a second, hands every list to
// Keep Container In Sync without waiting for anything, and writes the instance ids it gets back
// into its template, while the platform injects faults and, with --outages, goes away for a few
// seconds at a time. After each outage and at the end the game waits until its container is in
// sync, and the platform must then hold exactly the game's items.

#include "SoakRun.h"
#include "Dom/JsonValue.h"
#include "Engine/World.h"
#include "HAL/PlatformTime.h"
#include "Host/LogCapture.h"
#include "QuarnContainerSyncSubsystem.h"
#include "QuarnSession.h"
#include "QuarnSubsystem.h"
#include "QuarnTest/EmulatorProcess.h"
#include "QuarnUSMELibrary.h"
#include "Tests/QuarnContainerSyncWatcher.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

#include <cstdio>

namespace SoakKeep
{
	/** What the game picks up in play. */
	const TCHAR* const Items[] = { TEXT("Bandage"), TEXT("Medkit"), TEXT("Ammo"), TEXT("Rifle"), TEXT("Helmet"), TEXT("Rope") };
	/** Seconds between two calls: about 20 a second. */
	constexpr double CallInterval = 0.05;
	/** How long the game waits for its container to be in sync, outages of the platform's faults included. */
	constexpr double SettleSeconds = 60.0;
	/** Slots of the stash the panel ensured. */
	constexpr int32 SlotCount = 40;

	/** Through USME's fields and back, as a graph writes an item into the template and reads it out again. */
	FQuarnItemInstance ThroughTemplate(const FQuarnItemInstance& Item)
	{
		FName Id;
		int32 Amount = 0;
		int32 CachedIndex = 0;
		float Durability = 0.0f;
		TArray<FName> DataKeys;
		TArray<FString> DataValues;
		UQuarnUSMELibrary::BreakItemToUSME(Item, Id, Amount, CachedIndex, Durability, DataKeys, DataValues);
		return UQuarnUSMELibrary::MakeItemFromUSME(Id, Amount, CachedIndex, Durability, DataKeys, DataValues);
	}
}

void FSoak::WriteBack(const TArray<FQuarnItemInstance>& Items, FSoakFigures& Figures)
{
	// The event comes only when the synced list is the game's latest, so every stack the game
	// names must still carry its id: one that does not was consumed and granted again.
	TSet<FString> Returned;
	for (const FQuarnItemInstance& Item : Items)
	{
		Returned.Add(Item.InstanceId);
	}
	for (const FQuarnItemInstance& Item : Held)
	{
		if (!Item.InstanceId.IsEmpty() && Item.Quantity > 0 && !Returned.Contains(Item.InstanceId))
		{
			++Figures.IdChanges;
			KeepViolations.Add(FString::Printf(TEXT("the platform changed the id of %s %s, which the game held unchanged"), *Item.ItemId.ToString(), *Item.InstanceId));
		}
	}
	Held.Reset(Items.Num());
	for (const FQuarnItemInstance& Item : Items)
	{
		Held.Add(SoakKeep::ThroughTemplate(Item));
	}
}

void FSoak::MutateHeld()
{
	TSet<int32> Taken;
	for (const FQuarnItemInstance& Item : Held)
	{
		Taken.Add(Item.SlotIndex);
	}
	const int32 Roll = Random(0, 99);
	const bool bCrowded = Held.Num() > 15;
	if (Held.Num() > 0 && Roll < (bCrowded ? 45 : 15))
	{
		// Used up or dropped in play.
		Held.RemoveAt(Random(0, Held.Num() - 1));
	}
	else if (Held.Num() > 0 && Roll < 55)
	{
		Held[Random(0, Held.Num() - 1)].Quantity = Random(1, 30);
	}
	else if (Held.Num() > 0 && Roll < 70)
	{
		// A move into a slot the game sees free. Only while every stack it holds has its id: a new
		// stack lies wherever the platform put it, which the game learns when the ids come back.
		const bool bKnowsEveryPlace = !Held.ContainsByPredicate([](const FQuarnItemInstance& Item) { return Item.InstanceId.IsEmpty(); });
		const int32 Slot = Random(0, SoakKeep::SlotCount - 1);
		if (bKnowsEveryPlace && !Taken.Contains(Slot))
		{
			Held[Random(0, Held.Num() - 1)].SlotIndex = Slot;
		}
	}
	else if (Roll < 95)
	{
		// Picked up: a stack the platform has not seen, in no slot yet.
		Held.Add(UQuarnUSMELibrary::MakeItemFromUSME(FName(SoakKeep::Items[Random(0, UE_ARRAY_COUNT(SoakKeep::Items) - 1)]), Random(1, 10), -1, 1.0f, TArray<FName>(), TArray<FString>()));
	}
	// Otherwise a save with nothing changed.
}

void FSoak::RunKeepRound(FSoakFigures& Figures, TArray<FString>& OutViolations)
{
	UQuarnContainerSyncSubsystem* const Sync = UQuarnContainerSyncSubsystem::Get(Loop.GetWorld());
	if (Sync == nullptr)
	{
		OutViolations.Add(TEXT("the sync subsystem is gone"));
		return;
	}
	MutateHeld();
	Sync->KeepContainerInSync(PlayerId, ContainerId, Held);
	++Figures.Calls;
	TickUntil([] { return false; }, SoakKeep::CallInterval);
}

void FSoak::RunOutage(FSoakFigures& Figures, TArray<FString>& OutViolations)
{
	CollectFaultCounters(Figures);
	++Figures.Outages;
	if (!Emulator->Stop())
	{
		OutViolations.Add(TEXT("the platform did not stop cleanly for its outage"));
	}
	// The game plays on and saves while the platform is away.
	bool bSawRetrying = false;
	const double Until = FPlatformTime::Seconds() + Options.OutageSeconds;
	while (FPlatformTime::Seconds() < Until)
	{
		TArray<FString> RoundViolations;
		RunKeepRound(Figures, RoundViolations);
		OutViolations.Append(RoundViolations);
		const UQuarnContainerSyncSubsystem* const Sync = UQuarnContainerSyncSubsystem::Get(Loop.GetWorld());
		bSawRetrying |= Sync != nullptr && Sync->GetSyncStatus(PlayerId, ContainerId).State == EQuarnContainerSyncState::Retrying;
	}
	if (!bSawRetrying)
	{
		OutViolations.Add(TEXT("the container never showed retrying while the platform was away"));
	}
	if (!Emulator->Restart())
	{
		OutViolations.Add(FString::Printf(TEXT("the platform did not start again: %s"), UTF8_TO_TCHAR(Emulator->LastError().c_str())));
	}
}

void FSoak::SettleAndCheck(const TCHAR* When, FSoakFigures& Figures, TArray<FString>& OutViolations)
{
	UQuarnContainerSyncSubsystem* const Sync = UQuarnContainerSyncSubsystem::Get(Loop.GetWorld());
	if (Sync == nullptr)
	{
		OutViolations.Add(TEXT("the sync subsystem is gone"));
		return;
	}
	// As a save-and-quit screen: the game stops changing its items and waits. Its last call may
	// hand ids back, which the game writes into its template and saves once more.
	bool bSettled = false;
	for (int32 Pass = 0; Pass < 3 && !bSettled; ++Pass)
	{
		const int32 SyncedBefore = SyncWatcher->Synced.Num();
		Sync->KeepContainerInSync(PlayerId, ContainerId, Held);
		++Figures.Calls;
		TickUntil([Sync] { return Sync->AreAllContainersInSync() || !Sync->IsAnyContainerStillTrying(); }, SoakKeep::SettleSeconds);
		bSettled = Sync->AreAllContainersInSync() && SyncWatcher->Synced.Num() == SyncedBefore;
	}
	const FQuarnContainerSyncStatus Status = Sync->GetSyncStatus(PlayerId, ContainerId);
	if (!bSettled)
	{
		OutViolations.Add(FString::Printf(TEXT("%s: the container did not come into sync (state %d, last error %s)"), When, static_cast<int32>(Status.State), *Status.LastError.Code));
		return;
	}

	// The platform's records: the history replays to the stored container with no key applied
	// twice, and the stored container is the game's list, stack by stack.
	TSharedPtr<FJsonObject> Stored;
	const std::string Since = std::to_string(Replay.GetVersion());
	const TSharedPtr<FJsonObject> History = Soak::ParseJson(Emulator->Admin("GET", "/admin/containers/" + Soak::Utf8(ContainerId) + "/history?since=" + Since).Body);
	if (!ReadStored(Stored) || !History.IsValid() || !History->HasTypedField<EJson::Array>(TEXT("entries")))
	{
		OutViolations.Add(FString::Printf(TEXT("%s: the container or its history could not be read"), When));
		return;
	}
	Replay.Apply(History->GetArrayField(TEXT("entries")), OutViolations);
	const TArray<TSharedPtr<FJsonValue>>& Items = Stored->GetArrayField(TEXT("items"));
	Replay.Compare(Items, OutViolations);
	FindSharedInstanceIds(Items, OutViolations);
	if (static_cast<int64>(Stored->GetNumberField(TEXT("version"))) != Status.SyncedVersion)
	{
		OutViolations.Add(FString::Printf(TEXT("%s: the platform is at version %lld, the game synced %lld"), When, static_cast<long long>(Stored->GetNumberField(TEXT("version"))), static_cast<long long>(Status.SyncedVersion)));
	}
	TMap<FString, TPair<int64, int64>> StoredStacks;
	for (const TSharedPtr<FJsonValue>& Value : Items)
	{
		const TSharedPtr<FJsonObject> Stack = Value->AsObject();
		StoredStacks.Add(Stack->GetStringField(TEXT("id")), TPair<int64, int64>(static_cast<int64>(Stack->GetNumberField(TEXT("quantity"))), static_cast<int64>(Stack->GetNumberField(TEXT("slot_index")))));
	}
	if (StoredStacks.Num() != Held.Num())
	{
		OutViolations.Add(FString::Printf(TEXT("%s: the platform holds %d stacks, the game %d"), When, StoredStacks.Num(), Held.Num()));
	}
	for (const FQuarnItemInstance& Item : Held)
	{
		const TPair<int64, int64>* Found = StoredStacks.Find(Item.InstanceId);
		if (Found == nullptr || Found->Key != Item.Quantity || Found->Value != Item.SlotIndex)
		{
			OutViolations.Add(FString::Printf(TEXT("%s: the game's %s %s x%d in slot %d is not on the platform as it is"), When, *Item.ItemId.ToString(), *Item.InstanceId, Item.Quantity, Item.SlotIndex));
		}
	}
}

bool FSoak::RunKeep(FSoakFigures& Figures)
{
	Figures = FSoakFigures();
	if (!Start())
	{
		return false;
	}
	UQuarnContainerSyncSubsystem* const Sync = UQuarnContainerSyncSubsystem::Get(Loop.GetWorld());
	if (Sync == nullptr)
	{
		std::fprintf(stderr, "The sync subsystem is missing.\n");
		return false;
	}
	const UE::Host::FLogCapture QuarnLog(TEXT("LogQuarn"));
	SyncWatcher = NewObject<UQuarnContainerSyncWatcher>(GetTransientPackage());
	SyncWatcher->AddToRoot();
	SyncWatcher->Watch(Sync);
	SyncWatcher->OnSyncedThen = [this, &Figures](const FQuarnContainerSyncResult& Result)
	{
		if (Result.PlayerId == PlayerId && Result.ContainerId == ContainerId)
		{
			WriteBack(Result.Items, Figures);
		}
	};
	// The template starts as the container holds it (the panel's first load ensured it).
	TSharedPtr<FJsonObject> Container;
	if (ReadStored(Container))
	{
		Held = InventoryFromContainer(*Container);
	}

	TArray<int64> OutageRounds;
	for (int64 Outage = 1; Outage <= Options.Outages; ++Outage)
	{
		OutageRounds.Add(FMath::Max<int64>(1, Options.Rounds * Outage / (Options.Outages + 1)));
	}
	const double Began = FPlatformTime::Seconds();
	int32 StopsSeen = 0;
	for (int64 Round = 1; Round <= Options.Rounds; ++Round)
	{
		TArray<FString> Violations;
		RunKeepRound(Figures, Violations);
		while (OutageRounds.Num() > 0 && OutageRounds[0] == Round)
		{
			OutageRounds.RemoveAt(0);
			RunOutage(Figures, Violations);
			SettleAndCheck(*FString::Printf(TEXT("after outage %lld"), static_cast<long long>(Figures.Outages)), Figures, Violations);
		}
		// A stop needs the game to call again; nothing here should ever cause one.
		for (; StopsSeen < SyncWatcher->Changes.Num(); ++StopsSeen)
		{
			const FQuarnContainerSyncStatus& Change = SyncWatcher->Changes[StopsSeen];
			if (Change.State == EQuarnContainerSyncState::Stopped)
			{
				Violations.Add(FString::Printf(TEXT("the container stopped: %s (%s)"), *Change.LastError.Message, *Change.LastError.Code));
			}
		}
		Violations.Append(KeepViolations);
		KeepViolations.Reset();
		++Figures.Rounds;
		Figures.Violations += Violations.Num();
		for (const FString& Violation : Violations)
		{
			std::printf("round %lld: VIOLATION %s\n", static_cast<long long>(Round), TCHAR_TO_UTF8(*Violation));
		}
		if (Round % 1000 == 0)
		{
			std::printf("  %lld rounds, %lld violations, %.0f s\n", static_cast<long long>(Round), static_cast<long long>(Figures.Violations), FPlatformTime::Seconds() - Began);
		}
		std::fflush(stdout);
		if (Round % 100 == 0)
		{
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}
	}

	TArray<FString> Final;
	SettleAndCheck(TEXT("at the end"), Figures, Final);
	Final.Append(KeepViolations);
	KeepViolations.Reset();
	Figures.Violations += Final.Num();
	for (const FString& Violation : Final)
	{
		std::printf("end: VIOLATION %s\n", TCHAR_TO_UTF8(*Violation));
	}

	CollectFaultCounters(Figures);
	Figures.Transactions = QuarnLog.Count(TEXT("Sync applied:"));
	Figures.Retries = HttpLog->Count(TEXT("Retry "));
	Figures.Renewals = FQuarnSession::GetTotalRenewals();
	SyncWatcher->OnSyncedThen = nullptr;
	SyncWatcher->RemoveFromRoot();
	SyncWatcher = nullptr;
	Stop();
	return true;
}
