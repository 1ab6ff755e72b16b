// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/ContentWidget.h"
#include "Layout/Margin.h"
#include "Styling/SlateBrush.h"
#include "Types/SlateEnums.h"
#include "UObject/ObjectMacros.h"
#include "Border.generated.h"

class SBorder;
class UTexture2D;

/**
 * A border is a container widget that can contain one child widget, providing an opportunity
 * to surround it with a background image and adjustable padding.
 *
 * * Single Child
 * * Image
 */
UCLASS(MinimalAPI)
class UBorder : public UContentWidget
{
	GENERATED_UCLASS_BODY()

public:
	/** The alignment of the content horizontally. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Content")
	TEnumAsByte<EHorizontalAlignment> HorizontalAlignment;

	/** The alignment of the content vertically. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Content")
	TEnumAsByte<EVerticalAlignment> VerticalAlignment;

	/** Whether or not to show the disabled effect when this border is disabled */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Content")
	uint8 bShowEffectWhenDisabled : 1;

	/** Color and opacity multiplier of content in the border */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Content", meta=(sRGB="true"))
	FLinearColor ContentColorAndOpacity;

	/** The padding area between the slot and the content it contains. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Content")
	FMargin Padding;

	/** Brush to drag as the background */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Appearance", meta=(DisplayName="Brush"))
	FSlateBrush Background;

	/** Color and opacity of the actual border image */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Appearance", meta=(sRGB="true"))
	FLinearColor BrushColor;

	/** Scales the computed desired size of this border and its contents. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Appearance")
	FVector2D DesiredSizeScale;

public:
	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetContentColorAndOpacity(FLinearColor InContentColorAndOpacity);

	UMG_API FLinearColor GetContentColorAndOpacity() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetPadding(FMargin InPadding);

	UMG_API FMargin GetPadding() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetHorizontalAlignment(EHorizontalAlignment InHorizontalAlignment);

	UMG_API EHorizontalAlignment GetHorizontalAlignment() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetVerticalAlignment(EVerticalAlignment InVerticalAlignment);

	UMG_API EVerticalAlignment GetVerticalAlignment() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetBrushColor(FLinearColor InBrushColor);

	UMG_API FLinearColor GetBrushColor() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetBrush(const FSlateBrush& InBrush);

	UMG_API const FSlateBrush& GetBrush() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetBrushFromTexture(UTexture2D* Texture);

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetDesiredSizeScale(FVector2D InScale);

	UMG_API FVector2D GetDesiredSizeScale() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetShowEffectWhenDisabled(bool bInShowEffectWhenDisabled);

	UMG_API bool GetShowEffectWhenDisabled() const;

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

protected:
	UMG_API virtual UClass* GetSlotClass() const override;
	UMG_API virtual void OnSlotAdded(UPanelSlot* InSlot) override;
	UMG_API virtual void OnSlotRemoved(UPanelSlot* InSlot) override;
	UMG_API virtual TSharedRef<SWidget> RebuildWidget() override;

	TSharedPtr<SBorder> MyBorder;
};
