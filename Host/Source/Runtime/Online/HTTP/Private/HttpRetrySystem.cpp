// Copyright Quarn. All Rights Reserved.

#include "HttpRetrySystem.h"

#include "GenericPlatform/HttpRequestCommon.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Http.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Math/UnrealMathUtility.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/ScopeLock.h"

#include <ctime>

namespace UE::Http::Private
{
	// The engine's console variables http.CancelSupportDuringWillRetryDelegate and
	// http.CancelSupportDuringBackOffEnabled, at their defaults (this platform has no console).
	constexpr bool bCancelSupportDuringWillRetryDelegate = true;
	constexpr bool bCancelSupportDuringBackOffEnabled = false;

	/** Seconds since the Unix epoch, now. */
	double UtcNowUnixSeconds()
	{
		timespec Now;
		clock_gettime(CLOCK_REALTIME, &Now);
		return static_cast<double>(Now.tv_sec) + static_cast<double>(Now.tv_nsec) / 1.0e9;
	}

	/**
	 * Parses an HTTP date (RFC 9110 section 5.6.7) into Unix seconds: IMF-fixdate
	 * "Sun, 06 Nov 1994 08:49:37 GMT", obsolete RFC 850 "Sunday, 06-Nov-94 08:49:37 GMT" and asctime
	 * "Sun Nov  6 08:49:37 1994".
	 */
	bool ParseHttpDate(const FString& HttpDate, double& OutUnixSeconds)
	{
		const FTCHARToUTF8 Utf8(*HttpDate, HttpDate.Len());
		const FAnsiStringView Text(reinterpret_cast<const ANSICHAR*>(Utf8.Get()), Utf8.Length());
		const ANSICHAR* const Months[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };

		char Buffer[64] = {};
		if (Utf8.Length() <= 0 || Utf8.Length() >= static_cast<int32>(sizeof(Buffer)))
		{
			return false;
		}
		FMemory::Memcpy(Buffer, Utf8.Get(), Utf8.Length());

		char WeekDay[16] = {};
		char Month[4] = {};
		int Day = 0;
		int Year = 0;
		int Hour = 0;
		int Minute = 0;
		int Second = 0;
		int Consumed = 0;
		bool bParsed = false;
		if (std::sscanf(Buffer, "%15[A-Za-z], %2d %3s %4d %2d:%2d:%2d GMT%n", WeekDay, &Day, Month, &Year, &Hour, &Minute, &Second, &Consumed) == 7 && Consumed == Utf8.Length())
		{
			bParsed = true;
		}
		else if (std::sscanf(Buffer, "%15[A-Za-z], %2d-%3s-%2d %2d:%2d:%2d GMT%n", WeekDay, &Day, Month, &Year, &Hour, &Minute, &Second, &Consumed) == 7 && Consumed == Utf8.Length())
		{
			// Two-digit years: 70-99 are the 1900s, as for Unix times.
			Year += Year < 70 ? 2000 : 1900;
			bParsed = true;
		}
		else if (std::sscanf(Buffer, "%15[A-Za-z] %3s %2d %2d:%2d:%2d %4d%n", WeekDay, Month, &Day, &Hour, &Minute, &Second, &Year, &Consumed) == 7 && Consumed == Utf8.Length())
		{
			bParsed = true;
		}
		if (!bParsed || Text.IsEmpty())
		{
			return false;
		}

		int MonthIndex = -1;
		for (int Index = 0; Index < 12; ++Index)
		{
			if (FCStringAnsi::Strcmp(Month, Months[Index]) == 0)
			{
				MonthIndex = Index;
				break;
			}
		}
		if (MonthIndex < 0 || Day < 1 || Day > 31 || Hour > 23 || Minute > 59 || Second > 60)
		{
			return false;
		}

		tm Time = {};
		Time.tm_year = Year - 1900;
		Time.tm_mon = MonthIndex;
		Time.tm_mday = Day;
		Time.tm_hour = Hour;
		Time.tm_min = Minute;
		Time.tm_sec = Second;
		OutUnixSeconds = static_cast<double>(timegm(&Time));
		return true;
	}
}

