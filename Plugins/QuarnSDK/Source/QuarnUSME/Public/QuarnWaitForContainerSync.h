// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Containers/Ticker.h"
#include "Kismet/BlueprintAsyncActionBase.h"
#include "QuarnContainerSyncTypes.h"
#include "QuarnWaitForContainerSync.generated.h"

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FQuarnContainerSyncWaitPin, const TArray<FQuarnContainerSyncStatus>&, Statuses);

/**
 * Waits until every container the game keeps in sync holds the game's latest list, for a
 * save-and-quit screen. Ends at the time-out, or as soon as every container still out of sync has
 * stopped (waiting longer cannot help), with the state of each container.
 */
UCLASS()
class QUARNUSME_API UQuarnWaitForContainerSync : public UBlueprintAsyncActionBase
{
	GENERATED_BODY()

public:
	/** Every container is in sync. */
	UPROPERTY(BlueprintAssignable)
	FQuarnContainerSyncWaitPin OnAllInSync;

	/** The time-out passed, or the containers still out of sync have stopped; Statuses says which and why. */
	UPROPERTY(BlueprintAssignable)
	FQuarnContainerSyncWaitPin OnNotInSync;

	/**
	 * Waits until every container kept in sync holds the game's latest list.
	 * @param TimeoutSeconds  How long to wait at most; 0 or less looks once.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora|USME", meta = (BlueprintInternalUseOnly = "true", WorldContext = "WorldContextObject", DisplayName = "Velmora - Wait Until Containers In Sync"))
	static UQuarnWaitForContainerSync* WaitUntilContainersInSync(UObject* WorldContextObject, float TimeoutSeconds);

	virtual void Activate() override;

private:
	/** True once a pin fired. */
	bool CheckOnce();
	void End(bool bAllInSync, const TArray<FQuarnContainerSyncStatus>& Statuses);

	UPROPERTY()
	TObjectPtr<UObject> Context;

	float WaitSeconds = 0.0f;
	double GiveUpAt = 0.0;
	bool bActivated = false;
	bool bFinished = false;
	FTSTicker::FDelegateHandle Poll;
};
