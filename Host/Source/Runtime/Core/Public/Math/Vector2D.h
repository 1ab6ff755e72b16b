// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/UnrealMathUtility.h"
#include "Containers/UnrealString.h"
#include "Templates/TypeHash.h"

namespace UE::Math
{
	// A 2D vector; FVector2D has double components, FVector2f float ones.
	template <typename T>
	struct TVector2
	{
		using FReal = T;

		T X;
		T Y;

		static const TVector2<T> ZeroVector;
		static const TVector2<T> UnitVector;
		static const TVector2<T> Unit45Deg;

		static TVector2<T> Zero() { return TVector2<T>(0, 0); }
		static TVector2<T> One() { return TVector2<T>(1, 1); }
		static TVector2<T> UnitX() { return TVector2<T>(1, 0); }
		static TVector2<T> UnitY() { return TVector2<T>(0, 1); }

		FORCEINLINE TVector2() = default;
		FORCEINLINE constexpr TVector2(T InX, T InY) : X(InX), Y(InY) {}
		FORCEINLINE constexpr explicit TVector2(T InF) : X(InF), Y(InF) {}
		FORCEINLINE constexpr explicit TVector2(EForceInit) : X(0), Y(0) {}
		template <typename IntType>
		FORCEINLINE TVector2(TIntPoint<IntType> InPos);

		// Conversion between float and double vectors is explicit, as in the engine.
		template <typename FArg, std::enable_if_t<!std::is_same_v<T, FArg>>* = nullptr>
		explicit TVector2(const TVector2<FArg>& From) : TVector2<T>((T)From.X, (T)From.Y)
		{
		}

		FORCEINLINE TVector2<T> operator+(const TVector2<T>& V) const { return TVector2<T>(X + V.X, Y + V.Y); }
		FORCEINLINE TVector2<T> operator-(const TVector2<T>& V) const { return TVector2<T>(X - V.X, Y - V.Y); }
		FORCEINLINE TVector2<T> operator*(const TVector2<T>& V) const { return TVector2<T>(X * V.X, Y * V.Y); }
		FORCEINLINE TVector2<T> operator/(const TVector2<T>& V) const { return TVector2<T>(X / V.X, Y / V.Y); }
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FORCEINLINE TVector2<T> operator*(FArg Scale) const { return TVector2<T>(X * (T)Scale, Y * (T)Scale); }
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FORCEINLINE TVector2<T> operator/(FArg Scale) const
		{
			const T RScale = (T)1 / (T)Scale;
			return TVector2<T>(X * RScale, Y * RScale);
		}
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FORCEINLINE TVector2<T> operator+(FArg A) const { return TVector2<T>(X + (T)A, Y + (T)A); }
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FORCEINLINE TVector2<T> operator-(FArg A) const { return TVector2<T>(X - (T)A, Y - (T)A); }
		FORCEINLINE TVector2<T> operator-() const { return TVector2<T>(-X, -Y); }
		FORCEINLINE T operator|(const TVector2<T>& V) const { return X * V.X + Y * V.Y; }
		FORCEINLINE T operator^(const TVector2<T>& V) const { return X * V.Y - Y * V.X; }

		FORCEINLINE TVector2<T>& operator+=(const TVector2<T>& V)
		{
			X += V.X;
			Y += V.Y;
			return *this;
		}
		FORCEINLINE TVector2<T>& operator-=(const TVector2<T>& V)
		{
			X -= V.X;
			Y -= V.Y;
			return *this;
		}
		FORCEINLINE TVector2<T>& operator*=(const TVector2<T>& V)
		{
			X *= V.X;
			Y *= V.Y;
			return *this;
		}
		FORCEINLINE TVector2<T>& operator/=(const TVector2<T>& V)
		{
			X /= V.X;
			Y /= V.Y;
			return *this;
		}
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FORCEINLINE TVector2<T>& operator*=(FArg Scale)
		{
			X *= (T)Scale;
			Y *= (T)Scale;
			return *this;
		}
		template <typename FArg, std::enable_if_t<std::is_arithmetic_v<FArg>>* = nullptr>
		FORCEINLINE TVector2<T>& operator/=(FArg V)
		{
			const T RV = (T)1 / (T)V;
			X *= RV;
			Y *= RV;
			return *this;
		}

