// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanel.h"
#include "QuarnUIStats.h"
#include "QuarnLog.h"
#include "QuarnSettings.h"
#include "QuarnStashPanelLayout.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/SizeBox.h"
#include "Components/TextBlock.h"
#include "Components/VerticalBox.h"
#include "Components/VerticalBoxSlot.h"
#include "Engine/DataTable.h"
#include "Widgets/Layout/SConstraintCanvas.h"

namespace QuarnStashPanelStyle
{
	static const FLinearColor StatusColour(1.0f, 1.0f, 1.0f, 0.55f);
	static const FLinearColor ErrorColour(0.94f, 0.42f, 0.35f, 1.0f);
	static const FLinearColor GridFrameColour(0.0f, 0.0f, 0.0f, 0.25f);

	/** Cells drawn at most by one grid: a grid as large as the platform allows. */
	static constexpr int64 MaxDrawnCells = 1000 * 1000;
}

UQuarnStashPanel::UQuarnStashPanel(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	// The panel itself takes hits, not only its children.
	SetVisibility(ESlateVisibility::Visible);
}

void UQuarnStashPanel::NativeConstruct()
{
	Super::NativeConstruct();

	const TSoftObjectPtr<UDataTable>& IconTable = UQuarnSettings::Get()->ItemIconTable;
	if (!IconTable.IsNull())
	{
		ItemTable = IconTable.LoadSynchronous();
	}

	if (bLoadOnConstruct && !IsDesignTime())
	{
		LoadStash();
	}
}

TSharedRef<SWidget> UQuarnStashPanel::RebuildWidget()
{
	// Built once per panel: rebuilding the Slate widget later reuses the same widgets.
	if (Root == nullptr && WidgetTree != nullptr)
	{
		BuildTree();
	}
	return Super::RebuildWidget();
}

void UQuarnStashPanel::BuildTree()
{
	Root = WidgetTree->ConstructWidget<UBorder>(UBorder::StaticClass(), TEXT("StashPanel"));
	Root->SetBrushColor(PanelColour);
	Root->SetPadding(FMargin(16.0f));
	// Alignments before the content: the border hands them to its slot when the content is set.
	Root->SetHorizontalAlignment(HAlign_Center);
	Root->SetVerticalAlignment(VAlign_Center);
	WidgetTree->RootWidget = Root;

	UVerticalBox* Column = WidgetTree->ConstructWidget<UVerticalBox>(UVerticalBox::StaticClass(), TEXT("StashColumn"));
	Root->SetContent(Column);

	TitleText = WidgetTree->ConstructWidget<UTextBlock>(UTextBlock::StaticClass(), TEXT("StashTitle"));
	TitleText->SetText(Title);
	TitleText->SetColorAndOpacity(FSlateColor(AccentColour));
	FSlateFontInfo TitleFont = TitleText->GetFont();
	TitleFont.Size = 15;
	TitleFont.LetterSpacing = 220;
	TitleText->SetFont(TitleFont);
	Column->AddChildToVerticalBox(TitleText);

	StatusText = WidgetTree->ConstructWidget<UTextBlock>(UTextBlock::StaticClass(), TEXT("StashStatus"));
	StatusText->SetColorAndOpacity(FSlateColor(QuarnStashPanelStyle::StatusColour));
	FSlateFontInfo StatusFont = StatusText->GetFont();
	StatusFont.Size = 10;
	StatusText->SetFont(StatusFont);
	if (UVerticalBoxSlot* StatusSlot = Column->AddChildToVerticalBox(StatusText))
	{
		StatusSlot->SetPadding(FMargin(0.0f, 2.0f, 0.0f, 8.0f));
	}

	GridSizer = WidgetTree->ConstructWidget<USizeBox>(USizeBox::StaticClass(), TEXT("StashSizer"));
	Column->AddChildToVerticalBox(GridSizer);

	GridFrame = WidgetTree->ConstructWidget<UBorder>(UBorder::StaticClass(), TEXT("StashGridFrame"));
	GridFrame->SetBrushColor(QuarnStashPanelStyle::GridFrameColour);
	GridFrame->SetPadding(FMargin(0.0f));
	GridSizer->SetContent(GridFrame);

	GridCanvas = WidgetTree->ConstructWidget<UCanvasPanel>(UCanvasPanel::StaticClass(), TEXT("StashGrid"));
	GridFrame->SetContent(GridCanvas);

	if (Layout == EQuarnContainerLayout::Slots)
	{
		const int32 Columns = FMath::Max(SlotColumns, 1);
		DrawGrid(Columns, QuarnStashPanelLayout::SlotRows(SlotCount, Columns), SlotCount);
	}
	else
	{
		DrawGrid(GridWidth, GridHeight, 0);
	}

	SetStatus(NSLOCTEXT("QuarnStashPanel", "Idle", "Not loaded"), false);
}

