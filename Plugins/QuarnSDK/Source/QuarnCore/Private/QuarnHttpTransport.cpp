// Copyright Quarn. All Rights Reserved.

#include "QuarnHttpTransport.h"
#include "QuarnCoreStats.h"
#include "HAL/PlatformTime.h"
#include "HttpModule.h"
#include "HttpRetrySystem.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"

namespace QuarnHttpTransport
{
	/** When the attempt now on the wire started, for telling a time-out from a refused connection. */
	struct FAttemptClock
	{
		double StartSeconds = 0.0;
		int32 Attempts = 1;
	};

	/**
	 * The back-off before retry N (counted from 1): 2^N seconds times a random factor in
	 * [1/16, 1/8], so about 0.2 s, 0.4 s and 0.8 s, never more than 2 s. A game waits on these
	 * requests, so the waits stay short; a server that needs longer says so with Retry-After.
	 */
	static FHttpRetrySystem::FExponentialBackoffCurve BackoffCurve()
	{
		FHttpRetrySystem::FExponentialBackoffCurve Curve;
		Curve.Base = 2.0f;
		Curve.ExponentBias = 0.0f;
		Curve.MinCoefficient = 0.0625f;
		Curve.MaxCoefficient = 0.125f;
		Curve.MaxBackoffSeconds = 2.0f;
		return Curve;
	}

	static FQuarnHttpResponse ToResponse(const FHttpRequestPtr& Finished, const FHttpResponsePtr& HttpResponse, const bool bProcessedSuccessfully, const bool bAttemptOutlivedTimeout)
	{
		FQuarnHttpResponse Response;
		if (bProcessedSuccessfully && HttpResponse.IsValid() && HttpResponse->GetResponseCode() > 0)
		{
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = HttpResponse->GetResponseCode();
			// The bytes as they came: the client decodes and parses them, away from the game thread
			// when the answer is large.
			Response.Content = MakeShared<TArray<uint8>, ESPMode::ThreadSafe>(HttpResponse->GetContent());
			Response.RequestId = HttpResponse->GetHeader(TEXT("X-Request-Id"));
			// Seconds or an HTTP date, read as the engine's retry manager reads it for its own waits,
			// so that a caller that tries again later honours the same wait.
			const TOptional<double> RetryAfter = FHttpRetrySystem::ReadThrottledTimeFromResponseInSeconds(HttpResponse);
			if (RetryAfter.IsSet() && RetryAfter.GetValue() > 0.0)
			{
				Response.RetryAfterSeconds = static_cast<float>(RetryAfter.GetValue());
			}
			return Response;
		}

		const EHttpFailureReason Reason = Finished.IsValid() ? Finished->GetFailureReason() : EHttpFailureReason::Other;
		switch (Reason)
		{
		case EHttpFailureReason::TimedOut:
			Response.Result = EQuarnTransportResult::TimedOut;
			break;
		case EHttpFailureReason::Cancelled:
			Response.Result = EQuarnTransportResult::Cancelled;
			break;
		case EHttpFailureReason::ConnectionError:
			// The engine reports an expired activity time-out as a connection error.
			Response.Result = bAttemptOutlivedTimeout ? EQuarnTransportResult::TimedOut : EQuarnTransportResult::ConnectionFailed;
			break;
		default:
			Response.Result = EQuarnTransportResult::ConnectionFailed;
			break;
		}
		return Response;
	}
}

FQuarnHttpTransport::~FQuarnHttpTransport() = default;

bool FQuarnHttpTransport::IsSafeToRetry(const FQuarnHttpRequest& Request)
{
	return Request.Verb.Equals(TEXT("GET"), ESearchCase::CaseSensitive) || !Request.GetHeader(TEXT("Idempotency-Key")).IsEmpty();
}

FHttpRetrySystem::FManager& FQuarnHttpTransport::GetRetryManager()
{
	if (!RetryManager.IsValid())
	{
		// Limits are given per request; the manager's defaults are never used.
		RetryManager = MakeShared<FHttpRetrySystem::FManager, ESPMode::ThreadSafe>(FHttpRetrySystem::FRetryLimitCountSetting(), FHttpRetrySystem::FRetryTimeoutRelativeSecondsSetting());
	}
	return *RetryManager;
}

void FQuarnHttpTransport::Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone)
{
	const bool bRetry = IsSafeToRetry(Request);

	TSharedPtr<IHttpRequest, ESPMode::ThreadSafe> HttpRequest;
	if (bRetry)
	{
		FHttpRetrySystem::FRetryResponseCodes RetryCodes;
		RetryCodes.Add(429);
		RetryCodes.Add(503);
		// The request may have reached the platform before the connection broke; repeating it is
		// safe for this verb here because it reads, or because its key makes the platform answer a
		// repeat from the first result.
		FHttpRetrySystem::FRetryVerbs RetryVerbs;
		RetryVerbs.Add(FName(*Request.Verb));
		HttpRequest = GetRetryManager().CreateRequest(
			FHttpRetrySystem::RetryLimitCount(MaxRetries),
			FHttpRetrySystem::FRetryTimeoutRelativeSecondsSetting(),
			RetryCodes,
			RetryVerbs,
			FHttpRetrySystem::FRetryDomainsPtr(),
			FHttpRetrySystem::FRetryLimitCountSetting(),
			QuarnHttpTransport::BackoffCurve());
	}
	else
	{
		HttpRequest = FHttpModule::Get().CreateRequest();
	}

	HttpRequest->SetVerb(Request.Verb);
	HttpRequest->SetURL(Request.Url);
	for (const TPair<FString, FString>& Header : Request.Headers)
	{
		HttpRequest->SetHeader(Header.Key, Header.Value);
	}
	if (!Request.Body.IsEmpty())
	{
		HttpRequest->SetContentAsString(Request.Body);
	}

	const float TimeoutSeconds = Request.TimeoutSeconds;
	if (TimeoutSeconds > 0.0f)
	{
		if (bRetry)
		{
			// A total time-out would span every attempt and end the retries; each attempt gets
			// its own limit instead, as time without any answer.
			HttpRequest->SetActivityTimeout(TimeoutSeconds);
		}
		else
		{
			HttpRequest->SetTimeout(TimeoutSeconds);
		}
	}

	const TSharedRef<QuarnHttpTransport::FAttemptClock> Clock = MakeShared<QuarnHttpTransport::FAttemptClock>();
	if (bRetry)
	{
		HttpRequest->OnRequestWillRetry().BindLambda([Clock](FHttpRequestPtr, FHttpResponsePtr, float SecondsToRetry)
		{
			Clock->StartSeconds = FPlatformTime::Seconds() + FMath::Max(SecondsToRetry, 0.0f);
			++Clock->Attempts;
			INC_DWORD_STAT(STAT_QuarnRetries);
		});
	}

	HttpRequest->OnProcessRequestComplete().BindLambda([OnDone = MoveTemp(OnDone), Clock, TimeoutSeconds](FHttpRequestPtr Finished, FHttpResponsePtr HttpResponse, bool bProcessedSuccessfully)
	{
		const bool bAttemptOutlivedTimeout = TimeoutSeconds > 0.0f && FPlatformTime::Seconds() - Clock->StartSeconds >= TimeoutSeconds;
		FQuarnHttpResponse Response = QuarnHttpTransport::ToResponse(Finished, HttpResponse, bProcessedSuccessfully, bAttemptOutlivedTimeout);
		Response.Attempts = Clock->Attempts;
		OnDone(Response);
	});

	Clock->StartSeconds = FPlatformTime::Seconds();
	HttpRequest->ProcessRequest();
}
