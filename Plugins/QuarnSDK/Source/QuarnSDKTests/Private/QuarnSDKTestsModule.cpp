// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"

/** Does nothing at start-up or shutdown; it only keeps its library from being freed while in use. */
class FQuarnSDKTestsModule : public IModuleInterface
{
public:
	/** A latent case's tickers and completions point into this library until the case ends. */
	virtual bool SupportsDynamicReloading() override
	{
		return false;
	}
};

IMPLEMENT_MODULE(FQuarnSDKTestsModule, QuarnSDKTests)
