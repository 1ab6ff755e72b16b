// Copyright Quarn. All Rights Reserved.

#include "QuarnUSMELibrary.h"
#include "QuarnUSMEKeys.h"

const FName UQuarnUSMELibrary::InstanceIdKey(QuarnUSMEKeys::InstanceId);

FQuarnItemInstance UQuarnUSMELibrary::MakeItemFromUSME(FName ID, int32 Amount, int32 CachedIndex, float Durability, const TArray<FName>& DataKeys, const TArray<FString>& DataValues)
{
	FQuarnItemInstance Item;
	Item.ItemId = ID;
	Item.Quantity = Amount;
	Item.SlotIndex = CachedIndex;
	Item.Durability = Durability;
	Item.InstanceId = ReadInstanceId(DataKeys, DataValues);
	return Item;
}

void UQuarnUSMELibrary::BreakItemToUSME(const FQuarnItemInstance& Item, FName& ID, int32& Amount, int32& CachedIndex, float& Durability, TArray<FName>& DataKeys, TArray<FString>& DataValues)
{
	ID = Item.ItemId;
	Amount = Item.Quantity;
	CachedIndex = Item.SlotIndex;
	Durability = Item.Durability;
	DataKeys.Reset();
	DataValues.Reset();
	WriteInstanceId(DataKeys, DataValues, Item.InstanceId);
}

FString UQuarnUSMELibrary::ReadInstanceId(const TArray<FName>& DataKeys, const TArray<FString>& DataValues)
{
	// Only indices that both arrays have form pairs; the first matching key wins, even with an empty value.
	const int32 PairCount = FMath::Min(DataKeys.Num(), DataValues.Num());
	for (int32 Index = 0; Index < PairCount; ++Index)
	{
		if (DataKeys[Index] == InstanceIdKey)
		{
			return DataValues[Index];
		}
	}
	return FString();
}

void UQuarnUSMELibrary::WriteInstanceId(TArray<FName>& DataKeys, TArray<FString>& DataValues, const FString& InstanceId)
{
	if (InstanceId.IsEmpty())
	{
		return;
	}

	// Arrays of different lengths are padded first, so that the id always lands in a pair: appending
	// to each array on its own would pair the new key and value with other entries.
	while (DataKeys.Num() < DataValues.Num())
	{
		DataKeys.Add(NAME_None);
	}
	while (DataValues.Num() < DataKeys.Num())
	{
		DataValues.Add(FString());
	}

	for (int32 Index = 0; Index < DataKeys.Num(); ++Index)
	{
		if (DataKeys[Index] == InstanceIdKey)
		{
			// The key keeps the letter case the game wrote it in.
			DataValues[Index] = InstanceId;
			return;
		}
	}
	DataKeys.Add(InstanceIdKey);
	DataValues.Add(InstanceId);
}

bool UQuarnUSMELibrary::IsReservedKey(FName Key)
{
	return Key.ToString().StartsWith(QuarnUSMEKeys::ReservedPrefix, ESearchCase::IgnoreCase);
}
