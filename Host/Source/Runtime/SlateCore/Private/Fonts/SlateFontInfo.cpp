// Copyright Quarn. All Rights Reserved.

#include "Fonts/SlateFontInfo.h"
#include "SlateGlobals.h"

FFontOutlineSettings FFontOutlineSettings::NoOutline;

FSlateFontInfo::FSlateFontInfo()
	: FontObject(nullptr)
	, FontMaterial(nullptr)
	, OutlineSettings()
	, CompositeFont()
	, TypefaceFontName()
	, Size(24.0f)
{
}

FSlateFontInfo::FSlateFontInfo(const UObject* InFontObject, const float InSize, const FName& InTypefaceFontName, const FFontOutlineSettings& InOutlineSettings)
	: FontObject(InFontObject)
	, FontMaterial(nullptr)
	, OutlineSettings(InOutlineSettings)
	, CompositeFont()
	, TypefaceFontName(InTypefaceFontName)
	, Size(InSize)
{
	if (!InFontObject)
	{
		UE_LOG(LogSlate, Warning, TEXT("FSlateFontInfo was constructed with a null UFont. Slate will be forced to use the fallback font path which may be slower."));
	}
	CheckSize();
}

FSlateFontInfo::FSlateFontInfo(TSharedPtr<const FCompositeFont> InCompositeFont, const float InSize, const FName& InTypefaceFontName, const FFontOutlineSettings& InOutlineSettings)
	: FontObject(nullptr)
	, FontMaterial(nullptr)
	, OutlineSettings(InOutlineSettings)
	, CompositeFont(InCompositeFont)
	, TypefaceFontName(InTypefaceFontName)
	, Size(InSize)
{
	if (!InCompositeFont.IsValid())
	{
		UE_LOG(LogSlate, Warning, TEXT("FSlateFontInfo was constructed with a null FCompositeFont. Slate will be forced to use the fallback font path which may be slower."));
	}
	CheckSize();
}

bool FSlateFontInfo::IsIdenticalTo(const FSlateFontInfo& InOther) const
{
	return FontObject == InOther.FontObject
		&& FontMaterial == InOther.FontMaterial
		&& OutlineSettings.IsIdenticalTo(InOther.OutlineSettings)
		&& CompositeFont == InOther.CompositeFont
		&& TypefaceFontName == InOther.TypefaceFontName
		&& Size == InOther.Size
		&& LetterSpacing == InOther.LetterSpacing
		&& SkewAmount == InOther.SkewAmount
		&& bForceMonospaced == InOther.bForceMonospaced
		&& (bForceMonospaced ? MonospacedWidth == InOther.MonospacedWidth : true);
}

void FSlateFontInfo::CheckSize()
{
	// Slate keeps font sizes as 16-bit values; anything outside is clamped with a warning.
	if (Size < 0.0f || Size > MaxFontSize)
	{
		UE_LOG(LogSlate, Warning, TEXT("The font size '%f' is invalid. It will be clamped to [0, %f]."), (double)Size, (double)MaxFontSize);
		Size = FMath::Clamp(Size, 0.0f, MaxFontSize);
	}
}
