// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/PanelSlot.h"
#include "Components/SlateWrapperTypes.h"
#include "Layout/Margin.h"
#include "Types/SlateEnums.h"
#include "Widgets/SBoxPanel.h"
#include "UObject/ObjectMacros.h"
#include "VerticalBoxSlot.generated.h"

/** The slot of a vertical box child: its size rule, padding and alignment. */
UCLASS(MinimalAPI)
class UVerticalBoxSlot : public UPanelSlot
{
	GENERATED_UCLASS_BODY()

protected:
	/** How much space this slot should occupy in the direction of the panel. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Vertical Box Slot")
	FSlateChildSize Size;

	/** The padding area between the slot and the content it contains. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Vertical Box Slot")
	FMargin Padding;

	/** The alignment of the object horizontally. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Vertical Box Slot")
	TEnumAsByte<EHorizontalAlignment> HorizontalAlignment;

	/** The alignment of the object vertically. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Vertical Box Slot")
	TEnumAsByte<EVerticalAlignment> VerticalAlignment;

public:
	UFUNCTION(BlueprintCallable, Category="Layout|Vertical Box Slot")
	UMG_API void SetPadding(FMargin InPadding);

	UMG_API FMargin GetPadding() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Vertical Box Slot")
	UMG_API void SetSize(FSlateChildSize InSize);

	UMG_API FSlateChildSize GetSize() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Vertical Box Slot")
	UMG_API void SetHorizontalAlignment(EHorizontalAlignment InHorizontalAlignment);

	UMG_API EHorizontalAlignment GetHorizontalAlignment() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Vertical Box Slot")
	UMG_API void SetVerticalAlignment(EVerticalAlignment InVerticalAlignment);

	UMG_API EVerticalAlignment GetVerticalAlignment() const;

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

	/** Builds the underlying slot for the vertical box. */
	UMG_API void BuildSlot(TSharedRef<SVerticalBox> InVerticalBox);

private:
	/** The Slate slot, while the Slate box lives. */
	SVerticalBox::FSlot* Slot;
	TWeakPtr<SVerticalBox> VerticalBox;
};
