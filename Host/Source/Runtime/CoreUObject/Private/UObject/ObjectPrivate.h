// Internals shared by CoreUObject's implementation files.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

namespace UE::CoreUObject::Private
{
	// What the next UObjectBase constructor takes over: set while an object is being constructed.
	struct FPendingObject
	{
		UObjectBase* Memory = nullptr;
		UClass* Class = nullptr;
		UObject* Outer = nullptr;
		FName Name;
		EObjectFlags Flags = RF_NoFlags;
		int32 Index = INDEX_NONE;
	};

	void SetPendingObject(FPendingObject* Pending);

	// Allocates zeroed memory for an object, gives it a slot and a name, and registers it for
	// lookups. The constructor is run by the caller.
	UObjectBase* AllocateObject(UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags, int32 Size, int32 Alignment, FPendingObject& OutPending);

	// Name lookup by outer and name.
	void HashObject(UObjectBase* Object);
	// Before the constructor has run the object's own fields are not set yet.
	void HashObject(UObjectBase* Object, const UObject* Outer, FName Name);
	void UnhashObject(UObjectBase* Object);
	UObject* FindObjectFast(UObject* Outer, FName Name, const UClass* Class, bool bExactClass);
	void SetObjectOuter(UObjectBase* Object, UObject* NewOuter);
	void SetObjectClass(UObjectBase* Object, UClass* NewClass);

	// Destroys an object's memory after BeginDestroy/FinishDestroy: the slot is freed (weak
	// pointers go null), the destructor runs and the memory is released.
	void DestroyObjectMemory(UObjectBase* Object);

	// Every object every collection keeps: rooted classes and their default objects included.
	void MarkClassDefaultObjectCreated(UObject* Object);

	UObject* LoadViaAssetLoaders(UClass* Class, const FString& Path);
}

struct UE_CoreUObject_Private_FObjectAccess
{
	static void SetOuter(UObjectBase* Object, UObject* Outer) { Object->OuterPrivate = Outer; }
	static void SetClass(UObjectBase* Object, UClass* Class) { Object->ClassPrivate = Class; }
	static int32 GetIndex(const UObjectBase* Object) { return Object->InternalIndex; }
};
