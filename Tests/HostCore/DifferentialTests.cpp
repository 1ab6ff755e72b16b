// Copyright Quarn. All Rights Reserved.

// Randomised comparisons with the standard library: long sequences of mixed operations must leave
// the engine containers and strings in the same state as their std counterparts.

#include "CoreMinimal.h"
#include "Misc/StringBuilder.h"
#include "Misc/ScopeExit.h"
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace
{
	std::u16string Std(const FString& S)
	{
		return std::u16string(*S, S.Len());
	}
}

TEST(HostCoreDifferential, MapMatchesStdMapUnderRandomEdits)
{
	std::mt19937 Random(1234);
	TMap<int32, int32> Map;
	std::map<int32, int32> Reference;
	for (int32 Step = 0; Step < 20000; ++Step)
	{
		const int32 Key = (int32)(Random() % 500);
		switch (Random() % 5)
		{
			case 0:
			case 1:
				Map.Add(Key, Step);
				Reference[Key] = Step;
				break;
			case 2:
				ASSERT_EQ(Map.Remove(Key), (int32)Reference.erase(Key));
				break;
			case 3:
			{
				const int32* Found = Map.Find(Key);
				auto It = Reference.find(Key);
				ASSERT_EQ(Found != nullptr, It != Reference.end());
				if (Found)
				{
					ASSERT_EQ(*Found, It->second);
				}
				break;
			}
			case 4:
				if (Step % 1000 == 4)
				{
					Map.Compact();
				}
				else if (Step % 777 == 4)
				{
					Map.Shrink();
				}
				break;
		}
		ASSERT_EQ(Map.Num(), (int32)Reference.size());
	}
	std::map<int32, int32> Iterated;
	for (const auto& Pair : Map)
	{
		ASSERT_TRUE(Iterated.emplace(Pair.Key, Pair.Value).second) << "a key was iterated twice";
	}
	EXPECT_EQ(Iterated, Reference);
}

TEST(HostCoreDifferential, SetOfStringsMatchesStdSetIgnoringCase)
{
	std::mt19937 Random(99);
	TSet<FString> Set;
	std::set<std::u16string> Reference;
	for (int32 Step = 0; Step < 5000; ++Step)
	{
		FString Key = FString::Printf(TEXT("key%d"), (int32)(Random() % 300));
		if (Random() % 2)
		{
			Key.ToUpperInline();
		}
		std::u16string Lower = Std(Key.ToLower());
		if (Random() % 3)
		{
			Set.Add(Key);
			Reference.insert(Lower);
		}
		else
		{
			ASSERT_EQ(Set.Remove(Key), (int32)Reference.erase(Lower));
		}
		ASSERT_EQ(Set.Num(), (int32)Reference.size());
	}
	for (const FString& Key : Set)
	{
		EXPECT_EQ(Reference.count(Std(Key.ToLower())), 1u);
	}
}

TEST(HostCoreDifferential, ArrayMatchesStdVectorUnderRandomEdits)
{
	std::mt19937 Random(7);
	TArray<FString> Array;
	std::vector<std::u16string> Reference;
	for (int32 Step = 0; Step < 5000; ++Step)
	{
		const FString Value = FString::FromInt((int32)(Random() % 100));
		const int32 Num = (int32)Reference.size();
		switch (Random() % 6)
		{
			case 0:
				Array.Add(Value);
				Reference.push_back(Std(Value));
				break;
			case 1:
			{
				const int32 Index = Num ? (int32)(Random() % (Num + 1)) : 0;
				Array.Insert(Value, Index);
				Reference.insert(Reference.begin() + Index, Std(Value));
				break;
			}
			case 2:
				if (Num)
				{
					const int32 Index = (int32)(Random() % Num);
					const int32 Count = FMath::Min(Num - Index, (int32)(Random() % 4) + 1);
					Array.RemoveAt(Index, Count);
					Reference.erase(Reference.begin() + Index, Reference.begin() + Index + Count);
				}
				break;
			case 3:
				if (Num)
				{
					const int32 Index = (int32)(Random() % Num);
					Array.RemoveAtSwap(Index);
					Reference[Index] = Reference.back();
					Reference.pop_back();
				}
				break;
			case 4:
			{
				const int32 Removed = Array.Remove(Value);
				const auto Before = Reference.size();
				Reference.erase(std::remove(Reference.begin(), Reference.end(), Std(Value)), Reference.end());
				ASSERT_EQ(Removed, (int32)(Before - Reference.size()));
				break;
			}
			case 5:
				if (Step % 50 == 0)
				{
					Array.Shrink();
				}
				break;
		}
		ASSERT_EQ(Array.Num(), (int32)Reference.size());
	}
	for (int32 Index = 0; Index < Array.Num(); ++Index)
	{
		ASSERT_EQ(Std(Array[Index]), Reference[Index]);
	}
}

