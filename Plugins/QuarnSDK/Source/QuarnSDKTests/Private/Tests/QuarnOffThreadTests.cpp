// Copyright Quarn. All Rights Reserved.

// The client's answers read away from the game thread: where the reader runs, where the callback
// runs and how often, what a failure gives, and that a collection during the read is harmless.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Containers/StringConv.h"
#include "HAL/Event.h"
#include "HAL/PlatformProcess.h"
#include "HAL/Runnable.h"
#include "HAL/RunnableThread.h"
#include "HAL/ThreadSafeBool.h"
#include "HAL/ThreadSafeCounter.h"
#include "Tests/QuarnCorePinRecorder.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtr.h"
#include "UObject/GarbageCollection.h"

using namespace QuarnTests;

namespace QuarnOffThreadTests
{
	/** What one SendWithReader saw: where its reader ran and what reached the game thread. */
	struct FReadOutcome
	{
		FThreadSafeCounter Reads;
		FThreadSafeBool bReadOnGameThread;
		/** Written by the reader; the client hands it to the game thread before the callback. */
		FString ReadId;
		int32 Calls = 0;
		bool bOk = false;
		bool bOnGameThread = false;
		FQuarnError Error;
		FString DeliveredId;

		static FQuarnAnswerReader Reader(const TSharedRef<FReadOutcome>& Outcome)
		{
			return [Outcome](const FJsonObject& Json)
			{
				Outcome->Reads.Increment();
				Outcome->bReadOnGameThread = IsInGameThread();
				Json.TryGetStringField(TEXT("id"), Outcome->ReadId);
			};
		}

		static FQuarnReadCallback Callback(const TSharedRef<FReadOutcome>& Outcome)
		{
			return [Outcome](bool bInOk, const FQuarnError& InError)
			{
				++Outcome->Calls;
				Outcome->bOk = bInOk;
				Outcome->Error = InError;
				Outcome->bOnGameThread = IsInGameThread();
				Outcome->DeliveredId = Outcome->ReadId;
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

	/** Runs one function on a thread of its own, as the HTTP module's threads deliver answers. */
	class FOnWorker : public FRunnable
	{
	public:
		explicit FOnWorker(TFunction<void()> InWork)
			: Work(MoveTemp(InWork))
		{
		}

		virtual uint32 Run() override
		{
			Work();
			return 0;
		}

	private:
		TFunction<void()> Work;
	};

	/** Two signals between the test and a reader it holds on a worker; the reader keeps them alive. */
	struct FReaderGate
	{
		FEvent* const Started;
		FEvent* const Release;
		FThreadSafeBool bReleaseTimedOut;

		FReaderGate()
			: Started(FPlatformProcess::GetSynchEventFromPool(true))
			, Release(FPlatformProcess::GetSynchEventFromPool(true))
		{
		}

		~FReaderGate()
		{
			FPlatformProcess::ReturnSynchEventToPool(Started);
			FPlatformProcess::ReturnSynchEventToPool(Release);
		}
	};

	/** Bounds every wait between threads, so that a case that never releases fails instead of hanging. */
	constexpr uint32 ThreadWaitMs = 10000;
	const FTimespan CaseBound = FTimespan::FromSeconds(30);
}

BEGIN_DEFINE_SPEC(FQuarnOffThreadSpec, "Quarn.Core.OffThread", QuarnTests::TestFlags)
	TUniquePtr<FClientFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return *Fixture->Transport;
	}

