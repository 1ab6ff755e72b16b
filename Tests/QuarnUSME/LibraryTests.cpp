// The USME conversion library: the instance id hidden in DataKeys/DataValues, item round trips and
// reserved keys.
#include "CoreMinimal.h"
#include "QuarnUSMELibrary.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
	std::string Str(const FString& S)
	{
		return std::string(TCHAR_TO_UTF8(*S));
	}

	std::string Str(const FName& N)
	{
		return Str(N.ToString());
	}
}

TEST(QuarnUSMELibrary, ReadFindsTheFirstIdPairInAnyCase)
{
	EXPECT_TRUE(UQuarnUSMELibrary::ReadInstanceId({}, {}).IsEmpty());
	EXPECT_EQ(Str(UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("colour")), FName(TEXT("__qnid"))}, {TEXT("red"), TEXT("inst-2")})), "inst-2");
	EXPECT_EQ(Str(UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__QNID"))}, {TEXT("inst-c")})), "inst-c");
	EXPECT_EQ(Str(UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid")), FName(TEXT("__qnid"))}, {TEXT("first"), TEXT("second")})), "first");
	// The first match wins even with an empty value.
	EXPECT_TRUE(UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid")), FName(TEXT("__qnid"))}, {TEXT(""), TEXT("second")}).IsEmpty());
	// A numeric suffix makes another name.
	EXPECT_TRUE(UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid_1"))}, {TEXT("x")}).IsEmpty());
	// A key without a value is no pair.
	EXPECT_TRUE(UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid"))}, {}).IsEmpty());
	EXPECT_TRUE(UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("a")), FName(TEXT("__qnid"))}, {TEXT("1")}).IsEmpty());
}

TEST(QuarnUSMELibrary, WriteReplacesTheFirstPairAndKeepsTheKeysCase)
{
	TArray<FName> Keys = {FName(TEXT("a")), FName(TEXT("__QnId")), FName(TEXT("__qnid"))};
	TArray<FString> Values = {TEXT("1"), TEXT("old"), TEXT("older")};
	UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("new"));
	ASSERT_EQ(Keys.Num(), 3);
	ASSERT_EQ(Values.Num(), 3);
	// The key itself is left as it was (names compare without case; how it prints depends on
	// whether the build preserves the case of names).
	EXPECT_EQ(Keys[1], FName(TEXT("__QnId")));
	EXPECT_EQ(Keys[2], UQuarnUSMELibrary::InstanceIdKey);
	EXPECT_EQ(Str(Values[0]), "1");
	EXPECT_EQ(Str(Values[1]), "new");
	EXPECT_EQ(Str(Values[2]), "older");
}

TEST(QuarnUSMELibrary, WriteAppendsAPairWhenNoneMatches)
{
	TArray<FName> Keys = {FName(TEXT("a"))};
	TArray<FString> Values = {TEXT("1")};
	UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-9"));
	ASSERT_EQ(Keys.Num(), 2);
	ASSERT_EQ(Values.Num(), 2);
	EXPECT_EQ(Keys[1], UQuarnUSMELibrary::InstanceIdKey);
	EXPECT_EQ(Str(Values[1]), "id-9");
	EXPECT_EQ(Str(UQuarnUSMELibrary::ReadInstanceId(Keys, Values)), "id-9");
}

TEST(QuarnUSMELibrary, WriteWithAnEmptyIdChangesNothing)
{
	TArray<FName> Keys = {FName(TEXT("__qnid")), FName(TEXT("b"))};
	TArray<FString> Values = {TEXT("keep")};
	UQuarnUSMELibrary::WriteInstanceId(Keys, Values, FString());
	ASSERT_EQ(Keys.Num(), 2);
	ASSERT_EQ(Values.Num(), 1);
	EXPECT_EQ(Str(Values[0]), "keep");
}

// Arrays of different lengths are padded first, so that the id always lands in a pair and no
// entry that was already paired changes partner.
TEST(QuarnUSMELibrary, WriteOnUnevenArraysPadsBeforeWriting)
{
	{
		// A lone key without a value becomes a pair whose value is set.
		TArray<FName> Keys = {FName(TEXT("__qnid"))};
		TArray<FString> Values;
		UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-1"));
		ASSERT_EQ(Keys.Num(), 1);
		ASSERT_EQ(Values.Num(), 1);
		EXPECT_EQ(Str(Values[0]), "id-1");
		EXPECT_EQ(Str(UQuarnUSMELibrary::ReadInstanceId(Keys, Values)), "id-1");
	}
	{
		// More values than keys: the spare values get empty keys, the id is appended as a new pair.
		TArray<FName> Keys = {FName(TEXT("colour"))};
		TArray<FString> Values = {TEXT("red"), TEXT("stray")};
		UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-2"));
		ASSERT_EQ(Keys.Num(), 3);
		ASSERT_EQ(Values.Num(), 3);
		EXPECT_EQ(Str(Keys[0]), "colour");
		EXPECT_EQ(Str(Values[0]), "red");
		EXPECT_TRUE(Keys[1].IsNone());
		EXPECT_EQ(Str(Values[1]), "stray");
		EXPECT_EQ(Keys[2], UQuarnUSMELibrary::InstanceIdKey);
		EXPECT_EQ(Str(Values[2]), "id-2");
	}
	{
		// More keys than values, the id key among the unpaired ones.
		TArray<FName> Keys = {FName(TEXT("colour")), FName(TEXT("size")), FName(TEXT("__qnid"))};
		TArray<FString> Values = {TEXT("red")};
		UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-3"));
		ASSERT_EQ(Keys.Num(), 3);
		ASSERT_EQ(Values.Num(), 3);
		EXPECT_EQ(Str(Values[0]), "red");
		EXPECT_TRUE(Values[1].IsEmpty());
		EXPECT_EQ(Str(Values[2]), "id-3");
		EXPECT_EQ(Str(UQuarnUSMELibrary::ReadInstanceId(Keys, Values)), "id-3");
	}
}

TEST(QuarnUSMELibrary, MakeCarriesFieldsAndTheIdUnchecked)
{
	const FQuarnItemInstance Item = UQuarnUSMELibrary::MakeItemFromUSME(FName(TEXT("Bandage")), -3, -7, 0.25f, {FName(TEXT("own")), FName(TEXT("__qnid"))}, {TEXT("x"), TEXT("inst-5")});
	EXPECT_EQ(Str(Item.ItemId), "Bandage");
	EXPECT_EQ(Item.Quantity, -3);
	EXPECT_EQ(Item.SlotIndex, -7);
	EXPECT_FLOAT_EQ(Item.Durability, 0.25f);
	EXPECT_EQ(Str(Item.InstanceId), "inst-5");

	const FQuarnItemInstance Empty = UQuarnUSMELibrary::MakeItemFromUSME(NAME_None, 1, 0, 0.0f, {}, {});
	EXPECT_TRUE(Empty.InstanceId.IsEmpty());
	EXPECT_TRUE(Empty.ItemId.IsNone());
}

TEST(QuarnUSMELibrary, BreakAndMakeRoundTrip)
{
	FQuarnItemInstance Item;
	Item.InstanceId = TEXT("inst-77");
	Item.ItemId = FName(TEXT("Ammo"));
	Item.Quantity = 30;
	Item.SlotIndex = 4;
	Item.Durability = 0.5f;
	Item.SlotKey = TEXT("belt");
	Item.X = 3;
	Item.Y = 2;
	Item.bRotated = true;
	Item.GridW = 2;
	Item.GridH = 3;

	FName Id;
	int32 Amount = 0;
	int32 CachedIndex = 0;
	float Durability = 0.0f;
	TArray<FName> Keys = {FName(TEXT("stale")), FName(TEXT("other"))};
	TArray<FString> Values = {TEXT("1")};
	UQuarnUSMELibrary::BreakItemToUSME(Item, Id, Amount, CachedIndex, Durability, Keys, Values);
	ASSERT_EQ(Keys.Num(), 1);
	ASSERT_EQ(Values.Num(), 1);
	EXPECT_EQ(Keys[0], UQuarnUSMELibrary::InstanceIdKey);
	EXPECT_EQ(Str(Values[0]), "inst-77");

	const FQuarnItemInstance Back = UQuarnUSMELibrary::MakeItemFromUSME(Id, Amount, CachedIndex, Durability, Keys, Values);
	const FQuarnItemInstance Defaults;
	EXPECT_EQ(Str(Back.InstanceId), "inst-77");
	EXPECT_EQ(Back.ItemId, Item.ItemId);
	EXPECT_EQ(Back.Quantity, 30);
	EXPECT_EQ(Back.SlotIndex, 4);
	EXPECT_FLOAT_EQ(Back.Durability, 0.5f);
	EXPECT_EQ(Str(Back.SlotKey), Str(Defaults.SlotKey));
	EXPECT_EQ(Back.X, Defaults.X);
	EXPECT_EQ(Back.Y, Defaults.Y);
	EXPECT_EQ(Back.bRotated, Defaults.bRotated);
	EXPECT_EQ(Back.GridW, Defaults.GridW);
	EXPECT_EQ(Back.GridH, Defaults.GridH);

	FQuarnItemInstance NoId;
	UQuarnUSMELibrary::BreakItemToUSME(NoId, Id, Amount, CachedIndex, Durability, Keys, Values);
	EXPECT_EQ(Keys.Num(), 0);
	EXPECT_EQ(Values.Num(), 0);
}

TEST(QuarnUSMELibrary, ReservedKeysBeginWithTheNamespace)
{
	EXPECT_TRUE(UQuarnUSMELibrary::IsReservedKey(UQuarnUSMELibrary::InstanceIdKey));
	EXPECT_TRUE(UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__QNfuture"))));
	EXPECT_TRUE(UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__qn"))));
	EXPECT_TRUE(UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__qnid_3"))));
	EXPECT_FALSE(UQuarnUSMELibrary::IsReservedKey(FName(TEXT("_qnid"))));
	EXPECT_FALSE(UQuarnUSMELibrary::IsReservedKey(FName(TEXT("my__qnid"))));
	EXPECT_FALSE(UQuarnUSMELibrary::IsReservedKey(NAME_None));
	EXPECT_FALSE(UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__q"))));
}
