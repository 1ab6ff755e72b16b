// Copyright Quarn. All Rights Reserved.

#include "HttpThread.h"

#include "GenericPlatform/HttpRequestCommon.h"
#include "HAL/PlatformTime.h"
#include "HAL/RunnableThread.h"
#include "Http.h"
#include "HttpManager.h"
#include "Misc/ScopeLock.h"

namespace
{
	thread_local bool bIsHttpThread = false;

	// Bounds on a wait for activity: short while requests run (their elapsed time is ticked),
	// longer when idle (new work wakes the thread anyway).
	constexpr double ActiveMaxWaitSeconds = 0.02;
	constexpr double IdleMaxWaitSeconds = 0.5;

	class FHttpTaskTimerHandle final : public IHttpTaskTimerHandle
	{
	};
}

FHttpThreadBase::FHttpThreadBase(FHttpManager& InManager)
	: Manager(InManager)
{
}

FHttpThreadBase::~FHttpThreadBase()
{
	check(Thread == nullptr);
}

void FHttpThreadBase::StartThread()
{
	check(Thread == nullptr);
	bStopRequested = false;
	Thread = FRunnableThread::Create(this, TEXT("HttpManagerThread"));
	checkf(Thread != nullptr, TEXT("Could not start the HTTP thread"));
}

void FHttpThreadBase::StopThread()
{
	if (Thread != nullptr)
	{
		Stop();
		Thread->WaitForCompletion();
		delete Thread;
		Thread = nullptr;
	}
	RunningRequests.Reset();
}

void FHttpThreadBase::AddRequest(const FRequestRef& Request)
{
	{
		FScopeLock Lock(&QueueLock);
		RequestsToStart.Add(Request);
	}
	WakeTransport();
}

void FHttpThreadBase::CancelRequest(const FRequestRef& Request)
{
	{
		FScopeLock Lock(&QueueLock);
		RequestsToCancel.Add(Request);
	}
	WakeTransport();
}

void FHttpThreadBase::GetCompletedRequests(TArray<FRequestRef>& OutCompletedRequests)
{
	FScopeLock Lock(&CompletedLock);
	OutCompletedRequests.Append(MoveTemp(CompletedRequests));
	CompletedRequests.Reset();
}

TSharedPtr<IHttpTaskTimerHandle> FHttpThreadBase::AddTask(TFunction<void()>&& Task, double DelaySeconds)
{
	TSharedPtr<IHttpTaskTimerHandle> Handle = MakeShared<FHttpTaskTimerHandle>();
	{
		FScopeLock Lock(&TasksLock);
		FTimedTask& Entry = Tasks.AddDefaulted_GetRef();
		Entry.RunAtSeconds = FPlatformTime::Seconds() + (DelaySeconds > 0.0 ? DelaySeconds : 0.0);
		Entry.Sequence = NextTaskSequence++;
		Entry.Task = MoveTemp(Task);
		Entry.Handle = Handle;
	}
	WakeTransport();
	return Handle;
}

void FHttpThreadBase::RemoveTask(const TSharedPtr<IHttpTaskTimerHandle>& Handle)
{
	if (!Handle.IsValid())
	{
		return;
	}
	TFunction<void()> Removed;
	{
		FScopeLock Lock(&TasksLock);
		for (int32 Index = 0; Index < Tasks.Num(); ++Index)
		{
			if (Tasks[Index].Handle == Handle)
			{
				// Destroyed outside the lock: a task's captures may own requests.
				Removed = MoveTemp(Tasks[Index].Task);
				Tasks.RemoveAt(Index);
				break;
			}
		}
	}
}

bool FHttpThreadBase::IsInHttpThread()
{
	return bIsHttpThread;
}

bool FHttpThreadBase::Init()
{
	bIsHttpThread = true;
	return true;
}

