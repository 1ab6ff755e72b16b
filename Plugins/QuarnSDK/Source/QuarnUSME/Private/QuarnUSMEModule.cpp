// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"
#include "QuarnLog.h"
#include "QuarnSyncConsoleCommands.h"

class FQuarnUSMEModule : public IModuleInterface
{
public:
	virtual void StartupModule() override
	{
		UE_LOG(LogQuarn, Log, TEXT("Quarn USME adapter loaded."));
		QuarnSyncConsoleCommands::Register();
	}

	virtual void ShutdownModule() override
	{
		QuarnSyncConsoleCommands::Unregister();
	}

	/** The core's pending requests hold the sync node's completions, compiled into this library. */
	virtual bool SupportsDynamicReloading() override
	{
		return false;
	}
};

IMPLEMENT_MODULE(FQuarnUSMEModule, QuarnUSME)
