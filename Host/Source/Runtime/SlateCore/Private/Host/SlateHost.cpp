// Copyright Quarn. All Rights Reserved.

#include "Host/SlateHost.h"
#include "Host/HostToolTip.h"

namespace UE::Host
{
	TSharedRef<FSlateFontMeasure> GetFontMeasureService()
	{
		static TSharedRef<FSlateFontMeasure> Service = FSlateFontMeasure::Create();
		return Service;
	}

	FString GetPangoFontFamily(const FSlateFontInfo& InFontInfo)
	{
		// The engine's default font is Roboto; the host draws every typeface with DejaVu Sans, which Debian ships.
		return TEXT("DejaVu Sans");
	}

	bool IsBoldTypeface(const FSlateFontInfo& InFontInfo)
	{
		return InFontInfo.TypefaceFontName.ToString().Contains(TEXT("Bold"));
	}

	bool IsItalicTypeface(const FSlateFontInfo& InFontInfo)
	{
		return InFontInfo.TypefaceFontName.ToString().Contains(TEXT("Italic"));
	}

	float GetFontPixelSize(const FSlateFontInfo& InFontInfo, float FontScale)
	{
		return InFontInfo.Size * ((float)FontConstants::RenderDPI / 72.0f) * FontScale;
	}

	int32 GetLetterSpacingPixels(const FSlateFontInfo& InFontInfo, float FontScale)
	{
		// Letter spacing scales with the font size / 1000 and is truncated, as the engine's shaper does.
		const float LetterSpacingScaledAsFloat = InFontInfo.LetterSpacing != 0 ? (float)InFontInfo.LetterSpacing * FontScale * InFontInfo.Size / 1000.0f : 0.0f;
		return (int32)(int16)LetterSpacingScaledAsFloat;
	}

	FText GetToolTipText(const TSharedPtr<IToolTip>& ToolTip)
	{
		if (const SHostTextToolTip* TextToolTip = SHostTextToolTip::Find(ToolTip.Get()))
		{
			return TextToolTip->GetText();
		}
		return FText::GetEmpty();
	}
}
