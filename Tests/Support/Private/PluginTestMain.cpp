// Copyright Quarn. All Rights Reserved.

// The main of the plug-in's test suites: one engine with the plug-in's modules for the whole run,
// as a game has one. A suite defines QUARN_PLUGIN_DESCRIPTOR, and QUARN_TEST_PROJECT when its
// tests need a project folder (the stash panel's icons live in one's Content).

#include "Host/CoreHost.h"
#include "QuarnTest/PluginTestSupport.h"

#include <gtest/gtest.h>

#ifndef QUARN_TEST_PROJECT
#define QUARN_TEST_PROJECT ""
#endif

// Fontconfig, loaded by Pango when text is measured or painted, keeps its configuration for the
// life of the process by design; the leak checker is told so also when a suite runs outside CTest.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
	return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
	testing::InitGoogleTest(&argc, argv);
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);
	if (!QuarnTest::StartEngine(TEXT(QUARN_PLUGIN_DESCRIPTOR), TEXT(QUARN_TEST_PROJECT)))
	{
		return 1;
	}
	const int Result = RUN_ALL_TESTS();
	QuarnTest::StopEngine();
	return Result;
}
