// Object creation, lookup, loading and garbage collection.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"

class UObject;
class UClass;
class UPackage;
class FProperty;
class FObjectInstancingGraph;
class UPackageMap;
struct FLinkerInstancingContext;

DECLARE_LOG_CATEGORY_EXTERN(LogUObjectGlobals, Log, All);
DECLARE_LOG_CATEGORY_EXTERN(LogGarbage, Log, All);

// ---------------------------------------------------------------------------------------------
// Object initializer: what a constructor is being asked to build.

class COREUOBJECT_API FObjectInitializer
{
public:
	FObjectInitializer();
	FObjectInitializer(UObject* InObj, UObject* InObjectArchetype, bool bInCopyTransientsFromClassDefaults);
	~FObjectInitializer();

	FORCEINLINE UObject* GetObj() const { return Obj; }
	UClass* GetClass() const;
	FORCEINLINE UObject* GetArchetype() const { return ObjectArchetype; }

	template<class TReturnType>
	TReturnType* CreateDefaultSubobject(UObject* Outer, FName SubobjectName, bool bTransient = false) const
	{
		return static_cast<TReturnType*>(CreateDefaultSubobject(Outer, SubobjectName, TReturnType::StaticClass(), TReturnType::StaticClass(), true, bTransient));
	}
	UObject* CreateDefaultSubobject(UObject* Outer, FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient) const;

	// The initializer of the constructor running now; the default argument of generated constructors.
	static FObjectInitializer& Get();

private:
	friend class UObject;
	UObject* Obj = nullptr;
	UObject* ObjectArchetype = nullptr;
	bool bCopyTransientsFromClassDefaults = false;
	bool bOwnsConstruction = false;
	FObjectInitializer* Previous = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Construction

struct COREUOBJECT_API FStaticConstructObjectParameters
{
	const UClass* Class = nullptr;
	UObject* Outer = nullptr;
	FName Name;
	EObjectFlags SetFlags = RF_NoFlags;
	EInternalObjectFlags InternalSetFlags = EInternalObjectFlags::None;
	bool bCopyTransientsFromClassDefaults = false;
	UObject* Template = nullptr;

	explicit FStaticConstructObjectParameters(const UClass* InClass);
};

COREUOBJECT_API UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params);
COREUOBJECT_API FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName = NAME_None);
COREUOBJECT_API UPackage* GetTransientPackage();
COREUOBJECT_API UObject* GetTransientPackageAsObject();
COREUOBJECT_API UPackage* CreatePackage(const TCHAR* PackageName);

namespace UE::CoreUObject::Private
{
	COREUOBJECT_API void CheckIsClassChildOf(const UClass* Parent, const UClass* Child);
}

template<class T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr,
	bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr, UPackage* InExternalPackage = nullptr)
{
	if (Name == NAME_None)
	{
		// The engine asserts on unnamed objects made inside a constructor; the host lets it pass.
	}
	UE::CoreUObject::Private::CheckIsClassChildOf(T::StaticClass(), Class);
	FStaticConstructObjectParameters Params(Class);
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	Params.Template = Template;
	Params.bCopyTransientsFromClassDefaults = bCopyTransientsFromClassDefaults;
	(void)InInstanceGraph;
	(void)InExternalPackage;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template<class T>
T* NewObject(UObject* Outer = GetTransientPackageAsObject())
{
	FStaticConstructObjectParameters Params(T::StaticClass());
	Params.Outer = Outer;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template<class T>
T* NewObject(UObject* Outer, FName Name, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false,
	FObjectInstancingGraph* InInstanceGraph = nullptr, UPackage* InExternalPackage = nullptr)
{
	FStaticConstructObjectParameters Params(T::StaticClass());
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	Params.Template = Template;
	Params.bCopyTransientsFromClassDefaults = bCopyTransientsFromClassDefaults;
	(void)InInstanceGraph;
	(void)InExternalPackage;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

// ---------------------------------------------------------------------------------------------
// Lookup and loading

COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, FStringView Name, bool bExactClass = false);
COREUOBJECT_API UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool bExactClass = false);
COREUOBJECT_API UObject* StaticLoadObject(UClass* Class, UObject* InOuter, FStringView Name, FStringView Filename = {}, uint32 LoadFlags = LOAD_None,
	UPackageMap* Sandbox = nullptr, bool bAllowObjectReconciliation = true, const FLinkerInstancingContext* InstancingContext = nullptr);
COREUOBJECT_API UClass* StaticLoadClass(UClass* BaseClass, UObject* InOuter, FStringView Name, FStringView Filename = {}, uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr);

template<class T>
inline T* FindObject(UObject* Outer, FStringView Name, EFindObjectFlags Flags = EFindObjectFlags::None)
{
	return (T*)StaticFindObject(T::StaticClass(), Outer, Name, EnumHasAnyFlags(Flags, EFindObjectFlags::ExactClass));
}

template<class T>
inline T* FindObjectChecked(UObject* Outer, FStringView Name, EFindObjectFlags Flags = EFindObjectFlags::None)
{
	T* Result = FindObject<T>(Outer, Name, Flags);
	checkf(Result, TEXT("Failed to find object '%s'"), *FString(Name));
	return Result;
}

template<class T>
inline T* FindFirstObject(FStringView Name)
{
	return (T*)StaticFindObject(T::StaticClass(), nullptr, Name, false);
}

template<class T>
inline T* LoadObject(UObject* Outer, FStringView Name, FStringView Filename = {}, uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr,
	const FLinkerInstancingContext* InstancingContext = nullptr)
{
	return (T*)StaticLoadObject(T::StaticClass(), Outer, Name, Filename, LoadFlags, Sandbox, true, InstancingContext);
}

template<class T>
inline UClass* LoadClass(UObject* Outer, FStringView Name, FStringView Filename = {}, uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr)
{
	return StaticLoadClass(T::StaticClass(), Outer, Name, Filename, LoadFlags, Sandbox);
}

template<class T>
inline const T* GetDefault()
{
	return (const T*)T::StaticClass()->GetDefaultObject();
}

template<class T>
inline T* GetMutableDefault()
{
	return (T*)T::StaticClass()->GetDefaultObject();
}

COREUOBJECT_API UObject* UE_Host_GetClassDefaultObject(const UClass* Class);

template<class T>
inline const T* GetDefault(UClass* Class)
{
	return (const T*)UE_Host_GetClassDefaultObject(Class);
}

// ---------------------------------------------------------------------------------------------
// Garbage collection

COREUOBJECT_API void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge = true);
COREUOBJECT_API bool TryCollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge = true);
COREUOBJECT_API bool IsGarbageCollecting();

