// Helpers for the sync node's suites against the emulator: a node started with its pins recorded
// and released after each case.
#pragma once

#include "QuarnTest/PluginTestSupport.h"
#include "Engine/World.h"
#include "QuarnStashSync.h"
#include "QuarnSubsystem.h"
#include "Tests/QuarnSyncPinRecorder.h"
#include "UObject/Package.h"

namespace QuarnUSMETest
{
	using namespace QuarnTest;
	using FPinRecorder = UQuarnSyncPinRecorder;

	class FSyncTest : public FClientTest
	{
	protected:
		virtual void TearDown() override
		{
			for (UQuarnSyncPinRecorder* Recorder : Recorders)
			{
				Recorder->RemoveFromRoot();
			}
			Recorders.Reset();
			FClientTest::TearDown();
			Engine().CollectGarbage();
		}

		/** Starts a sync node in the engine's world with its pins recorded. */
		FPinRecorder& Start(const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& Items)
		{
			UQuarnSyncPinRecorder* Recorder = NewObject<UQuarnSyncPinRecorder>(GetTransientPackage());
			Recorder->AddToRoot();
			Recorders.Add(Recorder);
			UQuarnSyncStash* Action = UQuarnSyncStash::SyncStash(Engine().GetWorld(), PlayerId, ContainerId, Items);
			Recorder->Bind(Action);
			Action->Activate();
			return *Recorder;
		}

	private:
		TArray<UQuarnSyncPinRecorder*> Recorders;
	};
}
