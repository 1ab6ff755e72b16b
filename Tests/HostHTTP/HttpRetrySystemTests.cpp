// Copyright Quarn. All Rights Reserved.

#include "HttpTestSupport.h"

#include "HttpRetrySystem.h"
#include "PlatformHttp.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace HostHttpTest;
using HttpTest::FReply;
using HttpTest::FServer;
using namespace FHttpRetrySystem;

namespace
{
	/** Back-off without jitter (an invalid curve applies none): 0.1 s, 0.01 s, 0.001 s. */
	FExponentialBackoffCurve FastCurve()
	{
		FExponentialBackoffCurve Curve;
		Curve.Base = 0.1f;
		Curve.ExponentBias = 0.0f;
		Curve.MinCoefficient = 0.0f;
		Curve.MaxCoefficient = 0.0f;
		Curve.MaxBackoffSeconds = 60.0f;
		return Curve;
	}

	FRetryResponseCodes Codes(std::initializer_list<int32> Values)
	{
		FRetryResponseCodes Result;
		for (const int32 Value : Values)
		{
			Result.Add(Value);
		}
		return Result;
	}

	struct FWillRetryRecord
	{
		std::mutex Mutex;
		std::vector<float> Delays;
		std::vector<int32> Codes;

		size_t Count()
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return Delays.size();
		}
	};

	std::shared_ptr<FWillRetryRecord> RecordWillRetry(IHttpRequest& Request)
	{
		auto Record = std::make_shared<FWillRetryRecord>();
		Request.OnRequestWillRetry().BindLambda([Record](FHttpRequestPtr, FHttpResponsePtr Response, float SecondsToRetry)
		{
			std::lock_guard<std::mutex> Lock(Record->Mutex);
			Record->Delays.push_back(SecondsToRetry);
			Record->Codes.push_back(Response ? Response->GetResponseCode() : 0);
		});
		return Record;
	}

	std::string HttpDateIn(int SecondsFromNow)
	{
		const time_t When = time(nullptr) + SecondsFromNow;
		tm Utc;
		gmtime_r(&When, &Utc);
		char Buffer[64];
		strftime(Buffer, sizeof(Buffer), "%a, %d %b %Y %H:%M:%S GMT", &Utc);
		return Buffer;
	}

	class HostHTTPRetry : public testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(Server.IsRunning());
		}

		TSharedRef<FRequest, ESPMode::ThreadSafe> MakeRetryRequest(const FString& Verb, const std::string& Url, const FRetryResponseCodes& RetryCodes,
			const FRetryVerbs& RetryVerbs = FRetryVerbs(), const FRetryTimeoutRelativeSecondsSetting& Timeout = FRetryTimeoutRelativeSecondsSetting(),
			const FRetryLimitCountSetting& ConnectionErrorLimit = FRetryLimitCountSetting())
		{
			TSharedRef<FRequest, ESPMode::ThreadSafe> Request = Manager->CreateRequest(FRetryLimitCountSetting(), Timeout, RetryCodes, RetryVerbs,
				FRetryDomainsPtr(), ConnectionErrorLimit, FastCurve());
			Request->SetVerb(Verb);
			Request->SetURL(ToFString(Url));
			return Request;
		}

		FServer Server;
		TSharedRef<FManager, ESPMode::ThreadSafe> Manager = MakeShared<FManager>(FRetryLimitCountSetting(3), FRetryTimeoutRelativeSecondsSetting());
	};
}

TEST_F(HostHTTPRetry, RetriesListedCodesUntilSuccessAndCompletesOnce)
{
	Server.OnSequence("GET", "/flaky", { FReply::Text(503, "down"), FReply::Text(503, "down"), FReply::Text(200, "up") });
	// The rate is stored but not used by the retry system.
	Manager->SetRandomFailureRate(1.0f);

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/flaky"), Codes({ 429, 503 }));
	auto Record = RecordCompletion(*Request);
	auto WillRetry = RecordWillRetry(*Request);
	EXPECT_TRUE(Request->ProcessRequest());
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(Record->CallsOffGameThread.load(), 0);
	EXPECT_TRUE(Record->bSucceeded);
	EXPECT_EQ(Record->Code(), 200);
	EXPECT_EQ(Record->Body(), "up");
	EXPECT_TRUE(Record->Request.Pin() == FHttpRequestPtr(Request));
	EXPECT_EQ(Request->GetRetryStatus(), FRequest::EStatus::Succeeded);
	EXPECT_EQ(Server.RequestCount("/flaky"), 3u);
	ASSERT_EQ(WillRetry->Count(), 2u);
	EXPECT_EQ(WillRetry->Codes[0], 503);
}

