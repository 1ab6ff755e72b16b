// Copyright Quarn. All Rights Reserved.

// A test double. Reflected types cannot sit inside WITH_DEV_AUTOMATION_TESTS (the header tool
// refuses them there), so this small class is compiled in every configuration. Public, with the
// module's API, because the panel's platform and picture suites use it as well.

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
UCLASS()
class QUARNUI_API UQuarnStashPanelWatcher : public UObject
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
