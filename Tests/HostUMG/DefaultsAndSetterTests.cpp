// Copyright Quarn. All Rights Reserved.

#include "UMGTestSupport.h"
#include "UMGTestWidgets.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/BorderSlot.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/SizeBox.h"
#include "Components/TextBlock.h"
#include "Components/VerticalBox.h"
#include "Components/VerticalBoxSlot.h"
#include "UObject/UnrealType.h"
#include "Widgets/Text/STextBlock.h"

namespace
{
	void ExpectMargin(const FMargin& Margin, float Left, float Top, float Right, float Bottom)
	{
		EXPECT_FLOAT_EQ(Margin.Left, Left);
		EXPECT_FLOAT_EQ(Margin.Top, Top);
		EXPECT_FLOAT_EQ(Margin.Right, Right);
		EXPECT_FLOAT_EQ(Margin.Bottom, Bottom);
	}

	/** The engine has no getter for it (the property is protected), so it is read as the property. */
	int32 JustificationOf(const UTextBlock* Text)
	{
		const FByteProperty* const Property = FindFProperty<FByteProperty>(UTextLayoutWidget::StaticClass(), TEXT("Justification"));
		return Property ? Property->GetPropertyValue_InContainer(Text) : -1;
	}
}

class HostUMGDefaults : public UMGTest::FEngineFixture
{
protected:
	void SetUp() override
	{
		UMGTest::FEngineFixture::SetUp();
		Owner = CreateWidget<UHostTestPanel>(GameInstance);
		ASSERT_NE(Owner, nullptr);
		Tree = Owner->WidgetTree;
	}

	UHostTestPanel* Owner = nullptr;
	UWidgetTree* Tree = nullptr;
};

TEST_F(HostUMGDefaults, WidgetsStartWithTheEnginesValues)
{
	EXPECT_EQ(Owner->GetVisibility(), ESlateVisibility::SelfHitTestInvisible);

	UBorder* const Border = Tree->ConstructWidget<UBorder>();
	ExpectMargin(Border->GetPadding(), 4.0f, 2.0f, 4.0f, 2.0f);
	EXPECT_EQ(Border->GetHorizontalAlignment(), HAlign_Fill);
	EXPECT_EQ(Border->GetVerticalAlignment(), VAlign_Fill);
	EXPECT_EQ(Border->GetBrushColor(), FLinearColor::White);
	EXPECT_EQ(Border->GetVisibility(), ESlateVisibility::Visible);

	UTextBlock* const Text = Tree->ConstructWidget<UTextBlock>();
	EXPECT_FLOAT_EQ(Text->GetFont().Size, 24.0f);
	EXPECT_EQ(Text->GetFont().LetterSpacing, 0);
	EXPECT_EQ(JustificationOf(Text), ETextJustify::Left);
	EXPECT_FALSE(Text->GetAutoWrapText());

	UImage* const Image = Tree->ConstructWidget<UImage>();
	EXPECT_EQ(Image->GetColorAndOpacity(), FLinearColor::White);
	EXPECT_EQ(Image->GetBrush().GetImageSize(), FVector2D(32.0, 32.0));
	EXPECT_EQ(Image->GetVisibility(), ESlateVisibility::Visible);

	UCanvasPanel* const Canvas = Tree->ConstructWidget<UCanvasPanel>();
	UCanvasPanelSlot* const CanvasSlot = Canvas->AddChildToCanvas(Tree->ConstructWidget<UImage>());
	ASSERT_NE(CanvasSlot, nullptr);
	EXPECT_EQ(CanvasSlot->GetSize(), FVector2D(100.0, 30.0));
	EXPECT_EQ(CanvasSlot->GetPosition(), FVector2D(0.0, 0.0));
	EXPECT_EQ(CanvasSlot->GetAnchors().Minimum, FVector2D(0.0, 0.0));
	EXPECT_EQ(CanvasSlot->GetAnchors().Maximum, FVector2D(0.0, 0.0));
	EXPECT_FALSE(CanvasSlot->GetAutoSize());
	EXPECT_EQ(CanvasSlot->GetZOrder(), 0);

	UVerticalBox* const Box = Tree->ConstructWidget<UVerticalBox>();
	UVerticalBoxSlot* const BoxSlot = Box->AddChildToVerticalBox(Tree->ConstructWidget<UImage>());
	ASSERT_NE(BoxSlot, nullptr);
	EXPECT_EQ(BoxSlot->GetSize().SizeRule, ESlateSizeRule::Automatic);
	EXPECT_EQ(BoxSlot->GetHorizontalAlignment(), HAlign_Fill);
	EXPECT_EQ(BoxSlot->GetVerticalAlignment(), VAlign_Fill);
	ExpectMargin(BoxSlot->GetPadding(), 0.0f, 0.0f, 0.0f, 0.0f);
	// The plain child size defaults to fill; the slot chooses automatic.
	EXPECT_EQ(FSlateChildSize().SizeRule, ESlateSizeRule::Fill);

	USizeBox* const SizeBox = Tree->ConstructWidget<USizeBox>();
	EXPECT_FALSE(SizeBox->IsWidthOverride());
	EXPECT_FALSE(SizeBox->IsHeightOverride());
}

