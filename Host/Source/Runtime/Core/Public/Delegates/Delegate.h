// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Containers/Array.h"
#include "Delegates/IDelegateInstance.h"
#include "Delegates/DelegateInstancesImpl.h"
#include "Math/UnrealMathUtility.h"
#include <mutex>

// Single-cast (TDelegate) and multicast (TMulticastDelegate) delegates. The thread-safe variants
// guard their state with a lock.

struct FDefaultDelegateUserPolicy
{
	static constexpr bool bThreadSafe = false;
};

struct FDefaultTSDelegateUserPolicy
{
	static constexpr bool bThreadSafe = true;
};

namespace UE::Delegates::Private
{
	template <bool bThreadSafe>
	struct TDelegateLock
	{
		void Lock() const {}
		void Unlock() const {}
	};

	template <>
	struct TDelegateLock<true>
	{
		TDelegateLock() = default;
		TDelegateLock(const TDelegateLock&) {}
		TDelegateLock& operator=(const TDelegateLock&) { return *this; }
		void Lock() const { Mutex.lock(); }
		void Unlock() const { Mutex.unlock(); }
		mutable std::recursive_mutex Mutex;
	};

	template <typename LockType>
	struct TScopedDelegateLock
	{
		explicit TScopedDelegateLock(const LockType& InLock) : Lock(InLock) { Lock.Lock(); }
		~TScopedDelegateLock() { Lock.Unlock(); }
		const LockType& Lock;
	};
} // namespace UE::Delegates::Private

template <typename DelegateSignature, typename UserPolicy = FDefaultDelegateUserPolicy>
class TDelegate;

template <typename DelegateSignature, typename UserPolicy = FDefaultDelegateUserPolicy>
class TMulticastDelegate;

template <typename InRetValType, typename... ParamTypes, typename UserPolicy>
class TDelegate<InRetValType(ParamTypes...), UserPolicy>
{
	using FuncType = InRetValType(ParamTypes...);
	using FInstance = TBaseDelegateInstance<FuncType>;
	using FLock = UE::Delegates::Private::TDelegateLock<UserPolicy::bThreadSafe>;
	using FScopeLock = UE::Delegates::Private::TScopedDelegateLock<FLock>;

	template <typename, typename>
	friend class TMulticastDelegate;

public:
	using RetValType = InRetValType;
	using TFuncType = FuncType;

	template <typename... VarTypes>
	using TMethodPtr = void;

	TDelegate() : Instance(nullptr) {}
	TDelegate(TYPE_OF_NULLPTR) : Instance(nullptr) {}
	TDelegate(const TDelegate& Other) : Instance(nullptr) { *this = Other; }
	TDelegate(TDelegate&& Other) : Instance(nullptr) { *this = MoveTemp(Other); }
	~TDelegate() { Unbind(); }

	TDelegate& operator=(const TDelegate& Other)
	{
		if (this != &Other)
		{
			FInstance* Copy;
			{
				FScopeLock OtherLock(Other.Lock);
				Copy = Other.Instance ? Other.Instance->Clone() : nullptr;
			}
			FScopeLock ThisLock(Lock);
			delete Instance;
			Instance = Copy;
		}
		return *this;
	}

	TDelegate& operator=(TDelegate&& Other)
	{
		if (this != &Other)
		{
			FInstance* Taken;
			{
				FScopeLock OtherLock(Other.Lock);
				Taken = Other.Instance;
				Other.Instance = nullptr;
			}
			FScopeLock ThisLock(Lock);
			delete Instance;
			Instance = Taken;
		}
		return *this;
	}

