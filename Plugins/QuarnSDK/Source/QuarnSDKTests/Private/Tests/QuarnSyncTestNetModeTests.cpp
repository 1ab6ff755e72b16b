// Copyright Quarn. All Rights Reserved.

// The sync test actor in a networked game: a level's actors load in the server's world and in
// each client's, so only a copy outside a client's world runs the test; a client's copy says why
// it did nothing, in one line, and sends nothing.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Engine/World.h"
#include "QuarnLog.h"
#include "QuarnUSMESyncTest.h"
#include "Tests/QuarnClientNetDriver.h"
#include "UObject/Package.h"

using namespace QuarnTests;

BEGIN_DEFINE_SPEC(FQuarnSyncTestNetModeSpec, "Quarn.USME.SyncTestActor.NetMode", QuarnTests::TestFlags)
	TUniquePtr<FClientFixture> Client;
	TUniquePtr<FTestGame> Game;
	UQuarnIdleNetDriver* Driver = nullptr;

	/** Gives the test game's world a net driver; with a server connection it is a client's world. */
	void Network(bool bAsClient)
	{
		Driver = NewObject<UQuarnIdleNetDriver>(GetTransientPackage());
		Driver->AddToRoot();
		if (bAsClient)
		{
			Driver->ServerConnection = NewObject<UQuarnIdleNetConnection>(Driver);
		}
		Game->GetWorld()->SetNetDriver(Driver);
	}

	/** A level's test actor as it begins play, which is where it runs from by default. */
	AQuarnUSMESyncTest* SpawnAndBeginPlay()
	{
		AQuarnUSMESyncTest* const Actor = Game->GetWorld()->SpawnActor<AQuarnUSMESyncTest>(AQuarnUSMESyncTest::StaticClass());
		if (Actor != nullptr && !Actor->HasActorBegunPlay())
		{
			Actor->DispatchBeginPlay();
		}
		return Actor;
	}
END_DEFINE_SPEC(FQuarnSyncTestNetModeSpec)

void FQuarnSyncTestNetModeSpec::Define()
{
	BeforeEach([this]()
	{
		Client = MakeUnique<FClientFixture>();
		Game = MakeUnique<FTestGame>();
	});

	AfterEach([this]()
	{
		if (Game.IsValid() && Game->GetWorld() != nullptr)
		{
			Game->GetWorld()->SetNetDriver(nullptr);
		}
		if (Driver != nullptr)
		{
			Driver->RemoveFromRoot();
			Driver = nullptr;
		}
		Game.Reset();
		Client.Reset();
	});

	It(TEXT("stays idle in a client's world, saying so in one line"), [this]()
	{
		Network(true);
		if (!TestEqual(TEXT("net mode"), static_cast<int32>(Game->GetWorld()->GetNetMode()), static_cast<int32>(NM_Client)))
		{
			return;
		}
		FLogLines Log;
		AQuarnUSMESyncTest* const Actor = SpawnAndBeginPlay();
		if (!TestNotNull(TEXT("actor"), Actor))
		{
			return;
		}
		TestEqual(TEXT("requests sent"), Client->Transport->Sent.Num(), 0);
		TestEqual(TEXT("lines saying why"), Log.Count(TEXT("USME adapter test not run in"), ELogVerbosity::Display), 1);
		TestFalse(TEXT("the test started"), Log.AnyContains(TEXT("=== USME adapter test: start ===")));
	});

	It(TEXT("runs on a listen server's world"), [this]()
	{
		Network(false);
		FLogLines Log;
		AQuarnUSMESyncTest* const Actor = SpawnAndBeginPlay();
		if (!TestNotNull(TEXT("actor"), Actor))
		{
			return;
		}
		TestTrue(TEXT("the test started"), Log.AnyContains(TEXT("=== USME adapter test: start ===")));
		TestEqual(TEXT("sign-ins sent"), Client->Transport->Sent.Num(), 1);
		TestFalse(TEXT("a line saying it did not run"), Log.AnyContains(TEXT("USME adapter test not run in")));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
