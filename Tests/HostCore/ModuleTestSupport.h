// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleManager.h"

// Records module calls in order, for the module manager tests.
inline TArray<FString>& Calls()
{
	static TArray<FString> Log;
	return Log;
}

class FTestModuleBase : public IModuleInterface
{
public:
	explicit FTestModuleBase(const TCHAR* InName) : Name(InName) {}
	virtual void StartupModule() override { Calls().Add(Name + TEXT(".Startup")); }
	virtual void PreUnloadCallback() override { Calls().Add(Name + TEXT(".PreUnload")); }
	virtual void ShutdownModule() override { Calls().Add(Name + TEXT(".Shutdown")); }
	virtual ~FTestModuleBase() override { Calls().Add(Name + TEXT(".Destroyed")); }
	FString Name;
};
