// Copyright Quarn. All Rights Reserved.

#include "Modules/ModuleManager.h"

// Core is started like every other module, so that it is the first in the load order.
IMPLEMENT_MODULE(FDefaultModuleImpl, Core);
