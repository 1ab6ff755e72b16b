// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

// A module's entry points, in the engine's declaration (vtable) order.
class IModuleInterface
{
public:
	virtual ~IModuleInterface() = default;

	// Called right after the module is loaded and its object created.
	virtual void StartupModule() {}

	// Called before the module is unloaded at shutdown, for every module before any shuts down.
	virtual void PreUnloadCallback() {}

	// Called after the module has been reloaded.
	virtual void PostLoadCallback() {}

	// Called before the module is unloaded, right before the object is destroyed.
	virtual void ShutdownModule() {}

	virtual bool SupportsDynamicReloading() { return true; }
	virtual bool SupportsAutomaticShutdown() { return true; }
	virtual bool IsGameModule() const { return false; }
};
