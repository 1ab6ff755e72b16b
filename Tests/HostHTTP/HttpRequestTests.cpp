// Copyright Quarn. All Rights Reserved.

#include "HttpTestSupport.h"

#include "Host/HttpHost.h"
#include "HttpManager.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace HostHttpTest;
using HttpTest::FReply;
using HttpTest::FServer;

namespace
{
	class HostHTTP : public testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(Server.IsRunning());
		}

		FServer Server;
	};

	/** A completion seen exactly once, on the game thread. */
	void ExpectCompletedOnceOnGameThread(const std::shared_ptr<FCompletionRecord>& Record)
	{
		EXPECT_EQ(Record->Calls.load(), 1);
		EXPECT_EQ(Record->CallsOffGameThread.load(), 0);
	}
}

TEST_F(HostHTTP, GetReturnsStatusHeadersAndBody)
{
	Server.On("GET", "/items", FReply::Json(200, R"({"items":[]})").WithHeader("X-Trace", "abc"));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/items?page=2"));
	auto Record = RecordCompletion(*Request);
	EXPECT_TRUE(Request->ProcessRequest());
	EXPECT_EQ(Request->GetStatus(), EHttpRequestStatus::Processing);
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_TRUE(Record->bSucceeded);
	EXPECT_EQ(Record->Status, EHttpRequestStatus::Succeeded);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::None);
	ASSERT_TRUE(Record->Response.IsValid());
	EXPECT_EQ(Record->Code(), 200);
	EXPECT_EQ(Record->Body(), R"({"items":[]})");
	EXPECT_EQ(Record->Response->GetStatus(), EHttpRequestStatus::Succeeded);
	// Header names compare ignoring case.
	EXPECT_EQ(ToStd(Record->Response->GetHeader(TEXT("x-trace"))), "abc");
	EXPECT_EQ(ToStd(Record->Response->GetContentType()), "application/json");
	// The server may compress the body: the content length is what was sent, the content is decoded.
	EXPECT_EQ(Record->Response->GetContentLength(), static_cast<uint64>(FCString::Atoi64(*Record->Response->GetHeader(TEXT("Content-Length")))));
	EXPECT_GT(Record->Response->GetContentLength(), 0u);
	EXPECT_EQ(Record->Response->GetContent().Num(), 12);
	EXPECT_TRUE(Record->Response->GetHeader(TEXT("X-Absent")).IsEmpty());
	EXPECT_EQ(ToStd(Record->Response->GetURL()), Server.Url("/items?page=2"));
	EXPECT_EQ(ToStd(Record->Response->GetURLParameter(TEXT("page"))), "2");
	EXPECT_TRUE(Record->Request.Pin() == FHttpRequestPtr(Request));

	const std::vector<HttpTest::FRecordedRequest> Received = Server.Requests("/items");
	ASSERT_EQ(Received.size(), 1u);
	EXPECT_EQ(Received[0].Method, "GET");
	EXPECT_EQ(Received[0].Query, "page=2");
	EXPECT_FALSE(Received[0].HasHeader("Content-Length"));
	EXPECT_FALSE(Received[0].HasHeader("Expect"));
	EXPECT_FALSE(Received[0].Header("User-Agent").empty());
}

TEST_F(HostHTTP, ErrorStatusesAreProcessedSuccessfullyWithTheirBodies)
{
	struct FCase
	{
		int Status;
		std::string Body;
	};
	const FCase Cases[] = { { 400, "bad input" }, { 404, "" }, { 409, R"({"error":"conflict"})" }, { 500, "boom" }, { 503, "" } };
	for (const FCase& Case : Cases)
	{
		const std::string Path = "/status/" + std::to_string(Case.Status) + (Case.Body.empty() ? "/empty" : "/body");
		Server.On("*", Path, FReply::Text(Case.Status, Case.Body));

		FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url(Path));
		auto Record = RecordCompletion(*Request);
		Request->ProcessRequest();
		ASSERT_TRUE(WaitForCompletion(Record)) << Path;

		ExpectCompletedOnceOnGameThread(Record);
		// A response of any status is a processed request.
		EXPECT_TRUE(Record->bSucceeded) << Path;
		EXPECT_EQ(Record->Status, EHttpRequestStatus::Succeeded) << Path;
		EXPECT_EQ(Record->FailureReason, EHttpFailureReason::None) << Path;
		EXPECT_EQ(Record->Code(), Case.Status) << Path;
		EXPECT_EQ(Record->Body(), Case.Body) << Path;
		EXPECT_FALSE(EHttpResponseCodes::IsOk(Record->Code())) << Path;
	}
}

