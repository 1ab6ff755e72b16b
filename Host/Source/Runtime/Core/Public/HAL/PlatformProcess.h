// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

class FEvent;

struct CORE_API FPlatformProcess
{
	// Events come from a pool; return them with ReturnSynchEventToPool.
	static FEvent* GetSynchEventFromPool(bool bIsManualReset = false);
	static void ReturnSynchEventToPool(FEvent* Event);
	static FEvent* CreateSynchEvent(bool bIsManualReset = false);

	static void Sleep(float Seconds);
	static void SleepNoStats(float Seconds);
	[[noreturn]] static void SleepInfinite();
	static void YieldThread();

	static uint32 GetCurrentProcessId();
	static uint32 GetCurrentCoreNumber();
	static const TCHAR* BaseDir();
	static const TCHAR* ExecutableName(bool bRemoveExtension = true);
	static bool SupportsMultithreading() { return true; }

	static void* GetDllHandle(const TCHAR* Filename);
	static void FreeDllHandle(void* DllHandle);
	static void* GetDllExport(void* DllHandle, const TCHAR* ProcName);
};

typedef FPlatformProcess FGenericPlatformProcess;
