// Must not compile: a comparison member that is not const is refused by the operators of Misc/UEOps.h.
#include "CoreMinimal.h"
#include "Misc/UEOps.h"

struct FMutableCompare
{
	int32 Value = 0;
	bool UEOpEquals(const FMutableCompare& Other) { return Value == Other.Value; }
};

bool Compare(FMutableCompare& A, FMutableCompare& B)
{
	return A == B;
}
