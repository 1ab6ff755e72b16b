// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Subsystems/Subsystem.h"
#include "EngineSubsystem.generated.h"

/**
 * UEngineSubsystem
 * Base class for auto instanced and initialized systems that share the lifetime of the Engine
 */
UCLASS(Abstract, MinimalAPI)
class UEngineSubsystem : public USubsystem
{
	GENERATED_BODY()

public:
	ENGINE_API UEngineSubsystem(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};
