// The reconcile's index of container stacks by instance id: the same answers as an FString-keyed
// map (ids without regard to case, the later of two stacks kept), through growth and collisions.
#include "CoreMinimal.h"
#include "QuarnInstanceIdIndex.h"

#include <gtest/gtest.h>
#include <random>

namespace
{
	FQuarnItemInstance Stack(const TCHAR* Id, int32 Quantity = 1)
	{
		FQuarnItemInstance Item;
		Item.InstanceId = Id;
		Item.Quantity = Quantity;
		return Item;
	}
}

TEST(QuarnInstanceIdIndex, HashFoldsCaseExactlyAsEqualsDoes)
{
	EXPECT_EQ(FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("inst_AbC9")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("INST_abc9")));
	EXPECT_EQ(FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("odd")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("ODD")));
	// Length and position matter: no two of these may collide by construction.
	EXPECT_NE(FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("a")));
	EXPECT_NE(FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("ab")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("ba")));
	EXPECT_NE(FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("a")), FQuarnInstanceIdIndex::HashIgnoringCase(TEXT("a\u0001")));

	// Letters outside ASCII are not folded by the ignore-case comparison, so the index keeps
	// them apart as well.
	ASSERT_FALSE(FString(TEXT("\u00e9t\u00e9")).Equals(TEXT("\u00c9T\u00c9"), ESearchCase::IgnoreCase));
	const FQuarnItemInstance Lower = Stack(TEXT("\u00e9t\u00e9"));
	FQuarnInstanceIdIndex Index(1);
	Index.Add(Lower);
	EXPECT_EQ(Index.Find(TEXT("\u00e9T\u00e9")), &Index.GetEntry(0));
	EXPECT_EQ(Index.Find(TEXT("\u00c9T\u00c9")), nullptr);
}

TEST(QuarnInstanceIdIndex, RepeatedIdsKeepTheLaterStackUnderTheFirstEntry)
{
	const TArray<FQuarnItemInstance> Stacks = {Stack(TEXT("a"), 1), Stack(TEXT("b"), 2), Stack(TEXT("A"), 3)};
	FQuarnInstanceIdIndex Index(Stacks.Num());
	EXPECT_EQ(Index.Find(TEXT("a")), nullptr);
	EXPECT_EQ(Index.Add(Stacks[0]), 0);
	EXPECT_EQ(Index.Add(Stacks[1]), 1);
	EXPECT_FALSE(Index.HasRepeatedIds());
	EXPECT_EQ(Index.Add(Stacks[2]), 0);
	EXPECT_TRUE(Index.HasRepeatedIds());
	ASSERT_NE(Index.Find(TEXT("a")), nullptr);
	EXPECT_EQ(Index.Find(TEXT("a"))->Item, &Stacks[2]);
	EXPECT_EQ(Index.Find(TEXT("B"))->Item, &Stacks[1]);
	EXPECT_EQ(Index.Find(TEXT("c")), nullptr);
	EXPECT_FALSE(Index.Find(TEXT("a"))->bClaimed);
}

// Random ids in random letter case, many repeated, against a TMap<FString, ...> (which ignores
// case the engine's way). The index starts too small for them, so it grows several times.
TEST(QuarnInstanceIdIndex, AnswersAsAnFStringMapThroughGrowth)
{
	std::mt19937 Random(1234);
	std::uniform_int_distribution<int32> IdNumber(0, 12000);
	std::uniform_int_distribution<int32> Coin(0, 1);
	TArray<FQuarnItemInstance> Stacks;
	Stacks.Reserve(20000);
	for (int32 Number = 0; Number < 20000; ++Number)
	{
		FString Id = FString::Printf(TEXT("inst_%d"), IdNumber(Random));
		for (TCHAR& Char : Id.GetCharArray())
		{
			if (Char != 0 && Coin(Random) == 1)
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
		if (const int32* Known = FirstEntry.Find(Item.InstanceId))
		{
			ASSERT_EQ(EntryNumber, *Known) << TCHAR_TO_UTF8(*Item.InstanceId);
		}
		else
		{
			ASSERT_EQ(EntryNumber, Entries++);
			FirstEntry.Add(Item.InstanceId, EntryNumber);
		}
	}
	EXPECT_TRUE(Index.HasRepeatedIds());
	for (int32 Probe = 0; Probe <= 13000; ++Probe)
	{
		const FString Id = FString::Printf(TEXT("INST_%d"), Probe);
		const FQuarnItemInstance* const* Want = Expected.Find(Id);
		const FQuarnInstanceIdIndex::FEntry* Got = Index.Find(Id);
		ASSERT_EQ(Got != nullptr, Want != nullptr) << Probe;
		if (Got != nullptr)
		{
			EXPECT_EQ(Got->Item, *Want) << Probe;
		}
	}
}
