// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Containers/Array.h"
#include "Containers/Set.h"
#include "Containers/UnrealString.h"
#include "CoreMinimal.h"
#include "HAL/CriticalSection.h"
#include "HttpRequestAdapter.h"
#include "Interfaces/IHttpRequest.h"
#include "Logging/LogVerbosity.h"
#include "Misc/Optional.h"
#include "Templates/Atomic.h"
#include "Templates/SharedPointer.h"
#include "Templates/UnrealTemplate.h"
#include "UObject/NameTypes.h"

/**
 * Requests that are sent again when they fail in a way worth retrying: no connection, or a
 * response code the caller chose; with an exponential back-off, a server's Retry-After, a limit on
 * the number of retries and an overall time-out. Each request still completes exactly once.
 */
namespace FHttpRetrySystem
{
	class FManager;

	typedef uint32 RetryLimitCountType;
	typedef double RetryTimeoutRelativeSecondsType;

	inline RetryLimitCountType RetryLimitCount(uint32 Value) { return Value; }
	inline RetryTimeoutRelativeSecondsType RetryTimeoutRelativeSeconds(double Value) { return Value; }

	template <typename IntrinsicType>
	IntrinsicType TZero();

	template <> inline float TZero<float>() { return 0.0f; }
	template <> inline RetryLimitCountType TZero<RetryLimitCountType>() { return RetryLimitCount(0); }
	template <> inline RetryTimeoutRelativeSecondsType TZero<RetryTimeoutRelativeSecondsType>() { return RetryTimeoutRelativeSeconds(0.0); }

	typedef TOptional<float> FRandomFailureRateSetting;
	typedef TOptional<RetryLimitCountType> FRetryLimitCountSetting;
	typedef TOptional<RetryTimeoutRelativeSecondsType> FRetryTimeoutRelativeSecondsSetting;
	typedef TSet<int32> FRetryResponseCodes;
	typedef TSet<FName> FRetryVerbs;

	/** Domains to cycle through when connecting fails. */
	struct FRetryDomains
	{
		FRetryDomains(TArray<FString>&& InDomains)
			: Domains(MoveTemp(InDomains))
			, ActiveIndex(0)
		{
		}

		FRetryDomains(TArray<FString>&& InDomains, const int32 InActiveIndex, const FString& InConfigSection, const FString& InConfigKeyName)
			: Domains(MoveTemp(InDomains))
			, ActiveIndex(InActiveIndex)
			, ConfigSection(InConfigSection)
			, ConfigKeyName(InConfigKeyName)
		{
		}

		/** The domains (with ports) to use. */
		TArray<FString> Domains;
		/** The domain in use; it only changes when a request to it fails to connect. */
		TAtomic<int32> ActiveIndex;
		/** Config section where the active domain is remembered between sessions (optional). */
		const FString ConfigSection;
		/** Config key where the active domain is remembered between sessions (optional). */
		const FString ConfigKeyName;
	};
	typedef TSharedPtr<FRetryDomains, ESPMode::ThreadSafe> FRetryDomainsPtr;

	/**
	 * Back-off before retry N: Base ** (N + ExponentBias) seconds, multiplied by a random coefficient
	 * in [MinCoefficient, MaxCoefficient] (jitter), capped at MaxBackoffSeconds. The defaults give
	 * half jitter; { 0.0, 1.0 } gives full jitter. An invalid curve (see IsValid) applies no jitter.
	 */
	struct FExponentialBackoffCurve
	{
		float Base = 2.0f;
		float ExponentBias = 1.0f;
		float MinCoefficient = 0.5f;
		float MaxCoefficient = 1.0f;
		float MaxBackoffSeconds = 60.0f;

		HTTP_API bool IsValid() const;
		HTTP_API float Compute(uint32 RetryNumber) const;
	};
	using FRetryExponentialBackoffCurvePtr = TSharedPtr<FExponentialBackoffCurve, ESPMode::ThreadSafe>;

	/**
	 * How long the server asked the client to wait, from Retry-After (seconds or an HTTP date) or
	 * else X-Rate-Limit-Reset (a Unix time). Unset when the response says nothing.
	 */
	TOptional<double> HTTP_API ReadThrottledTimeFromResponseInSeconds(FHttpResponsePtr Response);
};

