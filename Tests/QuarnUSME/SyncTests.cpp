// The sync node over a scripted transport: authentication, the container read, the reconcile's
// exact transaction body, the pin it fires (exactly one, once) and the node's log lines.
#include "QuarnUSMETestSupport.h"
#include "QuarnLog.h"
#include "QuarnStashSync.h"
#include "QuarnSubsystem.h"

using namespace QuarnUSMETest;

namespace
{
	// A container document as the platform answers a read: items with their ids in properties.
	FString Document(int64 Version, const FString& ItemsJson)
	{
		return FString::Printf(TEXT("{\"id\":\"c1\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":%lld,\"items\":[%s]}"), Version, *ItemsJson);
	}

	FString SlotItem(const TCHAR* Id, const TCHAR* ItemId, int32 Quantity, int32 SlotIndex)
	{
		return FString::Printf(TEXT("{\"id\":\"%s\",\"item_id\":\"%s\",\"quantity\":%d,\"slot_index\":%d,\"slot_key\":\"\",\"x\":-1,\"y\":-1,\"rotated\":false,\"properties\":{\"__qnid\":\"%s\"}}"), Id, ItemId, Quantity, SlotIndex, Id);
	}

	FQuarnItemInstance Desired(const TCHAR* InstanceId, const TCHAR* ItemId, int32 Quantity, int32 SlotIndex)
	{
		FQuarnItemInstance Item;
		Item.InstanceId = InstanceId;
		Item.ItemId = FName(ItemId);
		Item.Quantity = Quantity;
		Item.SlotIndex = SlotIndex;
		return Item;
	}

	class FQuarnSyncStash : public FSyncTest
	{
	};
}

TEST_F(FQuarnSyncStash, WithoutATokenFailsAtOnceAndSendsNothing)
{
	FPinRecorder& Pins = Start(TEXT("nobody"), TEXT("c1"), {});
	EXPECT_EQ(Transport->Sent.Num(), 0);
	ASSERT_EQ(Pins.Failures, 1);
	EXPECT_EQ(Pins.Successes, 0);
	EXPECT_EQ(Str(Pins.Error.Code), "not_authenticated");
	EXPECT_EQ(Str(Pins.Error.Message), "Player is not authenticated");
	EXPECT_EQ(Str(Pins.Error.Hint), "Call Quarn - Authenticate Player for this player first.");
	EXPECT_EQ(Pins.Report.Granted + Pins.Report.Consumed + Pins.Report.Moved + Pins.Report.Unchanged, 0);
}

TEST_F(FQuarnSyncStash, AContextWithoutAGameInstanceIsNotAuthenticated)
{
	SignIn(TEXT("p1"));
	UObject* Orphan = NewObject<UQuarnSyncStash>();
	FPinRecorder& Pins = StartWithContext(Orphan, TEXT("p1"), TEXT("c1"), {});
	EXPECT_EQ(Transport->Sent.Num(), 0);
	EXPECT_EQ(Pins.Failures, 1);
	EXPECT_EQ(Str(Pins.Error.Code), "not_authenticated");
}

TEST_F(FQuarnSyncStash, ReadsTheContainerIdVerbatimWithTheToken)
{
	SignIn(TEXT("p1"));
	Start(TEXT("p1"), TEXT("my stash/2"), {});
	ASSERT_EQ(Transport->Sent.Num(), 1);
	EXPECT_EQ(Str(Transport->Sent[0].Verb), "GET");
	// The node passes the id as it is; the client's transport encodes what a path cannot hold.
	EXPECT_EQ(Str(Transport->Sent[0].Url), "https://platform.example.com/v1/game/containers/my%20stash/2");
	EXPECT_EQ(Str(Transport->Sent[0].GetHeader(TEXT("Authorization"))), "Bearer token-p1");
	EXPECT_TRUE(Transport->Sent[0].GetHeader(TEXT("Idempotency-Key")).IsEmpty());
}

TEST_F(FQuarnSyncStash, AFailedReadCarriesTheErrorAsDelivered)
{
	SignIn(TEXT("p1"));
	FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 5, 0)});
	Transport->Answer(404, TEXT("{\"error\":{\"code\":\"not_found\",\"message\":\"No such container.\",\"hint\":\"h\"}}"));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
	PumpTicks(5);
	EXPECT_EQ(Pins.Failures, 1);
	EXPECT_EQ(Pins.Successes, 0);
	EXPECT_EQ(Pins.Error.HttpStatus, 404);
	EXPECT_EQ(Str(Pins.Error.Code), "not_found");
	EXPECT_EQ(Pins.Report.Granted, 0);
	EXPECT_EQ(Transport->Sent.Num(), 1) << "no transaction after a failed read";
}

