// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include <gtest/gtest.h>

DECLARE_DELEGATE_RetVal_TwoParams(int32, FHostTestBinary, int32, int32);
DECLARE_DELEGATE_OneParam(FHostTestOne, int32);
DECLARE_MULTICAST_DELEGATE_OneParam(FHostTestMulti, int32);
DECLARE_TS_MULTICAST_DELEGATE_OneParam(FHostTestTSMulti, int32);

namespace
{
	int32 Subtract(int32 A, int32 B)
	{
		return A - B;
	}

	int32 AddWithPayload(int32 A, int32 B, int32 Payload)
	{
		return A + B + Payload;
	}

	struct FListener : public TSharedFromThis<FListener>
	{
		int32 Sum = 0;
		int32 Calls = 0;
		void OnValue(int32 Value)
		{
			Sum += Value;
			++Calls;
		}
		void OnValueConst(int32 Value) const { ++ConstCalls; }
		int32 Scale(int32 A, int32 B) { return A * B; }
		mutable int32 ConstCalls = 0;
	};
}

TEST(HostCoreDelegate, SingleCastBindings)
{
	FHostTestBinary Delegate;
	EXPECT_FALSE(Delegate.IsBound());
	Delegate.BindStatic(&Subtract);
	EXPECT_EQ(Delegate.Execute(5, 3), 2);
	Delegate = FHostTestBinary::CreateStatic(&AddWithPayload, 10);
	EXPECT_EQ(Delegate.Execute(1, 2), 13);
	int32 Captured = 4;
	Delegate.BindLambda([Captured](int32 A, int32 B) { return A * Captured + B; });
	EXPECT_EQ(Delegate.Execute(2, 1), 9);
	FListener Listener;
	Delegate.BindRaw(&Listener, &FListener::Scale);
	EXPECT_EQ(Delegate.Execute(3, 4), 12);
	EXPECT_TRUE(Delegate.IsBoundToObject(&Listener));
	const FDelegateHandle Handle = Delegate.GetHandle();
	const FHostTestBinary Copy = Delegate;
	EXPECT_EQ(Copy.GetHandle(), Handle);
	Delegate.Unbind();
	EXPECT_FALSE(Delegate.IsBound());
	EXPECT_EQ(Copy.Execute(2, 2), 4);
}

TEST(HostCoreDelegate, ExecuteIfBoundSkipsDeadSharedPointers)
{
	FHostTestOne Delegate;
	EXPECT_FALSE(Delegate.ExecuteIfBound(1));
	TSharedPtr<FListener> Listener = MakeShared<FListener>();
	Delegate.BindSP(Listener.ToSharedRef(), &FListener::OnValue);
	EXPECT_TRUE(Delegate.ExecuteIfBound(5));
	EXPECT_EQ(Listener->Sum, 5);
	TWeakPtr<FListener> Weak = Listener;
	Listener.Reset();
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_FALSE(Delegate.IsBound());
	EXPECT_FALSE(Delegate.ExecuteIfBound(5));

	TSharedRef<FListener> Other = MakeShared<FListener>();
	int32 LambdaCalls = 0;
	Delegate.BindSPLambda(Other, [&LambdaCalls](int32) { ++LambdaCalls; });
	EXPECT_TRUE(Delegate.ExecuteIfBound(1));
	Delegate.BindSP(&Other.Get(), &FListener::OnValueConst);
	EXPECT_TRUE(Delegate.ExecuteIfBound(1));
	EXPECT_EQ(Other->ConstCalls, 1);
	EXPECT_EQ(LambdaCalls, 1);
}

