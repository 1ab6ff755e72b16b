// Copyright Quarn. All Rights Reserved.

#include "Async/Async.h"
#include "Host/CoreHost.h"
#include "Misc/AssertionMacros.h"
#include "Misc/CoreGlobals.h"
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <cstdio>
#include <pthread.h>
#include <vector>

namespace
{
	/** Tasks for the game thread, run by the engine loop's frame. */
	struct FGameThreadQueue
	{
		std::mutex Mutex;
		std::deque<TUniqueFunction<void()>> Tasks;
	};

	FGameThreadQueue& GetGameThreadQueue()
	{
		static FGameThreadQueue Queue;
		return Queue;
	}

	/**
	 * Background workers. Made after the game thread's queue, so destroyed before it: a task that
	 * finishes while the pool is being stopped can still queue its game-thread follow-up.
	 */
	class FBackgroundPool
	{
	public:
		FBackgroundPool()
		{
			GetGameThreadQueue();
			// One core is the game thread's; at least one worker even on a single core.
			const unsigned Cores = std::thread::hardware_concurrency();
			const unsigned Count = std::clamp(Cores > 1 ? Cores - 1 : 1u, 1u, 4u);
			for (unsigned Index = 0; Index < Count; ++Index)
			{
				Threads.emplace_back([this, Index]
				{
					// Named as a profiler shows the engine's background workers (15 characters at most).
					char Name[16];
					std::snprintf(Name, sizeof(Name), "BgWorker #%u", Index + 1);
					pthread_setname_np(pthread_self(), Name);
					Run();
				});
			}
		}

		~FBackgroundPool()
		{
			{
				std::lock_guard<std::mutex> Lock(Mutex);
				bStopping = true;
			}
			Wake.notify_all();
			for (std::thread& Thread : Threads)
			{
				Thread.join();
			}
		}

		void Enqueue(TUniqueFunction<void()>&& Function)
		{
			{
				std::lock_guard<std::mutex> Lock(Mutex);
				Tasks.push_back(MoveTemp(Function));
			}
			Wake.notify_one();
		}

		bool IsBusy()
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return !Tasks.empty() || Running > 0;
		}

	private:
		void Run()
		{
			for (;;)
			{
				TUniqueFunction<void()> Task;
				{
					std::unique_lock<std::mutex> Lock(Mutex);
					Wake.wait(Lock, [this] { return bStopping || !Tasks.empty(); });
					if (Tasks.empty())
					{
						return;
					}
					Task = MoveTemp(Tasks.front());
					Tasks.pop_front();
					++Running;
				}
				Task();
				// What the task captured is released here, on the worker, before it counts as done.
				Task = nullptr;
				{
					std::lock_guard<std::mutex> Lock(Mutex);
					--Running;
				}
			}
		}

		std::mutex Mutex;
		std::condition_variable Wake;
		std::deque<TUniqueFunction<void()>> Tasks;
		std::vector<std::thread> Threads;
		int32 Running = 0;
		bool bStopping = false;
	};

	FBackgroundPool& GetBackgroundPool()
	{
		static FBackgroundPool Pool;
		return Pool;
	}
}

void AsyncTask(ENamedThreads::Type Thread, TUniqueFunction<void()> Function)
{
	if (!Function)
	{
		return;
	}
	// The host's named threads (game, rendering, RHI) are all the game thread.
	if (ENamedThreads::GetThreadIndex(Thread) != ENamedThreads::AnyThread)
	{
		FGameThreadQueue& Queue = GetGameThreadQueue();
		std::lock_guard<std::mutex> Lock(Queue.Mutex);
		Queue.Tasks.push_back(MoveTemp(Function));
		return;
	}
	GetBackgroundPool().Enqueue(MoveTemp(Function));
}

namespace UE::Host
{
	int32 ProcessGameThreadTasks()
	{
		check(IsInGameThread());
		FGameThreadQueue& Queue = GetGameThreadQueue();
		// Only what was queued before this call runs now; what those tasks queue waits for the
		// next frame, so that a task queueing itself cannot hold the frame forever.
		std::deque<TUniqueFunction<void()>> Ready;
		{
			std::lock_guard<std::mutex> Lock(Queue.Mutex);
			Ready.swap(Queue.Tasks);
		}
		const int32 Count = static_cast<int32>(Ready.size());
		for (TUniqueFunction<void()>& Task : Ready)
		{
			Task();
			Task = nullptr;
		}
		return Count;
	}

	bool HasPendingAsyncTasks()
	{
		{
			FGameThreadQueue& Queue = GetGameThreadQueue();
			std::lock_guard<std::mutex> Lock(Queue.Mutex);
			if (!Queue.Tasks.empty())
			{
				return true;
			}
		}
		return GetBackgroundPool().IsBusy();
	}
} // namespace UE::Host
