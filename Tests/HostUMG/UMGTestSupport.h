// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/Engine.h"
#include "Engine/GameEngine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Host/UMGHost.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

#include <gtest/gtest.h>

namespace UMGTest
{
	/** A game engine with its game instance and world for each test, torn down afterwards. */
	class FEngineFixture : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Engine = NewObject<UGameEngine>(GetTransientPackage());
			Engine->AddToRoot();
			GEngine = Engine;
			Engine->Init(nullptr);
			GameInstance = Engine->GameInstance;
			World = GameInstance->GetWorld();
			ASSERT_NE(World, nullptr);
		}

		void TearDown() override
		{
			UE::Host::DestroyGameViewport(World);
			Engine->PreExit();
			Engine->RemoveFromRoot();
			GEngine = nullptr;
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}

		UGameEngine* Engine = nullptr;
		UGameInstance* GameInstance = nullptr;
		UWorld* World = nullptr;
	};

	inline void ExpectVector(const FVector2D& Actual, double X, double Y, double Tolerance = 1e-3)
	{
		EXPECT_NEAR(Actual.X, X, Tolerance);
		EXPECT_NEAR(Actual.Y, Y, Tolerance);
	}
}
