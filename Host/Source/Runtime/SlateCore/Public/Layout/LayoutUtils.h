// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/ArrangedChildren.h"
#include "Layout/FlowDirection.h"
#include "Layout/Margin.h"
#include "Layout/Visibility.h"
#include "Types/SlateEnums.h"
#include "Widgets/SWidget.h"

/** Where a child starts along one axis of its slot, and how long it is. */
struct AlignmentArrangeResult
{
	AlignmentArrangeResult(float InOffset, float InSize) : Offset(InOffset), Size(InSize) {}

	float Offset;
	float Size;
};

namespace ArrangeUtils
{
	/** The alignment of a slot along one axis as an int; right-to-left flow swaps left and right. */
	template <EOrientation Orientation>
	struct GetChildAlignment
	{
		template <typename SlotType>
		static int32 AsInt(EFlowDirection InFlowDirection, const SlotType& InSlot);
	};

	template <>
	struct GetChildAlignment<Orient_Horizontal>
	{
		template <typename SlotType>
		static int32 AsInt(EFlowDirection InFlowDirection, const SlotType& InSlot)
		{
			const EHorizontalAlignment HAlign = InSlot.GetHorizontalAlignment();
			if (InFlowDirection == EFlowDirection::RightToLeft)
			{
				if (HAlign == HAlign_Left)
				{
					return static_cast<int32>(HAlign_Right);
				}
				if (HAlign == HAlign_Right)
				{
					return static_cast<int32>(HAlign_Left);
				}
			}
			return static_cast<int32>(HAlign);
		}
	};

	template <>
	struct GetChildAlignment<Orient_Vertical>
	{
		template <typename SlotType>
		static int32 AsInt(EFlowDirection InFlowDirection, const SlotType& InSlot)
		{
			// Flow direction has no effect vertically.
			return static_cast<int32>(InSlot.GetVerticalAlignment());
		}
	};
}

/**
 * Aligns a child along one axis of the space a slot gives it. Fill takes the space minus the
 * padding; otherwise the child keeps its desired size (clamped to the space minus the padding), is
 * placed after the leading padding (left/top), before the trailing padding (right/bottom), or
 * centred as (Allotted - Size) / 2 + Pre - Post, which is the engine's formula.
 */
template <EOrientation Orientation, typename SlotType>
static AlignmentArrangeResult AlignChild(EFlowDirection InLayoutFlow, float AllottedSize, float ChildDesiredSize, const SlotType& ChildToArrange, const FMargin& SlotPadding, const float& ContentScale = 1.0f, bool bClampToParent = true)
{
	const FMargin& Margin = SlotPadding;
	const float TotalMargin = Margin.GetTotalSpaceAlong<Orientation>();
	const float MarginPre = (Orientation == Orient_Horizontal) ? Margin.Left : Margin.Top;
	const float MarginPost = (Orientation == Orient_Horizontal) ? Margin.Right : Margin.Bottom;

	const int32 Alignment = ArrangeUtils::GetChildAlignment<Orientation>::AsInt(InLayoutFlow, ChildToArrange);

	if (Alignment == HAlign_Fill)
	{
		return AlignmentArrangeResult(MarginPre, (AllottedSize - TotalMargin) * ContentScale);
	}

	const float ChildSize = bClampToParent ? FMath::Min(ChildDesiredSize, AllottedSize - TotalMargin) : ChildDesiredSize;

	switch (Alignment)
	{
	case HAlign_Left: // same as VAlign_Top
		return AlignmentArrangeResult(MarginPre, ChildSize);
	case HAlign_Center:
		return AlignmentArrangeResult((AllottedSize - ChildSize) / 2.0f + MarginPre - MarginPost, ChildSize);
	case HAlign_Right: // same as VAlign_Bottom
		return AlignmentArrangeResult(AllottedSize - ChildSize - MarginPost, ChildSize);
	default:
		break;
	}

	// Same as Fill
	return AlignmentArrangeResult(MarginPre, (AllottedSize - TotalMargin) * ContentScale);
}

