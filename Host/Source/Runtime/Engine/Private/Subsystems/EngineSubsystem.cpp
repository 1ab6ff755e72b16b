// Copyright Quarn. All Rights Reserved.

#include "Subsystems/EngineSubsystem.h"

// Out of line and exported: subsystems of other modules construct through it.
UEngineSubsystem::UEngineSubsystem(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}
