// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnTypes.h"

class FJsonObject;

/** The stash panel's reading of a container document. */
namespace QuarnStashPanelReader
{
	/**
	 * Reads "id", "kind", "layout" and "items"; of each item object "item_id", "id", "quantity",
	 * "x", "y", "slot_index", "slot_key", "grid_w", "grid_h" and "rotated" ("properties" is not
	 * read). Elements of "items" that are not objects are skipped. A key that is absent or of
	 * another type leaves the record's default.
	 */
	QUARNUI_API FQuarnContainer Read(const FJsonObject& Document);

	/**
	 * Read, refusing an answer with an item id longer than QuarnItemIds::MaxLength: false, and
	 * OutContainer holds no items (Read returns such a container too). No name is made of it.
	 */
	QUARNUI_API bool TryRead(const FJsonObject& Document, FQuarnContainer& OutContainer);
}
