// Copyright Quarn. All Rights Reserved.

#include "Engine/GameViewportClient.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "EngineLogs.h"
#include "Widgets/SOverlay.h"
#include "Widgets/SWindow.h"

UGameViewportClient::UGameViewportClient(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

void UGameViewportClient::Init(FWorldContext& WorldContext, UGameInstance* OwningGameInstance, bool bCreateNewAudioDevice)
{
	// The world context knows its viewport so that UWorld::GetGameViewport finds it.
	WorldContext.GameViewport = this;
	World = WorldContext.World();
	GameInstance = OwningGameInstance;
}

UWorld* UGameViewportClient::GetWorld() const
{
	return World;
}

void UGameViewportClient::AddViewportWidgetContent(TSharedRef<SWidget> ViewportContent, const int32 ZOrder)
{
	const TSharedPtr<SOverlay> PinnedViewportOverlayWidget = ViewportOverlayWidget.Pin();
	if (ensure(PinnedViewportOverlayWidget.IsValid()))
	{
		PinnedViewportOverlayWidget->AddSlot(ZOrder)
		[
			ViewportContent
		];
	}
}

void UGameViewportClient::RemoveViewportWidgetContent(TSharedRef<SWidget> ViewportContent)
{
	if (const TSharedPtr<SOverlay> PinnedViewportOverlayWidget = ViewportOverlayWidget.Pin())
	{
		PinnedViewportOverlayWidget->RemoveSlot(ViewportContent);
	}
}

void UGameViewportClient::RemoveAllViewportWidgets()
{
	if (const TSharedPtr<SOverlay> PinnedViewportOverlayWidget = ViewportOverlayWidget.Pin())
	{
		PinnedViewportOverlayWidget->ClearChildren();
	}
}

void UGameViewportClient::SetViewportOverlayWidget(TSharedPtr<SWindow> InWindow, TSharedRef<SOverlay> InViewportOverlayWidget)
{
	Window = InWindow;
	ViewportOverlayWidget = InViewportOverlayWidget;
}

void UGameViewportClient::GetViewportSize(FVector2D& out_ViewportSize) const
{
	const TSharedPtr<SWindow> PinnedWindow = Window.Pin();
	out_ViewportSize = PinnedWindow.IsValid() ? PinnedWindow->GetSizeInScreen() : FVector2D::ZeroVector;
}

void UGameViewportClient::BeginDestroy()
{
	RemoveAllViewportWidgets();
	Super::BeginDestroy();
}
