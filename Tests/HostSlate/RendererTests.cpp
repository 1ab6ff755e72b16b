// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Host/HostRenderer.h"
#include "SlateTestSupport.h"
#include "UObject/Package.h"
#include "Widgets/Images/SImage.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Layout/SConstraintCanvas.h"
#include "Widgets/Text/STextBlock.h"

#include <gtest/gtest.h>

#include <cstdio>

using SlateTest::Frame;
using SlateTest::MakeWindow;
using UE::Host::FHostImage;
using UE::Host::FHostRenderer;

namespace
{
	bool NearlyEqual(const FColor& A, const FColor& B, int32 Tolerance = 1)
	{
		return FMath::Abs((int32)A.R - (int32)B.R) <= Tolerance && FMath::Abs((int32)A.G - (int32)B.G) <= Tolerance
			&& FMath::Abs((int32)A.B - (int32)B.B) <= Tolerance && FMath::Abs((int32)A.A - (int32)B.A) <= Tolerance;
	}

	::testing::AssertionResult PixelIs(const FHostImage& Image, int32 X, int32 Y, const FColor& Expected, int32 Tolerance = 1)
	{
		const FColor Actual = Image.GetPixel(X, Y);
		if (NearlyEqual(Actual, Expected, Tolerance))
		{
			return ::testing::AssertionSuccess();
		}
		return ::testing::AssertionFailure() << "pixel (" << X << ", " << Y << ") is " << TCHAR_TO_UTF8(*Actual.ToHex()) << ", expected " << TCHAR_TO_UTF8(*Expected.ToHex());
	}

	struct FCanvasScene
	{
		TSharedRef<SConstraintCanvas> Canvas = SNew(SConstraintCanvas);
		TArray<TUniquePtr<FSlateBrush>> Brushes;

		TSharedRef<SImage> AddBox(const FMargin& Offset, const FLinearColor& Colour, float ZOrder = 0.0f)
		{
			FSlateBrush& Brush = *Brushes.Add_GetRef(MakeUnique<FSlateBrush>());
			const TSharedRef<SImage> Image = SNew(SImage).Image(&Brush).ColorAndOpacity(Colour);
			Canvas->AddSlot().Offset(Offset).Alignment(FVector2D(0, 0)).ZOrder(ZOrder)[Image];
			return Image;
		}
	};
}

TEST(HostSlateRenderer, BoxesAreFilledWithTheirColourInSrgb)
{
	FCanvasScene Scene;
	const FLinearColor Panel(0.055f, 0.086f, 0.098f, 1.0f);
	Scene.AddBox(FMargin(10, 10, 30, 20), Panel);
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Scene.Canvas, FVector2D(64, 48)), Elements);
	const FHostImage Image = FHostRenderer::Render(Elements, FIntPoint(64, 48));

	ASSERT_TRUE(Image.IsValid());
	const FColor Expected = Panel.ToFColor(true);
	EXPECT_TRUE(PixelIs(Image, 10, 10, Expected));
	EXPECT_TRUE(PixelIs(Image, 39, 29, Expected));
	// Outside the box: the black background.
	EXPECT_TRUE(PixelIs(Image, 9, 10, FColor(0, 0, 0, 255)));
	EXPECT_TRUE(PixelIs(Image, 40, 29, FColor(0, 0, 0, 255)));
	EXPECT_TRUE(PixelIs(Image, 20, 30, FColor(0, 0, 0, 255)));
}

TEST(HostSlateRenderer, TranslucentBoxesBlendOverWhatIsBelowAndLaterLayersWin)
{
	FCanvasScene Scene;
	Scene.AddBox(FMargin(0, 0, 40, 40), FLinearColor::White, 0.0f);
	Scene.AddBox(FMargin(0, 0, 20, 20), FLinearColor(0.0f, 0.0f, 0.0f, 0.25f), 1.0f);
	// Lower z order, added last: still drawn beneath the white box.
	Scene.AddBox(FMargin(30, 30, 20, 10), FLinearColor::Red, -1.0f);
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Scene.Canvas, FVector2D(64, 64)), Elements);
	const FHostImage Image = FHostRenderer::Render(Elements, FIntPoint(64, 64));

	// A quarter of black over white: 255 * 0.75.
	EXPECT_TRUE(PixelIs(Image, 5, 5, FColor(191, 191, 191, 255), 1));
	EXPECT_TRUE(PixelIs(Image, 25, 25, FColor(255, 255, 255, 255)));
	EXPECT_TRUE(PixelIs(Image, 35, 35, FColor(255, 255, 255, 255)));
	EXPECT_TRUE(PixelIs(Image, 45, 35, FColor(255, 0, 0, 255)));
}

TEST(HostSlateRenderer, DpiScaleAndWindowSpaceScaleThePicture)
{
	FCanvasScene Scene;
	Scene.AddBox(FMargin(10, 10, 20, 20), FLinearColor::Green);
	FSlateWindowElementList Elements(nullptr);
	// The window sits at a desktop offset, which the picture (window space) does not show.
	Frame(MakeWindow(Scene.Canvas, FVector2D(90, 90), 1.5f, FVector2D(500, 500)), Elements);
	const FHostImage Image = FHostRenderer::Render(Elements, FIntPoint(90, 90));
	EXPECT_TRUE(PixelIs(Image, 15, 15, FColor(0, 255, 0, 255)));
	EXPECT_TRUE(PixelIs(Image, 44, 44, FColor(0, 255, 0, 255)));
	EXPECT_TRUE(PixelIs(Image, 46, 46, FColor(0, 0, 0, 255)));
	EXPECT_TRUE(PixelIs(Image, 13, 20, FColor(0, 0, 0, 255)));
}

