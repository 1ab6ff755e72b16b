// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Subsystems/Subsystem.h"
#include "GameInstanceSubsystem.generated.h"

class UGameInstance;

/**
 * UGameInstanceSubsystem
 * Base class for auto instanced and initialized systems that share the lifetime of the game instance
 */
UCLASS(Abstract, Within = GameInstance, MinimalAPI)
class UGameInstanceSubsystem : public USubsystem
{
	GENERATED_BODY()

public:
	// Out of line for the same reason as USubsystem's.
	ENGINE_API UGameInstanceSubsystem(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Returns the owning game instance; null for the class default object. */
	ENGINE_API UGameInstance* GetGameInstance() const;
};
