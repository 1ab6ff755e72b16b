// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "EngineBaseTypes.generated.h"

class AActor;
class ULevel;
class UWorld;

/**
 * The network role a world plays. Every mode before NM_Client is some kind of server, so
 * NetMode < NM_Client tests for one.
 */
enum ENetMode
{
	/** A game without networking, with one or more local players; it has all of a server's functions. */
	NM_Standalone,
	/** A server with no local players. */
	NM_DedicatedServer,
	/** A server that also has a local player, hosting the game for others on the network. */
	NM_ListenServer,
	/** A client connected to a remote server. */
	NM_Client,
	NM_MAX,
};

/** Type of tick we wish to perform on the level */
enum ELevelTick
{
	/** Update the level time only. */
	LEVELTICK_TimeOnly = 0,
	/** Update time and viewports. */
	LEVELTICK_ViewportsOnly = 1,
	/** Update all. */
	LEVELTICK_All = 2,
	/** Delta time is zero, we are paused. Components don't tick. */
	LEVELTICK_PauseTick = 3,
};

/** Determines which ticking group a tick function belongs to. */
UENUM(BlueprintType)
enum ETickingGroup : int
{
	/** Any item that needs to be executed before physics simulation starts. */
	TG_PrePhysics UMETA(DisplayName="Pre Physics"),
	/** Special tick group that starts physics simulation. */
	TG_StartPhysics UMETA(Hidden, DisplayName="Start Physics"),
	/** Any item that can be run in parallel with our physics simulation work. */
	TG_DuringPhysics UMETA(DisplayName="During Physics"),
	/** Special tick group that ends physics simulation. */
	TG_EndPhysics UMETA(Hidden, DisplayName="End Physics"),
	/** Any item that needs rigid body and cloth simulation to be complete before being executed. */
	TG_PostPhysics UMETA(DisplayName="Post Physics"),
	/** Any item that needs the update work to be done before being ticked. */
	TG_PostUpdateWork UMETA(DisplayName="Post Update Work"),
	/** Catchall for anything demoted to the end. */
	TG_LastDemotable UMETA(Hidden, DisplayName="Last Demotable"),
	/** Special tick group that is not actually a tick group. After every tick group this is repeatedly re-run until there are no more newly spawned items to run. */
	TG_NewlySpawned UMETA(Hidden, DisplayName="New Spawned"),
	TG_MAX,
};

/**
 * Abstract base class for all tick functions.
 *
 * The host runs registered tick functions from the world's tick, in ticking-group order and, within
 * a group, in registration order; it has no task graph, so ExecuteTick takes no thread arguments.
 */
USTRUCT()
struct FTickFunction
{
	GENERATED_USTRUCT_BODY()

public:
	/** Defines the minimum tick group for this tick function. */
	UPROPERTY(EditDefaultsOnly, Category="Tick", AdvancedDisplay)
	TEnumAsByte<enum ETickingGroup> TickGroup;

	/** Bool indicating that this function should execute even if the game is paused. */
	UPROPERTY(EditDefaultsOnly, Category="Tick", AdvancedDisplay)
	uint8 bTickEvenWhenPaused : 1;

	/** If false, this tick function will never be registered and will never tick. Only settable in defaults. */
	UPROPERTY()
	uint8 bCanEverTick : 1;

	/** If true, this tick function will start enabled, but can be disabled later on. */
	UPROPERTY(EditDefaultsOnly, Category="Tick")
	uint8 bStartWithTickEnabled : 1;

	/** The frequency in seconds at which this tick function will be executed. If less than or equal to 0 then it will tick every frame. */
	UPROPERTY(EditDefaultsOnly, Category="Tick", meta=(DisplayName="Tick Interval (secs)"))
	float TickInterval;

	ENGINE_API FTickFunction();
	ENGINE_API virtual ~FTickFunction();
	FTickFunction(const FTickFunction&) = delete;
	FTickFunction& operator=(const FTickFunction&) = delete;

	/** Adds the tick function to the level's world, if it can ever tick. */
	ENGINE_API void RegisterTickFunction(ULevel* Level);
	/** Removes the tick function from the world it was registered with. */
	ENGINE_API void UnRegisterTickFunction();
	bool IsTickFunctionRegistered() const { return RegisteredWorld != nullptr; }

	ENGINE_API void SetTickFunctionEnable(bool bInEnabled);
	bool IsTickFunctionEnabled() const { return bTickEnabled; }

	/** Runs the tick; DeltaTime covers the time since this function last ran. */
	ENGINE_API virtual void ExecuteTick(float DeltaTime, ELevelTick TickType);
	/** Describes the function for diagnostics. */
	ENGINE_API virtual FString DiagnosticMessage();

private:
	friend class UWorld;

	UWorld* RegisteredWorld = nullptr;
	float TimeSinceLastTick = 0.0f;
	bool bTickEnabled = false;
};

/** Tick function that calls AActor::TickActor */
USTRUCT()
struct FActorTickFunction : public FTickFunction
{
	GENERATED_USTRUCT_BODY()

	/** AActor that is the target of this tick */
	AActor* Target = nullptr;

	ENGINE_API virtual void ExecuteTick(float DeltaTime, ELevelTick TickType) override;
	ENGINE_API virtual FString DiagnosticMessage() override;
};
