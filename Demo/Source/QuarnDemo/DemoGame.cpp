// Copyright Quarn. All Rights Reserved.

#include "DemoGame.h"
#include "Components/Widget.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Engine/DataTable.h"
#include "Engine/World.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Host/EngineAssets.h"
#include "Host/TraceHost.h"
#include "Host/UMGHost.h"
#include "Modules/ModuleManager.h"
#include "QuarnDemoItemRow.h"
#include "QuarnDemoPanelWatcher.h"
#include "QuarnDemoScreen.h"
#include "QuarnSettings.h"
#include "QuarnStashPanel.h"
#include "QuarnTest/EmulatorProcess.h"
#include "QuarnUSMESyncTest.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UObject/SoftObjectPtr.h"

#include <cstdio>
#include <cstdlib>

namespace DemoGame
{
	const TCHAR* const ItemTablePath = TEXT("/Game/Data/DemoItems.DemoItems");
	const TCHAR* const Ticket = TEXT("demo_player");

	struct FItemArt
	{
		const TCHAR* Id;
		const TCHAR* Name;
	};

	// Every icon under Content/Icons, one row each.
	const FItemArt Items[] = {
		{ TEXT("Bandage"), TEXT("Bandage") },
		{ TEXT("Medkit"), TEXT("Medkit") },
		{ TEXT("Ammo"), TEXT("Ammo box") },
		{ TEXT("Water"), TEXT("Water flask") },
		{ TEXT("Pistol"), TEXT("Pistol") },
		{ TEXT("Rifle"), TEXT("Rifle") },
		{ TEXT("Helmet"), TEXT("Helmet") },
		{ TEXT("Backpack"), TEXT("Backpack") },
	};

	void Print(const FString& Line)
	{
		std::printf("%s\n", TCHAR_TO_UTF8(*Line));
		std::fflush(stdout);
	}

	TSharedPtr<FJsonObject> ParseJson(const std::string& Body)
	{
		TSharedPtr<FJsonObject> Object;
		FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(FString(UTF8_TO_TCHAR(Body.c_str()))), Object);
		return Object;
	}

	FString Describe(const FQuarnItemInstance& Item)
	{
		return FString::Printf(TEXT("%s x%d (%s)"), *Item.ItemId.ToString(), Item.Quantity, *Item.InstanceId);
	}
}

FDemoGame::FDemoGame(const FDemoOptions& InOptions)
	: Options(InOptions)
{
}

FDemoGame::~FDemoGame()
{
	StopAll();
}

bool FDemoGame::TickUntil(TFunctionRef<bool()> Done, double TimeoutSeconds)
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
		Loop.Tick(static_cast<float>(FMath::Max(Now - Last, 1.0 / 240.0)));
		Last = Now;
		FPlatformProcess::Sleep(0.002f);
	}
	return true;
}

void FDemoGame::TickFor(double Seconds)
{
	const double Until = FPlatformTime::Seconds() + Seconds;
	TickUntil([Until] { return FPlatformTime::Seconds() >= Until; }, Seconds + 1.0);
}

bool FDemoGame::StartPlatform()
{
	if (!Options.EmulatorPath.empty())
	{
		setenv("VELMORA_EMULATOR", Options.EmulatorPath.c_str(), 1);
	}
	Emulator = MakeUnique<QuarnTest::EmulatorProcess>();
	if (!Emulator->Start())
	{
		DemoGame::Print(FString::Printf(TEXT("The platform emulator did not start: %s"), UTF8_TO_TCHAR(Emulator->LastError().c_str())));
		return false;
	}
	DemoGame::Print(FString::Printf(TEXT("Platform emulator at %s"), UTF8_TO_TCHAR(Emulator->BaseUrl().c_str())));
	return true;
}

