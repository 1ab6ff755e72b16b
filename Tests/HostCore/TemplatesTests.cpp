// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Hash/CityHash.h"
#include <gtest/gtest.h>
#include <utility>

namespace
{
	struct FNode : public TSharedFromThis<FNode>
	{
		explicit FNode(int32* InDestroyed) : Destroyed(InDestroyed) {}
		~FNode() { ++*Destroyed; }
		int32* Destroyed;
	};
}

TEST(HostCoreTemplates, TuplePairHasKeyAndValueInOrder)
{
	TPair<int32, double> Pair(3, 1.5);
	EXPECT_EQ(Pair.Key, 3);
	EXPECT_EQ(Pair.Get<1>(), 1.5);
	auto [K, V] = Pair;
	EXPECT_EQ(K, 3);
	EXPECT_EQ(V, 1.5);

	// Payload layout follows declaration order.
	TTuple<int8, int32, int64> Triple(int8(1), 2, int64(3));
	EXPECT_LT((void*)&Triple.Get<0>(), (void*)&Triple.Get<1>());
	EXPECT_LT((void*)&Triple.Get<1>(), (void*)&Triple.Get<2>());
	EXPECT_EQ(Triple.ApplyAfter([](int32 A, int8 B, int32 C, int64 D) { return A + B + C + D; }, 10), 16);
	EXPECT_TRUE(MakeTuple(1, 2) == MakeTuple(1, 2));
	EXPECT_TRUE(MakeTuple(1, 2, 3) < MakeTuple(1, 3, 0));
}

TEST(HostCoreTemplates, OptionalSetAndReset)
{
	TOptional<FNullOpt*> Empty;
	EXPECT_FALSE(Empty.IsSet());
	TOptional<int32> Value = 5;
	EXPECT_TRUE(Value.IsSet());
	EXPECT_EQ(*Value, 5);
	EXPECT_EQ(TOptional<int32>().Get(7), 7);
	Value.Reset();
	EXPECT_FALSE(Value);
	EXPECT_TRUE(Value == NullOpt);
}

// The engine's GetValue() is ref-qualified: on an rvalue optional it moves the value out.
TEST(HostCoreTemplates, OptionalGetValueFollowsTheValueCategory)
{
	TOptional<FString> Optional(FString(TEXT("moved")));
	static_assert(std::is_same_v<decltype(Optional.GetValue()), FString&>);
	static_assert(std::is_same_v<decltype(std::as_const(Optional).GetValue()), const FString&>);
	static_assert(std::is_same_v<decltype(MoveTemp(Optional).GetValue()), FString&&>);
	const FString Taken = MoveTemp(Optional).GetValue();
	EXPECT_TRUE(Taken == TEXT("moved"));
	EXPECT_TRUE(Optional.IsSet());
	EXPECT_TRUE(Optional.GetValue().IsEmpty());
	static_assert(std::is_same_v<TConstArrayView<int32, int64>, TArrayView<const int32, int64>>, "TConstArrayView takes the engine's size type");
}

TEST(HostCoreTemplates, SharedPointersCountAndDestroyOnce)
{
	int32 Destroyed = 0;
	TWeakPtr<FNode> Weak;
	{
		TSharedRef<FNode> Ref = MakeShared<FNode>(&Destroyed);
		Weak = Ref;
		TSharedPtr<FNode> Ptr = Ref;
		EXPECT_EQ(Ref.GetSharedReferenceCount(), 2);
		EXPECT_TRUE(Weak.IsValid());
		TSharedRef<FNode> FromThis = Ref->AsShared();
		EXPECT_EQ(&FromThis.Get(), &Ref.Get());
		EXPECT_EQ(Ref.GetSharedReferenceCount(), 3);
	}
	EXPECT_EQ(Destroyed, 1);
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_FALSE(Weak.Pin().IsValid());

	TSharedPtr<FNode> Shareable = MakeShareable(new FNode(&Destroyed));
	EXPECT_TRUE(Shareable->DoesSharedInstanceExist());
	Shareable.Reset();
	EXPECT_EQ(Destroyed, 2);
	TSharedPtr<FNode> Null;
	EXPECT_FALSE(Null.IsValid());
	EXPECT_TRUE(Null == nullptr);
}