TEST_F(HostHTTP, RefusedConnectionFailsWithConnectionErrorAndNoResponse)
{
	FHttpRequestRef Request = MakeRequest(TEXT("GET"), FServer::RefusedUrl("/nobody"));
	auto Record = RecordCompletion(*Request);
	EXPECT_TRUE(Request->ProcessRequest());
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_FALSE(Record->Response.IsValid());
	EXPECT_EQ(Record->Status, EHttpRequestStatus::Failed);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::ConnectionError);
}

TEST_F(HostHTTP, HangUpWithoutAnswerFailsWithOther)
{
	Server.On("GET", "/hangup", FReply::HangUp());

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/hangup"));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_FALSE(Record->Response.IsValid());
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Other);
	EXPECT_EQ(Server.RequestCount("/hangup"), 1u);
}

TEST_F(HostHTTP, TotalTimeoutFailsWithTimedOut)
{
	Server.On("GET", "/slow", FReply::Text(200, "late").WithDelay(std::chrono::seconds(20)));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/slow"));
	Request->SetTimeout(0.3f);
	auto Record = RecordCompletion(*Request);
	const double Start = FPlatformTime::Seconds();
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record, 10.0));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_EQ(Record->Status, EHttpRequestStatus::Failed);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::TimedOut);
	EXPECT_GE(Record->CompletedAtSeconds - Start, 0.3);

	// Timed out: the same request cannot run again until its time-out status is reset.
	auto Second = RecordCompletion(*Request);
	EXPECT_FALSE(Request->ProcessRequest());
	EXPECT_EQ(Second->Calls.load(), 1);
	EXPECT_EQ(Second->FailureReason, EHttpFailureReason::TimedOut);
	EXPECT_EQ(Server.RequestCount("/slow"), 1u);

	// Once reset, it runs again (and times out again, completing once more).
	Request->ResetTimeoutStatus();
	auto Third = RecordCompletion(*Request);
	EXPECT_TRUE(Request->ProcessRequest());
	ASSERT_TRUE(WaitForCompletion(Third, 10.0));
	ExpectCompletedOnceOnGameThread(Third);
	EXPECT_EQ(Third->FailureReason, EHttpFailureReason::TimedOut);
	EXPECT_EQ(Server.RequestCount("/slow"), 2u);
}

TEST_F(HostHTTP, ActivityTimeoutFailsWithConnectionError)
{
	Server.On("GET", "/silent", FReply::Text(200, "late").WithDelay(std::chrono::seconds(20)));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/silent"));
	Request->SetActivityTimeout(0.3f);
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record, 10.0));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::ConnectionError);
}

TEST_F(HostHTTP, CancelInFlightCompletesOnceAsCancelled)
{
	Server.On("GET", "/slow", FReply::Text(200, "late").WithDelay(std::chrono::seconds(20)));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/slow"));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(PumpUntil([this] { return Server.RequestCount("/slow") == 1; }));

	Request->CancelRequest();
	Request->CancelRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_EQ(Record->Status, EHttpRequestStatus::Failed);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Cancelled);
}

TEST_F(HostHTTP, CancelBeforeProcessingStillCompletes)
{
	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/never"));
	auto Record = RecordCompletion(*Request);
	Request->CancelRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Cancelled);
	EXPECT_EQ(Server.RequestCount(), 0u);
}

TEST_F(HostHTTP, CancelAfterCompletionDoesNotCompleteAgain)
{
	Server.On("GET", "/ok", FReply::Text(200, "ok"));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/ok"));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));
	Request->CancelRequest();
	PumpFor(0.2);

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_TRUE(Record->bSucceeded);
	EXPECT_EQ(Request->GetStatus(), EHttpRequestStatus::Succeeded);
}

