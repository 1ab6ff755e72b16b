// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Layout/Margin.h"
#include "Styling/SlateColor.h"
#include "Templates/SubclassOf.h"
#include "UObject/ObjectMacros.h"
#include "UObject/WeakObjectPtr.h"
#include "UserWidget.generated.h"

class APlayerController;
class ULocalPlayer;
class UUserWidget;
class UWidgetTree;

DECLARE_MULTICAST_DELEGATE_OneParam(FNativeOnVisibilityChangedEvent, ESlateVisibility);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnVisibilityChangedEvent, ESlateVisibility, InVisibility);

/**
 * The base class of widgets made of other widgets: a widget tree whose root is what it shows.
 * Blueprint subclasses are laid out in the designer; native subclasses build their tree in code.
 */
UCLASS(Abstract, editinlinenew, BlueprintType, Blueprintable, meta=(DontUseGenericSpawnObject="True", DisableNativeTick), MinimalAPI)
class UUserWidget : public UWidget
{
	GENERATED_BODY()

public:
	UMG_API UUserWidget(const FObjectInitializer& ObjectInitializer);

	/** Runs once, never for the class default object: makes the widget tree and, with a player context, calls NativeOnInitialized. */
	UMG_API virtual bool Initialize();

	UMG_API virtual UWorld* GetWorld() const override;

	/** Adds the widget to the game's viewport (through the game viewport subsystem) in a slot filling it. */
	UFUNCTION(BlueprintCallable, BlueprintCosmetic, Category="User Interface|Viewport", meta=(AdvancedDisplay="ZOrder"))
	UMG_API void AddToViewport(int32 ZOrder = 0);

	/** Adds the widget to the screen of its owning player; false without one. */
	UFUNCTION(BlueprintCallable, BlueprintCosmetic, Category="User Interface|Viewport", meta=(AdvancedDisplay="ZOrder"))
	UMG_API bool AddToPlayerScreen(int32 ZOrder = 0);

	UFUNCTION(BlueprintCallable, BlueprintCosmetic, Category="User Interface|Viewport", meta=(DeprecatedFunction, DeprecationMessage="Use RemoveFromParent instead"))
	UMG_API void RemoveFromViewport();

	UMG_API virtual void SetVisibility(ESlateVisibility InVisibility) override;

	/** The root widget of the tree. */
	UMG_API UWidget* GetRootWidget() const;

	/** A widget of the tree by name. */
	UMG_API UWidget* GetWidgetFromName(const FName& Name) const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetColorAndOpacity(FLinearColor InColorAndOpacity);

	const FLinearColor& GetColorAndOpacity() const { return ColorAndOpacity; }

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetForegroundColor(FSlateColor InForegroundColor);

	const FSlateColor& GetForegroundColor() const { return ForegroundColor; }

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetPadding(FMargin InPadding);

	FMargin GetPadding() const { return Padding; }

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;
	UMG_API virtual void SetDesignerFlags(EWidgetDesignFlags NewFlags) override;

	/** Whether a local player owns the widget (set by CreateWidget when it knows one). */
	bool HasPlayerContext() const { return bHasPlayerContext; }

	/** The widget-creation rules of CreateWidget, by the kind of owner. */
	static UMG_API UUserWidget* CreateWidgetInstance(UWidget& OwningWidget, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName);
	static UMG_API UUserWidget* CreateWidgetInstance(UWidgetTree& OwningWidgetTree, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName);
	static UMG_API UUserWidget* CreateWidgetInstance(APlayerController& OwnerPC, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName);
	static UMG_API UUserWidget* CreateWidgetInstance(UGameInstance& GameInstance, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName);
	static UMG_API UUserWidget* CreateWidgetInstance(UWorld& World, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName);

public:
	/** Called after the widget is initialized (once per object). */
	UFUNCTION(BlueprintImplementableEvent, BlueprintCosmetic, Category="User Interface")
	UMG_API void OnInitialized();

	/** Called by both the game and the editor before Construct; IsDesignTime tells which. */
	UFUNCTION(BlueprintImplementableEvent, BlueprintCosmetic, Category="User Interface")
	UMG_API void PreConstruct(bool IsDesignTime);

