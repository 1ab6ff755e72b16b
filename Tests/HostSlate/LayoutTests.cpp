// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Host/SlateHost.h"
#include "SlateTestSupport.h"
#include "Widgets/IToolTip.h"
#include "Widgets/Images/SImage.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Layout/SConstraintCanvas.h"
#include "Widgets/Layout/SDPIScaler.h"
#include "Widgets/Layout/SSpacer.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/SNullWidget.h"
#include "Widgets/SOverlay.h"

#include <gtest/gtest.h>

using SlateTest::ExpectTickRect;
using SlateTest::Frame;
using SlateTest::MakeWindow;

namespace
{
	TSharedRef<SSpacer> Spacer(double Width, double Height)
	{
		return SNew(SSpacer).Size(FVector2D(Width, Height));
	}
}

TEST(HostSlateLayout, VerticalBoxGivesFixedSpaceFirstAndSharesTheRestByCoefficient)
{
	TSharedPtr<SVerticalBox> Box;
	const TSharedRef<SSpacer> Auto = Spacer(100, 40);
	const TSharedRef<SSpacer> FillOne = Spacer(10, 10);
	const TSharedRef<SSpacer> FillThree = Spacer(20, 20);
	SAssignNew(Box, SVerticalBox);
	Box->AddSlot().AutoHeight().Padding(FMargin(5, 10, 5, 0)).HAlign(HAlign_Left)[Auto];
	Box->AddSlot().FillHeight(1.0f)[FillOne];
	Box->AddSlot().FillHeight(3.0f).HAlign(HAlign_Right).VAlign(VAlign_Center)[FillThree];

	const TSharedRef<SWindow> Window = MakeWindow(Box.ToSharedRef(), FVector2D(800, 600));
	FSlateWindowElementList Elements(nullptr);
	Frame(Window, Elements);

	// Fixed: 40 + 10 of padding; the remaining 550 goes 1:3.
	ExpectTickRect(*Auto, 5, 10, 100, 40);
	ExpectTickRect(*FillOne, 0, 50, 800, 137.5f);
	// Centred in its 412.5 high slot, right-aligned at its desired width.
	ExpectTickRect(*FillThree, 780, 383.75f, 20, 20);

	// Desired size: the widest child with its padding, the sum of heights with padding.
	EXPECT_EQ(Box->GetDesiredSize(), FVector2D(110, 80));
}

TEST(HostSlateLayout, NewBoxSlotsStretch)
{
	TSharedRef<SVerticalBox> Box = SNew(SVerticalBox);
	const TSharedRef<SSpacer> A = Spacer(10, 10);
	const TSharedRef<SSpacer> B = Spacer(10, 30);
	Box->AddSlot()[A];
	Box->AddSlot()[B];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Box, FVector2D(100, 100)), Elements);
	ExpectTickRect(*A, 0, 0, 100, 50);
	ExpectTickRect(*B, 0, 50, 100, 50);
}

TEST(HostSlateLayout, CollapsedChildrenTakeNoSpaceHiddenOnesDo)
{
	TSharedRef<SVerticalBox> Box = SNew(SVerticalBox);
	const TSharedRef<SSpacer> Collapsed = SNew(SSpacer).Size(FVector2D(10, 100)).Visibility(EVisibility::Collapsed);
	const TSharedRef<SSpacer> Hidden = SNew(SSpacer).Size(FVector2D(10, 20)).Visibility(EVisibility::Hidden);
	const TSharedRef<SSpacer> After = Spacer(10, 5);
	Box->AddSlot().AutoHeight()[Collapsed];
	Box->AddSlot().AutoHeight()[Hidden];
	Box->AddSlot().AutoHeight()[After];

	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Box, FVector2D(100, 100)), Elements);
	EXPECT_EQ(Box->GetDesiredSize(), FVector2D(10, 25));
	ExpectTickRect(*After, 0, 20, 100, 5);
	// Neither was painted, so neither has a geometry yet.
	EXPECT_EQ(Collapsed->GetTickSpaceGeometry(), FGeometry());
	EXPECT_EQ(Hidden->GetTickSpaceGeometry(), FGeometry());
}

