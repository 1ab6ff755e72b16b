// Must not compile: a double passed for %d.
#include "CoreMinimal.h"

FString Bad()
{
	return FString::Printf(TEXT("%d"), 1.5);
}
