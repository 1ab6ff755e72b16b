// Dynamic delegates: binding by reflected function name, broadcasting through ProcessEvent, and
// bindings whose object is gone.
#include "TestSupport.h"
#include "UObject/GarbageCollection.h"

namespace
{
	FTestItem MakeItem(const TCHAR* Id)
	{
		FTestItem Item;
		Item.InstanceId = Id;
		return Item;
	}
}

TEST(HostCoreUObjectDynamicDelegates, BroadcastCallsEveryBoundFunction)
{
	UReflectionTestObject* Source = NewObject<UReflectionTestObject>();
	UReflectionTestObject* First = NewObject<UReflectionTestObject>();
	UReflectionTestObject* Second = NewObject<UReflectionTestObject>();
	EXPECT_FALSE(Source->OnItem.IsBound());
	Source->OnItem.AddDynamic(First, &UReflectionTestObject::ReceiveItem);
	Source->OnItem.AddDynamic(Second, &UReflectionTestObject::ReceiveItem);
	EXPECT_TRUE(Source->OnItem.IsBound());
	Source->OnItem.Broadcast(MakeItem(TEXT("stack-1")), 7);
	EXPECT_EQ(First->ReceivedCount, 1);
	EXPECT_EQ(Second->ReceivedCount, 1);
	EXPECT_EQ(First->LastCode, 7);
	EXPECT_EQ(Str(Second->LastInstanceId), "stack-1");
}

TEST(HostCoreUObjectDynamicDelegates, UniqueAddRemoveAndQuery)
{
	UReflectionTestObject* Source = NewObject<UReflectionTestObject>();
	UReflectionTestObject* Target = NewObject<UReflectionTestObject>();
	Source->OnItem.AddUniqueDynamic(Target, &UReflectionTestObject::ReceiveItem);
	Source->OnItem.AddUniqueDynamic(Target, &UReflectionTestObject::ReceiveItem);
	EXPECT_TRUE(Source->OnItem.IsAlreadyBound(Target, &UReflectionTestObject::ReceiveItem));
	Source->OnItem.Broadcast(MakeItem(TEXT("a")), 1);
	EXPECT_EQ(Target->ReceivedCount, 1);
	Source->OnItem.RemoveDynamic(Target, &UReflectionTestObject::ReceiveItem);
	EXPECT_FALSE(Source->OnItem.IsAlreadyBound(Target, &UReflectionTestObject::ReceiveItem));
	EXPECT_FALSE(Source->OnItem.IsBound());
	Source->OnItem.Broadcast(MakeItem(TEXT("b")), 2);
	EXPECT_EQ(Target->ReceivedCount, 1);

	Source->OnItem.AddDynamic(Target, &UReflectionTestObject::ReceiveItem);
	Source->OnItem.RemoveAll(Target);
	EXPECT_FALSE(Source->OnItem.IsBound());
	Source->OnItem.AddDynamic(Target, &UReflectionTestObject::ReceiveItem);
	Source->OnItem.Clear();
	EXPECT_FALSE(Source->OnItem.IsBound());
}

TEST(HostCoreUObjectDynamicDelegates, BindingsToCollectedOrGarbageObjectsAreSkipped)
{
	UReflectionTestObject* Source = NewObject<UReflectionTestObject>();
	Source->AddToRoot();
	UReflectionTestObject* Garbage = NewObject<UReflectionTestObject>();
	Garbage->AddToRoot();
	UReflectionTestObject* Alive = NewObject<UReflectionTestObject>();
	Alive->AddToRoot();
	Source->OnItem.AddDynamic(NewObject<UReflectionTestObject>(), &UReflectionTestObject::ReceiveItem);
	Source->OnItem.AddDynamic(Garbage, &UReflectionTestObject::ReceiveItem);
	Source->OnItem.AddDynamic(Alive, &UReflectionTestObject::ReceiveItem);
	// The delegate holds its objects weakly: the first target is collected.
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	Garbage->RemoveFromRoot();
	Garbage->MarkAsGarbage();
	Source->OnItem.Broadcast(MakeItem(TEXT("x")), 3);
	EXPECT_EQ(Garbage->ReceivedCount, 0);
	EXPECT_EQ(Alive->ReceivedCount, 1);
	Source->RemoveFromRoot();
	Alive->RemoveFromRoot();
}

TEST(HostCoreUObjectDynamicDelegates, SingleCastDelegateReturnsTheValue)
{
	UReflectionTestObject* Source = NewObject<UReflectionTestObject>();
	UReflectionTestObject* Target = NewObject<UReflectionTestObject>();
	EXPECT_FALSE(Source->Score.IsBound());
	Source->Score.BindDynamic(Target, &UReflectionTestObject::ScoreTimesTwo);
	EXPECT_TRUE(Source->Score.IsBound());
	EXPECT_TRUE(Source->Score.IsBoundToObject(Target));
	EXPECT_EQ(Source->Score.Execute(21), 42);
	EXPECT_EQ(Str(Source->Score.GetFunctionName()), "ScoreTimesTwo");
	Source->Score.Unbind();
	EXPECT_FALSE(Source->Score.IsBound());
}

TEST(HostCoreUObjectDynamicDelegates, ReflectionSeesTheBindings)
{
	UReflectionTestObject* Source = NewObject<UReflectionTestObject>();
	UReflectionTestObject* Target = NewObject<UReflectionTestObject>();
	FMulticastDelegateProperty* Property = FindFProperty<FMulticastDelegateProperty>(Source->GetClass(), TEXT("OnItem"));
	FScriptDelegate Binding;
	Binding.BindUFunction(Target, TEXT("ReceiveItem"));
	Property->AddDelegate(Binding, Source);
	EXPECT_TRUE(Source->OnItem.IsAlreadyBound(Target, &UReflectionTestObject::ReceiveItem));
	const FMulticastScriptDelegate* Delegate = Property->GetMulticastDelegate(Property->ContainerPtrToValuePtr<void>(Source));
	EXPECT_TRUE(Delegate->IsBound());
	Property->ClearDelegate(Source);
	EXPECT_FALSE(Source->OnItem.IsBound());
}
