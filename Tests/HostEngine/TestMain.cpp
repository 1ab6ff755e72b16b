#include "CoreMinimal.h"
#include "Host/HostEngineLoop.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
	testing::InitGoogleTest(&argc, argv);
	testing::FLAGS_gtest_death_test_style = "threadsafe";
	const int Result = RUN_ALL_TESTS();
	UE::Host::FHostEngineLoop::ShutdownModules();
	return Result;
}
