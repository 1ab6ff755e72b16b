// Copyright Quarn. All Rights Reserved.

#include "QuarnUSMESyncTest.h"
#include "QuarnAuthenticatePlayer.h"
#include "QuarnEnsureContainer.h"
#include "QuarnLog.h"
#include "QuarnUSMELibrary.h"

AQuarnUSMESyncTest::AQuarnUSMESyncTest()
{
	PrimaryActorTick.bCanEverTick = false;
}

void AQuarnUSMESyncTest::BeginPlay()
{
	Super::BeginPlay();
	if (bRunOnBeginPlay)
	{
		RunSyncTest();
	}
}

void AQuarnUSMESyncTest::RunSyncTest()
{
	// A level's actors load, and have authority, in the server's world and in every client's, so
	// each copy would reconcile the same container at once; the server's copy runs the test.
	if (GetNetMode() == NM_Client)
	{
		UE_LOG(LogQuarn, Display, TEXT("USME adapter test not run in %s: this is a client's world of a networked game; the server's copy runs it."), *GetName());
		return;
	}
	UE_LOG(LogQuarn, Display, TEXT("=== USME adapter test: start ==="));
	UE_LOG(LogQuarn, Display, TEXT("[1/5] Authenticating '%s'..."), *Ticket);
	UQuarnAuthenticatePlayer* Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(this, TEXT("anonymous"), Ticket);
	Action->OnSuccess.AddDynamic(this, &AQuarnUSMESyncTest::OnAuthSuccess);
	Action->OnFailure.AddDynamic(this, &AQuarnUSMESyncTest::OnAuthFailure);
	Action->Activate();
}

void AQuarnUSMESyncTest::OnAuthSuccess(const FQuarnPlayer& Player, const FQuarnError& Error)
{
	PlayerId = Player.PlayerId;
	UE_LOG(LogQuarn, Display, TEXT("[1/5] OK  player=%s"), *PlayerId);
	StepEnsureStash();
}

void AQuarnUSMESyncTest::OnAuthFailure(const FQuarnPlayer& Player, const FQuarnError& Error)
{
	Fail(TEXT("[1/5] authenticate"), Error);
}

void AQuarnUSMESyncTest::StepEnsureStash()
{
	UE_LOG(LogQuarn, Display, TEXT("[2/5] Ensuring a 40-slot stash (USME uses a flat slot array)..."));
	UQuarnEnsureContainer* Action = UQuarnEnsureContainer::EnsureContainer(this, PlayerId, TEXT("stash"), EQuarnContainerLayout::Slots, 40, 10, 8);
	Action->OnSuccess.AddDynamic(this, &AQuarnUSMESyncTest::OnStashSuccess);
	Action->OnFailure.AddDynamic(this, &AQuarnUSMESyncTest::OnStashFailure);
	Action->Activate();
}

void AQuarnUSMESyncTest::OnStashSuccess(const FQuarnContainer& Container, const FQuarnError& Error)
{
	StashId = Container.ContainerId;
	UE_LOG(LogQuarn, Display, TEXT("[2/5] OK  stash=%s holding %d stack(s)"), *StashId, Container.Items.Num());
	StepSyncAdd();
}

void AQuarnUSMESyncTest::OnStashFailure(const FQuarnContainer& Container, const FQuarnError& Error)
{
	Fail(TEXT("[2/5] ensure stash"), Error);
}

void AQuarnUSMESyncTest::StepSyncAdd()
{
	UE_LOG(LogQuarn, Display, TEXT("[3/5] Reconciling: template reports %d x %s picked up in play (no instance id yet)..."), QuantityToAdd, *ItemToAdd.ToString());
	const FQuarnItemInstance PickedUp = UQuarnUSMELibrary::MakeItemFromUSME(ItemToAdd, QuantityToAdd, 0, 0.0f, TArray<FName>(), TArray<FString>());
	if (!PickedUp.InstanceId.IsEmpty())
	{
		UE_LOG(LogQuarn, Error, TEXT("[3/5] a fresh item should carry no instance id"));
	}
	TArray<FQuarnItemInstance> Desired;
	Desired.Add(PickedUp);
	UQuarnSyncStash* Action = UQuarnSyncStash::SyncStash(this, PlayerId, StashId, Desired);
	Action->OnSuccess.AddDynamic(this, &AQuarnUSMESyncTest::OnAddSuccess);
	Action->OnFailure.AddDynamic(this, &AQuarnUSMESyncTest::OnAddFailure);
	Action->Activate();
}

