// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnTypes.h"

class FJsonObject;

/** The adapter's reading of a container document: only what a reconcile needs. */
struct FQuarnUSMEContainerRead
{
	/** The container version; 0 when the document has none. */
	int64 Version = 0;
	/** The stacks in document order; an element that is not an object is a default record. */
	TArray<FQuarnItemInstance> Items;
	/** An item id longer than the platform stores: the answer is refused and Items left empty. */
	bool bItemIdTooLong = false;
};

namespace QuarnUSMEContainerReader
{
	/**
	 * Reads "version" and "items". Each item gives "item_id", "quantity", "slot_index", "slot_key",
	 * "x", "y", "rotated" and, as its instance id, the "__qnid" entry of its "properties"; its own
	 * "id" is not read. A key that is absent or of another type leaves the record's default.
	 * An item id longer than QuarnItemIds::MaxLength makes no name: the read stops there.
	 */
	QUARNUSME_API FQuarnUSMEContainerRead Read(const FJsonObject& Document);
}