bool FDemoGame::StartEngine()
{
	// Before the modules start, so that the adapter's start line is seen.
	QuarnLog = MakeUnique<UE::Host::FLogCapture>(TEXT("LogQuarn"));

	UE::Host::FEngineLoopSettings Settings;
	Settings.ProjectDirectory = UTF8_TO_TCHAR(Options.ProjectDirectory.c_str());
	Settings.PluginDescriptors.Add(UTF8_TO_TCHAR(Options.PluginDescriptor.c_str()));
	if (!Loop.PreInit(Settings) || !Loop.Init())
	{
		DemoGame::Print(TEXT("The engine did not start (see the log above)."));
		return false;
	}
	bEngineStarted = true;

	// The project's settings: where the platform answers, and the item table the panels draw from.
	UQuarnSettings* const QuarnSettings = GetMutableDefault<UQuarnSettings>();
	QuarnSettings->BaseUrl = UTF8_TO_TCHAR(Emulator->BaseUrl().c_str());
	QuarnSettings->ItemIconTable = TSoftObjectPtr<UDataTable>(FSoftObjectPath(DemoGame::ItemTablePath));

	UDataTable* const Table = UE::Host::CreateAsset<UDataTable>(DemoGame::ItemTablePath);
	if (Table == nullptr)
	{
		DemoGame::Print(TEXT("The item table could not be made."));
		return false;
	}
	Table->RowStruct = FQuarnDemoItemRow::StaticStruct();
	for (const DemoGame::FItemArt& Item : DemoGame::Items)
	{
		FQuarnDemoItemRow Row;
		Row.DisplayName = FText::FromString(Item.Name);
		Row.Icon = TSoftObjectPtr<UTexture2D>(FSoftObjectPath(FString::Printf(TEXT("/Game/Icons/%s.%s"), Item.Id, Item.Id)));
		Table->AddRow(FName(Item.Id), Row);
	}

	if (UE::Host::CreateGameViewport(Loop.GetWorld(), FVector2D(1920.0, 1080.0)) == nullptr)
	{
		DemoGame::Print(TEXT("The game has no viewport."));
		return false;
	}
	return true;
}

void FDemoGame::StopAll()
{
	if (StashWatcher != nullptr)
	{
		StashWatcher->RemoveFromRoot();
		StashWatcher = nullptr;
	}
	if (LoadoutWatcher != nullptr)
	{
		LoadoutWatcher->RemoveFromRoot();
		LoadoutWatcher = nullptr;
	}
	if (Screen != nullptr)
	{
		Screen->RemoveFromRoot();
		Screen = nullptr;
	}
	if (bEngineStarted)
	{
		// Let answers still on their way arrive before the engine goes.
		TickFor(0.2);
		Loop.Exit();
		UE::Host::FHostEngineLoop::ShutdownModules();
		bEngineStarted = false;
	}
	QuarnLog.Reset();
	if (Emulator.IsValid() && Emulator->IsRunning())
	{
		Emulator->Stop();
	}
}

FVector2D FDemoGame::CellCentre(const UQuarnStashPanel& Panel, int32 X, int32 Y) const
{
	const UWidget* const Grid = Panel.GetWidgetFromName(TEXT("StashGrid"));
	if (Grid == nullptr)
	{
		return FVector2D(-1.0, -1.0);
	}
	const double Pitch = Panel.CellSize;
	return FVector2D(Grid->GetCachedGeometry().LocalToAbsolute(FVector2D((X + 0.5) * Pitch, (Y + 0.5) * Pitch)));
}

bool FDemoGame::WaitForReload(const UQuarnDemoPanelWatcher& Watcher, int32 LoadsBefore)
{
	// One more frame after the draw, so that hit tests see the new layout.
	const bool bLoaded = TickUntil([&Watcher, LoadsBefore] { return Watcher.Loads > LoadsBefore; });
	TickFor(0.05);
	return bLoaded;
}

