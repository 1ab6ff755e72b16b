// Copyright Quarn. All Rights Reserved.

// Drawing stacks: frames, badges and tooltips where they belong, what is skipped and counted, the
// load-complete texts with culture-formatted numbers, and icons found in item tables with native
// row structs.

#include "QuarnUITestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Engine/DataTable.h"
#include "Engine/Texture2D.h"
#include "QuarnSettings.h"
#include "Tests/QuarnIconRows.h"

using namespace QuarnUITests;

BEGIN_DEFINE_SPEC(FQuarnStashPanelDrawingSpec, "Quarn.UI.StashPanel.Drawing", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;
	TSoftObjectPtr<UDataTable> SavedTable;

	/** A table in the transient package, as an asset would be found by its path. */
	UDataTable* MakeTable(const TCHAR* Name, UScriptStruct* RowStruct)
	{
		UDataTable* const Table = NewObject<UDataTable>(GetTransientPackage(), MakeUniqueObjectName(GetTransientPackage(), UDataTable::StaticClass(), Name));
		Table->RowStruct = RowStruct;
		return Table;
	}

	/** An 8 x 8 picture with a name of its own. */
	static UTexture2D* MakeTexture(const TCHAR* Name)
	{
		return UTexture2D::CreateTransient(8, 8, PF_B8G8R8A8, MakeUniqueObjectName(GetTransientPackage(), UTexture2D::StaticClass(), Name));
	}

	/** A built panel whose settings name this table. */
	UQuarnRecordingStashPanel* PanelUsing(const UDataTable* Table)
	{
		GetMutableDefault<UQuarnSettings>()->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(Table));
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		TestTrue(TEXT("the panel took the table"), Member<UDataTable>(Panel, TEXT("ItemTable")) == Table);
		return Panel;
	}

	/** The texture drawn for one stack of this item, or null when it was drawn as text. */
	UTexture2D* DrawnIcon(UQuarnStashPanel* Panel, const TCHAR* ItemId)
	{
		Panel->ShowContainer(Container(TEXT("grid"), { Stack(ItemId, 1, 0, 0) }));
		const TArray<UWidget*> Drawn = ItemWidgetsOf(Panel);
		if (!TestEqual(*FString::Printf(TEXT("frames drawn for %s"), ItemId), Drawn.Num(), 1))
		{
			return nullptr;
		}
		UWidget* const Content = CastChecked<UBorder>(Drawn[0])->GetContent();
		if (const UImage* const Image = Cast<UImage>(Content))
		{
			return Cast<UTexture2D>(Image->GetBrush().GetResourceObject());
		}
		TestTrue(*FString::Printf(TEXT("%s drawn as text"), ItemId), Content != nullptr && Content->IsA<UTextBlock>());
		return nullptr;
	}
END_DEFINE_SPEC(FQuarnStashPanelDrawingSpec)

