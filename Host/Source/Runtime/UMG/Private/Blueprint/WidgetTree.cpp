// Copyright Quarn. All Rights Reserved.

#include "Blueprint/WidgetTree.h"
#include "Components/PanelWidget.h"

UWidgetTree::UWidgetTree(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

UWorld* UWidgetTree::GetWorld() const
{
	// The tree belongs to a user widget, which knows its world.
	if (UUserWidget* OwningWidget = Cast<UUserWidget>(GetOuter()))
	{
		return OwningWidget->GetWorld();
	}
	return nullptr;
}

UWidget* UWidgetTree::FindWidget(const FName& Name) const
{
	UWidget* FoundWidget = nullptr;
	ForEachWidget([&FoundWidget, &Name](UWidget* Widget)
		{
			if (Widget->GetFName() == Name)
			{
				FoundWidget = Widget;
			}
		});
	return FoundWidget;
}

UWidget* UWidgetTree::FindWidget(TSharedRef<SWidget> InWidget) const
{
	UWidget* FoundWidget = nullptr;
	ForEachWidget([&FoundWidget, &InWidget](UWidget* Widget)
		{
			if (Widget->GetCachedWidget() == InWidget)
			{
				FoundWidget = Widget;
			}
		});
	return FoundWidget;
}

UPanelWidget* UWidgetTree::FindWidgetParent(UWidget* Widget, int32& OutChildIndex)
{
	UPanelWidget* Parent = Widget ? Widget->GetParent() : nullptr;
	OutChildIndex = Parent ? Parent->GetChildIndex(Widget) : INDEX_NONE;
	return Parent;
}

bool UWidgetTree::RemoveWidget(UWidget* InRemovedWidget)
{
	if (InRemovedWidget == nullptr)
	{
		return false;
	}
	bool bRemoved = false;
	if (UPanelWidget* InRemovedWidgetParent = InRemovedWidget->GetParent())
	{
		bRemoved = InRemovedWidgetParent->RemoveChild(InRemovedWidget);
	}
	else if (InRemovedWidget == RootWidget)
	{
		// The root has no parent panel.
		RootWidget = nullptr;
		bRemoved = true;
	}
	return bRemoved;
}

void UWidgetTree::GetAllWidgets(TArray<UWidget*>& Widgets) const
{
	ForEachWidget([&Widgets](UWidget* Widget) { Widgets.Add(Widget); });
}

void UWidgetTree::GetChildWidgets(UWidget* Parent, TArray<UWidget*>& Widgets)
{
	ForWidgetAndChildren(Parent, [&Widgets](UWidget* Widget) { Widgets.Add(Widget); });
}

void UWidgetTree::ForEachWidget(TFunctionRef<void(UWidget*)> Predicate) const
{
	if (RootWidget)
	{
		Predicate(RootWidget);
		ForWidgetAndChildren(RootWidget, Predicate);
	}
}

void UWidgetTree::ForEachWidgetAndDescendants(TFunctionRef<void(UWidget*)> Predicate) const
{
	ForEachWidget([&Predicate](UWidget* Widget)
		{
			Predicate(Widget);
			if (UUserWidget* UserWidgetChild = Cast<UUserWidget>(Widget))
			{
				if (UserWidgetChild->WidgetTree)
				{
					UserWidgetChild->WidgetTree->ForEachWidgetAndDescendants(Predicate);
				}
			}
		});
}

void UWidgetTree::ForWidgetAndChildren(UWidget* Widget, TFunctionRef<void(UWidget*)> Predicate)
{
	if (!Widget)
	{
		return;
	}
	if (UPanelWidget* PanelParent = Cast<UPanelWidget>(Widget))
	{
		for (int32 ChildIndex = 0; ChildIndex < PanelParent->GetChildrenCount(); ++ChildIndex)
		{
			if (UWidget* ChildWidget = PanelParent->GetChildAt(ChildIndex))
			{
				Predicate(ChildWidget);
				ForWidgetAndChildren(ChildWidget, Predicate);
			}
		}
	}
}
