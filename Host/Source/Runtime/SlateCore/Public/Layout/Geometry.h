// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Layout/SlateRect.h"
#include "Layout/PaintGeometry.h"
#include "Rendering/SlateLayoutTransform.h"
#include "Rendering/SlateRenderTransform.h"
#include "Types/SlateVector2.h"
#include "Geometry.generated.h"

class SWidget;
struct FArrangedWidget;

/**
 * The size of a widget and the transform from its local space to absolute space. A widget's
 * children are given geometries made with MakeChild, which accumulates the layout transforms of
 * every ancestor: everything is stored and computed in single precision, as the engine does.
 */
USTRUCT(BlueprintType)
struct FGeometry
{
	GENERATED_BODY()

public:
	/** An identity geometry: size zero, scale 1, at the origin. */
	SLATECORE_API FGeometry();

	FGeometry(const FGeometry& RHS) = default;

	// The members are const, so assignment copies the bytes as the engine does.
	FGeometry& operator=(const FGeometry& RHS)
	{
		if (this != &RHS)
		{
			FMemory::Memcpy(static_cast<void*>(this), &RHS, sizeof(FGeometry));
		}
		return *this;
	}

private:
	SLATECORE_API FGeometry(const FVector2f& InLocalSize, const FSlateLayoutTransform& InLocalLayoutTransform, const FSlateLayoutTransform& ParentAccumulatedLayoutTransform, const FSlateRenderTransform& ParentAccumulatedRenderTransform, bool bParentHasRenderTransform);
	SLATECORE_API FGeometry(const FVector2f& InLocalSize, const FSlateLayoutTransform& InLocalLayoutTransform, const FSlateRenderTransform& InLocalRenderTransform, const FVector2f& InLocalRenderTransformPivot, const FSlateLayoutTransform& ParentAccumulatedLayoutTransform, const FSlateRenderTransform& ParentAccumulatedRenderTransform);

public:
	bool operator==(const FGeometry& Other) const
	{
		return Size == Other.Size && AbsolutePosition == Other.AbsolutePosition && Position == Other.Position && Scale == Other.Scale;
	}
	bool operator!=(const FGeometry& Other) const { return !(*this == Other); }

	/** The geometry of a root widget (a window), with its DPI scale and position. */
	static SLATECORE_API FGeometry MakeRoot(const UE::Slate::FDeprecateVector2DParameter& LocalSize, const FSlateLayoutTransform& LayoutTransform);
	static SLATECORE_API FGeometry MakeRoot(const UE::Slate::FDeprecateVector2DParameter& LocalSize, const FSlateLayoutTransform& LayoutTransform, const FSlateRenderTransform& RenderTransform, const UE::Slate::FDeprecateVector2DParameter& RenderTransformPivot);

	/** A child placed by a layout transform relative to this geometry. */
	SLATECORE_API FGeometry MakeChild(const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& LayoutTransform) const;
	/** A child placed by a layout transform and rendered with a render transform about a pivot (0..1 of its size). */
	SLATECORE_API FGeometry MakeChild(const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& LayoutTransform, const FSlateRenderTransform& RenderTransform, const UE::Slate::FDeprecateVector2DParameter& RenderTransformPivot) const;
	/** This geometry with a render transform applied about a pivot. */
	SLATECORE_API FGeometry MakeChild(const FSlateRenderTransform& RenderTransform, const UE::Slate::FDeprecateVector2DParameter& RenderTransformPivot = FVector2f(0.5f, 0.5f)) const;

	/** A child widget at an offset and size in this geometry's local space, with an optional scale. */
	SLATECORE_API FArrangedWidget MakeChild(const TSharedRef<SWidget>& ChildWidget, const UE::Slate::FDeprecateVector2DParameter& ChildOffset, const UE::Slate::FDeprecateVector2DParameter& InLocalSize, float ChildScale = 1.0f) const;
	SLATECORE_API FArrangedWidget MakeChild(const TSharedRef<SWidget>& ChildWidget, const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& LayoutTransform) const;

