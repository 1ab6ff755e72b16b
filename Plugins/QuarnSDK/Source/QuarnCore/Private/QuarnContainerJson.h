// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnTypes.h"

class FJsonObject;

/** The core module's reader of the platform's container document. */
namespace QuarnContainerJson
{
	/**
	 * Reads "id", "kind", "layout" and every item with all of its fields. An item's instance id is
	 * its "id", or, when that is absent, the "__qnid" entry of its "properties". Keys that are
	 * absent or of another type leave the record's defaults; elements of "items" that are not
	 * objects are skipped.
	 */
	FQuarnContainer ReadContainer(const FJsonObject& Document);

	/**
	 * ReadContainer, refusing an answer with an item id longer than QuarnItemIds::MaxLength:
	 * false, and OutContainer holds no items. No name is made of it.
	 */
	bool TryReadContainer(const FJsonObject& Document, FQuarnContainer& OutContainer);

	/** One item object into Result; false, making no name, when its item id is too long. */
	bool ReadItem(const FJsonObject& Item, FQuarnItemInstance& Result);
}
