// Copyright Quarn. All Rights Reserved.

#include "Layout/Geometry.h"
#include "Layout/ArrangedWidget.h"
#include "Widgets/SWidget.h"

namespace
{
	FSlateRenderTransform Translation(const FVector2f& InTranslation)
	{
		return FSlateRenderTransform(InTranslation);
	}
}

FGeometry::FGeometry()
	: Size(0.0f, 0.0f)
	, Scale(1.0f)
	, AbsolutePosition(0.0f, 0.0f)
	, Position(0.0f, 0.0f)
	, AccumulatedRenderTransform()
	, bHasRenderTransform(false)
{
}

FGeometry::FGeometry(const FVector2f& InLocalSize, const FSlateLayoutTransform& InLocalLayoutTransform, const FSlateLayoutTransform& ParentAccumulatedLayoutTransform, const FSlateRenderTransform& ParentAccumulatedRenderTransform, bool bParentHasRenderTransform)
	: Size(InLocalSize)
	, Scale(1.0f)
	, AbsolutePosition(0.0f, 0.0f)
	, Position(0.0f, 0.0f)
	, AccumulatedRenderTransform(Concatenate(InLocalLayoutTransform, ParentAccumulatedRenderTransform))
	, bHasRenderTransform(bParentHasRenderTransform)
{
	const FSlateLayoutTransform AccumulatedLayoutTransform = Concatenate(InLocalLayoutTransform, ParentAccumulatedLayoutTransform);
	const_cast<FVector2f&>(AbsolutePosition) = AccumulatedLayoutTransform.GetTranslation().ToVector2f();
	const_cast<float&>(Scale) = AccumulatedLayoutTransform.GetScale();
	const_cast<FVector2f&>(Position) = InLocalLayoutTransform.GetTranslation().ToVector2f();
}

FGeometry::FGeometry(const FVector2f& InLocalSize, const FSlateLayoutTransform& InLocalLayoutTransform, const FSlateRenderTransform& InLocalRenderTransform, const FVector2f& InLocalRenderTransformPivot, const FSlateLayoutTransform& ParentAccumulatedLayoutTransform, const FSlateRenderTransform& ParentAccumulatedRenderTransform)
	: Size(InLocalSize)
	, Scale(1.0f)
	, AbsolutePosition(0.0f, 0.0f)
	, Position(0.0f, 0.0f)
	, AccumulatedRenderTransform()
	, bHasRenderTransform(true)
{
	// The render transform turns about the pivot in local space, then layout and the parent apply.
	const FVector2f PivotInLocalSpace = InLocalRenderTransformPivot * InLocalSize;
	AccumulatedRenderTransform = Translation(-PivotInLocalSpace)
		.Concatenate(InLocalRenderTransform)
		.Concatenate(Translation(PivotInLocalSpace))
		.Concatenate(ToRenderTransform(InLocalLayoutTransform))
		.Concatenate(ParentAccumulatedRenderTransform);

	const FSlateLayoutTransform AccumulatedLayoutTransform = Concatenate(InLocalLayoutTransform, ParentAccumulatedLayoutTransform);
	const_cast<FVector2f&>(AbsolutePosition) = AccumulatedLayoutTransform.GetTranslation().ToVector2f();
	const_cast<float&>(Scale) = AccumulatedLayoutTransform.GetScale();
	const_cast<FVector2f&>(Position) = InLocalLayoutTransform.GetTranslation().ToVector2f();
}

FGeometry FGeometry::MakeRoot(const UE::Slate::FDeprecateVector2DParameter& LocalSize, const FSlateLayoutTransform& LayoutTransform)
{
	return FGeometry(LocalSize.ToVector2f(), LayoutTransform, FSlateLayoutTransform(), FSlateRenderTransform(), false);
}

FGeometry FGeometry::MakeRoot(const UE::Slate::FDeprecateVector2DParameter& LocalSize, const FSlateLayoutTransform& LayoutTransform, const FSlateRenderTransform& RenderTransform, const UE::Slate::FDeprecateVector2DParameter& RenderTransformPivot)
{
	return FGeometry(LocalSize.ToVector2f(), LayoutTransform, RenderTransform, RenderTransformPivot.ToVector2f(), FSlateLayoutTransform(), FSlateRenderTransform());
}

FGeometry FGeometry::MakeChild(const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& LayoutTransform) const
{
	return FGeometry(InLocalSize.ToVector2f(), LayoutTransform, GetAccumulatedLayoutTransform(), GetAccumulatedRenderTransform(), bHasRenderTransform);
}

FGeometry FGeometry::MakeChild(const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& LayoutTransform, const FSlateRenderTransform& RenderTransform, const UE::Slate::FDeprecateVector2DParameter& RenderTransformPivot) const
{
	return FGeometry(InLocalSize.ToVector2f(), LayoutTransform, RenderTransform, RenderTransformPivot.ToVector2f(), GetAccumulatedLayoutTransform(), GetAccumulatedRenderTransform());
}

FGeometry FGeometry::MakeChild(const FSlateRenderTransform& RenderTransform, const UE::Slate::FDeprecateVector2DParameter& RenderTransformPivot) const
{
	return FGeometry(Size, FSlateLayoutTransform(), RenderTransform, RenderTransformPivot.ToVector2f(), GetAccumulatedLayoutTransform(), GetAccumulatedRenderTransform());
}

