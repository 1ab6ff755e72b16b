// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "SlotBase.h"

class SWidget;

/** The children of a widget, as its layout and paint passes walk them. */
class SLATECORE_API FChildren
{
public:
	FChildren(SWidget* InOwner) : Owner(InOwner) {}
	virtual ~FChildren() {}

	virtual int32 Num() const = 0;
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) = 0;
	virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const = 0;

	SWidget& GetOwner() const { return *Owner; }
	SWidget* GetOwnerPtr() const { return Owner; }

	template <typename Predicate>
	void ForEachWidget(Predicate&& Pred)
	{
		for (int32 Index = 0; Index < Num(); ++Index)
		{
			Pred(GetChildAt(Index).Get());
		}
	}

protected:
	SWidget* Owner;
};

/** No children at all. */
class SLATECORE_API FNoChildren : public FChildren
{
public:
	static SLATECORE_API FNoChildren NoChildrenInstance;

	FNoChildren() : FChildren(nullptr) {}
	explicit FNoChildren(SWidget* InOwner) : FChildren(InOwner) {}

	virtual int32 Num() const override { return 0; }
	SLATECORE_API virtual TSharedRef<SWidget> GetChildAt(int32 Index) override;
	SLATECORE_API virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const override;
};

/** One child with padding and alignment, the children of a compound widget. */
template <EInvalidateWidgetReason PaddingInvalidationReason = EInvalidateWidgetReason::Layout>
class TSingleWidgetChildrenWithBasicLayoutSlot : public FChildren, public TBasicLayoutWidgetSlot<TSingleWidgetChildrenWithBasicLayoutSlot<PaddingInvalidationReason>>
{
public:
	explicit TSingleWidgetChildrenWithBasicLayoutSlot(SWidget* InOwner)
		: FChildren(InOwner)
	{
		this->SetOwner(*this);
	}

	TSingleWidgetChildrenWithBasicLayoutSlot(SWidget* InOwner, EHorizontalAlignment InHAlign, EVerticalAlignment InVAlign)
		: FChildren(InOwner)
		, TBasicLayoutWidgetSlot<TSingleWidgetChildrenWithBasicLayoutSlot<PaddingInvalidationReason>>(InHAlign, InVAlign)
	{
		this->SetOwner(*this);
	}

	virtual int32 Num() const override { return 1; }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override
	{
		check(Index == 0);
		return this->GetWidget();
	}
	virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const override
	{
		check(Index == 0);
		return this->GetWidget();
	}
};

using FCompoundWidgetOneChildSlot = TSingleWidgetChildrenWithBasicLayoutSlot<EInvalidateWidgetReason::None>;

/** The slots of a panel, owned by it and kept in order. */
template <typename SlotType>
class TPanelChildren : public FChildren
{
public:
	explicit TPanelChildren(SWidget* InOwner) : FChildren(InOwner) {}

	virtual int32 Num() const override { return Children.Num(); }
	virtual TSharedRef<SWidget> GetChildAt(int32 Index) override { return Children[Index]->GetWidget(); }
	virtual TSharedRef<const SWidget> GetChildAt(int32 Index) const override { return Children[Index]->GetWidget(); }

	/** Appends a new slot. */
	template <typename... ArgTypes>
	SlotType& AddNewSlot(ArgTypes&&... Args)
	{
		return InsertNewSlot(Children.Num(), Forward<ArgTypes>(Args)...);
	}

	/** Inserts a new slot before Index (at the end when Index is past it). */
	template <typename... ArgTypes>
	SlotType& InsertNewSlot(int32 Index, ArgTypes&&... Args)
	{
		return InsertNewSlotOfType<SlotType>(Index, Forward<ArgTypes>(Args)...);
	}

	/** Inserts a new slot of a type derived from SlotType, as a panel's own slot type. */
	template <typename NewSlotType, typename... ArgTypes>
	NewSlotType& InsertNewSlotOfType(int32 Index, ArgTypes&&... Args)
	{
		NewSlotType* NewSlot = new NewSlotType(Forward<ArgTypes>(Args)...);
		NewSlot->SetOwner(*this);
		Children.Insert(TUniquePtr<SlotType>(NewSlot), (Index < 0 || Index > Children.Num()) ? Children.Num() : Index);
		return *NewSlot;
	}

	/** Takes the slot out of its arguments, then builds it from them; its index. */
	int32 AddSlot(typename SlotType::FSlotArguments&& SlotArgument)
	{
		TUniquePtr<SlotType> NewSlot = SlotArgument.StealSlot();
		check(NewSlot.Get());
		const int32 Result = Children.Add(MoveTemp(NewSlot));
		Children[Result]->Construct(*this, MoveTemp(SlotArgument));
		return Result;
	}

	void InsertSlot(typename SlotType::FSlotArguments&& SlotArgument, int32 Index)
	{
		TUniquePtr<SlotType> NewSlot = SlotArgument.StealSlot();
		check(NewSlot.Get());
		Children.Insert(MoveTemp(NewSlot), Index);
		Children[Index]->Construct(*this, MoveTemp(SlotArgument));
	}

	void RemoveAt(int32 Index) { Children.RemoveAt(Index); }

	/** Removes the slot holding the widget; its index, or INDEX_NONE. */
	int32 Remove(const TSharedRef<SWidget>& SlotWidget)
	{
		for (int32 Index = 0; Index < Children.Num(); ++Index)
		{
			if (Children[Index]->GetWidget() == SlotWidget)
			{
				Children.RemoveAt(Index);
				return Index;
			}
		}
		return INDEX_NONE;
	}

	void Empty() { Children.Empty(); }
	bool IsValidIndex(int32 Index) const { return Children.IsValidIndex(Index); }

	SlotType& operator[](int32 Index) { return *Children[Index]; }
	const SlotType& operator[](int32 Index) const { return *Children[Index]; }

	/** A slot being declared; it joins the children when this goes out of scope (at the end of the statement). */
	struct FScopedWidgetSlotArguments final : public SlotType::FSlotArguments
	{
	public:
		FScopedWidgetSlotArguments(TUniquePtr<SlotType> InSlot, TPanelChildren<SlotType>& InChildren, int32 InIndex)
			: SlotType::FSlotArguments(MoveTemp(InSlot))
			, Children(InChildren)
			, Index(InIndex)
		{
		}
		FScopedWidgetSlotArguments(TUniquePtr<SlotType> InSlot, TPanelChildren<SlotType>& InChildren, int32 InIndex, TFunction<void(const SlotType*, int32)> OnAdded)
			: SlotType::FSlotArguments(MoveTemp(InSlot))
			, Children(InChildren)
			, Index(InIndex)
			, Added(MoveTemp(OnAdded))
		{
		}
		FScopedWidgetSlotArguments(const FScopedWidgetSlotArguments&) = delete;
		FScopedWidgetSlotArguments& operator=(const FScopedWidgetSlotArguments&) = delete;
		FScopedWidgetSlotArguments(FScopedWidgetSlotArguments&&) = default;

		~FScopedWidgetSlotArguments()
		{
			// A moved-from argument holds no slot.
			if (const SlotType* SlotPtr = this->GetSlot())
			{
				if (Index == INDEX_NONE)
				{
					Index = Children.AddSlot(MoveTemp(*this));
				}
				else
				{
					Children.InsertSlot(MoveTemp(*this), Index);
				}
				if (Added)
				{
					Added(SlotPtr, Index);
				}
			}
		}

	private:
		TPanelChildren<SlotType>& Children;
		int32 Index;
		TFunction<void(const SlotType*, int32)> Added;
	};

private:
	TArray<TUniquePtr<SlotType>> Children;
};
