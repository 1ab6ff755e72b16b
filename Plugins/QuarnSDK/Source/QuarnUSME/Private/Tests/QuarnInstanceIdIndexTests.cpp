// Copyright Quarn. All Rights Reserved.

// The reconcile's index of container stacks by instance id: the same answers as an FString-keyed
// map (ids without regard to case, the later of two stacks kept), through growth and collisions.

#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Misc/AutomationTest.h"
#include "QuarnInstanceIdIndex.h"

namespace QuarnInstanceIdIndexTests
{
	/** A small fixed-seed generator, so that every run checks the same ids. */
	struct FSequence
	{
		uint32 State = 1234;

		uint32 Next(uint32 Bound)
		{
			State ^= State << 13;
			State ^= State >> 17;
			State ^= State << 5;
			return State % Bound;
		}
	};

	FQuarnItemInstance Stack(const TCHAR* Id, int32 Quantity = 1)
	{
		FQuarnItemInstance Item;
		Item.InstanceId = Id;
		Item.Quantity = Quantity;
		return Item;
	}
}

BEGIN_DEFINE_SPEC(FQuarnInstanceIdIndexSpec, "Quarn.USME.InstanceIdIndex", EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext | EAutomationTestFlags::ServerContext | EAutomationTestFlags::ProductFilter)
END_DEFINE_SPEC(FQuarnInstanceIdIndexSpec)

void FQuarnInstanceIdIndexSpec::Define()
{
	using QuarnInstanceIdIndexTests::Stack;

	It(TEXT("folds case in its hash exactly as Equals does"), [this]()
	{
		TestEqual(TEXT("mixed case"), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("inst_AbC9")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("INST_abc9")));
		TestEqual(TEXT("short"), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("odd")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("ODD")));
		// Length and position matter: none of these may collide by construction.
		TestNotEqual(TEXT("empty and one letter"), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("a")));
		TestNotEqual(TEXT("order"), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("ab")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("ba")));
		TestNotEqual(TEXT("a control character"), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("a")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("a\u0001")));

		// Letters outside ASCII are not folded by the ignore-case comparison, so the index keeps
		// them apart as well.
		if (!TestFalse(TEXT("non-ASCII letters compare equal ignoring case"), FString(TEXT("\u00e9t\u00e9")).Equals(TEXT("\u00c9T\u00c9"), ESearchCase::IgnoreCase)))
		{
			return;
		}
		const FQuarnItemInstance Lower = Stack(TEXT("\u00e9t\u00e9"));
		FQuarnInstanceIdIndex Index(1);
		Index.Add(Lower);
		TestTrue(TEXT("ASCII letters fold"), Index.Find(TEXT("\u00e9T\u00e9")) == &Index.GetEntry(0));
		TestNull(TEXT("non-ASCII letters do not fold"), Index.Find(TEXT("\u00c9T\u00c9")));
	});

	It(TEXT("keeps the later of repeated ids under the first entry"), [this]()
	{
		const TArray<FQuarnItemInstance> Stacks = {Stack(TEXT("a"), 1), Stack(TEXT("b"), 2), Stack(TEXT("A"), 3)};
		FQuarnInstanceIdIndex Index(Stacks.Num());
		TestNull(TEXT("empty index"), Index.Find(TEXT("a")));
		TestEqual(TEXT("first entry"), Index.Add(Stacks[0]), 0);
		TestEqual(TEXT("second entry"), Index.Add(Stacks[1]), 1);
		TestFalse(TEXT("repeated ids before the repeat"), Index.HasRepeatedIds());
		TestEqual(TEXT("a repeat goes to the first entry"), Index.Add(Stacks[2]), 0);
		TestTrue(TEXT("repeated ids after the repeat"), Index.HasRepeatedIds());
		const FQuarnInstanceIdIndex::FEntry* A = Index.Find(TEXT("a"));
		if (!TestNotNull(TEXT("entry of a"), A))
		{
			return;
		}
		TestTrue(TEXT("the later stack is kept"), A->Item == &Stacks[2]);
		TestTrue(TEXT("b found in another case"), Index.Find(TEXT("B")) != nullptr && Index.Find(TEXT("B"))->Item == &Stacks[1]);
		TestNull(TEXT("an id never added"), Index.Find(TEXT("c")));
		TestFalse(TEXT("claimed"), A->bClaimed);
	});

	// Random ids in random letter case, many repeated, against a TMap<FString, ...> (which ignores
	// case the engine's way). The index starts too small for them, so it grows several times.
	It(TEXT("answers as an FString map through growth"), [this]()
	{
		QuarnInstanceIdIndexTests::FSequence Random;
		TArray<FQuarnItemInstance> Stacks;
		Stacks.Reserve(20000);
		for (int32 Number = 0; Number < 20000; ++Number)
		{
			FString Id = FString::Printf(TEXT("inst_%d"), static_cast<int32>(Random.Next(12001)));
			for (TCHAR& Char : Id.GetCharArray())
			{
				if (Char != 0 && Random.Next(2) == 1)
				{
					Char = TChar<TCHAR>::ToUpper(Char);
				}
			}
			Stacks.Add(Stack(*Id, Number));
		}

		FQuarnInstanceIdIndex Index(3);
		TMap<FString, const FQuarnItemInstance*> Expected;
		TMap<FString, int32> FirstEntry;
		int32 Entries = 0;
		for (const FQuarnItemInstance& Item : Stacks)
		{
			const int32 EntryNumber = Index.Add(Item);
			Expected.Add(Item.InstanceId, &Item);
			const int32* Known = FirstEntry.Find(Item.InstanceId);
			const int32 Want = Known ? *Known : Entries++;
			if (!Known)
			{
				FirstEntry.Add(Item.InstanceId, EntryNumber);
			}
			if (!TestEqual(*FString::Printf(TEXT("entry of %s"), *Item.InstanceId), EntryNumber, Want))
			{
				return;
			}
		}
		TestTrue(TEXT("repeated ids"), Index.HasRepeatedIds());
		for (int32 Probe = 0; Probe <= 13000; ++Probe)
		{
			const FString Id = FString::Printf(TEXT("INST_%d"), Probe);
			const FQuarnItemInstance* const* Want = Expected.Find(Id);
			const FQuarnInstanceIdIndex::FEntry* Got = Index.Find(Id);
			if (!TestEqual(*FString::Printf(TEXT("%s found"), *Id), Got != nullptr, Want != nullptr))
			{
				return;
			}
			if (Got != nullptr && !TestTrue(*FString::Printf(TEXT("%s is the later stack"), *Id), Got->Item == *Want))
			{
				return;
			}
		}
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
