// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Templates/Function.h"
#include "Templates/Casts.h"
#include "Engine/EngineTypes.h"
#include "Engine/EngineBaseTypes.h"
#include "World.generated.h"

class AActor;
class APawn;
class ULevel;
class UGameInstance;
class UPackage;
struct FTickFunction;

/** Modes that SpawnActor can use the supplied name when it is not None. */
enum class ESpawnActorNameMode : uint8
{
	/** Fatal if unavailable, application will assert */
	Required_Fatal,

	/** Report an error return null if unavailable */
	Required_ErrorAndReturnNull,

	/** Return null if unavailable */
	Required_ReturnNull,

	/** If the supplied Name is already in use the generate an unused one using the supplied version as a base */
	Requested
};

/* Struct of optional parameters passed to SpawnActor function(s). */
struct FActorSpawnParameters
{
	ENGINE_API FActorSpawnParameters();

	/* A name to assign as the Name of the Actor being spawned. If no value is specified, the name of the spawned Actor will be automatically generated using the form [Class]_[Number]. */
	FName Name;

	/* An Actor to use as a template when spawning the new Actor. The spawned Actor will be initialized using the property values of the template Actor. If left NULL the class default object (CDO) will be used to initialize the spawned Actor. */
	AActor* Template;

	/* The Actor that spawned this Actor. (Can be left as NULL). */
	AActor* Owner;

	/* The APawn that is responsible for damage done by the spawned Actor. (Can be left as NULL). */
	APawn* Instigator;

	/* The ULevel to spawn the Actor in, i.e. the Outer of the Actor. If left as NULL the Outer of the Owner is used. If the Outer of the Owner is NULL the persistent level is used. */
	ULevel* OverrideLevel;

	/* Determines whether spawning will not fail if certain conditions are not met. If true, spawning will not fail because the class being spawned is `bStatic=true` or because the class of the template Actor is not the same as the class of the Actor being spawned. */
	uint8 bNoFail : 1;

	/* In which way should SpawnActor should treat the supplied Name if not none. */
	ESpawnActorNameMode NameMode;

	/* Flags used to describe the spawned actor/object instance. */
	EObjectFlags ObjectFlags;

	/* Custom function allowing the caller to specific a function to execute post actor construction but before other systems see this actor spawn. */
	TFunction<void(AActor*)> CustomPreSpawnInitalization;
};

/**
 * The World is the top level object representing a map or a sandbox in which Actors and Components will exist and be rendered.
 *
 * A host world has one persistent level and no physics, rendering or networking; it begins play,
 * ticks its actors' tick functions and destroys actors as the engine's world does.
 */
