// Copyright Quarn. All Rights Reserved.

#include "SoakRun.h"
#include "Blueprint/UserWidget.h"
#include "Dom/JsonValue.h"
#include "Engine/World.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "QuarnAuthenticatePlayer.h"
#include "Tests/QuarnCorePinRecorder.h"
#include "QuarnDemoPanelWatcher.h"
#include "QuarnSession.h"
#include "QuarnSettings.h"
#include "QuarnStashPanel.h"
#include "QuarnStashSync.h"
#include "QuarnSubsystem.h"
#include "Tests/QuarnSyncPinRecorder.h"
#include "QuarnTest/EmulatorProcess.h"
#include "QuarnUSMELibrary.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace Soak
{
	const TCHAR* const Ticket = TEXT("soak_player");
	/** What the template picks up in play. */
	const TCHAR* const GraphItems[] = { TEXT("Bandage"), TEXT("Medkit"), TEXT("Ammo"), TEXT("Rifle"), TEXT("Helmet") };
	/** What the player drops into the stash through the panel: never in the template's list, so a merge cannot touch its stacks. */
	const TCHAR* const PanelItems[] = { TEXT("Water"), TEXT("Backpack"), TEXT("Pistol") };
	constexpr int32 SlotCount = 40;
	/** Syncs after which a round that still has not succeeded counts as broken. */
	constexpr int32 MaxSyncsPerRound = 25;
	/** Loads of the panel, or sign-ins of the graph's player, before a fault-ridden start counts as broken. */
	constexpr int32 MaxLoadAttempts = 10;

	bool IsTokenExpired(const FQuarnError& Error)
	{
		return Error.Code.Equals(TEXT("token_expired"), ESearchCase::CaseSensitive);
	}

	TSharedPtr<FJsonObject> ParseJson(const std::string& Body)
	{
		TSharedPtr<FJsonObject> Object;
		FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(FString(UTF8_TO_TCHAR(Body.c_str()))), Object);
		return Object;
	}

	std::string Utf8(const FString& Text)
	{
		return std::string(TCHAR_TO_UTF8(*Text));
	}
}

FSoak::FSoak(const FSoakOptions& InOptions)
	: Options(InOptions)
	, Rng(InOptions.Seed)
{
}

FSoak::~FSoak()
{
	Stop();
}

int32 FSoak::Random(int32 Min, int32 Max)
{
	return std::uniform_int_distribution<int32>(Min, Max)(Rng);
}

bool FSoak::TickUntil(TFunctionRef<bool()> Done, double TimeoutSeconds)
{
	const double Deadline = FPlatformTime::Seconds() + TimeoutSeconds;
	double Last = FPlatformTime::Seconds();
	while (!Done())
	{
		const double Now = FPlatformTime::Seconds();
		if (Now > Deadline)
		{
			return false;
		}
		Loop.Tick(static_cast<float>(FMath::Max(Now - Last, 1.0 / 1000.0)));
		Last = Now;
		FPlatformProcess::Sleep(0.0005f);
	}
	return true;
}

