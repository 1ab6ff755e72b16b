// Copyright Quarn. All Rights Reserved.

#include "SlotBase.h"
#include "Layout/Children.h"
#include "Widgets/SNullWidget.h"
#include "Widgets/SWidget.h"

FNoChildren FNoChildren::NoChildrenInstance;

TSharedRef<SWidget> FNoChildren::GetChildAt(int32 Index)
{
	check(false);
	return SNullWidget::NullWidget;
}

TSharedRef<const SWidget> FNoChildren::GetChildAt(int32 Index) const
{
	check(false);
	return SNullWidget::NullWidget;
}

FSlotBase::FSlotBase()
	: Owner(nullptr)
	, Widget(SNullWidget::NullWidget)
{
}

FSlotBase::FSlotBase(const TSharedRef<SWidget>& InWidget)
	: Owner(nullptr)
	, Widget(InWidget)
{
}

FSlotBase::~FSlotBase()
{
	DetachParentFromContent();
}

SWidget* FSlotBase::GetOwnerWidget() const
{
	return Owner ? Owner->GetOwnerPtr() : nullptr;
}

void FSlotBase::SetOwner(const FChildren& InChildren)
{
	if (Owner != &InChildren)
	{
		DetachParentFromContent();
		Owner = &InChildren;
		AfterContentOrOwnerAssigned();
	}
}

void FSlotBase::AttachWidget(const TSharedRef<SWidget>& InWidget)
{
	DetachParentFromContent();
	Widget = InWidget;
	AfterContentOrOwnerAssigned();
	Invalidate(EInvalidateWidgetReason::ChildOrder);
}

const TSharedPtr<SWidget> FSlotBase::DetachWidget()
{
	if (Widget != SNullWidget::NullWidget)
	{
		DetachParentFromContent();
		TSharedRef<SWidget> MyExWidget = Widget;
		Widget = SNullWidget::NullWidget;
		return MyExWidget;
	}
	return TSharedPtr<SWidget>();
}

void FSlotBase::Invalidate(EInvalidateWidgetReason InvalidateReason)
{
	if (SWidget* OwnerWidget = GetOwnerWidget())
	{
		OwnerWidget->Invalidate(InvalidateReason);
	}
}

void FSlotBase::DetachParentFromContent()
{
	if (Widget != SNullWidget::NullWidget)
	{
		Widget->ConditionallyDetatchParentWidget(GetOwnerWidget());
	}
}

void FSlotBase::AfterContentOrOwnerAssigned()
{
	// The null widget is shared by every empty slot, so it never records a parent.
	SWidget* OwnerWidget = GetOwnerWidget();
	if (OwnerWidget && Widget != SNullWidget::NullWidget && OwnerWidget->DoesSharedInstanceExist())
	{
		Widget->AssignParentWidget(OwnerWidget->AsShared());
	}
}
