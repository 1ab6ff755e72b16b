// The global object array: every live object has a slot; weak pointers name a slot and the
// serial number it had when they were made, so they go null once the slot is freed or reused.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

class UObjectBase;

struct FUObjectItem
{
	UObjectBase* Object = nullptr;
	int32 Flags = 0;        // EInternalObjectFlags
	int32 SerialNumber = 0; // 0 until a weak pointer asks for one

	bool HasAnyFlags(EInternalObjectFlags InFlags) const { return (Flags & (int32)InFlags) != 0; }
	void SetFlags(EInternalObjectFlags InFlags) { Flags |= (int32)InFlags; }
	void ClearFlags(EInternalObjectFlags InFlags) { Flags &= ~(int32)InFlags; }
	bool IsRootSet() const { return HasAnyFlags(EInternalObjectFlags::RootSet); }
	bool IsGarbage() const { return HasAnyFlags(EInternalObjectFlags::Garbage); }
	bool IsUnreachable() const { return HasAnyFlags(EInternalObjectFlags::Unreachable); }
};

class COREUOBJECT_API FUObjectArray
{
public:
	int32 AllocateIndex(UObjectBase* Object);
	void FreeIndex(int32 Index);

	int32 GetObjectArrayNum() const { return Items.Num(); }
	// Number of slots that hold an object.
	int32 GetObjectArrayNumMinusAvailable() const { return Items.Num() - FreeList.Num(); }

	FUObjectItem* IndexToObject(int32 Index)
	{
		return Items.IsValidIndex(Index) ? &Items[Index] : nullptr;
	}
	const FUObjectItem* IndexToObject(int32 Index) const
	{
		return Items.IsValidIndex(Index) ? &Items[Index] : nullptr;
	}
	FUObjectItem* ObjectToObjectItem(const UObjectBase* Object);

	// Serial numbers are handed out on first use, as the engine does.
	int32 AllocateSerialNumber(int32 Index);

	bool IsValid(const UObjectBase* Object) const;

private:
	TArray<FUObjectItem> Items;
	TArray<int32> FreeList;
	int32 MasterSerialNumber = 1;
};

// The one object array; it is never destroyed, so objects alive at exit stay reachable. It is
// reached through a function so that registration during static initialisation finds it built.
COREUOBJECT_API FUObjectArray& UE_Host_GetUObjectArray();
#define GUObjectArray (UE_Host_GetUObjectArray())
