// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/** The log category of every Quarn module. */
QUARNCORE_API DECLARE_LOG_CATEGORY_EXTERN(LogQuarn, Log, All);
