// Copyright Quarn. All Rights Reserved.

#include "Modules/ModuleManager.h"

// Slate's types register during static initialisation; the module itself has no state.
IMPLEMENT_MODULE(FDefaultModuleImpl, Slate);
