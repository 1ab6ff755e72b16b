// Copyright Quarn. All Rights Reserved.

#include "Host/CoreHost.h"
#include "HttpModule.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
	testing::InitGoogleTest(&argc, argv);
	GTEST_FLAG_SET(death_test_style, "threadsafe");

	// The thread running the tests is the game thread: it loads the module and pumps the ticker.
	UE::Host::SetGameThread();
	UE::Host::SetConsoleLogVerbosity(ELogVerbosity::Error);
	FHttpModule::Get();

	const int Result = RUN_ALL_TESTS();

	UE::Host::ShutdownModules();
	return Result;
}
