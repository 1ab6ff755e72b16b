// Copyright Quarn. All Rights Reserved.

#include "Engine/GameEngine.h"
#include "Engine/GameInstance.h"
#include "Engine/Level.h"
#include "Engine/World.h"
#include "EngineLogs.h"
#include "GameFramework/Actor.h"
#include "Misc/ConfigCacheIni.h"

UGameEngine::UGameEngine(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

UClass* UGameEngine::GetGameInstanceClass() const
{
	// The project's Maps & Modes setting, as UGameMapsSettings reads it from the engine config.
	FString ClassPath;
	if (GConfig && GConfig->GetString(TEXT("/Script/EngineSettings.GameMapsSettings"), TEXT("GameInstanceClass"), ClassPath, GEngineIni) && !ClassPath.IsEmpty()
		&& ClassPath != TEXT("None"))
	{
		if (UClass* GameInstanceClass = LoadClass<UGameInstance>(nullptr, *ClassPath))
		{
			return GameInstanceClass;
		}
		UE_LOG(LogEngine, Error, TEXT("Unable to load GameInstance Class '%s'. Falling back to generic UGameInstance."), *ClassPath);
	}
	return UGameInstance::StaticClass();
}

void UGameEngine::Init(IEngineLoop* InEngineLoop)
{
	UEngine::Init(InEngineLoop);

	// Create game instance. For GameEngine, this should be the only GameInstance that ever gets created.
	GameInstance = NewObject<UGameInstance>(this, GetGameInstanceClass());
	GameInstance->InitializeStandalone();
}

void UGameEngine::Start()
{
	GameInstance->StartGameInstance();
}

void UGameEngine::Tick(float DeltaSeconds, bool bIdleMode)
{
	CurrentDeltaSeconds = DeltaSeconds;
	// A copy: a world's tick may create or destroy world contexts.
	TArray<UWorld*> Worlds;
	for (const TUniquePtr<FWorldContext>& Context : WorldList)
	{
		if (UWorld* World = Context->World())
		{
			Worlds.Add(World);
		}
	}
	for (UWorld* World : Worlds)
	{
		if (IsValid(World))
		{
			World->Tick(LEVELTICK_All, DeltaSeconds);
		}
	}
	// No world ticked (none exists yet, or all are torn down): the collector still runs on time.
	if (Worlds.Num() == 0)
	{
		ConditionalCollectGarbage();
	}
}

void UGameEngine::PreExit()
{
	for (const TUniquePtr<FWorldContext>& Context : WorldList)
	{
		UWorld* const World = Context->World();
		if (World == nullptr)
		{
			continue;
		}
		World->BeginTearingDown();
		if (ULevel* Level = World->PersistentLevel)
		{
			// An index walk: EndPlay handlers may spawn or destroy actors.
			for (int32 Index = 0; Index < Level->Actors.Num(); ++Index)
			{
				if (AActor* Actor = Level->Actors[Index])
				{
					Actor->RouteEndPlay(EEndPlayReason::Quit);
				}
			}
		}
		if (World->GetGameInstance() != nullptr)
		{
			World->GetGameInstance()->Shutdown();
		}
		World->CleanupWorld();
	}
	Super::PreExit();
}
