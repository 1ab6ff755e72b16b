#include "CoreMinimal.h"
#include "Host/ObjectLoading.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
	testing::InitGoogleTest(&argc, argv);
	// Death tests fork; the threadsafe style re-runs the binary so statics are rebuilt cleanly.
	testing::FLAGS_gtest_death_test_style = "threadsafe";
	const int Result = RUN_ALL_TESTS();
	UE::Host::PurgeAllUnrootedObjects();
	return Result;
}
