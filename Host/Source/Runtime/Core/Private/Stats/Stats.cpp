// Copyright Quarn. All Rights Reserved.

#include "Stats/Stats.h"
#include "Host/StatsHost.h"
#include "Containers/Map.h"
#include "Containers/StringConv.h"
#include "HAL/PlatformTime.h"

#include <atomic>
#include <mutex>

#if STATS

namespace StatsHost
{
	struct FState
	{
		std::mutex Mutex;
		TMap<FName, UE::Host::FStatValue> Values;
		std::atomic<bool> bCollecting = false;
	};

	static FState& State()
	{
		static FState* Instance = new FState();
		return *Instance;
	}
}

FName UE::Stats::Private::RegisterStat(const char* StatName, const TCHAR* Description, const char* GroupName, const TCHAR* GroupDescription, bool bCycleStat, bool bClearEveryFrame)
{
	const FName Name(UTF8_TO_TCHAR(StatName));
	StatsHost::FState& S = StatsHost::State();
	std::lock_guard<std::mutex> Lock(S.Mutex);
	UE::Host::FStatValue& Value = S.Values.FindOrAdd(Name);
	Value.Description = Description;
	Value.Group = UTF8_TO_TCHAR(GroupName);
	Value.bCycleStat = bCycleStat;
	return Name;
}

bool FThreadStats::IsCollectingData()
{
	return StatsHost::State().bCollecting.load(std::memory_order_relaxed);
}

void FThreadStats::AddMessage(FName InStatName, EStatOperation::Type InStatOperation, int64 Value, bool bIsCycle)
{
	StatsHost::FState& S = StatsHost::State();
	std::lock_guard<std::mutex> Lock(S.Mutex);
	UE::Host::FStatValue& Stat = S.Values.FindOrAdd(InStatName);
	switch (InStatOperation)
	{
	case EStatOperation::Set: Stat.Value = Value; break;
	case EStatOperation::Add: Stat.Value += Value; break;
	case EStatOperation::Subtract: Stat.Value -= Value; break;
	default: break;
	}
}

void FThreadStats::AddMessage(FName InStatName, EStatOperation::Type InStatOperation, double Value, bool bIsCycle)
{
	AddMessage(InStatName, InStatOperation, (int64)Value, bIsCycle);
}

FScopeCycleCounter::FScopeCycleCounter(TStatId StatId, EStatFlags StatFlags)
{
	if (StatId.IsValidStat() && FThreadStats::IsCollectingData())
	{
		StatName = StatId.GetName();
		StartCycles = FPlatformTime::Cycles64();
	}
}

FScopeCycleCounter::~FScopeCycleCounter()
{
	if (StatName.IsNone())
	{
		return;
	}
	const double Seconds = (double)(FPlatformTime::Cycles64() - StartCycles) * 1e-9;
	StatsHost::FState& S = StatsHost::State();
	std::lock_guard<std::mutex> Lock(S.Mutex);
	UE::Host::FStatValue& Stat = S.Values.FindOrAdd(StatName);
	++Stat.Value;
	Stat.Seconds += Seconds;
}

#endif // STATS

namespace UE::Host
{
	void SetStatsCollecting(bool bCollecting)
	{
#if STATS
		StatsHost::State().bCollecting = bCollecting;
#endif
	}

	bool GetStatValue(FName StatName, FStatValue& OutValue)
	{
#if STATS
		StatsHost::FState& S = StatsHost::State();
		std::lock_guard<std::mutex> Lock(S.Mutex);
		if (const FStatValue* Found = S.Values.Find(StatName))
		{
			OutValue = *Found;
			return true;
		}
#endif
		return false;
	}

	void ResetStats()
	{
#if STATS
		StatsHost::FState& S = StatsHost::State();
		std::lock_guard<std::mutex> Lock(S.Mutex);
		for (TPair<FName, FStatValue>& Pair : S.Values)
		{
			Pair.Value.Value = 0;
			Pair.Value.Seconds = 0.0;
		}
#endif
	}
}
