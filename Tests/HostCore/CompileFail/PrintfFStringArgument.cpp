// Must not compile: an FString passed for %s (the engine wants *Str).
#include "CoreMinimal.h"

FString Bad()
{
	const FString Name(TEXT("x"));
	return FString::Printf(TEXT("%s"), Name);
}