bool FSoak::Start()
{
	if (!Options.EmulatorPath.empty())
	{
		setenv("VELMORA_EMULATOR", Options.EmulatorPath.c_str(), 1);
	}
	Emulator = MakeUnique<QuarnTest::EmulatorProcess>();
	// A file database, so that the platform's records survive its restarts.
	DatabasePath = "/tmp/quarn-soak-" + std::to_string(getpid()) + ".db";
	for (const char* Suffix : { "", "-wal", "-shm" })
	{
		std::remove((DatabasePath + Suffix).c_str());
	}
	std::vector<std::string> Arguments = { "--db", DatabasePath, "--faults", Options.Faults, "--seed", std::to_string(Options.Seed) };
	if (Options.TokenTtlSeconds > 0)
	{
		Arguments.push_back("--token-ttl");
		Arguments.push_back(std::to_string(Options.TokenTtlSeconds));
	}
	for (int64 Restart = 1; Restart <= Options.Restarts; ++Restart)
	{
		RestartRounds.Add(FMath::Max<int64>(1, Options.Rounds * Restart / (Options.Restarts + 1)));
	}
	if (!Emulator->Start(Arguments))
	{
		std::fprintf(stderr, "The platform emulator did not start: %s\n", Emulator->LastError().c_str());
		return false;
	}

	HttpLog = MakeUnique<UE::Host::FLogCapture>(TEXT("LogHttp"));
	UE::Host::FEngineLoopSettings Settings;
	Settings.PluginDescriptors.Add(UTF8_TO_TCHAR(Options.PluginDescriptor.c_str()));
	if (!Loop.PreInit(Settings) || !Loop.Init())
	{
		std::fprintf(stderr, "The engine did not start.\n");
		return false;
	}
	bEngineStarted = true;
	GetMutableDefault<UQuarnSettings>()->BaseUrl = UTF8_TO_TCHAR(Emulator->BaseUrl().c_str());

	if (UQuarnSubsystem::Get(Loop.GetWorld()) == nullptr)
	{
		std::fprintf(stderr, "The core's subsystem is missing.\n");
		return false;
	}
	if (!SignInGraphPlayer())
	{
		std::fprintf(stderr, "The soak player could not sign in.\n");
		return false;
	}

	// The second writer: a stash panel of the same player and container, built as a menu would show it.
	Panel = CreateWidget<UQuarnStashPanel>(Loop.GetWorld());
	Panel->AddToRoot();
	Panel->Ticket = Soak::Ticket;
	Panel->ContainerKind = TEXT("stash");
	Panel->Layout = EQuarnContainerLayout::Slots;
	Panel->SlotCount = Soak::SlotCount;
	Watcher = NewObject<UQuarnDemoPanelWatcher>(GetTransientPackage());
	Watcher->AddToRoot();
	Watcher->Watch(Panel);
	Panel->TakeWidget();
	for (int32 Attempt = 1; Attempt < Soak::MaxLoadAttempts && !Panel->IsReady(); ++Attempt)
	{
		// Faults reach sign-ins and ensures too; a menu would offer to load again.
		const int32 FailuresBefore = Watcher->Failures;
		TickUntil([this, FailuresBefore] { return Panel->IsReady() || Watcher->Failures > FailuresBefore; });
		if (!Panel->IsReady())
		{
			Panel->LoadStash();
		}
	}
	if (!TickUntil([this] { return Panel->IsReady(); }) || !Panel->IsReady())
	{
		std::fprintf(stderr, "The stash panel did not load: %s\n", Soak::Utf8(Watcher->LastError.Message).c_str());
		return false;
	}

	// The container both write: the panel's, found through the platform's record of the player.
	const TSharedPtr<FJsonObject> Listing = Soak::ParseJson(Emulator->Admin("GET", "/admin/players/" + Soak::Utf8(PlayerId) + "/containers").Body);
	const TArray<TSharedPtr<FJsonValue>>* Containers = nullptr;
	if (!Listing.IsValid() || !Listing->TryGetArrayField(TEXT("containers"), Containers) || Containers->Num() != 1)
	{
		std::fprintf(stderr, "The soak player should hold exactly one container.\n");
		return false;
	}
	ContainerId = (*Containers)[0]->AsObject()->GetStringField(TEXT("id"));
	return true;
}

void FSoak::Stop()
{
	if (Watcher != nullptr)
	{
		Watcher->RemoveFromRoot();
		Watcher = nullptr;
	}
	if (Panel != nullptr)
	{
		Panel->RemoveFromRoot();
		Panel = nullptr;
	}
	if (bEngineStarted)
	{
		Loop.Exit();
		UE::Host::FHostEngineLoop::ShutdownModules();
		bEngineStarted = false;
	}
	HttpLog.Reset();
	if (Emulator.IsValid() && Emulator->IsRunning())
	{
		Emulator->Stop();
	}
	if (!DatabasePath.empty())
	{
		for (const char* Suffix : { "", "-wal", "-shm" })
		{
			std::remove((DatabasePath + Suffix).c_str());
		}
	}
}

bool FSoak::SignInGraphPlayer()
{
	for (int32 Attempt = 0; Attempt < Soak::MaxLoadAttempts; ++Attempt)
	{
		UQuarnCorePinRecorder* const Pins = NewObject<UQuarnCorePinRecorder>(GetTransientPackage());
		Pins->AddToRoot();
		UQuarnAuthenticatePlayer* const Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Loop.GetWorld(), TEXT("anonymous"), Soak::Ticket);
		Pins->Bind(Action);
		Action->Activate();
		TickUntil([Pins] { return Pins->Total() > 0; });
		Pins->RemoveFromRoot();
		if (Pins->Successes == 1)
		{
			PlayerId = Pins->Player.PlayerId;
			return true;
		}
	}
	return false;
}