TEST_F(HostHTTPRetry, StopsAfterTheRetryLimitWithTheLastResponse)
{
	Server.On("GET", "/down", FReply::Text(503, "still down"));

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/down"), Codes({ 503 }));
	auto Record = RecordCompletion(*Request);
	auto WillRetry = RecordWillRetry(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Calls.load(), 1);
	// The last attempt got a response: processed, with its status code.
	EXPECT_TRUE(Record->bSucceeded);
	EXPECT_EQ(Record->Code(), 503);
	EXPECT_EQ(Record->Body(), "still down");
	EXPECT_EQ(Server.RequestCount("/down"), 4u);
	ASSERT_EQ(WillRetry->Count(), 3u);
	// The back-off follows the curve, counting retries from one.
	EXPECT_FLOAT_EQ(WillRetry->Delays[0], 0.1f);
	EXPECT_FLOAT_EQ(WillRetry->Delays[1], 0.01f);
	EXPECT_FLOAT_EQ(WillRetry->Delays[2], 0.001f);
}

TEST_F(HostHTTPRetry, ResponsesWithUnlistedCodesAreNotRetried)
{
	Server.On("GET", "/error", FReply::Text(500, "boom"));
	Server.On("GET", "/unavailable", FReply::Text(503, "down"));

	auto Listed = MakeRetryRequest(TEXT("GET"), Server.Url("/error"), Codes({ 429, 503 }));
	auto ListedRecord = RecordCompletion(*Listed);
	Listed->ProcessRequest();
	auto NoneListed = MakeRetryRequest(TEXT("GET"), Server.Url("/unavailable"), FRetryResponseCodes());
	auto NoneListedRecord = RecordCompletion(*NoneListed);
	NoneListed->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(ListedRecord));
	ASSERT_TRUE(WaitForCompletion(NoneListedRecord));

	EXPECT_EQ(ListedRecord->Calls.load(), 1);
	EXPECT_EQ(ListedRecord->Code(), 500);
	EXPECT_EQ(Server.RequestCount("/error"), 1u);
	EXPECT_EQ(NoneListedRecord->Calls.load(), 1);
	EXPECT_EQ(NoneListedRecord->Code(), 503);
	EXPECT_EQ(Server.RequestCount("/unavailable"), 1u);
}

