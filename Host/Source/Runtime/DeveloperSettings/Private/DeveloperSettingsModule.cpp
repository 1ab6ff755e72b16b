// Copyright Quarn. All Rights Reserved.

#include "Modules/ModuleManager.h"

// The module only carries the settings base class; its types register when the library loads.
IMPLEMENT_MODULE(FDefaultModuleImpl, DeveloperSettings);