namespace FHttpRetrySystem
{

TOptional<double> ReadThrottledTimeFromResponseInSeconds(FHttpResponsePtr Response)
{
	TOptional<double> LockoutPeriod;
	if (Response.IsValid())
	{
		const FString RetryAfter = Response->GetHeader(TEXT("Retry-After"));
		if (!RetryAfter.IsEmpty())
		{
			if (RetryAfter.IsNumeric())
			{
				// Delay in seconds.
				LockoutPeriod.Emplace(FCString::Atof(*RetryAfter));
			}
			else
			{
				// An HTTP date.
				double ServerUnixSeconds = 0.0;
				if (UE::Http::Private::ParseHttpDate(RetryAfter, ServerUnixSeconds))
				{
					LockoutPeriod.Emplace(ServerUnixSeconds - UE::Http::Private::UtcNowUnixSeconds());
				}
			}
		}
		else
		{
			const FString RateLimitReset = Response->GetHeader(TEXT("X-Rate-Limit-Reset"));
			if (!RateLimitReset.IsEmpty())
			{
				// A Unix time.
				const double ServerUnixSeconds = static_cast<double>(FCString::Atoi64(*RateLimitReset));
				LockoutPeriod.Emplace(ServerUnixSeconds - UE::Http::Private::UtcNowUnixSeconds());
			}
		}
	}
	return LockoutPeriod;
}

bool FExponentialBackoffCurve::IsValid() const
{
	return Base > 1.0f
		&& ExponentBias >= 0.0f
		&& MinCoefficient <= MaxCoefficient
		&& MaxCoefficient > 0.001f
		&& MinCoefficient >= 0.0f;
}

float FExponentialBackoffCurve::Compute(uint32 RetryNumber) const
{
	const float BackOff = FMath::Pow(Base, static_cast<float>(RetryNumber) + ExponentBias);
	const float Coefficient = IsValid() ? FMath::RandRange(MinCoefficient, MaxCoefficient) : 1.0f;
	return FMath::Min(BackOff * Coefficient, MaxBackoffSeconds);
}

}

FHttpRetrySystem::FRequest::FRequest(
	TSharedRef<FManager, ESPMode::ThreadSafe> InManager,
	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe>& InHttpRequest,
	const FRetryLimitCountSetting& InRetryLimitCountOverride,
	const FRetryTimeoutRelativeSecondsSetting& InRetryTimeoutRelativeSecondsOverride,
	const FRetryResponseCodes& InRetryResponseCodes,
	const FRetryVerbs& InRetryVerbs,
	const FRetryDomainsPtr& InRetryDomains,
	const FRetryLimitCountSetting& InRetryLimitCountForConnectionErrorOverride,
	const FExponentialBackoffCurve& InExponentialBackoffCurve)
	: FHttpRequestAdapterBase(InHttpRequest)
	, RetryStatus(EStatus::NotStarted)
	, RetryLimitCountOverride(InRetryLimitCountOverride)
	, RetryLimitCountForConnectionErrorOverride(InRetryLimitCountForConnectionErrorOverride)
	, RetryTimeoutRelativeSecondsOverride(InRetryTimeoutRelativeSecondsOverride)
	, RetryResponseCodes(InRetryResponseCodes)
	, RetryVerbs(InRetryVerbs)
	, RetryDomains(InRetryDomains)
	, RetryManager(InManager)
	, RetryExponentialBackoffCurve(InExponentialBackoffCurve)
{
	check(!InRetryTimeoutRelativeSecondsOverride.IsSet() || InRetryTimeoutRelativeSecondsOverride.GetValue() >= 0.0);

	if (RetryDomains.IsValid())
	{
		if (RetryDomains->Domains.Num() == 0)
		{
			// Nothing to cycle through.
			RetryDomains.Reset();
		}
		else
		{
			RetryDomainsIndex = RetryDomains->ActiveIndex;
			check(RetryDomains->Domains.IsValidIndex(RetryDomainsIndex));
		}
	}
}

void FHttpRetrySystem::FRequest::BindAdaptorDelegates()
{
	if (!bBoundAdaptorDelegates)
	{
		bBoundAdaptorDelegates = true;

		// Bound here rather than in the constructor: AsShared() is not available there, and a
		// thread-safe weak binding survives this request being destroyed in its own callback.
		const TSharedRef<FRequest, ESPMode::ThreadSafe> Self = StaticCastSharedRef<FRequest>(AsShared());
		HttpRequest->OnProcessRequestComplete().BindThreadSafeSP(Self, &FHttpRetrySystem::FRequest::HttpOnProcessRequestComplete);
		HttpRequest->OnRequestProgress64().BindThreadSafeSP(Self, &FHttpRetrySystem::FRequest::HttpOnRequestProgress);
		HttpRequest->OnStatusCodeReceived().BindThreadSafeSP(Self, &FHttpRetrySystem::FRequest::HttpOnStatusCodeReceived);
		HttpRequest->OnHeaderReceived().BindThreadSafeSP(Self, &FHttpRetrySystem::FRequest::HttpOnHeaderReceived);
	}
}

