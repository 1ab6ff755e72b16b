// Copyright Quarn. All Rights Reserved.

#include "Host/HostEngineLoop.h"
#include "Containers/Ticker.h"
#include "Engine/Engine.h"
#include "Engine/GameEngine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Host/CoreHost.h"
#include "Host/ConsoleHost.h"
#include "Host/EngineLoopHooks.h"
#include "Host/ObjectLoading.h"
#include "Host/SlateApplicationHost.h"
#include "Misc/CoreGlobals.h"
#include "Modules/ModuleManager.h"
#include "PluginDescriptor.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

namespace UE::Host
{
	using Launch::ELoadingPhase;

	namespace
	{
		// Engine modules in dependency order: each comes after every module it depends on.
		const TCHAR* const EngineModuleNames[] = {
			TEXT("Core"), TEXT("CoreUObject"), TEXT("Json"), TEXT("HTTP"), TEXT("InputCore"), TEXT("SlateCore"), TEXT("Slate"),
			TEXT("DeveloperSettings"), TEXT("Engine"), TEXT("UMG") };

		// Core and CoreUObject start before the PostConfigInit plug-in modules, the rest after them.
		constexpr int32 NumCoreModules = 2;

		// An engine module is started when it is part of the process; a test binary or tool links only what it uses.
		void StartEngineModule(const TCHAR* Name)
		{
			FModuleManager& Manager = FModuleManager::Get();
			if (Manager.ModuleExists(Name))
			{
				Manager.LoadModule(Name, ELoadModuleFlags::LogFailures);
			}
		}
	}

	FHostEngineLoop::~FHostEngineLoop()
	{
		if (bRunning)
		{
			Exit();
		}
	}

	TArray<FName> FHostEngineLoop::GetEngineModuleNames()
	{
		TArray<FName> Names;
		for (const TCHAR* Name : EngineModuleNames)
		{
			Names.Add(Name);
		}
		return Names;
	}

	bool FHostEngineLoop::PreInit(const FEngineLoopSettings& Settings)
	{
		bPreInitDone = false;
		SetGameThread();
		if (!Settings.ProjectDirectory.IsEmpty())
		{
			SetProjectDirectory(Settings.ProjectDirectory);
		}
		SetTimeBetweenGarbageCollectionPasses(Settings.TimeBetweenGarbageCollectionPasses);
		SetSlateApplicationInitialized(Settings.bWithSlate);

		// Every descriptor is read before any module starts, so a bad one leaves nothing half started.
		PluginModules.Reset();
		for (const FString& Descriptor : Settings.PluginDescriptors)
		{
			TArray<Launch::FPluginModuleEntry> Entries;
			FString Error;
			if (!Launch::ReadPluginModules(Descriptor, Entries, Error))
			{
				UE_LOG(LogInit, Error, TEXT("%s"), *Error);
				PluginModules.Reset();
				return false;
			}
			for (const Launch::FPluginModuleEntry& Entry : Entries)
			{
				if (!Entry.bLoadsInGame || Entry.Phase == ELoadingPhase::None)
				{
					continue;
				}
				PluginModules.Add({ Entry.Name, (int32)Entry.Phase });
			}
		}

		for (int32 Index = 0; Index < NumCoreModules; ++Index)
		{
			StartEngineModule(EngineModuleNames[Index]);
		}
		// As the engine's PreInit does once config is read; variables registered later take these values.
		ApplyConsoleVariablesFromConfig();
		if (!LoadPluginModules((int32)ELoadingPhase::EarliestPossible, (int32)ELoadingPhase::PostConfigInit))
		{
			return false;
		}
		for (int32 Index = NumCoreModules; Index < UE_ARRAY_COUNT(EngineModuleNames); ++Index)
		{
			StartEngineModule(EngineModuleNames[Index]);
		}
		if (!LoadPluginModules((int32)ELoadingPhase::PostSplashScreen, (int32)ELoadingPhase::PostDefault))
		{
			return false;
		}
		// The engine makes class default objects as each module's classes are registered.
		CreatePendingDefaultObjects();
		bPreInitDone = true;
		return true;
	}

