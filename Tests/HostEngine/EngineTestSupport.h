// The fixture and helpers shared by the engine tests.
#pragma once

#include "CoreMinimal.h"
#include "Engine/Engine.h"
#include "Engine/GameEngine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Host/LogCapture.h"
#include "Host/TestEngine.h"
#include "Templates/UniquePtr.h"
#include "UObject/WeakObjectPtr.h"

#include <gtest/gtest.h>
#include <string>

inline std::string Str(const FString& S)
{
	return std::string(TCHAR_TO_UTF8(*S));
}

inline std::string Str(FName N)
{
	return Str(N.ToString());
}

inline UE::Host::FEngineLoopSettings TestProjectSettings()
{
	UE::Host::FEngineLoopSettings Settings;
	Settings.ProjectDirectory = TEXT(HOST_ENGINE_TEST_PROJECT);
	// Collections happen when a test asks, so that what survives one is the test's doing.
	Settings.TimeBetweenGarbageCollectionPasses = 0.0f;
	return Settings;
}

// A running engine on the test project for each test.
class FEngineTest : public testing::Test
{
protected:
	virtual void SetUp() override
	{
		Engine = MakeUnique<UE::Host::FTestEngine>(TestProjectSettings());
		ASSERT_TRUE(Engine->IsRunning());
	}

	virtual void TearDown() override
	{
		Engine.Reset();
	}

	UWorld* World() const { return Engine->GetWorld(); }
	UGameInstance* GameInstance() const { return Engine->GetGameInstance(); }

	TUniquePtr<UE::Host::FTestEngine> Engine;
};
