// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

namespace UE::Engine::Private
{
	struct FDecodedImage
	{
		int32 SizeX = 0;
		int32 SizeY = 0;
		// Rows from the top, 4 bytes per pixel in B, G, R, A order.
		TArray<uint8> BGRA;
	};

	// Decodes any PNG (palette, grey, RGB, with or without alpha, 8 or 16 bits) to 8-bit BGRA, as the
	// engine's importer stores an 8-bit PNG. Returns false with a reason for anything else.
	bool DecodePng(TConstArrayView<uint8> FileData, FDecodedImage& OutImage, FString& OutError);
}