TEST_F(HostHTTP, PreCheckFailuresCompleteInsideProcessRequest)
{
	// No URL.
	{
		FHttpRequestRef Request = FHttpModule::Get().CreateRequest();
		auto Record = RecordCompletion(*Request);
		EXPECT_FALSE(Request->ProcessRequest());
		EXPECT_EQ(Record->Calls.load(), 1);
		EXPECT_EQ(Record->CallsOffGameThread.load(), 0);
		EXPECT_FALSE(Record->bSucceeded);
		EXPECT_FALSE(Record->Response.IsValid());
		EXPECT_EQ(Record->Status, EHttpRequestStatus::Failed);
		EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Other);
	}
	// No verb.
	{
		FHttpRequestRef Request = MakeRequest(TEXT(""), Server.Url("/x"));
		auto Record = RecordCompletion(*Request);
		EXPECT_FALSE(Request->ProcessRequest());
		EXPECT_EQ(Record->Calls.load(), 1);
		EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Other);
	}
	// A GET cannot carry a payload.
	{
		FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/x"));
		Request->SetContentAsString(TEXT("payload"));
		auto Record = RecordCompletion(*Request);
		EXPECT_FALSE(Request->ProcessRequest());
		EXPECT_EQ(Record->Calls.load(), 1);
		EXPECT_FALSE(Record->bSucceeded);
		EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Other);
	}
	PumpFor(0.2);
	EXPECT_EQ(Server.RequestCount(), 0u);
}

TEST_F(HostHTTP, ProcessRequestWhileInFlightIsRefusedAndCompletesOnce)
{
	Server.On("GET", "/slow", FReply::Text(200, "done").WithDelay(std::chrono::milliseconds(300)));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/slow"));
	auto Record = RecordCompletion(*Request);
	EXPECT_TRUE(Request->ProcessRequest());
	EXPECT_FALSE(Request->ProcessRequest());
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_TRUE(Record->bSucceeded);
	EXPECT_EQ(Server.RequestCount("/slow"), 1u);
}

TEST_F(HostHTTP, RequestCanBeReusedAndCompletesOncePerProcessRequest)
{
	Server.OnSequence("GET", "/seq", { FReply::Text(200, "first"), FReply::Text(404, "second") });

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/seq"));
	auto First = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(First));
	EXPECT_EQ(First->Body(), "first");

	auto Second = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Second));

	EXPECT_EQ(First->Calls.load(), 1);
	ExpectCompletedOnceOnGameThread(Second);
	EXPECT_EQ(Second->Code(), 404);
	EXPECT_EQ(Second->Body(), "second");
	EXPECT_NE(First->Response.Get(), Second->Response.Get());
}

TEST_F(HostHTTP, VerbIsStoredUpperCase)
{
	Server.On("POST", "/verb", FReply::Text(201, "made"));

	FHttpRequestRef Request = MakeRequest(TEXT("post"), Server.Url("/verb"));
	EXPECT_EQ(ToStd(Request->GetVerb()), "POST");
	Request->SetHeader(TEXT("Content-Type"), TEXT("text/plain"));
	Request->SetContentAsString(TEXT("x"));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Code(), 201);
	ASSERT_EQ(Server.RequestCount("/verb"), 1u);
	EXPECT_EQ(Server.Requests("/verb")[0].Method, "POST");

	// A verb nobody set is GET.
	EXPECT_EQ(ToStd(FHttpModule::Get().CreateRequest()->GetVerb()), "GET");
}

