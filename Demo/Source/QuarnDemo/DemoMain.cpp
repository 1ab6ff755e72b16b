// Copyright Quarn. All Rights Reserved.

// QuarnDemo --emulator <velmora-emulator> --out <folder> [--trace]
// Runs the demo game against a local platform and writes step-N.png pictures into the folder, and
// with --trace the plug-in's trace scopes as trace.json.

#include "DemoGame.h"
#include "Host/CoreHost.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv)
{
	FDemoOptions Options;
	Options.PluginDescriptor = QUARN_PLUGIN_DESCRIPTOR;
	Options.ProjectDirectory = QUARN_DEMO_PROJECT_DIR;
	for (int Index = 1; Index < argc; ++Index)
	{
		const bool bHasValue = Index + 1 < argc;
		if (std::strcmp(argv[Index], "--emulator") == 0 && bHasValue)
		{
			Options.EmulatorPath = argv[++Index];
		}
		else if (std::strcmp(argv[Index], "--out") == 0 && bHasValue)
		{
			Options.OutputDirectory = argv[++Index];
		}
		else if (std::strcmp(argv[Index], "--trace") == 0)
		{
			Options.bTrace = true;
		}
		else
		{
			std::fprintf(stderr, "usage: %s [--emulator PATH] [--out FOLDER] [--trace]\n", argv[0]);
			return 2;
		}
	}

	std::error_code Error;
	std::filesystem::create_directories(Options.OutputDirectory, Error);
	if (Error)
	{
		std::fprintf(stderr, "Cannot make the folder %s: %s\n", Options.OutputDirectory.c_str(), Error.message().c_str());
		return 2;
	}
	// Old pictures would pass for new ones.
	for (int Step = 1; Step <= 32; ++Step)
	{
		std::filesystem::remove(std::filesystem::path(Options.OutputDirectory) / ("step-" + std::to_string(Step) + ".png"), Error);
	}
	std::filesystem::remove(std::filesystem::path(Options.OutputDirectory) / "trace.json", Error);

	// The engine's own lines only when something is wrong; the demo prints its story itself.
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);

	FDemoGame Game(Options);
	return Game.Run() ? 0 : 1;
}
