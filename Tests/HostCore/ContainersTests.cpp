// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Containers/SortedMap.h"
#include "Containers/Queue.h"
#include "Containers/StaticArray.h"
#include <gtest/gtest.h>
#include <thread>

namespace
{
	template <typename MapType>
	TArray<int32> KeysInOrder(const MapType& Map)
	{
		TArray<int32> Keys;
		for (const auto& Pair : Map)
		{
			Keys.Add(Pair.Key);
		}
		return Keys;
	}

	// Counts live objects so that containers can be checked for leaks and double destruction.
	struct FTracked
	{
		static int32 Live;
		int32 Value;
		FTracked(int32 InValue = 0) : Value(InValue) { ++Live; }
		FTracked(const FTracked& Other) : Value(Other.Value) { ++Live; }
		FTracked(FTracked&& Other) : Value(Other.Value) { ++Live; }
		FTracked& operator=(const FTracked&) = default;
		~FTracked() { --Live; }
		bool operator==(const FTracked& Other) const { return Value == Other.Value; }
	};
	int32 FTracked::Live = 0;
}

TEST(HostCoreContainers, ArrayLayoutIsDataNumMax)
{
	TArray<int32> Array = { 1, 2, 3 };
	struct FRawArray
	{
		int32* Data;
		int32 Num;
		int32 Max;
	};
	const FRawArray* Raw = reinterpret_cast<const FRawArray*>(&Array);
	EXPECT_EQ(Raw->Data, Array.GetData());
	EXPECT_EQ(Raw->Num, 3);
	EXPECT_EQ(Raw->Max, Array.Max());
}

TEST(HostCoreContainers, ArrayGrowsLikeTheEngine)
{
	TArray<int32> Array;
	EXPECT_EQ(Array.Max(), 0);
	Array.Add(1);
	EXPECT_EQ(Array.Max(), 4);
	for (int32 Index = 0; Index < 4; ++Index)
	{
		Array.Add(Index);
	}
	// 5 elements from 4: 5 + 3*5/8 + 16 = 22.
	EXPECT_EQ(Array.Max(), 22);
	Array.Reset();
	EXPECT_EQ(Array.Num(), 0);
	EXPECT_EQ(Array.Max(), 22);
	Array.Empty();
	EXPECT_EQ(Array.Max(), 0);
	Array.Empty(10);
	EXPECT_EQ(Array.Max(), 10);
}

TEST(HostCoreContainers, ArrayEditsKeepOrderAndReportIndices)
{
	TArray<int32> Array;
	EXPECT_EQ(Array.Add(10), 0);
	EXPECT_EQ(Array.Emplace(20), 1);
	EXPECT_EQ(Array.AddUnique(10), 0);
	EXPECT_EQ(Array.AddUnique(30), 2);
	Array.Insert(5, 0);
	EXPECT_EQ(Array, (TArray<int32>{ 5, 10, 20, 30 }));
	Array.RemoveAt(1);
	EXPECT_EQ(Array, (TArray<int32>{ 5, 20, 30 }));
	Array.RemoveAtSwap(0);
	EXPECT_EQ(Array, (TArray<int32>{ 30, 20 }));
	EXPECT_EQ(Array.Find(20), 1);
	EXPECT_EQ(Array.Find(99), INDEX_NONE);
	EXPECT_FALSE(Array.IsValidIndex(2));
	Array.Append({ 1, 2, 3, 2 });
	EXPECT_EQ(Array.Remove(2), 2);
	EXPECT_EQ(Array, (TArray<int32>{ 30, 20, 1, 3 }));
	Array.Sort();
	EXPECT_EQ(Array, (TArray<int32>{ 1, 3, 20, 30 }));
	EXPECT_EQ(Array.Pop(), 30);
	EXPECT_EQ(Array.Last(), 20);
	Array.SetNum(5);
	EXPECT_EQ(Array, (TArray<int32>{ 1, 3, 20, 0, 0 }));
	EXPECT_EQ(Array.RemoveAll([](int32 V) { return V == 0; }), 2);
	EXPECT_EQ(*Array.FindByPredicate([](int32 V) { return V > 1; }), 3);
	EXPECT_EQ(Array.IndexOfByKey(3), 1);
}

TEST(HostCoreContainers, ArrayCopyWithSlackOwnsItsElements)
{
	const TArray<FTracked> Source = { FTracked(1), FTracked(2) };
	TArray<FTracked> WithSlack(Source, 10);
	EXPECT_EQ(WithSlack.Num(), 2);
	EXPECT_GE(WithSlack.Max(), 12);
	EXPECT_EQ(WithSlack[1].Value, 2);
	const TArray<FTracked> Empty;
	TArray<FTracked> EmptyWithSlack(Empty, 3);
	EXPECT_EQ(EmptyWithSlack.Num(), 0);
	EXPECT_GE(EmptyWithSlack.Max(), 3);
}

