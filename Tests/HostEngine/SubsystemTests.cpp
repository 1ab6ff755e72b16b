// Game instance subsystems: which classes get one, one per game instance, lifetime with it.
#include "EngineTestSupport.h"
#include "EngineTestTypes.h"

namespace
{
	class HostEngineSubsystems : public FEngineTest
	{
	};
}

// An engine subclass may take over the removal of world contexts: DestroyWorldContext is virtual
// (the override does not compile otherwise).
class FHostTestEngineOverridingDestroyWorldContext : public UEngine
{
public:
	virtual void DestroyWorldContext(UWorld* InWorld) override {}
};

TEST_F(HostEngineSubsystems, ConcreteSubsystemsAreCreatedAbstractAndDeclinedOnesAreNot)
{
	UTestGameInstanceSubsystem* const Subsystem = GameInstance()->GetSubsystem<UTestGameInstanceSubsystem>();
	ASSERT_NE(Subsystem, nullptr);
	EXPECT_TRUE(Subsystem->bInitialized);
	EXPECT_TRUE(Subsystem->bFoundItselfDuringInitialize);
	EXPECT_EQ(Subsystem->GetGameInstance(), GameInstance());
	EXPECT_EQ(Subsystem->GetOuter(), GameInstance());
	EXPECT_EQ(UGameInstance::GetSubsystem<UTestGameInstanceSubsystem>(GameInstance()), Subsystem);

	EXPECT_EQ(GameInstance()->GetSubsystem<UTestDeclinedSubsystem>(), nullptr);
	// The abstract class has no instance of its own; asking for it finds the concrete subclass.
	UTestConcreteSubsystem* const Concrete = GameInstance()->GetSubsystem<UTestConcreteSubsystem>();
	ASSERT_NE(Concrete, nullptr);
	EXPECT_EQ(GameInstance()->GetSubsystem<UTestAbstractSubsystem>(), Concrete);
	EXPECT_EQ(GameInstance()->GetSubsystemBase(UTestConcreteSubsystem::StaticClass()), Concrete);

	int32 Count = 0;
	GameInstance()->ForEachSubsystem<UTestAbstractSubsystem>([&Count](UTestAbstractSubsystem*) { ++Count; });
	EXPECT_EQ(Count, 1);
	// The class default object has no game instance.
	EXPECT_EQ(GetDefault<UTestGameInstanceSubsystem>()->GetGameInstance(), nullptr);
}

TEST_F(HostEngineSubsystems, EachGameInstanceHasItsOwnSubsystemsForItsLifetime)
{
	UTestGameInstanceSubsystem* const First = GameInstance()->GetSubsystem<UTestGameInstanceSubsystem>();
	UGameInstance* const Second = NewObject<UGameInstance>(GEngine);
	EngineTestEvents().Reset();
	Second->InitializeStandalone();
	EXPECT_EQ(EngineTestEvents(), (TArray<FString>{ TEXT("Subsystem.Initialize") }));
	UTestGameInstanceSubsystem* const SecondSubsystem = Second->GetSubsystem<UTestGameInstanceSubsystem>();
	ASSERT_NE(SecondSubsystem, nullptr);
	EXPECT_NE(SecondSubsystem, First);
	EXPECT_EQ(SecondSubsystem->GetGameInstance(), Second);
	EXPECT_NE(Second->GetWorld(), World());

	// The engine's world contexts keep the second game instance; its subsystems live as long.
	const TWeakObjectPtr<UTestGameInstanceSubsystem> WeakSecond(SecondSubsystem);
	Engine->CollectGarbage();
	ASSERT_TRUE(WeakSecond.IsValid());

	UWorld* const SecondWorld = Second->GetWorld();
	Second->Shutdown();
	EXPECT_EQ(EngineTestEvents().Last(), TEXT("Subsystem.Deinitialize"));
	EXPECT_FALSE(SecondSubsystem->bInitialized);
	EXPECT_EQ(Second->GetSubsystem<UTestGameInstanceSubsystem>(), nullptr);
	EXPECT_EQ(Second->GetWorld(), nullptr);
	// Shutting down again deinitializes nothing twice.
	const int32 EventsBefore = EngineTestEvents().Num();
	Second->Shutdown();
	EXPECT_EQ(EngineTestEvents().Num(), EventsBefore);

	SecondWorld->DestroyWorld(true);
	Engine->CollectGarbage();
	EXPECT_FALSE(WeakSecond.IsValid());
	// The first game instance is untouched.
	EXPECT_EQ(GameInstance()->GetSubsystem<UTestGameInstanceSubsystem>(), First);
	EXPECT_TRUE(First->bInitialized);
}

TEST_F(HostEngineSubsystems, SubsystemsAreDeinitializedWhenTheEngineStops)
{
	UTestGameInstanceSubsystem* const Subsystem = GameInstance()->GetSubsystem<UTestGameInstanceSubsystem>();
	const TWeakObjectPtr<UTestGameInstanceSubsystem> Weak(Subsystem);
	EngineTestEvents().Reset();
	Engine.Reset();
	EXPECT_EQ(EngineTestEvents().FilterByPredicate([](const FString& E) { return E == TEXT("Subsystem.Deinitialize"); }).Num(), 1);
	EXPECT_FALSE(Weak.IsValid());
}

TEST_F(HostEngineSubsystems, InitTakesOverTheEncryptionHandshakeAndShutdownReleasesTokenAndAckOnly)
{
	// The running game's instance holds the hand-shake.
	ASSERT_TRUE(FNetDelegates::OnReceivedNetworkEncryptionToken.IsBoundToObject(GameInstance()));
	ASSERT_TRUE(FNetDelegates::OnReceivedNetworkEncryptionFailure.IsBoundToObject(GameInstance()));

	UGameInstance* const Second = NewObject<UGameInstance>(GEngine);
	Second->InitializeStandalone();
	EXPECT_TRUE(FNetDelegates::OnReceivedNetworkEncryptionToken.IsBoundToObject(Second));
	EXPECT_TRUE(FNetDelegates::OnReceivedNetworkEncryptionAck.IsBoundToObject(Second));
	EXPECT_TRUE(FNetDelegates::OnReceivedNetworkEncryptionFailure.IsBoundToObject(Second));

	// Unimplemented, the token handler answers with a failure.
	EEncryptionResponse Answer = EEncryptionResponse::Success;
	int32 KeyBytes = -1;
	FNetDelegates::OnReceivedNetworkEncryptionToken.Execute(TEXT("token"), FOnEncryptionKeyResponse::CreateLambda([&Answer, &KeyBytes](const FEncryptionKeyResponse& Response)
	{
		Answer = Response.Response;
		KeyBytes = Response.EncryptionData.Key.Num();
	}));
	EXPECT_EQ(Answer, EEncryptionResponse::Failure);
	// A failure carries no key.
	EXPECT_EQ(KeyBytes, 0);

	UWorld* const SecondWorld = Second->GetWorld();
	Second->Shutdown();
	// The first instance does not get them back: token and ack are unbound, failure still points at the second.
	EXPECT_FALSE(FNetDelegates::OnReceivedNetworkEncryptionToken.IsBound());
	EXPECT_FALSE(FNetDelegates::OnReceivedNetworkEncryptionAck.IsBound());
	EXPECT_TRUE(FNetDelegates::OnReceivedNetworkEncryptionFailure.IsBoundToObject(Second));

	GEngine->DestroyWorldContext(SecondWorld);
	SecondWorld->DestroyWorld(false);
}
