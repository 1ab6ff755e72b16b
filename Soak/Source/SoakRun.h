// Copyright Quarn. All Rights Reserved.

// The soak: rounds of USME-style inventory changes reconciled by the sync node while a stash panel
// writes into the same container, against a platform that injects faults. With --keep, a game
// that changes its items about 20 times a second hands each list to Keep Container In Sync and
// writes the ids it gets back into its template, through outages of the platform.
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

class UQuarnContainerSyncWatcher;
class UQuarnDemoPanelWatcher;
class UQuarnStashPanel;

namespace QuarnTest
{
	class EmulatorProcess;
}

namespace Soak
{
	TSharedPtr<FJsonObject> ParseJson(const std::string& Body);
	std::string Utf8(const FString& Text);
}

struct FSoakOptions
{
	std::string EmulatorPath;
	std::string PluginDescriptor;
	int64 Rounds = 200;
	uint64 Seed = 1;
	/** Probability of each injected fault on every request, sign-ins and ensures included; three kinds, so about 10% of requests meet one. */
	std::string Faults = "unavailable=0.034,drop=0.033,delay=0.033:20,scope=all";
	/** The platform's access token lifetime in seconds; 0 keeps the platform's default. */
	int64 TokenTtlSeconds = 0;
	/** Times the platform is killed during a round and started again on the same database and port. */
	int64 Restarts = 0;
	/** Drive the game through Keep Container In Sync instead of the sync node. */
	bool bKeep = false;
	/** Times the platform is stopped for OutageSeconds during a --keep run and started again on the same database. */
	int64 Outages = 0;
	double OutageSeconds = 3.0;
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
	/** Sign-ins the sessions made by themselves when a token was about to expire or had. */
	int64 Renewals = 0;
	int64 Restarts = 0;
	/** Panel loads that failed (a fault on the sign-in or the ensure, or a restart) and were loaded again. */
	int64 PanelLoadFailures = 0;
	/** --keep: the game's calls, the transactions they led to, and ids of stacks the game held unchanged that the platform changed (must be 0). */
	int64 Calls = 0;
	int64 Transactions = 0;
	int64 IdChanges = 0;
	int64 Outages = 0;
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

	/** --keep: the game's rounds, outages included; false when it could not start. */
	bool RunKeep(FSoakFigures& Figures);
	/** --keep: one change of the game's items and one call. */
	void RunKeepRound(FSoakFigures& Figures, TArray<FString>& OutViolations);
	/** --keep: the platform stops for a while; the game plays on and calls. */
	void RunOutage(FSoakFigures& Figures, TArray<FString>& OutViolations);
	/** --keep: the game waits until its container is in sync; then the platform must hold exactly the game's items. */
	void SettleAndCheck(const TCHAR* When, FSoakFigures& Figures, TArray<FString>& OutViolations);
	/** --keep: the ids the platform handed back, checked against the items the game held, then written into the template. */
	void WriteBack(const TArray<FQuarnItemInstance>& Items, FSoakFigures& Figures);
	/** --keep: the game's play between two saves. */
	void MutateHeld();

	/** The container as the platform stores it, through the admin API. */
	bool ReadStored(TSharedPtr<FJsonObject>& OutContainer) const;
	/** The template's inventory, rebuilt from the container as a graph does after a sync. */
	TArray<FQuarnItemInstance> InventoryFromContainer(const FJsonObject& Container) const;
	/** Random changes a game's play makes to the inventory between saves. */
	void Mutate(TArray<FQuarnItemInstance>& Items, const FJsonObject& Container);
	/** Starts one panel operation on the shared container; false when there is nothing to do. */
	bool StartPanelOperation(const FJsonObject& Container);
	/** Signs the graph's player in through the core's node, so that the core keeps a renewable session. */
	bool SignInGraphPlayer();
	/** Loads the panel again until it shows the container; false when it never did. */
	bool ReloadPanel(FSoakFigures& Figures);
	/** Kills the platform at once and starts it again on the same database and port. */
	bool RestartPlatform(FSoakFigures& Figures);
	/** Adds the platform's fault counters to the figures (they start again from zero after a restart). */
	void CollectFaultCounters(FSoakFigures& Figures);

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
	std::string DatabasePath;
	/** Rounds in which the platform is restarted, in order; a round may appear more than once. */
	TArray<int64> RestartRounds;

	/** --keep: the template's items as the game holds them, and the watcher of the sync subsystem. */
	TArray<FQuarnItemInstance> Held;
	UQuarnContainerSyncWatcher* SyncWatcher = nullptr;
	TArray<FString> KeepViolations;
};