bool FDemoGame::ReadContainer(const FString& Kind, TSharedPtr<FJsonObject>& OutContainer, FString& OutWhy) const
{
	const QuarnTest::HttpResponse Answer = Emulator->Admin("GET", "/admin/players/" + std::string(TCHAR_TO_UTF8(*PlayerId)) + "/containers");
	const TSharedPtr<FJsonObject> Body = DemoGame::ParseJson(Answer.Body);
	const TArray<TSharedPtr<FJsonValue>>* Containers = nullptr;
	if (Answer.Status != 200 || !Body.IsValid() || !Body->TryGetArrayField(TEXT("containers"), Containers))
	{
		OutWhy = FString::Printf(TEXT("the platform's container list could not be read (status %d)"), Answer.Status);
		return false;
	}
	for (const TSharedPtr<FJsonValue>& Value : *Containers)
	{
		const TSharedPtr<FJsonObject> Container = Value->AsObject();
		if (Container.IsValid() && Container->GetStringField(TEXT("kind")) == Kind)
		{
			OutContainer = Container;
			return true;
		}
	}
	OutWhy = FString::Printf(TEXT("the player has no '%s' container on the platform"), *Kind);
	return false;
}

void FDemoGame::RunStep(const TCHAR* Title, const FText& Caption, bool (FDemoGame::*Step)(FString&))
{
	const int32 Number = Results.Num() + 1;
	DemoGame::Print(FString::Printf(TEXT("[%d] %s"), Number, Title));
	if (Screen != nullptr)
	{
		Screen->SetCaption(FText::Format(NSLOCTEXT("QuarnDemo", "Caption", "Step {0}: {1}"), FText::AsNumber(Number), Caption));
	}

	FStepResult Result;
	Result.Title = Title;
	// A step runs only while the ones before it worked: each builds on what the last one left.
	const bool bEarlierFailed = Results.ContainsByPredicate([](const FStepResult& Earlier) { return !Earlier.bPassed; });
	if (bEarlierFailed)
	{
		Result.Detail = TEXT("skipped: an earlier step failed");
	}
	else
	{
		Result.bPassed = (this->*Step)(Result.Detail);
	}
	if (bEngineStarted)
	{
		TickFor(0.05);
		const FString Picture = FString::Printf(TEXT("%s/step-%d.png"), UTF8_TO_TCHAR(Options.OutputDirectory.c_str()), Number);
		if (!UE::Host::SaveGameViewportToPng(Loop.GetWorld(), Picture))
		{
			Result.bPassed = false;
			Result.Detail += FString::Printf(TEXT("; the picture %s could not be written"), *Picture);
		}
	}
	DemoGame::Print(FString::Printf(TEXT("    %s  %s"), Result.bPassed ? TEXT("OK    ") : TEXT("FAILED"), *Result.Detail));
	Results.Add(MoveTemp(Result));
}

bool FDemoGame::StepEngine(FString& OutDetail)
{
	const TCHAR* const Modules[] = { TEXT("QuarnCore"), TEXT("QuarnUSME"), TEXT("QuarnUI") };
	for (const TCHAR* Module : Modules)
	{
		if (!FModuleManager::Get().IsModuleLoaded(Module))
		{
			OutDetail = FString::Printf(TEXT("module %s is not loaded"), Module);
			return false;
		}
	}
	if (QuarnLog->Count(TEXT("Quarn USME adapter loaded."), ELogVerbosity::Log) != 1)
	{
		OutDetail = TEXT("the adapter's start line did not appear exactly once");
		return false;
	}
	OutDetail = TEXT("QuarnCore, QuarnUSME and QuarnUI loaded; the adapter logged \"Quarn USME adapter loaded.\"; 1920x1080 viewport");
	return true;
}

