// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

namespace UE::Host
{
	/**
	 * Largest response body a request keeps in memory; a bigger body fails the request with
	 * EHttpFailureReason::ResponseTooLarge. The engine's limit is what one TArray can hold
	 * (MAX_int32 bytes); tests lower it to reach that path. A value <= 0 restores the engine's limit.
	 */
	HTTP_API void SetHttpMaxInMemoryResponseBytes(int64 MaxBytes);

	/** The limit SetHttpMaxInMemoryResponseBytes set (MAX_int32 by default). */
	HTTP_API int64 GetHttpMaxInMemoryResponseBytes();
}
