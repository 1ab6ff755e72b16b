// Copyright Quarn. All Rights Reserved.

#include "Widgets/Layout/SSpacer.h"

SSpacer::SSpacer()
	: SpacerSize(0.0, 0.0)
{
	SetCanTick(false);
	bCanSupportFocus = false;
}

void SSpacer::Construct(const FArguments& InArgs)
{
	SpacerSize = InArgs._Size;
}

int32 SSpacer::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	// Spacers draw nothing.
	return LayerId;
}

FVector2D SSpacer::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	return SpacerSize;
}

void SSpacer::SetSize(FVector2D InSpacerSize)
{
	SpacerSize = InSpacerSize;
	Invalidate(EInvalidateWidgetReason::Layout);
}
