// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

ENGINE_API DECLARE_LOG_CATEGORY_EXTERN(LogEngine, Log, All);
ENGINE_API DECLARE_LOG_CATEGORY_EXTERN(LogSpawn, Warning, All);
ENGINE_API DECLARE_LOG_CATEGORY_EXTERN(LogActor, Log, All);
ENGINE_API DECLARE_LOG_CATEGORY_EXTERN(LogWorld, Log, All);
ENGINE_API DECLARE_LOG_CATEGORY_EXTERN(LogTexture, Log, All);