namespace FHttpRetrySystem
{
	/** A request that the retry manager sends again when it should. Created by FManager::CreateRequest. */
	class FRequest
		: public FHttpRequestAdapterBase
	{
	public:
		struct EStatus
		{
			enum Type
			{
				NotStarted = 0,
				Processing,
				ProcessingLockout,
				Cancelled,
				FailedRetry,
				FailedTimeout,
				Succeeded
			};
		};

	public:
		// IHttpRequest
		HTTP_API virtual bool ProcessRequest() override;
		HTTP_API virtual void CancelRequest() override;

		EStatus::Type GetRetryStatus() const { return RetryStatus; }

	protected:
		friend class FManager;

		HTTP_API FRequest(
			TSharedRef<FManager, ESPMode::ThreadSafe> InManager,
			const TSharedRef<IHttpRequest, ESPMode::ThreadSafe>& HttpRequest,
			const FRetryLimitCountSetting& InRetryLimitCountOverride = FRetryLimitCountSetting(),
			const FRetryTimeoutRelativeSecondsSetting& InRetryTimeoutRelativeSecondsOverride = FRetryTimeoutRelativeSecondsSetting(),
			const FRetryResponseCodes& InRetryResponseCodes = FRetryResponseCodes(),
			const FRetryVerbs& InRetryVerbs = FRetryVerbs(),
			const FRetryDomainsPtr& InRetryDomains = FRetryDomainsPtr(),
			const FRetryLimitCountSetting& InRetryLimitCountForConnectionErrorOverride = FRetryLimitCountSetting(),
			const FExponentialBackoffCurve& InExponentialBackoffCurve = FExponentialBackoffCurve()
		);

		void HttpOnRequestProgress(FHttpRequestPtr InHttpRequest, uint64 BytesSent, uint64 BytesRcv);
		void HttpOnProcessRequestComplete(FHttpRequestPtr HttpRequest, FHttpResponsePtr HttpResponse, bool bSucceeded);
		void HttpOnStatusCodeReceived(FHttpRequestPtr Request, int32 StatusCode);
		void HttpOnHeaderReceived(FHttpRequestPtr Request, const FString& HeaderName, const FString& NewHeaderValue);

		/** Puts the current retry domain into the wrapped request's URL. */
		void SetUrlFromRetryDomains();
		/** Moves on to the next retry domain. */
		void MoveToNextRetryDomain();

		void BindAdaptorDelegates();

		EStatus::Type RetryStatus;

		FRetryLimitCountSetting RetryLimitCountOverride;
		FRetryLimitCountSetting RetryLimitCountForConnectionErrorOverride;
		FRetryTimeoutRelativeSecondsSetting RetryTimeoutRelativeSecondsOverride;
		FRetryResponseCodes RetryResponseCodes;
		FRetryVerbs RetryVerbs;
		FRetryDomainsPtr RetryDomains;
		/** Index in RetryDomains being tried. */
		int32 RetryDomainsIndex = 0;
		/** The URL before a retry domain replaced its domain. */
		FString OriginalUrl;

		TWeakPtr<FManager> RetryManager;
		/** The response before the last retry, kept in case the retry times out. */
		FHttpResponsePtr LastResponse;
		EHttpFailureReason LastFailureReason = EHttpFailureReason::None;
		bool bLastSucceeded = false;

		FExponentialBackoffCurve RetryExponentialBackoffCurve;

		bool bBoundAdaptorDelegates = false;
	};
}

namespace FHttpRetrySystem
{

/** Creates retrying requests and holds them until they complete. */
class FManager : public TSharedFromThis<FManager>
{
public:
	/**
	 * @param InRetryLimitCountDefault default number of retries (unset: none)
	 * @param InRetryTimeoutRelativeSecondsDefault default time-out of a request including its retries (unset: none)
	 * @param InRetryLimitCountForConnectionErrorDefault separate limit for connection errors (unset: the general limit applies)
	 */
	HTTP_API FManager(
		const FRetryLimitCountSetting& InRetryLimitCountDefault,
		const FRetryTimeoutRelativeSecondsSetting& InRetryTimeoutRelativeSecondsDefault,
		const FRetryLimitCountSetting& InRetryLimitCountForConnectionErrorDefault = FRetryLimitCountSetting()
	);

