// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/GCObject.h"
#include "UObject/ObjectPtr.h"
#include "UObject/WeakObjectPtr.h"
#include "Widgets/SCompoundWidget.h"

class UUserWidget;

/**
 * The Slate widget a user widget shows through: it wraps the root's Slate widget and keeps the
 * user widget alive for the garbage collector while Slate holds it. When Slate lets it go, the
 * user widget is destructed (NativeDestruct) and releases its Slate widgets.
 */
class UMG_API SObjectWidget : public SCompoundWidget, public FGCObject
{
	SLATE_BEGIN_ARGS(SObjectWidget)
	{
		_Visibility = EVisibility::SelfHitTestInvisible;
	}
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_END_ARGS()

public:
	void Construct(const FArguments& InArgs, UUserWidget* InWidgetObject);
	virtual ~SObjectWidget() override;

	/** Lets go of the user widget, destructing it first. */
	void ResetWidget();

	UUserWidget* GetWidgetObject() const { return WidgetObject; }

	void SetPadding(const FMargin& InPadding) { ChildSlot.SetPadding(InPadding); }

	// FGCObject
	virtual void AddReferencedObjects(FReferenceCollector& Collector) override;
	virtual FString GetReferencerName() const override;

private:
	bool CanRouteEvent() const;

	TObjectPtr<UUserWidget> WidgetObject;
	/** To know whether WidgetObject still exists when the Slate widget outlives the objects at exit. */
	TWeakObjectPtr<UUserWidget> WeakWidgetObject;
};
