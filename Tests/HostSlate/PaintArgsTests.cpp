// Copyright Quarn. All Rights Reserved.

// What a paint pass carries (the hit-test grids, the parent, the window's desktop offset), and a
// widget painted off-screen by hand, as a caller outside any window lays one out: a prepass at a
// scale, then a paint whose root geometry holds the scale and the desktop offset.

#include "CoreMinimal.h"
#include "Input/HittestGrid.h"
#include "Rendering/SlateLayoutTransform.h"
#include "SlateTestSupport.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/SLeafWidget.h"

#include <gtest/gtest.h>

using SlateTest::ExpectTickRect;
using SlateTest::ExpectVector;

namespace
{
	/** A leaf that keeps what the paint pass handed it. */
	class SPaintProbe : public SLeafWidget
	{
	public:
		SLATE_BEGIN_ARGS(SPaintProbe) {}
		SLATE_END_ARGS()

		void Construct(const FArguments&) {}

		mutable const FHittestGrid* Grid = nullptr;
		mutable const SWidget* Parent = nullptr;
		mutable FVector2f WindowOffset = FVector2f(-1.0f, -1.0f);
		mutable int32 Paints = 0;

	protected:
		virtual FVector2D ComputeDesiredSize(float) const override
		{
			return FVector2D(40.0, 20.0);
		}

		virtual int32 OnPaint(const FPaintArgs& Args, const FGeometry&, const FSlateRect&, FSlateWindowElementList&, int32 LayerId, const FWidgetStyle&, bool) const override
		{
			Grid = &Args.GetHittestGrid();
			Parent = Args.GetPaintParent();
			WindowOffset = Args.GetWindowToDesktopTransform();
			++Paints;
			return LayerId;
		}
	};
}

TEST(HostSlatePaintArgs, CarryTheGridsTheParentAndTheOffsetThroughEveryCopy)
{
	FHittestGrid Root;
	FHittestGrid Nested;
	const FPaintArgs Args(nullptr, Root, FVector2D(30.0, 40.0), 2.0, 0.5f);
	EXPECT_EQ(&Args.GetHittestGrid(), &Root);
	ExpectVector(Args.GetWindowToDesktopTransform(), 30.0f, 40.0f);
	EXPECT_DOUBLE_EQ(Args.GetCurrentTime(), 2.0);
	EXPECT_FLOAT_EQ(Args.GetDeltaTime(), 0.5f);
	EXPECT_TRUE(Args.GetInheritedHittestability());

	const TSharedRef<SPaintProbe> Probe = SNew(SPaintProbe);
	const FPaintArgs Child = Args.WithNewParent(&Probe.Get());
	EXPECT_EQ(Child.GetPaintParent(), &Probe.Get());
	EXPECT_EQ(&Child.GetHittestGrid(), &Root);
	ExpectVector(Child.GetWindowToDesktopTransform(), 30.0f, 40.0f);

	const FPaintArgs InNested = Child.WithNewHitTestGrid(Nested);
	EXPECT_EQ(&InNested.GetHittestGrid(), &Nested);
	EXPECT_EQ(InNested.GetPaintParent(), &Probe.Get());
	EXPECT_DOUBLE_EQ(InNested.GetCurrentTime(), 2.0);
}

TEST(HostSlatePaintArgs, HittestAreaReportsAChangeOnlyWhenItMoves)
{
	FHittestGrid Grid;
	EXPECT_EQ(Grid.GetUserIndex(), INDEX_NONE);
	EXPECT_TRUE(Grid.SetHittestArea(FVector2D(200.0, 100.0), FVector2D(1920.0, 1080.0), FVector2D(200.0, 100.0)));
	ExpectVector(Grid.GetGridOrigin(), 200.0f, 100.0f);
	ExpectVector(Grid.GetGridWindowOrigin(), 200.0f, 100.0f);
	ExpectVector(Grid.GetGridSize(), 1920.0f, 1080.0f);
	EXPECT_FALSE(Grid.SetHittestArea(FVector2D(200.0, 100.0), FVector2D(1920.0, 1080.0), FVector2D(200.0, 100.0)));
	// The window offset alone is a change too.
	EXPECT_TRUE(Grid.SetHittestArea(FVector2D(200.0, 100.0), FVector2D(1920.0, 1080.0)));
	ExpectVector(Grid.GetGridWindowOrigin(), 0.0f, 0.0f);
	// A negative size holds nothing.
	EXPECT_TRUE(Grid.SetHittestArea(FVector2D(0.0, 0.0), FVector2D(-5.0, 10.0)));
	ExpectVector(Grid.GetGridSize(), 0.0f, 10.0f);
}

