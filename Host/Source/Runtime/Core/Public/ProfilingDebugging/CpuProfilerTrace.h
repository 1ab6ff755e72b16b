// Copyright Quarn. All Rights Reserved.

#pragma once

// Timed CPU scopes for Unreal Insights, after the engine's ProfilingDebugging/CpuProfilerTrace.h:
// the CPU channel, FCpuProfilerTrace's static events and their scope, and the static-name scope
// macros, compiled out where the engine compiles them out (no trace, or Shipping). The host
// records each scope with its thread and times while a recording runs (Host/TraceHost.h).

#include "CoreTypes.h"
#include "HAL/PreprocessorHelpers.h"

#include <atomic>

// As the engine's Trace/Config.h (TraceLog) decides it.
#if !defined(UE_TRACE_ENABLED)
	#if !UE_BUILD_SHIPPING && !IS_PROGRAM
		#if PLATFORM_WINDOWS || PLATFORM_UNIX || PLATFORM_APPLE || PLATFORM_ANDROID
			#define UE_TRACE_ENABLED 1
		#endif
	#endif
#endif
#if !defined(UE_TRACE_ENABLED)
	#define UE_TRACE_ENABLED 0
#endif

#if !defined(CPUPROFILERTRACE_ENABLED)
	#if UE_TRACE_ENABLED && !UE_BUILD_SHIPPING
		#define CPUPROFILERTRACE_ENABLED 1
	#else
		#define CPUPROFILERTRACE_ENABLED 0
	#endif
#endif

#if CPUPROFILERTRACE_ENABLED

namespace UE::Trace
{
	/** A trace channel: events on it are kept only while it is on. */
	class FChannel
	{
	public:
		explicit FChannel(const ANSICHAR* InName)
			: Name(InName)
		{
		}

		explicit operator bool() const
		{
			return IsEnabled();
		}

		bool IsEnabled() const
		{
			return bEnabled.load(std::memory_order_relaxed);
		}

		/** Turns the channel on or off; true when it was on before. */
		CORE_API bool Toggle(bool bInEnabled);

		const ANSICHAR* GetName() const
		{
			return Name;
		}

	private:
		const ANSICHAR* Name;
		std::atomic<bool> bEnabled = false;
	};
}

extern CORE_API UE::Trace::FChannel& CpuChannel;

struct FCpuProfilerTrace
{
	/** A new event type for the name; the id to begin events of it with. */
	CORE_API static uint32 OutputEventType(const ANSICHAR* Name, const ANSICHAR* File = nullptr, uint32 Line = 0);
	CORE_API static uint32 OutputEventType(const TCHAR* Name, const ANSICHAR* File = nullptr, uint32 Line = 0);

	/** Begins an event of the type on the calling thread; each needs its OutputEndEvent on the same thread. */
	CORE_API static void OutputBeginEvent(uint32 SpecId);

	/** Ends the innermost event of the calling thread. */
	CORE_API static void OutputEndEvent();

	/** Makes the event type once (InOutSpecId 0 until then), safely from several threads. */
	CORE_API static void GetOrCreateSpecId(uint32& InOutSpecId, const ANSICHAR* Name, const ANSICHAR* File, uint32 Line);
	CORE_API static void GetOrCreateSpecId(uint32& InOutSpecId, const TCHAR* Name, const ANSICHAR* File, uint32 Line);

	class FEventScope
	{
	public:
		FORCEINLINE FEventScope(uint32 InSpecId, bool bInCondition)
			: bEnabled(bInCondition && CpuChannel)
		{
			if (bEnabled)
			{
				OutputBeginEvent(InSpecId);
			}
		}

		FORCEINLINE FEventScope(uint32& InOutSpecId, const ANSICHAR* InEventName, bool bInCondition, const ANSICHAR* File, uint32 Line)
			: bEnabled(bInCondition && CpuChannel)
		{
			if (bEnabled)
			{
				GetOrCreateSpecId(InOutSpecId, InEventName, File, Line);
				OutputBeginEvent(InOutSpecId);
			}
		}

		FORCEINLINE FEventScope(uint32& InOutSpecId, const TCHAR* InEventName, bool bInCondition, const ANSICHAR* File, uint32 Line)
			: bEnabled(bInCondition && CpuChannel)
		{
			if (bEnabled)
			{
				GetOrCreateSpecId(InOutSpecId, InEventName, File, Line);
				OutputBeginEvent(InOutSpecId);
			}
		}

		FORCEINLINE ~FEventScope()
		{
			if (bEnabled)
			{
				OutputEndEvent();
			}
		}

		FEventScope(const FEventScope&) = delete;
		FEventScope& operator=(const FEventScope&) = delete;

	private:
		bool bEnabled;
	};
};

#define TRACE_CPUPROFILER_EVENT_DECLARE(DeclName) \
	static uint32 DeclName;

#define TRACE_CPUPROFILER_EVENT_SCOPE_USE(DeclName, NameStr, ScopeName, Condition) \
	FCpuProfilerTrace::FEventScope ScopeName(DeclName, NameStr, Condition, __FILE__, __LINE__);

#define TRACE_CPUPROFILER_EVENT_SCOPE_STR_CONDITIONAL(NameStr, Condition) \
	TRACE_CPUPROFILER_EVENT_DECLARE(UE_JOIN(__CpuProfilerEventSpecId, __LINE__)); \
	TRACE_CPUPROFILER_EVENT_SCOPE_USE(UE_JOIN(__CpuProfilerEventSpecId, __LINE__), NameStr, UE_JOIN(__CpuProfilerEventScope, __LINE__), (Condition));

#define TRACE_CPUPROFILER_EVENT_SCOPE_STR(NameStr) \
	TRACE_CPUPROFILER_EVENT_SCOPE_STR_CONDITIONAL(NameStr, true)

#define TRACE_CPUPROFILER_EVENT_SCOPE_CONDITIONAL(Name, Condition) \
	TRACE_CPUPROFILER_EVENT_SCOPE_STR_CONDITIONAL(#Name, (Condition))

#define TRACE_CPUPROFILER_EVENT_SCOPE(Name) \
	TRACE_CPUPROFILER_EVENT_SCOPE_CONDITIONAL(Name, true)

#else // CPUPROFILERTRACE_ENABLED

#define TRACE_CPUPROFILER_EVENT_DECLARE(DeclName)
#define TRACE_CPUPROFILER_EVENT_SCOPE_USE(DeclName, NameStr, ScopeName, Condition)
#define TRACE_CPUPROFILER_EVENT_SCOPE_STR(NameStr)
#define TRACE_CPUPROFILER_EVENT_SCOPE_STR_CONDITIONAL(NameStr, Condition)
#define TRACE_CPUPROFILER_EVENT_SCOPE(Name)
#define TRACE_CPUPROFILER_EVENT_SCOPE_CONDITIONAL(Name, Condition)

#endif // CPUPROFILERTRACE_ENABLED
