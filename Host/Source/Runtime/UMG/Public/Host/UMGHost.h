// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"

class FSlateWindowElementList;
class UGameViewportClient;
class UWorld;

// Host-only control over UMG state the engine's editor and platform window set.
namespace UE::Host
{
	/** Marks a widget (and, for a user widget, its tree) as shown in the widget designer, or not. */
	UMG_API void SetDesignerFlags(UWidget* Widget, EWidgetDesignFlags Flags);

	/**
	 * Gives a game world a viewport: a window of the given size in pixels at a screen position and
	 * DPI scale, owned by a new game viewport client that the engine and the world's context know.
	 * The window joins the Slate application, so every tick of the engine loop lays the viewport
	 * out and paints it. Returns null
	 * (with a logged error) without an engine, for a world the engine does not know, or for a size
	 * that is not positive.
	 */
	UMG_API UGameViewportClient* CreateGameViewport(UWorld* World, FVector2D SizeInPixels, float DPIScale = 1.0f, FVector2D ScreenPosition = FVector2D::ZeroVector);

	/** Removes the viewport CreateGameViewport made for a world; its widgets leave the screen. */
	UMG_API void DestroyGameViewport(UWorld* World);

	/** Lays out and paints a world's viewport once, as a frame of the engine loop does. */
	UMG_API bool DrawGameViewport(UWorld* World, float DeltaSeconds = 0.0f);

	/** What the viewport's last frame drew; null before the first frame. */
	UMG_API const FSlateWindowElementList* GetGameViewportDrawElements(UWorld* World);

	/** Draws the viewport, then paints it to a PNG file of the window's size. */
	UMG_API bool SaveGameViewportToPng(UWorld* World, const FString& FilePath);
}
