// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Containers/UnrealString.h"

namespace UE::Math
{
	template <typename T>
	struct TVector4
	{
		T X;
		T Y;
		T Z;
		T W;

		constexpr TVector4(T InX = 0, T InY = 0, T InZ = 0, T InW = 1) : X(InX), Y(InY), Z(InZ), W(InW) {}
		explicit TVector4(EForceInit) : X(0), Y(0), Z(0), W(0) {}
		template <typename FArg, std::enable_if_t<!std::is_same_v<T, FArg>>* = nullptr>
		explicit TVector4(const TVector4<FArg>& From) : X((T)From.X), Y((T)From.Y), Z((T)From.Z), W((T)From.W)
		{
		}

		T& operator[](int32 Index) { return (&X)[Index]; }
		T operator[](int32 Index) const { return (&X)[Index]; }
		TVector4 operator+(const TVector4& V) const { return TVector4(X + V.X, Y + V.Y, Z + V.Z, W + V.W); }
		TVector4 operator-(const TVector4& V) const { return TVector4(X - V.X, Y - V.Y, Z - V.Z, W - V.W); }
		TVector4 operator*(T Scale) const { return TVector4(X * Scale, Y * Scale, Z * Scale, W * Scale); }
		bool operator==(const TVector4& V) const { return X == V.X && Y == V.Y && Z == V.Z && W == V.W; }
		bool operator!=(const TVector4& V) const { return !(*this == V); }
		bool Equals(const TVector4& V, T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance && FMath::Abs(Z - V.Z) <= Tolerance && FMath::Abs(W - V.W) <= Tolerance;
		}
		FString ToString() const { return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f W=%3.3f"), (double)X, (double)Y, (double)Z, (double)W); }
	};
} // namespace UE::Math
