// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Delegates/IDelegateInstance.h"
#include "Templates/Tuple.h"
#include "Templates/SharedPointer.h"
#include "UObject/WeakObjectPtrTemplates.h"

class UFunction;

// The bindings a delegate can hold. Each lives on the heap, so a delegate stays valid to move
// while one of its bindings runs.

template <bool bConst, typename Class, typename FuncType>
struct TMemFunPtrType;
template <typename Class, typename Ret, typename... Args>
struct TMemFunPtrType<false, Class, Ret(Args...)>
{
	typedef Ret (Class::*Type)(Args...);
};
template <typename Class, typename Ret, typename... Args>
struct TMemFunPtrType<true, Class, Ret(Args...)>
{
	typedef Ret (Class::*Type)(Args...) const;
};

template <typename FuncType>
class TBaseDelegateInstance;

template <typename Ret, typename... ParamTypes>
class TBaseDelegateInstance<Ret(ParamTypes...)> : public IDelegateInstance
{
public:
	TBaseDelegateInstance() : Handle(FDelegateHandle::GenerateNewHandle) {}

	virtual Ret Execute(ParamTypes... Params) const = 0;
	virtual TBaseDelegateInstance* Clone() const = 0;
	virtual FDelegateHandle GetHandle() const override { return Handle; }
	virtual UObject* GetUObject() const override { return nullptr; }
	virtual const void* GetObjectForTimerManager() const override { return nullptr; }
	virtual bool HasSameObject(const void* InUserObject) const override { return false; }
	virtual bool IsSafeToExecute() const override { return true; }

	// A removed binding waits to be destroyed until no broadcast is running it.
	bool bPendingRemoval = false;

protected:
	FDelegateHandle Handle;
};

namespace UE::Delegates::Private
{
	template <typename Ret, typename... ParamTypes>
	struct TInvoker
	{
		template <typename PayloadType, typename... FuncArgs>
		static Ret Call(const PayloadType& Payload, FuncArgs&&... Args)
		{
			if constexpr (std::is_void_v<Ret>)
			{
				const_cast<PayloadType&>(Payload).ApplyAfter(Forward<FuncArgs>(Args)...);
			}
			else
			{
				return const_cast<PayloadType&>(Payload).ApplyAfter(Forward<FuncArgs>(Args)...);
			}
		}
	};
} // namespace UE::Delegates::Private

template <typename FuncType, typename... VarTypes>
class TBaseStaticDelegateInstance;

template <typename Ret, typename... ParamTypes, typename... VarTypes>
class TBaseStaticDelegateInstance<Ret(ParamTypes...), VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
public:
	using FFuncPtr = Ret (*)(ParamTypes..., VarTypes...);

	template <typename... InVarTypes>
	explicit TBaseStaticDelegateInstance(FFuncPtr InStaticFuncPtr, InVarTypes&&... Vars) : StaticFuncPtr(InStaticFuncPtr), Payload(Forward<InVarTypes>(Vars)...)
	{
		check(StaticFuncPtr != nullptr);
	}

	virtual Ret Execute(ParamTypes... Params) const override
	{
		return UE::Delegates::Private::TInvoker<Ret>::Call(Payload, StaticFuncPtr, Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TBaseStaticDelegateInstance(*this); }
	virtual uint64 GetBoundProgramCounterForTimerManager() const override { return (uint64)StaticFuncPtr; }

private:
	FFuncPtr StaticFuncPtr;
	TTuple<VarTypes...> Payload;
};

template <bool bConst, typename UserClass, typename FuncType, typename... VarTypes>
class TBaseRawMethodDelegateInstance;