void FQuarnStashPanelDrawingSpec::Define()
{
	BeforeEach([this]()
	{
		SavedTable = GetMutableDefault<UQuarnSettings>()->ItemIconTable;
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
		GetMutableDefault<UQuarnSettings>()->ItemIconTable = SavedTable;
	});

	It(TEXT("puts frames, badges and tooltips where the stacks are"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
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
		if (!TestEqual(TEXT("item widgets"), Drawn.Num(), 5))
		{
			return;
		}
		TestEqual(TEXT("canvas children"), Canvas->GetChildrenCount(), 80 + 5);
		TestEqualSensitive(TEXT("watched"), FString::Join(FPanelFixture::WatcherOf(Panel)->Lines, TEXT("|")), FString(TEXT("Loaded 3")));
		TestEqualSensitive(TEXT("status"), StatusOf(Panel), FString(TEXT("3 stack(s) \u00B7 10x8")));
		TestEqual(TEXT("status colour"), StatusColourOf(Panel), StatusColour);

		const UBorder* const Frame = CastChecked<UBorder>(Drawn[0]);
		const UCanvasPanelSlot* const FrameSlot = CastChecked<UCanvasPanelSlot>(Frame->Slot);
		TestEqual(TEXT("frame position"), FrameSlot->GetPosition(), FVector2D(129.0, 65.0));
		TestEqual(TEXT("frame size"), FrameSlot->GetSize(), FVector2D(126.0, 190.0));
		TestEqual(TEXT("frame z order"), FrameSlot->GetZOrder(), 10);
		TestFalse(TEXT("frame sized by its content"), FrameSlot->GetAutoSize());
		TestEqual(TEXT("frame anchor"), FrameSlot->GetAnchors().Minimum, FVector2D(0.0, 0.0));
		TestEqual(TEXT("frame colour"), Frame->GetBrushColor(), FLinearColor(1.0f, 1.0f, 1.0f, 0.06f));
		TestTrue(TEXT("frame padding"), Frame->GetPadding() == FMargin(2.0f));
		TestEqualSensitive(TEXT("frame tooltip"), Frame->GetToolTipText().ToString(), FString(TEXT("Bandage x5")));
		TestTrue(TEXT("frame outer"), Frame->GetOuter() == Panel->WidgetTree);

		// Without a table the stack shows its id as text.
		const UTextBlock* const Fallback = Cast<UTextBlock>(Frame->GetContent());
		if (TestNotNull(TEXT("text in the frame"), Fallback))
		{
			TestEqualSensitive(TEXT("fallback text"), Fallback->GetText().ToString(), FString(TEXT("Bandage")));
			TestEqual(TEXT("fallback colour"), Fallback->GetColorAndOpacity().GetSpecifiedColor(), FLinearColor(1.0f, 1.0f, 1.0f, 0.5f));
			TestEqual(TEXT("fallback size"), Fallback->GetFont().Size, 8.0f);
			// Justification is protected with a setter only, so it is read as the property it is.
			const FByteProperty* const Justification = FindFProperty<FByteProperty>(UTextLayoutWidget::StaticClass(), TEXT("Justification"));
			TestTrue(TEXT("fallback centred"), Justification != nullptr && Justification->GetPropertyValue_InContainer(Fallback) == ETextJustify::Center);
			TestTrue(TEXT("fallback wraps"), Fallback->GetAutoWrapText());
		}

		const UTextBlock* const Badge = CastChecked<UTextBlock>(Drawn[1]);
		const UCanvasPanelSlot* const BadgeSlot = CastChecked<UCanvasPanelSlot>(Badge->Slot);
		TestEqualSensitive(TEXT("badge"), Badge->GetText().ToString(), FString(TEXT("5")));
		TestEqual(TEXT("badge position"), BadgeSlot->GetPosition(), FVector2D(240.0, 240.0));
		TestTrue(TEXT("badge sized by its text"), BadgeSlot->GetAutoSize());
		TestEqual(TEXT("badge z order"), BadgeSlot->GetZOrder(), 11);
		TestEqual(TEXT("badge colour"), Badge->GetColorAndOpacity().GetSpecifiedColor(), AccentColour);
		TestEqual(TEXT("badge size"), Badge->GetFont().Size, 10.0f);

		// A footprint of 0 or less is one cell; a single unit has no badge and a bare tooltip.
		const UBorder* const Flask = CastChecked<UBorder>(Drawn[2]);
		TestEqual(TEXT("flask position"), CastChecked<UCanvasPanelSlot>(Flask->Slot)->GetPosition(), FVector2D(1.0, 1.0));
		TestEqual(TEXT("flask size"), CastChecked<UCanvasPanelSlot>(Flask->Slot)->GetSize(), FVector2D(62.0, 62.0));
		TestEqualSensitive(TEXT("flask tooltip"), Flask->GetToolTipText().ToString(), FString(TEXT("Flask")));

		// Numbers in the badge are formatted for the culture.
		TestEqualSensitive(TEXT("large badge"), CastChecked<UTextBlock>(Drawn[4])->GetText().ToString(), FString(TEXT("1,500")));
		TestEqualSensitive(TEXT("large tooltip"), CastChecked<UBorder>(Drawn[3])->GetToolTipText().ToString(), FString(TEXT("Ammo x1500")));

		// The hidden stacks are still held, for the hit tests.
		TestEqual(TEXT("contents"), ContentsOf(Panel).Num(), 5);
	});

	It(TEXT("replaces the last draw and reads the cell size again"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		UCanvasPanel* const Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"));
		Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 5, 0, 0), Stack(TEXT("Flask"), 2, 1, 0) }));
		const TArray<UWidget*> First = ItemWidgetsOf(Panel);
		if (!TestEqual(TEXT("first draw"), First.Num(), 4))
		{
			return;
		}

		Panel->CellSize = 32.0f;
		Panel->GridWidth = 4;
		Panel->GridHeight = 2;
		Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Rifle"), 1, 1, 1, 3, 1) }));
		TestEqual(TEXT("canvas children"), Canvas->GetChildrenCount(), 8 + 1);
		for (UWidget* Old : First)
		{
			TestNull(TEXT("an old widget's parent"), Old->GetParent());
		}
		const TArray<UWidget*> Second = ItemWidgetsOf(Panel);
		if (TestEqual(TEXT("second draw"), Second.Num(), 1))
		{
			TestEqual(TEXT("rifle position"), CastChecked<UCanvasPanelSlot>(Second[0]->Slot)->GetPosition(), FVector2D(33.0, 33.0));
			TestEqual(TEXT("rifle size"), CastChecked<UCanvasPanelSlot>(Second[0]->Slot)->GetSize(), FVector2D(94.0, 30.0));
		}
		TestEqual(TEXT("width"), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), 128.0f);
		TestEqualSensitive(TEXT("status"), StatusOf(Panel), FString(TEXT("1 stack(s) \u00B7 4x2")));

		// An empty container: no stacks, zero reported.
		Panel->ShowContainer(Container(TEXT("grid"), {}));
		TestEqual(TEXT("empty draw"), ItemWidgetsOf(Panel).Num(), 0);
		TestEqualSensitive(TEXT("last line"), FPanelFixture::WatcherOf(Panel)->Lines.Last(), FString(TEXT("Loaded 0")));
		TestEqualSensitive(TEXT("empty status"), StatusOf(Panel), FString(TEXT("0 stack(s) \u00B7 4x2")));
	});

	It(TEXT("wraps slot displays at the columns and reports slots"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		AddExpectedMessagePlain(TEXT("Stash panel asked for a grid container but 'stash' already exists as slots."), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		Panel->SlotCount = 2000;
		Panel->SlotColumns = 40;
		FQuarnContainer Shown = Container(TEXT("slots"), { Stack(TEXT("Bandage"), 2, -1, -1), Stack(TEXT("Flask"), 1, -1, -1) });
		Shown.Items[0].SlotIndex = 41;
		Shown.Items[0].GridW = 3;
		Shown.Items[1].SlotIndex = -1;
		Panel->ShowContainer(Shown);
		// A grid-configured panel shown slots: counted against the panel's slot count, formatted.
		TestEqualSensitive(TEXT("status"), StatusOf(Panel), FString(TEXT("1 of 2,000 slots")));
		const TArray<UWidget*> Drawn = ItemWidgetsOf(Panel);
		if (TestEqual(TEXT("item widgets"), Drawn.Num(), 2))
		{
			TestEqual(TEXT("slot 41 position"), CastChecked<UCanvasPanelSlot>(Drawn[0]->Slot)->GetPosition(), FVector2D(65.0, 65.0));
			TestEqual(TEXT("slot 41 size"), CastChecked<UCanvasPanelSlot>(Drawn[0]->Slot)->GetSize(), FVector2D(62.0, 62.0));
		}
		TestEqual(TEXT("canvas children"), Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))->GetChildrenCount(), 2000 + 2);
		TestEqual(TEXT("height"), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), 50 * 64.0f);
	});

	It(TEXT("takes icons from the first picture column of a native row"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UTexture2D* const Bandage = MakeTexture(TEXT("QuarnTestBandage"));
		if (!TestNotNull(TEXT("texture"), Bandage))
		{
			return;
		}
		UDataTable* const Table = MakeTable(TEXT("QuarnTestIcons"), FQuarnTestIconRow::StaticStruct());
		FQuarnTestIconRow Row;
		Row.DisplayName = TEXT("Bandage");
		Row.Item_Icon = TSoftObjectPtr<UTexture2D>(FSoftObjectPath(Bandage));
		Table->AddRow(TEXT("Bandage"), Row);
		FQuarnTestIconRow Broken;
		Broken.Item_Icon = TSoftObjectPtr<UTexture2D>(FSoftObjectPath(TEXT("/Engine/Transient.QuarnNoSuchIcon")));
		Table->AddRow(TEXT("Broken"), Broken);
		Table->AddRow(TEXT("Blank"), FQuarnTestIconRow());

		UQuarnRecordingStashPanel* const Panel = PanelUsing(Table);
		// The soft reference is followed on first use; the row name matches without regard to case.
		TestTrue(TEXT("icon of bandage"), DrawnIcon(Panel, TEXT("bandage")) == Bandage);
		TestTrue(TEXT("icon of Bandage"), DrawnIcon(Panel, TEXT("Bandage")) == Bandage);
		TestNull(TEXT("icon of a missing row"), DrawnIcon(Panel, TEXT("Missing")));
		TestNull(TEXT("icon of a broken reference"), DrawnIcon(Panel, TEXT("Broken")));
		TestNull(TEXT("icon of an empty reference"), DrawnIcon(Panel, TEXT("Blank")));

		// The image is the frame's content, not sized to the texture.
		Panel->ShowContainer(Container(TEXT("grid"), { Stack(TEXT("Bandage"), 1, 0, 0) }));
		const UImage* const Image = Cast<UImage>(CastChecked<UBorder>(ItemWidgetsOf(Panel)[0])->GetContent());
		if (TestNotNull(TEXT("image"), Image))
		{
			TestNotEqual(TEXT("image size"), FVector2D(Image->GetBrush().GetImageSize()), FVector2D(8.0, 8.0));
		}
	});

	It(TEXT("counts only object columns, and the first one decides"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UTexture2D* const Scalpel = MakeTexture(TEXT("QuarnTestScalpel"));
		UTexture2D* const Bandage = MakeTexture(TEXT("QuarnTestBandage"));
		if (!TestNotNull(TEXT("scalpel"), Scalpel) || !TestNotNull(TEXT("bandage"), Bandage))
		{
			return;
		}

		// A text column named Icon is passed over; the thumbnail after it is used.
		UDataTable* const TextFirst = MakeTable(TEXT("QuarnTestTextFirst"), FQuarnTestTextFirstRow::StaticStruct());
		FQuarnTestTextFirstRow TextRow;
		TextRow.Icon = Bandage->GetPathName();
		TextRow.Thumbnail = Scalpel;
		TextFirst->AddRow(TEXT("Scalpel"), TextRow);
		TestTrue(TEXT("thumbnail after a text column"), DrawnIcon(PanelUsing(TextFirst), TEXT("Scalpel")) == Scalpel);

		// An empty Icon decides alone, although Image is set.
		UDataTable* const TwoPictures = MakeTable(TEXT("QuarnTestTwoPictures"), FQuarnTestTwoPictureRow::StaticStruct());
		FQuarnTestTwoPictureRow EmptyFirst;
		EmptyFirst.Image = Scalpel;
		TwoPictures->AddRow(TEXT("Scalpel"), EmptyFirst);
		FQuarnTestTwoPictureRow BothSet;
		BothSet.Icon = Bandage;
		BothSet.Image = Scalpel;
		TwoPictures->AddRow(TEXT("Both"), BothSet);
		UQuarnRecordingStashPanel* const TwoPanel = PanelUsing(TwoPictures);
		TestNull(TEXT("an empty first column decides"), DrawnIcon(TwoPanel, TEXT("Scalpel")));
		TestTrue(TEXT("the first column"), DrawnIcon(TwoPanel, TEXT("Both")) == Bandage);

		// The row struct's own fields come before the inherited ones: its Image, holding an object that
		// is not a texture, decides before the inherited Icon.
		UDataTable* const Derived = MakeTable(TEXT("QuarnTestDerived"), FQuarnTestDerivedIconRow::StaticStruct());
		FQuarnTestDerivedIconRow DerivedRow;
		DerivedRow.Icon = Bandage;
		DerivedRow.Image = TextFirst;
		Derived->AddRow(TEXT("Bandage"), DerivedRow);
		FQuarnTestDerivedIconRow InheritedOnly;
		InheritedOnly.Icon = Bandage;
		Derived->AddRow(TEXT("Inherited"), InheritedOnly);
		UQuarnRecordingStashPanel* const DerivedPanel = PanelUsing(Derived);
		TestNull(TEXT("own column holding no texture"), DrawnIcon(DerivedPanel, TEXT("Bandage")));
		TestNull(TEXT("own empty column decides"), DrawnIcon(DerivedPanel, TEXT("Inherited")));

		// A table without a row struct has no icons.
		UDataTable* const Bare = MakeTable(TEXT("QuarnTestBare"), nullptr);
		TestNull(TEXT("no row struct"), DrawnIcon(PanelUsing(Bare), TEXT("Bandage")));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
