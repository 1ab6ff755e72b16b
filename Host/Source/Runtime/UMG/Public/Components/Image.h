// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"
#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "UObject/ObjectMacros.h"
#include "Image.generated.h"

class SImage;
class UTexture2D;

/**
 * The image widget allows you to display a Slate Brush, or texture or material in the UI.
 *
 * * No Children
 */
UCLASS(MinimalAPI)
class UImage : public UWidget
{
	GENERATED_UCLASS_BODY()

public:
	/** Image to draw */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance)
	FSlateBrush Brush;

	/** Color and opacity */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance, meta=(sRGB="true"))
	FLinearColor ColorAndOpacity;

	/** Flips the image if the localization's flow direction is RightToLeft */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Localization")
	bool bFlipForRightToLeftFlowDirection;

public:
	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetColorAndOpacity(FLinearColor InColorAndOpacity);

	UMG_API const FLinearColor& GetColorAndOpacity() const;

	/** Sets only the alpha of the colour and opacity. */
	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetOpacity(float InOpacity);

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetDesiredSizeOverride(FVector2D DesiredSize);

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetBrushTintColor(FSlateColor TintColor);

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetBrushResourceObject(UObject* ResourceObject);

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API virtual void SetBrush(const FSlateBrush& InBrush);

	UMG_API const FSlateBrush& GetBrush() const;

	/** Draws a texture; the brush keeps its size unless bMatchSize takes the texture's. The same texture again changes nothing. */
	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API virtual void SetBrushFromTexture(UTexture2D* Texture, bool bMatchSize = false);

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

protected:
	UMG_API virtual TSharedRef<SWidget> RebuildWidget() override;

	TSharedPtr<SImage> MyImage;
};
