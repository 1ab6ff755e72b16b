// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "QuarnStashPanel.h"
#include "QuarnTypes.h"
#include "QuarnDemoPanelWatcher.generated.h"

/**
 * What the demo game's menu code does with a stash panel's delegates: counts each of them and
 * keeps what the last one carried, so that the game's steps can wait for the platform's answer.
 */
UCLASS()
class QUARNDEMOTYPES_API UQuarnDemoPanelWatcher : public UObject
{
	GENERATED_BODY()

public:
	/** Binds every delegate of the panel. */
	void Watch(UQuarnStashPanel* InPanel);

	UFUNCTION()
	void HandleLoaded(int32 StackCount);

	UFUNCTION()
	void HandleFailed(const FQuarnError& Error);

	UFUNCTION()
	void HandleDeposit(FName ItemId, int32 Quantity, int32 SourceSlot);

	UFUNCTION()
	void HandleWithdraw(const FQuarnItemInstance& Instance);

	UFUNCTION()
	void HandleTransfer(const FQuarnItemInstance& Instance);

	UPROPERTY()
	TObjectPtr<UQuarnStashPanel> Panel;

	int32 Loads = 0;
	int32 LastStackCount = 0;
	int32 Failures = 0;
	FQuarnError LastError;
	int32 Deposits = 0;
	FName LastDepositItem;
	int32 LastDepositQuantity = 0;
	int32 Withdrawals = 0;
	int32 Transfers = 0;
	FQuarnItemInstance LastInstance;
};
