// The panel's widget tree as built in code: names, classes, order, paddings, colours, font sizes
// and the size box's overrides; built once however often the Slate widget is rebuilt; the designer
// draws but does not load.
#include "QuarnUITestSupport.h"
#include "Components/VerticalBox.h"
#include "Components/VerticalBoxSlot.h"
#include "Widgets/Layout/SConstraintCanvas.h"

using namespace QuarnUITest;

namespace
{
	class QuarnUITree : public FPanelTest
	{
	};

	void ExpectColour(const FLinearColor& Actual, const FLinearColor& Expected)
	{
		EXPECT_FLOAT_EQ(Actual.R, Expected.R);
		EXPECT_FLOAT_EQ(Actual.G, Expected.G);
		EXPECT_FLOAT_EQ(Actual.B, Expected.B);
		EXPECT_FLOAT_EQ(Actual.A, Expected.A);
	}

	int32 CountCells(const UCanvasPanel* Canvas)
	{
		int32 Cells = 0;
		for (int32 Index = 0; Index < Canvas->GetChildrenCount(); ++Index)
		{
			Cells += Canvas->GetChildAt(Index)->IsA<UImage>() ? 1 : 0;
		}
		return Cells;
	}
}

TEST_F(QuarnUITree, TheTreeIsBuiltInCodeWithItsNamesClassesOrderAndStyles)
{
	UQuarnStashPanel* const Panel = MakePanel();
	// Nothing exists before the engine asks for the Slate widget.
	EXPECT_EQ(Member<UBorder>(Panel, TEXT("Root")), nullptr);
	EXPECT_EQ(Panel->GetVisibility(), ESlateVisibility::Visible);
	Panel->TakeWidget();

	UBorder* const Root = Member<UBorder>(Panel, TEXT("Root"));
	ASSERT_NE(Root, nullptr);
	EXPECT_EQ(Panel->WidgetTree->RootWidget, Root);
	EXPECT_EQ(Str(Root->GetName()), "StashPanel");
	EXPECT_EQ(Root->GetOuter(), Panel->WidgetTree);
	ExpectColour(Root->GetBrushColor(), FLinearColor(0.055f, 0.086f, 0.098f, 0.94f));
	EXPECT_EQ(Root->GetPadding(), FMargin(16.0f));
	EXPECT_EQ(Root->GetHorizontalAlignment(), HAlign_Center);
	EXPECT_EQ(Root->GetVerticalAlignment(), VAlign_Center);

	UVerticalBox* const Column = Cast<UVerticalBox>(Root->GetContent());
	ASSERT_NE(Column, nullptr);
	EXPECT_EQ(Str(Column->GetName()), "StashColumn");
	ASSERT_EQ(Column->GetChildrenCount(), 3);

	UTextBlock* const Title = Member<UTextBlock>(Panel, TEXT("TitleText"));
	UTextBlock* const Status = Member<UTextBlock>(Panel, TEXT("StatusText"));
	USizeBox* const Sizer = Member<USizeBox>(Panel, TEXT("GridSizer"));
	EXPECT_EQ(Column->GetChildAt(0), Title);
	EXPECT_EQ(Column->GetChildAt(1), Status);
	EXPECT_EQ(Column->GetChildAt(2), Sizer);
	ASSERT_NE(Title, nullptr);
	ASSERT_NE(Status, nullptr);
	ASSERT_NE(Sizer, nullptr);

	EXPECT_EQ(Str(Title->GetName()), "StashTitle");
	EXPECT_EQ(Str(Title->GetText().ToString()), "STASH");
	ExpectColour(Title->GetColorAndOpacity().GetSpecifiedColor(), AccentColour);
	EXPECT_EQ(Title->GetFont().Size, 15);
	EXPECT_EQ(Title->GetFont().LetterSpacing, 220);
	EXPECT_EQ(CastChecked<UVerticalBoxSlot>(Title->Slot)->GetPadding(), FMargin(0.0f));

	EXPECT_EQ(Str(Status->GetName()), "StashStatus");
	EXPECT_EQ(Str(StatusOf(Panel)), "Not loaded");
	ExpectColour(StatusColourOf(Panel), StatusColour);
	EXPECT_EQ(Status->GetFont().Size, 10);
	EXPECT_EQ(Status->GetFont().LetterSpacing, 0);
	EXPECT_EQ(CastChecked<UVerticalBoxSlot>(Status->Slot)->GetPadding(), FMargin(0.0f, 2.0f, 0.0f, 8.0f));

	EXPECT_EQ(Str(Sizer->GetName()), "StashSizer");
	EXPECT_EQ(CastChecked<UVerticalBoxSlot>(Sizer->Slot)->GetPadding(), FMargin(0.0f));
	EXPECT_TRUE(Sizer->IsWidthOverride());
	EXPECT_TRUE(Sizer->IsHeightOverride());
	EXPECT_FLOAT_EQ(Sizer->GetWidthOverride(), 640.0f);
	EXPECT_FLOAT_EQ(Sizer->GetHeightOverride(), 512.0f);

	UBorder* const Frame = Member<UBorder>(Panel, TEXT("GridFrame"));
	ASSERT_NE(Frame, nullptr);
	EXPECT_EQ(Sizer->GetContent(), Frame);
	EXPECT_EQ(Str(Frame->GetName()), "StashGridFrame");
	ExpectColour(Frame->GetBrushColor(), FLinearColor(0.0f, 0.0f, 0.0f, 0.25f));
	EXPECT_EQ(Frame->GetPadding(), FMargin(0.0f));

	UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
	ASSERT_NE(Canvas, nullptr);
	EXPECT_EQ(Frame->GetContent(), Canvas);
	EXPECT_EQ(Str(Canvas->GetName()), "StashGrid");

	// The empty 10 x 8 grid: one image per cell, 1 unit inside its 64-unit square, nothing listed.
	ASSERT_EQ(Canvas->GetChildrenCount(), 80);
	EXPECT_EQ(ItemWidgetsOf(Panel).Num(), 0);
	const UImage* const LastCell = CastChecked<UImage>(Canvas->GetChildAt(79));
	ExpectColour(LastCell->GetColorAndOpacity(), FLinearColor(1.0f, 1.0f, 1.0f, 0.04f));
	const UCanvasPanelSlot* const LastSlot = CastChecked<UCanvasPanelSlot>(LastCell->Slot);
	EXPECT_EQ(LastSlot->GetPosition(), FVector2D(9 * 64 + 1, 7 * 64 + 1));
	EXPECT_EQ(LastSlot->GetSize(), FVector2D(62.0, 62.0));
	EXPECT_EQ(LastSlot->GetZOrder(), 0);
	EXPECT_EQ(LastSlot->GetAnchors().Minimum, FVector2D(0.0, 0.0));
	EXPECT_EQ(LastSlot->GetAnchors().Maximum, FVector2D(0.0, 0.0));
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Canvas->GetChildAt(11)->Slot)->GetPosition(), FVector2D(65.0, 65.0));
}

