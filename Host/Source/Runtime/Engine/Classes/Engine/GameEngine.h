// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Engine/Engine.h"
#include "GameEngine.generated.h"

class UGameInstance;

/**
 * Engine that manages core systems that enable a game.
 */
UCLASS(config=Engine, transient, MinimalAPI)
class UGameEngine : public UEngine
{
	GENERATED_UCLASS_BODY()

public:
	/** The game instance the engine created in Init. */
	UPROPERTY(transient)
	TObjectPtr<UGameInstance> GameInstance;

	// UEngine interface
	ENGINE_API virtual void Init(IEngineLoop* InEngineLoop) override;
	ENGINE_API virtual void Start() override;
	ENGINE_API virtual void PreExit() override;
	ENGINE_API virtual void Tick(float DeltaSeconds, bool bIdleMode) override;

	/** The game instance class: the project's GameMapsSettings GameInstanceClass, else UGameInstance. */
	ENGINE_API UClass* GetGameInstanceClass() const;
};
