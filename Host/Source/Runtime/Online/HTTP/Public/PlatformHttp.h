// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

#include "Unix/UnixPlatformHttp.h"
