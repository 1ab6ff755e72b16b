// Copyright Quarn. All Rights Reserved.

#include "Host/CoreHost.h"
#include "QuarnTest/PluginTestSupport.h"

#include <gtest/gtest.h>

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
