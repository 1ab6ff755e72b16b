// Compiled once per build configuration (see CMakeLists.txt): the profiling macros are there, or
// gone, exactly where the engine's headers keep or drop them. Where they are gone, the uses below
// name stats, categories and scopes that nothing declares, so the file compiles only if every
// macro expands to nothing.
#include "ProfilingDebugging/CpuProfilerTrace.h"
#include "ProfilingDebugging/CsvProfiler.h"
#include "Stats/Stats.h"

#ifndef EXPECT_STATS
	#error EXPECT_STATS, EXPECT_CPU_TRACE and EXPECT_CSV are set by the test
#endif

static_assert(bool(STATS) == bool(EXPECT_STATS), "STATS");
static_assert(bool(CPUPROFILERTRACE_ENABLED) == bool(EXPECT_CPU_TRACE), "CPUPROFILERTRACE_ENABLED");
static_assert(bool(CSV_PROFILER) == bool(EXPECT_CSV), "CSV_PROFILER");

#if !STATS
DECLARE_CYCLE_STAT_EXTERN(TEXT("Never declared"), STAT_Missing, STATGROUP_Missing, );
void UsesStats()
{
	SCOPE_CYCLE_COUNTER(STAT_Missing);
	INC_DWORD_STAT(STAT_Missing);
	INC_DWORD_STAT_BY(STAT_Missing, 3);
}
#endif

#if !CPUPROFILERTRACE_ENABLED
void UsesTrace()
{
	TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::Anything);
	TRACE_CPUPROFILER_EVENT_SCOPE_STR(NotEvenAString);
}
#endif

#if !CSV_PROFILER
CSV_DECLARE_CATEGORY_MODULE_EXTERN(MISSING_API, Missing);
void UsesCsv()
{
	CSV_SCOPED_TIMING_STAT(Missing, Anything);
}
#endif
