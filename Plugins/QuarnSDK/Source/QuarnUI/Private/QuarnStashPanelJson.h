// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/SharedPointer.h"

class FJsonObject;

namespace QuarnStashPanelJson
{
	/** A request body: the object in the engine's pretty-printed JSON. */
	FString Write(const TSharedRef<FJsonObject>& Body);

	/**
	 * Adds the destination "to" of a grant or move for the receiving panel, unless X or Y is
	 * negative: "slot_index" when the panel draws slots, else "x" and "y".
	 */
	void WriteDestination(const TSharedRef<FJsonObject>& Body, bool bShowingSlots, int32 SlotIndex, int32 X, int32 Y);
}