template <bool bConst, typename UserClass, typename Ret, typename... ParamTypes, typename... VarTypes>
class TBaseRawMethodDelegateInstance<bConst, UserClass, Ret(ParamTypes...), VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
public:
	using FMethodPtr = typename TMemFunPtrType<bConst, UserClass, Ret(ParamTypes..., VarTypes...)>::Type;

	template <typename... InVarTypes>
	explicit TBaseRawMethodDelegateInstance(UserClass* InUserObject, FMethodPtr InMethodPtr, InVarTypes&&... Vars) : UserObject(InUserObject), MethodPtr(InMethodPtr), Payload(Forward<InVarTypes>(Vars)...)
	{
		check(InUserObject != nullptr && MethodPtr != nullptr);
	}

	virtual Ret Execute(ParamTypes... Params) const override
	{
		using MutableUserClass = std::remove_const_t<UserClass>;
		MutableUserClass* Object = const_cast<MutableUserClass*>(UserObject);
		return UE::Delegates::Private::TInvoker<Ret>::Call(Payload, MethodPtr, Object, Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TBaseRawMethodDelegateInstance(*this); }
	virtual const void* GetObjectForTimerManager() const override { return UserObject; }
	virtual bool HasSameObject(const void* InUserObject) const override { return UserObject == InUserObject; }

private:
	UserClass* UserObject;
	FMethodPtr MethodPtr;
	TTuple<VarTypes...> Payload;
};

template <bool bConst, typename UserClass, ESPMode SPMode, typename FuncType, typename... VarTypes>
class TBaseSPMethodDelegateInstance;

template <bool bConst, typename UserClass, ESPMode SPMode, typename Ret, typename... ParamTypes, typename... VarTypes>
class TBaseSPMethodDelegateInstance<bConst, UserClass, SPMode, Ret(ParamTypes...), VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
public:
	using FMethodPtr = typename TMemFunPtrType<bConst, UserClass, Ret(ParamTypes..., VarTypes...)>::Type;

	template <typename... InVarTypes>
	explicit TBaseSPMethodDelegateInstance(const TSharedRef<UserClass, SPMode>& InUserObject, FMethodPtr InMethodPtr, InVarTypes&&... Vars) : UserObject(InUserObject), RawObject(&InUserObject.Get()), MethodPtr(InMethodPtr), Payload(Forward<InVarTypes>(Vars)...)
	{
		check(MethodPtr != nullptr);
	}

	// Keeps the object alive for the duration of the call; callers check IsSafeToExecute first.
	virtual Ret Execute(ParamTypes... Params) const override
	{
		using MutableUserClass = std::remove_const_t<UserClass>;
		TSharedPtr<UserClass, SPMode> Pinned = UserObject.Pin();
		checkf(Pinned.IsValid(), TEXT("A delegate bound to a shared pointer was executed after its object was destroyed"));
		MutableUserClass* Object = const_cast<MutableUserClass*>(Pinned.Get());
		return UE::Delegates::Private::TInvoker<Ret>::Call(Payload, MethodPtr, Object, Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TBaseSPMethodDelegateInstance(*this); }
	virtual const void* GetObjectForTimerManager() const override { return UserObject.Pin().Get(); }
	virtual bool HasSameObject(const void* InUserObject) const override { return UserObject.HasSameObject(InUserObject); }
	virtual bool IsSafeToExecute() const override { return UserObject.IsValid(); }

private:
	TWeakPtr<UserClass, SPMode> UserObject;
	const void* RawObject;
	FMethodPtr MethodPtr;
	TTuple<VarTypes...> Payload;
};

template <typename FuncType, typename FunctorType, typename... VarTypes>
class TBaseFunctorDelegateInstance;

template <typename Ret, typename... ParamTypes, typename FunctorType, typename... VarTypes>
class TBaseFunctorDelegateInstance<Ret(ParamTypes...), FunctorType, VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
public:
	template <typename InFunctorType, typename... InVarTypes>
	explicit TBaseFunctorDelegateInstance(InFunctorType&& InFunctor, InVarTypes&&... Vars) : Functor(Forward<InFunctorType>(InFunctor)), Payload(Forward<InVarTypes>(Vars)...)
	{
	}

	virtual Ret Execute(ParamTypes... Params) const override
	{
		return UE::Delegates::Private::TInvoker<Ret>::Call(Payload, const_cast<FunctorType&>(Functor), Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TBaseFunctorDelegateInstance(*this); }

private:
	mutable FunctorType Functor;
	TTuple<VarTypes...> Payload;
};

template <typename UserClass, ESPMode SPMode, typename FuncType, typename FunctorType, typename... VarTypes>
class TBaseSPLambdaDelegateInstance;

