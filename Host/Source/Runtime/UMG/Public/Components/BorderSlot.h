// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/PanelSlot.h"
#include "Layout/Margin.h"
#include "Types/SlateEnums.h"
#include "UObject/ObjectMacros.h"
#include "BorderSlot.generated.h"

class SBorder;

/** The slot of a border's content: the padding and alignment the border applies to it. */
UCLASS(MinimalAPI)
class UBorderSlot : public UPanelSlot
{
	GENERATED_UCLASS_BODY()

protected:
	/** The padding area between the slot and the content it contains. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Border Slot")
	FMargin Padding;

	/** The alignment of the object horizontally. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Border Slot")
	TEnumAsByte<EHorizontalAlignment> HorizontalAlignment;

	/** The alignment of the object vertically. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Layout|Border Slot")
	TEnumAsByte<EVerticalAlignment> VerticalAlignment;

public:
	UFUNCTION(BlueprintCallable, Category="Layout|Border Slot")
	UMG_API void SetPadding(FMargin InPadding);

	UMG_API FMargin GetPadding() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Border Slot")
	UMG_API void SetHorizontalAlignment(EHorizontalAlignment InHorizontalAlignment);

	UMG_API EHorizontalAlignment GetHorizontalAlignment() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Border Slot")
	UMG_API void SetVerticalAlignment(EVerticalAlignment InVerticalAlignment);

	UMG_API EVerticalAlignment GetVerticalAlignment() const;

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

	/** Builds the underlying slot for the border: its padding and alignment, then the content. */
	UMG_API void BuildSlot(TSharedRef<SBorder> InBorder);

private:
	/** A raw pointer to the Slate border, as long as it lives. */
	TWeakPtr<SBorder> Border;

	friend class UBorder;
};