TEST_F(HostHTTPRetry, RetryAfterSecondsSetsTheWait)
{
	std::mutex TimesMutex;
	std::vector<double> ArrivalTimes;
	int Calls = 0;
	Server.On("GET", "/limited", [&](const HttpTest::FRecordedRequest&)
	{
		std::lock_guard<std::mutex> Lock(TimesMutex);
		ArrivalTimes.push_back(FPlatformTime::Seconds());
		return ++Calls == 1 ? FReply::Text(429, "slow down").WithHeader("Retry-After", "1") : FReply::Text(200, "ok");
	});

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/limited"), Codes({ 429 }));
	auto Record = RecordCompletion(*Request);
	auto WillRetry = RecordWillRetry(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(Record->Code(), 200);
	ASSERT_EQ(WillRetry->Count(), 1u);
	EXPECT_FLOAT_EQ(WillRetry->Delays[0], 1.0f);
	std::lock_guard<std::mutex> Lock(TimesMutex);
	ASSERT_EQ(ArrivalTimes.size(), 2u);
	EXPECT_GE(ArrivalTimes[1] - ArrivalTimes[0], 0.95);
}

TEST_F(HostHTTPRetry, ThrottleTimeIsReadFromRetryAfterOrRateLimitReset)
{
	Server.On("GET", "/seconds", FReply::Text(429, "").WithHeader("Retry-After", "2.5"));
	Server.On("GET", "/date", FReply::Text(503, "").WithHeader("Retry-After", HttpDateIn(30)));
	Server.On("GET", "/reset", FReply::Text(429, "").WithHeader("X-Rate-Limit-Reset", std::to_string(time(nullptr) + 60)));
	Server.On("GET", "/garbage", FReply::Text(429, "").WithHeader("Retry-After", "soon"));
	Server.On("GET", "/none", FReply::Text(429, ""));

	auto Fetch = [this](const std::string& Path)
	{
		FHttpRequestRef Request = MakeRequest(TEXT("GET"), Server.Url(Path));
		auto Record = RecordCompletion(*Request);
		Request->ProcessRequest();
		EXPECT_TRUE(WaitForCompletion(Record)) << Path;
		return ReadThrottledTimeFromResponseInSeconds(Record->Response);
	};

	const TOptional<double> Seconds = Fetch("/seconds");
	ASSERT_TRUE(Seconds.IsSet());
	EXPECT_DOUBLE_EQ(Seconds.GetValue(), 2.5);

	const TOptional<double> Date = Fetch("/date");
	ASSERT_TRUE(Date.IsSet());
	EXPECT_GT(Date.GetValue(), 25.0);
	EXPECT_LE(Date.GetValue(), 31.0);

	const TOptional<double> Reset = Fetch("/reset");
	ASSERT_TRUE(Reset.IsSet());
	EXPECT_GT(Reset.GetValue(), 55.0);
	EXPECT_LE(Reset.GetValue(), 61.0);

	EXPECT_FALSE(Fetch("/garbage").IsSet());
	EXPECT_FALSE(Fetch("/none").IsSet());
	EXPECT_FALSE(ReadThrottledTimeFromResponseInSeconds(nullptr).IsSet());
}

TEST_F(HostHTTPRetry, ConnectionErrorsAreRetriedForAnyVerb)
{
	auto Request = MakeRetryRequest(TEXT("POST"), FServer::RefusedUrl("/nobody"), FRetryResponseCodes());
	Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
	Request->SetContentAsString(TEXT("{}"));
	auto Record = RecordCompletion(*Request);
	auto WillRetry = RecordWillRetry(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_FALSE(Record->Response.IsValid());
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::ConnectionError);
	EXPECT_EQ(WillRetry->Count(), 3u);
	EXPECT_EQ(Request->GetRetryStatus(), FRequest::EStatus::FailedRetry);
}

TEST_F(HostHTTPRetry, ConnectionErrorsHaveTheirOwnLimitWhenSet)
{
	auto Request = MakeRetryRequest(TEXT("GET"), FServer::RefusedUrl("/nobody"), FRetryResponseCodes(), FRetryVerbs(),
		FRetryTimeoutRelativeSecondsSetting(), FRetryLimitCountSetting(1));
	auto Record = RecordCompletion(*Request);
	auto WillRetry = RecordWillRetry(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::ConnectionError);
	EXPECT_EQ(WillRetry->Count(), 1u);
}

TEST_F(HostHTTPRetry, FailuresWithoutResponseAreRetriedOnlyForRetryVerbs)
{
	Server.On("*", "/hangup", FReply::HangUp());

	struct FCase
	{
		const TCHAR* Verb;
		FRetryVerbs Verbs;
		size_t ExpectedAttempts;
	};
	FRetryVerbs PostOnly;
	PostOnly.Add(FName(TEXT("POST")));
	const FCase Cases[] =
	{
		// By default GET and HEAD, which can be repeated.
		{ TEXT("GET"), FRetryVerbs(), 4u },
		{ TEXT("POST"), FRetryVerbs(), 1u },
		// A caller that knows the POST is safe to repeat (an idempotency key) lists it.
		{ TEXT("POST"), PostOnly, 4u },
		{ TEXT("GET"), PostOnly, 1u },
	};
	for (const FCase& Case : Cases)
	{
		Server.ClearRequests();
		auto Request = MakeRetryRequest(Case.Verb, Server.Url("/hangup"), Codes({ 503 }), Case.Verbs);
		if (FString(Case.Verb) == TEXT("POST"))
		{
			Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
			Request->SetHeader(TEXT("Idempotency-Key"), TEXT("k-1"));
			Request->SetContentAsString(TEXT("{}"));
		}
		auto Record = RecordCompletion(*Request);
		Request->ProcessRequest();
		ASSERT_TRUE(WaitForCompletion(Record)) << ToStd(Case.Verb);

		EXPECT_EQ(Record->Calls.load(), 1) << ToStd(Case.Verb);
		EXPECT_FALSE(Record->bSucceeded);
		EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Other);
		EXPECT_EQ(Server.RequestCount("/hangup"), Case.ExpectedAttempts) << ToStd(Case.Verb) << " with " << Case.Verbs.Num() << " retry verbs";
	}
}

TEST_F(HostHTTPRetry, TimeoutDuringBackOffCompletesWithTheLastResponse)
{
	Server.On("GET", "/later", FReply::Text(503, "come back later").WithHeader("Retry-After", "30"));

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/later"), Codes({ 503 }), FRetryVerbs(), FRetryTimeoutRelativeSecondsSetting(0.5));
	auto Record = RecordCompletion(*Request);
	auto WillRetry = RecordWillRetry(*Request);
	const double Start = FPlatformTime::Seconds();
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record, 10.0));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(Record->CallsOffGameThread.load(), 0);
	EXPECT_TRUE(Record->bSucceeded);
	EXPECT_EQ(Record->Code(), 503);
	EXPECT_LT(Record->CompletedAtSeconds - Start, 10.0);
	EXPECT_EQ(Server.RequestCount("/later"), 1u);
	EXPECT_EQ(WillRetry->Count(), 1u);
	PumpFor(0.3);
	EXPECT_EQ(Record->Calls.load(), 1);
}

