// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Layout/Margin.h"
#include "Types/SlateVector2.h"

/** An axis-aligned rectangle given by its edges. */
class FSlateRect
{
public:
	float Left;
	float Top;
	float Right;
	float Bottom;

	explicit FSlateRect(float InLeft = -1, float InTop = -1, float InRight = -1, float InBottom = -1)
		: Left(InLeft), Top(InTop), Right(InRight), Bottom(InBottom)
	{
	}

	FSlateRect(const UE::Slate::FDeprecateVector2DParameter& InStartPos, const UE::Slate::FDeprecateVector2DParameter& InEndPos)
		: Left(InStartPos.X), Top(InStartPos.Y), Right(InEndPos.X), Bottom(InEndPos.Y)
	{
	}

	/** A rectangle is valid when it has no negative extent and is not the default (-1) one. */
	bool IsValid() const { return !(Left == -1 && Right == -1 && Bottom == -1 && Top == -1) && Right >= Left && Bottom >= Top; }
	bool IsEmpty() const { return GetSize().SizeSquared() < UE_SMALL_NUMBER; }

	UE::Slate::FDeprecateVector2DResult GetSize() const { return FVector2f(Right - Left, Bottom - Top); }
	float GetArea() const { return (Right - Left) * (Bottom - Top); }
	UE::Slate::FDeprecateVector2DResult GetCenter() const { return FVector2f(Left, Top) + (FVector2f(Right - Left, Bottom - Top) * 0.5f); }
	UE::Slate::FDeprecateVector2DResult GetTopLeft() const { return FVector2f(Left, Top); }
	UE::Slate::FDeprecateVector2DResult GetBottomRight() const { return FVector2f(Right, Bottom); }

	FSlateRect InsetBy(const FMargin& InsetAmount) const
	{
		return FSlateRect(Left + InsetAmount.Left, Top + InsetAmount.Top, Right - InsetAmount.Right, Bottom - InsetAmount.Bottom);
	}
	FSlateRect ExtendBy(const FMargin& ExtendAmount) const
	{
		return FSlateRect(Left - ExtendAmount.Left, Top - ExtendAmount.Top, Right + ExtendAmount.Right, Bottom + ExtendAmount.Bottom);
	}
	FSlateRect OffsetBy(const UE::Slate::FDeprecateVector2DParameter& OffsetAmount) const
	{
		return FSlateRect(Left + OffsetAmount.X, Top + OffsetAmount.Y, Right + OffsetAmount.X, Bottom + OffsetAmount.Y);
	}

	/** The overlap of two rectangles; bOverlapping tells whether there is any. */
	FSlateRect IntersectionWith(const FSlateRect& Other, bool& bOverlapping) const
	{
		FSlateRect Intersected(FMath::Max(Left, Other.Left), FMath::Max(Top, Other.Top), FMath::Min(Right, Other.Right), FMath::Min(Bottom, Other.Bottom));
		if ((Intersected.Bottom < Intersected.Top) || (Intersected.Right < Intersected.Left))
		{
			bOverlapping = false;
			return FSlateRect(0, 0, 0, 0);
		}
		bOverlapping = true;
		return Intersected;
	}
	FSlateRect IntersectionWith(const FSlateRect& Other) const
	{
		bool bOverlapping;
		return IntersectionWith(Other, bOverlapping);
	}

	bool ContainsPoint(const UE::Slate::FDeprecateVector2DParameter& Point) const
	{
		return Point.X >= Left && Point.X <= Right && Point.Y >= Top && Point.Y <= Bottom;
	}

	/** Whether two rectangles overlap; rectangles that touch along an edge (or a point inside) count. */
	static bool DoRectanglesIntersect(const FSlateRect& A, const FSlateRect& B)
	{
		if (A.Right < B.Left || B.Right < A.Left)
		{
			return false;
		}
		if (A.Bottom < B.Top || B.Bottom < A.Top)
		{
			return false;
		}
		return true;
	}

	bool operator==(const FSlateRect& Other) const
	{
		return Left == Other.Left && Top == Other.Top && Right == Other.Right && Bottom == Other.Bottom;
	}
	bool operator!=(const FSlateRect& Other) const { return !(*this == Other); }

	FString ToString() const
	{
		return FString::Printf(TEXT("Left=%3.2f Top=%3.2f Right=%3.2f Bottom=%3.2f"), (double)Left, (double)Top, (double)Right, (double)Bottom);
	}
};
