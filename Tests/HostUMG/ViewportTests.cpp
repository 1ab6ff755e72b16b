// Copyright Quarn. All Rights Reserved.

#include "UMGTestSupport.h"
#include "UMGTestWidgets.h"
#include "Blueprint/GameViewportSubsystem.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/TextBlock.h"
#include "Engine/GameViewportClient.h"
#include "Engine/Texture2D.h"
#include "Host/SlateApplicationHost.h"
#include "Host/HostRenderer.h"
#include "Rendering/DrawElements.h"

namespace
{
	struct FViewportCase
	{
		float Scale;
		FVector2D Offset;
	};

	int32 CountTexts(const FSlateWindowElementList& Elements, const FString& Text)
	{
		int32 Count = 0;
		for (const FSlateDrawElement& Element : Elements.GetUncachedDrawElements())
		{
			Count += (Element.GetElementType() == FSlateDrawElement::EElementType::ET_Text && Element.GetText().Contains(Text)) ? 1 : 0;
		}
		return Count;
	}
}

class HostUMGViewport : public UMGTest::FEngineFixture, public testing::WithParamInterface<FViewportCase>
{
};

TEST_P(HostUMGViewport, CachedGeometryFollowsTheViewportOffsetAndScale)
{
	const FViewportCase Case = GetParam();
	UHostTestPanel* Panel = CreateWidget<UHostTestPanel>(GameInstance);
	ASSERT_NE(UE::Host::CreateGameViewport(World, FVector2D(400.0, 300.0), Case.Scale, Case.Offset), nullptr);
	Panel->AddToViewport();

	// Nothing laid out before the first frame.
	UMGTest::ExpectVector(FVector2D(Panel->Canvas->GetCachedGeometry().GetLocalSize()), 0.0, 0.0);

	// A frame of the Slate application, as the engine loop ticks it, lays out and paints the viewport.
	UE::Host::FHostSlateApplication::Get().Tick(0.016f);
	const FGeometry& CanvasGeometry = Panel->Canvas->GetCachedGeometry();
	const FGeometry& SwatchGeometry = Panel->Swatch->GetCachedGeometry();
	const FGeometry& TitleGeometry = Panel->Title->GetCachedGeometry();
	SCOPED_TRACE(TCHAR_TO_UTF8(*CanvasGeometry.ToString()));

	const double S = Case.Scale;
	UMGTest::ExpectVector(FVector2D(CanvasGeometry.GetLocalSize()), 100.0, 80.0);
	EXPECT_FLOAT_EQ(CanvasGeometry.Scale, Case.Scale);
	const FVector2D CanvasTopLeft(CanvasGeometry.GetAbsolutePosition());
	// Border padding 10, then the title and its 4 units of bottom padding above the size box.
	EXPECT_NEAR(CanvasTopLeft.X, Case.Offset.X + 10.0 * S, 1e-3);
	const double TitleBottom = FVector2D(TitleGeometry.GetAbsolutePosition()).Y + FVector2D(TitleGeometry.GetAbsoluteSize()).Y;
	EXPECT_GT(FVector2D(TitleGeometry.GetLocalSize()).Y, 0.0);
	EXPECT_NEAR(CanvasTopLeft.Y, TitleBottom + 4.0 * S, 1e-3);

	UMGTest::ExpectVector(FVector2D(SwatchGeometry.GetAbsolutePosition()), CanvasTopLeft.X + 20.0 * S, CanvasTopLeft.Y + 10.0 * S);
	UMGTest::ExpectVector(FVector2D(SwatchGeometry.GetAbsoluteSize()), 40.0 * S, 30.0 * S);

	// A screen point inside the swatch, back in the canvas's own units.
	const FVector2D Screen = CanvasTopLeft + FVector2D(25.0, 15.0) * S;
	UMGTest::ExpectVector(CanvasGeometry.AbsoluteToLocal(Screen), 25.0, 15.0);
	UMGTest::ExpectVector(FVector2D(CanvasGeometry.LocalToAbsolute(FVector2D(25.0, 15.0))), Screen.X, Screen.Y);
	// The swatch's own space starts at its corner.
	UMGTest::ExpectVector(SwatchGeometry.AbsoluteToLocal(Screen), 5.0, 5.0);

	// Moving the slot moves the geometry from the next frame on.
	CastChecked<UCanvasPanelSlot>(Panel->Swatch->Slot)->SetPosition(FVector2D(50.0, 40.0));
	UMGTest::ExpectVector(FVector2D(Panel->Swatch->GetCachedGeometry().GetAbsolutePosition()), CanvasTopLeft.X + 20.0 * S, CanvasTopLeft.Y + 10.0 * S);
	ASSERT_TRUE(UE::Host::DrawGameViewport(World));
	UMGTest::ExpectVector(FVector2D(Panel->Swatch->GetCachedGeometry().GetAbsolutePosition()), CanvasTopLeft.X + 50.0 * S, CanvasTopLeft.Y + 40.0 * S);
}

INSTANTIATE_TEST_SUITE_P(Scales, HostUMGViewport, testing::Values(FViewportCase{ 1.0f, FVector2D(0.0, 0.0) }, FViewportCase{ 1.0f, FVector2D(30.0, 20.0) }, FViewportCase{ 1.5f, FVector2D(30.0, 20.0) }));

using HostUMGScreen = UMGTest::FEngineFixture;

