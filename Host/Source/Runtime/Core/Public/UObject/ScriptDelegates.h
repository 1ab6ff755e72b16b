// Script delegates: a weak object and a function name, called through reflection (ProcessEvent).
// Written against FWeakObjectPtr and UObject as template parameters, so Core needs neither
// defined; CoreUObject provides both.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "UObject/NameTypes.h"
#include "Misc/AssertionMacros.h"
#include "Misc/CString.h"

class UObject;
class UFunction;
struct FWeakObjectPtr;

namespace UE::Delegates::Private
{
	// "&UMyClass::OnThing" -> "OnThing": the text after the last "::".
	inline FName GetTrimmedMemberFunctionName(const TCHAR* InMacroFunctionName)
	{
		const TCHAR* Name = InMacroFunctionName;
		for (const TCHAR* It = InMacroFunctionName; *It; ++It)
		{
			if (It[0] == TCHAR(':') && It[1] == TCHAR(':'))
			{
				Name = It + 2;
			}
		}
		while (*Name == TCHAR('&') || *Name == TCHAR(' '))
		{
			++Name;
		}
		return FName(Name);
	}
}

#define STATIC_FUNCTION_FNAME(str) UE::Delegates::Private::GetTrimmedMemberFunctionName(str)

template<typename TWeakPtr = FWeakObjectPtr>
class TScriptDelegate
{
public:
	TScriptDelegate() : FunctionName(NAME_None) {}

	void BindUFunction(UObject* InObject, const FName& InFunctionName)
	{
		Object = InObject;
		FunctionName = InFunctionName;
	}

	// Bound when the object is alive (not garbage) and has the function.
	bool IsBound() const { return IsBound_Internal<UObject>(); }

	bool IsBoundToObject(void const* InUserObject) const
	{
		return InUserObject && InUserObject == GetUObject();
	}

	bool IsBoundToObjectEvenIfUnreachable(void const* InUserObject) const
	{
		return InUserObject && InUserObject == GetUObjectEvenIfUnreachable();
	}

	// A binding whose object is gone can be dropped.
	bool IsCompactable() const
	{
		return FunctionName == NAME_None || !Object.Get(true);
	}

	void Unbind()
	{
		Object.Reset();
		FunctionName = NAME_None;
	}

	UObject* GetUObject() const { return (UObject*)Object.Get(); }
	UObject* GetUObjectEvenIfUnreachable() const { return (UObject*)Object.GetEvenIfUnreachable(); }
	FName GetFunctionName() const { return FunctionName; }

	template<class UObjectTemplate>
	FString ToString() const
	{
		if (IsBound())
		{
			return ((UObjectTemplate*)GetUObject())->GetPathName() + TEXT(".") + GetFunctionName().ToString();
		}
		return TEXT("<Unbound>");
	}

	// Calls the bound function with the parameter memory laid out as its signature.
	template<class UObjectTemplate>
	void ProcessDelegate(void* Parameters) const
	{
		checkf(Object.IsValid() != false, TEXT("ProcessDelegate() called with no object bound to delegate!"));
		checkf(FunctionName != NAME_None, TEXT("ProcessDelegate() called with no function name set!"));
		UObjectTemplate* ObjectPtr = static_cast<UObjectTemplate*>(Object.Get());
		UFunction* Function = ObjectPtr->FindFunctionChecked(FunctionName);
		ObjectPtr->ProcessEvent(Function, Parameters);
	}

	bool operator==(const TScriptDelegate& Other) const
	{
		return Object == Other.Object && FunctionName == Other.FunctionName;
	}
	bool operator!=(const TScriptDelegate& Other) const { return !(*this == Other); }

	friend uint32 GetTypeHash(const TScriptDelegate& Delegate)
	{
		return HashCombine(GetTypeHash(Delegate.Object), GetTypeHash(Delegate.GetFunctionName()));
	}

protected:
	template<class UObjectTemplate>
	bool IsBound_Internal() const
	{
		if (FunctionName != NAME_None)
		{
			if (UObjectTemplate* ObjectPtr = (UObjectTemplate*)Object.Get())
			{
				return ObjectPtr->FindFunction(FunctionName) != nullptr;
			}
		}
		return false;
	}

	TWeakPtr Object;
	FName FunctionName;
};

template<typename TWeakPtr = FWeakObjectPtr>
class TMulticastScriptDelegate
{
public:
	typedef TScriptDelegate<TWeakPtr> FScriptDelegateType;

	TMulticastScriptDelegate() = default;

	bool IsBound() const { return InvocationList.Num() > 0; }

	bool Contains(const FScriptDelegateType& InDelegate) const
	{
		return InvocationList.Contains(InDelegate);
	}

	bool Contains(const UObject* InObject, FName InFunctionName) const
	{
		return InvocationList.ContainsByPredicate([=](const FScriptDelegateType& Delegate)
		{
			return Delegate.GetFunctionName() == InFunctionName && Delegate.IsBoundToObjectEvenIfUnreachable(InObject);
		});
	}

	void Add(const FScriptDelegateType& InDelegate)
	{
		CompactInvocationList();
		InvocationList.Add(InDelegate);
	}

	void AddUnique(const FScriptDelegateType& InDelegate)
	{
		CompactInvocationList();
		InvocationList.AddUnique(InDelegate);
	}

