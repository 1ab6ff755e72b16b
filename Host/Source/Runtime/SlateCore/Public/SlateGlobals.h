// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

SLATECORE_API DECLARE_LOG_CATEGORY_EXTERN(LogSlate, Log, All);
