// Copyright Quarn. All Rights Reserved.

// bench-sync-frame
//
// How much of a frame a sync and a stash panel's load take from the game thread, for containers
// of 100, 1,000, 10,000 and 100,000 stacks whose answers are shaped as the platform sends them
// (compact JSON, keys in the platform's order, about 200 bytes a stack), with 1% of the stacks
// changed by the game.
//
// "Before" runs each stage on the game thread, as every stage ran before answers were read on a
// worker: the answer's bytes decoded to text, the text parsed into a JSON object, the reader, the
// reconcile and request body, and the JSON tree freed. "Now" runs the real node and panel through
// the client over an in-memory transport that hands answers over as the engine's HTTP transport
// does (the bytes, on the game thread) and times only what runs on the game thread: the calls that
// send and answer, and each game-thread task the client queues. Waiting for the worker is not
// game-thread time; the wall column is the whole operation from start to finish.
//
// Game-thread figures are the game thread's processor time (CLOCK_THREAD_CPUTIME_ID), so that
// other programs on a busy machine do not inflate them; the wall column is elapsed time.
// Medians of several runs. The panel's "outside ShowContainer" ends where the panel logs the
// load, just before it starts drawing; its sign-in (a short answer, read as it arrives) is shown
// apart and counted in neither total.

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Containers/StringConv.h"
#include "Dom/JsonObject.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "HAL/PlatformProcess.h"
#include "Host/CoreHost.h"
#include "Host/HostEngineLoop.h"
#include "Host/TestEngine.h"
#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"
#include "QuarnClient.h"
#include "QuarnReconcile.h"
#include "QuarnSettings.h"
#include "QuarnStashPanel.h"
#include "QuarnStashPanelReader.h"
#include "QuarnStashSync.h"
#include "QuarnSubsystem.h"
#include "QuarnTransport.h"
#include "QuarnUSMEContainerReader.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <time.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
	using FClock = std::chrono::steady_clock;

	double Milliseconds(FClock::time_point Start, FClock::time_point End = FClock::now())
	{
		return std::chrono::duration<double, std::milli>(End - Start).count();
	}

	/**
	 * The calling thread's processor time in milliseconds. Game-thread figures are measured with
	 * it, so that other programs on a busy machine do not count as the game thread's work.
	 */
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

	/** The container document as the platform writes it, as UTF-8 bytes. */
	TArray<uint8> MakeDocument(int32 Stacks, const TCHAR* Layout)
	{
		FString Text = FString::Printf(TEXT("{\"grid_height\":%d,\"grid_width\":%d,\"id\":\"ctr_bench\",\"items\":["), 1000, 1000);
		Text.Reserve(Stacks * 220 + 200);
		for (int32 Index = 0; Index < Stacks; ++Index)
		{
			const FString Id = InstanceId(Index);
			Text += FString::Printf(TEXT("%s{\"grid_h\":1,\"grid_w\":1,\"id\":\"%s\",\"item_id\":\"item_%03d\",\"properties\":{\"__qnid\":\"%s\"},\"quantity\":%d,\"rotated\":false,\"slot_index\":-1,\"slot_key\":\"\",\"x\":%d,\"y\":%d}"),
				Index == 0 ? TEXT("") : TEXT(","), *Id, Index % 200, *Id, 1 + Index % 20, Index % 1000, Index / 1000);
		}
		Text += FString::Printf(TEXT("],\"kind\":\"stash\",\"layout\":\"%s\",\"version\":41}"), Layout);
		const FTCHARToUTF8 Utf8(*Text);
		return TArray<uint8>(reinterpret_cast<const uint8*>(Utf8.Get()), Utf8.Length());
	}

	/** What the game holds: the container's stacks, 1% of them with another quantity. */
	TArray<FQuarnItemInstance> MakeDesired(int32 Stacks)
	{
		TArray<FQuarnItemInstance> Items;
		Items.Reserve(Stacks);
		for (int32 Index = 0; Index < Stacks; ++Index)
		{
			FQuarnItemInstance Item;
			Item.InstanceId = InstanceId(Index);
			Item.ItemId = FName(*FString::Printf(TEXT("item_%03d"), Index % 200));
			Item.Quantity = 1 + Index % 20 + (Index % 100 == 7 ? 3 : 0);
			Item.X = Index % 1000;
			Item.Y = Index / 1000;
			Items.Add(Item);
		}
		return Items;
	}

	/** Answers from memory, on the game thread, handing bytes over as the engine HTTP transport does. */
	class FBenchTransport : public IQuarnTransport
	{
	public:
		TArray<FQuarnTransportCallback> Pending;
		TArray<FQuarnHttpRequest> Sent;

		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			Sent.Add(Request);
			Pending.Add(MoveTemp(OnDone));
		}

		void AnswerBytes(const TArray<uint8>& Bytes)
		{
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = 200;
			Response.Content = MakeShared<TArray<uint8>, ESPMode::ThreadSafe>(Bytes);
			Deliver(Response);
		}

		void AnswerText(const FString& Text)
		{
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = 200;
			Response.Body = Text;
			Deliver(Response);
		}

	private:
		void Deliver(const FQuarnHttpResponse& Response)
		{
			FQuarnTransportCallback OnDone = MoveTemp(Pending[0]);
			Pending.RemoveAt(0);
			OnDone(Response);
		}
	};

	/** Notes when a line starting with Prefix is written. */
	class FLineClock : public FOutputDevice
	{
	public:
		explicit FLineClock(const TCHAR* InPrefix) : Prefix(InPrefix) {}
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName&) override
		{
			if (FString(V).StartsWith(Prefix))
			{
				SeenMs = ThreadMs();
				bSeen = true;
			}
		}
		virtual bool CanBeUsedOnAnyThread() const override { return true; }

		FString Prefix;
		double SeenMs = 0.0;
		bool bSeen = false;
	};

	/** Runs the game thread's queued tasks until Done, timing only the calls that ran something. */
	template <typename FDone>
	bool RunGameThreadUntil(FDone Done, double& InOutGameMs)
	{
		const FClock::time_point Deadline = FClock::now() + std::chrono::seconds(120);
		while (!Done())
		{
			if (FClock::now() > Deadline)
			{
				return false;
			}
			const double Start = ThreadMs();
			if (UE::Host::ProcessGameThreadTasks() > 0)
			{
				InOutGameMs += ThreadMs() - Start;
			}
			else
			{
				FPlatformProcess::Sleep(0.0001f);
			}
		}
		return true;
	}

	struct FStages
	{
		std::vector<double> Text, Parse, Read, Reconcile, Free, Whole;
	};

	/** The old path, every stage on this thread. */
	void BeforeSync(const TArray<uint8>& Bytes, const TArray<FQuarnItemInstance>& Desired, FStages& Out)
	{
		double Start = ThreadMs();
		const FUTF8ToTCHAR Converted(reinterpret_cast<const UTF8CHAR*>(Bytes.GetData()), Bytes.Num());
		const FString Text(Converted.Length(), Converted.Get());
		const double TextMs = (ThreadMs() - Start);

		Start = ThreadMs();
		TSharedPtr<FJsonObject> Json;
		FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Text), Json);
		const double ParseMs = (ThreadMs() - Start);

		Start = ThreadMs();
		const FQuarnUSMEContainerRead Read = QuarnUSMEContainerReader::Read(*Json);
		const double ReadMs = (ThreadMs() - Start);

		Start = ThreadMs();
		FQuarnSyncReport Report;
		TArray<TSharedPtr<FJsonValue>> Intents;
		QuarnReconcile::BuildIntents(Desired, Read.Items, TEXT("ctr_bench"), Report, Intents);
		const FString Body = QuarnReconcile::WriteTransactionBody(Intents, TEXT("ctr_bench"), Read.Version);
		const double ReconcileMs = (ThreadMs() - Start);

		Start = ThreadMs();
		Json.Reset();
		const double FreeMs = (ThreadMs() - Start);

		Out.Text.push_back(TextMs);
		Out.Parse.push_back(ParseMs);
		Out.Read.push_back(ReadMs);
		Out.Reconcile.push_back(ReconcileMs);
		Out.Free.push_back(FreeMs);
		Out.Whole.push_back(TextMs + ParseMs + ReadMs + ReconcileMs + FreeMs);
	}

	void BeforePanel(const TArray<uint8>& Bytes, FStages& Out)
	{
		double Start = ThreadMs();
		const FUTF8ToTCHAR Converted(reinterpret_cast<const UTF8CHAR*>(Bytes.GetData()), Bytes.Num());
		const FString Text(Converted.Length(), Converted.Get());
		const double TextMs = (ThreadMs() - Start);

		Start = ThreadMs();
		TSharedPtr<FJsonObject> Json;
		FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Text), Json);
		const double ParseMs = (ThreadMs() - Start);

		Start = ThreadMs();
		const FQuarnContainer Container = QuarnStashPanelReader::Read(*Json);
		const double ReadMs = (ThreadMs() - Start);

		Start = ThreadMs();
		Json.Reset();
		const double FreeMs = (ThreadMs() - Start);

		Out.Text.push_back(TextMs);
		Out.Parse.push_back(ParseMs);
		Out.Read.push_back(ReadMs);
		Out.Free.push_back(FreeMs);
		Out.Whole.push_back(TextMs + ParseMs + ReadMs + FreeMs);
	}

	struct FNowFigures
	{
		std::vector<double> Send, HandOver, Records, Finish, Whole, Wall, Show;
	};

	/** The node as it runs now. False when it did not finish as expected. */
	bool NowSync(UWorld* World, FBenchTransport& Transport, const TArray<uint8>& Bytes, const TArray<FQuarnItemInstance>& Desired, FNowFigures& Out)
	{
		Transport.Sent.Reset();
		const FClock::time_point Begin = FClock::now();
		double Start = ThreadMs();
		UQuarnSyncStash* Action = UQuarnSyncStash::SyncStash(World, TEXT("bench"), TEXT("ctr_bench"), Desired);
		Action->Activate();
		const double SendMs = (ThreadMs() - Start);
		if (Transport.Pending.Num() != 1)
		{
			return false;
		}

		Start = ThreadMs();
		Transport.AnswerBytes(Bytes);
		const double HandOverMs = (ThreadMs() - Start);

		double RecordsMs = 0.0;
		if (!RunGameThreadUntil([&] { return Transport.Pending.Num() > 0; }, RecordsMs) || Transport.Sent.Num() != 2)
		{
			return false;
		}

		Start = ThreadMs();
		Transport.AnswerText(TEXT("{\"applied\":true}"));
		double FinishMs = (ThreadMs() - Start);
		const double WallMs = Milliseconds(Begin);
		// Whatever the client still frees on a worker, so that runs do not overlap.
		if (!RunGameThreadUntil([] { return !UE::Host::HasPendingAsyncTasks(); }, FinishMs))
		{
			return false;
		}

		Out.Send.push_back(SendMs);
		Out.HandOver.push_back(HandOverMs);
		Out.Records.push_back(RecordsMs);
		Out.Finish.push_back(FinishMs);
		Out.Whole.push_back(SendMs + HandOverMs + RecordsMs + FinishMs);
		Out.Wall.push_back(WallMs);
		return true;
	}

	bool NowPanel(UGameInstance* GameInstance, FBenchTransport& Transport, const TArray<uint8>& Bytes, int32 Columns, int32 Rows, FNowFigures& Out)
	{
		UQuarnStashPanel* const Panel = CreateWidget<UQuarnStashPanel>(GameInstance);
		Panel->AddToRoot();
		Panel->bLoadOnConstruct = false;
		Panel->GridWidth = Columns;
		Panel->GridHeight = Rows;
		Panel->CellSize = 16.0f;
		Panel->TakeWidget();

		FLineClock Loaded(TEXT("Stash panel loaded"));
		GLog->AddOutputDevice(&Loaded);
		Transport.Sent.Reset();
		const FClock::time_point Begin = FClock::now();
		double Start = ThreadMs();
		Panel->LoadStash();
		if (Transport.Pending.Num() != 1)
		{
			Panel->RemoveFromRoot();
			return false;
		}
		Transport.AnswerText(TEXT("{\"player\":{\"id\":\"plr_bench\",\"provider\":\"anonymous\"},\"tokens\":{\"access_token\":\"tok\",\"token_type\":\"Bearer\",\"expires_in\":3600}}"));
		const double SendMs = (ThreadMs() - Start);

		if (Transport.Pending.Num() != 1)
		{
			Panel->RemoveFromRoot();
			return false;
		}
		Start = ThreadMs();
		Transport.AnswerBytes(Bytes);
		const double HandOverMs = (ThreadMs() - Start);

		// The task that brings the records in ends with ShowContainer; the log line just before
		// it splits the task's time.
		double TaskMs = 0.0;
		double TaskStart = 0.0;
		const FClock::time_point Deadline = FClock::now() + std::chrono::seconds(120);
		while (!Panel->IsReady() && FClock::now() < Deadline)
		{
			TaskStart = ThreadMs();
			if (UE::Host::ProcessGameThreadTasks() > 0)
			{
				TaskMs += ThreadMs() - TaskStart;
			}
			else
			{
				FPlatformProcess::Sleep(0.0001f);
			}
		}
		const double WallMs = Milliseconds(Begin);
		GLog->RemoveOutputDevice(&Loaded);
		const bool bOk = Panel->IsReady() && Loaded.bSeen;
		double Rest = 0.0;
		RunGameThreadUntil([] { return !UE::Host::HasPendingAsyncTasks(); }, Rest);
		if (bOk)
		{
			const double BeforeShow = Loaded.SeenMs - TaskStart;
			Out.Send.push_back(SendMs);
			Out.HandOver.push_back(HandOverMs);
			Out.Records.push_back(BeforeShow);
			Out.Show.push_back(TaskMs - BeforeShow);
			// The ensure answer's share, as the before figures count it; the sign-in is apart.
			Out.Whole.push_back(HandOverMs + BeforeShow + Rest);
			Out.Wall.push_back(WallMs);
		}
		Panel->RemoveFromRoot();
		return bOk;
	}
}

