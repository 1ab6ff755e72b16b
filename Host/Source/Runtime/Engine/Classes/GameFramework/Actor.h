// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"
#include "Engine/EngineTypes.h"
#include "Engine/EngineBaseTypes.h"
#include "Actor.generated.h"

class ULevel;
class UWorld;

/**
 * Actor is the base class for an Object that can be placed or spawned in a level.
 *
 * The host's actors have no components, transform, replication or input: they live in a level of a
 * world, begin and end play, tick and are destroyed as the engine's do.
 */
UCLASS(BlueprintType, Blueprintable, config=Engine, meta=(ShortTooltip="An Actor is an object that can be placed or spawned in the world."), MinimalAPI)
class AActor : public UObject
{
	GENERATED_BODY()

public:
	/** Default constructor for AActor */
	ENGINE_API AActor();

	/** Constructor for AActor that takes an ObjectInitializer for backward compatibility */
	ENGINE_API AActor(const FObjectInitializer& ObjectInitializer);

	/**
	 * Primary Actor tick function, which calls TickActor().
	 * Tick functions can be configured to control whether ticking is enabled, at what time during a frame the update occurs, and to set up tick dependencies.
	 */
	UPROPERTY(EditDefaultsOnly, Category=Tick)
	struct FActorTickFunction PrimaryActorTick;

	/** Allow each actor to run at a different time speed. The DeltaTime for a frame is multiplied by the global TimeDilation (in WorldSettings) and this CustomTimeDilation for this actor's tick. */
	UPROPERTY(BlueprintReadWrite, AdvancedDisplay, Category=Actor)
	float CustomTimeDilation;

protected:
	/** Event when play begins for this actor. */
	UFUNCTION(BlueprintImplementableEvent, meta=(DisplayName="BeginPlay"))
	ENGINE_API void ReceiveBeginPlay();

	/** Overridable native event for when play begins for this actor. */
	ENGINE_API virtual void BeginPlay();

	/** Event to notify blueprints this actor is being deleted or removed from a level. */
	UFUNCTION(BlueprintImplementableEvent, meta=(Keywords="delete", DisplayName="End Play"))
	ENGINE_API void ReceiveEndPlay(EEndPlayReason::Type EndPlayReason);

	/** Overridable function called whenever this actor is being removed from a level */
	ENGINE_API virtual void EndPlay(const EEndPlayReason::Type EndPlayReason);

public:
	/** Event called every frame, if ticking is enabled */
	UFUNCTION(BlueprintImplementableEvent, meta=(DisplayName="Tick"))
	ENGINE_API void ReceiveTick(float DeltaSeconds);

	/** Event triggered when the actor has been explicitly destroyed. */
	UFUNCTION(BlueprintImplementableEvent, meta=(DisplayName="Destroyed"))
	ENGINE_API void ReceiveDestroyed();

	/** Destroy the actor */
	UFUNCTION(BlueprintCallable, Category="Actor", meta=(Keywords="Delete", DisplayName="Destroy Actor", ScriptName="DestroyActor"))
	ENGINE_API virtual void K2_DestroyActor();

	/** Returns the owner of this Actor, used primarily for network replication. */
	UFUNCTION(BlueprintCallable, Category=Actor)
	AActor* GetOwner() const { return Owner; }

	/** Sets the owner of this Actor. */
	UFUNCTION(BlueprintCallable, Category=Actor)
	ENGINE_API virtual void SetOwner(AActor* NewOwner);

	/** Set this actor's tick functions to be enabled or disabled. Only has an effect if the function is registered. */
	UFUNCTION(BlueprintCallable, Category="Actor|Tick")
	ENGINE_API void SetActorTickEnabled(bool bEnabled);

	/** Returns whether this actor has tick enabled or not */
	UFUNCTION(BlueprintCallable, Category="Actor|Tick")
	ENGINE_API bool IsActorTickEnabled() const;

	/** Initiate a begin play call on this Actor, will handle calling in the correct order. */
	ENGINE_API void DispatchBeginPlay(bool bFromLevelStreaming = false);