// What the collector hands to AddReferencedObjects: report every object you keep alive.
class COREUOBJECT_API FReferenceCollector
{
public:
	virtual ~FReferenceCollector() = default;

	template<class UObjectType>
	void AddReferencedObject(UObjectType*& Object, const UObject* ReferencingObject = nullptr, const FProperty* ReferencingProperty = nullptr)
	{
		HandleObjectReference(*reinterpret_cast<UObject**>(&Object), ReferencingObject, ReferencingProperty);
	}

	template<class UObjectType>
	void AddReferencedObject(const UObjectType*& Object, const UObject* ReferencingObject = nullptr, const FProperty* ReferencingProperty = nullptr)
	{
		HandleObjectReference(*reinterpret_cast<UObject**>(&Object), ReferencingObject, ReferencingProperty);
	}

	template<class UObjectType>
	void AddReferencedObject(TObjectPtr<UObjectType>& Object, const UObject* ReferencingObject = nullptr, const FProperty* ReferencingProperty = nullptr)
	{
		HandleObjectReference(*reinterpret_cast<UObject**>(&Object), ReferencingObject, ReferencingProperty);
	}

	template<class UObjectType>
	void AddReferencedObjects(TArray<UObjectType*>& ObjectArray, const UObject* ReferencingObject = nullptr, const FProperty* ReferencingProperty = nullptr)
	{
		for (UObjectType*& Object : ObjectArray)
		{
			AddReferencedObject(Object, ReferencingObject, ReferencingProperty);
		}
	}

	template<class UObjectType>
	void AddReferencedObjects(TArray<TObjectPtr<UObjectType>>& ObjectArray, const UObject* ReferencingObject = nullptr, const FProperty* ReferencingProperty = nullptr)
	{
		for (TObjectPtr<UObjectType>& Object : ObjectArray)
		{
			AddReferencedObject(Object, ReferencingObject, ReferencingProperty);
		}
	}

	template<class KeyType, class ValueType>
	void AddReferencedObjects(TMap<KeyType, ValueType>& Map, const UObject* ReferencingObject = nullptr, const FProperty* ReferencingProperty = nullptr)
	{
		for (auto& Pair : Map)
		{
			AddMapEntry(Pair.Key, ReferencingObject, ReferencingProperty);
			AddMapEntry(Pair.Value, ReferencingObject, ReferencingProperty);
		}
	}

	template<class UObjectType>
	void AddStableReference(UObjectType** Object) { AddReferencedObject(*Object); }
	template<class UObjectType>
	void AddStableReference(TObjectPtr<UObjectType>* Object) { AddReferencedObject(*Object); }
	template<class ArrayType>
	void AddStableReferenceArray(ArrayType* Array) { AddReferencedObjects(*Array); }
	template<class MapType>
	void AddStableReferenceMap(MapType& Map) { AddReferencedObjects(Map); }

	// Reflected properties of a struct held outside any object.
	void AddPropertyReferences(const class UStruct* Struct, void* Container, const UObject* ReferencingObject = nullptr);

	virtual void HandleObjectReference(UObject*& InObject, const UObject* InReferencingObject, const FProperty* InReferencingProperty) = 0;

private:
	template<class T>
	void AddMapEntry(T& Entry, const UObject* ReferencingObject, const FProperty* ReferencingProperty)
	{
		if constexpr (std::is_pointer_v<T>)
		{
			AddReferencedObject(Entry, ReferencingObject, ReferencingProperty);
		}
		else if constexpr (requires { Entry.Get(); typename T::ElementType; })
		{
			AddReferencedObject(Entry, ReferencingObject, ReferencingProperty);
		}
	}
};
