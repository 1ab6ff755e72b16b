// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

namespace QuarnStashPanelLayout
{
	/** Rows needed for max(SlotCount, 1) slots at Columns per row (Columns at least 1). */
	inline int32 SlotRows(int32 SlotCount, int32 Columns)
	{
		// In 64 bits: a slot count near the int32 limit must not wrap.
		const int64 Safe = FMath::Max<int64>(Columns, 1);
		return static_cast<int32>((FMath::Max<int64>(SlotCount, 1) - 1 + Safe) / Safe);
	}
}
