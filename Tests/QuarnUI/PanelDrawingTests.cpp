// Drawing stacks: frames, badges and tooltips where they belong, what is skipped and counted, the
// load-complete texts with culture-formatted numbers, and icons found in item tables with native
// row structs and with user-defined structs.
#include "QuarnUITestSupport.h"
#include "Host/EngineAssets.h"
#include "Tests/QuarnIconRows.h"
#include "StructUtils/UserDefinedStruct.h"

using namespace QuarnUITest;

namespace
{
	class QuarnUIDrawing : public FPanelTest
	{
	protected:
		virtual void SetUp() override
		{
			FPanelTest::SetUp();
			SavedTable = GetMutableDefault<UQuarnSettings>()->ItemIconTable;
		}

		virtual void TearDown() override
		{
			GetMutableDefault<UQuarnSettings>()->ItemIconTable = SavedTable;
			FPanelTest::TearDown();
			for (UObject* Asset : Assets)
			{
				UE::Host::ReleaseAsset(Asset);
			}
		}

		UDataTable* MakeTable(const FString& Path, UScriptStruct* RowStruct)
		{
			UDataTable* const Table = UE::Host::CreateAsset<UDataTable>(Path);
			check(Table != nullptr);
			Table->RowStruct = RowStruct;
			Assets.Add(Table);
			return Table;
		}

		/** A built panel whose settings name this table. */
		UQuarnStashPanel* PanelUsing(const UDataTable* Table)
		{
			GetMutableDefault<UQuarnSettings>()->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(Table->GetPathName()));
			UQuarnStashPanel* const Panel = MakeBuiltPanel();
			EXPECT_EQ(Member<UDataTable>(Panel, TEXT("ItemTable")), Table);
			return Panel;
		}

		/** The texture drawn for one stack of this item, or null when it was drawn as text. */
		UTexture2D* DrawnIcon(UQuarnStashPanel* Panel, const TCHAR* ItemId)
		{
			Panel->ShowContainer(Container(TEXT("grid"), { Stack(ItemId, 1, 0, 0) }));
			const TArray<UWidget*> Drawn = ItemWidgetsOf(Panel);
			if (Drawn.Num() != 1)
			{
				ADD_FAILURE() << "expected one frame";
				return nullptr;
			}
			UWidget* const Content = CastChecked<UBorder>(Drawn[0])->GetContent();
			if (const UImage* const Image = Cast<UImage>(Content))
			{
				return Cast<UTexture2D>(Image->GetBrush().GetResourceObject());
			}
			EXPECT_TRUE(Content->IsA<UTextBlock>());
			return nullptr;
		}

		static UTexture2D* Texture(const TCHAR* Name)
		{
			return LoadObject<UTexture2D>(nullptr, *FString::Printf(TEXT("/Game/Icons/%s.%s"), Name, Name));
		}

		TArray<UObject*> Assets;
		TSoftObjectPtr<UDataTable> SavedTable;
	};
}