TEST_F(HostHTTP, RequestHeadersAndUtf8BodyArriveAsSent)
{
	Server.On("*", "/echo", FReply::Text(200, "ok"));
	FHttpModule::Get().AddDefaultHeader(TEXT("X-Default"), TEXT("from-module"));
	FHttpModule::Get().AddDefaultHeader(TEXT("X-Overridden"), TEXT("from-module"));

	const FString Body = TEXT("caf\u00e9 \u2713 \U0001F600 \"quoted\"\r\nline two");
	const std::string ExpectedBytes = "caf\xc3\xa9 \xe2\x9c\x93 \xf0\x9f\x98\x80 \"quoted\"\r\nline two";

	for (const TCHAR* Verb : { TEXT("POST"), TEXT("PUT"), TEXT("PATCH"), TEXT("DELETE") })
	{
		Server.ClearRequests();
		FHttpRequestRef Request = MakeRequest(Verb, Server.Url("/echo"));
		Request->SetHeader(TEXT("Content-Type"), TEXT("application/json; charset=utf-8"));
		Request->SetHeader(TEXT("Idempotency-Key"), TEXT("3f2b-11"));
		Request->SetHeader(TEXT("X-Overridden"), TEXT("from-request"));
		Request->AppendToHeader(TEXT("X-List"), TEXT("a"));
		Request->AppendToHeader(TEXT("X-List"), TEXT("b"));
		Request->SetContentAsString(Body);
		EXPECT_EQ(BytesToStd(Request->GetContent()), ExpectedBytes);
		auto Record = RecordCompletion(*Request);
		Request->ProcessRequest();
		ASSERT_TRUE(WaitForCompletion(Record)) << ToStd(Verb);
		ExpectCompletedOnceOnGameThread(Record);

		const std::vector<HttpTest::FRecordedRequest> Received = Server.Requests("/echo");
		ASSERT_EQ(Received.size(), 1u) << ToStd(Verb);
		const HttpTest::FRecordedRequest& Sent = Received[0];
		EXPECT_EQ(Sent.Method, ToStd(Verb));
		EXPECT_EQ(Sent.Body, ExpectedBytes) << ToStd(Verb);
		EXPECT_EQ(Sent.Header("Content-Length"), std::to_string(ExpectedBytes.size()));
		EXPECT_EQ(Sent.Header("Content-Type"), "application/json; charset=utf-8");
		EXPECT_EQ(Sent.Header("Idempotency-Key"), "3f2b-11");
		EXPECT_EQ(Sent.Header("X-Default"), "from-module");
		EXPECT_EQ(Sent.Header("X-Overridden"), "from-request");
		EXPECT_EQ(Sent.HeaderCount("X-Overridden"), 1u);
		EXPECT_EQ(Sent.Header("X-List"), "a, b");
		EXPECT_FALSE(Sent.HasHeader("Expect"));
	}
}

TEST_F(HostHTTP, ResponseHeadersRepeatedAreJoined)
{
	Server.On("GET", "/multi", FReply::Text(200, "ok").WithHeader("X-Multi", "one").WithHeader("x-multi", "two"));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/multi"));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	ASSERT_TRUE(Record->Response.IsValid());
	EXPECT_EQ(ToStd(Record->Response->GetHeader(TEXT("X-MULTI"))), "one, two");
	int32 Found = 0;
	for (const FString& Header : Record->Response->GetAllHeaders())
	{
		Found += Header.StartsWith(TEXT("X-Multi: ")) ? 1 : 0;
	}
	EXPECT_EQ(Found, 1);
}

TEST_F(HostHTTP, ResponseBodyDecodesInvalidUtf8Safely)
{
	// Valid text, a stray continuation byte, an invalid lead byte and a sequence cut short at the end.
	const std::string Bytes = std::string("ok \xc3\xa9 ") + "\x80" + "\xff" + "\xe2\x82";
	Server.On("GET", "/bytes", FReply::Make(200, Bytes).WithHeader("Content-Type", "application/octet-stream"));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/bytes"));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	ASSERT_TRUE(Record->Response.IsValid());
	EXPECT_EQ(BytesToStd(Record->Response->GetContent()), Bytes);
	const FString Text = Record->Response->GetContentAsString();
	EXPECT_TRUE(Text.StartsWith(TEXT("ok \u00e9 "), ESearchCase::CaseSensitive));
	// Each bad sequence becomes at least one of the engine's bogus characters ('?'); nothing is lost
	// silently and nothing reads past the payload.
	EXPECT_GE(Text.Len(), 5 + 3);
	EXPECT_LE(Text.Len(), 5 + 4);
	for (int32 Index = 5; Index < Text.Len(); ++Index)
	{
		EXPECT_EQ(Text[Index], TCHAR('?')) << Index;
	}
	const FUtf8StringView View = Record->Response->GetContentAsUtf8StringView();
	EXPECT_EQ(View.Len(), static_cast<int32>(Bytes.size()));
}

