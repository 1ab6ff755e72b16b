// Copyright Quarn. All Rights Reserved.

#include "Misc/CoreGlobals.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Logging/LogMacros.h"
#include "Host/CoreHost.h"
#include <atomic>
#include <unistd.h>
#include <sys/syscall.h>

namespace
{
	uint32 CurrentThreadId()
	{
		return (uint32)syscall(SYS_gettid);
	}
}

FOutputDeviceRedirector* GLog = FOutputDeviceRedirector::Get();
FConfigCacheIni* GConfig = nullptr;
FString GEngineIni;
FString GGameIni;
FString GInputIni;
FString GGameUserSettingsIni;
bool GIsEditor = false;
bool GIsRunning = false;
bool GIsClient = true;
bool GIsServer = false;
bool GIsCriticalError = false;
std::atomic<bool> GIsRequestingExit{ false };
uint64 GFrameCounter = 0;
uint32 GFrameNumber = 1;
// The thread that loads Core is the game thread until the host says otherwise.
uint32 GGameThreadId = CurrentThreadId();
bool GIsGameThreadIdInitialized = true;

namespace UE::Host
{
	void ReloadProjectConfig();
}

namespace
{
	// After the globals above: the config system starts with the working directory as project.
	struct FConfigStartup
	{
		FConfigStartup() { UE::Host::ReloadProjectConfig(); }
	} GConfigStartup;
}

bool IsEngineExitRequested()
{
	return GIsRequestingExit.load(std::memory_order_relaxed);
}

void RequestEngineExit(const TCHAR* ReasonString)
{
	UE_LOG(LogCore, Log, TEXT("Engine exit requested (reason: %s)"), ReasonString ? ReasonString : TEXT(""));
	GIsRequestingExit.store(true, std::memory_order_relaxed);
}

void RequestEngineExit(const FString& ReasonString)
{
	RequestEngineExit(*ReasonString);
}

bool IsInGameThread()
{
	return CurrentThreadId() == GGameThreadId;
}

bool IsInSlateThread()
{
	return IsInGameThread();
}

bool IsInRenderingThread()
{
	return IsInGameThread();
}

bool IsInActualRenderingThread()
{
	return false;
}

namespace UE::Host
{
	void SetGameThread()
	{
		GGameThreadId = CurrentThreadId();
	}
} // namespace UE::Host