TEST_F(QuarnUITree, SlotLayoutsDrawTheRowsTheirSlotsNeed)
{
	struct FCase
	{
		int32 SlotCount;
		int32 SlotColumns;
		int32 Cells;
		float Width;
		float Height;
	};
	// Defaults; 7 in 3 columns; a column count below the editor clamp; no slots at all.
	const FCase Cases[] = { { 24, 6, 24, 384.0f, 256.0f }, { 7, 3, 7, 192.0f, 192.0f }, { 5, 0, 5, 64.0f, 320.0f }, { 0, 4, 4, 256.0f, 64.0f } };
	for (const FCase& Case : Cases)
	{
		SCOPED_TRACE(testing::Message() << Case.SlotCount << " slots in " << Case.SlotColumns << " columns");
		UQuarnStashPanel* const Panel = MakePanel(EQuarnContainerLayout::Slots);
		Panel->SlotCount = Case.SlotCount;
		Panel->SlotColumns = Case.SlotColumns;
		Panel->TakeWidget();
		const UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
		EXPECT_EQ(CountCells(Canvas), Case.Cells);
		EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), Case.Width);
		EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), Case.Height);
	}

	// 7 slots in 3 columns: the last row holds one cell, in its first column.
	UQuarnStashPanel* const Seven = MakePanel(EQuarnContainerLayout::Slots);
	Seven->SlotCount = 7;
	Seven->SlotColumns = 3;
	Seven->TakeWidget();
	const UCanvasPanel* const Canvas = Member<UCanvasPanel>(Seven, TEXT("GridCanvas"));
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Canvas->GetChildAt(6)->Slot)->GetPosition(), FVector2D(1.0, 129.0));
}

