// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Subsystems/GameInstanceSubsystem.h"
#include "Templates/SharedPointer.h"
#include "QuarnContainerSyncTypes.h"
#include "QuarnTypes.h"
#include "QuarnContainerSyncSubsystem.generated.h"

struct FQuarnContainerSyncEntry;
struct FQuarnUSMEContainerRead;

/**
 * Keeps each container a game hands it in sync with the item list the game last gave, so that a
 * USME game can call it on every save and forget about it. Per container at most one sync is in
 * flight; calls meanwhile replace the list that waits, so any number of calls during a sync cost at
 * most one more. Every sync is the reconcile of Velmora - Sync Container From USME: a read, the
 * difference as one versioned transaction with a key of its own. Another writer's change is read
 * again and synced over a few times; a platform that does not answer, fails or asks to slow down
 * gets the latest list again later, with growing waits; a refusal another try cannot mend stops
 * that container until the game calls again. Once the latest list is on the platform the game gets
 * the container back with the platform's instance ids, to write into the template.
 */
UCLASS()
class QUARNUSME_API UQuarnContainerSyncSubsystem : public UGameInstanceSubsystem
{
	GENERATED_BODY()

public:
	/**
	 * The game's latest list of this container is on the platform, and this is the container as
	 * the platform now holds it (read back after the transaction). Write the items into the
	 * template with Velmora - Item To USME Fields, so that the next sync names every stack by its
	 * instance id. Fires only after a sync that changed something, and only when no newer list waits.
	 */
	UPROPERTY(BlueprintAssignable, Category = "Velmora|USME")
	FQuarnContainerSynced OnContainerSynced;

	/** A container's state, last error or failed tries changed. */
	UPROPERTY(BlueprintAssignable, Category = "Velmora|USME")
	FQuarnContainerSyncStateChanged OnSyncStateChanged;

	/** The subsystem of the game instance that owns the context's world, or null. */
	static UQuarnContainerSyncSubsystem* Get(const UObject* WorldContextObject);

	/**
	 * Makes the platform's container hold this list, now or as soon as it can. Call it whenever the
	 * template's inventory changes, as often as you like: only the latest list is sent.
	 * @param Items  The template's current inventory, converted with Velmora - Item From USME Fields. Items with no instance id are treated as newly acquired.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Keep Container In Sync"))
	void KeepContainerInSync(const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& Items);

	/** The container's state; a default status (in sync, nothing unsent) for a container never handed over. */
	UFUNCTION(BlueprintPure, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Get Container Sync Status"))
	FQuarnContainerSyncStatus GetSyncStatus(const FString& PlayerId, const FString& ContainerId) const;

	/** Every container handed over, in the order they were first handed over. */
	UFUNCTION(BlueprintPure, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Get All Container Sync Statuses"))
	TArray<FQuarnContainerSyncStatus> GetAllSyncStatuses() const;

	/** True when every container handed over is in sync. */
	UFUNCTION(BlueprintPure, Category = "Velmora|USME", meta = (DisplayName = "Velmora - Are All Containers In Sync"))
	bool AreAllContainersInSync() const;

	/** True while any container is waiting, syncing or retrying: one that has stopped waits for the game. */
	bool IsAnyContainerStillTrying() const;

	virtual void Deinitialize() override;

private:
	void ScheduleNext(const TSharedRef<FQuarnContainerSyncEntry>& Entry, double DelaySeconds);
	void StartSync(const TSharedRef<FQuarnContainerSyncEntry>& Entry);
	/** What a read that succeeded goes on to do. */
	using FReadHandler = TFunction<void(UQuarnContainerSyncSubsystem& This, const TSharedRef<FQuarnContainerSyncEntry>& Entry, FQuarnUSMEContainerRead& Read)>;

	/** Reads the entry's container, for a sync or for its read-back; a failure goes to HandleFailure. */
	void SendRead(const TSharedRef<FQuarnContainerSyncEntry>& Entry, bool bReadingBack, FReadHandler OnRead);
	void HandleRead(const TSharedRef<FQuarnContainerSyncEntry>& Entry, FQuarnUSMEContainerRead& Read);
	void HandleTransaction(const TSharedRef<FQuarnContainerSyncEntry>& Entry, int64 AnsweredVersion);
	void StartReadBack(const TSharedRef<FQuarnContainerSyncEntry>& Entry);
	void Finish(const TSharedRef<FQuarnContainerSyncEntry>& Entry, FQuarnUSMEContainerRead& Read, bool bChanged);
	void HandleFailure(const TSharedRef<FQuarnContainerSyncEntry>& Entry, const FQuarnError& Error);
	void Stop(const TSharedRef<FQuarnContainerSyncEntry>& Entry, const FQuarnError& Error);
	void SetState(const TSharedRef<FQuarnContainerSyncEntry>& Entry, EQuarnContainerSyncState State);
	void CancelTimer(FQuarnContainerSyncEntry& Entry);

	/** Whether an answer or a timer belongs to the entry's current step; one for an older step, or after the game ended, is dropped. */
	bool IsCurrent(const FQuarnContainerSyncEntry& Entry, uint32 Step) const;

	TMap<TPair<FString, FString>, TSharedPtr<FQuarnContainerSyncEntry>> Entries;
	/** Keys in the order containers were first handed over. */
	TArray<TPair<FString, FString>> Order;
	bool bEnded = false;
};