	void Remove(const FScriptDelegateType& InDelegate)
	{
		InvocationList.RemoveSingleSwap(InDelegate);
		CompactInvocationList();
	}

	void Remove(const UObject* InObject, FName InFunctionName)
	{
		for (int32 Index = 0; Index < InvocationList.Num(); ++Index)
		{
			const FScriptDelegateType& Delegate = InvocationList[Index];
			if (Delegate.GetFunctionName() == InFunctionName && Delegate.IsBoundToObjectEvenIfUnreachable(InObject))
			{
				InvocationList.RemoveAtSwap(Index);
				break;
			}
		}
		CompactInvocationList();
	}

	void RemoveAll(const UObject* Object)
	{
		InvocationList.RemoveAllSwap([Object](const FScriptDelegateType& Delegate) { return Delegate.IsBoundToObjectEvenIfUnreachable(Object); });
		CompactInvocationList();
	}

	void Clear() { InvocationList.Empty(); }

	TArray<UObject*> GetAllObjects() const
	{
		TArray<UObject*> Result;
		for (const FScriptDelegateType& Delegate : InvocationList)
		{
			if (UObject* Object = Delegate.GetUObject())
			{
				Result.Add(Object);
			}
		}
		return Result;
	}

	// Calls every binding whose object is still alive; bindings to objects that are gone are dropped.
	// The list is copied first so that a callee may add or remove bindings.
	template<class UObjectTemplate>
	void ProcessMulticastDelegate(void* Parameters) const
	{
		if (InvocationList.Num() > 0)
		{
			const TArray<FScriptDelegateType> InvocationListCopy = InvocationList;
			for (const FScriptDelegateType& Delegate : InvocationListCopy)
			{
				if (Delegate.IsBound())
				{
					Delegate.template ProcessDelegate<UObjectTemplate>(Parameters);
				}
				else if (Delegate.IsCompactable())
				{
					InvocationList.RemoveSingleSwap(Delegate);
				}
			}
		}
	}

	bool operator==(const TMulticastScriptDelegate& Other) const
	{
		return InvocationList == Other.InvocationList;
	}

protected:
	void CompactInvocationList() const
	{
		InvocationList.RemoveAllSwap([](const FScriptDelegateType& Delegate) { return Delegate.IsCompactable(); });
	}

	mutable TArray<FScriptDelegateType> InvocationList;
};

typedef TScriptDelegate<> FScriptDelegate;
typedef TMulticastScriptDelegate<> FMulticastScriptDelegate;

// The reflected single-cast delegate types: a script delegate with a typed binder.
template<typename TWeakPtr, typename RetValType, typename... ParamTypes>
class TBaseDynamicDelegate : public TScriptDelegate<TWeakPtr>
{
public:
	TBaseDynamicDelegate() = default;
	explicit TBaseDynamicDelegate(const TScriptDelegate<TWeakPtr>& InScriptDelegate) : TScriptDelegate<TWeakPtr>(InScriptDelegate) {}

	template<class UserClass>
	class TMethodPtrResolver
	{
	public:
		typedef RetValType (UserClass::*FMethodPtr)(ParamTypes... Params);
	};

	template<class UserClass>
	void __Internal_BindDynamic(UserClass* InUserObject, typename TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		this->FunctionName = InFunctionName;
		ensureMsgf(this->FunctionName != NAME_None, TEXT("Unable to bind delegate to a function without a name"));
		this->Object = InUserObject;
		ensureMsgf(this->IsBound(), TEXT("Unable to bind delegate to '%s' (function might not be marked as a UFUNCTION or object may be pending kill)"), *InFunctionName.ToString());
	}
};

template<typename TWeakPtr, typename RetValType, typename... ParamTypes>
class TBaseDynamicMulticastDelegate : public TMulticastScriptDelegate<TWeakPtr>
{
public:
	typedef TBaseDynamicDelegate<TWeakPtr, RetValType, ParamTypes...> FDelegate;

	TBaseDynamicMulticastDelegate() = default;
	explicit TBaseDynamicMulticastDelegate(const TMulticastScriptDelegate<TWeakPtr>& InMulticastScriptDelegate) : TMulticastScriptDelegate<TWeakPtr>(InMulticastScriptDelegate) {}

	template<class UserClass>
	void __Internal_AddDynamic(UserClass* InUserObject, typename FDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		FDelegate NewDelegate;
		NewDelegate.__Internal_BindDynamic(InUserObject, InMethodPtr, InFunctionName);
		this->Add(NewDelegate);
	}

	template<class UserClass>
	void __Internal_AddUniqueDynamic(UserClass* InUserObject, typename FDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		FDelegate NewDelegate;
		NewDelegate.__Internal_BindDynamic(InUserObject, InMethodPtr, InFunctionName);
		this->AddUnique(NewDelegate);
	}

	template<class UserClass>
	void __Internal_RemoveDynamic(UserClass* InUserObject, typename FDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName)
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		this->Remove(InUserObject, InFunctionName);
	}

	template<class UserClass>
	bool __Internal_IsAlreadyBound(UserClass* InUserObject, typename FDelegate::template TMethodPtrResolver<UserClass>::FMethodPtr InMethodPtr, FName InFunctionName) const
	{
		check(InUserObject != nullptr && InMethodPtr != nullptr);
		return this->Contains(InUserObject, InFunctionName);
	}
};
