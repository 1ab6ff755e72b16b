// Copyright Quarn. All Rights Reserved.

#include "Input/HittestGrid.h"

FHittestGrid::FHittestGrid()
	: GridOrigin(FVector2f::ZeroVector)
	, GridWindowOrigin(FVector2f::ZeroVector)
	, GridSize(FVector2f::ZeroVector)
	, CurrentUserIndex(INDEX_NONE)
{
}

bool FHittestGrid::SetHittestArea(const UE::Slate::FDeprecateVector2DParameter& HittestPositionInDesktop, const UE::Slate::FDeprecateVector2DParameter& HittestDimensions, const UE::Slate::FDeprecateVector2DParameter& HitestOffsetInWindow)
{
	// A negative size would be an area that holds nothing; it is kept as an empty one.
	const FVector2f Size(FMath::Max(HittestDimensions.X, 0.0f), FMath::Max(HittestDimensions.Y, 0.0f));
	const bool bChanged = GridOrigin != HittestPositionInDesktop.ToVector2f() || GridWindowOrigin != HitestOffsetInWindow.ToVector2f() || GridSize != Size;
	GridOrigin = HittestPositionInDesktop.ToVector2f();
	GridWindowOrigin = HitestOffsetInWindow.ToVector2f();
	GridSize = Size;
	if (bChanged)
	{
		Clear();
	}
	return bChanged;
}

void FHittestGrid::Clear()
{
	// Nothing is held between paint passes; the area stays.
}
