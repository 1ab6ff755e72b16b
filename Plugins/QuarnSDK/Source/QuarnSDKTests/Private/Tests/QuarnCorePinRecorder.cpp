// Copyright Quarn. All Rights Reserved.

#include "Tests/QuarnCorePinRecorder.h"
#include "QuarnAuthenticatePlayer.h"
#include "QuarnEnsureContainer.h"

void UQuarnCorePinRecorder::HandlePlayerSuccess(const FQuarnPlayer& InPlayer, const FQuarnError& InError)
{
	++Successes;
	Player = InPlayer;
	Error = InError;
}

void UQuarnCorePinRecorder::HandlePlayerFailure(const FQuarnPlayer& InPlayer, const FQuarnError& InError)
{
	++Failures;
	Player = InPlayer;
	Error = InError;
}

void UQuarnCorePinRecorder::HandleContainerSuccess(const FQuarnContainer& InContainer, const FQuarnError& InError)
{
	++Successes;
	Container = InContainer;
	Error = InError;
}

void UQuarnCorePinRecorder::HandleContainerFailure(const FQuarnContainer& InContainer, const FQuarnError& InError)
{
	++Failures;
	Container = InContainer;
	Error = InError;
}

void UQuarnCorePinRecorder::Bind(UQuarnAuthenticatePlayer* Action)
{
	Action->OnSuccess.AddDynamic(this, &UQuarnCorePinRecorder::HandlePlayerSuccess);
	Action->OnFailure.AddDynamic(this, &UQuarnCorePinRecorder::HandlePlayerFailure);
}

void UQuarnCorePinRecorder::Bind(UQuarnEnsureContainer* Action)
{
	Action->OnSuccess.AddDynamic(this, &UQuarnCorePinRecorder::HandleContainerSuccess);
	Action->OnFailure.AddDynamic(this, &UQuarnCorePinRecorder::HandleContainerFailure);
}