TEST_F(QuarnUITree, AGridOfNoColumnsOrRowsIsOneCell)
{
	UQuarnStashPanel* const Panel = MakePanel();
	Panel->GridWidth = 0;
	Panel->GridHeight = -3;
	Panel->CellSize = 20.0f;
	Panel->TakeWidget();
	EXPECT_EQ(CountCells(Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))), 1);
	EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), 20.0f);
	EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), 20.0f);
}

TEST_F(QuarnUITree, RebuildingTheSlateWidgetReusesTheTree)
{
	UQuarnStashPanel* const Panel = MakePanel();
	const TSharedRef<SWidget> First = Panel->TakeWidget();
	UBorder* const Root = Member<UBorder>(Panel, TEXT("Root"));
	UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
	Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 2, 0, 0) }));
	const int32 Children = Canvas->GetChildrenCount();

	// Changing the style afterwards does not restyle the existing tree.
	Panel->PanelColour = FLinearColor::Red;
	Panel->Title = FText::FromString(TEXT("OTHER"));

	// Out of the viewport and back in, as a menu does: the Slate widget is made again.
	ASSERT_NE(UE::Host::CreateGameViewport(World(), FVector2D(800.0, 700.0)), nullptr);
	bMadeViewport = true;
	Panel->AddToViewport();
	ASSERT_TRUE(UE::Host::DrawGameViewport(World()));
	Panel->RemoveFromParent();
	Panel->AddToViewport();
	ASSERT_TRUE(UE::Host::DrawGameViewport(World()));

	EXPECT_EQ(Member<UBorder>(Panel, TEXT("Root")), Root);
	EXPECT_EQ(Panel->WidgetTree->RootWidget, Root);
	EXPECT_EQ(Member<UCanvasPanel>(Panel, TEXT("GridCanvas")), Canvas);
	EXPECT_EQ(Canvas->GetChildrenCount(), Children);
	EXPECT_EQ(CastChecked<UVerticalBox>(Root->GetContent())->GetChildrenCount(), 3);
	EXPECT_EQ(Str(Member<UTextBlock>(Panel, TEXT("TitleText"))->GetText().ToString()), "STASH");
	EXPECT_FLOAT_EQ(Root->GetBrushColor().R, 0.055f);
	// The status of the draw survives the rebuild.
	EXPECT_EQ(Str(StatusOf(Panel)), "1 stack(s) \u00B7 10x8");
	int32 Borders = 0;
	TArray<UWidget*> All;
	Panel->WidgetTree->GetAllWidgets(All);
	for (const UWidget* Widget : All)
	{
		Borders += Widget->GetName().StartsWith(TEXT("StashPanel")) ? 1 : 0;
	}
	EXPECT_EQ(Borders, 1);

	// Redrawn while on screen: the Slate canvas holds exactly the widgets of the new draw.
	Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Flask"), 3, 4, 4), Stack(TEXT("Rifle"), 1, 5, 5) }));
	ASSERT_TRUE(UE::Host::DrawGameViewport(World()));
	ASSERT_TRUE(Canvas->GetCanvasWidget().IsValid());
	EXPECT_EQ(Canvas->GetChildrenCount(), 80 + 3);
	EXPECT_EQ(Canvas->GetCanvasWidget()->NumSlots(), 80 + 3);
	for (int32 Index = 0; Index < Canvas->GetChildrenCount(); ++Index)
	{
		EXPECT_EQ(Canvas->GetCanvasWidget()->GetChildren()->GetChildAt(Index), Canvas->GetChildAt(Index)->GetCachedWidget()) << Index;
	}
}