bool FDemoGame::StepUsmeActor(FString& OutDetail)
{
	QuarnLog->Reset();
	AQuarnUSMESyncTest* const Actor = Loop.GetWorld()->SpawnActor<AQuarnUSMESyncTest>();
	if (Actor == nullptr)
	{
		OutDetail = TEXT("the test actor could not be spawned");
		return false;
	}
	const bool bEnded = TickUntil([this] { return QuarnLog->Count(TEXT("=== USME adapter test: PASSED ===")) + QuarnLog->Count(TEXT("=== USME adapter test: FAILED ===")) > 0; }, 30.0);
	for (const UE::Host::FCapturedLogLine& Line : QuarnLog->GetLines())
	{
		DemoGame::Print(FString::Printf(TEXT("      | %s"), *Line.Text));
	}
	if (!bEnded)
	{
		OutDetail = TEXT("the test actor did not finish within 30 seconds");
		return false;
	}
	if (QuarnLog->Count(TEXT("=== USME adapter test: PASSED ==="), ELogVerbosity::Display) != 1 || QuarnLog->CountAtVerbosity(ELogVerbosity::Error) != 0)
	{
		OutDetail = TEXT("the test actor did not pass cleanly");
		return false;
	}
	OutDetail = TEXT("the sync test actor ran on BeginPlay and logged PASSED");
	return true;
}

bool FDemoGame::StepShowPanels(FString& OutDetail)
{
	Screen = CreateWidget<UQuarnDemoScreen>(Loop.GetWorld());
	if (Screen == nullptr)
	{
		OutDetail = TEXT("the stash screen could not be created");
		return false;
	}
	Screen->AddToRoot();
	Screen->Ticket = DemoGame::Ticket;
	Screen->SetCaption(NSLOCTEXT("QuarnDemo", "Loading", "Step 3: signing in and loading both containers"));
	Screen->AddToViewport();
	// The screen's tree (and with it both panels) is built on the first frame it is shown.
	TickFor(0.05);
	if (Screen->GetStash() == nullptr || Screen->GetLoadout() == nullptr)
	{
		OutDetail = TEXT("the screen did not build its panels");
		return false;
	}
	StashWatcher = NewObject<UQuarnDemoPanelWatcher>();
	StashWatcher->AddToRoot();
	StashWatcher->Watch(Screen->GetStash());
	LoadoutWatcher = NewObject<UQuarnDemoPanelWatcher>();
	LoadoutWatcher->AddToRoot();
	LoadoutWatcher->Watch(Screen->GetLoadout());

	// The panels started loading when they were constructed; their first draws may already be done.
	const bool bReady = TickUntil([this] { return Screen->GetStash()->IsReady() && Screen->GetLoadout()->IsReady(); });
	TickFor(0.1);
	if (!bReady || StashWatcher->Failures != 0 || LoadoutWatcher->Failures != 0)
	{
		OutDetail = FString::Printf(TEXT("the panels did not load (stash %s, loadout %s)"), *StashWatcher->LastError.Message, *LoadoutWatcher->LastError.Message);
		return false;
	}

	// Both panels must show containers of one player: the platform lists both kinds under it.
	const QuarnTest::HttpResponse Players = Emulator->Admin("GET", "/admin/players");
	const TSharedPtr<FJsonObject> Body = DemoGame::ParseJson(Players.Body);
	const TArray<TSharedPtr<FJsonValue>>* List = nullptr;
	int32 Matches = 0;
	if (Body.IsValid() && Body->TryGetArrayField(TEXT("players"), List))
	{
		for (const TSharedPtr<FJsonValue>& Value : *List)
		{
			const TSharedPtr<FJsonObject> Player = Value->AsObject();
			if (Player.IsValid() && Player->GetStringField(TEXT("subject")) == DemoGame::Ticket)
			{
				PlayerId = Player->GetStringField(TEXT("id"));
				++Matches;
			}
		}
	}
	if (Matches != 1)
	{
		OutDetail = FString::Printf(TEXT("expected one player signed in as '%s', found %d"), DemoGame::Ticket, Matches);
		return false;
	}
	TSharedPtr<FJsonObject> StashDoc;
	TSharedPtr<FJsonObject> LoadoutDoc;
	if (!ReadContainer(TEXT("stash"), StashDoc, OutDetail) || !ReadContainer(TEXT("loadout"), LoadoutDoc, OutDetail))
	{
		return false;
	}
	if (StashDoc->GetStringField(TEXT("layout")) != TEXT("grid") || StashDoc->GetIntegerField(TEXT("grid_width")) != 10 || StashDoc->GetIntegerField(TEXT("grid_height")) != 8
		|| LoadoutDoc->GetStringField(TEXT("layout")) != TEXT("slots") || LoadoutDoc->GetIntegerField(TEXT("slot_count")) != 24)
	{
		OutDetail = TEXT("the containers do not have the layouts the panels asked for");
		return false;
	}
	OutDetail = FString::Printf(TEXT("10x8 grid \"stash\" and 24-slot \"loadout\" side by side, both of player %s"), *PlayerId);
	return true;
}

