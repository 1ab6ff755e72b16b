// Modules of the test plug-in: each records its start-up (and whether GEngine existed then) and shutdown.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Engine.h"
#include "Modules/ModuleInterface.h"

TArray<FString>& TestModuleEvents();

template<const TCHAR* (*NameFunc)()>
class TRecordingTestModule : public IModuleInterface
{
public:
	virtual void StartupModule() override
	{
		TestModuleEvents().Add(FString::Printf(TEXT("%s.Startup%s"), NameFunc(), GEngine ? TEXT("(engine)") : TEXT("")));
	}
	virtual void ShutdownModule() override
	{
		TestModuleEvents().Add(FString::Printf(TEXT("%s.Shutdown"), NameFunc()));
	}
};
