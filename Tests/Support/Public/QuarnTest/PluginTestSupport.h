// Helpers shared by the plug-in tests: a transport that answers from the test, a log capture and
// a game-thread pump.
#pragma once

#include "CoreMinimal.h"
#include "Containers/Ticker.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Host/LogCapture.h"
#include "Host/TestEngine.h"
#include "Templates/UniquePtr.h"
#include "QuarnClient.h"
#include "QuarnSettings.h"
#include "QuarnTransport.h"
#include "Tests/QuarnTestDoubles.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace QuarnTest
{
	/** A body given with "\n" line ends, as the pretty printer writes it on this platform. */
	inline std::string Eol(const std::string& Text)
	{
		std::string Out;
		for (const char C : Text)
		{
			Out += C == '\n' ? std::string(LINE_TERMINATOR_ANSI) : std::string(1, C);
		}
		return Out;
	}

	inline std::string Str(const FString& S)
	{
		return std::string(TCHAR_TO_UTF8(*S));
	}

	/**
	 * The engine every plug-in test runs in: the project's modules, then the plug-in's, a game
	 * instance and a world. One per test binary, made by the binary's main and shut down at its end.
	 */
	inline TUniquePtr<UE::Host::FTestEngine>& EngineSlot()
	{
		static TUniquePtr<UE::Host::FTestEngine> Engine;
		return Engine;
	}

	inline UE::Host::FTestEngine& Engine()
	{
		check(EngineSlot().IsValid());
		return *EngineSlot();
	}

	/** Starts the engine with the plug-in; false when start-up failed. */
	inline bool StartEngine(const FString& PluginDescriptor, const FString& ProjectDirectory = FString())
	{
		UE::Host::FEngineLoopSettings Settings;
		Settings.ProjectDirectory = ProjectDirectory;
		Settings.PluginDescriptors.Add(PluginDescriptor);
		// Collections happen when a test asks, so that what a test observes does not depend on timing.
		Settings.TimeBetweenGarbageCollectionPasses = 0.0f;
		EngineSlot() = MakeUnique<UE::Host::FTestEngine>(Settings);
		return EngineSlot()->IsRunning();
	}

	inline void StopEngine()
	{
		EngineSlot().Reset();
		UE::Host::FHostEngineLoop::ShutdownModules();
	}

	/** Runs game frames, as the game loop does, until Done or the timeout passes. */
	inline bool PumpUntil(const std::function<bool()>& Done, double TimeoutSeconds = 10.0)
	{
		return Engine().TickUntil([&Done] { return Done(); }, TimeoutSeconds);
	}

	inline void PumpTicks(int32 Count)
	{
		Engine().TickFrames(Count);
	}

	/** The plug-in's own scripted transport: records each request and answers it when the test says so. */
	using FScriptedTransport = QuarnTests::FScriptedTransport;

	/** Every line of every category written while it lives. */
	class FLogCapture : public UE::Host::FLogCapture
	{
	public:
		FLogCapture()
			: UE::Host::FLogCapture(NAME_None)
		{
		}

		/** True when a line of exactly this verbosity and text was written. */
		bool Has(ELogVerbosity::Type Verbosity, const FString& Text) const
		{
			for (const UE::Host::FCapturedLogLine& Line : GetLines())
			{
				if (Line.Verbosity == Verbosity && Line.Text.Equals(Text, ESearchCase::CaseSensitive))
				{
					return true;
				}
			}
			return false;
		}

		bool AnyContains(const FString& Needle) const
		{
			return Count(*Needle) > 0;
		}
	};

	/** Installs a scripted transport and a base address for one test, and restores both after it. */
	class FClientTest : public testing::Test
	{
	protected:
		virtual void SetUp() override
		{
			Fixture = MakeUnique<QuarnTests::FClientFixture>();
			Transport = Fixture->Transport;
		}

		virtual void TearDown() override
		{
			Fixture.Reset();
			// Deliver anything still queued so that no callback outlives its test.
			PumpTicks(3);
		}

		TSharedPtr<FScriptedTransport> Transport;

	private:
		TUniquePtr<QuarnTests::FClientFixture> Fixture;
	};

	/** The outcome of one FQuarnClient::Send, counted so that a second call is seen. */
	struct FOutcome
	{
		int32 Calls = 0;
		bool bOk = false;
		TSharedPtr<FJsonObject> Json;
		FQuarnError Error;
		bool bOnGameThread = false;

		FQuarnResponseCallback Callback()
		{
			return [this](bool bInOk, TSharedPtr<FJsonObject> InJson, const FQuarnError& InError)
			{
				++Calls;
				bOk = bInOk;
				Json = InJson;
				Error = InError;
				bOnGameThread = IsInGameThread();
			};
		}
	};
}
