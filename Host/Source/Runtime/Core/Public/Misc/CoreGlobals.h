// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include <atomic>

class FOutputDeviceRedirector;
class FConfigCacheIni;

CORE_API extern FOutputDeviceRedirector* GLog;
CORE_API extern FConfigCacheIni* GConfig;

CORE_API extern FString GEngineIni;
CORE_API extern FString GGameIni;
CORE_API extern FString GInputIni;
CORE_API extern FString GGameUserSettingsIni;

// The host runs as a game (no editor), started and running once the engine loop begins.
CORE_API extern bool GIsEditor;
CORE_API extern bool GIsRunning;
CORE_API extern bool GIsClient;
CORE_API extern bool GIsServer;
CORE_API extern bool GIsCriticalError;
CORE_API extern std::atomic<bool> GIsRequestingExit;
CORE_API extern uint64 GFrameCounter;
CORE_API extern uint32 GFrameNumber;
CORE_API extern uint32 GGameThreadId;
CORE_API extern bool GIsGameThreadIdInitialized;

CORE_API bool IsEngineExitRequested();
CORE_API void RequestEngineExit(const TCHAR* ReasonString);
CORE_API void RequestEngineExit(const FString& ReasonString);

// True on the thread that loaded Core, unless the host moved the game thread.
CORE_API bool IsInGameThread();
CORE_API bool IsInSlateThread();
CORE_API bool IsInRenderingThread();
CORE_API bool IsInActualRenderingThread();
