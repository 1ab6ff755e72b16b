// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Widgets/SLeafWidget.h"

/** Empty space of a given desired size; draws nothing. */
class SLATE_API SSpacer : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(SSpacer)
		: _Size(FVector2D(0.0, 0.0))
	{
		_Visibility = EVisibility::SelfHitTestInvisible;
	}
	SLATE_ATTRIBUTE(FVector2D, Size)
	SLATE_END_ARGS()

	SLATE_API SSpacer();

	SLATE_API void Construct(const FArguments& InArgs);

	SLATE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

	FVector2D GetSize() const { return SpacerSize; }
	SLATE_API void SetSize(FVector2D InSpacerSize);

protected:
	SLATE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

private:
	FVector2D SpacerSize;
};
