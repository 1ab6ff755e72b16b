// Copyright Quarn. All Rights Reserved.

#pragma once

// The CSV profiler's categories and scoped timing stats, after the engine's
// ProfilingDebugging/CsvProfiler.h, compiled out where CSV_PROFILER is 0 (Shipping without
// CSV_PROFILER_ENABLE_IN_SHIPPING) and, for the stats, where CSV_PROFILER_MINIMAL is 1. The host
// sums each stat's time while a capture runs (Host/CsvHost.h) instead of writing per-frame rows.

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "ProfilingDebugging/CsvProfilerConfig.h"

#if CSV_PROFILER
	#define CSV_CATEGORY_INDEX(CategoryName) (_GCsvCategory_##CategoryName.Index)
	#define CSV_CATEGORY_INDEX_GLOBAL (0)

	#define CSV_DEFINE_CATEGORY(CategoryName,bDefaultValue) FCsvCategory _GCsvCategory_##CategoryName(TEXT(#CategoryName),bDefaultValue)
	#define CSV_DEFINE_CATEGORY_MODULE(Module_API,CategoryName,bDefaultValue) FCsvCategory Module_API _GCsvCategory_##CategoryName(TEXT(#CategoryName),bDefaultValue)
	#define CSV_DECLARE_CATEGORY_EXTERN(CategoryName) extern FCsvCategory _GCsvCategory_##CategoryName
	#define CSV_DECLARE_CATEGORY_MODULE_EXTERN(Module_API,CategoryName) extern Module_API FCsvCategory _GCsvCategory_##CategoryName
#else
	#define CSV_CATEGORY_INDEX(CategoryName) (0)
	#define CSV_CATEGORY_INDEX_GLOBAL (0)
	#define CSV_DEFINE_CATEGORY(CategoryName,bDefaultValue)
	#define CSV_DEFINE_CATEGORY_MODULE(Module_API,CategoryName,bDefaultValue)
	#define CSV_DECLARE_CATEGORY_EXTERN(CategoryName)
	#define CSV_DECLARE_CATEGORY_MODULE_EXTERN(Module_API,CategoryName)
#endif

#if CSV_PROFILER && !CSV_PROFILER_MINIMAL
	#define CSV_SCOPED_TIMING_STAT(Category,StatName) \
		FScopedCsvStat _ScopedCsvStat_ ## StatName (#StatName, CSV_CATEGORY_INDEX(Category), "CSV_"#StatName);
	#define CSV_SCOPED_TIMING_STAT_GLOBAL(StatName) \
		FScopedCsvStat _ScopedCsvStat_ ## StatName (#StatName, CSV_CATEGORY_INDEX_GLOBAL, "CSV_"#StatName);
#else
	#define CSV_SCOPED_TIMING_STAT(Category,StatName)
	#define CSV_SCOPED_TIMING_STAT_GLOBAL(StatName)
#endif

#if CSV_PROFILER

class FCsvProfiler
{
public:
	CORE_API static FCsvProfiler* Get();

	/** Times a stat of a category on the calling thread; each needs its EndStat there. */
	CORE_API static void BeginStat(const char* StatName, uint32 CategoryIndex, const char* NamedEventName = nullptr);
	CORE_API static void EndStat(const char* StatName, uint32 CategoryIndex);

	/** The index a category's stats are recorded under; a category starts on or off. */
	CORE_API static int32 RegisterCategory(const FString& Name, bool bEnableByDefault, bool bIsGlobal);

	CORE_API bool IsCapturing() const;
};

class FScopedCsvStat
{
public:
	FScopedCsvStat(const char* InStatName, uint32 InCategoryIndex, const char* InNamedEventName = nullptr)
		: StatName(InStatName)
		, CategoryIndex(InCategoryIndex)
	{
		FCsvProfiler::BeginStat(StatName, CategoryIndex, InNamedEventName);
	}

	~FScopedCsvStat()
	{
		FCsvProfiler::EndStat(StatName, CategoryIndex);
	}

	const char* StatName;
	uint32 CategoryIndex;
};

struct FCsvCategory
{
	FCsvCategory() : Index(-1) {}
	FCsvCategory(const TCHAR* CategoryString, bool bDefaultValue, bool bIsGlobal = false)
	{
		Name = CategoryString;
		Index = FCsvProfiler::RegisterCategory(Name, bDefaultValue, bIsGlobal);
	}

	uint32 Index;
	FString Name;
};

#endif // CSV_PROFILER
