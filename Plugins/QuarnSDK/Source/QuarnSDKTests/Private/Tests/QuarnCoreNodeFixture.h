// Copyright Quarn. All Rights Reserved.

// What the core's node tests share: the client's fixture, a game instance of the case's own (whose
// subsystem holds the tokens), and pin recorders kept from the collector until the case ends.

#pragma once

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnSubsystem.h"
#include "Tests/QuarnCorePinRecorder.h"
#include "UObject/Package.h"

namespace QuarnCoreTests
{
	class FNodeFixture
	{
	public:
		FNodeFixture() = default;

		~FNodeFixture()
		{
			for (UQuarnCorePinRecorder* Recorder : Recorders)
			{
				Recorder->RemoveFromRoot();
			}
		}

		FNodeFixture(const FNodeFixture&) = delete;
		FNodeFixture& operator=(const FNodeFixture&) = delete;

		UWorld* GetWorld() const
		{
			return Game.GetWorld();
		}

		UQuarnSubsystem* Subsystem() const
		{
			return UQuarnSubsystem::Get(Game.GetWorld());
		}

		QuarnTests::FScriptedTransport& Transport() const
		{
			return *Client.Transport;
		}

		UQuarnCorePinRecorder* NewRecorder()
		{
			UQuarnCorePinRecorder* const Recorder = NewObject<UQuarnCorePinRecorder>(GetTransientPackage());
			Recorder->AddToRoot();
			Recorders.Add(Recorder);
			return Recorder;
		}

	private:
		// Declared before the game so that the game shuts down, and its sessions end, before the
		// scripted transport and the settings are put back.
		QuarnTests::FClientFixture Client;
		QuarnTests::FTestGame Game;
		TArray<UQuarnCorePinRecorder*> Recorders;
	};
}

#endif // WITH_DEV_AUTOMATION_TESTS
