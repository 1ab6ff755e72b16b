// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/** Effects applied to a draw element. */
enum class ESlateDrawEffect : uint8
{
	/** No effect applied */
	None = 0,
	/** Advanced: Draw the element with no blending */
	NoBlending = 1 << 0,
	/** Advanced: Blend using pre-multiplied alpha. Ignored if NoBlending is set. */
	PreMultipliedAlpha = 1 << 1,
	/** Advanced: No gamma correction should be done */
	NoGamma = 1 << 2,
	/** Advanced: Change the alpha value to 1 - Alpha. */
	InvertAlpha = 1 << 3,
	/** Disables pixel snapping */
	NoPixelSnapping = 1 << 4,
	/** Draw the element with a disabled effect */
	DisabledEffect = 1 << 5,
	/** Advanced: Don't read from texture alpha channel */
	IgnoreTextureAlpha = 1 << 6,
	/** Advanced: Existing Gamma correction should be reversed */
	ReverseGamma = 1 << 7,
};

ENUM_CLASS_FLAGS(ESlateDrawEffect);
