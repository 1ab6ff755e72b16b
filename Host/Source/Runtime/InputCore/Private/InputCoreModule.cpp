// Copyright Quarn. All Rights Reserved.

#include "Modules/ModuleManager.h"

// InputCore's types register during static initialisation; the module itself has no state.
IMPLEMENT_MODULE(FDefaultModuleImpl, InputCore);
