// Copyright Quarn. All Rights Reserved.

#include "GenericPlatform/HttpRequestCommon.h"

#include "GenericPlatform/HttpResponseCommon.h"
#include "HAL/Event.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Http.h"
#include "HttpManager.h"
#include "Misc/ScopeLock.h"

namespace
{
	/** Activity timers fire a little late so the deadline has surely passed. */
	constexpr double ActivityTimerSlackSeconds = 0.05;
}

FHttpRequestCommon::FHttpRequestCommon()
	: RequestStartTimeAbsoluteSeconds(FPlatformTime::Seconds())
	, ActivityTimeoutAt(0.0)
{
}

const FString& FHttpRequestCommon::GetURL() const
{
	return URL;
}

const FString& FHttpRequestCommon::GetEffectiveURL() const
{
	return EffectiveURL;
}

EHttpRequestStatus::Type FHttpRequestCommon::GetStatus() const
{
	return CompletionStatus;
}

EHttpFailureReason FHttpRequestCommon::GetFailureReason() const
{
	return FailureReason;
}

FString FHttpRequestCommon::GetURLParameter(const FString& ParameterName) const
{
	FString ReturnValue;
	if (TOptional<FString> OptionalParameterValue = FGenericPlatformHttp::GetUrlParameter(GetURL(), ParameterName))
	{
		ReturnValue = MoveTemp(OptionalParameterValue.GetValue());
	}
	return ReturnValue;
}

FString FHttpRequestCommon::GetHeader(const FString& HeaderName) const
{
	const FString* Header = RequestHeaders.Find(HeaderName);
	return Header ? *Header : FString();
}

void FHttpRequestCommon::SetURL(const FString& InURL)
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("FHttpRequestCommon::SetURL() - attempted to set url on a request that is inflight"));
		return;
	}
	URL = InURL;
}

void FHttpRequestCommon::SetHeader(const FString& HeaderName, const FString& HeaderValue)
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("FHttpRequestCommon::SetHeader() - attempted to set header on a request that is inflight"));
		return;
	}
	RequestHeaders.Add(HeaderName, HeaderValue);
}

FString FHttpRequestCommon::GetOption(const FName Option) const
{
	const FString* OptionValue = Options.Find(Option);
	return OptionValue ? *OptionValue : FString();
}

void FHttpRequestCommon::SetOption(const FName Option, const FString& OptionValue)
{
	Options.Add(Option, OptionValue);
}

void FHttpRequestCommon::SetTimeout(float InTimeoutSecs)
{
	TimeoutSecs = InTimeoutSecs;
}

void FHttpRequestCommon::ClearTimeout()
{
	TimeoutSecs.Reset();
	ResetTimeoutStatus();
}

void FHttpRequestCommon::ResetTimeoutStatus()
{
	StopTotalTimeoutTimer();
	bTimedOut = false;
}

TOptional<float> FHttpRequestCommon::GetTimeout() const
{
	return TimeoutSecs;
}

void FHttpRequestCommon::SetActivityTimeout(float InTimeoutSecs)
{
	ActivityTimeoutSecs = InTimeoutSecs;
}

const FHttpResponsePtr FHttpRequestCommon::GetResponse() const
{
	return ResponseCommon;
}

float FHttpRequestCommon::GetElapsedTime() const
{
	return ElapsedTime;
}

void FHttpRequestCommon::SetDelegateThreadPolicy(EHttpRequestDelegateThreadPolicy InDelegateThreadPolicy)
{
	DelegateThreadPolicy = InDelegateThreadPolicy;
}

EHttpRequestDelegateThreadPolicy FHttpRequestCommon::GetDelegateThreadPolicy() const
{
	return DelegateThreadPolicy;
}

void FHttpRequestCommon::SetPriority(EHttpRequestPriority InPriority)
{
	Priority = InPriority;
}

EHttpRequestPriority FHttpRequestCommon::GetPriority() const
{
	return Priority;
}

