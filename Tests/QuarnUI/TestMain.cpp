// Copyright Quarn. All Rights Reserved.

#include "Host/CoreHost.h"
#include "QuarnTest/PluginTestSupport.h"

#include <gtest/gtest.h>

// Fontconfig, loaded by Pango when text is measured or painted, keeps its configuration for the
// life of the process by design; the leak checker is told so rather than failing every test that
// lays out text.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
	return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
	testing::InitGoogleTest(&argc, argv);
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);
	// The project's Content folder holds the icons the item tables point at.
	if (!QuarnTest::StartEngine(TEXT(QUARN_PLUGIN_DESCRIPTOR), TEXT(QUARN_UI_TEST_PROJECT)))
	{
		return 1;
	}
	const int Result = RUN_ALL_TESTS();
	QuarnTest::StopEngine();
	return Result;
}
