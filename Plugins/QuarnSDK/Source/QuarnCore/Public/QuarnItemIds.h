// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnTypes.h"

/**
 * What a reader of the platform's answers may turn into an item id. Names are never freed, so an
 * answer whose item id the platform could not have stored is refused whole, before any of its ids
 * becomes a name.
 */
namespace QuarnItemIds
{
	/** The longest item id the platform stores, in characters. */
	constexpr int32 MaxLength = 128;

	/** True when ItemId is at most MaxLength characters (a surrogate pair counts as one). */
	QUARNCORE_API bool IsAcceptable(const FString& ItemId);

	/** The error of an answer holding a longer item id: "bad_response", with HTTP status 200. */
	QUARNCORE_API FQuarnError TooLongError();
}
