// Copyright Quarn. All Rights Reserved.

#include "Widgets/SOverlay.h"
#include "Layout/LayoutUtils.h"
#include "Rendering/DrawElements.h"

SOverlay::SOverlay()
	: Children(this)
{
	bCanSupportFocus = false;
}

void SOverlay::FOverlaySlot::Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs)
{
	TBasicLayoutWidgetSlot<FOverlaySlot>::Construct(SlotOwner, MoveTemp(InArgs));
	if (InArgs._ZOrder.IsSet())
	{
		ZOrder = InArgs._ZOrder.GetValue();
	}
}

SOverlay::FScopedWidgetSlotArguments SOverlay::AddSlot(int32 ZOrder)
{
	Invalidate(EInvalidateWidgetReason::ChildOrder);
	if (ZOrder == INDEX_NONE)
	{
		// No z order given: after the last slot, one z order above it.
		ZOrder = (Children.Num() == 0) ? 0 : (Children[Children.Num() - 1].GetZOrder() + 1);
		return FScopedWidgetSlotArguments(MakeUnique<FOverlaySlot>(ZOrder), Children, INDEX_NONE);
	}

	// Before the first slot with a higher z order.
	int32 Index = 0;
	for (; Index < Children.Num(); ++Index)
	{
		if (ZOrder < Children[Index].GetZOrder())
		{
			break;
		}
	}
	return FScopedWidgetSlotArguments(MakeUnique<FOverlaySlot>(ZOrder), Children, Index);
}

bool SOverlay::RemoveSlot(TSharedRef<SWidget> Widget)
{
	if (Children.Remove(Widget) != INDEX_NONE)
	{
		Invalidate(EInvalidateWidgetReason::ChildOrder);
		return true;
	}
	return false;
}

void SOverlay::ClearChildren()
{
	Children.Empty();
	Invalidate(EInvalidateWidgetReason::ChildOrder);
}

FChildren* SOverlay::GetChildren()
{
	return &Children;
}

void SOverlay::OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const
{
	for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
	{
		ArrangeSingleChild(GSlateFlowDirection, AllottedGeometry, ArrangedChildren, Children[ChildIndex], FVector2D(1.0, 1.0));
	}
}

FVector2D SOverlay::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	// As big as the largest child with its padding.
	FVector2D MaxSize(0.0, 0.0);
	for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
	{
		const FOverlaySlot& Slot = Children[ChildIndex];
		if (Slot.GetWidget()->GetVisibility() != EVisibility::Collapsed)
		{
			const FVector2D ChildDesiredSize = Slot.GetWidget()->GetDesiredSize() + Slot.GetPadding().GetDesiredSize();
			MaxSize.X = FMath::Max(MaxSize.X, ChildDesiredSize.X);
			MaxSize.Y = FMath::Max(MaxSize.Y, ChildDesiredSize.Y);
		}
	}
	return MaxSize;
}

int32 SOverlay::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	FArrangedChildren ArrangedChildren(EVisibility::Visible);
	ArrangeChildren(AllottedGeometry, ArrangedChildren);

	// Each child paints above every layer the children before it used.
	int32 MaxLayerId = LayerId;
	const bool bChildrenEnabled = ShouldBeEnabled(bParentEnabled);
	const FPaintArgs NewArgs = Args.WithNewParent(this);
	for (int32 ChildIndex = 0; ChildIndex < ArrangedChildren.Num(); ++ChildIndex)
	{
		const FArrangedWidget& CurArrangedWidget = ArrangedChildren[ChildIndex];
		if (ChildIndex > 0)
		{
			++MaxLayerId;
		}
		if (!IsChildWidgetCulled(MyCullingRect, CurArrangedWidget))
		{
			const int32 CurWidgetsMaxLayerId = CurArrangedWidget.Widget->Paint(NewArgs, CurArrangedWidget.Geometry, MyCullingRect, OutDrawElements, MaxLayerId, InWidgetStyle, bChildrenEnabled);
			MaxLayerId = FMath::Max(MaxLayerId, CurWidgetsMaxLayerId);
		}
	}
	return MaxLayerId;
}
