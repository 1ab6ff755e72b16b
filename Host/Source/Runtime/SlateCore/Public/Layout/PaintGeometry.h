// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Rendering/SlateLayoutTransform.h"
#include "Rendering/SlateRenderTransform.h"

/** Where a draw element goes: a local size and the transform from local to window space. */
struct FPaintGeometry
{
	/** The layout position in window space (legacy; the render transform is authoritative). */
	FVector2f DrawPosition;
	/** The accumulated layout scale. */
	float DrawScale;

	FPaintGeometry()
		: DrawPosition(0.0f, 0.0f), DrawScale(1.0f), DrawSize(0.0f, 0.0f), LocalSize(0.0f, 0.0f), AccumulatedRenderTransform()
	{
	}

	FPaintGeometry(const FSlateLayoutTransform& InLayoutTransform, const FSlateRenderTransform& InRenderTransform, const UE::Slate::FDeprecateVector2DParameter& InLocalSize, bool bInHasRenderTransform)
		: DrawPosition(InLayoutTransform.GetTranslation().ToVector2f())
		, DrawScale(InLayoutTransform.GetScale())
		, DrawSize(0.0f, 0.0f)
		, LocalSize(InLocalSize)
		, AccumulatedRenderTransform(InRenderTransform)
		, bHasRenderTransform(bInHasRenderTransform)
	{
	}

	UE::Slate::FDeprecateVector2DResult GetLocalSize() const { return LocalSize; }
	const FSlateRenderTransform& GetAccumulatedRenderTransform() const { return AccumulatedRenderTransform; }
	FSlateLayoutTransform GetAccumulatedLayoutTransform() const { return FSlateLayoutTransform(DrawScale, DrawPosition); }
	bool HasRenderTransform() const { return bHasRenderTransform; }

	/** The size in window pixels of the layout box. */
	UE::Slate::FDeprecateVector2DResult GetDrawSize() const { return LocalSize * DrawScale; }

private:
	FVector2f DrawSize;
	FVector2f LocalSize;
	FSlateRenderTransform AccumulatedRenderTransform;
	bool bHasRenderTransform = false;
};
