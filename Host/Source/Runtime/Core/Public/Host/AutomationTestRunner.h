// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Misc/AutomationTest.h"
#include "Templates/Function.h"

// Host-only: what the engine's automation controller does for "Automation RunTests <filter>".
namespace UE::Host
{
	struct FAutomationTestRunResult
	{
		FString FullTestPath;
		bool bPassed = false;
		/** Errors, then warnings, each with the Describe and It case it came from. */
		TArray<FString> Errors;
		TArray<FString> Warnings;
		double Seconds = 0.0;
	};

	/**
	 * Whether a full test path is selected by a filter as "Automation RunTests" selects it: the
	 * filter is a '+'-separated list; each entry matches where the path contains it, ignoring case,
	 * or, written "^Entry", where the path starts with it. An empty filter selects every test.
	 */
	CORE_API bool AutomationFilterMatches(const FString& Filter, const FString& FullTestPath);

	/** Every runnable case whose full path the filter selects, sorted by path. */
	CORE_API TArray<FAutomationTestInfo> FindAutomationTests(const FString& Filter);

	/**
	 * Runs one case: starts it, then calls Tick and runs its latent commands once a frame until
	 * none is left or TimeoutSeconds pass (a failure naming the command that did not finish).
	 */
	CORE_API FAutomationTestRunResult RunAutomationTest(const FAutomationTestInfo& Test, TFunctionRef<void()> Tick, double TimeoutSeconds);
}
