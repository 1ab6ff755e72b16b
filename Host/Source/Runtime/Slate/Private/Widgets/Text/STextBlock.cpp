// Copyright Quarn. All Rights Reserved.

#include "Widgets/Text/STextBlock.h"
#include "Framework/Text/HostTextLayout.h"
#include "Rendering/DrawElements.h"

struct STextBlock::FLayoutCache
{
	// What the layout was made from; a change of any of these lays the text out again.
	FString Text;
	FSlateFontInfo Font;
	FVector2D ShadowOffset;
	float Scale = 0.0f;
	float WrappingWidth = 0.0f;
	float LineHeightPercentage = 0.0f;
	ETextWrappingPolicy WrappingPolicy = ETextWrappingPolicy::DefaultWrapping;

	UE::Host::FTextLayoutResult Result;
};

STextBlock::STextBlock()
	: ColorAndOpacity(FSlateColor::UseForeground())
	, ShadowOffset(0.0, 0.0)
	, ShadowColorAndOpacity(FLinearColor::Transparent)
	, MinDesiredWidth(0.0f)
	, WrapTextAt(0.0f)
	, bAutoWrapText(false)
	, WrappingPolicy(ETextWrappingPolicy::DefaultWrapping)
	, Margin(0.0f)
	, LineHeightPercentage(1.0f)
	, Justification(ETextJustify::Left)
	, CachedSize(0.0f, 0.0f)
{
	SetCanTick(false);
	bCanSupportFocus = false;
}

STextBlock::~STextBlock() = default;

void STextBlock::Construct(const FArguments& InArgs)
{
	BoundText = InArgs._Text;
	Font = InArgs._Font;
	ColorAndOpacity = InArgs._ColorAndOpacity;
	ShadowOffset = InArgs._ShadowOffset;
	ShadowColorAndOpacity = InArgs._ShadowColorAndOpacity;
	MinDesiredWidth = InArgs._MinDesiredWidth;
	WrapTextAt = InArgs._WrapTextAt;
	bAutoWrapText = InArgs._AutoWrapText;
	WrappingPolicy = InArgs._WrappingPolicy;
	Margin = InArgs._Margin;
	LineHeightPercentage = InArgs._LineHeightPercentage;
	Justification = InArgs._Justification;
}

float STextBlock::CalculateWrappingWidth() const
{
	// Wrapping is either given (WrapTextAt), automatic (the last painted width), or both: the smaller wins.
	float WrappingWidth = WrapTextAt;
	if (bAutoWrapText && CachedSize.X >= 1.0f)
	{
		WrappingWidth = (WrappingWidth >= 1.0f) ? FMath::Min(WrappingWidth, CachedSize.X) : CachedSize.X;
	}
	// The margin is not space for text.
	if (WrappingWidth > 0.0f)
	{
		WrappingWidth = FMath::Max(0.0f, WrappingWidth - Margin.GetTotalSpaceAlong<Orient_Horizontal>());
	}
	return FMath::Max(0.0f, WrappingWidth);
}

const STextBlock::FLayoutCache& STextBlock::GetLayout(float Scale, float WrappingWidth) const
{
	const FString& String = BoundText.ToString();
	if (!Layout.IsValid() || Layout->Scale != Scale || Layout->WrappingWidth != WrappingWidth || Layout->LineHeightPercentage != LineHeightPercentage
		|| Layout->WrappingPolicy != WrappingPolicy || Layout->ShadowOffset != ShadowOffset || !Layout->Font.IsIdenticalTo(Font)
		|| !Layout->Text.Equals(String, ESearchCase::CaseSensitive))
	{
		if (!Layout.IsValid())
		{
			Layout = MakeUnique<FLayoutCache>();
		}
		Layout->Text = String;
		Layout->Font = Font;
		Layout->ShadowOffset = ShadowOffset;
		Layout->Scale = Scale;
		Layout->WrappingWidth = WrappingWidth;
		Layout->LineHeightPercentage = LineHeightPercentage;
		Layout->WrappingPolicy = WrappingPolicy;
		Layout->Result = UE::Host::LayOutText(String, Font, ShadowOffset, Scale, WrappingWidth, LineHeightPercentage, WrappingPolicy);
	}
	return *Layout;
}

FVector2D STextBlock::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	const float Scale = LayoutScaleMultiplier > 0.0f ? LayoutScaleMultiplier : 1.0f;
	const FLayoutCache& Cache = GetLayout(Scale, CalculateWrappingWidth());
	// Measured in pixels at the layout scale, reported in local units.
	const FVector2f TextSize = Cache.Result.DrawSize / Scale + Margin.GetDesiredSize().ToVector2f();
	return FVector2D(FMath::Max((double)MinDesiredWidth, (double)TextSize.X), (double)TextSize.Y);
}

