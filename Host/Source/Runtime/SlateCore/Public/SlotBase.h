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

	struct FSlotArguments {};

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

	/** What a slot is declared with: the slot being made, until its panel takes it, and its content. */
	struct FSlotArguments : public FSlotBase::FSlotArguments
	{
	public:
		FSlotArguments(TUniquePtr<SlotType> InSlot)
			: Slot(MoveTemp(InSlot))
		{
			check(Slot.Get());
		}
		FSlotArguments(const FSlotArguments&) = delete;
		FSlotArguments& operator=(const FSlotArguments&) = delete;
		FSlotArguments(FSlotArguments&&) = default;
		FSlotArguments& operator=(FSlotArguments&&) = default;

		typename SlotType::FSlotArguments& operator[](const TSharedRef<SWidget>& InChildWidget)
		{
			ChildWidget = InChildWidget;
			return Me();
		}

		/** Points OutVarToInit at the slot being made; it stays valid once the panel holds it. */
		typename SlotType::FSlotArguments& Expose(SlotType*& OutVarToInit)
		{
			OutVarToInit = Slot.Get();
			return Me();
		}

		void AttachWidget(const TSharedRef<SWidget>& InChildWidget) { ChildWidget = InChildWidget; }
		const TSharedPtr<SWidget>& GetAttachedWidget() const { return ChildWidget; }
		SlotType* GetSlot() const { return Slot.Get(); }
		TUniquePtr<SlotType> StealSlot() { return MoveTemp(Slot); }

		typename SlotType::FSlotArguments& Me() { return static_cast<typename SlotType::FSlotArguments&>(*this); }

	private:
		TUniquePtr<SlotType> Slot;
		TSharedPtr<SWidget> ChildWidget;
	};

	void Construct(const FChildren& SlotOwner, FSlotArguments&& InArgs)
	{
		if (InArgs.GetAttachedWidget())
		{
			AttachWidget(InArgs.GetAttachedWidget().ToSharedRef());
		}
		SetOwner(SlotOwner);
	}
};

/** Opens a slot type's argument struct, derived from its parent slot's (SLATE_ARGUMENT declares members in it). */
#define SLATE_SLOT_BEGIN_ARGS(SlotType, SlotParentType) \
	public: \
	struct FSlotArguments : public SlotParentType::FSlotArguments \
	{ \
		using WidgetArgsType = FSlotArguments; \
		FSlotArguments(TUniquePtr<SlotType> InSlot) \
			: SlotParentType::FSlotArguments(MoveTemp(InSlot)) \
		{ \
		}

#define SLATE_SLOT_END_ARGS() \
	};
