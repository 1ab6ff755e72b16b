// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanel.h"
#include "QuarnUIStats.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/TextBlock.h"
#include "Engine/DataTable.h"
#include "Engine/Texture2D.h"
#include "Internationalization/Regex.h"
#include "UObject/UnrealType.h"

namespace QuarnStashPanelDrawing
{
	static const FLinearColor FrameColour(1.0f, 1.0f, 1.0f, 0.06f);
	static const FLinearColor FallbackTextColour(1.0f, 1.0f, 1.0f, 0.5f);

	/** A column name reduced to what matters for matching: no editor suffix, lower case, no "_" or " ". */
	static FString NormaliseColumnName(const FString& PropertyName)
	{
		// The suffix the editor gives fields of a user-defined structure: _<number>_<32 hex digits>.
		static const FRegexPattern EditorSuffix(TEXT("_\\d+_[0-9A-Fa-f]{32}$"));
		FString Name = PropertyName;
		FRegexMatcher Matcher(EditorSuffix, Name);
		if (Matcher.FindNext())
		{
			Name.LeftInline(Matcher.GetMatchBeginning());
		}
		Name.ToLowerInline();
		Name.ReplaceInline(TEXT("_"), TEXT(""));
		Name.ReplaceInline(TEXT(" "), TEXT(""));
		return Name;
	}

	static bool IsIconColumn(const FString& NormalisedName)
	{
		return NormalisedName == TEXT("itemicon") || NormalisedName == TEXT("icon") || NormalisedName == TEXT("thumbnail") || NormalisedName == TEXT("image");
	}
}

void UQuarnStashPanel::ClearItems()
{
	for (UWidget* Widget : ItemWidgets)
	{
		if (Widget != nullptr)
		{
			Widget->RemoveFromParent();
		}
	}
	ItemWidgets.Reset();
}

UTexture2D* UQuarnStashPanel::FindIcon(const FString& ItemId) const
{
	if (ItemTable == nullptr || ItemTable->GetRowStruct() == nullptr)
	{
		return nullptr;
	}
	const uint8* Row = ItemTable->FindRowUnchecked(FName(*ItemId));
	if (Row == nullptr)
	{
		return nullptr;
	}

	// The first icon-named column of an object kind decides alone, in the structure's field order.
	for (TFieldIterator<FProperty> It(ItemTable->GetRowStruct()); It; ++It)
	{
		const FProperty* Property = *It;
		if (!QuarnStashPanelDrawing::IsIconColumn(QuarnStashPanelDrawing::NormaliseColumnName(Property->GetName())))
		{
			continue;
		}
		if (const FObjectProperty* ObjectProperty = CastField<FObjectProperty>(Property))
		{
			return Cast<UTexture2D>(ObjectProperty->GetObjectPropertyValue_InContainer(Row));
		}
		if (const FSoftObjectProperty* SoftProperty = CastField<FSoftObjectProperty>(Property))
		{
			const FSoftObjectPtr* Reference = SoftProperty->GetPropertyValuePtr_InContainer(Row);
			if (Reference == nullptr)
			{
				return nullptr;
			}
			UObject* Object = Reference->Get();
			if (Object == nullptr)
			{
				if (Reference->IsNull())
				{
					return nullptr;
				}
				Object = Reference->LoadSynchronous();
			}
			return Cast<UTexture2D>(Object);
		}
	}
	return nullptr;
}

