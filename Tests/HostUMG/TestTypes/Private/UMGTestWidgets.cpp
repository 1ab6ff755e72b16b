// Copyright Quarn. All Rights Reserved.

#include "UMGTestWidgets.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/SizeBox.h"
#include "Components/TextBlock.h"
#include "Components/VerticalBox.h"
#include "Components/VerticalBoxSlot.h"
#include "Engine/Texture2D.h"
#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, HostUMGTestTypes);

UHostTestPanel::UHostTestPanel(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

TSharedRef<SWidget> UHostTestPanel::RebuildWidget()
{
	if (Root == nullptr && WidgetTree != nullptr)
	{
		BuildTree();
	}
	return Super::RebuildWidget();
}

void UHostTestPanel::NativePreConstruct()
{
	Super::NativePreConstruct();
	++PreConstructCount;
}

void UHostTestPanel::NativeConstruct()
{
	Super::NativeConstruct();
	++ConstructCount;
}

void UHostTestPanel::BuildTree()
{
	++BuildCount;
	Root = WidgetTree->ConstructWidget<UBorder>(UBorder::StaticClass(), TEXT("Root"));
	Root->SetBrushColor(FLinearColor(1.0f, 0.0f, 0.0f, 1.0f));
	Root->SetPadding(FMargin(10.0f));
	// Before SetContent: the border slot copies these once, when the content is added.
	Root->SetHorizontalAlignment(HAlign_Left);
	Root->SetVerticalAlignment(VAlign_Top);
	WidgetTree->RootWidget = Root;

	Column = WidgetTree->ConstructWidget<UVerticalBox>(UVerticalBox::StaticClass(), TEXT("Column"));
	Root->SetContent(Column);

	Title = WidgetTree->ConstructWidget<UTextBlock>(UTextBlock::StaticClass(), TEXT("Title"));
	Title->SetText(FText::FromString(TEXT("PANEL")));
	FSlateFontInfo Font = Title->GetFont();
	Font.Size = 12;
	Title->SetFont(Font);
	if (UVerticalBoxSlot* TitleSlot = Column->AddChildToVerticalBox(Title))
	{
		TitleSlot->SetPadding(FMargin(0.0f, 0.0f, 0.0f, 4.0f));
	}

	CanvasSizer = WidgetTree->ConstructWidget<USizeBox>(USizeBox::StaticClass(), TEXT("CanvasSizer"));
	CanvasSizer->SetWidthOverride(100.0f);
	CanvasSizer->SetHeightOverride(80.0f);
	Column->AddChildToVerticalBox(CanvasSizer);

	Canvas = WidgetTree->ConstructWidget<UCanvasPanel>(UCanvasPanel::StaticClass(), TEXT("Canvas"));
	CanvasSizer->SetContent(Canvas);

	Swatch = WidgetTree->ConstructWidget<UImage>(UImage::StaticClass(), TEXT("Swatch"));
	if (SwatchTexture)
	{
		Swatch->SetBrushFromTexture(SwatchTexture, false);
	}
	else
	{
		Swatch->SetColorAndOpacity(FLinearColor(0.0f, 0.0f, 1.0f, 1.0f));
	}
	Swatch->SetToolTipText(FText::FromString(TEXT("TOOLTIP TEXT")));
	if (UCanvasPanelSlot* SwatchSlot = Canvas->AddChildToCanvas(Swatch))
	{
		SwatchSlot->SetPosition(FVector2D(20.0, 10.0));
		SwatchSlot->SetSize(FVector2D(40.0, 30.0));
	}
}

UHostTestAbstractWidget::UHostTestAbstractWidget(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}
