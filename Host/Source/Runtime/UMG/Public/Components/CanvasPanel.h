// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/PanelWidget.h"
#include "UObject/ObjectMacros.h"
#include "CanvasPanel.generated.h"

class SConstraintCanvas;
class UCanvasPanelSlot;

/**
 * The canvas panel is a designer friendly panel that allows widgets to be laid out at arbitrary
 * locations, anchored and z-ordered with other children of the canvas.
 *
 * * Many Children
 * * Absolute Layout
 * * Anchors
 */
UCLASS(meta=(ShortTooltip="A designer-friendly panel useful for laying out top-level widgets. Use sparingly."), MinimalAPI)
class UCanvasPanel : public UPanelWidget
{
	GENERATED_UCLASS_BODY()

public:
	UFUNCTION(BlueprintCallable, Category="Canvas Panel")
	UMG_API UCanvasPanelSlot* AddChildToCanvas(UWidget* Content);

	/** The Slate canvas, null before it is built. */
	UMG_API TSharedPtr<SConstraintCanvas> GetCanvasWidget() const;

	/** The geometry a slot's content has under the canvas's last geometry; false without content or a built canvas. */
	UMG_API bool GetGeometryForSlot(int32 SlotIndex, FGeometry& ArrangedGeometry) const;
	UMG_API bool GetGeometryForSlot(UCanvasPanelSlot* Slot, FGeometry& ArrangedGeometry) const;

	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

protected:
	UMG_API virtual UClass* GetSlotClass() const override;
	UMG_API virtual void OnSlotAdded(UPanelSlot* InSlot) override;
	UMG_API virtual void OnSlotRemoved(UPanelSlot* InSlot) override;
	UMG_API virtual TSharedRef<SWidget> RebuildWidget() override;

	TSharedPtr<SConstraintCanvas> MyCanvas;
};
