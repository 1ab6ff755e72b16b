// Copyright Quarn. All Rights Reserved.

#include "QuarnItemIds.h"
#include "QuarnErrorLibrary.h"

namespace QuarnItemIds
{
	bool IsAcceptable(const FString& ItemId)
	{
		if (ItemId.Len() <= MaxLength)
		{
			return true;
		}
		// Counted as the platform counts: characters, not UTF-16 units.
		int32 Characters = 0;
		const int32 Length = ItemId.Len();
		for (int32 Index = 0; Index < Length; ++Index)
		{
			const TCHAR Unit = ItemId[Index];
			const bool bHighSurrogate = Unit >= 0xD800 && Unit <= 0xDBFF;
			if (bHighSurrogate && Index + 1 < Length && ItemId[Index + 1] >= 0xDC00 && ItemId[Index + 1] <= 0xDFFF)
			{
				++Index;
			}
			if (++Characters > MaxLength)
			{
				return false;
			}
		}
		return true;
	}

	FQuarnError TooLongError()
	{
		return UQuarnErrorLibrary::MakePluginError(TEXT("bad_response"), 200, FString::Printf(TEXT("The platform answered with an item id longer than %d characters."), MaxLength));
	}
}
