// Copyright Quarn. All Rights Reserved.

#include "Slate/SObjectWidget.h"
#include "Blueprint/UserWidget.h"
#include "UObject/UObjectGlobals.h"
#include "Widgets/SNullWidget.h"

void SObjectWidget::Construct(const FArguments& InArgs, UUserWidget* InWidgetObject)
{
	WidgetObject = InWidgetObject;
	WeakWidgetObject = InWidgetObject;
	ChildSlot[InArgs._Content.Widget];
}

SObjectWidget::~SObjectWidget()
{
	ResetWidget();
}

bool SObjectWidget::CanRouteEvent() const
{
	return WeakWidgetObject.IsValid() && !WidgetObject->IsDesignTime();
}

void SObjectWidget::ResetWidget()
{
	// The object may already be gone when everything is torn down at exit.
	if (WidgetObject && WeakWidgetObject.IsValid(true))
	{
		if (CanRouteEvent())
		{
			WidgetObject->NativeDestruct();
		}

		// The user widget left the Slate tree: release its Slate widgets at once rather than over frames.
		const bool bReleaseChildren = true;
		WidgetObject->ReleaseSlateResources(bReleaseChildren);
	}
	WidgetObject = nullptr;
	WeakWidgetObject.Reset();
	ChildSlot[SNullWidget::NullWidget];
}

void SObjectWidget::AddReferencedObjects(FReferenceCollector& Collector)
{
	Collector.AddReferencedObject(WidgetObject);
}

FString SObjectWidget::GetReferencerName() const
{
	return TEXT("SObjectWidget");
}
