// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Styling/SlateColor.h"

/** Colour state that parents pass down to the children they paint: a tint and a foreground colour. */
class FWidgetStyle
{
public:
	FWidgetStyle()
		: ColorAndOpacityTint(FLinearColor::White)
		, ForegroundColor(FLinearColor::White)
		, SubduedForeground(FLinearColor::White)
	{
	}

	FWidgetStyle& BlendColorAndOpacityTint(const FLinearColor& InTint)
	{
		ColorAndOpacityTint *= InTint;
		return *this;
	}

	FWidgetStyle& SetColorAndOpacityTint(const FLinearColor& InTint)
	{
		ColorAndOpacityTint = InTint;
		return *this;
	}

	FWidgetStyle& SetForegroundColor(const FSlateColor& InForeground)
	{
		ForegroundColor = InForeground.GetColor(*this);
		SubduedForeground = ForegroundColor;
		SubduedForeground.A *= SubdueAmount;
		return *this;
	}

	FWidgetStyle& SetForegroundColor(const FLinearColor& InForeground)
	{
		ForegroundColor = InForeground;
		SubduedForeground = ForegroundColor;
		SubduedForeground.A *= SubdueAmount;
		return *this;
	}

	FWidgetStyle& BlendOpacity(float InOpacity)
	{
		ColorAndOpacityTint.A *= InOpacity;
		return *this;
	}

	const FLinearColor& GetColorAndOpacityTint() const { return ColorAndOpacityTint; }
	const FLinearColor& GetForegroundColor() const { return ForegroundColor; }
	const FLinearColor& GetSubduedForegroundColor() const { return SubduedForeground; }

private:
	static constexpr float SubdueAmount = 0.6f;

	FLinearColor ColorAndOpacityTint;
	FLinearColor ForegroundColor;
	FLinearColor SubduedForeground;
};
