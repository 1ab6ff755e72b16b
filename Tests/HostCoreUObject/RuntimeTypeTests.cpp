// Structures made at run time, as the editor's user-defined structures: suffixed member names,
// values initialised, copied and destroyed through their properties.
#include "TestSupport.h"
#include "Host/RuntimeTypes.h"
#include "StructUtils/UserDefinedStruct.h"

#include <regex>

using UE::Host::CodeGen::EPropertyKind;

TEST(HostCoreUObjectRuntimeTypes, UserDefinedStructMembersCarryCounterAndGuid)
{
	UE::Host::FUserDefinedStructBuilder Builder(TEXT("S_InventoryItemTest"));
	const FName Id = Builder.AddMember(TEXT("ID"), EPropertyKind::Name);
	const FName Amount = Builder.AddMember(TEXT("Amount"), EPropertyKind::Int);
	UE::Host::CodeGen::FPropertyParams KeyParams;
	KeyParams.Kind = EPropertyKind::Name;
	const FName Keys = Builder.AddMember(TEXT("DataKeys"), EPropertyKind::Array, &KeyParams);
	UUserDefinedStruct* Struct = Builder.Finish();

	EXPECT_TRUE(std::regex_match(Str(Id), std::regex("ID_0_[0-9A-F]{32}")));
	EXPECT_TRUE(std::regex_match(Str(Amount), std::regex("Amount_1_[0-9A-F]{32}")));
	EXPECT_TRUE(std::regex_match(Str(Keys), std::regex("DataKeys_2_[0-9A-F]{32}")));
	EXPECT_EQ(Str(Struct->GetAuthoredNameForField(FindFProperty<FProperty>(Struct, Amount))), "Amount");
	EXPECT_EQ(Struct->CustomFindProperty(TEXT("DataKeys")), FindFProperty<FProperty>(Struct, Keys));
	EXPECT_EQ(Str(Struct->GetPathName()), "/Game/S_InventoryItemTest.S_InventoryItemTest");
	EXPECT_GE(Struct->GetPropertiesSize(), (int32)(sizeof(FName) + sizeof(int32) + sizeof(TArray<FName>)));
}

TEST(HostCoreUObjectRuntimeTypes, UserDefinedStructValuesLiveThroughReflection)
{
	UE::Host::FUserDefinedStructBuilder Builder(TEXT("S_ValueTest"));
	const FName Label = Builder.AddMember(TEXT("Label"), EPropertyKind::Str);
	UE::Host::CodeGen::FPropertyParams ValueParams;
	ValueParams.Kind = EPropertyKind::Str;
	const FName Values = Builder.AddMember(TEXT("DataValues"), EPropertyKind::Array, &ValueParams);
	const FName Item = Builder.AddMember(TEXT("Item"), EPropertyKind::Struct, nullptr, FTestItem::StaticStruct());
	UUserDefinedStruct* Struct = Builder.Finish();

	TArray<uint8> A;
	TArray<uint8> B;
	A.SetNumZeroed(Struct->GetPropertiesSize());
	B.SetNumZeroed(Struct->GetPropertiesSize());
	Struct->InitializeStruct(A.GetData());
	Struct->InitializeStruct(B.GetData());

	FStrProperty* LabelProperty = FindFProperty<FStrProperty>(Struct, Label);
	FArrayProperty* ValuesProperty = FindFProperty<FArrayProperty>(Struct, Values);
	FStructProperty* ItemProperty = FindFProperty<FStructProperty>(Struct, Item);
	ASSERT_TRUE(LabelProperty && ValuesProperty && ItemProperty);
	EXPECT_EQ(ItemProperty->ContainerPtrToValuePtr<FTestItem>(A.GetData())->Quantity, 1);
	LabelProperty->SetPropertyValue_InContainer(A.GetData(), TEXT("a long label that does not fit inline"));
	FScriptArrayHelper Helper(ValuesProperty, ValuesProperty->ContainerPtrToValuePtr<void>(A.GetData()));
	for (int32 I = 0; I < 20; ++I)
	{
		const int32 Index = Helper.AddValue();
		*(FString*)Helper.GetRawPtr(Index) = FString::Printf(TEXT("value %d"), I);
	}
	EXPECT_EQ(ValuesProperty->ContainerPtrToValuePtr<TArray<FString>>(A.GetData())->Num(), 20);

	Struct->CopyScriptStruct(B.GetData(), A.GetData());
	EXPECT_TRUE(Struct->CompareScriptStruct(A.GetData(), B.GetData(), 0));
	const TArray<FString>& Copied = *ValuesProperty->ContainerPtrToValuePtr<TArray<FString>>(B.GetData());
	ASSERT_EQ(Copied.Num(), 20);
	EXPECT_EQ(Str(Copied[19]), "value 19");
	Helper.RemoveValues(0, 5);
	EXPECT_FALSE(Struct->CompareScriptStruct(A.GetData(), B.GetData(), 0));

	Struct->DestroyStruct(A.GetData());
	Struct->DestroyStruct(B.GetData());
}
