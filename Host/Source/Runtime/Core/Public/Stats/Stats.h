// Copyright Quarn. All Rights Reserved.

#pragma once

// The stats system's declarations, after the engine's Stats/Stats.h: stat groups, cycle stats
// timed by SCOPE_CYCLE_COUNTER, counters and accumulators changed by INC_/DEC_/SET_ macros, all
// compiled out when STATS is 0 (Test and Shipping, unless forced), as Misc/Build.h decides. The
// host keeps the values in memory for tests (Host/StatsHost.h); there is no stats thread or
// overlay. Left out: the lightweight-stats forms 5.8 uses when STATS is 0 but named events are on,
// memory, FName and pointer stats.

#include "CoreTypes.h"
#include "CoreGlobals.h"
#include "HAL/PreprocessorHelpers.h"
#include "Misc/EnumClassFlags.h"
#include "UObject/NameTypes.h"

#ifndef FORCE_USE_STATS
	#define FORCE_USE_STATS 0
#endif
#ifndef USE_STATS_WITHOUT_ENGINE
	#define USE_STATS_WITHOUT_ENGINE 0
#endif
#ifndef WITH_UNREAL_DEVELOPER_TOOLS
	// Set by the build tool; an editor build has the developer tools.
	#define WITH_UNREAL_DEVELOPER_TOOLS WITH_EDITOR
#endif
#ifndef ENABLE_STATNAMEDEVENTS
	#define ENABLE_STATNAMEDEVENTS (UE_BUILD_TEST && !FORCE_USE_STATS && !USE_STATS_WITHOUT_ENGINE)
#endif
#ifndef STATS
	#if UE_BUILD_DEBUG || UE_BUILD_DEVELOPMENT
		#define STATS ((WITH_UNREAL_DEVELOPER_TOOLS || !WITH_EDITORONLY_DATA || USE_STATS_WITHOUT_ENGINE || FORCE_USE_STATS) && !ENABLE_STATNAMEDEVENTS)
	#else
		#define STATS (FORCE_USE_STATS && !ENABLE_STATNAMEDEVENTS)
	#endif
#endif

#if STATS
	#define STAT(x) x
#else
	#define STAT(x)
#endif

enum class EStatFlags : uint8
{
	None = 0,
	ClearEveryFrame = 1 << 0,
	CycleStat = 1 << 1,
};
ENUM_CLASS_FLAGS(EStatFlags);

namespace EStatDataType
{
	enum Type
	{
		Invalid,
		ST_None,
		ST_int64,
		ST_double,
		ST_FName,
		ST_Ptr,
	};
}

namespace EStatOperation
{
	enum Type
	{
		Invalid,
		Set,
		Add,
		Subtract,
	};
}

/** Names a stat; empty for a stat that is compiled out or not collected. */
struct TStatId
{
	TStatId() = default;
	explicit TStatId(FName InName)
		: Name(InName)
	{
	}

	bool IsValidStat() const
	{
		return !Name.IsNone();
	}

	FName GetName() const
	{
		return Name;
	}

private:
	FName Name;
};

#if STATS

namespace UE::Stats::Private
{
	/** Registers a stat the first time it is used. */
	CORE_API FName RegisterStat(const char* StatName, const TCHAR* Description, const char* GroupName, const TCHAR* GroupDescription, bool bCycleStat, bool bClearEveryFrame);
}

/** The stats the macros change, from any thread. */
struct FThreadStats
{
	/** True while a stat display or capture collects (stat <Group>, stat startfile). */
	CORE_API static bool IsCollectingData();
	CORE_API static void AddMessage(FName InStatName, EStatOperation::Type InStatOperation, int64 Value, bool bIsCycle = false);
	CORE_API static void AddMessage(FName InStatName, EStatOperation::Type InStatOperation, double Value, bool bIsCycle = false);
};

/** Times its scope into a cycle stat while stats are collected. */
class FScopeCycleCounter
{
public:
	CORE_API FScopeCycleCounter(TStatId StatId, EStatFlags StatFlags = EStatFlags::None);
	CORE_API ~FScopeCycleCounter();

	FScopeCycleCounter(const FScopeCycleCounter&) = delete;
	FScopeCycleCounter& operator=(const FScopeCycleCounter&) = delete;

private:
	FName StatName;
	uint64 StartCycles = 0;
};

