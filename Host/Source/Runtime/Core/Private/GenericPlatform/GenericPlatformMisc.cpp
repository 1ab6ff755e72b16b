// Copyright Quarn. All Rights Reserved.

#include "GenericPlatform/GenericPlatformMisc.h"
#include "Misc/Guid.h"
#include "Misc/CoreGlobals.h"
#include "Containers/StringConv.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <sys/utsname.h>

void FGenericPlatformMisc::CreateGuid(FGuid& Result)
{
	Result = FGuid::NewGuid();
}

FString FGenericPlatformMisc::GetEnvironmentVariable(const TCHAR* VariableName)
{
	const char* Value = std::getenv(TCHAR_TO_UTF8(VariableName));
	return Value ? FString(UTF8_TO_TCHAR(Value)) : FString();
}

void FGenericPlatformMisc::SetEnvironmentVar(const TCHAR* VariableName, const TCHAR* Value)
{
	const std::string Name(TCHAR_TO_UTF8(VariableName));
	if (Value && *Value)
	{
		setenv(Name.c_str(), TCHAR_TO_UTF8(Value), 1);
	}
	else
	{
		unsetenv(Name.c_str());
	}
}

bool FGenericPlatformMisc::IsDebuggerPresent()
{
	FILE* Status = std::fopen("/proc/self/status", "r");
	if (!Status)
	{
		return false;
	}
	char Line[256];
	bool bTraced = false;
	while (std::fgets(Line, sizeof(Line), Status))
	{
		if (std::strncmp(Line, "TracerPid:", 10) == 0)
		{
			bTraced = std::atoi(Line + 10) != 0;
			break;
		}
	}
	std::fclose(Status);
	return bTraced;
}

void FGenericPlatformMisc::RequestExit(bool Force, const TCHAR* CallSite)
{
	if (Force)
	{
		std::exit(1);
	}
	RequestEngineExit(CallSite ? CallSite : TEXT("FPlatformMisc::RequestExit"));
}

int32 FGenericPlatformMisc::NumberOfCores()
{
	const unsigned Count = std::thread::hardware_concurrency();
	return Count ? (int32)Count : 1;
}

int32 FGenericPlatformMisc::NumberOfCoresIncludingHyperthreads()
{
	return NumberOfCores();
}

FString FGenericPlatformMisc::GetCPUBrand()
{
	return FString(TEXT("GenericCPUBrand"));
}

FString FGenericPlatformMisc::GetOSVersion()
{
	struct utsname Name;
	return uname(&Name) == 0 ? FString(UTF8_TO_TCHAR(Name.release)) : FString();
}

void FGenericPlatformMisc::LowLevelOutputDebugString(const TCHAR* Message)
{
	std::fputs(TCHAR_TO_UTF8(Message), stderr);
}

void FGenericPlatformMisc::LocalPrint(const TCHAR* Message)
{
	std::fputs(TCHAR_TO_UTF8(Message), stdout);
}
