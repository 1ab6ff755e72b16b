// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

/**
 * Pixel formats, numbered as the engine numbers them. The host's textures hold 8-bit formats only:
 * BGRA (what PNG files import as), RGBA and single-channel G8.
 */
enum EPixelFormat : uint8
{
	PF_Unknown = 0,
	PF_B8G8R8A8 = 2,
	PF_G8 = 3,
	PF_R8G8B8A8 = 37,
};