TEST_F(QuarnUIDrawing, FramesBadgesAndTooltipsSitWhereTheStacksAre)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
	Panel->ShowContainer(Container(TEXT("grid"), {
		Stack(TEXT("Bandage"), 5, 2, 1, 2, 3),
		Stack(TEXT("Flask"), 1, 0, 0, 0, -4),
		Stack(TEXT("Lost"), 9, -1, 3),
		Stack(TEXT("Gone"), 9, 3, -1),
		Stack(TEXT("Ammo"), 1500, 9, 7),
	}));

	const TArray<UWidget*> Drawn = ItemWidgetsOf(Panel);
	// Bandage frame and badge, Flask frame, Ammo frame and badge.
	ASSERT_EQ(Drawn.Num(), 5);
	EXPECT_EQ(Canvas->GetChildrenCount(), 80 + 5);
	EXPECT_EQ(WatcherOf(Panel)->Lines, (TArray<FString>{ TEXT("Loaded 3") }));
	EXPECT_EQ(Str(StatusOf(Panel)), "3 stack(s) \u00B7 10x8");
	EXPECT_EQ(StatusColourOf(Panel), StatusColour);

	const UBorder* const Frame = CastChecked<UBorder>(Drawn[0]);
	const UCanvasPanelSlot* const FrameSlot = CastChecked<UCanvasPanelSlot>(Frame->Slot);
	EXPECT_EQ(FrameSlot->GetPosition(), FVector2D(129.0, 65.0));
	EXPECT_EQ(FrameSlot->GetSize(), FVector2D(126.0, 190.0));
	EXPECT_EQ(FrameSlot->GetZOrder(), 10);
	EXPECT_FALSE(FrameSlot->GetAutoSize());
	EXPECT_EQ(FrameSlot->GetAnchors().Minimum, FVector2D(0.0, 0.0));
	EXPECT_EQ(Frame->GetBrushColor(), FLinearColor(1.0f, 1.0f, 1.0f, 0.06f));
	EXPECT_EQ(Frame->GetPadding(), FMargin(2.0f));
	EXPECT_EQ(Str(Frame->GetToolTipText().ToString()), "Bandage x5");
	EXPECT_EQ(Frame->GetOuter(), Panel->WidgetTree);

	// Without a table the stack shows its id as text.
	const UTextBlock* const Fallback = CastChecked<UTextBlock>(Frame->GetContent());
	EXPECT_EQ(Str(Fallback->GetText().ToString()), "Bandage");
	EXPECT_EQ(Fallback->GetColorAndOpacity().GetSpecifiedColor(), FLinearColor(1.0f, 1.0f, 1.0f, 0.5f));
	EXPECT_EQ(Fallback->GetFont().Size, 8);
	EXPECT_EQ(Fallback->GetJustification(), ETextJustify::Center);
	EXPECT_TRUE(Fallback->GetAutoWrapText());

	const UTextBlock* const Badge = CastChecked<UTextBlock>(Drawn[1]);
	const UCanvasPanelSlot* const BadgeSlot = CastChecked<UCanvasPanelSlot>(Badge->Slot);
	EXPECT_EQ(Str(Badge->GetText().ToString()), "5");
	EXPECT_EQ(BadgeSlot->GetPosition(), FVector2D(240.0, 240.0));
	EXPECT_TRUE(BadgeSlot->GetAutoSize());
	EXPECT_EQ(BadgeSlot->GetZOrder(), 11);
	EXPECT_EQ(Badge->GetColorAndOpacity().GetSpecifiedColor(), AccentColour);
	EXPECT_EQ(Badge->GetFont().Size, 10);

	// A footprint of 0 or less is one cell; a single unit has no badge and a bare tooltip.
	const UBorder* const Flask = CastChecked<UBorder>(Drawn[2]);
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Flask->Slot)->GetPosition(), FVector2D(1.0, 1.0));
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Flask->Slot)->GetSize(), FVector2D(62.0, 62.0));
	EXPECT_EQ(Str(Flask->GetToolTipText().ToString()), "Flask");

	// Numbers in the badge are formatted for the culture.
	EXPECT_EQ(Str(CastChecked<UTextBlock>(Drawn[4])->GetText().ToString()), "1,500");
	EXPECT_EQ(Str(CastChecked<UBorder>(Drawn[3])->GetToolTipText().ToString()), "Ammo x1500");

	// The hidden stacks are still held, for the hit tests.
	EXPECT_EQ(ContentsOf(Panel).Num(), 5);
}

TEST_F(QuarnUIDrawing, EveryDrawReplacesTheLastAndReadsTheCellSizeAgain)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
	Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 5, 0, 0), Stack(TEXT("Flask"), 2, 1, 0) }));
	const TArray<UWidget*> First = ItemWidgetsOf(Panel);
	ASSERT_EQ(First.Num(), 4);

	Panel->CellSize = 32.0f;
	Panel->GridWidth = 4;
	Panel->GridHeight = 2;
	Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Rifle"), 1, 1, 1, 3, 1) }));
	EXPECT_EQ(Canvas->GetChildrenCount(), 8 + 1);
	for (UWidget* Old : First)
	{
		EXPECT_EQ(Old->GetParent(), nullptr);
	}
	const TArray<UWidget*> Second = ItemWidgetsOf(Panel);
	ASSERT_EQ(Second.Num(), 1);
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Second[0]->Slot)->GetPosition(), FVector2D(33.0, 33.0));
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Second[0]->Slot)->GetSize(), FVector2D(94.0, 30.0));
	EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), 128.0f);
	EXPECT_EQ(Str(StatusOf(Panel)), "1 stack(s) \u00B7 4x2");

	// An empty container: no stacks, zero reported.
	Panel->ShowContainer(Container(TEXT("grid"), {}));
	EXPECT_EQ(ItemWidgetsOf(Panel).Num(), 0);
	EXPECT_EQ(WatcherOf(Panel)->Lines.Last(), TEXT("Loaded 0"));
	EXPECT_EQ(Str(StatusOf(Panel)), "0 stack(s) \u00B7 4x2");
}

