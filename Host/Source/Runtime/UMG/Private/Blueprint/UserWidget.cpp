// Copyright Quarn. All Rights Reserved.

#include "Blueprint/UserWidget.h"
#include "Blueprint/GameViewportSubsystem.h"
#include "Blueprint/WidgetTree.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Slate/SObjectWidget.h"
#include "UMGPrivate.h"
#include "Widgets/Layout/SSpacer.h"

UUserWidget::UUserWidget(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, ColorAndOpacity(FLinearColor::White)
	, ForegroundColor(FSlateColor::UseForeground())
	, Padding(0.0f)
	, bInitialized(false)
	, bHasPlayerContext(false)
{
	Visibility = ESlateVisibility::SelfHitTestInvisible;
}

bool UUserWidget::Initialize()
{
	// Once, and never for the class default object.
	if (bInitialized || HasAnyFlags(RF_ClassDefaultObject))
	{
		return false;
	}

	// A widget inside another user widget takes its designer flags and player context.
	if (UUserWidget* OwningUserWidget = GetTypedOuter<UUserWidget>())
	{
		SetDesignerFlags(OwningUserWidget->GetDesignerFlags());
		bHasPlayerContext = OwningUserWidget->bHasPlayerContext;
	}

	InitializeNativeClassData();

	if (WidgetTree == nullptr)
	{
		WidgetTree = NewObject<UWidgetTree>(this, TEXT("WidgetTree"), RF_Transient);
	}
	else
	{
		WidgetTree->SetFlags(RF_Transient);
	}

	// Without a player context (no local player owns the widget) OnInitialized does not run.
	if (!IsDesignTime() && bHasPlayerContext)
	{
		NativeOnInitialized();
	}

	bInitialized = true;
	return true;
}

UWorld* UUserWidget::GetWorld() const
{
	if (HasAnyFlags(RF_ClassDefaultObject))
	{
		return nullptr;
	}
	// A game instance, a world or a widget tree: follow the outers until one knows its world.
	UObject* Outer = GetOuter();
	while (Outer)
	{
		if (UWorld* World = Outer->GetWorld())
		{
			return World;
		}
		Outer = Outer->GetOuter();
	}
	return nullptr;
}

void UUserWidget::AddToViewport(int32 ZOrder)
{
	AddToScreen(nullptr, ZOrder);
}

bool UUserWidget::AddToPlayerScreen(int32 ZOrder)
{
	// The host has no local players, so no widget has an owning player.
	UE_LOG(LogUMG, Error, TEXT("AddToPlayerScreen Failed.  No Owning Player %s"), *GetPathName());
	return false;
}

void UUserWidget::AddToScreen(ULocalPlayer* Player, int32 ZOrder)
{
	if (UGameViewportSubsystem* Subsystem = UGameViewportSubsystem::Get(GetWorld()))
	{
		FGameViewportWidgetSlot ViewportSlot;
		if (bIsManagedByGameViewportSubsystem)
		{
			ViewportSlot = Subsystem->GetWidgetSlot(this);
		}
		ViewportSlot.ZOrder = ZOrder;
		if (Player)
		{
			Subsystem->AddWidgetForPlayer(this, Player, ViewportSlot);
		}
		else
		{
			Subsystem->AddWidget(this, ViewportSlot);
		}
	}
}

void UUserWidget::RemoveFromViewport()
{
	RemoveFromParent();
}

void UUserWidget::SetVisibility(ESlateVisibility InVisibility)
{
	const ESlateVisibility CurrentVisibility = GetVisibility();
	Super::SetVisibility(InVisibility);
	if (CurrentVisibility != InVisibility)
	{
		OnNativeVisibilityChanged.Broadcast(InVisibility);
		OnVisibilityChanged.Broadcast(InVisibility);
	}
}

UWidget* UUserWidget::GetRootWidget() const
{
	return WidgetTree ? WidgetTree->RootWidget.Get() : nullptr;
}

UWidget* UUserWidget::GetWidgetFromName(const FName& Name) const
{
	return WidgetTree ? WidgetTree->FindWidget(Name) : nullptr;
}

void UUserWidget::SetColorAndOpacity(FLinearColor InColorAndOpacity)
{
	ColorAndOpacity = InColorAndOpacity;
	if (const TSharedPtr<SObjectWidget> SafeGCWidget = MyGCWidget.Pin())
	{
		SafeGCWidget->SetColorAndOpacity(ColorAndOpacity);
	}
}

void UUserWidget::SetForegroundColor(FSlateColor InForegroundColor)
{
	ForegroundColor = InForegroundColor;
	if (const TSharedPtr<SObjectWidget> SafeGCWidget = MyGCWidget.Pin())
	{
		SafeGCWidget->SetForegroundColor(ForegroundColor);
	}
}

void UUserWidget::SetPadding(FMargin InPadding)
{
	Padding = InPadding;
	if (const TSharedPtr<SObjectWidget> SafeGCWidget = MyGCWidget.Pin())
	{
		SafeGCWidget->SetPadding(Padding);
	}
}

void UUserWidget::SynchronizeProperties()
{
	Super::SynchronizeProperties();
	if (const TSharedPtr<SObjectWidget> SafeGCWidget = MyGCWidget.Pin())
	{
		SafeGCWidget->SetColorAndOpacity(ColorAndOpacity);
		SafeGCWidget->SetForegroundColor(ForegroundColor);
		SafeGCWidget->SetPadding(Padding);
	}
}

void UUserWidget::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	if (UWidget* RootWidget = GetRootWidget())
	{
		RootWidget->ReleaseSlateResources(bReleaseChildren);
	}
}

