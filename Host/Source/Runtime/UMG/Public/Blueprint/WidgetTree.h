// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/Widget.h"
#include "Templates/SubclassOf.h"
#include "UObject/ObjectMacros.h"
#include "WidgetTree.generated.h"

class UPanelWidget;

/** The widget tree manages the collection of widgets in a blueprint widget. */
UCLASS(MinimalAPI)
class UWidgetTree : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	UMG_API virtual UWorld* GetWorld() const override;

	/** Finds the widget in the tree by name. */
	UMG_API UWidget* FindWidget(const FName& Name) const;

	/** Finds a widget in the tree using the native widget as the key. */
	UMG_API UWidget* FindWidget(TSharedRef<SWidget> InWidget) const;

	/** Finds the widget in the tree by name and casts the return to the desired type. */
	template <typename WidgetT>
	WidgetT* FindWidget(const FName& Name) const
	{
		return Cast<WidgetT>(FindWidget(Name));
	}

	/** Removes the widget from the hierarchy and all sub widgets. */
	UMG_API bool RemoveWidget(UWidget* Widget);

	/** Gets the parent widget of a given widget, and potentially the child index. */
	static UMG_API UPanelWidget* FindWidgetParent(UWidget* Widget, int32& OutChildIndex);

	/** Gathers all the widgets in the tree recursively. */
	UMG_API void GetAllWidgets(TArray<UWidget*>& Widgets) const;

	/** Gathers descendant child widgets of a parent widget. */
	static UMG_API void GetChildWidgets(UWidget* Parent, TArray<UWidget*>& Widgets);

	/** Performs the predicate on every widget in the tree: the root first, then each one's children in order. */
	UMG_API void ForEachWidget(TFunctionRef<void(UWidget*)> Predicate) const;

	/** Performs the predicate on every widget in the tree, and the widgets of user widgets in it. */
	UMG_API void ForEachWidgetAndDescendants(TFunctionRef<void(UWidget*)> Predicate) const;

	/** Performs the predicate on every descendant of a widget (not the widget itself). */
	static UMG_API void ForWidgetAndChildren(UWidget* Widget, TFunctionRef<void(UWidget*)> Predicate);

	/** Constructs the widget, and adds it to the tree: a user widget through CreateWidget, any other with the tree as its outer. */
	template <typename WidgetT>
	[[nodiscard]] WidgetT* ConstructWidget(TSubclassOf<WidgetT> WidgetClass = WidgetT::StaticClass(), FName WidgetName = NAME_None)
	{
		static_assert(TIsDerivedFrom<WidgetT, UWidget>::IsDerived, "WidgetTree::ConstructWidget can only construct UWidget objects.");
		if (WidgetClass != nullptr)
		{
			if constexpr (TIsDerivedFrom<WidgetT, UUserWidget>::IsDerived)
			{
				return CreateWidget<WidgetT>(this, *WidgetClass, WidgetName);
			}
			else
			{
				return NewObject<WidgetT>(this, WidgetClass, WidgetName, RF_Transactional);
			}
		}
		return nullptr;
	}

public:
	/** The root widget of the tree */
	UPROPERTY(Instanced)
	TObjectPtr<UWidget> RootWidget;
};
