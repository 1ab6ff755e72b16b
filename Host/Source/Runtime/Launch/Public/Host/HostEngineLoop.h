// Copyright Quarn. All Rights Reserved.

// Host-only: the engine loop of a headless game, as the engine's FEngineLoop runs one.
#pragma once

#include "CoreMinimal.h"

class UGameEngine;
class UGameInstance;
class UWorld;

namespace UE::Host
{
	struct FEngineLoopSettings
	{
		/** The project folder (Config/, Content/); empty keeps the current one. */
		FString ProjectDirectory;

		/** Plug-in descriptors (.uplugin files) whose modules start after the engine's, in this order. */
		TArray<FString> PluginDescriptors;

		/** Seconds between the collections the engine runs on its own; 0 collects only on demand. */
		float TimeBetweenGarbageCollectionPasses = 61.1f;

		/** False starts as a dedicated server or a commandlet does: FSlateApplication::IsInitialized() is false. */
		bool bWithSlate = true;
	};

	/**
	 * PreInit sets the project directory and config, then starts the modules: Core, CoreUObject,
	 * plug-in modules of the PostConfigInit phase, the other engine modules in dependency order,
	 * then plug-in modules up to the Default phases. Init creates GEngine (a UGameEngine), whose
	 * game instance makes the world, starts PostEngineInit modules, then begins play. Each Tick runs
	 * the core ticker (HTTP completions), the worlds (actors, then the periodic collection), the
	 * viewport hook and the Slate application's layout and paint. Exit ends play and tears down in
	 * reverse; ShutdownModules then stops the modules in reverse start-up order.
	 */
	class LAUNCH_API FHostEngineLoop
	{
	public:
		FHostEngineLoop() = default;
		~FHostEngineLoop();
		FHostEngineLoop(const FHostEngineLoop&) = delete;
		FHostEngineLoop& operator=(const FHostEngineLoop&) = delete;

		/** False, with an error logged, when a plug-in descriptor or one of its modules cannot be loaded. */
		bool PreInit(const FEngineLoopSettings& Settings);

		/** False when PreInit did not succeed or an engine already runs. */
		bool Init();

		/** One frame of DeltaSeconds. */
		void Tick(float DeltaSeconds);

		/** Ends play, shuts the game instance down and collects the engine and its worlds. */
		void Exit();

		bool IsRunning() const { return bRunning; }

		UGameEngine* GetEngine() const;
		UGameInstance* GetGameInstance() const;
		UWorld* GetWorld() const;

		/** The engine modules, in the order the loop starts those present in the process. */
		static TArray<FName> GetEngineModuleNames();

		/** Stops every module in reverse start-up order and destroys what is left of the objects. */
		static void ShutdownModules();

	private:
		struct FPluginModule
		{
			FName Name;
			int32 Phase = 0;
		};

		bool LoadPluginModules(int32 FirstPhase, int32 LastPhase);

		TArray<FPluginModule> PluginModules;
		bool bPreInitDone = false;
		bool bRunning = false;
	};
}
