// Copyright Quarn. All Rights Reserved.

#include "GameFramework/Actor.h"
#include "Engine/Level.h"
#include "Engine/World.h"
#include "EngineLogs.h"

AActor::AActor()
{
	InitializeDefaults();
}

AActor::AActor(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	InitializeDefaults();
}

void AActor::InitializeDefaults()
{
	PrimaryActorTick.TickGroup = TG_PrePhysics;
	// Default to no tick function, but if we set 'never ticks' to false (so there is a tick function) it is enabled by default
	PrimaryActorTick.bCanEverTick = false;
	PrimaryActorTick.bStartWithTickEnabled = true;
	CustomTimeDilation = 1.0f;
}

void AActor::PostActorCreated()
{
}

void AActor::PreInitializeComponents()
{
}

void AActor::PostInitializeComponents()
{
}

void AActor::PostActorConstruction()
{
	UWorld* const World = GetWorld();
	if (!IsValidChecked(this))
	{
		return;
	}
	PreInitializeComponents();
	if (IsValidChecked(this))
	{
		PostInitializeComponents();
	}
	if (IsValidChecked(this))
	{
		bActorInitialized = true;
		// Actors spawned into a world that is already playing begin play at once.
		if (World && World->HasBegunPlay() && !HasActorBegunPlay())
		{
			DispatchBeginPlay();
		}
	}
}

void AActor::DispatchBeginPlay(bool bFromLevelStreaming)
{
	UWorld* World = (!HasActorBegunPlay() && !IsActorBeginningPlay() && IsValidChecked(this)) ? GetWorld() : nullptr;
	if (World)
	{
		ActorHasBegunPlay = EActorBeginPlayState::BeginningPlay;
		BeginPlay();
		ensureMsgf(ActorHasBegunPlay == EActorBeginPlayState::HasBegunPlay, TEXT("Actor %s failed to route BeginPlay. Please make sure any override of BeginPlay calls Super::BeginPlay"), *GetPathName());
		if (ActorHasBegunPlay == EActorBeginPlayState::BeginningPlay)
		{
			ActorHasBegunPlay = EActorBeginPlayState::HasBegunPlay;
		}

		if (bActorWantsDestroyDuringBeginPlay)
		{
			bActorWantsDestroyDuringBeginPlay = false;
			World->DestroyActor(this, true);
		}
	}
}

void AActor::BeginPlay()
{
	ensureMsgf(ActorHasBegunPlay == EActorBeginPlayState::BeginningPlay, TEXT("BeginPlay was called on actor %s which was in state %d"), *GetPathName(), (int32)ActorHasBegunPlay);
	RegisterAllActorTickFunctions(true, false);
	ReceiveBeginPlay();
	ActorHasBegunPlay = EActorBeginPlayState::HasBegunPlay;
}

void AActor::EndPlay(const EEndPlayReason::Type EndPlayReason)
{
	if (ActorHasBegunPlay == EActorBeginPlayState::HasBegunPlay)
	{
		ActorHasBegunPlay = EActorBeginPlayState::HasNotBegunPlay;
		// Dispatch the blueprint events
		ReceiveEndPlay(EndPlayReason);
	}
}

void AActor::RouteEndPlay(const EEndPlayReason::Type EndPlayReason)
{
	if (bActorInitialized)
	{
		if (ActorHasBegunPlay == EActorBeginPlayState::HasBegunPlay)
		{
			EndPlay(EndPlayReason);
		}
		bActorInitialized = false;
	}
}

void AActor::Destroyed()
{
	RouteEndPlay(EEndPlayReason::Destroyed);
	ReceiveDestroyed();
}

bool AActor::Destroy(bool bNetForce, bool bShouldModifyLevel)
{
	// It's already pending kill or in DestroyActor(), no need to beat the corpse
	if (!IsPendingKillPending())
	{
		UWorld* World = GetWorld();
		if (World)
		{
			World->DestroyActor(this, bNetForce, bShouldModifyLevel);
		}
		else
		{
			UE_LOG(LogSpawn, Warning, TEXT("Destroying %s, which doesn't have a valid world pointer"), *GetPathName());
		}
	}
	return IsPendingKillPending();
}

void AActor::K2_DestroyActor()
{
	Destroy();
}

void AActor::SetOwner(AActor* NewOwner)
{
	if (Owner != NewOwner && IsValidChecked(this))
	{
		// Sets this actor's parent to the specified actor, refusing a cycle.
		for (AActor* Test = NewOwner; Test != nullptr; Test = Test->GetOwner())
		{
			if (Test == this)
			{
				UE_LOG(LogActor, Warning, TEXT("SetOwner(): Failed to set '%s' owner of '%s' because it would cause an Owner loop"), *NewOwner->GetName(), *GetName());
				return;
			}
		}
		Owner = NewOwner;
	}
}

void AActor::Tick(float DeltaSeconds)
{
	// The host is never a dedicated server, so the Blueprint event always runs (a class without a
	// Blueprint implementation of it does nothing).
	ReceiveTick(DeltaSeconds);
}

void AActor::TickActor(float DeltaSeconds, ELevelTick TickType, FActorTickFunction& ThisTickFunction)
{
	// Non-player update.
	if (IsValidChecked(this))
	{
		Tick(DeltaSeconds);
	}
}

void AActor::RegisterActorTickFunctions(bool bRegister)
{
	if (bRegister)
	{
		if (PrimaryActorTick.bCanEverTick)
		{
			PrimaryActorTick.Target = this;
			PrimaryActorTick.SetTickFunctionEnable(PrimaryActorTick.bStartWithTickEnabled || PrimaryActorTick.IsTickFunctionEnabled());
			PrimaryActorTick.RegisterTickFunction(GetLevel());
		}
	}
	else if (PrimaryActorTick.IsTickFunctionRegistered())
	{
		PrimaryActorTick.UnRegisterTickFunction();
	}
}

void AActor::RegisterAllActorTickFunctions(bool bRegister, bool bDoComponents)
{
	if (!IsTemplate())
	{
		RegisterActorTickFunctions(bRegister);
	}
}

void AActor::SetActorTickEnabled(bool bEnabled)
{
	if (!IsTemplate() && PrimaryActorTick.bCanEverTick)
	{
		PrimaryActorTick.SetTickFunctionEnable(bEnabled);
	}
}

bool AActor::IsActorTickEnabled() const
{
	return PrimaryActorTick.IsTickFunctionEnabled();
}

UWorld* AActor::GetWorld() const
{
	// CDO objects do not belong to a world
	// If the actors outer is destroyed or unreachable we are shutting down and the world should be nullptr
	UObject* Outer = GetOuter();
	if (!HasAnyFlags(RF_ClassDefaultObject) && Outer && !Outer->HasAnyFlags(RF_BeginDestroyed) && !Outer->IsUnreachable())
	{
		if (ULevel* Level = GetLevel())
		{
			return Level->OwningWorld;
		}
	}
	return nullptr;
}

ULevel* AActor::GetLevel() const
{
	return GetTypedOuter<ULevel>();
}

ENetMode AActor::GetNetMode() const
{
	const UWorld* const World = GetWorld();
	return World != nullptr ? World->GetNetMode() : NM_Standalone;
}
