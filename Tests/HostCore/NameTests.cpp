// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace
{
	std::string Utf8(const FString& S)
	{
		FTCHARToUTF8 Converted(*S);
		return std::string(Converted.Get(), Converted.Length());
	}
}

TEST(HostCoreName, ComparisonAndHashIgnoreCase)
{
	const FName Lower(TEXT("quarnitem"));
	const FName Upper(TEXT("QUARNITEM"));
	EXPECT_TRUE(Lower == Upper);
	EXPECT_EQ(GetTypeHash(Lower), GetTypeHash(Upper));
	EXPECT_TRUE(Lower.IsEqual(Upper));
	// The first spelling registered is the one displayed.
	EXPECT_EQ(Utf8(Upper.ToString()), "quarnitem");
	EXPECT_TRUE(Lower == TEXT("QuarnItem"));
	EXPECT_FALSE(Lower == TEXT("QuarnItem_1"));
	TMap<FName, int32> Map;
	Map.Add(Lower, 1);
	Map.Add(Upper, 2);
	EXPECT_EQ(Map.Num(), 1);
}

TEST(HostCoreName, NumberSuffixRules)
{
	const FName Twelve(TEXT("Foo_12"));
	EXPECT_EQ(Twelve.GetNumber(), 13);
	EXPECT_EQ(Utf8(Twelve.GetPlainNameString()), "Foo");
	EXPECT_EQ(Utf8(Twelve.ToString()), "Foo_12");
	EXPECT_TRUE(Twelve == FName(TEXT("Foo"), 13));
	EXPECT_TRUE(Twelve == TEXT("foo_12"));

	const FName Zero(TEXT("Foo_0"));
	EXPECT_EQ(Zero.GetNumber(), 1);
	EXPECT_EQ(Utf8(Zero.ToString()), "Foo_0");

	for (const TCHAR* Unsplit : { TEXT("Foo_012"), TEXT("Foo12"), TEXT("Foo_"), TEXT("Foo_2147483647"), TEXT("Foo_12345678901") })
	{
		const FName Name(Unsplit);
		EXPECT_EQ(Name.GetNumber(), NAME_NO_NUMBER_INTERNAL) << Utf8(FString(Unsplit));
		EXPECT_EQ(Name.ToString(), FString(Unsplit));
	}
	const FName Largest(TEXT("Foo_2147483646"));
	EXPECT_EQ(Largest.GetNumber(), 2147483647);
	EXPECT_EQ(Utf8(Largest.ToString()), "Foo_2147483646");
	EXPECT_FALSE(FName(TEXT("Foo_1")) == FName(TEXT("Foo_01")));
	EXPECT_EQ(Utf8(FName(TEXT("Bar"), 0).ToString()), "Bar");
	EXPECT_EQ(Utf8(FName(TEXT("Bar_3"), 0).ToString()), "Bar_3");
}

TEST(HostCoreName, NoneForms)
{
	for (const FName& None : { FName(), FName(NAME_None), FName(TEXT("")), FName(TEXT("None")), FName(TEXT("none")), FName((const TCHAR*)nullptr), FName(TEXT("_5")) })
	{
		EXPECT_TRUE(None.IsNone());
		EXPECT_EQ(Utf8(None.ToString()), "None");
		EXPECT_TRUE(None == NAME_None);
		EXPECT_TRUE(None == TEXT(""));
	}
	EXPECT_FALSE(FName(TEXT("Something")) == TEXT(""));
	EXPECT_FALSE(FName(TEXT("None_1")).IsNone());
	EXPECT_EQ(Utf8(FName(TEXT("None_1")).ToString()), "None_1");
}

// The engine's EName is a scoped enum; NAME_None and the other NAME_ forms are constants of it.
TEST(HostCoreName, HardcodedNamesAreAScopedEnumWithNameAliases)
{
	static_assert(std::is_enum_v<EName> && !std::is_convertible_v<EName, uint32>, "EName is an enum class");
	static_assert(std::is_same_v<decltype(NAME_None), const EName>, "NAME_None is a constant of EName");
	static_assert(NAME_None == EName::None && NAME_Actor == EName::Actor, "each alias names its enumerator");
	EXPECT_TRUE(FName(EName::None).IsNone());
	EXPECT_TRUE(FName(TEXT("Actor")) == EName::Actor);
	EXPECT_EQ(Utf8(FName(NAME_Actor).ToString()), "Actor");
	const EName* AsEName = FName(TEXT("Actor")).ToEName();
	ASSERT_NE(AsEName, nullptr);
	EXPECT_TRUE(*AsEName == EName::Actor);
}

TEST(HostCoreName, FindDoesNotAdd)
{
	EXPECT_TRUE(FName(TEXT("NeverRegisteredBeforeThisTest"), FNAME_Find).IsNone());
	const FName Added(TEXT("RegisteredNow"));
	EXPECT_TRUE(FName(TEXT("registerednow"), FNAME_Find) == Added);
	EXPECT_TRUE(FName(TEXT("RegisteredNow_4"), FNAME_Find) == FName(Added, 5));
}

TEST(HostCoreName, OrderingIsExplicit)
{
	const FName A(TEXT("apple"));
	const FName B(TEXT("Banana"));
	EXPECT_TRUE(A.LexicalLess(B));
	EXPECT_FALSE(B.LexicalLess(A));
	EXPECT_TRUE(FName(TEXT("apple_1")).LexicalLess(FName(TEXT("apple_2"))));
	EXPECT_NE(A.FastLess(B), B.FastLess(A));
	TArray<FName> Names = { B, A };
	Names.Sort(FNameLexicalLess());
	EXPECT_TRUE(Names[0] == A);
	static_assert(!std::is_invocable_v<std::less<>, FName, FName>, "FName has no operator<");
}

TEST(HostCoreName, TooLongIsRefusedAsNone)
{
	const FString Long = FString::ChrN(NAME_SIZE, TEXT('x'));
	const FName Name(*Long);
	EXPECT_TRUE(Name.IsNone());
	const FString JustFits = FString::ChrN(NAME_SIZE - 1, TEXT('y'));
	EXPECT_EQ(FName(*JustFits).ToString(), JustFits);
}

TEST(HostCoreName, PoolIsThreadSafe)
{
	std::thread Threads[4];
	for (int32 T = 0; T < 4; ++T)
	{
		Threads[T] = std::thread([]()
		{
			for (int32 Index = 0; Index < 2000; ++Index)
			{
				const FName Name(*FString::Printf(TEXT("Concurrent%d"), Index % 500));
				ASSERT_EQ(Name.ToString(), FString::Printf(TEXT("Concurrent%d"), Index % 500));
			}
		});
	}
	for (std::thread& T : Threads)
	{
		T.join();
	}
	EXPECT_TRUE(FName(TEXT("Concurrent42"), FNAME_Find) == FName(TEXT("CONCURRENT42")));
}
