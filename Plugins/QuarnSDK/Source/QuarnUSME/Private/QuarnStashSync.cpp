// Copyright Quarn. All Rights Reserved.

#include "QuarnStashSync.h"
#include "QuarnClient.h"
#include "QuarnItemIds.h"
#include "QuarnLog.h"
#include "QuarnReconcile.h"
#include "QuarnSubsystem.h"
#include "QuarnUSMEContainerReader.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "UObject/Package.h"

UQuarnSyncStash* UQuarnSyncStash::SyncStash(UObject* WorldContextObject, const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& DesiredItems)
{
	UQuarnSyncStash* Action = NewObject<UQuarnSyncStash>(GetTransientPackage());
	Action->Context = WorldContextObject;
	Action->PlayerId = PlayerId;
	Action->ContainerId = ContainerId;
	Action->DesiredItems = DesiredItems;
	Action->RegisterWithGameInstance(WorldContextObject);
	return Action;
}

void UQuarnSyncStash::Activate()
{
	if (bActivated)
	{
		return;
	}
	bActivated = true;

	const UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(Context);
	AccessToken = Subsystem ? Subsystem->GetAccessToken(PlayerId) : FString();
	if (AccessToken.IsEmpty())
	{
		FQuarnError Error;
		Error.Code = TEXT("not_authenticated");
		Error.Message = TEXT("Player is not authenticated");
		Error.Hint = TEXT("Call Quarn - Authenticate Player for this player first.");
		Fail(Error);
		return;
	}

	// A large document is parsed and read on a worker; the game thread gets the records. The reader
	// captures nothing of this node, and the weak pointer is checked back on the game thread, so
	// a node collected meanwhile gets no pin.
	TWeakObjectPtr<UQuarnSyncStash> WeakThis(this);
	FQuarnClient::SendAndRead<FQuarnUSMEContainerRead>(Context, TEXT("GET"), FString(TEXT("/v1/game/containers/")) + ContainerId, FString(), AccessToken, FString(),
		[](const FJsonObject& Json)
		{
			return QuarnUSMEContainerReader::Read(Json);
		},
		[WeakThis](bool bOk, FQuarnUSMEContainerRead& Read, const FQuarnError& Error)
		{
			UQuarnSyncStash* Action = WeakThis.Get();
			if (Action == nullptr)
			{
				return;
			}
			if (!bOk)
			{
				Action->Fail(Error);
				return;
			}
			if (Read.bItemIdTooLong)
			{
				Action->Fail(QuarnItemIds::TooLongError());
				return;
			}
			Action->ReconcileAgainst(Read.Items, Read.Version);
		});
}

void UQuarnSyncStash::ReconcileAgainst(const TArray<FQuarnItemInstance>& Current, int64 Version)
{
	TArray<TSharedPtr<FJsonValue>> Intents;
	QuarnReconcile::BuildIntents(DesiredItems, Current, ContainerId, Report, Intents);

	if (Intents.IsEmpty())
	{
		UE_LOG(LogQuarn, Verbose, TEXT("Sync: nothing to do (%d unchanged)."), Report.Unchanged);
		Succeed();
		return;
	}

	const FString Body = QuarnReconcile::WriteTransactionBody(Intents, ContainerId, Version);
	TWeakObjectPtr<UQuarnSyncStash> WeakThis(this);
	FQuarnClient::Send(Context, TEXT("POST"), TEXT("/v1/game/inventory/transaction"), Body, AccessToken, FQuarnClient::NewIdempotencyKey(),
		[WeakThis](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			if (UQuarnSyncStash* Action = WeakThis.Get())
			{
				Action->HandleTransaction(bOk, Error);
			}
		});
}

void UQuarnSyncStash::HandleTransaction(bool bOk, const FQuarnError& Error)
{
	if (bOk)
	{
		UE_LOG(LogQuarn, Display, TEXT("Sync applied: %d granted, %d consumed, %d moved, %d unchanged, %d warning(s)."),
			Report.Granted, Report.Consumed, Report.Moved, Report.Unchanged, Report.Warnings.Num());
		Succeed();
		return;
	}
	if (Error.Code.Equals(TEXT("version_conflict"), ESearchCase::IgnoreCase))
	{
		UE_LOG(LogQuarn, Warning, TEXT("Sync refused: container %s changed while reconciling. Re-read and sync again."), *ContainerId);
	}
	Fail(Error);
}

void UQuarnSyncStash::Succeed()
{
	if (bFinished)
	{
		return;
	}
	bFinished = true;
	OnSuccess.Broadcast(Report, FQuarnError());
	SetReadyToDestroy();
}

void UQuarnSyncStash::Fail(const FQuarnError& Error)
{
	if (bFinished)
	{
		return;
	}
	bFinished = true;
	OnFailure.Broadcast(Report, Error);
	SetReadyToDestroy();
}