TEST_F(HostHTTP, ResponseLargerThanMemoryLimitFailsWithResponseTooLarge)
{
	Server.On("GET", "/large", FReply::Make(200, std::string(64 * 1024, 'x')));
	Server.On("GET", "/small", FReply::Make(200, std::string(512, 'y')));
	UE::Host::SetHttpMaxInMemoryResponseBytes(4096);

	FHttpRequestRef Large = MakeRequest(TEXT("GET"), Server.Url("/large"));
	auto LargeRecord = RecordCompletion(*Large);
	Large->ProcessRequest();
	FHttpRequestRef Small = MakeRequest(TEXT("GET"), Server.Url("/small"));
	auto SmallRecord = RecordCompletion(*Small);
	Small->ProcessRequest();
	const bool bLargeDone = WaitForCompletion(LargeRecord);
	const bool bSmallDone = WaitForCompletion(SmallRecord);
	UE::Host::SetHttpMaxInMemoryResponseBytes(0);
	ASSERT_TRUE(bLargeDone);
	ASSERT_TRUE(bSmallDone);

	ExpectCompletedOnceOnGameThread(LargeRecord);
	EXPECT_FALSE(LargeRecord->bSucceeded);
	EXPECT_EQ(LargeRecord->Status, EHttpRequestStatus::Failed);
	EXPECT_EQ(LargeRecord->FailureReason, EHttpFailureReason::ResponseTooLarge);

	EXPECT_TRUE(SmallRecord->bSucceeded);
	EXPECT_EQ(SmallRecord->Body(), std::string(512, 'y'));
	EXPECT_EQ(UE::Host::GetHttpMaxInMemoryResponseBytes(), int64(MAX_int32));
}

TEST_F(HostHTTP, CompleteOnHttpThreadNeedsNoTick)
{
	Server.On("GET", "/ok", FReply::Text(200, "ok"));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/ok"));
	Request->SetDelegateThreadPolicy(EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread);
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();

	// No ticking: the HTTP thread completes the request itself.
	WaitWithoutTicking(*Record);

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(Record->CallsOffGameThread.load(), 1);
	EXPECT_TRUE(Record->bSucceeded);
	EXPECT_EQ(Record->Code(), 200);
	PumpFor(0.05);
	EXPECT_EQ(Record->Calls.load(), 1);
}

TEST_F(HostHTTP, ProcessRequestUntilCompleteBlocks)
{
	Server.On("GET", "/ok", FReply::Text(200, "blocking"));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/ok"));
	Request->ProcessRequestUntilComplete();

	EXPECT_EQ(Request->GetStatus(), EHttpRequestStatus::Succeeded);
	ASSERT_TRUE(Request->GetResponse().IsValid());
	EXPECT_EQ(ToStd(Request->GetResponse()->GetContentAsString()), "blocking");
}

TEST_F(HostHTTP, ManyConcurrentRequestsEachCompleteOnce)
{
	Server.On("GET", "/n", [](const HttpTest::FRecordedRequest& In) { return FReply::Text(200, In.Query); });

	constexpr int32 Count = 24;
	TArray<FHttpRequestRef> Requests;
	std::vector<std::shared_ptr<FCompletionRecord>> Records;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/n?" + std::to_string(Index)));
		Records.push_back(RecordCompletion(*Request));
		Request->ProcessRequest();
		Requests.Add(Request);
	}
	// The manager keeps requests alive while in flight.
	Requests.Reset();
	ASSERT_TRUE(PumpUntil([&Records]
	{
		for (const auto& Record : Records)
		{
			if (Record->Calls.load() == 0)
			{
				return false;
			}
		}
		return true;
	}));
	PumpFor(0.1);

	for (int32 Index = 0; Index < Count; ++Index)
	{
		ExpectCompletedOnceOnGameThread(Records[Index]);
		EXPECT_EQ(Records[Index]->Body(), std::to_string(Index));
	}
	EXPECT_EQ(Server.RequestCount("/n"), static_cast<size_t>(Count));
}

TEST_F(HostHTTP, ModuleDefaultsWithoutIni)
{
	FHttpModule& Module = FHttpModule::Get();
	EXPECT_EQ(Module.GetHttpTotalTimeout(), 0.0f);
	EXPECT_EQ(Module.GetHttpConnectionTimeout(), 30.0f);
	EXPECT_EQ(Module.GetHttpActivityTimeout(), 30.0f);
	EXPECT_EQ(Module.GetHttpMaxConnectionsPerServer(), 16);
	EXPECT_TRUE(Module.IsHttpEnabled());
	EXPECT_EQ(&Module, &FHttpModule::Get());
}

