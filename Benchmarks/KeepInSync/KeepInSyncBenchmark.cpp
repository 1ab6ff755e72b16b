// Copyright Quarn. All Rights Reserved.

// bench-keep-in-sync
//
// A game that hands its whole 1,000-stack inventory to Keep Container In Sync on every change:
//
// - while one sync is in flight (its read unanswered), how many calls a second the game thread can
//   make, and the game thread's processor time per call (each call keeps a copy of the list);
// - one call per frame for 100 frames against an in-memory platform that answers each request a
//   number of frames after it was sent: the transactions those 100 calls lead to, against the 100
//   a sync node per change would send.
//
// Game-thread figures are the thread's processor time (CLOCK_THREAD_CPUTIME_ID), so that other
// programs on a busy machine do not inflate them. Medians of several runs.

#include "CoreMinimal.h"
#include "Engine/World.h"
#include "HAL/PlatformProcess.h"
#include "Host/CoreHost.h"
#include "Host/HostEngineLoop.h"
#include "Host/TestEngine.h"
#include "QuarnClient.h"
#include "QuarnContainerSyncSubsystem.h"
#include "QuarnSettings.h"
#include "QuarnSubsystem.h"
#include "QuarnTransport.h"

#include <time.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
	using FClock = std::chrono::steady_clock;

	double ThreadMs()
	{
		timespec Now;
		clock_gettime(CLOCK_THREAD_CPUTIME_ID, &Now);
		return static_cast<double>(Now.tv_sec) * 1000.0 + static_cast<double>(Now.tv_nsec) / 1.0e6;
	}

	double Median(std::vector<double> Values)
	{
		std::sort(Values.begin(), Values.end());
		return Values.empty() ? 0.0 : Values[Values.size() / 2];
	}

	FString InstanceId(int32 Index)
	{
		return FString::Printf(TEXT("ins_%08x%012x"), Index * 2654435761u, Index);
	}

	constexpr int32 Stacks = 1000;

	/** The container as the platform answers a read: the game's stacks, compact, about 200 bytes each. */
	FString MakeDocument()
	{
		FString Text = TEXT("{\"id\":\"ctr_bench\",\"kind\":\"stash\",\"layout\":\"slots\",\"slot_count\":2000,\"version\":7,\"items\":[");
		for (int32 Index = 0; Index < Stacks; ++Index)
		{
			const FString Id = InstanceId(Index);
			Text += FString::Printf(TEXT("%s{\"id\":\"%s\",\"item_id\":\"item_%03d\",\"quantity\":%d,\"slot_index\":%d,\"slot_key\":\"\",\"x\":-1,\"y\":-1,\"grid_w\":1,\"grid_h\":1,\"rotated\":false,\"properties\":{\"__qnid\":\"%s\"}}"),
				Index == 0 ? TEXT("") : TEXT(","), *Id, Index % 200, 1 + Index % 20, Index, *Id);
		}
		Text += TEXT("]}");
		return Text;
	}

	/** The game's inventory: the container's stacks, one of them changed in a way that depends on Call. */
	TArray<FQuarnItemInstance> MakeHeld(int32 Call)
	{
		TArray<FQuarnItemInstance> Items;
		Items.Reserve(Stacks);
		for (int32 Index = 0; Index < Stacks; ++Index)
		{
			FQuarnItemInstance Item;
			Item.InstanceId = InstanceId(Index);
			Item.ItemId = FName(*FString::Printf(TEXT("item_%03d"), Index % 200));
			Item.Quantity = 1 + Index % 20 + (Index == Call % Stacks ? 1 + Call % 5 : 0);
			Item.SlotIndex = Index;
			Items.Add(Item);
		}
		return Items;
	}

	/** Lets the workers finish reading what was answered, so that an answer lands in the frame it arrived in. */
	void FinishReads()
	{
		while (UE::Host::HasPendingAsyncTasks())
		{
			FPlatformProcess::Sleep(0.0001f);
			UE::Host::ProcessGameThreadTasks();
		}
		UE::Host::ProcessGameThreadTasks();
	}

	/** Answers each request a set number of frames after it was sent, from memory. */
	class FFramePlatform : public IQuarnTransport
	{
	public:
		struct FPending
		{
			FQuarnHttpRequest Request;
			FQuarnTransportCallback OnDone;
			int32 DueFrame = 0;
		};

		FString Document;
		int32 Frame = 0;
		/** Frames an answer takes; a negative value leaves every request unanswered. */
		int32 AnswerFrames = 1;
		int32 Transactions = 0;
		TArray<FPending> Pending;

		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			Transactions += Request.Verb == TEXT("POST") ? 1 : 0;
			Pending.Add({Request, MoveTemp(OnDone), Frame + AnswerFrames});
		}

		/** Called once a frame: answers what is due. */
		void Advance()
		{
			++Frame;
			if (AnswerFrames < 0)
			{
				return;
			}
			TArray<FPending> Due;
			for (int32 Index = Pending.Num() - 1; Index >= 0; --Index)
			{
				if (Pending[Index].DueFrame <= Frame)
				{
					Due.Insert(MoveTemp(Pending[Index]), 0);
					Pending.RemoveAt(Index);
				}
			}
			for (FPending& Request : Due)
			{
				FQuarnHttpResponse Response;
				Response.Result = EQuarnTransportResult::Answered;
				Response.StatusCode = 200;
				Response.Body = Request.Request.Verb == TEXT("GET") ? Document : FString(TEXT("{\"version\":8}"));
				Request.OnDone(Response);
			}
		}
	};
}

