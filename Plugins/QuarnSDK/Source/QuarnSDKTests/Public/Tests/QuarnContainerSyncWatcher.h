// Copyright Quarn. All Rights Reserved.

// A test double of the plug-in's test module, which is built only where development tools are
// (the editor and Development targets), never for Test or Shipping.
// Public and exported because the soak binds it as well.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "QuarnContainerSyncTypes.h"
#include "QuarnContainerSyncWatcher.generated.h"

class UQuarnContainerSyncSubsystem;
class UQuarnWaitForContainerSync;

/** Stands in for a game's graph bound to the sync subsystem's events and the wait node's pins: keeps what each carried, in order. */
UCLASS(Transient, HideDropdown, NotBlueprintable, NotBlueprintType)
class QUARNSDKTESTS_API UQuarnContainerSyncWatcher : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandleSynced(const FQuarnContainerSyncResult& Result);

	UFUNCTION()
	void HandleStateChanged(const FQuarnContainerSyncStatus& Status);

	UFUNCTION()
	void HandleAllInSync(const TArray<FQuarnContainerSyncStatus>& Statuses);

	UFUNCTION()
	void HandleNotInSync(const TArray<FQuarnContainerSyncStatus>& Statuses);

	/** Binds both events of the subsystem. */
	void Watch(UQuarnContainerSyncSubsystem* Subsystem);

	/** Binds both pins of a wait node. */
	void WatchWait(UQuarnWaitForContainerSync* Wait);

	/** The states seen for one container, in order. */
	TArray<EQuarnContainerSyncState> StatesOf(const FString& ContainerId) const;

	TArray<FQuarnContainerSyncResult> Synced;
	TArray<FQuarnContainerSyncStatus> Changes;
	int32 AllInSync = 0;
	int32 NotInSync = 0;
	TArray<FQuarnContainerSyncStatus> WaitStatuses;
	/** Runs after each synced event is recorded, as a game's handler would (writing the ids back, say). */
	TFunction<void(const FQuarnContainerSyncResult&)> OnSyncedThen;
};
