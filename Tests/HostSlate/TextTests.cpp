// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Host/SlateHost.h"
#include "SlateTestSupport.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Text/STextBlock.h"

#include <gtest/gtest.h>

using SlateTest::Frame;
using SlateTest::MakeWindow;

namespace
{
	FSlateFontInfo FontOfSize(float Size, int32 LetterSpacing = 0)
	{
		FSlateFontInfo Font;
		Font.Size = Size;
		Font.LetterSpacing = LetterSpacing;
		Font.TypefaceFontName = FName(TEXT("Bold"));
		return Font;
	}

	TArray<const FSlateDrawElement*> TextElements(const FSlateWindowElementList& Elements)
	{
		TArray<const FSlateDrawElement*> Result;
		for (const FSlateDrawElement& Element : Elements.GetUncachedDrawElements())
		{
			if (Element.GetElementType() == FSlateDrawElement::EElementType::ET_Text)
			{
				Result.Add(&Element);
			}
		}
		return Result;
	}
}

TEST(HostSlateText, FontSizeIsInPointsAtNinetySixDpi)
{
	EXPECT_FLOAT_EQ(UE::Host::GetFontPixelSize(FontOfSize(24), 1.0f), 32.0f);
	EXPECT_FLOAT_EQ(UE::Host::GetFontPixelSize(FontOfSize(15), 1.5f), 30.0f);
	// Letter spacing: 1/1000 em of the point size, truncated.
	EXPECT_EQ(UE::Host::GetLetterSpacingPixels(FontOfSize(15, 220), 1.0f), 3);
	EXPECT_EQ(UE::Host::GetLetterSpacingPixels(FontOfSize(15, 220), 1.5f), 4);
	EXPECT_EQ(UE::Host::GetLetterSpacingPixels(FontOfSize(10, 0), 1.0f), 0);
}

TEST(HostSlateText, MeasuredWidthGrowsWithSizeAndLetterSpacingAddsPerCharacter)
{
	const TSharedRef<FSlateFontMeasure> Measure = UE::Host::GetFontMeasureService();
	const FVector2D Small = Measure->Measure(FString(TEXT("STASH")), FontOfSize(10));
	const FVector2D Large = Measure->Measure(FString(TEXT("STASH")), FontOfSize(20));
	EXPECT_GT(Small.X, 20.0);
	EXPECT_NEAR(Large.X / Small.X, 2.0, 0.25);
	EXPECT_GT(Large.Y, Small.Y);
	EXPECT_EQ(Small.Y, (double)Measure->GetMaxCharacterHeight(FontOfSize(10)));

	// 1000 / 1000 em at size 10 is 10 pixels after each of the 5 characters.
	const FVector2D Spaced = Measure->Measure(FString(TEXT("STASH")), FontOfSize(10, 1000));
	EXPECT_EQ(Spaced.X, Small.X + 50.0);
	EXPECT_EQ(Spaced.Y, Small.Y);
}

TEST(HostSlateText, EmptyTextIsOneLineHigh)
{
	const TSharedRef<FSlateFontMeasure> Measure = UE::Host::GetFontMeasureService();
	const FVector2D Empty = Measure->Measure(FString(), FontOfSize(12));
	EXPECT_EQ(Empty.X, 0.0);
	EXPECT_GT(Empty.Y, 0.0);

	const TSharedRef<STextBlock> Block = SNew(STextBlock).Font(FontOfSize(12));
	Block->SlatePrepass(1.0f);
	EXPECT_EQ(Block->GetDesiredSize(), FVector2D(0.0, Empty.Y));
}

TEST(HostSlateText, DesiredSizeIsTheMeasuredTextPlusShadowOffsetAndMargin)
{
	const FSlateFontInfo Font = FontOfSize(15, 220);
	const FVector2D Text = UE::Host::GetFontMeasureService()->Measure(FString(TEXT("STASH")), Font);
	const TSharedRef<STextBlock> Block = SNew(STextBlock).Text(FText::FromString(TEXT("STASH"))).Font(Font).ShadowOffset(FVector2D(1, 1)).Margin(FMargin(2, 3));
	Block->SlatePrepass(1.0f);
	EXPECT_EQ(Block->GetDesiredSize(), FVector2D(Text.X + 1 + 4, Text.Y + 1 + 6));

	Block->SetMinDesiredWidth(500.0f);
	Block->SlatePrepass(1.0f);
	EXPECT_EQ(Block->GetDesiredSize().X, 500.0);
}

TEST(HostSlateText, DesiredSizeAtAScaleIsMeasuredAtThatScale)
{
	const FSlateFontInfo Font = FontOfSize(10);
	const TSharedRef<STextBlock> Block = SNew(STextBlock).Text(FText::FromString(TEXT("Not loaded"))).Font(Font);
	Block->SlatePrepass(1.0f);
	const FVector2D AtOne = Block->GetDesiredSize();
	Block->SlatePrepass(1.5f);
	const FVector2D AtOneAndAHalf = Block->GetDesiredSize();
	const FVector2D Pixels = UE::Host::GetFontMeasureService()->Measure(FString(TEXT("Not loaded")), Font, 1.5f);
	// Slate divides the pixel size by the scale as a float vector.
	const FVector2f Expected = FVector2f((float)Pixels.X, (float)Pixels.Y) / 1.5f;
	EXPECT_EQ(AtOneAndAHalf, FVector2D(Expected.X, Expected.Y));
	EXPECT_NEAR(AtOneAndAHalf.X, AtOne.X, 2.0);
}

