// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/PanelWidget.h"
#include "UObject/ObjectMacros.h"
#include "VerticalBox.generated.h"

class SVerticalBox;
class UVerticalBoxSlot;

/**
 * A vertical box widget is a layout panel allowing child widgets to be automatically laid out
 * vertically.
 *
 * * Many Children
 * * Flows Vertical
 */
UCLASS(meta=(ShortTooltip="A layout panel for automatically laying child widgets out vertically"), MinimalAPI)
class UVerticalBox : public UPanelWidget
{
	GENERATED_UCLASS_BODY()

public:
	/** Adds a new child widget to the container. */
	UFUNCTION(BlueprintCallable, Category="Panel")
	UMG_API UVerticalBoxSlot* AddChildToVerticalBox(UWidget* Content);

	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

protected:
	UMG_API virtual UClass* GetSlotClass() const override;
	UMG_API virtual void OnSlotAdded(UPanelSlot* InSlot) override;
	UMG_API virtual void OnSlotRemoved(UPanelSlot* InSlot) override;
	UMG_API virtual TSharedRef<SWidget> RebuildWidget() override;

	TSharedPtr<SVerticalBox> MyVerticalBox;
};