TEST(HostSlateLayout, CentreAlignmentUsesTheEnginesPaddingFormula)
{
	// (Allotted - Size) / 2 + Left - Right: an asymmetric padding shifts by the whole difference.
	const TSharedRef<SSpacer> Child = Spacer(40, 10);
	const TSharedRef<SBorder> Border = SNew(SBorder).Padding(FMargin(10, 0, 30, 0)).HAlign(HAlign_Center).VAlign(VAlign_Top)[Child];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Border, FVector2D(200, 100)), Elements);
	ExpectTickRect(*Child, 60, 0, 40, 10);
}

TEST(HostSlateLayout, RightAndBottomAlignmentKeepTheTrailingPadding)
{
	const TSharedRef<SSpacer> Child = Spacer(40, 10);
	const TSharedRef<SBorder> Border = SNew(SBorder).Padding(FMargin(1, 2, 3, 4)).HAlign(HAlign_Right).VAlign(VAlign_Bottom)[Child];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Border, FVector2D(200, 100)), Elements);
	ExpectTickRect(*Child, 157, 86, 40, 10);
}

TEST(HostSlateLayout, ChildLargerThanItsSlotIsClampedUnlessFilling)
{
	const TSharedRef<SSpacer> Child = Spacer(500, 500);
	const TSharedRef<SBorder> Border = SNew(SBorder).Padding(FMargin(10)).HAlign(HAlign_Left).VAlign(VAlign_Fill)[Child];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Border, FVector2D(200, 100)), Elements);
	ExpectTickRect(*Child, 10, 10, 180, 80);
}

TEST(HostSlateLayout, BorderDesiredSizeIsContentPlusPaddingTimesScale)
{
	const TSharedRef<SBorder> Border = SNew(SBorder).Padding(FMargin(4, 2))[Spacer(30, 20)];
	const TSharedRef<SBorder> Default = SNew(SBorder)[Spacer(30, 20)];
	Border->SlatePrepass(1.0f);
	Default->SlatePrepass(1.0f);
	EXPECT_EQ(Border->GetDesiredSize(), FVector2D(38, 24));
	// An SBorder's own default padding is 2 on every side.
	EXPECT_EQ(Default->GetDesiredSize(), FVector2D(34, 24));
	Border->SetDesiredSizeScale(FVector2D(2, 0.5));
	Border->SlatePrepass(1.0f);
	EXPECT_EQ(Border->GetDesiredSize(), FVector2D(76, 12));
}

TEST(HostSlateLayout, BorderPaintsItsBrushTintedBehindItsContent)
{
	FSlateBrush Brush;
	Brush.TintColor = FLinearColor(1.0f, 0.5f, 1.0f, 1.0f);
	const TSharedRef<SImage> Image = SNew(SImage);
	const TSharedRef<SBorder> Border = SNew(SBorder).BorderImage(&Brush).BorderBackgroundColor(FLinearColor(0.5f, 1.0f, 1.0f, 0.5f)).Padding(FMargin(0))[Image];
	FSlateBrush ImageBrush;
	Image->SetImage(&ImageBrush);

	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Border, FVector2D(50, 40)), Elements);
	const TArray<FSlateDrawElement>& Drawn = Elements.GetUncachedDrawElements();
	ASSERT_EQ(Drawn.Num(), 2);
	EXPECT_EQ(Drawn[0].GetTint(), FLinearColor(0.5f, 0.5f, 1.0f, 0.5f));
	EXPECT_LT(Drawn[0].GetLayer(), Drawn[1].GetLayer());
	SlateTest::ExpectVector(Drawn[0].GetLocalSize(), 50, 40);
}

TEST(HostSlateLayout, BoxOverridesReplaceTheContentsDesiredSize)
{
	const TSharedRef<SBox> Box = SNew(SBox).WidthOverride(640.0f).HeightOverride(512.0f)[Spacer(10, 10)];
	Box->SlatePrepass(1.0f);
	EXPECT_EQ(Box->GetDesiredSize(), FVector2D(640, 512));

	Box->SetWidthOverride(FOptionalSize());
	Box->SetMinDesiredWidth(50.0f);
	Box->SlatePrepass(1.0f);
	EXPECT_EQ(Box->GetDesiredSize(), FVector2D(50, 512));

	Box->SetMinDesiredWidth(FOptionalSize());
	Box->SetMaxDesiredWidth(4.0f);
	Box->SlatePrepass(1.0f);
	EXPECT_EQ(Box->GetDesiredSize(), FVector2D(4, 512));
}

