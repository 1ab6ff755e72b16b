// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Containers/Array.h"
#include "CoreMinimal.h"
#include "HAL/CriticalSection.h"
#include "HAL/Runnable.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"

#include <atomic>

class FHttpManager;
class FHttpRequestCommon;
class FRunnableThread;

/** Identifies a task queued with FHttpManager::AddHttpThreadTask, for removing it before it runs. */
class IHttpTaskTimerHandle
{
public:
	virtual ~IHttpTaskTimerHandle() = default;
};

/**
 * The thread that runs requests. Requests are handed over, cancelled and collected from any
 * thread; the transport (a subclass) runs them on this thread, which also runs the timed tasks
 * (time-outs, retries, aborts). A finished request completing on the HTTP thread is completed
 * here; one completing on the game thread waits for the manager's tick.
 */
class FHttpThreadBase : public FRunnable
{
public:
	using FRequestRef = TSharedRef<FHttpRequestCommon, ESPMode::ThreadSafe>;

	explicit FHttpThreadBase(FHttpManager& InManager);
	virtual ~FHttpThreadBase();

	void StartThread();
	/** Stops and joins the thread. Requests still running are abandoned (flush first). */
	void StopThread();

	/** Any thread: the request starts on the next pass of the thread. */
	void AddRequest(const FRequestRef& Request);
	/** Any thread: stops running the request, which then finishes as usual. */
	void CancelRequest(const FRequestRef& Request);
	/** Finished requests that complete on the game thread. */
	void GetCompletedRequests(TArray<FRequestRef>& OutCompletedRequests);

	/** Any thread: runs Task on this thread at least DelaySeconds from now. */
	TSharedPtr<IHttpTaskTimerHandle> AddTask(TFunction<void()>&& Task, double DelaySeconds);
	/** Any thread: drops a task that has not run. */
	void RemoveTask(const TSharedPtr<IHttpTaskTimerHandle>& Handle);

	static bool IsInHttpThread();

	// FRunnable
	virtual bool Init() override;
	virtual uint32 Run() override;
	virtual void Stop() override;
	virtual void Exit() override;

protected:
	/** Starts running a request; false if it could not (it then finishes at once). */
	virtual bool StartThreadedRequest(FHttpRequestCommon* Request) = 0;
	/** Stops running a request, finished or not. */
	virtual void CompleteThreadedRequest(FHttpRequestCommon* Request) = 0;
	/** Lets the transport make progress. */
	virtual void TickTransport() = 0;
	/** Waits for transport activity, a wake-up, or MaxWaitSeconds. */
	virtual void WaitForTransport(double MaxWaitSeconds) = 0;
	/** Ends a WaitForTransport early (any thread). */
	virtual void WakeTransport() = 0;

private:
	struct FTimedTask
	{
		double RunAtSeconds;
		uint64 Sequence;
		TFunction<void()> Task;
		TSharedPtr<IHttpTaskTimerHandle> Handle;
	};

	/** One pass: start, cancel, transport, timed tasks, finished requests. */
	void Process(float DeltaSeconds);
	void RunDueTasks();
	double SecondsUntilNextTask() const;

	FHttpManager& Manager;
	FRunnableThread* Thread = nullptr;
	std::atomic<bool> bStopRequested = false;

	FCriticalSection QueueLock;
	TArray<FRequestRef> RequestsToStart;
	TArray<FRequestRef> RequestsToCancel;

	/** Only touched by this thread. */
	TArray<FRequestRef> RunningRequests;

	FCriticalSection CompletedLock;
	TArray<FRequestRef> CompletedRequests;

	mutable FCriticalSection TasksLock;
	TArray<FTimedTask> Tasks;
	uint64 NextTaskSequence = 0;
};