TEST_F(FQuarnSyncStash, AnAgreeingContainerSucceedsWithoutARequest)
{
	SignIn(TEXT("p1"));
	UE_SET_LOG_VERBOSITY(LogQuarn, Verbose);
	FLogCapture Log;
	FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT("i1"), TEXT("Ammo"), 5, 0), Desired(TEXT("I2"), TEXT("Bandage"), 1, 3)});
	Transport->Answer(200, Document(4, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0) + TEXT(",") + SlotItem(TEXT("i2"), TEXT("Bandage"), 1, 3)));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
	PumpTicks(5);
	LogQuarn.ResetToDefault();
	EXPECT_EQ(Pins.Successes, 1);
	EXPECT_EQ(Pins.Failures, 0);
	EXPECT_EQ(Pins.Report.Unchanged, 2);
	EXPECT_EQ(Transport->Sent.Num(), 1);
	EXPECT_TRUE(Log.Has(ELogVerbosity::Verbose, TEXT("Sync: nothing to do (2 unchanged).")));
}

TEST_F(FQuarnSyncStash, TransactionBodyIsThePrettyEngineJson)
{
	SignIn(TEXT("p1"));
	FQuarnItemInstance Moved = Desired(TEXT("i2"), TEXT("Bandage"), 2, 7);
	FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), {
		Desired(TEXT(""), TEXT("Ammo"), 10, -1),
		Desired(TEXT("i1"), TEXT("Medkit"), 8, 0),
		Moved,
	});
	Transport->Answer(200, Document(7,
		SlotItem(TEXT("i1"), TEXT("Medkit"), 5, 0) + TEXT(",") +
		SlotItem(TEXT("i2"), TEXT("Bandage"), 5, 1) + TEXT(",") +
		SlotItem(TEXT("i3"), TEXT("Rope"), 1, 2)));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() > 0; }));
	ASSERT_EQ(Transport->Sent.Num(), 2);
	const FQuarnHttpRequest& Transaction = Transport->Sent[1];
	EXPECT_EQ(Str(Transaction.Verb), "POST");
	EXPECT_EQ(Str(Transaction.Url), "https://platform.example.com/v1/game/inventory/transaction");
	EXPECT_FALSE(Transaction.GetHeader(TEXT("Idempotency-Key")).IsEmpty());
	const std::string Expected = Eol(
		"{\n"
		"\t\"intents\": [\n"
		"\t\t{\n"
		"\t\t\t\"kind\": \"grant\",\n"
		"\t\t\t\"container_id\": \"c1\",\n"
		"\t\t\t\"item_id\": \"Ammo\",\n"
		"\t\t\t\"quantity\": 10\n"
		"\t\t},\n"
		"\t\t{\n"
		"\t\t\t\"kind\": \"grant\",\n"
		"\t\t\t\"container_id\": \"c1\",\n"
		"\t\t\t\"item_id\": \"Medkit\",\n"
		"\t\t\t\"quantity\": 3\n"
		"\t\t},\n"
		"\t\t{\n"
		"\t\t\t\"kind\": \"consume\",\n"
		"\t\t\t\"instance_id\": \"i2\",\n"
		"\t\t\t\"quantity\": 3\n"
		"\t\t},\n"
		"\t\t{\n"
		"\t\t\t\"kind\": \"move\",\n"
		"\t\t\t\"instance_id\": \"i2\",\n"
		"\t\t\t\"to\":\n"
		"\t\t\t{\n"
		"\t\t\t\t\"slot_index\": 7\n"
		"\t\t\t}\n"
		"\t\t},\n"
		"\t\t{\n"
		"\t\t\t\"kind\": \"consume\",\n"
		"\t\t\t\"instance_id\": \"i3\",\n"
		"\t\t\t\"quantity\": 1\n"
		"\t\t}\n"
		"\t],\n"
		"\t\"container_id\": \"c1\",\n"
		"\t\"expected_version\": 7\n"
		"}");
	EXPECT_EQ(Str(Transaction.Body), Expected);

	Transport->Answer(200, TEXT("{\"version\":8}"));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
	PumpTicks(5);
	EXPECT_EQ(Pins.Successes, 1);
	EXPECT_EQ(Pins.Failures, 0);
	EXPECT_EQ(Pins.Report.Granted, 2);
	EXPECT_EQ(Pins.Report.Consumed, 2);
	EXPECT_EQ(Pins.Report.Moved, 1);
	EXPECT_EQ(Pins.Report.Unchanged, 0);
}

