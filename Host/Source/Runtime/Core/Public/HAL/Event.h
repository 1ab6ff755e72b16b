// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/Timespan.h"

// A signal threads wait on: auto-reset (one waiter released per Trigger) or manual-reset.
class FEvent
{
public:
	virtual bool Create(bool bIsManualReset = false) = 0;
	virtual bool IsManualReset() = 0;
	virtual void Trigger() = 0;
	virtual void Reset() = 0;
	// Returns true when triggered, false on time-out. MAX_uint32 waits forever.
	virtual bool Wait(uint32 WaitTime, const bool bIgnoreThreadIdleStats = false) = 0;
	bool Wait() { return Wait(MAX_uint32); }
	bool Wait(const FTimespan& WaitTime, const bool bIgnoreThreadIdleStats = false)
	{
		const double Ms = WaitTime.GetTotalMilliseconds();
		return Wait(Ms < 0 ? 0u : (Ms >= (double)MAX_uint32 ? MAX_uint32 : (uint32)Ms), bIgnoreThreadIdleStats);
	}
	virtual ~FEvent() {}
};

enum class EEventMode
{
	AutoReset,
	ManualReset
};

// An event borrowed from the pool for the scope.
class CORE_API FEventRef final
{
public:
	explicit FEventRef(EEventMode Mode = EEventMode::AutoReset);
	~FEventRef();
	FEventRef(const FEventRef&) = delete;
	FEventRef& operator=(const FEventRef&) = delete;
	FEvent* operator->() const { return Event; }
	FEvent* Get() { return Event; }

private:
	FEvent* Event;
};
