// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/PanelSlot.h"
#include "Layout/Margin.h"
#include "Widgets/Layout/Anchors.h"
#include "Widgets/Layout/SConstraintCanvas.h"
#include "UObject/ObjectMacros.h"
#include "CanvasPanelSlot.generated.h"

/** Where a canvas child goes: offsets, anchors and the alignment pivot. */
USTRUCT(BlueprintType)
struct FAnchorData
{
	GENERATED_BODY()

public:
	/** Offset. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=AnchorData)
	FMargin Offsets;

	/** Anchors. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=AnchorData)
	FAnchors Anchors;

	/** Alignment is the pivot point of the widget. Starting in the upper left at (0,0), ending in the lower right at (1,1). */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=AnchorData)
	FVector2D Alignment = FVector2D::ZeroVector;

	bool operator==(const FAnchorData& Other) const
	{
		return Offsets == Other.Offsets && Anchors == Other.Anchors && Alignment == Other.Alignment;
	}
	bool operator!=(const FAnchorData& Other) const { return !(*this == Other); }
};

/** The slot of a canvas panel child. */
UCLASS(MinimalAPI)
class UCanvasPanelSlot : public UPanelSlot
{
	GENERATED_UCLASS_BODY()

protected:
	/** The anchoring information for the slot */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Canvas Slot")
	FAnchorData LayoutData;

	/** When AutoSize is true we use the widget's desired size */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Canvas Slot", AdvancedDisplay, meta=(DisplayName="Size To Content"))
	bool bAutoSize;

	/** The order priority this widget is rendered in. Higher values are rendered last (and so they will appear to be on top). */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Canvas Slot")
	int32 ZOrder;

public:
	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetLayout(const FAnchorData& InLayoutData);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API FAnchorData GetLayout() const;

	/** Sets the position of the slot (the offsets' Left and Top). */
	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetPosition(FVector2D InPosition);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API FVector2D GetPosition() const;

	/** Sets the size of the slot (the offsets' Right and Bottom, which are a size under point anchors). */
	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetSize(FVector2D InSize);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API FVector2D GetSize() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetOffsets(FMargin InOffset);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API FMargin GetOffsets() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetAnchors(FAnchors InAnchors);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API FAnchors GetAnchors() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetAlignment(FVector2D InAlignment);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API FVector2D GetAlignment() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetAutoSize(bool InbAutoSize);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API bool GetAutoSize() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetZOrder(int32 InZOrder);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API int32 GetZOrder() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetMinimum(FVector2D InMinimumAnchors);

	UFUNCTION(BlueprintCallable, Category="Layout|Canvas Slot")
	UMG_API void SetMaximum(FVector2D InMaximumAnchors);

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

	/** Builds the underlying slot for the canvas. */
	UMG_API void BuildSlot(TSharedRef<SConstraintCanvas> Canvas);

private:
	/** The Slate slot, while the Slate canvas lives. */
	SConstraintCanvas::FSlot* Slot;
};
