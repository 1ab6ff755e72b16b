// Copyright Quarn. All Rights Reserved.

#include "QuarnDemoScreen.h"
#include "Blueprint/WidgetTree.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/TextBlock.h"
#include "QuarnStashPanel.h"

namespace QuarnDemoScreen
{
	/** Where the two panels stand on a 1920 x 1080 screen: side by side, below the heading. */
	const FVector2D StashPosition(150.0, 200.0);
	const FVector2D LoadoutPosition(1150.0, 200.0);
}

TSharedRef<SWidget> UQuarnDemoScreen::RebuildWidget()
{
	if (Layout == nullptr && WidgetTree != nullptr)
	{
		BuildTree();
	}
	return Super::RebuildWidget();
}

void UQuarnDemoScreen::BuildTree()
{
	Layout = WidgetTree->ConstructWidget<UCanvasPanel>(UCanvasPanel::StaticClass(), TEXT("DemoLayout"));
	WidgetTree->RootWidget = Layout;

	UTextBlock* const Heading = WidgetTree->ConstructWidget<UTextBlock>(UTextBlock::StaticClass(), TEXT("DemoHeading"));
	Heading->SetText(NSLOCTEXT("QuarnDemo", "Heading", "QUARN SDK DEMO: STASH AND LOADOUT ON THE PLATFORM"));
	FSlateFontInfo HeadingFont = Heading->GetFont();
	HeadingFont.Size = 22;
	Heading->SetFont(HeadingFont);
	Heading->SetColorAndOpacity(FSlateColor(FLinearColor(0.94f, 0.64f, 0.19f, 1.0f)));
	if (UCanvasPanelSlot* const HeadingSlot = Layout->AddChildToCanvas(Heading))
	{
		HeadingSlot->SetPosition(FVector2D(150.0, 60.0));
		HeadingSlot->SetAutoSize(true);
	}

	Caption = WidgetTree->ConstructWidget<UTextBlock>(UTextBlock::StaticClass(), TEXT("DemoCaption"));
	FSlateFontInfo CaptionFont = Caption->GetFont();
	CaptionFont.Size = 14;
	Caption->SetFont(CaptionFont);
	Caption->SetColorAndOpacity(FSlateColor(FLinearColor(1.0f, 1.0f, 1.0f, 0.8f)));
	if (UCanvasPanelSlot* const CaptionSlot = Layout->AddChildToCanvas(Caption))
	{
		CaptionSlot->SetPosition(FVector2D(150.0, 120.0));
		CaptionSlot->SetAutoSize(true);
	}

	// Both panels are configured before they first build their own trees.
	Stash = CreateWidget<UQuarnStashPanel>(this, UQuarnStashPanel::StaticClass(), TEXT("StashPanel"));
	Stash->Ticket = Ticket;
	Stash->ContainerKind = TEXT("stash");
	Stash->Layout = EQuarnContainerLayout::Grid;
	Stash->GridWidth = 10;
	Stash->GridHeight = 8;
	Stash->Title = NSLOCTEXT("QuarnDemo", "StashTitle", "STASH");

	Loadout = CreateWidget<UQuarnStashPanel>(this, UQuarnStashPanel::StaticClass(), TEXT("LoadoutPanel"));
	Loadout->Ticket = Ticket;
	Loadout->ContainerKind = TEXT("loadout");
	Loadout->Layout = EQuarnContainerLayout::Slots;
	Loadout->SlotCount = 24;
	Loadout->SlotColumns = 6;
	Loadout->Title = NSLOCTEXT("QuarnDemo", "LoadoutTitle", "LOADOUT");

	if (UCanvasPanelSlot* const StashSlot = Layout->AddChildToCanvas(Stash))
	{
		StashSlot->SetPosition(QuarnDemoScreen::StashPosition);
		StashSlot->SetAutoSize(true);
	}
	if (UCanvasPanelSlot* const LoadoutSlot = Layout->AddChildToCanvas(Loadout))
	{
		LoadoutSlot->SetPosition(QuarnDemoScreen::LoadoutPosition);
		LoadoutSlot->SetAutoSize(true);
	}
}

void UQuarnDemoScreen::SetCaption(const FText& Text)
{
	if (Caption != nullptr)
	{
		Caption->SetText(Text);
	}
}
