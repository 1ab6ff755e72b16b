// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

enum EThreadPriority
{
	TPri_Normal,
	TPri_AboveNormal,
	TPri_BelowNormal,
	TPri_Highest,
	TPri_Lowest,
	TPri_SlightlyBelowNormal,
	TPri_TimeCritical,
	TPri_Num,
};

enum class EThreadCreateFlags : int8
{
	None = 0,
	SMTExclusive = (1 << 0),
};
ENUM_CLASS_FLAGS(EThreadCreateFlags);

class FGenericPlatformAffinity
{
public:
	static uint64 GetNoAffinityMask() { return ~(uint64)0; }
};
typedef FGenericPlatformAffinity FPlatformAffinity;
