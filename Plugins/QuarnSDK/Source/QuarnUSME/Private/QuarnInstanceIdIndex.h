// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnTypes.h"


/**
 * The container's stacks by instance id, for the reconcile's join. Ids compare without regard to
 * case, as FString keys do; of two stacks with the same id the later one is kept.
 *
 * A TMap<FString, ...> would copy every id and walk a chain of elements on each probe (an insert
 * walks its whole chain looking for a duplicate): a cache miss per link once a large container
 * no longer fits the cache. Here the slots are open-addressed 32-bit words, each holding an entry
 * number under the high bits of its id's hash, so that the slots of 100,000 stacks take 512 KiB,
 * a probe reads one cache line, and a string is read only when the hash bits agree. Entries point
 * at the records instead of copying their ids.
 */
class FQuarnInstanceIdIndex
{
public:
	struct FEntry
	{
		const FQuarnItemInstance* Item = nullptr;
		/** Whether a desired item has named this stack. */
		bool bClaimed = false;
	};

	explicit FQuarnInstanceIdIndex(const int32 ExpectedNum)
	{
		int32 Capacity = MinCapacity;
		while (static_cast<int64>(Capacity) * 3 < static_cast<int64>(ExpectedNum) * 4 && Capacity < MaxCapacity)
		{
			Capacity *= 2;
		}
		SetCapacity(Capacity);
		Entries.Reserve(ExpectedNum);
	}

	/** Adds Item under its instance id, or points the id's entry at Item; returns the entry's number. */
	int32 Add(const FQuarnItemInstance& Item)
	{
		return Add(Item, HashIgnoringCase(Item.InstanceId));
	}

	/** Add with the id's HashIgnoringCase already worked out. */
	int32 Add(const FQuarnItemInstance& Item, const uint32 Hash)
	{
		// At most three quarters full, so that probes stay short.
		if (static_cast<int64>(Entries.Num() + 1) * 4 > static_cast<int64>(Slots.Num()) * 3 && Slots.Num() < MaxCapacity)
		{
			Grow();
		}
		uint32& Slot = Probe(Hash, Item.InstanceId);
		if (Slot == EmptySlot)
		{
			const int32 EntryNumber = Entries.Add(FEntry{&Item, false});
			Slot = MakeSlot(Hash, EntryNumber);
			return EntryNumber;
		}
		const int32 EntryNumber = EntryNumberOf(Slot);
		Entries[EntryNumber].Item = &Item;
		bHasRepeatedIds = true;
		return EntryNumber;
	}

	/**
	 * Whether an id was added more than once. Until one is, entry numbers follow the order of
	 * the added items one by one, so a caller can walk its items and the entries side by side.
	 */
	bool HasRepeatedIds() const
	{
		return bHasRepeatedIds;
	}

	/** The entry of Id, or null. */
	FEntry* Find(const FString& Id)
	{
		return Find(Id, HashIgnoringCase(Id));
	}

	/** Find with the id's HashIgnoringCase already worked out. */
	FEntry* Find(const FString& Id, const uint32 Hash)
	{
		const uint32 Slot = Probe(Hash, Id);
		return Slot == EmptySlot ? nullptr : &Entries[EntryNumberOf(Slot)];
	}

	/**
	 * Reads the slot a probe for Hash starts at, so that its cache miss overlaps the work on the
	 * items before it: a caller that knows the hashes ahead warms the slot a few items early. The
	 * value goes into a member so that the read is kept; it is a plain load, which every
	 * compiler and processor the engine builds for accepts.
	 */
	FORCEINLINE void WarmSlot(const uint32 Hash)
	{
		WarmedBits ^= Slots[static_cast<int32>(Hash & Mask)];
	}

	/** How many items ahead a caller warms slots: enough to cover a miss, few enough to stay cached. */
	static constexpr int32 WarmAhead = 8;

	FEntry& GetEntry(const int32 EntryNumber)
	{
		return Entries[EntryNumber];
	}

	/**
	 * A hash of Id that ignores case exactly as Equals(IgnoreCase) does: each character folded
	 * with TChar::ToUpper, as FString's own hash folds it, two characters to a 64-bit word and one
	 * multiplication per word. The table-driven string hash (a dependent look-up per byte) was
	 * most of the join's time.
	 */
	static uint32 HashIgnoringCase(const FString& Id)
	{
		const TCHAR* const Chars = *Id;
		const int32 Len = Id.Len();
		uint64 Hash = 0x9E3779B97F4A7C15ull ^ static_cast<uint64>(Len);
		int32 Index = 0;
		for (; Index + 2 <= Len; Index += 2)
		{
			const uint64 Word = FoldedChar(Chars[Index]) | (FoldedChar(Chars[Index + 1]) << 32);
			Hash = (Hash ^ Word) * 0xFF51AFD7ED558CCDull;
			Hash ^= Hash >> 29;
		}
		if (Index < Len)
		{
			Hash = (Hash ^ FoldedChar(Chars[Index])) * 0xFF51AFD7ED558CCDull;
		}
		Hash ^= Hash >> 32;
		return static_cast<uint32>(Hash);
	}

private:
	static constexpr uint32 EmptySlot = 0;
	static constexpr int32 MinCapacity = 16;
	static constexpr int32 MaxCapacity = 1 << 30;

	static FORCEINLINE uint64 FoldedChar(const TCHAR Char)
	{
		// TCHAR is an unsigned 16-bit or a 32-bit type; either way its bits fit uint32 unchanged.
		return static_cast<uint64>(static_cast<uint32>(TChar<TCHAR>::ToUpper(Char)));
	}

	/** Entry numbers are stored plus one under the mask (an empty slot is 0), the hash's high bits above it. */
	FORCEINLINE uint32 MakeSlot(const uint32 Hash, const int32 EntryNumber) const
	{
		return (Hash & ~Mask) | static_cast<uint32>(EntryNumber + 1);
	}

	FORCEINLINE int32 EntryNumberOf(const uint32 Slot) const
	{
		return static_cast<int32>(Slot & Mask) - 1;
	}

	/** The slot that holds Id, or the empty slot where it would go. */
	uint32& Probe(const uint32 Hash, const FString& Id)
	{
		const uint32 HighBits = Hash & ~Mask;
		for (uint32 Position = Hash & Mask;; Position = (Position + 1) & Mask)
		{
			uint32& Slot = Slots[static_cast<int32>(Position)];
			if (Slot == EmptySlot
				|| ((Slot & ~Mask) == HighBits && Entries[EntryNumberOf(Slot)].Item->InstanceId.Equals(Id, ESearchCase::IgnoreCase)))
			{
				return Slot;
			}
		}
	}

	void SetCapacity(const int32 Capacity)
	{
		Slots.Init(EmptySlot, Capacity);
		Mask = static_cast<uint32>(Capacity - 1);
	}

	/** Doubles the slots when more ids arrive than expected; the entries keep their numbers. */
	void Grow()
	{
		SetCapacity(Slots.Num() * 2);
		for (int32 EntryNumber = 0; EntryNumber < Entries.Num(); ++EntryNumber)
		{
			const uint32 Hash = HashIgnoringCase(Entries[EntryNumber].Item->InstanceId);
			uint32 Position = Hash & Mask;
			while (Slots[static_cast<int32>(Position)] != EmptySlot)
			{
				Position = (Position + 1) & Mask;
			}
			Slots[static_cast<int32>(Position)] = MakeSlot(Hash, EntryNumber);
		}
	}

	TArray<uint32> Slots;
	TArray<FEntry> Entries;
	uint32 Mask = 0;
	uint32 WarmedBits = 0;
	bool bHasRepeatedIds = false;
};
