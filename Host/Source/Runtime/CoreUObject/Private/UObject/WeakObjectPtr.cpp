#include "UObject/WeakObjectPtr.h"
#include "UObject/Object.h"
#include "UObject/UObjectArray.h"

void FWeakObjectPtr::operator=(const UObject* Object)
{
	if (Object && GUObjectArray.IsValid(Object))
	{
		ObjectIndex = (int32)Object->GetUniqueID();
		ObjectSerialNumber = GUObjectArray.AllocateSerialNumber(ObjectIndex);
	}
	else
	{
		Reset();
	}
}

static FUObjectItem* ResolveItem(int32 Index, int32 Serial)
{
	if (Index == INDEX_NONE || Serial == 0)
	{
		return nullptr;
	}
	FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
	if (!Item || !Item->Object || Item->SerialNumber != Serial)
	{
		return nullptr;
	}
	return Item;
}

UObject* FWeakObjectPtr::Get(bool bEvenIfPendingKill) const
{
	FUObjectItem* Item = ResolveItem(ObjectIndex, ObjectSerialNumber);
	if (!Item || Item->IsUnreachable())
	{
		return nullptr;
	}
	if (!bEvenIfPendingKill && Item->IsGarbage())
	{
		return nullptr;
	}
	return (UObject*)Item->Object;
}

UObject* FWeakObjectPtr::Get() const
{
	return Get(false);
}

UObject* FWeakObjectPtr::GetEvenIfUnreachable() const
{
	FUObjectItem* Item = ResolveItem(ObjectIndex, ObjectSerialNumber);
	return Item ? (UObject*)Item->Object : nullptr;
}

bool FWeakObjectPtr::IsValid() const
{
	return Get() != nullptr;
}

bool FWeakObjectPtr::IsValid(bool bEvenIfPendingKill, bool bThreadsafeTest) const
{
	return Get(bEvenIfPendingKill) != nullptr;
}

bool FWeakObjectPtr::IsStale(bool bIncludingIfPendingKill, bool bThreadsafeTest) const
{
	if (ObjectSerialNumber == 0)
	{
		return false;
	}
	return Get(!bIncludingIfPendingKill) == nullptr;
}
