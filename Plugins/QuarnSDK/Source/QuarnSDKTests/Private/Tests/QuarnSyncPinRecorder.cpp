// Copyright Quarn. All Rights Reserved.

#include "Tests/QuarnSyncPinRecorder.h"

void UQuarnSyncPinRecorder::HandleSuccess(const FQuarnSyncReport& InReport, const FQuarnError& InError)
{
	++Successes;
	Report = InReport;
	Error = InError;
}

void UQuarnSyncPinRecorder::HandleFailure(const FQuarnSyncReport& InReport, const FQuarnError& InError)
{
	++Failures;
	Report = InReport;
	Error = InError;
}

void UQuarnSyncPinRecorder::Bind(UQuarnSyncStash* InAction)
{
	Action = InAction;
	InAction->OnSuccess.AddDynamic(this, &UQuarnSyncPinRecorder::HandleSuccess);
	InAction->OnFailure.AddDynamic(this, &UQuarnSyncPinRecorder::HandleFailure);
}
