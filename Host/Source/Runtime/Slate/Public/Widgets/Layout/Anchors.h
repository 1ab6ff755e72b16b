// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Anchors.generated.h"

/** Where a canvas child is anchored in its parent, as fractions of the parent's size (0 left/top, 1 right/bottom). */
USTRUCT(BlueprintType)
struct FAnchors
{
	GENERATED_BODY()

public:
	/** Holds the minimum anchors, left + top. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance)
	FVector2D Minimum;

	/** Holds the maximum anchors, right + bottom. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance)
	FVector2D Maximum;

public:
	/** Both anchors at the top-left corner. */
	FAnchors() : Minimum(0.0, 0.0), Maximum(0.0, 0.0) {}
	FAnchors(float UniformAnchors) : Minimum(UniformAnchors, UniformAnchors), Maximum(UniformAnchors, UniformAnchors) {}
	FAnchors(float Horizontal, float Vertical) : Minimum(Horizontal, Vertical), Maximum(Horizontal, Vertical) {}
	FAnchors(float MinX, float MinY, float MaxX, float MaxY) : Minimum(MinX, MinY), Maximum(MaxX, MaxY) {}

	/** Whether the child is stretched between two anchors vertically. */
	bool IsStretchedVertical() const { return Minimum.Y != Maximum.Y; }
	/** Whether the child is stretched between two anchors horizontally. */
	bool IsStretchedHorizontal() const { return Minimum.X != Maximum.X; }

	bool operator==(const FAnchors& Other) const { return Minimum == Other.Minimum && Maximum == Other.Maximum; }
	bool operator!=(const FAnchors& Other) const { return !(*this == Other); }
};
