// Copyright Quarn. All Rights Reserved.

#include "QuarnDemoPanelWatcher.h"

void UQuarnDemoPanelWatcher::Watch(UQuarnStashPanel* InPanel)
{
	Panel = InPanel;
	InPanel->OnStashLoaded.AddDynamic(this, &UQuarnDemoPanelWatcher::HandleLoaded);
	InPanel->OnStashFailed.AddDynamic(this, &UQuarnDemoPanelWatcher::HandleFailed);
	InPanel->OnDepositAccepted.AddDynamic(this, &UQuarnDemoPanelWatcher::HandleDeposit);
	InPanel->OnWithdrawAccepted.AddDynamic(this, &UQuarnDemoPanelWatcher::HandleWithdraw);
	InPanel->OnTransferAccepted.AddDynamic(this, &UQuarnDemoPanelWatcher::HandleTransfer);
}

void UQuarnDemoPanelWatcher::HandleLoaded(int32 StackCount)
{
	++Loads;
	LastStackCount = StackCount;
}

void UQuarnDemoPanelWatcher::HandleFailed(const FQuarnError& Error)
{
	++Failures;
	LastError = Error;
}

void UQuarnDemoPanelWatcher::HandleDeposit(FName ItemId, int32 Quantity, int32 SourceSlot)
{
	++Deposits;
	LastDepositItem = ItemId;
	LastDepositQuantity = Quantity;
}

void UQuarnDemoPanelWatcher::HandleWithdraw(const FQuarnItemInstance& Instance)
{
	++Withdrawals;
	LastInstance = Instance;
}

void UQuarnDemoPanelWatcher::HandleTransfer(const FQuarnItemInstance& Instance)
{
	++Transfers;
	LastInstance = Instance;
}
