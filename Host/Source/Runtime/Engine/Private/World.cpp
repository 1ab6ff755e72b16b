// Copyright Quarn. All Rights Reserved.

#include "Engine/World.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/Level.h"
#include "Engine/NetDriver.h"
#include "EngineLogs.h"
#include "GameFramework/Actor.h"
#include "UObject/Package.h"
#include "UObject/UObjectHash.h"

FActorSpawnParameters::FActorSpawnParameters()
	: Name(NAME_None)
	, Template(nullptr)
	, Owner(nullptr)
	, Instigator(nullptr)
	, OverrideLevel(nullptr)
	, bNoFail(false)
	, NameMode(ESpawnActorNameMode::Required_Fatal)
	, ObjectFlags(RF_Transactional)
{
}

UWorld::UWorld(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, WorldType(EWorldType::None)
{
}

bool UWorld::IsGameWorld() const
{
	return WorldType == EWorldType::Game || WorldType == EWorldType::PIE || WorldType == EWorldType::GamePreview || WorldType == EWorldType::GameRPC;
}

UGameViewportClient* UWorld::GetGameViewport() const
{
	const FWorldContext* const WorldContext = GEngine ? GEngine->GetWorldContextFromWorld(this) : nullptr;
	return WorldContext ? WorldContext->GameViewport : nullptr;
}

UWorld* UWorld::CreateWorld(const EWorldType::Type InWorldType, bool bInformEngineOfWorld, FName WorldName, UPackage* InWorldPackage, bool bAddToRoot)
{
	UPackage* WorldPackage = InWorldPackage;
	if (!WorldPackage)
	{
		static int32 UntitledCount = 0;
		FString PackageName;
		do
		{
			PackageName = FString::Printf(TEXT("/Temp/Untitled_%d"), UntitledCount++);
		}
		while (StaticFindObject(UPackage::StaticClass(), nullptr, PackageName) != nullptr);
		WorldPackage = CreatePackage(*PackageName);
	}

	const FName WorldNameFName = WorldName.IsNone() ? FName(TEXT("Untitled")) : WorldName;
	UWorld* NewWorld = NewObject<UWorld>(WorldPackage, WorldNameFName);
	NewWorld->SetFlags(RF_Transactional);
	NewWorld->WorldType = InWorldType;
	NewWorld->InitializeNewWorld();

	if (bAddToRoot)
	{
		// Add to root set so it doesn't get garbage collected.
		NewWorld->AddToRoot();
	}
	if (GEngine && bInformEngineOfWorld)
	{
		GEngine->CreateNewWorldContext(InWorldType).SetCurrentWorld(NewWorld);
	}
	return NewWorld;
}

void UWorld::InitializeNewWorld()
{
	PersistentLevel = NewObject<ULevel>(this, TEXT("PersistentLevel"));
	PersistentLevel->OwningWorld = this;
	bIsWorldInitialized = true;
}

void UWorld::SetNetDriver(UNetDriver* NewDriver)
{
	NetDriver = NewDriver;
}

ENetMode UWorld::GetNetMode() const
{
	// The host has no pending net game or travel URL to derive a mode from: without a driver a
	// world is standalone.
	return NetDriver != nullptr ? NetDriver->GetNetMode() : NM_Standalone;
}

void UWorld::SetGameInstance(UGameInstance* NewGI)
{
	OwningGameInstance = NewGI;
}

void UWorld::BeginPlay()
{
	if (bBegunPlay)
	{
		return;
	}
	// The game mode's StartPlay, through the world settings, dispatches BeginPlay to every actor of
	// the world in level order; the host has neither, so the world does it. Actors spawned during
	// this pass join the end of the level and are reached too.
	if (PersistentLevel)
	{
		for (int32 Index = 0; Index < PersistentLevel->Actors.Num(); ++Index)
		{
			if (AActor* Actor = PersistentLevel->Actors[Index])
			{
				const bool bFromLevelLoad = true;
				Actor->DispatchBeginPlay(bFromLevelLoad);
			}
		}
	}
	bBegunPlay = true;
}

void UWorld::Tick(ELevelTick TickType, float DeltaSeconds)
{
	if (!bIsWorldInitialized || bIsTearingDown)
	{
		return;
	}
	DeltaTimeSeconds = DeltaSeconds;
	RealTimeSeconds += DeltaSeconds;
	if (TickType != LEVELTICK_PauseTick)
	{
		TimeSeconds += DeltaSeconds;
	}

	if (bBegunPlay && TickType != LEVELTICK_TimeOnly && TickType != LEVELTICK_PauseTick)
	{
		for (int32 Group = TG_PrePhysics; Group < TG_MAX; ++Group)
		{
			RunTickGroup((ETickingGroup)Group, DeltaSeconds, TickType);
		}
	}

	if (GEngine)
	{
		GEngine->ConditionalCollectGarbage();
	}
}

void UWorld::RunTickGroup(ETickingGroup Group, float DeltaSeconds, ELevelTick TickType)
{
	// A copy: tick functions may register or unregister others (spawn, destroy) while running.
	const TArray<FTickFunction*> ToRun = TickFunctions;
	for (FTickFunction* Function : ToRun)
	{
		// Gone since the copy was taken, or of another group.
		if (!TickFunctions.Contains(Function) || Function->TickGroup != Group || !Function->IsTickFunctionEnabled())
		{
			continue;
		}
		Function->TimeSinceLastTick += DeltaSeconds;
		if (Function->TickInterval > 0.0f && Function->TimeSinceLastTick < Function->TickInterval)
		{
			continue;
		}
		const float TickDelta = Function->TimeSinceLastTick;
		Function->TimeSinceLastTick = 0.0f;
		Function->ExecuteTick(TickDelta, TickType);
	}
}

AActor* UWorld::SpawnActor(UClass* Class, const FActorSpawnParameters& SpawnParameters)
{
	if (!Class)
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because no class was specified"));
		return nullptr;
	}
	if (Class->HasAnyClassFlags(CLASS_Deprecated))
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because class %s is deprecated"), *Class->GetName());
		return nullptr;
	}
	if (Class->HasAnyClassFlags(CLASS_Abstract))
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because class %s is abstract"), *Class->GetName());
		return nullptr;
	}
	if (!Class->IsChildOf(AActor::StaticClass()))
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because %s is not an actor class"), *Class->GetName());
		return nullptr;
	}
	if (SpawnParameters.Template != nullptr && SpawnParameters.Template->GetClass() != Class)
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because template class (%s) does not match spawn class (%s)"), *SpawnParameters.Template->GetClass()->GetName(), *Class->GetName());
		if (!SpawnParameters.bNoFail)
		{
			return nullptr;
		}
	}
	if (bIsTearingDown)
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because we are in the process of tearing down the world"));
		return nullptr;
	}

	ULevel* LevelToSpawnIn = SpawnParameters.OverrideLevel;
	if (LevelToSpawnIn == nullptr && SpawnParameters.Owner != nullptr)
	{
		LevelToSpawnIn = SpawnParameters.Owner->GetLevel();
	}
	if (LevelToSpawnIn == nullptr)
	{
		LevelToSpawnIn = PersistentLevel;
	}
	if (LevelToSpawnIn == nullptr)
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because the world has no level"));
		return nullptr;
	}

	FName NewActorName = SpawnParameters.Name;
	if (!NewActorName.IsNone() && StaticFindObjectFast(nullptr, LevelToSpawnIn, NewActorName) != nullptr)
	{
		switch (SpawnParameters.NameMode)
		{
		case ESpawnActorNameMode::Required_Fatal:
			UE_LOG(LogSpawn, Fatal, TEXT("An actor of name '%s' already exists in level '%s'."), *NewActorName.ToString(), *LevelToSpawnIn->GetFullName());
			return nullptr;
		case ESpawnActorNameMode::Required_ErrorAndReturnNull:
			UE_LOG(LogSpawn, Error, TEXT("An actor of name '%s' already exists in level '%s'."), *NewActorName.ToString(), *LevelToSpawnIn->GetFullName());
			return nullptr;
		case ESpawnActorNameMode::Required_ReturnNull:
			return nullptr;
		case ESpawnActorNameMode::Requested:
			NewActorName = MakeUniqueObjectName(LevelToSpawnIn, Class, NewActorName);
			break;
		}
	}

	AActor* Template = SpawnParameters.Template != nullptr && SpawnParameters.Template->GetClass() == Class ? SpawnParameters.Template : nullptr;
	AActor* const Actor = NewObject<AActor>(LevelToSpawnIn, Class, NewActorName, SpawnParameters.ObjectFlags, Template);
	LevelToSpawnIn->Actors.Add(Actor);

	if (SpawnParameters.Owner)
	{
		Actor->SetOwner(SpawnParameters.Owner);
	}
	Actor->PostActorCreated();
	if (SpawnParameters.CustomPreSpawnInitalization)
	{
		SpawnParameters.CustomPreSpawnInitalization(Actor);
	}
	Actor->PostActorConstruction();

	if (!IsValid(Actor) && !SpawnParameters.bNoFail)
	{
		UE_LOG(LogSpawn, Log, TEXT("SpawnActor failed because the spawned actor %s IsPendingKill"), *Actor->GetPathName());
		return nullptr;
	}
	return Actor;
}