TEST(HostSlateText, AutoWrapUsesTheWidthOfThePreviousPaint)
{
	const TSharedRef<STextBlock> Block = SNew(STextBlock).Text(FText::FromString(TEXT("medkit large bandage roll"))).Font(FontOfSize(8)).AutoWrapText(true);
	const TSharedRef<SBox> Box = SNew(SBox).WidthOverride(60.0f).HAlign(HAlign_Fill).VAlign(VAlign_Top)[Block];
	const TSharedRef<SWindow> Window = MakeWindow(Box, FVector2D(60, 200));
	FSlateWindowElementList Elements(nullptr);

	// First frame: nothing has been painted yet, so the desired size is one line.
	Frame(Window, Elements);
	const double OneLine = UE::Host::GetFontMeasureService()->GetMaxCharacterHeight(FontOfSize(8));
	EXPECT_EQ(Block->GetDesiredSize().Y, OneLine);
	// The paint itself already wraps at the width it was given.
	const TArray<const FSlateDrawElement*> Lines = TextElements(Elements);
	ASSERT_GT(Lines.Num(), 1);
	for (const FSlateDrawElement* Line : Lines)
	{
		EXPECT_LE(Line->GetLocalSize().X, 60.0f);
	}

	// Next frame the desired size knows the wrapped height.
	Frame(Window, Elements);
	EXPECT_EQ(Block->GetDesiredSize().Y, OneLine * Lines.Num());
}

TEST(HostSlateText, WordsLongerThanTheWidthStayWholeUnlessPerCharacterWrapping)
{
	const FText Word = FText::FromString(TEXT("supercalifragilistic"));
	const TSharedRef<STextBlock> Whole = SNew(STextBlock).Text(Word).Font(FontOfSize(10)).WrapTextAt(30.0f);
	const TSharedRef<STextBlock> Broken = SNew(STextBlock).Text(Word).Font(FontOfSize(10)).WrapTextAt(30.0f).WrappingPolicy(ETextWrappingPolicy::AllowPerCharacterWrapping);
	Whole->SlatePrepass(1.0f);
	Broken->SlatePrepass(1.0f);
	const double OneLine = UE::Host::GetFontMeasureService()->GetMaxCharacterHeight(FontOfSize(10));
	EXPECT_EQ(Whole->GetDesiredSize().Y, OneLine);
	EXPECT_GT(Whole->GetDesiredSize().X, 30.0);
	EXPECT_GT(Broken->GetDesiredSize().Y, OneLine * 2);
	EXPECT_LE(Broken->GetDesiredSize().X, 30.0);
}

TEST(HostSlateText, HardLineBreaksAlwaysSplit)
{
	const TSharedRef<STextBlock> Block = SNew(STextBlock).Text(FText::FromString(TEXT("one\ntwo\r\nthree"))).Font(FontOfSize(10));
	Block->SlatePrepass(1.0f);
	const double OneLine = UE::Host::GetFontMeasureService()->GetMaxCharacterHeight(FontOfSize(10));
	EXPECT_EQ(Block->GetDesiredSize().Y, OneLine * 3);
}

TEST(HostSlateText, CentredLinesSitInTheMiddleOfTheAllottedWidth)
{
	const TSharedRef<STextBlock> Block = SNew(STextBlock).Text(FText::FromString(TEXT("ab"))).Font(FontOfSize(10)).Justification(ETextJustify::Center);
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Block, FVector2D(200, 50)), Elements);
	const TArray<const FSlateDrawElement*> Lines = TextElements(Elements);
	ASSERT_EQ(Lines.Num(), 1);
	const float Width = Lines[0]->GetLocalSize().X;
	EXPECT_FLOAT_EQ(Lines[0]->GetRenderTransform().GetTranslation().X, (200.0f - Width) / 2.0f);

	Block->SetJustification(ETextJustify::Right);
	Frame(MakeWindow(Block, FVector2D(200, 50)), Elements);
	EXPECT_FLOAT_EQ(TextElements(Elements)[0]->GetRenderTransform().GetTranslation().X, 200.0f - Width);
}

TEST(HostSlateText, TextIsPaintedInItsColourTintedByTheWidgetStyle)
{
	const TSharedRef<STextBlock> Block = SNew(STextBlock).Text(FText::FromString(TEXT("x"))).ColorAndOpacity(FLinearColor(1.0f, 1.0f, 1.0f, 0.55f));
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Block, FVector2D(50, 50)), Elements);
	const TArray<const FSlateDrawElement*> Lines = TextElements(Elements);
	ASSERT_EQ(Lines.Num(), 1);
	EXPECT_EQ(Lines[0]->GetTint(), FLinearColor(1.0f, 1.0f, 1.0f, 0.55f));
	EXPECT_EQ(Lines[0]->GetText(), TEXT("x"));
}
