// Copyright Quarn. All Rights Reserved.

#include "SoakChecks.h"
#include "Dom/JsonValue.h"

void FSoakReplay::Apply(const TArray<TSharedPtr<FJsonValue>>& Entries, TArray<FString>& OutViolations)
{
	for (const TSharedPtr<FJsonValue>& Value : Entries)
	{
		const TSharedPtr<FJsonObject> Entry = Value->AsObject();
		if (!Entry.IsValid())
		{
			OutViolations.Add(TEXT("history entry that is not an object"));
			continue;
		}
		const int64 EntryVersion = static_cast<int64>(Entry->GetNumberField(TEXT("version")));
		if (EntryVersion <= Version)
		{
			continue;
		}
		if (EntryVersion != Version + 1)
		{
			OutViolations.Add(FString::Printf(TEXT("history jumps from version %lld to %lld"), static_cast<long long>(Version), static_cast<long long>(EntryVersion)));
		}
		Version = EntryVersion;

		FString Key;
		if (Entry->TryGetStringField(TEXT("idempotency_key"), Key) && !Key.IsEmpty())
		{
			if (Keys.Contains(Key))
			{
				OutViolations.Add(FString::Printf(TEXT("idempotency key %s applied twice (version %lld)"), *Key, static_cast<long long>(EntryVersion)));
			}
			Keys.Add(Key);
		}

		const TArray<TSharedPtr<FJsonValue>>* Effects = nullptr;
		if (!Entry->TryGetArrayField(TEXT("effects"), Effects))
		{
			continue;
		}
		for (const TSharedPtr<FJsonValue>& EffectValue : *Effects)
		{
			const TSharedPtr<FJsonObject> Effect = EffectValue->AsObject();
			const FString Change = Effect->GetStringField(TEXT("change"));
			FSoakStack Stack;
			Stack.InstanceId = Effect->GetStringField(TEXT("instance_id"));
			Stack.ItemId = Effect->GetStringField(TEXT("item_id"));
			Stack.Quantity = static_cast<int64>(Effect->GetNumberField(TEXT("quantity")));
			Stack.SlotIndex = static_cast<int64>(Effect->GetNumberField(TEXT("slot_index")));
			const int32 Index = Stacks.IndexOfByPredicate([&Stack](const FSoakStack& Held) { return Held.InstanceId == Stack.InstanceId; });
			if (Change == TEXT("created"))
			{
				if (Index != INDEX_NONE)
				{
					OutViolations.Add(FString::Printf(TEXT("history creates %s twice"), *Stack.InstanceId));
				}
				Stacks.Add(Stack);
			}
			else if (Index == INDEX_NONE)
			{
				OutViolations.Add(FString::Printf(TEXT("history %s %s, which it never created"), *Change, *Stack.InstanceId));
			}
			else if (Change == TEXT("removed"))
			{
				Stacks.RemoveAt(Index);
			}
			else
			{
				Stacks[Index] = Stack;
			}
		}
	}
}

void FSoakReplay::Compare(const TArray<TSharedPtr<FJsonValue>>& StoredItems, TArray<FString>& OutViolations) const
{
	if (StoredItems.Num() != Stacks.Num())
	{
		OutViolations.Add(FString::Printf(TEXT("the container holds %d stacks, its history %d"), StoredItems.Num(), Stacks.Num()));
		return;
	}
	for (int32 Index = 0; Index < Stacks.Num(); ++Index)
	{
		const TSharedPtr<FJsonObject> Item = StoredItems[Index]->AsObject();
		const FSoakStack& Replayed = Stacks[Index];
		if (Item->GetStringField(TEXT("id")) != Replayed.InstanceId || Item->GetStringField(TEXT("item_id")) != Replayed.ItemId
			|| static_cast<int64>(Item->GetNumberField(TEXT("quantity"))) != Replayed.Quantity || static_cast<int64>(Item->GetNumberField(TEXT("slot_index"))) != Replayed.SlotIndex)
		{
			OutViolations.Add(FString::Printf(TEXT("stack %d is %s %s x%lld, its history says %s %s x%lld"), Index, *Item->GetStringField(TEXT("id")), *Item->GetStringField(TEXT("item_id")),
				static_cast<long long>(Item->GetNumberField(TEXT("quantity"))), *Replayed.InstanceId, *Replayed.ItemId, static_cast<long long>(Replayed.Quantity)));
		}
	}
}

void FindSharedInstanceIds(const TArray<TSharedPtr<FJsonValue>>& StoredItems, TArray<FString>& OutViolations)
{
	TSet<FString> Seen;
	for (const TSharedPtr<FJsonValue>& Value : StoredItems)
	{
		// FString keys of a set compare ignoring case, as the platform matches ids.
		const FString Id = Value->AsObject()->GetStringField(TEXT("id"));
		if (Seen.Contains(Id))
		{
			OutViolations.Add(FString::Printf(TEXT("instance id %s on two stacks"), *Id));
		}
		Seen.Add(Id);
	}
}

TMap<FString, int64> ExpectedUnits(const TArray<FQuarnItemInstance>& Desired, const TArray<FString>& Warnings)
{
	TSet<FString> Skipped;
	const FString Marker = TEXT(" carries unknown instance id ");
	for (const FString& Warning : Warnings)
	{
		const int32 Start = Warning.Find(Marker);
		if (Start != INDEX_NONE)
		{
			FString Id = Warning.Mid(Start + Marker.Len());
			int32 End = INDEX_NONE;
			if (Id.FindChar(TEXT(';'), End))
			{
				Id.LeftInline(End);
			}
			Skipped.Add(Id);
		}
	}
	TMap<FString, int64> Units;
	TSet<FString> Counted;
	for (const FQuarnItemInstance& Item : Desired)
	{
		if (Item.Quantity <= 0)
		{
			continue;
		}
		if (!Item.InstanceId.IsEmpty())
		{
			if (Skipped.Contains(Item.InstanceId) || Counted.Contains(Item.InstanceId))
			{
				continue;
			}
			Counted.Add(Item.InstanceId);
		}
		Units.FindOrAdd(Item.ItemId.ToString()) += Item.Quantity;
	}
	return Units;
}

TMap<FString, int64> StoredUnits(const TArray<TSharedPtr<FJsonValue>>& StoredItems)
{
	TMap<FString, int64> Units;
	for (const TSharedPtr<FJsonValue>& Value : StoredItems)
	{
		const TSharedPtr<FJsonObject> Item = Value->AsObject();
		Units.FindOrAdd(Item->GetStringField(TEXT("item_id"))) += static_cast<int64>(Item->GetNumberField(TEXT("quantity")));
	}
	return Units;
}
