// Pictures of loaded panels: a grid and a slot display painted in a viewport, written to PNG files
// under the build's Pictures folder, and checked pixel by pixel where cells, gaps, icons, text and
// badges must be.
#include "QuarnUITestSupport.h"
#include "HAL/FileManager.h"
#include "Host/EngineAssets.h"
#include "Host/HostRenderer.h"
#include "Tests/QuarnIconRows.h"
#include "Rendering/DrawElements.h"

using namespace QuarnUITest;

namespace
{
	const FIntPoint ViewportSize(800, 720);

	class QuarnUIPicture : public FPanelTest
	{
	protected:
		virtual void SetUp() override
		{
			FPanelTest::SetUp();
			SavedTable = GetMutableDefault<UQuarnSettings>()->ItemIconTable;
			Table = UE::Host::CreateAsset<UDataTable>(TEXT("/Game/Data/PictureIcons.PictureIcons"));
			ASSERT_NE(Table, nullptr);
			Table->RowStruct = FQuarnTestIconRow::StaticStruct();
			for (const TCHAR* Name : { TEXT("Bandage"), TEXT("Scalpel") })
			{
				FQuarnTestIconRow Row;
				Row.DisplayName = Name;
				Row.Item_Icon = TSoftObjectPtr<UTexture2D>(FSoftObjectPath(FString::Printf(TEXT("/Game/Icons/%s.%s"), Name, Name)));
				Table->AddRow(Name, Row);
			}
			GetMutableDefault<UQuarnSettings>()->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(Table->GetPathName()));
			ASSERT_NE(UE::Host::CreateGameViewport(World(), FVector2D(ViewportSize), 1.0f), nullptr);
			bMadeViewport = true;
			IFileManager::Get().MakeDirectory(TEXT(QUARN_UI_PICTURES), true);
		}

		virtual void TearDown() override
		{
			GetMutableDefault<UQuarnSettings>()->ItemIconTable = SavedTable;
			// Released first, so that the collection at the end of the test takes it with the panels.
			UE::Host::ReleaseAsset(Table);
			FPanelTest::TearDown();
		}

		/** Saves the viewport and gives back its pixels, with the canvas's corner in them. */
		UE::Host::FHostImage Paint(const UQuarnStashPanel* Panel, const TCHAR* FileName)
		{
			const FString Path = FString(TEXT(QUARN_UI_PICTURES)) / FileName;
			EXPECT_TRUE(UE::Host::SaveGameViewportToPng(World(), Path));
			EXPECT_TRUE(IFileManager::Get().FileExists(*Path));
			const FGeometry& Canvas = Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))->GetCachedGeometry();
			Corner = FVector2D(Canvas.GetAbsolutePosition());
			return UE::Host::FHostRenderer::Render(*UE::Host::GetGameViewportDrawElements(World()), ViewportSize);
		}

		/** The pixel at a canvas position. */
		FColor At(const UE::Host::FHostImage& Image, int32 X, int32 Y) const
		{
			return Image.GetPixel(FMath::FloorToInt(Corner.X + X), FMath::FloorToInt(Corner.Y + Y));
		}

		/** True when some pixel of the canvas box is the accent colour's hue: text painted in it. */
		bool HasAccentPixel(const UE::Host::FHostImage& Image, int32 X, int32 Y, int32 W, int32 H) const
		{
			for (int32 PY = Y; PY < Y + H; ++PY)
			{
				for (int32 PX = X; PX < X + W; ++PX)
				{
					const FColor C = At(Image, PX, PY);
					if (C.R > 150 && C.R > C.B + 60 && C.G > C.B + 30)
					{
						return true;
					}
				}
			}
			return false;
		}

		/** The brightest pixel of a canvas box, by its red channel. */
		uint8 Brightest(const UE::Host::FHostImage& Image, int32 X, int32 Y, int32 W, int32 H) const
		{
			uint8 Max = 0;
			for (int32 PY = Y; PY < Y + H; ++PY)
			{
				for (int32 PX = X; PX < X + W; ++PX)
				{
					Max = FMath::Max(Max, At(Image, PX, PY).R);
				}
			}
			return Max;
		}

		static void ExpectNear(const FColor& Actual, const FColor& Expected, int32 Tolerance = 2)
		{
			EXPECT_NEAR(Actual.R, Expected.R, Tolerance) << TCHAR_TO_UTF8(*Actual.ToString());
			EXPECT_NEAR(Actual.G, Expected.G, Tolerance) << TCHAR_TO_UTF8(*Actual.ToString());
			EXPECT_NEAR(Actual.B, Expected.B, Tolerance) << TCHAR_TO_UTF8(*Actual.ToString());
		}

		/** Colour blended over Below at its opacity, in sRGB as the renderer blends. */
		static FColor Over(const FColor& Below, const FLinearColor& Colour)
		{
			const FColor Top = FLinearColor(Colour.R, Colour.G, Colour.B, 1.0f).ToFColorSRGB();
			auto Mix = [&Colour](uint8 B, uint8 T) { return static_cast<uint8>(FMath::RoundToInt(B * (1.0f - Colour.A) + T * Colour.A)); };
			return FColor(Mix(Below.R, Top.R), Mix(Below.G, Top.G), Mix(Below.B, Top.B), 255);
		}

		UDataTable* Table = nullptr;
		TSoftObjectPtr<UDataTable> SavedTable;
		FVector2D Corner;
	};

	const FColor BandageBlue(0, 200, 255, 255);
	const FColor ScalpelPink(255, 0, 200, 255);
}

