// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Engine/Player.h"
#include "NetConnection.generated.h"

/**
 * A connection between two ends of a networked game. The host sends nothing over it: a client
 * net driver holds one to the server, which is what makes its world a client.
 */
UCLASS(customConstructor, Abstract, MinimalAPI, transient, config=Engine)
class UNetConnection : public UPlayer
{
	GENERATED_BODY()

public:
	ENGINE_API UNetConnection(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());
};
