// Copyright Quarn. All Rights Reserved.

#include "QuarnStashPanel.h"
#include "QuarnUIStats.h"
#include "Components/CanvasPanel.h"
#include "Layout/Geometry.h"

bool UQuarnStashPanel::CellAtScreenPosition(const FVector2D& ScreenPosition, int32& OutX, int32& OutY) const
{
	TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::CellAtScreenPosition);
	SCOPE_CYCLE_COUNTER(STAT_QuarnHitTest);
	OutX = -1;
	OutY = -1;
	if (GridCanvas == nullptr || !GridCanvas->GetCachedWidget().IsValid())
	{
		return false;
	}
	// A cell size of 0 or less (possible from Blueprint despite the editor clamp) has no cells:
	// dividing by it would give infinities that convert to no index at all.
	if (!(CellSize > 0.0f))
	{
		return false;
	}

	const FGeometry& Geometry = GridCanvas->GetCachedGeometry();
	const FVector2D Local = Geometry.AbsoluteToLocal(ScreenPosition);
	// Written so that a NaN position is refused as well.
	if (!(Local.X >= 0.0) || !(Local.Y >= 0.0))
	{
		return false;
	}
	const double CellX = FMath::FloorToDouble(Local.X / static_cast<double>(CellSize));
	const double CellY = FMath::FloorToDouble(Local.Y / static_cast<double>(CellSize));
	if (!(CellX >= 0.0) || !(CellY >= 0.0))
	{
		return false;
	}

	if (bShowingSlots)
	{
		const double Columns = static_cast<double>(FMath::Max(DrawnColumns, 1));
		if (CellX >= Columns || Columns * CellY + CellX >= static_cast<double>(FMath::Max(SlotCount, 1)))
		{
			return false;
		}
	}
	else if (CellX >= static_cast<double>(GridWidth) || CellY >= static_cast<double>(GridHeight))
	{
		return false;
	}

	OutX = static_cast<int32>(CellX);
	OutY = static_cast<int32>(CellY);
	return true;
}

bool UQuarnStashPanel::InstanceAtScreenPosition(const FVector2D& ScreenPosition, FQuarnItemInstance& OutInstance) const
{
	TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::InstanceAtScreenPosition);
	SCOPE_CYCLE_COUNTER(STAT_QuarnHitTest);
	int32 CellX = -1;
	int32 CellY = -1;
	if (!CellAtScreenPosition(ScreenPosition, CellX, CellY))
	{
		return false;
	}
	// The stack earliest in the container's order wins where stacks overlap.
	for (const FQuarnItemInstance& Item : Contents)
	{
		if (Item.X < 0 || Item.Y < 0)
		{
			continue;
		}
		const int64 Right = static_cast<int64>(Item.X) + FMath::Max(Item.GridW, 1);
		const int64 Bottom = static_cast<int64>(Item.Y) + FMath::Max(Item.GridH, 1);
		if (Item.X <= CellX && CellX < Right && Item.Y <= CellY && CellY < Bottom)
		{
			OutInstance = Item;
			return true;
		}
	}
	return false;
}

int32 UQuarnStashPanel::SlotIndexAt(int32 X, int32 Y) const
{
	// Saturated rather than wrapped: a far-away cell stays far away and the platform refuses it.
	const int64 Index = static_cast<int64>(FMath::Max(DrawnColumns, 1)) * Y + X;
	return static_cast<int32>(FMath::Clamp<int64>(Index, MIN_int32, MAX_int32));
}
