// Copyright Quarn. All Rights Reserved.

// The UObject delegate forms are templates over TWeakObjectPtr. This file stands in for
// CoreUObject with the smallest UObject and FWeakObjectPtr of the agreed interface, to prove the
// forms compile and skip bindings whose object is gone.

#include "CoreMinimal.h"
#include <gtest/gtest.h>
#include <set>

class UFunction
{
public:
	FName Name;
};

class UObject
{
public:
	virtual ~UObject() = default;
	static std::set<const UObject*>& Live()
	{
		static std::set<const UObject*> Objects;
		return Objects;
	}
	UObject() { Live().insert(this); }
	void Destroy() { Live().erase(this); }

	UFunction* FindFunctionChecked(FName InName)
	{
		Function.Name = InName;
		return &Function;
	}
	virtual void ProcessEvent(UFunction* InFunction, void* Parms)
	{
		LastFunction = InFunction->Name;
		LastParms = Parms;
		struct FParms
		{
			int32 Value;
			int32 Payload;
		};
		Received = ((FParms*)Parms)->Value + ((FParms*)Parms)->Payload;
	}

	UFunction Function;
	FName LastFunction;
	void* LastParms = nullptr;
	int32 Received = 0;
};

struct FWeakObjectPtr
{
	FWeakObjectPtr() = default;
	FWeakObjectPtr(const UObject* InObject) : Object(InObject) {}
	FWeakObjectPtr& operator=(const UObject* InObject)
	{
		Object = InObject;
		return *this;
	}
	UObject* Get() const { return IsValid() ? const_cast<UObject*>(Object) : nullptr; }
	UObject* Get(bool bEvenIfPendingKill) const { return Get(); }
	bool IsValid() const { return Object && UObject::Live().count(Object) != 0; }
	bool IsValid(bool bEvenIfPendingKill, bool bThreadsafeTest) const { return IsValid(); }
	bool IsStale(bool bIncludingIfPendingKill = true, bool bThreadsafeTest = false) const { return Object && !IsValid(); }
	void Reset() { Object = nullptr; }
	bool operator==(const FWeakObjectPtr& Other) const { return Object == Other.Object; }
	friend uint32 GetTypeHash(const FWeakObjectPtr& Ptr) { return GetTypeHash(Ptr.Object); }

	const UObject* Object = nullptr;
};

namespace
{
	class UListener : public UObject
	{
	public:
		void OnValue(int32 Value) { Sum += Value; }
		int32 Sum = 0;
	};
}

DECLARE_MULTICAST_DELEGATE_OneParam(FHostTestObjectMulti, int32);
DECLARE_DELEGATE_OneParam(FHostTestObjectOne, int32);

TEST(HostCoreDelegate, UObjectFormsSkipDestroyedObjects)
{
	UListener Alive;
	UListener Dying;
	FHostTestObjectMulti Multi;
	Multi.AddUObject(&Alive, &UListener::OnValue);
	Multi.AddUObject(&Dying, &UListener::OnValue);
	int32 WeakLambdaCalls = 0;
	Multi.AddWeakLambda(&Dying, [&WeakLambdaCalls](int32) { ++WeakLambdaCalls; });
	Dying.Destroy();
	Multi.Broadcast(4);
	EXPECT_EQ(Alive.Sum, 4);
	EXPECT_EQ(Dying.Sum, 0);
	EXPECT_EQ(WeakLambdaCalls, 0);
	EXPECT_EQ(Multi.RemoveAll(&Alive), 1);

	TWeakObjectPtr<UListener> Weak(&Alive);
	EXPECT_TRUE(Weak.IsValid());
	EXPECT_EQ(Weak.Get(), &Alive);
	EXPECT_TRUE(Weak == &Alive);
	static_assert(!std::is_constructible_v<bool, TWeakObjectPtr<UListener>>, "TWeakObjectPtr has no bool conversion");
}

TEST(HostCoreDelegate, UFunctionFormPacksParametersForProcessEvent)
{
	UListener Target;
	FHostTestObjectOne Delegate;
	Delegate.BindUFunction(&Target, FName(TEXT("OnValueReflected")), 100);
	EXPECT_TRUE(Delegate.IsBound());
	EXPECT_TRUE(Delegate.ExecuteIfBound(5));
	EXPECT_TRUE(Target.LastFunction == TEXT("OnValueReflected"));
	EXPECT_EQ(Target.Received, 105);
	EXPECT_TRUE(Delegate.TryGetBoundFunctionName() == TEXT("OnValueReflected"));
	Target.Destroy();
	EXPECT_FALSE(Delegate.ExecuteIfBound(5));
}
