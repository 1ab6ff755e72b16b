// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

struct FGuid;

struct CORE_API FGenericPlatformMisc
{
	static void CreateGuid(FGuid& Result);
	static FString GetEnvironmentVariable(const TCHAR* VariableName);
	static void SetEnvironmentVar(const TCHAR* VariableName, const TCHAR* Value);
	static bool IsDebuggerPresent();
	static void RequestExit(bool Force, const TCHAR* CallSite = nullptr);
	static int32 NumberOfCores();
	static int32 NumberOfCoresIncludingHyperthreads();
	static const TCHAR* GetPlatformName() { return TEXT("Linux"); }
	static FString GetCPUBrand();
	static FString GetOSVersion();
	static void LowLevelOutputDebugString(const TCHAR* Message);
	static void LocalPrint(const TCHAR* Message);
	static const TCHAR* GetDefaultPathSeparator() { return TEXT("/"); }
	static const TCHAR* GetLineTerminator() { return LINE_TERMINATOR; }
};

typedef FGenericPlatformMisc FPlatformMisc;
