// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Templates/SharedPointer.h"
#include "GameViewportClient.generated.h"

class SOverlay;
class SWidget;
class SWindow;
class UGameInstance;
class UWorld;
struct FWorldContext;

/**
 * A game viewport is the engine's interface to the platform's window of a game: widgets added to
 * it are shown above the game, in an overlay ordered by z order.
 */
UCLASS(Within=Engine, transient, config=Engine, MinimalAPI)
class UGameViewportClient : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** Binds the viewport to a world context and its game instance. */
	ENGINE_API virtual void Init(FWorldContext& WorldContext, UGameInstance* OwningGameInstance, bool bCreateNewAudioDevice = true);

	ENGINE_API virtual UWorld* GetWorld() const override;
	UGameInstance* GetGameInstance() const { return GameInstance; }

	/** Adds a widget to the viewport's overlay; higher z orders are drawn on top. */
	ENGINE_API virtual void AddViewportWidgetContent(TSharedRef<SWidget> ViewportContent, const int32 ZOrder = 0);

	/** Removes a widget added with AddViewportWidgetContent. */
	ENGINE_API virtual void RemoveViewportWidgetContent(TSharedRef<SWidget> ViewportContent);

	/** Removes every widget from the viewport's overlay. */
	ENGINE_API virtual void RemoveAllViewportWidgets();

	/** The window and the overlay the viewport's widgets go into. */
	ENGINE_API void SetViewportOverlayWidget(TSharedPtr<SWindow> InWindow, TSharedRef<SOverlay> InViewportOverlayWidget);

	TSharedPtr<SWindow> GetWindow() const { return Window.Pin(); }

	/** The viewport's size in pixels; zero without a window. */
	ENGINE_API void GetViewportSize(FVector2D& out_ViewportSize) const;

	ENGINE_API virtual void BeginDestroy() override;

protected:
	/** The world this viewport shows. */
	UPROPERTY()
	TObjectPtr<UWorld> World;

	/** The game instance this viewport belongs to. */
	UPROPERTY()
	TObjectPtr<UGameInstance> GameInstance;

private:
	TWeakPtr<SOverlay> ViewportOverlayWidget;
	TWeakPtr<SWindow> Window;
};
