// Copyright Quarn. All Rights Reserved.

// The sync node with its container read away from the game thread: a large container still
// reconciles to the same transaction, and a node that goes away during the read fires no pin.

#include "Tests/QuarnSyncTestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Misc/AutomationTest.h"
#include "Misc/Timespan.h"
#include "QuarnClient.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

using namespace QuarnSyncTests;

namespace QuarnStashSyncOffThreadTests
{
	/** Thousands of stacks are parsed on a worker; generous, since sanitizer builds are slow. */
	const FTimespan Bound = FTimespan::FromSeconds(60.0);

	FString Stack(int32 Index, int32 Quantity)
	{
		return FString::Printf(TEXT("{\"id\":\"ins_%d\",\"item_id\":\"Item%d\",\"quantity\":%d,\"slot_index\":%d,\"slot_key\":\"\",\"x\":-1,\"y\":-1,\"grid_w\":1,\"grid_h\":1,\"rotated\":false,\"properties\":{\"__qnid\":\"ins_%d\"}}"),
			Index, Index % 7, Quantity, Index, Index);
	}

	FString LargeDocument(int32 Count)
	{
		FString Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			if (Index > 0)
			{
				Items.AppendChar(TEXT(','));
			}
			Items += Stack(Index, Index % 50 + 1);
		}
		return FString::Printf(TEXT("{\"id\":\"c1\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":12,\"items\":[%s]}"), *Items);
	}

	/** The same stacks as LargeDocument holds, as the template would list them. */
	TArray<FQuarnItemInstance> DesiredLike(int32 Count)
	{
		TArray<FQuarnItemInstance> Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			FQuarnItemInstance Item;
			Item.InstanceId = FString::Printf(TEXT("ins_%d"), Index);
			Item.ItemId = FName(*FString::Printf(TEXT("Item%d"), Index % 7));
			Item.Quantity = Index % 50 + 1;
			Item.SlotIndex = Index;
			Item.X = -1;
			Item.Y = -1;
			Items.Add(Item);
		}
		return Items;
	}
}

BEGIN_DEFINE_SPEC(FQuarnStashSyncOffThreadSpec, "Quarn.USME.OffThreadSync", QuarnTests::TestFlags)
	TUniquePtr<FSyncFixture> Fixture;

	QuarnTests::FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}
END_DEFINE_SPEC(FQuarnStashSyncOffThreadSpec)

void FQuarnStashSyncOffThreadSpec::Define()
{
	using namespace QuarnStashSyncOffThreadTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FSyncFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	LatentIt(TEXT("reconciles a large container read on a worker to the same transaction"), Bound, [this](const FDoneDelegate& Done)
	{
		if (!TestTrue(TEXT("signed in"), Fixture->SignIn(TEXT("p1"))))
		{
			Done.Execute();
			return;
		}
		TArray<FQuarnItemInstance> Desired = DesiredLike(3000);
		Desired[1234].Quantity += 5;
		const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), Desired);
		const FString Answer = LargeDocument(3000);
		TestTrue(TEXT("the answer is large enough to be read on a worker"), Answer.Len() >= FQuarnClient::OffThreadAnswerSize);
		Transport().Answer(200, Answer);
		TestEqual(TEXT("nothing is reconciled until the records reach the game thread"), Transport().Sent.Num(), 1);
		TestEqual(TEXT("no pin before the records reach the game thread"), Pins.Total(), 0);

		Fixture->WhenTrue([this, &Pins]() { return Transport().Pending.Num() > 0 || Pins.Total() > 0; }, [this, &Pins, Done]()
		{
			if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 2))
			{
				Done.Execute();
				return;
			}
			const FString& Body = Transport().Sent[1].Body;
			TestEqualSensitive(TEXT("intents"), FString::Join(DescribeIntents(Body), TEXT(" ")), FString(TEXT("grant:Item2:5")));
			TestTrue(TEXT("expected version"), Body.Contains(TEXT("\"expected_version\": 12"), ESearchCase::CaseSensitive));
			Transport().Answer(200, TEXT("{}"));
			Fixture->WhenTrue([&Pins]() { return Pins.Total() > 0; }, [this, &Pins, Done]()
			{
				Fixture->AfterFrames(3, [this, &Pins, Done]()
				{
					TestEqual(TEXT("success pins"), Pins.Successes, 1);
					TestEqual(TEXT("failure pins"), Pins.Failures, 0);
					TestEqual(TEXT("granted"), Pins.Report.Granted, 1);
					TestEqual(TEXT("unchanged"), Pins.Report.Unchanged, 2999);
					Done.Execute();
				});
			});
		});
	});

	LatentIt(TEXT("fires no pin for a node collected while its answer is read"), Bound, [this](const FDoneDelegate& Done)
	{
		if (!TestTrue(TEXT("signed in"), Fixture->SignIn(TEXT("p1"))))
		{
			Done.Execute();
			return;
		}
		// The client logs each completion on the game thread before it reaches the node; that line
		// is how this case knows the worker has handed the records back.
		LogQuarn.SetVerbosity(ELogVerbosity::Verbose);
		const TSharedRef<QuarnTests::FLogLines> Log = MakeShared<QuarnTests::FLogLines>();
		const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), DesiredLike(10));
		UQuarnSyncStash* const Action = Pins.Action.Get();
		if (!TestNotNull(TEXT("started"), Action))
		{
			Done.Execute();
			return;
		}
		Transport().Answer(200, LargeDocument(4000));

		// The game lets go of the node and collects before the records come back.
		Action->SetReadyToDestroy();
		Action->MarkAsGarbage();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		TestFalse(TEXT("collected"), Pins.Action.IsValid());

		Fixture->WhenTrue([Log]() { return Log->AnyStartsWith(TEXT("GET /v1/game/containers/c1 -> 200")); }, [this, &Pins, Done]()
		{
			Fixture->AfterFrames(3, [this, &Pins, Done]()
			{
				TestEqual(TEXT("pins"), Pins.Total(), 0);
				TestEqual(TEXT("no transaction from a node that is gone"), Transport().Sent.Num(), 1);
				Done.Execute();
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