TEST_F(QuarnUIPicture, ALoadedGridPanel)
{
	UQuarnStashPanel* const Panel = MakePanel();
	Panel->AddToViewport();
	LoadWith(Panel, ContainerAnswer(TEXT("ctr_grid"), TEXT("grid"), {
		ItemJson(TEXT("ins_1"), TEXT("Bandage"), 3, 0, 0),
		ItemJson(TEXT("ins_2"), TEXT("Scalpel"), 1, 3, 1, -1, 2, 2),
		ItemJson(TEXT("ins_3"), TEXT("Flask"), 12, 6, 4, -1, 2, 1),
		ItemJson(TEXT("ins_4"), TEXT("Rifle"), 1, 1, 5, -1, 4, 2),
	}));
	ASSERT_EQ(Str(StatusOf(Panel)), "4 stack(s) \u00B7 10x8");
	const UE::Host::FHostImage Image = Paint(Panel, TEXT("stash-grid.png"));
	ASSERT_TRUE(Image.IsValid());

	// Outside the grid the panel's own colour over the black background, then the frame over it.
	const FColor Background = Over(FColor(0, 0, 0, 255), FLinearColor(0.055f, 0.086f, 0.098f, 0.94f));
	ExpectNear(Image.GetPixel(4, 4), Background);
	const FColor Gap = Over(Background, FLinearColor(0.0f, 0.0f, 0.0f, 0.25f));
	// Columns 576 and 64 lie between cells of empty rows (the canvas's left edge is on a whole
	// pixel, its top edge may not be).
	ExpectNear(At(Image, 576, 10), Gap);
	ExpectNear(At(Image, 64, 3 * 64 + 32), Gap);
	// An empty cell is the faint cell colour over the frame.
	ExpectNear(At(Image, 9 * 64 + 32, 32), Over(Gap, FLinearColor(1.0f, 1.0f, 1.0f, 0.04f)));

	// Icons fill their frames inside the 2-unit padding, at their stacks' cells.
	EXPECT_EQ(At(Image, 32, 32), BandageBlue);
	EXPECT_EQ(At(Image, 4, 4), BandageBlue);
	EXPECT_NE(At(Image, 2, 32), BandageBlue);
	EXPECT_EQ(At(Image, 3 * 64 + 64, 64 + 64), ScalpelPink);
	EXPECT_EQ(At(Image, 3 * 64 + 4, 64 + 4), ScalpelPink);
	EXPECT_EQ(At(Image, 5 * 64 - 6, 3 * 64 - 6), ScalpelPink);
	EXPECT_NE(At(Image, 5 * 64 + 4, 3 * 64 - 6), ScalpelPink);

	// Stacks without icons: the frame's faint white, and the item id in light text.
	const FColor EmptyCell = At(Image, 9 * 64 + 32, 32);
	EXPECT_GT(At(Image, 1 * 64 + 3, 5 * 64 + 3).R, EmptyCell.R);
	EXPECT_GT(Brightest(Image, 64 + 2, 5 * 64 + 2, 4 * 64 - 4, 2 * 64 - 4), 120);
	EXPECT_GT(Brightest(Image, 6 * 64 + 2, 4 * 64 + 2, 2 * 64 - 4, 64 - 4), 120);

	// Badges in the accent colour at their stacks' bottom right corners; none for single units.
	EXPECT_TRUE(HasAccentPixel(Image, 48, 48, 16, 16));
	EXPECT_TRUE(HasAccentPixel(Image, 6 * 64 + 112, 4 * 64 + 48, 20, 16));
	EXPECT_FALSE(HasAccentPixel(Image, 3 * 64 + 112, 64 + 112, 16, 16));
	EXPECT_FALSE(HasAccentPixel(Image, 1 * 64 + 240, 5 * 64 + 112, 16, 16));
	// The title, above the status line.
	const FGeometry& Title = Member<UTextBlock>(Panel, TEXT("TitleText"))->GetCachedGeometry();
	EXPECT_TRUE(HasAccentPixel(Image, FMath::RoundToInt(Title.GetAbsolutePosition().X - Corner.X), FMath::RoundToInt(Title.GetAbsolutePosition().Y - Corner.Y),
		FMath::RoundToInt(Title.GetAbsoluteSize().X), FMath::RoundToInt(Title.GetAbsoluteSize().Y)));

	// Tooltips are not painted.
	for (const FSlateDrawElement& Element : UE::Host::GetGameViewportDrawElements(World())->GetUncachedDrawElements())
	{
		EXPECT_FALSE(Element.GetElementType() == FSlateDrawElement::EElementType::ET_Text && Element.GetText().Contains(TEXT(" x12")));
	}
}

