// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Logging/LogVerbosity.h"

// Host-only controls of Core: what the engine's launch code would set up.
namespace UE::Host
{
	// Makes the calling thread the game thread (IsInGameThread).
	CORE_API void SetGameThread();

	// Sets the project directory (FPaths::ProjectDir) and reloads the project's config files.
	CORE_API void SetProjectDirectory(const FString& Directory);

	// The console device prints lines at or above this verbosity (Log by default); it can be
	// turned off for tools and benchmarks that print their own output.
	CORE_API void SetConsoleLogVerbosity(ELogVerbosity::Type Verbosity);
	CORE_API void SetConsoleOutputEnabled(bool bEnabled);

	// Shuts every loaded module down (PreUnloadCallback for all, then ShutdownModule in reverse
	// start-up order) and destroys them.
	CORE_API void ShutdownModules();

	// Runs the game thread's queued tasks (AsyncTask to ENamedThreads::GameThread) and returns how
	// many ran. The engine loop calls it once per frame; call it only on the game thread.
	CORE_API int32 ProcessGameThreadTasks();

	// True while a task given to AsyncTask is queued or running, on any thread.
	CORE_API bool HasPendingAsyncTasks();
} // namespace UE::Host