/** The one instance of a declared stat. */
template <class TStatData>
struct FThreadSafeStaticStat
{
	TStatId GetStatId() const
	{
		return TStatId(GetStatFName());
	}

	FName GetStatFName() const
	{
		static const FName Name = UE::Stats::Private::RegisterStat(TStatData::GetStatName(), TStatData::GetDescription(),
			TStatData::TGroup::GetGroupName(), TStatData::TGroup::GetDescription(), TStatData::IsCycleStat(), TStatData::IsClearEveryFrame());
		return Name;
	}
};

#define DECLARE_STAT_GROUP(Description, StatName, StatCategory, InDefaultEnable, InCompileTimeEnable, InSortByName) \
struct FStatGroup_##StatName \
{ \
	enum \
	{ \
		DefaultEnable = InDefaultEnable, \
		CompileTimeEnable = InCompileTimeEnable, \
		SortByName = InSortByName \
	}; \
	static FORCEINLINE const char* GetGroupName() { return #StatName; } \
	static FORCEINLINE const char* GetGroupCategory() { return #StatCategory; } \
	static FORCEINLINE const TCHAR* GetDescription() { return Description; } \
	static FORCEINLINE bool IsDefaultEnabled() { return (bool)DefaultEnable; } \
	static FORCEINLINE bool IsCompileTimeEnable() { return (bool)CompileTimeEnable; } \
	static FORCEINLINE bool GetSortByName() { return (bool)SortByName; } \
};

#define DECLARE_STAT(Description, StatName, GroupName, StatType, StatFlags, MemoryRegion) \
struct FStat_##StatName \
{ \
	typedef FStatGroup_##GroupName TGroup; \
	static FORCEINLINE const char* GetStatName() { return #StatName; } \
	static FORCEINLINE const TCHAR* GetDescription() { return Description; } \
	static FORCEINLINE EStatDataType::Type GetStatType() { return StatType; } \
	static FORCEINLINE bool IsClearEveryFrame() { return EnumHasAnyFlags(GetFlags(), EStatFlags::ClearEveryFrame); } \
	static FORCEINLINE bool IsCycleStat() { return EnumHasAnyFlags(GetFlags(), EStatFlags::CycleStat); } \
	static FORCEINLINE EStatFlags GetFlags() { return StatFlags; } \
};

#define GET_STATID(Stat) (StatPtr_##Stat.GetStatId())
#define GET_STATFNAME(Stat) (StatPtr_##Stat.GetStatFName())
#define GET_STATDESCRIPTION(Stat) (FStat_##Stat::GetDescription())
#define GET_STATISEVERYFRAME(Stat) (FStat_##Stat::IsClearEveryFrame())
#define GET_STATFLAGS(Stat) (FStat_##Stat::GetFlags())

#define DEFINE_STAT(Stat) \
	struct FThreadSafeStaticStat<FStat_##Stat> StatPtr_##Stat;

#define DECLARE_CYCLE_STAT(CounterName,StatId,GroupId) \
	DECLARE_STAT(CounterName,StatId,GroupId,EStatDataType::ST_int64, EStatFlags::ClearEveryFrame | EStatFlags::CycleStat, FPlatformMemory::MCR_Invalid); \
	static DEFINE_STAT(StatId)
#define DECLARE_DWORD_COUNTER_STAT(CounterName,StatId,GroupId) \
	DECLARE_STAT(CounterName,StatId,GroupId,EStatDataType::ST_int64,EStatFlags::ClearEveryFrame, FPlatformMemory::MCR_Invalid); \
	static DEFINE_STAT(StatId)
#define DECLARE_DWORD_ACCUMULATOR_STAT(CounterName,StatId,GroupId) \
	DECLARE_STAT(CounterName,StatId,GroupId,EStatDataType::ST_int64, EStatFlags::None, FPlatformMemory::MCR_Invalid); \
	static DEFINE_STAT(StatId)

#define DECLARE_CYCLE_STAT_EXTERN(CounterName,StatId,GroupId, APIX) \
	DECLARE_STAT(CounterName,StatId,GroupId,EStatDataType::ST_int64, EStatFlags::ClearEveryFrame | EStatFlags::CycleStat, FPlatformMemory::MCR_Invalid); \
	extern APIX DEFINE_STAT(StatId);
#define DECLARE_DWORD_COUNTER_STAT_EXTERN(CounterName,StatId,GroupId, API) \
	DECLARE_STAT(CounterName,StatId,GroupId,EStatDataType::ST_int64, EStatFlags::ClearEveryFrame, FPlatformMemory::MCR_Invalid); \
	extern API DEFINE_STAT(StatId);
#define DECLARE_DWORD_ACCUMULATOR_STAT_EXTERN(CounterName,StatId,GroupId, API) \
	DECLARE_STAT(CounterName,StatId,GroupId,EStatDataType::ST_int64, EStatFlags::None, FPlatformMemory::MCR_Invalid); \
	extern API DEFINE_STAT(StatId);

#define DECLARE_STATS_GROUP(GroupDesc, GroupId, GroupCat) \
	DECLARE_STAT_GROUP(GroupDesc, GroupId, GroupCat, true, true, false);
#define DECLARE_STATS_GROUP_VERBOSE(GroupDesc, GroupId, GroupCat) \
	DECLARE_STAT_GROUP(GroupDesc, GroupId, GroupCat, false, true, false);

#define SCOPE_CYCLE_COUNTER(Stat) \
	FScopeCycleCounter CycleCount_##Stat(GET_STATID(Stat), GET_STATFLAGS(Stat));

#define INC_DWORD_STAT(Stat) \
{\
	if (FThreadStats::IsCollectingData() || !GET_STATISEVERYFRAME(Stat)) \
	{ \
		const FName StatName = GET_STATFNAME(Stat); \
		FThreadStats::AddMessage(StatName, EStatOperation::Add, int64(1));\
	} \
}
#define INC_DWORD_STAT_BY(Stat, Amount) \
{\
	int64 AddAmount = int64(Amount); \
	if (AddAmount != 0) \
	{ \
		if (FThreadStats::IsCollectingData() || !GET_STATISEVERYFRAME(Stat)) \
		{ \
			const FName StatName = GET_STATFNAME(Stat); \
			FThreadStats::AddMessage(StatName, EStatOperation::Add, AddAmount); \
		} \
	} \
}
#define DEC_DWORD_STAT(Stat) \
{\
	if (FThreadStats::IsCollectingData() || !GET_STATISEVERYFRAME(Stat)) \
	{ \
		const FName StatName = GET_STATFNAME(Stat); \
		FThreadStats::AddMessage(StatName, EStatOperation::Subtract, int64(1));\
	} \
}
#define SET_DWORD_STAT(Stat,Value) \
{\
	if (FThreadStats::IsCollectingData() || !GET_STATISEVERYFRAME(Stat)) \
	{ \
		const FName StatName = GET_STATFNAME(Stat); \
		int64 SetValue = int64(Value); \
		FThreadStats::AddMessage(StatName, EStatOperation::Set, SetValue); \
	} \
}

#else // STATS

#define SCOPE_CYCLE_COUNTER(Stat)
#define GET_STATID(Stat) (TStatId())
#define DEFINE_STAT(Stat)
#define DECLARE_CYCLE_STAT(CounterName,StatId,GroupId)
#define DECLARE_DWORD_COUNTER_STAT(CounterName,StatId,GroupId)
#define DECLARE_DWORD_ACCUMULATOR_STAT(CounterName,StatId,GroupId)
#define DECLARE_CYCLE_STAT_EXTERN(CounterName,StatId,GroupId, API)
#define DECLARE_DWORD_COUNTER_STAT_EXTERN(CounterName,StatId,GroupId, API)
#define DECLARE_DWORD_ACCUMULATOR_STAT_EXTERN(CounterName,StatId,GroupId, API)
#define DECLARE_STATS_GROUP(GroupDesc,GroupId,GroupCat)
#define DECLARE_STATS_GROUP_VERBOSE(GroupDesc,GroupId,GroupCat)
#define INC_DWORD_STAT(StatId)
#define INC_DWORD_STAT_BY(StatId,Amount)
#define DEC_DWORD_STAT(StatId)
#define SET_DWORD_STAT(StatId,Value)
#define GET_STATFNAME(Stat) (FName())
#define GET_STATDESCRIPTION(Stat) (nullptr)

#endif // STATS