TEST_F(HostUMGScreen, TooltipsAreStoredButNotPainted)
{
	UHostTestPanel* Panel = CreateWidget<UHostTestPanel>(GameInstance);
	UE::Host::CreateGameViewport(World, FVector2D(200.0, 160.0));
	Panel->AddToViewport();
	ASSERT_TRUE(UE::Host::DrawGameViewport(World));
	const FSlateWindowElementList* const Elements = UE::Host::GetGameViewportDrawElements(World);
	ASSERT_NE(Elements, nullptr);
	EXPECT_EQ(Panel->Swatch->GetToolTipText().ToString(), TEXT("TOOLTIP TEXT"));
	EXPECT_TRUE(Panel->Swatch->GetCachedWidget()->GetToolTip().IsValid());
	EXPECT_EQ(CountTexts(*Elements, TEXT("PANEL")), 1);
	EXPECT_EQ(CountTexts(*Elements, TEXT("TOOLTIP")), 0);
}

TEST_F(HostUMGScreen, AddingTwiceShowsOnceAndRemovingClearsTheViewport)
{
	UHostTestPanel* Panel = CreateWidget<UHostTestPanel>(GameInstance);
	UGameViewportClient* const Client = UE::Host::CreateGameViewport(World, FVector2D(200.0, 160.0));
	ASSERT_NE(Client, nullptr);
	EXPECT_EQ(World->GetGameViewport(), Client);
	EXPECT_EQ(GEngine->GameViewport, Client);
	FVector2D ViewportSize;
	Client->GetViewportSize(ViewportSize);
	EXPECT_EQ(ViewportSize, FVector2D(200.0, 160.0));

	Panel->AddToViewport(3);
	Panel->AddToViewport(3);
	ASSERT_TRUE(UE::Host::DrawGameViewport(World));
	EXPECT_EQ(CountTexts(*UE::Host::GetGameViewportDrawElements(World), TEXT("PANEL")), 1);
	EXPECT_EQ(UGameViewportSubsystem::Get()->GetWidgetSlot(Panel).ZOrder, 3);
	EXPECT_EQ(Panel->ConstructCount, 1);

	Panel->RemoveFromParent();
	ASSERT_TRUE(UE::Host::DrawGameViewport(World));
	EXPECT_EQ(UE::Host::GetGameViewportDrawElements(World)->GetUncachedDrawElements().Num(), 0);

	// Without a viewport nothing is added, and nothing fails loudly.
	UE::Host::DestroyGameViewport(World);
	EXPECT_EQ(World->GetGameViewport(), nullptr);
	Panel->AddToViewport();
	EXPECT_FALSE(UGameViewportSubsystem::Get()->IsWidgetAdded(Panel));
	EXPECT_FALSE(UE::Host::DrawGameViewport(World));
	EXPECT_EQ(UE::Host::CreateGameViewport(World, FVector2D(0.0, 10.0)), nullptr);
}

TEST_F(HostUMGScreen, ThePaintedViewportShowsBordersAndImagesWhereTheyAreLaidOut)
{
	// A 2x2 green texture for the swatch.
	TArray<uint8> Green;
	for (int32 Index = 0; Index < 4; ++Index)
	{
		Green.Append({ 0, 255, 0, 255 });
	}
	UTexture2D* const Texture = UTexture2D::CreateTransient(2, 2, PF_B8G8R8A8, NAME_None, TConstArrayView64<uint8>(Green.GetData(), Green.Num()));
	ASSERT_NE(Texture, nullptr);

	UHostTestPanel* Panel = CreateWidget<UHostTestPanel>(GameInstance);
	Panel->SwatchTexture = Texture;
	UE::Host::CreateGameViewport(World, FVector2D(240.0, 180.0), 1.5f);
	Panel->AddToViewport();

	const FString Path = TEXT("build/HostUMGViewport.png");
	ASSERT_TRUE(UE::Host::SaveGameViewportToPng(World, Path));
	const FSlateWindowElementList* const Elements = UE::Host::GetGameViewportDrawElements(World);
	ASSERT_NE(Elements, nullptr);
	UE::Host::FHostImage Image = UE::Host::FHostRenderer::Render(*Elements, FIntPoint(240, 180));
	ASSERT_TRUE(Image.IsValid());

	const FGeometry& Swatch = Panel->Swatch->GetCachedGeometry();
	const FVector2D SwatchCentre = FVector2D(Swatch.GetAbsolutePosition()) + FVector2D(Swatch.GetAbsoluteSize()) * 0.5;
	const FColor Centre = Image.GetPixel(FMath::FloorToInt(SwatchCentre.X), FMath::FloorToInt(SwatchCentre.Y));
	EXPECT_EQ(Centre, FColor(0, 255, 0, 255)) << TCHAR_TO_UTF8(*Centre.ToString());

	// The red border fills the viewport around its content; corners are red.
	EXPECT_EQ(Image.GetPixel(2, 2), FColor(255, 0, 0, 255));
	EXPECT_EQ(Image.GetPixel(237, 177), FColor(255, 0, 0, 255));
	// Inside the canvas but beside the swatch: the canvas draws nothing, the border shows through.
	const FVector2D Beside = FVector2D(Swatch.GetAbsolutePosition()) + FVector2D(Swatch.GetAbsoluteSize().X + 6.0, 3.0);
	EXPECT_EQ(Image.GetPixel(FMath::FloorToInt(Beside.X), FMath::FloorToInt(Beside.Y)), FColor(255, 0, 0, 255));

	// Collapsed, the swatch is gone from the next frame.
	Panel->Swatch->SetVisibility(ESlateVisibility::Collapsed);
	ASSERT_TRUE(UE::Host::DrawGameViewport(World));
	Image = UE::Host::FHostRenderer::Render(*UE::Host::GetGameViewportDrawElements(World), FIntPoint(240, 180));
	EXPECT_EQ(Image.GetPixel(FMath::FloorToInt(SwatchCentre.X), FMath::FloorToInt(SwatchCentre.Y)), FColor(255, 0, 0, 255));
}
