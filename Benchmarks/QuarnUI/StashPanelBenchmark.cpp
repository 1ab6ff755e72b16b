// Copyright Quarn. All Rights Reserved.

// bench-ui
//
// For containers of 80, 1,000, 10,000 and 40,000 stacks: the time of UQuarnStashPanel::ShowContainer
// (the grid's cells and every stack's frame, fallback text and badge created and placed on the
// canvas), then of the layout of the drawn tree: the desired-size pass alone, and a whole frame
// of the game viewport (desired sizes, arrangement, painting). Each figure is the median of
// several runs; the garbage collector frees the previous run's widgets between runs (untimed), as
// a game's collector frees a redrawn panel's old tree, so that every run sees the same number of
// objects. The last columns show the time per stack, which stays flat when growth is linear.

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Host/CoreHost.h"
#include "Host/HostEngineLoop.h"
#include "Host/TestEngine.h"
#include "Host/UMGHost.h"
#include "QuarnStashPanel.h"
#include "QuarnTypes.h"
#include "Widgets/SWidget.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
	using FClock = std::chrono::steady_clock;

	double Milliseconds(FClock::time_point Start)
	{
		return std::chrono::duration<double, std::milli>(FClock::now() - Start).count();
	}

	double Median(std::vector<double> Values)
	{
		std::sort(Values.begin(), Values.end());
		return Values[Values.size() / 2];
	}

	/** Stacks of one cell each, row by row, every other one with a badge; a grid just big enough. */
	FQuarnContainer MakeContainer(int32 Stacks, int32 Columns)
	{
		FQuarnContainer Container;
		Container.ContainerId = TEXT("ctr_bench");
		Container.Kind = TEXT("stash");
		Container.Layout = TEXT("grid");
		Container.Items.Reserve(Stacks);
		for (int32 Index = 0; Index < Stacks; ++Index)
		{
			FQuarnItemInstance Item;
			Item.InstanceId = FString::Printf(TEXT("ins_%d"), Index);
			Item.ItemId = FName(*FString::Printf(TEXT("Item%d"), Index % 50));
			Item.Quantity = 1 + Index % 2;
			Item.X = Index % Columns;
			Item.Y = Index / Columns;
			Container.Items.Add(Item);
		}
		return Container;
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
		std::fprintf(stderr, "bench-ui: the engine did not start\n");
		return 1;
	}
	if (UE::Host::CreateGameViewport(Engine.GetWorld(), FVector2D(1920.0, 1080.0)) == nullptr)
	{
		std::fprintf(stderr, "bench-ui: no viewport\n");
		return 1;
	}

	struct FCase
	{
		int32 Stacks;
		int32 Columns;
		int32 Rows;
	};
	const FCase Cases[] = { { 80, 10, 8 }, { 1000, 40, 25 }, { 10000, 100, 100 }, { 40000, 200, 200 } };
	const int32 Runs = 5;

	std::printf("Stash panel: ShowContainer and layout of the drawn tree (median of %d runs, grid just big enough, one cell per stack, half with badges)\n\n", Runs);
	std::printf("%8s %7s %9s %16s %14s %14s %15s %14s\n", "stacks", "cells", "widgets", "ShowContainer", "desired sizes", "whole frame", "Show per stack", "frame per stack");
	for (const FCase& Case : Cases)
	{
		UQuarnStashPanel* const Panel = CreateWidget<UQuarnStashPanel>(Engine.GetGameInstance());
		Panel->AddToRoot();
		Panel->bLoadOnConstruct = false;
		Panel->GridWidth = Case.Columns;
		Panel->GridHeight = Case.Rows;
		// Small cells, so that the whole grid is inside the viewport and is laid out and painted.
		Panel->CellSize = 16.0f;
		const TSharedRef<SWidget> Slate = Panel->TakeWidget();
		Panel->AddToViewport();
		const FQuarnContainer Container = MakeContainer(Case.Stacks, Case.Columns);

		std::vector<double> Show;
		std::vector<double> Prepass;
		std::vector<double> Frame;
		for (int32 Run = 0; Run < Runs; ++Run)
		{
			FClock::time_point Start = FClock::now();
			Panel->ShowContainer(Container);
			Show.push_back(Milliseconds(Start));

			Start = FClock::now();
			Slate->SlatePrepass(1.0f);
			Prepass.push_back(Milliseconds(Start));

			Start = FClock::now();
			UE::Host::DrawGameViewport(Engine.GetWorld());
			Frame.push_back(Milliseconds(Start));
			Engine.CollectGarbage();
		}
		const int32 Widgets = Case.Columns * Case.Rows + Case.Stacks * 2 + Case.Stacks / 2;
		const double ShowMs = Median(Show);
		const double FrameMs = Median(Frame);
		std::printf("%8d %7d %9d %13.3f ms %11.3f ms %11.3f ms %12.2f us %12.2f us\n", Case.Stacks, Case.Columns * Case.Rows, Widgets, ShowMs, Median(Prepass), FrameMs,
			ShowMs * 1000.0 / Case.Stacks, FrameMs * 1000.0 / Case.Stacks);

		Panel->RemoveFromParent();
		Panel->RemoveFromRoot();
		Engine.CollectGarbage();
	}
	UE::Host::DestroyGameViewport(Engine.GetWorld());
	return 0;
}

int main()
{
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);
	const int Result = Run();
	UE::Host::FHostEngineLoop::ShutdownModules();
	return Result;
}