TEST(HostCoreTemplates, FunctionsCopyMoveAndReport)
{
	int32 Calls = 0;
	TFunction<int32(int32)> Func = [&Calls](int32 X) { ++Calls; return X * 2; };
	TFunction<int32(int32)> Copy = Func;
	EXPECT_EQ(Func(2) + Copy(3), 10);
	EXPECT_EQ(Calls, 2);
	TFunction<int32(int32)> Moved = MoveTemp(Func);
	EXPECT_FALSE(Func);
	EXPECT_TRUE(Moved);
	TUniqueFunction<int32()> Unique = [P = MakeUnique<int32>(4)]() { return *P; };
	EXPECT_EQ(Unique(), 4);
	auto Lambda = [](int32 X) { return X + 1; };
	TFunctionRef<int32(int32)> Ref = Lambda;
	EXPECT_EQ(Ref(1), 2);
	TFunction<void()> Empty;
	EXPECT_TRUE(Empty == nullptr);
}

TEST(HostCoreTemplates, CrcMatchesStandardCrc32)
{
	// The CRC-32 check value of "123456789".
	EXPECT_EQ(FCrc::MemCrc32("123456789", 9), 0xCBF43926u);
	EXPECT_EQ(FCrc::StrCrc32("a"), FCrc::MemCrc32("a\0\0\0", 4));
	EXPECT_EQ(FCrc::Strihash_DEPRECATED(TEXT("Hello")), FCrc::Strihash_DEPRECATED(TEXT("hELLO")));
	EXPECT_NE(FCrc::Strihash_DEPRECATED(TEXT("Hello")), FCrc::Strihash_DEPRECATED(TEXT("Hellp")));
}

TEST(HostCoreTemplates, CityHashSpreadsAllLengthClasses)
{
	char Buffer[200];
	for (int32 Index = 0; Index < 200; ++Index)
	{
		Buffer[Index] = (char)(Index * 7);
	}
	// Each length class differs from its neighbour and from a one-byte change.
	for (uint32 Len : { 0u, 3u, 7u, 15u, 31u, 63u, 64u, 65u, 199u })
	{
		const uint64 Hash = CityHash64(Buffer, Len);
		EXPECT_NE(Hash, CityHash64(Buffer, Len + 1));
		if (Len > 0)
		{
			Buffer[Len - 1] ^= 1;
			EXPECT_NE(Hash, CityHash64(Buffer, Len));
			Buffer[Len - 1] ^= 1;
			EXPECT_EQ(Hash, CityHash64(Buffer, Len));
		}
	}
}

TEST(HostCoreTemplatesDeathTest, CheckLogsAndAborts)
{
	int32 Zero = 0;
	EXPECT_DEATH(checkf(Zero == 1, TEXT("Value was %d"), Zero), "Assertion failed: Zero == 1.*Value was 0");
}

TEST(HostCoreTemplates, EnsureReturnsConditionAndContinues)
{
	int32 Failures = 0;
	for (int32 Index = 0; Index < 3; ++Index)
	{
		if (!ensure(Index < 0))
		{
			++Failures;
		}
	}
	EXPECT_EQ(Failures, 3);
	EXPECT_TRUE(ensureMsgf(true, TEXT("never %s"), TEXT("shown")));
}

namespace
{
	struct FTestVersion
	{
		int32 Major = 0;
		int32 Minor = 0;

		bool UEOpEquals(const FTestVersion& Other) const { return Major == Other.Major && Minor == Other.Minor; }
		bool UEOpLessThan(const FTestVersion& Other) const { return Major < Other.Major || (Major == Other.Major && Minor < Other.Minor); }
		bool UEOpEquals(int32 OtherMajor) const { return Major == OtherMajor && Minor == 0; }
	};
}

TEST(HostCoreTemplates, UEOpsGiveEveryComparisonFromTheTwoMembers)
{
	const FTestVersion V1_2{ 1, 2 };
	const FTestVersion V1_3{ 1, 3 };
	const FTestVersion V2_0{ 2, 0 };
	EXPECT_TRUE(V1_2 == FTestVersion({ 1, 2 }));
	EXPECT_TRUE(V1_2 != V1_3);
	EXPECT_TRUE(V1_2 < V1_3);
	EXPECT_FALSE(V1_3 < V1_2);
	EXPECT_TRUE(V2_0 > V1_3);
	EXPECT_TRUE(V1_2 <= V1_2);
	EXPECT_FALSE(V1_3 <= V1_2);
	EXPECT_TRUE(V1_3 >= V1_2);
	EXPECT_FALSE(V1_2 >= V1_3);
	// A member taking another type serves both operand orders.
	EXPECT_TRUE(V2_0 == 2);
	EXPECT_TRUE(2 == V2_0);
	EXPECT_TRUE(1 != V1_2);
}
