// Copyright Quarn. All Rights Reserved.

#include "Subsystems/Subsystem.h"

USubsystem::USubsystem(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}
