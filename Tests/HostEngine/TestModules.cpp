#include "TestModules.h"

TArray<FString>& TestModuleEvents()
{
	static TArray<FString> Events;
	return Events;
}
