// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Modules/ModuleManager.h"

/** Does nothing at start-up or shutdown; it only keeps its library from being freed while in use. */
class FQuarnUIModule : public IModuleInterface
{
public:
	/** The core's pending requests hold the panel's completions, compiled into this library. */
	virtual bool SupportsDynamicReloading() override
	{
		return false;
	}
};

IMPLEMENT_MODULE(FQuarnUIModule, QuarnUI)
