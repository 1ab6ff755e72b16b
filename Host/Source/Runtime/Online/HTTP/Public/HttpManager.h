// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/Ticker.h"
#include "Containers/UnrealString.h"
#include "CoreMinimal.h"
#include "HAL/CriticalSection.h"
#include "Interfaces/IHttpRequest.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"

class FHttpThreadBase;
class FHttpRequestCommon;
class FOutputDevice;
class IHttpTaskTimerHandle;

enum class EHttpFlushReason : uint8
{
	/** Reasonable, typically higher time limits */
	Default,
	/** Shorter time limits, when shutting down */
	Shutdown,
	/** Waits for as long as it takes */
	FullFlush,
	Count
};
HTTP_API const TCHAR* LexToString(const EHttpFlushReason& FlushReason);

/** Called (from the adding thread) when a request is added to the manager. */
DECLARE_DELEGATE_OneParam(FHttpManagerRequestAddedDelegate, const FHttpRequestRef& /*Request*/);

/** Called when a request completed, on the thread its delegate policy names. */
DECLARE_DELEGATE_OneParam(FHttpManagerRequestCompletedDelegate, const FHttpRequestRef& /*Request*/);

/**
 * Holds the requests in flight and the HTTP thread that runs them. Ticked by the core ticker on the
 * game thread, where it delivers the completions of requests that complete on the game thread.
 */
class FHttpManager
	: public FTSTickerObjectBase
{
public:
	HTTP_API FHttpManager();
	HTTP_API virtual ~FHttpManager();

	/** Starts the HTTP thread. */
	HTTP_API void Initialize();

	/** Flushes every request and stops the HTTP thread; call before the module goes away. */
	HTTP_API void Shutdown();

	HTTP_API void SetRequestAddedDelegate(const FHttpManagerRequestAddedDelegate& Delegate);
	HTTP_API void SetRequestCompletedDelegate(const FHttpManagerRequestCompletedDelegate& Delegate);

	/** Stops holding a request (it is done). */
	HTTP_API void RemoveRequest(const FHttpRequestRef& Request);

	/** Whether the manager holds this request. */
	HTTP_API bool IsValidRequest(const IHttpRequest* RequestPtr) const;

	/** Blocks until every request finished; requests still running after the reason's soft limit are cancelled. */
	HTTP_API void Flush(EHttpFlushReason FlushReason);

	/** Core ticker callback: runs game-thread tasks, ticks requests, completes finished ones. */
	HTTP_API bool Tick(float DeltaSeconds) override;

	/** Tick used while flushing. */
	HTTP_API virtual void FlushTick(float DeltaSeconds);

	/** Holds the request and hands it to the HTTP thread. */
	HTTP_API void AddThreadedRequest(const TSharedRef<FHttpRequestCommon, ESPMode::ThreadSafe>& Request);

	/** Asks the HTTP thread to stop running the request; it then completes as usual. */
	HTTP_API void CancelThreadedRequest(const TSharedRef<FHttpRequestCommon, ESPMode::ThreadSafe>& Request);

	/** Logs every request in flight. */
	HTTP_API void DumpRequests(FOutputDevice& Ar) const;

	HTTP_API virtual bool SupportsDynamicProxy() const;

	/** Whether requests may go to this URL's domain (the [HTTP] AllowedDomains list, when set). */
	HTTP_API bool IsDomainAllowed(const FString& Url) const;

	/** Re-reads the manager's settings. */
	HTTP_API virtual void UpdateConfigs();

	/** Runs Task on the game thread, on the first tick at least Delay seconds from now. */
	HTTP_API void AddGameThreadTask(TFunction<void()>&& Task, float Delay = 0.0f);

	/**
	 * Runs Task on the HTTP thread at least InDelay seconds from now.
	 * @return a handle for RemoveHttpThreadTask
	 */
	HTTP_API TSharedPtr<IHttpTaskTimerHandle> AddHttpThreadTask(TFunction<void()>&& Task, float InDelay = 0.0f);

	/** Drops a task before it runs (no effect once it ran). */
	HTTP_API void RemoveHttpThreadTask(TSharedPtr<IHttpTaskTimerHandle> HttpTaskTimerHandle);

	/** The HTTP thread (for the module's own use). */
	HTTP_API FHttpThreadBase* GetThread();

	/** Holds a request without giving it to the HTTP thread. */
	HTTP_API void AddRequest(const FHttpRequestRef& Request);

	/** Tells the completed delegate (set with SetRequestCompletedDelegate) that a request completed. */
	HTTP_API void BroadcastHttpRequestCompleted(const FHttpRequestRef& Request);

protected:
	HTTP_API virtual FHttpThreadBase* CreateHttpThread();

	/** Requests in flight; holding them keeps them alive. */
	TArray<FHttpRequestRef> Requests;
	mutable FCriticalSection RequestLock;

	FHttpThreadBase* Thread;

	/** Game-thread tasks, each run on the first tick at or after its time. */
	struct FGameThreadTask
	{
		double RunAtSeconds;
		TFunction<void()> Task;
	};
	TArray<FGameThreadTask> GameThreadTasks;
	FCriticalSection GameThreadTasksLock;

	/** Set while flushing: no request may start. */
	bool bFlushing;

	FHttpManagerRequestAddedDelegate RequestAddedDelegate;
	FHttpManagerRequestCompletedDelegate RequestCompletedDelegate;

	/** When not empty, only these domains may be requested. */
	TArray<FString> AllowedDomains;

	struct FHttpFlushTimeLimit
	{
		/** Seconds to wait before cancelling the requests still running (< 0: never cancel). */
		double SoftLimitSeconds;
		/** Seconds after which flushing gives up waiting (< 0: wait forever). */
		double HardLimitSeconds;

		FHttpFlushTimeLimit(double InSoftLimitSeconds, double InHardLimitSeconds)
			: SoftLimitSeconds(InSoftLimitSeconds), HardLimitSeconds(InHardLimitSeconds)
		{
		}
	};
	TMap<EHttpFlushReason, FHttpFlushTimeLimit> FlushTimeLimitsMap;
};
