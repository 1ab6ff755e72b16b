// Test-only: the order in which test objects were destroyed.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host::Tests
{
	HOSTUOBJECTTESTTYPES_API void RecordDestroy(FName Object, const TCHAR* Step);
	HOSTUOBJECTTESTTYPES_API TArray<FString> TakeDestroyLog();
}
