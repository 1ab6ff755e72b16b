// Copyright Quarn. All Rights Reserved.

#include "Engine/EngineBaseTypes.h"
#include "Engine/Level.h"
#include "Engine/World.h"
#include "GameFramework/Actor.h"

FTickFunction::FTickFunction()
	: TickGroup(TG_PrePhysics)
	, bTickEvenWhenPaused(false)
	, bCanEverTick(false)
	, bStartWithTickEnabled(true)
	, TickInterval(0.0f)
{
}

FTickFunction::~FTickFunction()
{
	UnRegisterTickFunction();
}

void FTickFunction::RegisterTickFunction(ULevel* Level)
{
	if (!bCanEverTick || IsTickFunctionRegistered())
	{
		return;
	}
	UWorld* World = Level ? Level->OwningWorld.Get() : nullptr;
	if (World == nullptr || World->HasAnyFlags(RF_BeginDestroyed))
	{
		return;
	}
	World->TickFunctions.Add(this);
	RegisteredWorld = World;
	TimeSinceLastTick = 0.0f;
}

void FTickFunction::UnRegisterTickFunction()
{
	if (RegisteredWorld)
	{
		// Removing keeps the order of the others: ticks run in registration order.
		RegisteredWorld->TickFunctions.RemoveSingle(this);
		RegisteredWorld = nullptr;
	}
}

void FTickFunction::SetTickFunctionEnable(bool bInEnabled)
{
	if (bInEnabled && !bTickEnabled)
	{
		TimeSinceLastTick = 0.0f;
	}
	bTickEnabled = bInEnabled;
}

void FTickFunction::ExecuteTick(float DeltaTime, ELevelTick TickType)
{
	// The engine's base class has nothing to run either; subclasses name their target.
}

FString FTickFunction::DiagnosticMessage()
{
	return TEXT("FTickFunction");
}

void FActorTickFunction::ExecuteTick(float DeltaTime, ELevelTick TickType)
{
	if (Target && IsValidChecked(Target) && !Target->IsUnreachable())
	{
		if (TickType != LEVELTICK_ViewportsOnly)
		{
			Target->TickActor(DeltaTime * Target->CustomTimeDilation, TickType, *this);
		}
	}
}

FString FActorTickFunction::DiagnosticMessage()
{
	return Target ? Target->GetFullName() + TEXT("[TickActor]") : FString(TEXT("Actor[TickActor]"));
}
