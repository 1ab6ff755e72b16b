// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <time.h>

// Monotonic time: Cycles counts microseconds (32 bits), Cycles64 nanoseconds, as on Linux.
struct FPlatformTime
{
	static FORCEINLINE double Seconds()
	{
		struct timespec Ts;
		clock_gettime(CLOCK_MONOTONIC, &Ts);
		return (double)Ts.tv_sec + (double)Ts.tv_nsec / 1e9;
	}

	static FORCEINLINE uint32 Cycles()
	{
		struct timespec Ts;
		clock_gettime(CLOCK_MONOTONIC, &Ts);
		return (uint32)((uint64)Ts.tv_sec * 1000000ULL + (uint64)Ts.tv_nsec / 1000ULL);
	}

	static FORCEINLINE uint64 Cycles64()
	{
		struct timespec Ts;
		clock_gettime(CLOCK_MONOTONIC, &Ts);
		return (uint64)Ts.tv_sec * 1000000000ULL + (uint64)Ts.tv_nsec;
	}

	static FORCEINLINE double GetSecondsPerCycle() { return 1e-6; }
	static FORCEINLINE double GetSecondsPerCycle64() { return 1e-9; }
	static FORCEINLINE float ToMilliseconds(const uint32 Cycles) { return (float)((double)Cycles * GetSecondsPerCycle() * 1000.0); }
	static FORCEINLINE float ToSeconds(const uint32 Cycles) { return (float)((double)Cycles * GetSecondsPerCycle()); }
	static FORCEINLINE double ToMilliseconds64(const uint64 Cycles) { return (double)Cycles * GetSecondsPerCycle64() * 1000.0; }
	static FORCEINLINE double ToSeconds64(const uint64 Cycles) { return (double)Cycles * GetSecondsPerCycle64(); }

	static void SystemTime(int32& Year, int32& Month, int32& DayOfWeek, int32& Day, int32& Hour, int32& Min, int32& Sec, int32& MSec)
	{
		struct timespec Ts;
		clock_gettime(CLOCK_REALTIME, &Ts);
		struct tm Local;
		localtime_r(&Ts.tv_sec, &Local);
		Year = Local.tm_year + 1900;
		Month = Local.tm_mon + 1;
		DayOfWeek = Local.tm_wday;
		Day = Local.tm_mday;
		Hour = Local.tm_hour;
		Min = Local.tm_min;
		Sec = Local.tm_sec;
		MSec = (int32)(Ts.tv_nsec / 1000000);
	}
};
