// The sync node with its container read away from the game thread: a large container still
// reconciles to the same transaction, and a node that goes away during the read fires no pin.
#include "QuarnUSMETestSupport.h"
#include "Host/CoreHost.h"

using namespace QuarnUSMETest;

namespace
{
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

	class FQuarnSyncOffThread : public FSyncTest
	{
	};
}

TEST_F(FQuarnSyncOffThread, ALargeContainerReadOnAWorkerGivesTheSameTransaction)
{
	SignIn(TEXT("p1"));
	TArray<FQuarnItemInstance> Desired = DesiredLike(3000);
	Desired[1234].Quantity += 5;
	FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), Desired);
	Transport->Answer(200, LargeDocument(3000));
	EXPECT_EQ(Transport->Sent.Num(), 1) << "nothing is reconciled until the records reach the game thread";
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() > 0 || Pins.Total() > 0; }));
	ASSERT_EQ(Transport->Sent.Num(), 2);
	const TArray<FString> Intents = DescribeIntents(Transport->Sent[1].Body);
	ASSERT_EQ(Intents.Num(), 1);
	EXPECT_EQ(Str(Intents[0]), "grant:Item2:5");
	EXPECT_TRUE(Transport->Sent[1].Body.Contains(TEXT("\"expected_version\": 12"))) << Str(Transport->Sent[1].Body);
	Transport->Answer(200, TEXT("{}"));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
	ASSERT_TRUE(PumpUntil([] { return !UE::Host::HasPendingAsyncTasks(); }));
	PumpTicks(3);
	EXPECT_EQ(Pins.Successes, 1);
	EXPECT_EQ(Pins.Failures, 0);
	EXPECT_EQ(Pins.Report.Granted, 1);
	EXPECT_EQ(Pins.Report.Unchanged, 2999);
}

TEST_F(FQuarnSyncOffThread, ANodeCollectedWhileItsAnswerIsReadFiresNoPin)
{
	SignIn(TEXT("p1"));
	FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), DesiredLike(10));
	UQuarnSyncStash* Action = Pins.Action.Get();
	ASSERT_NE(Action, nullptr);
	Transport->Answer(200, LargeDocument(4000));

	// The game lets go of the node and collects before the records come back.
	Action->SetReadyToDestroy();
	Action->MarkAsGarbage();
	CollectGarbage();
	EXPECT_FALSE(Pins.Action.IsValid());

	ASSERT_TRUE(PumpUntil([] { return !UE::Host::HasPendingAsyncTasks(); }));
	PumpTicks(3);
	EXPECT_EQ(Pins.Total(), 0);
	EXPECT_EQ(Transport->Sent.Num(), 1) << "no transaction from a node that is gone";
}