template <typename UserClass, ESPMode SPMode, typename Ret, typename... ParamTypes, typename FunctorType, typename... VarTypes>
class TBaseSPLambdaDelegateInstance<UserClass, SPMode, Ret(ParamTypes...), FunctorType, VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
public:
	template <typename InFunctorType, typename... InVarTypes>
	explicit TBaseSPLambdaDelegateInstance(const TSharedRef<UserClass, SPMode>& InContextObject, InFunctorType&& InFunctor, InVarTypes&&... Vars) : ContextObject(InContextObject), Functor(Forward<InFunctorType>(InFunctor)), Payload(Forward<InVarTypes>(Vars)...)
	{
	}

	virtual Ret Execute(ParamTypes... Params) const override
	{
		TSharedPtr<UserClass, SPMode> Pinned = ContextObject.Pin();
		checkf(Pinned.IsValid(), TEXT("A delegate bound to a shared pointer was executed after its object was destroyed"));
		return UE::Delegates::Private::TInvoker<Ret>::Call(Payload, const_cast<FunctorType&>(Functor), Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TBaseSPLambdaDelegateInstance(*this); }
	virtual const void* GetObjectForTimerManager() const override { return ContextObject.Pin().Get(); }
	virtual bool HasSameObject(const void* InUserObject) const override { return ContextObject.HasSameObject(InUserObject); }
	virtual bool IsSafeToExecute() const override { return ContextObject.IsValid(); }

private:
	TWeakPtr<UserClass, SPMode> ContextObject;
	mutable FunctorType Functor;
	TTuple<VarTypes...> Payload;
};

// UObject-based bindings. They hold a TWeakObjectPtr, so they compile once CoreUObject's
// FWeakObjectPtr is complete; a binding whose object is gone is skipped.
template <bool bConst, typename UserClass, typename FuncType, typename... VarTypes>
class TBaseUObjectMethodDelegateInstance;

template <bool bConst, typename UserClass, typename Ret, typename... ParamTypes, typename... VarTypes>
class TBaseUObjectMethodDelegateInstance<bConst, UserClass, Ret(ParamTypes...), VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
public:
	using FMethodPtr = typename TMemFunPtrType<bConst, UserClass, Ret(ParamTypes..., VarTypes...)>::Type;

	template <typename... InVarTypes>
	explicit TBaseUObjectMethodDelegateInstance(UserClass* InUserObject, FMethodPtr InMethodPtr, InVarTypes&&... Vars) : UserObject(InUserObject), MethodPtr(InMethodPtr), Payload(Forward<InVarTypes>(Vars)...)
	{
		check(InUserObject != nullptr && MethodPtr != nullptr);
	}

	virtual Ret Execute(ParamTypes... Params) const override
	{
		using MutableUserClass = std::remove_const_t<UserClass>;
		MutableUserClass* Object = const_cast<MutableUserClass*>(UserObject.Get());
		checkf(Object != nullptr, TEXT("A delegate bound to a UObject was executed after the object was destroyed"));
		return UE::Delegates::Private::TInvoker<Ret>::Call(Payload, MethodPtr, Object, Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TBaseUObjectMethodDelegateInstance(*this); }
	virtual UObject* GetUObject() const override { return (UObject*)UserObject.Get(); }
	virtual const void* GetObjectForTimerManager() const override { return UserObject.Get(); }
	virtual bool HasSameObject(const void* InUserObject) const override { return UserObject.Get() == InUserObject; }
	virtual bool IsCompactable() const override { return !UserObject.Get(true); }
	virtual bool IsSafeToExecute() const override { return !!UserObject.Get(); }

private:
	TWeakObjectPtr<UserClass> UserObject;
	FMethodPtr MethodPtr;
	TTuple<VarTypes...> Payload;
};

template <typename UserClass, typename FuncType, typename FunctorType, typename... VarTypes>
class TWeakBaseFunctorDelegateInstance;

