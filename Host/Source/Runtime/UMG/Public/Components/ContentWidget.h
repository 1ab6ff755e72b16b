// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/PanelWidget.h"
#include "UObject/ObjectMacros.h"
#include "ContentWidget.generated.h"

/** A panel with at most one child, its content. */
UCLASS(Abstract, MinimalAPI)
class UContentWidget : public UPanelWidget
{
	GENERATED_UCLASS_BODY()

public:
	UFUNCTION(BlueprintCallable, Category="Panel")
	UMG_API UPanelSlot* GetContentSlot() const;

	/** Replaces the content: clears the panel, then adds the widget (null just empties it). */
	UFUNCTION(BlueprintCallable, Category="Panel")
	UMG_API UPanelSlot* SetContent(UWidget* Content);

	UFUNCTION(BlueprintCallable, Category="Panel")
	UMG_API UWidget* GetContent() const;
};
