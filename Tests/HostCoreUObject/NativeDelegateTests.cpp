// Core's delegates bound to objects: they hold the object weakly and skip it once it is gone.
#include "TestSupport.h"
#include "Delegates/Delegate.h"
#include "UObject/GarbageCollection.h"

DECLARE_DELEGATE_RetVal_OneParam(int32, FTestNativeScore, int32);
DECLARE_MULTICAST_DELEGATE_TwoParams(FTestNativeItem, const FTestItem&, int32);

TEST(HostCoreUObjectNativeDelegates, BindUObjectCallsWhileTheObjectIsAlive)
{
	UReflectionTestObject* Target = NewObject<UReflectionTestObject>();
	FTestNativeScore Delegate;
	Delegate.BindUObject(Target, &UReflectionTestObject::ScoreTimesTwo);
	EXPECT_TRUE(Delegate.IsBound());
	EXPECT_TRUE(Delegate.IsBoundToObject(Target));
	EXPECT_EQ(Delegate.Execute(4), 8);
	Target->MarkAsGarbage();
	EXPECT_FALSE(Delegate.IsBound());
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_FALSE(Delegate.IsBound());
}

TEST(HostCoreUObjectNativeDelegates, AddUObjectSkipsCollectedObjects)
{
	UReflectionTestObject* Alive = NewObject<UReflectionTestObject>();
	Alive->AddToRoot();
	FTestNativeItem Event;
	Event.AddUObject(Alive, &UReflectionTestObject::ReceiveItem);
	Event.AddUObject(NewObject<UReflectionTestObject>(), &UReflectionTestObject::ReceiveItem);
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	FTestItem Item;
	Item.InstanceId = TEXT("broadcast");
	Event.Broadcast(Item, 4);
	EXPECT_EQ(Alive->ReceivedCount, 1);
	EXPECT_EQ(Alive->LastCode, 4);
	Event.RemoveAll(Alive);
	Event.Broadcast(Item, 5);
	EXPECT_EQ(Alive->ReceivedCount, 1);
	Alive->RemoveFromRoot();
}

TEST(HostCoreUObjectNativeDelegates, WeakLambdaStopsWithItsObject)
{
	UReflectionTestObject* Owner = NewObject<UReflectionTestObject>();
	int32 Calls = 0;
	FTestNativeScore Delegate;
	Delegate.BindWeakLambda(Owner, [&Calls](int32 Value) { ++Calls; return Value + 1; });
	EXPECT_EQ(Delegate.Execute(1), 2);
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_FALSE(Delegate.IsBound());
	EXPECT_EQ(Calls, 1);
}

TEST(HostCoreUObjectNativeDelegates, BindUFunctionCallsThroughReflection)
{
	UReflectionTestObject* Target = NewObject<UReflectionTestObject>();
	FTestNativeScore Delegate;
	Delegate.BindUFunction(Target, TEXT("ScoreTimesTwo"));
	EXPECT_TRUE(Delegate.IsBound());
	EXPECT_EQ(Delegate.Execute(5), 10);
	Target->MarkAsGarbage();
	EXPECT_FALSE(Delegate.IsBound());
}
