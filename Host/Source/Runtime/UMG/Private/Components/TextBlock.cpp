// Copyright Quarn. All Rights Reserved.

#include "Components/TextBlock.h"
#include "Components/TextWidgetTypes.h"
#include "Widgets/Text/STextBlock.h"

UTextLayoutWidget::UTextLayoutWidget(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	Justification = ETextJustify::Left;
	AutoWrapText = false;
	WrapTextAt = 0.0f;
	WrappingPolicy = ETextWrappingPolicy::DefaultWrapping;
	Margin = FMargin(0.0f);
	LineHeightPercentage = 1.0f;
}

void UTextLayoutWidget::SetJustification(ETextJustify::Type InJustification)
{
	if (Justification != InJustification)
	{
		Justification = InJustification;
		OnJustificationChanged(InJustification);
	}
}

void UTextLayoutWidget::SetAutoWrapText(bool InAutoWrapText)
{
	if ((AutoWrapText != 0) != InAutoWrapText)
	{
		AutoWrapText = InAutoWrapText;
		OnAutoWrapTextChanged(InAutoWrapText);
	}
}

void UTextLayoutWidget::SetWrapTextAt(float InWrapTextAt)
{
	if (WrapTextAt != InWrapTextAt)
	{
		WrapTextAt = InWrapTextAt;
		OnWrapTextAtChanged(InWrapTextAt);
	}
}

void UTextLayoutWidget::SetWrappingPolicy(ETextWrappingPolicy InWrappingPolicy)
{
	if (WrappingPolicy != InWrappingPolicy)
	{
		WrappingPolicy = InWrappingPolicy;
		OnWrappingPolicyChanged(InWrappingPolicy);
	}
}

void UTextLayoutWidget::SetMargin(const FMargin& InMargin)
{
	if (Margin != InMargin)
	{
		Margin = InMargin;
		OnMarginChanged(InMargin);
	}
}

void UTextLayoutWidget::SetLineHeightPercentage(float InLineHeightPercentage)
{
	if (LineHeightPercentage != InLineHeightPercentage)
	{
		LineHeightPercentage = InLineHeightPercentage;
		OnLineHeightPercentageChanged(InLineHeightPercentage);
	}
}

void UTextLayoutWidget::SynchronizeTextLayoutProperties(STextBlock& InWidget)
{
	InWidget.SetJustification(Justification);
	InWidget.SetAutoWrapText(AutoWrapText != 0);
	InWidget.SetWrapTextAt(WrapTextAt);
	InWidget.SetWrappingPolicy(WrappingPolicy);
	InWidget.SetMargin(Margin);
	InWidget.SetLineHeightPercentage(LineHeightPercentage);
}

UTextBlock::UTextBlock(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	bIsVariable = false;
	// Text is not hit-testable by default.
	Visibility = ESlateVisibility::SelfHitTestInvisible;
	ShadowOffset = FVector2D(1.0f, 1.0f);
	ColorAndOpacity = FLinearColor::White;
	ShadowColorAndOpacity = FLinearColor::Transparent;
	MinDesiredWidth = 0.0f;
	// The engine's default is Roboto Bold at 24; the host has no font assets, so only the typeface and size are set.
	Font.Size = 24.0f;
	Font.TypefaceFontName = FName(TEXT("Bold"));
}

void UTextBlock::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	MyTextBlock.Reset();
}

TSharedRef<SWidget> UTextBlock::RebuildWidget()
{
	MyTextBlock = SNew(STextBlock);
	return MyTextBlock.ToSharedRef();
}

void UTextBlock::SynchronizeProperties()
{
	Super::SynchronizeProperties();
	if (!MyTextBlock.IsValid())
	{
		return;
	}
	MyTextBlock->SetText(Text);
	MyTextBlock->SetFont(Font);
	MyTextBlock->SetColorAndOpacity(ColorAndOpacity);
	MyTextBlock->SetShadowOffset(ShadowOffset);
	MyTextBlock->SetShadowColorAndOpacity(ShadowColorAndOpacity);
	MyTextBlock->SetMinDesiredWidth(MinDesiredWidth);
	SynchronizeTextLayoutProperties(*MyTextBlock);
}

FText UTextBlock::GetText() const
{
	if (MyTextBlock.IsValid())
	{
		return MyTextBlock->GetText();
	}
	return Text;
}

void UTextBlock::SetText(FText InText)
{
	Text = InText;
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetText(Text);
	}
}

void UTextBlock::SetColorAndOpacity(FSlateColor InColorAndOpacity)
{
	ColorAndOpacity = InColorAndOpacity;
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetColorAndOpacity(InColorAndOpacity);
	}
}

const FSlateColor& UTextBlock::GetColorAndOpacity() const
{
	return ColorAndOpacity;
}

void UTextBlock::SetOpacity(float InOpacity)
{
	FLinearColor CurrentColor = ColorAndOpacity.GetSpecifiedColor();
	CurrentColor.A = InOpacity;
	SetColorAndOpacity(FSlateColor(CurrentColor));
}

void UTextBlock::SetShadowColorAndOpacity(FLinearColor InShadowColorAndOpacity)
{
	ShadowColorAndOpacity = InShadowColorAndOpacity;
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetShadowColorAndOpacity(InShadowColorAndOpacity);
	}
}

FLinearColor UTextBlock::GetShadowColorAndOpacity() const
{
	return ShadowColorAndOpacity;
}

void UTextBlock::SetShadowOffset(FVector2D InShadowOffset)
{
	ShadowOffset = InShadowOffset;
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetShadowOffset(ShadowOffset);
	}
}

FVector2D UTextBlock::GetShadowOffset() const
{
	return ShadowOffset;
}

void UTextBlock::SetFont(FSlateFontInfo InFontInfo)
{
	Font = InFontInfo;
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetFont(Font);
	}
}

const FSlateFontInfo& UTextBlock::GetFont() const
{
	return Font;
}

void UTextBlock::SetMinDesiredWidth(float InMinDesiredWidth)
{
	MinDesiredWidth = InMinDesiredWidth;
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetMinDesiredWidth(MinDesiredWidth);
	}
}

float UTextBlock::GetMinDesiredWidth() const
{
	return MinDesiredWidth;
}

void UTextBlock::SetAutoWrapText(bool InAutoTextWrap)
{
	AutoWrapText = InAutoTextWrap;
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetAutoWrapText(InAutoTextWrap);
	}
}

void UTextBlock::OnJustificationChanged(ETextJustify::Type InJustification)
{
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetJustification(InJustification);
	}
}

void UTextBlock::OnAutoWrapTextChanged(bool InAutoWrapText)
{
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetAutoWrapText(InAutoWrapText);
	}
}

void UTextBlock::OnWrapTextAtChanged(float InWrapTextAt)
{
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetWrapTextAt(InWrapTextAt);
	}
}

void UTextBlock::OnWrappingPolicyChanged(ETextWrappingPolicy InWrappingPolicy)
{
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetWrappingPolicy(InWrappingPolicy);
	}
}

void UTextBlock::OnMarginChanged(const FMargin& InMargin)
{
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetMargin(InMargin);
	}
}

void UTextBlock::OnLineHeightPercentageChanged(float InLineHeightPercentage)
{
	if (MyTextBlock.IsValid())
	{
		MyTextBlock->SetLineHeightPercentage(InLineHeightPercentage);
	}
}
