// Copyright Quarn. All Rights Reserved.

#include "Widgets/Layout/SDPIScaler.h"

SDPIScaler::SDPIScaler()
	: ChildSlot(this)
	, DPIScale(1.0f)
{
	SetCanTick(false);
	bCanSupportFocus = false;
	bHasRelativeLayoutScale = true;
}

void SDPIScaler::Construct(const FArguments& InArgs)
{
	DPIScale = InArgs._DPIScale;
	ChildSlot[InArgs._Content.Widget];
}

void SDPIScaler::SetContent(TSharedRef<SWidget> InContent)
{
	ChildSlot[InContent];
}

void SDPIScaler::SetDPIScale(float InDPIScale)
{
	DPIScale = InDPIScale;
	Invalidate(EInvalidateWidgetReason::Layout);
}

FChildren* SDPIScaler::GetChildren()
{
	return &ChildSlot;
}

float SDPIScaler::GetRelativeLayoutScale(int32 ChildIndex, float LayoutScaleMultiplier) const
{
	return DPIScale;
}

void SDPIScaler::OnArrangeChildren(const FGeometry& AllottedGeometry, FArrangedChildren& ArrangedChildren) const
{
	// The scaler's own visibility decides, as in the engine: the child fills it at a smaller local size.
	const EVisibility MyVisibility = GetVisibility();
	if (ArrangedChildren.Accepts(MyVisibility))
	{
		const float MyDPIScale = DPIScale;
		ArrangedChildren.AddWidget(AllottedGeometry.MakeChild(ChildSlot.GetWidget(), FVector2f(0.0f, 0.0f), AllottedGeometry.GetLocalSize().ToVector2f() / MyDPIScale, MyDPIScale));
	}
}

FVector2D SDPIScaler::ComputeDesiredSize(float LayoutScaleMultiplier) const
{
	return ChildSlot.GetWidget()->GetDesiredSize() * (double)DPIScale;
}