	/** Called after the underlying Slate widget is constructed (possibly more than once per object). */
	UFUNCTION(BlueprintImplementableEvent, BlueprintCosmetic, Category="User Interface", meta=(Keywords="Begin Play"))
	UMG_API void Construct();

	/** Called when a widget is no longer referenced causing the Slate resource to be destroyed. */
	UFUNCTION(BlueprintImplementableEvent, BlueprintCosmetic, Category="User Interface", meta=(Keywords="End Play, Remove From Parent"))
	UMG_API void Destruct();

public:
	/** The color and opacity of this widget. Tints all child widgets. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Appearance")
	FLinearColor ColorAndOpacity;

	/** The foreground color of the widget, inherited by sub widgets. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Appearance")
	FSlateColor ForegroundColor;

	/** The padding area around the content. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Appearance")
	FMargin Padding;

	/** Called when the visibility changes. */
	UPROPERTY(BlueprintAssignable, Category="Appearance|Event")
	FOnVisibilityChangedEvent OnVisibilityChanged;

	/** The same moment, for native code. */
	FNativeOnVisibilityChangedEvent OnNativeVisibilityChanged;

	/** The widget tree contained inside this user widget initialized by the blueprint */
	UPROPERTY(Transient, DuplicateTransient, TextExportTransient)
	TObjectPtr<UWidgetTree> WidgetTree;

protected:
	UMG_API virtual TSharedRef<SWidget> RebuildWidget() override;
	UMG_API virtual void OnWidgetRebuilt() override;

	UMG_API virtual void NativeOnInitialized();
	UMG_API virtual void NativePreConstruct();
	UMG_API virtual void NativeConstruct();
	UMG_API virtual void NativeDestruct();

	/** Native classes have no designer data to set up. */
	virtual void InitializeNativeClassData() {}

private:
	void AddToScreen(ULocalPlayer* Player, int32 ZOrder);
	static UUserWidget* CreateInstanceInternal(UObject* Outer, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName, UWorld* World, ULocalPlayer* LocalPlayer);

	uint8 bInitialized : 1;
	uint8 bHasPlayerContext : 1;

	friend class SObjectWidget;
};

/**
 * Creates a user widget of a class, owned by a widget, a widget tree, a player controller, a game
 * instance or a world (any other owner does not compile). Abstract classes are refused.
 */
namespace UE::UMG::Private
{
	/** The class an owner argument points at, whether a raw pointer or a TObjectPtr. */
	template <typename T> struct TCreateWidgetOwner { using Type = std::remove_cv_t<std::remove_pointer_t<T>>; };
	template <typename T> struct TCreateWidgetOwner<TObjectPtr<T>> { using Type = std::remove_cv_t<T>; };
}

template <typename WidgetT = UUserWidget, typename OwnerType = UObject>
WidgetT* CreateWidget(OwnerType OwningObject, TSubclassOf<UUserWidget> UserWidgetClass = WidgetT::StaticClass(), FName WidgetName = NAME_None)
{
	static_assert(TIsDerivedFrom<WidgetT, UUserWidget>::IsDerived, "CreateWidget can only be used to create UserWidget instances. If creating a UWidget, use WidgetTree::ConstructWidget.");

	using FOwner = typename UE::UMG::Private::TCreateWidgetOwner<std::remove_cv_t<OwnerType>>::Type;
	static_assert(TIsDerivedFrom<FOwner, UWidget>::IsDerived
		|| TIsDerivedFrom<FOwner, UWidgetTree>::IsDerived
		|| TIsDerivedFrom<FOwner, APlayerController>::IsDerived
		|| TIsDerivedFrom<FOwner, UGameInstance>::IsDerived
		|| TIsDerivedFrom<FOwner, UWorld>::IsDerived, "The given OwningObject is not of a supported type for use with CreateWidget.");

	if (FOwner* const Owner = OwningObject)
	{
		return Cast<WidgetT>(UUserWidget::CreateWidgetInstance(*Owner, UserWidgetClass, WidgetName));
	}
	return nullptr;
}
