// Copyright Quarn. All Rights Reserved.

#pragma once

#include "HAL/ThreadSafeCounter.h"

class FThreadSafeBool : private FThreadSafeCounter
{
public:
	FThreadSafeBool(bool bValue = false) : FThreadSafeCounter(bValue ? 1 : 0) {}
	operator bool() const { return GetValue() != 0; }
	bool operator=(bool bNewValue)
	{
		Set(bNewValue ? 1 : 0);
		return bNewValue;
	}
	// Returns the previous value.
	bool AtomicSet(bool bNewValue) { return Set(bNewValue ? 1 : 0) != 0; }
};
