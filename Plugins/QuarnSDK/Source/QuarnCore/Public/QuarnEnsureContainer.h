// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintAsyncActionBase.h"
#include "Templates/SharedPointer.h"
#include "QuarnTypes.h"
#include "QuarnEnsureContainer.generated.h"


DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FQuarnEnsureContainerPin, const FQuarnContainer&, Container, const FQuarnError&, Error);

/**
 * Makes sure a signed-in player has a container of a kind, creating it with the given layout and
 * size the first time, and answers with the container and all of its stacks. The layout and size of
 * an existing container never change.
 */
UCLASS()
class QUARNCORE_API UQuarnEnsureContainer : public UBlueprintAsyncActionBase
{
	GENERATED_BODY()

public:
	/** The container exists; Container holds it with every stack. */
	UPROPERTY(BlueprintAssignable)
	FQuarnEnsureContainerPin OnSuccess;

	/** The request failed; Error says why. */
	UPROPERTY(BlueprintAssignable)
	FQuarnEnsureContainerPin OnFailure;

	/**
	 * Ensures the player's container of a kind.
	 * @param PlayerId    A player signed in with Quarn - Authenticate Player.
	 * @param Kind        What the container is for, such as stash; one container per kind and player.
	 * @param Layout      Used only when the container is created.
	 * @param SlotCount   Slots of a new slot container (at least 1).
	 * @param GridWidth   Columns of a new grid container.
	 * @param GridHeight  Rows of a new grid container.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora|Container", meta = (BlueprintInternalUseOnly = "true", WorldContext = "WorldContextObject", DisplayName = "Quarn - Ensure Container"))
	static UQuarnEnsureContainer* EnsureContainer(UObject* WorldContextObject, const FString& PlayerId, const FString& Kind, EQuarnContainerLayout Layout, int32 SlotCount, int32 GridWidth, int32 GridHeight);

	virtual void Activate() override;

	/** The request body for a container of this kind, layout and size, as the platform expects it. */
	static FString MakeRequestBody(const FString& Kind, EQuarnContainerLayout Layout, int32 SlotCount, int32 GridWidth, int32 GridHeight);

private:
	void Finish(bool bSucceeded, const FQuarnContainer& Container, const FQuarnError& Error);

	/** The world context the node was placed in; reflected so that the collector sees it. */
	UPROPERTY()
	TObjectPtr<UObject> Context;

	FString RequestedPlayerId;
	FString RequestedKind;
	EQuarnContainerLayout RequestedLayout = EQuarnContainerLayout::Grid;
	int32 RequestedSlotCount = 1;
	int32 RequestedGridWidth = 1;
	int32 RequestedGridHeight = 1;
	bool bActivated = false;
	bool bFinished = false;
};
