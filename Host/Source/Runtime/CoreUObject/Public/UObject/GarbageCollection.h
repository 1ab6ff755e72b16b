// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "UObject/UObjectGlobals.h"

/** Context sensitive keep flags for garbage collection */
#define GARBAGE_COLLECTION_KEEPFLAGS (GIsEditor ? RF_Standalone : RF_NoFlags)
