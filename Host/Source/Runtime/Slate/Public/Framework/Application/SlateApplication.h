// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/**
 * The engine's Slate application, for the part code asks of it: whether it exists. The host's
 * windows are laid out and painted by UE::Host::FHostSlateApplication, which always exists, so
 * Slate is always initialized here (as in an editor or a game; a server or commandlet may lack it).
 */
class FSlateApplication
{
public:
	static bool IsInitialized()
	{
		return true;
	}
};
