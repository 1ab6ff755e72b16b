// Copyright Quarn. All Rights Reserved.

#include "Subsystems/EngineSubsystem.h"

UEngineSubsystem::UEngineSubsystem()
	: USubsystem()
{
}
