// Copyright Quarn. All Rights Reserved.

// bench-usme [--emulator PATH]
//
// For N = 1,000, 10,000 and 100,000 stacks with 1% of them changed: the time of the sync node's
// reconcile (index, intents and the pretty JSON body, no network) against the floor of a plain
// std::unordered_map hash join over the same data, their ratio, and t(100,000) / t(10,000). Then
// the body bytes of a one-change sync of a 1,000-stack container against the bytes of the whole
// inventory written as one pretty JSON dump.

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Host/CoreHost.h"
#include "QuarnReconcile.h"
#include "QuarnStashSync.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{
	using FClock = std::chrono::steady_clock;

	struct FDataSet
	{
		TArray<FQuarnItemInstance> Current;
		TArray<FQuarnItemInstance> Desired;
		// The same data as plain standard-library records, for the floor.
		struct FPlain
		{
			std::string InstanceId;
			std::string ItemId;
			int Quantity;
			int SlotIndex;
		};
		std::vector<FPlain> PlainCurrent;
		std::vector<FPlain> PlainDesired;
	};

	FDataSet Make(int32 Count)
	{
		FDataSet Set;
		Set.Current.Reserve(Count);
		Set.Desired.Reserve(Count);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			FQuarnItemInstance Item;
			Item.InstanceId = FString::Printf(TEXT("inst_%08d_%08x"), Index, Index * 2654435761u);
			Item.ItemId = FName(*FString::Printf(TEXT("Item%d"), Index % 97));
			Item.Quantity = 1 + Index % 20;
			Item.SlotIndex = Index;
			Set.Current.Add(Item);
			FQuarnItemInstance Wanted = Item;
			// 1% changed: alternately a quantity change and a move.
			if (Index % 100 == 50)
			{
				if ((Index / 100) % 2 == 0)
				{
					Wanted.Quantity += 3;
				}
				else
				{
					Wanted.SlotIndex = Count + Index;
				}
			}
			Set.Desired.Add(Wanted);
		}
		for (const FQuarnItemInstance& Item : Set.Current)
		{
			Set.PlainCurrent.push_back({TCHAR_TO_UTF8(*Item.InstanceId), TCHAR_TO_UTF8(*Item.ItemId.ToString()), Item.Quantity, Item.SlotIndex});
		}
		for (const FQuarnItemInstance& Item : Set.Desired)
		{
			Set.PlainDesired.push_back({TCHAR_TO_UTF8(*Item.InstanceId), TCHAR_TO_UTF8(*Item.ItemId.ToString()), Item.Quantity, Item.SlotIndex});
		}
		return Set;
	}

	// The same join as the reconcile, with the standard library and no JSON: index, look up,
	// record differences, then the consumes of unnamed stacks.
	size_t Floor(const FDataSet& Set)
	{
		std::unordered_map<std::string, const FDataSet::FPlain*> Index;
		Index.reserve(Set.PlainCurrent.size());
		for (const FDataSet::FPlain& Item : Set.PlainCurrent)
		{
			Index[Item.InstanceId] = &Item;
		}
		std::unordered_map<std::string, bool> Seen;
		Seen.reserve(Set.PlainDesired.size());
		std::vector<std::string> Intents;
		for (const FDataSet::FPlain& Wanted : Set.PlainDesired)
		{
			const auto Found = Index.find(Wanted.InstanceId);
			if (Found == Index.end())
			{
				continue;
			}
			Seen[Wanted.InstanceId] = true;
			if (Wanted.Quantity != Found->second->Quantity)
			{
				Intents.push_back(Wanted.InstanceId);
			}
			if (Wanted.SlotIndex != Found->second->SlotIndex)
			{
				Intents.push_back(Wanted.InstanceId);
			}
		}
		for (const FDataSet::FPlain& Item : Set.PlainCurrent)
		{
			if (Seen.find(Item.InstanceId) == Seen.end())
			{
				Intents.push_back(Item.InstanceId);
			}
		}
		return Intents.size();
	}

	size_t Reconcile(const FDataSet& Set, FString* OutBody = nullptr)
	{
		FQuarnSyncReport Report;
		TArray<TSharedPtr<FJsonValue>> Intents;
		QuarnReconcile::BuildIntents(Set.Desired, Set.Current, TEXT("cnt_bench"), Report, Intents);
		const FString Body = QuarnReconcile::WriteTransactionBody(Intents, TEXT("cnt_bench"), 42);
		if (OutBody)
		{
			*OutBody = Body;
		}
		return Intents.Num();
	}

	template<typename FWork>
	double BestSeconds(FWork&& Work, int32 Repeats)
	{
		double Best = 1e30;
		for (int32 Run = 0; Run < Repeats; ++Run)
		{
			const FClock::time_point Start = FClock::now();
			Work();
			Best = std::min(Best, std::chrono::duration<double>(FClock::now() - Start).count());
		}
		return Best;
	}

	FString PrettyDump(const TArray<FQuarnItemInstance>& Items)
	{
		TArray<TSharedPtr<FJsonValue>> Values;
		for (const FQuarnItemInstance& Item : Items)
		{
			const TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
			Object->SetStringField(TEXT("id"), Item.InstanceId);
			Object->SetStringField(TEXT("item_id"), Item.ItemId.ToString());
			Object->SetNumberField(TEXT("quantity"), Item.Quantity);
			Object->SetNumberField(TEXT("slot_index"), Item.SlotIndex);
			Object->SetStringField(TEXT("slot_key"), Item.SlotKey);
			Object->SetNumberField(TEXT("x"), Item.X);
			Object->SetNumberField(TEXT("y"), Item.Y);
			Object->SetBoolField(TEXT("rotated"), Item.bRotated);
			Object->SetNumberField(TEXT("durability"), Item.Durability);
			Values.Add(MakeShared<FJsonValueObject>(Object));
		}
		const TSharedRef<FJsonObject> Root = MakeShared<FJsonObject>();
		Root->SetArrayField(TEXT("items"), Values);
		FString Out;
		FJsonSerializer::Serialize(Root, TJsonWriterFactory<>::Create(&Out));
		return Out;
	}
}

