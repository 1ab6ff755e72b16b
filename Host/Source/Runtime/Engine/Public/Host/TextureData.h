// Copyright Quarn. All Rights Reserved.

// Host-only: a texture's pixels, for the renderer and tests.
#pragma once

#include "CoreMinimal.h"
#include "PixelFormat.h"

class UTexture2D;

namespace UE::Host
{
	struct FTexturePixels
	{
		int32 SizeX = 0;
		int32 SizeY = 0;
		EPixelFormat Format = PF_Unknown;
		// Rows from the top, no padding: SizeX * SizeY pixels of the format's size.
		TConstArrayView<uint8> Data;
	};

	// The texture's only mip; empty for null or a texture without pixels.
	ENGINE_API FTexturePixels GetTexturePixels(const UTexture2D* Texture);

	// Bytes per pixel of the 8-bit formats the host keeps; 0 for other formats.
	ENGINE_API int32 GetBytesPerPixel(EPixelFormat Format);
}
