// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Templates/UniquePtr.h"
#include "Engine/EngineTypes.h"
#include "Subsystems/EngineSubsystem.h"
#include "Subsystems/SubsystemCollection.h"
#include "Engine.generated.h"

class IEngineLoop;
class UGameInstance;
class UGameViewportClient;
class UWorld;

/** How GetWorldFromContextObject reacts to an object without a world. */
enum class EGetWorldErrorMode
{
	// Silently returns nullptr, the calling code is expected to handle this gracefully
	ReturnNull,

	// Raises a runtime error but still returns nullptr, the calling code is expected to handle this gracefully
	LogAndReturnNull,

	// Asserts, the calling code is not expecting to handle a failure gracefully
	Assert
};

/**
 * A context for dealing with UWorlds at the engine level. As the engine brings up and destroys
 * world, we need a way to keep straight what world belongs to what.
 */
struct FWorldContext
{
	ENGINE_API FWorldContext();

	TEnumAsByte<EWorldType::Type> WorldType;

	/** A name for the context, unique within the engine. */
	FName ContextHandle;

	/** The game instance that owns this context, if any. */
	TObjectPtr<UGameInstance> OwningGameInstance;

	/** The viewport showing this context's world, if any. */
	TObjectPtr<UGameViewportClient> GameViewport;

	/** Set CurrentWorld and update external reference pointers to reflect this */
	ENGINE_API void SetCurrentWorld(UWorld* World);

	/** Returns the current world of this context. */
	UWorld* World() const { return ThisCurrentWorld; }

	/** Reports the context's world and game instance to the collector. */
	ENGINE_API void AddReferencedObjects(FReferenceCollector& Collector, const UObject* ReferencingObject);

private:
	TObjectPtr<UWorld> ThisCurrentWorld;
};

/**
 * Abstract base class of all Engine classes, responsible for management of systems critical to editor or game systems.
 * Also defines default classes for certain engine systems.
 */
UCLASS(abstract, config=Engine, defaultconfig, transient, MinimalAPI)
class UEngine : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** The game viewport, when the engine shows one. */
	UPROPERTY()
	TObjectPtr<UGameViewportClient> GameViewport;

	/** Initialize the game engine. */
	ENGINE_API virtual void Init(IEngineLoop* InEngineLoop);

	/** Start the game, separate from the initialize call to allow for post initialize configuration before the game starts. */
	ENGINE_API virtual void Start();

	/** Called at shutdown, just before the exit purge. */
	ENGINE_API virtual void PreExit();

	/** Update everything. */
	ENGINE_API virtual void Tick(float DeltaSeconds, bool bIdleMode);

	/**
	 * Obtain a world object pointer from an object with has a world context.
	 *
	 * @param Object		Object whose owning world we require.
	 * @param ErrorMode		Controls what happens if the Object cannot be found
	 * @return				The world to which the object belongs or nullptr if it cannot be found.
	 */
	ENGINE_API UWorld* GetWorldFromContextObject(const UObject* Object, EGetWorldErrorMode ErrorMode) const;

	/**
	 * Obtain a world object pointer from an object with has a world context.
	 *
	 * @param Object		Object whose owning world we require.
	 * @return				The world to which the object belongs; asserts if the world cannot be found!
	 */
	UWorld* GetWorldFromContextObjectChecked(const UObject* Object) const
	{
		return GetWorldFromContextObject(Object, EGetWorldErrorMode::Assert);
	}

	/** Creates a world context of the given type, owned by the engine. */
	ENGINE_API FWorldContext& CreateNewWorldContext(EWorldType::Type WorldType);

	/** The world context of a world, or null when the engine does not know the world. */
	ENGINE_API FWorldContext* GetWorldContextFromWorld(const UWorld* InWorld);

	/** The world context of a world; fatal when the engine does not know the world. */
	ENGINE_API FWorldContext& GetWorldContextFromWorldChecked(const UWorld* InWorld);

	/** Removes the world context of a world. */
	ENGINE_API virtual void DestroyWorldContext(UWorld* InWorld);

	/**
	 * Updates the timer between garbage collection such that at the next opportunity garbage collection will be run.
	 * @param bFullPurge Whether to run a full purge.
	 */
	ENGINE_API void ForceGarbageCollection(bool bFullPurge = false);

	/** Collects garbage once the time between passes has run out, or at once when a collection was forced. */
	ENGINE_API void ConditionalCollectGarbage();

	/** Collects garbage now. */
	ENGINE_API void PerformGarbageCollectionAndCleanupActors();

	/** Seconds between garbage collections run by ConditionalCollectGarbage; 0 leaves collection to ForceGarbageCollection. */
	ENGINE_API float GetTimeBetweenGarbageCollectionPasses() const;

	/** The engine subsystem of a class; null before Init or when none was created. */
	UEngineSubsystem* GetEngineSubsystemBase(TSubclassOf<UEngineSubsystem> SubsystemClass) const
	{
		return EngineSubsystemCollection.GetSubsystem<UEngineSubsystem>(SubsystemClass);
	}

	template <typename TSubsystemClass>
	TSubsystemClass* GetEngineSubsystem() const
	{
		return EngineSubsystemCollection.GetSubsystem<TSubsystemClass>(TSubsystemClass::StaticClass());
	}

	/** Reports the world contexts' worlds and game instances. */
	ENGINE_API static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);

protected:
	/** Seconds of engine time that have passed since the last garbage collection. */
	float TimeSinceLastPendingKillPurge;

	/** Whether a full purge was asked for by ForceGarbageCollection. */
	bool bFullPurgeTriggered;

	/** The delta time of the frame being ticked, for the garbage collection timer. */
	float CurrentDeltaSeconds;

	/** The world contexts, in creation order. */
	TArray<TUniquePtr<FWorldContext>> WorldList;

private:
	FObjectSubsystemCollection<UEngineSubsystem> EngineSubsystemCollection;

	int32 NextWorldContextHandle;
	bool bCollectionRequested;
	uint64 LastGCFrame;
};

/** Global engine pointer. Can be 0 so don't use without checking. */
extern ENGINE_API class UEngine* GEngine;