bool FHttpRequestCommon::SetContentAsStreamedFile(const FString& Filename)
{
	UE_LOG(LogHttp, Warning, TEXT("SetContentAsStreamedFile is not supported on this platform (file %s); set the content in memory"), *Filename);
	return false;
}

bool FHttpRequestCommon::SetContentFromStream(TSharedRef<FArchive, ESPMode::ThreadSafe> Stream)
{
	UE_LOG(LogHttp, Warning, TEXT("SetContentFromStream is not supported on this platform; set the content in memory"));
	return false;
}

bool FHttpRequestCommon::SetResponseBodyReceiveStream(TSharedRef<FArchive> Stream)
{
	UE_LOG(LogHttp, Warning, TEXT("SetResponseBodyReceiveStream is not supported on this platform; the body is kept in the response"));
	return false;
}

bool FHttpRequestCommon::PreCheck() const
{
	if (!FHttpModule::Get().IsHttpEnabled())
	{
		UE_LOG(LogHttp, Verbose, TEXT("Http disabled. Skipping request. url=%s"), *GetURL());
		return false;
	}

	if (GetURL().IsEmpty())
	{
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest failed. No URL was specified."));
		return false;
	}

	if (GetVerb().IsEmpty())
	{
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest failed. No Verb was specified."));
		return false;
	}

	if (!FHttpModule::Get().GetHttpManager().IsDomainAllowed(GetURL()))
	{
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest failed. URL '%s' is not using an allowed domain."), *GetURL());
		return false;
	}

	if (bTimedOut)
	{
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest failed. Request with URL '%s' already timed out."), *GetURL());
		return false;
	}

	return true;
}

bool FHttpRequestCommon::PreProcess()
{
	// A request in flight keeps running and completes once; resetting it here would pull its
	// response and transport out from under the HTTP thread.
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest failed. Still processing last request."));
		return false;
	}

	ClearInCaseOfRetry();

	if (!PreCheck())
	{
		FinishRequestNotInHttpManager();
		return false;
	}

	PopulateUserAgentHeader();

	if (!SetupRequest())
	{
		FinishRequestNotInHttpManager();
		return false;
	}

	StartTotalTimeoutTimer();

	UE_LOG(LogHttp, Verbose, TEXT("%p: Verb='%s' URL='%s'"), this, *GetVerb(), *GetURL());
	return true;
}

void FHttpRequestCommon::PostProcess()
{
	CleanupRequest();
}

void FHttpRequestCommon::ClearInCaseOfRetry()
{
	bActivityTimedOut = false;
	FailureReason = EHttpFailureReason::None;
	bCanceled = false;
	EffectiveURL = GetURL();
	ResponseCommon.Reset();
}

void FHttpRequestCommon::FinishRequestNotInHttpManager()
{
	const TSharedRef<FHttpRequestCommon, ESPMode::ThreadSafe> StrongThis = StaticCastSharedRef<FHttpRequestCommon>(AsShared());
	if (IsInGameThread())
	{
		if (DelegateThreadPolicy == EHttpRequestDelegateThreadPolicy::CompleteOnGameThread)
		{
			FinishRequest();
		}
		else
		{
			FHttpModule::Get().GetHttpManager().AddHttpThreadTask([StrongThis]()
			{
				StrongThis->FinishRequest();
			});
		}
	}
	else
	{
		if (DelegateThreadPolicy == EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread)
		{
			FinishRequest();
		}
		else
		{
			FHttpModule::Get().GetHttpManager().AddGameThreadTask([StrongThis]()
			{
				StrongThis->FinishRequest();
			});
		}
	}
}

void FHttpRequestCommon::InitResponse()
{
	if (!ResponseCommon)
	{
		const FHttpResponsePtr Response = CreateResponse();
		ResponseCommon = StaticCastSharedPtr<FHttpResponseCommon>(Response);
	}
}