bool FHttpRetrySystem::FRequest::ProcessRequest()
{
	TSharedRef<FRequest, ESPMode::ThreadSafe> RetryRequest = StaticCastSharedRef<FRequest>(AsShared());

	OriginalUrl = HttpRequest->GetURL();

	if (RetryDomains.IsValid() && !RetryDomains->Domains.IsEmpty())
	{
		// The URL's own domain is tried first.
		FString OriginalUrlDomainAndPort = FPlatformHttp::GetUrlDomainAndPort(OriginalUrl);
		const int32 Index = RetryDomains->Domains.Find(OriginalUrlDomainAndPort);
		if (Index == INDEX_NONE)
		{
			RetryDomains->Domains.Insert(MoveTemp(OriginalUrlDomainAndPort), 0);
		}
		else if (Index > 0)
		{
			RetryDomains->Domains.RemoveAt(Index);
			RetryDomains->Domains.Insert(MoveTemp(OriginalUrlDomainAndPort), 0);
		}
	}

	// Domains that failed to connect before are skipped.
	if (RetryDomains.IsValid())
	{
		SetUrlFromRetryDomains();
	}

	BindAdaptorDelegates();

	TSharedPtr<FManager, ESPMode::ThreadSafe> RetryManagerPtr = RetryManager.Pin();
	if (ensure(RetryManagerPtr))
	{
		return RetryManagerPtr->ProcessRequest(RetryRequest);
	}
	return false;
}

void FHttpRetrySystem::FRequest::SetUrlFromRetryDomains()
{
	check(RetryDomains.IsValid());
	const FString OriginalUrlDomainAndPort = FPlatformHttp::GetUrlDomainAndPort(OriginalUrl);
	if (!OriginalUrlDomainAndPort.IsEmpty())
	{
		const FString Url(OriginalUrl.Replace(*OriginalUrlDomainAndPort, *RetryDomains->Domains[RetryDomainsIndex]));
		HttpRequest->SetURL(Url);
	}
}

void FHttpRetrySystem::FRequest::MoveToNextRetryDomain()
{
	check(RetryDomains.IsValid());
	const int32 NextDomainIndex = (RetryDomainsIndex + 1) % RetryDomains->Domains.Num();
	int32 ExpectedIndex = RetryDomainsIndex;
	if (RetryDomains->ActiveIndex.CompareExchange(ExpectedIndex, NextDomainIndex))
	{
		RetryDomainsIndex = NextDomainIndex;

		// The active domain is remembered only when both config names were given.
		if (GConfig && !RetryDomains->ConfigSection.IsEmpty() && !RetryDomains->ConfigKeyName.IsEmpty())
		{
			GConfig->RemoveKey(*RetryDomains->ConfigSection, *RetryDomains->ConfigKeyName, GGameUserSettingsIni);
			if (RetryDomains->ActiveIndex > 0)
			{
				GConfig->SetString(*RetryDomains->ConfigSection, *RetryDomains->ConfigKeyName, *RetryDomains->Domains[RetryDomains->ActiveIndex], GGameUserSettingsIni);
			}
		}
	}
	SetUrlFromRetryDomains();
}

void FHttpRetrySystem::FRequest::CancelRequest()
{
	TSharedRef<FRequest, ESPMode::ThreadSafe> RetryRequest = StaticCastSharedRef<FRequest>(AsShared());

	BindAdaptorDelegates();

	if (TSharedPtr<FManager, ESPMode::ThreadSafe> RetryManagerPtr = RetryManager.Pin())
	{
		RetryManagerPtr->CancelRequest(RetryRequest);
	}
	else
	{
		HttpRequest->CancelRequest();
	}
}

void FHttpRetrySystem::FRequest::HttpOnRequestProgress(FHttpRequestPtr InHttpRequest, uint64 BytesSent, uint64 BytesRcv)
{
	OnRequestProgress64().ExecuteIfBound(AsShared(), BytesSent, BytesRcv);
}

