// AsyncTask: background work runs on another thread, game-thread work waits for the frame's
// ProcessGameThreadTasks and runs there in queue order, and work queued by a game-thread task
// waits for the next frame.
#include "Async/Async.h"
#include "Host/CoreHost.h"
#include "Misc/CoreGlobals.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace
{
	/** Runs the game thread's queue until Done or ten seconds, whichever comes first. */
	template <typename FDone>
	bool ProcessUntil(FDone Done)
	{
		const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
		while (!Done())
		{
			if (std::chrono::steady_clock::now() > Deadline)
			{
				return false;
			}
			UE::Host::ProcessGameThreadTasks();
			std::this_thread::sleep_for(std::chrono::microseconds(200));
		}
		return true;
	}
}

TEST(HostAsyncTask, BackgroundWorkRunsOffTheGameThreadAndComesBackInOrder)
{
	ASSERT_TRUE(IsInGameThread());
	std::atomic<int32> OffGameThread{0};
	std::vector<int32> Order;
	for (int32 Index = 0; Index < 8; ++Index)
	{
		AsyncTask(ENamedThreads::AnyBackgroundThreadNormalTask, [Index, &OffGameThread, &Order]()
		{
			if (!IsInGameThread())
			{
				++OffGameThread;
			}
			AsyncTask(ENamedThreads::GameThread, [Index, &Order]()
			{
				EXPECT_TRUE(IsInGameThread());
				Order.push_back(Index);
			});
		});
	}
	ASSERT_TRUE(ProcessUntil([&] { return Order.size() == 8 && !UE::Host::HasPendingAsyncTasks(); }));
	EXPECT_EQ(OffGameThread.load(), 8);
	std::vector<int32> Sorted = Order;
	std::sort(Sorted.begin(), Sorted.end());
	EXPECT_EQ(Sorted, (std::vector<int32>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(HostAsyncTask, GameThreadWorkWaitsForTheFrameAndWhatItQueuesForTheNext)
{
	std::vector<int32> Ran;
	AsyncTask(ENamedThreads::GameThread, [&Ran]()
	{
		Ran.push_back(1);
		AsyncTask(ENamedThreads::GameThread, [&Ran]() { Ran.push_back(3); });
	});
	AsyncTask(ENamedThreads::GameThread, [&Ran]() { Ran.push_back(2); });
	EXPECT_TRUE(Ran.empty()) << "nothing runs before the frame asks";
	EXPECT_TRUE(UE::Host::HasPendingAsyncTasks());
	EXPECT_EQ(UE::Host::ProcessGameThreadTasks(), 2);
	EXPECT_EQ(Ran, (std::vector<int32>{1, 2}));
	EXPECT_EQ(UE::Host::ProcessGameThreadTasks(), 1);
	EXPECT_EQ(Ran, (std::vector<int32>{1, 2, 3}));
	EXPECT_EQ(UE::Host::ProcessGameThreadTasks(), 0);
	EXPECT_FALSE(UE::Host::HasPendingAsyncTasks());

	// An empty function is ignored rather than queued.
	AsyncTask(ENamedThreads::GameThread, TUniqueFunction<void()>());
	EXPECT_EQ(UE::Host::ProcessGameThreadTasks(), 0);
}
