// The service client's retries over real HTTP on loopback: which requests are sent again, after
// which failures, how often, with what on the wire, and that the caller still hears once.
#include "LoopbackClientTest.h"
#include "Dom/JsonObject.h"
#include "HAL/IConsoleManager.h"
#include "Host/LogCapture.h"

#include <chrono>
#include <set>

using namespace QuarnTest;
using namespace std::chrono_literals;

namespace
{
	class FQuarnClientRetry : public FLoopbackClientTest
	{
	protected:
		/** Sends, pumps until the callback ran, then long enough for a stray retry or second call to show. */
		FOutcome Run(const TCHAR* Verb, const TCHAR* Path, const FString& Body = FString(), const FString& Key = FString())
		{
			FOutcome Outcome;
			const double Start = FPlatformTime::Seconds();
			FQuarnClient::Send(Verb, Path, Body, TEXT("tok"), Key, Outcome.Callback());
			EXPECT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }, 60.0));
			Seconds = FPlatformTime::Seconds() - Start;
			const double SettleUntil = FPlatformTime::Seconds() + 1.5;
			PumpUntil([&] { return FPlatformTime::Seconds() > SettleUntil; }, 5.0);
			return Outcome;
		}

		/** Wall time from Send to the callback of the last Run. */
		double Seconds = 0.0;
	};

	HttpTest::FReply Unavailable()
	{
		return HttpTest::FReply::Json(503, "{\"error\":{\"code\":\"unavailable\",\"message\":\"Down.\",\"hint\":\"\"}}");
	}
}

TEST_F(FQuarnClientRetry, GetAfterServiceUnavailableSucceedsOnTheSecondRequest)
{
	Server.OnSequence("GET", "/v1/game/containers/c", {Unavailable(), HttpTest::FReply::Json(200, "{\"id\":\"c\"}")});
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/v1/game/containers/c"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOk) << Str(Outcome.Error.Code);
	EXPECT_EQ(Server.RequestCount("/v1/game/containers/c"), 2u);
}

TEST_F(FQuarnClientRetry, PostWithoutKeyIsSentOnceWhateverTheFailure)
{
	Server.On("POST", "/unavailable", Unavailable());
	const FOutcome Refused = Run(TEXT("POST"), TEXT("/unavailable"), TEXT("{}"));
	EXPECT_EQ(Refused.Calls, 1);
	EXPECT_EQ(Refused.Error.HttpStatus, 503);
	EXPECT_EQ(Server.RequestCount("/unavailable"), 1u);

	Server.On("POST", "/hang-up", HttpTest::FReply::HangUp());
	const FOutcome Dropped = Run(TEXT("POST"), TEXT("/hang-up"), TEXT("{}"));
	EXPECT_EQ(Dropped.Calls, 1);
	EXPECT_EQ(Str(Dropped.Error.Code), "network_error");
	EXPECT_EQ(Server.RequestCount("/hang-up"), 1u);
}