void UQuarnStashPanel::SetStatus(const FText& Text, bool bIsError)
{
	if (StatusText == nullptr)
	{
		return;
	}
	StatusText->SetText(Text);
	StatusText->SetColorAndOpacity(FSlateColor(bIsError ? QuarnStashPanelStyle::ErrorColour : QuarnStashPanelStyle::StatusColour));
}

void UQuarnStashPanel::DrawGrid(int32 Columns, int32 Rows, int32 CellCount)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::DrawGrid);
	SCOPE_CYCLE_COUNTER(STAT_QuarnDrawGrid);
	CSV_SCOPED_TIMING_STAT(Quarn, PanelDrawGrid);
	if (GridCanvas == nullptr)
	{
		return;
	}
	// Empty the Slate canvas first: the panel then removes each child without searching the canvas's
	// slots for it, so clearing a large grid takes time in proportion to its size, not its square.
	if (const TSharedPtr<SConstraintCanvas> SlateCanvas = GridCanvas->GetCanvasWidget())
	{
		SlateCanvas->ClearChildren();
	}
	GridCanvas->ClearChildren();
	// The listed widgets were children of the canvas and are gone with it.
	ItemWidgets.Reset();

	Columns = FMath::Max(Columns, 1);
	Rows = FMath::Max(Rows, 1);
	// In 64 bits: a width and height set from Blueprint can multiply past int32.
	const int64 GridCells = static_cast<int64>(Columns) * static_cast<int64>(Rows);
	int64 CellsToDraw = CellCount < 1 ? GridCells : static_cast<int64>(CellCount);
	if (CellsToDraw > QuarnStashPanelStyle::MaxDrawnCells)
	{
		UE_LOG(LogQuarn, Warning, TEXT("Stash panel draws at most %lld cells; %lld asked for."), QuarnStashPanelStyle::MaxDrawnCells, CellsToDraw);
		CellsToDraw = QuarnStashPanelStyle::MaxDrawnCells;
	}

	// Row by row; every later cell has a larger index, so drawing stops at the first one past the count.
	for (int64 Index = 0; Index < CellsToDraw && Index < GridCells; ++Index)
	{
		const int32 Row = static_cast<int32>(Index / Columns);
		const int32 Column = static_cast<int32>(Index % Columns);
		UImage* Cell = WidgetTree->ConstructWidget<UImage>(UImage::StaticClass());
		Cell->SetColorAndOpacity(CellColour);
		if (UCanvasPanelSlot* CellSlot = GridCanvas->AddChildToCanvas(Cell))
		{
			const float Left = static_cast<float>(Column) * CellSize + 1.0f;
			const float Top = static_cast<float>(Row) * CellSize + 1.0f;
			const float Side = CellSize - 2.0f;
			CellSlot->SetPosition(FVector2D(Left, Top));
			CellSlot->SetSize(FVector2D(Side, Side));
			CellSlot->SetZOrder(0);
		}
	}

	if (GridSizer != nullptr)
	{
		GridSizer->SetWidthOverride(static_cast<float>(Columns) * CellSize);
		GridSizer->SetHeightOverride(static_cast<float>(Rows) * CellSize);
	}
}