void FHttpRequestCommon::PopulateUserAgentHeader()
{
	if (GetHeader(TEXT("User-Agent")).IsEmpty())
	{
		SetHeader(TEXT("User-Agent"), FPlatformHttp::GetDefaultUserAgent());
	}
}

void FHttpRequestCommon::OnFinishRequest(bool bSucceeded)
{
	if (ResponseCommon)
	{
		ResponseCommon->bIsReady = true;
	}

	if (bSucceeded)
	{
		HandleRequestSucceed();
	}
	else
	{
		HandleRequestFailed();
	}

	OnProcessRequestComplete().ExecuteIfBound(SharedThis(this), ResponseCommon, bSucceeded);
}

void FHttpRequestCommon::HandleRequestSucceed()
{
	SetStatus(EHttpRequestStatus::Succeeded);
	UE_LOG(LogHttp, Verbose, TEXT("%p %s %s completed with code %d after %.2fs"), this, *GetVerb(), *GetURL(), ResponseCommon ? ResponseCommon->GetResponseCode() : 0, static_cast<float>(ElapsedTime));
}

void FHttpRequestCommon::HandleRequestFailed()
{
	// A reason the transport did not set comes from how the request was stopped.
	if (FailureReason == EHttpFailureReason::None)
	{
		if (bCanceled)
		{
			SetFailureReason(EHttpFailureReason::Cancelled);
		}
		else if (bTimedOut)
		{
			SetFailureReason(EHttpFailureReason::TimedOut);
		}
		else if (!bUsePlatformActivityTimeout && bActivityTimedOut)
		{
			SetFailureReason(EHttpFailureReason::ConnectionError);
		}
		else
		{
			SetFailureReason(EHttpFailureReason::Other);
		}
	}

	SetStatus(EHttpRequestStatus::Failed);

	LogFailure();
}

void FHttpRequestCommon::LogFailure() const
{
	const bool bAborted = bCanceled || bTimedOut || bActivityTimedOut;
	if (bAborted)
	{
		UE_LOG(LogHttp, Verbose, TEXT("%p %s %s completed with reason '%s' after %.2fs"), this, *GetVerb(), *GetURL(), LexToString(GetFailureReason()), static_cast<float>(ElapsedTime));
	}
	else
	{
		UE_LOG(LogHttp, Warning, TEXT("%p %s %s completed with reason '%s' after %.2fs"), this, *GetVerb(), *GetURL(), LexToString(GetFailureReason()), static_cast<float>(ElapsedTime));
	}
}

void FHttpRequestCommon::SetStatus(EHttpRequestStatus::Type InCompletionStatus)
{
	CompletionStatus = InCompletionStatus;
	if (ResponseCommon)
	{
		ResponseCommon->SetRequestStatus(InCompletionStatus);
	}
}

void FHttpRequestCommon::SetFailureReason(EHttpFailureReason InFailureReason)
{
	UE_CLOG(FailureReason != EHttpFailureReason::None, LogHttp, Warning, TEXT("FailureReason had been set to %s, now setting to %s"), LexToString(FailureReason), LexToString(InFailureReason));
	FailureReason = InFailureReason;
	if (ResponseCommon)
	{
		ResponseCommon->SetRequestFailureReason(InFailureReason);
	}
}

void FHttpRequestCommon::TriggerStatusCodeReceivedDelegate(int32 StatusCode)
{
	if (DelegateThreadPolicy == EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread)
	{
		OnStatusCodeReceived().ExecuteIfBound(SharedThis(this), StatusCode);
	}
	else if (OnStatusCodeReceived().IsBound())
	{
		FHttpModule::Get().GetHttpManager().AddGameThreadTask([StrongThis = AsShared(), StatusCode]()
		{
			StrongThis->OnStatusCodeReceived().ExecuteIfBound(StrongThis, StatusCode);
		});
	}
}