TEST(HostCoreDifferential, StringSearchAndReplaceMatchStdString)
{
	std::mt19937 Random(42);
	const TCHAR Alphabet[] = TEXT("abAB_");
	auto RandomString = [&](int32 MaxLen)
	{
		FString Result;
		const int32 Len = (int32)(Random() % (MaxLen + 1));
		for (int32 Index = 0; Index < Len; ++Index)
		{
			Result.AppendChar(Alphabet[Random() % 5]);
		}
		return Result;
	};
	for (int32 Step = 0; Step < 3000; ++Step)
	{
		const FString Haystack = RandomString(20);
		const FString Needle = RandomString(3);
		const std::u16string H = Std(Haystack);
		const std::u16string N = Std(Needle);
		const size_t Expected = H.find(N);
		ASSERT_EQ(Haystack.Find(Needle, ESearchCase::CaseSensitive), Expected == std::u16string::npos ? INDEX_NONE : (int32)Expected);
		const size_t ExpectedLast = H.rfind(N);
		if (!Needle.IsEmpty())
		{
			ASSERT_EQ(Haystack.Find(Needle, ESearchCase::CaseSensitive, ESearchDir::FromEnd), ExpectedLast == std::u16string::npos ? INDEX_NONE : (int32)ExpectedLast);
		}
		// Ignoring case is the same as searching the lower-cased strings.
		const std::u16string HL = Std(Haystack.ToLower());
		const std::u16string NL = Std(Needle.ToLower());
		const size_t ExpectedIgnore = HL.find(NL);
		ASSERT_EQ(Haystack.Find(Needle), ExpectedIgnore == std::u16string::npos ? INDEX_NONE : (int32)ExpectedIgnore);

		if (!Needle.IsEmpty())
		{
			std::u16string Replaced;
			size_t Pos = 0;
			int32 Count = 0;
			while (true)
			{
				const size_t Hit = H.find(N, Pos);
				if (Hit == std::u16string::npos)
				{
					Replaced += H.substr(Pos);
					break;
				}
				Replaced += H.substr(Pos, Hit - Pos) + u"<>";
				Pos = Hit + N.size();
				++Count;
			}
			FString Copy = Haystack;
			ASSERT_EQ(Copy.ReplaceInline(*Needle, TEXT("<>"), ESearchCase::CaseSensitive), Count);
			ASSERT_EQ(Std(Copy), Replaced);
		}

		const int32 Start = (int32)(Random() % 25) - 2;
		const int32 Count = (int32)(Random() % 25) - 2;
		const int32 ClampedStart = FMath::Clamp(Start, 0, Haystack.Len());
		const int32 End = FMath::Clamp(Start + Count, ClampedStart, Haystack.Len());
		ASSERT_EQ(Std(Haystack.Mid(Start, Count)), Count < 0 ? std::u16string() : H.substr(ClampedStart, End - ClampedStart));
	}
}

TEST(HostCoreDifferential, SparseArrayReusesFreedSlotsLastInFirstOut)
{
	TSparseArray<int32> Sparse;
	for (int32 Index = 0; Index < 6; ++Index)
	{
		EXPECT_EQ(Sparse.Add(Index * 10), Index);
	}
	Sparse.RemoveAt(1);
	Sparse.RemoveAt(4);
	Sparse.RemoveAt(2);
	EXPECT_EQ(Sparse.Num(), 3);
	EXPECT_EQ(Sparse.GetMaxIndex(), 6);
	EXPECT_EQ(Sparse.Add(100), 2);
	EXPECT_EQ(Sparse.Add(101), 4);
	EXPECT_EQ(Sparse.Add(102), 1);
	EXPECT_EQ(Sparse.Add(103), 6);
	Sparse.RemoveAt(6);
	Sparse.RemoveAt(5);
	Sparse.Shrink();
	EXPECT_EQ(Sparse.GetMaxIndex(), 5);
	EXPECT_EQ(Sparse.Add(7), 5);
	Sparse.RemoveAt(0);
	EXPECT_TRUE(Sparse.Compact());
	TArray<int32> Values;
	for (int32 Value : Sparse)
	{
		Values.Add(Value);
	}
	EXPECT_EQ(Values, (TArray<int32>{ 102, 100, 30, 101, 7 }));
}

TEST(HostCoreDifferential, BuildersAndScopeExit)
{
	TStringBuilder<4> Builder;
	std::u16string Reference;
	for (int32 Index = 0; Index < 200; ++Index)
	{
		Builder << Index << TEXT(",");
		Reference += Std(FString::Printf(TEXT("%d,"), Index));
	}
	EXPECT_EQ(std::u16string(Builder.ToString()), Reference);
	EXPECT_EQ(Builder.Len(), (int32)Reference.size());
	TStringBuilder<4> Copy(Builder);
	EXPECT_EQ(std::u16string(Copy.ToString()), Reference);
	Builder.RemoveSuffix(1);
	EXPECT_EQ(Builder.LastChar(), TEXT('9'));

	int32 Exits = 0;
	{
		ON_SCOPE_EXIT { ++Exits; };
		EXPECT_EQ(Exits, 0);
	}
	EXPECT_EQ(Exits, 1);
}
