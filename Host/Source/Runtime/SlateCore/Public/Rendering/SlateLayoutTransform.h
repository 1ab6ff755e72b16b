// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Types/SlateVector2.h"

/**
 * A uniform scale followed by a translation, the transform layout composes from a widget to its
 * children: Point' = Point * Scale + Translation, computed in single precision.
 */
class FSlateLayoutTransform
{
public:
	FSlateLayoutTransform(float InScale = 1.0f) : Scale(InScale), Translation(ForceInit) {}
	explicit FSlateLayoutTransform(const UE::Slate::FDeprecateVector2DParameter& InTranslation) : Scale(1.0f), Translation(InTranslation) {}
	explicit FSlateLayoutTransform(float InScale, const UE::Slate::FDeprecateVector2DParameter& InTranslation) : Scale(InScale), Translation(InTranslation) {}

	UE::Slate::FDeprecateVector2DResult TransformPoint(const UE::Slate::FDeprecateVector2DParameter& Point) const
	{
		return ::TransformPoint(Translation, ::TransformPoint(Scale, Point.ToVector2f()));
	}

	UE::Slate::FDeprecateVector2DResult TransformVector(const UE::Slate::FDeprecateVector2DParameter& Vector) const
	{
		return ::TransformVector(Scale, Vector.ToVector2f());
	}

	/** This transform followed by RHS. */
	FSlateLayoutTransform Concatenate(const FSlateLayoutTransform& RHS) const
	{
		return FSlateLayoutTransform(::Concatenate(Scale, RHS.Scale), RHS.TransformPoint(Translation).ToVector2f());
	}

	FSlateLayoutTransform Inverse() const
	{
		return FSlateLayoutTransform(::Inverse(Scale), ::Inverse(Translation) * ::Inverse(Scale));
	}

	bool operator==(const FSlateLayoutTransform& Other) const { return Scale == Other.Scale && Translation == Other.Translation; }
	bool operator!=(const FSlateLayoutTransform& Other) const { return !(*this == Other); }

	float GetScale() const { return Scale; }
	UE::Slate::FDeprecateVector2DResult GetTranslation() const { return Translation; }
	bool IsIdentity() const { return Scale == 1.0f && Translation == FVector2f(0.0f, 0.0f); }

private:
	float Scale;
	FVector2f Translation;
};

inline FSlateLayoutTransform Concatenate(const FSlateLayoutTransform& LHS, const FSlateLayoutTransform& RHS)
{
	return LHS.Concatenate(RHS);
}

inline FSlateLayoutTransform Concatenate(float Scale, const FSlateLayoutTransform& RHS)
{
	return FSlateLayoutTransform(Scale).Concatenate(RHS);
}

inline FSlateLayoutTransform Concatenate(const FSlateLayoutTransform& LHS, float Scale)
{
	return LHS.Concatenate(FSlateLayoutTransform(Scale));
}

inline FSlateLayoutTransform Inverse(const FSlateLayoutTransform& Transform)
{
	return Transform.Inverse();
}