TEST_F(QuarnUIDrawing, SlotDisplaysWrapAtTheColumnsAndReportSlots)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	Panel->SlotCount = 2000;
	Panel->SlotColumns = 40;
	FQuarnContainer Shown = Container(TEXT("slots"), { Stack(TEXT("Bandage"), 2, -1, -1), Stack(TEXT("Flask"), 1, -1, -1) });
	Shown.Items[0].SlotIndex = 41;
	Shown.Items[0].GridW = 3;
	Shown.Items[1].SlotIndex = -1;
	Panel->ShowContainer(Shown);
	// A grid-configured panel shown slots: counted against the panel's slot count, formatted.
	EXPECT_EQ(Str(StatusOf(Panel)), "1 of 2,000 slots");
	const TArray<UWidget*> Drawn = ItemWidgetsOf(Panel);
	ASSERT_EQ(Drawn.Num(), 2);
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Drawn[0]->Slot)->GetPosition(), FVector2D(65.0, 65.0));
	EXPECT_EQ(CastChecked<UCanvasPanelSlot>(Drawn[0]->Slot)->GetSize(), FVector2D(62.0, 62.0));
	EXPECT_EQ(Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))->GetChildrenCount(), 2000 + 2);
	EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), 50 * 64.0f);
}

TEST_F(QuarnUIDrawing, IconsComeFromTheFirstPictureColumnOfANativeRow)
{
	UDataTable* const Table = MakeTable(TEXT("/Game/Data/Icons.Icons"), FQuarnTestIconRow::StaticStruct());
	FQuarnTestIconRow Row;
	Row.DisplayName = TEXT("Bandage");
	Row.Item_Icon = TSoftObjectPtr<UTexture2D>(FSoftObjectPath(TEXT("/Game/Icons/Bandage.Bandage")));
	Table->AddRow(TEXT("Bandage"), Row);
	FQuarnTestIconRow Broken;
	Broken.Item_Icon = TSoftObjectPtr<UTexture2D>(FSoftObjectPath(TEXT("/Game/Icons/NoSuchIcon.NoSuchIcon")));
	Table->AddRow(TEXT("Broken"), Broken);
	Table->AddRow(TEXT("Blank"), FQuarnTestIconRow());

	UQuarnStashPanel* const Panel = PanelUsing(Table);
	// The soft reference loads on first use; the row name matches without regard to case.
	UTexture2D* const Bandage = DrawnIcon(Panel, TEXT("bandage"));
	ASSERT_NE(Bandage, nullptr);
	EXPECT_EQ(Str(Bandage->GetPathName()), "/Game/Icons/Bandage.Bandage");
	EXPECT_EQ(DrawnIcon(Panel, TEXT("Bandage")), Bandage);
	EXPECT_EQ(DrawnIcon(Panel, TEXT("Missing")), nullptr);
	EXPECT_EQ(DrawnIcon(Panel, TEXT("Broken")), nullptr);
	EXPECT_EQ(DrawnIcon(Panel, TEXT("Blank")), nullptr);

	// The image is the frame's content, not sized to the texture.
	Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 1, 0, 0) }));
	const UImage* const Image = CastChecked<UImage>(CastChecked<UBorder>(ItemWidgetsOf(Panel)[0])->GetContent());
	EXPECT_NE(Image->GetBrush().GetImageSize(), FVector2D(8.0, 8.0));
}

