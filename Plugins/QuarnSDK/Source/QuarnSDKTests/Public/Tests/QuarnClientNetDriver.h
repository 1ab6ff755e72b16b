// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/NetConnection.h"
#include "Engine/NetDriver.h"
#include "QuarnClientNetDriver.generated.h"

/**
 * Test double: a connection that carries nothing. Given to a net driver as its server
 * connection, it makes the driver's world a client's. In the test module only, so never in a
 * Shipping build.
 */
UCLASS(Transient, HideDropdown, NotBlueprintable, NotBlueprintType)
class QUARNSDKTESTS_API UQuarnIdleNetConnection : public UNetConnection
{
	GENERATED_BODY()
};

/** Test double: a net driver that moves no data, for a world that should be a client's or a server's. */
UCLASS(Transient, HideDropdown, NotBlueprintable, NotBlueprintType)
class QUARNSDKTESTS_API UQuarnIdleNetDriver : public UNetDriver
{
	GENERATED_BODY()
};
