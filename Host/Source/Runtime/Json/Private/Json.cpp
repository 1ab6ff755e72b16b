// Copyright Quarn. All Rights Reserved.

#include "JsonGlobals.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY(LogJson);

IMPLEMENT_MODULE(FDefaultModuleImpl, Json);
