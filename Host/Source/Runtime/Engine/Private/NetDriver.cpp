// Copyright Quarn. All Rights Reserved.

#include "Engine/NetDriver.h"
#include "Engine/NetConnection.h"

UNetDriver::UNetDriver(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

bool UNetDriver::IsServer() const
{
	return ServerConnection == nullptr;
}

UNetConnection::UNetConnection(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}