TEST_F(FQuarnClientRetry, PostWithKeyIsRetriedWithTheSameKeyAndBody)
{
	Server.OnSequence("POST", "/v1/game/inventory/grant", {Unavailable(), HttpTest::FReply::HangUp(), HttpTest::FReply::Json(200, "{\"version\":2}")});
	const FString Body = TEXT("{\"item_id\":\"Bandage\"}");
	const FOutcome Outcome = Run(TEXT("POST"), TEXT("/v1/game/inventory/grant"), Body, TEXT("key-42"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOk) << Str(Outcome.Error.Code);
	const std::vector<HttpTest::FRecordedRequest> Requests = Server.Requests("/v1/game/inventory/grant");
	ASSERT_EQ(Requests.size(), 3u);
	for (const HttpTest::FRecordedRequest& Request : Requests)
	{
		EXPECT_EQ(Request.HeaderCount("Idempotency-Key"), 1u);
		EXPECT_EQ(Request.Header("Idempotency-Key"), "key-42");
		EXPECT_EQ(Request.Header("Authorization"), "Bearer tok");
		EXPECT_EQ(Request.Body, "{\"item_id\":\"Bandage\"}");
	}
}

TEST_F(FQuarnClientRetry, GivesUpAfterThreeRetriesWithTheLastAnswer)
{
	Server.On("GET", "/down", Unavailable());
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/down"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_FALSE(Outcome.bOk);
	EXPECT_EQ(Outcome.Error.HttpStatus, 503);
	EXPECT_EQ(Str(Outcome.Error.Code), "unavailable");
	EXPECT_EQ(Server.RequestCount("/down"), 4u);
}

TEST_F(FQuarnClientRetry, RequestLogCountsEveryAttemptOnOneLine)
{
	IConsoleVariable* const LogRequests = IConsoleManager::Get().FindConsoleVariable(TEXT("Quarn.LogRequests"));
	ASSERT_NE(LogRequests, nullptr);
	UE::Host::FLogCapture Log(TEXT("LogQuarn"));
	LogRequests->Set(1, ECVF_SetByConsole);
	Server.OnSequence("GET", "/flaky", {Unavailable(), Unavailable(), HttpTest::FReply::Json(200, "{\"id\":\"c\"}")});
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/flaky"));
	LogRequests->Set(0, ECVF_SetByConsole);
	EXPECT_TRUE(Outcome.bOk) << Str(Outcome.Error.Code);
	EXPECT_EQ(Server.RequestCount("/flaky"), 3u);
	EXPECT_EQ(Log.Count(TEXT("GET /flaky status=200 code=- request_id="), ELogVerbosity::Display), 1);
	EXPECT_EQ(Log.Count(TEXT(" attempts=3 ms="), ELogVerbosity::Display), 1);
	EXPECT_EQ(Log.Count(TEXT("tok")), 0);
}

TEST_F(FQuarnClientRetry, BackOffGrowsBetweenAttempts)
{
	// Three back-offs of about 0.2, 0.4 and 0.8 seconds: well over half a second in all, and far
	// under what an unbounded curve would take.
	Server.On("GET", "/down", Unavailable());
	Run(TEXT("GET"), TEXT("/down"));
	EXPECT_EQ(Server.RequestCount("/down"), 4u);
	EXPECT_GE(Seconds, 0.6);
	EXPECT_LT(Seconds, 10.0);
}

TEST_F(FQuarnClientRetry, RateLimitWaitsForRetryAfter)
{
	HttpTest::FReply Limited = HttpTest::FReply::Json(429, "{\"error\":{\"code\":\"rate_limited\",\"message\":\"Slow down.\",\"hint\":\"\"}}");
	Limited.WithHeader("Retry-After", "2");
	Server.OnSequence("POST", "/v1/game/inventory/consume", {Limited, HttpTest::FReply::Json(200, "{\"version\":3}")});
	const FOutcome Outcome = Run(TEXT("POST"), TEXT("/v1/game/inventory/consume"), TEXT("{}"), TEXT("key-rl"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOk) << Str(Outcome.Error.Code);
	EXPECT_EQ(Server.RequestCount("/v1/game/inventory/consume"), 2u);
	// The curve alone would have waited a quarter of a second at most.
	EXPECT_GE(Seconds, 1.9);
}

TEST_F(FQuarnClientRetry, OtherRefusalsAreNotRetried)
{
	Server.On("GET", "/internal", HttpTest::FReply::Json(500, "{\"error\":{\"code\":\"internal\",\"message\":\"Oops.\",\"hint\":\"\"}}"));
	Server.On("POST", "/conflict", HttpTest::FReply::Json(409, "{\"error\":{\"code\":\"version_conflict\",\"message\":\"Stale.\",\"hint\":\"\"}}"));
	const FOutcome Internal = Run(TEXT("GET"), TEXT("/internal"));
	EXPECT_EQ(Internal.Error.HttpStatus, 500);
	EXPECT_EQ(Server.RequestCount("/internal"), 1u);
	const FOutcome Conflict = Run(TEXT("POST"), TEXT("/conflict"), TEXT("{}"), TEXT("key-c"));
	EXPECT_EQ(Str(Conflict.Error.Code), "version_conflict");
	EXPECT_EQ(Server.RequestCount("/conflict"), 1u);
}

TEST_F(FQuarnClientRetry, TimedOutGetIsRetried)
{
	GetMutableDefault<UQuarnSettings>()->RequestTimeoutSeconds = 1.0f;
	Server.OnSequence("GET", "/slow-once", {HttpTest::FReply::Json(200, "{\"late\":true}").WithDelay(3000ms), HttpTest::FReply::Json(200, "{\"late\":false}")});
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/slow-once"));
	EXPECT_EQ(Outcome.Calls, 1);
	ASSERT_TRUE(Outcome.bOk) << Str(Outcome.Error.Code);
	EXPECT_FALSE(Outcome.Json->GetBoolField(TEXT("late")));
	EXPECT_EQ(Server.RequestCount("/slow-once"), 2u);
}

TEST_F(FQuarnClientRetry, GetThatNeverAnswersEndsAsATimeOut)
{
	GetMutableDefault<UQuarnSettings>()->RequestTimeoutSeconds = 1.0f;
	Server.On("GET", "/silent", HttpTest::FReply::Json(200, "{}").WithDelay(2500ms));
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/silent"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_FALSE(Outcome.bOk);
	EXPECT_EQ(Str(Outcome.Error.Code), "timeout");
	EXPECT_EQ(Server.RequestCount("/silent"), 4u);
}

TEST_F(FQuarnClientRetry, EverySendCompletesOnceUnderInterleavedRetries)
{
	// Several retried requests in flight together each complete exactly once with their own answer.
	for (int Index = 0; Index < 4; ++Index)
	{
		const std::string Path = "/item/" + std::to_string(Index);
		Server.OnSequence("GET", Path, {Unavailable(), HttpTest::FReply::Json(200, "{\"index\":" + std::to_string(Index) + "}")});
	}
	FOutcome Outcomes[4];
	for (int Index = 0; Index < 4; ++Index)
	{
		FQuarnClient::Send(TEXT("GET"), FString::Printf(TEXT("/item/%d"), Index), FString(), FString(), FString(), Outcomes[Index].Callback());
	}
	EXPECT_TRUE(PumpUntil([&] { return Outcomes[0].Calls && Outcomes[1].Calls && Outcomes[2].Calls && Outcomes[3].Calls; }, 30.0));
	PumpTicks(30);
	for (int Index = 0; Index < 4; ++Index)
	{
		EXPECT_EQ(Outcomes[Index].Calls, 1);
		ASSERT_TRUE(Outcomes[Index].bOk);
		EXPECT_EQ(Outcomes[Index].Json->GetIntegerField(TEXT("index")), Index);
		EXPECT_EQ(Server.RequestCount("/item/" + std::to_string(Index)), 2u);
	}
}
