// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/SharedPointer.h"
#include "QuarnStashSync.h"
#include "QuarnTypes.h"

class FJsonValue;

/** The difference between the items a template wants and the items a container holds, as intents. */
namespace QuarnReconcile
{
	/** Same slot index, coordinates and slot key (the key without regard to case); rotation is not a place. */
	QUARNUSME_API bool IsSamePlace(const FQuarnItemInstance& A, const FQuarnItemInstance& B);

	/**
	 * Matches Desired to Current by instance id and appends one intent per difference to
	 * OutIntents, in the order they must apply: per desired item its quantity change, then its
	 * move; then a consume of every identified stack no desired item named. Counts and warnings go
	 * to Report. Linear in the two lists.
	 */
	QUARNUSME_API void BuildIntents(const TArray<FQuarnItemInstance>& Desired, const TArray<FQuarnItemInstance>& Current, const FString& ContainerId, FQuarnSyncReport& Report, TArray<TSharedPtr<FJsonValue>>& OutIntents);

	/** The transaction request body: the intents, the container and the version they were worked out against. */
	QUARNUSME_API FString WriteTransactionBody(const TArray<TSharedPtr<FJsonValue>>& Intents, const FString& ContainerId, int64 ExpectedVersion);
}