bool FDemoGame::StepDepositNamedCell(FString& OutDetail)
{
	UQuarnStashPanel* const Stash = Screen->GetStash();
	const int32 LoadsBefore = StashWatcher->Loads;
	Stash->DepositItem(TEXT("Rifle"), 1, 2, 1);
	if (!TickUntil([this] { return StashWatcher->Deposits == 1 || StashWatcher->Failures > 0; }) || StashWatcher->Deposits != 1)
	{
		OutDetail = FString::Printf(TEXT("the deposit was not accepted: %s"), *StashWatcher->LastError.Message);
		return false;
	}
	if (!WaitForReload(*StashWatcher, LoadsBefore))
	{
		OutDetail = TEXT("the stash did not redraw after the deposit");
		return false;
	}
	// A rifle is 3 x 1: every one of its cells must find it, the cell past it must not.
	for (int32 X = 2; X <= 4; ++X)
	{
		FQuarnItemInstance Found;
		if (!Stash->InstanceAtScreenPosition(CellCentre(*Stash, X, 1), Found) || Found.ItemId != FName(TEXT("Rifle")) || Found.X != 2 || Found.Y != 1)
		{
			OutDetail = FString::Printf(TEXT("cell (%d, 1) does not show the rifle"), X);
			return false;
		}
	}
	FQuarnItemInstance Beyond;
	if (Stash->InstanceAtScreenPosition(CellCentre(*Stash, 5, 1), Beyond))
	{
		OutDetail = TEXT("cell (5, 1) shows a stack although the rifle ends at column 4");
		return false;
	}
	OutDetail = TEXT("Rifle deposited into cell (2, 1); the game was told to remove its copy; the stash shows it over cells (2..4, 1)");
	return true;
}

bool FDemoGame::StepDepositFirstFree(FString& OutDetail)
{
	UQuarnStashPanel* const Stash = Screen->GetStash();
	const int32 LoadsBefore = StashWatcher->Loads;
	Stash->DepositItem(TEXT("Bandage"), 5);
	if (!TickUntil([this] { return StashWatcher->Deposits == 2 || StashWatcher->Failures > 0; }) || StashWatcher->Deposits != 2)
	{
		OutDetail = FString::Printf(TEXT("the deposit was not accepted: %s"), *StashWatcher->LastError.Message);
		return false;
	}
	if (!WaitForReload(*StashWatcher, LoadsBefore))
	{
		OutDetail = TEXT("the stash did not redraw after the deposit");
		return false;
	}
	FQuarnItemInstance Found;
	if (!Stash->InstanceAtScreenPosition(CellCentre(*Stash, 0, 0), Found) || Found.ItemId != FName(TEXT("Bandage")) || Found.Quantity != 5)
	{
		OutDetail = TEXT("the first free cell (0, 0) does not show 5 bandages");
		return false;
	}
	if (StashWatcher->LastStackCount != 2)
	{
		OutDetail = FString::Printf(TEXT("the stash drew %d stacks, not 2"), StashWatcher->LastStackCount);
		return false;
	}
	OutDetail = FString::Printf(TEXT("5 Bandage placed by the platform in the first free cell (0, 0) as %s"), *Found.InstanceId);
	return true;
}