TEST_F(HostHTTPRetry, RetryTimeoutStopsASlowAttemptWithoutRetrying)
{
	Server.On("GET", "/slow", FReply::Text(200, "late").WithDelay(std::chrono::seconds(20)));

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/slow"), Codes({ 503 }), FRetryVerbs(), FRetryTimeoutRelativeSecondsSetting(0.4));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record, 10.0));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::TimedOut);
	EXPECT_EQ(Request->GetRetryStatus(), FRequest::EStatus::FailedTimeout);
	EXPECT_EQ(Server.RequestCount("/slow"), 1u);
}

TEST_F(HostHTTPRetry, CancelFromWillRetryCompletesOnceAsCancelled)
{
	Server.On("GET", "/down", FReply::Text(503, "down"));

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/down"), Codes({ 503 }));
	auto Record = RecordCompletion(*Request);
	int32 WillRetryCalls = 0;
	Request->OnRequestWillRetry().BindLambda([&WillRetryCalls](FHttpRequestPtr InRequest, FHttpResponsePtr, float)
	{
		++WillRetryCalls;
		InRequest->CancelRequest();
	});
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));
	PumpFor(0.3);

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(WillRetryCalls, 1);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_FALSE(Record->Response.IsValid());
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Cancelled);
	EXPECT_EQ(Server.RequestCount("/down"), 1u);
}

TEST_F(HostHTTPRetry, CancelInFlightCompletesOnceAsCancelled)
{
	Server.On("GET", "/slow", FReply::Text(200, "late").WithDelay(std::chrono::seconds(20)));

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/slow"), Codes({ 503 }));
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(PumpUntil([this] { return Server.RequestCount("/slow") == 1; }));
	Request->CancelRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_FALSE(Record->bSucceeded);
	EXPECT_EQ(Record->FailureReason, EHttpFailureReason::Cancelled);
	EXPECT_EQ(Request->GetRetryStatus(), FRequest::EStatus::Cancelled);
}

TEST_F(HostHTTPRetry, RetriedRequestSendsTheSameBodyAndHeaders)
{
	Server.OnSequence("POST", "/grant", { FReply::Text(503, "busy"), FReply::Json(201, R"({"ok":true})") });

	FRetryVerbs PostVerbs;
	PostVerbs.Add(FName(TEXT("POST")));
	auto Request = MakeRetryRequest(TEXT("POST"), Server.Url("/grant"), Codes({ 503 }), PostVerbs);
	const FString Payload = TEXT("{\"item\":\"\u00e9p\u00e9e \u2694\",\"count\":3}");
	Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
	Request->SetHeader(TEXT("Idempotency-Key"), TEXT("grant-42"));
	Request->SetContentAsString(Payload);
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(Record));

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(Record->Code(), 201);
	const std::vector<HttpTest::FRecordedRequest> Received = Server.Requests("/grant");
	ASSERT_EQ(Received.size(), 2u);
	for (const HttpTest::FRecordedRequest& Attempt : Received)
	{
		// Each attempt carries the whole payload as UTF-8 and the same key, once.
		EXPECT_EQ(Attempt.Body, ToStd(Payload));
		EXPECT_EQ(Attempt.HeaderCount("Idempotency-Key"), 1u);
		EXPECT_EQ(Attempt.Header("Idempotency-Key"), "grant-42");
		EXPECT_EQ(Attempt.Header("Content-Length"), std::to_string(ToStd(Payload).size()));
	}
}

