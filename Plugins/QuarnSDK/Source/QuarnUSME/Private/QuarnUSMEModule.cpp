// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"
#include "QuarnLog.h"

class FQuarnUSMEModule : public IModuleInterface
{
public:
	virtual void StartupModule() override
	{
		UE_LOG(LogQuarn, Log, TEXT("Quarn USME adapter loaded."));
	}

	virtual void ShutdownModule() override
	{
	}
};

IMPLEMENT_MODULE(FQuarnUSMEModule, QuarnUSME)