int main(int, char**)
{
	UE::Host::SetGameThread();
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);

	std::printf("Reconcile of N stacks with 1%% changed (best of several runs)\n\n");
	std::printf("| N | reconcile (ms) | unordered_map floor (ms) | ratio | intents |\n");
	std::printf("|---:|---:|---:|---:|---:|\n");
	double Seconds10k = 0.0;
	double Seconds100k = 0.0;
	for (const int32 Count : {1000, 10000, 100000})
	{
		const FDataSet Set = Make(Count);
		const int32 Repeats = Count >= 100000 ? 10 : 20;
		size_t Intents = 0;
		size_t FloorIntents = 0;
		const double Ours = BestSeconds([&] { Intents = Reconcile(Set); }, Repeats);
		const double Plain = BestSeconds([&] { FloorIntents = Floor(Set); }, Repeats);
		if (Intents != FloorIntents)
		{
			std::fprintf(stderr, "bench-usme: reconcile produced %zu intents, the floor %zu\n", Intents, FloorIntents);
			return 1;
		}
		std::printf("| %d | %.3f | %.3f | %.2f | %zu |\n", Count, Ours * 1e3, Plain * 1e3, Ours / Plain, Intents);
		if (Count == 10000)
		{
			Seconds10k = Ours;
		}
		if (Count == 100000)
		{
			Seconds100k = Ours;
		}
	}
	std::printf("\nt(100,000) / t(10,000) = %.2f\n\n", Seconds100k / Seconds10k);

	// One change in a 1,000-stack container against a dump of the whole inventory.
	FDataSet Set = Make(1000);
	Set.Desired = Set.Current;
	Set.Desired[500].Quantity += 1;
	FString Body;
	Reconcile(Set, &Body);
	const FString Dump = PrettyDump(Set.Desired);
	const int64 BodyBytes = FTCHARToUTF8(*Body).Length();
	const int64 DumpBytes = FTCHARToUTF8(*Dump).Length();
	std::printf("One change in a 1,000-stack container: transaction body %lld bytes, whole-inventory dump %lld bytes (%.3f%%)\n",
		static_cast<long long>(BodyBytes), static_cast<long long>(DumpBytes), 100.0 * static_cast<double>(BodyBytes) / static_cast<double>(DumpBytes));
	return 0;
}
