// Copyright Quarn. All Rights Reserved.

// A test double of the plug-in's test module, which is built only where development tools are
// (the editor and Development targets), never for Test or Shipping.
// Public, with the module's API, because the panel's platform and picture suites use it as well.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/WeakObjectPtr.h"
#include "QuarnStashPanel.h"
#include "QuarnStashPanelWatcher.generated.h"

/**
 * Stands in for a Blueprint graph bound to a stash panel's five delegates: records each broadcast,
 * in order, as one line ("Loaded 3", "Failed cell_occupied", "Deposit Bandage 1 -1",
 * "Withdraw ins_1", "Transfer ins_1"), and calls Probe with the line as it arrives.
 */
UCLASS(Transient, HideDropdown, NotBlueprintable, NotBlueprintType)
class QUARNSDKTESTS_API UQuarnStashPanelWatcher : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void HandleLoaded(int32 StackCount);

	UFUNCTION()
	void HandleFailed(const FQuarnError& InError);

	UFUNCTION()
	void HandleDepositAccepted(FName ItemId, int32 Quantity, int32 SourceSlot);

	UFUNCTION()
	void HandleWithdrawAccepted(const FQuarnItemInstance& Instance);

	UFUNCTION()
	void HandleTransferAccepted(const FQuarnItemInstance& Instance);

	/** Binds all five delegates of the panel. */
	void Watch(UQuarnStashPanel* InPanel);

	/** Adds a line written by something else (an event of a Blueprint subclass, for example). */
	void Record(const FString& Line);

	int32 CountStartingWith(const FString& Prefix) const;

	TArray<FString> Lines;
	FQuarnError Error;
	FQuarnItemInstance Instance;
	int32 LastStackCount = -1;
	TFunction<void(const FString&)> Probe;
	TWeakObjectPtr<UQuarnStashPanel> Panel;
};
