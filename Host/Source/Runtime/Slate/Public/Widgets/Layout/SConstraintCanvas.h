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

		FSlot& SetOffset(const FMargin& InOffset)
		{
			Offset = InOffset;
			Invalidate(EInvalidateWidgetReason::Layout);
			return *this;
		}
		FMargin GetOffset() const { return Offset; }

		FSlot& SetAnchors(const FAnchors& InAnchors)
		{
			Anchors = InAnchors;
			Invalidate(EInvalidateWidgetReason::Layout);
			return *this;
		}
		FAnchors GetAnchors() const { return Anchors; }

		FSlot& SetAlignment(const FVector2D& InAlignment)
		{
			Alignment = InAlignment;
			Invalidate(EInvalidateWidgetReason::Layout);
			return *this;
		}
		FVector2D GetAlignment() const { return Alignment; }

		FSlot& SetAutoSize(bool InAutoSize)
		{
			bAutoSize = InAutoSize;
			Invalidate(EInvalidateWidgetReason::Layout);
			return *this;
		}
		bool GetAutoSize() const { return bAutoSize; }

		FSlot& SetZOrder(float InZOrder)
		{
			ZOrder = InZOrder;
			Invalidate(EInvalidateWidgetReason::Layout);
			return *this;
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

	/** Appends a slot and returns it for its setters. */
	SLATE_API FSlot& AddSlot();

	/** Removes the slot holding the widget; its index, or -1. */
	SLATE_API int32 RemoveSlot(const TSharedRef<SWidget>& SlotWidget);
	SLATE_API void ClearChildren();

	int32 NumSlots() const { return Children.Num(); }
	FSlot& GetSlot(int32 Index) { return Children[Index]; }

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
