// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "FlowDirection.generated.h"

/** The direction text and horizontal layout flow in. */
UENUM()
enum class EFlowDirection : uint8
{
	/** Content flows left to right */
	LeftToRight,
	/** Content flows right to left */
	RightToLeft,
};

/** The flow direction the current layout pass uses. */
extern SLATECORE_API EFlowDirection GSlateFlowDirection;