TEST_F(FQuarnSyncStash, ReconcileEdgeCases)
{
	SignIn(TEXT("p1"));
	struct FCase
	{
		const char* Name;
		TArray<FQuarnItemInstance> DesiredItems;
		FString Items;
		// Intents as "kind:instance-or-item:quantity" in order; "move:id:{json}" for moves.
		TArray<FString> Intents;
		int32 Unchanged;
		int32 Warnings;
	};
	FQuarnItemInstance Rotated = Desired(TEXT("i1"), TEXT("Ammo"), 5, 0);
	Rotated.bRotated = true;
	FQuarnItemInstance Nowhere = Desired(TEXT("i1"), TEXT("Ammo"), 5, -1);
	FQuarnItemInstance Keyed = Desired(TEXT("i1"), TEXT("Ammo"), 5, 0);
	Keyed.SlotKey = TEXT("BELT");
	const FString Three = SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0) + TEXT(",") + SlotItem(TEXT("i2"), TEXT("Rope"), 2, 1) + TEXT(",") + SlotItem(TEXT("i3"), TEXT("Medkit"), 1, 2);
	const FString Anonymous = TEXT("{\"id\":\"x\",\"item_id\":\"Ammo\",\"quantity\":5,\"slot_index\":0}");
	TArray<FCase> Cases;
	Cases.Add({"empty desired consumes all in order", {}, Three, {TEXT("consume:i1:5"), TEXT("consume:i2:2"), TEXT("consume:i3:1")}, 0, 0});
	Cases.Add({"two new grants in order", {Desired(TEXT(""), TEXT("A"), 1, 4), Desired(TEXT(""), TEXT("B"), 2, 5)}, FString(), {TEXT("grant:A:1"), TEXT("grant:B:2")}, 0, 0});
	Cases.Add({"decrease names the instance", {Desired(TEXT("i1"), TEXT("Ammo"), 2, 0)}, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0), {TEXT("consume:i1:3")}, 0, 0});
	Cases.Add({"quantity zero consumes in the final pass", {Desired(TEXT("i1"), TEXT("Ammo"), 0, 0), Desired(TEXT(""), TEXT("New"), 1, 1)}, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0), {TEXT("grant:New:1"), TEXT("consume:i1:5")}, 0, 0});
	Cases.Add({"rotation alone is unchanged", {Rotated}, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0), {}, 1, 0});
	Cases.Add({"empty place sends an empty to", {Nowhere}, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0), {TEXT("move:i1:{}")}, 0, 0});
	Cases.Add({"slot key compares case-blind but differs from empty", {Keyed}, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0), {TEXT("move:i1:{\"slot_index\":0,\"slot_key\":\"BELT\"}")}, 0, 0});
	Cases.Add({"case-blind id carries the desired spelling", {Desired(TEXT("I1"), TEXT("Ammo"), 6, 0)}, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0), {TEXT("grant:Ammo:1")}, 0, 0});
	Cases.Add({"unknown id warns only", {Desired(TEXT("ghost"), TEXT("Ammo"), 6, 0)}, FString(), {}, 0, 1});
	Cases.Add({"items without ids are never touched", {Desired(TEXT("i9"), TEXT("Ammo"), 5, 0)}, Anonymous, {}, 0, 1});
	Cases.Add({"a copied stack counts once", {Desired(TEXT("i1"), TEXT("Ammo"), 8, 0), Desired(TEXT("i1"), TEXT("Ammo"), 8, 0)}, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0), {TEXT("grant:Ammo:3")}, 0, 1});
	// A container that repeats an id (in any case): the later stack is the one compared, and a
	// stack is consumed only when no desired item named its id.
	const FString Repeated = SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0) + TEXT(",") + SlotItem(TEXT("i2"), TEXT("Rope"), 2, 1) + TEXT(",") + SlotItem(TEXT("I1"), TEXT("Ammo"), 7, 2);
	Cases.Add({"repeated container id compares the later stack", {Desired(TEXT("i2"), TEXT("Rope"), 2, 1), Desired(TEXT("i1"), TEXT("Ammo"), 7, 2)}, Repeated, {}, 2, 0});
	Cases.Add({"repeated container id unnamed consumes each stack in order", {Desired(TEXT("i2"), TEXT("Rope"), 2, 1)}, Repeated, {TEXT("consume:i1:5"), TEXT("consume:I1:7")}, 1, 0});
	Cases.Add({"empty item name is None", {Desired(TEXT(""), TEXT(""), 1, 0)}, FString(), {TEXT("grant:None:1")}, 0, 0});

	for (const FCase& Case : Cases)
	{
		SCOPED_TRACE(Case.Name);
		Transport->Sent.Reset();
		FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), Case.DesiredItems);
		Transport->Answer(200, Document(3, Case.Items));
		ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0 || Transport->Pending.Num() > 0; }));
		TArray<FString> Got;
		if (Transport->Pending.Num() > 0)
		{
			Got = DescribeIntents(Transport->Sent.Last().Body);
			Transport->Answer(200, TEXT("{}"));
		}
		ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
		PumpTicks(3);
		EXPECT_EQ(Pins.Total(), 1);
		EXPECT_EQ(Pins.Successes, 1);
		EXPECT_EQ(Got.Num(), Case.Intents.Num());
		for (int32 Index = 0; Index < FMath::Min(Got.Num(), Case.Intents.Num()); ++Index)
		{
			EXPECT_EQ(Str(Got[Index]), Str(Case.Intents[Index])) << "intent " << Index;
		}
		EXPECT_EQ(Pins.Report.Unchanged, Case.Unchanged);
		EXPECT_EQ(Pins.Report.Warnings.Num(), Case.Warnings);
	}
}

