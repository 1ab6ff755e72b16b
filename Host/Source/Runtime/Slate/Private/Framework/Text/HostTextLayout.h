// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Framework/Text/TextLayout.h"

namespace UE::Host
{
	/** One line of laid-out text; sizes in pixels at the layout's scale. */
	struct FTextLayoutLine
	{
		FString Text;
		float Width = 0.0f;
	};

	/** Text broken into lines and measured, as the engine's text layout does for a text block. */
	struct FTextLayoutResult
	{
		TArray<FTextLayoutLine> Lines;
		/** Height of each line in pixels at the scale (font height plus shadow, times the line height percentage). */
		float LineHeight = 0.0f;
		/** Widest line and total height, in pixels at the scale. */
		FVector2f DrawSize = FVector2f(0.0f, 0.0f);
	};

	/**
	 * Lays text out at a scale: hard line breaks always split it, and a positive wrapping width
	 * (in local units) breaks lines at spaces so that none is wider, a word longer than the width
	 * staying whole unless per-character wrapping is allowed. Trailing spaces of a wrapped line
	 * take no width. The shadow offset is part of each line's size, as in the engine's text runs.
	 */
	FTextLayoutResult LayOutText(const FString& Text, const FSlateFontInfo& Font, const FVector2D& ShadowOffset, float Scale, float WrappingWidth, float LineHeightPercentage, ETextWrappingPolicy WrappingPolicy);
}