	/** Paint geometry for this whole geometry. */
	SLATECORE_API FPaintGeometry ToPaintGeometry() const;
	/** Paint geometry for a box of the given size placed inside this geometry. */
	SLATECORE_API FPaintGeometry ToPaintGeometry(const UE::Slate::FDeprecateVector2DParameter& InLocalSize, const FSlateLayoutTransform& InLayoutTransform) const;
	SLATECORE_API FPaintGeometry ToPaintGeometry(const FSlateLayoutTransform& InLayoutTransform) const;
	SLATECORE_API FPaintGeometry ToOffsetPaintGeometry(const UE::Slate::FDeprecateVector2DParameter& LocalOffset) const;

	/** Whether an absolute point lies over this geometry (edges included). */
	SLATECORE_API bool IsUnderLocation(const UE::Slate::FDeprecateVector2DParameter& AbsoluteCoordinate) const;

	/** Absolute (desktop) coordinates to local ones, through the inverse of the accumulated render transform. */
	UE::Slate::FDeprecateVector2DResult AbsoluteToLocal(UE::Slate::FDeprecateVector2DParameter AbsoluteCoordinate) const
	{
		return TransformPoint(Inverse(GetAccumulatedRenderTransform()), AbsoluteCoordinate.ToVector2f());
	}

	/** Local coordinates to absolute ones. */
	UE::Slate::FDeprecateVector2DResult LocalToAbsolute(UE::Slate::FDeprecateVector2DParameter LocalCoordinate) const
	{
		return TransformPoint(GetAccumulatedRenderTransform(), LocalCoordinate.ToVector2f());
	}

	/** A point given as a fraction of the size, (0,0) top-left and (1,1) bottom-right, in local space. */
	UE::Slate::FDeprecateVector2DResult GetLocalPositionAtCoordinates(const UE::Slate::FDeprecateVector2DParameter& NormalCoordinates) const
	{
		return NormalCoordinates.ToVector2f() * Size;
	}

	UE::Slate::FDeprecateVector2DResult GetAbsolutePositionAtCoordinates(const UE::Slate::FDeprecateVector2DParameter& NormalCoordinates) const
	{
		return LocalToAbsolute(GetLocalPositionAtCoordinates(NormalCoordinates));
	}

	/** The bounding box of this geometry in absolute space. */
	SLATECORE_API FSlateRect GetLayoutBoundingRect() const;
	SLATECORE_API FSlateRect GetRenderBoundingRect() const;

	UE::Slate::FDeprecateVector2DResult GetLocalSize() const { return Size; }
	UE::Slate::FDeprecateVector2DResult GetAbsolutePosition() const { return GetAccumulatedRenderTransform().TransformPoint(FVector2f(0.0f, 0.0f)); }
	UE::Slate::FDeprecateVector2DResult GetAbsoluteSize() const { return GetAccumulatedRenderTransform().TransformVector(Size); }
	/** The size in absolute units of the layout box, without render transforms. */
	UE::Slate::FDeprecateVector2DResult GetDrawSize() const { return Size * Scale; }

	const FSlateRenderTransform& GetAccumulatedRenderTransform() const { return AccumulatedRenderTransform; }
	FSlateLayoutTransform GetAccumulatedLayoutTransform() const { return FSlateLayoutTransform(Scale, AbsolutePosition); }
	bool HasRenderTransform() const { return bHasRenderTransform; }

	/** Appends a layout transform on the absolute side, as when window space becomes desktop space. */
	SLATECORE_API void AppendTransform(const FSlateLayoutTransform& LayoutTransform);

	SLATECORE_API FString ToString() const;

public:
	/** Size of the geometry in local space. */
	const FDeprecateSlateVector2D Size;
	/** The accumulated layout scale. */
	const float Scale;
	/** The accumulated layout translation (absolute position of the top-left corner). */
	const FVector2f AbsolutePosition;
	/** The offset of the geometry within its parent, in the parent's local space. */
	const FVector2f Position;

private:
	FSlateRenderTransform AccumulatedRenderTransform;
	const uint8 bHasRenderTransform : 1;
};

template <> struct TIsPODType<FGeometry> { enum { Value = true }; };
