// Copyright Quarn. All Rights Reserved.

// The demo game: a headless game on the host engine, with the local platform, that plays the
// plug-in's whole story step by step and records what each step did.
#pragma once

#include "CoreMinimal.h"
#include "Host/HostEngineLoop.h"
#include "Host/LogCapture.h"
#include "QuarnTypes.h"
#include "Templates/Function.h"
#include "Templates/UniquePtr.h"

#include <string>

class UQuarnDemoPanelWatcher;
class UQuarnDemoScreen;
class UQuarnStashPanel;

namespace QuarnTest
{
	class EmulatorProcess;
}

struct FDemoOptions
{
	std::string EmulatorPath;
	std::string OutputDirectory = "demo-out";
	std::string PluginDescriptor;
	std::string ProjectDirectory;
	/** Records the plug-in's trace scopes and writes them to trace.json in the output folder. */
	bool bTrace = false;
};

class FDemoGame
{
public:
	explicit FDemoGame(const FDemoOptions& InOptions);
	~FDemoGame();

	/** Plays every step; true when each did what it should. */
	bool Run();

private:
	struct FStepResult
	{
		FString Title;
		bool bPassed = false;
		FString Detail;
	};

	bool StartPlatform();
	bool StartEngine();
	void StopAll();

	// The story, one function a step; each returns whether the step did what it should and says why.
	bool StepEngine(FString& OutDetail);
	bool StepUsmeActor(FString& OutDetail);
	bool StepShowPanels(FString& OutDetail);
	bool StepDepositNamedCell(FString& OutDetail);
	bool StepDepositFirstFree(FString& OutDetail);
	bool StepDepositRefused(FString& OutDetail);
	bool StepDragToLoadout(FString& OutDetail);
	bool StepWithdraw(FString& OutDetail);

	void RunStep(const TCHAR* Title, const FText& Caption, bool (FDemoGame::*Step)(FString&));

	/** Game frames with real time until Done holds or TimeoutSeconds pass. */
	bool TickUntil(TFunctionRef<bool()> Done, double TimeoutSeconds = 20.0);
	void TickFor(double Seconds);

	/** The screen position of a cell's centre on a panel, as a pointer over that cell reports it. */
	FVector2D CellCentre(const UQuarnStashPanel& Panel, int32 X, int32 Y) const;

	/** Waits until a panel has drawn again after an operation that reloads it. */
	bool WaitForReload(const UQuarnDemoPanelWatcher& Watcher, int32 LoadsBefore);

	/** The platform's own view of a player's container, by kind, through the admin API. */
	bool ReadContainer(const FString& Kind, TSharedPtr<class FJsonObject>& OutContainer, FString& OutWhy) const;

	FDemoOptions Options;
	TUniquePtr<QuarnTest::EmulatorProcess> Emulator;
	UE::Host::FHostEngineLoop Loop;
	TUniquePtr<UE::Host::FLogCapture> QuarnLog;
	bool bEngineStarted = false;

	UQuarnDemoScreen* Screen = nullptr;
	UQuarnDemoPanelWatcher* StashWatcher = nullptr;
	UQuarnDemoPanelWatcher* LoadoutWatcher = nullptr;
	FString PlayerId;
	/** What the game's character holds after taking an item out of its stash. */
	TArray<FQuarnItemInstance> CharacterInventory;

	TArray<FStepResult> Results;
};
