// Calls through reflection: ProcessEvent into native thunks, events, and a run-time subclass
// standing in for a Blueprint that implements them.
#include "TestSupport.h"
#include "Host/RuntimeTypes.h"

TEST(HostCoreUObjectReflectionCalls, ProcessEventCallsTheNativeFunction)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	Object->Count = 100;
	UFunction* Add = Object->FindFunctionChecked(TEXT("Add"));
	FParms Parms(Add);
	Parms.Get<int32>(TEXT("A")) = 5;
	Parms.Get<int32>(TEXT("B")) = 7;
	Object->ProcessEvent(Add, Parms.Data());
	EXPECT_EQ(Parms.Get<int32>(TEXT("ReturnValue")), 112);
}

TEST(HostCoreUObjectReflectionCalls, OutputsAndReferencesComeBackThroughTheParameters)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	UFunction* Describe = Object->FindFunctionChecked(TEXT("Describe"));
	FParms DescribeParms(Describe);
	FTestItem& Item = DescribeParms.Get<FTestItem>(TEXT("InItem"));
	Item.InstanceId = TEXT("id-1");
	Item.ItemId = TEXT("Sword");
	Item.Quantity = 3;
	Object->ProcessEvent(Describe, DescribeParms.Data());
	EXPECT_EQ(DescribeParms.Get<int32>(TEXT("OutQuantity")), 30);
	EXPECT_EQ(Str(DescribeParms.Get<FString>(TEXT("ReturnValue"))), "id-1/Sword");

	UFunction* Append = Object->FindFunctionChecked(TEXT("Append"));
	FParms AppendParms(Append);
	AppendParms.Get<TArray<FString>>(TEXT("Values")).Add(TEXT("first"));
	AppendParms.Get<FString>(TEXT("Value")) = TEXT("second");
	Object->ProcessEvent(Append, AppendParms.Data());
	const TArray<FString>& Values = AppendParms.Get<TArray<FString>>(TEXT("Values"));
	ASSERT_EQ(Values.Num(), 2);
	EXPECT_EQ(Str(Values[1]), "second");
}

TEST(HostCoreUObjectReflectionCalls, ConstFunctionsAndBoolResults)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	UFunction* Positive = Object->FindFunctionChecked(TEXT("IsCountPositive"));
	FParms Parms(Positive);
	Object->Count = -1;
	Object->ProcessEvent(Positive, Parms.Data());
	EXPECT_FALSE(Parms.Get<bool>(TEXT("ReturnValue")));
	Object->Count = 1;
	Object->ProcessEvent(Positive, Parms.Data());
	EXPECT_TRUE(Parms.Get<bool>(TEXT("ReturnValue")));
}

TEST(HostCoreUObjectReflectionCalls, EventsWithoutAnImplementationDoNothing)
{
	UReflectionTestObject* Object = NewObject<UReflectionTestObject>();
	FTestItem Item;
	Object->OnArrived(Item, 3);
	EXPECT_EQ(Object->ComputeBonus(4), 0);
	EXPECT_EQ(Str(Object->Greet(TEXT("Ann"))), "Hello Ann");
}

TEST(HostCoreUObjectReflectionCalls, RunTimeSubclassImplementsEvents)
{
	int32 ArrivedAmount = 0;
	FString ArrivedId;
	UClass* Blueprint = UE::Host::FBlueprintClassBuilder(UReflectionTestObject::StaticClass(), TEXT("BP_EventTest"))
		.OverrideEvent(TEXT("OnArrived"), [&ArrivedAmount, &ArrivedId](UObject* Self, void* Parms)
		{
			UFunction* Function = Self->FindFunctionChecked(TEXT("OnArrived"));
			ArrivedAmount = *FindFProperty<FIntProperty>(Function, TEXT("Amount"))->ContainerPtrToValuePtr<int32>(Parms);
			ArrivedId = FindFProperty<FStructProperty>(Function, TEXT("InItem"))->ContainerPtrToValuePtr<FTestItem>(Parms)->InstanceId;
		})
		.OverrideEvent(TEXT("ComputeBonus"), [](UObject* Self, void* Parms)
		{
			UFunction* Function = Self->FindFunctionChecked(TEXT("ComputeBonus"));
			const int32 Base = *FindFProperty<FIntProperty>(Function, TEXT("Base"))->ContainerPtrToValuePtr<int32>(Parms);
			*FindFProperty<FIntProperty>(Function, TEXT("ReturnValue"))->ContainerPtrToValuePtr<int32>(Parms) = Base + ((UReflectionTestObject*)Self)->Count;
		})
		.OverrideEvent(TEXT("Greet"), [](UObject* Self, void* Parms)
		{
			UFunction* Function = Self->FindFunctionChecked(TEXT("Greet"));
			const FString& Who = *FindFProperty<FStrProperty>(Function, TEXT("Who"))->ContainerPtrToValuePtr<FString>(Parms);
			*FindFProperty<FStrProperty>(Function, TEXT("ReturnValue"))->ContainerPtrToValuePtr<FString>(Parms) = TEXT("Hi ") + Who;
		})
		.Finish();
	ASSERT_NE(Blueprint, nullptr);
	EXPECT_EQ(Str(Blueprint->GetName()), "BP_EventTest_C");
	EXPECT_TRUE(Blueprint->IsChildOf(UReflectionTestObject::StaticClass()));
	EXPECT_FALSE(Blueprint->HasAnyClassFlags(CLASS_Native));

	UReflectionTestObject* Object = NewObject<UReflectionTestObject>(GetTransientPackage(), Blueprint);
	EXPECT_EQ(Object->GetClass(), Blueprint);
	EXPECT_EQ(Object->Count, 3);
	FTestItem Item;
	Item.InstanceId = TEXT("arrived");
	Object->OnArrived(Item, 5);
	EXPECT_EQ(ArrivedAmount, 5);
	EXPECT_EQ(Str(ArrivedId), "arrived");
	EXPECT_EQ(Object->ComputeBonus(10), 13);
	EXPECT_EQ(Str(Object->Greet(TEXT("Bo"))), "Hi Bo");

	// The native class itself is untouched.
	UReflectionTestObject* Native = NewObject<UReflectionTestObject>();
	EXPECT_EQ(Native->ComputeBonus(10), 0);
	EXPECT_EQ(Str(Native->Greet(TEXT("Bo"))), "Hello Bo");
	// Properties of the parent are found through the subclass.
	EXPECT_NE(FindFProperty<FIntProperty>(Blueprint, TEXT("Count")), nullptr);
	EXPECT_EQ(Blueprint->GetDefaultObject()->GetClass(), Blueprint);
}