	/** A new request that is retried; the settings given here override the manager's defaults. */
	HTTP_API TSharedRef<class FHttpRetrySystem::FRequest, ESPMode::ThreadSafe> CreateRequest(
		const FRetryLimitCountSetting& InRetryLimitCountOverride = FRetryLimitCountSetting(),
		const FRetryTimeoutRelativeSecondsSetting& InRetryTimeoutRelativeSecondsOverride = FRetryTimeoutRelativeSecondsSetting(),
		const FRetryResponseCodes& InRetryResponseCodes = FRetryResponseCodes(),
		const FRetryVerbs& InRetryVerbs = FRetryVerbs(),
		const FRetryDomainsPtr& InRetryDomains = FRetryDomainsPtr(),
		const FRetryLimitCountSetting& InRetryLimitCountForConnectionErrorOverride = FRetryLimitCountSetting(),
		const FExponentialBackoffCurve& InExponentialBackoffCurve = FExponentialBackoffCurve()
	);

	HTTP_API virtual ~FManager();

	void SetRandomFailureRate(float Value) { RandomFailureRate = FRandomFailureRateSetting(Value); }
	void SetDefaultRetryLimit(uint32 Value) { RetryLimitCountDefault = FRetryLimitCountSetting(Value); }

	/** Ticks the HTTP manager until every request completed or TimeoutSec passed (shutdown use). */
	HTTP_API void BlockUntilFlushed(float TimeoutSec);

protected:
	friend class FRequest;

	struct FHttpRetryRequestEntry
	{
		FHttpRetryRequestEntry(TSharedRef<FRequest, ESPMode::ThreadSafe>& InRequest);

		uint32 CurrentRetryCount;
		uint32 CurrentRetryCountForConnectionError;
		double RequestStartTimeAbsoluteSeconds;
		double LockoutEndTimeAbsoluteSeconds;

		TSharedRef<FRequest, ESPMode::ThreadSafe> Request;
	};

	/** Raises LogHttp's verbosity (if configured) while any request is being retried. */
	class FHttpLogVerbosityTracker
	{
	public:
		FHttpLogVerbosityTracker();
		~FHttpLogVerbosityTracker();

		void IncrementRetriedRequests();
		void DecrementRetriedRequests();
		static FHttpLogVerbosityTracker& Get();

	protected:
		void UpdateSettingsFromConfig();

		int32 NumRetriedRequests = 0;
		/** Requests complete on the game thread or the HTTP thread, depending on their policy. */
		FCriticalSection NumRetriedRequestsLock;
		ELogVerbosity::Type OriginalVerbosity = ELogVerbosity::Error;
		/** Verbosity while requests are retried; NoLogging leaves it alone. */
		ELogVerbosity::Type TargetVerbosity = ELogVerbosity::NoLogging;
	};

	bool ProcessRequest(TSharedRef<FRequest, ESPMode::ThreadSafe>& HttpRequest);
	void CancelRequest(TSharedRef<FRequest, ESPMode::ThreadSafe>& HttpRequest);

	/** Whether the way the request ended is worth a retry. */
	bool ShouldRetry(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const;

	/** Whether retries are left. */
	bool CanRetry(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const;

	bool HasTimedOut(const FHttpRetryRequestEntry& HttpRetryRequestEntry, const double NowAbsoluteSeconds);

	void RetryHttpRequest(FHttpRetryRequestEntry& RequestEntry);

	/** Sends the request again after InDelay seconds. */
	void RetryHttpRequestWithDelay(FManager::FHttpRetryRequestEntry& RequestEntry, float InDelay, bool bWasSucceeded);

	/** Completes the request after Delay seconds with the last result (it will time out before its retry). */
	void HttpRequestTimeoutAfterDelay(FManager::FHttpRetryRequestEntry& RequestEntry, bool bWasSucceeded, float Delay);

	/** Seconds to wait before the next retry. */
	float GetLockoutPeriodSeconds(const FHttpRetryRequestEntry& HttpRetryRequestEntry);

	bool RetryLimitForConnectionErrorIsSet(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const;
	bool CanRetryForConnectionError(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const;
	bool CanRetryInGeneral(const FHttpRetryRequestEntry& HttpRetryRequestEntry) const;

	FRandomFailureRateSetting RandomFailureRate;
	FRetryLimitCountSetting RetryLimitCountDefault;
	FRetryLimitCountSetting RetryLimitCountForConnectionErrorDefault;
	FRetryTimeoutRelativeSecondsSetting RetryTimeoutRelativeSecondsDefault;

	TArray<FHttpRetryRequestEntry> RequestList;
	FCriticalSection RequestListLock;
};

}
