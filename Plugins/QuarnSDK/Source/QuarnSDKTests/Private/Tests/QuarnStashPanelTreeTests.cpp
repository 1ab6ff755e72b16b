// Copyright Quarn. All Rights Reserved.

// The panel's widget tree as built in code: names, classes, order, paddings, colours, font sizes
// and the size box's overrides; built once however often the Slate widget is rebuilt; loading on
// construct; and what a panel without a tree does.

#include "QuarnUITestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Components/VerticalBox.h"
#include "Components/VerticalBoxSlot.h"
#include "Engine/DataTable.h"
#include "Engine/Texture2D.h"
#include "Misc/ScopeExit.h"
#include "QuarnSettings.h"
#include "Widgets/Layout/SConstraintCanvas.h"

using namespace QuarnUITests;

BEGIN_DEFINE_SPEC(FQuarnStashPanelTreeSpec, "Quarn.UI.StashPanel.Tree", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	static int32 CountCells(const UCanvasPanel* Canvas)
	{
		int32 Cells = 0;
		for (int32 Index = 0; Index < Canvas->GetChildrenCount(); ++Index)
		{
			Cells += Canvas->GetChildAt(Index)->IsA<UImage>() ? 1 : 0;
		}
		return Cells;
	}
END_DEFINE_SPEC(FQuarnStashPanelTreeSpec)

void FQuarnStashPanelTreeSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	It(TEXT("is built in code with its names, classes, order and styles"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakePanel();
		// Nothing exists before the engine asks for the Slate widget.
		TestNull(TEXT("root before the Slate widget"), Member<UBorder>(Panel, TEXT("Root")));
		TestTrue(TEXT("visible"), Panel->GetVisibility() == ESlateVisibility::Visible);
		Fixture->Hold(Panel, Panel->TakeWidget());

		UBorder* const Root = Member<UBorder>(Panel, TEXT("Root"));
		if (!TestNotNull(TEXT("root"), Root))
		{
			return;
		}
		TestTrue(TEXT("the tree's root"), Panel->WidgetTree->RootWidget == Root);
		TestEqualSensitive(TEXT("root name"), Root->GetName(), FString(TEXT("StashPanel")));
		TestTrue(TEXT("root outer"), Root->GetOuter() == Panel->WidgetTree);
		TestEqual(TEXT("root colour"), Root->GetBrushColor(), FLinearColor(0.055f, 0.086f, 0.098f, 0.94f));
		TestTrue(TEXT("root padding"), Root->GetPadding() == FMargin(16.0f));
		TestTrue(TEXT("root centres across"), Root->GetHorizontalAlignment() == HAlign_Center);
		TestTrue(TEXT("root centres down"), Root->GetVerticalAlignment() == VAlign_Center);

		UVerticalBox* const Column = Cast<UVerticalBox>(Root->GetContent());
		if (!TestNotNull(TEXT("column"), Column))
		{
			return;
		}
		TestEqualSensitive(TEXT("column name"), Column->GetName(), FString(TEXT("StashColumn")));
		if (!TestEqual(TEXT("column children"), Column->GetChildrenCount(), 3))
		{
			return;
		}

		UTextBlock* const Title = Member<UTextBlock>(Panel, TEXT("TitleText"));
		UTextBlock* const Status = Member<UTextBlock>(Panel, TEXT("StatusText"));
		USizeBox* const Sizer = Member<USizeBox>(Panel, TEXT("GridSizer"));
		if (!TestNotNull(TEXT("title"), Title) || !TestNotNull(TEXT("status"), Status) || !TestNotNull(TEXT("sizer"), Sizer))
		{
			return;
		}
		TestTrue(TEXT("title first"), Column->GetChildAt(0) == Title);
		TestTrue(TEXT("status second"), Column->GetChildAt(1) == Status);
		TestTrue(TEXT("sizer third"), Column->GetChildAt(2) == Sizer);

		TestEqualSensitive(TEXT("title name"), Title->GetName(), FString(TEXT("StashTitle")));
		TestEqualSensitive(TEXT("title text"), Title->GetText().ToString(), FString(TEXT("STASH")));
		TestEqual(TEXT("title colour"), Title->GetColorAndOpacity().GetSpecifiedColor(), AccentColour);
		TestEqual(TEXT("title size"), Title->GetFont().Size, 15.0f);
		TestEqual(TEXT("title letter spacing"), Title->GetFont().LetterSpacing, 220);
		TestTrue(TEXT("title padding"), CastChecked<UVerticalBoxSlot>(Title->Slot)->GetPadding() == FMargin(0.0f));

		TestEqualSensitive(TEXT("status name"), Status->GetName(), FString(TEXT("StashStatus")));
		TestEqualSensitive(TEXT("status text"), StatusOf(Panel), FString(TEXT("Not loaded")));
		TestEqual(TEXT("status colour"), StatusColourOf(Panel), StatusColour);
		TestEqual(TEXT("status size"), Status->GetFont().Size, 10.0f);
		TestEqual(TEXT("status letter spacing"), Status->GetFont().LetterSpacing, 0);
		TestTrue(TEXT("status padding"), CastChecked<UVerticalBoxSlot>(Status->Slot)->GetPadding() == FMargin(0.0f, 2.0f, 0.0f, 8.0f));

		TestEqualSensitive(TEXT("sizer name"), Sizer->GetName(), FString(TEXT("StashSizer")));
		TestTrue(TEXT("sizer padding"), CastChecked<UVerticalBoxSlot>(Sizer->Slot)->GetPadding() == FMargin(0.0f));
		TestTrue(TEXT("width overridden"), Sizer->IsWidthOverride());
		TestTrue(TEXT("height overridden"), Sizer->IsHeightOverride());
		TestEqual(TEXT("width"), Sizer->GetWidthOverride(), 640.0f);
		TestEqual(TEXT("height"), Sizer->GetHeightOverride(), 512.0f);

		UBorder* const Frame = Member<UBorder>(Panel, TEXT("GridFrame"));
		if (!TestNotNull(TEXT("frame"), Frame))
		{
			return;
		}
		TestTrue(TEXT("frame in the sizer"), Sizer->GetContent() == Frame);
		TestEqualSensitive(TEXT("frame name"), Frame->GetName(), FString(TEXT("StashGridFrame")));
		TestEqual(TEXT("frame colour"), Frame->GetBrushColor(), FLinearColor(0.0f, 0.0f, 0.0f, 0.25f));
		TestTrue(TEXT("frame padding"), Frame->GetPadding() == FMargin(0.0f));

		UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
		if (!TestNotNull(TEXT("canvas"), Canvas))
		{
			return;
		}
		TestTrue(TEXT("canvas in the frame"), Frame->GetContent() == Canvas);
		TestEqualSensitive(TEXT("canvas name"), Canvas->GetName(), FString(TEXT("StashGrid")));

		// The empty 10 x 8 grid: one image per cell, 1 unit inside its 64-unit square, nothing listed.
		if (!TestEqual(TEXT("cells"), Canvas->GetChildrenCount(), 80))
		{
			return;
		}
		TestEqual(TEXT("item widgets"), ItemWidgetsOf(Panel).Num(), 0);
		const UImage* const LastCell = CastChecked<UImage>(Canvas->GetChildAt(79));
		TestEqual(TEXT("cell colour"), LastCell->GetColorAndOpacity(), FLinearColor(1.0f, 1.0f, 1.0f, 0.04f));
		const UCanvasPanelSlot* const LastSlot = CastChecked<UCanvasPanelSlot>(LastCell->Slot);
		TestEqual(TEXT("last cell position"), LastSlot->GetPosition(), FVector2D(9 * 64 + 1, 7 * 64 + 1));
		TestEqual(TEXT("last cell size"), LastSlot->GetSize(), FVector2D(62.0, 62.0));
		TestEqual(TEXT("last cell z order"), LastSlot->GetZOrder(), 0);
		TestEqual(TEXT("anchor minimum"), LastSlot->GetAnchors().Minimum, FVector2D(0.0, 0.0));
		TestEqual(TEXT("anchor maximum"), LastSlot->GetAnchors().Maximum, FVector2D(0.0, 0.0));
		TestEqual(TEXT("cell 11 position"), CastChecked<UCanvasPanelSlot>(Canvas->GetChildAt(11)->Slot)->GetPosition(), FVector2D(65.0, 65.0));
	});

	It(TEXT("draws the rows a slot layout's slots need"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
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
			const FString What = FString::Printf(TEXT("%d slots in %d columns"), Case.SlotCount, Case.SlotColumns);
			UQuarnRecordingStashPanel* const Panel = Fixture->MakePanel(EQuarnContainerLayout::Slots);
			Panel->SlotCount = Case.SlotCount;
			Panel->SlotColumns = Case.SlotColumns;
			Fixture->Hold(Panel, Panel->TakeWidget());
			TestEqual(*(What + TEXT(": cells")), CountCells(Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))), Case.Cells);
			TestEqual(*(What + TEXT(": width")), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), Case.Width);
			TestEqual(*(What + TEXT(": height")), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), Case.Height);
		}

		// 7 slots in 3 columns: the last row holds one cell, in its first column.
		UQuarnRecordingStashPanel* const Seven = Fixture->MakePanel(EQuarnContainerLayout::Slots);
		Seven->SlotCount = 7;
		Seven->SlotColumns = 3;
		Fixture->Hold(Seven, Seven->TakeWidget());
		const UCanvasPanel* const Canvas = Member<UCanvasPanel>(Seven, TEXT("GridCanvas"));
		TestEqual(TEXT("seventh slot"), CastChecked<UCanvasPanelSlot>(Canvas->GetChildAt(6)->Slot)->GetPosition(), FVector2D(1.0, 129.0));
	});

	It(TEXT("draws a grid of no columns or rows as one cell"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakePanel();
		Panel->GridWidth = 0;
		Panel->GridHeight = -3;
		Panel->CellSize = 20.0f;
		Fixture->Hold(Panel, Panel->TakeWidget());
		TestEqual(TEXT("cells"), CountCells(Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))), 1);
		TestEqual(TEXT("width"), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), 20.0f);
		TestEqual(TEXT("height"), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), 20.0f);
	});

	It(TEXT("reuses its tree when the Slate widget is made again"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakePanel();
		TSharedPtr<SWidget> Slate = Panel->TakeWidget();
		UBorder* const Root = Member<UBorder>(Panel, TEXT("Root"));
		UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
		if (!TestNotNull(TEXT("root"), Root) || !TestNotNull(TEXT("grid canvas"), Canvas))
		{
			return;
		}
		Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 2, 0, 0) }));
		const int32 Children = Canvas->GetChildrenCount();

		// Changing the style afterwards does not restyle the existing tree.
		Panel->PanelColour = FLinearColor::Red;
		Panel->Title = FText::FromString(TEXT("OTHER"));

		// Taken off screen and shown again, as a menu is: the Slate widgets are released and made anew.
		for (int32 Round = 0; Round < 2; ++Round)
		{
			Panel->ReleaseSlateResources(true);
			Slate.Reset();
			Slate = Panel->TakeWidget();
		}
		Fixture->Hold(Panel, Slate.ToSharedRef());

		TestTrue(TEXT("same root"), Member<UBorder>(Panel, TEXT("Root")) == Root);
		TestTrue(TEXT("same tree root"), Panel->WidgetTree->RootWidget == Root);
		TestTrue(TEXT("same canvas"), Member<UCanvasPanel>(Panel, TEXT("GridCanvas")) == Canvas);
		TestEqual(TEXT("canvas children"), Canvas->GetChildrenCount(), Children);
		const UVerticalBox* const Column = Cast<UVerticalBox>(Root->GetContent());
		TestEqual(TEXT("column children"), Column != nullptr ? Column->GetChildrenCount() : -1, 3);
		const UTextBlock* const Title = Member<UTextBlock>(Panel, TEXT("TitleText"));
		TestEqualSensitive(TEXT("title"), Title != nullptr ? Title->GetText().ToString() : FString(TEXT("<no title widget>")), FString(TEXT("STASH")));
		TestEqual(TEXT("root colour red"), Root->GetBrushColor().R, 0.055f);
		// The status of the draw survives the rebuild.
		TestEqualSensitive(TEXT("status"), StatusOf(Panel), FString(TEXT("1 stack(s) \u00B7 10x8")));
		int32 Borders = 0;
		TArray<UWidget*> All;
		Panel->WidgetTree->GetAllWidgets(All);
		for (const UWidget* Widget : All)
		{
			Borders += Widget->GetName().StartsWith(TEXT("StashPanel")) ? 1 : 0;
		}
		TestEqual(TEXT("panel borders"), Borders, 1);

		// Redrawn while its Slate widget lives: the Slate canvas holds exactly the widgets of the new draw.
		Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Flask"), 3, 4, 4), Stack(TEXT("Rifle"), 1, 5, 5) }));
		if (!TestTrue(TEXT("Slate canvas"), Canvas->GetCanvasWidget().IsValid()))
		{
			return;
		}
		FChildren* const SlateChildren = Canvas->GetCanvasWidget()->GetChildren();
		const bool bSameCount = TestEqual(TEXT("canvas children after the redraw"), Canvas->GetChildrenCount(), 80 + 3);
		if (!TestEqual(TEXT("Slate canvas slots"), SlateChildren->Num(), Canvas->GetChildrenCount()) || !bSameCount)
		{
			return;
		}
		for (int32 Index = 0; Index < Canvas->GetChildrenCount(); ++Index)
		{
			const UWidget* const Child = Canvas->GetChildAt(Index);
			if (!TestNotNull(*FString::Printf(TEXT("child %d"), Index), Child))
			{
				return;
			}
			TestTrue(*FString::Printf(TEXT("Slate child %d"), Index), SlateChildren->GetChildAt(Index) == Child->GetCachedWidget());
		}
	});

	It(TEXT("loads on construct unless turned off"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Off = Fixture->MakeBuiltPanel();
		TestEqual(TEXT("requests of a panel that does not load"), Fixture->Transport().Sent.Num(), 0);
		TestEqualSensitive(TEXT("idle status"), StatusOf(Off), FString(TEXT("Not loaded")));

		UQuarnRecordingStashPanel* const Game = Fixture->MakePanel();
		Game->bLoadOnConstruct = true;
		Fixture->Hold(Game, Game->TakeWidget());
		if (!TestEqual(TEXT("requests"), Fixture->Transport().Sent.Num(), 1))
		{
			return;
		}
		TestTrue(TEXT("a sign-in"), Fixture->Transport().Sent[0].Url.EndsWith(TEXT("/v1/game/sessions")));
		TestEqualSensitive(TEXT("status"), StatusOf(Game), FString(TEXT("Signing in\u2026")));
	});

	It(TEXT("without a tree, neither draws nor hit tests but holds the container"), [this]()
	{
		UQuarnRecordingStashPanel* const Panel = Fixture->MakePanel();
		Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 2, 0, 0) }));
		TestEqual(TEXT("watched lines"), FPanelFixture::WatcherOf(Panel)->Lines.Num(), 0);
		TestEqual(TEXT("contents"), ContentsOf(Panel).Num(), 1);
		int32 X = 5;
		int32 Y = 5;
		TestFalse(TEXT("a cell"), Panel->CellAtScreenPosition(FVector2D(10.0, 10.0), X, Y));
		TestEqual(TEXT("x"), X, -1);
		TestEqual(TEXT("y"), Y, -1);
		FQuarnItemInstance Found;
		Found.InstanceId = TEXT("untouched");
		TestFalse(TEXT("a stack"), Panel->InstanceAtScreenPosition(FVector2D(10.0, 10.0), Found));
		TestEqualSensitive(TEXT("stack left alone"), Found.InstanceId, FString(TEXT("untouched")));
	});

	It(TEXT("takes the settings' icon table at construct only when it is a data table"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnSettings* const Settings = GetMutableDefault<UQuarnSettings>();
		const TSoftObjectPtr<UDataTable> Saved = Settings->ItemIconTable;
		ON_SCOPE_EXIT
		{
			Settings->ItemIconTable = Saved;
		};

		// A path to a texture is not a data table.
		UTexture2D* const Texture = UTexture2D::CreateTransient(4, 4, PF_B8G8R8A8, MakeUniqueObjectName(GetTransientPackage(), UTexture2D::StaticClass(), TEXT("QuarnTreeTestIcon")));
		if (!TestNotNull(TEXT("texture"), Texture))
		{
			return;
		}
		Settings->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(Texture));
		TestNull(TEXT("table from a texture"), Member<UDataTable>(Fixture->MakeBuiltPanel(), TEXT("ItemTable")));

		// Nothing at the path.
		Settings->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(TEXT("/Engine/Transient.QuarnNoSuchIconTable")));
		TestNull(TEXT("table from nothing"), Member<UDataTable>(Fixture->MakeBuiltPanel(), TEXT("ItemTable")));

		// A data table is taken.
		UDataTable* const Table = NewObject<UDataTable>(GetTransientPackage(), MakeUniqueObjectName(GetTransientPackage(), UDataTable::StaticClass(), TEXT("QuarnTreeTestTable")));
		Settings->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(Table));
		TestTrue(TEXT("the table"), Member<UDataTable>(Fixture->MakeBuiltPanel(), TEXT("ItemTable")) == Table);
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
