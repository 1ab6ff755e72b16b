// Copyright Quarn. All Rights Reserved.

#include "Widgets/Layout/SBox.h"
#include "Layout/LayoutUtils.h"
#include "Rendering/DrawElements.h"

SBox::SBox()
	: ChildSlot(this)
{
	SetCanTick(false);
	bCanSupportFocus = false;
}

void SBox::Construct(const FArguments& InArgs)
{
	WidthOverride = InArgs._WidthOverride;
	HeightOverride = InArgs._HeightOverride;
	MinDesiredWidth = InArgs._MinDesiredWidth;
	MinDesiredHeight = InArgs._MinDesiredHeight;
	MaxDesiredWidth = InArgs._MaxDesiredWidth;
	MaxDesiredHeight = InArgs._MaxDesiredHeight;
	MinAspectRatio = InArgs._MinAspectRatio;
	MaxAspectRatio = InArgs._MaxAspectRatio;

	ChildSlot
		.HAlign(InArgs._HAlign)
		.VAlign(InArgs._VAlign)
		.Padding(InArgs._Padding)
		[
			InArgs._Content.Widget
		];
}

FChildren* SBox::GetChildren()
{
	return &ChildSlot;
}

void SBox::SetContent(const TSharedRef<SWidget>& InContent)
{
	ChildSlot[InContent];
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBox::SetHAlign(EHorizontalAlignment HAlign)
{
	if (ChildSlot.GetHorizontalAlignment() != HAlign)
	{
		ChildSlot.SetHorizontalAlignment(HAlign);
		Invalidate(EInvalidateWidgetReason::Layout);
	}
}

void SBox::SetVAlign(EVerticalAlignment VAlign)
{
	if (ChildSlot.GetVerticalAlignment() != VAlign)
	{
		ChildSlot.SetVerticalAlignment(VAlign);
		Invalidate(EInvalidateWidgetReason::Layout);
	}
}

void SBox::SetPadding(const FMargin& InPadding)
{
	ChildSlot.SetPadding(InPadding);
	Invalidate(EInvalidateWidgetReason::LayoutAndVolatility);
}

void SBox::SetWidthOverride(FOptionalSize InWidthOverride)
{
	WidthOverride = InWidthOverride;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBox::SetHeightOverride(FOptionalSize InHeightOverride)
{
	HeightOverride = InHeightOverride;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBox::SetMinDesiredWidth(FOptionalSize InMinDesiredWidth)
{
	MinDesiredWidth = InMinDesiredWidth;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBox::SetMinDesiredHeight(FOptionalSize InMinDesiredHeight)
{
	MinDesiredHeight = InMinDesiredHeight;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBox::SetMaxDesiredWidth(FOptionalSize InMaxDesiredWidth)
{
	MaxDesiredWidth = InMaxDesiredWidth;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBox::SetMaxDesiredHeight(FOptionalSize InMaxDesiredHeight)
{
	MaxDesiredHeight = InMaxDesiredHeight;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SBox::SetMinAspectRatio(FOptionalSize InMinAspectRatio)
{
	MinAspectRatio = InMinAspectRatio;
	Invalidate(EInvalidateWidgetReason::LayoutAndVolatility);
}

void SBox::SetMaxAspectRatio(FOptionalSize InMaxAspectRatio)
{
	MaxAspectRatio = InMaxAspectRatio;
	Invalidate(EInvalidateWidgetReason::Layout);
}

FVector2D SBox::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	// A collapsed child makes the box take no space, overrides or not.
	const EVisibility ChildVisibility = ChildSlot.GetWidget()->GetVisibility();
	if (ChildVisibility != EVisibility::Collapsed)
	{
		return FVector2D(
			WidthOverride.IsSet() ? (double)WidthOverride.Get() : (double)ComputeDesiredWidth(),
			HeightOverride.IsSet() ? (double)HeightOverride.Get() : (double)ComputeDesiredHeight());
	}
	return FVector2D(0.0, 0.0);
}

float SBox::ComputeDesiredWidth() const
{
	// The content and its padding, clamped by the minimum and maximum when given.
	const FVector2D UnmodifiedChildDesiredSize = ChildSlot.GetWidget()->GetDesiredSize() + ChildSlot.GetPadding().GetDesiredSize();
	float CurrentWidth = (float)UnmodifiedChildDesiredSize.X;
	if (MinDesiredWidth.IsSet())
	{
		CurrentWidth = FMath::Max(CurrentWidth, MinDesiredWidth.Get());
	}
	if (MaxDesiredWidth.IsSet())
	{
		CurrentWidth = FMath::Min(CurrentWidth, MaxDesiredWidth.Get());
	}
	return CurrentWidth;
}

float SBox::ComputeDesiredHeight() const
{
	const FVector2D UnmodifiedChildDesiredSize = ChildSlot.GetWidget()->GetDesiredSize() + ChildSlot.GetPadding().GetDesiredSize();
	float CurrentHeight = (float)UnmodifiedChildDesiredSize.Y;
	if (MinDesiredHeight.IsSet())
	{
		CurrentHeight = FMath::Max(CurrentHeight, MinDesiredHeight.Get());
	}
	if (MaxDesiredHeight.IsSet())
	{
		CurrentHeight = FMath::Min(CurrentHeight, MaxDesiredHeight.Get());
	}
	return CurrentHeight;
}

void SBox::OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const
{
	const EVisibility ChildVisibility = ChildSlot.GetWidget()->GetVisibility();
	if (!ArrangedChildren.Accepts(ChildVisibility))
	{
		return;
	}

	const FMargin SlotPadding(ChildSlot.GetPadding());
	const FVector2f LocalSize = AllottedGeometry.GetLocalSize().ToVector2f();
	bool bAlignChildren = true;

	AlignmentArrangeResult XAlignmentResult(0, 0);
	AlignmentArrangeResult YAlignmentResult(0, 0);

	if (MaxAspectRatio.IsSet() || MinAspectRatio.IsSet())
	{
		const FVector2D ChildDesired = ChildSlot.GetWidget()->GetDesiredSize();
		const float CurrentWidth = FMath::Min(LocalSize.X, (float)ChildDesired.X);
		const float CurrentHeight = FMath::Min(LocalSize.Y, (float)ChildDesired.Y);

		const float MinAspectRatioWidth = MinAspectRatio.IsSet() ? MinAspectRatio.Get() : 0.0f;
		const float MaxAspectRatioWidth = MaxAspectRatio.IsSet() ? MaxAspectRatio.Get() : 0.0f;
		if (CurrentHeight > 0 && CurrentWidth > 0)
		{
			const float CurrentRatioWidth = (LocalSize.X / LocalSize.Y);
			const bool bFitMaxRatio = (CurrentRatioWidth > MaxAspectRatioWidth && MaxAspectRatioWidth != 0);
			const bool bFitMinRatio = (CurrentRatioWidth < MinAspectRatioWidth && MinAspectRatioWidth != 0);
			if (bFitMaxRatio || bFitMinRatio)
			{
				XAlignmentResult = AlignChild<Orient_Horizontal>(LocalSize.X, ChildSlot, SlotPadding);
				YAlignmentResult = AlignChild<Orient_Vertical>(LocalSize.Y, ChildSlot, SlotPadding);

				float NewWidth;
				float NewHeight;
				if (bFitMaxRatio)
				{
					const float MaxAspectRatioHeight = 1.0f / MaxAspectRatioWidth;
					NewWidth = MaxAspectRatioWidth * XAlignmentResult.Size;
					NewHeight = MaxAspectRatioHeight * NewWidth;
				}
				else
				{
					const float MinAspectRatioHeight = 1.0f / MinAspectRatioWidth;
					NewWidth = MinAspectRatioWidth * XAlignmentResult.Size;
					NewHeight = MinAspectRatioHeight * NewWidth;
				}

				const float MaxWidth = LocalSize.X - SlotPadding.GetTotalSpaceAlong<Orient_Horizontal>();
				const float MaxHeight = LocalSize.Y - SlotPadding.GetTotalSpaceAlong<Orient_Vertical>();
				if (NewWidth > MaxWidth)
				{
					const float Scale = MaxWidth / NewWidth;
					NewWidth *= Scale;
					NewHeight *= Scale;
				}
				if (NewHeight > MaxHeight)
				{
					const float Scale = MaxHeight / NewHeight;
					NewWidth *= Scale;
					NewHeight *= Scale;
				}

				XAlignmentResult.Size = NewWidth;
				YAlignmentResult.Size = NewHeight;
				bAlignChildren = false;
			}
		}
	}

	if (bAlignChildren)
	{
		XAlignmentResult = AlignChild<Orient_Horizontal>(LocalSize.X, ChildSlot, SlotPadding);
		YAlignmentResult = AlignChild<Orient_Vertical>(LocalSize.Y, ChildSlot, SlotPadding);
	}

	ArrangedChildren.AddWidget(AllottedGeometry.MakeChild(ChildSlot.GetWidget(), FVector2f(XAlignmentResult.Offset, YAlignmentResult.Offset), FVector2f(XAlignmentResult.Size, YAlignmentResult.Size)));
}

int32 SBox::OnPaint(const FPaintArgs& Args, const FGeometry& AllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	// A box just draws its only child.
	FArrangedChildren ArrangedChildren(EVisibility::Visible);
	ArrangeChildren(AllottedGeometry, ArrangedChildren);
	if (ArrangedChildren.Num() > 0)
	{
		check(ArrangedChildren.Num() == 1);
		const FArrangedWidget& TheChild = ArrangedChildren[0];
		return TheChild.Widget->Paint(Args.WithNewParent(this), TheChild.Geometry, MyCullingRect, OutDrawElements, LayerId, InWidgetStyle, ShouldBeEnabled(bParentEnabled));
	}
	return LayerId;
}