void FHttpRetrySystem::FRequest::HttpOnProcessRequestComplete(FHttpRequestPtr InHttpRequest, FHttpResponsePtr HttpResponse, bool bSucceeded)
{
	TSharedPtr<FManager, ESPMode::ThreadSafe> RetryManagerPtr = RetryManager.Pin();
	if (!RetryManagerPtr)
	{
		return;
	}

	// Keeps this request alive once the manager lets go of it.
	TSharedRef<FRequest, ESPMode::ThreadSafe> SelfPtr = StaticCastSharedRef<FRequest>(AsShared());

	{
		FScopeLock ScopeLock(&RetryManagerPtr->RequestListLock);

		const int32 EntryIndex = RetryManagerPtr->RequestList.IndexOfByPredicate([this](const FManager::FHttpRetryRequestEntry& Entry) { return &Entry.Request.Get() == this; });
		if (ensure(EntryIndex != INDEX_NONE))
		{
			FManager::FHttpRetryRequestEntry& HttpRetryRequestEntry = RetryManagerPtr->RequestList[EntryIndex];

			const bool bCancelled = (RetryStatus == EStatus::Cancelled) || (GetFailureReason() == EHttpFailureReason::Cancelled);
			if (bCancelled)
			{
				// Completes below, as cancelled.
			}
			else if (GetStatus() == EHttpRequestStatus::Failed)
			{
				if (GetFailureReason() == EHttpFailureReason::ConnectionError && RetryDomains.IsValid())
				{
					MoveToNextRetryDomain();
				}
				RetryStatus = GetFailureReason() == EHttpFailureReason::TimedOut ? EStatus::FailedTimeout : EStatus::FailedRetry;
			}
			else
			{
				RetryStatus = EStatus::Succeeded;
			}

			if (!bCancelled
				&& RetryStatus != EStatus::FailedTimeout
				&& RetryManagerPtr->ShouldRetry(HttpRetryRequestEntry)
				&& RetryManagerPtr->CanRetry(HttpRetryRequestEntry))
			{
				const float LockoutPeriod = RetryManagerPtr->GetLockoutPeriodSeconds(HttpRetryRequestEntry);

				OnRequestWillRetry().ExecuteIfBound(HttpRetryRequestEntry.Request, GetResponse(), LockoutPeriod);

				if (UE::Http::Private::bCancelSupportDuringWillRetryDelegate && RetryStatus == EStatus::Cancelled)
				{
					// Cancelled from the will-retry delegate: complete now, as cancelled.
					TSharedRef<FHttpRequestCommon, ESPMode::ThreadSafe> RequestCommon = StaticCastSharedRef<FHttpRequestCommon>(HttpRequest);
					RequestCommon->SetFailureReason(EHttpFailureReason::Cancelled);
					RequestCommon->SetStatus(EHttpRequestStatus::Failed);
					HttpResponse.Reset();
					bSucceeded = false;
				}
				else
				{
					RetryStatus = EStatus::ProcessingLockout;
					RetryManagerPtr->RetryHttpRequestWithDelay(HttpRetryRequestEntry, LockoutPeriod, bSucceeded);
					return;
				}
			}

			if (HttpRetryRequestEntry.CurrentRetryCount > 0)
			{
				FManager::FHttpLogVerbosityTracker::Get().DecrementRetriedRequests();
			}

			RetryManagerPtr->RequestList.RemoveAtSwap(EntryIndex);
		}
	}

	FHttpResponsePtr ResultResponse = HttpResponse;
	bool bResultSucceeded = bSucceeded;
	if (RetryStatus == EStatus::FailedTimeout && LastResponse != nullptr)
	{
		// After a time-out the last response received beats none.
		ResultResponse = LastResponse;
		LastResponse.Reset();
		bResultSucceeded = bLastSucceeded;
	}

	OnProcessRequestComplete().ExecuteIfBound(SelfPtr, ResultResponse, bResultSucceeded);

	ClearTimeout();
}

void FHttpRetrySystem::FRequest::HttpOnStatusCodeReceived(FHttpRequestPtr Request, int32 StatusCode)
{
	TSharedRef<FRequest, ESPMode::ThreadSafe> SelfPtr = StaticCastSharedRef<FRequest>(AsShared());
	OnStatusCodeReceived().ExecuteIfBound(SelfPtr, StatusCode);
}

void FHttpRetrySystem::FRequest::HttpOnHeaderReceived(FHttpRequestPtr Request, const FString& HeaderName, const FString& NewHeaderValue)
{
	TSharedRef<FRequest, ESPMode::ThreadSafe> SelfPtr = StaticCastSharedRef<FRequest>(AsShared());
	OnHeaderReceived().ExecuteIfBound(SelfPtr, HeaderName, NewHeaderValue);
}

FHttpRetrySystem::FManager::FManager(
	const FRetryLimitCountSetting& InRetryLimitCountDefault,
	const FRetryTimeoutRelativeSecondsSetting& InRetryTimeoutRelativeSecondsDefault,
	const FRetryLimitCountSetting& InRetryLimitCountForConnectionErrorDefault)
	: RandomFailureRate(FRandomFailureRateSetting())
	, RetryLimitCountDefault(InRetryLimitCountDefault)
	, RetryLimitCountForConnectionErrorDefault(InRetryLimitCountForConnectionErrorDefault)
	, RetryTimeoutRelativeSecondsDefault(InRetryTimeoutRelativeSecondsDefault)
{
	check(FHttpModule::Get().GetHttpManager().GetThread());
}

