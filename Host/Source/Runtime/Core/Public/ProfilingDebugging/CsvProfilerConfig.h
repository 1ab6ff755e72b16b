// Copyright Quarn. All Rights Reserved.

#pragma once

// When the CSV profiler is compiled in, after the engine's ProfilingDebugging/CsvProfilerConfig.h.

#ifndef CSV_PROFILER_ENABLE_IN_SHIPPING
	#define CSV_PROFILER_ENABLE_IN_SHIPPING 0
#endif

#ifndef CSV_PROFILER
	#if WITH_SERVER_CODE
		#define CSV_PROFILER (WITH_ENGINE && 1)
	#else
		#define CSV_PROFILER (WITH_ENGINE && (!UE_BUILD_SHIPPING || CSV_PROFILER_ENABLE_IN_SHIPPING))
	#endif
#endif

#ifndef CSV_PROFILER_MINIMAL
	#define CSV_PROFILER_MINIMAL 0
#endif
