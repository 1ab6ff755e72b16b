// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "SlateColor.generated.h"

class FWidgetStyle;

/** Where a Slate colour takes its value from. */
UENUM(BlueprintType)
enum class ESlateColorStylingMode : uint8
{
	/** Color value is stored in this Slate color. */
	UseColor_Specified,
	/** Color value is stored in the linked color. */
	UseColor_ColorTable,
	/** Use the widget's foreground color. */
	UseColor_Foreground,
	/** Use the widget's subdued color. */
	UseColor_Foreground_Subdued,
	/** Use the widget's style color. */
	UseColor_UseStyle,
};

/** A colour that is either given outright or taken from the widget style it is drawn with. */
USTRUCT(BlueprintType)
struct FSlateColor
{
	GENERATED_BODY()

public:
	/** Magenta, so that a colour left unset is obvious on screen. */
	FSlateColor()
		: SpecifiedColor(FLinearColor(1.0f, 0.0f, 1.0f))
		, ColorUseRule(ESlateColorStylingMode::UseColor_Specified)
	{
	}

	FSlateColor(const FLinearColor& InColor)
		: SpecifiedColor(InColor)
		, ColorUseRule(ESlateColorStylingMode::UseColor_Specified)
	{
	}

	/** An 8-bit colour, read as linear values (each channel / 255). */
	FSlateColor(const FColor& InColor)
		: SpecifiedColor(InColor.ReinterpretAsLinear())
		, ColorUseRule(ESlateColorStylingMode::UseColor_Specified)
	{
	}

	FSlateColor(const TSharedRef<FLinearColor>& InColor)
		: SpecifiedColor(FLinearColor(1.0f, 0.0f, 1.0f))
		, ColorUseRule(ESlateColorStylingMode::UseColor_ColorTable)
		, LinkedSpecifiedColor(InColor)
	{
	}

	/** The colour to draw with under a widget style. */
	SLATECORE_API const FLinearColor& GetColor(const FWidgetStyle& InWidgetStyle) const;

	FLinearColor GetSpecifiedColor() const
	{
		if (LinkedSpecifiedColor.IsValid())
		{
			return *LinkedSpecifiedColor;
		}
		return SpecifiedColor;
	}

	bool IsColorSpecified() const { return ColorUseRule == ESlateColorStylingMode::UseColor_Specified || ColorUseRule == ESlateColorStylingMode::UseColor_ColorTable; }

	void Unlink()
	{
		if (LinkedSpecifiedColor.IsValid())
		{
			SpecifiedColor = *LinkedSpecifiedColor;
			LinkedSpecifiedColor.Reset();
			ColorUseRule = ESlateColorStylingMode::UseColor_Specified;
		}
	}

	static FSlateColor UseForeground() { return FSlateColor(ESlateColorStylingMode::UseColor_Foreground); }
	static FSlateColor UseSubduedForeground() { return FSlateColor(ESlateColorStylingMode::UseColor_Foreground_Subdued); }
	static FSlateColor UseStyle() { return FSlateColor(ESlateColorStylingMode::UseColor_UseStyle); }

	bool operator==(const FSlateColor& Other) const
	{
		return SpecifiedColor == Other.SpecifiedColor && ColorUseRule == Other.ColorUseRule && LinkedSpecifiedColor == Other.LinkedSpecifiedColor;
	}
	bool operator!=(const FSlateColor& Other) const { return !(*this == Other); }

	ESlateColorStylingMode GetColorUseRule() const { return ColorUseRule; }

protected:
	FSlateColor(ESlateColorStylingMode InColorUseRule)
		: SpecifiedColor(FLinearColor(1.0f, 0.0f, 1.0f))
		, ColorUseRule(InColorUseRule)
	{
	}

	/** The current specified color; only meaningful when ColorUseRule is UseColor_Specified. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Color)
	FLinearColor SpecifiedColor;

	/** The rule for which color to pick. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Color)
	ESlateColorStylingMode ColorUseRule;

	/** A colour shared with a style table. */
	TSharedPtr<FLinearColor> LinkedSpecifiedColor;
};
