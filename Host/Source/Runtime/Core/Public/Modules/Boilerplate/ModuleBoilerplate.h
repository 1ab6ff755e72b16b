// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

// Per-module boilerplate. The host routes no allocations through FMemory globally, so these add
// nothing but the module marker.
#define REPLACEMENT_OPERATOR_NEW_AND_DELETE
#define UE_DEFINE_FMEMORY_WRAPPERS
#define PER_MODULE_BOILERPLATE_ANYLINK(ModuleImplClass, ModuleName)
#define PER_MODULE_BOILERPLATE

// Marks a shared library as an engine module, as the engine's loader looks for it.
#define UE_IMPLEMENT_MODULE_MARKER \
	extern "C" DLLEXPORT __attribute__((weak)) void ThisIsAnUnrealEngineModule() {}
