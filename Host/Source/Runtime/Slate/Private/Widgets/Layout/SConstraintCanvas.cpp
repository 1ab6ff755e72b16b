// Copyright Quarn. All Rights Reserved.

#include "Widgets/Layout/SConstraintCanvas.h"
#include "Rendering/DrawElements.h"

namespace
{
	struct FChildZOrder
	{
		int32 ChildIndex;
		float ZOrder;
	};

	struct FSortSlotsByZOrder
	{
		bool operator()(const FChildZOrder& A, const FChildZOrder& B) const
		{
			return A.ZOrder == B.ZOrder ? A.ChildIndex < B.ChildIndex : A.ZOrder < B.ZOrder;
		}
	};
}

SConstraintCanvas::SConstraintCanvas()
	: Children(this)
{
	SetCanTick(false);
	bCanSupportFocus = false;
}

void SConstraintCanvas::Construct(const FArguments& InArgs)
{
}

void SConstraintCanvas::FSlot::Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs)
{
	TSlotBase<FSlot>::Construct(SlotOwner, MoveTemp(InArgs));
	if (InArgs._Offset.IsSet())
	{
		SetOffset(InArgs._Offset.GetValue());
	}
	if (InArgs._Anchors.IsSet())
	{
		SetAnchors(InArgs._Anchors.GetValue());
	}
	if (InArgs._Alignment.IsSet())
	{
		SetAlignment(InArgs._Alignment.GetValue());
	}
	if (InArgs._AutoSize.IsSet())
	{
		SetAutoSize(InArgs._AutoSize.GetValue());
	}
	if (InArgs._ZOrder.IsSet())
	{
		SetZOrder(InArgs._ZOrder.GetValue());
	}
}

SConstraintCanvas::FSlot::FSlotArguments SConstraintCanvas::Slot()
{
	return FSlot::FSlotArguments(MakeUnique<FSlot>());
}

SConstraintCanvas::FScopedWidgetSlotArguments SConstraintCanvas::AddSlot()
{
	Invalidate(EInvalidateWidgetReason::Layout);
	return FScopedWidgetSlotArguments{ MakeUnique<FSlot>(), Children, INDEX_NONE };
}

int32 SConstraintCanvas::RemoveSlot(const TSharedRef<SWidget>& SlotWidget)
{
	Invalidate(EInvalidateWidgetReason::Layout);
	return Children.Remove(SlotWidget);
}

void SConstraintCanvas::ClearChildren()
{
	if (Children.Num())
	{
		Invalidate(EInvalidateWidgetReason::Layout);
		Children.Empty();
	}
}

FChildren* SConstraintCanvas::GetChildren()
{
	return &Children;
}

void SConstraintCanvas::OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const
{
	FArrangedChildLayers ChildLayers;
	ArrangeLayeredChildren(AllottedGeometry, ArrangedChildren, ChildLayers);
}

void SConstraintCanvas::ArrangeLayeredChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren, FArrangedChildLayers& ArrangedChildLayers) const
{
	if (Children.Num() == 0)
	{
		return;
	}

	// Children are arranged in z order; equal z orders keep the order they were added in.
	TArray<FChildZOrder, TInlineAllocator<64>> SlotOrder;
	SlotOrder.Reserve(Children.Num());
	for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
	{
		SlotOrder.Add(FChildZOrder{ChildIndex, Children[ChildIndex].GetZOrder()});
	}
	SlotOrder.StableSort(FSortSlotsByZOrder());

	const FVector2f AllottedSize = AllottedGeometry.GetLocalSize().ToVector2f();
	for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
	{
		const FChildZOrder& CurSlot = SlotOrder[ChildIndex];
		const FSlot& CurChild = Children[CurSlot.ChildIndex];
		const TSharedRef<SWidget>& CurWidget = CurChild.GetWidget();

		const EVisibility ChildVisibility = CurWidget->GetVisibility();
		if (!ArrangedChildren.Accepts(ChildVisibility))
		{
			continue;
		}

		const FMargin Offset = CurChild.GetOffset();
		const FVector2D Alignment = CurChild.GetAlignment();
		const FAnchors Anchors = CurChild.GetAnchors();
		const bool bAutoSize = CurChild.GetAutoSize();

		const FMargin AnchorPixels(
			(float)(Anchors.Minimum.X * AllottedSize.X),
			(float)(Anchors.Minimum.Y * AllottedSize.Y),
			(float)(Anchors.Maximum.X * AllottedSize.X),
			(float)(Anchors.Maximum.Y * AllottedSize.Y));

		const bool bIsHorizontalStretch = Anchors.Minimum.X != Anchors.Maximum.X;
		const bool bIsVerticalStretch = Anchors.Minimum.Y != Anchors.Maximum.Y;

		const FVector2D SlotSize = FVector2D(Offset.Right, Offset.Bottom);
		const FVector2D Size = bAutoSize ? CurWidget->GetDesiredSize() : SlotSize;

		// The offset of the pivot.
		const FVector2D AlignmentOffset = Size * Alignment;

		FVector2D LocalPosition;
		FVector2D LocalSize;
		if (bIsHorizontalStretch)
		{
			LocalPosition.X = AnchorPixels.Left + Offset.Left;
			LocalSize.X = AnchorPixels.Right - LocalPosition.X - Offset.Right;
		}
		else
		{
			LocalPosition.X = AnchorPixels.Left + Offset.Left - AlignmentOffset.X;
			LocalSize.X = Size.X;
		}

		if (bIsVerticalStretch)
		{
			LocalPosition.Y = AnchorPixels.Top + Offset.Top;
			LocalSize.Y = AnchorPixels.Bottom - LocalPosition.Y - Offset.Bottom;
		}
		else
		{
			LocalPosition.Y = AnchorPixels.Top + Offset.Top - AlignmentOffset.Y;
			LocalSize.Y = Size.Y;
		}

		ArrangedChildren.AddWidget(ChildVisibility, AllottedGeometry.MakeChild(CurWidget, LocalPosition, LocalSize));

		// Without explicit z-order layering (the engine's default setting) every child starts a new layer.
		ArrangedChildLayers.Add(true);
	}
}

