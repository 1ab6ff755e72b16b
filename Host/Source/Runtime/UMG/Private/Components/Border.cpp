// Copyright Quarn. All Rights Reserved.

#include "Components/Border.h"
#include "Components/BorderSlot.h"
#include "Engine/Texture2D.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/SNullWidget.h"

UBorder::UBorder(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	bIsVariable = false;
	ContentColorAndOpacity = FLinearColor::White;
	BrushColor = FLinearColor::White;
	Padding = FMargin(4, 2);
	HorizontalAlignment = HAlign_Fill;
	VerticalAlignment = VAlign_Fill;
	DesiredSizeScale = FVector2D(1, 1);
	bShowEffectWhenDisabled = true;
}

void UBorder::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	MyBorder.Reset();
}

TSharedRef<SWidget> UBorder::RebuildWidget()
{
	MyBorder = SNew(SBorder);
	if (GetChildrenCount() > 0)
	{
		Cast<UBorderSlot>(GetContentSlot())->BuildSlot(MyBorder.ToSharedRef());
	}
	return MyBorder.ToSharedRef();
}

void UBorder::SynchronizeProperties()
{
	Super::SynchronizeProperties();
	if (!MyBorder.IsValid())
	{
		return;
	}
	// The border's own padding wins over the slot's; its alignments are applied through the slot only.
	MyBorder->SetPadding(Padding);
	MyBorder->SetBorderBackgroundColor(BrushColor);
	MyBorder->SetColorAndOpacity(ContentColorAndOpacity);
	MyBorder->SetBorderImage(&Background);
	MyBorder->SetDesiredSizeScale(DesiredSizeScale);
	MyBorder->SetShowEffectWhenDisabled(bShowEffectWhenDisabled != 0);
}

UClass* UBorder::GetSlotClass() const
{
	return UBorderSlot::StaticClass();
}

void UBorder::OnSlotAdded(UPanelSlot* InSlot)
{
	// The slot starts with a copy of what the border has been given so far.
	UBorderSlot* BorderSlot = CastChecked<UBorderSlot>(InSlot);
	BorderSlot->Padding = Padding;
	BorderSlot->HorizontalAlignment = HorizontalAlignment;
	BorderSlot->VerticalAlignment = VerticalAlignment;

	if (MyBorder.IsValid())
	{
		BorderSlot->BuildSlot(MyBorder.ToSharedRef());
	}
}

void UBorder::OnSlotRemoved(UPanelSlot* InSlot)
{
	if (MyBorder.IsValid())
	{
		MyBorder->SetContent(SNullWidget::NullWidget);
	}
}

void UBorder::SetContentColorAndOpacity(FLinearColor Color)
{
	ContentColorAndOpacity = Color;
	if (MyBorder.IsValid())
	{
		MyBorder->SetColorAndOpacity(Color);
	}
}

FLinearColor UBorder::GetContentColorAndOpacity() const
{
	return ContentColorAndOpacity;
}

void UBorder::SetPadding(FMargin InPadding)
{
	Padding = InPadding;
	if (MyBorder.IsValid())
	{
		MyBorder->SetPadding(InPadding);
	}
}

FMargin UBorder::GetPadding() const
{
	return Padding;
}

void UBorder::SetHorizontalAlignment(EHorizontalAlignment InHorizontalAlignment)
{
	HorizontalAlignment = InHorizontalAlignment;
	if (MyBorder.IsValid())
	{
		MyBorder->SetHAlign(InHorizontalAlignment);
	}
}

EHorizontalAlignment UBorder::GetHorizontalAlignment() const
{
	return HorizontalAlignment;
}

void UBorder::SetVerticalAlignment(EVerticalAlignment InVerticalAlignment)
{
	VerticalAlignment = InVerticalAlignment;
	if (MyBorder.IsValid())
	{
		MyBorder->SetVAlign(InVerticalAlignment);
	}
}

EVerticalAlignment UBorder::GetVerticalAlignment() const
{
	return VerticalAlignment;
}

void UBorder::SetBrushColor(FLinearColor Color)
{
	BrushColor = Color;
	if (MyBorder.IsValid())
	{
		MyBorder->SetBorderBackgroundColor(Color);
	}
}

FLinearColor UBorder::GetBrushColor() const
{
	return BrushColor;
}

void UBorder::SetBrush(const FSlateBrush& InBrush)
{
	Background = InBrush;
	if (MyBorder.IsValid())
	{
		MyBorder->SetBorderImage(&Background);
	}
}

const FSlateBrush& UBorder::GetBrush() const
{
	return Background;
}

void UBorder::SetBrushFromTexture(UTexture2D* Texture)
{
	Background.SetResourceObject(Texture);
	if (MyBorder.IsValid())
	{
		MyBorder->SetBorderImage(&Background);
	}
}

void UBorder::SetDesiredSizeScale(FVector2D InScale)
{
	DesiredSizeScale = InScale;
	if (MyBorder.IsValid())
	{
		MyBorder->SetDesiredSizeScale(InScale);
	}
}

FVector2D UBorder::GetDesiredSizeScale() const
{
	return DesiredSizeScale;
}

void UBorder::SetShowEffectWhenDisabled(bool bInShowEffectWhenDisabled)
{
	bShowEffectWhenDisabled = bInShowEffectWhenDisabled;
	if (MyBorder.IsValid())
	{
		MyBorder->SetShowEffectWhenDisabled(bInShowEffectWhenDisabled);
	}
}

bool UBorder::GetShowEffectWhenDisabled() const
{
	return bShowEffectWhenDisabled != 0;
}

UBorderSlot::UBorderSlot(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	Padding = FMargin(4, 2);
	HorizontalAlignment = HAlign_Fill;
	VerticalAlignment = VAlign_Fill;
}

void UBorderSlot::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	Border.Reset();
}

void UBorderSlot::BuildSlot(TSharedRef<SBorder> InBorder)
{
	Border = InBorder;
	InBorder->SetPadding(Padding);
	InBorder->SetHAlign(HorizontalAlignment);
	InBorder->SetVAlign(VerticalAlignment);
	InBorder->SetContent(Content ? Content->TakeWidget() : SNullWidget::NullWidget);
}

void UBorderSlot::SetPadding(FMargin InPadding)
{
	Padding = InPadding;
	if (UBorder* ParentBorder = Cast<UBorder>(Parent))
	{
		ParentBorder->SetPadding(InPadding);
	}
}

FMargin UBorderSlot::GetPadding() const
{
	return Padding;
}

void UBorderSlot::SetHorizontalAlignment(EHorizontalAlignment InHorizontalAlignment)
{
	HorizontalAlignment = InHorizontalAlignment;
	if (UBorder* ParentBorder = Cast<UBorder>(Parent))
	{
		ParentBorder->SetHorizontalAlignment(InHorizontalAlignment);
	}
}

EHorizontalAlignment UBorderSlot::GetHorizontalAlignment() const
{
	return HorizontalAlignment;
}

void UBorderSlot::SetVerticalAlignment(EVerticalAlignment InVerticalAlignment)
{
	VerticalAlignment = InVerticalAlignment;
	if (UBorder* ParentBorder = Cast<UBorder>(Parent))
	{
		ParentBorder->SetVerticalAlignment(InVerticalAlignment);
	}
}

EVerticalAlignment UBorderSlot::GetVerticalAlignment() const
{
	return VerticalAlignment;
}

void UBorderSlot::SynchronizeProperties()
{
	if (Border.IsValid())
	{
		SetPadding(Padding);
		SetHorizontalAlignment(HorizontalAlignment);
		SetVerticalAlignment(VerticalAlignment);
	}
}
