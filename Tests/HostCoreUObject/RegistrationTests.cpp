// What the header tool's generated code registers, read back through reflection.
#include "TestSupport.h"

namespace
{
	std::vector<std::string> OwnPropertyNames(const UStruct* Struct)
	{
		std::vector<std::string> Names;
		for (TFieldIterator<FProperty> It(Struct, EFieldIterationFlags::None); It; ++It)
		{
			Names.push_back(Str(It->GetName()));
		}
		return Names;
	}
}

TEST(HostCoreUObjectRegistration, ClassLivesInItsModulePackage)
{
	UClass* Class = UReflectionTestObject::StaticClass();
	ASSERT_NE(Class, nullptr);
	EXPECT_EQ(Str(Class->GetName()), "ReflectionTestObject");
	EXPECT_EQ(Str(Class->GetPathName()), "/Script/HostUObjectTestTypes.ReflectionTestObject");
	EXPECT_EQ(Class->GetSuperClass(), UObject::StaticClass());
	EXPECT_EQ(Class->GetClass(), UClass::StaticClass());
	EXPECT_TRUE(Class->HasAnyClassFlags(CLASS_Native));
	EXPECT_TRUE(Class->IsRooted());
	EXPECT_EQ(FindObject<UClass>(nullptr, TEXT("/Script/HostUObjectTestTypes.ReflectionTestObject")), Class);
	EXPECT_EQ(StaticClass<UReflectionTestObject>(), Class);
	UPackage* Package = Class->GetPackage();
	EXPECT_EQ(Str(Package->GetName()), "/Script/HostUObjectTestTypes");
	EXPECT_TRUE(Package->HasAnyPackageFlags(PKG_CompiledIn));
}

TEST(HostCoreUObjectRegistration, ClassMetadataIncludesPathsAndToolTip)
{
	UClass* Class = UReflectionTestObject::StaticClass();
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("BlueprintType"))), "true");
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("IsBlueprintBase"))), "true");
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("DisplayName"))), "Reflection Test Object");
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("IncludePath"))), "ReflectionTestTypes.h");
	EXPECT_EQ(Str(Class->GetMetaData(TEXT("ModuleRelativePath"))), "Public/ReflectionTestTypes.h");
	EXPECT_EQ(Str(Class->GetToolTipText().ToString()), "A class with one member of each kind of reflected type.\n\nSecond paragraph of the tooltip.");
	EXPECT_EQ(Str(Class->GetDisplayNameText().ToString()), "Reflection Test Object");
	EXPECT_FALSE(Class->HasMetaData(TEXT("NoSuchKey")));
}

TEST(HostCoreUObjectRegistration, PropertiesComeInDeclarationOrder)
{
	const std::vector<std::string> Expected = {"Count", "Big", "Ratio", "Precise", "bNative", "bFirstBit", "bSecondBit", "Label", "Tag",
		"Title", "Layout", "Legacy", "Item", "Bag", "RawRef", "PtrRef", "ArrayRefs", "MapRefs", "SetRefs", "WeakRef", "SoftRef", "ClassRef",
		"OnItem", "Score"};
	EXPECT_EQ(OwnPropertyNames(UReflectionTestObject::StaticClass()), Expected);
	EXPECT_EQ(OwnPropertyNames(FTestItem::StaticStruct()), (std::vector<std::string>{"InstanceId", "Quantity", "ItemId", "Owner"}));
}