	template <typename... VarTypes>
	[[nodiscard]] static TDelegate CreateStatic(typename TIdentity<InRetValType (*)(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return TDelegate(new TBaseStaticDelegateInstance<FuncType, std::decay_t<VarTypes>...>(InFunc, Forward<VarTypes>(Vars)...));
	}

	template <typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateLambda(FunctorType&& InFunctor, VarTypes&&... Vars)
	{
		return TDelegate(new TBaseFunctorDelegateInstance<FuncType, std::remove_reference_t<FunctorType>, std::decay_t<VarTypes>...>(Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...));
	}

	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateRaw(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		static_assert(!std::is_const_v<UserClass>, "Attempting to bind a delegate with a const object pointer and non-const member function.");
		return TDelegate(new TBaseRawMethodDelegateInstance<false, UserClass, FuncType, std::decay_t<VarTypes>...>(InUserObject, InFunc, Forward<VarTypes>(Vars)...));
	}
	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateRaw(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return TDelegate(new TBaseRawMethodDelegateInstance<true, const UserClass, FuncType, std::decay_t<VarTypes>...>(InUserObject, InFunc, Forward<VarTypes>(Vars)...));
	}

	template <typename UserClass, ESPMode Mode, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(const TSharedRef<UserClass, Mode>& InUserObjectRef, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		static_assert(!std::is_const_v<UserClass>, "Attempting to bind a delegate with a const object pointer and non-const member function.");
		return TDelegate(new TBaseSPMethodDelegateInstance<false, UserClass, Mode, FuncType, std::decay_t<VarTypes>...>(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...));
	}
	template <typename UserClass, ESPMode Mode, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(const TSharedRef<UserClass, Mode>& InUserObjectRef, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return TDelegate(new TBaseSPMethodDelegateInstance<true, const UserClass, Mode, FuncType, std::decay_t<VarTypes>...>(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...));
	}
	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return CreateSP(StaticCastSharedRef<UserClass>(InUserObject->AsShared()), InFunc, Forward<VarTypes>(Vars)...);
	}
	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSP(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return CreateSP(StaticCastSharedRef<const UserClass>(InUserObject->AsShared()), InFunc, Forward<VarTypes>(Vars)...);
	}

	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateThreadSafeSP(const TSharedRef<UserClass, ESPMode::ThreadSafe>& InUserObjectRef, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...);
	}
	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateThreadSafeSP(const TSharedRef<UserClass, ESPMode::ThreadSafe>& InUserObjectRef, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...);
	}
	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateThreadSafeSP(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return CreateSP(InUserObject, InFunc, Forward<VarTypes>(Vars)...);
	}

	template <typename UserClass, ESPMode Mode, typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSPLambda(const TSharedRef<UserClass, Mode>& InUserObjectRef, FunctorType&& InFunctor, VarTypes&&... Vars)
	{
		return TDelegate(new TBaseSPLambdaDelegateInstance<UserClass, Mode, FuncType, std::remove_reference_t<FunctorType>, std::decay_t<VarTypes>...>(InUserObjectRef, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...));
	}
	template <typename UserClass, typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateSPLambda(UserClass* InUserObject, FunctorType&& InFunctor, VarTypes&&... Vars)
	{
		return CreateSPLambda(StaticCastSharedRef<UserClass>(InUserObject->AsShared()), Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...);
	}

	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateUObject(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		static_assert(!std::is_const_v<UserClass>, "Attempting to bind a delegate with a const object pointer and non-const member function.");
		return TDelegate(new TBaseUObjectMethodDelegateInstance<false, UserClass, FuncType, std::decay_t<VarTypes>...>(InUserObject, InFunc, Forward<VarTypes>(Vars)...));
	}
	template <typename UserClass, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateUObject(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars)
	{
		return TDelegate(new TBaseUObjectMethodDelegateInstance<true, const UserClass, FuncType, std::decay_t<VarTypes>...>(InUserObject, InFunc, Forward<VarTypes>(Vars)...));
	}

	template <typename UserClass, typename FunctorType, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateWeakLambda(UserClass* InUserObject, FunctorType&& InFunctor, VarTypes&&... Vars)
	{
		return TDelegate(new TWeakBaseFunctorDelegateInstance<UserClass, FuncType, std::remove_reference_t<FunctorType>, std::decay_t<VarTypes>...>(InUserObject, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...));
	}

	template <typename UObjectTemplate, typename... VarTypes>
	[[nodiscard]] static TDelegate CreateUFunction(UObjectTemplate* InUserObject, const FName& InFunctionName, VarTypes&&... Vars)
	{
		return TDelegate(new TBaseUFunctionDelegateInstance<UObjectTemplate, FuncType, std::decay_t<VarTypes>...>(InUserObject, InFunctionName, Forward<VarTypes>(Vars)...));
	}

	template <typename... VarTypes>
	void BindStatic(typename TIdentity<InRetValType (*)(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateStatic(InFunc, Forward<VarTypes>(Vars)...); }
	template <typename FunctorType, typename... VarTypes>
	void BindLambda(FunctorType&& InFunctor, VarTypes&&... Vars) { *this = CreateLambda(Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindRaw(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateRaw(InUserObject, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindRaw(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateRaw(InUserObject, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, ESPMode Mode, typename... VarTypes>
	void BindSP(const TSharedRef<UserClass, Mode>& InUserObjectRef, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, ESPMode Mode, typename... VarTypes>
	void BindSP(const TSharedRef<UserClass, Mode>& InUserObjectRef, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindSP(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateSP(InUserObject, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindSP(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateSP(InUserObject, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindThreadSafeSP(const TSharedRef<UserClass, ESPMode::ThreadSafe>& InUserObjectRef, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindThreadSafeSP(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateSP(InUserObject, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, ESPMode Mode, typename FunctorType, typename... VarTypes>
	void BindSPLambda(const TSharedRef<UserClass, Mode>& InUserObjectRef, FunctorType&& InFunctor, VarTypes&&... Vars) { *this = CreateSPLambda(InUserObjectRef, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename FunctorType, typename... VarTypes>
	void BindSPLambda(UserClass* InUserObject, FunctorType&& InFunctor, VarTypes&&... Vars) { *this = CreateSPLambda(InUserObject, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindUObject(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateUObject(InUserObject, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename... VarTypes>
	void BindUObject(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, InRetValType(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { *this = CreateUObject(InUserObject, InFunc, Forward<VarTypes>(Vars)...); }
	template <typename UserClass, typename FunctorType, typename... VarTypes>
	void BindWeakLambda(UserClass* InUserObject, FunctorType&& InFunctor, VarTypes&&... Vars) { *this = CreateWeakLambda(InUserObject, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...); }
	template <typename UObjectTemplate, typename... VarTypes>
	void BindUFunction(UObjectTemplate* InUserObject, const FName& InFunctionName, VarTypes&&... Vars) { *this = CreateUFunction(InUserObject, InFunctionName, Forward<VarTypes>(Vars)...); }

	// Calls the binding; it must be bound (check).
	FORCEINLINE RetValType Execute(ParamTypes... Params) const
	{
		FScopeLock ScopeLock(Lock);
		checkf(Instance != nullptr && Instance->IsSafeToExecute(), TEXT("Execute called on an unbound delegate (or one whose object is gone). Use ExecuteIfBound or check IsBound first."));
		return Instance->Execute(Forward<ParamTypes>(Params)...);
	}

	// Calls the binding if it is bound and its object is alive; returns whether it ran.
	template <typename DummyRetValType = RetValType, std::enable_if_t<std::is_void_v<DummyRetValType>>* = nullptr>
	FORCEINLINE bool ExecuteIfBound(ParamTypes... Params) const
	{
		FScopeLock ScopeLock(Lock);
		if (Instance && Instance->IsSafeToExecute())
		{
			Instance->Execute(Forward<ParamTypes>(Params)...);
			return true;
		}
		return false;
	}

	FORCEINLINE bool IsBound() const
	{
		FScopeLock ScopeLock(Lock);
		return Instance && Instance->IsSafeToExecute();
	}

	FORCEINLINE bool IsBoundToObject(const void* InUserObject) const
	{
		FScopeLock ScopeLock(Lock);
		return InUserObject && Instance && Instance->HasSameObject(InUserObject);
	}

	FORCEINLINE bool IsCompactable() const
	{
		FScopeLock ScopeLock(Lock);
		return !Instance || Instance->IsCompactable();
	}

	void Unbind()
	{
		FInstance* Old;
		{
			FScopeLock ScopeLock(Lock);
			Old = Instance;
			Instance = nullptr;
		}
		delete Old;
	}

	FDelegateHandle GetHandle() const
	{
		FScopeLock ScopeLock(Lock);
		return Instance ? Instance->GetHandle() : FDelegateHandle();
	}

	UObject* GetUObject() const
	{
		FScopeLock ScopeLock(Lock);
		return Instance ? Instance->GetUObject() : nullptr;
	}

	FName TryGetBoundFunctionName() const
	{
		FScopeLock ScopeLock(Lock);
		return Instance ? Instance->TryGetBoundFunctionName() : NAME_None;
	}

	const void* GetObjectForTimerManager() const
	{
		FScopeLock ScopeLock(Lock);
		return Instance ? Instance->GetObjectForTimerManager() : nullptr;
	}

	IDelegateInstance* GetDelegateInstanceProtected() const { return Instance; }

private:
	explicit TDelegate(FInstance* InInstance) : Instance(InInstance) {}

	FInstance* Instance;
	FLock Lock;
};

template <typename... ParamTypes, typename UserPolicy>
class TMulticastDelegate<void(ParamTypes...), UserPolicy>
{
	using FLock = UE::Delegates::Private::TDelegateLock<UserPolicy::bThreadSafe>;
	using FScopeLock = UE::Delegates::Private::TScopedDelegateLock<FLock>;

public:
	using FDelegate = TDelegate<void(ParamTypes...), UserPolicy>;
	using InvocationListType = TArray<FDelegate>;

	TMulticastDelegate() = default;
	TMulticastDelegate(const TMulticastDelegate& Other) { *this = Other; }
	TMulticastDelegate& operator=(const TMulticastDelegate& Other)
	{
		if (this != &Other)
		{
			InvocationListType Copy;
			{
				FScopeLock OtherLock(Other.Lock);
				for (const FDelegate& Delegate : Other.InvocationList)
				{
					if (Delegate.Instance && !Delegate.Instance->bPendingRemoval)
					{
						Copy.Add(Delegate);
					}
				}
			}
			FScopeLock ThisLock(Lock);
			InvocationList = MoveTemp(Copy);
		}
		return *this;
	}
	~TMulticastDelegate() = default;

	FDelegateHandle Add(FDelegate&& InNewDelegate)
	{
		FScopeLock ScopeLock(Lock);
		FDelegateHandle Result;
		if (InNewDelegate.Instance)
		{
			// Compaction on add obeys a threshold that decays, as the engine's does.
			CompactInvocationList(true);
			Result = InNewDelegate.GetHandle();
			InvocationList.Add(MoveTemp(InNewDelegate));
		}
		return Result;
	}
	FDelegateHandle Add(const FDelegate& InNewDelegate) { return Add(FDelegate(InNewDelegate)); }

	template <typename... VarTypes>
	FDelegateHandle AddStatic(typename TIdentity<void (*)(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateStatic(InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename FunctorType, typename... VarTypes>
	FDelegateHandle AddLambda(FunctorType&& InFunctor, VarTypes&&... Vars) { return Add(FDelegate::CreateLambda(Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddRaw(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateRaw(InUserObject, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddRaw(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateRaw(InUserObject, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, ESPMode Mode, typename... VarTypes>
	FDelegateHandle AddSP(const TSharedRef<UserClass, Mode>& InUserObjectRef, typename TMemFunPtrType<false, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, ESPMode Mode, typename... VarTypes>
	FDelegateHandle AddSP(const TSharedRef<UserClass, Mode>& InUserObjectRef, typename TMemFunPtrType<true, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddSP(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateSP(InUserObject, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddSP(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateSP(InUserObject, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddThreadSafeSP(const TSharedRef<UserClass, ESPMode::ThreadSafe>& InUserObjectRef, typename TMemFunPtrType<false, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateSP(InUserObjectRef, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddThreadSafeSP(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateSP(InUserObject, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, ESPMode Mode, typename FunctorType, typename... VarTypes>
	FDelegateHandle AddSPLambda(const TSharedRef<UserClass, Mode>& InUserObjectRef, FunctorType&& InFunctor, VarTypes&&... Vars) { return Add(FDelegate::CreateSPLambda(InUserObjectRef, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename FunctorType, typename... VarTypes>
	FDelegateHandle AddSPLambda(UserClass* InUserObject, FunctorType&& InFunctor, VarTypes&&... Vars) { return Add(FDelegate::CreateSPLambda(InUserObject, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddUObject(UserClass* InUserObject, typename TMemFunPtrType<false, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateUObject(InUserObject, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename... VarTypes>
	FDelegateHandle AddUObject(const UserClass* InUserObject, typename TMemFunPtrType<true, UserClass, void(ParamTypes..., std::decay_t<VarTypes>...)>::Type InFunc, VarTypes&&... Vars) { return Add(FDelegate::CreateUObject(InUserObject, InFunc, Forward<VarTypes>(Vars)...)); }
	template <typename UserClass, typename FunctorType, typename... VarTypes>
	FDelegateHandle AddWeakLambda(UserClass* InUserObject, FunctorType&& InFunctor, VarTypes&&... Vars) { return Add(FDelegate::CreateWeakLambda(InUserObject, Forward<FunctorType>(InFunctor), Forward<VarTypes>(Vars)...)); }
	template <typename UObjectTemplate, typename... VarTypes>
	FDelegateHandle AddUFunction(UObjectTemplate* InUserObject, const FName& InFunctionName, VarTypes&&... Vars) { return Add(FDelegate::CreateUFunction(InUserObject, InFunctionName, Forward<VarTypes>(Vars)...)); }

	// Removes the binding with this handle; safe while broadcasting.
	bool Remove(FDelegateHandle Handle)
	{
		FScopeLock ScopeLock(Lock);
		if (!Handle.IsValid())
		{
			return false;
		}
		for (int32 Index = 0; Index < InvocationList.Num(); ++Index)
		{
			FDelegate& Delegate = InvocationList[Index];
			if (Delegate.Instance && !Delegate.Instance->bPendingRemoval && Delegate.Instance->GetHandle() == Handle)
			{
				MarkRemoved(Index);
				CompactInvocationList(false);
				return true;
			}
		}
		return false;
	}

	// Removes every binding to an object; returns how many.
	int32 RemoveAll(const void* InUserObject)
	{
		FScopeLock ScopeLock(Lock);
		int32 Removed = 0;
		if (!InUserObject)
		{
			return 0;
		}
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			FDelegate& Delegate = InvocationList[Index];
			if (Delegate.Instance && !Delegate.Instance->bPendingRemoval && Delegate.Instance->HasSameObject(InUserObject))
			{
				MarkRemoved(Index);
				++Removed;
			}
		}
		CompactInvocationList(false);
		return Removed;
	}

	void Clear()
	{
		FScopeLock ScopeLock(Lock);
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			if (InvocationList[Index].Instance && !InvocationList[Index].Instance->bPendingRemoval)
			{
				MarkRemoved(Index);
			}
		}
		CompactInvocationList(false);
	}

	bool IsBound() const
	{
		FScopeLock ScopeLock(Lock);
		for (const FDelegate& Delegate : InvocationList)
		{
			if (Delegate.Instance && !Delegate.Instance->bPendingRemoval && Delegate.Instance->IsSafeToExecute())
			{
				return true;
			}
		}
		return false;
	}

	bool IsBoundToObject(const void* InUserObject) const
	{
		FScopeLock ScopeLock(Lock);
		for (const FDelegate& Delegate : InvocationList)
		{
			if (Delegate.Instance && !Delegate.Instance->bPendingRemoval && Delegate.Instance->HasSameObject(InUserObject))
			{
				return true;
			}
		}
		return false;
	}

	// Calls every live binding, last added first (the engine's order). Bindings added during the
	// broadcast wait for the next one; bindings removed during it are skipped and destroyed after.
	void Broadcast(ParamTypes... Params) const
	{
		TMulticastDelegate* MutableThis = const_cast<TMulticastDelegate*>(this);
		FScopeLock ScopeLock(Lock);
		bool bNeedsCompaction = false;
		++MutableThis->LockCount;
		for (int32 Index = InvocationList.Num() - 1; Index >= 0; --Index)
		{
			TBaseDelegateInstance<void(ParamTypes...)>* Instance = InvocationList[Index].Instance;
			if (Instance && !Instance->bPendingRemoval && Instance->IsSafeToExecute())
			{
				Instance->Execute(Params...);
			}
			else
			{
				bNeedsCompaction = true;
			}
		}
		--MutableThis->LockCount;
		if (bNeedsCompaction || bHasPendingRemovals)
		{
			MutableThis->CompactInvocationList(false);
		}
	}

	SIZE_T GetAllocatedSize() const { return InvocationList.GetAllocatedSize(); }

protected:
	const InvocationListType& GetInvocationList() const { return InvocationList; }

private:
	// A removed binding stops running at once; its slot goes at the next compaction.
	void MarkRemoved(int32 Index)
	{
		InvocationList[Index].Instance->bPendingRemoval = true;
		bHasPendingRemovals = true;
	}

	// Drops removed and expired bindings by swapping the last binding into each hole, as the
	// engine does (so call order changes after a removal). Never while a broadcast runs.
	void CompactInvocationList(bool bCheckThreshold)
	{
		if (LockCount > 0)
		{
			return;
		}
		if (bCheckThreshold && --CompactionThreshold > InvocationList.Num())
		{
			return;
		}
		const int32 OldNumItems = InvocationList.Num();
		for (int32 Index = 0; Index < InvocationList.Num();)
		{
			const FDelegate& Delegate = InvocationList[Index];
			if (!Delegate.Instance || Delegate.Instance->bPendingRemoval || Delegate.Instance->IsCompactable())
			{
				InvocationList.RemoveAtSwap(Index, 1, EAllowShrinking::No);
			}
			else
			{
				++Index;
			}
		}
		bHasPendingRemovals = false;
		CompactionThreshold = FMath::Max(DefaultCompactionThreshold, 2 * InvocationList.Num());
		if (OldNumItems > CompactionThreshold)
		{
			InvocationList.Shrink();
		}
	}

	static constexpr int32 DefaultCompactionThreshold = 2;

	InvocationListType InvocationList;
	int32 LockCount = 0;
	int32 CompactionThreshold = DefaultCompactionThreshold;
	bool bHasPendingRemovals = false;
	FLock Lock;
};

template <typename FuncType>
using TTSDelegate = TDelegate<FuncType, FDefaultTSDelegateUserPolicy>;
template <typename FuncType>
using TTSMulticastDelegate = TMulticastDelegate<FuncType, FDefaultTSDelegateUserPolicy>;

#include "Delegates/DelegateCombinations.h"