int32 STextBlock::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	// The width painted at is the width automatic wrapping uses from now on.
	CachedSize = AllottedGeometry.GetLocalSize().ToVector2f();

	const float Scale = AllottedGeometry.Scale > 0.0f ? AllottedGeometry.Scale : 1.0f;
	const FLayoutCache& Cache = GetLayout(Scale, CalculateWrappingWidth());
	const UE::Host::FTextLayoutResult& Result = Cache.Result;

	const bool bIsEnabled = ShouldBeEnabled(bParentEnabled);
	const ESlateDrawEffect DrawEffects = bIsEnabled ? ESlateDrawEffect::None : ESlateDrawEffect::DisabledEffect;
	const FLinearColor TextColor = ColorAndOpacity.GetColor(InWidgetStyle) * InWidgetStyle.GetColorAndOpacityTint();
	const bool bDropShadow = ShadowColorAndOpacity.A > 0.0f && ShadowOffset.SizeSquared() > 0.0;
	const FLinearColor ShadowColor = ShadowColorAndOpacity * InWidgetStyle.GetColorAndOpacityTint();

	// Justification places each line within the wider of the text and the allotted width, less the margin.
	const float MarginX = Margin.GetTotalSpaceAlong<Orient_Horizontal>() * Scale;
	const float LayoutWidthNoMargin = FMath::Max(Result.DrawSize.X, CachedSize.X * Scale) - MarginX;
	const bool bRightToLeft = false;

	int32 MaxLayerId = LayerId;
	for (int32 LineIndex = 0; LineIndex < Result.Lines.Num(); ++LineIndex)
	{
		const UE::Host::FTextLayoutLine& Line = Result.Lines[LineIndex];
		float OffsetX = 0.0f;
		switch (Justification)
		{
		case ETextJustify::Center:
			OffsetX = (LayoutWidthNoMargin - Line.Width) / 2.0f;
			break;
		case ETextJustify::Right:
		case ETextJustify::InvariantRight:
			OffsetX = LayoutWidthNoMargin - Line.Width;
			break;
		default:
			OffsetX = bRightToLeft ? LayoutWidthNoMargin - Line.Width : 0.0f;
			break;
		}

		const FVector2f LinePosition(Margin.Left + OffsetX / Scale, Margin.Top + (Result.LineHeight * (float)LineIndex) / Scale);
		const FVector2f LineSize(Line.Width / Scale, Result.LineHeight / Scale);

		if (bDropShadow)
		{
			const FVector2f ShadowPosition = LinePosition + UE::Slate::CastToVector2f(ShadowOffset);
			FSlateDrawElement::MakeText(OutDrawElements, ++MaxLayerId, AllottedGeometry.ToPaintGeometry(LineSize, FSlateLayoutTransform(ShadowPosition)), Line.Text, Font, DrawEffects, ShadowColor);
		}
		FSlateDrawElement::MakeText(OutDrawElements, ++MaxLayerId, AllottedGeometry.ToPaintGeometry(LineSize, FSlateLayoutTransform(LinePosition)), Line.Text, Font, DrawEffects, TextColor);
	}
	return MaxLayerId;
}

void STextBlock::SetText(const FText& InText)
{
	if (!BoundText.IdenticalTo(InText) || !BoundText.ToString().Equals(InText.ToString(), ESearchCase::CaseSensitive))
	{
		BoundText = InText;
		Invalidate(EInvalidateWidgetReason::Layout);
	}
}

void STextBlock::SetFont(const FSlateFontInfo& InFont)
{
	Font = InFont;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetColorAndOpacity(const FSlateColor& InColorAndOpacity)
{
	ColorAndOpacity = InColorAndOpacity;
	Invalidate(EInvalidateWidgetReason::Paint);
}

void STextBlock::SetShadowOffset(const FVector2D& InShadowOffset)
{
	ShadowOffset = InShadowOffset;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetShadowColorAndOpacity(const FLinearColor& InShadowColorAndOpacity)
{
	ShadowColorAndOpacity = InShadowColorAndOpacity;
	Invalidate(EInvalidateWidgetReason::Paint);
}

void STextBlock::SetMinDesiredWidth(float InMinDesiredWidth)
{
	MinDesiredWidth = InMinDesiredWidth;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetWrapTextAt(float InWrapTextAt)
{
	WrapTextAt = InWrapTextAt;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetAutoWrapText(bool InAutoWrapText)
{
	bAutoWrapText = InAutoWrapText;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetWrappingPolicy(ETextWrappingPolicy InWrappingPolicy)
{
	WrappingPolicy = InWrappingPolicy;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetLineHeightPercentage(float InLineHeightPercentage)
{
	LineHeightPercentage = InLineHeightPercentage;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetMargin(const FMargin& InMargin)
{
	Margin = InMargin;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void STextBlock::SetJustification(ETextJustify::Type InJustification)
{
	Justification = InJustification;
	Invalidate(EInvalidateWidgetReason::Layout);
}
