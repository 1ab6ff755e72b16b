// Copyright Quarn. All Rights Reserved.

// A test double of the plug-in's test module, which is built only where development tools are
// (the editor and Development targets), never for Test or Shipping.
// Public and exported because the host's emulator suites and the soak bind it as well.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtr.h"
#include "QuarnStashSync.h"
#include "QuarnSyncPinRecorder.generated.h"

/** Stands in for a Blueprint graph bound to a sync node's pins: counts each pin and keeps what it carried. */
UCLASS(Transient, HideDropdown, NotBlueprintable, NotBlueprintType)
class QUARNSDKTESTS_API UQuarnSyncPinRecorder : public UObject
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
