// FWeakObjectPtr: an object's slot and serial number; null once the object is gone or marked garbage.
#pragma once

#include "CoreMinimal.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "UObject/ObjectPtr.h"

class UObject;

struct COREUOBJECT_API FWeakObjectPtr
{
	FWeakObjectPtr() = default;
	FWeakObjectPtr(TYPE_OF_NULLPTR) {}
	FWeakObjectPtr(const UObject* Object) { (*this) = Object; }
	template<typename T>
	FWeakObjectPtr(const TObjectPtr<T>& Object) { (*this) = Object.Get(); }
	FWeakObjectPtr(const FWeakObjectPtr&) = default;
	FWeakObjectPtr& operator=(const FWeakObjectPtr&) = default;

	void operator=(const UObject* Object);
	template<typename T>
	void operator=(const TObjectPtr<T>& Object) { (*this) = (const UObject*)Object.Get(); }

	void Reset()
	{
		ObjectIndex = INDEX_NONE;
		ObjectSerialNumber = 0;
	}

	UObject* Get() const;
	UObject* Get(bool bEvenIfPendingKill) const;
	UObject* GetEvenIfUnreachable() const;
	bool IsValid() const;
	bool IsValid(bool bEvenIfPendingKill, bool bThreadsafeTest = false) const;
	bool IsStale(bool bIncludingIfPendingKill = true, bool bThreadsafeTest = false) const;
	bool IsExplicitlyNull() const { return ObjectIndex == INDEX_NONE; }
	bool HasSameIndexAndSerialNumber(const FWeakObjectPtr& Other) const
	{
		return ObjectIndex == Other.ObjectIndex && ObjectSerialNumber == Other.ObjectSerialNumber;
	}

	// Pointers to the same live object are equal; two pointers that both resolve to null are equal.
	bool operator==(const FWeakObjectPtr& Other) const
	{
		return HasSameIndexAndSerialNumber(Other) || (!IsValid() && !Other.IsValid());
	}
	bool operator!=(const FWeakObjectPtr& Other) const { return !(*this == Other); }

	friend uint32 GetTypeHash(const FWeakObjectPtr& WeakObjectPtr)
	{
		return (uint32)(WeakObjectPtr.ObjectIndex ^ WeakObjectPtr.ObjectSerialNumber);
	}

private:
	int32 ObjectIndex = INDEX_NONE;
	int32 ObjectSerialNumber = 0;
};
