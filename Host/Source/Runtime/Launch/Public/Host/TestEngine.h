// Copyright Quarn. All Rights Reserved.

// Host-only: a running engine for a test. Construction starts it (project, config, modules, GEngine,
// game instance, world, begin play); destruction ends play and collects it. Modules stay started
// between engines; a test binary's main calls FHostEngineLoop::ShutdownModules once at the end.
#pragma once

#include "CoreMinimal.h"
#include "Host/HostEngineLoop.h"
#include "Templates/Function.h"

namespace UE::Host
{
	class LAUNCH_API FTestEngine
	{
	public:
		explicit FTestEngine(const FEngineLoopSettings& Settings = FEngineLoopSettings());
		~FTestEngine();
		FTestEngine(const FTestEngine&) = delete;
		FTestEngine& operator=(const FTestEngine&) = delete;

		/** False when start-up failed (the log says why). */
		bool IsRunning() const { return Loop.IsRunning(); }

		UGameEngine* GetEngine() const { return Loop.GetEngine(); }
		UGameInstance* GetGameInstance() const { return Loop.GetGameInstance(); }
		UWorld* GetWorld() const { return Loop.GetWorld(); }
		FHostEngineLoop& GetLoop() { return Loop; }

		/** One frame. */
		void Tick(float DeltaSeconds = 1.0f / 60.0f);

		/** Frames of DeltaSeconds each. */
		void TickFrames(int32 Frames, float DeltaSeconds = 1.0f / 60.0f);

		/**
		 * Ticks with the real time since the previous frame until Predicate holds, checking it before
		 * the first frame; false (with a warning) when TimeoutSeconds of real time pass first.
		 */
		bool TickUntil(TFunctionRef<bool()> Predicate, double TimeoutSeconds);

		/** A full collection now, as the engine's periodic one. */
		void CollectGarbage();

	private:
		FHostEngineLoop Loop;
	};
}