TEST(HostCoreUObjectRegistration, PropertyKindsFollowTheCppTypes)
{
	UClass* Class = UReflectionTestObject::StaticClass();
	auto Find = [Class](const TCHAR* Name) { return FindFProperty<FProperty>(Class, Name); };
	EXPECT_NE(CastField<FIntProperty>(Find(TEXT("Count"))), nullptr);
	EXPECT_NE(CastField<FInt64Property>(Find(TEXT("Big"))), nullptr);
	EXPECT_NE(CastField<FFloatProperty>(Find(TEXT("Ratio"))), nullptr);
	EXPECT_NE(CastField<FDoubleProperty>(Find(TEXT("Precise"))), nullptr);
	EXPECT_NE(CastField<FNumericProperty>(Find(TEXT("Count"))), nullptr);
	EXPECT_EQ(CastField<FFloatProperty>(Find(TEXT("Count"))), nullptr);
	EXPECT_TRUE(CastField<FBoolProperty>(Find(TEXT("bNative")))->IsNativeBool());
	EXPECT_FALSE(CastField<FBoolProperty>(Find(TEXT("bFirstBit")))->IsNativeBool());
	EXPECT_NE(CastField<FStrProperty>(Find(TEXT("Label"))), nullptr);
	EXPECT_NE(CastField<FNameProperty>(Find(TEXT("Tag"))), nullptr);
	EXPECT_NE(CastField<FTextProperty>(Find(TEXT("Title"))), nullptr);

	FEnumProperty* Layout = CastField<FEnumProperty>(Find(TEXT("Layout")));
	ASSERT_NE(Layout, nullptr);
	EXPECT_EQ(Layout->GetEnum(), StaticEnum<ETestLayout>());
	EXPECT_NE(CastField<FByteProperty>(Layout->GetUnderlyingProperty()), nullptr);
	FByteProperty* Legacy = CastField<FByteProperty>(Find(TEXT("Legacy")));
	ASSERT_NE(Legacy, nullptr);
	EXPECT_EQ(Legacy->Enum, StaticEnum<ETestLegacy::Type>());

	EXPECT_EQ(CastField<FStructProperty>(Find(TEXT("Item")))->Struct, FTestItem::StaticStruct());
	FObjectProperty* Raw = CastField<FObjectProperty>(Find(TEXT("RawRef")));
	FObjectProperty* Ptr = CastField<FObjectProperty>(Find(TEXT("PtrRef")));
	ASSERT_TRUE(Raw && Ptr);
	EXPECT_FALSE(Raw->HasAnyPropertyFlags(CPF_TObjectPtr));
	EXPECT_TRUE(Ptr->HasAllPropertyFlags(CPF_TObjectPtr | CPF_UObjectWrapper));
	EXPECT_EQ(Ptr->PropertyClass, UObject::StaticClass());

	FArrayProperty* Array = CastField<FArrayProperty>(Find(TEXT("ArrayRefs")));
	ASSERT_NE(Array, nullptr);
	EXPECT_NE(CastField<FObjectProperty>(Array->Inner), nullptr);
	FMapProperty* Map = CastField<FMapProperty>(Find(TEXT("MapRefs")));
	ASSERT_NE(Map, nullptr);
	EXPECT_NE(CastField<FNameProperty>(Map->KeyProp), nullptr);
	EXPECT_NE(CastField<FObjectProperty>(Map->ValueProp), nullptr);
	FSetProperty* Set = CastField<FSetProperty>(Find(TEXT("SetRefs")));
	ASSERT_NE(Set, nullptr);
	EXPECT_NE(CastField<FObjectProperty>(Set->ElementProp), nullptr);

	EXPECT_NE(CastField<FWeakObjectProperty>(Find(TEXT("WeakRef"))), nullptr);
	EXPECT_NE(CastField<FSoftObjectProperty>(Find(TEXT("SoftRef"))), nullptr);
	FClassProperty* ClassRef = CastField<FClassProperty>(Find(TEXT("ClassRef")));
	ASSERT_NE(ClassRef, nullptr);
	EXPECT_EQ(ClassRef->MetaClass, UObject::StaticClass());
	// A class property is an object property whose class is UClass.
	EXPECT_NE(CastField<FObjectProperty>(ClassRef), nullptr);

	FMulticastDelegateProperty* OnItem = CastField<FMulticastDelegateProperty>(Find(TEXT("OnItem")));
	ASSERT_NE(OnItem, nullptr);
	EXPECT_EQ(Str(OnItem->SignatureFunction->GetName()), "TestItemEvent__DelegateSignature");
	EXPECT_NE(CastField<FDelegateProperty>(Find(TEXT("Score"))), nullptr);
	EXPECT_EQ(Find(TEXT("HiddenRef")), nullptr);
}

