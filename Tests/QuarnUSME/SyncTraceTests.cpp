// The sync node's Insights scopes, stats and CSV stats over a scripted transport: one sync of a
// container large enough to be read on a worker, recorded as a trace, holds its scopes in the
// order they run and on the threads where they run.
#include "QuarnUSMETestSupport.h"
#include "Host/CsvHost.h"
#include "Host/StatsHost.h"
#include "Host/TraceHost.h"
#include "QuarnClient.h"

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
		TArray<FString> Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Items.Add(Stack(Index, Index % 50 + 1));
		}
		return FString::Printf(TEXT("{\"id\":\"c1\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":12,\"items\":[%s]}"), *FString::Join(Items, TEXT(",")));
	}

	/** The document's stacks, with one more unit of the first, so the sync sends one transaction. */
	TArray<FQuarnItemInstance> DesiredLike(int32 Count)
	{
		TArray<FQuarnItemInstance> Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			FQuarnItemInstance Item;
			Item.InstanceId = FString::Printf(TEXT("ins_%d"), Index);
			Item.ItemId = FName(*FString::Printf(TEXT("Item%d"), Index % 7));
			Item.Quantity = Index % 50 + 1 + (Index == 0 ? 1 : 0);
			Item.SlotIndex = Index;
			Item.X = -1;
			Item.Y = -1;
			Items.Add(Item);
		}
		return Items;
	}

	int64 Stat(const TCHAR* Name)
	{
		UE::Host::FStatValue Value;
		return UE::Host::GetStatValue(FName(Name), Value) ? Value.Value : 0;
	}

	class FQuarnSyncTrace : public FSyncTest
	{
	protected:
		virtual void TearDown() override
		{
			UE::Host::StopTraceRecording();
			UE::Host::StopCsvCapture();
			UE::Host::SetStatsCollecting(false);
			UQuarnSubsystem::Get(Engine().GetWorld())->SignOut(TEXT("plr_t"));
			FSyncTest::TearDown();
		}
	};
}

TEST_F(FQuarnSyncTrace, OneSyncHoldsItsScopesInOrderOnTheirThreads)
{
	const int32 Count = 400;
	const FString Document = LargeDocument(Count);
	ASSERT_GE(Document.Len(), FQuarnClient::OffThreadAnswerSize);
	UQuarnSubsystem::Get(Engine().GetWorld())->SetAccessToken(TEXT("plr_t"), TEXT("tok_trace"));
	const int64 RequestsBefore = Stat(TEXT("STAT_QuarnRequests"));
	const int64 BytesBefore = Stat(TEXT("STAT_QuarnBytesReceived"));

	UE::Host::StartTraceRecording();
	UE::Host::StartCsvCapture();
	UE::Host::SetStatsCollecting(true);
	FPinRecorder& Pins = Start(TEXT("plr_t"), TEXT("c1"), DesiredLike(Count));
	ASSERT_EQ(Transport->Pending.Num(), 1);
	Transport->Answer(200, Document, TEXT("req_read"));
	ASSERT_TRUE(PumpUntil([this] { return Transport->Pending.Num() == 1; }));
	ASSERT_TRUE(Transport->Pending[0].Request.Url.EndsWith(TEXT("/v1/game/inventory/transaction")));
	Transport->Answer(200, TEXT("{\"version\":13,\"results\":[]}"), TEXT("req_tx"));
	ASSERT_TRUE(PumpUntil([&Pins] { return Pins.Total() > 0; }));
	UE::Host::StopTraceRecording();
	UE::Host::StopCsvCapture();
	UE::Host::SetStatsCollecting(false);
	EXPECT_EQ(Pins.Successes, 1);

	TArray<UE::Host::FTraceScope> Scopes;
	for (const UE::Host::FTraceScope& Scope : UE::Host::GetRecordedTraceScopes())
	{
		if (Scope.Name.StartsWith(TEXT("Quarn::")))
		{
			Scopes.Add(Scope);
		}
	}
	struct FExpected
	{
		const TCHAR* Name;
		bool bGameThread;
		int32 Depth;
	};
	const FExpected Expected[] = {
		{ TEXT("Quarn::Send"), true, 0 },
		{ TEXT("Quarn::ReadAnswer"), false, 0 },
		{ TEXT("Quarn::ReadSyncContainer"), false, 1 },
		{ TEXT("Quarn::HandOver"), true, 0 },
		{ TEXT("Quarn::Reconcile"), true, 1 },
		{ TEXT("Quarn::ReconcileBody"), true, 1 },
		{ TEXT("Quarn::Send"), true, 1 },
		{ TEXT("Quarn::ReadAnswer"), true, 0 },
		{ TEXT("Quarn::HandOver"), true, 0 },
	};
	FString Seen;
	for (const UE::Host::FTraceScope& Scope : Scopes)
	{
		Seen += FString::Printf(TEXT("%s@%s/%d "), *Scope.Name, *Scope.ThreadName, Scope.Depth);
	}
	ASSERT_EQ(Scopes.Num(), (int32)UE_ARRAY_COUNT(Expected)) << TCHAR_TO_UTF8(*Seen);
	for (int32 Index = 0; Index < Scopes.Num(); ++Index)
	{
		EXPECT_EQ(Scopes[Index].Name, FString(Expected[Index].Name)) << Index << " " << TCHAR_TO_UTF8(*Seen);
		EXPECT_EQ(Scopes[Index].ThreadName == TEXT("GameThread"), Expected[Index].bGameThread) << Index << " " << TCHAR_TO_UTF8(*Seen);
		EXPECT_TRUE(Expected[Index].bGameThread || Scopes[Index].ThreadName.StartsWith(TEXT("BgWorker #"))) << TCHAR_TO_UTF8(*Scopes[Index].ThreadName);
		EXPECT_EQ(Scopes[Index].Depth, Expected[Index].Depth) << Index << " " << TCHAR_TO_UTF8(*Seen);
	}
	// The worker's read lies inside the read scope, on its thread; the reconcile inside the hand-over.
	EXPECT_EQ(Scopes[2].ThreadId, Scopes[1].ThreadId);
	EXPECT_GE(Scopes[2].BeginSeconds, Scopes[1].BeginSeconds);
	EXPECT_LE(Scopes[2].EndSeconds, Scopes[1].EndSeconds);
	EXPECT_GE(Scopes[3].BeginSeconds, Scopes[1].EndSeconds);
	EXPECT_LE(Scopes[5].EndSeconds, Scopes[3].EndSeconds);

	EXPECT_EQ(Stat(TEXT("STAT_QuarnRequests")), RequestsBefore + 2);
	EXPECT_GE(Stat(TEXT("STAT_QuarnBytesReceived")), BytesBefore + Document.Len());
	UE::Host::FStatValue Reconcile;
	ASSERT_TRUE(UE::Host::GetStatValue(FName(TEXT("STAT_QuarnReconcile")), Reconcile));
	EXPECT_TRUE(Reconcile.bCycleStat);
	EXPECT_EQ(Reconcile.Group, FString(TEXT("STATGROUP_Quarn")));
	EXPECT_GE(Reconcile.Value, 1);
	UE::Host::FCsvStatTotal Total;
	ASSERT_TRUE(UE::Host::GetCsvStatTotal(TEXT("Quarn/Reconcile"), Total));
	EXPECT_EQ(Total.Count, 1);
	ASSERT_TRUE(UE::Host::GetCsvStatTotal(TEXT("Quarn/ReconcileBody"), Total));
	EXPECT_EQ(Total.Count, 1);
}
