// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

namespace ETimespan
{
	inline constexpr int64 TicksPerMicrosecond = 10;
	inline constexpr int64 TicksPerMillisecond = 10000;
	inline constexpr int64 TicksPerSecond = 10000000;
	inline constexpr int64 TicksPerMinute = 600000000;
	inline constexpr int64 TicksPerHour = 36000000000;
	inline constexpr int64 TicksPerDay = 864000000000;
}

// A duration in 100-nanosecond ticks.
struct FTimespan
{
	constexpr FTimespan() : Ticks(0) {}
	constexpr explicit FTimespan(int64 InTicks) : Ticks(InTicks) {}
	constexpr FTimespan(int32 Hours, int32 Minutes, int32 Seconds)
		: Ticks(ETimespan::TicksPerHour * Hours + ETimespan::TicksPerMinute * Minutes + ETimespan::TicksPerSecond * Seconds)
	{
	}

	static constexpr FTimespan FromMilliseconds(double Milliseconds) { return FTimespan((int64)(Milliseconds * ETimespan::TicksPerMillisecond)); }
	static FTimespan FromSeconds(double Seconds) { return FTimespan((int64)(Seconds * ETimespan::TicksPerSecond)); }
	static constexpr FTimespan FromMinutes(double Minutes) { return FTimespan((int64)(Minutes * ETimespan::TicksPerMinute)); }
	static constexpr FTimespan FromHours(double Hours) { return FTimespan((int64)(Hours * ETimespan::TicksPerHour)); }
	static constexpr FTimespan Zero() { return FTimespan(0); }

	constexpr int64 GetTicks() const { return Ticks; }
	constexpr double GetTotalMilliseconds() const { return (double)Ticks / ETimespan::TicksPerMillisecond; }
	constexpr double GetTotalSeconds() const { return (double)Ticks / ETimespan::TicksPerSecond; }
	constexpr bool IsZero() const { return Ticks == 0; }

	constexpr FTimespan operator+(const FTimespan& Other) const { return FTimespan(Ticks + Other.Ticks); }
	constexpr FTimespan operator-(const FTimespan& Other) const { return FTimespan(Ticks - Other.Ticks); }
	constexpr bool operator==(const FTimespan& Other) const { return Ticks == Other.Ticks; }
	constexpr bool operator!=(const FTimespan& Other) const { return Ticks != Other.Ticks; }
	constexpr bool operator<(const FTimespan& Other) const { return Ticks < Other.Ticks; }
	constexpr bool operator>(const FTimespan& Other) const { return Ticks > Other.Ticks; }
	constexpr bool operator<=(const FTimespan& Other) const { return Ticks <= Other.Ticks; }
	constexpr bool operator>=(const FTimespan& Other) const { return Ticks >= Other.Ticks; }

private:
	int64 Ticks;
};