bool FDemoGame::StepDepositRefused(FString& OutDetail)
{
	UQuarnStashPanel* const Stash = Screen->GetStash();
	Stash->DepositItem(TEXT("Helmet"), 1, 3, 1);
	if (!TickUntil([this] { return StashWatcher->Failures > 0 || StashWatcher->Deposits > 2; }))
	{
		OutDetail = TEXT("no answer to the deposit");
		return false;
	}
	if (StashWatcher->Deposits != 2 || StashWatcher->Failures != 1 || StashWatcher->LastError.Code != TEXT("cell_occupied"))
	{
		OutDetail = FString::Printf(TEXT("expected a refusal with cell_occupied, got deposits=%d failures=%d code=%s"), StashWatcher->Deposits, StashWatcher->Failures, *StashWatcher->LastError.Code);
		return false;
	}
	TickFor(0.2);
	FQuarnItemInstance Found;
	if (!Stash->InstanceAtScreenPosition(CellCentre(*Stash, 3, 1), Found) || Found.ItemId != FName(TEXT("Rifle")))
	{
		OutDetail = TEXT("the rifle no longer covers cell (3, 1)");
		return false;
	}
	OutDetail = FString::Printf(TEXT("Helmet into cell (3, 1) refused (%s: %s); the game keeps its helmet"), *StashWatcher->LastError.Code, *StashWatcher->LastError.Message);
	return true;
}

bool FDemoGame::StepDragToLoadout(FString& OutDetail)
{
	UQuarnStashPanel* const Stash = Screen->GetStash();
	UQuarnStashPanel* const Loadout = Screen->GetLoadout();

	// Pointer down over the bandages in the stash: the stack under it is what is picked up.
	const FVector2D PointerDown = CellCentre(*Stash, 0, 0);
	FQuarnItemInstance Picked;
	if (!Stash->InstanceAtScreenPosition(PointerDown, Picked) || Picked.InstanceId.IsEmpty())
	{
		OutDetail = FString::Printf(TEXT("no stack under the pointer at (%.0f, %.0f)"), PointerDown.X, PointerDown.Y);
		return false;
	}
	// Pointer up over the loadout: the cell under it is where the stack goes.
	const FVector2D PointerUp = CellCentre(*Loadout, 2, 1);
	int32 CellX = -1;
	int32 CellY = -1;
	if (!Loadout->CellAtScreenPosition(PointerUp, CellX, CellY) || CellX != 2 || CellY != 1)
	{
		OutDetail = FString::Printf(TEXT("the pointer-up position (%.0f, %.0f) is not over loadout cell (2, 1)"), PointerUp.X, PointerUp.Y);
		return false;
	}
	int32 MissX = 0;
	int32 MissY = 0;
	if (Stash->CellAtScreenPosition(PointerUp, MissX, MissY))
	{
		OutDetail = TEXT("the stash claims the loadout's cell as its own");
		return false;
	}

	const int32 StashLoads = StashWatcher->Loads;
	const int32 LoadoutLoads = LoadoutWatcher->Loads;
	Loadout->TransferFrom(Stash, Picked, CellX, CellY);
	if (!TickUntil([this] { return LoadoutWatcher->Transfers == 1 || LoadoutWatcher->Failures > 0; }) || LoadoutWatcher->Transfers != 1)
	{
		OutDetail = FString::Printf(TEXT("the transfer was not accepted: %s"), *LoadoutWatcher->LastError.Message);
		return false;
	}
	if (!WaitForReload(*StashWatcher, StashLoads) || !WaitForReload(*LoadoutWatcher, LoadoutLoads))
	{
		OutDetail = TEXT("the panels did not both redraw after the transfer");
		return false;
	}
	FQuarnItemInstance Arrived;
	if (!Loadout->InstanceAtScreenPosition(CellCentre(*Loadout, 2, 1), Arrived) || !Arrived.InstanceId.Equals(Picked.InstanceId) || Arrived.Quantity != Picked.Quantity)
	{
		OutDetail = TEXT("the loadout does not show the same stack in cell (2, 1)");
		return false;
	}
	FQuarnItemInstance Left;
	if (Stash->InstanceAtScreenPosition(PointerDown, Left))
	{
		OutDetail = TEXT("the stack still shows in the stash after the move");
		return false;
	}
	OutDetail = FString::Printf(TEXT("dragged %s from stash (0, 0) to loadout slot %d in one platform move"), *DemoGame::Describe(Picked), Arrived.SlotIndex);
	return true;
}

