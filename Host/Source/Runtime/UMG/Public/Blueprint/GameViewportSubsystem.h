// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Margin.h"
#include "Subsystems/EngineSubsystem.h"
#include "UObject/WeakObjectPtr.h"
#include "Widgets/Layout/Anchors.h"
#include "Widgets/Layout/SConstraintCanvas.h"
#include "GameViewportSubsystem.generated.h"

class ULocalPlayer;
class UWidget;
class UWorld;

/** Where a widget goes in the viewport: by default it fills it. */
USTRUCT(BlueprintType)
struct FGameViewportWidgetSlot
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="User Interface")
	FAnchors Anchors = FAnchors(0.f, 0.f, 1.f, 1.f);

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="User Interface")
	FMargin Offsets;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="User Interface")
	FVector2D Alignment = FVector2D::ZeroVector;

	/** The higher the number, the more on top this widget will be. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="User Interface")
	int32 ZOrder = 0;

	/** Remove the widget when the world it belongs to is removed. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="User Interface")
	bool bAutoRemoveOnWorldRemoved = true;
};

DECLARE_MULTICAST_DELEGATE_TwoParams(FOnWidgetAddedToViewport, UWidget*, ULocalPlayer*);
DECLARE_MULTICAST_DELEGATE_OneParam(FOnWidgetRemovedFromViewport, UWidget*);

/** Adds widgets to the game's viewport: each in a full-screen canvas given to the game viewport client. */
UCLASS(MinimalAPI)
class UGameViewportSubsystem : public UEngineSubsystem
{
	GENERATED_BODY()

public:
	static UMG_API UGameViewportSubsystem* Get();
	static UMG_API UGameViewportSubsystem* Get(UWorld* World);

	UMG_API virtual void Deinitialize() override;

	UFUNCTION(BlueprintCallable, Category="User Interface")
	UMG_API bool IsWidgetAdded(const UWidget* Widget) const;

	UFUNCTION(BlueprintCallable, Category="User Interface")
	UMG_API bool AddWidget(UWidget* Widget, FGameViewportWidgetSlot Slot);

	// Not reflected here: the host has no local players to pass from a script.
	UMG_API bool AddWidgetForPlayer(UWidget* Widget, ULocalPlayer* Player, FGameViewportWidgetSlot Slot);

	UFUNCTION(BlueprintCallable, Category="User Interface")
	UMG_API void RemoveWidget(UWidget* Widget);

	UFUNCTION(BlueprintCallable, Category="User Interface")
	UMG_API FGameViewportWidgetSlot GetWidgetSlot(const UWidget* Widget) const;

	UFUNCTION(BlueprintCallable, Category="User Interface")
	UMG_API void SetWidgetSlot(UWidget* Widget, FGameViewportWidgetSlot Slot);

	FOnWidgetAddedToViewport OnWidgetAdded;
	FOnWidgetRemovedFromViewport OnWidgetRemoved;

private:
	bool AddToScreen(UWidget* Widget, ULocalPlayer* Player, FGameViewportWidgetSlot& Slot);
	void RemoveWidgetInternal(UWidget* Widget, const TWeakPtr<SConstraintCanvas>& FullScreenWidget);

	struct FSlotInfo
	{
		FGameViewportWidgetSlot Slot;
		TWeakPtr<SConstraintCanvas> FullScreenWidget;
		SConstraintCanvas::FSlot* FullScreenWidgetSlot = nullptr;
	};

	/** Keyed weakly: a widget collected while shown leaves a stale entry that a later add replaces. */
	TMap<TWeakObjectPtr<UWidget>, FSlotInfo> ViewportWidgets;
};
