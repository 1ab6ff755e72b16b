// Copyright Quarn. All Rights Reserved.

#include "Host/TestEngine.h"
#include "Engine/Engine.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

DEFINE_LOG_CATEGORY_STATIC(LogHostTestEngine, Log, All);

namespace UE::Host
{
	FTestEngine::FTestEngine(const FEngineLoopSettings& Settings)
	{
		if (Loop.PreInit(Settings))
		{
			Loop.Init();
		}
	}

	FTestEngine::~FTestEngine()
	{
		Loop.Exit();
	}

	void FTestEngine::Tick(float DeltaSeconds)
	{
		Loop.Tick(DeltaSeconds);
	}

	void FTestEngine::TickFrames(int32 Frames, float DeltaSeconds)
	{
		for (int32 Frame = 0; Frame < Frames; ++Frame)
		{
			Loop.Tick(DeltaSeconds);
		}
	}

	bool FTestEngine::TickUntil(TFunctionRef<bool()> Predicate, double TimeoutSeconds)
	{
		const double Start = FPlatformTime::Seconds();
		double Last = Start;
		while (!Predicate())
		{
			const double Now = FPlatformTime::Seconds();
			if (Now - Start >= TimeoutSeconds)
			{
				UE_LOG(LogHostTestEngine, Warning, TEXT("TickUntil: the condition did not hold within %.3f seconds."), TimeoutSeconds);
				return false;
			}
			Loop.Tick((float)(Now - Last));
			Last = Now;
			// Other threads (HTTP, a server) get the core between frames.
			FPlatformProcess::Sleep(0.001f);
		}
		return true;
	}

	void FTestEngine::CollectGarbage()
	{
		if (GEngine)
		{
			GEngine->PerformGarbageCollectionAndCleanupActors();
		}
		else
		{
			::CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS, true);
		}
	}
}
