// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "SlateEnums.generated.h"

/** How a child is placed across the width of the space its parent gives it. */
UENUM(BlueprintType)
enum EHorizontalAlignment : int
{
	/** Fill the entire width. */
	HAlign_Fill UMETA(DisplayName="Fill"),
	/** Left-align. */
	HAlign_Left UMETA(DisplayName="Left"),
	/** Center-align. */
	HAlign_Center UMETA(DisplayName="Center"),
	/** Right-align. */
	HAlign_Right UMETA(DisplayName="Right"),
};

/** How a child is placed down the height of the space its parent gives it. */
UENUM(BlueprintType)
enum EVerticalAlignment : int
{
	/** Fill the entire height. */
	VAlign_Fill UMETA(DisplayName="Fill"),
	/** Top-align. */
	VAlign_Top UMETA(DisplayName="Top"),
	/** Center-align. */
	VAlign_Center UMETA(DisplayName="Center"),
	/** Bottom-align. */
	VAlign_Bottom UMETA(DisplayName="Bottom"),
};

/** The direction a box panel lays its children out in. */
UENUM(BlueprintType)
enum EOrientation : int
{
	Orient_Horizontal UMETA(DisplayName="Horizontal"),
	Orient_Vertical UMETA(DisplayName="Vertical"),
};