bool FDemoGame::StepWithdraw(FString& OutDetail)
{
	UQuarnStashPanel* const Loadout = Screen->GetLoadout();
	FQuarnItemInstance Picked;
	if (!Loadout->InstanceAtScreenPosition(CellCentre(*Loadout, 2, 1), Picked))
	{
		OutDetail = TEXT("no stack in loadout cell (2, 1)");
		return false;
	}
	const int32 LoadsBefore = LoadoutWatcher->Loads;
	Loadout->WithdrawInstance(Picked);
	if (!TickUntil([this] { return LoadoutWatcher->Withdrawals == 1 || LoadoutWatcher->Failures > 0; }) || LoadoutWatcher->Withdrawals != 1)
	{
		OutDetail = FString::Printf(TEXT("the withdraw was not accepted: %s"), *LoadoutWatcher->LastError.Message);
		return false;
	}
	// The game takes ownership only now that the platform released it.
	CharacterInventory.Add(LoadoutWatcher->LastInstance);
	if (!WaitForReload(*LoadoutWatcher, LoadsBefore))
	{
		OutDetail = TEXT("the loadout did not redraw after the withdraw");
		return false;
	}
	FQuarnItemInstance Left;
	if (Loadout->InstanceAtScreenPosition(CellCentre(*Loadout, 2, 1), Left) || LoadoutWatcher->LastStackCount != 0)
	{
		OutDetail = TEXT("the loadout still shows a stack");
		return false;
	}

	// What the platform holds now: the rifle in the stash and nothing else.
	TSharedPtr<FJsonObject> StashDoc;
	TSharedPtr<FJsonObject> LoadoutDoc;
	if (!ReadContainer(TEXT("stash"), StashDoc, OutDetail) || !ReadContainer(TEXT("loadout"), LoadoutDoc, OutDetail))
	{
		return false;
	}
	const TArray<TSharedPtr<FJsonValue>>& StashItems = StashDoc->GetArrayField(TEXT("items"));
	const TArray<TSharedPtr<FJsonValue>>& LoadoutItems = LoadoutDoc->GetArrayField(TEXT("items"));
	if (StashItems.Num() != 1 || StashItems[0]->AsObject()->GetStringField(TEXT("item_id")) != TEXT("Rifle") || LoadoutItems.Num() != 0)
	{
		OutDetail = FString::Printf(TEXT("the platform holds %d stack(s) in the stash and %d in the loadout, not the rifle alone"), StashItems.Num(), LoadoutItems.Num());
		return false;
	}
	OutDetail = FString::Printf(TEXT("withdrew %s from the loadout into the character's inventory; the platform holds the rifle alone"), *DemoGame::Describe(Picked));
	return true;
}

