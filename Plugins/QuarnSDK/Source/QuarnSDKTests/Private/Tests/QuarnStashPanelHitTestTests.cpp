// Copyright Quarn. All Rights Reserved.

// Hit testing through real geometry: the panel laid out and painted off-screen as a 1920 x 1080
// viewport that sits at an offset on the desktop, at DPI scales 1.0 and 1.5, so that every screen
// position goes through the canvas's accumulated layout transform. Cells and stacks under points,
// on the edges and outside.

#include "QuarnUITestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Input/HittestGrid.h"
#include "Layout/Geometry.h"
#include "Layout/SlateRect.h"
#include "Rendering/DrawElements.h"
#include "Rendering/SlateLayoutTransform.h"
#include "Styling/WidgetStyle.h"
#include "Types/PaintArgs.h"
#include "Widgets/SWindow.h"

using namespace QuarnUITests;

BEGIN_DEFINE_SPEC(FQuarnStashPanelHitTestSpec, "Quarn.UI.StashPanel.HitTest", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	/** Where the viewport's top-left corner sits on the desktop, in pixels, and its size. */
	static FVector2D ViewportOrigin()
	{
		return FVector2D(200.0, 100.0);
	}

	static FVector2D ViewportSize()
	{
		return FVector2D(1920.0, 1080.0);
	}

	/**
	 * Lays the panel out and paints it as a viewport of the engine paints it: a prepass at the DPI
	 * scale, then a paint pass whose root geometry carries the scale and the desktop offset, so that
	 * every widget caches the geometry it has on screen. Painted off-screen, into the element list of
	 * a window that is never shown.
	 */
	void LayOut(UQuarnStashPanel* Panel, float Scale)
	{
		const TSharedRef<SWidget> Widget = Panel->TakeWidget();
		Widget->SlatePrepass(Scale);

		const FVector2D Origin = ViewportOrigin();
		const FVector2D Size = ViewportSize();
		// The paint space here is the desktop itself, so the grid starts at the origin in both.
		FHittestGrid HittestGrid;
		HittestGrid.SetHittestArea(Origin, Size, Origin);
		const TSharedRef<SWindow> Window = SNew(SWindow);
		FSlateWindowElementList Elements(Window);
		const FGeometry Root = FGeometry::MakeRoot(Size / Scale, FSlateLayoutTransform(Scale, Origin));
		const FSlateRect Culling(static_cast<float>(Origin.X), static_cast<float>(Origin.Y), static_cast<float>(Origin.X + Size.X), static_cast<float>(Origin.Y + Size.Y));
		const FPaintArgs Args(nullptr, HittestGrid, FVector2f::ZeroVector, FPlatformTime::Seconds(), 0.0f);
		Widget->Paint(Args, Root, Culling, Elements, 0, FWidgetStyle(), true);
	}

	/** A quiet NaN from its bits, as a Blueprint or a bad division can hand the panel. */
	static float QuietNaN()
	{
		const uint32 Bits = 0x7FC00000u;
		float Value = 0.0f;
		FMemory::Memcpy(&Value, &Bits, sizeof(Value));
		return Value;
	}

	/** A built panel, laid out once. */
	UQuarnRecordingStashPanel* ShowPanel(float Scale, EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid)
	{
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel(Layout);
		LayOut(Panel, Scale);
		return Panel;
	}

	/** The canvas's top-left corner on the desktop, worked out from the layout rules. */
	static FVector2D CanvasCorner(const UQuarnStashPanel* Panel, float Scale)
	{
		const USizeBox* const Sizer = Member<USizeBox>(Panel, TEXT("GridSizer"));
		const UTextBlock* const Status = Member<UTextBlock>(Panel, TEXT("StatusText"));
		if (Sizer == nullptr || Status == nullptr)
		{
			return FVector2D(-1.0e6, -1.0e6);
		}
		// The root border fills the viewport and centres the column, whose width is the grid's.
		const double Left = ViewportOrigin().X + (ViewportSize().X - Sizer->GetWidthOverride() * Scale) * 0.5;
		// Below the status line and its 8 units of bottom padding.
		const FGeometry& StatusGeometry = Status->GetCachedGeometry();
		const double Top = FVector2D(StatusGeometry.GetAbsolutePosition()).Y + FVector2D(StatusGeometry.GetAbsoluteSize()).Y + 8.0 * Scale;
		return FVector2D(Left, Top);
	}

	static FVector2D Screen(const UQuarnStashPanel* Panel, float Scale, double LocalX, double LocalY)
	{
		return CanvasCorner(Panel, Scale) + FVector2D(LocalX, LocalY) * Scale;
	}

	/** "x,y" of the cell under a canvas position, or "none (x,y)" with what was left in the cells. */
	static FString CellAt(const UQuarnStashPanel* Panel, float Scale, double LocalX, double LocalY)
	{
		int32 X = 99;
		int32 Y = 99;
		const bool bHit = Panel->CellAtScreenPosition(Screen(Panel, Scale, LocalX, LocalY), X, Y);
		return bHit ? FString::Printf(TEXT("%d,%d"), X, Y) : FString::Printf(TEXT("none (%d,%d)"), X, Y);
	}

	/** The instance id of the stack under a cell's centre, or "none " and what was left in the result. */
	static FString InstanceAt(const UQuarnStashPanel* Panel, float Scale, int32 CellX, int32 CellY)
	{
		FQuarnItemInstance Found;
		Found.InstanceId = TEXT("untouched");
		const double Cell = Panel->CellSize;
		const bool bHit = Panel->InstanceAtScreenPosition(Screen(Panel, Scale, (CellX + 0.5) * Cell, (CellY + 0.5) * Cell), Found);
		return bHit ? Found.InstanceId : TEXT("none ") + Found.InstanceId;
	}

	void ExpectCell(const UQuarnStashPanel* Panel, float Scale, double LocalX, double LocalY, const TCHAR* Expected)
	{
		TestEqualSensitive(*FString::Printf(TEXT("cell at (%g, %g)"), LocalX, LocalY), CellAt(Panel, Scale, LocalX, LocalY), FString(Expected));
	}

	void ExpectInstance(const UQuarnStashPanel* Panel, float Scale, int32 CellX, int32 CellY, const TCHAR* Expected)
	{
		TestEqualSensitive(*FString::Printf(TEXT("stack in cell %d,%d"), CellX, CellY), InstanceAt(Panel, Scale, CellX, CellY), FString(Expected));
	}

	void DefineAtScale(float Scale);
END_DEFINE_SPEC(FQuarnStashPanelHitTestSpec)

void FQuarnStashPanelHitTestSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	Describe(TEXT("at a DPI scale of 1.0"), [this]()
	{
		DefineAtScale(1.0f);
	});

	Describe(TEXT("at a DPI scale of 1.5"), [this]()
	{
		DefineAtScale(1.5f);
	});
}

