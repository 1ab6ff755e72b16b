// Copyright Quarn. All Rights Reserved.

// The invariants the soak checks after every round, over the platform's own records: the stored
// container and its change history, read through the emulator's admin API.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "QuarnTypes.h"

/** A stack as the change history describes it. */
struct FSoakStack
{
	FString InstanceId;
	FString ItemId;
	int64 Quantity = 0;
	int64 SlotIndex = -1;
};

/**
 * Rebuilds a container from its change history, entry by entry, and remembers every idempotency
 * key it met, so that a key applied twice or a change nobody recorded is found.
 */
class FSoakReplay
{
public:
	/** Applies the entries after the last one applied; adds a line to OutViolations for each fault found. */
	void Apply(const TArray<TSharedPtr<FJsonValue>>& Entries, TArray<FString>& OutViolations);

	/** Compares the rebuilt container with the stored items, in order. */
	void Compare(const TArray<TSharedPtr<FJsonValue>>& StoredItems, TArray<FString>& OutViolations) const;

	int64 GetVersion() const { return Version; }

private:
	TArray<FSoakStack> Stacks;
	TSet<FString> Keys;
	int64 Version = 0;
};

/** Instance ids that appear on more than one stored stack (compared ignoring case). */
void FindSharedInstanceIds(const TArray<TSharedPtr<FJsonValue>>& StoredItems, TArray<FString>& OutViolations);

/**
 * Units per item a container must hold once a sync of Desired succeeded: every desired stack with
 * a positive quantity, each instance id counted once (a duplicated stack names the same units),
 * less the stacks the report skipped.
 */
TMap<FString, int64> ExpectedUnits(const TArray<FQuarnItemInstance>& Desired, const TArray<FString>& Warnings);

/** Units per item of the stored items. */
TMap<FString, int64> StoredUnits(const TArray<TSharedPtr<FJsonValue>>& StoredItems);
