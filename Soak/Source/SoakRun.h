// Copyright Quarn. All Rights Reserved.

// The soak: rounds of USME-style inventory changes reconciled by the sync node while a stash panel
// writes into the same container, against a platform that injects faults.
#pragma once

#include "CoreMinimal.h"
#include "Host/HostEngineLoop.h"
#include "Host/LogCapture.h"
#include "QuarnTypes.h"
#include "SoakChecks.h"
#include "Templates/Function.h"
#include "Templates/UniquePtr.h"

#include <cstdint>
#include <random>
#include <string>

class UQuarnDemoPanelWatcher;
class UQuarnStashPanel;

namespace QuarnTest
{
	class EmulatorProcess;
}

struct FSoakOptions
{
	std::string EmulatorPath;
	std::string PluginDescriptor;
	int64 Rounds = 200;
	uint64 Seed = 1;
	/** Probability of each injected fault; three kinds, so about 10% of requests meet one. */
	std::string Faults = "unavailable=0.034,drop=0.033,delay=0.033:20,scope=retryable";
};

struct FSoakFigures
{
	int64 Rounds = 0;
	int64 Syncs = 0;
	int64 Intents = 0;
	int64 PanelOperations = 0;
	int64 FaultsInjected = 0;
	int64 FaultsUnavailable = 0;
	int64 FaultsDropped = 0;
	int64 FaultsDelayed = 0;
	int64 Conflicts = 0;
	int64 OtherSyncFailures = 0;
	int64 SkippedStacks = 0;
	int64 Retries = 0;
	int64 Violations = 0;
};

class FSoak
{
public:
	explicit FSoak(const FSoakOptions& InOptions);
	~FSoak();

	/** Runs every round; false when it could not start. Figures are filled either way. */
	bool Run(FSoakFigures& OutFigures);

private:
	bool Start();
	void Stop();
	bool TickUntil(TFunctionRef<bool()> Done, double TimeoutSeconds = 30.0);

	/** One round; adds a line per broken invariant to OutViolations. */
	void RunRound(int64 Round, FSoakFigures& Figures, TArray<FString>& OutViolations);

	/** The container as the platform stores it, through the admin API. */
	bool ReadStored(TSharedPtr<FJsonObject>& OutContainer) const;
	/** The template's inventory, rebuilt from the container as a graph does after a sync. */
	TArray<FQuarnItemInstance> InventoryFromContainer(const FJsonObject& Container) const;
	/** Random changes a game's play makes to the inventory between saves. */
	void Mutate(TArray<FQuarnItemInstance>& Items, const FJsonObject& Container);
	/** Starts one panel operation on the shared container; false when there is nothing to do. */
	bool StartPanelOperation(const FJsonObject& Container);

	int32 Random(int32 Min, int32 Max);

	FSoakOptions Options;
	std::mt19937_64 Rng;
	TUniquePtr<QuarnTest::EmulatorProcess> Emulator;
	UE::Host::FHostEngineLoop Loop;
	TUniquePtr<UE::Host::FLogCapture> HttpLog;
	bool bEngineStarted = false;

	UQuarnStashPanel* Panel = nullptr;
	UQuarnDemoPanelWatcher* Watcher = nullptr;
	FString PlayerId;
	FString ContainerId;
	FSoakReplay Replay;
};
