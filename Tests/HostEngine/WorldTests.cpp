// Worlds and actors: begin play order, ticking, destruction, and finding a world from an object.
#include "EngineTestSupport.h"
#include "EngineTestTypes.h"
#include "Engine/Level.h"
#include "Kismet/GameplayStatics.h"
#include "UObject/Package.h"

namespace
{
	class HostEngineWorld : public FEngineTest
	{
	protected:
		template<class T>
		T* Spawn(const TCHAR* Name, UWorld* InWorld = nullptr)
		{
			FActorSpawnParameters Parameters;
			Parameters.Name = Name;
			return (InWorld ? InWorld : World())->SpawnActor<T>(Parameters);
		}
	};
}

TEST_F(HostEngineWorld, ActorsInTheWorldBeginPlayInSpawnOrderAndLaterOnesWhenSpawned)
{
	UWorld* const Sandbox = UWorld::CreateWorld(EWorldType::Game, false, TEXT("Sandbox"));
	Sandbox->SetGameInstance(GameInstance());
	EngineTestEvents().Reset();
	ATestActor* const A = Spawn<ATestActor>(TEXT("A"), Sandbox);
	ATestActor* const B = Spawn<ATestActor>(TEXT("B"), Sandbox);
	ASSERT_NE(A, nullptr);
	ASSERT_NE(B, nullptr);
	EXPECT_FALSE(Sandbox->HasBegunPlay());
	EXPECT_FALSE(A->HasActorBegunPlay());
	EXPECT_TRUE(EngineTestEvents().IsEmpty());

	Sandbox->BeginPlay();
	EXPECT_EQ(EngineTestEvents(), (TArray<FString>{ TEXT("BeginPlay:A"), TEXT("BeginPlay:B") }));
	EXPECT_TRUE(A->HasActorBegunPlay());
	EXPECT_TRUE(B->HasActorBegunPlay());

	ATestActor* const C = Spawn<ATestActor>(TEXT("C"), Sandbox);
	EXPECT_EQ(EngineTestEvents().Last(), TEXT("BeginPlay:C"));
	EXPECT_TRUE(C->HasActorBegunPlay());

	// Beginning play twice, or dispatching it again to an actor, does nothing more.
	Sandbox->BeginPlay();
	A->DispatchBeginPlay();
	EXPECT_EQ(EngineTestEvents().Num(), 3);

	EXPECT_EQ(A->GetWorld(), Sandbox);
	EXPECT_EQ(A->GetLevel(), Sandbox->PersistentLevel);
	const TWeakObjectPtr<ATestActor> WeakA(A);
	Sandbox->DestroyWorld(false);
	Engine->CollectGarbage();
	EXPECT_FALSE(WeakA.IsValid());
}

TEST_F(HostEngineWorld, PlayHasBegunInTheEngineWorldAndSpawnedActorsBeginAtOnce)
{
	ASSERT_NE(World(), nullptr);
	EXPECT_TRUE(World()->HasBegunPlay());
	EXPECT_EQ(World()->GetGameInstance(), GameInstance());
	EXPECT_EQ(GameInstance()->GetWorld(), World());
	EXPECT_EQ(GameInstance()->GetEngine(), GEngine);
	EngineTestEvents().Reset();
	ATestActor* const Actor = Spawn<ATestActor>(TEXT("Late"));
	EXPECT_EQ(EngineTestEvents(), (TArray<FString>{ TEXT("BeginPlay:Late") }));
	EXPECT_TRUE(Actor->HasActorBegunPlay());
}

TEST_F(HostEngineWorld, OnlyActorsThatCanTickAreTickedEachFrameWithTheFrameTime)
{
	ATestTickingActor* const Ticking = Spawn<ATestTickingActor>(TEXT("Ticking"));
	ATestActor* const Still = Spawn<ATestActor>(TEXT("Still"));
	Engine->TickFrames(4, 0.25f);
	EXPECT_EQ(Ticking->TickCount, 4);
	EXPECT_FLOAT_EQ(Ticking->TickedSeconds, 1.0f);
	EXPECT_EQ(Still->TickCount, 0);
	EXPECT_GE(World()->GetTimeSeconds(), 1.0);

	Ticking->SetActorTickEnabled(false);
	EXPECT_FALSE(Ticking->IsActorTickEnabled());
	Engine->TickFrames(2, 0.25f);
	EXPECT_EQ(Ticking->TickCount, 4);
	Ticking->SetActorTickEnabled(true);
	Engine->Tick(0.25f);
	EXPECT_EQ(Ticking->TickCount, 5);
}