TEST(HostCoreUObjectRegistration, PropertyFlagsAndMetadata)
{
	UClass* Class = UReflectionTestObject::StaticClass();
	FProperty* Count = FindFProperty<FProperty>(Class, TEXT("Count"));
	EXPECT_TRUE(Count->HasAllPropertyFlags(CPF_Edit | CPF_BlueprintVisible | CPF_NativeAccessSpecifierPublic));
	EXPECT_FALSE(Count->HasAnyPropertyFlags(CPF_BlueprintReadOnly));
	EXPECT_EQ(Str(Count->GetMetaData(TEXT("Category"))), "Numbers");
	EXPECT_EQ(Str(Count->GetMetaData(TEXT("ModuleRelativePath"))), "Public/ReflectionTestTypes.h");
	FProperty* Ratio = FindFProperty<FProperty>(Class, TEXT("Ratio"));
	EXPECT_TRUE(Ratio->HasAllPropertyFlags(CPF_BlueprintVisible | CPF_BlueprintReadOnly));
	EXPECT_TRUE(FindFProperty<FProperty>(Class, TEXT("OnItem"))->HasAnyPropertyFlags(CPF_BlueprintAssignable));

	FProperty* Quantity = FindFProperty<FProperty>(FTestItem::StaticStruct(), TEXT("Quantity"));
	EXPECT_EQ(Str(Quantity->GetMetaData(TEXT("ClampMin"))), "1");
	FProperty* InstanceId = FindFProperty<FProperty>(FTestItem::StaticStruct(), TEXT("InstanceId"));
	EXPECT_EQ(Str(InstanceId->GetToolTipText().ToString()), "The platform's id of the stack.");
	EXPECT_EQ(Str(FTestItem::StaticStruct()->GetToolTipText().ToString()), "One stack of items.");
	EXPECT_EQ(Str(FTestItem::StaticStruct()->GetMetaData(TEXT("BlueprintType"))), "true");
}

TEST(HostCoreUObjectRegistration, OffsetsMatchTheCppLayout)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	UClass* Class = Object->GetClass();
	*FindFProperty<FIntProperty>(Class, TEXT("Count"))->GetPropertyValuePtr_InContainer(Object) = 41;
	EXPECT_EQ(Object->Count, 41);
	FindFProperty<FStrProperty>(Class, TEXT("Label"))->SetPropertyValue_InContainer(Object, TEXT("Named"));
	EXPECT_EQ(Str(Object->Label), "Named");
	Object->Item.Quantity = 9;
	FStructProperty* ItemProperty = FindFProperty<FStructProperty>(Class, TEXT("Item"));
	const FTestItem* Item = ItemProperty->ContainerPtrToValuePtr<FTestItem>(Object);
	EXPECT_EQ(Item->Quantity, 9);
}

TEST(HostCoreUObjectRegistration, BitfieldsAreSeparateBits)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	FBoolProperty* First = FindFProperty<FBoolProperty>(Object->GetClass(), TEXT("bFirstBit"));
	FBoolProperty* Second = FindFProperty<FBoolProperty>(Object->GetClass(), TEXT("bSecondBit"));
	Second->SetPropertyValue_InContainer(Object, true);
	EXPECT_EQ(Object->bSecondBit, 1);
	EXPECT_EQ(Object->bFirstBit, 0);
	First->SetPropertyValue_InContainer(Object, true);
	Second->SetPropertyValue_InContainer(Object, false);
	EXPECT_EQ(Object->bFirstBit, 1);
	EXPECT_EQ(Object->bSecondBit, 0);
	EXPECT_TRUE(First->GetPropertyValue_InContainer(Object));
}

