// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "UObject/NameTypes.h"

// Host-only: what the stats macros (Stats/Stats.h) recorded, for tests and the demo. There is no
// stats thread: values change as the macros run.
namespace UE::Host
{
	struct FStatValue
	{
		FString Description;
		FString Group;
		bool bCycleStat = false;
		/** A counter's value, or how often a cycle stat's scope ran. */
		int64 Value = 0;
		/** A cycle stat's time in its scopes. */
		double Seconds = 0.0;
	};

	// What "stat <Group>" or a stats capture turns on: cycle stats and per-frame counters are kept
	// only while collecting; accumulators always.
	CORE_API void SetStatsCollecting(bool bCollecting);

	// The stat's value so far; false when it was never used.
	CORE_API bool GetStatValue(FName StatName, FStatValue& OutValue);

	// Forgets every value (registrations stay).
	CORE_API void ResetStats();
}
