// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"
#include "SlateFontInfo.generated.h"

class UObject;
struct FCompositeFont;

namespace FontConstants
{
	/** The DPI Slate renders fonts at: a font size is in points at this resolution. */
	inline constexpr uint32 RenderDPI = 96;
}

/** Settings for applying an outline to a font. */
USTRUCT(BlueprintType)
struct FFontOutlineSettings
{
	GENERATED_BODY()

	/** Size of the outline in slate units (at 1.0 font scale this unit is a pixel). */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=OutlineSettings, meta=(ClampMin="0", ClampMax="1024"))
	int32 OutlineSize;

	/** When enabled, the fill of the text is not drawn over the outline. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=OutlineSettings)
	bool bSeparateFillAlpha;

	/** When enabled, the outline is applied to any drop shadow that uses this font. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=OutlineSettings)
	bool bApplyOutlineToDropShadows;

	/** Optional material to apply to the outline. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=OutlineSettings)
	TObjectPtr<UObject> OutlineMaterial;

	/** The color of the outline for any character in this font. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=OutlineSettings)
	FLinearColor OutlineColor;

	FFontOutlineSettings()
		: OutlineSize(0)
		, bSeparateFillAlpha(false)
		, bApplyOutlineToDropShadows(false)
		, OutlineMaterial(nullptr)
		, OutlineColor(FLinearColor::Black)
	{
	}

	FFontOutlineSettings(int32 InOutlineSize, FLinearColor InColor = FLinearColor::Black)
		: OutlineSize(InOutlineSize)
		, bSeparateFillAlpha(false)
		, bApplyOutlineToDropShadows(false)
		, OutlineMaterial(nullptr)
		, OutlineColor(InColor)
	{
	}

	bool IsIdenticalTo(const FFontOutlineSettings& Other) const
	{
		return OutlineSize == Other.OutlineSize && bSeparateFillAlpha == Other.bSeparateFillAlpha
			&& bApplyOutlineToDropShadows == Other.bApplyOutlineToDropShadows && OutlineMaterial == Other.OutlineMaterial
			&& OutlineColor == Other.OutlineColor;
	}

	static SLATECORE_API FFontOutlineSettings NoOutline;
};

/** A font and the size and style it is drawn at. */
USTRUCT(BlueprintType)
struct FSlateFontInfo
{
	GENERATED_BODY()

	/** The font object (a UFont) to use; without one Slate falls back to its default font. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules, meta=(DisplayName="Font Family"))
	TObjectPtr<const UObject> FontObject;

	/** The material to use when rendering this font */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules)
	TObjectPtr<UObject> FontMaterial;

	/** Settings for applying an outline to a font */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules)
	FFontOutlineSettings OutlineSettings;

	/** The composite font data to use (used when FontObject is null). */
	TSharedPtr<const FCompositeFont> CompositeFont;

	/** The name of the font to use from the default typeface (None will use the first entry) */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules, meta=(DisplayName="Typeface"))
	FName TypefaceFontName;

	/** The font size is a measure in point values. The conversion of points to Slate Units is done at 96 dpi. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules, meta=(ClampMin=1, ClampMax=1000))
	float Size;

	/** The uniform spacing (or tracking) between all characters in the text, in 1/1000 em. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules, meta=(ClampMin=-1000, ClampMax=10000))
	int32 LetterSpacing = 0;

	/** A skew amount to apply to the text. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules, meta=(ClampMin=-5, ClampMax=5))
	float SkewAmount = 0.0f;

	/** Enable pseudo-monospaced font. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules)
	bool bForceMonospaced = false;

	/** The uniform width for all characters in the text, in em, when monospacing is forced. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=SlateStyleRules, meta=(ClampMin=0, ClampMax=10, EditCondition="bForceMonospaced"))
	float MonospacedWidth = 1.0f;

	/** Default constructor: no font object, size 24. */
	SLATECORE_API FSlateFontInfo();

	/** A font object at a size; a null font logs a warning, and the size is clamped to what Slate can draw. */
	SLATECORE_API FSlateFontInfo(const UObject* InFontObject, const float InSize, const FName& InTypefaceFontName = NAME_None, const FFontOutlineSettings& InOutlineSettings = FFontOutlineSettings());

	/** A composite font at a size. */
	SLATECORE_API FSlateFontInfo(TSharedPtr<const FCompositeFont> InCompositeFont, const float InSize, const FName& InTypefaceFontName = NAME_None, const FFontOutlineSettings& InOutlineSettings = FFontOutlineSettings());

	/** Whether every setting that changes how text looks is the same. */
	SLATECORE_API bool IsIdenticalTo(const FSlateFontInfo& InOther) const;

	bool operator==(const FSlateFontInfo& Other) const { return IsIdenticalTo(Other); }
	bool operator!=(const FSlateFontInfo& Other) const { return !(*this == Other); }

	bool HasValidFont() const { return FontObject != nullptr || CompositeFont.IsValid(); }

	/** The maximum font size Slate can draw (it stores sizes as 16-bit values). */
	static constexpr float MaxFontSize = 65535.0f;

	friend uint32 GetTypeHash(const FSlateFontInfo& Font)
	{
		uint32 Hash = GetTypeHash(Font.TypefaceFontName);
		Hash = HashCombine(Hash, GetTypeHash(Font.Size));
		Hash = HashCombine(Hash, GetTypeHash(Font.LetterSpacing));
		Hash = HashCombine(Hash, GetTypeHash(Font.FontObject.Get()));
		return Hash;
	}

private:
	void CheckSize();
};