TEST_F(QuarnUIPicture, ALoadedSlotPanel)
{
	UQuarnStashPanel* const Panel = MakePanel(EQuarnContainerLayout::Slots);
	Panel->SlotCount = 22;
	Panel->AddToViewport();
	LoadWith(Panel, ContainerAnswer(TEXT("ctr_slots"), TEXT("slots"), {
		ItemJson(TEXT("ins_1"), TEXT("Bandage"), 5, -1, -1, 0),
		ItemJson(TEXT("ins_2"), TEXT("Scalpel"), 1, -1, -1, 7),
		ItemJson(TEXT("ins_3"), TEXT("Flask"), 2, -1, -1, 21),
	}));
	ASSERT_EQ(Str(StatusOf(Panel)), "3 of 22 slots");
	const UE::Host::FHostImage Image = Paint(Panel, TEXT("stash-slots.png"));
	ASSERT_TRUE(Image.IsValid());

	// Slot 7 of 6 per row is column 1, row 1; slot 21 is column 3, row 3.
	EXPECT_EQ(At(Image, 32, 32), BandageBlue);
	EXPECT_EQ(At(Image, 64 + 32, 64 + 32), ScalpelPink);
	EXPECT_NE(At(Image, 2 * 64 + 32, 32), ScalpelPink);
	EXPECT_GT(Brightest(Image, 3 * 64 + 2, 3 * 64 + 2, 60, 60), 120);
	EXPECT_TRUE(HasAccentPixel(Image, 48, 48, 16, 16));
	EXPECT_TRUE(HasAccentPixel(Image, 3 * 64 + 48, 3 * 64 + 48, 16, 16));

	// The last row holds four cells: where slots 22 and 23 would be, only the frame shows.
	const FColor Gap = At(Image, 128, 2 * 64 + 32);
	const FColor Cell = At(Image, 5 * 64 + 32, 2 * 64 + 32);
	EXPECT_GT(Cell.R, Gap.R);
	ExpectNear(At(Image, 4 * 64 + 32, 3 * 64 + 32), Gap, 1);
	ExpectNear(At(Image, 5 * 64 + 32, 3 * 64 + 32), Gap, 1);
	// The grid is 384 x 256: right of and below it is the panel's colour, not the frame.
	EXPECT_NE(At(Image, 384 + 3, 10), Gap);
	EXPECT_NE(At(Image, 10, 256 + 3), Gap);
}
