// Copyright Quarn. All Rights Reserved.

// The USME conversion library: the instance id hidden in DataKeys/DataValues, item round trips
// and reserved keys.

#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Misc/AutomationTest.h"
#include "QuarnUSMELibrary.h"

BEGIN_DEFINE_SPEC(FQuarnUSMELibrarySpec, "Quarn.USME.Library", EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext | EAutomationTestFlags::ServerContext | EAutomationTestFlags::ProductFilter)
END_DEFINE_SPEC(FQuarnUSMELibrarySpec)

void FQuarnUSMELibrarySpec::Define()
{
	Describe(TEXT("ReadInstanceId"), [this]()
	{
		It(TEXT("finds the first id pair in any case"), [this]()
		{
			TestTrue(TEXT("no pairs"), UQuarnUSMELibrary::ReadInstanceId({}, {}).IsEmpty());
			TestEqualSensitive(TEXT("second pair"), UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("colour")), FName(TEXT("__qnid"))}, {TEXT("red"), TEXT("inst-2")}), FString(TEXT("inst-2")));
			TestEqualSensitive(TEXT("key in capitals"), UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__QNID"))}, {TEXT("inst-c")}), FString(TEXT("inst-c")));
			TestEqualSensitive(TEXT("two id pairs"), UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid")), FName(TEXT("__qnid"))}, {TEXT("first"), TEXT("second")}), FString(TEXT("first")));
			// The first match wins even with an empty value.
			TestTrue(TEXT("first pair empty"), UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid")), FName(TEXT("__qnid"))}, {TEXT(""), TEXT("second")}).IsEmpty());
			// A numeric suffix makes another name.
			TestTrue(TEXT("numbered key"), UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid_1"))}, {TEXT("x")}).IsEmpty());
			// A key without a value is no pair.
			TestTrue(TEXT("key without a value"), UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("__qnid"))}, {}).IsEmpty());
			TestTrue(TEXT("id key beyond the values"), UQuarnUSMELibrary::ReadInstanceId({FName(TEXT("a")), FName(TEXT("__qnid"))}, {TEXT("1")}).IsEmpty());
		});
	});

	Describe(TEXT("WriteInstanceId"), [this]()
	{
		It(TEXT("replaces the first pair and keeps the key's case"), [this]()
		{
			TArray<FName> Keys = {FName(TEXT("a")), FName(TEXT("__QnId")), FName(TEXT("__qnid"))};
			TArray<FString> Values = {TEXT("1"), TEXT("old"), TEXT("older")};
			UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("new"));
			if (!TestEqual(TEXT("keys"), Keys.Num(), 3) || !TestEqual(TEXT("values"), Values.Num(), 3))
			{
				return;
			}
			// The key itself is left as it was (names compare without case; how it prints depends on
			// whether the build preserves the case of names).
			TestEqual(TEXT("first id key"), Keys[1], FName(TEXT("__QnId")));
			TestEqual(TEXT("second id key"), Keys[2], UQuarnUSMELibrary::InstanceIdKey);
			TestEqualSensitive(TEXT("other value"), Values[0], FString(TEXT("1")));
			TestEqualSensitive(TEXT("replaced value"), Values[1], FString(TEXT("new")));
			TestEqualSensitive(TEXT("later id value"), Values[2], FString(TEXT("older")));
		});

		It(TEXT("appends a pair when none matches"), [this]()
		{
			TArray<FName> Keys = {FName(TEXT("a"))};
			TArray<FString> Values = {TEXT("1")};
			UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-9"));
			if (!TestEqual(TEXT("keys"), Keys.Num(), 2) || !TestEqual(TEXT("values"), Values.Num(), 2))
			{
				return;
			}
			TestEqual(TEXT("appended key"), Keys[1], UQuarnUSMELibrary::InstanceIdKey);
			TestEqualSensitive(TEXT("appended value"), Values[1], FString(TEXT("id-9")));
			TestEqualSensitive(TEXT("read back"), UQuarnUSMELibrary::ReadInstanceId(Keys, Values), FString(TEXT("id-9")));
		});

		It(TEXT("changes nothing for an empty id"), [this]()
		{
			TArray<FName> Keys = {FName(TEXT("__qnid")), FName(TEXT("b"))};
			TArray<FString> Values = {TEXT("keep")};
			UQuarnUSMELibrary::WriteInstanceId(Keys, Values, FString());
			TestEqual(TEXT("keys"), Keys.Num(), 2);
			if (TestEqual(TEXT("values"), Values.Num(), 1))
			{
				TestEqualSensitive(TEXT("value"), Values[0], FString(TEXT("keep")));
			}
		});

		// Arrays of different lengths are padded first, so that the id always lands in a pair and no
		// entry that was already paired changes partner.
		It(TEXT("pads uneven arrays before writing"), [this]()
		{
			{
				// A lone key without a value becomes a pair whose value is set.
				TArray<FName> Keys = {FName(TEXT("__qnid"))};
				TArray<FString> Values;
				UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-1"));
				if (TestEqual(TEXT("lone key: keys"), Keys.Num(), 1) && TestEqual(TEXT("lone key: values"), Values.Num(), 1))
				{
					TestEqualSensitive(TEXT("lone key: value"), Values[0], FString(TEXT("id-1")));
					TestEqualSensitive(TEXT("lone key: read back"), UQuarnUSMELibrary::ReadInstanceId(Keys, Values), FString(TEXT("id-1")));
				}
			}
			{
				// More values than keys: the spare values get empty keys, the id is appended as a new pair.
				TArray<FName> Keys = {FName(TEXT("colour"))};
				TArray<FString> Values = {TEXT("red"), TEXT("stray")};
				UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-2"));
				if (TestEqual(TEXT("spare values: keys"), Keys.Num(), 3) && TestEqual(TEXT("spare values: values"), Values.Num(), 3))
				{
					TestEqual(TEXT("spare values: first key"), Keys[0], FName(TEXT("colour")));
					TestEqualSensitive(TEXT("spare values: first value"), Values[0], FString(TEXT("red")));
					TestTrue(TEXT("spare values: padded key is None"), Keys[1].IsNone());
					TestEqualSensitive(TEXT("spare values: stray value kept"), Values[1], FString(TEXT("stray")));
					TestEqual(TEXT("spare values: id key"), Keys[2], UQuarnUSMELibrary::InstanceIdKey);
					TestEqualSensitive(TEXT("spare values: id value"), Values[2], FString(TEXT("id-2")));
				}
			}
			{
				// More keys than values, the id key among the unpaired ones.
				TArray<FName> Keys = {FName(TEXT("colour")), FName(TEXT("size")), FName(TEXT("__qnid"))};
				TArray<FString> Values = {TEXT("red")};
				UQuarnUSMELibrary::WriteInstanceId(Keys, Values, TEXT("id-3"));
				if (TestEqual(TEXT("spare keys: keys"), Keys.Num(), 3) && TestEqual(TEXT("spare keys: values"), Values.Num(), 3))
				{
					TestEqualSensitive(TEXT("spare keys: first value"), Values[0], FString(TEXT("red")));
					TestTrue(TEXT("spare keys: padded value is empty"), Values[1].IsEmpty());
					TestEqualSensitive(TEXT("spare keys: id value"), Values[2], FString(TEXT("id-3")));
					TestEqualSensitive(TEXT("spare keys: read back"), UQuarnUSMELibrary::ReadInstanceId(Keys, Values), FString(TEXT("id-3")));
				}
			}
		});
	});

	Describe(TEXT("Items"), [this]()
	{
		It(TEXT("make carries the fields and the id unchecked"), [this]()
		{
			const FQuarnItemInstance Item = UQuarnUSMELibrary::MakeItemFromUSME(FName(TEXT("Bandage")), -3, -7, 0.25f, {FName(TEXT("own")), FName(TEXT("__qnid"))}, {TEXT("x"), TEXT("inst-5")});
			TestEqual(TEXT("item id"), Item.ItemId, FName(TEXT("Bandage")));
			TestEqual(TEXT("quantity"), Item.Quantity, -3);
			TestEqual(TEXT("slot index"), Item.SlotIndex, -7);
			TestEqual(TEXT("durability"), Item.Durability, 0.25f);
			TestEqualSensitive(TEXT("instance id"), Item.InstanceId, FString(TEXT("inst-5")));

			const FQuarnItemInstance Empty = UQuarnUSMELibrary::MakeItemFromUSME(NAME_None, 1, 0, 0.0f, {}, {});
			TestTrue(TEXT("no instance id"), Empty.InstanceId.IsEmpty());
			TestTrue(TEXT("no item id"), Empty.ItemId.IsNone());
		});

		It(TEXT("break and make round-trip"), [this]()
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
			if (!TestEqual(TEXT("keys"), Keys.Num(), 1) || !TestEqual(TEXT("values"), Values.Num(), 1))
			{
				return;
			}
			TestEqual(TEXT("id key"), Keys[0], UQuarnUSMELibrary::InstanceIdKey);
			TestEqualSensitive(TEXT("id value"), Values[0], FString(TEXT("inst-77")));

			const FQuarnItemInstance Back = UQuarnUSMELibrary::MakeItemFromUSME(Id, Amount, CachedIndex, Durability, Keys, Values);
			const FQuarnItemInstance Defaults;
			TestEqualSensitive(TEXT("instance id"), Back.InstanceId, FString(TEXT("inst-77")));
			TestEqual(TEXT("item id"), Back.ItemId, Item.ItemId);
			TestEqual(TEXT("quantity"), Back.Quantity, 30);
			TestEqual(TEXT("slot index"), Back.SlotIndex, 4);
			TestEqual(TEXT("durability"), Back.Durability, 0.5f);
			// What USME's fields cannot carry comes back as the defaults.
			TestEqualSensitive(TEXT("slot key"), Back.SlotKey, Defaults.SlotKey);
			TestEqual(TEXT("x"), Back.X, Defaults.X);
			TestEqual(TEXT("y"), Back.Y, Defaults.Y);
			TestEqual(TEXT("rotated"), Back.bRotated, Defaults.bRotated);
			TestEqual(TEXT("grid width"), Back.GridW, Defaults.GridW);
			TestEqual(TEXT("grid height"), Back.GridH, Defaults.GridH);

			FQuarnItemInstance NoId;
			UQuarnUSMELibrary::BreakItemToUSME(NoId, Id, Amount, CachedIndex, Durability, Keys, Values);
			TestEqual(TEXT("keys without an id"), Keys.Num(), 0);
			TestEqual(TEXT("values without an id"), Values.Num(), 0);
		});
	});

	It(TEXT("reserves keys that begin with the namespace"), [this]()
	{
		TestTrue(TEXT("__qnid"), UQuarnUSMELibrary::IsReservedKey(UQuarnUSMELibrary::InstanceIdKey));
		TestTrue(TEXT("__QNfuture"), UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__QNfuture"))));
		TestTrue(TEXT("__qn"), UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__qn"))));
		TestTrue(TEXT("__qnid_3"), UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__qnid_3"))));
		TestFalse(TEXT("_qnid"), UQuarnUSMELibrary::IsReservedKey(FName(TEXT("_qnid"))));
		TestFalse(TEXT("my__qnid"), UQuarnUSMELibrary::IsReservedKey(FName(TEXT("my__qnid"))));
		TestFalse(TEXT("None"), UQuarnUSMELibrary::IsReservedKey(NAME_None));
		TestFalse(TEXT("__q"), UQuarnUSMELibrary::IsReservedKey(FName(TEXT("__q"))));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
