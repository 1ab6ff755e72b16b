// Copyright Quarn. All Rights Reserved.

#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "EngineLogs.h"
#include "Host/EngineLoopHooks.h"
#include "UObject/Stack.h"
#include "UObject/GarbageCollection.h"

FWorldContext::FWorldContext()
	: WorldType(EWorldType::None)
	, ContextHandle(NAME_None)
{
}

void FWorldContext::SetCurrentWorld(UWorld* World)
{
	ThisCurrentWorld = World;
}

void FWorldContext::AddReferencedObjects(FReferenceCollector& Collector, const UObject* ReferencingObject)
{
	Collector.AddReferencedObject(ThisCurrentWorld, ReferencingObject);
	Collector.AddReferencedObject(OwningGameInstance, ReferencingObject);
	Collector.AddReferencedObject(GameViewport, ReferencingObject);
}

UEngine::UEngine(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, TimeSinceLastPendingKillPurge(0.0f)
	, bFullPurgeTriggered(false)
	, CurrentDeltaSeconds(0.0f)
	, NextWorldContextHandle(0)
	, bCollectionRequested(false)
	, LastGCFrame(MAX_uint64)
{
}

void UEngine::Init(IEngineLoop* InEngineLoop)
{
	UE_LOG(LogEngine, Log, TEXT("Initializing Engine..."));

	// Engine subsystems live as long as the engine.
	EngineSubsystemCollection.Initialize(this);
}

// Start and Tick are pure virtual in the engine: a concrete engine class says how to run a game.
void UEngine::Start()
{
	UE_LOG(LogEngine, Fatal, TEXT("Pure virtual not implemented (UEngine::Start)"));
}

void UEngine::Tick(float DeltaSeconds, bool bIdleMode)
{
	UE_LOG(LogEngine, Fatal, TEXT("Pure virtual not implemented (UEngine::Tick)"));
}

void UEngine::PreExit()
{
	EngineSubsystemCollection.Deinitialize();
}

UWorld* UEngine::GetWorldFromContextObject(const UObject* Object, EGetWorldErrorMode ErrorMode) const
{
	if (Object == nullptr)
	{
		switch (ErrorMode)
		{
		case EGetWorldErrorMode::Assert:
			check(Object);
			break;
		case EGetWorldErrorMode::LogAndReturnNull:
			FFrame::KismetExecutionMessage(TEXT("A null object was passed as a world context object to UEngine::GetWorldFromContextObject()."), ELogVerbosity::Warning);
			break;
		case EGetWorldErrorMode::ReturnNull:
			break;
		}
		return nullptr;
	}

	UWorld* World = Object->GetWorld();
	if (World == nullptr)
	{
		if (ErrorMode == EGetWorldErrorMode::Assert)
		{
			checkf(World, TEXT("No world was found for object (%s) passed in to UEngine::GetWorldFromContextObject()."), *GetPathNameSafe(Object));
		}
		else if (ErrorMode == EGetWorldErrorMode::LogAndReturnNull)
		{
			FFrame::KismetExecutionMessage(*FString::Printf(TEXT("No world was found for object (%s) passed in to UEngine::GetWorldFromContextObject()."), *GetPathNameSafe(Object)), ELogVerbosity::Warning);
		}
	}
	return World;
}

FWorldContext& UEngine::CreateNewWorldContext(EWorldType::Type WorldType)
{
	FWorldContext* NewWorldContext = new FWorldContext();
	WorldList.Add(TUniquePtr<FWorldContext>(NewWorldContext));
	NewWorldContext->WorldType = WorldType;
	NewWorldContext->ContextHandle = FName(*FString::Printf(TEXT("Context_%d"), NextWorldContextHandle++));
	return *NewWorldContext;
}

FWorldContext* UEngine::GetWorldContextFromWorld(const UWorld* InWorld)
{
	for (const TUniquePtr<FWorldContext>& WorldContext : WorldList)
	{
		if (WorldContext->World() == InWorld)
		{
			return WorldContext.Get();
		}
	}
	return nullptr;
}

FWorldContext& UEngine::GetWorldContextFromWorldChecked(const UWorld* InWorld)
{
	FWorldContext* WorldContext = GetWorldContextFromWorld(InWorld);
	checkf(WorldContext, TEXT("WorldContext requested for invalid world %s"), *GetPathNameSafe(InWorld));
	return *WorldContext;
}

void UEngine::DestroyWorldContext(UWorld* InWorld)
{
	for (int32 Index = 0; Index < WorldList.Num(); ++Index)
	{
		if (WorldList[Index]->World() == InWorld)
		{
			WorldList.RemoveAt(Index);
			break;
		}
	}
}

float UEngine::GetTimeBetweenGarbageCollectionPasses() const
{
	return UE::Host::GetTimeBetweenGarbageCollectionPasses();
}

void UEngine::ForceGarbageCollection(bool bForcePurge)
{
	TimeSinceLastPendingKillPurge = 1.0f + GetTimeBetweenGarbageCollectionPasses();
	bFullPurgeTriggered = bFullPurgeTriggered || bForcePurge;
	bCollectionRequested = true;
}

void UEngine::ConditionalCollectGarbage()
{
	// Once per frame, however many worlds tick.
	if (GFrameCounter == LastGCFrame)
	{
		return;
	}
	LastGCFrame = GFrameCounter;

	const float TimeBetweenPurgingPendingKillObjects = GetTimeBetweenGarbageCollectionPasses();
	if (bFullPurgeTriggered || bCollectionRequested)
	{
		PerformGarbageCollectionAndCleanupActors();
		return;
	}
	if (TimeSinceLastPendingKillPurge > TimeBetweenPurgingPendingKillObjects && TimeBetweenPurgingPendingKillObjects > 0.0f)
	{
		PerformGarbageCollectionAndCleanupActors();
		return;
	}
	TimeSinceLastPendingKillPurge += CurrentDeltaSeconds;
}

void UEngine::PerformGarbageCollectionAndCleanupActors()
{
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS, true);
	bFullPurgeTriggered = false;
	bCollectionRequested = false;
	TimeSinceLastPendingKillPurge = 0.0f;
}

void UEngine::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UEngine* This = CastChecked<UEngine>(InThis);
	for (const TUniquePtr<FWorldContext>& WorldContext : This->WorldList)
	{
		WorldContext->AddReferencedObjects(Collector, This);
	}
	This->EngineSubsystemCollection.AddReferencedObjects(This, Collector);
	Super::AddReferencedObjects(This, Collector);
}