TEST(HostSlateRenderer, TextIsDrawnInsideItsBoxInItsColour)
{
	FSlateFontInfo Font;
	Font.Size = 20;
	const TSharedRef<STextBlock> Text = SNew(STextBlock).Text(FText::FromString(TEXT("HHHH"))).Font(Font).ColorAndOpacity(FLinearColor(1.0f, 0.0f, 0.0f, 1.0f));
	const TSharedRef<SConstraintCanvas> Canvas = SNew(SConstraintCanvas);
	Canvas->AddSlot().Offset(FMargin(20, 10, 0, 0)).Alignment(FVector2D(0, 0)).AutoSize(true)[Text];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Canvas, FVector2D(200, 80)), Elements);
	Frame(MakeWindow(Canvas, FVector2D(200, 80)), Elements);
	const FHostImage Image = FHostRenderer::Render(Elements, FIntPoint(200, 80));

	const FGeometry& Geometry = Text->GetPaintSpaceGeometry();
	const FVector2f TopLeft = Geometry.GetAbsolutePosition();
	const FVector2f Size = Geometry.GetAbsoluteSize();
	int32 Inside = 0;
	int32 Outside = 0;
	for (int32 Y = 0; Y < Image.Height; ++Y)
	{
		for (int32 X = 0; X < Image.Width; ++X)
		{
			const FColor Pixel = Image.GetPixel(X, Y);
			if (Pixel.R > 128 && Pixel.G < 64 && Pixel.B < 64)
			{
				const bool bInside = X >= TopLeft.X && X < TopLeft.X + Size.X && Y >= TopLeft.Y && Y < TopLeft.Y + Size.Y;
				(bInside ? Inside : Outside) += 1;
			}
		}
	}
	EXPECT_GT(Inside, 100);
	EXPECT_EQ(Outside, 0);
}

TEST(HostSlateRenderer, TexturesComeFromTheReaderStretchedAndTinted)
{
	// A 2 x 1 texture: white on the left, opaque blue on the right. Any object stands for it.
	UObject* const Texture = GetTransientPackage();
	FHostRenderer::SetTextureReader([Texture](const UObject* Resource, FHostImage& OutImage)
		{
			if (Resource != Texture)
			{
				return false;
			}
			OutImage.Width = 2;
			OutImage.Height = 1;
			OutImage.Pixels = {FColor(255, 255, 255, 255), FColor(0, 0, 255, 255)};
			return true;
		});

	FSlateBrush Brush;
	Brush.SetResourceObject(Texture);
	const TSharedRef<SImage> Image = SNew(SImage).Image(&Brush).ColorAndOpacity(FLinearColor(1.0f, 0.0f, 1.0f, 1.0f));
	const TSharedRef<SConstraintCanvas> Canvas = SNew(SConstraintCanvas);
	Canvas->AddSlot().Offset(FMargin(0, 0, 40, 20)).Alignment(FVector2D(0, 0))[Image];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Canvas, FVector2D(40, 20)), Elements);
	const FHostImage Picture = FHostRenderer::Render(Elements, FIntPoint(40, 20));
	FHostRenderer::SetTextureReader(nullptr);

	// White times magenta is magenta; blue times magenta stays blue.
	EXPECT_TRUE(PixelIs(Picture, 2, 10, FColor(255, 0, 255, 255)));
	EXPECT_TRUE(PixelIs(Picture, 37, 10, FColor(0, 0, 255, 255)));
}

TEST(HostSlateRenderer, TooltipsAreNotDrawn)
{
	FCanvasScene Scene;
	const TSharedRef<SImage> Box = Scene.AddBox(FMargin(0, 0, 100, 50), FLinearColor::Black);
	Box->SetToolTipText(FText::FromString(TEXT("WWWWWWWW")));
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Scene.Canvas, FVector2D(100, 50)), Elements);
	const FHostImage Image = FHostRenderer::Render(Elements, FIntPoint(100, 50), FLinearColor::White);
	for (int32 Y = 0; Y < Image.Height; ++Y)
	{
		for (int32 X = 0; X < Image.Width; ++X)
		{
			ASSERT_TRUE(PixelIs(Image, X, Y, FColor(0, 0, 0, 255)));
		}
	}
}

TEST(HostSlateRenderer, WritesAPngAndRefusesAnEmptyImage)
{
	FCanvasScene Scene;
	Scene.AddBox(FMargin(4, 4, 8, 8), FLinearColor::Yellow);
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Scene.Canvas, FVector2D(16, 16)), Elements);
	const FString Path = FString(TEXT("build/HostSlateRendererTest.png"));
	ASSERT_TRUE(FHostRenderer::RenderToPng(Elements, FIntPoint(16, 16), Path));
	FILE* File = fopen(TCHAR_TO_UTF8(*Path), "rb");
	ASSERT_NE(File, nullptr);
	unsigned char Signature[8] = {};
	EXPECT_EQ(fread(Signature, 1, 8, File), 8u);
	fclose(File);
	EXPECT_EQ(Signature[1], 'P');
	EXPECT_EQ(Signature[2], 'N');
	EXPECT_EQ(Signature[3], 'G');

	EXPECT_FALSE(FHostRenderer::SavePng(FHostImage(), TEXT("build/never.png")));
	EXPECT_FALSE(FHostRenderer::SavePng(FHostRenderer::Render(Elements, FIntPoint(4, 4)), TEXT("/nonexistent-dir/x.png")));
}