bool UWorld::DestroyActor(AActor* ThisActor, bool bNetForce, bool bShouldModifyLevel)
{
	check(ThisActor);
	if (ThisActor->GetWorld() == nullptr)
	{
		UE_LOG(LogSpawn, Warning, TEXT("Destroying %s, which doesn't have a valid world pointer"), *ThisActor->GetPathName());
	}

	// If already on list to be deleted, pretend the call was successful.
	if (ThisActor->IsPendingKillPending())
	{
		return true;
	}

	// An actor still running its BeginPlay is destroyed once BeginPlay returns.
	if (ThisActor->IsActorBeginningPlay())
	{
		ThisActor->bActorWantsDestroyDuringBeginPlay = true;
		return true;
	}

	ThisActor->bActorIsBeingDestroyed = true;

	// Tell this actor it's about to be destroyed.
	ThisActor->Destroyed();

	// Clean up the actor's owner.
	if (ThisActor->GetOwner())
	{
		ThisActor->SetOwner(nullptr);
	}

	// Remove the actor from the actor list.
	RemoveActor(ThisActor, bShouldModifyLevel);

	// Mark the actor as garbage: weak pointers to it go null now, the collector frees it later.
	ThisActor->MarkAsGarbage();

	// Unregister the actor's tick function
	const bool bRegisterTickFunctions = false;
	const bool bIncludeComponents = true;
	ThisActor->RegisterAllActorTickFunctions(bRegisterTickFunctions, bIncludeComponents);

	// Return success.
	return true;
}

