// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/Visual.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"
#include "PanelSlot.generated.h"

class UPanelWidget;
class UWidget;

/** The layout data a panel keeps for one child, and the link between the two. */
UCLASS(BlueprintType, MinimalAPI)
class UPanelSlot : public UVisual
{
	GENERATED_UCLASS_BODY()

public:
	/** The panel this slot belongs to. */
	UPROPERTY(Instanced)
	TObjectPtr<UPanelWidget> Parent;

	/** The widget in the slot. */
	UPROPERTY(Instanced)
	TObjectPtr<UWidget> Content;

	UWidget* GetContent() const { return Content; }

	UMG_API bool IsDesignTime() const;

	/** Pushes the slot's layout values to the Slate slot. */
	virtual void SynchronizeProperties() {}

	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;
};