FArrangedWidget FGeometry::MakeChild(const TSharedRef<SWidget>& ChildWidget, const UE::Slate::FDeprecateVector2DParameter& ChildOffset, const UE::Slate::FDeprecateVector2DParameter& InLocalSize, float ChildScale) const
{
	return MakeChild(ChildWidget, InLocalSize, FSlateLayoutTransform(ChildScale, ChildOffset));
}

FArrangedWidget FGeometry::MakeChild(const TSharedRef<SWidget>& ChildWidget, const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& LayoutTransform) const
{
	return FArrangedWidget(ChildWidget, MakeChild(InLocalSize, LayoutTransform));
}

FPaintGeometry FGeometry::ToPaintGeometry() const
{
	return FPaintGeometry(GetAccumulatedLayoutTransform(), GetAccumulatedRenderTransform(), Size, bHasRenderTransform);
}

FPaintGeometry FGeometry::ToPaintGeometry(const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& InLayoutTransform) const
{
	const FSlateLayoutTransform NewAccumulatedLayoutTransform = Concatenate(InLayoutTransform, GetAccumulatedLayoutTransform());
	return FPaintGeometry(NewAccumulatedLayoutTransform, Concatenate(InLayoutTransform, GetAccumulatedRenderTransform()), InLocalSize, bHasRenderTransform);
}

FPaintGeometry FGeometry::ToPaintGeometry(const FSlateLayoutTransform& InLayoutTransform) const
{
	return ToPaintGeometry(Size, InLayoutTransform);
}

FPaintGeometry FGeometry::ToOffsetPaintGeometry(const UE::Slate::FDeprecateVector2DParameter& LocalOffset) const
{
	return ToPaintGeometry(FSlateLayoutTransform(LocalOffset));
}

bool FGeometry::IsUnderLocation(const UE::Slate::FDeprecateVector2DParameter& AbsoluteCoordinate) const
{
	// The local rectangle through the render transform: a corner and two edge vectors.
	const FVector2f TopLeft = AccumulatedRenderTransform.TransformPoint(FVector2f(0.0f, 0.0f));
	const FVector2f ExtentX = AccumulatedRenderTransform.TransformVector(FVector2f(Size.X, 0.0f));
	const FVector2f ExtentY = AccumulatedRenderTransform.TransformVector(FVector2f(0.0f, Size.Y));
	const FVector2f Offset = AbsoluteCoordinate.ToVector2f() - TopLeft;
	const float Det = FVector2f::CrossProduct(ExtentX, ExtentY);
	if (Det == 0.0f)
	{
		return false;
	}
	const float S = -FVector2f::CrossProduct(Offset, ExtentX) / Det;
	if (S >= 0.0f && S <= 1.0f)
	{
		const float T = FVector2f::CrossProduct(Offset, ExtentY) / Det;
		return T >= 0.0f && T <= 1.0f;
	}
	return false;
}

namespace
{
	FSlateRect BoundingRectOf(const FSlateRenderTransform& Transform, const FVector2f& LocalSize)
	{
		const FVector2f Corners[4] = {
			Transform.TransformPoint(FVector2f(0.0f, 0.0f)),
			Transform.TransformPoint(FVector2f(LocalSize.X, 0.0f)),
			Transform.TransformPoint(FVector2f(0.0f, LocalSize.Y)),
			Transform.TransformPoint(LocalSize),
		};
		FSlateRect Rect(Corners[0].X, Corners[0].Y, Corners[0].X, Corners[0].Y);
		for (const FVector2f& Corner : Corners)
		{
			Rect.Left = FMath::Min(Rect.Left, Corner.X);
			Rect.Top = FMath::Min(Rect.Top, Corner.Y);
			Rect.Right = FMath::Max(Rect.Right, Corner.X);
			Rect.Bottom = FMath::Max(Rect.Bottom, Corner.Y);
		}
		return Rect;
	}
}

FSlateRect FGeometry::GetLayoutBoundingRect() const
{
	return BoundingRectOf(ToRenderTransform(GetAccumulatedLayoutTransform()), Size);
}

FSlateRect FGeometry::GetRenderBoundingRect() const
{
	return BoundingRectOf(AccumulatedRenderTransform, Size);
}

void FGeometry::AppendTransform(const FSlateLayoutTransform& LayoutTransform)
{
	const FSlateLayoutTransform AccumulatedLayoutTransform = Concatenate(GetAccumulatedLayoutTransform(), LayoutTransform);
	AccumulatedRenderTransform = Concatenate(AccumulatedRenderTransform, LayoutTransform);
	const_cast<FVector2f&>(AbsolutePosition) = AccumulatedLayoutTransform.GetTranslation().ToVector2f();
	const_cast<float&>(Scale) = AccumulatedLayoutTransform.GetScale();
}

FString FGeometry::ToString() const
{
	return FString::Printf(TEXT("[Abs=%s, Scale=%.2f, Size=%s]"), *AbsolutePosition.ToString(), (double)Scale, *Size.ToString());
}

FString FArrangedWidget::ToString() const
{
	return FString::Printf(TEXT("%s @ %s"), *Widget->ToString(), *Geometry.ToString());
}

void FArrangedChildren::AddWidget(const FArrangedWidget& InWidgetGeometry)
{
	AddWidget(InWidgetGeometry.Widget->GetVisibility(), InWidgetGeometry);
}
