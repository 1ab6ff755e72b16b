// Copyright Quarn. All Rights Reserved.

// A test double of the plug-in's test module, which is built only where development tools are
// (the editor and Development targets), never for Test or Shipping.
// Public, with the module's API, because the emulator suites and
// the soak bind it as well as the plug-in's own tests.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "QuarnTypes.h"
#include "QuarnCorePinRecorder.generated.h"

class UQuarnAuthenticatePlayer;
class UQuarnEnsureContainer;

/** Stands in for a Blueprint graph bound to the core's sign-in and container nodes. */
UCLASS(Transient, HideDropdown, NotBlueprintable, NotBlueprintType)
class QUARNSDKTESTS_API UQuarnCorePinRecorder : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandlePlayerSuccess(const FQuarnPlayer& InPlayer, const FQuarnError& InError);

	UFUNCTION()
	void HandlePlayerFailure(const FQuarnPlayer& InPlayer, const FQuarnError& InError);

	UFUNCTION()
	void HandleContainerSuccess(const FQuarnContainer& InContainer, const FQuarnError& InError);

	UFUNCTION()
	void HandleContainerFailure(const FQuarnContainer& InContainer, const FQuarnError& InError);

	void Bind(UQuarnAuthenticatePlayer* Action);
	void Bind(UQuarnEnsureContainer* Action);

	int32 Total() const { return Successes + Failures; }

	int32 Successes = 0;
	int32 Failures = 0;
	FQuarnPlayer Player;
	FQuarnContainer Container;
	FQuarnError Error;
};