UCLASS(customConstructor, config=Engine, MinimalAPI)
class UWorld final : public UObject
{
	GENERATED_BODY()

public:
	ENGINE_API UWorld(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** Persistent level containing the world info, default brush and actors spawned during gameplay among other things */
	UPROPERTY(Transient)
	TObjectPtr<ULevel> PersistentLevel;

	/** The type of world this is. Describes the context in which it is being used (Editor, Game, Preview etc.) */
	TEnumAsByte<EWorldType::Type> WorldType;

	/**
	 * Static function that creates a new UWorld and returns a pointer to it
	 */
	static ENGINE_API UWorld* CreateWorld(const EWorldType::Type InWorldType, bool bInformEngineOfWorld, FName WorldName = NAME_None, UPackage* InWorldPackage = nullptr, bool bAddToRoot = true);

	/**
	 * Destroy this World instance. If destroying the world to load a different world, supply it here to prevent GC of the new world or it's sublevels.
	 */
	ENGINE_API void DestroyWorld(bool bInformEngineOfWorld, UWorld* NewWorld = nullptr);

	/** Cleans up components, streaming data and assorted other intermediate data. */
	ENGINE_API void CleanupWorld(bool bSessionEnded = true, bool bCleanupResources = true, UWorld* NewWorld = nullptr);

	// UObject interface.
	virtual UWorld* GetWorld() const override final { return const_cast<UWorld*>(this); }
	ENGINE_API virtual void BeginDestroy() override;

	/** Returns the owning game instance for this world */
	UGameInstance* GetGameInstance() const { return OwningGameInstance; }

	/** The game net driver, for client/server communication; null in a world without networking. */
	UPROPERTY(Transient)
	TObjectPtr<class UNetDriver> NetDriver;

	/** Sets the game net driver of this world. */
	ENGINE_API void SetNetDriver(UNetDriver* NewDriver);

	/** Returns the net mode this world is running under: the net driver's, or standalone without one. */
	ENGINE_API ENetMode GetNetMode() const;

	/** Returns the owning game instance casted to the template type. */
	template<class T>
	T* GetGameInstance() const
	{
		return Cast<T>(OwningGameInstance);
	}

	/** Returns the owning game instance casted to the template type, asserting that it is of the correct type. */
	template<class T>
	T* GetGameInstanceChecked() const
	{
		return CastChecked<T>(OwningGameInstance);
	}

	/** Returns true if this world is any kind of game world (including PIE worlds) */
	ENGINE_API bool IsGameWorld() const;

	/** Returns the game viewport of this world's context, if it has one. */
	ENGINE_API class UGameViewportClient* GetGameViewport() const;

	/** Sets the owning game instance for this world */
	ENGINE_API void SetGameInstance(UGameInstance* NewGI);

	/** Begins play: every actor of the world gets BeginPlay, in the order they were added; actors spawned afterwards get it when they are spawned. */
	ENGINE_API void BeginPlay();

	/** Returns true if gameplay has already started, false otherwise. */
	bool HasBegunPlay() const { return bBegunPlay; }

	/** Marks the world as being torn down: nothing spawns into it from now on. */
	ENGINE_API void BeginTearingDown();

	/** Returns true if the world is in the process of being torn down. */
	bool IsTearingDown() const { return bIsTearingDown; }

	/** Update the level after a variable amount of time, DeltaSeconds, has passed. All child actors are ticked after their owners have been ticked. */
	ENGINE_API void Tick(ELevelTick TickType, float DeltaSeconds);

	/** Time in seconds since level began play, but IS paused when the game is paused, and IS dilated/clamped. */
	double GetTimeSeconds() const { return TimeSeconds; }

	/** Returns time in seconds since world was brought up for play, does NOT stop when game pauses, NOT dilated/clamped */
	double GetRealTimeSeconds() const { return RealTimeSeconds; }

	/** Returns the frame delta time in seconds adjusted by e.g. time dilation. */
	float GetDeltaSeconds() const { return DeltaTimeSeconds; }

	/**
	 * Spawn Actors with given transform and SpawnParameters
	 *
	 * @param	Class					Class to Spawn
	 * @param	SpawnParameters			Spawn Parameters
	 *
	 * @return	Actor that just spawned
	 */
	ENGINE_API AActor* SpawnActor(UClass* Class, const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters());

	/** Templated version of SpawnActor that allows you to specify a class type via the template type */
	template<class T>
	T* SpawnActor(const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(T::StaticClass(), SpawnParameters), ECastCheckedType::NullAllowed);
	}

	/** Templated version of SpawnActor that allows you to specify the class type via parameter while the return type is a parent class of that type */
	template<class T>
	T* SpawnActor(UClass* Class, const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(Class, SpawnParameters), ECastCheckedType::NullAllowed);
	}

	/**
	 * Removes the actor from its level's actor list and generally cleans up the engine's internal state.
	 * What this function does not do, but is handled via garbage collection instead, is remove references
	 * to this actor from all other actors, and kill the actor's resources.
	 *
	 * @return true if destroyed or already marked for destruction, false if actor couldn't be destroyed.
	 */
	ENGINE_API bool DestroyActor(AActor* Actor, bool bNetForce = false, bool bShouldModifyLevel = true);

	/** Removes the passed in actor from the actor lists. Please note that the code actually doesn't physically remove the index but rather clears it so other indices are still valid. */
	ENGINE_API void RemoveActor(AActor* Actor, bool bShouldModifyLevel) const;

private:
	friend struct FTickFunction;

	/** The owning game instance. Set through SetGameInstance. */
	UPROPERTY(Transient)
	TObjectPtr<UGameInstance> OwningGameInstance;

	/** Tick functions registered with this world, in registration order. */
	TArray<FTickFunction*> TickFunctions;

	double TimeSeconds = 0.0;
	double RealTimeSeconds = 0.0;
	float DeltaTimeSeconds = 0.0f;
	bool bBegunPlay = false;
	bool bIsTearingDown = false;
	bool bIsWorldInitialized = false;
	bool bTickingTickFunctions = false;

	void InitializeNewWorld();
	void RunTickGroup(ETickingGroup Group, float DeltaSeconds, ELevelTick TickType);
};
