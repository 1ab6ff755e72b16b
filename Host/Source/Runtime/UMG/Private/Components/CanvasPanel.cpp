// Copyright Quarn. All Rights Reserved.

#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Layout/ArrangedChildren.h"
#include "Widgets/Layout/SConstraintCanvas.h"
#include "Widgets/SNullWidget.h"

UCanvasPanel::UCanvasPanel(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	bIsVariable = false;
	Visibility = ESlateVisibility::SelfHitTestInvisible;
}

void UCanvasPanel::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	MyCanvas.Reset();
}

UClass* UCanvasPanel::GetSlotClass() const
{
	return UCanvasPanelSlot::StaticClass();
}

void UCanvasPanel::OnSlotAdded(UPanelSlot* InSlot)
{
	if (MyCanvas.IsValid())
	{
		CastChecked<UCanvasPanelSlot>(InSlot)->BuildSlot(MyCanvas.ToSharedRef());
	}
}

void UCanvasPanel::OnSlotRemoved(UPanelSlot* InSlot)
{
	if (MyCanvas.IsValid() && InSlot->Content)
	{
		const TSharedPtr<SWidget> Widget = InSlot->Content->GetCachedWidget();
		if (Widget.IsValid())
		{
			MyCanvas->RemoveSlot(Widget.ToSharedRef());
		}
	}
}

TSharedRef<SWidget> UCanvasPanel::RebuildWidget()
{
	MyCanvas = SNew(SConstraintCanvas);
	for (UPanelSlot* PanelSlot : Slots)
	{
		if (UCanvasPanelSlot* TypedSlot = Cast<UCanvasPanelSlot>(PanelSlot))
		{
			TypedSlot->Parent = this;
			TypedSlot->BuildSlot(MyCanvas.ToSharedRef());
		}
	}
	return MyCanvas.ToSharedRef();
}

TSharedPtr<SConstraintCanvas> UCanvasPanel::GetCanvasWidget() const
{
	return MyCanvas;
}

bool UCanvasPanel::GetGeometryForSlot(int32 SlotIndex, FGeometry& ArrangedGeometry) const
{
	if (!Slots.IsValidIndex(SlotIndex))
	{
		return false;
	}
	return GetGeometryForSlot(Cast<UCanvasPanelSlot>(Slots[SlotIndex]), ArrangedGeometry);
}

bool UCanvasPanel::GetGeometryForSlot(UCanvasPanelSlot* InSlot, FGeometry& ArrangedGeometry) const
{
	if (InSlot == nullptr || InSlot->Content == nullptr || !MyCanvas.IsValid())
	{
		return false;
	}
	// Arranges the children again with the canvas's last geometry and picks the slot's.
	FArrangedChildren ArrangedChildren(EVisibility::All);
	MyCanvas->ArrangeChildren(MyCanvas->GetTickSpaceGeometry(), ArrangedChildren);
	const TSharedPtr<SWidget> ContentWidget = InSlot->Content->GetCachedWidget();
	for (int32 ChildIndex = 0; ChildIndex < ArrangedChildren.Num(); ++ChildIndex)
	{
		if (ArrangedChildren[ChildIndex].Widget == ContentWidget)
		{
			ArrangedGeometry = ArrangedChildren[ChildIndex].Geometry;
			return true;
		}
	}
	return false;
}

UCanvasPanelSlot* UCanvasPanel::AddChildToCanvas(UWidget* Content)
{
	return Cast<UCanvasPanelSlot>(Super::AddChild(Content));
}

UCanvasPanelSlot::UCanvasPanelSlot(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, Slot(nullptr)
{
	LayoutData.Offsets = FMargin(0, 0, 100, 30);
	LayoutData.Anchors = FAnchors(0.0f, 0.0f);
	LayoutData.Alignment = FVector2D(0.0f, 0.0f);
	bAutoSize = false;
	ZOrder = 0;
}

void UCanvasPanelSlot::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	Slot = nullptr;
}

void UCanvasPanelSlot::BuildSlot(TSharedRef<SConstraintCanvas> Canvas)
{
	Canvas->AddSlot()
		.Expose(Slot)
		[
			Content == nullptr ? SNullWidget::NullWidget : Content->TakeWidget()
		];
	SynchronizeProperties();
}

