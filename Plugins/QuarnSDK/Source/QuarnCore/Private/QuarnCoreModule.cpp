// Copyright Quarn. All Rights Reserved.

#include "QuarnLog.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY(LogQuarn);

IMPLEMENT_MODULE(FDefaultModuleImpl, QuarnCore)
