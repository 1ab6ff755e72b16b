// Mark and sweep: mark from the root set, FGCObject referencers and class hooks through every
// reflected reference; destroy what was not reached.
#include "UObject/UObjectGlobals.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "UObject/GCObject.h"
#include "UObject/UObjectIterator.h"
#include "UObject/ObjectPrivate.h"
#include "Host/ObjectLoading.h"

using namespace UE::CoreUObject::Private;

namespace
{
	bool GIsCollecting = false;

	TArray<FGCObject*>& GetReferencers()
	{
		static TArray<FGCObject*>* Referencers = new TArray<FGCObject*>();
		return *Referencers;
	}

	class FMarkCollector final : public FReferenceCollector
	{
	public:
		TArray<UObject*> Pending;

		void Reach(UObject* Object)
		{
			FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(Object);
			if (Item && Item->IsUnreachable())
			{
				Item->ClearFlags(EInternalObjectFlags::Unreachable);
				Pending.Add(Object);
			}
		}

		virtual void HandleObjectReference(UObject*& InObject, const UObject* InReferencingObject, const FProperty* InReferencingProperty) override
		{
			UObject* Object = InObject;
			if (!Object)
			{
				return;
			}
			FUObjectItem* Item = GUObjectArray.ObjectToObjectItem(Object);
			if (!Item)
			{
				return;
			}
			// References to objects marked as garbage are cleared, so the object can go.
			if (Item->IsGarbage() && !Item->IsRootSet())
			{
				InObject = nullptr;
				return;
			}
			Reach(Object);
		}
	};

	void ProcessObject(FMarkCollector& Collector, UObject* Object)
	{
		UClass* Class = Object->GetClass();
		Collector.Reach(Class);
		if (UObject* Outer = Object->GetOuter())
		{
			Collector.Reach(Outer);
		}
		for (TFieldIterator<FProperty> It(Class); It; ++It)
		{
			if (It->ContainsObjectReference())
			{
				It->AddReferencedObjects_InContainer(Object, Collector, Object);
			}
		}
		if (Class->ClassAddReferencedObjects)
		{
			Class->CallAddReferencedObjects(Object, Collector);
		}
	}

	void Collect(EObjectFlags KeepFlags, bool bPurgeEverythingUnrooted)
	{
		checkf(!GIsCollecting, TEXT("CollectGarbage called while a collection is running"));
		GIsCollecting = true;
		FMarkCollector Collector;

		// Everything starts unreachable except the roots.
		for (int32 Index = 0; Index < GUObjectArray.GetObjectArrayNum(); ++Index)
		{
			FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
			if (!Item->Object)
			{
				continue;
			}
			UObject* Object = (UObject*)Item->Object;
			const bool bRoot = Item->IsRootSet() || Item->HasAnyFlags(EInternalObjectFlags::PendingConstruction)
				|| (!bPurgeEverythingUnrooted && KeepFlags != RF_NoFlags && Object->HasAnyFlags(KeepFlags) && !Item->IsGarbage());
			if (bRoot)
			{
				Item->ClearFlags(EInternalObjectFlags::Unreachable);
				Collector.Pending.Add(Object);
			}
			else
			{
				Item->SetFlags(EInternalObjectFlags::Unreachable);
			}
		}
		if (!bPurgeEverythingUnrooted)
		{
			for (FGCObject* Referencer : TArray<FGCObject*>(GetReferencers()))
			{
				Referencer->AddReferencedObjects(Collector);
			}
		}
		while (Collector.Pending.Num() > 0)
		{
			UObject* Object = Collector.Pending.Pop(EAllowShrinking::No);
			ProcessObject(Collector, Object);
		}

		// Sweep in the engine's order: every BeginDestroy, then every FinishDestroy, then memory.
		TArray<UObject*> Unreachable;
		for (int32 Index = 0; Index < GUObjectArray.GetObjectArrayNum(); ++Index)
		{
			FUObjectItem* Item = GUObjectArray.IndexToObject(Index);
			if (Item->Object && Item->IsUnreachable())
			{
				Unreachable.Add((UObject*)Item->Object);
			}
		}
		for (UObject* Object : Unreachable)
		{
			Object->ConditionalBeginDestroy();
		}
		for (UObject* Object : Unreachable)
		{
			Object->ConditionalFinishDestroy();
		}
		for (UObject* Object : Unreachable)
		{
			DestroyObjectMemory(Object);
		}
		if (Unreachable.Num() > 0)
		{
			UE_LOG(LogGarbage, Verbose, TEXT("Collected %d objects"), Unreachable.Num());
		}
		GIsCollecting = false;
	}
}

namespace UE::CoreUObject::Private
{
	void DestroyObjectMemory(UObjectBase* Object)
	{
		UnhashObject(Object);
		GUObjectArray.FreeIndex((int32)Object->GetUniqueID());
		Object->~UObjectBase();
		FMemory::Free(Object);
	}
}

void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	Collect(KeepFlags, false);
}

bool TryCollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	if (GIsCollecting)
	{
		return false;
	}
	CollectGarbage(KeepFlags, bPerformFullPurge);
	return true;
}

bool IsGarbageCollecting()
{
	return GIsCollecting;
}

void FReferenceCollector::AddPropertyReferences(const UStruct* Struct, void* Container, const UObject* ReferencingObject)
{
	for (TFieldIterator<FProperty> It(Struct); It; ++It)
	{
		if (It->ContainsObjectReference())
		{
			It->AddReferencedObjects_InContainer(Container, *this, ReferencingObject);
		}
	}
}

// ---------------------------------------------------------------------------------------------
// FGCObject

FGCObject::FGCObject()
{
	Register();
}

FGCObject::FGCObject(const FGCObject& Other)
{
	Register();
}

FGCObject::FGCObject(FGCObject&& Other)
{
	Register();
}

FGCObject::~FGCObject()
{
	Unregister();
}

void FGCObject::Register()
{
	GetReferencers().Add(this);
}

void FGCObject::Unregister()
{
	GetReferencers().RemoveSingle(this);
}

void FGCObject::ForEachReferencer(TFunctionRef<void(FGCObject&)> Visit)
{
	for (FGCObject* Referencer : GetReferencers())
	{
		Visit(*Referencer);
	}
}

namespace UE::Host
{
	void PurgeAllUnrootedObjects()
	{
		Collect(RF_NoFlags, true);
	}
}
