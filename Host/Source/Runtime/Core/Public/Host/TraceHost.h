// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"

// Host-only: recording the CPU trace scopes (TRACE_CPUPROFILER_EVENT_SCOPE) of a run, as Unreal
// Insights would receive them, and writing them as a Chrome trace (chrome://tracing, Perfetto).
namespace UE::Host
{
	struct FTraceScope
	{
		FString Name;
		/** The thread's system id and name ("GameThread" for the game thread). */
		uint32 ThreadId = 0;
		FString ThreadName;
		/** FPlatformTime seconds. */
		double BeginSeconds = 0.0;
		double EndSeconds = 0.0;
		/** Scopes open around it on its thread when it began. */
		int32 Depth = 0;
	};

	// Turns the CPU channel on and forgets what an earlier recording kept.
	CORE_API void StartTraceRecording();

	// Turns the CPU channel off; what was recorded stays until the next start.
	CORE_API void StopTraceRecording();

	CORE_API bool IsTraceRecording();

	// Every scope that ended while recording, ordered by begin time (outer before inner).
	CORE_API TArray<FTraceScope> GetRecordedTraceScopes();

	// Writes the recorded scopes as Chrome trace JSON: one complete ("X") event per scope with
	// microsecond times from the first scope, and a thread_name entry per thread. False when the
	// file cannot be written.
	CORE_API bool WriteChromeTrace(const FString& Path);
}
