// Copyright Quarn. All Rights Reserved.

#pragma once

// EAllowShrinking lives with the allocation policies.
#include "Containers/ContainerAllocationPolicies.h"
