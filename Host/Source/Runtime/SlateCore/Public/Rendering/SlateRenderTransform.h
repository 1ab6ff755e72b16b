// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Rendering/SlateLayoutTransform.h"

/** The general 2D transform Slate renders and hit-tests with: a 2x2 matrix and a translation, in float. */
typedef FTransform2f FSlateRenderTransform;

/** A layout transform as a render transform. */
inline FSlateRenderTransform ToRenderTransform(const FSlateLayoutTransform& Transform)
{
	return FSlateRenderTransform(Transform.GetScale(), Transform.GetTranslation().ToVector2f());
}

inline FSlateRenderTransform Concatenate(const FSlateLayoutTransform& LHS, const FSlateRenderTransform& RHS)
{
	return ToRenderTransform(LHS).Concatenate(RHS);
}

inline FSlateRenderTransform Concatenate(const FSlateRenderTransform& LHS, const FSlateLayoutTransform& RHS)
{
	return LHS.Concatenate(ToRenderTransform(RHS));
}
