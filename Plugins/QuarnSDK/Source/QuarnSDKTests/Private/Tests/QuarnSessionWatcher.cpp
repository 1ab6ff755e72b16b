// Copyright Quarn. All Rights Reserved.

#include "Tests/QuarnSessionWatcher.h"
#include "QuarnSubsystem.h"

void UQuarnSessionWatcher::HandleExpired(const FString& InPlayerId, const FQuarnError& InError)
{
	++Expiries;
	PlayerId = InPlayerId;
	Error = InError;
}

void UQuarnSessionWatcher::Watch(UQuarnSubsystem* Subsystem)
{
	Subsystem->OnSessionExpired.AddDynamic(this, &UQuarnSessionWatcher::HandleExpired);
}

void UQuarnSessionWatcher::Unwatch(UQuarnSubsystem* Subsystem)
{
	Subsystem->OnSessionExpired.RemoveDynamic(this, &UQuarnSessionWatcher::HandleExpired);
}