void UWorld::RemoveActor(AActor* Actor, bool bShouldModifyLevel) const
{
	if (ULevel* CheckLevel = Actor->GetLevel())
	{
		const int32 ActorListIndex = CheckLevel->Actors.Find(Actor);
		// Search the entire list.
		if (ActorListIndex != INDEX_NONE)
		{
			// Clear the entry so other indices stay valid during iteration.
			CheckLevel->Actors[ActorListIndex] = nullptr;
		}
	}
}

void UWorld::BeginTearingDown()
{
	bIsTearingDown = true;
	UE_LOG(LogWorld, Log, TEXT("BeginTearingDown for %s"), *GetOutermost()->GetName());
}

void UWorld::CleanupWorld(bool bSessionEnded, bool bCleanupResources, UWorld* NewWorld)
{
	bIsTearingDown = true;
	// Tick functions go with the world; the actors' own destructors then find nothing to remove.
	for (FTickFunction* Function : TickFunctions)
	{
		Function->RegisteredWorld = nullptr;
	}
	TickFunctions.Empty();
}

void UWorld::DestroyWorld(bool bInformEngineOfWorld, UWorld* NewWorld)
{
	if (!bIsTearingDown)
	{
		CleanupWorld(true, true, NewWorld);
	}
	if (GEngine && bInformEngineOfWorld)
	{
		GEngine->DestroyWorldContext(this);
	}
	if (IsRooted())
	{
		RemoveFromRoot();
	}

	// Everything inside the world goes with it at the next collection.
	TArray<UObject*> ObjectsInWorld;
	GetObjectsWithOuter(this, ObjectsInWorld, true);
	for (UObject* Object : ObjectsInWorld)
	{
		if (!Object->IsRooted())
		{
			Object->MarkAsGarbage();
		}
	}
	PersistentLevel = nullptr;
	OwningGameInstance = nullptr;
	MarkAsGarbage();
}

void UWorld::BeginDestroy()
{
	if (!bIsTearingDown)
	{
		CleanupWorld();
	}
	Super::BeginDestroy();
}
