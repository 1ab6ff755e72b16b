// Copyright Quarn. All Rights Reserved.

// A reflected type cannot sit inside WITH_DEV_AUTOMATION_TESTS (the header tool refuses a UCLASS in
// a conditional block), so this small double is compiled in every configuration. Public and
// exported because the host's emulator suites and the soak bind it as well.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtr.h"
#include "QuarnStashSync.h"
#include "QuarnSyncPinRecorder.generated.h"

/** Stands in for a Blueprint graph bound to a sync node's pins: counts each pin and keeps what it carried. */
UCLASS()
class QUARNUSME_API UQuarnSyncPinRecorder : public UObject
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
