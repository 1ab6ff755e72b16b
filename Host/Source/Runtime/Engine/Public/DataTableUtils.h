// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

ENGINE_API DECLARE_LOG_CATEGORY_EXTERN(LogDataTable, Log, All);