bool FSoak::ReloadPanel(FSoakFigures& Figures)
{
	for (int32 Attempt = 0; Attempt < Soak::MaxLoadAttempts; ++Attempt)
	{
		const int32 LoadsBefore = Watcher->Loads;
		const int32 FailuresBefore = Watcher->Failures;
		Panel->LoadStash();
		TickUntil([&] { return Watcher->Loads > LoadsBefore || Watcher->Failures > FailuresBefore; });
		if (Watcher->Loads > LoadsBefore && Panel->IsReady())
		{
			return true;
		}
		++Figures.PanelLoadFailures;
	}
	return false;
}

void FSoak::CollectFaultCounters(FSoakFigures& Figures)
{
	const TSharedPtr<FJsonObject> Faults = Soak::ParseJson(Emulator->Admin("GET", "/admin/faults").Body);
	if (Faults.IsValid() && Faults->HasTypedField<EJson::Object>(TEXT("injected")))
	{
		const TSharedPtr<FJsonObject> Injected = Faults->GetObjectField(TEXT("injected"));
		Figures.FaultsInjected += static_cast<int64>(Injected->GetNumberField(TEXT("total")));
		Figures.FaultsUnavailable += static_cast<int64>(Injected->GetNumberField(TEXT("unavailable")));
		Figures.FaultsDropped += static_cast<int64>(Injected->GetNumberField(TEXT("drop")));
		Figures.FaultsDelayed += static_cast<int64>(Injected->GetNumberField(TEXT("delay")));
	}
}

bool FSoak::RestartPlatform(FSoakFigures& Figures)
{
	CollectFaultCounters(Figures);
	// A crash, not a shutdown: whatever is in flight is cut off.
	Emulator->Kill(SIGKILL);
	++Figures.Restarts;
	return Emulator->Restart();
}

bool FSoak::ReadStored(TSharedPtr<FJsonObject>& OutContainer) const
{
	OutContainer = Soak::ParseJson(Emulator->Admin("GET", "/admin/containers/" + Soak::Utf8(ContainerId)).Body);
	return OutContainer.IsValid() && OutContainer->HasTypedField<EJson::Array>(TEXT("items"));
}

TArray<FQuarnItemInstance> FSoak::InventoryFromContainer(const FJsonObject& Container) const
{
	// What the template holds after a sync: each stack broken into USME fields, the id in DataKeys.
	TArray<FQuarnItemInstance> Items;
	for (const TSharedPtr<FJsonValue>& Value : Container.GetArrayField(TEXT("items")))
	{
		const TSharedPtr<FJsonObject> Stack = Value->AsObject();
		TArray<FName> Keys;
		TArray<FString> Values;
		UQuarnUSMELibrary::WriteInstanceId(Keys, Values, Stack->GetStringField(TEXT("id")));
		Items.Add(UQuarnUSMELibrary::MakeItemFromUSME(FName(*Stack->GetStringField(TEXT("item_id"))), static_cast<int32>(Stack->GetNumberField(TEXT("quantity"))),
			static_cast<int32>(Stack->GetNumberField(TEXT("slot_index"))), 1.0f, Keys, Values));
	}
	return Items;
}

