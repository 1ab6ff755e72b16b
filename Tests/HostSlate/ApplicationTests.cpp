// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Host/SlateApplicationHost.h"
#include "SlateTestSupport.h"
#include "Widgets/Images/SImage.h"
#include "Widgets/Layout/SSpacer.h"

#include <gtest/gtest.h>

using UE::Host::FHostSlateApplication;

TEST(HostSlateApplication, TickLaysOutAndPaintsEveryRegisteredWindow)
{
	FSlateBrush Brush;
	const TSharedRef<SImage> Image = SNew(SImage).Image(&Brush);
	const TSharedRef<SWindow> Window = SlateTest::MakeWindow(Image, FVector2D(40, 30), 2.0f, FVector2D(7, 9));
	FHostSlateApplication& Application = FHostSlateApplication::Get();
	EXPECT_EQ(Application.GetDrawElements(*Window), nullptr);

	Application.AddWindow(Window);
	Application.AddWindow(Window);
	EXPECT_EQ(Application.GetWindows().Num(), 1);
	const uint64 FramesBefore = Application.GetFrameCount();
	Application.Tick(0.5f);
	EXPECT_EQ(Application.GetFrameCount(), FramesBefore + 1);

	const FSlateWindowElementList* Elements = Application.GetDrawElements(*Window);
	ASSERT_NE(Elements, nullptr);
	EXPECT_EQ(Elements->GetUncachedDrawElements().Num(), 1);
	// 40 x 30 pixels at scale 2 are 20 x 15 units; desktop space adds the window's position.
	SlateTest::ExpectTickRect(*Image, 7, 9, 40, 30);
	SlateTest::ExpectVector(Image->GetTickSpaceGeometry().GetLocalSize(), 20, 15);

	// A second frame does not add to the first one's elements.
	Application.Tick(0.5f);
	EXPECT_EQ(Application.GetDrawElements(*Window)->GetUncachedDrawElements().Num(), 1);

	Application.RemoveWindow(Window);
	EXPECT_EQ(Application.GetWindows().Num(), 0);
	EXPECT_EQ(Application.GetDrawElements(*Window), nullptr);
}

TEST(HostSlateApplication, RenderOpacityFadesTheWidgetAndItsChildren)
{
	FSlateBrush Brush;
	const TSharedRef<SImage> Image = SNew(SImage).Image(&Brush).ColorAndOpacity(FLinearColor(1, 1, 1, 0.8f));
	const TSharedRef<SWindow> Window = SlateTest::MakeWindow(Image, FVector2D(10, 10));
	Window->SetRenderOpacity(0.5f);
	FSlateWindowElementList Elements(nullptr);
	SlateTest::Frame(Window, Elements);
	ASSERT_EQ(Elements.GetUncachedDrawElements().Num(), 1);
	EXPECT_FLOAT_EQ(Elements.GetUncachedDrawElements()[0].GetTint().A, 0.4f);
}
