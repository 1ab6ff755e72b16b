// Copyright Quarn. All Rights Reserved.

// QuarnSoak --emulator <velmora-emulator> [--rounds N] [--seed N] [--token-ttl S] [--restarts N] [--keep [--outages N]]
// Exit status 0 only when every round kept every invariant.

#include "Host/CoreHost.h"
#include "SoakRun.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
	FSoakOptions Options;
	Options.PluginDescriptor = QUARN_PLUGIN_DESCRIPTOR;
	for (int Index = 1; Index < argc; ++Index)
	{
		const bool bHasValue = Index + 1 < argc;
		char* End = nullptr;
		if (std::strcmp(argv[Index], "--emulator") == 0 && bHasValue)
		{
			Options.EmulatorPath = argv[++Index];
		}
		else if (std::strcmp(argv[Index], "--rounds") == 0 && bHasValue)
		{
			Options.Rounds = std::strtoll(argv[++Index], &End, 10);
			if (*End != '\0' || Options.Rounds < 1)
			{
				std::fprintf(stderr, "--rounds needs a whole number from 1\n");
				return 2;
			}
		}
		else if (std::strcmp(argv[Index], "--seed") == 0 && bHasValue)
		{
			Options.Seed = std::strtoull(argv[++Index], &End, 10);
			if (*End != '\0')
			{
				std::fprintf(stderr, "--seed needs a whole number\n");
				return 2;
			}
		}
		else if (std::strcmp(argv[Index], "--token-ttl") == 0 && bHasValue)
		{
			Options.TokenTtlSeconds = std::strtoll(argv[++Index], &End, 10);
			if (*End != '\0' || Options.TokenTtlSeconds < 1)
			{
				std::fprintf(stderr, "--token-ttl needs a whole number of seconds from 1\n");
				return 2;
			}
		}
		else if (std::strcmp(argv[Index], "--restarts") == 0 && bHasValue)
		{
			Options.Restarts = std::strtoll(argv[++Index], &End, 10);
			if (*End != '\0' || Options.Restarts < 0)
			{
				std::fprintf(stderr, "--restarts needs a whole number from 0\n");
				return 2;
			}
		}
		else if (std::strcmp(argv[Index], "--keep") == 0)
		{
			Options.bKeep = true;
		}
		else if (std::strcmp(argv[Index], "--outages") == 0 && bHasValue)
		{
			Options.Outages = std::strtoll(argv[++Index], &End, 10);
			if (*End != '\0' || Options.Outages < 0)
			{
				std::fprintf(stderr, "--outages needs a whole number from 0\n");
				return 2;
			}
		}
		else
		{
			std::fprintf(stderr, "usage: %s [--emulator PATH] [--rounds N] [--seed N] [--token-ttl S] [--restarts N] [--keep [--outages N]]\n", argv[0]);
			return 2;
		}
	}
	if (Options.bKeep && Options.Restarts > 0)
	{
		std::fprintf(stderr, "--restarts belongs to the sync node's rounds; --keep stops the platform with --outages\n");
		return 2;
	}
	if (!Options.bKeep && Options.Outages > 0)
	{
		std::fprintf(stderr, "--outages needs --keep\n");
		return 2;
	}

	// Conflicts and retries are expected here by the thousand; the soak prints its own figures.
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Fatal);

	std::printf("Soak: %lld rounds, seed %llu, faults %s, token lifetime %s, %lld restarts\n", static_cast<long long>(Options.Rounds), static_cast<unsigned long long>(Options.Seed),
		Options.Faults.c_str(), Options.TokenTtlSeconds > 0 ? (std::to_string(Options.TokenTtlSeconds) + " s").c_str() : "the platform's", static_cast<long long>(Options.Restarts));
	if (Options.bKeep)
	{
		std::printf("Keep Container In Sync: about 20 calls a second, %lld outages of %.0f s\n", static_cast<long long>(Options.Outages), Options.OutageSeconds);
	}
	FSoakFigures Figures;
	FSoak Soak(Options);
	if (!Soak.Run(Figures))
	{
		return 1;
	}
	if (Options.bKeep)
	{
		std::printf("rounds           %lld (one call each, about 20 a second)\n", static_cast<long long>(Figures.Rounds));
		std::printf("faults injected  %lld (503 before commit %lld, dropped after commit %lld, delayed %lld)\n", static_cast<long long>(Figures.FaultsInjected),
			static_cast<long long>(Figures.FaultsUnavailable), static_cast<long long>(Figures.FaultsDropped), static_cast<long long>(Figures.FaultsDelayed));
		std::printf("retries          %lld\n", static_cast<long long>(Figures.Retries));
		std::printf("outages          %lld\n", static_cast<long long>(Figures.Outages));
		// The closing lines, one figure each, for scripts.
		std::printf("renewals %lld\n", static_cast<long long>(Figures.Renewals));
		std::printf("calls %lld\n", static_cast<long long>(Figures.Calls));
		std::printf("transactions %lld\n", static_cast<long long>(Figures.Transactions));
		std::printf("id changes %lld\n", static_cast<long long>(Figures.IdChanges));
		std::printf("violations %lld\n", static_cast<long long>(Figures.Violations));
		return Figures.Violations == 0 && Figures.IdChanges == 0 ? 0 : 1;
	}
	std::printf("rounds           %lld\n", static_cast<long long>(Figures.Rounds));
	std::printf("syncs            %lld\n", static_cast<long long>(Figures.Syncs));
	std::printf("intents          %lld\n", static_cast<long long>(Figures.Intents));
	std::printf("panel writes     %lld\n", static_cast<long long>(Figures.PanelOperations));
	std::printf("faults injected  %lld (503 before commit %lld, dropped after commit %lld, delayed %lld)\n", static_cast<long long>(Figures.FaultsInjected),
		static_cast<long long>(Figures.FaultsUnavailable), static_cast<long long>(Figures.FaultsDropped), static_cast<long long>(Figures.FaultsDelayed));
	std::printf("conflicts        %lld\n", static_cast<long long>(Figures.Conflicts));
	std::printf("other failures   %lld\n", static_cast<long long>(Figures.OtherSyncFailures));
	std::printf("skipped stacks   %lld\n", static_cast<long long>(Figures.SkippedStacks));
	std::printf("retries          %lld\n", static_cast<long long>(Figures.Retries));
	std::printf("panel reloads    %lld (after a failed load)\n", static_cast<long long>(Figures.PanelLoadFailures));
	// The closing lines, one figure each, for scripts.
	std::printf("renewals %lld\n", static_cast<long long>(Figures.Renewals));
	std::printf("restarts %lld\n", static_cast<long long>(Figures.Restarts));
	std::printf("violations %lld\n", static_cast<long long>(Figures.Violations));
	return Figures.Violations == 0 ? 0 : 1;
}