void FSoak::Mutate(TArray<FQuarnItemInstance>& Items, const FJsonObject& Container)
{
	TSet<int32> Taken;
	for (const TSharedPtr<FJsonValue>& Value : Container.GetArrayField(TEXT("items")))
	{
		Taken.Add(static_cast<int32>(Value->AsObject()->GetNumberField(TEXT("slot_index"))));
	}
	const bool bCrowded = Items.Num() > 14;

	TArray<FQuarnItemInstance> Result;
	TArray<int32> Untouched;
	for (const FQuarnItemInstance& Item : Items)
	{
		const int32 Roll = Random(0, 99);
		FQuarnItemInstance Changed = Item;
		if (Roll < (bCrowded ? 40 : 10))
		{
			continue; // dropped in play: the stack must be consumed
		}
		if (Roll < 25)
		{
			Changed.Quantity = Random(1, 20);
		}
		else if (Roll < 35)
		{
			// Moved to an empty slot; two moves never aim at the same one.
			const int32 Slot = Random(0, Soak::SlotCount - 1);
			if (!Taken.Contains(Slot))
			{
				Taken.Add(Slot);
				Changed.SlotIndex = Slot;
			}
		}
		else
		{
			Untouched.Add(Result.Num());
		}
		Result.Add(Changed);
	}
	// A duplicated stack, as a template bug copies one with its DataKeys: the same units twice in the list.
	if (Untouched.Num() > 0 && Random(0, 99) < 15)
	{
		const FQuarnItemInstance Copy = Result[Untouched[Random(0, Untouched.Num() - 1)]];
		Result.Add(Copy);
	}
	const int32 NewStacks = Random(0, 2);
	for (int32 Index = 0; Index < NewStacks; ++Index)
	{
		const TCHAR* const Item = Soak::GraphItems[Random(0, UE_ARRAY_COUNT(Soak::GraphItems) - 1)];
		Result.Add(UQuarnUSMELibrary::MakeItemFromUSME(FName(Item), Random(1, 10), -1, 1.0f, TArray<FName>(), TArray<FString>()));
	}
	Items = MoveTemp(Result);
}

bool FSoak::StartPanelOperation(const FJsonObject& Container)
{
	const TArray<TSharedPtr<FJsonValue>>& Stacks = Container.GetArrayField(TEXT("items"));
	if (Stacks.Num() > 0 && Random(0, 1) == 0)
	{
		const TSharedPtr<FJsonObject> Stack = Stacks[Random(0, Stacks.Num() - 1)]->AsObject();
		FQuarnItemInstance Instance;
		Instance.InstanceId = Stack->GetStringField(TEXT("id"));
		Instance.ItemId = FName(*Stack->GetStringField(TEXT("item_id")));
		Instance.Quantity = static_cast<int32>(Stack->GetNumberField(TEXT("quantity")));
		Panel->WithdrawInstance(Instance);
		return true;
	}
	Panel->DepositItem(FName(Soak::PanelItems[Random(0, UE_ARRAY_COUNT(Soak::PanelItems) - 1)]), Random(1, 5));
	return true;
}