TEST_F(FQuarnSyncStash, WarningLinesNameTheItemAndTheId)
{
	SignIn(TEXT("p1"));
	FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT("ghost"), TEXT("Ammo"), 6, 0), Desired(TEXT("i1"), TEXT("Rope"), 5, 0), Desired(TEXT("I1"), TEXT("Rope"), 9, 0)});
	Transport->Answer(200, Document(3, SlotItem(TEXT("i1"), TEXT("Rope"), 5, 0)));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
	ASSERT_EQ(Pins.Report.Warnings.Num(), 2);
	EXPECT_EQ(Str(Pins.Report.Warnings[0]), "Ammo carries unknown instance id ghost; ignored (the platform has no such item)");
	EXPECT_EQ(Str(Pins.Report.Warnings[1]), "Rope carries instance id I1 already used by an earlier item; ignored");
	EXPECT_EQ(Pins.Report.Unchanged, 1);
}

TEST_F(FQuarnSyncStash, ConflictInAnyCaseLogsTheWarningAndFails)
{
	SignIn(TEXT("p1"));
	const TCHAR* Codes[] = {TEXT("version_conflict"), TEXT("VERSION_Conflict"), TEXT("quota_exceeded")};
	for (const TCHAR* Code : Codes)
	{
		FLogCapture Log;
		FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c 9"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
		Transport->Answer(200, Document(3, FString()));
		ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() > 0; }));
		Transport->Answer(409, FString::Printf(TEXT("{\"error\":{\"code\":\"%s\",\"message\":\"m\",\"hint\":\"h\"}}"), Code));
		ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
		PumpTicks(3);
		EXPECT_EQ(Pins.Failures, 1) << Str(Code);
		EXPECT_EQ(Pins.Successes, 0) << Str(Code);
		EXPECT_EQ(Str(Pins.Error.Code), Str(Code));
		EXPECT_EQ(Pins.Report.Granted, 1) << "the report describes what was sent";
		const bool bConflict = FString(Code).Equals(TEXT("version_conflict"), ESearchCase::IgnoreCase);
		EXPECT_EQ(Log.Has(ELogVerbosity::Warning, TEXT("Sync refused: container c 9 changed while reconciling. Re-read and sync again.")), bConflict) << Str(Code);
	}
}

TEST_F(FQuarnSyncStash, AppliedTransactionLogsTheCounts)
{
	SignIn(TEXT("p1"));
	FLogCapture Log;
	FPinRecorder& Pins = Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0), Desired(TEXT("ghost"), TEXT("X"), 1, 0)});
	Transport->Answer(200, Document(3, FString()));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() > 0; }));
	Transport->Answer(200, TEXT("{}"));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }));
	EXPECT_TRUE(Log.Has(ELogVerbosity::Display, TEXT("Sync applied: 1 granted, 0 consumed, 0 moved, 0 unchanged, 1 warning(s).")));
}

// The collector runs between the request and its answer: an action the game instance still holds
// survives and fires; one that was released is collected and the late answer fires nothing.
TEST_F(FQuarnSyncStash, GarbageCollectionBetweenRequestAndAnswer)
{
	SignIn(TEXT("p1"));
	FPinRecorder& Held = Start(TEXT("p1"), TEXT("c1"), {});
	CollectGarbage();
	ASSERT_TRUE(Held.Action.IsValid()) << "the game instance keeps a running action alive";
	Transport->Answer(200, Document(1, FString()));
	ASSERT_TRUE(PumpUntil([&] { return Held.Total() > 0; }));
	EXPECT_EQ(Held.Successes, 1);
	CollectGarbage();
	EXPECT_FALSE(Held.Action.IsValid()) << "released after its pin fired";

	FPinRecorder& Dropped = Start(TEXT("p1"), TEXT("c1"), {});
	ASSERT_TRUE(Dropped.Action.IsValid());
	Dropped.Action->SetReadyToDestroy();
	CollectGarbage();
	ASSERT_FALSE(Dropped.Action.IsValid());
	Transport->Answer(200, Document(1, SlotItem(TEXT("i1"), TEXT("Ammo"), 1, 0)));
	PumpTicks(10);
	EXPECT_EQ(Dropped.Total(), 0);
	EXPECT_EQ(Transport->Pending.Num(), 0) << "nothing further is sent for a collected action";
}
