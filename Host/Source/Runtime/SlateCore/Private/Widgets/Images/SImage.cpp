// Copyright Quarn. All Rights Reserved.

#include "Widgets/Images/SImage.h"
#include "Layout/FlowDirection.h"
#include "Rendering/DrawElements.h"

SImage::SImage()
	: Image(nullptr)
	, ColorAndOpacity(FLinearColor::White)
	, bFlipForRightToLeftFlowDirection(false)
{
	SetCanTick(false);
	bCanSupportFocus = false;
}

void SImage::Construct(const FArguments& InArgs)
{
	Image = InArgs._Image;
	ColorAndOpacity = InArgs._ColorAndOpacity;
	DesiredSizeOverride = InArgs._DesiredSizeOverride;
	bFlipForRightToLeftFlowDirection = InArgs._FlipForRightToLeftFlowDirection;
}

int32 SImage::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	const FSlateBrush* ImageBrush = Image;
	if (ImageBrush != nullptr && ImageBrush->DrawAs != ESlateBrushDrawType::NoDrawType)
	{
		const bool bIsEnabled = ShouldBeEnabled(bParentEnabled);
		const ESlateDrawEffect DrawEffects = bIsEnabled ? ESlateDrawEffect::None : ESlateDrawEffect::DisabledEffect;

		const FLinearColor FinalColorAndOpacity(InWidgetStyle.GetColorAndOpacityTint() * ColorAndOpacity.GetColor(InWidgetStyle) * ImageBrush->GetTint(InWidgetStyle));

		if (bFlipForRightToLeftFlowDirection && GSlateFlowDirection == EFlowDirection::RightToLeft)
		{
			const FGeometry FlippedGeometry = AllottedGeometry.MakeChild(FSlateRenderTransform(FScale2f(-1.0f, 1.0f)));
			FSlateDrawElement::MakeBox(OutDrawElements, LayerId, FlippedGeometry.ToPaintGeometry(), ImageBrush, DrawEffects, FinalColorAndOpacity);
		}
		else
		{
			FSlateDrawElement::MakeBox(OutDrawElements, LayerId, AllottedGeometry.ToPaintGeometry(), ImageBrush, DrawEffects, FinalColorAndOpacity);
		}
	}
	return LayerId;
}

FVector2D SImage::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	if (Image != nullptr)
	{
		return DesiredSizeOverride.IsSet() ? DesiredSizeOverride.GetValue() : FVector2D((double)Image->ImageSize.X, (double)Image->ImageSize.Y);
	}
	return FVector2D(0.0, 0.0);
}

void SImage::SetColorAndOpacity(const FSlateColor& InColorAndOpacity)
{
	if (ColorAndOpacity != InColorAndOpacity)
	{
		ColorAndOpacity = InColorAndOpacity;
		Invalidate(EInvalidateWidgetReason::Paint);
	}
}

void SImage::SetColorAndOpacity(FLinearColor InColorAndOpacity)
{
	SetColorAndOpacity(FSlateColor(InColorAndOpacity));
}

void SImage::SetImage(const FSlateBrush* InImage)
{
	if (Image != InImage)
	{
		Image = InImage;
		Invalidate(EInvalidateWidgetReason::Layout);
	}
}

void SImage::InvalidateImage()
{
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SImage::SetDesiredSizeOverride(TOptional<FVector2D> InDesiredSizeOverride)
{
	DesiredSizeOverride = InDesiredSizeOverride;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SImage::FlipForRightToLeftFlowDirection(bool InbFlipForRightToLeftFlowDirection)
{
	if (InbFlipForRightToLeftFlowDirection != bFlipForRightToLeftFlowDirection)
	{
		bFlipForRightToLeftFlowDirection = InbFlipForRightToLeftFlowDirection;
		Invalidate(EInvalidateWidgetReason::Paint);
	}
}