TEST_F(QuarnUIDrawing, OnlyObjectColumnsCountAndTheFirstOneDecides)
{
	UTexture2D* const Scalpel = Texture(TEXT("Scalpel"));
	UTexture2D* const Bandage = Texture(TEXT("Bandage"));
	ASSERT_NE(Scalpel, nullptr);
	ASSERT_NE(Bandage, nullptr);

	// A text column named Icon is passed over; the thumbnail after it is used.
	UDataTable* const TextFirst = MakeTable(TEXT("/Game/Data/TextFirst.TextFirst"), FQuarnTestTextFirstRow::StaticStruct());
	FQuarnTestTextFirstRow TextRow;
	TextRow.Icon = TEXT("/Game/Icons/Bandage.Bandage");
	TextRow.Thumbnail = Scalpel;
	TextFirst->AddRow(TEXT("Scalpel"), TextRow);
	EXPECT_EQ(DrawnIcon(PanelUsing(TextFirst), TEXT("Scalpel")), Scalpel);

	// An empty Icon decides alone, although Image is set.
	UDataTable* const TwoPictures = MakeTable(TEXT("/Game/Data/TwoPictures.TwoPictures"), FQuarnTestTwoPictureRow::StaticStruct());
	FQuarnTestTwoPictureRow EmptyFirst;
	EmptyFirst.Image = Scalpel;
	TwoPictures->AddRow(TEXT("Scalpel"), EmptyFirst);
	FQuarnTestTwoPictureRow BothSet;
	BothSet.Icon = Bandage;
	BothSet.Image = Scalpel;
	TwoPictures->AddRow(TEXT("Both"), BothSet);
	UQuarnStashPanel* const TwoPanel = PanelUsing(TwoPictures);
	EXPECT_EQ(DrawnIcon(TwoPanel, TEXT("Scalpel")), nullptr);
	EXPECT_EQ(DrawnIcon(TwoPanel, TEXT("Both")), Bandage);

	// The row struct's own fields come before the inherited ones: its Image, holding an object that
	// is not a texture, decides before the inherited Icon.
	UDataTable* const Derived = MakeTable(TEXT("/Game/Data/Derived.Derived"), FQuarnTestDerivedIconRow::StaticStruct());
	FQuarnTestDerivedIconRow DerivedRow;
	DerivedRow.Icon = Bandage;
	DerivedRow.Image = TextFirst;
	Derived->AddRow(TEXT("Bandage"), DerivedRow);
	FQuarnTestDerivedIconRow InheritedOnly;
	InheritedOnly.Icon = Bandage;
	Derived->AddRow(TEXT("Inherited"), InheritedOnly);
	UQuarnStashPanel* const DerivedPanel = PanelUsing(Derived);
	EXPECT_EQ(DrawnIcon(DerivedPanel, TEXT("Bandage")), nullptr);
	EXPECT_EQ(DrawnIcon(DerivedPanel, TEXT("Inherited")), nullptr);

	// A table without a row struct has no icons.
	UDataTable* const Bare = MakeTable(TEXT("/Game/Data/Bare.Bare"), nullptr);
	EXPECT_EQ(DrawnIcon(PanelUsing(Bare), TEXT("Bandage")), nullptr);
}

TEST_F(QuarnUIDrawing, UserDefinedStructColumnsMatchWithoutTheEditorSuffix)
{
	using UE::Host::CodeGen::EPropertyKind;
	UE::Host::FUserDefinedStructBuilder Builder(TEXT("S_StashItem"));
	const FName NameMember = Builder.AddMember(TEXT("DisplayName"), EPropertyKind::Str);
	const FName LabelMember = Builder.AddMember(TEXT("Icon"), EPropertyKind::Name);
	const FName IconMember = Builder.AddMember(TEXT("ItemIcon"), EPropertyKind::SoftObject, nullptr, UTexture2D::StaticClass());
	UUserDefinedStruct* const Struct = Builder.Finish();
	ASSERT_NE(Struct, nullptr);
	ASSERT_TRUE(IconMember.ToString().StartsWith(TEXT("ItemIcon_")));
	ASSERT_EQ(IconMember.ToString().Len(), 9 + 2 + 32);

	UDataTable* const Table = MakeTable(TEXT("/Game/Data/StashItems.StashItems"), Struct);
	auto AddRow = [&](const TCHAR* RowName, const TCHAR* IconPath)
	{
		TArray<uint8> Memory;
		Memory.SetNumZeroed(Struct->GetStructureSize());
		Struct->InitializeStruct(Memory.GetData());
		*FindFProperty<FStrProperty>(Struct, NameMember)->ContainerPtrToValuePtr<FString>(Memory.GetData()) = RowName;
		*FindFProperty<FNameProperty>(Struct, LabelMember)->ContainerPtrToValuePtr<FName>(Memory.GetData()) = TEXT("Bandage");
		if (IconPath != nullptr)
		{
			*FindFProperty<FSoftObjectProperty>(Struct, IconMember)->ContainerPtrToValuePtr<FSoftObjectPtr>(Memory.GetData()) = FSoftObjectPath(IconPath);
		}
		Table->AddRow(RowName, Memory.GetData(), Struct);
		Struct->DestroyStruct(Memory.GetData());
	};
	AddRow(TEXT("Scalpel"), TEXT("/Game/Icons/Scalpel.Scalpel"));
	AddRow(TEXT("Nothing"), nullptr);

	UQuarnStashPanel* const Panel = PanelUsing(Table);
	UTexture2D* const Scalpel = DrawnIcon(Panel, TEXT("Scalpel"));
	ASSERT_NE(Scalpel, nullptr);
	EXPECT_EQ(Str(Scalpel->GetName()), "Scalpel");
	EXPECT_EQ(DrawnIcon(Panel, TEXT("Nothing")), nullptr);
}