	/** One SendWithReader answered by AnswerIt; Check sees the outcome a few frames after it completed. */
	TFunction<void(TFunction<void()>)> ReadExchange(const FString& What, TFunction<void(FScriptedTransport&)> AnswerIt, const FDoneDelegate& Done, TFunction<void(const QuarnOffThreadTests::FReadOutcome&)> Check)
	{
		return [this, What, AnswerIt, Done, Check](TFunction<void()> Next)
		{
			using QuarnOffThreadTests::FReadOutcome;
			TSharedRef<FReadOutcome> Outcome = MakeShared<FReadOutcome>();
			FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FReadOutcome::Reader(Outcome), FReadOutcome::Callback(Outcome));
			AnswerIt(Transport());
			Await(*this, TEXT("the completion for ") + What, [Outcome]() { return Outcome->Calls > 0; }, Done, [Outcome, Check, Next]()
			{
				AfterFrames(3, [Outcome, Check, Next]()
				{
					Check(*Outcome);
					Next();
				});
			});
		};
	}
END_DEFINE_SPEC(FQuarnOffThreadSpec)

void FQuarnOffThreadSpec::Define()
{
	using namespace QuarnOffThreadTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FClientFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	Describe(TEXT("Reader"), [this]()
	{
		LatentIt(TEXT("runs on a worker, and the callback once on the game thread"), CaseBound, [this](const FDoneDelegate& Done)
		{
			TSharedRef<FReadOutcome> Outcome = MakeShared<FReadOutcome>();
			FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/game/containers/c1"), FString(), TEXT("tok"), FString(), FReadOutcome::Reader(Outcome), FReadOutcome::Callback(Outcome));
			if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1))
			{
				Done.Execute();
				return;
			}
			Transport().Answer(200, Large(TEXT("\"id\":\"c1\",\"items\":[]")));
			// The answer is read away from the game thread, so it cannot complete inside Answer.
			TestEqual(TEXT("completions inside Answer"), Outcome->Calls, 0);
			Await(*this, TEXT("the completion"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Done]()
			{
				AfterFrames(3, [this, Outcome, Done]()
				{
					TestEqual(TEXT("reads"), Outcome->Reads.GetValue(), 1);
					TestFalse(TEXT("read on the game thread"), static_cast<bool>(Outcome->bReadOnGameThread));
					TestEqual(TEXT("completions"), Outcome->Calls, 1);
					TestTrue(TEXT("callback on the game thread"), Outcome->bOnGameThread);
					TestTrue(TEXT("ok"), Outcome->bOk);
					TestEqualSensitive(TEXT("what the reader wrote is seen by the callback"), Outcome->DeliveredId, FString(TEXT("c1")));
					Done.Execute();
				});
			});
		});

		LatentIt(TEXT("a typed reader hands its record to the game thread"), CaseBound, [this](const FDoneDelegate& Done)
		{
			struct FTyped
			{
				int32 Calls = 0;
				FString Id;
				bool bOnGameThread = false;
			};
			TSharedRef<FTyped> Typed = MakeShared<FTyped>();
			FQuarnClient::SendAndRead<FString>(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(),
				[](const FJsonObject& Json)
				{
					return Json.GetStringField(TEXT("id")) + (IsInGameThread() ? TEXT("@game") : TEXT("@worker"));
				},
				[Typed](bool bOk, FString& Record, const FQuarnError&)
				{
					++Typed->Calls;
					Typed->Id = MoveTemp(Record);
					Typed->bOnGameThread = IsInGameThread();
				});
			Transport().Answer(200, Large(TEXT("\"id\":\"c7\"")));
			Await(*this, TEXT("the completion"), [Typed]() { return Typed->Calls > 0; }, Done, [this, Typed, Done]()
			{
				TestEqualSensitive(TEXT("record"), Typed->Id, FString(TEXT("c7@worker")));
				TestTrue(TEXT("callback on the game thread"), Typed->bOnGameThread);
				Done.Execute();
			});
		});

		It(TEXT("a short answer is read where it arrives and completes at once"), [this]()
		{
			TSharedRef<FReadOutcome> Outcome = MakeShared<FReadOutcome>();
			FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FReadOutcome::Reader(Outcome), FReadOutcome::Callback(Outcome));
			Transport().Answer(200, TEXT("{\"id\":\"small\"}"));
			// Handing a few hundred bytes to a worker would cost more than reading them, and a frame.
			TestEqual(TEXT("completions"), Outcome->Calls, 1);
			TestEqual(TEXT("reads"), Outcome->Reads.GetValue(), 1);
			TestTrue(TEXT("read on the game thread"), static_cast<bool>(Outcome->bReadOnGameThread));
			TestTrue(TEXT("ok"), Outcome->bOk);
			TestEqualSensitive(TEXT("delivered id"), Outcome->DeliveredId, FString(TEXT("small")));
		});
	});

	Describe(TEXT("Failures"), [this]()
	{
		LatentIt(TEXT("never run the reader and keep their codes"), CaseBound, [this](const FDoneDelegate& Done)
		{
			struct FCase
			{
				int32 Status;
				FString Body;
				const TCHAR* Code;
			};
			const FString LargeHtml = TEXT("<html>") + FString::ChrN(FQuarnClient::OffThreadAnswerSize * 2, TEXT('x')) + TEXT("</html>");
			const FCase Cases[] = {
				{200, FString(), TEXT("bad_response")},
				{200, TEXT("<html>ok</html>"), TEXT("bad_response")},
				{200, TEXT("[1,2]"), TEXT("bad_response")},
				{200, TEXT("{\"a\":"), TEXT("bad_response")},
				{200, LargeHtml, TEXT("bad_response")},
				{200, Large(FString()) + TEXT(" trailing"), TEXT("bad_response")},
				{200, TEXT("[") + Large(FString()) + TEXT("]"), TEXT("bad_response")},
				{409, TEXT("{\"error\":{\"code\":\"version_conflict\",\"message\":\"m\",\"hint\":\"h\"}}"), TEXT("version_conflict")},
				{409, Large(TEXT("\"error\":{\"code\":\"version_conflict\",\"message\":\"m\",\"hint\":\"h\"}")), TEXT("version_conflict")},
				{503, TEXT("Service Unavailable"), TEXT("http_error")},
			};
			TArray<TFunction<void(TFunction<void()>)>> Steps;
			for (int32 Index = 0; Index < static_cast<int32>(UE_ARRAY_COUNT(Cases)); ++Index)
			{
				const int32 Status = Cases[Index].Status;
				const FString Body = Cases[Index].Body;
				const FString Code = Cases[Index].Code;
				const FString What = FString::Printf(TEXT("case %d (%d, %s)"), Index, Status, *Code);
				Steps.Add(ReadExchange(What, [Status, Body](FScriptedTransport& T) { T.Answer(Status, Body); }, Done, [this, Status, Code, What](const FReadOutcome& Outcome)
				{
					TestEqual(TEXT("reads for ") + What, Outcome.Reads.GetValue(), 0);
					TestEqual(TEXT("completions for ") + What, Outcome.Calls, 1);
					TestTrue(TEXT("on the game thread for ") + What, Outcome.bOnGameThread);
					TestFalse(TEXT("ok for ") + What, Outcome.bOk);
					TestEqual(TEXT("status for ") + What, Outcome.Error.HttpStatus, Status);
					TestEqualSensitive(TEXT("code for ") + What, Outcome.Error.Code, Code);
				}));
			}
			const EQuarnTransportResult Results[] = {EQuarnTransportResult::ConnectionFailed, EQuarnTransportResult::TimedOut, EQuarnTransportResult::Cancelled};
			const TCHAR* const Codes[] = {TEXT("network_error"), TEXT("timeout"), TEXT("cancelled")};
			for (int32 Index = 0; Index < static_cast<int32>(UE_ARRAY_COUNT(Results)); ++Index)
			{
				const EQuarnTransportResult Result = Results[Index];
				const FString Code = Codes[Index];
				Steps.Add(ReadExchange(Code, [Result](FScriptedTransport& T) { T.Fail(Result); }, Done, [this, Code](const FReadOutcome& Outcome)
				{
					TestEqual(TEXT("reads for ") + Code, Outcome.Reads.GetValue(), 0);
					TestEqual(TEXT("completions for ") + Code, Outcome.Calls, 1);
					TestEqualSensitive(TEXT("code"), Outcome.Error.Code, Code);
				}));
			}
			RunInOrder(MoveTemp(Steps), [Done]() { Done.Execute(); });
		});
	});

	Describe(TEXT("Delivery"), [this]()
	{
		LatentIt(TEXT("an answer arriving twice is read once"), CaseBound, [this](const FDoneDelegate& Done)
		{
			FQuarnHttpResponse Immediate;
			Immediate.Result = EQuarnTransportResult::Answered;
			Immediate.StatusCode = 200;
			Immediate.Body = Large(TEXT("\"id\":\"twice\""));
			Transport().ImmediateAnswer = Immediate;
			Transport().bAnswerTwice = true;
			TSharedRef<FReadOutcome> Outcome = MakeShared<FReadOutcome>();
			FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FReadOutcome::Reader(Outcome), FReadOutcome::Callback(Outcome));
			TestEqual(TEXT("completions from inside Send (the caller must not be re-entered)"), Outcome->Calls, 0);
			Await(*this, TEXT("the completion"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Done]()
			{
				AfterFrames(3, [this, Outcome, Done]()
				{
					TestEqual(TEXT("reads"), Outcome->Reads.GetValue(), 1);
					TestEqual(TEXT("completions"), Outcome->Calls, 1);
					TestTrue(TEXT("ok"), Outcome->bOk);
					Done.Execute();
				});
			});
		});

		LatentIt(TEXT("an answer from another thread is read on a worker and delivered on the game thread"), CaseBound, [this](const FDoneDelegate& Done)
		{
			TSharedRef<FReadOutcome> Outcome = MakeShared<FReadOutcome>();
			FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FReadOutcome::Reader(Outcome), FReadOutcome::Callback(Outcome));
			if (!TestEqual(TEXT("requests waiting"), Transport().Pending.Num(), 1))
			{
				Done.Execute();
				return;
			}
			FScriptedTransport::FPending Pending = MoveTemp(Transport().Pending[0]);
			Transport().Pending.Reset();
			FOnWorker Answering([&Pending]()
			{
				FQuarnHttpResponse Response;
				Response.Result = EQuarnTransportResult::Answered;
				Response.StatusCode = 200;
				Response.Body = Large(TEXT("\"id\":\"threaded\""));
				Pending.OnDone(Response);
			});
			FRunnableThread* const Worker = FRunnableThread::Create(&Answering, TEXT("QuarnOffThreadTestWorker"));
			if (!TestNotNull(TEXT("worker thread"), Worker))
			{
				Done.Execute();
				return;
			}
			Worker->WaitForCompletion();
			delete Worker;
			Await(*this, TEXT("the completion"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Done]()
			{
				TestTrue(TEXT("callback on the game thread"), Outcome->bOnGameThread);
				TestFalse(TEXT("read on the game thread"), static_cast<bool>(Outcome->bReadOnGameThread));
				TestEqualSensitive(TEXT("delivered id"), Outcome->DeliveredId, FString(TEXT("threaded")));
				Done.Execute();
			});
		});

		LatentIt(TEXT("a large answer without a reader is still a valid object on the game thread"), CaseBound, [this](const FDoneDelegate& Done)
		{
			const FString Document = LargeDocument(200);
			if (!TestTrue(TEXT("the document is large enough to be read on a worker"), Document.Len() >= FQuarnClient::OffThreadAnswerSize))
			{
				Done.Execute();
				return;
			}
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FOutcome::Into(Outcome));
			Transport().Answer(200, Document);
			TestEqual(TEXT("completions inside Answer (a large answer is parsed on a worker)"), Outcome->Calls, 0);
			Await(*this, TEXT("the completion"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Document, Done]()
			{
				TestTrue(TEXT("on the game thread"), Outcome->bOnGameThread);
				if (!TestTrue(TEXT("ok"), Outcome->bOk) || !TestValid(TEXT("json"), Outcome->Json))
				{
					Done.Execute();
					return;
				}
				TestEqual(TEXT("stacks"), Outcome->Json->GetArrayField(TEXT("items")).Num(), 200);

				// Bytes as the engine's HTTP transport hands them over, decoded by the client.
				TSharedRef<FOutcome> FromBytes = MakeShared<FOutcome>();
				FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FOutcome::Into(FromBytes));
				FQuarnHttpResponse Response;
				Response.Result = EQuarnTransportResult::Answered;
				Response.StatusCode = 200;
				const FTCHARToUTF8 Utf8(*(Document.LeftChop(2) + TEXT("],\"name\":\"caf\u00e9\"}")));
				Response.Content = MakeShared<TArray<uint8>, ESPMode::ThreadSafe>(reinterpret_cast<const uint8*>(Utf8.Get()), Utf8.Length());
				Transport().Answer(Response);
				Await(*this, TEXT("the completion from bytes"), [FromBytes]() { return FromBytes->Calls > 0; }, Done, [this, FromBytes, Done]()
				{
					if (TestTrue(TEXT("ok from bytes: ") + FromBytes->Error.Message, FromBytes->bOk) && TestValid(TEXT("json from bytes"), FromBytes->Json))
					{
						TestEqualSensitive(TEXT("a two-byte character decoded"), FromBytes->Json->GetStringField(TEXT("name")), FString(TEXT("caf\u00e9")));
					}
					Done.Execute();
				});
			});
		});
	});

	Describe(TEXT("Collection"), [this]()
	{
		LatentIt(TEXT("a collection during the read is safe and a collected owner hears nothing"), CaseBound, [this](const FDoneDelegate& Done)
		{
			UQuarnCorePinRecorder* const Owner = NewObject<UQuarnCorePinRecorder>(GetTransientPackage());
			const TWeakObjectPtr<UQuarnCorePinRecorder> WeakOwner(Owner);
			TSharedRef<FReaderGate, ESPMode::ThreadSafe> Gate = MakeShared<FReaderGate, ESPMode::ThreadSafe>();
			struct FCounts
			{
				int32 Calls = 0;
				int32 OwnerCalls = 0;
			};
			TSharedRef<FCounts> Counts = MakeShared<FCounts>();
			FQuarnClient::SendWithReader(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(),
				[Gate](const FJsonObject&)
				{
					Gate->Started->Trigger();
					// Bounded: a case that never releases the reader fails instead of hanging.
					Gate->bReleaseTimedOut = !Gate->Release->Wait(ThreadWaitMs);
				},
				[Counts, WeakOwner](bool, const FQuarnError&)
				{
					++Counts->Calls;
					if (WeakOwner.Get() != nullptr)
					{
						++Counts->OwnerCalls;
					}
				});
			Transport().Answer(200, Large(TEXT("\"id\":\"c1\"")));
			if (!TestTrue(TEXT("the reader started"), Gate->Started->Wait(ThreadWaitMs)))
			{
				Gate->Release->Trigger();
				Done.Execute();
				return;
			}

			// The owner goes away while its answer is being read.
			Owner->MarkAsGarbage();
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
			TestFalse(TEXT("the owner survived the collection"), WeakOwner.IsValid());
			Gate->Release->Trigger();

			Await(*this, TEXT("the completion"), [Counts]() { return Counts->Calls > 0; }, Done, [this, Gate, Counts, Done]()
			{
				AfterFrames(3, [this, Gate, Counts, Done]()
				{
					TestFalse(TEXT("the reader waited out its bound"), static_cast<bool>(Gate->bReleaseTimedOut));
					TestEqual(TEXT("completions"), Counts->Calls, 1);
					TestEqual(TEXT("completions seen by the collected owner"), Counts->OwnerCalls, 0);
					Done.Execute();
				});
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
