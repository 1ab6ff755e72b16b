// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Level.generated.h"

class AActor;
class UWorld;

/**
 * The level object. Contains the level's actor list; actors spawned in a world live in its
 * persistent level, which is their outer.
 */
UCLASS(MinimalAPI)
class ULevel : public UObject
{
	GENERATED_BODY()

public:
	ENGINE_API ULevel(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Array of all actors in this level, used by FActorIteratorBase and derived classes. Destroyed actors leave a null entry. */
	TArray<TObjectPtr<AActor>> Actors;

	/** The World that has this level in its Levels array. */
	UPROPERTY(Transient)
	TObjectPtr<UWorld> OwningWorld;

	/** Reports the actors to the collector: the actor list is not a reflected property. */
	ENGINE_API static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);
};
