// The service client over a scripted transport: what it sends, how answers become results or
// errors, and that each request completes exactly once on the game thread.
#include "QuarnTest/PluginTestSupport.h"
#include "Dom/JsonObject.h"
#include "QuarnLog.h"

#include <thread>

using namespace QuarnTest;

namespace
{
	using FQuarnClientSend = FClientTest;
	using FQuarnClientAnswers = FClientTest;
	using FQuarnClientCompletion = FClientTest;
	using FQuarnClientBaseAddress = FClientTest;
}

TEST_F(FQuarnClientSend, BuildsUrlHeadersAndBody)
{
	GetMutableDefault<UQuarnSettings>()->BaseUrl = TEXT("https://platform.example.com/");
	GetMutableDefault<UQuarnSettings>()->RequestTimeoutSeconds = 7.5f;
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("post"), TEXT("/v1/game/containers/ensure"), TEXT("{\"kind\":\"stash\"}"), TEXT("tok-123"), TEXT("key-1"), Outcome.Callback());

	ASSERT_EQ(Transport->Sent.Num(), 1);
	const FQuarnHttpRequest& Request = Transport->Sent[0];
	EXPECT_EQ(Str(Request.Verb), "POST");
	EXPECT_EQ(Str(Request.Url), "https://platform.example.com/v1/game/containers/ensure");
	EXPECT_EQ(Str(Request.Body), "{\"kind\":\"stash\"}");
	EXPECT_EQ(Str(Request.GetHeader(TEXT("authorization"))), "Bearer tok-123");
	EXPECT_EQ(Str(Request.GetHeader(TEXT("Idempotency-Key"))), "key-1");
	EXPECT_TRUE(Str(Request.GetHeader(TEXT("Content-Type"))).rfind("application/json", 0) == 0);
	EXPECT_FLOAT_EQ(Request.TimeoutSeconds, 7.5f);
}

TEST_F(FQuarnClientSend, LeavesOutHeadersThatWereNotGiven)
{
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/abc"), FString(), FString(), FString(), Outcome.Callback());
	ASSERT_EQ(Transport->Sent.Num(), 1);
	for (const TPair<FString, FString>& Header : Transport->Sent[0].Headers)
	{
		EXPECT_NE(Str(Header.Key), "Authorization");
		EXPECT_NE(Str(Header.Key), "Idempotency-Key");
	}
	EXPECT_TRUE(Transport->Sent[0].Body.IsEmpty());
}

TEST_F(FQuarnClientSend, PercentEncodesPathSegmentsButKeepsSlashes)
{
	EXPECT_EQ(Str(FQuarnClient::EncodePath(TEXT("/v1/game/containers/a b/c"))), "/v1/game/containers/a%20b/c");
	EXPECT_EQ(Str(FQuarnClient::EncodePath(TEXT("/x/100%?#"))), "/x/100%25%3F%23");
	EXPECT_EQ(Str(FQuarnClient::EncodePath(TEXT("/x/caf\u00e9"))), "/x/caf%C3%A9");
	EXPECT_EQ(Str(FQuarnClient::EncodePath(TEXT("/plain-id_1.2~3"))), "/plain-id_1.2~3");
	EXPECT_EQ(Str(FQuarnClient::EncodePath(TEXT("//"))), "//");

	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/my stash"), FString(), FString(), FString(), Outcome.Callback());
	ASSERT_EQ(Transport->Sent.Num(), 1);
	EXPECT_EQ(Str(Transport->Sent[0].Url), "https://platform.example.com/v1/game/containers/my%20stash");
}

TEST_F(FQuarnClientSend, IdempotencyKeysAreFreshGuids)
{
	const FString First = FQuarnClient::NewIdempotencyKey();
	const FString Second = FQuarnClient::NewIdempotencyKey();
	EXPECT_NE(Str(First), Str(Second));
	FGuid Parsed;
	EXPECT_TRUE(FGuid::Parse(First, Parsed));
	EXPECT_TRUE(Parsed.IsValid());
}

TEST_F(FQuarnClientAnswers, SuccessCarriesTheParsedObject)
{
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
	Transport->Answer(200, TEXT("{\"id\":\"c1\",\"version\":3}"), TEXT("req-9"));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_TRUE(Outcome.bOk);
	ASSERT_TRUE(Outcome.Json.IsValid());
	EXPECT_EQ(Str(Outcome.Json->GetStringField(TEXT("id"))), "c1");
	EXPECT_TRUE(Outcome.Error.Code.IsEmpty());
}