TEST(HostCoreUObjectRegistration, FunctionsCarryFlagsParametersAndPinKinds)
{
	UClass* Class = UReflectionTestObject::StaticClass();
	UFunction* Add = Class->FindFunctionByName(TEXT("Add"));
	ASSERT_NE(Add, nullptr);
	EXPECT_TRUE(Add->HasAllFunctionFlags(FUNC_Native | FUNC_Public | FUNC_BlueprintCallable | FUNC_HasDefaults | FUNC_HasOutParms));
	EXPECT_FALSE(Add->HasAnyFunctionFlags(FUNC_BlueprintPure | FUNC_Static));
	EXPECT_EQ(Str(Add->GetMetaData(TEXT("CPP_Default_B"))), "2");
	EXPECT_EQ(Str(Add->GetToolTipText().ToString()), "Adds two numbers.");
	EXPECT_EQ(Add->NumParms, 3);
	FProperty* Return = Add->GetReturnProperty();
	ASSERT_NE(Return, nullptr);
	EXPECT_EQ(Str(Return->GetName()), "ReturnValue");
	EXPECT_TRUE(Return->HasAllPropertyFlags(CPF_Parm | CPF_OutParm | CPF_ReturnParm));

	UFunction* Describe = Class->FindFunctionByName(TEXT("Describe"));
	ASSERT_NE(Describe, nullptr);
	EXPECT_TRUE(Describe->HasAllFunctionFlags(FUNC_Static | FUNC_BlueprintPure | FUNC_BlueprintCallable));
	FProperty* InItem = FindFProperty<FProperty>(Describe, TEXT("InItem"));
	EXPECT_TRUE(InItem->HasAllPropertyFlags(CPF_Parm | CPF_ConstParm | CPF_OutParm | CPF_ReferenceParm));
	EXPECT_TRUE(InItem->HasMetaData(TEXT("NativeConst")));
	FProperty* OutQuantity = FindFProperty<FProperty>(Describe, TEXT("OutQuantity"));
	EXPECT_TRUE(OutQuantity->HasAnyPropertyFlags(CPF_OutParm));
	EXPECT_FALSE(OutQuantity->HasAnyPropertyFlags(CPF_ReferenceParm | CPF_ConstParm));

	UFunction* Append = Class->FindFunctionByName(TEXT("Append"));
	EXPECT_TRUE(FindFProperty<FProperty>(Append, TEXT("Values"))->HasAllPropertyFlags(CPF_OutParm | CPF_ReferenceParm));
	FProperty* Value = FindFProperty<FProperty>(Append, TEXT("Value"));
	EXPECT_FALSE(Value->HasAnyPropertyFlags(CPF_OutParm | CPF_ConstParm));
	EXPECT_TRUE(Value->HasMetaData(TEXT("NativeConst")));

	EXPECT_TRUE(Class->FindFunctionByName(TEXT("IsCountPositive"))->HasAllFunctionFlags(FUNC_BlueprintPure | FUNC_Const));
	UFunction* OnArrived = Class->FindFunctionByName(TEXT("OnArrived"));
	EXPECT_TRUE(OnArrived->HasAllFunctionFlags(FUNC_Event | FUNC_BlueprintEvent));
	EXPECT_FALSE(OnArrived->HasAnyFunctionFlags(FUNC_Native));
	EXPECT_TRUE(Class->FindFunctionByName(TEXT("Greet"))->HasAllFunctionFlags(FUNC_Event | FUNC_BlueprintEvent | FUNC_Native));
	// Lookups ignore case, as names do.
	EXPECT_EQ(Class->FindFunctionByName(TEXT("add")), Add);
	EXPECT_EQ(Class->FindFunctionByName(TEXT("NoSuchFunction")), nullptr);
}