TEST(HostSlatePaintArgs, AWindowPaintsWithItsOwnGridOverItsClientArea)
{
	const TSharedRef<SPaintProbe> Probe = SNew(SPaintProbe);
	const TSharedRef<SWindow> Window = SlateTest::MakeWindow(Probe, FVector2D(800.0, 600.0), 1.5f, FVector2D(50.0, 70.0));
	FSlateWindowElementList Elements(Window);
	SlateTest::Frame(Window, Elements);
	ASSERT_EQ(Probe->Paints, 1);
	EXPECT_EQ(Probe->Grid, &Window->GetHittestGrid());
	ExpectVector(Probe->WindowOffset, 50.0f, 70.0f);
	ExpectVector(Window->GetHittestGrid().GetGridOrigin(), 50.0f, 70.0f);
	ExpectVector(Window->GetHittestGrid().GetGridSize(), 800.0f, 600.0f);
}

TEST(HostSlatePaintArgs, AWidgetPaintedByHandCachesItsScreenGeometry)
{
	// 16 units of padding around a 40 x 20 probe at the top left, in a 1920 x 1080 pixel area at
	// (200, 100) on the desktop, at a scale of 1.5.
	const TSharedRef<SPaintProbe> Probe = SNew(SPaintProbe);
	const TSharedRef<SBorder> Border = SNew(SBorder).Padding(FMargin(16.0f)).HAlign(HAlign_Left).VAlign(VAlign_Top)[Probe];
	const float Scale = 1.5f;
	const FVector2D Origin(200.0, 100.0);
	const FVector2D Size(1920.0, 1080.0);
	Border->SlatePrepass(Scale);

	FHittestGrid Grid;
	Grid.SetHittestArea(Origin, Size, Origin);
	const TSharedRef<SWindow> Window = SNew(SWindow);
	FSlateWindowElementList Elements(Window);
	const FGeometry Root = FGeometry::MakeRoot(Size / Scale, FSlateLayoutTransform(Scale, Origin));
	const FSlateRect Culling(200.0f, 100.0f, 2120.0f, 1180.0f);
	Border->Paint(FPaintArgs(nullptr, Grid, FVector2f::ZeroVector, 0.0, 0.0f), Root, Culling, Elements, 0, FWidgetStyle(), true);

	ASSERT_EQ(Probe->Paints, 1);
	EXPECT_EQ(Probe->Grid, &Grid);
	// Paint hands OnPaint arguments whose parent is the widget itself, for its own children.
	EXPECT_EQ(Probe->Parent, &Probe.Get());
	ExpectTickRect(*Border, 200.0f, 100.0f, 1920.0f, 1080.0f);
	ExpectTickRect(*Probe, 200.0f + 16.0f * Scale, 100.0f + 16.0f * Scale, 40.0f * Scale, 20.0f * Scale);
	EXPECT_FLOAT_EQ(Probe->GetCachedGeometry().Scale, Scale);
	// The window offset in the arguments moves tick space and leaves paint space where it was.
	Border->Paint(FPaintArgs(nullptr, Grid, FVector2D(1000.0, 0.0), 0.0, 0.0f), Root, Culling, Elements, 0, FWidgetStyle(), true);
	ExpectTickRect(*Probe, 1200.0f + 16.0f * Scale, 100.0f + 16.0f * Scale, 40.0f * Scale, 20.0f * Scale);
	ExpectVector(Probe->GetPaintSpaceGeometry().GetAbsolutePosition(), 200.0f + 16.0f * Scale, 100.0f + 16.0f * Scale);
}
