// Copyright Quarn. All Rights Reserved.

#include "Widgets/SBoxPanel.h"
#include "Layout/LayoutUtils.h"

namespace
{
	/**
	 * Lays box panel children out along one direction. Fixed (auto) children get their desired
	 * size first, every child's padding counts as fixed space, and the space left over is shared
	 * by the stretching children in proportion to their coefficients.
	 */
	template <EOrientation Orientation>
	void ArrangeChildrenAlong(EFlowDirection InLayoutFlow, const TPanelChildren<SBoxPanel::FSlot>& Children, const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren)
	{
		if (Children.Num() == 0)
		{
			return;
		}

		float StretchCoefficientTotal = 0.0f;
		float FixedTotal = 0.0f;
		bool bAnyChildVisible = false;
		for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
		{
			const SBoxPanel::FSlot& CurChild = Children[ChildIndex];
			if (CurChild.GetWidget()->GetVisibility() != EVisibility::Collapsed)
			{
				bAnyChildVisible = true;
				// All widgets contribute their margin to the fixed space requirement.
				FixedTotal += CurChild.GetPadding().template GetTotalSpaceAlong<Orientation>();
				if (CurChild.GetSizeRule() == FSizeParam::SizeRule_Stretch)
				{
					StretchCoefficientTotal += CurChild.GetSizeValue();
				}
				else
				{
					const FVector2D ChildDesiredSize = CurChild.GetWidget()->GetDesiredSize();
					const float ChildSize = (Orientation == Orient_Vertical) ? (float)ChildDesiredSize.Y : (float)ChildDesiredSize.X;
					const float MaxSize = CurChild.GetMaxSize();
					FixedTotal += MaxSize > 0.0f ? FMath::Min(MaxSize, ChildSize) : ChildSize;
				}
			}
		}

		if (!bAnyChildVisible)
		{
			return;
		}

		const FVector2f LocalSize = AllottedGeometry.GetLocalSize().ToVector2f();
		// The space available for stretching widgets is any space that wasn't taken up by fixed-sized widgets.
		const float NonFixedSpace = FMath::Max(0.0f, (Orientation == Orient_Vertical) ? LocalSize.Y - FixedTotal : LocalSize.X - FixedTotal);

		float PositionSoFar = 0.0f;
		for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
		{
			const SBoxPanel::FSlot& CurChild = Children[ChildIndex];
			const EVisibility ChildVisibility = CurChild.GetWidget()->GetVisibility();

			// The area allocated to the slot is the child's size plus its padding.
			float ChildSize = 0.0f;
			if (ChildVisibility != EVisibility::Collapsed)
			{
				if (CurChild.GetSizeRule() == FSizeParam::SizeRule_Stretch)
				{
					if (StretchCoefficientTotal > 0.0f)
					{
						ChildSize = NonFixedSpace * CurChild.GetSizeValue() / StretchCoefficientTotal;
					}
				}
				else
				{
					const FVector2D ChildDesiredSize = CurChild.GetWidget()->GetDesiredSize();
					ChildSize = (Orientation == Orient_Vertical) ? (float)ChildDesiredSize.Y : (float)ChildDesiredSize.X;
				}

				const float MaxSize = CurChild.GetMaxSize();
				if (MaxSize > 0.0f)
				{
					ChildSize = FMath::Min(MaxSize, ChildSize);
				}
			}

			const FMargin SlotPadding(LayoutPaddingWithFlow(InLayoutFlow, CurChild.GetPadding()));

			const FVector2f SlotSize = (Orientation == Orient_Vertical)
				? FVector2f(LocalSize.X, ChildSize + SlotPadding.template GetTotalSpaceAlong<Orient_Vertical>())
				: FVector2f(ChildSize + SlotPadding.template GetTotalSpaceAlong<Orient_Horizontal>(), LocalSize.Y);

			// Figure out the size and local position of the child within the slot.
			const AlignmentArrangeResult XAlignmentResult = AlignChild<Orient_Horizontal>(InLayoutFlow, SlotSize.X, CurChild, SlotPadding);
			const AlignmentArrangeResult YAlignmentResult = AlignChild<Orient_Vertical>(SlotSize.Y, CurChild, SlotPadding);

			const FVector2f LocalPosition = (Orientation == Orient_Vertical)
				? FVector2f(XAlignmentResult.Offset, PositionSoFar + YAlignmentResult.Offset)
				: FVector2f(PositionSoFar + XAlignmentResult.Offset, YAlignmentResult.Offset);

			const FVector2f ChildLocalSize(XAlignmentResult.Size, YAlignmentResult.Size);

			ArrangedChildren.AddWidget(ChildVisibility, AllottedGeometry.MakeChild(CurChild.GetWidget(), LocalPosition, ChildLocalSize));

			if (ChildVisibility != EVisibility::Collapsed)
			{
				// Offset the next child by the size of the current child and any post-child (bottom/right) margin.
				PositionSoFar += (Orientation == Orient_Vertical) ? SlotSize.Y : SlotSize.X;
			}
		}
	}
}

