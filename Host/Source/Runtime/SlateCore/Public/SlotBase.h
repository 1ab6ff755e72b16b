// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Widgets/InvalidateWidgetReason.h"

class FChildren;
class SWidget;

/** A place in a parent that holds one child widget. */
class SLATECORE_API FSlotBase
{
public:
	SLATECORE_API FSlotBase();
	SLATECORE_API FSlotBase(const TSharedRef<SWidget>& InWidget);
	FSlotBase(const FSlotBase&) = delete;
	FSlotBase& operator=(const FSlotBase&) = delete;
	SLATECORE_API virtual ~FSlotBase();

	const FChildren* GetOwner() const { return Owner; }
	SLATECORE_API SWidget* GetOwnerWidget() const;
	/** Makes this slot part of a parent's children; the content learns its parent. */
	SLATECORE_API void SetOwner(const FChildren& InChildren);

	/** Puts a widget in the slot, releasing the one it held. */
	SLATECORE_API void AttachWidget(const TSharedRef<SWidget>& InWidget);
	const TSharedRef<SWidget>& GetWidget() const { return Widget; }
	/** Takes the widget out, leaving the null widget. */
	SLATECORE_API const TSharedPtr<SWidget> DetachWidget();

	SLATECORE_API void Invalidate(EInvalidateWidgetReason InvalidateReason);

private:
	void DetachParentFromContent();
	void AfterContentOrOwnerAssigned();

	const FChildren* Owner;
	TSharedRef<SWidget> Widget;
};

/** A slot whose setters chain, with operator[] to give it content. */
template <typename SlotType>
class TSlotBase : public FSlotBase
{
public:
	TSlotBase() = default;
	TSlotBase(const TSharedRef<SWidget>& InWidget) : FSlotBase(InWidget) {}

	SlotType& operator[](const TSharedRef<SWidget>& InChildWidget)
	{
		this->AttachWidget(InChildWidget);
		return static_cast<SlotType&>(*this);
	}

	SlotType& Expose(SlotType*& OutVarToInit)
	{
		OutVarToInit = static_cast<SlotType*>(this);
		return static_cast<SlotType&>(*this);
	}
};