TEST_F(FQuarnClientAnswers, ErrorObjectFillsEveryField)
{
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("POST"), TEXT("/v1/x"), TEXT("{}"), TEXT("t"), FString(), Outcome.Callback());
	Transport->Answer(409, TEXT("{\"error\":{\"code\":\"version_conflict\",\"message\":\"Changed.\",\"hint\":\"Re-read.\",\"current_version\":4}}"), TEXT("req-42"));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_FALSE(Outcome.bOk);
	EXPECT_FALSE(Outcome.Json.IsValid());
	EXPECT_EQ(Outcome.Error.HttpStatus, 409);
	EXPECT_EQ(Str(Outcome.Error.Code), "version_conflict");
	EXPECT_EQ(Str(Outcome.Error.Message), "Changed.");
	EXPECT_EQ(Str(Outcome.Error.Hint), "Re-read.");
	EXPECT_EQ(Str(Outcome.Error.RequestId), "req-42");
}

TEST_F(FQuarnClientAnswers, HttpErrorsWithoutAnErrorObjectStillSayWhat)
{
	const TCHAR* Bodies[] = {TEXT(""), TEXT("Service Unavailable"), TEXT("{\"error\":\"flat\"}"), TEXT("{\"error\":{\"message\":\"no code\"}}"), TEXT("[1,2]")};
	for (const TCHAR* Body : Bodies)
	{
		FOutcome Outcome;
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
		Transport->Answer(503, Body);
		ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
		EXPECT_FALSE(Outcome.bOk) << Str(Body);
		EXPECT_EQ(Outcome.Error.HttpStatus, 503) << Str(Body);
		EXPECT_EQ(Str(Outcome.Error.Code), "http_error") << Str(Body);
		EXPECT_TRUE(Outcome.Error.Message.Contains(TEXT("503"))) << Str(Body);
	}
}

TEST_F(FQuarnClientAnswers, SuccessThatIsNotAnObjectIsABadResponse)
{
	const TCHAR* Bodies[] = {TEXT(""), TEXT("<html>ok</html>"), TEXT("[]"), TEXT("\"text\""), TEXT("{\"a\":"), TEXT("{} trailing")};
	for (const TCHAR* Body : Bodies)
	{
		FOutcome Outcome;
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
		Transport->Answer(200, Body);
		ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
		EXPECT_FALSE(Outcome.bOk) << Str(Body);
		EXPECT_FALSE(Outcome.Json.IsValid()) << Str(Body);
		EXPECT_EQ(Str(Outcome.Error.Code), "bad_response") << Str(Body);
		EXPECT_EQ(Outcome.Error.HttpStatus, 200) << Str(Body);
	}
}

TEST_F(FQuarnClientAnswers, TransportFailuresHaveTheirOwnCodes)
{
	struct FCase
	{
		EQuarnTransportResult Result;
		const char* Code;
	};
	const FCase Cases[] = {
		{EQuarnTransportResult::ConnectionFailed, "network_error"},
		{EQuarnTransportResult::TimedOut, "timeout"},
		{EQuarnTransportResult::Cancelled, "cancelled"},
	};
	for (const FCase& Case : Cases)
	{
		FOutcome Outcome;
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
		Transport->Fail(Case.Result);
		ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
		EXPECT_FALSE(Outcome.bOk);
		EXPECT_EQ(Str(Outcome.Error.Code), Case.Code);
		EXPECT_EQ(Outcome.Error.HttpStatus, 0);
		EXPECT_FALSE(Outcome.Error.Message.IsEmpty());
	}
}

TEST_F(FQuarnClientCompletion, AnAnswerFromInsideSendArrivesOnALaterTick)
{
	FQuarnHttpResponse Immediate;
	Immediate.Result = EQuarnTransportResult::ConnectionFailed;
	Transport->ImmediateAnswer = Immediate;
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
	EXPECT_EQ(Outcome.Calls, 0) << "the caller must not be re-entered from inside Send";
	PumpTicks(2);
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOnGameThread);
}

TEST_F(FQuarnClientCompletion, ATransportAnsweringTwiceCompletesOnce)
{
	FQuarnHttpResponse Immediate;
	Immediate.Result = EQuarnTransportResult::Answered;
	Immediate.StatusCode = 200;
	Immediate.Body = TEXT("{}");
	Transport->ImmediateAnswer = Immediate;
	Transport->bAnswerTwice = true;
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
	PumpTicks(5);
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOk);
}