void UUserWidget::SetDesignerFlags(EWidgetDesignFlags NewFlags)
{
	Super::SetDesignerFlags(NewFlags);
	if (WidgetTree)
	{
		WidgetTree->ForEachWidget([NewFlags](UWidget* Widget) { Widget->SetDesignerFlags(NewFlags); });
	}
}

TSharedRef<SWidget> UUserWidget::RebuildWidget()
{
	check(!HasAnyFlags(RF_ClassDefaultObject | RF_ArchetypeObject));

	if (!bInitialized)
	{
		Initialize();
	}

	// The root of the tree is what the user widget shows; without one, a spacer.
	if (WidgetTree && WidgetTree->RootWidget)
	{
		return WidgetTree->RootWidget->TakeWidget();
	}
	return SNew(SSpacer);
}

void UUserWidget::OnWidgetRebuilt()
{
	// Every time the Slate widget is built, outside the designer.
	if (!IsDesignTime())
	{
		NativePreConstruct();
		NativeConstruct();
	}
	else if (HasAnyDesignerFlags(EWidgetDesignFlags::ExecutePreConstruct))
	{
		NativePreConstruct();
	}
}

void UUserWidget::NativeOnInitialized()
{
	OnInitialized();
}

void UUserWidget::NativePreConstruct()
{
	PreConstruct(IsDesignTime());
}

void UUserWidget::NativeConstruct()
{
	Construct();
}

void UUserWidget::NativeDestruct()
{
	Destruct();
}

namespace
{
	bool ValidateUserWidgetClass(const UClass* UserWidgetClass)
	{
		if (UserWidgetClass == nullptr)
		{
			UE_LOG(LogUMG, Error, TEXT("CreateWidget called with a null class."));
			return false;
		}
		if (!UserWidgetClass->IsChildOf(UUserWidget::StaticClass()))
		{
			UE_LOG(LogUMG, Error, TEXT("CreateWidget can only be used on UUserWidget children. %s is not a UUserWidget."), *UserWidgetClass->GetPathName());
			return false;
		}
		if (UserWidgetClass->HasAnyClassFlags(CLASS_Abstract | CLASS_NewerVersionExists | CLASS_Deprecated))
		{
			UE_LOG(LogUMG, Error, TEXT("Abstract, Deprecated or Replaced classes are not allowed to be used to construct a user widget. %s is one of these."), *UserWidgetClass->GetPathName());
			return false;
		}
		return true;
	}
}

UUserWidget* UUserWidget::CreateWidgetInstance(UWidget& OwningWidget, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName)
{
	// A plain widget's outer is a widget tree, whose outer is the user widget that owns it.
	UUserWidget* ParentUserWidget = Cast<UUserWidget>(&OwningWidget);
	if (!ParentUserWidget && OwningWidget.GetOuter())
	{
		ParentUserWidget = Cast<UUserWidget>(OwningWidget.GetOuter()->GetOuter());
	}
	if (ensure(ParentUserWidget && ParentUserWidget->WidgetTree))
	{
		UUserWidget* NewWidget = CreateInstanceInternal(ParentUserWidget->WidgetTree, UserWidgetClass, WidgetName, ParentUserWidget->GetWorld(), nullptr);
		if (NewWidget && ParentUserWidget->bHasPlayerContext)
		{
			NewWidget->bHasPlayerContext = true;
		}
		return NewWidget;
	}
	return nullptr;
}

UUserWidget* UUserWidget::CreateWidgetInstance(UWidgetTree& OwningWidgetTree, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName)
{
	if (UUserWidget* OwningUserWidget = Cast<UUserWidget>(OwningWidgetTree.GetOuter()))
	{
		return CreateWidgetInstance(*OwningUserWidget, UserWidgetClass, WidgetName);
	}
	return CreateInstanceInternal(&OwningWidgetTree, UserWidgetClass, WidgetName, nullptr, nullptr);
}

UUserWidget* UUserWidget::CreateWidgetInstance(UGameInstance& GameInstance, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName)
{
	return CreateInstanceInternal(&GameInstance, UserWidgetClass, WidgetName, GameInstance.GetWorld(), nullptr);
}

UUserWidget* UUserWidget::CreateWidgetInstance(UWorld& World, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName)
{
	if (UGameInstance* GameInstance = World.GetGameInstance())
	{
		return CreateWidgetInstance(*GameInstance, UserWidgetClass, WidgetName);
	}
	return CreateInstanceInternal(&World, UserWidgetClass, WidgetName, &World, nullptr);
}

UUserWidget* UUserWidget::CreateInstanceInternal(UObject* Outer, TSubclassOf<UUserWidget> UserWidgetClass, FName InstanceName, UWorld* World, ULocalPlayer* LocalPlayer)
{
	if (!ValidateUserWidgetClass(UserWidgetClass))
	{
		return nullptr;
	}
	if (!Outer)
	{
		UE_LOG(LogUMG, Error, TEXT("Unable to create the widget %s, no outer provided."), *UserWidgetClass->GetName());
		return nullptr;
	}

	UUserWidget* NewWidget = NewObject<UUserWidget>(Outer, UserWidgetClass, InstanceName, RF_Transactional);
	if (LocalPlayer)
	{
		NewWidget->bHasPlayerContext = true;
	}
	NewWidget->Initialize();
	return NewWidget;
}