static int Run()
{
	UE::Host::FEngineLoopSettings Settings;
	Settings.PluginDescriptors.Add(TEXT(QUARN_PLUGIN_DESCRIPTOR));
	Settings.TimeBetweenGarbageCollectionPasses = 0.0f;
	UE::Host::FTestEngine Engine(Settings);
	if (!Engine.IsRunning())
	{
		std::fprintf(stderr, "bench-sync-frame: the engine did not start\n");
		return 1;
	}
	UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(Engine.GetWorld());
	if (Subsystem == nullptr)
	{
		std::fprintf(stderr, "bench-sync-frame: no Quarn subsystem\n");
		return 1;
	}
	Subsystem->SetAccessToken(TEXT("bench"), TEXT("tok_bench"));
	// Nothing leaves the process: the transport answers from memory.
	GetMutableDefault<UQuarnSettings>()->BaseUrl = TEXT("https://platform.example.com");
	const TSharedRef<FBenchTransport> Transport = MakeShared<FBenchTransport>();
	FQuarnClient::SetTransport(Transport);

	const int32 Sizes[] = { 100, 1000, 10000, 100000 };
	std::printf("Game-thread ms per sync (median; 1%% of stacks changed; answers as the platform sends them)\n\n");
	std::printf("%8s %9s | %8s %8s %8s %9s %8s %8s | %7s %9s %9s %7s %8s %8s\n", "stacks", "bytes",
		"text", "parse", "reader", "reconcile", "free", "BEFORE", "send", "hand-over", "reconcile", "finish", "NOW", "wall");
	for (const int32 Stacks : Sizes)
	{
		const TArray<uint8> Bytes = MakeDocument(Stacks, TEXT("grid"));
		const TArray<FQuarnItemInstance> Desired = MakeDesired(Stacks);
		const int32 Runs = Stacks >= 100000 ? 3 : 7;
		FStages Before;
		FNowFigures Now;
		for (int32 Run = 0; Run < Runs; ++Run)
		{
			BeforeSync(Bytes, Desired, Before);
			if (!NowSync(Engine.GetWorld(), *Transport, Bytes, Desired, Now))
			{
				std::fprintf(stderr, "bench-sync-frame: the sync of %d stacks did not finish\n", Stacks);
				return 1;
			}
			Engine.CollectGarbage();
		}
		std::printf("%8d %9d | %8.3f %8.3f %8.3f %9.3f %8.3f %8.3f | %7.3f %9.3f %9.3f %7.3f %8.3f %8.1f\n", Stacks, Bytes.Num(),
			Median(Before.Text), Median(Before.Parse), Median(Before.Read), Median(Before.Reconcile), Median(Before.Free), Median(Before.Whole),
			Median(Now.Send), Median(Now.HandOver), Median(Now.Records), Median(Now.Finish), Median(Now.Whole), Median(Now.Wall));
	}

	std::printf("\nGame-thread ms per stash panel load, outside ShowContainer (median; a grid 1,000 cells wide that draws every stack)\n\n");
	std::printf("%8s | %8s %8s %8s %8s %8s | %8s %9s %9s %8s | %13s %8s\n", "stacks",
		"text", "parse", "reader", "free", "BEFORE", "sign-in", "hand-over", "records", "NOW", "ShowContainer", "wall");
	for (const int32 Stacks : Sizes)
	{
		const TArray<uint8> Bytes = MakeDocument(Stacks, TEXT("grid"));
		// Stacks sit at x = index % 1000, y = index / 1000: a grid 1,000 wide holds them all.
		const int32 Rows = (Stacks + 999) / 1000;
		const int32 Runs = Stacks >= 100000 ? 1 : (Stacks >= 10000 ? 3 : 5);
		FStages Before;
		FNowFigures Now;
		for (int32 Run = 0; Run < Runs; ++Run)
		{
			BeforePanel(Bytes, Before);
			if (!NowPanel(Engine.GetGameInstance(), *Transport, Bytes, 1000, Rows, Now))
			{
				std::fprintf(stderr, "bench-sync-frame: the panel load of %d stacks did not finish\n", Stacks);
				return 1;
			}
			Engine.CollectGarbage();
		}
		std::printf("%8d | %8.3f %8.3f %8.3f %8.3f %8.3f | %8.3f %9.3f %9.3f %8.3f | %13.1f %8.1f\n", Stacks,
			Median(Before.Text), Median(Before.Parse), Median(Before.Read), Median(Before.Free), Median(Before.Whole),
			Median(Now.Send), Median(Now.HandOver), Median(Now.Records), Median(Now.Whole), Median(Now.Show), Median(Now.Wall));
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
