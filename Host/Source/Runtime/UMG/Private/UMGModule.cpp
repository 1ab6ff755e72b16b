// Copyright Quarn. All Rights Reserved.

#include "Modules/ModuleManager.h"
#include "UMGPrivate.h"

DEFINE_LOG_CATEGORY(LogUMG);

// UMG's types register during static initialisation; the module itself has no state.
IMPLEMENT_MODULE(FDefaultModuleImpl, UMG);
