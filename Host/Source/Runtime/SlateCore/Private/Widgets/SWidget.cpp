// Copyright Quarn. All Rights Reserved.

#include "Widgets/SWidget.h"
#include "Host/HostToolTip.h"
#include "Layout/Children.h"
#include "Rendering/DrawElements.h"
#include "Widgets/IToolTip.h"

SWidget::SWidget()
	: Visibility(EVisibility::Visible)
	, TypeOfWidget(TEXT("SWidget"))
{
}

SWidget::~SWidget()
{
}

void SWidget::SWidgetConstruct(const FSlateBaseNamedArgs& Args)
{
	Visibility = Args._Visibility;
	bIsEnabled = Args._IsEnabled;
	Tag = Args._Tag;
	if (Args._ToolTip.IsValid())
	{
		ToolTip = Args._ToolTip;
	}
	else if (Args._bToolTipTextSet)
	{
		SetToolTipText(Args._ToolTipText);
	}
	bIsConstructed = true;
}

void SWidget::SlatePrepass()
{
	SlatePrepass(1.0f);
}

void SWidget::SlatePrepass(float InLayoutScaleMultiplier)
{
	Prepass_Internal(InLayoutScaleMultiplier);
}

void SWidget::Prepass_Internal(float InLayoutScaleMultiplier)
{
	PrepassLayoutScaleMultiplier = InLayoutScaleMultiplier;
	if (bCanHaveChildren)
	{
		// Children first: a widget's desired size is computed from its children's.
		FChildren* MyChildren = GetChildren();
		const int32 NumChildren = MyChildren->Num();
		for (int32 ChildIndex = 0; ChildIndex < NumChildren; ++ChildIndex)
		{
			const TSharedRef<SWidget> Child = MyChildren->GetChildAt(ChildIndex);
			if (Child->GetVisibility() != EVisibility::Collapsed)
			{
				const float ChildLayoutScaleMultiplier = bHasRelativeLayoutScale ? InLayoutScaleMultiplier * GetRelativeLayoutScale(ChildIndex, InLayoutScaleMultiplier) : InLayoutScaleMultiplier;
				Child->Prepass_Internal(ChildLayoutScaleMultiplier);
			}
		}
	}
	CacheDesiredSize(PrepassLayoutScaleMultiplier);
}

void SWidget::CacheDesiredSize(float InLayoutScaleMultiplier)
{
	DesiredSize = ComputeDesiredSize(InLayoutScaleMultiplier);
}

FVector2D SWidget::GetDesiredSize() const
{
	return DesiredSize;
}

void SWidget::ArrangeChildren(const FGeometry& InAllottedGeometry, FArrangedChildren& ArrangedChildren, bool bUpdateAttributes) const
{
	OnArrangeChildren(InAllottedGeometry, ArrangedChildren);
}

int32 SWidget::Paint(const FPaintArgs& Args, const FGeometry& InAllottedGeometry, const FSlateRect& MyCullingRect, FSlateWindowElementList& OutDrawElements, int32 LayerId, const FWidgetStyle& InWidgetStyle, bool bParentEnabled) const
{
	// The paint geometry is in window space; tick space adds the window's desktop position.
	AllottedGeometry = InAllottedGeometry;
	FGeometry DesktopSpaceGeometry = InAllottedGeometry;
	DesktopSpaceGeometry.AppendTransform(FSlateLayoutTransform(Args.GetWindowToDesktopTransform()));
	DesktopGeometry = DesktopSpaceGeometry;

	const FPaintArgs UpdatedArgs = Args.WithNewParent(this);
	const FWidgetStyle ContentWidgetStyle = FWidgetStyle(InWidgetStyle).BlendOpacity(RenderOpacity);
	return OnPaint(UpdatedArgs, InAllottedGeometry, MyCullingRect, OutDrawElements, LayerId, ContentWidgetStyle, bParentEnabled);
}

bool SWidget::IsChildWidgetCulled(const FSlateRect& MyCullingRect, const FArrangedWidget& ArrangedChild) const
{
	// A child is painted when either its rendered or its layout bounds touch the culling rectangle.
	if (FSlateRect::DoRectanglesIntersect(MyCullingRect, ArrangedChild.Geometry.GetRenderBoundingRect()))
	{
		return false;
	}
	if (FSlateRect::DoRectanglesIntersect(MyCullingRect, ArrangedChild.Geometry.GetLayoutBoundingRect()))
	{
		return false;
	}
	return true;
}

void SWidget::SetVisibility(EVisibility InVisibility)
{
	if (Visibility != InVisibility)
	{
		Visibility = InVisibility;
		Invalidate(EInvalidateWidgetReason::Visibility);
	}
}

void SWidget::SetEnabled(bool bInIsEnabled)
{
	if (bIsEnabled != bInIsEnabled)
	{
		bIsEnabled = bInIsEnabled;
		Invalidate(EInvalidateWidgetReason::Paint);
	}
}

void SWidget::SetRenderOpacity(float InRenderOpacity)
{
	if (RenderOpacity != InRenderOpacity)
	{
		RenderOpacity = InRenderOpacity;
		Invalidate(EInvalidateWidgetReason::Paint);
	}
}

void SWidget::SetToolTipText(const FText& InToolTipText)
{
	ToolTip = SNew(SHostTextToolTip).Text(InToolTipText);
}

void SWidget::SetToolTip(const TSharedPtr<IToolTip>& InToolTip)
{
	ToolTip = InToolTip;
}

TSharedPtr<IToolTip> SWidget::GetToolTip()
{
	return ToolTip;
}

FString SWidget::GetTypeAsString() const
{
	return TypeOfWidget.ToString();
}

FString SWidget::ToString() const
{
	return GetTypeAsString();
}

void SWidget::SetDebugInfo(const ANSICHAR* InType, const ANSICHAR* InFile, int32 OnLine)
{
	TypeOfWidget = FName(UTF8_TO_TCHAR(InType));
}

void SWidget::AssignParentWidget(TSharedPtr<SWidget> InParent)
{
	ParentWidgetPtr = InParent;
}

bool SWidget::ConditionallyDetatchParentWidget(SWidget* InExpectedParent)
{
	const TSharedPtr<SWidget> Parent = ParentWidgetPtr.Pin();
	if (Parent.Get() == InExpectedParent)
	{
		ParentWidgetPtr.Reset();
		return true;
	}
	return false;
}

void SWidget::Invalidate(EInvalidateWidgetReason InvalidateReason)
{
	++InvalidationCount;
}
