// Copyright Quarn. All Rights Reserved.

#include "Tests/QuarnStashPanelWatcher.h"

void UQuarnStashPanelWatcher::HandleLoaded(int32 StackCount)
{
	LastStackCount = StackCount;
	Record(FString::Printf(TEXT("Loaded %d"), StackCount));
}

void UQuarnStashPanelWatcher::HandleFailed(const FQuarnError& InError)
{
	Error = InError;
	Record(FString::Printf(TEXT("Failed %s"), *InError.Code));
}

void UQuarnStashPanelWatcher::HandleDepositAccepted(FName ItemId, int32 Quantity, int32 SourceSlot)
{
	Record(FString::Printf(TEXT("Deposit %s %d %d"), *ItemId.ToString(), Quantity, SourceSlot));
}

void UQuarnStashPanelWatcher::HandleWithdrawAccepted(const FQuarnItemInstance& InInstance)
{
	Instance = InInstance;
	Record(FString::Printf(TEXT("Withdraw %s"), *InInstance.InstanceId));
}

void UQuarnStashPanelWatcher::HandleTransferAccepted(const FQuarnItemInstance& InInstance)
{
	Instance = InInstance;
	Record(FString::Printf(TEXT("Transfer %s"), *InInstance.InstanceId));
}

void UQuarnStashPanelWatcher::Watch(UQuarnStashPanel* InPanel)
{
	Panel = InPanel;
	InPanel->OnStashLoaded.AddDynamic(this, &UQuarnStashPanelWatcher::HandleLoaded);
	InPanel->OnStashFailed.AddDynamic(this, &UQuarnStashPanelWatcher::HandleFailed);
	InPanel->OnDepositAccepted.AddDynamic(this, &UQuarnStashPanelWatcher::HandleDepositAccepted);
	InPanel->OnWithdrawAccepted.AddDynamic(this, &UQuarnStashPanelWatcher::HandleWithdrawAccepted);
	InPanel->OnTransferAccepted.AddDynamic(this, &UQuarnStashPanelWatcher::HandleTransferAccepted);
}

void UQuarnStashPanelWatcher::Record(const FString& Line)
{
	Lines.Add(Line);
	if (Probe)
	{
		Probe(Line);
	}
}

int32 UQuarnStashPanelWatcher::CountStartingWith(const FString& Prefix) const
{
	int32 Count = 0;
	for (const FString& Line : Lines)
	{
		Count += Line.StartsWith(Prefix, ESearchCase::CaseSensitive) ? 1 : 0;
	}
	return Count;
}