void FHttpRequestCommon::SetEffectiveURL(const FString& InEffectiveURL)
{
	EffectiveURL = InEffectiveURL;
	if (ResponseCommon)
	{
		ResponseCommon->SetEffectiveURL(EffectiveURL);
	}
}

float FHttpRequestCommon::GetTimeoutOrDefault() const
{
	return GetTimeout().Get(FHttpModule::Get().GetHttpTotalTimeout());
}

float FHttpRequestCommon::GetActivityTimeoutOrDefault() const
{
	return ActivityTimeoutSecs.Get(FHttpModule::Get().GetHttpActivityTimeout());
}

void FHttpRequestCommon::CancelRequest()
{
	const bool bWasCanceled = bCanceled.exchange(true);
	if (bWasCanceled)
	{
		return;
	}

	StopActivityTimeoutTimer();

	UE_LOG(LogHttp, Verbose, TEXT("HTTP request canceled. URL=%s"), *GetURL());

	// Aborting runs on the HTTP thread, where the transport lives.
	FHttpModule::Get().GetHttpManager().AddHttpThreadTask([StrongThis = StaticCastSharedRef<FHttpRequestCommon>(AsShared())]()
	{
		StrongThis->AbortRequest();
	});
}

void FHttpRequestCommon::StartTotalTimeoutTimer()
{
	const FScopeLock Lock(&HttpTaskTimerHandleCriticalSection);

	const float TimeoutOrDefault = GetTimeoutOrDefault();
	if (TimeoutOrDefault == 0.0f || bTimedOut)
	{
		return;
	}

	// The total time-out spans retries: a timer started by an earlier attempt keeps running.
	if (TotalTimeoutHttpTaskTimerHandle)
	{
		return;
	}

	TWeakPtr<IHttpRequest, ESPMode::ThreadSafe> RequestWeakPtr(AsShared());
	TotalTimeoutHttpTaskTimerHandle = FHttpModule::Get().GetHttpManager().AddHttpThreadTask([RequestWeakPtr]()
	{
		if (TSharedPtr<IHttpRequest, ESPMode::ThreadSafe> RequestPtr = RequestWeakPtr.Pin())
		{
			StaticCastSharedPtr<FHttpRequestCommon>(RequestPtr)->OnTotalTimeoutTimerTaskTrigger();
		}
	}, TimeoutOrDefault);
}

void FHttpRequestCommon::OnTotalTimeoutTimerTaskTrigger()
{
	const FScopeLock Lock(&HttpTaskTimerHandleCriticalSection);
	bTimedOut = true;

	if (EHttpRequestStatus::IsFinished(GetStatus()))
	{
		return;
	}

	StopActivityTimeoutTimer();

	UE_LOG(LogHttp, Warning, TEXT("HTTP request timed out after %0.2f seconds URL=%s"), GetTimeoutOrDefault(), *GetURL());

	AbortRequest();
}

void FHttpRequestCommon::StopTotalTimeoutTimer()
{
	const FScopeLock Lock(&HttpTaskTimerHandleCriticalSection);
	if (TotalTimeoutHttpTaskTimerHandle)
	{
		FHttpModule::Get().GetHttpManager().RemoveHttpThreadTask(TotalTimeoutHttpTaskTimerHandle);
		TotalTimeoutHttpTaskTimerHandle.Reset();
	}
}

void FHttpRequestCommon::StartActivityTimeoutTimer()
{
	const FScopeLock Lock(&HttpTaskTimerHandleCriticalSection);

	if (bUsePlatformActivityTimeout || bActivityTimedOut)
	{
		return;
	}

	const float HttpActivityTimeout = GetActivityTimeoutOrDefault();
	if (HttpActivityTimeout == 0.0f)
	{
		return;
	}

	StartActivityTimeoutTimerBy(HttpActivityTimeout);
	ResetActivityTimeoutTimer(TEXTVIEW("Connected"));
}