TEST_F(FQuarnClientCompletion, AnswerFromAnotherThreadIsDeliveredOnTheGameThread)
{
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
	ASSERT_EQ(Transport->Pending.Num(), 1);
	FScriptedTransport::FPending Pending = MoveTemp(Transport->Pending[0]);
	Transport->Pending.Reset();
	std::thread Worker([&Pending]
	{
		FQuarnHttpResponse Response;
		Response.Result = EQuarnTransportResult::Answered;
		Response.StatusCode = 204;
		Response.Body = TEXT("{}");
		Pending.OnDone(Response);
	});
	Worker.join();
	EXPECT_EQ(Outcome.Calls, 0);
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_TRUE(Outcome.bOnGameThread);
	EXPECT_TRUE(Outcome.bOk);
}

TEST_F(FQuarnClientCompletion, TheAccessTokenNeverReachesTheLog)
{
	const FString Token = TEXT("secret-token-5f1e");
	LogQuarn.SetVerbosity(ELogVerbosity::VeryVerbose);
	{
		FLogCapture Capture;
		FOutcome Ok;
		FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/sessions"), TEXT("{}"), Token, TEXT("k"), Ok.Callback());
		Transport->Answer(200, TEXT("{\"access_token\":\"other\"}"));
		FOutcome Refused;
		FQuarnClient::Send(TEXT("POST"), TEXT("/v1/x"), TEXT("{}"), Token, FString(), Refused.Callback());
		Transport->Answer(401, TEXT("{\"error\":{\"code\":\"unauthorized\",\"message\":\"m\",\"hint\":\"h\"}}"));
		GetMutableDefault<UQuarnSettings>()->BaseUrl = TEXT("http://example.com");
		FOutcome Insecure;
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), Token, FString(), Insecure.Callback());
		ASSERT_TRUE(PumpUntil([&] { return Ok.Calls + Refused.Calls + Insecure.Calls == 3; }));
		EXPECT_TRUE(Capture.AnyContains(TEXT("/v1/game/sessions"))) << "the client is expected to log its requests at VeryVerbose";
		EXPECT_FALSE(Capture.AnyContains(Token));
	}
	LogQuarn.ResetToDefault();
}

TEST_F(FQuarnClientBaseAddress, PlainHttpIsRefusedUnlessLoopbackOrAllowed)
{
	struct FCase
	{
		const TCHAR* Base;
		bool bAllowInsecure;
		const char* Code;
	};
	const FCase Cases[] = {
		{TEXT("https://api.example.com"), false, ""},
		{TEXT("HTTPS://api.example.com/base"), false, ""},
		{TEXT("http://127.0.0.1:8080"), false, ""},
		{TEXT("http://127.12.0.1"), false, ""},
		{TEXT("http://localhost:1"), false, ""},
		{TEXT("http://[::1]:9000"), false, ""},
		{TEXT("http://example.com"), false, "insecure_base_address"},
		{TEXT("http://127.0.0.1.evil.com"), false, "insecure_base_address"},
		{TEXT("http://127.0.0.1@evil.com"), false, "insecure_base_address"},
		{TEXT("http://128.0.0.1"), false, "insecure_base_address"},
		{TEXT("http://example.com"), true, ""},
		{TEXT(""), false, "no_base_address"},
		{TEXT("   "), false, "no_base_address"},
		{TEXT("ftp://example.com"), false, "invalid_base_address"},
		{TEXT("https://"), false, "invalid_base_address"},
		{TEXT("example.com"), true, "invalid_base_address"},
	};
	for (const FCase& Case : Cases)
	{
		UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
		Settings->BaseUrl = Case.Base;
		Settings->bAllowInsecureHttp = Case.bAllowInsecure;
		Transport->Sent.Reset();
		Transport->Pending.Reset();
		FOutcome Outcome;
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), Outcome.Callback());
		if (*Case.Code == '\0')
		{
			EXPECT_EQ(Transport->Sent.Num(), 1) << Str(Case.Base);
			if (Transport->Pending.Num() > 0)
			{
				Transport->Answer(200, TEXT("{}"));
			}
		}
		else
		{
			EXPECT_EQ(Transport->Sent.Num(), 0) << Str(Case.Base);
		}
		ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; })) << Str(Case.Base);
		EXPECT_EQ(Str(Outcome.Error.Code), Case.Code) << Str(Case.Base);
		EXPECT_EQ(Outcome.Calls, 1);
	}
}
