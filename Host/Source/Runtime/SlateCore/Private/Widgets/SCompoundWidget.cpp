// Copyright Quarn. All Rights Reserved.

#include "Widgets/SCompoundWidget.h"
#include "Layout/LayoutUtils.h"
#include "Rendering/DrawElements.h"

SCompoundWidget::SCompoundWidget()
	: ChildSlot(this)
{
}

FChildren* SCompoundWidget::GetChildren()
{
	return &ChildSlot;
}

FVector2D SCompoundWidget::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	const EVisibility ChildVisibility = ChildSlot.GetWidget()->GetVisibility();
	if (ChildVisibility != EVisibility::Collapsed)
	{
		return ChildSlot.GetWidget()->GetDesiredSize() + ChildSlot.GetPadding().GetDesiredSize();
	}
	return FVector2D(0.0, 0.0);
}

void SCompoundWidget::OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const
{
	ArrangeSingleChild(GSlateFlowDirection, AllottedGeometry, ArrangedChildren, ChildSlot, GetContentScale());
}

int32 SCompoundWidget::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	// A compound widget just draws its child, one layer up, tinted and with its foreground colour.
	FArrangedChildren ArrangedChildren(EVisibility::Visible);
	ArrangeChildren(AllottedGeometry, ArrangedChildren);

	// There may be no child to paint if it is collapsed or hidden.
	if (ArrangedChildren.Num() > 0)
	{
		const bool bShouldBeEnabled = ShouldBeEnabled(bParentEnabled);
		check(ArrangedChildren.Num() == 1);
		const FArrangedWidget& TheChild = ArrangedChildren[0];

		FWidgetStyle CompoundedWidgetStyle = FWidgetStyle(InWidgetStyle)
			.BlendColorAndOpacityTint(GetColorAndOpacity())
			.SetForegroundColor(GetForegroundColor());

		return TheChild.Widget->Paint(Args.WithNewParent(this), TheChild.Geometry, MyCullingRect, OutDrawElements, LayerId + 1, CompoundedWidgetStyle, bShouldBeEnabled);
	}
	return LayerId;
}
