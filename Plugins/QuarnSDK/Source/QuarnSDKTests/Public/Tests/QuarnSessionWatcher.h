// Copyright Quarn. All Rights Reserved.

// A test double of the plug-in's test module, which is built only where development tools are
// (the editor and Development targets), never for Test or Shipping.
// Public, with the module's API, because the emulator suites and
// the soak bind it as well as the plug-in's own tests.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "QuarnTypes.h"
#include "QuarnSessionWatcher.generated.h"

class UQuarnSubsystem;

/** Stands in for a game's handler of the subsystem's OnSessionExpired: counts each call. */
UCLASS(Transient, HideDropdown, NotBlueprintable, NotBlueprintType)
class QUARNSDKTESTS_API UQuarnSessionWatcher : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandleExpired(const FString& InPlayerId, const FQuarnError& InError);

	void Watch(UQuarnSubsystem* Subsystem);
	void Unwatch(UQuarnSubsystem* Subsystem);

	int32 Expiries = 0;
	FString PlayerId;
	FQuarnError Error;
};
