// Copyright Quarn. All Rights Reserved.

#include "Components/SizeBox.h"
#include "Components/SizeBoxSlot.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/SNullWidget.h"

USizeBox::USizeBox(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	bIsVariable = false;
	Visibility = ESlateVisibility::SelfHitTestInvisible;
	WidthOverride = 0.0f;
	HeightOverride = 0.0f;
	MinDesiredWidth = 0.0f;
	MinDesiredHeight = 0.0f;
	MaxDesiredWidth = 0.0f;
	MaxDesiredHeight = 0.0f;
	MinAspectRatio = 1.0f;
	MaxAspectRatio = 1.0f;
	bOverride_WidthOverride = false;
	bOverride_HeightOverride = false;
	bOverride_MinDesiredWidth = false;
	bOverride_MinDesiredHeight = false;
	bOverride_MaxDesiredWidth = false;
	bOverride_MaxDesiredHeight = false;
	bOverride_MinAspectRatio = false;
	bOverride_MaxAspectRatio = false;
}

void USizeBox::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	MySizeBox.Reset();
}

TSharedRef<SWidget> USizeBox::RebuildWidget()
{
	MySizeBox = SNew(SBox);
	if (GetChildrenCount() > 0)
	{
		Cast<USizeBoxSlot>(GetContentSlot())->BuildSlot(MySizeBox.ToSharedRef());
	}
	return MySizeBox.ToSharedRef();
}

void USizeBox::SynchronizeProperties()
{
	Super::SynchronizeProperties();
	if (!MySizeBox.IsValid())
	{
		return;
	}
	// An override that is off is pushed as an unset size.
	MySizeBox->SetWidthOverride(bOverride_WidthOverride ? FOptionalSize(WidthOverride) : FOptionalSize());
	MySizeBox->SetHeightOverride(bOverride_HeightOverride ? FOptionalSize(HeightOverride) : FOptionalSize());
	MySizeBox->SetMinDesiredWidth(bOverride_MinDesiredWidth ? FOptionalSize(MinDesiredWidth) : FOptionalSize());
	MySizeBox->SetMinDesiredHeight(bOverride_MinDesiredHeight ? FOptionalSize(MinDesiredHeight) : FOptionalSize());
	MySizeBox->SetMaxDesiredWidth(bOverride_MaxDesiredWidth ? FOptionalSize(MaxDesiredWidth) : FOptionalSize());
	MySizeBox->SetMaxDesiredHeight(bOverride_MaxDesiredHeight ? FOptionalSize(MaxDesiredHeight) : FOptionalSize());
	MySizeBox->SetMinAspectRatio(bOverride_MinAspectRatio ? FOptionalSize(MinAspectRatio) : FOptionalSize());
	MySizeBox->SetMaxAspectRatio(bOverride_MaxAspectRatio ? FOptionalSize(MaxAspectRatio) : FOptionalSize());
}

UClass* USizeBox::GetSlotClass() const
{
	return USizeBoxSlot::StaticClass();
}

void USizeBox::OnSlotAdded(UPanelSlot* InSlot)
{
	if (MySizeBox.IsValid())
	{
		CastChecked<USizeBoxSlot>(InSlot)->BuildSlot(MySizeBox.ToSharedRef());
	}
}

void USizeBox::OnSlotRemoved(UPanelSlot* InSlot)
{
	if (MySizeBox.IsValid())
	{
		MySizeBox->SetContent(SNullWidget::NullWidget);
	}
}

#define HOST_SIZE_BOX_OVERRIDE(Name) \
	void USizeBox::Set##Name(float In##Name) \
	{ \
		bOverride_##Name = true; \
		Name = In##Name; \
		if (MySizeBox.IsValid()) \
		{ \
			MySizeBox->Set##Name(In##Name); \
		} \
	} \
	void USizeBox::Clear##Name() \
	{ \
		bOverride_##Name = false; \
		if (MySizeBox.IsValid()) \
		{ \
			MySizeBox->Set##Name(FOptionalSize()); \
		} \
	} \
	float USizeBox::Get##Name() const \
	{ \
		return Name; \
	}

// Clearing an override leaves the stored value as it was, as the engine does.
HOST_SIZE_BOX_OVERRIDE(WidthOverride)
HOST_SIZE_BOX_OVERRIDE(HeightOverride)
HOST_SIZE_BOX_OVERRIDE(MinDesiredWidth)
HOST_SIZE_BOX_OVERRIDE(MinDesiredHeight)
HOST_SIZE_BOX_OVERRIDE(MaxDesiredWidth)
HOST_SIZE_BOX_OVERRIDE(MaxDesiredHeight)
HOST_SIZE_BOX_OVERRIDE(MinAspectRatio)
HOST_SIZE_BOX_OVERRIDE(MaxAspectRatio)

#undef HOST_SIZE_BOX_OVERRIDE

bool USizeBox::IsWidthOverride() const
{
	return bOverride_WidthOverride != 0;
}

bool USizeBox::IsHeightOverride() const
{
	return bOverride_HeightOverride != 0;
}

USizeBoxSlot::USizeBoxSlot(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	Padding = FMargin(0, 0);
	HorizontalAlignment = HAlign_Fill;
	VerticalAlignment = VAlign_Fill;
}

void USizeBoxSlot::ReleaseSlateResources(bool bReleaseChildren)
{
	Super::ReleaseSlateResources(bReleaseChildren);
	SizeBox.Reset();
}

void USizeBoxSlot::BuildSlot(TSharedRef<SBox> InSizeBox)
{
	SizeBox = InSizeBox;
	SynchronizeProperties();
	InSizeBox->SetContent(Content ? Content->TakeWidget() : SNullWidget::NullWidget);
}

void USizeBoxSlot::SetPadding(FMargin InPadding)
{
	Padding = InPadding;
	if (const TSharedPtr<SBox> Box = SizeBox.Pin())
	{
		Box->SetPadding(InPadding);
	}
}

FMargin USizeBoxSlot::GetPadding() const
{
	return Padding;
}

void USizeBoxSlot::SetHorizontalAlignment(EHorizontalAlignment InHorizontalAlignment)
{
	HorizontalAlignment = InHorizontalAlignment;
	if (const TSharedPtr<SBox> Box = SizeBox.Pin())
	{
		Box->SetHAlign(InHorizontalAlignment);
	}
}

EHorizontalAlignment USizeBoxSlot::GetHorizontalAlignment() const
{
	return HorizontalAlignment;
}

void USizeBoxSlot::SetVerticalAlignment(EVerticalAlignment InVerticalAlignment)
{
	VerticalAlignment = InVerticalAlignment;
	if (const TSharedPtr<SBox> Box = SizeBox.Pin())
	{
		Box->SetVAlign(InVerticalAlignment);
	}
}

EVerticalAlignment USizeBoxSlot::GetVerticalAlignment() const
{
	return VerticalAlignment;
}

void USizeBoxSlot::SynchronizeProperties()
{
	SetPadding(Padding);
	SetHorizontalAlignment(HorizontalAlignment);
	SetVerticalAlignment(VerticalAlignment);
}