FHttpRetrySystem::FManager::~FManager()
{
	FScopeLock ScopeLock(&RequestListLock);
	for (const FHttpRetryRequestEntry& Request : RequestList)
	{
		if (Request.CurrentRetryCount > 0)
		{
			FHttpLogVerbosityTracker::Get().DecrementRetriedRequests();
		}
	}
}

TSharedRef<FHttpRetrySystem::FRequest, ESPMode::ThreadSafe> FHttpRetrySystem::FManager::CreateRequest(
	const FRetryLimitCountSetting& InRetryLimitCountOverride,
	const FRetryTimeoutRelativeSecondsSetting& InRetryTimeoutRelativeSecondsOverride,
	const FRetryResponseCodes& InRetryResponseCodes,
	const FRetryVerbs& InRetryVerbs,
	const FRetryDomainsPtr& InRetryDomains,
	const FRetryLimitCountSetting& InRetryLimitCountForConnectionErrorOverride,
	const FExponentialBackoffCurve& InExponentialBackoffCurve)
{
	return MakeShareable(new FRequest(
		AsShared(),
		FHttpModule::Get().CreateRequest(),
		InRetryLimitCountOverride,
		InRetryTimeoutRelativeSecondsOverride,
		InRetryResponseCodes,
		InRetryVerbs,
		InRetryDomains,
		InRetryLimitCountForConnectionErrorOverride,
		InExponentialBackoffCurve));
}

