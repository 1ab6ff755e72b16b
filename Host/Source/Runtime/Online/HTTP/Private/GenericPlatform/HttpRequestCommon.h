// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/HttpRequestImpl.h"
#include "HAL/CriticalSection.h"
#include "Interfaces/IHttpResponse.h"

#include <atomic>

class FHttpResponseCommon;
class IHttpTaskTimerHandle;

/**
 * What every request implementation shares: headers, options, status and failure reason, the
 * pre-checks of ProcessRequest, the total and activity time-outs, cancelling, and completing
 * on the thread the delegate policy names. A platform request adds the transport.
 *
 * Threads: setters are for the game thread while the request is not in flight; the transport
 * runs on the HTTP thread; completion runs where the delegate policy says.
 */
class FHttpRequestCommon : public FHttpRequestImpl
{
public:
	FHttpRequestCommon();

	// IHttpBase
	virtual const FString& GetURL() const override;
	virtual const FString& GetEffectiveURL() const override;
	virtual EHttpRequestStatus::Type GetStatus() const override;
	virtual EHttpFailureReason GetFailureReason() const override;
	virtual FString GetURLParameter(const FString& ParameterName) const override;
	virtual FString GetHeader(const FString& HeaderName) const override;

	// IHttpRequest
	virtual void SetURL(const FString& InURL) override;
	virtual void SetHeader(const FString& HeaderName, const FString& HeaderValue) override;
	virtual FString GetOption(const FName Option) const override;
	virtual void SetOption(const FName Option, const FString& OptionValue) override;
	virtual void SetTimeout(float InTimeoutSecs) override;
	virtual void ClearTimeout() override;
	virtual void ResetTimeoutStatus() override;
	virtual TOptional<float> GetTimeout() const override;
	virtual void SetActivityTimeout(float InTimeoutSecs) override;
	virtual const FHttpResponsePtr GetResponse() const override;
	virtual void CancelRequest() override;
	virtual float GetElapsedTime() const override;
	virtual void SetDelegateThreadPolicy(EHttpRequestDelegateThreadPolicy InDelegateThreadPolicy) override;
	virtual EHttpRequestDelegateThreadPolicy GetDelegateThreadPolicy() const override;
	virtual void ProcessRequestUntilComplete() override;
	virtual void SetPriority(EHttpRequestPriority InPriority) override;
	virtual EHttpRequestPriority GetPriority() const override;
	virtual bool SetContentAsStreamedFile(const FString& Filename) override;
	virtual bool SetContentFromStream(TSharedRef<FArchive, ESPMode::ThreadSafe> Stream) override;
	virtual bool SetResponseBodyReceiveStream(TSharedRef<FArchive> Stream) override;

	// FHttpRequestImpl
	virtual void Shutdown() override;

	/** HTTP thread: prepares the transport just before it starts; false if it cannot start. */
	virtual bool StartThreadedRequest();
	/** HTTP thread: whether the transport finished (or failed to start). */
	virtual bool IsThreadedRequestComplete() = 0;
	/** HTTP thread: time passing while the transport runs. */
	virtual void TickThreadedRequest(float DeltaSeconds) = 0;
	/** Completes the request: status, failure reason, then the complete delegate. */
	virtual void FinishRequest() = 0;

	/** HTTP thread: stops the request; it then completes as usual. */
	virtual void AbortRequest() = 0;

	/** Clears what a previous run left, so the request can run again. */
	virtual void ClearInCaseOfRetry();

	void SetStatus(EHttpRequestStatus::Type InCompletionStatus);
	void SetFailureReason(EHttpFailureReason InFailureReason);

	/** Completes a request that never reached (or already left) the HTTP manager. */
	void FinishRequestNotInHttpManager();

protected:
	/** Why ProcessRequest cannot start the request, logged; true when it can. */
	bool PreCheck() const;
	/** Everything ProcessRequest does before handing the request over; false if it completed instead. */
	bool PreProcess();
	void PostProcess();

	/** Platform: sets the request up on the calling thread; false if it cannot be sent. */
	virtual bool SetupRequest() = 0;
	/** Platform: releases what SetupRequest acquired. */
	virtual void CleanupRequest() = 0;
	/** Platform: a new response object for this request. */
	virtual FHttpResponsePtr CreateResponse() = 0;

	/** Creates the response on the first byte received. */
	void InitResponse();

	void PopulateUserAgentHeader();

	/** Sets status and failure reason, logs, then calls the complete delegate. */
	void OnFinishRequest(bool bSucceeded);
	void HandleRequestSucceed();
	void HandleRequestFailed();
	void LogFailure() const;

	void TriggerStatusCodeReceivedDelegate(int32 StatusCode);
	void SetEffectiveURL(const FString& InEffectiveURL);

	float GetTimeoutOrDefault() const;
	float GetActivityTimeoutOrDefault() const;

	void StartTotalTimeoutTimer();
	void StopTotalTimeoutTimer();
	void OnTotalTimeoutTimerTaskTrigger();

	void StartActivityTimeoutTimer();
	void StartActivityTimeoutTimerBy(double DelayToTrigger);
	void ResetActivityTimeoutTimer(FStringView Reason);
	void StopActivityTimeoutTimer();
	void OnActivityTimeoutTimerTaskTrigger();

	FString URL;
	FString EffectiveURL;
	/** Keys compare ignoring case, as header names do. */
	TMap<FString, FString> RequestHeaders;
	TMap<FName, FString> Options;

	std::atomic<EHttpRequestStatus::Type> CompletionStatus = EHttpRequestStatus::NotStarted;
	std::atomic<EHttpFailureReason> FailureReason = EHttpFailureReason::None;
	EHttpRequestDelegateThreadPolicy DelegateThreadPolicy = EHttpRequestDelegateThreadPolicy::CompleteOnGameThread;
	EHttpRequestPriority Priority = EHttpRequestPriority::Normal;

	TSharedPtr<FHttpResponseCommon, ESPMode::ThreadSafe> ResponseCommon;

	TOptional<float> TimeoutSecs;
	TOptional<float> ActivityTimeoutSecs;

	std::atomic<bool> bCanceled = false;
	std::atomic<bool> bTimedOut = false;
	std::atomic<bool> bActivityTimedOut = false;
	/** Set by platforms whose transport has its own activity time-out. */
	bool bUsePlatformActivityTimeout = false;

	/** Seconds from the start of the transfer, ticked on the HTTP thread. */
	std::atomic<float> ElapsedTime = 0.0f;
	double ConnectTime = -1.0;
	double RequestStartTimeAbsoluteSeconds;

	/** Guards the timer handles and the activity deadline (HTTP thread and callers of CancelRequest). */
	mutable FCriticalSection HttpTaskTimerHandleCriticalSection;
	TSharedPtr<IHttpTaskTimerHandle> TotalTimeoutHttpTaskTimerHandle;
	TSharedPtr<IHttpTaskTimerHandle> ActivityTimeoutHttpTaskTimerHandle;
	double ActivityTimeoutAt;
};
