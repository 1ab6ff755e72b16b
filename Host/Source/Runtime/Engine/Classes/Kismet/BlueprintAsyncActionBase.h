// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "UObject/WeakObjectPtr.h"
#include "BlueprintAsyncActionBase.generated.h"

class UGameInstance;

UCLASS(MinimalAPI)
class UBlueprintAsyncActionBase : public UObject
{
	GENERATED_BODY()

public:
	ENGINE_API UBlueprintAsyncActionBase(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Called to trigger the action once the delegates have been bound */
	UFUNCTION(BlueprintCallable, meta=(BlueprintInternalUseOnly="true"))
	ENGINE_API virtual void Activate();

	/**
	 * Call to globally register this object with a game instance, it will not be destroyed until SetReadyToDestroy is called
	 * This allows having an action stay alive until SetReadyToDestroy is manually called, allowing it to be used inside loops or if the calling BP goes away
	 */
	ENGINE_API virtual void RegisterWithGameInstance(const UObject* WorldContextObject);

	/** Call when the action is completely done, this makes the action free to delete, and will unregister it with the game instance */
	ENGINE_API virtual void SetReadyToDestroy();

	ENGINE_API virtual void BeginDestroy() override;

protected:
	ENGINE_API virtual void RegisterWithGameInstance(UGameInstance* GameInstance);

	TWeakObjectPtr<UGameInstance> RegisteredWithGameInstance;
};