TEST_F(QuarnUITree, ConstructLoadsUnlessTurnedOffOrInTheDesigner)
{
	UQuarnStashPanel* const Off = MakePanel();
	Off->TakeWidget();
	EXPECT_EQ(Transport->Sent.Num(), 0);
	EXPECT_EQ(Str(StatusOf(Off)), "Not loaded");

	UQuarnStashPanel* const Designed = MakePanel();
	Designed->bLoadOnConstruct = true;
	UE::Host::SetDesignerFlags(Designed, EWidgetDesignFlags::Designing);
	Designed->TakeWidget();
	EXPECT_EQ(Transport->Sent.Num(), 0);
	// The designer still shows the empty grid and the idle line.
	EXPECT_EQ(Str(StatusOf(Designed)), "Not loaded");
	EXPECT_EQ(CountCells(Member<UCanvasPanel>(Designed, TEXT("GridCanvas"))), 80);

	UQuarnStashPanel* const Game = MakePanel();
	Game->bLoadOnConstruct = true;
	Game->TakeWidget();
	ASSERT_EQ(Transport->Sent.Num(), 1);
	EXPECT_TRUE(Transport->Sent[0].Url.EndsWith(TEXT("/v1/game/sessions")));
	EXPECT_EQ(Str(StatusOf(Game)), "Signing in\u2026");
}

TEST_F(QuarnUITree, WithoutATreeStatusDrawingAndHitTestsDoNothing)
{
	UQuarnStashPanel* const Panel = MakePanel();
	Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 2, 0, 0) }));
	EXPECT_EQ(WatcherOf(Panel)->Lines.Num(), 0);
	// The container is still what the panel holds.
	EXPECT_EQ(ContentsOf(Panel).Num(), 1);
	int32 X = 5;
	int32 Y = 5;
	EXPECT_FALSE(Panel->CellAtScreenPosition(FVector2D(10.0, 10.0), X, Y));
	EXPECT_EQ(X, -1);
	EXPECT_EQ(Y, -1);
	FQuarnItemInstance Found;
	Found.InstanceId = TEXT("untouched");
	EXPECT_FALSE(Panel->InstanceAtScreenPosition(FVector2D(10.0, 10.0), Found));
	EXPECT_EQ(Str(Found.InstanceId), "untouched");
}

TEST_F(QuarnUITree, TheSettingsIconTableIsTakenAtConstructOnlyWhenItIsADataTable)
{
	UQuarnSettings* const Settings = GetMutableDefault<UQuarnSettings>();
	const TSoftObjectPtr<UDataTable> Saved = Settings->ItemIconTable;

	// A path to a texture is not a data table.
	Settings->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(TEXT("/Game/Icons/Bandage.Bandage")));
	UQuarnStashPanel* const NotATable = MakeBuiltPanel();
	EXPECT_EQ(Member<UDataTable>(NotATable, TEXT("ItemTable")), nullptr);

	Settings->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(TEXT("/Game/Data/Missing.Missing")));
	UQuarnStashPanel* const Missing = MakeBuiltPanel();
	EXPECT_EQ(Member<UDataTable>(Missing, TEXT("ItemTable")), nullptr);
	Settings->ItemIconTable = Saved;
}
