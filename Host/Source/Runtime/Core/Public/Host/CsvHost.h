// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

// Host-only: a CSV capture (csvprofile start/stop) reduced to totals per stat, for tests.
namespace UE::Host
{
	struct FCsvStatTotal
	{
		int64 Count = 0;
		double Milliseconds = 0.0;
	};

	// Starts a capture, forgetting the last one's totals; stops it.
	CORE_API void StartCsvCapture();
	CORE_API void StopCsvCapture();

	// A timing stat's calls and time in the capture, by "Category/Stat"; false when it never ran.
	CORE_API bool GetCsvStatTotal(const FString& CategoryAndStat, FCsvStatTotal& OutTotal);
}
