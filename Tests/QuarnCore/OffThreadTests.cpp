// The client's answers read away from the game thread: where the reader runs, where the callback
// runs and how often, what a failure gives, and that a collection during the read is harmless.
#include "QuarnTest/PluginTestSupport.h"
#include "Dom/JsonObject.h"
#include "Host/CoreHost.h"
#include "QuarnCorePinRecorder.h"
#include "UObject/Package.h"

#include <atomic>
#include <chrono>
#include <future>

using namespace QuarnTest;

namespace
{
	/** What one SendWithReader saw: where its reader ran and what reached the game thread. */
	struct FReadOutcome
	{
		std::atomic<int32> Reads{0};
		std::atomic<bool> bReadOnGameThread{false};
		FString ReadId;
		int32 Calls = 0;
		bool bOk = false;
		bool bOnGameThread = false;
		FQuarnError Error;
		FString DeliveredId;

		FQuarnAnswerReader Reader()
		{
			return [this](const FJsonObject& Json)
			{
				++Reads;
				bReadOnGameThread = IsInGameThread();
				Json.TryGetStringField(TEXT("id"), ReadId);
			};
		}

		FQuarnReadCallback Callback()
		{
			return [this](bool bInOk, const FQuarnError& InError)
			{
				++Calls;
				bOk = bInOk;
				Error = InError;
				bOnGameThread = IsInGameThread();
				DeliveredId = ReadId;
			};
		}
	};

	/** A container document of Count stacks, shaped as the platform sends one. */
	FString LargeDocument(int32 Count)
	{
		FString Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Items += FString::Printf(TEXT("%s{\"id\":\"ins_%d\",\"item_id\":\"Ammo\",\"quantity\":%d,\"slot_index\":%d,\"slot_key\":\"\",\"x\":-1,\"y\":-1,\"grid_w\":1,\"grid_h\":1,\"rotated\":false,\"properties\":{\"__qnid\":\"ins_%d\"}}"),
				Index == 0 ? TEXT("") : TEXT(","), Index, Index + 1, Index, Index);
		}
		return FString::Printf(TEXT("{\"id\":\"big\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":9,\"items\":[%s]}"), *Items);
	}

	/** An object answer with the given fields, padded to the size that is read on a worker. */
	FString Large(const FString& Fields)
	{
		return FString::Printf(TEXT("{%s%s\"pad\":\"%s\"}"), *Fields, Fields.IsEmpty() ? TEXT("") : TEXT(","), *FString::ChrN(FQuarnClient::OffThreadAnswerSize, TEXT('p')));
	}

	/** Pumps frames until no task is queued or running on any thread. */
	bool PumpUntilSettled()
	{
		return PumpUntil([] { return !UE::Host::HasPendingAsyncTasks(); });
	}

	using FQuarnClientOffThread = FClientTest;
}

TEST_F(FQuarnClientOffThread, TheReaderRunsOnAWorkerAndTheCallbackOnceOnTheGameThread)
{
	FReadOutcome Outcome;
	FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/game/containers/c1"), FString(), TEXT("tok"), FString(), Outcome.Reader(), Outcome.Callback());
	ASSERT_EQ(Transport->Sent.Num(), 1);
	Transport->Answer(200, Large(TEXT("\"id\":\"c1\",\"items\":[]")));
	EXPECT_EQ(Outcome.Calls, 0) << "the answer is read away from the game thread, so it cannot complete inside Answer";
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	ASSERT_TRUE(PumpUntilSettled());
	PumpTicks(3);
	EXPECT_EQ(Outcome.Reads.load(), 1);
	EXPECT_FALSE(Outcome.bReadOnGameThread.load());
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOnGameThread);
	EXPECT_TRUE(Outcome.bOk);
	EXPECT_EQ(Str(Outcome.DeliveredId), "c1") << "what the reader wrote is seen by the callback";
}

TEST_F(FQuarnClientOffThread, TheTypedReaderHandsItsRecordToTheGameThread)
{
	int32 Calls = 0;
	FString Id;
	bool bOnGameThread = false;
	FQuarnClient::SendAndRead<FString>(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(),
		[](const FJsonObject& Json)
		{
			return Json.GetStringField(TEXT("id")) + (IsInGameThread() ? TEXT("@game") : TEXT("@worker"));
		},
		[&](bool bOk, FString& Record, const FQuarnError&)
		{
			++Calls;
			Id = MoveTemp(Record);
			bOnGameThread = IsInGameThread();
		});
	Transport->Answer(200, Large(TEXT("\"id\":\"c7\"")));
	ASSERT_TRUE(PumpUntil([&] { return Calls > 0; }));
	EXPECT_EQ(Str(Id), "c7@worker");
	EXPECT_TRUE(bOnGameThread);
}

