// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Misc/Optional.h"
#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "Widgets/SLeafWidget.h"

/** Draws a brush, tinted. Its desired size is the brush's image size unless overridden. */
class SLATECORE_API SImage : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(SImage)
		: _Image(nullptr)
		, _ColorAndOpacity(FLinearColor::White)
		, _FlipForRightToLeftFlowDirection(false)
	{
	}
	/** Image resource; the widget does not copy it, so it must outlive the widget. */
	SLATE_ATTRIBUTE(const FSlateBrush*, Image)
	/** Color and opacity */
	SLATE_ATTRIBUTE(FSlateColor, ColorAndOpacity)
	/** When specified, ignore the brush's size and report this as the desired size. */
	SLATE_ATTRIBUTE(TOptional<FVector2D>, DesiredSizeOverride)
	/** Flips the image if the localization's flow direction is RightToLeft */
	SLATE_ARGUMENT(bool, FlipForRightToLeftFlowDirection)
	SLATE_END_ARGS()

	SLATECORE_API SImage();

	SLATECORE_API void Construct(const FArguments& InArgs);

	SLATECORE_API void SetColorAndOpacity(const FSlateColor& InColorAndOpacity);
	SLATECORE_API void SetColorAndOpacity(FLinearColor InColorAndOpacity);
	SLATECORE_API void SetImage(const FSlateBrush* InImage);
	/** The brush changed in place; lay out and paint again. */
	SLATECORE_API void InvalidateImage();
	SLATECORE_API void SetDesiredSizeOverride(TOptional<FVector2D> InDesiredSizeOverride);
	SLATECORE_API void FlipForRightToLeftFlowDirection(bool InbFlipForRightToLeftFlowDirection);

	const FSlateBrush* GetImage() const { return Image; }
	const FSlateColor& GetColorAndOpacity() const { return ColorAndOpacity; }

	SLATECORE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

protected:
	SLATECORE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

private:
	const FSlateBrush* Image;
	FSlateColor ColorAndOpacity;
	TOptional<FVector2D> DesiredSizeOverride;
	bool bFlipForRightToLeftFlowDirection;
};
