#include "UObject/UObjectBase.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/ObjectPrivate.h"

using namespace UE::CoreUObject::Private;

// ---------------------------------------------------------------------------------------------
// The object array

int32 FUObjectArray::AllocateIndex(UObjectBase* Object)
{
	int32 Index;
	if (FreeList.Num() > 0)
	{
		Index = FreeList.Pop();
	}
	else
	{
		Index = Items.AddDefaulted();
	}
	FUObjectItem& Item = Items[Index];
	Item.Object = Object;
	Item.Flags = 0;
	Item.SerialNumber = 0;
	return Index;
}

void FUObjectArray::FreeIndex(int32 Index)
{
	FUObjectItem& Item = Items[Index];
	Item.Object = nullptr;
	Item.Flags = 0;
	// A new serial is handed out when the slot is reused, so old weak pointers never match again.
	Item.SerialNumber = 0;
	FreeList.Add(Index);
}

FUObjectItem* FUObjectArray::ObjectToObjectItem(const UObjectBase* Object)
{
	if (!Object)
	{
		return nullptr;
	}
	FUObjectItem* Item = IndexToObject((int32)Object->GetUniqueID());
	return Item && Item->Object == Object ? Item : nullptr;
}

int32 FUObjectArray::AllocateSerialNumber(int32 Index)
{
	FUObjectItem* Item = IndexToObject(Index);
	check(Item && Item->Object);
	if (Item->SerialNumber == 0)
	{
		Item->SerialNumber = MasterSerialNumber++;
	}
	return Item->SerialNumber;
}

bool FUObjectArray::IsValid(const UObjectBase* Object) const
{
	const FUObjectItem* Item = Object ? IndexToObject((int32)Object->GetUniqueID()) : nullptr;
	return Item && Item->Object == Object;
}

FUObjectArray& UE_Host_GetUObjectArray()
{
	// Never destroyed: objects alive at exit stay reachable for leak checkers.
	static FUObjectArray* Array = new FUObjectArray();
	return *Array;
}

// ---------------------------------------------------------------------------------------------
// Object base

namespace UE::CoreUObject::Private
{
	static thread_local FPendingObject* GPendingObject = nullptr;

	void SetPendingObject(FPendingObject* Pending)
	{
		GPendingObject = Pending;
	}
}

UObjectBase::UObjectBase()
{
	FPendingObject* Pending = GPendingObject;
	checkf(Pending && Pending->Memory == this, TEXT("Objects must be created with NewObject"));
	GPendingObject = nullptr;
	ObjectFlags = Pending->Flags;
	InternalIndex = Pending->Index;
	ClassPrivate = Pending->Class;
	NamePrivate = Pending->Name;
	OuterPrivate = Pending->Outer;
}

UObjectBase::UObjectBase(UClass* InClass, EObjectFlags InFlags, UObject* InOuter, FName InName)
	: ObjectFlags(InFlags)
	, InternalIndex(INDEX_NONE)
	, ClassPrivate(InClass)
	, NamePrivate(InName)
	, OuterPrivate(InOuter)
{
}

UObjectBase::~UObjectBase()
{
}

bool UObjectBase::IsValidLowLevel() const
{
	return GUObjectArray.IsValid(this) && ClassPrivate != nullptr;
}

// ---------------------------------------------------------------------------------------------
// Utility

bool UObjectBaseUtility::HasAnyInternalFlags(EInternalObjectFlags FlagsToCheck) const
{
	const FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this);
	return Item && Item->HasAnyFlags(FlagsToCheck);
}

void UObjectBaseUtility::SetInternalFlags(EInternalObjectFlags FlagsToSet) const
{
	if (FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this))
	{
		Item->SetFlags(FlagsToSet);
	}
}

void UObjectBaseUtility::ClearInternalFlags(EInternalObjectFlags FlagsToClear) const
{
	if (FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(this))
	{
		Item->ClearFlags(FlagsToClear);
	}
}

