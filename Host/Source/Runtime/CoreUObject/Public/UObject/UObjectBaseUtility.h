// Flags, names, outers and the class queries every object offers.
#pragma once

#include "UObject/UObjectBase.h"

class COREUOBJECT_API UObjectBaseUtility : public UObjectBase
{
protected:
	UObjectBaseUtility() = default;

public:
	using UObjectBase::UObjectBase;

	// Flags
	FORCEINLINE void SetFlags(EObjectFlags NewFlags) { SetFlagsTo(GetFlags() | NewFlags); }
	FORCEINLINE void ClearFlags(EObjectFlags NewFlags) { SetFlagsTo(GetFlags() & ~NewFlags); }
	FORCEINLINE bool HasAnyFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) != 0; }
	FORCEINLINE bool HasAllFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) == FlagsToCheck; }
	FORCEINLINE EObjectFlags GetMaskedFlags(EObjectFlags Mask = RF_AllFlags) const { return GetFlags() & Mask; }

	bool HasAnyInternalFlags(EInternalObjectFlags FlagsToCheck) const;
	void SetInternalFlags(EInternalObjectFlags FlagsToSet) const;
	void ClearInternalFlags(EInternalObjectFlags FlagsToClear) const;

	// Garbage and the root set
	void MarkAsGarbage();
	void ClearGarbage();
	bool IsUnreachable() const { return HasAnyInternalFlags(EInternalObjectFlags::Unreachable); }
	void AddToRoot();
	void RemoveFromRoot();
	bool IsRooted() const { return HasAnyInternalFlags(EInternalObjectFlags::RootSet); }
	bool IsTemplate(EObjectFlags TemplateTypes = (EObjectFlags)(RF_ArchetypeObject | RF_ClassDefaultObject)) const;

	// Names
	FString GetName() const { return GetFName().ToString(); }
	void GetName(FString& ResultString) const { ResultString = GetName(); }
	FString GetPathName(const UObject* StopOuter = nullptr) const;
	void GetPathName(const UObject* StopOuter, FString& ResultString) const;
	FString GetFullName(const UObject* StopOuter = nullptr) const;

	// Outers
	UPackage* GetOutermost() const;
	UPackage* GetPackage() const;
	UObject* GetOutermostObject() const;
	bool IsIn(const UObject* SomeOuter) const;
	UObject* GetTypedOuter(UClass* Target) const;
	template<typename T>
	T* GetTypedOuter() const
	{
		return (T*)GetTypedOuter(T::StaticClass());
	}

	// Classes
	bool IsA(const UClass* SomeBase) const;
	template<class T>
	bool IsA() const
	{
		return IsA(T::StaticClass());
	}
};

// "None" for null, as the engine's helpers.
COREUOBJECT_API FString GetNameSafe(const UObjectBaseUtility* Object);
COREUOBJECT_API FName GetFNameSafe(const UObjectBaseUtility* Object);
COREUOBJECT_API FString GetPathNameSafe(const UObjectBaseUtility* Object);
COREUOBJECT_API FString GetFullNameSafe(const UObjectBaseUtility* Object);
