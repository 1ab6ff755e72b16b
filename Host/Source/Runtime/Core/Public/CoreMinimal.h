// Copyright Quarn. All Rights Reserved.

#pragma once

// The commonly used part of Core, as engine code includes it.

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "HAL/UnrealMemory.h"
#include "Templates/UnrealTypeTraits.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/TypeHash.h"
#include "Templates/Tuple.h"
#include "Templates/Function.h"
#include "Templates/UniquePtr.h"
#include "Templates/SharedPointer.h"
#include "Misc/Optional.h"
#include "Misc/Char.h"
#include "Misc/Crc.h"
#include "Containers/ContainersFwd.h"
#include "Containers/ContainerAllocationPolicies.h"
#include "Containers/Array.h"
#include "Containers/ArrayView.h"
#include "Containers/SparseArray.h"
#include "Containers/Set.h"
#include "Containers/Map.h"
#include "Templates/Sorting.h"