TEST_F(HostHTTP, ProgressStatusAndHeaderDelegatesReportTheTransfer)
{
	const std::string Reply(48 * 1024, 'r');
	Server.On("PUT", "/upload", FReply::Make(201, Reply).WithHeader("X-Stored", "yes"));

	TArray<uint8> Payload;
	for (int32 Index = 0; Index < 100 * 1024; ++Index)
	{
		Payload.Add(static_cast<uint8>(Index * 7));
	}
	FHttpRequestRef Request = MakeRequest(TEXT("PUT"), Server.Url("/upload"));
	Request->SetHeader(TEXT("Content-Type"), TEXT("application/octet-stream"));
	Request->SetContent(TArray<uint8>(Payload));

	struct FSeen
	{
		std::mutex Mutex;
		std::vector<std::pair<uint64, uint64>> Progress;
		std::vector<int32> Codes;
		std::vector<std::string> Headers;
	};
	auto Seen = std::make_shared<FSeen>();
	Request->OnRequestProgress64().BindLambda([Seen](FHttpRequestPtr, uint64 Sent, uint64 Received)
	{
		std::lock_guard<std::mutex> Lock(Seen->Mutex);
		Seen->Progress.emplace_back(Sent, Received);
	});
	Request->OnStatusCodeReceived().BindLambda([Seen](FHttpRequestPtr, int32 Code)
	{
		std::lock_guard<std::mutex> Lock(Seen->Mutex);
		Seen->Codes.push_back(Code);
	});
	Request->OnHeaderReceived().BindLambda([Seen](FHttpRequestPtr, const FString& Name, const FString& Value)
	{
		std::lock_guard<std::mutex> Lock(Seen->Mutex);
		Seen->Headers.push_back(ToStd(Name) + "=" + ToStd(Value));
	});
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	ASSERT_EQ(Record->Code(), 201);
	EXPECT_EQ(Record->Response->GetContent().Num(), static_cast<int32>(Reply.size()));
	const std::vector<HttpTest::FRecordedRequest> Received = Server.Requests("/upload");
	ASSERT_EQ(Received.size(), 1u);
	EXPECT_EQ(Received[0].Body, BytesToStd(Payload));

	std::lock_guard<std::mutex> Lock(Seen->Mutex);
	EXPECT_EQ(Seen->Codes, std::vector<int32>{ 201 });
	EXPECT_NE(std::find(Seen->Headers.begin(), Seen->Headers.end(), "X-Stored=yes"), Seen->Headers.end());
	// Progress only grows, and its last report is the whole transfer.
	ASSERT_FALSE(Seen->Progress.empty());
	for (size_t Index = 1; Index < Seen->Progress.size(); ++Index)
	{
		EXPECT_GE(Seen->Progress[Index].first, Seen->Progress[Index - 1].first);
		EXPECT_GE(Seen->Progress[Index].second, Seen->Progress[Index - 1].second);
	}
	EXPECT_EQ(Seen->Progress.back().first, static_cast<uint64>(Payload.Num()));
	EXPECT_EQ(Seen->Progress.back().second, static_cast<uint64>(Reply.size()));
}

TEST_F(HostHTTP, RedirectIsFollowedAndTheEffectiveUrlIsItsTarget)
{
	Server.On("GET", "/old", FReply::Text(302, "").WithHeader("Location", "/new?x=1").WithHeader("X-Hop", "first"));
	Server.On("GET", "/new", FReply::Text(200, "moved here"));

	FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url("/old"));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	ExpectCompletedOnceOnGameThread(Record);
	EXPECT_EQ(Record->Code(), 200);
	EXPECT_EQ(Record->Body(), "moved here");
	EXPECT_EQ(ToStd(Request->GetURL()), Server.Url("/old"));
	EXPECT_EQ(ToStd(Request->GetEffectiveURL()), Server.Url("/new?x=1"));
	// The redirect's own headers are not the response's.
	EXPECT_TRUE(Record->Response->GetHeader(TEXT("X-Hop")).IsEmpty());
	EXPECT_EQ(Server.RequestCount("/old"), 1u);
	EXPECT_EQ(Server.RequestCount("/new"), 1u);
}
