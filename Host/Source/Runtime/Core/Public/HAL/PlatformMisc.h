// Copyright Quarn. All Rights Reserved.

#pragma once

#include "GenericPlatform/GenericPlatformMisc.h"