bool FDemoGame::Run()
{
	if (!StartPlatform())
	{
		return false;
	}
	const bool bStarted = StartEngine();
	if (bStarted && Options.bTrace)
	{
		UE::Host::StartTraceRecording();
	}
	if (bStarted)
	{
		RunStep(TEXT("Start the game with the plug-in"), NSLOCTEXT("QuarnDemo", "Step1", "the game starts with the plug-in"), &FDemoGame::StepEngine);
		RunStep(TEXT("Place the USME sync test actor"), NSLOCTEXT("QuarnDemo", "Step2", "the USME sync test actor runs on BeginPlay"), &FDemoGame::StepUsmeActor);
		RunStep(TEXT("Show the stash and the loadout"), NSLOCTEXT("QuarnDemo", "Step3", "stash and loadout of one player, side by side"), &FDemoGame::StepShowPanels);
		RunStep(TEXT("Deposit a rifle into cell (2, 1)"), NSLOCTEXT("QuarnDemo", "Step4", "deposit a rifle into the cell the player dropped it on"), &FDemoGame::StepDepositNamedCell);
		RunStep(TEXT("Deposit 5 bandages into the first free space"), NSLOCTEXT("QuarnDemo", "Step5", "deposit 5 bandages wherever they fit"), &FDemoGame::StepDepositFirstFree);
		RunStep(TEXT("Deposit a helmet onto the rifle's cell (refused)"), NSLOCTEXT("QuarnDemo", "Step6", "a helmet dropped onto the rifle is refused"), &FDemoGame::StepDepositRefused);
		RunStep(TEXT("Drag the bandages from the stash into the loadout"), NSLOCTEXT("QuarnDemo", "Step7", "drag the bandages into the loadout"), &FDemoGame::StepDragToLoadout);
		RunStep(TEXT("Withdraw the bandages from the loadout"), NSLOCTEXT("QuarnDemo", "Step8", "take the bandages out to the character"), &FDemoGame::StepWithdraw);
	}

	int32 Passed = 0;
	for (const FStepResult& Result : Results)
	{
		Passed += Result.bPassed ? 1 : 0;
	}
	bool bAllPassed = bStarted && Passed == Results.Num() && Results.Num() > 0;
	if (Screen != nullptr && bEngineStarted)
	{
		Screen->SetCaption(bAllPassed ? NSLOCTEXT("QuarnDemo", "Done", "Every step did what it should.") : NSLOCTEXT("QuarnDemo", "NotDone", "Some steps failed: see the console."));
	}

	DemoGame::Print(TEXT(""));
	DemoGame::Print(TEXT("Summary"));
	for (int32 Index = 0; Index < Results.Num(); ++Index)
	{
		DemoGame::Print(FString::Printf(TEXT("  step-%d.png  %s  %s"), Index + 1, Results[Index].bPassed ? TEXT("OK    ") : TEXT("FAILED"), *Results[Index].Title));
	}
	for (const FQuarnItemInstance& Item : CharacterInventory)
	{
		DemoGame::Print(FString::Printf(TEXT("  The character now carries %s."), *DemoGame::Describe(Item)));
	}
	DemoGame::Print(FString::Printf(TEXT("  %d of %d steps did what they should; pictures in %s"), Passed, Results.Num(), UTF8_TO_TCHAR(Options.OutputDirectory.c_str())));
	if (bStarted && Options.bTrace)
	{
		UE::Host::StopTraceRecording();
		const FString TracePath = FString(UTF8_TO_TCHAR(Options.OutputDirectory.c_str())) / TEXT("trace.json");
		const bool bWritten = UE::Host::WriteChromeTrace(TracePath);
		DemoGame::Print(bWritten
			? FString::Printf(TEXT("  %d trace scopes in %s (chrome://tracing or Perfetto opens it)"), UE::Host::GetRecordedTraceScopes().Num(), *TracePath)
			: FString::Printf(TEXT("  Could not write %s"), *TracePath));
		bAllPassed = bAllPassed && bWritten;
	}

	StopAll();
	return bAllPassed;
}
