// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Containers/UnrealString.h"
#include "Templates/TypeHash.h"

namespace UE::Math
{
	template <typename InIntType>
	struct TIntPoint
	{
		using IntType = InIntType;

		IntType X;
		IntType Y;

		static const TIntPoint ZeroValue;
		static const TIntPoint NoneValue;

		TIntPoint() = default;
		constexpr TIntPoint(IntType InX, IntType InY) : X(InX), Y(InY) {}
		explicit constexpr TIntPoint(IntType InXY) : X(InXY), Y(InXY) {}
		explicit TIntPoint(EForceInit) : X(0), Y(0) {}

		const IntType& operator()(int32 PointIndex) const { return PointIndex == 0 ? X : Y; }
		IntType& operator()(int32 PointIndex) { return PointIndex == 0 ? X : Y; }
		IntType& operator[](int32 Index) { return Index == 0 ? X : Y; }
		IntType operator[](int32 Index) const { return Index == 0 ? X : Y; }

		bool operator==(const TIntPoint& Other) const { return X == Other.X && Y == Other.Y; }
		bool operator!=(const TIntPoint& Other) const { return X != Other.X || Y != Other.Y; }
		TIntPoint& operator*=(IntType Scale)
		{
			X *= Scale;
			Y *= Scale;
			return *this;
		}
		TIntPoint& operator/=(IntType Divisor)
		{
			X /= Divisor;
			Y /= Divisor;
			return *this;
		}
		TIntPoint& operator+=(const TIntPoint& Other)
		{
			X += Other.X;
			Y += Other.Y;
			return *this;
		}
		TIntPoint& operator-=(const TIntPoint& Other)
		{
			X -= Other.X;
			Y -= Other.Y;
			return *this;
		}
		TIntPoint operator*(IntType Scale) const { return TIntPoint(X * Scale, Y * Scale); }
		TIntPoint operator/(IntType Divisor) const { return TIntPoint(X / Divisor, Y / Divisor); }
		TIntPoint operator+(const TIntPoint& Other) const { return TIntPoint(X + Other.X, Y + Other.Y); }
		TIntPoint operator-(const TIntPoint& Other) const { return TIntPoint(X - Other.X, Y - Other.Y); }
		TIntPoint operator*(const TIntPoint& Other) const { return TIntPoint(X * Other.X, Y * Other.Y); }
		TIntPoint operator/(const TIntPoint& Other) const { return TIntPoint(X / Other.X, Y / Other.Y); }

		TIntPoint ComponentMin(const TIntPoint& Other) const { return TIntPoint(FMath::Min(X, Other.X), FMath::Min(Y, Other.Y)); }
		TIntPoint ComponentMax(const TIntPoint& Other) const { return TIntPoint(FMath::Max(X, Other.X), FMath::Max(Y, Other.Y)); }
		IntType GetMax() const { return FMath::Max(X, Y); }
		IntType GetMin() const { return FMath::Min(X, Y); }
		IntType Size() const
		{
			const int64 LocalX64 = (int64)X;
			const int64 LocalY64 = (int64)Y;
			return IntType(FMath::Sqrt(double(LocalX64 * LocalX64 + LocalY64 * LocalY64)));
		}
		IntType SizeSquared() const { return X * X + Y * Y; }
		FString ToString() const { return FString::Printf(TEXT("X=%lld Y=%lld"), (long long)X, (long long)Y); }

		friend uint32 GetTypeHash(const TIntPoint& InPoint) { return HashCombine(GetTypeHash(InPoint.X), GetTypeHash(InPoint.Y)); }
	};

	template <typename IntType> inline const TIntPoint<IntType> TIntPoint<IntType>::ZeroValue(0, 0);
	template <typename IntType> inline const TIntPoint<IntType> TIntPoint<IntType>::NoneValue(INDEX_NONE, INDEX_NONE);
} // namespace UE::Math

template <> struct TIsPODType<FIntPoint> { enum { Value = true }; };