		FORCEINLINE bool operator==(const TVector2<T>& V) const { return X == V.X && Y == V.Y; }
		FORCEINLINE bool operator!=(const TVector2<T>& V) const { return X != V.X || Y != V.Y; }
		FORCEINLINE bool operator<(const TVector2<T>& Other) const { return X < Other.X && Y < Other.Y; }
		FORCEINLINE bool operator>(const TVector2<T>& Other) const { return X > Other.X && Y > Other.Y; }
		FORCEINLINE bool operator<=(const TVector2<T>& Other) const { return X <= Other.X && Y <= Other.Y; }
		FORCEINLINE bool operator>=(const TVector2<T>& Other) const { return X >= Other.X && Y >= Other.Y; }

		FORCEINLINE T& operator[](int32 Index) { return Index == 0 ? X : Y; }
		FORCEINLINE T operator[](int32 Index) const { return Index == 0 ? X : Y; }
		FORCEINLINE T& Component(int32 Index) { return (*this)[Index]; }
		FORCEINLINE T Component(int32 Index) const { return (*this)[Index]; }

		FORCEINLINE static T DotProduct(const TVector2<T>& A, const TVector2<T>& B) { return A | B; }
		FORCEINLINE static T CrossProduct(const TVector2<T>& A, const TVector2<T>& B) { return A ^ B; }
		FORCEINLINE static T DistSquared(const TVector2<T>& V1, const TVector2<T>& V2) { return FMath::Square(V2.X - V1.X) + FMath::Square(V2.Y - V1.Y); }
		FORCEINLINE static T Distance(const TVector2<T>& V1, const TVector2<T>& V2) { return FMath::Sqrt(DistSquared(V1, V2)); }
		FORCEINLINE static TVector2<T> Max(const TVector2<T>& A, const TVector2<T>& B) { return TVector2<T>(FMath::Max(A.X, B.X), FMath::Max(A.Y, B.Y)); }
		FORCEINLINE static TVector2<T> Min(const TVector2<T>& A, const TVector2<T>& B) { return TVector2<T>(FMath::Min(A.X, B.X), FMath::Min(A.Y, B.Y)); }
		FORCEINLINE static TVector2<T> Clamp(const TVector2<T>& V, const TVector2<T>& MinValue, const TVector2<T>& MaxValue) { return TVector2<T>(FMath::Clamp(V.X, MinValue.X, MaxValue.X), FMath::Clamp(V.Y, MinValue.Y, MaxValue.Y)); }

