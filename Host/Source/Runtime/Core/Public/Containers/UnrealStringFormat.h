// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Misc/StringFormatArg.h"