	/** Returns whether an actor has had BeginPlay called on it (and not subsequently had EndPlay called) */
	bool HasActorBegunPlay() const { return ActorHasBegunPlay == EActorBeginPlayState::HasBegunPlay; }

	/** Returns whether an actor is in the process of beginning play */
	bool IsActorBeginningPlay() const { return ActorHasBegunPlay == EActorBeginPlayState::BeginningPlay; }

	/** Returns true if this actor is currently being destroyed, some gameplay events may be unsafe */
	bool IsActorBeingDestroyed() const { return bActorIsBeingDestroyed; }

	/** Returns true if this actor has been marked for destruction or is being destroyed. */
	bool IsPendingKillPending() const { return bActorIsBeingDestroyed || !IsValidChecked(this); }

	/** Returns true if the actor has been initialized (its construction has completed). */
	bool IsActorInitialized() const { return bActorInitialized; }

	/**
	 * Destroy this actor. Returns true the actor is destroyed or already marked for destruction, false if indestructible.
	 * Destruction is latent. It occurs at the end of the tick.
	 */
	ENGINE_API bool Destroy(bool bNetForce = false, bool bShouldModifyLevel = true);

	/** Called when this actor is explicitly being destroyed during gameplay or in the editor, not called during level streaming or gameplay ending */
	ENGINE_API virtual void Destroyed();

	/** Function called every frame on this Actor. Override this function to implement custom logic to be executed every frame. */
	ENGINE_API virtual void Tick(float DeltaSeconds);

	/** Dispatches the once-per-frame Tick() function for this actor */
	ENGINE_API virtual void TickActor(float DeltaTime, enum ELevelTick TickType, FActorTickFunction& ThisTickFunction);

	/** Called right before components are initialized, only called during gameplay */
	ENGINE_API virtual void PreInitializeComponents();

	/** Allow actors to initialize themselves on the C++ side after all of their components have been initialized, only called during gameplay */
	ENGINE_API virtual void PostInitializeComponents();

	/** Called when an actor is done spawning into the world (from UWorld::SpawnActor), both in the editor and during gameplay */
	ENGINE_API virtual void PostActorCreated();

	/** Called after the actor is spawned in the world. Responsible for setting up actor for play. */
	ENGINE_API void PostActorConstruction();

	/** Wrapper for calling EndPlay, ensures EndPlay runs once and only for actors that began play. */
	ENGINE_API void RouteEndPlay(const EEndPlayReason::Type EndPlayReason);

	/** When called, will call the virtual call chain to register all of the tick functions for both the actor and optionally all components. */
	ENGINE_API void RegisterAllActorTickFunctions(bool bRegister, bool bDoComponents);

	/** Getter for the cached world pointer, will return null if the actor is not actually spawned in a level */
	ENGINE_API virtual UWorld* GetWorld() const override final;

	/** Return the ULevel that this Actor is part of. */
	ENGINE_API ULevel* GetLevel() const;

	/** Get the network mode (dedicated server, client, standalone, etc) for this actor: its world's. */
	ENGINE_API ENetMode GetNetMode() const;

protected:
	/** Virtual call chain to register all tick functions for the actor class hierarchy */
	ENGINE_API virtual void RegisterActorTickFunctions(bool bRegister);

private:
	friend class UWorld;

	/** Owner of this Actor, used primarily for replication (bNetUseOwnerRelevancy & bOnlyRelevantToOwner) and visibility (PrimitiveComponent bOwnerNoSee and bOnlyOwnerSee) */
	UPROPERTY()
	TObjectPtr<AActor> Owner;

	enum class EActorBeginPlayState : uint8
	{
		HasNotBegunPlay,
		BeginningPlay,
		HasBegunPlay,
	};

	void InitializeDefaults();

	EActorBeginPlayState ActorHasBegunPlay = EActorBeginPlayState::HasNotBegunPlay;
	bool bActorIsBeingDestroyed = false;
	bool bActorWantsDestroyDuringBeginPlay = false;
	bool bActorInitialized = false;
};