void FSoak::RunRound(int64 Round, FSoakFigures& Figures, TArray<FString>& OutViolations)
{
	TSharedPtr<FJsonObject> Container;
	if (!ReadStored(Container))
	{
		OutViolations.Add(TEXT("the container could not be read"));
		return;
	}
	TArray<FQuarnItemInstance> Desired = InventoryFromContainer(*Container);
	Mutate(Desired, *Container);

	TArray<UQuarnSyncPinRecorder*> Recorders;
	auto StartSync = [this, &Desired, &Recorders, &Figures]() -> UQuarnSyncPinRecorder*
	{
		UQuarnSyncPinRecorder* const Recorder = NewObject<UQuarnSyncPinRecorder>(GetTransientPackage());
		Recorder->AddToRoot();
		Recorders.Add(Recorder);
		UQuarnSyncStash* const Action = UQuarnSyncStash::SyncStash(Loop.GetWorld(), PlayerId, ContainerId, Desired);
		Recorder->Bind(Action);
		Action->Activate();
		++Figures.Syncs;
		return Recorder;
	};

	// The sync and, now and then, the panel's own change, at the same time.
	const int32 PanelAcceptedBefore = Watcher->Deposits + Watcher->Withdrawals;
	const int32 PanelFailuresBefore = Watcher->Failures;
	const int32 PanelLoadsBefore = Watcher->Loads;
	UQuarnSyncPinRecorder* Last = StartSync();
	const bool bPanelWrites = Random(0, 99) < 60 && StartPanelOperation(*Container);
	Figures.PanelOperations += bPanelWrites ? 1 : 0;

	// The platform crashes while the requests are on their way, and comes back on the same port.
	bool bRestarted = false;
	while (RestartRounds.Num() > 0 && RestartRounds[0] == Round)
	{
		RestartRounds.RemoveAt(0);
		const double Wait = Random(0, 30) / 1000.0;
		TickUntil([] { return false; }, Wait);
		if (!RestartPlatform(Figures))
		{
			OutViolations.Add(FString::Printf(TEXT("the platform did not start again: %s"), UTF8_TO_TCHAR(Emulator->LastError().c_str())));
			return;
		}
		bRestarted = true;
	}

	const bool bAnswered = TickUntil([&]
	{
		const bool bPanelDone = !bPanelWrites || Watcher->Deposits + Watcher->Withdrawals + Watcher->Failures > PanelAcceptedBefore + PanelFailuresBefore;
		return Last->Total() > 0 && bPanelDone;
	});
	if (!bAnswered)
	{
		OutViolations.Add(TEXT("the sync or the panel did not answer within 30 seconds"));
	}
	const bool bPanelChanged = Watcher->Deposits + Watcher->Withdrawals > PanelAcceptedBefore;
	const bool bPanelOperationFailed = bPanelWrites && !bPanelChanged && Watcher->Failures > PanelFailuresBefore;
	if (bPanelOperationFailed && Soak::IsTokenExpired(Watcher->LastError))
	{
		OutViolations.Add(TEXT("a panel operation failed with token_expired while its ticket was good"));
	}
	bool bPanelNeedsLoad = bRestarted;
	if (bPanelChanged)
	{
		// A successful operation reloads the panel; let that finish before the next one. Faults
		// reach that sign-in and ensure too, and then the panel is loaded again below.
		const int32 FailuresAtAccept = Watcher->Failures;
		TickUntil([&] { return Watcher->Loads > PanelLoadsBefore || Watcher->Failures > FailuresAtAccept; }, 10.0);
		if (Watcher->Loads == PanelLoadsBefore)
		{
			bPanelNeedsLoad = true;
			if (Watcher->Failures > FailuresAtAccept)
			{
				++Figures.PanelLoadFailures;
				if (Soak::IsTokenExpired(Watcher->LastError))
				{
					OutViolations.Add(TEXT("a panel load failed with token_expired while its ticket was good"));
				}
			}
		}
	}
	else if (bPanelOperationFailed)
	{
		bPanelNeedsLoad = true;
	}
	if (bPanelNeedsLoad && !ReloadPanel(Figures))
	{
		OutViolations.Add(FString::Printf(TEXT("the panel did not load again in %d attempts (last code %s)"), Soak::MaxLoadAttempts, *Watcher->LastError.Code));
	}

	// Re-read and sync until a sync succeeds with nobody else writing, as the conflict line says.
	bool bNeedsSync = Last->Successes == 0 || bPanelChanged;
	int32 Attempts = 1;
	while (bAnswered && bNeedsSync && Attempts < Soak::MaxSyncsPerRound)
	{
		if (Last->Failures > 0)
		{
			if (Soak::IsTokenExpired(Last->Error))
			{
				OutViolations.Add(TEXT("a sync failed with token_expired while its ticket was good"));
			}
			if (Last->Error.Code.Equals(TEXT("version_conflict"), ESearchCase::IgnoreCase))
			{
				++Figures.Conflicts;
			}
			else
			{
				++Figures.OtherSyncFailures;
			}
		}
		Last = StartSync();
		++Attempts;
		if (!TickUntil([&] { return Last->Total() > 0; }))
		{
			OutViolations.Add(TEXT("a sync did not answer within 30 seconds"));
			break;
		}
		bNeedsSync = Last->Successes == 0;
	}
	if (Last->Successes != 1 && Soak::IsTokenExpired(Last->Error))
	{
		OutViolations.Add(TEXT("the last sync failed with token_expired while its ticket was good"));
	}
	if (Last->Successes != 1)
	{
		OutViolations.Add(FString::Printf(TEXT("no sync succeeded in %d attempts (last code %s)"), Attempts, *Last->Error.Code));
	}

	// A second pin, or a pin fired twice, would show within a few more frames.
	TickUntil([] { return false; }, 0.01);
	for (UQuarnSyncPinRecorder* Recorder : Recorders)
	{
		if (Recorder->Total() != 1)
		{
			OutViolations.Add(FString::Printf(TEXT("a sync node fired %d pins (%d success, %d failure)"), Recorder->Total(), Recorder->Successes, Recorder->Failures));
		}
		Figures.Intents += Recorder->Report.Granted + Recorder->Report.Consumed + Recorder->Report.Moved;
	}
	const int32 PanelAnswers = Watcher->Deposits + Watcher->Withdrawals - PanelAcceptedBefore + (bPanelOperationFailed ? 1 : 0);
	if (PanelAnswers != (bPanelWrites ? 1 : 0))
	{
		OutViolations.Add(FString::Printf(TEXT("the panel answered %d times to %d operations"), PanelAnswers, bPanelWrites ? 1 : 0));
	}

	// The platform's records, against each other and against what the graph asked for.
	TSharedPtr<FJsonObject> Stored;
	const std::string Since = std::to_string(Replay.GetVersion());
	const TSharedPtr<FJsonObject> History = Soak::ParseJson(Emulator->Admin("GET", "/admin/containers/" + Soak::Utf8(ContainerId) + "/history?since=" + Since).Body);
	if (!ReadStored(Stored) || !History.IsValid() || !History->HasTypedField<EJson::Array>(TEXT("entries")))
	{
		OutViolations.Add(TEXT("the container or its history could not be read"));
	}
	else
	{
		Replay.Apply(History->GetArrayField(TEXT("entries")), OutViolations);
		const TArray<TSharedPtr<FJsonValue>>& Items = Stored->GetArrayField(TEXT("items"));
		Replay.Compare(Items, OutViolations);
		if (static_cast<int64>(Stored->GetNumberField(TEXT("version"))) != Replay.GetVersion())
		{
			OutViolations.Add(TEXT("the container's version is not the last version of its history"));
		}
		FindSharedInstanceIds(Items, OutViolations);
		if (Last->Successes == 1)
		{
			Figures.SkippedStacks += Last->Report.Warnings.Num();
			const TMap<FString, int64> Expected = ExpectedUnits(Desired, Last->Report.Warnings);
			const TMap<FString, int64> Held = StoredUnits(Items);
			if (!Expected.OrderIndependentCompareEqual(Held))
			{
				FString Wanted;
				for (const TPair<FString, int64>& Pair : Expected)
				{
					Wanted += FString::Printf(TEXT(" %s=%lld"), *Pair.Key, static_cast<long long>(Pair.Value));
				}
				FString Have;
				for (const TPair<FString, int64>& Pair : Held)
				{
					Have += FString::Printf(TEXT(" %s=%lld"), *Pair.Key, static_cast<long long>(Pair.Value));
				}
				OutViolations.Add(FString::Printf(TEXT("round %lld: units wanted%s, held%s"), static_cast<long long>(Round), *Wanted, *Have));
			}
		}
	}

	const UQuarnSubsystem* const Subsystem = UQuarnSubsystem::Get(Loop.GetWorld());
	if (Subsystem == nullptr || !Subsystem->IsPlayerAuthenticated(PlayerId))
	{
		OutViolations.Add(TEXT("the graph's player lost its session while its ticket was good"));
	}

	for (UQuarnSyncPinRecorder* Recorder : Recorders)
	{
		Recorder->RemoveFromRoot();
	}
}