TEST(HostCoreContainers, ArraySortOfPointersComparesPointees)
{
	int32 Values[] = { 3, 1, 2 };
	TArray<int32*> Pointers = { &Values[0], &Values[1], &Values[2] };
	Pointers.Sort();
	EXPECT_EQ(*Pointers[0], 1);
	EXPECT_EQ(*Pointers[2], 3);
}

TEST(HostCoreContainers, ArrayOwnsElementsExactlyOnce)
{
	FTracked::Live = 0;
	{
		TArray<FTracked> Array;
		for (int32 Index = 0; Index < 100; ++Index)
		{
			Array.Emplace(Index);
		}
		Array.RemoveAt(10, 20);
		Array.Insert(FTracked(7), 3);
		TArray<FTracked> Copy = Array;
		TArray<FTracked> Moved = MoveTemp(Copy);
		EXPECT_EQ(Copy.Num(), 0);
		EXPECT_EQ(FTracked::Live, 162);
		Moved.RemoveAll([](const FTracked& T) { return T.Value % 2 == 0; });
	}
	EXPECT_EQ(FTracked::Live, 0);
}

TEST(HostCoreContainers, InlineAllocatorSpillsToHeapAndBack)
{
	TArray<int32, TInlineAllocator<4>> Array;
	EXPECT_EQ(Array.Max(), 4);
	for (int32 Index = 0; Index < 10; ++Index)
	{
		Array.Add(Index);
	}
	EXPECT_EQ(Array.Num(), 10);
	EXPECT_EQ(Array[9], 9);
	TArray<int32, TInlineAllocator<4>> Moved = MoveTemp(Array);
	EXPECT_EQ(Moved[5], 5);
	Moved.SetNum(2);
	Moved.Shrink();
	EXPECT_EQ(Moved[1], 1);
	TArray<int32, TInlineAllocator<4>> Small;
	Small.Add(42);
	TArray<int32, TInlineAllocator<4>> SmallMoved = MoveTemp(Small);
	EXPECT_EQ(SmallMoved[0], 42);
}

TEST(HostCoreContainers, MapIteratesInInsertionOrderUntilRemovals)
{
	TMap<int32, int32> Map;
	for (int32 Key : { 5, 3, 9, 1 })
	{
		Map.Add(Key, Key * 10);
	}
	EXPECT_EQ(KeysInOrder(Map), (TArray<int32>{ 5, 3, 9, 1 }));

	// Removals leave holes; the next additions reuse the most recently freed slot first.
	Map.Remove(3);
	Map.Remove(9);
	Map.Add(7, 70);
	EXPECT_EQ(KeysInOrder(Map), (TArray<int32>{ 5, 7, 1 }));
	// 9's slot (freed last) went to 7, so 3's slot is next.
	Map.Add(8, 80);
	EXPECT_EQ(KeysInOrder(Map), (TArray<int32>{ 5, 8, 7, 1 }));
	Map.Add(2, 20);
	EXPECT_EQ(KeysInOrder(Map), (TArray<int32>{ 5, 8, 7, 1, 2 }));
}

TEST(HostCoreContainers, MapAddOfExistingKeyReplacesInPlace)
{
	TMap<int32, FTracked> Map;
	FTracked::Live = 0;
	Map.Add(1, FTracked(1));
	Map.Add(2, FTracked(2));
	Map.Add(3, FTracked(3));
	Map.Remove(2);
	Map.Add(1, FTracked(100));
	EXPECT_EQ(Map.Num(), 2);
	EXPECT_EQ(Map.FindChecked(1).Value, 100);
	EXPECT_EQ(KeysInOrder(Map), (TArray<int32>{ 1, 3 }));
	// The replacement did not use up the free slot.
	Map.Add(4, FTracked(4));
	EXPECT_EQ(KeysInOrder(Map), (TArray<int32>{ 1, 4, 3 }));
	EXPECT_EQ(FTracked::Live, 3);
	Map.Empty();
	EXPECT_EQ(FTracked::Live, 0);
}

