// The lowest level of every object: its class, name, outer, flags and slot in the object array.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/UObjectArray.h"

class COREUOBJECT_API UObjectBase
{
	friend class UObjectBaseUtility;
	friend struct UE_CoreUObject_Private_FObjectAccess;

protected:
	// Objects are created by NewObject: the fields below were set when the memory was allocated
	// and are taken over here, before any derived constructor runs.
	UObjectBase();

public:
	// Used for the objects the system makes for itself before classes exist.
	UObjectBase(UClass* InClass, EObjectFlags InFlags, UObject* InOuter, FName InName);
	virtual ~UObjectBase();

	FORCEINLINE UClass* GetClass() const { return ClassPrivate; }
	FORCEINLINE UObject* GetOuter() const { return OuterPrivate; }
	FORCEINLINE FName GetFName() const { return NamePrivate; }
	FORCEINLINE uint32 GetUniqueID() const { return (uint32)InternalIndex; }
	FORCEINLINE EObjectFlags GetFlags() const { return ObjectFlags; }

	bool IsValidLowLevel() const;

protected:
	FORCEINLINE void SetFlagsTo(EObjectFlags NewFlags) { ObjectFlags = NewFlags; }

private:
	EObjectFlags ObjectFlags;
	int32 InternalIndex;
	UClass* ClassPrivate;
	FName NamePrivate;
	UObject* OuterPrivate;
};