TEST_F(HostUMGDefaults, TheBorderSlotCopiesTheBordersLayoutOnceWhenContentIsSet)
{
	UBorder* const Border = Tree->ConstructWidget<UBorder>();
	Border->SetPadding(FMargin(7.0f));
	Border->SetHorizontalAlignment(HAlign_Right);
	Border->SetContent(Tree->ConstructWidget<UImage>());
	UBorderSlot* const BorderSlot = Cast<UBorderSlot>(Border->GetContentSlot());
	ASSERT_NE(BorderSlot, nullptr);
	ExpectMargin(BorderSlot->GetPadding(), 7.0f, 7.0f, 7.0f, 7.0f);
	EXPECT_EQ(BorderSlot->GetHorizontalAlignment(), HAlign_Right);

	// Later changes on the border do not reach the slot.
	Border->SetPadding(FMargin(1.0f));
	Border->SetVerticalAlignment(VAlign_Bottom);
	ExpectMargin(BorderSlot->GetPadding(), 7.0f, 7.0f, 7.0f, 7.0f);
	EXPECT_EQ(BorderSlot->GetVerticalAlignment(), VAlign_Fill);

	// The slot's setters go through to the border.
	BorderSlot->SetPadding(FMargin(3.0f, 5.0f));
	BorderSlot->SetHorizontalAlignment(HAlign_Center);
	ExpectMargin(Border->GetPadding(), 3.0f, 5.0f, 3.0f, 5.0f);
	EXPECT_EQ(Border->GetHorizontalAlignment(), HAlign_Center);
}

TEST_F(HostUMGDefaults, TextSettersReachTheBuiltSlateText)
{
	UTextBlock* const Text = Tree->ConstructWidget<UTextBlock>();
	Text->SetText(FText::FromString(TEXT("Before")));
	const TSharedRef<SWidget> Built = Text->TakeWidget();
	STextBlock& SlateText = static_cast<STextBlock&>(Built.Get());
	EXPECT_EQ(SlateText.GetText().ToString(), TEXT("Before"));

	Text->SetText(FText::FromString(TEXT("After")));
	FSlateFontInfo Font = Text->GetFont();
	Font.Size = 15;
	Font.LetterSpacing = 220;
	Text->SetFont(Font);
	Text->SetColorAndOpacity(FSlateColor(FLinearColor(0.5f, 0.25f, 0.0f, 1.0f)));
	Text->SetJustification(ETextJustify::Center);
	Text->SetAutoWrapText(true);

	EXPECT_EQ(Text->GetText().ToString(), TEXT("After"));
	EXPECT_EQ(SlateText.GetText().ToString(), TEXT("After"));
	EXPECT_FLOAT_EQ(SlateText.GetFont().Size, 15.0f);
	EXPECT_EQ(SlateText.GetFont().LetterSpacing, 220);
	EXPECT_EQ(Text->GetColorAndOpacity().GetSpecifiedColor(), FLinearColor(0.5f, 0.25f, 0.0f, 1.0f));
	EXPECT_EQ(JustificationOf(Text), ETextJustify::Center);
	EXPECT_TRUE(Text->GetAutoWrapText());
}

TEST_F(HostUMGDefaults, CanvasSlotSettersStoreOffsetsAndAutoSize)
{
	UCanvasPanel* const Canvas = Tree->ConstructWidget<UCanvasPanel>();
	UCanvasPanelSlot* const CanvasSlot = Canvas->AddChildToCanvas(Tree->ConstructWidget<UTextBlock>());
	CanvasSlot->SetPosition(FVector2D(12.0, 34.0));
	CanvasSlot->SetSize(FVector2D(56.0, 78.0));
	CanvasSlot->SetZOrder(11);
	CanvasSlot->SetAutoSize(true);
	ExpectMargin(CanvasSlot->GetOffsets(), 12.0f, 34.0f, 56.0f, 78.0f);
	EXPECT_EQ(CanvasSlot->GetZOrder(), 11);
	EXPECT_TRUE(CanvasSlot->GetAutoSize());

	USizeBox* const SizeBox = Tree->ConstructWidget<USizeBox>();
	SizeBox->SetWidthOverride(640.0f);
	EXPECT_TRUE(SizeBox->IsWidthOverride());
	EXPECT_FLOAT_EQ(SizeBox->GetWidthOverride(), 640.0f);
	SizeBox->ClearWidthOverride();
	EXPECT_FALSE(SizeBox->IsWidthOverride());
}

TEST_F(HostUMGDefaults, VisibilityAndTooltipAreStoredBeforeAndAfterBuilding)
{
	UImage* const Image = Tree->ConstructWidget<UImage>();
	Image->SetToolTipText(FText::FromString(TEXT("Bandage x3")));
	Image->SetVisibility(ESlateVisibility::Hidden);
	EXPECT_EQ(Image->GetToolTipText().ToString(), TEXT("Bandage x3"));
	EXPECT_EQ(Image->GetVisibility(), ESlateVisibility::Hidden);

	const TSharedRef<SWidget> Built = Image->TakeWidget();
	EXPECT_TRUE(Built->GetToolTip().IsValid());
	EXPECT_EQ(Built->GetVisibility(), EVisibility::Hidden);
	Image->SetVisibility(ESlateVisibility::Collapsed);
	EXPECT_EQ(Built->GetVisibility(), EVisibility::Collapsed);
	EXPECT_EQ(Image->GetVisibility(), ESlateVisibility::Collapsed);

	// Never built: the cached geometry is the null widget's, of size zero.
	UImage* const Unbuilt = Tree->ConstructWidget<UImage>();
	UMGTest::ExpectVector(FVector2D(Unbuilt->GetCachedGeometry().GetLocalSize()), 0.0, 0.0);
}