TEST(HostSlateLayout, EmptyBoxStillReportsItsOverridesButACollapsedChildCollapsesIt)
{
	const TSharedRef<SBox> Empty = SNew(SBox).WidthOverride(64.0f).HeightOverride(32.0f);
	Empty->SlatePrepass(1.0f);
	EXPECT_EQ(Empty->GetDesiredSize(), FVector2D(64, 32));

	const TSharedRef<SBox> Collapsed = SNew(SBox).WidthOverride(64.0f).HeightOverride(32.0f)[SNew(SSpacer).Visibility(EVisibility::Collapsed)];
	Collapsed->SlatePrepass(1.0f);
	EXPECT_EQ(Collapsed->GetDesiredSize(), FVector2D(0, 0));
}

TEST(HostSlateLayout, BoxInsideAVerticalBoxGetsItsOverriddenHeight)
{
	const TSharedRef<SSpacer> Inner = Spacer(1, 1);
	const TSharedRef<SBox> Box = SNew(SBox).WidthOverride(640.0f).HeightOverride(512.0f)[Inner];
	const TSharedRef<SVerticalBox> Column = SNew(SVerticalBox);
	Column->AddSlot().AutoHeight()[Spacer(10, 20)];
	Column->AddSlot().AutoHeight()[Box];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Column, FVector2D(1000, 1000)), Elements);
	ExpectTickRect(*Box, 0, 20, 1000, 512);
	EXPECT_EQ(Column->GetDesiredSize(), FVector2D(640, 532));
}

TEST(HostSlateLayout, CanvasPlacesChildrenByAnchorsOffsetsAndAlignment)
{
	const TSharedRef<SConstraintCanvas> Canvas = SNew(SConstraintCanvas);
	const TSharedRef<SSpacer> Point = Spacer(1, 1);
	const TSharedRef<SSpacer> Pivoted = Spacer(1, 1);
	const TSharedRef<SSpacer> Stretched = Spacer(1, 1);
	const TSharedRef<SSpacer> AutoSized = Spacer(33, 44);
	Canvas->AddSlot().Offset(FMargin(10, 20, 100, 30)).Alignment(FVector2D(0, 0))[Point];
	Canvas->AddSlot().Offset(FMargin(200, 150, 50, 40)).Alignment(FVector2D(0.5, 0.5))[Pivoted];
	Canvas->AddSlot().Anchors(FAnchors(0, 0, 1, 1)).Offset(FMargin(5, 6, 7, 8)).Alignment(FVector2D(0, 0))[Stretched];
	Canvas->AddSlot().Offset(FMargin(1, 2, 100, 100)).Alignment(FVector2D(0, 0)).AutoSize(true)[AutoSized];

	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Canvas, FVector2D(400, 300)), Elements);
	ExpectTickRect(*Point, 10, 20, 100, 30);
	ExpectTickRect(*Pivoted, 175, 130, 50, 40);
	// Stretched: the offsets are distances from the anchor lines.
	ExpectTickRect(*Stretched, 5, 6, 388, 286);
	ExpectTickRect(*AutoSized, 1, 2, 33, 44);

	// Docked children add their offsets; a stretched child adds only its Right/Bottom.
	EXPECT_EQ(Canvas->GetDesiredSize(), FVector2D(250, 190));
}

TEST(HostSlateLayout, CanvasPaintsInZOrderKeepingInsertionOrderForEqualZ)
{
	const TSharedRef<SConstraintCanvas> Canvas = SNew(SConstraintCanvas);
	FSlateBrush Brushes[4];
	const float ZOrders[4] = {5.0f, 0.0f, 5.0f, -1.0f};
	for (int32 Index = 0; Index < 4; ++Index)
	{
		Brushes[Index].TintColor = FLinearColor((float)Index, 0.0f, 0.0f, 1.0f);
		Canvas->AddSlot().Offset(FMargin(0, 0, 10, 10)).ZOrder(ZOrders[Index])[SNew(SImage).Image(&Brushes[Index])];
	}
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Canvas, FVector2D(100, 100)), Elements);

	const TArray<FSlateDrawElement>& Drawn = Elements.GetUncachedDrawElements();
	ASSERT_EQ(Drawn.Num(), 4);
	const float ExpectedOrder[4] = {3.0f, 1.0f, 0.0f, 2.0f};
	for (int32 Index = 0; Index < 4; ++Index)
	{
		EXPECT_EQ(Drawn[Index].GetTint().R, ExpectedOrder[Index]);
		if (Index > 0)
		{
			// Every canvas child is a layer above all before it.
			EXPECT_GT(Drawn[Index].GetLayer(), Drawn[Index - 1].GetLayer());
		}
	}
}

