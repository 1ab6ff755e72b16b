// Copyright Quarn. All Rights Reserved.

// A test double of the plug-in's test module, which is built only where development tools are
// (the editor and Development targets), never for Test or Shipping.
// Transient and hidden from class pickers, so nothing saved or shown in the editor ever names it.

#pragma once

#include "CoreMinimal.h"
#include "QuarnStashPanel.h"
#include "Tests/QuarnStashPanelWatcher.h"
#include "QuarnRecordingStashPanel.generated.h"

/**
 * Stands in for a Blueprint subclass of the panel that implements its three events: each writes
 * "Deposited <item> <quantity> <slot>", "Withdrawn <instance>" or "Transferred <instance>" into
 * the watcher. An implementable event reaches its implementation through ProcessEvent, so
 * recording there sees exactly what a Blueprint graph would.
 */
UCLASS(Transient, HideDropdown, NotBlueprintable)
class UQuarnRecordingStashPanel : public UQuarnStashPanel
{
	GENERATED_BODY()

public:
	virtual void ProcessEvent(UFunction* Function, void* Parms) override;

	UPROPERTY(Transient)
	TObjectPtr<UQuarnStashPanelWatcher> Watcher;
};
