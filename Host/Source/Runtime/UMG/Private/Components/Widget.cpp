// Copyright Quarn. All Rights Reserved.

#include "Components/Widget.h"
#include "Blueprint/GameViewportSubsystem.h"
#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTree.h"
#include "Components/PanelSlot.h"
#include "Components/PanelWidget.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Slate/SObjectWidget.h"
#include "UMGPrivate.h"
#include "Widgets/Layout/SSpacer.h"
#include "Widgets/SNullWidget.h"

UWidget::UWidget(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	bIsEnabled = true;
	bIsVariable = true;
	Visibility = ESlateVisibility::Visible;
	RenderOpacity = 1.0f;
	bIsManagedByGameViewportSubsystem = false;
	DesignerFlags = EWidgetDesignFlags::None;
}

TSharedRef<SWidget> UWidget::TakeWidget()
{
	return TakeWidget_Private();
}

TSharedRef<SWidget> UWidget::TakeWidget_Private()
{
	bool bNewlyCreated = false;
	TSharedPtr<SWidget> PublicWidget;

	// The first call (or the first after the Slate widget was released) builds it.
	if (!MyWidget.IsValid())
	{
		PublicWidget = RebuildWidget();
		ensureMsgf(PublicWidget.Get() != &SNullWidget::NullWidget.Get(), TEXT("Don't return SNullWidget from RebuildWidget, because we mutate the state of the return.  Return a SSpacer if you need to return a no-op widget."));
		MyWidget = PublicWidget;
		bNewlyCreated = true;
	}
	else
	{
		PublicWidget = MyWidget.Pin();
	}

	// A user widget shows through an SObjectWidget, which keeps it alive while Slate holds it.
	if (UUserWidget* UserWidget = Cast<UUserWidget>(this))
	{
		TSharedPtr<SObjectWidget> SafeGCWidget = MyGCWidget.Pin();
		if (SafeGCWidget.IsValid())
		{
			ensure(bNewlyCreated == false);
			PublicWidget = SafeGCWidget;
		}
		else
		{
			SafeGCWidget = SNew(SObjectWidget, UserWidget)[PublicWidget.ToSharedRef()];
			MyGCWidget = SafeGCWidget;
			PublicWidget = SafeGCWidget;
		}
	}

	if (bNewlyCreated)
	{
		SynchronizeProperties();
		OnWidgetRebuilt();
	}

	return PublicWidget.ToSharedRef();
}

TSharedPtr<SWidget> UWidget::GetCachedWidget() const
{
	if (MyGCWidget.IsValid())
	{
		return MyGCWidget.Pin();
	}
	return MyWidget.Pin();
}

bool UWidget::IsConstructed() const
{
	return GetCachedWidget().IsValid();
}

const FGeometry& UWidget::GetCachedGeometry() const
{
	return GetTickSpaceGeometry();
}

const FGeometry& UWidget::GetTickSpaceGeometry() const
{
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		return SafeWidget->GetTickSpaceGeometry();
	}
	return SNullWidget::NullWidget->GetTickSpaceGeometry();
}

const FGeometry& UWidget::GetPaintSpaceGeometry() const
{
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		return SafeWidget->GetPaintSpaceGeometry();
	}
	return SNullWidget::NullWidget->GetPaintSpaceGeometry();
}

void UWidget::SetVisibility(ESlateVisibility InVisibility)
{
	Visibility = InVisibility;
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		SafeWidget->SetVisibility(ConvertSerializedVisibilityToRuntime(InVisibility));
	}
}

ESlateVisibility UWidget::GetVisibility() const
{
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		return ConvertRuntimeToSerializedVisibility(SafeWidget->GetVisibility());
	}
	return Visibility;
}

bool UWidget::IsVisible() const
{
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		return SafeWidget->GetVisibility().IsVisible();
	}
	return false;
}

void UWidget::SetToolTipText(const FText& InToolTipText)
{
	ToolTipText = InToolTipText;
	if (ToolTipWidget != nullptr)
	{
		// A tooltip widget takes priority over the text.
		return;
	}
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		SafeWidget->SetToolTipText(ToolTipText);
	}
}

FText UWidget::GetToolTipText() const
{
	return ToolTipText;
}

void UWidget::SetToolTip(UWidget* InToolTipWidget)
{
	ToolTipWidget = InToolTipWidget;
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		if (ToolTipWidget)
		{
			SafeWidget->SetToolTipText(ToolTipText);
		}
		else
		{
			SafeWidget->SetToolTip(nullptr);
		}
	}
}

UWidget* UWidget::GetToolTip() const
{
	return ToolTipWidget;
}

void UWidget::SetIsEnabled(bool bInIsEnabled)
{
	bIsEnabled = bInIsEnabled;
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		SafeWidget->SetEnabled(bInIsEnabled);
	}
}

bool UWidget::GetIsEnabled() const
{
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		return SafeWidget->IsEnabled();
	}
	return bIsEnabled != 0;
}

void UWidget::SetRenderOpacity(float InOpacity)
{
	RenderOpacity = InOpacity;
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		SafeWidget->SetRenderOpacity(InOpacity);
	}
}