template <typename UserClass, typename Ret, typename... ParamTypes, typename FunctorType, typename... VarTypes>
class TWeakBaseFunctorDelegateInstance<UserClass, Ret(ParamTypes...), FunctorType, VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
public:
	template <typename InFunctorType, typename... InVarTypes>
	explicit TWeakBaseFunctorDelegateInstance(UserClass* InContextObject, InFunctorType&& InFunctor, InVarTypes&&... Vars) : ContextObject(InContextObject), Functor(Forward<InFunctorType>(InFunctor)), Payload(Forward<InVarTypes>(Vars)...)
	{
	}

	virtual Ret Execute(ParamTypes... Params) const override
	{
		return UE::Delegates::Private::TInvoker<Ret>::Call(Payload, const_cast<FunctorType&>(Functor), Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TWeakBaseFunctorDelegateInstance(*this); }
	virtual UObject* GetUObject() const override { return (UObject*)ContextObject.Get(); }
	virtual const void* GetObjectForTimerManager() const override { return ContextObject.Get(); }
	virtual bool HasSameObject(const void* InUserObject) const override { return ContextObject.Get() == InUserObject; }
	virtual bool IsCompactable() const override { return !ContextObject.Get(true); }
	virtual bool IsSafeToExecute() const override { return ContextObject.IsValid(); }

private:
	TWeakObjectPtr<UserClass> ContextObject;
	mutable FunctorType Functor;
	TTuple<VarTypes...> Payload;
};

// Parameters (and payload) laid out as a UFunction's parameter struct, followed by the result.
template <typename FuncType>
struct TPayload;

template <typename Ret, typename... Types>
struct TPayload<Ret(Types...)>
{
	TTuple<Types..., Ret> Values;

	template <typename... ArgTypes>
	explicit TPayload(ArgTypes&&... Args) : Values(Forward<ArgTypes>(Args)..., Ret())
	{
	}

	Ret GetResult() { return Values.template Get<sizeof...(Types)>(); }
};

template <typename... Types>
struct TPayload<void(Types...)>
{
	TTuple<Types...> Values;

	template <typename... ArgTypes>
	explicit TPayload(ArgTypes&&... Args) : Values(Forward<ArgTypes>(Args)...)
	{
	}

	void GetResult() {}
};

template <typename UserClass, typename FuncType, typename... VarTypes>
class TBaseUFunctionDelegateInstance;

template <typename UserClass, typename Ret, typename... ParamTypes, typename... VarTypes>
class TBaseUFunctionDelegateInstance<UserClass, Ret(ParamTypes...), VarTypes...> final : public TBaseDelegateInstance<Ret(ParamTypes...)>
{
	using FParmsWithPayload = TPayload<Ret(std::decay_t<ParamTypes>..., std::decay_t<VarTypes>...)>;

public:
	template <typename... InVarTypes>
	explicit TBaseUFunctionDelegateInstance(UserClass* InUserObject, const FName& InFunctionName, InVarTypes&&... Vars) : FunctionName(InFunctionName), UserObjectPtr(InUserObject), Payload(Forward<InVarTypes>(Vars)...)
	{
		check(InFunctionName != NAME_None);
	}

	// Calls the reflected function through ProcessEvent with the parameters packed in order.
	virtual Ret Execute(ParamTypes... Params) const override
	{
		UserClass* Object = UserObjectPtr.Get();
		checkf(Object != nullptr, TEXT("A delegate bound to a UFunction was executed after its object was destroyed"));
		auto* Function = Object->FindFunctionChecked(FunctionName);
		return Payload.ApplyAfter([Object, Function](auto&&... AllArgs)
		{
			FParmsWithPayload PayloadAndParams(Forward<decltype(AllArgs)>(AllArgs)...);
			Object->ProcessEvent(Function, &PayloadAndParams);
			return PayloadAndParams.GetResult();
		}, Forward<ParamTypes>(Params)...);
	}
	virtual TBaseDelegateInstance<Ret(ParamTypes...)>* Clone() const override { return new TBaseUFunctionDelegateInstance(*this); }
	virtual FName TryGetBoundFunctionName() const override { return FunctionName; }
	virtual UObject* GetUObject() const override { return (UObject*)UserObjectPtr.Get(); }
	virtual const void* GetObjectForTimerManager() const override { return UserObjectPtr.Get(); }
	virtual bool HasSameObject(const void* InUserObject) const override { return UserObjectPtr.Get() == InUserObject; }
	virtual bool IsCompactable() const override { return !UserObjectPtr.Get(true); }
	virtual bool IsSafeToExecute() const override { return UserObjectPtr.IsValid(); }

private:
	FName FunctionName;
	TWeakObjectPtr<UserClass> UserObjectPtr;
	TTuple<VarTypes...> Payload;
};
