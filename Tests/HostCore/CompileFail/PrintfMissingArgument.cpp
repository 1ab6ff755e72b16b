// Must not compile: fewer arguments than conversions.
#include "CoreMinimal.h"

FString Bad()
{
	return FString::Printf(TEXT("%d and %s"), 1);
}