TEST_F(FQuarnClientOffThread, FailuresNeverRunTheReaderAndKeepTheirCodes)
{
	struct FCase
	{
		int32 Status;
		FString Body;
		const char* Code;
	};
	const FString LargeHtml = TEXT("<html>") + FString::ChrN(FQuarnClient::OffThreadAnswerSize * 2, TEXT('x')) + TEXT("</html>");
	const FCase Cases[] = {
		{200, FString(), "bad_response"},
		{200, TEXT("<html>ok</html>"), "bad_response"},
		{200, TEXT("[1,2]"), "bad_response"},
		{200, TEXT("{\"a\":"), "bad_response"},
		{200, LargeHtml, "bad_response"},
		{200, Large(FString()) + TEXT(" trailing"), "bad_response"},
		{200, TEXT("[") + Large(FString()) + TEXT("]"), "bad_response"},
		{409, TEXT("{\"error\":{\"code\":\"version_conflict\",\"message\":\"m\",\"hint\":\"h\"}}"), "version_conflict"},
		{409, Large(TEXT("\"error\":{\"code\":\"version_conflict\",\"message\":\"m\",\"hint\":\"h\"}")), "version_conflict"},
		{503, TEXT("Service Unavailable"), "http_error"},
	};
	for (const FCase& Case : Cases)
	{
		FReadOutcome Outcome;
		FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Reader(), Outcome.Callback());
		Transport->Answer(Case.Status, Case.Body);
		ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; })) << Case.Code;
		ASSERT_TRUE(PumpUntilSettled());
		EXPECT_EQ(Outcome.Reads.load(), 0) << Case.Code;
		EXPECT_EQ(Outcome.Calls, 1) << Case.Code;
		EXPECT_TRUE(Outcome.bOnGameThread) << Case.Code;
		EXPECT_FALSE(Outcome.bOk) << Case.Code;
		EXPECT_EQ(Outcome.Error.HttpStatus, Case.Status) << Case.Code;
		EXPECT_EQ(Str(Outcome.Error.Code), Case.Code);
	}

	const EQuarnTransportResult Results[] = {EQuarnTransportResult::ConnectionFailed, EQuarnTransportResult::TimedOut, EQuarnTransportResult::Cancelled};
	const char* Codes[] = {"network_error", "timeout", "cancelled"};
	for (int32 Index = 0; Index < 3; ++Index)
	{
		FReadOutcome Outcome;
		FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Reader(), Outcome.Callback());
		Transport->Fail(Results[Index]);
		ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
		EXPECT_EQ(Outcome.Reads.load(), 0);
		EXPECT_EQ(Outcome.Calls, 1);
		EXPECT_EQ(Str(Outcome.Error.Code), Codes[Index]);
	}
}

TEST_F(FQuarnClientOffThread, AnswersArrivingTwiceOrFromAnotherThreadAreReadOnce)
{
	FQuarnHttpResponse Immediate;
	Immediate.Result = EQuarnTransportResult::Answered;
	Immediate.StatusCode = 200;
	Immediate.Body = Large(TEXT("\"id\":\"twice\""));
	Transport->ImmediateAnswer = Immediate;
	Transport->bAnswerTwice = true;
	FReadOutcome Twice;
	FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Twice.Reader(), Twice.Callback());
	EXPECT_EQ(Twice.Calls, 0) << "the caller must not be re-entered from inside Send";
	ASSERT_TRUE(PumpUntil([&] { return Twice.Calls > 0; }));
	ASSERT_TRUE(PumpUntilSettled());
	PumpTicks(3);
	EXPECT_EQ(Twice.Reads.load(), 1);
	EXPECT_EQ(Twice.Calls, 1);
	EXPECT_TRUE(Twice.bOk);
	Transport->ImmediateAnswer.Reset();

	FReadOutcome Threaded;
	FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Threaded.Reader(), Threaded.Callback());
	ASSERT_EQ(Transport->Pending.Num(), 1);
	FScriptedTransport::FPending Pending = MoveTemp(Transport->Pending[0]);
	Transport->Pending.Reset();
	std::thread Answering([&Pending]
	{
		FQuarnHttpResponse Response;
		Response.Result = EQuarnTransportResult::Answered;
		Response.StatusCode = 200;
		Response.Body = Large(TEXT("\"id\":\"threaded\""));
		Pending.OnDone(Response);
	});
	Answering.join();
	ASSERT_TRUE(PumpUntil([&] { return Threaded.Calls > 0; }));
	EXPECT_TRUE(Threaded.bOnGameThread);
	EXPECT_FALSE(Threaded.bReadOnGameThread.load());
	EXPECT_EQ(Str(Threaded.DeliveredId), "threaded");
}

