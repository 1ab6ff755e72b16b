// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "BlueprintFunctionLibrary.generated.h"

/**
 * This class is a base class for any function libraries exposed to blueprints.
 * Methods in subclasses are expected to be static, and no methods should be added to this base class.
 */
UCLASS(Abstract, MinimalAPI)
class UBlueprintFunctionLibrary : public UObject
{
	GENERATED_UCLASS_BODY()
};
