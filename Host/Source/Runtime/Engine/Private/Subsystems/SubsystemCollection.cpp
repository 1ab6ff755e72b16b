// Copyright Quarn. All Rights Reserved.

#include "Subsystems/SubsystemCollection.h"
#include "Subsystems/Subsystem.h"
#include "UObject/UObjectHash.h"
#include "UObject/Package.h"

DEFINE_LOG_CATEGORY_STATIC(LogSubsystemCollection, Log, All);

FSubsystemCollectionBase::FSubsystemCollectionBase(UClass* InBaseType)
	: BaseType(InBaseType)
	, Outer(nullptr)
	, bPopulating(false)
{
	check(BaseType);
}

FSubsystemCollectionBase::~FSubsystemCollectionBase()
{
	// The owner is being freed by the collector, and its subsystems with it: they may already be
	// gone, so nothing is called on them here. Owners deinitialize in their own shutdown.
	SubsystemArrayMap.Empty();
	SubsystemMap.Empty();
	Outer = nullptr;
}

bool FSubsystemCollectionBase::ShouldCreate(UClass* SubsystemClass) const
{
	// Only add instances for non abstract Subsystems, and only of classes that are authoritative.
	if (!SubsystemClass || SubsystemClass->HasAllClassFlags(CLASS_Abstract) || SubsystemClass->GetAuthoritativeClass() != SubsystemClass)
	{
		return false;
	}
	// Catch any attempt to add a subsystem of the wrong type
	checkf(SubsystemClass->IsChildOf(BaseType), TEXT("ClassType (%s) must be a subclass of BaseType(%s)."), *SubsystemClass->GetName(), *BaseType->GetName());
	const USubsystem* CDO = SubsystemClass->GetDefaultObject<USubsystem>();
	return CDO->ShouldCreateSubsystem(Outer);
}

void FSubsystemCollectionBase::Initialize(UObject* NewOuter)
{
	if (Outer != nullptr)
	{
		// already initialized
		return;
	}
	Outer = NewOuter;
	check(Outer);
	if (!ensureMsgf(SubsystemMap.Num() == 0, TEXT("Currently don't support repopulation of Subsystem Collections.")))
	{
		return;
	}
	check(!bPopulating);
	bPopulating = true;

	// Plan first (every loaded class of the base type that wants to exist), then create: a
	// subsystem's Initialize may ask for one planned later, which is then created on the spot.
	TArray<UClass*> SubsystemClasses;
	GetDerivedClasses(BaseType, SubsystemClasses, true);
	PlannedClasses.Reset();
	for (UClass* SubsystemClass : SubsystemClasses)
	{
		if (ShouldCreate(SubsystemClass))
		{
			PlannedClasses.Add(SubsystemClass);
		}
	}
	for (int32 Index = 0; Index < PlannedClasses.Num(); ++Index)
	{
		if (!SubsystemMap.Contains(PlannedClasses[Index]))
		{
			CreateSubsystem(PlannedClasses[Index]);
		}
	}

	PlannedClasses.Reset();
	bPopulating = false;
}

void FSubsystemCollectionBase::Deinitialize()
{
	// Deinit and clean up existing systems
	SubsystemArrayMap.Empty();
	for (auto Iter = SubsystemMap.CreateIterator(); Iter; ++Iter)
	{
		UClass* KeyClass = Iter.Key();
		USubsystem* Subsystem = Iter.Value();
		if (Subsystem != nullptr && Subsystem->GetClass() == KeyClass)
		{
			Subsystem->Deinitialize();
			Subsystem->InternalOwningSubsystem = nullptr;
		}
	}
	SubsystemMap.Empty();
	Outer = nullptr;
}

USubsystem* FSubsystemCollectionBase::InitializeDependency(TSubclassOf<USubsystem> SubsystemClass)
{
	USubsystem* Subsystem = nullptr;
	if (ensureMsgf(SubsystemClass, TEXT("Attempting to add invalid subsystem as dependancy."))
		&& ensureMsgf(bPopulating, TEXT("InitializeDependency() should only be called from System USubsystem::Initialization() implementations."))
		&& ensureMsgf(SubsystemClass->IsChildOf(BaseType), TEXT("ClassType (%s) must be a subclass of BaseType(%s)."), *SubsystemClass->GetName(), *BaseType->GetName()))
	{
		Subsystem = AddAndInitializeSubsystem(SubsystemClass);
	}
	return Subsystem;
}

USubsystem* FSubsystemCollectionBase::AddAndInitializeSubsystem(UClass* SubsystemClass)
{
	if (const TObjectPtr<USubsystem>* Existing = SubsystemMap.Find(SubsystemClass))
	{
		return *Existing;
	}
	// Planned classes already answered ShouldCreateSubsystem.
	if (!PlannedClasses.Contains(SubsystemClass) && !ShouldCreate(SubsystemClass))
	{
		return nullptr;
	}
	return CreateSubsystem(SubsystemClass);
}

USubsystem* FSubsystemCollectionBase::CreateSubsystem(UClass* SubsystemClass)
{
	USubsystem* Subsystem = NewObject<USubsystem>(Outer, SubsystemClass);
	// In the map before Initialize runs, so that a subsystem asking for itself finds itself.
	SubsystemMap.Add(SubsystemClass, Subsystem);
	SubsystemArrayMap.Empty();
	Subsystem->InternalOwningSubsystem = this;
	Subsystem->Initialize(*this);
	return Subsystem;
}

USubsystem* FSubsystemCollectionBase::GetSubsystemInternal(UClass* SubsystemClass) const
{
	if (!ensureMsgf(SubsystemClass, TEXT("GetSubsystem called with a null class")))
	{
		return nullptr;
	}
	if (const TObjectPtr<USubsystem>* SystemPtr = SubsystemMap.Find(SubsystemClass))
	{
		return *SystemPtr;
	}
	for (const auto& Pair : SubsystemMap)
	{
		if (Pair.Value && Pair.Value->GetClass()->IsChildOf(SubsystemClass))
		{
			return Pair.Value;
		}
	}
	if (bPopulating)
	{
		// Asked for, during population, before its turn: create it now.
		for (UClass* Planned : PlannedClasses)
		{
			if (Planned->IsChildOf(SubsystemClass))
			{
				return const_cast<FSubsystemCollectionBase*>(this)->CreateSubsystem(Planned);
			}
		}
		ensureMsgf(false, TEXT("Subsystem %s was requested while the collection is being populated, but it is not going to be created"), *SubsystemClass->GetName());
	}
	return nullptr;
}

const TArray<USubsystem*>& FSubsystemCollectionBase::GetSubsystemArrayInternal(UClass* SubsystemClass) const
{
	if (const TArray<USubsystem*>* Cached = SubsystemArrayMap.Find(SubsystemClass))
	{
		return *Cached;
	}
	TArray<USubsystem*>& NewList = SubsystemArrayMap.Add(SubsystemClass);
	for (const auto& Pair : SubsystemMap)
	{
		if (Pair.Value && Pair.Value->GetClass()->IsChildOf(SubsystemClass))
		{
			NewList.Add(Pair.Value);
		}
	}
	return NewList;
}

void FSubsystemCollectionBase::AddReferencedObjects(UObject* Referencer, FReferenceCollector& Collector)
{
	Collector.AddStableReferenceMap(SubsystemMap);
}