TEST_F(FQuarnClientOffThread, ALargeAnswerWithoutAReaderIsStillAValidObjectOnTheGameThread)
{
	const FString Document = LargeDocument(200);
	ASSERT_GE(Document.Len(), FQuarnClient::OffThreadAnswerSize);
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
	Transport->Answer(200, Document);
	EXPECT_EQ(Outcome.Calls, 0) << "a large answer is parsed on a worker";
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_TRUE(Outcome.bOnGameThread);
	ASSERT_TRUE(Outcome.bOk);
	ASSERT_TRUE(Outcome.Json.IsValid());
	EXPECT_EQ(Outcome.Json->GetArrayField(TEXT("items")).Num(), 200);

	// Bytes as the engine's HTTP transport hands them over, decoded by the client.
	FOutcome FromBytes;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FromBytes.Callback());
	FQuarnHttpResponse Response;
	Response.Result = EQuarnTransportResult::Answered;
	Response.StatusCode = 200;
	const FTCHARToUTF8 Utf8(*(Document.LeftChop(2) + TEXT("],\"name\":\"caf\u00e9\"}")));
	Response.Content = MakeShared<TArray<uint8>, ESPMode::ThreadSafe>(reinterpret_cast<const uint8*>(Utf8.Get()), Utf8.Length());
	Transport->Answer(Response);
	ASSERT_TRUE(PumpUntil([&] { return FromBytes.Calls > 0; }));
	ASSERT_TRUE(FromBytes.bOk) << Str(FromBytes.Error.Message);
	EXPECT_EQ(Str(FromBytes.Json->GetStringField(TEXT("name"))), "caf\xc3\xa9");
}

TEST_F(FQuarnClientOffThread, ACollectionDuringTheReadIsSafeAndACollectedOwnerHearsNothing)
{
	UQuarnCorePinRecorder* Owner = NewObject<UQuarnCorePinRecorder>(GetTransientPackage());
	const TWeakObjectPtr<UQuarnCorePinRecorder> WeakOwner(Owner);

	std::promise<void> ReaderStarted;
	std::promise<void> MayFinish;
	std::shared_future<void> Release = MayFinish.get_future().share();
	std::atomic<bool> bReaderTimedOut{false};
	int32 OwnerCalls = 0;
	int32 Calls = 0;
	FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(),
		[&ReaderStarted, Release, &bReaderTimedOut](const FJsonObject&)
		{
			ReaderStarted.set_value();
			// Bounded: a test that never releases the reader fails instead of hanging.
			bReaderTimedOut = Release.wait_for(std::chrono::seconds(10)) != std::future_status::ready;
		},
		[&, WeakOwner](bool, const FQuarnError&)
		{
			++Calls;
			if (WeakOwner.Get() != nullptr)
			{
				++OwnerCalls;
			}
		});
	Transport->Answer(200, Large(TEXT("\"id\":\"c1\"")));
	ASSERT_EQ(ReaderStarted.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the reader never started";

	// The owner goes away while its answer is being read.
	Owner->MarkAsGarbage();
	Engine().CollectGarbage();
	EXPECT_FALSE(WeakOwner.IsValid());
	MayFinish.set_value();

	ASSERT_TRUE(PumpUntil([&] { return Calls > 0; }));
	ASSERT_TRUE(PumpUntilSettled());
	EXPECT_FALSE(bReaderTimedOut.load());
	EXPECT_EQ(Calls, 1);
	EXPECT_EQ(OwnerCalls, 0);
}

TEST_F(FQuarnClientOffThread, AShortAnswerIsReadWhereItArrivesAndCompletesAtOnce)
{
	FReadOutcome Outcome;
	FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Reader(), Outcome.Callback());
	Transport->Answer(200, TEXT("{\"id\":\"small\"}"));
	// Handing a few hundred bytes to a worker would cost more than reading them, and a frame.
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_EQ(Outcome.Reads.load(), 1);
	EXPECT_TRUE(Outcome.bReadOnGameThread.load());
	EXPECT_TRUE(Outcome.bOk);
	EXPECT_EQ(Str(Outcome.DeliveredId), "small");
}
