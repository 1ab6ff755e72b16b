// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintAsyncActionBase.h"
#include "QuarnTypes.h"
#include "QuarnStashSync.generated.h"


/** What a reconcile actually did, so a server can log it or surface it in tests. */
USTRUCT(BlueprintType)
struct QUARNUSME_API FQuarnSyncReport
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	int32 Granted = 0;

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	int32 Consumed = 0;

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	int32 Moved = 0;

	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	int32 Unchanged = 0;

	/** Anything skipped and why. Empty on a clean reconcile. */
	UPROPERTY(BlueprintReadOnly, Category = "Velmora")
	TArray<FString> Warnings;
};

DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FQuarnSyncPin, const FQuarnSyncReport&, Report, const FQuarnError&, Error);

/**
 * Writing USME's whole-inventory save straight to the platform is how items get duplicated: two
 * writers, or one writer and a retry, each persist a complete dump. This node reads the container,
 * works out the difference against the item list the template holds, and commits only that
 * difference, as intents in one transaction. The transaction carries the version the container was
 * read at, so the platform refuses the batch if anything else touched the container in between and
 * the node reports a conflict instead of silently undoing the other change.
 */
UCLASS()
class QUARNUSME_API UQuarnSyncStash : public UBlueprintAsyncActionBase
{
	GENERATED_BODY()

public:
	UPROPERTY(BlueprintAssignable)
	FQuarnSyncPin OnSuccess;

	UPROPERTY(BlueprintAssignable)
	FQuarnSyncPin OnFailure;

	/**
	 * Makes a platform container agree with the item list the USME template holds, sending only
	 * the difference.
	 * @param DesiredItems  The template's current inventory, converted with UQuarnUSMELibrary. Items with no instance id are treated as newly acquired.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora|USME", meta = (BlueprintInternalUseOnly = "true", DisplayName = "Velmora - Sync Container From USME", WorldContext = "WorldContextObject"))
	static UQuarnSyncStash* SyncStash(UObject* WorldContextObject, const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& DesiredItems);

	virtual void Activate() override;

private:
	void Fail(const FQuarnError& Error);
	void Succeed();
	void ReconcileAgainst(const TArray<FQuarnItemInstance>& Current, int64 Version);
	void HandleTransaction(bool bOk, const FQuarnError& Error);

	UPROPERTY()
	TObjectPtr<UObject> Context;

	FString PlayerId;
	FString ContainerId;
	FString AccessToken;
	TArray<FQuarnItemInstance> DesiredItems;
	FQuarnSyncReport Report;
	/** The engine may call Activate more than once; only the first call reads and writes. */
	bool bActivated = false;
	bool bFinished = false;
};