TEST(HostCoreContainers, MapFindVariants)
{
	TMap<int32, int32> Map;
	EXPECT_EQ(Map.Find(1), nullptr);
	Map.FindOrAdd(1) = 5;
	EXPECT_EQ(*Map.Find(1), 5);
	EXPECT_EQ(Map.FindRef(2), 0);
	EXPECT_TRUE(Map.Contains(1));
	int32 Removed = 0;
	EXPECT_TRUE(Map.RemoveAndCopyValue(1, Removed));
	EXPECT_EQ(Removed, 5);
	EXPECT_FALSE(Map.RemoveAndCopyValue(1, Removed));

	for (int32 Index = 0; Index < 1000; ++Index)
	{
		Map.Add(Index, Index * 2);
	}
	for (int32 Index = 0; Index < 1000; Index += 3)
	{
		EXPECT_EQ(Map.Remove(Index), 1);
	}
	int32 Found = 0;
	for (int32 Index = 0; Index < 1000; ++Index)
	{
		const int32* Value = Map.Find(Index);
		if (Index % 3 == 0)
		{
			EXPECT_EQ(Value, nullptr);
		}
		else if (Value && *Value == Index * 2)
		{
			++Found;
		}
	}
	EXPECT_EQ(Found, 666);
	EXPECT_EQ(Map.Num(), 666);

	for (auto It = Map.CreateIterator(); It; ++It)
	{
		if (It.Key() % 2 == 0)
		{
			It.RemoveCurrent();
		}
	}
	EXPECT_EQ(Map.Num(), 333);
	TArray<int32> Values;
	Map.GenerateValueArray(Values);
	EXPECT_EQ(Values.Num(), 333);
	EXPECT_EQ(Values[0], 2);
}

TEST(HostCoreContainers, SetAddReportsDuplicates)
{
	TSet<int32> Set;
	bool bAlready = true;
	Set.Add(4, &bAlready);
	EXPECT_FALSE(bAlready);
	Set.Add(4, &bAlready);
	EXPECT_TRUE(bAlready);
	Set.Append({ 1, 2, 3 });
	EXPECT_EQ(Set.Num(), 4);
	TSet<int32> Other = { 3, 4, 5 };
	EXPECT_EQ(Set.Intersect(Other).Num(), 2);
	EXPECT_EQ(Set.Union(Other).Num(), 5);
	EXPECT_EQ(Set.Difference(Other).Num(), 2);
	EXPECT_EQ(Set.Array(), (TArray<int32>{ 4, 1, 2, 3 }));
}

TEST(HostCoreContainers, SortedMapKeepsKeyOrder)
{
	TSortedMap<int32, int32> Map;
	Map.Add(3, 30);
	Map.Add(1, 10);
	Map.Add(2, 20);
	Map.Add(1, 11);
	EXPECT_EQ(Map.Num(), 3);
	EXPECT_EQ(KeysInOrder(Map), (TArray<int32>{ 1, 2, 3 }));
	EXPECT_EQ(*Map.Find(1), 11);
	EXPECT_EQ(Map.Remove(2), 1);
	EXPECT_EQ(Map.Find(2), nullptr);
}

TEST(HostCoreContainers, QueueDeliversEveryItemOnceFromManyProducers)
{
	TQueue<int32, EQueueMode::Mpsc> Queue;
	constexpr int32 PerProducer = 5000;
	std::thread Producers[4];
	for (int32 P = 0; P < 4; ++P)
	{
		Producers[P] = std::thread([&Queue, P]()
		{
			for (int32 Index = 0; Index < PerProducer; ++Index)
			{
				Queue.Enqueue(P * PerProducer + Index);
			}
		});
	}
	TArray<int32> Seen;
	Seen.SetNumZeroed(4 * PerProducer);
	int32 Received = 0;
	while (Received < 4 * PerProducer)
	{
		int32 Item;
		if (Queue.Dequeue(Item))
		{
			++Seen[Item];
			++Received;
		}
	}
	for (std::thread& T : Producers)
	{
		T.join();
	}
	EXPECT_TRUE(Queue.IsEmpty());
	EXPECT_FALSE(Seen.ContainsByPredicate([](int32 Count) { return Count != 1; }));
}

TEST(HostCoreContainers, ArrayViewSlicesWithoutCopying)
{
	TArray<int32> Array = { 1, 2, 3, 4 };
	TArrayView<int32> View = Array;
	View[0] = 9;
	EXPECT_EQ(Array[0], 9);
	TConstArrayView<int32> Slice = MakeArrayView(Array).Slice(1, 2);
	EXPECT_EQ(Slice.Num(), 2);
	EXPECT_EQ(Slice[1], 3);
	EXPECT_TRUE(Slice.Contains(2));
	TArray<int32> Copy(Slice);
	EXPECT_EQ(Copy, (TArray<int32>{ 2, 3 }));
	TStaticArray<int32, 3> Static;
	EXPECT_EQ(Static[2], 0);
}

TEST(HostCoreContainersDeathTest, ArrayIndexOutOfBoundsAborts)
{
	TArray<int32> Array = { 1 };
	EXPECT_DEATH(Array[1] = 0, "Array index out of bounds: 1 into an array of size 1");
}
