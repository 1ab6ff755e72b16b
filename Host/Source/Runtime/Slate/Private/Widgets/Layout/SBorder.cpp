// Copyright Quarn. All Rights Reserved.

#include "Widgets/Layout/SBorder.h"
#include "Layout/FlowDirection.h"
#include "Rendering/DrawElements.h"

const FSlateBrush* SBorder::GetDefaultBorderBrush()
{
	static const FSlateBrush DefaultBrush;
	return &DefaultBrush;
}

SBorder::SBorder()
	: BorderImage(GetDefaultBorderBrush())
	, BorderBackgroundColor(FLinearColor::White)
	, DesiredSizeScale(1.0, 1.0)
	, bShowDisabledEffect(true)
	, bFlipForRightToLeftFlowDirection(false)
{
	SetCanTick(false);
	bCanSupportFocus = false;
}

void SBorder::Construct(const FArguments& InArgs)
{
	SetContentScale(InArgs._ContentScale);
	SetColorAndOpacity(InArgs._ColorAndOpacity);
	SetDesiredSizeScale(InArgs._DesiredSizeScale);
	SetShowEffectWhenDisabled(InArgs._ShowEffectWhenDisabled);
	bFlipForRightToLeftFlowDirection = InArgs._FlipForRightToLeftFlowDirection;
	SetBorderImage(InArgs._BorderImage);
	SetBorderBackgroundColor(InArgs._BorderBackgroundColor);
	SetForegroundColor(InArgs._ForegroundColor);

	ChildSlot
		.HAlign(InArgs._HAlign)
		.VAlign(InArgs._VAlign)
		.Padding(InArgs._Padding)
		[
			InArgs._Content.Widget
		];
}

void SBorder::SetContent(TSharedRef<SWidget> InContent)
{
	ChildSlot[InContent];
}

const TSharedRef<SWidget>& SBorder::GetContent() const
{
	return ChildSlot.GetWidget();
}

void SBorder::ClearContent()
{
	ChildSlot.DetachWidget();
}

int32 SBorder::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	const FSlateBrush* BrushResource = BorderImage;
	const bool bEnabled = ShouldBeEnabled(bParentEnabled);

	if (BrushResource && BrushResource->DrawAs != ESlateBrushDrawType::NoDrawType)
	{
		const ESlateDrawEffect DrawEffects = (bShowDisabledEffect && !bEnabled) ? ESlateDrawEffect::DisabledEffect : ESlateDrawEffect::None;
		const FLinearColor Tint = BrushResource->GetTint(InWidgetStyle) * InWidgetStyle.GetColorAndOpacityTint() * BorderBackgroundColor.GetColor(InWidgetStyle);

		if (bFlipForRightToLeftFlowDirection && GSlateFlowDirection == EFlowDirection::RightToLeft)
		{
			const FGeometry FlippedGeometry = AllottedGeometry.MakeChild(FSlateRenderTransform(FScale2f(-1.0f, 1.0f)));
			FSlateDrawElement::MakeBox(OutDrawElements, LayerId, FlippedGeometry.ToPaintGeometry(), BrushResource, DrawEffects, Tint);
		}
		else
		{
			FSlateDrawElement::MakeBox(OutDrawElements, LayerId, AllottedGeometry.ToPaintGeometry(), BrushResource, DrawEffects, Tint);
		}
	}

	return SCompoundWidget::OnPaint(Args, AllottedGeometry, MyCullingRect, OutDrawElements, LayerId, InWidgetStyle, bEnabled);
}

FVector2D SBorder::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	return DesiredSizeScale * SCompoundWidget::ComputeDesiredSize(LayoutScaleMultiplier);
}

void SBorder::SetBorderBackgroundColor(FSlateColor InColorAndOpacity)
{
	BorderBackgroundColor = InColorAndOpacity;
	Invalidate(EInvalidateWidgetReason::Paint);
}

void SBorder::SetDesiredSizeScale(FVector2D InDesiredSizeScale)
{
	DesiredSizeScale = InDesiredSizeScale;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBorder::SetHAlign(EHorizontalAlignment HAlign)
{
	if (ChildSlot.GetHorizontalAlignment() != HAlign)
	{
		ChildSlot.SetHorizontalAlignment(HAlign);
		Invalidate(EInvalidateWidgetReason::Layout);
	}
}

void SBorder::SetVAlign(EVerticalAlignment VAlign)
{
	if (ChildSlot.GetVerticalAlignment() != VAlign)
	{
		ChildSlot.SetVerticalAlignment(VAlign);
		Invalidate(EInvalidateWidgetReason::Layout);
	}
}

void SBorder::SetPadding(FMargin InPadding)
{
	ChildSlot.SetPadding(InPadding);
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBorder::SetShowEffectWhenDisabled(bool InShowEffectWhenDisabled)
{
	bShowDisabledEffect = InShowEffectWhenDisabled;
	Invalidate(EInvalidateWidgetReason::Paint);
}

void SBorder::SetBorderImage(const FSlateBrush* InBorderImage)
{
	BorderImage = InBorderImage;
	Invalidate(EInvalidateWidgetReason::Paint);
}
