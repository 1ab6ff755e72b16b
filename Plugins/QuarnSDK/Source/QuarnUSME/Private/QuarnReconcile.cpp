// Copyright Quarn. All Rights Reserved.

#include "QuarnReconcile.h"
#include "QuarnUSMEStats.h"
#include "QuarnInstanceIdIndex.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

namespace QuarnReconcile
{
	bool IsSamePlace(const FQuarnItemInstance& A, const FQuarnItemInstance& B)
	{
		return A.SlotIndex == B.SlotIndex && A.X == B.X && A.Y == B.Y && A.SlotKey.Equals(B.SlotKey, ESearchCase::IgnoreCase);
	}

	// Quantities are differences of two int32 values, which can exceed int32 for a container that
	// reports a negative quantity; they are written as JSON numbers either way.
	static TSharedPtr<FJsonValue> MakeGrant(const FString& ContainerId, const FName ItemId, int64 Quantity)
	{
		const TSharedRef<FJsonObject> Intent = MakeShared<FJsonObject>();
		Intent->SetStringField(TEXT("kind"), TEXT("grant"));
		Intent->SetStringField(TEXT("container_id"), ContainerId);
		Intent->SetStringField(TEXT("item_id"), ItemId.ToString());
		Intent->SetNumberField(TEXT("quantity"), static_cast<double>(Quantity));
		return MakeShared<FJsonValueObject>(Intent);
	}

	static TSharedPtr<FJsonValue> MakeConsume(const FString& InstanceId, int64 Quantity)
	{
		const TSharedRef<FJsonObject> Intent = MakeShared<FJsonObject>();
		Intent->SetStringField(TEXT("kind"), TEXT("consume"));
		Intent->SetStringField(TEXT("instance_id"), InstanceId);
		Intent->SetNumberField(TEXT("quantity"), static_cast<double>(Quantity));
		return MakeShared<FJsonValueObject>(Intent);
	}

	static TSharedPtr<FJsonValue> MakeMove(const FQuarnItemInstance& Desired)
	{
		// Only what the desired item defines goes into the destination.
		const TSharedRef<FJsonObject> To = MakeShared<FJsonObject>();
		if (Desired.SlotIndex >= 0)
		{
			To->SetNumberField(TEXT("slot_index"), Desired.SlotIndex);
		}
		if (!Desired.SlotKey.IsEmpty())
		{
			To->SetStringField(TEXT("slot_key"), Desired.SlotKey);
		}
		if (Desired.X >= 0 && Desired.Y >= 0)
		{
			To->SetNumberField(TEXT("x"), Desired.X);
			To->SetNumberField(TEXT("y"), Desired.Y);
			To->SetBoolField(TEXT("rotated"), Desired.bRotated);
		}
		const TSharedRef<FJsonObject> Intent = MakeShared<FJsonObject>();
		Intent->SetStringField(TEXT("kind"), TEXT("move"));
		Intent->SetStringField(TEXT("instance_id"), Desired.InstanceId);
		Intent->SetObjectField(TEXT("to"), To);
		return MakeShared<FJsonValueObject>(Intent);
	}

	static void HashIds(const TArray<FQuarnItemInstance>& Items, TArray<uint32>& OutHashes)
	{
		OutHashes.SetNumUninitialized(Items.Num());
		for (int32 ItemIndex = 0; ItemIndex < Items.Num(); ++ItemIndex)
		{
			OutHashes[ItemIndex] = FQuarnInstanceIdIndex::HashIgnoringCase(Items[ItemIndex].InstanceId);
		}
	}

	void BuildIntents(const TArray<FQuarnItemInstance>& Desired, const TArray<FQuarnItemInstance>& Current, const FString& ContainerId, FQuarnSyncReport& Report, TArray<TSharedPtr<FJsonValue>>& OutIntents)
	{
		TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::Reconcile);
		SCOPE_CYCLE_COUNTER(STAT_QuarnReconcile);
		CSV_SCOPED_TIMING_STAT(Quarn, Reconcile);
		// Instance id -> container item. An entry's bClaimed is both the seen set of the final
		// pass and the guard against a second desired item with the same id adding its
		// difference to the first one's.
		//
		// Hashes are worked out in a pass of their own before the probes, so that each loop can
		// warm the slot of an item a few places ahead: once a large container's slots no longer
		// stay in the cache, waiting for them was most of the join's time.
		TArray<uint32> Hashes;
		HashIds(Current, Hashes);
		FQuarnInstanceIdIndex Index(Current.Num());
		for (int32 ItemIndex = 0; ItemIndex < Current.Num(); ++ItemIndex)
		{
			if (ItemIndex + FQuarnInstanceIdIndex::WarmAhead < Current.Num())
			{
				Index.WarmSlot(Hashes[ItemIndex + FQuarnInstanceIdIndex::WarmAhead]);
			}
			if (!Current[ItemIndex].InstanceId.IsEmpty())
			{
				Index.Add(Current[ItemIndex], Hashes[ItemIndex]);
			}
		}
		HashIds(Desired, Hashes);
		// Unknown ids already reported, so that a repeated one gets the duplicate line as well.
		TSet<FString> ClaimedUnknown;

