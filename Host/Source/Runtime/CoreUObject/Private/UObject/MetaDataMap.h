// Metadata of reflected types and properties: key/value strings, kept in a map that is made on
// the first value. UField and FField keep their separate engine APIs over this one store.
#pragma once

#include "CoreMinimal.h"

namespace UE::CoreUObject::Private::MetaData
{
	inline const FString& EmptyValue()
	{
		static const FString Empty;
		return Empty;
	}

	inline const FString* Find(const TMap<FName, FString>* Map, const FName Key)
	{
		return Map && !Key.IsNone() ? Map->Find(Key) : nullptr;
	}

	/** A key that was never made as a name cannot be in any map, so looking it up makes no name. */
	inline const FString* Find(const TMap<FName, FString>* Map, const TCHAR* Key)
	{
		return Find(Map, FName(Key, FNAME_Find));
	}

	template <typename KeyType>
	const FString& Get(const TMap<FName, FString>* Map, const KeyType& Key)
	{
		const FString* Found = Find(Map, Key);
		return Found ? *Found : EmptyValue();
	}

	inline void Set(TMap<FName, FString>*& Map, const FName Key, FString&& Value)
	{
		if (!Map)
		{
			Map = new TMap<FName, FString>();
		}
		Map->Add(Key, MoveTemp(Value));
	}

	inline void Remove(TMap<FName, FString>* Map, const TCHAR* Key)
	{
		if (Map)
		{
			Map->Remove(FName(Key));
		}
	}
}
