// Copyright Quarn. All Rights Reserved.

#include "Components/PanelWidget.h"
#include "Components/ContentWidget.h"
#include "Components/PanelSlot.h"

static_assert(sizeof(TObjectPtr<UPanelSlot>) == sizeof(UPanelSlot*), "GetSlots views the slot array as raw pointers");

UPanelSlot::UPanelSlot(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

bool UPanelSlot::IsDesignTime() const
{
	return Parent ? Parent->IsDesignTime() : false;
}

void UPanelSlot::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	if (bReleaseChildren && Content)
	{
		Content->ReleaseSlateResources(bReleaseChildren);
	}
}

UPanelWidget::UPanelWidget(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, bCanHaveMultipleChildren(true)
{
}

void UPanelWidget::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	if (bReleaseChildren)
	{
		for (UPanelSlot* PanelSlot : Slots)
		{
			if (PanelSlot)
			{
				PanelSlot->ReleaseSlateResources(bReleaseChildren);
			}
		}
	}
}

int32 UPanelWidget::GetChildrenCount() const
{
	return Slots.Num();
}

UWidget* UPanelWidget::GetChildAt(int32 Index) const
{
	if (Slots.IsValidIndex(Index))
	{
		if (UPanelSlot* ChildSlot = Slots[Index])
		{
			return ChildSlot->Content;
		}
	}
	return nullptr;
}

TArray<UWidget*> UPanelWidget::GetAllChildren() const
{
	TArray<UWidget*> Result;
	Result.Reserve(Slots.Num());
	for (UPanelSlot* PanelSlot : Slots)
	{
		Result.Add(PanelSlot ? PanelSlot->Content.Get() : nullptr);
	}
	return Result;
}

int32 UPanelWidget::GetChildIndex(const UWidget* Content) const
{
	const int32 ChildCount = GetChildrenCount();
	for (int32 ChildIndex = 0; ChildIndex < ChildCount; ++ChildIndex)
	{
		if (GetChildAt(ChildIndex) == Content)
		{
			return ChildIndex;
		}
	}
	return INDEX_NONE;
}

bool UPanelWidget::HasChild(UWidget* Content) const
{
	if (!Content)
	{
		return false;
	}
	return Content->GetParent() == this;
}

bool UPanelWidget::RemoveChildAt(int32 Index)
{
	if (Index < 0 || Index >= Slots.Num())
	{
		return false;
	}

	UPanelSlot* PanelSlot = Slots[Index];
	if (PanelSlot->Content)
	{
		PanelSlot->Content->Slot = nullptr;
	}

	OnSlotRemoved(PanelSlot);

	// The child leaves Slate along with its slot.
	const bool bReleaseChildren = true;
	PanelSlot->ReleaseSlateResources(bReleaseChildren);

	PanelSlot->Parent = nullptr;
	PanelSlot->Content = nullptr;

	Slots.RemoveAt(Index);
	return true;
}

bool UPanelWidget::RemoveChild(UWidget* Content)
{
	const int32 ChildIndex = GetChildIndex(Content);
	if (ChildIndex != INDEX_NONE)
	{
		return RemoveChildAt(ChildIndex);
	}
	return false;
}

UPanelSlot* UPanelWidget::AddChild(UWidget* Content)
{
	if (Content == nullptr)
	{
		return nullptr;
	}
	if (!bCanHaveMultipleChildren && GetChildrenCount() > 0)
	{
		return nullptr;
	}

	// A widget is in one parent at a time: adding it moves it.
	Content->RemoveFromParent();

	EObjectFlags NewObjectFlags = RF_Transactional;
	if (HasAnyFlags(RF_Transient))
	{
		NewObjectFlags |= RF_Transient;
	}

	UPanelSlot* PanelSlot = NewObject<UPanelSlot>(this, GetSlotClass(), NAME_None, NewObjectFlags);
	PanelSlot->Content = Content;
	PanelSlot->Parent = this;
	Content->Slot = PanelSlot;

	Slots.Add(PanelSlot);
	OnSlotAdded(PanelSlot);
	return PanelSlot;
}

UPanelSlot* UPanelWidget::InsertChildAt(int32 Index, UWidget* Content)
{
	UPanelSlot* NewSlot = AddChild(Content);
	if (NewSlot)
	{
		// Reordering rebuilds the Slate panel, as the engine's editor path does.
		const int32 CurrentIndex = GetChildIndex(Content);
		Slots.RemoveAt(CurrentIndex);
		Slots.Insert(NewSlot, FMath::Clamp(Index, 0, Slots.Num()));
		ReleaseSlateResources(false);
	}
	return NewSlot;
}

bool UPanelWidget::HasAnyChildren() const
{
	return GetChildrenCount() > 0;
}

void UPanelWidget::ClearChildren()
{
	for (int32 ChildIndex = GetChildrenCount() - 1; ChildIndex >= 0; --ChildIndex)
	{
		RemoveChildAt(ChildIndex);
	}
}

bool UPanelWidget::CanAddMoreChildren() const
{
	return CanHaveMultipleChildren() || GetChildrenCount() == 0;
}

UClass* UPanelWidget::GetSlotClass() const
{
	return UPanelSlot::StaticClass();
}

UContentWidget::UContentWidget(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	bCanHaveMultipleChildren = false;
}

UPanelSlot* UContentWidget::GetContentSlot() const
{
	if (Slots.Num() > 0)
	{
		return Slots[0];
	}
	return nullptr;
}

UPanelSlot* UContentWidget::SetContent(UWidget* Content)
{
	ClearChildren();
	return AddChild(Content);
}

UWidget* UContentWidget::GetContent() const
{
	if (Slots.Num() > 0 && Slots[0])
	{
		return Slots[0]->Content;
	}
	return nullptr;
}