void AQuarnUSMESyncTest::OnAddSuccess(const FQuarnSyncReport& Report, const FQuarnError& Error)
{
	UE_LOG(LogQuarn, Display, TEXT("[3/5] OK  granted=%d consumed=%d moved=%d unchanged=%d"), Report.Granted, Report.Consumed, Report.Moved, Report.Unchanged);
	for (const FString& Warning : Report.Warnings)
	{
		UE_LOG(LogQuarn, Warning, TEXT("        %s"), *Warning);
	}
	StepReadBack();
}

void AQuarnUSMESyncTest::OnAddFailure(const FQuarnSyncReport& Report, const FQuarnError& Error)
{
	Fail(TEXT("[3/5] reconcile add"), Error);
}

void AQuarnUSMESyncTest::StepReadBack()
{
	UE_LOG(LogQuarn, Display, TEXT("[4/5] Reading back to confirm the platform assigned ids..."));
	UQuarnEnsureContainer* Action = UQuarnEnsureContainer::EnsureContainer(this, PlayerId, TEXT("stash"), EQuarnContainerLayout::Slots, 40, 10, 8);
	Action->OnSuccess.AddDynamic(this, &AQuarnUSMESyncTest::OnReadBack);
	Action->OnFailure.AddDynamic(this, &AQuarnUSMESyncTest::OnReadBackFailure);
	Action->Activate();
}

void AQuarnUSMESyncTest::OnReadBack(const FQuarnContainer& Container, const FQuarnError& Error)
{
	StacksHeld = Container.Items.Num();
	UE_LOG(LogQuarn, Display, TEXT("[4/5] OK  %d stack(s) on the platform"), StacksHeld);
	for (const FQuarnItemInstance& Item : Container.Items)
	{
		FName ID;
		int32 Amount = 0;
		int32 CachedIndex = 0;
		float Durability = 0.0f;
		TArray<FName> DataKeys;
		TArray<FString> DataValues;
		UQuarnUSMELibrary::BreakItemToUSME(Item, ID, Amount, CachedIndex, Durability, DataKeys, DataValues);
		const FString RoundTripId = UQuarnUSMELibrary::ReadInstanceId(DataKeys, DataValues);
		const bool bRoundTrip = !RoundTripId.IsEmpty() && RoundTripId.Equals(Item.InstanceId, ESearchCase::IgnoreCase);
		UE_LOG(LogQuarn, Display, TEXT("        %s x%d slot=%d  DataKeys=%d  id round-trip: %s"),
			*ID.ToString(), Amount, CachedIndex, DataKeys.Num(), bRoundTrip ? TEXT("OK") : TEXT("FAILED"));
		if (!bRoundTrip)
		{
			UE_LOG(LogQuarn, Error, TEXT("[4/5] instance id did not survive the USME field round trip"));
		}
	}
	StepSyncClear();
}

void AQuarnUSMESyncTest::OnReadBackFailure(const FQuarnContainer& Container, const FQuarnError& Error)
{
	Fail(TEXT("[4/5] read back"), Error);
}

void AQuarnUSMESyncTest::StepSyncClear()
{
	UE_LOG(LogQuarn, Display, TEXT("[5/5] Reconciling an empty list: everything the player dropped must be consumed..."));
	UQuarnSyncStash* Action = UQuarnSyncStash::SyncStash(this, PlayerId, StashId, TArray<FQuarnItemInstance>());
	Action->OnSuccess.AddDynamic(this, &AQuarnUSMESyncTest::OnClearSuccess);
	Action->OnFailure.AddDynamic(this, &AQuarnUSMESyncTest::OnClearFailure);
	Action->Activate();
}

void AQuarnUSMESyncTest::OnClearSuccess(const FQuarnSyncReport& Report, const FQuarnError& Error)
{
	UE_LOG(LogQuarn, Display, TEXT("[5/5] OK  consumed=%d (expected %d)"), Report.Consumed, StacksHeld);
	if (Report.Consumed != StacksHeld)
	{
		UE_LOG(LogQuarn, Error, TEXT("[5/5] consumed %d but the platform held %d"), Report.Consumed, StacksHeld);
		UE_LOG(LogQuarn, Error, TEXT("=== USME adapter test: FAILED ==="));
		return;
	}
	UE_LOG(LogQuarn, Display, TEXT("=== USME adapter test: PASSED ==="));
}

void AQuarnUSMESyncTest::OnClearFailure(const FQuarnSyncReport& Report, const FQuarnError& Error)
{
	Fail(TEXT("[5/5] reconcile clear"), Error);
}

void AQuarnUSMESyncTest::Fail(const TCHAR* Step, const FQuarnError& Error)
{
	UE_LOG(LogQuarn, Error, TEXT("%s FAILED  http=%d code=%s detail=%s"), Step, Error.HttpStatus, *Error.Code, *Error.Hint);
	UE_LOG(LogQuarn, Error, TEXT("=== USME adapter test: FAILED ==="));
}
