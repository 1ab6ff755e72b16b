// Hit testing through real geometry: the panel laid out in a 1920 x 1080 viewport that sits at an
// offset on the desktop, at DPI scales 1.0 and 1.5, so that every screen position goes through the
// canvas's accumulated layout transform.
#include "QuarnUITestSupport.h"
#include "Layout/Geometry.h"

using namespace QuarnUITest;

namespace
{
	const FVector2D ViewportOrigin(200.0, 100.0);

	class QuarnUIHitTest : public FPanelTest, public testing::WithParamInterface<float>
	{
	protected:
		/** A panel on screen, laid out once. */
		UQuarnStashPanel* ShowPanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid)
		{
			if (!bMadeViewport)
			{
				EXPECT_NE(UE::Host::CreateGameViewport(World(), FVector2D(1920.0, 1080.0), GetParam(), ViewportOrigin), nullptr);
				bMadeViewport = true;
			}
			UQuarnStashPanel* const Panel = MakePanel(Layout);
			Panel->AddToViewport();
			Layout2();
			return Panel;
		}

		void Layout2()
		{
			EXPECT_TRUE(UE::Host::DrawGameViewport(World()));
		}

		/** The canvas's top-left corner on the desktop, worked out from the layout rules. */
		FVector2D CanvasCorner(const UQuarnStashPanel* Panel) const
		{
			const double Scale = GetParam();
			const float GridWidth = Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride();
			// The root border fills the viewport and centres the column, whose width is the grid's.
			const double Left = ViewportOrigin.X + (1920.0 - GridWidth * Scale) * 0.5;
			// Below the status line and its 8 units of bottom padding.
			const FGeometry& Status = Member<UTextBlock>(Panel, TEXT("StatusText"))->GetCachedGeometry();
			const double Top = FVector2D(Status.GetAbsolutePosition()).Y + FVector2D(Status.GetAbsoluteSize()).Y + 8.0 * Scale;
			return FVector2D(Left, Top);
		}

		FVector2D Screen(const UQuarnStashPanel* Panel, double LocalX, double LocalY) const
		{
			return CanvasCorner(Panel) + FVector2D(LocalX, LocalY) * GetParam();
		}

		/** "x,y" of the cell under a canvas position, or "none (x,y)" with what was left in the cells. */
		FString CellAt(const UQuarnStashPanel* Panel, double LocalX, double LocalY) const
		{
			int32 X = 99;
			int32 Y = 99;
			const bool bHit = Panel->CellAtScreenPosition(Screen(Panel, LocalX, LocalY), X, Y);
			return bHit ? FString::Printf(TEXT("%d,%d"), X, Y) : FString::Printf(TEXT("none (%d,%d)"), X, Y);
		}

		FString InstanceAt(const UQuarnStashPanel* Panel, int32 CellX, int32 CellY) const
		{
			FQuarnItemInstance Found;
			Found.InstanceId = TEXT("untouched");
			const double Cell = Panel->CellSize;
			const bool bHit = Panel->InstanceAtScreenPosition(Screen(Panel, (CellX + 0.5) * Cell, (CellY + 0.5) * Cell), Found);
			return bHit ? Found.InstanceId : TEXT("none ") + Found.InstanceId;
		}
	};
}

TEST_P(QuarnUIHitTest, TheCanvasSitsWhereTheLayoutRulesPutIt)
{
	UQuarnStashPanel* const Panel = ShowPanel();
	const FGeometry& Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))->GetCachedGeometry();
	const FVector2D Corner = CanvasCorner(Panel);
	EXPECT_NEAR(FVector2D(Canvas.GetAbsolutePosition()).X, Corner.X, 1e-3);
	EXPECT_NEAR(FVector2D(Canvas.GetAbsolutePosition()).Y, Corner.Y, 1e-3);
	EXPECT_NEAR(FVector2D(Canvas.GetLocalSize()).X, 640.0, 1e-3);
	EXPECT_NEAR(FVector2D(Canvas.GetLocalSize()).Y, 512.0, 1e-3);
	EXPECT_FLOAT_EQ(Canvas.Scale, GetParam());
	// Centred vertically too: the panel's contents sit well away from the viewport's corner.
	EXPECT_GT(Corner.Y, ViewportOrigin.Y + 100.0);
}

TEST_P(QuarnUIHitTest, GridCellsDivideByThePitchAndStopAtTheEdges)
{
	UQuarnStashPanel* const Panel = ShowPanel();
	EXPECT_EQ(Str(CellAt(Panel, 100.0, 10.0)), "1,0");
	EXPECT_EQ(Str(CellAt(Panel, 64.0, 10.0)), "1,0");
	EXPECT_EQ(Str(CellAt(Panel, 63.9, 10.0)), "0,0");
	// The gap around a cell belongs to it.
	EXPECT_EQ(Str(CellAt(Panel, 128.5, 63.5)), "2,0");
	EXPECT_EQ(Str(CellAt(Panel, 639.5, 511.5)), "9,7");
	EXPECT_EQ(Str(CellAt(Panel, 640.5, 10.0)), "none (-1,-1)");
	EXPECT_EQ(Str(CellAt(Panel, 10.0, 512.5)), "none (-1,-1)");
	EXPECT_EQ(Str(CellAt(Panel, -0.5, 10.0)), "none (-1,-1)");
	EXPECT_EQ(Str(CellAt(Panel, 10.0, -0.5)), "none (-1,-1)");
	// The same point taken as if the viewport were at the desktop's origin misses.
	int32 X = 0;
	int32 Y = 0;
	EXPECT_FALSE(Panel->CellAtScreenPosition(FVector2D(100.0, 10.0), X, Y));

	// Nothing shown yet: cells answer, stacks do not.
	EXPECT_EQ(Str(InstanceAt(Panel, 1, 1)), "none untouched");

	// A new size is used after the next layout pass.
	Panel->CellSize = 32.0f;
	Panel->ShowContainer(Container(TEXT("grid"), {}));
	Layout2();
	EXPECT_EQ(Str(CellAt(Panel, 100.0, 10.0)), "3,0");
	EXPECT_EQ(Str(CellAt(Panel, 319.5, 255.5)), "9,7");
	EXPECT_EQ(Str(CellAt(Panel, 320.5, 10.0)), "none (-1,-1)");
}