static int Run()
{
	UE::Host::FEngineLoopSettings Settings;
	Settings.PluginDescriptors.Add(TEXT(QUARN_PLUGIN_DESCRIPTOR));
	UE::Host::FTestEngine Engine(Settings);
	if (!Engine.IsRunning())
	{
		std::fprintf(stderr, "bench-keep-in-sync: the engine did not start\n");
		return 1;
	}
	UQuarnSubsystem* const Core = UQuarnSubsystem::Get(Engine.GetWorld());
	UQuarnContainerSyncSubsystem* const Sync = UQuarnContainerSyncSubsystem::Get(Engine.GetWorld());
	if (Core == nullptr || Sync == nullptr)
	{
		std::fprintf(stderr, "bench-keep-in-sync: a subsystem is missing\n");
		return 1;
	}
	Core->SetAccessToken(TEXT("bench"), TEXT("tok_bench"));
	GetMutableDefault<UQuarnSettings>()->BaseUrl = TEXT("https://platform.example.com");
	const TSharedRef<FFramePlatform> Platform = MakeShared<FFramePlatform>();
	Platform->Document = MakeDocument();
	FQuarnClient::SetTransport(Platform);

	// Lists made up front: the game has them already when it calls.
	std::vector<TArray<FQuarnItemInstance>> Lists;
	for (int32 Call = 0; Call < 200; ++Call)
	{
		Lists.push_back(MakeHeld(Call));
	}

	// Calls during one sync: the read never answers.
	Platform->AnswerFrames = -1;
	std::vector<double> CallsPerSecond;
	std::vector<double> MicrosPerCall;
	for (int32 Run = 0; Run < 7; ++Run)
	{
		const FString ContainerId = FString::Printf(TEXT("ctr_inflight_%d"), Run);
		Sync->KeepContainerInSync(TEXT("bench"), ContainerId, Lists[0]);
		Engine.TickFrames(2);
		constexpr int32 Calls = 2000;
		const FClock::time_point Began = FClock::now();
		const double Start = ThreadMs();
		for (int32 Call = 1; Call <= Calls; ++Call)
		{
			Sync->KeepContainerInSync(TEXT("bench"), ContainerId, Lists[Call % Lists.size()]);
		}
		const double GameMs = ThreadMs() - Start;
		const double WallSeconds = std::chrono::duration<double>(FClock::now() - Began).count();
		CallsPerSecond.push_back(Calls / WallSeconds);
		MicrosPerCall.push_back(GameMs * 1000.0 / Calls);
	}
	Platform->Pending.Reset();
	std::printf("Keep Container In Sync with %d stacks, one sync in flight (median of 7 runs of 2,000 calls)\n\n", Stacks);
	std::printf("  calls a second          %10.0f\n", Median(CallsPerSecond));
	std::printf("  game-thread us a call   %10.1f\n", Median(MicrosPerCall));

	// One call a frame for 100 frames, answers after a number of frames.
	std::printf("\nTransactions sent for 100 calls, one call a frame (a sync node per change sends 100)\n\n");
	std::printf("%14s %14s %10s\n", "answer frames", "transactions", "after");
	const int32 Latencies[] = { 1, 3, 10 };
	for (const int32 Latency : Latencies)
	{
		Platform->AnswerFrames = Latency;
		Platform->Transactions = 0;
		const FString ContainerId = FString::Printf(TEXT("ctr_frames_%d"), Latency);
		auto InSync = [Sync, &ContainerId]() { return Sync->GetSyncStatus(TEXT("bench"), ContainerId).State == EQuarnContainerSyncState::InSync; };
		for (int32 Call = 0; Call < 100; ++Call)
		{
			Sync->KeepContainerInSync(TEXT("bench"), ContainerId, Lists[Call % Lists.size()]);
			Engine.Tick();
			Platform->Advance();
			FinishReads();
		}
		// The last list goes out too.
		for (int32 Frame = 0; Frame < 100 * (Latency + 1) && !InSync(); ++Frame)
		{
			Engine.Tick();
			Platform->Advance();
			FinishReads();
		}
		std::printf("%14d %14d %10s\n", Latency, Platform->Transactions, InSync() ? "in sync" : "NOT IN SYNC");
	}
	FQuarnClient::SetTransport(nullptr);
	return 0;
}

int main()
{
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);
	const int Result = Run();
	UE::Host::FHostEngineLoop::ShutdownModules();
	return Result;
}
