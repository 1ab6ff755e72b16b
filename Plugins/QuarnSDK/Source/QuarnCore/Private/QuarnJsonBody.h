// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/SharedPointer.h"

class FJsonObject;

namespace QuarnJsonBody
{
	/** The object as a request body: the engine's pretty-printed JSON. */
	FString Write(const TSharedRef<FJsonObject>& Object);
}
