// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/TextWidgetTypes.h"
#include "Fonts/SlateFontInfo.h"
#include "Internationalization/Text.h"
#include "Styling/SlateColor.h"
#include "UObject/ObjectMacros.h"
#include "TextBlock.generated.h"

class STextBlock;

/**
 * A simple static text widget.
 *
 * * No Children
 * * Text
 */
UCLASS(meta=(DisplayName="Text"), MinimalAPI)
class UTextBlock : public UTextLayoutWidget
{
	GENERATED_UCLASS_BODY()

public:
	/** The text to display */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Content, meta=(MultiLine="true"))
	FText Text;

	/** The color of the text */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance)
	FSlateColor ColorAndOpacity;

	/** The font to render the text with */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance)
	FSlateFontInfo Font;

	/** The direction the shadow is cast */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance)
	FVector2D ShadowOffset;

	/** The color of the shadow */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance, meta=(DisplayName="Shadow Color"))
	FLinearColor ShadowColorAndOpacity;

	/** The minimum desired size for the text */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance)
	float MinDesiredWidth;

public:
	/** The text shown: the Slate text block's when built, otherwise the stored text. */
	UFUNCTION(BlueprintCallable, Category="Widget", meta=(DisplayName="GetText (Text)"))
	UMG_API FText GetText() const;

	UFUNCTION(BlueprintCallable, Category="Widget", meta=(DisplayName="SetText (Text)"))
	UMG_API virtual void SetText(FText InText);

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetColorAndOpacity(FSlateColor InColorAndOpacity);

	UMG_API const FSlateColor& GetColorAndOpacity() const;

	/** Rewrites the alpha of the specified colour. */
	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetOpacity(float InOpacity);

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetShadowColorAndOpacity(FLinearColor InShadowColorAndOpacity);

	UMG_API FLinearColor GetShadowColorAndOpacity() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetShadowOffset(FVector2D InShadowOffset);

	UMG_API FVector2D GetShadowOffset() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetFont(FSlateFontInfo InFontInfo);

	UMG_API const FSlateFontInfo& GetFont() const;

	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetMinDesiredWidth(float InMinDesiredWidth);

	UMG_API float GetMinDesiredWidth() const;

	/** Turns automatic wrapping at the allotted width on or off. */
	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API void SetAutoWrapText(bool InAutoTextWrap);

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

protected:
	UMG_API virtual TSharedRef<SWidget> RebuildWidget() override;
	UMG_API virtual void OnJustificationChanged(ETextJustify::Type InJustification) override;
	UMG_API virtual void OnAutoWrapTextChanged(bool InAutoWrapText) override;
	UMG_API virtual void OnWrapTextAtChanged(float InWrapTextAt) override;
	UMG_API virtual void OnWrappingPolicyChanged(ETextWrappingPolicy InWrappingPolicy) override;
	UMG_API virtual void OnMarginChanged(const FMargin& InMargin) override;
	UMG_API virtual void OnLineHeightPercentageChanged(float InLineHeightPercentage) override;

	TSharedPtr<STextBlock> MyTextBlock;
};
