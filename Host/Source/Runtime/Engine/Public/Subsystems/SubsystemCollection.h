// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "Subsystems/Subsystem.h"

class UObject;
class FReferenceCollector;

/** Creates, holds and releases the subsystems of one owner (a game instance, for example). */
class FSubsystemCollectionBase
{
public:
	/** Initialize the collection of systems, systems will be created and initialized. */
	ENGINE_API void Initialize(UObject* NewOuter);

	/* Clears the collection, while deinitializing the systems */
	ENGINE_API void Deinitialize();

	/**
	 * Only call from Initialize() of Systems to ensure initialization order
	 * Note: Dependencies only work within a collection
	 */
	ENGINE_API USubsystem* InitializeDependency(TSubclassOf<USubsystem> SubsystemClass);

	/**
	 * Only call from Initialize() of Systems to ensure initialization order
	 * Note: Dependencies only work within a collection
	 */
	template <typename TSubsystemClass>
	TSubsystemClass* InitializeDependency()
	{
		return Cast<TSubsystemClass>(InitializeDependency(TSubsystemClass::StaticClass()));
	}

	/** Reports the subsystems to the collector; the owner calls it from its AddReferencedObjects. */
	ENGINE_API void AddReferencedObjects(UObject* Referencer, FReferenceCollector& Collector);

	ENGINE_API virtual ~FSubsystemCollectionBase();

protected:
	/** protected constructor - for use by the template only(FSubsystemCollection<TBaseType>) */
	ENGINE_API FSubsystemCollectionBase(UClass* InBaseType);

	/** Get a Subsystem by type */
	ENGINE_API USubsystem* GetSubsystemInternal(UClass* SubsystemClass) const;

	/** Get a list of Subsystems by type */
	ENGINE_API const TArray<USubsystem*>& GetSubsystemArrayInternal(UClass* SubsystemClass) const;

	/** Get the collection BaseType */
	const UClass* GetBaseType() const { return BaseType; }

private:
	USubsystem* AddAndInitializeSubsystem(UClass* SubsystemClass);
	USubsystem* CreateSubsystem(UClass* SubsystemClass);
	bool ShouldCreate(UClass* SubsystemClass) const;

	TMap<TObjectPtr<UClass>, TObjectPtr<USubsystem>> SubsystemMap;
	mutable TMap<UClass*, TArray<USubsystem*>> SubsystemArrayMap;

	/** The classes due to be created while the collection is being populated. */
	TArray<UClass*> PlannedClasses;

	UClass* BaseType;
	UObject* Outer;
	bool bPopulating;
};

/** The subsystems of one owner, all deriving from TBaseType. */
template<typename TBaseType>
class FObjectSubsystemCollection : public FSubsystemCollectionBase
{
public:
	/** Get a Subsystem by type */
	template <typename TSubsystemClass>
	TSubsystemClass* GetSubsystem(const TSubclassOf<TSubsystemClass>& SubsystemClass) const
	{
		static_assert(TIsDerivedFrom<TSubsystemClass, TBaseType>::IsDerived, "TSubsystemClass must be derived from TBaseType");

		// A static cast is safe here because we know SubsystemClass derives from TSubsystemClass if it is not null
		return static_cast<TSubsystemClass*>(GetSubsystemInternal(SubsystemClass));
	}

	/** Get a list of Subsystems by type */
	template <typename TSubsystemClass>
	const TArray<TSubsystemClass*>& GetSubsystemArray(const TSubclassOf<TSubsystemClass>& SubsystemClass) const
	{
		// Force a compile time check that TSubsystemClass derives from TBaseType, the internal code only enforces it's a USubsystem
		TSubclassOf<TBaseType> SubsystemBaseClass = SubsystemClass;

		const TArray<USubsystem*>& Array = GetSubsystemArrayInternal(SubsystemBaseClass);
		const TArray<TSubsystemClass*>* SpecificArray = reinterpret_cast<const TArray<TSubsystemClass*>*>(&Array);
		return *SpecificArray;
	}

public:
	/* FSubsystemCollectionBase constructor */
	FObjectSubsystemCollection()
		: FSubsystemCollectionBase(TBaseType::StaticClass())
	{
	}
};

/** The older name of FObjectSubsystemCollection. */
template<typename TBaseType>
using FSubsystemCollection = FObjectSubsystemCollection<TBaseType>;
