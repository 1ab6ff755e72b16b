// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/** Texts of the keys the platform reserves in an item's key/value data. */
namespace QuarnUSMEKeys
{
	/** Every reserved key begins with this, in any letter case. */
	inline constexpr const TCHAR* ReservedPrefix = TEXT("__qn");

	/** The key of the instance id, in USME's DataKeys and in an item's "properties" on the platform. */
	inline constexpr const TCHAR* InstanceId = TEXT("__qnid");
}
