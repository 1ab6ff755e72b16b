// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "Widgets/SCompoundWidget.h"

/** A brush drawn behind one padded, aligned child. */
class SLATE_API SBorder : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SBorder)
		: _HAlign(HAlign_Fill)
		, _VAlign(VAlign_Fill)
		, _Padding(FMargin(2.0f))
		, _ContentScale(FVector2D(1.0, 1.0))
		, _DesiredSizeScale(FVector2D(1.0, 1.0))
		, _ColorAndOpacity(FLinearColor(1.0f, 1.0f, 1.0f, 1.0f))
		, _BorderBackgroundColor(FLinearColor::White)
		, _ForegroundColor(FSlateColor::UseForeground())
		, _ShowEffectWhenDisabled(true)
		, _FlipForRightToLeftFlowDirection(false)
	{
		_BorderImage = GetDefaultBorderBrush();
	}
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
	SLATE_ARGUMENT(EVerticalAlignment, VAlign)
	SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_ATTRIBUTE(FVector2D, ContentScale)
	SLATE_ATTRIBUTE(FVector2D, DesiredSizeScale)
	/** ColorAndOpacity is the color and opacity of content in the border */
	SLATE_ATTRIBUTE(FLinearColor, ColorAndOpacity)
	/** BorderImage: an image resource that may be stretched to fill the border */
	SLATE_ATTRIBUTE(const FSlateBrush*, BorderImage)
	/** BorderBackgroundColor refers to the actual color and opacity of the supplied border image. */
	SLATE_ATTRIBUTE(FSlateColor, BorderBackgroundColor)
	/** The foreground color of text and some glyphs that appear as the border's content. */
	SLATE_ATTRIBUTE(FSlateColor, ForegroundColor)
	/** Whether or not to show the disabled effect when this border is disabled */
	SLATE_ATTRIBUTE(bool, ShowEffectWhenDisabled)
	/** Flips the background image if the localization's flow direction is RightToLeft */
	SLATE_ARGUMENT(bool, FlipForRightToLeftFlowDirection)
	SLATE_END_ARGS()

	SLATE_API SBorder();

	SLATE_API void Construct(const FArguments& InArgs);

	SLATE_API void SetContent(TSharedRef<SWidget> InContent);
	SLATE_API const TSharedRef<SWidget>& GetContent() const;
	SLATE_API void ClearContent();

	SLATE_API void SetBorderBackgroundColor(FSlateColor InColorAndOpacity);
	const FSlateColor& GetBorderBackgroundColor() const { return BorderBackgroundColor; }
	SLATE_API void SetDesiredSizeScale(FVector2D InDesiredSizeScale);
	FVector2D GetDesiredSizeScale() const { return DesiredSizeScale; }
	SLATE_API void SetHAlign(EHorizontalAlignment HAlign);
	SLATE_API void SetVAlign(EVerticalAlignment VAlign);
	SLATE_API void SetPadding(FMargin InPadding);
	const FMargin& GetPadding() const { return ChildSlot.GetPadding(); }
	EHorizontalAlignment GetHAlign() const { return ChildSlot.GetHorizontalAlignment(); }
	EVerticalAlignment GetVAlign() const { return ChildSlot.GetVerticalAlignment(); }
	SLATE_API void SetShowEffectWhenDisabled(bool InShowEffectWhenDisabled);
	/** The brush is not copied: it must outlive the border (UMG's border owns it). */
	SLATE_API void SetBorderImage(const FSlateBrush* InBorderImage);
	const FSlateBrush* GetBorderImage() const { return BorderImage; }

	SLATE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

	/** The brush a border draws when none is given: a plain box (the engine's core style "Border"). */
	static SLATE_API const FSlateBrush* GetDefaultBorderBrush();

protected:
	SLATE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

private:
	const FSlateBrush* BorderImage;
	FSlateColor BorderBackgroundColor;
	FVector2D DesiredSizeScale;
	bool bShowDisabledEffect;
	bool bFlipForRightToLeftFlowDirection;
};