TEST(HostSlateLayout, CanvasSlotsCanBeRemovedByWidget)
{
	const TSharedRef<SConstraintCanvas> Canvas = SNew(SConstraintCanvas);
	const TSharedRef<SSpacer> A = Spacer(1, 1);
	const TSharedRef<SSpacer> B = Spacer(1, 1);
	Canvas->AddSlot()[A];
	Canvas->AddSlot()[B];
	EXPECT_TRUE(A->GetParentWidget() == Canvas);
	EXPECT_EQ(Canvas->RemoveSlot(A), 0);
	EXPECT_EQ(Canvas->RemoveSlot(A), INDEX_NONE);
	EXPECT_FALSE(A->GetParentWidget().IsValid());
	EXPECT_EQ(Canvas->GetChildren()->Num(), 1);
}

TEST(HostSlateLayout, OverlaySlotsAreOrderedByZOrderAndPaintedUpwards)
{
	const TSharedRef<SOverlay> Overlay = SNew(SOverlay);
	FSlateBrush Brushes[3];
	for (int32 Index = 0; Index < 3; ++Index)
	{
		Brushes[Index].TintColor = FLinearColor((float)Index, 0.0f, 0.0f, 1.0f);
	}
	Overlay->AddSlot(10)[SNew(SImage).Image(&Brushes[0])];
	Overlay->AddSlot(0)[SNew(SImage).Image(&Brushes[1])];
	Overlay->AddSlot(10)[SNew(SImage).Image(&Brushes[2])];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Overlay, FVector2D(100, 100)), Elements);
	const TArray<FSlateDrawElement>& Drawn = Elements.GetUncachedDrawElements();
	ASSERT_EQ(Drawn.Num(), 3);
	EXPECT_EQ(Drawn[0].GetTint().R, 1.0f);
	EXPECT_EQ(Drawn[1].GetTint().R, 0.0f);
	EXPECT_EQ(Drawn[2].GetTint().R, 2.0f);
	EXPECT_LT(Drawn[0].GetLayer(), Drawn[1].GetLayer());
	EXPECT_LT(Drawn[1].GetLayer(), Drawn[2].GetLayer());
}

TEST(HostSlateLayout, DPIScalerScalesItsChildsLayout)
{
	const TSharedRef<SSpacer> Child = Spacer(30, 20);
	const TSharedRef<SDPIScaler> Scaler = SNew(SDPIScaler).DPIScale(2.0f)[Child];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Scaler, FVector2D(200, 100)), Elements);
	EXPECT_EQ(Scaler->GetDesiredSize(), FVector2D(60, 40));
	EXPECT_EQ(Child->GetPrepassLayoutScaleMultiplier(), 2.0f);
	EXPECT_EQ(Child->GetTickSpaceGeometry().Scale, 2.0f);
	SlateTest::ExpectVector(Child->GetTickSpaceGeometry().GetLocalSize(), 100, 50);
}

namespace
{
	struct FCentredGrid
	{
		TSharedRef<SBox> Grid = SNew(SBox).WidthOverride(640.0f).HeightOverride(512.0f);
		TSharedRef<SBorder> Root = SNew(SBorder).Padding(FMargin(0)).HAlign(HAlign_Center).VAlign(VAlign_Center)[Grid];
	};
}

TEST(HostSlateLayout, CachedGeometryUnderAWindowOffsetAtScaleOne)
{
	FCentredGrid Tree;
	const TSharedRef<SWindow> Window = MakeWindow(Tree.Root, FVector2D(1920, 1080), 1.0f, FVector2D(100, 200));
	FSlateWindowElementList Elements(nullptr);
	Frame(Window, Elements);

	// Desktop space includes the window position; window (paint) space does not.
	ExpectTickRect(*Tree.Grid, 740, 484, 640, 512);
	SlateTest::ExpectVector(Tree.Grid->GetPaintSpaceGeometry().GetAbsolutePosition(), 640, 284);
	SlateTest::ExpectVector(Tree.Grid->GetTickSpaceGeometry().AbsoluteToLocal(FVector2D(740 + 100, 484 + 10)), 100, 10);
}

