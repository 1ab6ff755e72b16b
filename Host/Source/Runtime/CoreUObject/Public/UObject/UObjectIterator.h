// TObjectIterator: every live object of a class (class default objects excluded by default).
#pragma once

#include "UObject/Object.h"
#include "UObject/UObjectArray.h"

class FRawObjectIterator
{
public:
	FRawObjectIterator() { Advance(true); }
	explicit operator bool() const { return Index < GUObjectArray.GetObjectArrayNum(); }
	FUObjectItem* operator*() const { return GUObjectArray.IndexToObject(Index); }
	void operator++() { Advance(false); }

private:
	void Advance(bool bFirst)
	{
		if (!bFirst)
		{
			++Index;
		}
		while (Index < GUObjectArray.GetObjectArrayNum() && !GUObjectArray.IndexToObject(Index)->Object)
		{
			++Index;
		}
	}
	int32 Index = 0;
};

class FObjectIterator
{
public:
	explicit FObjectIterator(UClass* InClass = UObject::StaticClass(), bool bOnlyGCedObjects = false, EObjectFlags AdditionalExclusionFlags = RF_NoFlags,
		EInternalObjectFlags InternalExclusionFlags = EInternalObjectFlags::None)
		: Class(InClass)
		, ExclusionFlags(AdditionalExclusionFlags)
		, InternalExclusion(InternalExclusionFlags | EInternalObjectFlags::Unreachable | EInternalObjectFlags::PendingConstruction)
	{
		(void)bOnlyGCedObjects;
		Advance(true);
	}

	explicit operator bool() const { return Index < GUObjectArray.GetObjectArrayNum(); }
	bool operator!() const { return !(bool)*this; }
	UObject* operator*() const { return (UObject*)GUObjectArray.IndexToObject(Index)->Object; }
	UObject* operator->() const { return **this; }
	void operator++() { Advance(false); }

protected:
	void Advance(bool bFirst)
	{
		if (!bFirst)
		{
			++Index;
		}
		while (Index < GUObjectArray.GetObjectArrayNum())
		{
			const FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
			if (Item->Object && !(Item->Flags & (int32)InternalExclusion))
			{
				const UObject* Object = (const UObject*)Item->Object;
				if (!Object->HasAnyFlags(ExclusionFlags) && (!Class || Object->IsA(Class)))
				{
					return;
				}
			}
			++Index;
		}
	}

	UClass* Class;
	EObjectFlags ExclusionFlags;
	EInternalObjectFlags InternalExclusion;
	int32 Index = 0;
};

template<class T>
class TObjectIterator : public FObjectIterator
{
public:
	explicit TObjectIterator(EObjectFlags AdditionalExclusionFlags = RF_ClassDefaultObject, bool bIncludeDerivedClasses = true,
		EInternalObjectFlags InInternalExclusionFlags = EInternalObjectFlags::None)
		: FObjectIterator(T::StaticClass(), false, AdditionalExclusionFlags, InInternalExclusionFlags)
		, bExact(!bIncludeDerivedClasses)
	{
		SkipInexact();
	}
	/** Whether the iterator is at an object; the engine's TObjectIterator declares its own (it has no FObjectIterator base). */
	explicit operator bool() const { return FObjectIterator::operator bool(); }
	bool operator!() const { return !(bool)*this; }
	T* operator*() const { return (T*)FObjectIterator::operator*(); }
	T* operator->() const { return (T*)FObjectIterator::operator*(); }
	void operator++()
	{
		FObjectIterator::operator++();
		SkipInexact();
	}

private:
	void SkipInexact()
	{
		while (bExact && (bool)*this && FObjectIterator::operator*()->GetClass() != T::StaticClass())
		{
			FObjectIterator::operator++();
		}
	}
	bool bExact;
};

template<class T>
struct TObjectRange
{
	TObjectRange(EObjectFlags AdditionalExclusionFlags = RF_ClassDefaultObject, bool bIncludeDerivedClasses = true)
		: It(AdditionalExclusionFlags, bIncludeDerivedClasses)
	{
	}
	struct FSentinel {};
	struct FIterator
	{
		TObjectIterator<T> Inner;
		bool operator!=(FSentinel) const { return (bool)Inner; }
		void operator++() { ++Inner; }
		T* operator*() const { return *Inner; }
	};
	friend FIterator begin(const TObjectRange& Range) { return FIterator{Range.It}; }
	friend FSentinel end(const TObjectRange&) { return FSentinel{}; }
	TObjectIterator<T> It;
};
