// A client test for the core's nodes: the game instance's subsystem, and pin recorders kept from
// the collector until the test ends.
#pragma once

#include "QuarnTest/PluginTestSupport.h"
#include "Engine/World.h"
#include "QuarnCorePinRecorder.h"
#include "QuarnSubsystem.h"
#include "UObject/Package.h"

namespace QuarnTest
{
	class FCoreNodeTest : public FClientTest
	{
	protected:
		virtual void TearDown() override
		{
			for (UQuarnCorePinRecorder* Recorder : Recorders)
			{
				Recorder->RemoveFromRoot();
			}
			Recorders.Reset();
			FClientTest::TearDown();
			Engine().CollectGarbage();
		}

		UQuarnSubsystem* Subsystem() const
		{
			return UQuarnSubsystem::Get(Engine().GetWorld());
		}

		UQuarnCorePinRecorder* NewRecorder()
		{
			UQuarnCorePinRecorder* Recorder = NewObject<UQuarnCorePinRecorder>(GetTransientPackage());
			Recorder->AddToRoot();
			Recorders.Add(Recorder);
			return Recorder;
		}

	private:
		TArray<UQuarnCorePinRecorder*> Recorders;
	};
}