float UWidget::GetRenderOpacity() const
{
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		return SafeWidget->GetRenderOpacity();
	}
	return RenderOpacity;
}

UPanelWidget* UWidget::GetParent() const
{
	return Slot ? Slot->Parent : nullptr;
}

void UWidget::RemoveFromParent()
{
	if (HasAnyFlags(RF_BeginDestroyed))
	{
		return;
	}
	if (bIsManagedByGameViewportSubsystem)
	{
		if (UGameViewportSubsystem* Subsystem = UGameViewportSubsystem::Get(GetWorld()))
		{
			Subsystem->RemoveWidget(this);
		}
	}
	else if (UPanelWidget* CurrentParent = GetParent())
	{
		CurrentParent->RemoveChild(this);
	}
	else
	{
		const TSharedPtr<SWidget> SafeWidget = GetCachedWidget();
		if (SafeWidget.IsValid() && SafeWidget->GetParentWidget().IsValid() && !IsDesignTime())
		{
			UE_LOG(LogUMG, Display, TEXT("UWidget::RemoveFromParent() called on '%s' which has no UMG parent (if it was added directly to a native Slate widget via TakeWidget() then it must be removed explicitly rather than via RemoveFromParent())"), *GetPathName());
		}
	}
}

FVector2D UWidget::GetDesiredSize() const
{
	if (const TSharedPtr<SWidget> SafeWidget = GetCachedWidget())
	{
		return SafeWidget->GetDesiredSize();
	}
	return FVector2D(0.0, 0.0);
}

bool UWidget::IsInViewport() const
{
	if (bIsManagedByGameViewportSubsystem)
	{
		if (UGameViewportSubsystem* Subsystem = UGameViewportSubsystem::Get(GetWorld()))
		{
			return Subsystem->IsWidgetAdded(this);
		}
	}
	return false;
}

UWorld* UWidget::GetWorld() const
{
	// Widgets get their world from the user widget that owns their tree.
	if (UWidgetTree* OwningTree = Cast<UWidgetTree>(GetOuter()))
	{
		return OwningTree->GetWorld();
	}
	return Super::GetWorld();
}

UGameInstance* UWidget::GetGameInstance() const
{
	if (UWorld* World = GetWorld())
	{
		return World->GetGameInstance();
	}
	return nullptr;
}

void UWidget::SynchronizeProperties()
{
	const TSharedPtr<SWidget> SafeWidget = GetCachedWidget();
	if (!SafeWidget.IsValid())
	{
		return;
	}
	SafeWidget->SetEnabled(bIsEnabled != 0);
	SafeWidget->SetVisibility(ConvertSerializedVisibilityToRuntime(Visibility));
	SafeWidget->SetRenderOpacity(RenderOpacity);
	// The stored tooltip text reaches the Slate widget only when there is some.
	if (ToolTipWidget == nullptr && !ToolTipText.IsEmpty())
	{
		SafeWidget->SetToolTipText(ToolTipText);
	}
}

void UWidget::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	MyWidget.Reset();
	MyGCWidget.Reset();
}

void UWidget::BeginDestroy()
{
	// A widget the viewport shows goes from the viewport first.
	if (bIsManagedByGameViewportSubsystem)
	{
		if (UGameViewportSubsystem* Subsystem = UGameViewportSubsystem::Get())
		{
			Subsystem->RemoveWidget(this);
		}
	}
	Super::BeginDestroy();
}

void UWidget::SetDesignerFlags(EWidgetDesignFlags NewFlags)
{
	DesignerFlags = NewFlags;
}

TSharedRef<SWidget> UWidget::RebuildWidget()
{
	ensureMsgf(false, TEXT("You must implement RebuildWidget() in your child class"));
	return SNew(SSpacer);
}

void UWidget::OnWidgetRebuilt()
{
}

EVisibility UWidget::ConvertSerializedVisibilityToRuntime(ESlateVisibility Input)
{
	switch (Input)
	{
	case ESlateVisibility::Visible:
		return EVisibility::Visible;
	case ESlateVisibility::Collapsed:
		return EVisibility::Collapsed;
	case ESlateVisibility::Hidden:
		return EVisibility::Hidden;
	case ESlateVisibility::HitTestInvisible:
		return EVisibility::HitTestInvisible;
	case ESlateVisibility::SelfHitTestInvisible:
		return EVisibility::SelfHitTestInvisible;
	default:
		check(false);
		return EVisibility::Visible;
	}
}

ESlateVisibility UWidget::ConvertRuntimeToSerializedVisibility(const EVisibility& Input)
{
	if (Input == EVisibility::Visible)
	{
		return ESlateVisibility::Visible;
	}
	if (Input == EVisibility::Collapsed)
	{
		return ESlateVisibility::Collapsed;
	}
	if (Input == EVisibility::Hidden)
	{
		return ESlateVisibility::Hidden;
	}
	if (Input == EVisibility::HitTestInvisible)
	{
		return ESlateVisibility::HitTestInvisible;
	}
	if (Input == EVisibility::SelfHitTestInvisible)
	{
		return ESlateVisibility::SelfHitTestInvisible;
	}
	check(false);
	return ESlateVisibility::Visible;
}
