// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Types/SlateVector2.h"

/**
 * The area a window's widgets are hit-tested in, carried through a paint pass. The host routes no
 * pointer input through it, so it keeps the area a painter gives it and no widgets; what the host
 * offers is what a caller painting off-screen sets up before a paint pass.
 */
class FHittestGrid : public FNoncopyable
{
public:
	SLATECORE_API FHittestGrid();

	/**
	 * Places the area on the desktop, with its size and where it starts in window (paint) space.
	 * Returns true when the area changed, which clears the grid.
	 */
	SLATECORE_API bool SetHittestArea(const UE::Slate::FDeprecateVector2DParameter& HittestPositionInDesktop, const UE::Slate::FDeprecateVector2DParameter& HittestDimensions, const UE::Slate::FDeprecateVector2DParameter& HitestOffsetInWindow = FVector2f::ZeroVector);

	SLATECORE_API void Clear();

	void SetUserIndex(int32 UserIndex) { CurrentUserIndex = UserIndex; }
	int32 GetUserIndex() const { return CurrentUserIndex; }

	UE::Slate::FDeprecateVector2DResult GetGridSize() const { return GridSize; }
	UE::Slate::FDeprecateVector2DResult GetGridOrigin() const { return GridOrigin; }
	UE::Slate::FDeprecateVector2DResult GetGridWindowOrigin() const { return GridWindowOrigin; }

private:
	FVector2f GridOrigin;
	FVector2f GridWindowOrigin;
	FVector2f GridSize;
	int32 CurrentUserIndex;
};