TEST(HostCoreUObjectRegistration, FunctionsIterateInDeclarationOrder)
{
	std::vector<std::string> Names;
	for (TFieldIterator<UFunction> It(UReflectionTestObject::StaticClass(), EFieldIterationFlags::None); It; ++It)
	{
		Names.push_back(Str(It->GetName()));
	}
	EXPECT_EQ(Names, (std::vector<std::string>{"Add", "Describe", "Append", "IsCountPositive", "OnArrived", "ComputeBonus", "Greet", "ReceiveItem", "ScoreTimesTwo"}));
}

TEST(HostCoreUObjectRegistration, EnumEntriesValuesAndMetadata)
{
	UEnum* Enum = StaticEnum<ETestLayout>();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(Str(Enum->GetPathName()), "/Script/HostUObjectTestTypes.ETestLayout");
	EXPECT_EQ(Enum->GetCppForm(), UEnum::ECppForm::EnumClass);
	// Three entries and the engine's _MAX.
	ASSERT_EQ(Enum->NumEnums(), 4);
	EXPECT_EQ(Str(Enum->GetNameByIndex(0)), "ETestLayout::Grid");
	EXPECT_EQ(Str(Enum->GetNameStringByIndex(1)), "Slots");
	EXPECT_EQ(Enum->GetValueByIndex(2), 5);
	EXPECT_EQ(Str(Enum->GetNameStringByIndex(3)), "ETestLayout_MAX");
	EXPECT_EQ(Enum->GetValueByIndex(3), 6);
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("Slots")), 1);
	EXPECT_EQ(Str(Enum->GetMetaData(TEXT("ToolTip"), 0)), "Cells of a grid.");
	EXPECT_EQ(Str(Enum->GetDisplayNameTextByValue(1).ToString()), "Flat slots");
	EXPECT_TRUE(Enum->HasMetaData(TEXT("Hidden"), 2));
	EXPECT_EQ(Str(Enum->GetToolTipText().ToString()), "How a test container lays out its items.");

	UEnum* Legacy = StaticEnum<ETestLegacy::Type>();
	ASSERT_NE(Legacy, nullptr);
	EXPECT_EQ(Legacy->GetCppForm(), UEnum::ECppForm::Namespaced);
	EXPECT_EQ(Legacy->GetValueByNameString(TEXT("Second")), 10);
}

TEST(HostCoreUObjectRegistration, DelegateSignatureBelongsToThePackage)
{
	UPackage* Package = UReflectionTestObject::StaticClass()->GetPackage();
	UFunction* Signature = FindObject<UFunction>(Package, TEXT("TestItemEvent__DelegateSignature"));
	ASSERT_NE(Signature, nullptr);
	EXPECT_TRUE(Signature->HasAllFunctionFlags(FUNC_Delegate | FUNC_MulticastDelegate | FUNC_Public));
	EXPECT_TRUE(Signature->IsA<UDelegateFunction>());
	EXPECT_NE(FindFProperty<FStructProperty>(Signature, TEXT("Item")), nullptr);
	EXPECT_NE(FindFProperty<FIntProperty>(Signature, TEXT("Code")), nullptr);
}

