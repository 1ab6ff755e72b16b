// Copyright Quarn. All Rights Reserved.

#include "Delegates/IDelegateInstance.h"
#include <atomic>

uint64 FDelegateHandle::GenerateNewID()
{
	// Process-wide and never zero (zero is the unset handle).
	static std::atomic<uint64> NextID{ 1 };
	uint64 Result = NextID.fetch_add(1, std::memory_order_relaxed);
	if (Result == 0)
	{
		Result = NextID.fetch_add(1, std::memory_order_relaxed);
	}
	return Result;
}