SBoxPanel::SBoxPanel(EOrientation InOrientation)
	: Children(this)
	, Orientation(InOrientation)
{
}

FChildren* SBoxPanel::GetChildren()
{
	return &Children;
}

int32 SBoxPanel::RemoveSlot(const TSharedRef<SWidget>& SlotWidget)
{
	const int32 Index = Children.Remove(SlotWidget);
	if (Index != INDEX_NONE)
	{
		Invalidate(EInvalidateWidgetReason::Layout);
	}
	return Index;
}

void SBoxPanel::ClearChildren()
{
	if (Children.Num() > 0)
	{
		Children.Empty();
		Invalidate(EInvalidateWidgetReason::Layout);
	}
}

void SBoxPanel::OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const
{
	if (Orientation == Orient_Horizontal)
	{
		ArrangeChildrenAlong<Orient_Horizontal>(GSlateFlowDirection, Children, AllottedGeometry, ArrangedChildren);
	}
	else
	{
		ArrangeChildrenAlong<Orient_Vertical>(GSlateFlowDirection, Children, AllottedGeometry, ArrangedChildren);
	}
}

FVector2D SBoxPanel::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	// Along the panel: the sum of the children and their padding; across it: the largest child and its padding.
	FVector2D MyDesiredSize(0.0, 0.0);
	for (int32 ChildIndex = 0; ChildIndex < Children.Num(); ++ChildIndex)
	{
		const FSlot& CurChild = Children[ChildIndex];
		if (CurChild.GetWidget()->GetVisibility() == EVisibility::Collapsed)
		{
			continue;
		}
		const FVector2D CurChildDesiredSize = CurChild.GetWidget()->GetDesiredSize();
		const FMargin& Padding = CurChild.GetPadding();
		const float MaxSize = CurChild.GetMaxSize();
		if (Orientation == Orient_Vertical)
		{
			MyDesiredSize.X = FMath::Max(MyDesiredSize.X, CurChildDesiredSize.X + (double)Padding.GetTotalSpaceAlong<Orient_Horizontal>());
			double FinalChildDesiredSize = CurChildDesiredSize.Y;
			if (MaxSize > 0.0f)
			{
				FinalChildDesiredSize = FMath::Min((double)MaxSize, FinalChildDesiredSize);
			}
			MyDesiredSize.Y += FinalChildDesiredSize + (double)Padding.GetTotalSpaceAlong<Orient_Vertical>();
		}
		else
		{
			double FinalChildDesiredSize = CurChildDesiredSize.X;
			if (MaxSize > 0.0f)
			{
				FinalChildDesiredSize = FMath::Min((double)MaxSize, FinalChildDesiredSize);
			}
			MyDesiredSize.X += FinalChildDesiredSize + (double)Padding.GetTotalSpaceAlong<Orient_Horizontal>();
			MyDesiredSize.Y = FMath::Max(MyDesiredSize.Y, CurChildDesiredSize.Y + (double)Padding.GetTotalSpaceAlong<Orient_Vertical>());
		}
	}
	return MyDesiredSize;
}

void SBoxPanel::FSlot::Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs)
{
	TBasicLayoutWidgetSlot<FSlot>::Construct(SlotOwner, MoveTemp(InArgs));
	if (InArgs._SizeParam.IsSet())
	{
		SizeParam = InArgs._SizeParam.GetValue();
	}
	if (InArgs._MaxSize.IsSet())
	{
		MaxSize = InArgs._MaxSize.GetValue();
	}
}

SVerticalBox::FScopedWidgetSlotArguments SVerticalBox::AddSlot()
{
	return InsertSlot(INDEX_NONE);
}

SVerticalBox::FScopedWidgetSlotArguments SVerticalBox::InsertSlot(int32 Index)
{
	Invalidate(EInvalidateWidgetReason::ChildOrder);
	return FScopedWidgetSlotArguments(MakeUnique<FSlot>(), Children, Index);
}

SVerticalBox::FSlot& SVerticalBox::GetSlot(int32 SlotIndex)
{
	return static_cast<FSlot&>(Children[SlotIndex]);
}

const SVerticalBox::FSlot& SVerticalBox::GetSlot(int32 SlotIndex) const
{
	return static_cast<const FSlot&>(Children[SlotIndex]);
}

SHorizontalBox::FScopedWidgetSlotArguments SHorizontalBox::AddSlot()
{
	return InsertSlot(INDEX_NONE);
}

SHorizontalBox::FScopedWidgetSlotArguments SHorizontalBox::InsertSlot(int32 Index)
{
	Invalidate(EInvalidateWidgetReason::ChildOrder);
	return FScopedWidgetSlotArguments(MakeUnique<FSlot>(), Children, Index);
}

SHorizontalBox::FSlot& SHorizontalBox::GetSlot(int32 SlotIndex)
{
	return static_cast<FSlot&>(Children[SlotIndex]);
}

const SHorizontalBox::FSlot& SHorizontalBox::GetSlot(int32 SlotIndex) const
{
	return static_cast<const FSlot&>(Children[SlotIndex]);
}