TEST(HostCoreUObjectRegistration, CoreStructsAreReflectedAsTheEngineReflectsThem)
{
	UScriptStruct* Vector = TBaseStructure<FVector2D>::Get();
	ASSERT_NE(Vector, nullptr);
	EXPECT_EQ(Str(Vector->GetPathName()), "/Script/CoreUObject.Vector2D");
	EXPECT_EQ(OwnPropertyNames(Vector), (std::vector<std::string>{"X", "Y"}));
	EXPECT_NE(CastField<FDoubleProperty>(FindFProperty<FProperty>(Vector, TEXT("X"))), nullptr);
	EXPECT_EQ(Vector->GetPropertiesSize(), (int32)sizeof(FVector2D));

	UScriptStruct* Color = TBaseStructure<FColor>::Get();
	EXPECT_EQ(OwnPropertyNames(Color), (std::vector<std::string>{"B", "G", "R", "A"}));
	FColor Value(10, 20, 30, 40);
	EXPECT_EQ(*FindFProperty<FByteProperty>(Color, TEXT("R"))->GetPropertyValuePtr_InContainer(&Value), 10);
	EXPECT_EQ(*FindFProperty<FByteProperty>(Color, TEXT("A"))->GetPropertyValuePtr_InContainer(&Value), 40);
	EXPECT_EQ(OwnPropertyNames(TBaseStructure<FLinearColor>::Get()), (std::vector<std::string>{"R", "G", "B", "A"}));
	EXPECT_EQ(OwnPropertyNames(TBaseStructure<FIntPoint>::Get()), (std::vector<std::string>{"X", "Y"}));
	EXPECT_EQ(OwnPropertyNames(TBaseStructure<FGuid>::Get()), (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST(HostCoreUObjectRegistration, StructsCopyAndCompareThroughReflection)
{
	UScriptStruct* Struct = FTestItem::StaticStruct();
	FTestItem A;
	A.InstanceId = TEXT("abc");
	A.Quantity = 4;
	FTestItem B;
	Struct->CopyScriptStruct(&B, &A);
	EXPECT_EQ(Str(B.InstanceId), "abc");
	EXPECT_EQ(B.Quantity, 4);
	EXPECT_TRUE(Struct->CompareScriptStruct(&A, &B, 0));
	B.Quantity = 5;
	EXPECT_FALSE(Struct->CompareScriptStruct(&A, &B, 0));
}

TEST(HostCoreUObjectRegistration, EnumValueLookupsTakeTheEngineFlags)
{
	UEnum* Enum = StaticEnum<ETestLayout>();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(Enum->GetValueByName(TEXT("ETestLayout::Slots")), 1);
	// Names ignore case; the string lookup honours CaseSensitive (an FName keeps one spelling per name).
	EXPECT_EQ(Enum->GetValueByName(TEXT("etestlayout::slots")), 1);
	EXPECT_EQ(Enum->GetValueByName(TEXT("ETestLayout::Slots"), EGetByNameFlags::CaseSensitive), 1);
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("slots"), EGetByNameFlags::CaseSensitive), INDEX_NONE);
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("Slots"), EGetByNameFlags::CaseSensitive), 1);
	EXPECT_EQ(Enum->GetValueByName(TEXT("ETestLayout::Missing"), EGetByNameFlags::ErrorIfNotFound), INDEX_NONE);
}

TEST(HostCoreUObjectRegistration, FunctionLookupsAndPropertyValuesTakeTheEngineForms)
{
	UClass* Class = UReflectionTestObject::StaticClass();
	UFunction* const Add = Class->FindFunctionByName(TEXT("Add"), EIncludeSuperFlag::ExcludeSuper);
	EXPECT_EQ(Add, Class->FindFunctionByName(TEXT("Add")));
	EXPECT_NE(Add, nullptr);

	// The value getter hands out the value in the container, not a copy.
	UReflectionTestObject* const Object = NewObject<UReflectionTestObject>();
	const FIntProperty* const Count = FindFProperty<FIntProperty>(Class, TEXT("Count"));
	ASSERT_NE(Count, nullptr);
	const int32& Value = Count->GetPropertyValue_InContainer(Object);
	EXPECT_EQ(&Value, &Object->Count);
	Object->Count = 11;
	EXPECT_EQ(Value, 11);
	// Every flag: true even for a question about flags the property lacks, as in the engine.
	EXPECT_TRUE(Count->HasAnyPropertyFlags(CPF_AllFlags));
	EXPECT_FALSE(Count->HasAllPropertyFlags(CPF_AllFlags));
}
