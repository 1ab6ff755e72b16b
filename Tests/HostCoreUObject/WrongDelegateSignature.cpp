// Must not compile: a function whose parameters differ from the delegate's signature.
#include "ReflectionTestTypes.h"

void BindTheWrongFunction(UReflectionTestObject* Source, UReflectionTestObject* Target)
{
	// OnItem is (const FTestItem&, int32); ScoreTimesTwo takes (int32).
	Source->OnItem.AddDynamic(Target, &UReflectionTestObject::ScoreTimesTwo);
}
