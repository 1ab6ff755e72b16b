// Copyright Quarn. All Rights Reserved.

#include "Tests/QuarnContainerSyncWatcher.h"
#include "QuarnContainerSyncSubsystem.h"
#include "QuarnWaitForContainerSync.h"

void UQuarnContainerSyncWatcher::HandleSynced(const FQuarnContainerSyncResult& Result)
{
	Synced.Add(Result);
	if (OnSyncedThen)
	{
		OnSyncedThen(Result);
	}
}

void UQuarnContainerSyncWatcher::HandleStateChanged(const FQuarnContainerSyncStatus& Status)
{
	Changes.Add(Status);
}

void UQuarnContainerSyncWatcher::HandleAllInSync(const TArray<FQuarnContainerSyncStatus>& Statuses)
{
	++AllInSync;
	WaitStatuses = Statuses;
}

void UQuarnContainerSyncWatcher::HandleNotInSync(const TArray<FQuarnContainerSyncStatus>& Statuses)
{
	++NotInSync;
	WaitStatuses = Statuses;
}

void UQuarnContainerSyncWatcher::Watch(UQuarnContainerSyncSubsystem* Subsystem)
{
	Subsystem->OnContainerSynced.AddDynamic(this, &UQuarnContainerSyncWatcher::HandleSynced);
	Subsystem->OnSyncStateChanged.AddDynamic(this, &UQuarnContainerSyncWatcher::HandleStateChanged);
}

void UQuarnContainerSyncWatcher::WatchWait(UQuarnWaitForContainerSync* Wait)
{
	Wait->OnAllInSync.AddDynamic(this, &UQuarnContainerSyncWatcher::HandleAllInSync);
	Wait->OnNotInSync.AddDynamic(this, &UQuarnContainerSyncWatcher::HandleNotInSync);
}

TArray<EQuarnContainerSyncState> UQuarnContainerSyncWatcher::StatesOf(const FString& ContainerId) const
{
	TArray<EQuarnContainerSyncState> States;
	for (const FQuarnContainerSyncStatus& Change : Changes)
	{
		if (Change.ContainerId == ContainerId)
		{
			States.Add(Change.State);
		}
	}
	return States;
}
