// Name lookup (outer + name), and queries over all objects.
#include "UObject/UObjectHash.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/UObjectIterator.h"
#include "UObject/ObjectPrivate.h"

namespace
{
	struct FObjectHashKey
	{
		const UObject* Outer;
		FName Name;
		bool operator==(const FObjectHashKey& Other) const { return Outer == Other.Outer && Name == Other.Name; }
		friend uint32 GetTypeHash(const FObjectHashKey& Key) { return HashCombine(GetTypeHash((const void*)Key.Outer), GetTypeHash(Key.Name)); }
	};

	TMap<FObjectHashKey, TArray<UObjectBase*>>& GetHash()
	{
		static TMap<FObjectHashKey, TArray<UObjectBase*>>* Hash = new TMap<FObjectHashKey, TArray<UObjectBase*>>();
		return *Hash;
	}
}

namespace UE::CoreUObject::Private
{
	void HashObject(UObjectBase* Object)
	{
		HashObject(Object, Object->GetOuter(), Object->GetFName());
	}

	void HashObject(UObjectBase* Object, const UObject* Outer, FName Name)
	{
		GetHash().FindOrAdd(FObjectHashKey{Outer, Name}).Add(Object);
	}

	void UnhashObject(UObjectBase* Object)
	{
		const FObjectHashKey Key{Object->GetOuter(), Object->GetFName()};
		if (TArray<UObjectBase*>* Bucket = GetHash().Find(Key))
		{
			Bucket->RemoveSingle(Object);
			if (Bucket->Num() == 0)
			{
				GetHash().Remove(Key);
			}
		}
	}

	void SetObjectOuter(UObjectBase* Object, UObject* NewOuter)
	{
		UnhashObject(Object);
		UE_CoreUObject_Private_FObjectAccess::SetOuter(Object, NewOuter);
		HashObject(Object);
	}

	void SetObjectClass(UObjectBase* Object, UClass* NewClass)
	{
		UE_CoreUObject_Private_FObjectAccess::SetClass(Object, NewClass);
	}

	UObject* FindObjectFast(UObject* Outer, FName Name, const UClass* Class, bool bExactClass)
	{
		const TArray<UObjectBase*>* Bucket = GetHash().Find(FObjectHashKey{Outer, Name});
		if (!Bucket)
		{
			return nullptr;
		}
		for (UObjectBase* Candidate : *Bucket)
		{
			UObject* Object = (UObject*)Candidate;
			if (Object->IsUnreachable())
			{
				continue;
			}
			if (!Class || (bExactClass ? Object->GetClass() == Class : Object->IsA(Class)))
			{
				return Object;
			}
		}
		return nullptr;
	}
}

void GetDerivedClasses(const UClass* ClassToLookFor, TArray<UClass*>& Results, bool bRecursive)
{
	for (TObjectIterator<UClass> It(RF_NoFlags); It; ++It)
	{
		UClass* Class = *It;
		if (Class == ClassToLookFor)
		{
			continue;
		}
		if (bRecursive ? Class->IsChildOf(ClassToLookFor) : Class->GetSuperClass() == ClassToLookFor)
		{
			Results.Add(Class);
		}
	}
}

void GetObjectsOfClass(const UClass* ClassToLookFor, TArray<UObject*>& Results, bool bIncludeDerivedClasses, EObjectFlags ExcludeFlags,
	EInternalObjectFlags ExclusionInternalFlags)
{
	for (FObjectIterator It(const_cast<UClass*>(ClassToLookFor), false, ExcludeFlags, ExclusionInternalFlags); It; ++It)
	{
		if (bIncludeDerivedClasses || It->GetClass() == ClassToLookFor)
		{
			Results.Add(*It);
		}
	}
}

void ForEachObjectWithOuter(const UObject* Outer, TFunctionRef<void(UObject*)> Operation, bool bIncludeNestedObjects, EObjectFlags ExclusionFlags,
	EInternalObjectFlags ExclusionInternalFlags)
{
	for (FObjectIterator It(UObject::StaticClass(), false, ExclusionFlags, ExclusionInternalFlags); It; ++It)
	{
		UObject* Object = *It;
		if (bIncludeNestedObjects ? (Object != Outer && Object->IsIn(Outer) && Outer) : Object->GetOuter() == Outer)
		{
			Operation(Object);
		}
	}
}

void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects, EObjectFlags ExclusionFlags,
	EInternalObjectFlags ExclusionInternalFlags)
{
	ForEachObjectWithOuter(Outer, [&Results](UObject* Object) { Results.Add(Object); }, bIncludeNestedObjects, ExclusionFlags, ExclusionInternalFlags);
}
