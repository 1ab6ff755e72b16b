// Copyright Quarn. All Rights Reserved.

#include "Blueprint/GameViewportSubsystem.h"
#include "Components/PanelWidget.h"
#include "Components/Widget.h"
#include "Engine/Engine.h"
#include "Engine/GameViewportClient.h"
#include "Engine/World.h"
#include "UObject/Stack.h"

namespace UE::UMG::Private
{
	/** A slot of zero size that is not stretched takes its widget's desired size. */
	TPair<FMargin, bool> CalculateOffsetArgument(const FGameViewportWidgetSlot& Slot)
	{
		const FVector2D FinalSize = FVector2D(Slot.Offsets.Right, Slot.Offsets.Bottom);
		const bool bUseAutoSize = FinalSize.IsZero() && !Slot.Anchors.IsStretchedVertical() && !Slot.Anchors.IsStretchedHorizontal();
		return TPair<FMargin, bool>(Slot.Offsets, bUseAutoSize);
	}
}

UGameViewportSubsystem* UGameViewportSubsystem::Get()
{
	return GEngine ? GEngine->GetEngineSubsystem<UGameViewportSubsystem>() : nullptr;
}

UGameViewportSubsystem* UGameViewportSubsystem::Get(UWorld* World)
{
	return Get();
}

void UGameViewportSubsystem::Deinitialize()
{
	// Everything still shown leaves the viewport.
	TArray<TPair<UWidget*, TWeakPtr<SConstraintCanvas>>> Remaining;
	for (auto& Entry : ViewportWidgets)
	{
		if (UWidget* Widget = Entry.Key.Get())
		{
			Remaining.Emplace(Widget, Entry.Value.FullScreenWidget);
		}
	}
	ViewportWidgets.Empty();
	for (const TPair<UWidget*, TWeakPtr<SConstraintCanvas>>& Entry : Remaining)
	{
		if (Entry.Key->bIsManagedByGameViewportSubsystem)
		{
			RemoveWidgetInternal(Entry.Key, Entry.Value);
		}
	}
	Super::Deinitialize();
}

bool UGameViewportSubsystem::IsWidgetAdded(const UWidget* Widget) const
{
	if (!Widget)
	{
		FFrame::KismetExecutionMessage(TEXT("The Widget is invalid."), ELogVerbosity::Warning);
		return false;
	}
	if (Widget->bIsManagedByGameViewportSubsystem)
	{
		if (const FSlotInfo* FoundSlot = ViewportWidgets.Find(TWeakObjectPtr<UWidget>(const_cast<UWidget*>(Widget))))
		{
			return FoundSlot->FullScreenWidget.IsValid();
		}
	}
	return false;
}

bool UGameViewportSubsystem::AddWidget(UWidget* Widget, FGameViewportWidgetSlot Slot)
{
	return AddToScreen(Widget, nullptr, Slot);
}

bool UGameViewportSubsystem::AddWidgetForPlayer(UWidget* Widget, ULocalPlayer* Player, FGameViewportWidgetSlot Slot)
{
	if (!Player)
	{
		FFrame::KismetExecutionMessage(TEXT("The Player is invalid."), ELogVerbosity::Warning);
		return false;
	}
	return AddToScreen(Widget, Player, Slot);
}

