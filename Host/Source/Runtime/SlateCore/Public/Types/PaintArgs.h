// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Types/SlateVector2.h"

class FHittestGrid;
class SWidget;

/**
 * What a paint pass passes down: the parent painting, the hit-test grids painted widgets join (the
 * window's root grid and the current one, the same unless a nested panel keeps its own), the
 * window's desktop offset and the time.
 */
class FPaintArgs
{
public:
	FPaintArgs(const SWidget* PaintParent, FHittestGrid& InRootHittestGrid, FHittestGrid& InCurrentHitTestGrid, UE::Slate::FDeprecateVector2DParameter InWindowOffset, double InCurrentTime, float InDeltaTime)
		: RootGrid(InRootHittestGrid)
		, CurrentGrid(InCurrentHitTestGrid)
		, WindowOffset(InWindowOffset.ToVector2f())
		, PaintParentPtr(PaintParent)
		, CurrentTime(InCurrentTime)
		, DeltaTime(InDeltaTime)
		, bInheritedHittestability(true)
	{
	}

	FPaintArgs(const SWidget* PaintParent, FHittestGrid& InRootHittestGrid, UE::Slate::FDeprecateVector2DParameter InWindowOffset, double InCurrentTime, float InDeltaTime)
		: FPaintArgs(PaintParent, InRootHittestGrid, InRootHittestGrid, InWindowOffset, InCurrentTime, InDeltaTime)
	{
	}

	[[nodiscard]] FPaintArgs WithNewParent(const SWidget* PaintParent) const
	{
		FPaintArgs Args(*this);
		Args.PaintParentPtr = PaintParent;
		return Args;
	}

	[[nodiscard]] FPaintArgs WithNewHitTestGrid(FHittestGrid& NewHitTestGrid) const
	{
		return FPaintArgs(PaintParentPtr, RootGrid, NewHitTestGrid, WindowOffset, CurrentTime, DeltaTime);
	}

	FHittestGrid& GetHittestGrid() const { return CurrentGrid; }
	const SWidget* GetPaintParent() const { return PaintParentPtr; }
	/** The offset from window space to desktop space. */
	UE::Slate::FDeprecateVector2DResult GetWindowToDesktopTransform() const { return UE::Slate::FDeprecateVector2DResult(WindowOffset); }
	double GetCurrentTime() const { return CurrentTime; }
	float GetDeltaTime() const { return DeltaTime; }

	void SetInheritedHittestability(bool InInheritedHittestability) { bInheritedHittestability = InInheritedHittestability; }
	bool GetInheritedHittestability() const { return bInheritedHittestability; }

private:
	FHittestGrid& RootGrid;
	FHittestGrid& CurrentGrid;
	FVector2f WindowOffset;
	const SWidget* PaintParentPtr;
	double CurrentTime;
	float DeltaTime;
	bool bInheritedHittestability;
};
