// Copyright Quarn. All Rights Reserved.

#include "EngineLogs.h"
#include "DataTableUtils.h"
#include "Engine/Engine.h"

DEFINE_LOG_CATEGORY(LogEngine);
DEFINE_LOG_CATEGORY(LogSpawn);
DEFINE_LOG_CATEGORY(LogActor);
DEFINE_LOG_CATEGORY(LogWorld);
DEFINE_LOG_CATEGORY(LogTexture);
DEFINE_LOG_CATEGORY(LogDataTable);

UEngine* GEngine = nullptr;
