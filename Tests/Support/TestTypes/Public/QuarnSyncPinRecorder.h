// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtr.h"
#include "QuarnStashSync.h"
#include "QuarnSyncPinRecorder.generated.h"

/** Stands in for a Blueprint graph bound to a sync node's pins: counts each pin and keeps what it carried. */
UCLASS()
class QUARNTESTTYPES_API UQuarnSyncPinRecorder : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandleSuccess(const FQuarnSyncReport& InReport, const FQuarnError& InError);

	UFUNCTION()
	void HandleFailure(const FQuarnSyncReport& InReport, const FQuarnError& InError);

	/** Binds both pins of the action and remembers it weakly. */
	void Bind(UQuarnSyncStash* InAction);

	int32 Total() const { return Successes + Failures; }

	int32 Successes = 0;
	int32 Failures = 0;
	FQuarnSyncReport Report;
	FQuarnError Error;
	TWeakObjectPtr<UQuarnSyncStash> Action;
};