TEST(HostCoreDelegate, MulticastCallsEveryBindingAndRemovesByHandleOrObject)
{
	FHostTestMulti Multi;
	EXPECT_FALSE(Multi.IsBound());
	TArray<int32> Order;
	const FDelegateHandle First = Multi.AddLambda([&Order](int32 V) { Order.Add(1); });
	Multi.AddLambda([&Order](int32 V) { Order.Add(2); });
	FListener Listener;
	Multi.AddRaw(&Listener, &FListener::OnValue);
	Multi.AddRaw(&Listener, &FListener::OnValue);
	Multi.Broadcast(3);
	// The engine broadcasts from the last binding added to the first.
	EXPECT_EQ(Order, (TArray<int32>{ 2, 1 }));
	EXPECT_EQ(Listener.Sum, 6);
	EXPECT_TRUE(Multi.Remove(First));
	EXPECT_FALSE(Multi.Remove(First));
	EXPECT_EQ(Multi.RemoveAll(&Listener), 2);
	Order.Reset();
	Multi.Broadcast(1);
	EXPECT_EQ(Order, (TArray<int32>{ 2 }));
	Multi.Clear();
	EXPECT_FALSE(Multi.IsBound());
}

TEST(HostCoreDelegate, RemovalSwapsTheLastBindingIntoTheHole)
{
	FHostTestMulti Multi;
	TArray<int32> Order;
	FDelegateHandle Handles[4];
	for (int32 Index = 0; Index < 4; ++Index)
	{
		Handles[Index] = Multi.AddLambda([&Order, Index](int32) { Order.Add(Index); });
	}
	Multi.Broadcast(0);
	EXPECT_EQ(Order, (TArray<int32>{ 3, 2, 1, 0 }));
	// Removing the second binding moves the last into its place: [0, 3, 2].
	Multi.Remove(Handles[1]);
	Order.Reset();
	Multi.Broadcast(0);
	EXPECT_EQ(Order, (TArray<int32>{ 2, 3, 0 }));
}

TEST(HostCoreDelegate, BroadcastSurvivesCalleesThatRemoveOrAdd)
{
	FHostTestMulti Multi;
	int32 Calls = 0;
	FDelegateHandle SelfHandle;
	FDelegateHandle OtherHandle;
	// Registered first, so called last: it was removed by the other binding and must not run.
	OtherHandle = Multi.AddLambda([&Calls](int32) { Calls += 100; });
	SelfHandle = Multi.AddLambda([&](int32)
	{
		++Calls;
		// Removing itself and another binding, and adding a new one, while broadcasting.
		Multi.Remove(SelfHandle);
		Multi.Remove(OtherHandle);
		Multi.AddLambda([&Calls](int32) { Calls += 10; });
	});
	Multi.Broadcast(0);
	EXPECT_EQ(Calls, 1);
	Multi.Broadcast(0);
	EXPECT_EQ(Calls, 11);
}

TEST(HostCoreDelegate, WeakSharedBindingIsSkippedOnceTheObjectIsGone)
{
	FHostTestMulti Multi;
	TSharedPtr<FListener> Alive = MakeShared<FListener>();
	TSharedPtr<FListener> Dying = MakeShared<FListener>();
	Multi.AddSP(Alive.ToSharedRef(), &FListener::OnValue);
	Multi.AddSP(Dying.ToSharedRef(), &FListener::OnValue);
	Dying.Reset();
	Multi.Broadcast(7);
	EXPECT_EQ(Alive->Calls, 1);
	EXPECT_TRUE(Multi.IsBound());
	Alive.Reset();
	EXPECT_FALSE(Multi.IsBound());
	Multi.Broadcast(7);
}

TEST(HostCoreDelegate, ThreadSafeMulticastAndSimpleDelegates)
{
	FHostTestTSMulti Multi;
	int32 Sum = 0;
	Multi.AddLambda([&Sum](int32 V) { Sum += V; });
	Multi.Broadcast(2);
	EXPECT_EQ(Sum, 2);
	FSimpleDelegate Simple = FSimpleDelegate::CreateLambda([&Sum]() { Sum = 0; });
	EXPECT_TRUE(Simple.ExecuteIfBound());
	EXPECT_EQ(Sum, 0);
	FSimpleMulticastDelegate SimpleMulti;
	SimpleMulti.Broadcast();
}

TEST(HostCoreDelegateDeathTest, ExecuteUnboundAborts)
{
	FHostTestBinary Delegate;
	EXPECT_DEATH(Delegate.Execute(1, 2), "unbound delegate");
}
