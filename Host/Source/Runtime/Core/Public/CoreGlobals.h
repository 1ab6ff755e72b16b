// Copyright Quarn. All Rights Reserved.

#pragma once

// The engine declares its globals (GLog, GConfig, GIsEditor, ...) in CoreGlobals.h.
#include "Misc/CoreGlobals.h"
