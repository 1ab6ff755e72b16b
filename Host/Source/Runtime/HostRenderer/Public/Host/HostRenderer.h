// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Rendering/DrawElements.h"

class UObject;

namespace UE::Host
{
	/** Pixels of an image, row by row from the top, sRGB with straight (not premultiplied) alpha. */
	struct FHostImage
	{
		int32 Width = 0;
		int32 Height = 0;
		TArray<FColor> Pixels;

		bool IsValid() const { return Width > 0 && Height > 0 && Pixels.Num() == Width * Height; }
		FColor GetPixel(int32 X, int32 Y) const { return Pixels[Y * Width + X]; }
	};

	/** Supplies the pixels of a brush's resource object (a texture); false when it has none. */
	using FHostTextureReader = TFunction<bool(const UObject* Resource, FHostImage& OutImage)>;

	/**
	 * Paints Slate draw elements into an image with cairo and Pango, as the engine's renderer
	 * would show them: elements in layer order (in the order made within a layer), brush boxes
	 * filled with their tint or drawn from their texture multiplied by it, borders as their margin
	 * frame, and text in DejaVu Sans at its size and letter spacing times the element's scale.
	 * Colours are linear and converted to sRGB for the image; blending happens in sRGB.
	 */
	class HOSTRENDERER_API FHostRenderer
	{
	public:
		/** The textures' pixels come from this reader (the engine module registers one for UTexture2D). */
		static void SetTextureReader(FHostTextureReader InReader);

		/** Paints the elements over an opaque background into an image of the given size in pixels. */
		static FHostImage Render(const FSlateWindowElementList& Elements, FIntPoint SizeInPixels, FLinearColor Background = FLinearColor::Black);

		/** Writes an image to a PNG file; false with a logged error when it cannot. */
		static bool SavePng(const FHostImage& Image, const FString& FilePath);

		/** Render, then SavePng. */
		static bool RenderToPng(const FSlateWindowElementList& Elements, FIntPoint SizeInPixels, const FString& FilePath, FLinearColor Background = FLinearColor::Black);
	};
}
