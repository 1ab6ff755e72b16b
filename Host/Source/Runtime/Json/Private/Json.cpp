// Copyright Quarn. All Rights Reserved.

#include "JsonGlobals.h"

DEFINE_LOG_CATEGORY(LogJson);
