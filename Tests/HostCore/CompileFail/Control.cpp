// Must compile: the same harness accepts correct formats, so the failures above are meaningful.
#include "CoreMinimal.h"

FString Good()
{
	const FString Name(TEXT("x"));
	return FString::Printf(TEXT("%s %d %lld %f"), *Name, 1, 2ll, 1.5);
}