TEST_P(QuarnUIHitTest, ACellSizeNotAboveZeroHasNoCells)
{
	UQuarnStashPanel* const Panel = ShowPanel();
	ASSERT_EQ(Str(CellAt(Panel, 100.0, 10.0)), "1,0");
	const FVector2D Inside = Screen(Panel, 100.0, 10.0);
	for (const float Size : { 0.0f, -64.0f, std::numeric_limits<float>::quiet_NaN() })
	{
		Panel->CellSize = Size;
		int32 X = 5;
		int32 Y = 5;
		EXPECT_FALSE(Panel->CellAtScreenPosition(Inside, X, Y)) << Size;
		EXPECT_EQ(X, -1);
		EXPECT_EQ(Y, -1);
		FQuarnItemInstance Found;
		EXPECT_FALSE(Panel->InstanceAtScreenPosition(Inside, Found));
	}
	Panel->CellSize = 64.0f;
	int32 X = 0;
	int32 Y = 0;
	EXPECT_FALSE(Panel->CellAtScreenPosition(FVector2D(std::numeric_limits<double>::quiet_NaN(), Inside.Y), X, Y));
	EXPECT_EQ(X, -1);
}

TEST_P(QuarnUIHitTest, SlotDisplaysStopAtTheLastSlot)
{
	UQuarnStashPanel* const Panel = ShowPanel(EQuarnContainerLayout::Slots);
	Panel->ShowContainer(Container(TEXT("slots"), {}));
	Layout2();
	EXPECT_EQ(Str(CellAt(Panel, 5 * 64 + 10, 3 * 64 + 10)), "5,3");
	EXPECT_EQ(Str(CellAt(Panel, 6 * 64 + 10, 0 + 10)), "none (-1,-1)");

	Panel->SlotCount = 22;
	Panel->ShowContainer(Container(TEXT("slots"), {}));
	Layout2();
	EXPECT_EQ(Str(CellAt(Panel, 3 * 64 + 10, 3 * 64 + 10)), "3,3");
	EXPECT_EQ(Str(CellAt(Panel, 4 * 64 + 10, 3 * 64 + 10)), "none (-1,-1)");
	EXPECT_EQ(Str(CellAt(Panel, 10, 4 * 64 + 10)), "none (-1,-1)");
}

TEST_P(QuarnUIHitTest, StacksAreFoundOverTheirWholeFootprint)
{
	UQuarnStashPanel* const Panel = ShowPanel();
	FQuarnItemInstance Hidden = Stack(TEXT("Hidden"), 1, -1, 1, 10, 10);
	Panel->ShowContainer(Container(TEXT("grid"), { Hidden, Stack(TEXT("Rifle"), 1, 2, 1, 2, 3), Stack(TEXT("Flat"), 1, 6, 0, 0, 0), Stack(TEXT("Under"), 1, 3, 3), Stack(TEXT("Edge"), 4, 9, 7) }));
	Layout2();
	for (const FIntPoint Cell : { FIntPoint(2, 1), FIntPoint(3, 1), FIntPoint(2, 3), FIntPoint(3, 3) })
	{
		EXPECT_EQ(Str(InstanceAt(Panel, Cell.X, Cell.Y)), "ins_Rifle") << Cell.X << "," << Cell.Y;
	}
	EXPECT_EQ(Str(InstanceAt(Panel, 4, 1)), "none untouched");
	EXPECT_EQ(Str(InstanceAt(Panel, 2, 4)), "none untouched");
	EXPECT_EQ(Str(InstanceAt(Panel, 1, 1)), "none untouched");
	EXPECT_EQ(Str(InstanceAt(Panel, 6, 0)), "ins_Flat");
	EXPECT_EQ(Str(InstanceAt(Panel, 7, 0)), "none untouched");
	EXPECT_EQ(Str(InstanceAt(Panel, 9, 7)), "ins_Edge");

	// All fields of the stack come back.
	FQuarnItemInstance Found;
	ASSERT_TRUE(Panel->InstanceAtScreenPosition(Screen(Panel, 9.5 * 64, 7.5 * 64), Found));
	EXPECT_EQ(Found.Quantity, 4);
	EXPECT_EQ(Str(Found.ItemId.ToString()), "Edge");
}

INSTANTIATE_TEST_SUITE_P(Dpi, QuarnUIHitTest, testing::Values(1.0f, 1.5f), [](const testing::TestParamInfo<float>& Info)
{
	return Info.param == 1.0f ? std::string("Scale100") : std::string("Scale150");
});
