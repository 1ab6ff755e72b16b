// Copyright Quarn. All Rights Reserved.

#include "ProfilingDebugging/CsvProfiler.h"
#include "Host/CsvHost.h"
#include "Containers/Map.h"
#include "Containers/StringConv.h"
#include "HAL/PlatformTime.h"

#include <atomic>
#include <mutex>
#include <vector>

#if CSV_PROFILER

namespace CsvHost
{
	struct FCategory
	{
		FString Name;
		bool bEnabled = true;
	};

	struct FOpenStat
	{
		const char* StatName;
		uint32 CategoryIndex;
		uint64 BeginCycles;
	};

	struct FState
	{
		std::mutex Mutex;
		// Index 0 is the global category, as in the engine.
		std::vector<FCategory> Categories{ FCategory{ FString(TEXT("")), true } };
		TMap<FString, UE::Host::FCsvStatTotal> Totals;
		std::atomic<bool> bCapturing = false;
	};

	static FState& State()
	{
		static FState* Instance = new FState();
		return *Instance;
	}

	static thread_local std::vector<FOpenStat> OpenStats;
}

FCsvProfiler* FCsvProfiler::Get()
{
	static FCsvProfiler Instance;
	return &Instance;
}

bool FCsvProfiler::IsCapturing() const
{
	return CsvHost::State().bCapturing.load(std::memory_order_relaxed);
}

int32 FCsvProfiler::RegisterCategory(const FString& Name, bool bEnableByDefault, bool bIsGlobal)
{
	CsvHost::FState& S = CsvHost::State();
	std::lock_guard<std::mutex> Lock(S.Mutex);
	if (bIsGlobal)
	{
		return 0;
	}
	for (int32 Index = 1; Index < (int32)S.Categories.size(); ++Index)
	{
		if (S.Categories[Index].Name == Name)
		{
			return Index;
		}
	}
	S.Categories.push_back({ Name, bEnableByDefault });
	return (int32)S.Categories.size() - 1;
}

void FCsvProfiler::BeginStat(const char* StatName, uint32 CategoryIndex, const char* NamedEventName)
{
	if (!Get()->IsCapturing())
	{
		return;
	}
	CsvHost::OpenStats.push_back({ StatName, CategoryIndex, FPlatformTime::Cycles64() });
}

void FCsvProfiler::EndStat(const char* StatName, uint32 CategoryIndex)
{
	using namespace CsvHost;
	// A stat begun before the capture started has nothing open.
	if (OpenStats.empty() || OpenStats.back().StatName != StatName || OpenStats.back().CategoryIndex != CategoryIndex)
	{
		return;
	}
	const FOpenStat Open = OpenStats.back();
	OpenStats.pop_back();
	const double Milliseconds = (double)(FPlatformTime::Cycles64() - Open.BeginCycles) * 1e-6;
	FState& S = State();
	std::lock_guard<std::mutex> Lock(S.Mutex);
	if (CategoryIndex >= S.Categories.size() || !S.Categories[CategoryIndex].bEnabled)
	{
		return;
	}
	const FString Key = S.Categories[CategoryIndex].Name + TEXT("/") + UTF8_TO_TCHAR(StatName);
	UE::Host::FCsvStatTotal& Total = S.Totals.FindOrAdd(Key);
	++Total.Count;
	Total.Milliseconds += Milliseconds;
}

#endif // CSV_PROFILER

namespace UE::Host
{
	void StartCsvCapture()
	{
#if CSV_PROFILER
		CsvHost::FState& S = CsvHost::State();
		{
			std::lock_guard<std::mutex> Lock(S.Mutex);
			S.Totals.Reset();
		}
		S.bCapturing = true;
#endif
	}

	void StopCsvCapture()
	{
#if CSV_PROFILER
		CsvHost::State().bCapturing = false;
#endif
	}

	bool GetCsvStatTotal(const FString& CategoryAndStat, FCsvStatTotal& OutTotal)
	{
#if CSV_PROFILER
		CsvHost::FState& S = CsvHost::State();
		std::lock_guard<std::mutex> Lock(S.Mutex);
		if (const FCsvStatTotal* Found = S.Totals.Find(CategoryAndStat))
		{
			OutTotal = *Found;
			return true;
		}
#endif
		return false;
	}
}