void UQuarnStashPanel::DrawItems(const FQuarnContainer& Container)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::DrawItems);
	SCOPE_CYCLE_COUNTER(STAT_QuarnDrawItems);
	CSV_SCOPED_TIMING_STAT(Quarn, PanelDrawItems);
	if (GridCanvas == nullptr)
	{
		return;
	}
	ClearItems();

	int32 Drawn = 0;
	for (const FQuarnItemInstance& Item : Container.Items)
	{
		if (Item.X < 0 || Item.Y < 0)
		{
			continue;
		}
		const float Width = static_cast<float>(FMath::Max(Item.GridW, 1)) * CellSize;
		const float Height = static_cast<float>(FMath::Max(Item.GridH, 1)) * CellSize;
		const float Left = static_cast<float>(Item.X) * CellSize;
		const float Top = static_cast<float>(Item.Y) * CellSize;
		const FString ItemName = Item.ItemId.ToString();
		const FString Label = Item.Quantity <= 1 ? ItemName : FString::Printf(TEXT("%s x%d"), *ItemName, Item.Quantity);

		UBorder* Frame = WidgetTree->ConstructWidget<UBorder>(UBorder::StaticClass());
		Frame->SetBrushColor(QuarnStashPanelDrawing::FrameColour);
		Frame->SetPadding(FMargin(2.0f));
		Frame->SetToolTipText(FText::FromString(Label));

		if (UTexture2D* Icon = FindIcon(ItemName))
		{
			UImage* IconImage = WidgetTree->ConstructWidget<UImage>(UImage::StaticClass());
			IconImage->SetBrushFromTexture(Icon, false);
			Frame->SetContent(IconImage);
		}
		else
		{
			UTextBlock* Fallback = WidgetTree->ConstructWidget<UTextBlock>(UTextBlock::StaticClass());
			Fallback->SetText(FText::FromName(Item.ItemId));
			Fallback->SetColorAndOpacity(FSlateColor(QuarnStashPanelDrawing::FallbackTextColour));
			FSlateFontInfo FallbackFont = Fallback->GetFont();
			FallbackFont.Size = 8;
			Fallback->SetFont(FallbackFont);
			Fallback->SetJustification(ETextJustify::Center);
			Fallback->SetAutoWrapText(true);
			Frame->SetContent(Fallback);
		}

		if (UCanvasPanelSlot* FrameSlot = GridCanvas->AddChildToCanvas(Frame))
		{
			FrameSlot->SetPosition(FVector2D(Left + 1.0f, Top + 1.0f));
			FrameSlot->SetSize(FVector2D(Width - 2.0f, Height - 2.0f));
			FrameSlot->SetZOrder(10);
		}
		ItemWidgets.Add(Frame);

		if (Item.Quantity > 1)
		{
			UTextBlock* Badge = WidgetTree->ConstructWidget<UTextBlock>(UTextBlock::StaticClass());
			Badge->SetText(FText::AsNumber(Item.Quantity));
			Badge->SetColorAndOpacity(FSlateColor(AccentColour));
			FSlateFontInfo BadgeFont = Badge->GetFont();
			BadgeFont.Size = 10;
			Badge->SetFont(BadgeFont);
			if (UCanvasPanelSlot* BadgeSlot = GridCanvas->AddChildToCanvas(Badge))
			{
				BadgeSlot->SetAutoSize(true);
				BadgeSlot->SetPosition(FVector2D(Left + Width - 16.0f, Top + Height - 16.0f));
				BadgeSlot->SetZOrder(11);
			}
			ItemWidgets.Add(Badge);
		}
		++Drawn;
	}

	if (bShowingSlots)
	{
		SetStatus(FText::Format(NSLOCTEXT("QuarnStashPanel", "LoadedSlots", "{0} of {1} slots"), Drawn, FMath::Max(SlotCount, 1)), false);
	}
	else if (Layout == EQuarnContainerLayout::Slots)
	{
		SetStatus(FText::Format(NSLOCTEXT("QuarnStashPanel", "LoadedGridWanted", "{0} stack(s) \u00B7 {1}x{2} grid (this container was not created as slots)"), Drawn, GridWidth, GridHeight), false);
	}
	else
	{
		SetStatus(FText::Format(NSLOCTEXT("QuarnStashPanel", "Loaded", "{0} stack(s) \u00B7 {1}x{2}"), Drawn, GridWidth, GridHeight), false);
	}
	OnStashLoaded.Broadcast(Drawn);
}