uint32 FHttpThreadBase::Run()
{
	double LastTime = FPlatformTime::Seconds();
	while (!bStopRequested)
	{
		const double Now = FPlatformTime::Seconds();
		Process(static_cast<float>(Now - LastTime));
		LastTime = Now;

		if (bStopRequested)
		{
			break;
		}
		const double MaxWait = RunningRequests.IsEmpty() ? IdleMaxWaitSeconds : ActiveMaxWaitSeconds;
		const double UntilTask = SecondsUntilNextTask();
		WaitForTransport(UntilTask < MaxWait ? UntilTask : MaxWait);
	}
	return 0;
}

void FHttpThreadBase::Stop()
{
	bStopRequested = true;
	WakeTransport();
}

void FHttpThreadBase::Exit()
{
	bIsHttpThread = false;
}

void FHttpThreadBase::Process(float DeltaSeconds)
{
	TArray<FRequestRef> Finished;

	TArray<FRequestRef> ToStart;
	TArray<FRequestRef> ToCancel;
	{
		FScopeLock Lock(&QueueLock);
		ToStart = MoveTemp(RequestsToStart);
		RequestsToStart.Reset();
		ToCancel = MoveTemp(RequestsToCancel);
		RequestsToCancel.Reset();
	}

	for (const FRequestRef& Request : ToStart)
	{
		if (StartThreadedRequest(&Request.Get()))
		{
			RunningRequests.Add(Request);
		}
		else
		{
			Finished.Add(Request);
		}
	}

	for (const FRequestRef& Request : ToCancel)
	{
		// A request that already finished (or never ran here) has nothing to stop.
		const int32 Index = RunningRequests.IndexOfByPredicate([&Request](const FRequestRef& Running) { return &Running.Get() == &Request.Get(); });
		if (Index != INDEX_NONE)
		{
			CompleteThreadedRequest(&Request.Get());
			RunningRequests.RemoveAt(Index);
			Finished.Add(Request);
		}
	}

	TickTransport();

	RunDueTasks();

	for (int32 Index = 0; Index < RunningRequests.Num();)
	{
		FHttpRequestCommon& Request = RunningRequests[Index].Get();
		Request.TickThreadedRequest(DeltaSeconds);
		if (Request.IsThreadedRequestComplete())
		{
			CompleteThreadedRequest(&Request);
			Finished.Add(RunningRequests[Index]);
			RunningRequests.RemoveAt(Index);
		}
		else
		{
			++Index;
		}
	}

	for (const FRequestRef& Request : Finished)
	{
		if (Request->GetDelegateThreadPolicy() == EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread)
		{
			const FHttpRequestRef AsRequest = Request;
			Manager.RemoveRequest(AsRequest);
			Request->FinishRequest();
			Manager.BroadcastHttpRequestCompleted(AsRequest);
		}
		else
		{
			FScopeLock Lock(&CompletedLock);
			CompletedRequests.Add(Request);
		}
	}
}

void FHttpThreadBase::RunDueTasks()
{
	TArray<FTimedTask> Due;
	{
		const double Now = FPlatformTime::Seconds();
		FScopeLock Lock(&TasksLock);
		for (int32 Index = 0; Index < Tasks.Num();)
		{
			if (Tasks[Index].RunAtSeconds <= Now)
			{
				Due.Add(MoveTemp(Tasks[Index]));
				Tasks.RemoveAt(Index);
			}
			else
			{
				++Index;
			}
		}
	}
	// Earliest first; tasks due at the same time in the order they were added.
	Due.Sort([](const FTimedTask& A, const FTimedTask& B)
	{
		return A.RunAtSeconds < B.RunAtSeconds || (A.RunAtSeconds == B.RunAtSeconds && A.Sequence < B.Sequence);
	});
	for (FTimedTask& Task : Due)
	{
		Task.Task();
	}
}

double FHttpThreadBase::SecondsUntilNextTask() const
{
	FScopeLock Lock(&TasksLock);
	if (Tasks.IsEmpty())
	{
		return IdleMaxWaitSeconds;
	}
	double Earliest = Tasks[0].RunAtSeconds;
	for (const FTimedTask& Task : Tasks)
	{
		Earliest = Task.RunAtSeconds < Earliest ? Task.RunAtSeconds : Earliest;
	}
	const double Remaining = Earliest - FPlatformTime::Seconds();
	return Remaining > 0.0 ? Remaining : 0.0;
}