void UCanvasPanelSlot::SetLayout(const FAnchorData& InLayoutData)
{
	LayoutData = InLayoutData;
	if (Slot)
	{
		Slot->SetOffset(LayoutData.Offsets);
		Slot->SetAnchors(LayoutData.Anchors);
		Slot->SetAlignment(LayoutData.Alignment);
	}
}

FAnchorData UCanvasPanelSlot::GetLayout() const
{
	return LayoutData;
}

void UCanvasPanelSlot::SetPosition(FVector2D InPosition)
{
	LayoutData.Offsets.Left = (float)InPosition.X;
	LayoutData.Offsets.Top = (float)InPosition.Y;
	if (Slot)
	{
		Slot->SetOffset(LayoutData.Offsets);
	}
}

FVector2D UCanvasPanelSlot::GetPosition() const
{
	if (Slot)
	{
		const FMargin Offsets = Slot->GetOffset();
		return FVector2D(Offsets.Left, Offsets.Top);
	}
	return FVector2D(LayoutData.Offsets.Left, LayoutData.Offsets.Top);
}

void UCanvasPanelSlot::SetSize(FVector2D InSize)
{
	LayoutData.Offsets.Right = (float)InSize.X;
	LayoutData.Offsets.Bottom = (float)InSize.Y;
	if (Slot)
	{
		Slot->SetOffset(LayoutData.Offsets);
	}
}

FVector2D UCanvasPanelSlot::GetSize() const
{
	if (Slot)
	{
		const FMargin Offsets = Slot->GetOffset();
		return FVector2D(Offsets.Right, Offsets.Bottom);
	}
	return FVector2D(LayoutData.Offsets.Right, LayoutData.Offsets.Bottom);
}

void UCanvasPanelSlot::SetOffsets(FMargin InOffset)
{
	LayoutData.Offsets = InOffset;
	if (Slot)
	{
		Slot->SetOffset(InOffset);
	}
}

FMargin UCanvasPanelSlot::GetOffsets() const
{
	return Slot ? Slot->GetOffset() : LayoutData.Offsets;
}

void UCanvasPanelSlot::SetAnchors(FAnchors InAnchors)
{
	LayoutData.Anchors = InAnchors;
	if (Slot)
	{
		Slot->SetAnchors(InAnchors);
	}
}

FAnchors UCanvasPanelSlot::GetAnchors() const
{
	return Slot ? Slot->GetAnchors() : LayoutData.Anchors;
}

void UCanvasPanelSlot::SetAlignment(FVector2D InAlignment)
{
	LayoutData.Alignment = InAlignment;
	if (Slot)
	{
		Slot->SetAlignment(InAlignment);
	}
}

FVector2D UCanvasPanelSlot::GetAlignment() const
{
	return Slot ? Slot->GetAlignment() : LayoutData.Alignment;
}

void UCanvasPanelSlot::SetAutoSize(bool InbAutoSize)
{
	bAutoSize = InbAutoSize;
	if (Slot)
	{
		Slot->SetAutoSize(InbAutoSize);
	}
}

bool UCanvasPanelSlot::GetAutoSize() const
{
	return Slot ? Slot->GetAutoSize() : bAutoSize;
}

void UCanvasPanelSlot::SetZOrder(int32 InZOrder)
{
	ZOrder = InZOrder;
	if (Slot)
	{
		Slot->SetZOrder((float)InZOrder);
	}
}

int32 UCanvasPanelSlot::GetZOrder() const
{
	// Slate keeps the z order as a float.
	return Slot ? (int32)Slot->GetZOrder() : ZOrder;
}

void UCanvasPanelSlot::SetMinimum(FVector2D InMinimumAnchors)
{
	LayoutData.Anchors.Minimum = InMinimumAnchors;
	if (Slot)
	{
		Slot->SetAnchors(LayoutData.Anchors);
	}
}

void UCanvasPanelSlot::SetMaximum(FVector2D InMaximumAnchors)
{
	LayoutData.Anchors.Maximum = InMaximumAnchors;
	if (Slot)
	{
		Slot->SetAnchors(LayoutData.Anchors);
	}
}

void UCanvasPanelSlot::SynchronizeProperties()
{
	SetOffsets(LayoutData.Offsets);
	SetAnchors(LayoutData.Anchors);
	SetAlignment(LayoutData.Alignment);
	SetAutoSize(bAutoSize);
	SetZOrder(ZOrder);
}
