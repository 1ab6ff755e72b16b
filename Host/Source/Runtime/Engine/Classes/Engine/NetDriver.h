// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Engine/EngineBaseTypes.h"
#include "NetDriver.generated.h"

class UNetConnection;

/**
 * Base class of a network driver attached to a world. The host's drivers move no data; they
 * decide a world's net mode as the engine's do: a driver with a server connection is a client's.
 */
UCLASS(Abstract, customConstructor, transient, MinimalAPI, config=Engine)
class UNetDriver : public UObject
{
	GENERATED_BODY()

public:
	ENGINE_API UNetDriver(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Connection to the server (this net driver is a client) */
	UPROPERTY()
	TObjectPtr<UNetConnection> ServerConnection;

	/** True when this driver is a server's: clients always hold a server connection. */
	ENGINE_API virtual bool IsServer() const;

	/** The net mode of the world this driver serves. */
	ENetMode GetNetMode() const
	{
		return IsServer() ? (GIsClient ? NM_ListenServer : NM_DedicatedServer) : NM_Client;
	}
};