		FORCEINLINE bool Equals(const TVector2<T>& V, T Tolerance = UE_KINDA_SMALL_NUMBER) const { return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance; }
		FORCEINLINE void Set(T InX, T InY)
		{
			X = InX;
			Y = InY;
		}
		FORCEINLINE T GetMax() const { return FMath::Max(X, Y); }
		FORCEINLINE T GetAbsMax() const { return FMath::Max(FMath::Abs(X), FMath::Abs(Y)); }
		FORCEINLINE T GetMin() const { return FMath::Min(X, Y); }
		FORCEINLINE T Size() const { return FMath::Sqrt(X * X + Y * Y); }
		FORCEINLINE T Length() const { return Size(); }
		FORCEINLINE T SizeSquared() const { return X * X + Y * Y; }
		FORCEINLINE T SquaredLength() const { return SizeSquared(); }
		FORCEINLINE T Dot(const TVector2<T>& V2) const { return X * V2.X + Y * V2.Y; }
		FORCEINLINE TVector2<T> GetRotated(T AngleDeg) const
		{
			T S, C;
			FMath::SinCos(&S, &C, FMath::DegreesToRadians(AngleDeg));
			return TVector2<T>(C * X - S * Y, S * X + C * Y);
		}
		FORCEINLINE TVector2<T> GetSafeNormal(T Tolerance = UE_SMALL_NUMBER) const
		{
			const T SquareSum = X * X + Y * Y;
			if (SquareSum > Tolerance)
			{
				const T Scale = FMath::InvSqrt(SquareSum);
				return TVector2<T>(X * Scale, Y * Scale);
			}
			return TVector2<T>((T)0, (T)0);
		}
		FORCEINLINE void Normalize(T Tolerance = UE_SMALL_NUMBER)
		{
			*this = GetSafeNormal(Tolerance);
		}
		FORCEINLINE bool IsNearlyZero(T Tolerance = UE_KINDA_SMALL_NUMBER) const { return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance; }
		FORCEINLINE bool IsZero() const { return X == 0 && Y == 0; }
		FORCEINLINE TIntPoint<int32> IntPoint() const;
		FORCEINLINE TVector2<T> RoundToVector() const { return TVector2<T>(FMath::RoundToFloat(X), FMath::RoundToFloat(Y)); }
		FORCEINLINE TVector2<T> ClampAxes(T MinAxisVal, T MaxAxisVal) const { return TVector2<T>(FMath::Clamp(X, MinAxisVal, MaxAxisVal), FMath::Clamp(Y, MinAxisVal, MaxAxisVal)); }
		FORCEINLINE TVector2<T> GetSignVector() const { return TVector2<T>(X >= 0 ? (T)1 : (T)-1, Y >= 0 ? (T)1 : (T)-1); }
		FORCEINLINE TVector2<T> GetAbs() const { return TVector2<T>(FMath::Abs(X), FMath::Abs(Y)); }
		FORCEINLINE bool ContainsNaN() const { return !FMath::IsFinite(X) || !FMath::IsFinite(Y); }

		FString ToString() const { return FString::Printf(TEXT("X=%3.3f Y=%3.3f"), (double)X, (double)Y); }
		bool InitFromString(const FString& InSourceString)
		{
			X = Y = 0;
			const int32 XPos = InSourceString.Find(TEXT("X="));
			const int32 YPos = InSourceString.Find(TEXT("Y="));
			if (XPos == INDEX_NONE || YPos == INDEX_NONE)
			{
				return false;
			}
			X = (T)FCString::Atod(*InSourceString + XPos + 2);
			Y = (T)FCString::Atod(*InSourceString + YPos + 2);
			return true;
		}

		friend FORCEINLINE uint32 GetTypeHash(const TVector2<T>& Vector)
		{
			return HashCombineFast(GetTypeHash(Vector.X), GetTypeHash(Vector.Y));
		}
	};

	template <typename T> inline const TVector2<T> TVector2<T>::ZeroVector(0, 0);
	template <typename T> inline const TVector2<T> TVector2<T>::UnitVector(1, 1);
	template <typename T> inline const TVector2<T> TVector2<T>::Unit45Deg(UE_INV_SQRT_2_VALUE, UE_INV_SQRT_2_VALUE);

	template <typename T, typename T2, std::enable_if_t<std::is_arithmetic_v<T2>>* = nullptr>
	FORCEINLINE TVector2<T> operator*(T2 Scale, const TVector2<T>& V)
	{
		return V.operator*(Scale);
	}
} // namespace UE::Math

template <> struct TIsPODType<FVector2D> { enum { Value = true }; };
template <> struct TIsPODType<FVector2f> { enum { Value = true }; };

#include "Math/IntPoint.h"

template <typename T>
template <typename IntType>
FORCEINLINE UE::Math::TVector2<T>::TVector2(TIntPoint<IntType> InPos) : X((T)InPos.X), Y((T)InPos.Y)
{
}

template <typename T>
FORCEINLINE UE::Math::TIntPoint<int32> UE::Math::TVector2<T>::IntPoint() const
{
	return TIntPoint<int32>(FMath::RoundToInt32(X), FMath::RoundToInt32(Y));
}
