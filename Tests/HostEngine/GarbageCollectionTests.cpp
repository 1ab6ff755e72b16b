// What keeps objects alive under the engine: async actions registered with the game instance,
// dynamic bindings to actors, and the game instance's own references.
#include "EngineTestSupport.h"
#include "EngineTestTypes.h"

namespace
{
	class HostEngineGarbageCollection : public FEngineTest
	{
	};
}

TEST_F(HostEngineGarbageCollection, AsyncActionLivesUntilReadyToDestroyThenIsCollected)
{
	TWeakObjectPtr<UTestAsyncAction> Weak;
	{
		UTestAsyncAction* const Action = UTestAsyncAction::StartTestAction(World());
		Action->Activate();
		Weak = Action;
	}
	// Nothing but the game instance refers to the action.
	for (int32 Pass = 0; Pass < 3; ++Pass)
	{
		Engine->Tick();
		Engine->CollectGarbage();
		ASSERT_TRUE(Weak.IsValid()) << "collected while registered, pass " << Pass;
	}
	EXPECT_TRUE(Weak->bActivated);

	Weak->Complete();
	// Ready to destroy is not destroyed: the object is still there until the next collection.
	EXPECT_TRUE(Weak.IsValid());
	Engine->CollectGarbage();
	EXPECT_FALSE(Weak.IsValid());
}

TEST_F(HostEngineGarbageCollection, AsyncActionRegisteredTwiceIsKeptOnceAndReleasedByOneCompletion)
{
	UTestAsyncAction* const Action = UTestAsyncAction::StartTestAction(World());
	ATestActor* const Actor = World()->SpawnActor<ATestActor>();
	// Registering again, through another context object of the same game instance, keeps one entry.
	Action->RegisterWithGameInstance(Actor);
	const TWeakObjectPtr<UTestAsyncAction> Weak(Action);
	Engine->CollectGarbage();
	ASSERT_TRUE(Weak.IsValid());
	Action->Complete();
	Engine->CollectGarbage();
	EXPECT_FALSE(Weak.IsValid());
}

TEST_F(HostEngineGarbageCollection, AsyncActionWithoutWorldIsNotKeptAndTheLookupWarns)
{
	UE::Host::FLogCapture Script(TEXT("LogScript"));
	UTestBroadcaster* const Loose = NewObject<UTestBroadcaster>();
	const TWeakObjectPtr<UTestAsyncAction> Weak(UTestAsyncAction::StartTestAction(Loose));
	const TWeakObjectPtr<UTestAsyncAction> WeakNull(UTestAsyncAction::StartTestAction(nullptr));
	EXPECT_EQ(Script.Count(TEXT("No world was found for object"), ELogVerbosity::Warning), 1);
	EXPECT_EQ(Script.Count(TEXT("A null object was passed"), ELogVerbosity::Warning), 1);
	Engine->CollectGarbage();
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_FALSE(WeakNull.IsValid());
	// Completing an action that was never registered is harmless.
	UTestAsyncAction* const Unregistered = NewObject<UTestAsyncAction>();
	Unregistered->Complete();
	Unregistered->Complete();
}

TEST_F(HostEngineGarbageCollection, ObjectsRegisteredWithTheGameInstanceLiveUntilUnregistered)
{
	UTestBroadcaster* const Kept = NewObject<UTestBroadcaster>();
	const TWeakObjectPtr<UTestBroadcaster> Weak(Kept);
	GameInstance()->RegisterReferencedObject(Kept);
	GameInstance()->RegisterReferencedObject(Kept);
	Engine->CollectGarbage();
	ASSERT_TRUE(Weak.IsValid());
	// One unregistration undoes both registrations: the list holds an object once.
	GameInstance()->UnregisterReferencedObject(Kept);
	Engine->CollectGarbage();
	EXPECT_FALSE(Weak.IsValid());
	// Unregistering what is not there is a no-op.
	GameInstance()->UnregisterReferencedObject(NewObject<UTestBroadcaster>());
}

TEST_F(HostEngineGarbageCollection, EngineShutdownReleasesActionsStillRegistered)
{
	const TWeakObjectPtr<UTestAsyncAction> Weak(UTestAsyncAction::StartTestAction(World()));
	const TWeakObjectPtr<UGameInstance> WeakGameInstance(GameInstance());
	const TWeakObjectPtr<UWorld> WeakWorld(World());
	Engine.Reset();
	EXPECT_EQ(GEngine, nullptr);
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_FALSE(WeakGameInstance.IsValid());
	EXPECT_FALSE(WeakWorld.IsValid());
}

TEST_F(HostEngineGarbageCollection, DynamicBindingToADestroyedActorIsNotCalled)
{
	UTestBroadcaster* const Broadcaster = NewObject<UTestBroadcaster>();
	GameInstance()->RegisterReferencedObject(Broadcaster);
	ATestActor* const Kept = World()->SpawnActor<ATestActor>();
	ATestActor* const Doomed = World()->SpawnActor<ATestActor>();
	Broadcaster->OnPing.AddDynamic(Kept, &ATestActor::HandlePing);
	Broadcaster->OnPing.AddDynamic(Doomed, &ATestActor::HandlePing);
	Broadcaster->OnPing.Broadcast(5);
	EXPECT_EQ(Kept->PingCalls, 1);
	EXPECT_EQ(Doomed->PingCalls, 1);

	// Destroyed but not yet collected: the binding no longer resolves.
	Doomed->Destroy();
	Broadcaster->OnPing.Broadcast(7);
	EXPECT_EQ(Kept->PingCalls, 2);
	EXPECT_EQ(Kept->PingTotal, 12);
	EXPECT_EQ(Doomed->PingCalls, 1);

	// Collected: the binding neither keeps the actor alive nor calls into freed memory.
	const TWeakObjectPtr<ATestActor> WeakDoomed(Doomed);
	Engine->CollectGarbage();
	EXPECT_FALSE(WeakDoomed.IsValid());
	Broadcaster->OnPing.Broadcast(1);
	EXPECT_EQ(Kept->PingCalls, 3);
	EXPECT_EQ(Kept->PingTotal, 13);
	EXPECT_TRUE(Broadcaster->OnPing.IsAlreadyBound(Kept, &ATestActor::HandlePing));
	GameInstance()->UnregisterReferencedObject(Broadcaster);
}