bool FHttpRetrySystem::FManager::ShouldRetry(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const
{
	const FHttpResponsePtr Response = HttpRetryRequestEntry.Request->GetResponse();
	if (Response)
	{
		return HttpRetryRequestEntry.Request->RetryResponseCodes.Contains(Response->GetResponseCode());
	}

	// Without any response: a connection that was never made is always safe to retry. Otherwise
	// the request may have reached the server, so only verbs safe to repeat are retried.
	if (HttpRetryRequestEntry.Request->GetStatus() != EHttpRequestStatus::Failed)
	{
		return false;
	}

	if (HttpRetryRequestEntry.Request->GetFailureReason() == EHttpFailureReason::ConnectionError)
	{
		return true;
	}

	const FName Verb = FName(*HttpRetryRequestEntry.Request->GetVerb());
	if (!HttpRetryRequestEntry.Request->RetryVerbs.IsEmpty())
	{
		return HttpRetryRequestEntry.Request->RetryVerbs.Contains(Verb);
	}

	// GET and HEAD by default, even though the server may see them twice.
	static const TSet<FName> DefaultRetryVerbs = []()
	{
		TSet<FName> Verbs;
		Verbs.Add(FName(TEXT("GET")));
		Verbs.Add(FName(TEXT("HEAD")));
		return Verbs;
	}();
	return DefaultRetryVerbs.Contains(Verb);
}

bool FHttpRetrySystem::FManager::RetryLimitForConnectionErrorIsSet(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const
{
	return HttpRetryRequestEntry.Request->RetryLimitCountForConnectionErrorOverride.IsSet() || RetryLimitCountForConnectionErrorDefault.IsSet();
}

bool FHttpRetrySystem::FManager::CanRetryForConnectionError(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const
{
	const uint32 RetryLimitForConnectionError = HttpRetryRequestEntry.Request->RetryLimitCountForConnectionErrorOverride.Get(RetryLimitCountForConnectionErrorDefault.Get(0));
	return HttpRetryRequestEntry.CurrentRetryCountForConnectionError < RetryLimitForConnectionError;
}

bool FHttpRetrySystem::FManager::CanRetryInGeneral(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const
{
	const uint32 RetryLimit = HttpRetryRequestEntry.Request->RetryLimitCountOverride.Get(RetryLimitCountDefault.Get(0));
	return HttpRetryRequestEntry.CurrentRetryCount < RetryLimit;
}

bool FHttpRetrySystem::FManager::CanRetry(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const
{
	if (HttpRetryRequestEntry.Request->GetFailureReason() == EHttpFailureReason::ConnectionError && RetryLimitForConnectionErrorIsSet(HttpRetryRequestEntry))
	{
		return CanRetryForConnectionError(HttpRetryRequestEntry);
	}
	return CanRetryInGeneral(HttpRetryRequestEntry);
}

bool FHttpRetrySystem::FManager::HasTimedOut(const FHttpRetryRequestEntry& HttpRetryRequestEntry, const double NowAbsoluteSeconds)
{
	double RetryTimeoutAbsoluteSeconds = HttpRetryRequestEntry.RequestStartTimeAbsoluteSeconds;
	if (HttpRetryRequestEntry.Request->RetryTimeoutRelativeSecondsOverride.IsSet())
	{
		RetryTimeoutAbsoluteSeconds += HttpRetryRequestEntry.Request->RetryTimeoutRelativeSecondsOverride.GetValue();
	}
	else if (RetryTimeoutRelativeSecondsDefault.IsSet())
	{
		RetryTimeoutAbsoluteSeconds += RetryTimeoutRelativeSecondsDefault.GetValue();
	}
	else
	{
		return false;
	}
	return NowAbsoluteSeconds >= RetryTimeoutAbsoluteSeconds;
}

void FHttpRetrySystem::FManager::RetryHttpRequest(FHttpRetryRequestEntry& RequestEntry)
{
	if (RequestEntry.CurrentRetryCount == 0)
	{
		FHttpLogVerbosityTracker::Get().IncrementRetriedRequests();
	}
	++RequestEntry.CurrentRetryCount;
	if (RequestEntry.Request->LastFailureReason == EHttpFailureReason::ConnectionError)
	{
		++RequestEntry.CurrentRetryCountForConnectionError;
	}
	RequestEntry.Request->RetryStatus = FRequest::EStatus::Processing;

	if (const FHttpResponsePtr Response = RequestEntry.Request->LastResponse)
	{
		const int32 ResponseCode = Response->GetResponseCode();
		if (ResponseCode < 400)
		{
			UE_LOG(LogHttp, Log, TEXT("Retry %d on %s with response %d"), RequestEntry.CurrentRetryCount, *RequestEntry.Request->GetURL(), ResponseCode);
		}
		else
		{
			UE_LOG(LogHttp, Warning, TEXT("Retry %d on %s with response %d"), RequestEntry.CurrentRetryCount, *RequestEntry.Request->GetURL(), ResponseCode);
		}
	}
	else
	{
		UE_LOG(LogHttp, Warning, TEXT("Retry %d on %s"), RequestEntry.CurrentRetryCount, *RequestEntry.Request->GetURL());
	}

	// A retry that cannot start completes as failed, which the retry logic then handles.
	RequestEntry.Request->HttpRequest->ProcessRequest();
}

void FHttpRetrySystem::FManager::RetryHttpRequestWithDelay(FManager::FHttpRetryRequestEntry& RequestEntry, float InDelay, bool bWasSucceeded)
{
	RequestEntry.Request->LastResponse = RequestEntry.Request->GetResponse();
	RequestEntry.Request->LastFailureReason = RequestEntry.Request->GetFailureReason();
	RequestEntry.Request->bLastSucceeded = bWasSucceeded;

	// A request that would time out during the wait completes when it would time out, with this result.
	const float TimeoutOrDefault = RequestEntry.Request->GetTimeout().Get(FHttpModule::Get().GetHttpTotalTimeout());
	if (TimeoutOrDefault != 0.0f)
	{
		const float TimeElapsedForTheRequest = static_cast<float>(FPlatformTime::Seconds() - RequestEntry.RequestStartTimeAbsoluteSeconds);
		const float WillTimeoutInDelay = TimeoutOrDefault - TimeElapsedForTheRequest;
		if (WillTimeoutInDelay < InDelay)
		{
			HttpRequestTimeoutAfterDelay(RequestEntry, bWasSucceeded, WillTimeoutInDelay);
			return;
		}
	}

	if (UE::Http::Private::bCancelSupportDuringBackOffEnabled)
	{
		// Nothing reads the old response from here on; clearing it lets a cancel during the wait work.
		StaticCastSharedRef<FHttpRequestCommon>(RequestEntry.Request->HttpRequest)->ClearInCaseOfRetry();
	}

	TWeakPtr<FRequest, ESPMode::ThreadSafe> RequestWeakPtr(RequestEntry.Request);
	FHttpModule::Get().GetHttpManager().AddHttpThreadTask([RequestWeakPtr]()
	{
		if (TSharedPtr<FRequest, ESPMode::ThreadSafe> RequestPtr = RequestWeakPtr.Pin())
		{
			if (TSharedPtr<FManager, ESPMode::ThreadSafe> RetryManagerPtr = RequestPtr->RetryManager.Pin())
			{
				FScopeLock ScopeLock(&RetryManagerPtr->RequestListLock);
				// Still there unless it was cancelled during the wait.
				const int32 EntryIndex = RetryManagerPtr->RequestList.IndexOfByPredicate([&RequestPtr](const FManager::FHttpRetryRequestEntry& Entry) { return &Entry.Request.Get() == RequestPtr.Get(); });
				if (EntryIndex != INDEX_NONE)
				{
					FManager::FHttpRetryRequestEntry& HttpRetryRequestEntry = RetryManagerPtr->RequestList[EntryIndex];
					if (!UE::Http::Private::bCancelSupportDuringBackOffEnabled || HttpRetryRequestEntry.Request->RetryStatus != FRequest::EStatus::Cancelled)
					{
						RetryManagerPtr->RetryHttpRequest(HttpRetryRequestEntry);
					}
				}
			}
		}
	}, InDelay);
}

void FHttpRetrySystem::FManager::HttpRequestTimeoutAfterDelay(FManager::FHttpRetryRequestEntry& RequestEntry, bool bWasSucceeded, float Delay)
{
	TWeakPtr<FRequest, ESPMode::ThreadSafe> RequestWeakPtr(RequestEntry.Request);
	TFunction<void()> Callback([RequestWeakPtr, bWasSucceeded]()
	{
		if (TSharedPtr<FRequest, ESPMode::ThreadSafe> RequestPtr = RequestWeakPtr.Pin())
		{
			if (TSharedPtr<FManager, ESPMode::ThreadSafe> RetryManagerPtr = RequestPtr->RetryManager.Pin())
			{
				FScopeLock ScopeLock(&RetryManagerPtr->RequestListLock);
				const int32 EntryIndex = RetryManagerPtr->RequestList.IndexOfByPredicate([&RequestPtr](const FManager::FHttpRetryRequestEntry& Entry) { return &Entry.Request.Get() == RequestPtr.Get(); });
				if (EntryIndex != INDEX_NONE)
				{
					if (RetryManagerPtr->RequestList[EntryIndex].CurrentRetryCount > 0)
					{
						FHttpLogVerbosityTracker::Get().DecrementRetriedRequests();
					}
					RetryManagerPtr->RequestList.RemoveAtSwap(EntryIndex);
				}
			}

			// Times out with the result of the attempt before the wait.
			RequestPtr->OnProcessRequestComplete().ExecuteIfBound(RequestPtr, RequestPtr->GetResponse(), bWasSucceeded);
		}
	});

	if (RequestEntry.Request->GetDelegateThreadPolicy() == EHttpRequestDelegateThreadPolicy::CompleteOnGameThread)
	{
		FHttpModule::Get().GetHttpManager().AddGameThreadTask(MoveTemp(Callback), Delay);
	}
	else
	{
		FHttpModule::Get().GetHttpManager().AddHttpThreadTask(MoveTemp(Callback), Delay);
	}
}

float FHttpRetrySystem::FManager::GetLockoutPeriodSeconds(const FHttpRetryRequestEntry& HttpRetryRequestEntry)
{
	float LockoutPeriod = 0.0f;
	const TOptional<double> ResponseLockoutPeriod = FHttpRetrySystem::ReadThrottledTimeFromResponseInSeconds(HttpRetryRequestEntry.Request->GetResponse());
	if (ResponseLockoutPeriod.IsSet())
	{
		LockoutPeriod = static_cast<float>(ResponseLockoutPeriod.GetValue());
	}

	if (LockoutPeriod <= 0.0f)
	{
		const bool bFailedToConnect = HttpRetryRequestEntry.Request->GetStatus() == EHttpRequestStatus::Failed && HttpRetryRequestEntry.Request->GetFailureReason() == EHttpFailureReason::ConnectionError;
		const bool bHasRetryDomains = HttpRetryRequestEntry.Request->RetryDomains.IsValid();
		// Another domain is tried at once.
		if (bFailedToConnect && bHasRetryDomains)
		{
			return 0.0f;
		}
		// Retry 1 is the first: the curve counts from one.
		LockoutPeriod = HttpRetryRequestEntry.Request->RetryExponentialBackoffCurve.Compute(HttpRetryRequestEntry.CurrentRetryCount + 1);
	}

	return LockoutPeriod;
}

FHttpRetrySystem::FManager::FHttpRetryRequestEntry::FHttpRetryRequestEntry(TSharedRef<FHttpRetrySystem::FRequest, ESPMode::ThreadSafe>& InRequest)
	: CurrentRetryCount(0)
	, CurrentRetryCountForConnectionError(0)
	, RequestStartTimeAbsoluteSeconds(FPlatformTime::Seconds())
	, LockoutEndTimeAbsoluteSeconds(0.0)
	, Request(InRequest)
{
}

bool FHttpRetrySystem::FManager::ProcessRequest(TSharedRef<FHttpRetrySystem::FRequest, ESPMode::ThreadSafe>& HttpRetryRequest)
{
	// The retry time-out is the wrapped request's total time-out, which spans its retries.
	if (HttpRetryRequest->RetryTimeoutRelativeSecondsOverride.IsSet())
	{
		HttpRetryRequest->SetTimeout(static_cast<float>(HttpRetryRequest->RetryTimeoutRelativeSecondsOverride.GetValue()));
	}
	else if (RetryTimeoutRelativeSecondsDefault.IsSet())
	{
		HttpRetryRequest->SetTimeout(static_cast<float>(RetryTimeoutRelativeSecondsDefault.GetValue()));
	}

	FScopeLock ScopeLock(&RequestListLock);
	RequestList.Add(FHttpRetryRequestEntry(HttpRetryRequest));
	HttpRetryRequest->RetryStatus = FRequest::EStatus::Processing;
	HttpRetryRequest->HttpRequest->ProcessRequest();

	return true;
}

void FHttpRetrySystem::FManager::CancelRequest(TSharedRef<FHttpRetrySystem::FRequest, ESPMode::ThreadSafe>& HttpRetryRequest)
{
	FScopeLock ScopeLock(&RequestListLock);

	bool bFound = false;
	for (const FHttpRetryRequestEntry& Entry : RequestList)
	{
		if (&Entry.Request.Get() == &HttpRetryRequest.Get())
		{
			bFound = true;
		}
	}
	// Not processed yet: it is listed anyway, so that it completes through the usual path.
	if (!bFound)
	{
		RequestList.Add(FHttpRetryRequestEntry(HttpRetryRequest));
	}

	HttpRetryRequest->HttpRequest->CancelRequest();
	HttpRetryRequest->RetryStatus = FRequest::EStatus::Cancelled;
}

void FHttpRetrySystem::FManager::BlockUntilFlushed(float InTimeoutSec)
{
	const float SleepInterval = 0.016f;
	float TimeElapsed = 0.0f;
	while (TimeElapsed < InTimeoutSec)
	{
		{
			FScopeLock ScopeLock(&RequestListLock);
			if (RequestList.IsEmpty())
			{
				break;
			}
		}

		FHttpModule::Get().GetHttpManager().Tick(SleepInterval);

		FPlatformProcess::Sleep(SleepInterval);
		TimeElapsed += SleepInterval;
	}
}

FHttpRetrySystem::FManager::FHttpLogVerbosityTracker& FHttpRetrySystem::FManager::FHttpLogVerbosityTracker::Get()
{
	static FHttpLogVerbosityTracker Tracker;
	return Tracker;
}

FHttpRetrySystem::FManager::FHttpLogVerbosityTracker::FHttpLogVerbosityTracker()
{
	UpdateSettingsFromConfig();
}

FHttpRetrySystem::FManager::FHttpLogVerbosityTracker::~FHttpLogVerbosityTracker()
{
}

void FHttpRetrySystem::FManager::FHttpLogVerbosityTracker::IncrementRetriedRequests()
{
	FScopeLock ScopeLock(&NumRetriedRequestsLock);

	++NumRetriedRequests;
	if (NumRetriedRequests == 1)
	{
		OriginalVerbosity = UE_GET_LOG_VERBOSITY(LogHttp);
		if (TargetVerbosity != ELogVerbosity::NoLogging)
		{
			UE_LOG(LogHttp, Warning, TEXT("HttpRetry: Increasing log verbosity from %s to %s due to requests being retried"), ToString(OriginalVerbosity), ToString(TargetVerbosity));
			LogHttp.SetVerbosity(TargetVerbosity);
		}
	}
}

void FHttpRetrySystem::FManager::FHttpLogVerbosityTracker::DecrementRetriedRequests()
{
	FScopeLock ScopeLock(&NumRetriedRequestsLock);

	--NumRetriedRequests;
	check(NumRetriedRequests >= 0);
	if (NumRetriedRequests == 0)
	{
		UE_LOG(LogHttp, Warning, TEXT("HttpRetry: Resetting log verbosity to %s due to requests being retried"), ToString(OriginalVerbosity));
		LogHttp.SetVerbosity(OriginalVerbosity);
	}
}

void FHttpRetrySystem::FManager::FHttpLogVerbosityTracker::UpdateSettingsFromConfig()
{
	FString TargetVerbosityAsString;
	if (GConfig && GConfig->GetString(TEXT("HTTP.Retry"), TEXT("RetryManagerVerbosityLevel"), TargetVerbosityAsString, GEngineIni))
	{
		TargetVerbosity = ParseLogVerbosityFromString(TargetVerbosityAsString);
	}
	else
	{
		TargetVerbosity = ELogVerbosity::NoLogging;
	}
}
