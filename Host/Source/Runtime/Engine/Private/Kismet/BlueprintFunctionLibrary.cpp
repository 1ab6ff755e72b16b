// Copyright Quarn. All Rights Reserved.

#include "Kismet/BlueprintFunctionLibrary.h"

UBlueprintFunctionLibrary::UBlueprintFunctionLibrary(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}
