// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Containers/Ticker.h"
#include "QuarnContainerSyncTypes.h"
#include "QuarnStashSync.h"
#include "QuarnTypes.h"

/** What a container kept in sync is doing right now. */
enum class EQuarnContainerSyncStep : uint8
{
	/** Nothing in flight and nothing due: in sync, or stopped. */
	Idle,
	/** A sync starts on the next tick, so that calls within one frame go as one. */
	Scheduled,
	/** The container read of a sync is in flight. */
	Reading,
	/** The transaction is in flight. */
	Sending,
	/** The read after an applied transaction is in flight. */
	ReadingBack,
	/** A failed try waits for its back-off. */
	BackingOff,
};

/** One (player, container) that the game keeps in sync: its latest list and the one sync of it in flight. */
struct FQuarnContainerSyncEntry
{
	/** What the game sees. */
	FQuarnContainerSyncStatus Status;

	/** The list the game gave last, and the number of that call. */
	TArray<FQuarnItemInstance> Latest;
	uint64 LatestCall = 0;

	/** The list the sync in flight reconciles, and the call it came from. */
	TArray<FQuarnItemInstance> Sending;
	uint64 SendingCall = 0;

	/** The call whose list is on the platform. */
	uint64 SyncedCall = 0;

	FString AccessToken;
	FQuarnSyncReport Report;

	EQuarnContainerSyncStep Step = EQuarnContainerSyncStep::Idle;
	/** A new number for every request and timer, so that only the current one's outcome counts. */
	uint32 StepSerial = 0;
	/** The transaction was applied and only its read-back failed: another try reads, it does not send again. */
	bool bReadBackOnly = false;

	/** Conflicts with another writer in a row, and tries that got no usable answer in a row. */
	int32 ConflictTries = 0;
	int32 FailureTries = 0;

	FTSTicker::FDelegateHandle Timer;

	bool HasNewerList() const
	{
		return LatestCall != SendingCall;
	}
};