bool UGameViewportSubsystem::AddToScreen(UWidget* Widget, ULocalPlayer* Player, FGameViewportWidgetSlot& Slot)
{
	if (!Widget)
	{
		FFrame::KismetExecutionMessage(TEXT("The Widget is invalid."), ELogVerbosity::Warning);
		return false;
	}

	if (Widget->GetParent())
	{
		FFrame::KismetExecutionMessage(*FString::Printf(TEXT("The widget '%s' already has a parent widget. It can't also be added to the viewport!"), *Widget->GetName()), ELogVerbosity::Warning);
		return false;
	}

	UWorld* World = Widget->GetWorld();
	if (!World || !World->IsGameWorld())
	{
		FFrame::KismetExecutionMessage(*FString::Printf(TEXT("The widget '%s' does not have a World."), *Widget->GetName()), ELogVerbosity::Warning);
		return false;
	}

	UGameViewportClient* ViewportClient = World->GetGameViewport();
	if (!ViewportClient)
	{
		FFrame::KismetExecutionMessage(TEXT("No game viewport was found."), ELogVerbosity::Warning);
		return false;
	}

	SConstraintCanvas::FSlot* RawSlot = nullptr;
	TSharedPtr<SConstraintCanvas> FullScreenCanvas;
	{
		FSlotInfo& SlotInfo = ViewportWidgets.FindOrAdd(TWeakObjectPtr<UWidget>(Widget));
		Widget->bIsManagedByGameViewportSubsystem = true;

		if (SlotInfo.FullScreenWidget.IsValid())
		{
			FFrame::KismetExecutionMessage(*FString::Printf(TEXT("The widget '%s' was already added to the screen."), *Widget->GetName()), ELogVerbosity::Warning);
			return false;
		}

		const TPair<FMargin, bool> OffsetArgument = UE::UMG::Private::CalculateOffsetArgument(Slot);
		FullScreenCanvas = SNew(SConstraintCanvas);
		FullScreenCanvas->AddSlot()
			.Offset(OffsetArgument.Key)
			.AutoSize(OffsetArgument.Value)
			.Anchors(Slot.Anchors)
			.Alignment(Slot.Alignment)
			.Expose(RawSlot);

		SlotInfo.Slot = Slot;
		SlotInfo.FullScreenWidget = FullScreenCanvas;
		SlotInfo.FullScreenWidgetSlot = RawSlot;
	}

	// Taking the widget is what builds it (and constructs a user widget).
	(*RawSlot)[Widget->TakeWidget()];

	// 10 above the given z order, to stay above built-in controls such as virtual joysticks.
	ViewportClient->AddViewportWidgetContent(FullScreenCanvas.ToSharedRef(), Slot.ZOrder + 10);
	OnWidgetAdded.Broadcast(Widget, Player);
	return true;
}

void UGameViewportSubsystem::RemoveWidget(UWidget* Widget)
{
	if (Widget && Widget->bIsManagedByGameViewportSubsystem)
	{
		FSlotInfo SlotInfo;
		ViewportWidgets.RemoveAndCopyValue(TWeakObjectPtr<UWidget>(Widget), SlotInfo);
		RemoveWidgetInternal(Widget, SlotInfo.FullScreenWidget);
		OnWidgetRemoved.Broadcast(Widget);
	}
}

void UGameViewportSubsystem::RemoveWidgetInternal(UWidget* Widget, const TWeakPtr<SConstraintCanvas>& FullScreenWidget)
{
	Widget->bIsManagedByGameViewportSubsystem = false;
	if (const TSharedPtr<SWidget> WidgetHost = FullScreenWidget.Pin())
	{
		UWorld* World = Widget->GetWorld();
		if (World && World->IsGameWorld())
		{
			if (UGameViewportClient* ViewportClient = World->GetGameViewport())
			{
				ViewportClient->RemoveViewportWidgetContent(WidgetHost.ToSharedRef());
			}
		}
	}
}

FGameViewportWidgetSlot UGameViewportSubsystem::GetWidgetSlot(const UWidget* Widget) const
{
	if (Widget && Widget->bIsManagedByGameViewportSubsystem)
	{
		const FSlotInfo* SlotInfo = ViewportWidgets.Find(TWeakObjectPtr<UWidget>(const_cast<UWidget*>(Widget)));
		ensureMsgf(SlotInfo != nullptr, TEXT("The bIsManagedByGameViewportSubsystem should matches the ViewportWidgets state."));
		if (SlotInfo)
		{
			return SlotInfo->Slot;
		}
	}
	return FGameViewportWidgetSlot();
}

void UGameViewportSubsystem::SetWidgetSlot(UWidget* Widget, FGameViewportWidgetSlot Slot)
{
	if (Widget && !Widget->HasAnyFlags(RF_BeginDestroyed))
	{
		FSlotInfo& SlotInfo = ViewportWidgets.FindOrAdd(TWeakObjectPtr<UWidget>(Widget));
		Widget->bIsManagedByGameViewportSubsystem = true;
		SlotInfo.Slot = Slot;
		if (const TSharedPtr<SConstraintCanvas> WidgetHost = SlotInfo.FullScreenWidget.Pin())
		{
			check(SlotInfo.FullScreenWidgetSlot);
			const TPair<FMargin, bool> OffsetArgument = UE::UMG::Private::CalculateOffsetArgument(Slot);
			SlotInfo.FullScreenWidgetSlot->SetOffset(OffsetArgument.Key);
			SlotInfo.FullScreenWidgetSlot->SetAutoSize(OffsetArgument.Value);
			SlotInfo.FullScreenWidgetSlot->SetAnchors(Slot.Anchors);
			SlotInfo.FullScreenWidgetSlot->SetAlignment(Slot.Alignment);
			SlotInfo.FullScreenWidgetSlot->SetZOrder((float)Slot.ZOrder);
			WidgetHost->Invalidate(EInvalidateWidgetReason::Layout);
		}
	}
}