template <EOrientation Orientation, typename SlotType>
static AlignmentArrangeResult AlignChild(float AllottedSize, float ChildDesiredSize, const SlotType& ChildToArrange, const FMargin& SlotPadding, const float& ContentScale = 1.0f, bool bClampToParent = true)
{
	return AlignChild<Orientation, SlotType>(EFlowDirection::LeftToRight, AllottedSize, ChildDesiredSize, ChildToArrange, SlotPadding, ContentScale, bClampToParent);
}

/** As above, with the child's cached desired size (times the content scale). */
template <EOrientation Orientation, typename SlotType>
static AlignmentArrangeResult AlignChild(EFlowDirection InLayoutFlow, float AllottedSize, const SlotType& ChildToArrange, const FMargin& SlotPadding, const float& ContentScale = 1.0f, bool bClampToParent = true)
{
	const FVector2D ChildDesired = ChildToArrange.GetWidget()->GetDesiredSize();
	const float ChildDesiredSize = (Orientation == Orient_Horizontal) ? (float)(ChildDesired.X * ContentScale) : (float)(ChildDesired.Y * ContentScale);
	return AlignChild<Orientation, SlotType>(InLayoutFlow, AllottedSize, ChildDesiredSize, ChildToArrange, SlotPadding, ContentScale, bClampToParent);
}

template <EOrientation Orientation, typename SlotType>
static AlignmentArrangeResult AlignChild(float AllottedSize, const SlotType& ChildToArrange, const FMargin& SlotPadding, const float& ContentScale = 1.0f, bool bClampToParent = true)
{
	return AlignChild<Orientation, SlotType>(EFlowDirection::LeftToRight, AllottedSize, ChildToArrange, SlotPadding, ContentScale, bClampToParent);
}

/** Padding as seen in a flow direction: right-to-left swaps left and right. */
static inline FMargin LayoutPaddingWithFlow(EFlowDirection InLayoutFlow, const FMargin& InPadding)
{
	FMargin ReturnPadding(InPadding);
	if (InLayoutFlow == EFlowDirection::RightToLeft)
	{
		const float Temp = ReturnPadding.Left;
		ReturnPadding.Left = ReturnPadding.Right;
		ReturnPadding.Right = Temp;
	}
	return ReturnPadding;
}

/** Arranges the single child of a slot with its padding and alignment. */
template <typename SlotType>
static void ArrangeSingleChild(EFlowDirection InFlowDirection, const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren, const SlotType& ChildSlot, const FVector2D& ContentScale)
{
	const EVisibility ChildVisibility = ChildSlot.GetWidget()->GetVisibility();
	if (ArrangedChildren.Accepts(ChildVisibility))
	{
		const FMargin SlotPadding(LayoutPaddingWithFlow(InFlowDirection, ChildSlot.GetPadding()));
		const FVector2f LocalSize = AllottedGeometry.GetLocalSize().ToVector2f();
		const AlignmentArrangeResult XResult = AlignChild<Orient_Horizontal>(InFlowDirection, LocalSize.X, ChildSlot, SlotPadding, (float)ContentScale.X);
		const AlignmentArrangeResult YResult = AlignChild<Orient_Vertical>(LocalSize.Y, ChildSlot, SlotPadding, (float)ContentScale.Y);

		ArrangedChildren.AddWidget(ChildVisibility, AllottedGeometry.MakeChild(ChildSlot.GetWidget(), FVector2f(XResult.Offset, YResult.Offset), FVector2f(XResult.Size, YResult.Size)));
	}
}

template <typename SlotType>
static void ArrangeSingleChild(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren, const SlotType& ChildSlot, const FVector2D& ContentScale)
{
	ArrangeSingleChild<SlotType>(EFlowDirection::LeftToRight, AllottedGeometry, ArrangedChildren, ChildSlot, ContentScale);
}
