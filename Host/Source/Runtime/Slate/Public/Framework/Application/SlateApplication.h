// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/**
 * The engine's Slate application, for the part code asks of it: whether it exists. The host's
 * windows are laid out and painted by UE::Host::FHostSlateApplication. An editor and a game have
 * a Slate application; a dedicated server or a commandlet does not, and the host runs as one when
 * its engine loop is started without Slate (UE::Host::FEngineLoopSettings::bWithSlate).
 */
class FSlateApplication
{
public:
	static SLATE_API bool IsInitialized();
};