TEST(HostSlateLayout, CachedGeometryUnderAWindowOffsetAtScaleOneAndAHalf)
{
	FCentredGrid Tree;
	const TSharedRef<SWindow> Window = MakeWindow(Tree.Root, FVector2D(1920, 1080), 1.5f, FVector2D(100, 200));
	FSlateWindowElementList Elements(nullptr);
	Frame(Window, Elements);

	// The window is 1280 x 720 units; the grid sits at (320, 104) units, times 1.5, plus the position.
	ExpectTickRect(*Tree.Grid, 580, 356, 960, 768);
	EXPECT_FLOAT_EQ(Tree.Grid->GetTickSpaceGeometry().Scale, 1.5f);
	const FVector2f Local = Tree.Grid->GetTickSpaceGeometry().AbsoluteToLocal(FVector2D(580 + 150, 356 + 15));
	EXPECT_NEAR(Local.X, 100.0f, 1e-4);
	EXPECT_NEAR(Local.Y, 10.0f, 1e-4);
}

TEST(HostSlateLayout, GeometryIsCachedAgainEachFrame)
{
	FCentredGrid Tree;
	const TSharedRef<SWindow> Window = MakeWindow(Tree.Root, FVector2D(1000, 1000));
	FSlateWindowElementList Elements(nullptr);
	Frame(Window, Elements);
	ExpectTickRect(*Tree.Grid, 180, 244, 640, 512);
	Tree.Grid->SetWidthOverride(100.0f);
	Window->MoveWindowTo(FVector2D(5, 5));
	Frame(Window, Elements);
	ExpectTickRect(*Tree.Grid, 455, 249, 100, 512);
}

TEST(HostSlateLayout, ChildrenOutsideTheWindowAreNotPainted)
{
	const TSharedRef<SConstraintCanvas> Canvas = SNew(SConstraintCanvas);
	FSlateBrush Brush;
	const TSharedRef<SImage> Outside = SNew(SImage).Image(&Brush);
	const TSharedRef<SImage> Inside = SNew(SImage).Image(&Brush);
	Canvas->AddSlot().Offset(FMargin(500, 500, 10, 10)).Alignment(FVector2D(0, 0))[Outside];
	Canvas->AddSlot().Offset(FMargin(5, 5, 10, 10)).Alignment(FVector2D(0, 0))[Inside];
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Canvas, FVector2D(100, 100)), Elements);
	EXPECT_EQ(Elements.GetUncachedDrawElements().Num(), 1);
	EXPECT_EQ(Outside->GetTickSpaceGeometry(), FGeometry());
}

TEST(HostSlateLayout, ToolTipsAreStoredButNeverPainted)
{
	FSlateBrush Brush;
	const TSharedRef<SImage> Image = SNew(SImage).Image(&Brush).ToolTipText(FText::FromString(TEXT("Bandage x3")));
	FSlateWindowElementList Elements(nullptr);
	Frame(MakeWindow(Image, FVector2D(64, 64)), Elements);

	const TSharedPtr<IToolTip> ToolTip = Image->GetToolTip();
	ASSERT_TRUE(ToolTip.IsValid());
	EXPECT_FALSE(ToolTip->IsEmpty());
	EXPECT_EQ(UE::Host::GetToolTipText(ToolTip).ToString(), TEXT("Bandage x3"));
	EXPECT_EQ(SlateTest::CountElements(Elements, FSlateDrawElement::EElementType::ET_Text), 0);
	EXPECT_EQ(Elements.GetUncachedDrawElements().Num(), 1);
}

TEST(HostSlateLayout, NullWidgetIsHiddenAndSizeless)
{
	EXPECT_EQ(SNullWidget::NullWidget->GetVisibility(), EVisibility::Hidden);
	SNullWidget::NullWidget->SlatePrepass(1.0f);
	EXPECT_EQ(SNullWidget::NullWidget->GetDesiredSize(), FVector2D(0, 0));
	EXPECT_EQ(SNullWidget::NullWidget->GetType(), FName(TEXT("SNullWidgetContent")));
}