TEST_F(HostHTTPRetry, RetryDomainsMoveOnAfterAConnectionError)
{
	Server.On("GET", "/items", FReply::Text(200, "from the second domain"));
	const std::string Refused = FServer::RefusedUrl("/items");
	const FString RefusedDomain = FPlatformHttp::GetUrlDomainAndPort(ToFString(Refused));
	const FString LiveDomain = FPlatformHttp::GetUrlDomainAndPort(ToFString(Server.Url("/")));
	ASSERT_FALSE(RefusedDomain.IsEmpty());
	ASSERT_NE(RefusedDomain, LiveDomain);

	TArray<FString> Domains;
	Domains.Add(RefusedDomain);
	Domains.Add(LiveDomain);
	const FRetryDomainsPtr RetryDomains = MakeShared<FRetryDomains, ESPMode::ThreadSafe>(MoveTemp(Domains));

	auto MakeDomainRequest = [&]()
	{
		TSharedRef<FRequest, ESPMode::ThreadSafe> Request = Manager->CreateRequest(FRetryLimitCountSetting(), FRetryTimeoutRelativeSecondsSetting(),
			FRetryResponseCodes(), FRetryVerbs(), RetryDomains, FRetryLimitCountSetting(), FastCurve());
		Request->SetVerb(TEXT("GET"));
		Request->SetURL(ToFString(Refused));
		return Request;
	};

	auto First = MakeDomainRequest();
	auto FirstRecord = RecordCompletion(*First);
	auto FirstWillRetry = RecordWillRetry(*First);
	First->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(FirstRecord));

	EXPECT_EQ(FirstRecord->Calls.load(), 1);
	EXPECT_EQ(FirstRecord->Code(), 200);
	EXPECT_EQ(FirstRecord->Body(), "from the second domain");
	ASSERT_EQ(FirstWillRetry->Count(), 1u);
	// Another domain is waiting: no back-off before trying it.
	EXPECT_EQ(FirstWillRetry->Delays[0], 0.0f);
	EXPECT_EQ(RetryDomains->ActiveIndex.Load(), 1);

	// The domain that answered stays active: the next request goes straight there.
	auto Second = MakeDomainRequest();
	auto SecondRecord = RecordCompletion(*Second);
	auto SecondWillRetry = RecordWillRetry(*Second);
	Second->ProcessRequest();
	ASSERT_TRUE(WaitForCompletion(SecondRecord));

	EXPECT_EQ(SecondRecord->Calls.load(), 1);
	EXPECT_EQ(SecondRecord->Code(), 200);
	EXPECT_EQ(SecondWillRetry->Count(), 0u);
	EXPECT_EQ(Server.RequestCount("/items"), 2u);
}

TEST_F(HostHTTPRetry, RetriesOnTheHttpThreadWithoutTicking)
{
	Server.OnSequence("GET", "/flaky", { FReply::Text(503, "down"), FReply::Text(200, "up") });

	auto Request = MakeRetryRequest(TEXT("GET"), Server.Url("/flaky"), Codes({ 503 }));
	Request->SetDelegateThreadPolicy(EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread);
	auto Record = RecordCompletion(*Request);
	Request->ProcessRequest();

	// The back-off is an HTTP-thread task: the retry and the completion need no game-thread tick.
	WaitWithoutTicking(*Record);

	EXPECT_EQ(Record->Calls.load(), 1);
	EXPECT_EQ(Record->CallsOffGameThread.load(), 1);
	EXPECT_EQ(Record->Code(), 200);
	EXPECT_EQ(Server.RequestCount("/flaky"), 2u);
	PumpFor(0.05);
	EXPECT_EQ(Record->Calls.load(), 1);
}

TEST(HostHTTPRetryBackoff, CurveGrowsExponentiallyWithJitterAndCap)
{
	FExponentialBackoffCurve Curve;
	EXPECT_TRUE(Curve.IsValid());
	// Defaults: 2 ** (N + 1) seconds with half jitter, at most 60.
	for (int32 Sample = 0; Sample < 200; ++Sample)
	{
		const float First = Curve.Compute(1);
		EXPECT_GE(First, 2.0f);
		EXPECT_LE(First, 4.0f);
		const float Third = Curve.Compute(3);
		EXPECT_GE(Third, 8.0f);
		EXPECT_LE(Third, 16.0f);
		EXPECT_LE(Curve.Compute(20), 60.0f);
	}

	FExponentialBackoffCurve NoJitter;
	NoJitter.MinCoefficient = 0.0f;
	NoJitter.MaxCoefficient = 0.0f;
	EXPECT_FALSE(NoJitter.IsValid());
	EXPECT_FLOAT_EQ(NoJitter.Compute(1), 4.0f);
	EXPECT_FLOAT_EQ(NoJitter.Compute(2), 8.0f);
	EXPECT_FLOAT_EQ(NoJitter.Compute(10), 60.0f);

	FExponentialBackoffCurve Invalid;
	Invalid.Base = 1.0f;
	EXPECT_FALSE(Invalid.IsValid());
	Invalid = FExponentialBackoffCurve();
	Invalid.MinCoefficient = 0.8f;
	Invalid.MaxCoefficient = 0.5f;
	EXPECT_FALSE(Invalid.IsValid());
}
