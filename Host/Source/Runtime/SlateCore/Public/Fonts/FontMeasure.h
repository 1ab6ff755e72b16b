// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"

/**
 * Measures text as Slate draws it. The host shapes text with Pango using a font Debian ships
 * (DejaVu Sans), at the font's size in points at 96 DPI times the font scale; glyph advances and
 * line metrics are whole pixels at that scale, and letter spacing is added after every character,
 * truncated to whole pixels as the engine's shaper does.
 */
class FSlateFontMeasure
{
public:
	/** A measuring service; the process shares one through UE::Host::GetFontMeasureService(). */
	static SLATECORE_API TSharedRef<FSlateFontMeasure> Create();

	/** The size in pixels, at FontScale, of one line of text (no wrapping; line breaks are ignored). */
	SLATECORE_API FVector2D Measure(FStringView Text, const FSlateFontInfo& InFontInfo, float FontScale = 1.0f) const;
	SLATECORE_API FVector2D Measure(const FString& Text, const FSlateFontInfo& InFontInfo, float FontScale = 1.0f) const;

	/** The height in pixels of a line of this font at FontScale (ascent plus descent). */
	SLATECORE_API uint16 GetMaxCharacterHeight(const FSlateFontInfo& InFontInfo, float FontScale = 1.0f) const;

	/** The distance in pixels from the bottom of a line to its baseline, negative as in the engine. */
	SLATECORE_API int16 GetBaseline(const FSlateFontInfo& InFontInfo, float FontScale = 1.0f) const;

	SLATECORE_API ~FSlateFontMeasure();

private:
	FSlateFontMeasure();
	struct FImpl;
	TUniquePtr<FImpl> Impl;
};
