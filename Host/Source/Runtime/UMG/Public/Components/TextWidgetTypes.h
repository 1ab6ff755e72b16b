// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"
#include "Framework/Text/TextLayout.h"
#include "Layout/Margin.h"
#include "UObject/ObjectMacros.h"
#include "TextWidgetTypes.generated.h"

class STextBlock;

/** The settings text widgets share: justification, wrapping, margin and line height. */
UCLASS(Abstract, BlueprintType, MinimalAPI)
class UTextLayoutWidget : public UWidget
{
	GENERATED_UCLASS_BODY()

public:
	// No getter for Justification: the engine offers only the setter (the property is protected).

	/** Sets how the text is aligned within its margin; only a change does anything. */
	UFUNCTION(BlueprintCallable, Category="Appearance")
	UMG_API virtual void SetJustification(ETextJustify::Type InJustification);

	bool GetAutoWrapText() const { return AutoWrapText != 0; }
	UMG_API void SetAutoWrapText(bool InAutoWrapText);

	float GetWrapTextAt() const { return WrapTextAt; }
	UMG_API void SetWrapTextAt(float InWrapTextAt);

	ETextWrappingPolicy GetWrappingPolicy() const { return WrappingPolicy; }
	UMG_API void SetWrappingPolicy(ETextWrappingPolicy InWrappingPolicy);

	const FMargin& GetMargin() const { return Margin; }
	UMG_API void SetMargin(const FMargin& InMargin);

	float GetLineHeightPercentage() const { return LineHeightPercentage; }
	UMG_API void SetLineHeightPercentage(float InLineHeightPercentage);

protected:
	/** Pushes these settings to a Slate text block. */
	UMG_API void SynchronizeTextLayoutProperties(STextBlock& InWidget);

	virtual void OnJustificationChanged(ETextJustify::Type InJustification) {}
	virtual void OnAutoWrapTextChanged(bool InAutoWrapText) {}
	virtual void OnWrapTextAtChanged(float InWrapTextAt) {}
	virtual void OnWrappingPolicyChanged(ETextWrappingPolicy InWrappingPolicy) {}
	virtual void OnMarginChanged(const FMargin& InMargin) {}
	virtual void OnLineHeightPercentageChanged(float InLineHeightPercentage) {}

	/** How the text should be aligned with the margin. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, BlueprintSetter=SetJustification, Category=Appearance)
	TEnumAsByte<ETextJustify::Type> Justification;

	/** True if we're wrapping text automatically based on the computed horizontal space for this widget. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Wrapping)
	uint8 AutoWrapText : 1;

	/** Whether text wraps onto a new line when its length exceeds this width; if this value is zero or negative, no wrapping occurs. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Wrapping)
	float WrapTextAt;

	/** The wrapping policy to use. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Wrapping)
	ETextWrappingPolicy WrappingPolicy;

	/** The amount of blank space left around the edges of text area. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance)
	FMargin Margin;

	/** The amount to scale each lines height by. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Appearance)
	float LineHeightPercentage;
};
