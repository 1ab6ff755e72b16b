// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Logging/LogMacros.h"
#include "PlatformHttp.h"

DECLARE_LOG_CATEGORY_EXTERN(LogHttp, Log, All);
