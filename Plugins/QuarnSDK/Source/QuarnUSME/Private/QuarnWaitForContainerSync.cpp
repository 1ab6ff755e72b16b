// Copyright Quarn. All Rights Reserved.

#include "QuarnWaitForContainerSync.h"
#include "QuarnContainerSyncSubsystem.h"
#include "HAL/PlatformTime.h"
#include "UObject/Package.h"

UQuarnWaitForContainerSync* UQuarnWaitForContainerSync::WaitUntilContainersInSync(UObject* WorldContextObject, float TimeoutSeconds)
{
	UQuarnWaitForContainerSync* Action = NewObject<UQuarnWaitForContainerSync>(GetTransientPackage());
	Action->Context = WorldContextObject;
	Action->WaitSeconds = TimeoutSeconds;
	Action->RegisterWithGameInstance(WorldContextObject);
	return Action;
}

void UQuarnWaitForContainerSync::Activate()
{
	if (bActivated)
	{
		return;
	}
	bActivated = true;
	GiveUpAt = FPlatformTime::Seconds() + FMath::Max(WaitSeconds, 0.0f);
	if (CheckOnce())
	{
		return;
	}
	// Looked at once a frame: a handful of containers, and no state of its own to keep in step.
	const TWeakObjectPtr<UQuarnWaitForContainerSync> WeakThis(this);
	Poll = FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([WeakThis](float)
	{
		UQuarnWaitForContainerSync* const Action = WeakThis.Get();
		return Action != nullptr && !Action->CheckOnce();
	}));
}

bool UQuarnWaitForContainerSync::CheckOnce()
{
	if (bFinished)
	{
		return true;
	}
	const UQuarnContainerSyncSubsystem* const Subsystem = UQuarnContainerSyncSubsystem::Get(Context);
	if (Subsystem == nullptr)
	{
		// No game instance (it ended, or the context has none): nothing will ever sync.
		End(false, TArray<FQuarnContainerSyncStatus>());
		return true;
	}
	if (Subsystem->AreAllContainersInSync())
	{
		End(true, Subsystem->GetAllSyncStatuses());
		return true;
	}
	if (!Subsystem->IsAnyContainerStillTrying() || FPlatformTime::Seconds() >= GiveUpAt)
	{
		End(false, Subsystem->GetAllSyncStatuses());
		return true;
	}
	return false;
}

void UQuarnWaitForContainerSync::End(bool bAllInSync, const TArray<FQuarnContainerSyncStatus>& Statuses)
{
	bFinished = true;
	if (Poll.IsValid())
	{
		FTSTicker::RemoveTicker(Poll);
		Poll.Reset();
	}
	if (bAllInSync)
	{
		OnAllInSync.Broadcast(Statuses);
	}
	else
	{
		OnNotInSync.Broadcast(Statuses);
	}
	SetReadyToDestroy();
}
