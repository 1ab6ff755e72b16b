// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Fonts/FontMeasure.h"

class IToolTip;
class SWidget;

// Host-only access to what the engine keeps in its Slate application and renderer.
namespace UE::Host
{
	/** The process's font measuring service (the engine's renderer owns it). */
	SLATECORE_API TSharedRef<FSlateFontMeasure> GetFontMeasureService();

	/** The Pango font description Slate text is drawn with: a DejaVu Sans face for the typeface. */
	SLATECORE_API FString GetPangoFontFamily(const FSlateFontInfo& InFontInfo);
	SLATECORE_API bool IsBoldTypeface(const FSlateFontInfo& InFontInfo);
	SLATECORE_API bool IsItalicTypeface(const FSlateFontInfo& InFontInfo);

	/** The em size in pixels of a font at a scale: its point size at 96 DPI. */
	SLATECORE_API float GetFontPixelSize(const FSlateFontInfo& InFontInfo, float FontScale);

	/** The letter spacing in whole pixels added after each character at a scale. */
	SLATECORE_API int32 GetLetterSpacingPixels(const FSlateFontInfo& InFontInfo, float FontScale);

	/** The text of a tooltip made by SWidget::SetToolTipText; empty for other tooltips. */
	SLATECORE_API FText GetToolTipText(const TSharedPtr<IToolTip>& ToolTip);
}