TEST_F(HostEngineWorld, DestroyedActorEndsPlayLeavesTheLevelAndIsCollected)
{
	ATestTickingActor* const Actor = Spawn<ATestTickingActor>(TEXT("Doomed"));
	const TWeakObjectPtr<ATestTickingActor> Weak(Actor);
	EngineTestEvents().Reset();
	EXPECT_TRUE(Actor->Destroy());
	EXPECT_EQ(EngineTestEvents(), (TArray<FString>{ TEXT("EndPlay:Doomed") }));
	EXPECT_FALSE(IsValid(Actor));
	EXPECT_FALSE(World()->PersistentLevel->Actors.Contains(Actor));
	// Destroying again is accepted and ends play only once.
	EXPECT_TRUE(Actor->Destroy());
	EXPECT_EQ(EngineTestEvents().Num(), 1);

	Engine->Tick();
	Engine->CollectGarbage();
	EXPECT_FALSE(Weak.IsValid());
	// The world keeps ticking without the actor's tick function.
	Engine->TickFrames(2);
}

TEST_F(HostEngineWorld, SpawnedActorNamesAreUniqueWhenOnlyRequested)
{
	ATestActor* const First = Spawn<ATestActor>(TEXT("Twin"));
	FActorSpawnParameters Parameters;
	Parameters.Name = TEXT("Twin");
	Parameters.NameMode = ESpawnActorNameMode::Requested;
	ATestActor* const Second = World()->SpawnActor<ATestActor>(Parameters);
	ASSERT_NE(Second, nullptr);
	EXPECT_NE(First->GetFName(), Second->GetFName());

	Parameters.NameMode = ESpawnActorNameMode::Required_ReturnNull;
	EXPECT_EQ(World()->SpawnActor<ATestActor>(Parameters), nullptr);
	// No class, or a class that is not an actor's, spawns nothing and says why.
	UE::Host::FLogCapture Spawn(TEXT("LogSpawn"));
	EXPECT_EQ(World()->SpawnActor(nullptr), nullptr);
	EXPECT_EQ(World()->SpawnActor(UTestBroadcaster::StaticClass()), nullptr);
	EXPECT_EQ(Spawn.Count(TEXT("SpawnActor failed because"), ELogVerbosity::Warning), 2);
}

TEST_F(HostEngineWorld, WorldIsFoundFromActorsGameInstanceAndWorldButNotFromLooseObjects)
{
	ATestActor* const Actor = Spawn<ATestActor>(TEXT("Context"));
	EXPECT_EQ(GEngine->GetWorldFromContextObject(Actor, EGetWorldErrorMode::LogAndReturnNull), World());
	EXPECT_EQ(GEngine->GetWorldFromContextObject(GameInstance(), EGetWorldErrorMode::LogAndReturnNull), World());
	EXPECT_EQ(GEngine->GetWorldFromContextObject(World(), EGetWorldErrorMode::LogAndReturnNull), World());
	EXPECT_EQ(GEngine->GetWorldFromContextObjectChecked(Actor), World());
	EXPECT_EQ(UGameplayStatics::GetGameInstance(Actor), GameInstance());
	EXPECT_EQ(UGameInstance::GetSubsystem<UTestGameInstanceSubsystem>(nullptr), nullptr);

	UE::Host::FLogCapture Script(TEXT("LogScript"));
	UTestBroadcaster* const Loose = NewObject<UTestBroadcaster>();
	EXPECT_EQ(GEngine->GetWorldFromContextObject(Loose, EGetWorldErrorMode::ReturnNull), nullptr);
	EXPECT_EQ(GEngine->GetWorldFromContextObject(nullptr, EGetWorldErrorMode::ReturnNull), nullptr);
	EXPECT_TRUE(Script.GetLines().IsEmpty());

	EXPECT_EQ(GEngine->GetWorldFromContextObject(Loose, EGetWorldErrorMode::LogAndReturnNull), nullptr);
	EXPECT_EQ(GEngine->GetWorldFromContextObject(nullptr, EGetWorldErrorMode::LogAndReturnNull), nullptr);
	EXPECT_EQ(UGameplayStatics::GetGameInstance(Loose), nullptr);
	const TArray<UE::Host::FCapturedLogLine> Lines = Script.GetLines();
	ASSERT_EQ(Lines.Num(), 3);
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);
	EXPECT_EQ(Str(Lines[0].Text), "Script Msg: No world was found for object (" + Str(Loose->GetPathName()) + ") passed in to UEngine::GetWorldFromContextObject().");
	EXPECT_EQ(Str(Lines[1].Text), "Script Msg: A null object was passed as a world context object to UEngine::GetWorldFromContextObject().");
	EXPECT_EQ(Lines[2].Verbosity, ELogVerbosity::Warning);
}

TEST_F(HostEngineWorld, AssertModeStopsOnAnObjectWithoutWorld)
{
	UTestBroadcaster* const Loose = NewObject<UTestBroadcaster>();
	EXPECT_DEATH(GEngine->GetWorldFromContextObject(Loose, EGetWorldErrorMode::Assert), "No world was found for object");
}