void FHttpRequestCommon::StartActivityTimeoutTimerBy(double DelayToTrigger)
{
	if (ActivityTimeoutHttpTaskTimerHandle)
	{
		UE_LOG(LogHttp, Warning, TEXT("Request %p already started activity timeout timer"), this);
		return;
	}

	TWeakPtr<IHttpRequest, ESPMode::ThreadSafe> RequestWeakPtr(AsShared());
	ActivityTimeoutHttpTaskTimerHandle = FHttpModule::Get().GetHttpManager().AddHttpThreadTask([RequestWeakPtr]()
	{
		if (TSharedPtr<IHttpRequest, ESPMode::ThreadSafe> RequestPtr = RequestWeakPtr.Pin())
		{
			StaticCastSharedPtr<FHttpRequestCommon>(RequestPtr)->OnActivityTimeoutTimerTaskTrigger();
		}
	}, static_cast<float>(DelayToTrigger + ActivityTimerSlackSeconds));
}

void FHttpRequestCommon::OnActivityTimeoutTimerTaskTrigger()
{
	const FScopeLock Lock(&HttpTaskTimerHandleCriticalSection);

	ActivityTimeoutHttpTaskTimerHandle.Reset();

	if (EHttpRequestStatus::IsFinished(GetStatus()) || bCanceled)
	{
		return;
	}

	const double Now = FPlatformTime::Seconds();
	if (Now < ActivityTimeoutAt)
	{
		// There was activity since the timer started: check again at the new deadline.
		StartActivityTimeoutTimerBy(ActivityTimeoutAt - Now);
		return;
	}

	bActivityTimedOut = true;
	AbortRequest();
	UE_LOG(LogHttp, Log, TEXT("Request [%s] timed out because of no responding for %0.2f seconds"), *GetURL(), GetActivityTimeoutOrDefault());
}

void FHttpRequestCommon::ResetActivityTimeoutTimer(FStringView Reason)
{
	const FScopeLock Lock(&HttpTaskTimerHandleCriticalSection);

	if (bUsePlatformActivityTimeout || !ActivityTimeoutHttpTaskTimerHandle)
	{
		return;
	}

	ActivityTimeoutAt = FPlatformTime::Seconds() + GetActivityTimeoutOrDefault();
}

void FHttpRequestCommon::StopActivityTimeoutTimer()
{
	const FScopeLock Lock(&HttpTaskTimerHandleCriticalSection);

	if (bUsePlatformActivityTimeout || !ActivityTimeoutHttpTaskTimerHandle)
	{
		return;
	}

	FHttpModule::Get().GetHttpManager().RemoveHttpThreadTask(ActivityTimeoutHttpTaskTimerHandle);
	ActivityTimeoutHttpTaskTimerHandle.Reset();
}

void FHttpRequestCommon::Shutdown()
{
	FHttpRequestImpl::Shutdown();
	StopActivityTimeoutTimer();
	StopTotalTimeoutTimer();
}

bool FHttpRequestCommon::StartThreadedRequest()
{
	UE_LOG(LogHttp, Verbose, TEXT("%p %s %s started from http thread"), this, *GetVerb(), *GetURL());
	return true;
}

void FHttpRequestCommon::ProcessRequestUntilComplete()
{
	checkf(!OnProcessRequestComplete().IsBound(), TEXT("OnProcessRequestComplete is not supported for sync call"));

	SetDelegateThreadPolicy(EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread);

	FEvent* Event = FPlatformProcess::GetSynchEventFromPool(true);
	OnProcessRequestComplete().BindLambda([Event](FHttpRequestPtr HttpRequest, FHttpResponsePtr HttpResponse, bool bSucceeded)
	{
		Event->Trigger();
	});
	// A request already in flight is refused without completing; there is nothing to wait for.
	const bool bWasInFlight = GetStatus() == EHttpRequestStatus::Processing;
	ProcessRequest();
	if (!bWasInFlight)
	{
		Event->Wait();
	}
	FPlatformProcess::ReturnSynchEventToPool(Event);
}
