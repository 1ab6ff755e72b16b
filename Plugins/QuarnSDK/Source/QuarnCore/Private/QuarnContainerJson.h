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

	/** One item object into a fresh record. */
	FQuarnItemInstance ReadItem(const FJsonObject& Item);
}
