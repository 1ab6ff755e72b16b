// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "ProfilingDebugging/CpuProfilerTrace.h"
#include "ProfilingDebugging/CsvProfiler.h"
#include "Stats/Stats.h"

/** The plug-in's stat group: "stat Quarn" shows its cycle stats and counters. */
DECLARE_STATS_GROUP(TEXT("Quarn"), STATGROUP_Quarn, STATCAT_Advanced);

/** The CSV profiler category of the plug-in's timing stats: a csvprofile capture shows Quarn/<Stat>. */
CSV_DECLARE_CATEGORY_MODULE_EXTERN(QUARNCORE_API, Quarn);