void UObjectBaseUtility::MarkAsGarbage()
{
	check(!IsRooted());
	SetFlags(RF_MirroredGarbage);
	SetInternalFlags(EInternalObjectFlags::Garbage);
}

void UObjectBaseUtility::ClearGarbage()
{
	ClearFlags(RF_MirroredGarbage);
	ClearInternalFlags(EInternalObjectFlags::Garbage);
}

void UObjectBaseUtility::AddToRoot()
{
	SetInternalFlags(EInternalObjectFlags::RootSet);
}

void UObjectBaseUtility::RemoveFromRoot()
{
	ClearInternalFlags(EInternalObjectFlags::RootSet);
}

bool UObjectBaseUtility::IsTemplate(EObjectFlags TemplateTypes) const
{
	for (const UObjectBaseUtility* Test = this; Test; Test = Test->GetOuter())
	{
		if (Test->HasAnyFlags(TemplateTypes))
		{
			return true;
		}
	}
	return false;
}

void UObjectBaseUtility::GetPathName(const UObject* StopOuter, FString& ResultString) const
{
	if (this == StopOuter)
	{
		ResultString += TEXT("None");
		return;
	}
	UObject* Outer = GetOuter();
	if (Outer && Outer != StopOuter)
	{
		Outer->GetPathName(StopOuter, ResultString);
		// A subobject of a top-level asset is separated with ':', everything else with '.'.
		UObject* OuterOuter = Outer->GetOuter();
		if (Outer->GetClass() != UPackage::StaticClass() && OuterOuter && OuterOuter->GetClass() == UPackage::StaticClass())
		{
			ResultString += TEXT(":");
		}
		else
		{
			ResultString += TEXT(".");
		}
	}
	ResultString += GetName();
}

FString UObjectBaseUtility::GetPathName(const UObject* StopOuter) const
{
	FString Result;
	GetPathName(StopOuter, Result);
	return Result;
}

FString UObjectBaseUtility::GetFullName(const UObject* StopOuter) const
{
	return GetClass()->GetName() + TEXT(" ") + GetPathName(StopOuter);
}

UPackage* UObjectBaseUtility::GetOutermost() const
{
	const UObjectBaseUtility* Top = this;
	while (Top->GetOuter())
	{
		Top = Top->GetOuter();
	}
	return (UPackage*)Top;
}

UPackage* UObjectBaseUtility::GetPackage() const
{
	return GetOutermost();
}

UObject* UObjectBaseUtility::GetOutermostObject() const
{
	const UObjectBaseUtility* Top = this;
	while (Top->GetOuter() && !Top->GetOuter()->IsA(UPackage::StaticClass()))
	{
		Top = Top->GetOuter();
	}
	return (UObject*)Top;
}

bool UObjectBaseUtility::IsIn(const UObject* SomeOuter) const
{
	for (const UObject* It = GetOuter(); It; It = It->GetOuter())
	{
		if (It == SomeOuter)
		{
			return true;
		}
	}
	return SomeOuter == nullptr;
}

UObject* UObjectBaseUtility::GetTypedOuter(UClass* Target) const
{
	for (UObject* It = GetOuter(); It; It = It->GetOuter())
	{
		if (It->IsA(Target))
		{
			return It;
		}
	}
	return nullptr;
}

bool UObjectBaseUtility::IsA(const UClass* SomeBase) const
{
	const UClass* ThisClass = GetClass();
	return SomeBase && ThisClass && ThisClass->IsChildOf(SomeBase);
}

FString GetNameSafe(const UObjectBaseUtility* Object)
{
	return Object ? Object->GetName() : FString(TEXT("None"));
}

FName GetFNameSafe(const UObjectBaseUtility* Object)
{
	return Object ? Object->GetFName() : NAME_None;
}

FString GetPathNameSafe(const UObjectBaseUtility* Object)
{
	return Object ? Object->GetPathName() : FString(TEXT("None"));
}

FString GetFullNameSafe(const UObjectBaseUtility* Object)
{
	return Object ? Object->GetFullName() : FString(TEXT("None"));
}