TEST(HostSlateLayout, BoxSlotsAreDeclaredAndJoinTheBoxAtTheEndOfTheDeclaration)
{
	const TSharedRef<SVerticalBox> Box = SNew(SVerticalBox);
	const TSharedRef<SSpacer> First = Spacer(10, 10);
	const TSharedRef<SSpacer> Inserted = Spacer(10, 10);
	SVerticalBox::FSlot* Exposed = nullptr;
	{
		SVerticalBox::FScopedWidgetSlotArguments Declaration = Box->AddSlot();
		Declaration.AutoHeight().Padding(2.0f).MaxHeight(30.0f).Expose(Exposed)[First];
		// Still being declared: the box has no slot yet, but the exposed one is the slot it will hold.
		EXPECT_EQ(Box->NumSlots(), 0);
		EXPECT_EQ(Box->GetChildren()->Num(), 0);
		EXPECT_NE(Exposed, nullptr);
	}
	ASSERT_EQ(Box->GetChildren()->Num(), 1);
	EXPECT_EQ(&Box->GetSlot(0), Exposed);
	EXPECT_EQ(Exposed->GetSizeRule(), FSizeParam::SizeRule_Auto);
	EXPECT_EQ(Exposed->GetMaxSize(), 30.0f);
	EXPECT_EQ(Exposed->GetPadding(), FMargin(2.0f));
	EXPECT_EQ(Box->GetChildren()->GetChildAt(0), First);

	// What a declaration leaves unset keeps the slot's defaults: stretching with coefficient 1, filling.
	Box->InsertSlot(0)[Inserted];
	ASSERT_EQ(Box->NumSlots(), 2);
	EXPECT_EQ(Box->GetChildren()->GetChildAt(0), Inserted);
	EXPECT_EQ(Box->GetSlot(0).GetSizeRule(), FSizeParam::SizeRule_Stretch);
	EXPECT_EQ(Box->GetSlot(0).GetSizeValue(), 1.0f);
	EXPECT_EQ(Box->GetSlot(0).GetHorizontalAlignment(), HAlign_Fill);
	EXPECT_EQ(&Box->GetSlot(1), Exposed);

	// A declaration moved from joins once, from where it was moved to.
	const TSharedRef<SHorizontalBox> Row = SNew(SHorizontalBox);
	{
		SHorizontalBox::FScopedWidgetSlotArguments Declaration = Row->AddSlot();
		Declaration.FillWidth(3.0f).VAlign(VAlign_Bottom)[Spacer(1, 1)];
		{
			SHorizontalBox::FScopedWidgetSlotArguments Moved(MoveTemp(Declaration));
			EXPECT_EQ(Row->NumSlots(), 0);
		}
		EXPECT_EQ(Row->NumSlots(), 1);
	}
	ASSERT_EQ(Row->NumSlots(), 1);
	EXPECT_EQ(Row->GetSlot(0).GetSizeValue(), 3.0f);
	EXPECT_EQ(Row->GetSlot(0).GetVerticalAlignment(), VAlign_Bottom);
}

TEST(HostSlateLayout, OverlaySlotsAreDeclaredWithTheirZOrder)
{
	const TSharedRef<SOverlay> Overlay = SNew(SOverlay);
	const TSharedRef<SSpacer> High = Spacer(1, 1);
	const TSharedRef<SSpacer> Low = Spacer(1, 1);
	const TSharedRef<SSpacer> Appended = Spacer(1, 1);
	Overlay->AddSlot(5).Padding(1.0f)[High];
	Overlay->AddSlot(1)[Low];
	// No z order: after the last slot, one above it.
	Overlay->AddSlot()[Appended];
	FChildren* const Children = Overlay->GetChildren();
	ASSERT_EQ(Children->Num(), 3);
	EXPECT_EQ(Overlay->GetNumWidgets(), 3);
	EXPECT_EQ(Children->GetChildAt(0), Low);
	EXPECT_EQ(Children->GetChildAt(1), High);
	EXPECT_EQ(Children->GetChildAt(2), Appended);
	EXPECT_TRUE(Overlay->RemoveSlot(High));
	EXPECT_EQ(Children->Num(), 2);
}
