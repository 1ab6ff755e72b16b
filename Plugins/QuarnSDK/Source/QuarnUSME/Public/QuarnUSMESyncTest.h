// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "GameFramework/Actor.h"
#include "QuarnTypes.h"
#include "QuarnStashSync.h"
#include "QuarnUSMESyncTest.generated.h"

/**
 * Exercises the USME adapter the way the template uses it, by handing the sync node a full item
 * list twice. Round one adds an item the template picked up in play, with no instance id, which
 * must be granted; round two hands back an empty list, which must consume everything. Between the
 * two it reads the container back and verifies that the ids the platform assigned come back through
 * the DataKeys/DataValues pair, since that is what lets the second round name the items at all.
 */
UCLASS(Blueprintable, meta = (DisplayName = "Velmora USME Sync Test"))
class QUARNUSME_API AQuarnUSMESyncTest : public AActor
{
	GENERATED_BODY()

public:
	AQuarnUSMESyncTest();

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FString Ticket = TEXT("ue_usme_sync_test");

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	FName ItemToAdd = FName(TEXT("Bandage"));

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	int32 QuantityToAdd = 3;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Velmora")
	bool bRunOnBeginPlay = true;

	UFUNCTION(BlueprintCallable, CallInEditor, Category = "Velmora")
	void RunSyncTest();

protected:
	virtual void BeginPlay() override;

private:
	UFUNCTION()
	void OnAuthSuccess(const FQuarnPlayer& Player, const FQuarnError& Error);

	UFUNCTION()
	void OnAuthFailure(const FQuarnPlayer& Player, const FQuarnError& Error);

	UFUNCTION()
	void OnStashSuccess(const FQuarnContainer& Container, const FQuarnError& Error);

	UFUNCTION()
	void OnStashFailure(const FQuarnContainer& Container, const FQuarnError& Error);

	UFUNCTION()
	void OnReadBack(const FQuarnContainer& Container, const FQuarnError& Error);

	UFUNCTION()
	void OnReadBackFailure(const FQuarnContainer& Container, const FQuarnError& Error);

	UFUNCTION()
	void OnAddSuccess(const FQuarnSyncReport& Report, const FQuarnError& Error);

	UFUNCTION()
	void OnAddFailure(const FQuarnSyncReport& Report, const FQuarnError& Error);

	UFUNCTION()
	void OnClearSuccess(const FQuarnSyncReport& Report, const FQuarnError& Error);

	UFUNCTION()
	void OnClearFailure(const FQuarnSyncReport& Report, const FQuarnError& Error);

	void StepEnsureStash();
	void StepSyncAdd();
	void StepReadBack();
	void StepSyncClear();
	void Fail(const TCHAR* Step, const FQuarnError& Error);

	FString PlayerId;
	FString StashId;
	int32 StacksHeld = 0;
};