int32 SConstraintCanvas::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	FArrangedChildren ArrangedChildren(EVisibility::Visible);
	FArrangedChildLayers ChildLayers;
	ArrangeLayeredChildren(AllottedGeometry, ArrangedChildren, ChildLayers);

	const bool bForwardedEnabled = ShouldBeEnabled(bParentEnabled);

	// Track the highest layer the children used, so each new layer goes on top of all of them.
	int32 MaxLayerId = LayerId;
	int32 ChildLayerId = LayerId;
	const FPaintArgs NewArgs = Args.WithNewParent(this);
	for (int32 ChildIndex = 0; ChildIndex < ArrangedChildren.Num(); ++ChildIndex)
	{
		const FArrangedWidget& CurWidget = ArrangedChildren[ChildIndex];
		if (!IsChildWidgetCulled(MyCullingRect, CurWidget))
		{
			if (ChildLayers[ChildIndex])
			{
				ChildLayerId = MaxLayerId + 1;
			}
			const int32 CurWidgetsMaxLayerId = CurWidget.Widget->Paint(NewArgs, CurWidget.Geometry, MyCullingRect, OutDrawElements, ChildLayerId, InWidgetStyle, bForwardedEnabled);
			MaxLayerId = FMath::Max(MaxLayerId, CurWidgetsMaxLayerId);
		}
	}
	return MaxLayerId;
}

FVector2D SConstraintCanvas::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	FVector2D FinalDesiredSize(0.0, 0.0);
	for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
	{
		const FSlot& CurChild = Children[ChildIndex];
		const TSharedRef<SWidget>& Widget = CurChild.GetWidget();
		// As long as the widgets are not collapsed, they contribute to the desired size.
		if (Widget->GetVisibility() != EVisibility::Collapsed)
		{
			const FMargin Offset = CurChild.GetOffset();
			const FAnchors Anchors = CurChild.GetAnchors();
			const FVector2D SlotSize = FVector2D(Offset.Right, Offset.Bottom);
			const FVector2D Size = CurChild.GetAutoSize() ? Widget->GetDesiredSize() : SlotSize;

			// Only a child docked to an edge adds its offset from that edge.
			const bool bIsDockedHorizontally = (Anchors.Minimum.X == Anchors.Maximum.X) && (Anchors.Minimum.X == 0 || Anchors.Minimum.X == 1);
			const bool bIsDockedVertically = (Anchors.Minimum.Y == Anchors.Maximum.Y) && (Anchors.Minimum.Y == 0 || Anchors.Minimum.Y == 1);

			FinalDesiredSize.X = FMath::Max(FinalDesiredSize.X, Size.X + (bIsDockedHorizontally ? FMath::Abs((double)Offset.Left) : 0.0));
			FinalDesiredSize.Y = FMath::Max(FinalDesiredSize.Y, Size.Y + (bIsDockedVertically ? FMath::Abs((double)Offset.Top) : 0.0));
		}
	}
	return FinalDesiredSize;
}
