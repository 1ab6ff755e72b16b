// Copyright Quarn. All Rights Reserved.

#include "QuarnConsoleCommands.h"
#include "QuarnLog.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY(LogQuarn);

class FQuarnCoreModule : public IModuleInterface
{
public:
	virtual void StartupModule() override
	{
		QuarnConsoleCommands::Register();
	}

	virtual void ShutdownModule() override
	{
		QuarnConsoleCommands::Unregister();
	}
};

IMPLEMENT_MODULE(FQuarnCoreModule, QuarnCore)
