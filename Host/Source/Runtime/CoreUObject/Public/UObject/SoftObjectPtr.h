// Soft references: a path plus a cached weak pointer. They never keep an object alive.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/WeakObjectPtr.h"
#include "UObject/ObjectPtr.h"
#include "Templates/Casts.h"

struct COREUOBJECT_API FSoftObjectPtr
{
	FSoftObjectPtr() = default;
	FSoftObjectPtr(const FSoftObjectPtr&) = default;
	FSoftObjectPtr& operator=(const FSoftObjectPtr&) = default;
	explicit FSoftObjectPtr(const FSoftObjectPath& Path) : ObjectID(Path) {}
	explicit FSoftObjectPtr(const UObject* Object) { (*this) = Object; }
	FSoftObjectPtr(TYPE_OF_NULLPTR) {}

	void operator=(const UObject* Object);
	void operator=(const FSoftObjectPath& Path) { ObjectID = Path; WeakPtr.Reset(); }

	// A loaded object (cached or found by path), filtered for garbage; never loads.
	UObject* Get() const;
	UObject* LoadSynchronous(ELoadFlags LoadFlags = LOAD_None) const;

	bool IsNull() const { return !ObjectID.IsValid(); }
	bool IsValid() const { return Get() != nullptr; }
	bool IsPending() const { return Get() == nullptr && !IsNull(); }
	bool IsStale() const { return WeakPtr.IsStale(); }
	void Reset() { ObjectID.Reset(); WeakPtr.Reset(); }
	const FSoftObjectPath& GetUniqueID() const { return ObjectID; }
	const FSoftObjectPath& ToSoftObjectPath() const { return ObjectID; }
	FString ToString() const { return ObjectID.ToString(); }
	FString GetLongPackageName() const { return ObjectID.GetLongPackageName(); }
	FString GetAssetName() const { return ObjectID.GetAssetName(); }

	bool operator==(const FSoftObjectPtr& Other) const { return ObjectID == Other.ObjectID; }
	bool operator!=(const FSoftObjectPtr& Other) const { return !(*this == Other); }
	friend uint32 GetTypeHash(const FSoftObjectPtr& Ptr) { return GetTypeHash(Ptr.ObjectID); }

private:
	FSoftObjectPath ObjectID;
	mutable FWeakObjectPtr WeakPtr;
};

template<class T = UObject>
struct TSoftObjectPtr
{
public:
	using ElementType = T;

	TSoftObjectPtr() = default;
	TSoftObjectPtr(const TSoftObjectPtr&) = default;
	TSoftObjectPtr& operator=(const TSoftObjectPtr&) = default;
	TSoftObjectPtr(TYPE_OF_NULLPTR) {}
	template<class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TSoftObjectPtr(const TSoftObjectPtr<U>& Other) : SoftObjectPtr(Other.ToSoftObjectPath()) {}
	template<class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TSoftObjectPtr(const U* Object) : SoftObjectPtr((const UObject*)Object) {}
	template<class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TSoftObjectPtr(const TObjectPtr<U>& Object) : SoftObjectPtr((const UObject*)Object.Get()) {}
	explicit TSoftObjectPtr(const FSoftObjectPath& Path) : SoftObjectPtr(Path) {}

	TSoftObjectPtr& operator=(TYPE_OF_NULLPTR) { SoftObjectPtr = FSoftObjectPtr(); return *this; }
	template<class U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
	TSoftObjectPtr& operator=(const U* Object) { SoftObjectPtr = (const UObject*)Object; return *this; }
	TSoftObjectPtr& operator=(const FSoftObjectPath& Path) { SoftObjectPtr = Path; return *this; }

	void Reset() { SoftObjectPtr.Reset(); }
	T* Get() const { return Cast<T>(SoftObjectPtr.Get()); }
	T* operator->() const { return Get(); }
	T& operator*() const { return *Get(); }
	bool IsValid() const { return Get() != nullptr; }
	explicit operator bool() const { return IsValid(); }
	bool IsPending() const { return SoftObjectPtr.IsPending(); }
	bool IsNull() const { return SoftObjectPtr.IsNull(); }
	T* LoadSynchronous() const { return Cast<T>(SoftObjectPtr.LoadSynchronous()); }
	const FSoftObjectPath& ToSoftObjectPath() const { return SoftObjectPtr.ToSoftObjectPath(); }
	const FSoftObjectPath& GetUniqueID() const { return SoftObjectPtr.GetUniqueID(); }
	FString ToString() const { return SoftObjectPtr.ToString(); }
	FString GetLongPackageName() const { return SoftObjectPtr.GetLongPackageName(); }
	FString GetAssetName() const { return SoftObjectPtr.GetAssetName(); }

	bool operator==(const TSoftObjectPtr& Other) const { return SoftObjectPtr == Other.SoftObjectPtr; }
	bool operator!=(const TSoftObjectPtr& Other) const { return SoftObjectPtr != Other.SoftObjectPtr; }
	friend uint32 GetTypeHash(const TSoftObjectPtr& Ptr) { return GetTypeHash(Ptr.SoftObjectPtr); }

private:
	FSoftObjectPtr SoftObjectPtr;
};

template<class TClass = UObject>
class TSoftClassPtr
{
public:
	TSoftClassPtr() = default;
	TSoftClassPtr(const TSoftClassPtr&) = default;
	TSoftClassPtr& operator=(const TSoftClassPtr&) = default;
	TSoftClassPtr(TYPE_OF_NULLPTR) {}
	TSoftClassPtr(const UClass* From) : SoftObjectPtr((const UObject*)From) {}
	explicit TSoftClassPtr(const FSoftObjectPath& Path) : SoftObjectPtr(Path) {}

	void Reset() { SoftObjectPtr.Reset(); }
	UClass* Get() const;
	bool IsValid() const { return Get() != nullptr; }
	explicit operator bool() const { return IsValid(); }
	bool IsPending() const { return SoftObjectPtr.IsPending(); }
	bool IsNull() const { return SoftObjectPtr.IsNull(); }
	UClass* LoadSynchronous() const;
	const FSoftObjectPath& ToSoftObjectPath() const { return SoftObjectPtr.ToSoftObjectPath(); }
	FString ToString() const { return SoftObjectPtr.ToString(); }

	bool operator==(const TSoftClassPtr& Other) const { return SoftObjectPtr == Other.SoftObjectPtr; }
	bool operator!=(const TSoftClassPtr& Other) const { return SoftObjectPtr != Other.SoftObjectPtr; }

private:
	FSoftObjectPtr SoftObjectPtr;
};

COREUOBJECT_API UClass* UE_Host_SoftClassFilter(UObject* Object, UClass* MetaClass);

template<class TClass>
UClass* TSoftClassPtr<TClass>::Get() const
{
	return UE_Host_SoftClassFilter(SoftObjectPtr.Get(), TClass::StaticClass());
}

template<class TClass>
UClass* TSoftClassPtr<TClass>::LoadSynchronous() const
{
	return UE_Host_SoftClassFilter(SoftObjectPtr.LoadSynchronous(), TClass::StaticClass());
}