		for (int32 WantIndex = 0; WantIndex < Desired.Num(); ++WantIndex)
		{
			const FQuarnItemInstance& Want = Desired[WantIndex];
			if (WantIndex + FQuarnInstanceIdIndex::WarmAhead < Desired.Num())
			{
				Index.WarmSlot(Hashes[WantIndex + FQuarnInstanceIdIndex::WarmAhead]);
			}
			if (Want.Quantity <= 0)
			{
				continue;
			}
			if (Want.InstanceId.IsEmpty())
			{
				OutIntents.Add(MakeGrant(ContainerId, Want.ItemId, Want.Quantity));
				++Report.Granted;
				continue;
			}
			FQuarnInstanceIdIndex::FEntry* Found = Index.Find(Want.InstanceId, Hashes[WantIndex]);
			bool bAlreadyClaimed = false;
			if (Found != nullptr)
			{
				bAlreadyClaimed = Found->bClaimed;
				Found->bClaimed = true;
			}
			else
			{
				ClaimedUnknown.Add(Want.InstanceId, &bAlreadyClaimed);
			}
			if (bAlreadyClaimed)
			{
				Report.Warnings.Add(FString::Printf(TEXT("%s carries instance id %s already used by an earlier item; ignored"), *Want.ItemId.ToString(), *Want.InstanceId));
				continue;
			}
			if (Found == nullptr)
			{
				Report.Warnings.Add(FString::Printf(TEXT("%s carries unknown instance id %s; ignored (the platform has no such item)"), *Want.ItemId.ToString(), *Want.InstanceId));
				continue;
			}
			const FQuarnItemInstance& Have = *Found->Item;

			if (Want.Quantity > Have.Quantity)
			{
				OutIntents.Add(MakeGrant(ContainerId, Want.ItemId, static_cast<int64>(Want.Quantity) - Have.Quantity));
				++Report.Granted;
			}
			else if (Want.Quantity < Have.Quantity)
			{
				OutIntents.Add(MakeConsume(Want.InstanceId, static_cast<int64>(Have.Quantity) - Want.Quantity));
				++Report.Consumed;
			}
			const bool bSamePlace = IsSamePlace(Want, Have);
			if (!bSamePlace)
			{
				OutIntents.Add(MakeMove(Want));
				++Report.Moved;
			}
			if (Want.Quantity == Have.Quantity && bSamePlace)
			{
				++Report.Unchanged;
			}
		}

		// Every identified stack no desired item named is consumed, in container order. Without
		// repeated ids the entries follow the identified stacks one by one; with them (the later
		// stack took the entry) each stack looks its entry up.
		const bool bLookUpEach = Index.HasRepeatedIds();
		int32 NextEntry = 0;
		for (const FQuarnItemInstance& Have : Current)
		{
			if (Have.InstanceId.IsEmpty())
			{
				continue;
			}
			const FQuarnInstanceIdIndex::FEntry& Entry = bLookUpEach ? *Index.Find(Have.InstanceId) : Index.GetEntry(NextEntry++);
			if (!Entry.bClaimed)
			{
				OutIntents.Add(MakeConsume(Have.InstanceId, Have.Quantity));
				++Report.Consumed;
			}
		}
	}

	FString WriteTransactionBody(const TArray<TSharedPtr<FJsonValue>>& Intents, const FString& ContainerId, int64 ExpectedVersion)
	{
		TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::ReconcileBody);
		SCOPE_CYCLE_COUNTER(STAT_QuarnReconcileBody);
		CSV_SCOPED_TIMING_STAT(Quarn, ReconcileBody);
		const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
		Body->SetArrayField(TEXT("intents"), Intents);
		Body->SetStringField(TEXT("container_id"), ContainerId);
		Body->SetNumberField(TEXT("expected_version"), static_cast<double>(ExpectedVersion));
		FString Text;
		const TSharedRef<TJsonWriter<TCHAR>> Writer = TJsonWriterFactory<TCHAR>::Create(&Text);
		FJsonSerializer::Serialize(Body, Writer);
		return Text;
	}
}
