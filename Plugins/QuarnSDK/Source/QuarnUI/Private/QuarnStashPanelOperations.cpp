// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanel.h"
#include "QuarnClient.h"
#include "QuarnLog.h"
#include "QuarnStashPanelJson.h"
#include "Dom/JsonObject.h"

void UQuarnStashPanel::DepositItem(FName ItemId, int32 Quantity, int32 X, int32 Y, int32 SourceSlot)
{
	FollowGameSession();
	if (AccessToken.IsEmpty() || ContainerId.IsEmpty())
	{
		UE_LOG(LogQuarn, Warning, TEXT("Deposit refused: the stash is not loaded yet."));
		return;
	}
	const int32 QuantitySent = FMath::Max(Quantity, 1);

	const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("container_id"), ContainerId);
	Body->SetStringField(TEXT("item_id"), ItemId.ToString());
	Body->SetNumberField(TEXT("quantity"), QuantitySent);
	QuarnStashPanelJson::WriteDestination(Body, bShowingSlots, SlotIndexAt(X, Y), X, Y);

	TWeakObjectPtr<UQuarnStashPanel> WeakThis(this);
	FQuarnClient::Send(this, TEXT("POST"), TEXT("/v1/game/inventory/grant"), QuarnStashPanelJson::Write(Body), AccessToken, FQuarnClient::NewIdempotencyKey(),
		[WeakThis, ItemId, QuantitySent, SourceSlot](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			UQuarnStashPanel* Panel = WeakThis.Get();
			if (Panel == nullptr)
			{
				return;
			}
			if (!bOk)
			{
				Panel->ShowFailure(Error);
				return;
			}
			// The game removes its own copy only now that the platform holds the item.
			Panel->OnDepositAccepted.Broadcast(ItemId, QuantitySent, SourceSlot);
			Panel->OnDeposited(ItemId, QuantitySent, SourceSlot);
			Panel->Reload();
		});
}

void UQuarnStashPanel::WithdrawInstance(const FQuarnItemInstance& Instance)
{
	FollowGameSession();
	if (AccessToken.IsEmpty() || ContainerId.IsEmpty() || Instance.InstanceId.IsEmpty())
	{
		UE_LOG(LogQuarn, Warning, TEXT("Withdraw refused: no stash, or the stack has no instance id."));
		return;
	}

	const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("instance_id"), Instance.InstanceId);
	Body->SetNumberField(TEXT("quantity"), FMath::Max(Instance.Quantity, 1));

	TWeakObjectPtr<UQuarnStashPanel> WeakThis(this);
	FQuarnClient::Send(this, TEXT("POST"), TEXT("/v1/game/inventory/consume"), QuarnStashPanelJson::Write(Body), AccessToken, FQuarnClient::NewIdempotencyKey(),
		[WeakThis, Instance](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			UQuarnStashPanel* Panel = WeakThis.Get();
			if (Panel == nullptr)
			{
				return;
			}
			if (!bOk)
			{
				Panel->ShowFailure(Error);
				return;
			}
			Panel->OnWithdrawAccepted.Broadcast(Instance);
			Panel->OnWithdrawn(Instance);
			Panel->Reload();
		});
}

void UQuarnStashPanel::TransferFrom(UQuarnStashPanel* Source, const FQuarnItemInstance& Instance, int32 X, int32 Y)
{
	FollowGameSession();
	if (AccessToken.IsEmpty() || ContainerId.IsEmpty() || Source == nullptr || Instance.InstanceId.IsEmpty())
	{
		UE_LOG(LogQuarn, Warning, TEXT("Transfer refused: destination not loaded, no source panel, or the stack has no instance id."));
		return;
	}
	if (Source == this)
	{
		UE_LOG(LogQuarn, Warning, TEXT("Transfer refused: source and destination are the same panel."));
		return;
	}

	const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("instance_id"), Instance.InstanceId);
	Body->SetStringField(TEXT("to_container_id"), ContainerId);
	QuarnStashPanelJson::WriteDestination(Body, bShowingSlots, SlotIndexAt(X, Y), X, Y);

	TWeakObjectPtr<UQuarnStashPanel> WeakThis(this);
	TWeakObjectPtr<UQuarnStashPanel> WeakSource(Source);
	FQuarnClient::Send(this, TEXT("POST"), TEXT("/v1/game/inventory/move"), QuarnStashPanelJson::Write(Body), AccessToken, FQuarnClient::NewIdempotencyKey(),
		[WeakThis, WeakSource, Instance](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			UQuarnStashPanel* Panel = WeakThis.Get();
			if (Panel == nullptr)
			{
				return;
			}
			if (!bOk)
			{
				Panel->ShowFailure(Error);
				return;
			}
			// The source shows the stack gone before the destination tells the game it arrived.
			if (UQuarnStashPanel* SourcePanel = WeakSource.Get())
			{
				SourcePanel->Reload();
			}
			Panel->OnTransferAccepted.Broadcast(Instance);
			Panel->OnTransferred(Instance);
			Panel->Reload();
		});
}