	bool FHostEngineLoop::LoadPluginModules(int32 FirstPhase, int32 LastPhase)
	{
		for (int32 Phase = FirstPhase; Phase <= LastPhase; ++Phase)
		{
			for (const FPluginModule& Module : PluginModules)
			{
				if (Module.Phase != Phase)
				{
					continue;
				}
				EModuleLoadResult Result = EModuleLoadResult::Success;
				if (!FModuleManager::Get().LoadModuleWithFailureReason(Module.Name, Result))
				{
					UE_LOG(LogInit, Error, TEXT("Unable to load plugin module '%s' (%s)."), *Module.Name.ToString(),
						Result == EModuleLoadResult::FileNotFound ? TEXT("not found") : TEXT("failed to initialize"));
					return false;
				}
			}
		}
		CreatePendingDefaultObjects();
		return true;
	}

	bool FHostEngineLoop::Init()
	{
		if (!bPreInitDone || bRunning)
		{
			UE_LOG(LogInit, Error, TEXT("The engine loop cannot start: %s."), bRunning ? TEXT("it is already running") : TEXT("PreInit did not succeed"));
			return false;
		}
		if (GEngine != nullptr)
		{
			UE_LOG(LogInit, Error, TEXT("The engine loop cannot start: another engine is running."));
			return false;
		}
		UGameEngine* const Engine = NewObject<UGameEngine>(GetTransientPackage(), UGameEngine::StaticClass());
		Engine->AddToRoot();
		GEngine = Engine;
		Engine->Init(nullptr);
		bRunning = true;
		if (!LoadPluginModules((int32)ELoadingPhase::PostEngineInit, (int32)ELoadingPhase::PostEngineInit))
		{
			Exit();
			return false;
		}
		Engine->Start();
		UE_LOG(LogInit, Log, TEXT("Engine is initialized."));
		return true;
	}

	void FHostEngineLoop::Tick(float DeltaSeconds)
	{
		if (!bRunning)
		{
			return;
		}
		// The engine's frame: tickers (HTTP requests complete here), the engine's worlds (which end
		// with the periodic collection), then the viewport and Slate.
		FTSTicker::GetCoreTicker().Tick(DeltaSeconds);
		// Work handed back to the game thread from other threads (AsyncTask).
		UE::Host::ProcessGameThreadTasks();
		if (GEngine)
		{
			GEngine->Tick(DeltaSeconds, false);
		}
		OnViewportTick().Broadcast(DeltaSeconds);
		FHostSlateApplication& Slate = FHostSlateApplication::Get();
		if (Slate.GetWindows().Num() > 0)
		{
			Slate.Tick(DeltaSeconds);
		}
		++GFrameCounter;
	}

	void FHostEngineLoop::Exit()
	{
		if (!bRunning)
		{
			return;
		}
		bRunning = false;
		UE_LOG(LogExit, Log, TEXT("Preparing to exit."));
		if (UGameEngine* const Engine = Cast<UGameEngine>(GEngine))
		{
			// The game instance forgets its world when it shuts down, so the world is taken first.
			UWorld* const World = Engine->GameInstance ? Engine->GameInstance->GetWorld() : nullptr;
			// Ends play (EndPlay on every actor, the game instance's Shutdown and its subsystems).
			Engine->PreExit();
			if (World)
			{
				World->DestroyWorld(true);
			}
			Engine->GameInstance = nullptr;
			Engine->RemoveFromRoot();
		}
		GEngine = nullptr;
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS, true);
	}

	UGameEngine* FHostEngineLoop::GetEngine() const
	{
		return bRunning ? Cast<UGameEngine>(GEngine) : nullptr;
	}

	UGameInstance* FHostEngineLoop::GetGameInstance() const
	{
		const UGameEngine* const Engine = GetEngine();
		return Engine ? Engine->GameInstance.Get() : nullptr;
	}

	UWorld* FHostEngineLoop::GetWorld() const
	{
		const UGameInstance* const GameInstance = GetGameInstance();
		return GameInstance ? GameInstance->GetWorld() : nullptr;
	}

	void FHostEngineLoop::ShutdownModules()
	{
		UE::Host::ShutdownModules();
		PurgeAllUnrootedObjects();
	}
}
