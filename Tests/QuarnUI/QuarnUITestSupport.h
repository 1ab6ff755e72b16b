// Helpers for the stash panel suites that need the host (the emulator, the PNG renderer, a laid-out
// viewport, the designer flag, user-defined structs): panels made and kept for one test, their
// private widgets read through reflection, a Blueprint subclass whose events are recorded, and
// answers of the platform written as the platform writes them (those two shared with the plug-in's
// automation tests, from QuarnUI/Private/Tests).
#pragma once

#include "QuarnTest/EmulatorProcess.h"
#include "QuarnTest/PluginTestSupport.h"
#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Border.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/TextBlock.h"
#include "Engine/DataTable.h"
#include "Engine/GameInstance.h"
#include "Engine/Texture2D.h"
#include "Engine/World.h"
#include "Host/RuntimeTypes.h"
#include "Host/UMGHost.h"
#include "QuarnStashPanel.h"
#include "Tests/QuarnStashPanelWatcher.h"
#include "Tests/QuarnUITestSupport.h"
#include "UObject/UnrealType.h"

namespace QuarnUITest
{
	using namespace QuarnTest;

	// Reading the panel's private widgets and writing the platform's answers: the same helpers as
	// the plug-in's own panel tests.
	using namespace QuarnUITests;

	/**
	 * A Blueprint subclass of the panel whose three events write "Deposited <item> <quantity>
	 * <slot>", "Withdrawn <instance>" and "Transferred <instance>" into the watcher of the panel
	 * that fired them.
	 */
	UClass* RecordingPanelClass();

	/** The watcher a panel of RecordingPanelClass writes its events to. */
	TMap<const UObject*, UQuarnStashPanelWatcher*>& EventWatchers();

	/** Panels and watchers for one test, kept alive until its end, over a scripted transport. */
	class FPanelTest : public FClientTest
	{
	protected:
		virtual void SetUp() override;
		virtual void TearDown() override;

		/** A panel of the recording class that does not load by itself, watched, not yet constructed. */
		UQuarnStashPanel* MakePanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid);

		/** MakePanel, then its Slate widget: the tree is built and NativeConstruct has run. */
		UQuarnStashPanel* MakeBuiltPanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid);

		UQuarnStashPanelWatcher* WatcherOf(const UQuarnStashPanel* Panel) const;

		/** Lets the collector take a panel made here. */
		void Release(UQuarnStashPanel* Panel);

		/** Answers the sign-in and then the ensure, so that the panel is loaded. */
		void LoadWith(UQuarnStashPanel* Panel, const FString& Document, const FString& Token = TEXT("tok_1"));

		UGameInstance* GameInstance() const { return Engine().GetGameInstance(); }
		UWorld* World() const { return Engine().GetWorld(); }

		TArray<UQuarnStashPanel*> Panels;
		TArray<UQuarnStashPanelWatcher*> Watchers;
		bool bMadeViewport = false;
	};

	/** Over the emulator: real HTTP to a fresh emulator for each test. */
	class FEmulatorPanelTest : public FPanelTest
	{
	protected:
		virtual void SetUp() override;
		virtual void TearDown() override;

		/** Loads the panel from the emulator and waits for the draw; false on a failure. */
		bool LoadAndWait(UQuarnStashPanel* Panel);

		/** Waits until the watcher has Count more "Loaded" lines than Before. */
		bool WaitForLoads(UQuarnStashPanel* Panel, int32 Before, int32 Count = 1);

		EmulatorProcess Emulator;
	};
}
