// The service client through the engine HTTP module against a real server on loopback: what
// arrives on the wire, and each kind of failure mapped to its error, completing exactly once.
#include "LoopbackClientTest.h"
#include "Dom/JsonObject.h"

#include <chrono>

using namespace QuarnTest;
using namespace std::chrono_literals;

namespace
{
	class FQuarnClientHttp : public FLoopbackClientTest
	{
	protected:
		/** Sends and pumps the game thread until the callback ran, then a little longer to see a second call. */
		FOutcome Run(const TCHAR* Verb, const TCHAR* Path, const FString& Body = FString(), const FString& Token = FString(), const FString& Key = FString())
		{
			FOutcome Outcome;
			FQuarnClient::Send(Verb, Path, Body, Token, Key, Outcome.Callback());
			EXPECT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }, 30.0));
			PumpTicks(20);
			return Outcome;
		}

	};
}

TEST_F(FQuarnClientHttp, SendsHeadersAndUtf8BodyAsGiven)
{
	Server.On("POST", "/v1/game/containers/ensure", HttpTest::FReply::Json(200, "{\"id\":\"c\"}"));
	const FString Body = TEXT("{\"kind\":\"st\u00e4sh\"}");
	const FOutcome Outcome = Run(TEXT("POST"), TEXT("/v1/game/containers/ensure"), Body, TEXT("tok"), TEXT("key-7"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOk);
	const std::vector<HttpTest::FRecordedRequest> Requests = Server.Requests("/v1/game/containers/ensure");
	ASSERT_EQ(Requests.size(), 1u);
	EXPECT_EQ(Requests[0].Method, "POST");
	EXPECT_EQ(Requests[0].Header("Authorization"), "Bearer tok");
	EXPECT_EQ(Requests[0].Header("Idempotency-Key"), "key-7");
	EXPECT_EQ(Requests[0].Body, "{\"kind\":\"st\xc3\xa4sh\"}");
}

TEST_F(FQuarnClientHttp, PathIsPercentEncodedOnTheWire)
{
	Server.On("GET", "/v1/game/containers/a%20b", HttpTest::FReply::Json(200, "{}"));
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/v1/game/containers/a b"));
	EXPECT_TRUE(Outcome.bOk) << Str(Outcome.Error.Message);
	EXPECT_EQ(Server.RequestCount("/v1/game/containers/a%20b"), 1u);
}

TEST_F(FQuarnClientHttp, ErrorStatusesWithAndWithoutBodies)
{
	Server.On("GET", "/with-body", HttpTest::FReply::Json(404, "{\"error\":{\"code\":\"not_found\",\"message\":\"No such container.\",\"hint\":\"Ensure it first.\"}}").WithHeader("X-Request-Id", "rq-1"));
	Server.On("GET", "/without-body", HttpTest::FReply::Make(500));
	Server.On("GET", "/html", HttpTest::FReply::Text(502, "<html>Bad gateway</html>"));

	const FOutcome WithBody = Run(TEXT("GET"), TEXT("/with-body"));
	EXPECT_EQ(WithBody.Calls, 1);
	EXPECT_EQ(WithBody.Error.HttpStatus, 404);
	EXPECT_EQ(Str(WithBody.Error.Code), "not_found");
	EXPECT_EQ(Str(WithBody.Error.Message), "No such container.");
	EXPECT_EQ(Str(WithBody.Error.Hint), "Ensure it first.");
	EXPECT_EQ(Str(WithBody.Error.RequestId), "rq-1");

	const FOutcome WithoutBody = Run(TEXT("GET"), TEXT("/without-body"));
	EXPECT_EQ(WithoutBody.Calls, 1);
	EXPECT_EQ(WithoutBody.Error.HttpStatus, 500);
	EXPECT_EQ(Str(WithoutBody.Error.Code), "http_error");

	const FOutcome Html = Run(TEXT("GET"), TEXT("/html"));
	EXPECT_EQ(Html.Error.HttpStatus, 502);
	EXPECT_EQ(Str(Html.Error.Code), "http_error");
}

TEST_F(FQuarnClientHttp, NonJsonSuccessIsABadResponse)
{
	Server.On("GET", "/text", HttpTest::FReply::Text(200, "hello"));
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/text"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_FALSE(Outcome.bOk);
	EXPECT_EQ(Str(Outcome.Error.Code), "bad_response");
}

TEST_F(FQuarnClientHttp, RefusedConnectionIsANetworkError)
{
	GetMutableDefault<UQuarnSettings>()->BaseUrl = UTF8_TO_TCHAR(HttpTest::FServer::RefusedUrl("").c_str());
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/v1/x"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_FALSE(Outcome.bOk);
	EXPECT_EQ(Str(Outcome.Error.Code), "network_error");
	EXPECT_TRUE(Outcome.bOnGameThread);
}

TEST_F(FQuarnClientHttp, HangUpIsANetworkError)
{
	Server.On("GET", "/hang-up", HttpTest::FReply::HangUp());
	const FOutcome Outcome = Run(TEXT("GET"), TEXT("/hang-up"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_EQ(Str(Outcome.Error.Code), "network_error");
	// A GET is retried after a dropped connection: the first attempt and three retries.
	EXPECT_EQ(Server.RequestCount("/hang-up"), 4u);
}

TEST_F(FQuarnClientHttp, SlowAnswerTimesOut)
{
	GetMutableDefault<UQuarnSettings>()->RequestTimeoutSeconds = 1.0f;
	// A POST without a key is sent once, so the time-out is its only outcome.
	Server.On("POST", "/slow", HttpTest::FReply::Json(200, "{}").WithDelay(4000ms));
	const FOutcome Outcome = Run(TEXT("POST"), TEXT("/slow"), TEXT("{}"));
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_FALSE(Outcome.bOk);
	EXPECT_EQ(Str(Outcome.Error.Code), "timeout");
	EXPECT_TRUE(Outcome.bOnGameThread);
}
