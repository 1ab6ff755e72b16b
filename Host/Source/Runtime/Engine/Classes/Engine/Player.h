// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Player.generated.h"

/**
 * A player: a local one, or a network connection. The host keeps only the class, for the
 * connections that derive from it.
 */
UCLASS(MinimalAPI, transient, config=Engine)
class UPlayer : public UObject
{
	GENERATED_BODY()
};
