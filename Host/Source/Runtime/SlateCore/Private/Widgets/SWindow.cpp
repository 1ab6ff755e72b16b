// Copyright Quarn. All Rights Reserved.

#include "Widgets/SWindow.h"
#include "Input/HittestGrid.h"
#include "Rendering/DrawElements.h"

SWindow::SWindow()
	: ScreenPosition(0.0, 0.0)
	, Size(0.0, 0.0)
	, DPIScaleFactor(1.0f)
	, HittestGrid(MakeUnique<FHittestGrid>())
{
}

SWindow::~SWindow() = default;

void SWindow::Construct(const FArguments& InArgs)
{
	Title = InArgs._Title;
	ScreenPosition = InArgs._ScreenPosition;
	Size = InArgs._ClientSize;
	DPIScaleFactor = InArgs._DPIScaleFactor > 0.0f ? InArgs._DPIScaleFactor : 1.0f;
	ChildSlot[InArgs._Content.Widget];
}

void SWindow::SetContent(TSharedRef<SWidget> InContent)
{
	ChildSlot[InContent];
}

TSharedRef<const SWidget> SWindow::GetContent() const
{
	return ChildSlot.GetWidget();
}

FGeometry SWindow::GetWindowGeometryInScreen() const
{
	// Children are laid out in units; the window's size in pixels is divided by the scale to get them.
	const float AppScale = DPIScaleFactor;
	const FVector2f SizeInLocalSpace = UE::Slate::CastToVector2f(Size) / AppScale;
	return FGeometry::MakeRoot(SizeInLocalSpace, FSlateLayoutTransform(AppScale, UE::Slate::CastToVector2f(ScreenPosition)));
}

FGeometry SWindow::GetWindowGeometryInWindow() const
{
	const float AppScale = DPIScaleFactor;
	const FVector2f SizeInLocalSpace = UE::Slate::CastToVector2f(Size) / AppScale;
	return FGeometry::MakeRoot(SizeInLocalSpace, FSlateLayoutTransform(AppScale));
}

FSlateRect SWindow::GetClippingRectangleInWindow() const
{
	return FSlateRect(0.0f, 0.0f, (float)Size.X, (float)Size.Y);
}

void SWindow::Resize(FVector2D NewClientSize)
{
	Size = NewClientSize;
	Invalidate(EInvalidateWidgetReason::Layout);
}

void SWindow::MoveWindowTo(FVector2D NewPosition)
{
	ScreenPosition = NewPosition;
}

void SWindow::SetDPIScaleFactor(float Factor)
{
	DPIScaleFactor = Factor > 0.0f ? Factor : 1.0f;
	Invalidate(EInvalidateWidgetReason::Layout);
}

int32 SWindow::PaintWindow(double CurrentTime, float DeltaTime, FSlateWindowElementList& OutDrawElements, const FWidgetStyle& InWidgetStyle, bool bParentEnabled)
{
	// As the engine's application draws a window: a prepass at the window's scale, then the paint
	// pass in window space, with the window's desktop position passed down for tick-space geometry.
	SlatePrepass(DPIScaleFactor);
	// The grid covers the client area, which starts at the window space's origin.
	HittestGrid->SetHittestArea(ScreenPosition, Size);
	const FPaintArgs PaintArgs(nullptr, *HittestGrid, UE::Slate::CastToVector2f(ScreenPosition), CurrentTime, DeltaTime);
	return Paint(PaintArgs, GetWindowGeometryInWindow(), GetClippingRectangleInWindow(), OutDrawElements, 0, InWidgetStyle, bParentEnabled);
}