void FQuarnStashPanelHitTestSpec::DefineAtScale(float Scale)
{
	It(TEXT("finds the canvas where the layout rules put it"), [this, Scale]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = ShowPanel(Scale);
		const UCanvasPanel* const CanvasPanel = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
		if (!TestNotNull(TEXT("canvas"), CanvasPanel))
		{
			return;
		}
		const FGeometry& Canvas = CanvasPanel->GetCachedGeometry();
		const FVector2D Corner = CanvasCorner(Panel, Scale);
		TestEqual(TEXT("canvas left"), FVector2D(Canvas.GetAbsolutePosition()).X, Corner.X, 1e-3);
		TestEqual(TEXT("canvas top"), FVector2D(Canvas.GetAbsolutePosition()).Y, Corner.Y, 1e-3);
		TestEqual(TEXT("canvas width"), FVector2D(Canvas.GetLocalSize()).X, 640.0, 1e-3);
		TestEqual(TEXT("canvas height"), FVector2D(Canvas.GetLocalSize()).Y, 512.0, 1e-3);
		TestEqual(TEXT("canvas scale"), Canvas.Scale, Scale);
		// Centred vertically too: the panel's contents sit well away from the viewport's corner.
		TestTrue(TEXT("canvas below the viewport's top by more than 100 pixels"), Corner.Y > ViewportOrigin().Y + 100.0);
	});

	It(TEXT("divides grid cells by the pitch and stops at the edges"), [this, Scale]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = ShowPanel(Scale);
		ExpectCell(Panel, Scale, 100.0, 10.0, TEXT("1,0"));
		ExpectCell(Panel, Scale, 64.0, 10.0, TEXT("1,0"));
		ExpectCell(Panel, Scale, 63.9, 10.0, TEXT("0,0"));
		// The gap around a cell belongs to it.
		ExpectCell(Panel, Scale, 128.5, 63.5, TEXT("2,0"));
		ExpectCell(Panel, Scale, 639.5, 511.5, TEXT("9,7"));
		ExpectCell(Panel, Scale, 640.5, 10.0, TEXT("none (-1,-1)"));
		ExpectCell(Panel, Scale, 10.0, 512.5, TEXT("none (-1,-1)"));
		ExpectCell(Panel, Scale, -0.5, 10.0, TEXT("none (-1,-1)"));
		ExpectCell(Panel, Scale, 10.0, -0.5, TEXT("none (-1,-1)"));
		// The same point taken as if the viewport were at the desktop's origin misses.
		int32 X = 0;
		int32 Y = 0;
		TestFalse(TEXT("a point that ignores the viewport's offset"), Panel->CellAtScreenPosition(FVector2D(100.0, 10.0), X, Y));

		// Nothing shown yet: cells answer, stacks do not.
		ExpectInstance(Panel, Scale, 1, 1, TEXT("none untouched"));

		// A new size is used after the next layout pass.
		Panel->CellSize = 32.0f;
		Panel->ShowContainer(Container(TEXT("grid"), {}));
		LayOut(Panel, Scale);
		ExpectCell(Panel, Scale, 100.0, 10.0, TEXT("3,0"));
		ExpectCell(Panel, Scale, 319.5, 255.5, TEXT("9,7"));
		ExpectCell(Panel, Scale, 320.5, 10.0, TEXT("none (-1,-1)"));
	});

	It(TEXT("has no cells with a cell size not above zero"), [this, Scale]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = ShowPanel(Scale);
		if (!TestEqualSensitive(TEXT("cell with a size of 64"), CellAt(Panel, Scale, 100.0, 10.0), FString(TEXT("1,0"))))
		{
			return;
		}
		const FVector2D Inside = Screen(Panel, Scale, 100.0, 10.0);
		for (const float Size : { 0.0f, -64.0f, QuietNaN() })
		{
			Panel->CellSize = Size;
			int32 X = 5;
			int32 Y = 5;
			const FString What = FString::Printf(TEXT("with a cell size of %g"), Size);
			TestFalse(*(What + TEXT(", a cell")), Panel->CellAtScreenPosition(Inside, X, Y));
			TestEqual(*(What + TEXT(", x")), X, -1);
			TestEqual(*(What + TEXT(", y")), Y, -1);
			FQuarnItemInstance Found;
			TestFalse(*(What + TEXT(", a stack")), Panel->InstanceAtScreenPosition(Inside, Found));
		}
		Panel->CellSize = 64.0f;
		int32 X = 0;
		int32 Y = 0;
		TestFalse(TEXT("a cell at a NaN position"), Panel->CellAtScreenPosition(FVector2D(static_cast<double>(QuietNaN()), Inside.Y), X, Y));
		TestEqual(TEXT("x at a NaN position"), X, -1);
	});

	It(TEXT("stops slot displays at the last slot"), [this, Scale]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = ShowPanel(Scale, EQuarnContainerLayout::Slots);
		Panel->ShowContainer(Container(TEXT("slots"), {}));
		LayOut(Panel, Scale);
		ExpectCell(Panel, Scale, 5 * 64 + 10, 3 * 64 + 10, TEXT("5,3"));
		ExpectCell(Panel, Scale, 6 * 64 + 10, 0 + 10, TEXT("none (-1,-1)"));

		Panel->SlotCount = 22;
		Panel->ShowContainer(Container(TEXT("slots"), {}));
		LayOut(Panel, Scale);
		ExpectCell(Panel, Scale, 3 * 64 + 10, 3 * 64 + 10, TEXT("3,3"));
		ExpectCell(Panel, Scale, 4 * 64 + 10, 3 * 64 + 10, TEXT("none (-1,-1)"));
		ExpectCell(Panel, Scale, 10, 4 * 64 + 10, TEXT("none (-1,-1)"));
	});

	It(TEXT("finds stacks over their whole footprint"), [this, Scale]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = ShowPanel(Scale);
		const FQuarnItemInstance Hidden = Stack(TEXT("Hidden"), 1, -1, 1, 10, 10);
		Panel->ShowContainer(Container(TEXT("grid"), { Hidden, Stack(TEXT("Rifle"), 1, 2, 1, 2, 3), Stack(TEXT("Flat"), 1, 6, 0, 0, 0), Stack(TEXT("Under"), 1, 3, 3), Stack(TEXT("Edge"), 4, 9, 7) }));
		LayOut(Panel, Scale);
		for (const FIntPoint Cell : { FIntPoint(2, 1), FIntPoint(3, 1), FIntPoint(2, 3), FIntPoint(3, 3) })
		{
			ExpectInstance(Panel, Scale, Cell.X, Cell.Y, TEXT("ins_Rifle"));
		}
		ExpectInstance(Panel, Scale, 4, 1, TEXT("none untouched"));
		ExpectInstance(Panel, Scale, 2, 4, TEXT("none untouched"));
		ExpectInstance(Panel, Scale, 1, 1, TEXT("none untouched"));
		ExpectInstance(Panel, Scale, 6, 0, TEXT("ins_Flat"));
		ExpectInstance(Panel, Scale, 7, 0, TEXT("none untouched"));
		ExpectInstance(Panel, Scale, 9, 7, TEXT("ins_Edge"));

		// All fields of the stack come back.
		FQuarnItemInstance Found;
		if (TestTrue(TEXT("a stack in the last cell"), Panel->InstanceAtScreenPosition(Screen(Panel, Scale, 9.5 * 64, 7.5 * 64), Found)))
		{
			TestEqual(TEXT("quantity"), Found.Quantity, 4);
			TestEqualSensitive(TEXT("item id"), Found.ItemId.ToString(), FString(TEXT("Edge")));
		}
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
