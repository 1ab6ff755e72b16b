// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Layout/Children.h"
#include "Widgets/SPanel.h"

/** Children stacked on top of each other, each over the whole area, in z order. */
class SLATECORE_API SOverlay : public SPanel
{
public:
	/** A slot of an overlay: padding, alignment and a z order; higher z orders paint on top. */
	class FOverlaySlot : public TBasicLayoutWidgetSlot<FOverlaySlot>
	{
	public:
		FOverlaySlot(int32 InZOrder) : TBasicLayoutWidgetSlot<FOverlaySlot>(HAlign_Fill, VAlign_Fill), ZOrder(InZOrder) {}

		SLATE_SLOT_BEGIN_ARGS(FOverlaySlot, TBasicLayoutWidgetSlot<FOverlaySlot>)
			SLATE_ARGUMENT(TOptional<int32>, ZOrder)
		SLATE_SLOT_END_ARGS()

		SLATECORE_API void Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs);

		int32 GetZOrder() const { return ZOrder; }

	private:
		friend class SOverlay;
		int32 ZOrder;
	};

	SLATE_BEGIN_ARGS(SOverlay)
	{
	}
	SLATE_END_ARGS()

	SLATECORE_API SOverlay();

	void Construct(const FArguments& InArgs) {}

	using FScopedWidgetSlotArguments = TPanelChildren<FOverlaySlot>::FScopedWidgetSlotArguments;
	/**
	 * Declares a slot; it joins the overlay at the end of the statement that declares it. With a z
	 * order, the slot goes before the first slot of a higher z order (after every slot of the same
	 * one); INDEX_NONE appends it with a z order one above the last.
	 */
	SLATECORE_API FScopedWidgetSlotArguments AddSlot(int32 ZOrder = INDEX_NONE);

	/** Removes the slot holding the widget; whether there was one. */
	SLATECORE_API bool RemoveSlot(TSharedRef<SWidget> Widget);
	SLATECORE_API void ClearChildren();
	int32 GetNumWidgets() const { return Children.Num(); }

	SLATECORE_API virtual FChildren* GetChildren() override;
	SLATECORE_API virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const override;

protected:
	SLATECORE_API virtual void OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const override;
	SLATECORE_API virtual FVector2D ComputeDesiredSize(float LayoutScaleMultiplier) const override;

	TPanelChildren<FOverlaySlot> Children;
};