bool FSoak::Run(FSoakFigures& OutFigures)
{
	if (Options.bKeep)
	{
		return RunKeep(OutFigures);
	}
	OutFigures = FSoakFigures();
	if (!Start())
	{
		return false;
	}
	const double Began = FPlatformTime::Seconds();
	for (int64 Round = 1; Round <= Options.Rounds; ++Round)
	{
		TArray<FString> Violations;
		RunRound(Round, OutFigures, Violations);
		++OutFigures.Rounds;
		OutFigures.Violations += Violations.Num();
		for (const FString& Violation : Violations)
		{
			std::printf("round %lld: VIOLATION %s\n", static_cast<long long>(Round), TCHAR_TO_UTF8(*Violation));
		}
		if (Round % 1000 == 0)
		{
			std::printf("  %lld rounds, %lld violations, %.0f s\n", static_cast<long long>(Round), static_cast<long long>(OutFigures.Violations), FPlatformTime::Seconds() - Began);
		}
		std::fflush(stdout);
		// Collect now and then, as the engine does, so that finished actions are really freed.
		if (Round % 100 == 0)
		{
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		}
	}

	CollectFaultCounters(OutFigures);
	OutFigures.Retries = HttpLog->Count(TEXT("Retry "));
	OutFigures.Renewals = FQuarnSession::GetTotalRenewals();
	Stop();
	return true;
}
