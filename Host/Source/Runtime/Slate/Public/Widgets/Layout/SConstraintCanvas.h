// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Layout/Margin.h"
#include "Widgets/Layout/Anchors.h"
#include "Widgets/SPanel.h"

/**
 * Children placed by anchors, offsets and an alignment pivot, painted in z order. With point
 * anchors the offsets' Left/Top are the position and Right/Bottom the size; with stretched
 * anchors they are distances from the anchor lines.
 */
class SLATE_API SConstraintCanvas : public SPanel
{
public:
	class FSlot : public TSlotBase<FSlot>
	{
	public:
		FSlot()
			: Offset(FMargin(0.0f, 0.0f, 1.0f, 1.0f))
			, Anchors(FAnchors(0.0f, 0.0f))
			, Alignment(FVector2D(0.5, 0.5))
			, bAutoSize(false)
			, ZOrder(0.0f)
		{
		}

		SLATE_SLOT_BEGIN_ARGS(FSlot, TSlotBase<FSlot>)
			SLATE_ARGUMENT(TOptional<FMargin>, Offset)
			SLATE_ARGUMENT(TOptional<FAnchors>, Anchors)
			SLATE_ARGUMENT(TOptional<FVector2D>, Alignment)
			SLATE_ARGUMENT(TOptional<bool>, AutoSize)
			SLATE_ARGUMENT(TOptional<float>, ZOrder)
		SLATE_SLOT_END_ARGS()

		/** Joins the canvas's children, taking the values the declaration set. */
		SLATE_API void Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs);

		void SetOffset(const FMargin& InOffset)
		{
			Offset = InOffset;
			Invalidate(EInvalidateWidgetReason::Layout);
		}
		FMargin GetOffset() const { return Offset; }

		void SetAnchors(const FAnchors& InAnchors)
		{
			Anchors = InAnchors;
			Invalidate(EInvalidateWidgetReason::Layout);
		}
		FAnchors GetAnchors() const { return Anchors; }

		void SetAlignment(const FVector2D& InAlignment)
		{
			Alignment = InAlignment;
			Invalidate(EInvalidateWidgetReason::Layout);
		}
		FVector2D GetAlignment() const { return Alignment; }

		void SetAutoSize(bool InAutoSize)
		{
			bAutoSize = InAutoSize;
			Invalidate(EInvalidateWidgetReason::Layout);
		}
		bool GetAutoSize() const { return bAutoSize; }

		void SetZOrder(float InZOrder)
		{
			ZOrder = InZOrder;
			Invalidate(EInvalidateWidgetReason::Layout);
		}
		float GetZOrder() const { return ZOrder; }

	private:
		FMargin Offset;
		FAnchors Anchors;
		FVector2D Alignment;
		bool bAutoSize;
		float ZOrder;
	};

	SLATE_BEGIN_ARGS(SConstraintCanvas)
	{
		_Visibility = EVisibility::SelfHitTestInvisible;
	}
	SLATE_END_ARGS()

	SLATE_API SConstraintCanvas();

	SLATE_API void Construct(const FArguments& InArgs);

	static SLATE_API FSlot::FSlotArguments Slot();

	using FScopedWidgetSlotArguments = TPanelChildren<FSlot>::FScopedWidgetSlotArguments;
	/** Declares a slot; it joins the canvas at the end of the statement that declares it. */
	SLATE_API FScopedWidgetSlotArguments AddSlot();

	/** Removes the slot holding the widget; its index, or -1. */
	SLATE_API int32 RemoveSlot(const TSharedRef<SWidget>& SlotWidget);
	SLATE_API void ClearChildren();

	SLATE_API virtual FChildren* GetChildren() override;
	SLATE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

protected:
	SLATE_API virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const override;
	SLATE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

	/** Whether each arranged child starts a new layer above everything before it. */
	typedef TArray<bool, TInlineAllocator<16>> FArrangedChildLayers;
	void ArrangeLayeredChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren, FArrangedChildLayers& ArrangedChildLayers) const;

	TPanelChildren<FSlot> Children;
};
