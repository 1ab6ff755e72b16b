// Copyright Quarn. All Rights Reserved.

// AutomationRunner [--plugin <file.uplugin>]... [--project <dir>] [--timeout <seconds>] [--list]
//                  [--verbose] [--no-slate] [<filter>]
//
// Starts the host engine with the plug-ins, so that their modules register their automation tests,
// then runs every test whose full name the filter selects (see UE::Host::AutomationFilterMatches),
// one after another, ticking the engine between latent steps. Prints each test with its errors and
// warnings, then "N passed, N failed" alone on the last line; exits 0 only when every test passed.
// --no-slate runs as a dedicated server or a commandlet does, without a Slate application.

#include "CoreMinimal.h"
#include "HAL/PlatformTime.h"
#include "Host/AutomationTestRunner.h"
#include "Host/CoreHost.h"
#include "Host/HostEngineLoop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
	void PrintLine(const FString& Line)
	{
		std::printf("%s\n", TCHAR_TO_UTF8(*Line));
		std::fflush(stdout);
	}

	int Usage()
	{
		std::fprintf(stderr, "usage: AutomationRunner [--plugin <file.uplugin>]... [--project <dir>] [--timeout <seconds>] [--list] [--verbose] [--no-slate] [<filter>]\n");
		return 2;
	}
}

// Pango's font configuration stays for the life of the process by design.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
	return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
	UE::Host::FEngineLoopSettings Settings;
	FString Filter;
	double TimeoutSeconds = 60.0;
	bool bList = false;
	bool bVerbose = false;
	for (int Index = 1; Index < argc; ++Index)
	{
		const char* Arg = argv[Index];
		const bool bHasValue = Index + 1 < argc;
		if (std::strcmp(Arg, "--plugin") == 0 && bHasValue)
		{
			Settings.PluginDescriptors.Add(UTF8_TO_TCHAR(argv[++Index]));
		}
		else if (std::strcmp(Arg, "--project") == 0 && bHasValue)
		{
			Settings.ProjectDirectory = UTF8_TO_TCHAR(argv[++Index]);
		}
		else if (std::strcmp(Arg, "--timeout") == 0 && bHasValue)
		{
			TimeoutSeconds = std::atof(argv[++Index]);
			if (!(TimeoutSeconds > 0.0))
			{
				return Usage();
			}
		}
		else if (std::strcmp(Arg, "--list") == 0)
		{
			bList = true;
		}
		else if (std::strcmp(Arg, "--verbose") == 0)
		{
			bVerbose = true;
		}
		else if (std::strcmp(Arg, "--no-slate") == 0)
		{
			Settings.bWithSlate = false;
		}
		else if (Arg[0] == '-' || !Filter.IsEmpty())
		{
			return Usage();
		}
		else
		{
			Filter = UTF8_TO_TCHAR(Arg);
		}
	}

	// What a test logs is collected into its report; the console shows only what goes wrong.
	UE::Host::SetConsoleLogVerbosity(bVerbose ? ELogVerbosity::Log : ELogVerbosity::Fatal);
	// Collections happen when a test asks for one, so that a test's outcome does not depend on timing.
	Settings.TimeBetweenGarbageCollectionPasses = 0.0f;

	UE::Host::FHostEngineLoop Loop;
	if (!Loop.PreInit(Settings) || !Loop.Init())
	{
		std::fprintf(stderr, "The engine did not start.\n");
		return 2;
	}

	const TArray<FAutomationTestInfo> Tests = UE::Host::FindAutomationTests(Filter);
	int32 Passed = 0;
	int32 Failed = 0;
	if (Tests.Num() == 0)
	{
		PrintLine(FString::Printf(TEXT("No automation test matches '%s'."), *Filter));
		Failed = 1;
	}
	else if (bList)
	{
		for (const FAutomationTestInfo& Test : Tests)
		{
			PrintLine(Test.GetFullTestPath());
		}
	}
	else
	{
		double LastTick = FPlatformTime::Seconds();
		auto Tick = [&Loop, &LastTick]()
		{
			const double Now = FPlatformTime::Seconds();
			Loop.Tick(static_cast<float>(Now - LastTick));
			LastTick = Now;
		};
		for (const FAutomationTestInfo& Test : Tests)
		{
			const UE::Host::FAutomationTestRunResult Result = UE::Host::RunAutomationTest(Test, Tick, TimeoutSeconds);
			PrintLine(FString::Printf(TEXT("%s %s (%.3f s)"), Result.bPassed ? TEXT("[ PASSED ]") : TEXT("[ FAILED ]"), *Result.FullTestPath, Result.Seconds));
			for (const FString& Error : Result.Errors)
			{
				PrintLine(FString::Printf(TEXT("    Error: %s"), *Error));
			}
			for (const FString& Warning : Result.Warnings)
			{
				PrintLine(FString::Printf(TEXT("    Warning: %s"), *Warning));
			}
			(Result.bPassed ? Passed : Failed) += 1;
		}
	}

	Loop.Exit();
	UE::Host::FHostEngineLoop::ShutdownModules();
	if (!bList)
	{
		PrintLine(FString::Printf(TEXT("%d passed, %d failed"), Passed, Failed));
	}
	return Failed == 0 ? 0 : 1;
}
