// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Framework/Text/TextLayout.h"
#include "Internationalization/Text.h"
#include "Layout/Margin.h"
#include "Styling/SlateColor.h"
#include "Widgets/SLeafWidget.h"

/**
 * Text in one font, colour and justification, optionally wrapped. Its desired size is the laid-out
 * text at the prepass's layout scale (measured in pixels at that scale, then divided by it), so
 * text can be a fraction of a unit wider at one scale than at another, as in the engine. With
 * automatic wrapping the width to wrap at is the width the block was last painted at.
 */
class SLATE_API STextBlock : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(STextBlock)
		: _Text()
		, _Font()
		, _ColorAndOpacity(FSlateColor::UseForeground())
		, _ShadowOffset(FVector2D(0.0, 0.0))
		, _ShadowColorAndOpacity(FLinearColor::Transparent)
		, _MinDesiredWidth(0.0f)
		, _WrapTextAt(0.0f)
		, _AutoWrapText(false)
		, _WrappingPolicy(ETextWrappingPolicy::DefaultWrapping)
		, _Margin(FMargin(0.0f))
		, _LineHeightPercentage(1.0f)
		, _Justification(ETextJustify::Left)
	{
		_Visibility = EVisibility::SelfHitTestInvisible;
	}
	/** The text displayed in this text block */
	SLATE_ATTRIBUTE(FText, Text)
	/** Sets the font used to draw the text */
	SLATE_ATTRIBUTE(FSlateFontInfo, Font)
	/** Text color and opacity */
	SLATE_ATTRIBUTE(FSlateColor, ColorAndOpacity)
	/** Drop shadow offset in pixels */
	SLATE_ATTRIBUTE(FVector2D, ShadowOffset)
	/** Shadow color and opacity */
	SLATE_ATTRIBUTE(FLinearColor, ShadowColorAndOpacity)
	/** Minimum width that a text block should be */
	SLATE_ATTRIBUTE(float, MinDesiredWidth)
	/** Whether text wraps onto a new line when its length exceeds this width; if this value is zero or negative, no wrapping occurs. */
	SLATE_ATTRIBUTE(float, WrapTextAt)
	/** Whether to wrap text automatically based on the widget's computed horizontal space. */
	SLATE_ATTRIBUTE(bool, AutoWrapText)
	/** The wrapping policy to use */
	SLATE_ATTRIBUTE(ETextWrappingPolicy, WrappingPolicy)
	/** The amount of blank space left around the edges of text area. */
	SLATE_ATTRIBUTE(FMargin, Margin)
	/** The amount to scale each lines height by. */
	SLATE_ATTRIBUTE(float, LineHeightPercentage)
	/** How the text should be aligned with the margin. */
	SLATE_ATTRIBUTE(ETextJustify::Type, Justification)
	SLATE_END_ARGS()

	SLATE_API STextBlock();
	SLATE_API virtual ~STextBlock() override;

	SLATE_API void Construct(const FArguments& InArgs);

	const FText& GetText() const { return BoundText; }

	SLATE_API void SetText(const FText& InText);
	SLATE_API void SetFont(const FSlateFontInfo& InFont);
	SLATE_API void SetColorAndOpacity(const FSlateColor& InColorAndOpacity);
	SLATE_API void SetShadowOffset(const FVector2D& InShadowOffset);
	SLATE_API void SetShadowColorAndOpacity(const FLinearColor& InShadowColorAndOpacity);
	SLATE_API void SetMinDesiredWidth(float InMinDesiredWidth);
	SLATE_API void SetWrapTextAt(float InWrapTextAt);
	SLATE_API void SetAutoWrapText(bool InAutoWrapText);
	SLATE_API void SetWrappingPolicy(ETextWrappingPolicy InWrappingPolicy);
	SLATE_API void SetLineHeightPercentage(float InLineHeightPercentage);
	SLATE_API void SetMargin(const FMargin& InMargin);
	SLATE_API void SetJustification(ETextJustify::Type InJustification);

	const FSlateFontInfo& GetFont() const { return Font; }
	const FSlateColor& GetColorAndOpacity() const { return ColorAndOpacity; }
	ETextJustify::Type GetJustification() const { return Justification; }
	bool GetAutoWrapText() const { return bAutoWrapText; }
	FVector2D GetShadowOffset() const { return ShadowOffset; }

	SLATE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

protected:
	SLATE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

private:
	struct FLayoutCache;

	float CalculateWrappingWidth() const;
	const FLayoutCache& GetLayout(float Scale, float WrappingWidth) const;

	FText BoundText;
	FSlateFontInfo Font;
	FSlateColor ColorAndOpacity;
	FVector2D ShadowOffset;
	FLinearColor ShadowColorAndOpacity;
	float MinDesiredWidth;
	float WrapTextAt;
	bool bAutoWrapText;
	ETextWrappingPolicy WrappingPolicy;
	FMargin Margin;
	float LineHeightPercentage;
	ETextJustify::Type Justification;

	/** The local size the block was last painted at, for automatic wrapping. */
	mutable FVector2f CachedSize;
	mutable TUniquePtr<FLayoutCache> Layout;
};
