// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnStashSync.h"
#include "QuarnTypes.h"
#include "QuarnContainerSyncTypes.generated.h"

/** Where a container kept in sync stands between the game's latest item list and the platform. */
UENUM(BlueprintType)
enum class EQuarnContainerSyncState : uint8
{
	/** The platform holds the last list the game gave. */
	InSync = 0,
	/** A newer list waits to be sent, after the sync in flight if there is one. */
	Waiting = 1,
	/** The game's latest list is being sent. */
	Syncing = 2,
	/** A sync failed (no answer, a platform failure, too many requests, another writer); the latest list goes again after a wait. */
	Retrying = 3,
	/** The platform refused the sync in a way another try cannot mend; nothing is sent until the game calls again. */
	Stopped = 4,
};

/** What the game can see of one container it keeps in sync. */
USTRUCT(BlueprintType)
struct QUARNUSME_API FQuarnContainerSyncStatus
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	FString PlayerId;

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	FString ContainerId;

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	EQuarnContainerSyncState State = EQuarnContainerSyncState::InSync;

	/** Why the last try failed, or why the container stopped; a default error once a sync succeeds. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	FQuarnError LastError;

	/** The container's version after the last sync that succeeded; 0 before the first. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	int64 SyncedVersion = 0;

	/** Tries that failed in a row since the last success. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	int32 FailedAttempts = 0;

	/** True while the game's latest list is not yet on the platform. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	bool bHasUnsentChanges = false;
};

/**
 * A container as the platform holds it after the game's latest list was synced: every stack with
 * its instance id, ready to go back into the template with Velmora - Item To USME Fields.
 */
USTRUCT(BlueprintType)
struct QUARNUSME_API FQuarnContainerSyncResult
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	FString PlayerId;

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	FString ContainerId;

	/** The container's version the items were read at. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	int64 Version = 0;

	/** The container's stacks in the platform's order, instance ids included. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	TArray<FQuarnItemInstance> Items;

	/** What the last transaction of this sync changed. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	FQuarnSyncReport Report;
};

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FQuarnContainerSynced, const FQuarnContainerSyncResult&, Result);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FQuarnContainerSyncStateChanged, const FQuarnContainerSyncStatus&, Status);
