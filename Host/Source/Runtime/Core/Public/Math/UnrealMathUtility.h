// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <cmath>
#include <cstdlib>
#include <type_traits>

#define UE_PI (3.1415926535897932f)
#define UE_SMALL_NUMBER (1.e-8f)
#define UE_KINDA_SMALL_NUMBER (1.e-4f)
#define UE_BIG_NUMBER (3.4e+38f)
#define UE_EULERS_NUMBER (2.71828182845904523536f)
#define UE_GOLDEN_RATIO (1.6180339f)
#define UE_FLOAT_NON_FRACTIONAL (8388608.f)
#define UE_DOUBLE_PI (3.141592653589793238462643383279502884197169399)
#define UE_DOUBLE_SMALL_NUMBER (1.e-8)
#define UE_DOUBLE_KINDA_SMALL_NUMBER (1.e-4)
#define UE_DOUBLE_BIG_NUMBER (3.4e+38)
#define UE_DOUBLE_EULERS_NUMBER (2.7182818284590452353602874713526624977572)
#define UE_DOUBLE_NON_FRACTIONAL (4503599627370496.0)
#define UE_INV_PI (0.31830988618f)
#define UE_HALF_PI (1.57079632679f)
#define UE_TWO_PI (6.28318530717f)
#define UE_PI_SQUARED (9.86960440108f)
#define UE_DOUBLE_INV_PI (0.31830988618379067154)
#define UE_DOUBLE_HALF_PI (1.57079632679489661923)
#define UE_DOUBLE_TWO_PI (6.28318530717958647692)
#define UE_SQRT_2 (1.4142135623730950488016887242097f)
#define UE_INV_SQRT_2 (0.70710678118654752440084436210485f)
#define UE_INV_SQRT_2_VALUE 0.70710678118654752440084436210485
#define UE_DELTA (0.00001f)
#define UE_DOUBLE_DELTA (0.00001)
#define UE_FLOAT_NORMAL_THRESH (0.0001f)
#define UE_DOUBLE_NORMAL_THRESH (0.0001)
#define UE_THRESH_VECTOR_NORMALIZED (0.01f)
#define UE_THRESH_POINTS_ARE_SAME (0.00002f)

struct FMath
{
	template <typename T>
	static constexpr FORCEINLINE T Max(const T A, const T B) { return (B < A) ? A : B; }
	template <typename T>
	static constexpr FORCEINLINE T Min(const T A, const T B) { return (A < B) ? A : B; }
	template <typename T, typename U, std::enable_if_t<!std::is_same_v<T, U> && std::is_arithmetic_v<T> && std::is_arithmetic_v<U>>* = nullptr>
	static constexpr FORCEINLINE auto Max(const T A, const U B) { using R = decltype(A + B); return Max<R>((R)A, (R)B); }
	template <typename T, typename U, std::enable_if_t<!std::is_same_v<T, U> && std::is_arithmetic_v<T> && std::is_arithmetic_v<U>>* = nullptr>
	static constexpr FORCEINLINE auto Min(const T A, const U B) { using R = decltype(A + B); return Min<R>((R)A, (R)B); }
	template <typename T>
	static constexpr FORCEINLINE T Max3(const T A, const T B, const T C) { return Max(Max(A, B), C); }
	template <typename T>
	static constexpr FORCEINLINE T Min3(const T A, const T B, const T C) { return Min(Min(A, B), C); }
	template <typename T>
	static constexpr FORCEINLINE T Clamp(const T X, const T MinValue, const T MaxValue) { return (X < MinValue) ? MinValue : (X < MaxValue) ? X : MaxValue; }
	template <typename T, typename U, typename V, std::enable_if_t<!(std::is_same_v<T, U> && std::is_same_v<T, V>)>* = nullptr>
	static constexpr FORCEINLINE T Clamp(const T X, const U MinValue, const V MaxValue) { return Clamp<T>(X, (T)MinValue, (T)MaxValue); }
	template <typename T>
	static constexpr FORCEINLINE T Abs(const T A) { return (A < (T)0) ? -A : A; }
	template <typename T>
	static constexpr FORCEINLINE T Sign(const T A) { return (A > (T)0) ? (T)1 : ((A < (T)0) ? (T)-1 : (T)0); }
	template <typename T>
	static constexpr FORCEINLINE T Square(const T A) { return A * A; }
	template <typename T>
	static constexpr FORCEINLINE T Cube(const T A) { return A * A * A; }
	template <typename T>
	static constexpr FORCEINLINE T Wrap(const T X, const T Min, const T Max)
	{
		const T Size = Max - Min;
		if (Size == 0)
		{
			return Max;
		}
		T EndVal = X;
		while (EndVal < Min)
		{
			EndVal += Size;
		}
		while (EndVal > Max)
		{
			EndVal -= Size;
		}
		return EndVal;
	}

	static FORCEINLINE int32 TruncToInt32(float F) { return (int32)F; }
	static FORCEINLINE int32 TruncToInt32(double F) { return (int32)F; }
	static FORCEINLINE int64 TruncToInt64(double F) { return (int64)F; }
	static FORCEINLINE int32 TruncToInt(float F) { return TruncToInt32(F); }
	static FORCEINLINE int64 TruncToInt(double F) { return TruncToInt64(F); }
	static FORCEINLINE float TruncToFloat(float F) { return std::trunc(F); }
	static FORCEINLINE double TruncToDouble(double F) { return std::trunc(F); }
	static FORCEINLINE double TruncToFloat(double F) { return std::trunc(F); }

	static FORCEINLINE int32 FloorToInt32(float F) { return (int32)std::floor(F); }
	static FORCEINLINE int32 FloorToInt32(double F) { return (int32)std::floor(F); }
	static FORCEINLINE int64 FloorToInt64(double F) { return (int64)std::floor(F); }
	static FORCEINLINE int32 FloorToInt(float F) { return FloorToInt32(F); }
	static FORCEINLINE int64 FloorToInt(double F) { return FloorToInt64(F); }
	static FORCEINLINE float FloorToFloat(float F) { return std::floor(F); }
	static FORCEINLINE double FloorToDouble(double F) { return std::floor(F); }
	static FORCEINLINE double FloorToFloat(double F) { return std::floor(F); }

	static FORCEINLINE int32 RoundToInt32(float F) { return FloorToInt32(F + 0.5f); }
	static FORCEINLINE int32 RoundToInt32(double F) { return FloorToInt32(F + 0.5); }
	static FORCEINLINE int64 RoundToInt64(double F) { return FloorToInt64(F + 0.5); }
	static FORCEINLINE int32 RoundToInt(float F) { return RoundToInt32(F); }
	static FORCEINLINE int64 RoundToInt(double F) { return RoundToInt64(F); }
	static FORCEINLINE float RoundToFloat(float F) { return FloorToFloat(F + 0.5f); }
	static FORCEINLINE double RoundToDouble(double F) { return FloorToDouble(F + 0.5); }
	static FORCEINLINE double RoundToFloat(double F) { return FloorToDouble(F + 0.5); }

	static FORCEINLINE int32 CeilToInt32(float F) { return (int32)std::ceil(F); }
	static FORCEINLINE int32 CeilToInt32(double F) { return (int32)std::ceil(F); }
	static FORCEINLINE int64 CeilToInt64(double F) { return (int64)std::ceil(F); }
	static FORCEINLINE int32 CeilToInt(float F) { return CeilToInt32(F); }
	static FORCEINLINE int64 CeilToInt(double F) { return CeilToInt64(F); }
	static FORCEINLINE float CeilToFloat(float F) { return std::ceil(F); }
	static FORCEINLINE double CeilToDouble(double F) { return std::ceil(F); }
	static FORCEINLINE double CeilToFloat(double F) { return std::ceil(F); }

	// Rounds .5 away from zero (2.5 -> 3, -2.5 -> -3).
	static FORCEINLINE float RoundHalfFromZero(float F)
	{
		float Integer;
		const float Fraction = std::modf(F, &Integer);
		return (F < 0.0f) ? (Fraction > -0.5f ? Integer : Integer - 1.0f) : (Fraction < 0.5f ? Integer : Integer + 1.0f);
	}
	static FORCEINLINE double RoundHalfFromZero(double F)
	{
		double Integer;
		const double Fraction = std::modf(F, &Integer);
		return (F < 0.0) ? (Fraction > -0.5 ? Integer : Integer - 1.0) : (Fraction < 0.5 ? Integer : Integer + 1.0);
	}
	static FORCEINLINE float RoundHalfToZero(float F)
	{
		float Integer;
		const float Fraction = std::modf(F, &Integer);
		return (F < 0.0f) ? (Fraction < -0.5f ? Integer - 1.0f : Integer) : (Fraction > 0.5f ? Integer + 1.0f : Integer);
	}
	static FORCEINLINE double RoundHalfToZero(double F)
	{
		double Integer;
		const double Fraction = std::modf(F, &Integer);
		return (F < 0.0) ? (Fraction < -0.5 ? Integer - 1.0 : Integer) : (Fraction > 0.5 ? Integer + 1.0 : Integer);
	}
	static FORCEINLINE float RoundToNearestTiesToEven(float F) { return std::nearbyint(F); }
	static FORCEINLINE double RoundToNearestTiesToEven(double F) { return std::nearbyint(F); }
	static FORCEINLINE float RoundFromZero(float F) { return (F < 0.0f) ? FloorToFloat(F) : CeilToFloat(F); }
	static FORCEINLINE double RoundFromZero(double F) { return (F < 0.0) ? FloorToDouble(F) : CeilToDouble(F); }
	static FORCEINLINE float RoundToZero(float F) { return (F < 0.0f) ? CeilToFloat(F) : FloorToFloat(F); }
	static FORCEINLINE double RoundToZero(double F) { return (F < 0.0) ? CeilToDouble(F) : FloorToDouble(F); }

	static FORCEINLINE float Fractional(float Value) { return Value - TruncToFloat(Value); }
	static FORCEINLINE double Fractional(double Value) { return Value - TruncToDouble(Value); }
	static FORCEINLINE float Frac(float Value) { return Value - FloorToFloat(Value); }
	static FORCEINLINE double Frac(double Value) { return Value - FloorToDouble(Value); }
	static FORCEINLINE float Modf(const float InValue, float* OutIntPart) { return std::modf(InValue, OutIntPart); }
	static FORCEINLINE double Modf(const double InValue, double* OutIntPart) { return std::modf(InValue, OutIntPart); }
	static FORCEINLINE float Fmod(float X, float Y) { return Y == 0.0f ? 0.0f : std::fmod(X, Y); }
	static FORCEINLINE double Fmod(double X, double Y) { return Y == 0.0 ? 0.0 : std::fmod(X, Y); }

	static FORCEINLINE float Sqrt(float Value) { return std::sqrt(Value); }
	static FORCEINLINE double Sqrt(double Value) { return std::sqrt(Value); }
	static FORCEINLINE float InvSqrt(float F) { return 1.0f / std::sqrt(F); }
	static FORCEINLINE double InvSqrt(double F) { return 1.0 / std::sqrt(F); }
	static FORCEINLINE float Pow(float A, float B) { return std::pow(A, B); }
	static FORCEINLINE double Pow(double A, double B) { return std::pow(A, B); }
	static FORCEINLINE float Exp(float Value) { return std::exp(Value); }
	static FORCEINLINE double Exp(double Value) { return std::exp(Value); }
	static FORCEINLINE float Exp2(float Value) { return std::exp2(Value); }
	static FORCEINLINE float Loge(float Value) { return std::log(Value); }
	static FORCEINLINE double Loge(double Value) { return std::log(Value); }
	static FORCEINLINE float LogX(float Base, float Value) { return Loge(Value) / Loge(Base); }
	static FORCEINLINE double LogX(double Base, double Value) { return Loge(Value) / Loge(Base); }
	static FORCEINLINE float Log2(float Value) { return std::log2(Value); }
	static FORCEINLINE double Log2(double Value) { return std::log2(Value); }
	static FORCEINLINE float Sin(float Value) { return std::sin(Value); }
	static FORCEINLINE double Sin(double Value) { return std::sin(Value); }
	static FORCEINLINE float Cos(float Value) { return std::cos(Value); }
	static FORCEINLINE double Cos(double Value) { return std::cos(Value); }
	static FORCEINLINE float Tan(float Value) { return std::tan(Value); }
	static FORCEINLINE double Tan(double Value) { return std::tan(Value); }
	static FORCEINLINE float Asin(float Value) { return std::asin(Clamp(Value, -1.0f, 1.0f)); }
	static FORCEINLINE double Asin(double Value) { return std::asin(Clamp(Value, -1.0, 1.0)); }
	static FORCEINLINE float Acos(float Value) { return std::acos(Clamp(Value, -1.0f, 1.0f)); }
	static FORCEINLINE double Acos(double Value) { return std::acos(Clamp(Value, -1.0, 1.0)); }
	static FORCEINLINE float Atan(float Value) { return std::atan(Value); }
	static FORCEINLINE double Atan(double Value) { return std::atan(Value); }
	static FORCEINLINE float Atan2(float Y, float X) { return std::atan2(Y, X); }
	static FORCEINLINE double Atan2(double Y, double X) { return std::atan2(Y, X); }
	template <typename T>
	static FORCEINLINE void SinCos(T* ScalarSin, T* ScalarCos, T Value)
	{
		*ScalarSin = std::sin(Value);
		*ScalarCos = std::cos(Value);
	}

	static FORCEINLINE bool IsNaN(float A) { return std::isnan(A); }
	static FORCEINLINE bool IsNaN(double A) { return std::isnan(A); }
	static FORCEINLINE bool IsFinite(float A) { return std::isfinite(A); }
	static FORCEINLINE bool IsFinite(double A) { return std::isfinite(A); }
	static FORCEINLINE bool IsNegativeOrNegativeZero(float A) { return std::signbit(A); }
	static FORCEINLINE bool IsNegativeOrNegativeZero(double A) { return std::signbit(A); }

	static FORCEINLINE bool IsNearlyEqual(float A, float B, float ErrorTolerance = UE_SMALL_NUMBER) { return Abs<float>(A - B) <= ErrorTolerance; }
	static FORCEINLINE bool IsNearlyEqual(double A, double B, double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER) { return Abs<double>(A - B) <= ErrorTolerance; }
	static FORCEINLINE bool IsNearlyZero(float Value, float ErrorTolerance = UE_SMALL_NUMBER) { return Abs<float>(Value) <= ErrorTolerance; }
	static FORCEINLINE bool IsNearlyZero(double Value, double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER) { return Abs<double>(Value) <= ErrorTolerance; }

	template <typename T, typename U>
	static constexpr FORCEINLINE T Lerp(const T& A, const T& B, const U& Alpha) { return (T)(A + Alpha * (B - A)); }
	template <typename T>
	static FORCEINLINE T GetRangePct(T MinValue, T MaxValue, T Value)
	{
		const T Divisor = MaxValue - MinValue;
		if (FMath::IsNearlyZero(Divisor))
		{
			return (Value >= MaxValue) ? (T)1 : (T)0;
		}
		return (Value - MinValue) / Divisor;
	}
	static FORCEINLINE float FInterpTo(float Current, float Target, float DeltaTime, float InterpSpeed)
	{
		if (InterpSpeed <= 0.f)
		{
			return Target;
		}
		const float Dist = Target - Current;
		if (Square(Dist) < UE_SMALL_NUMBER)
		{
			return Target;
		}
		const float DeltaMove = Dist * Clamp<float>(DeltaTime * InterpSpeed, 0.f, 1.f);
		return Current + DeltaMove;
	}

	template <typename T>
	static constexpr FORCEINLINE T DegreesToRadians(T const& DegVal) { return DegVal * (T)(UE_DOUBLE_PI / 180.0); }
	template <typename T>
	static constexpr FORCEINLINE T RadiansToDegrees(T const& RadVal) { return RadVal * (T)(180.0 / UE_DOUBLE_PI); }

	template <typename T>
	static constexpr FORCEINLINE bool IsPowerOfTwo(T Value) { return ((Value & (Value - 1)) == (T)0); }
	static FORCEINLINE uint32 RoundUpToPowerOfTwo(uint32 Arg) { return Arg <= 1 ? 1 : 1u << (32 - __builtin_clz(Arg - 1)); }
	static FORCEINLINE uint64 RoundUpToPowerOfTwo64(uint64 V) { return V <= 1 ? 1 : (uint64)1 << (64 - __builtin_clzll(V - 1)); }
	static FORCEINLINE uint32 FloorLog2(uint32 Value) { return Value == 0 ? 0 : 31 - __builtin_clz(Value); }
	static FORCEINLINE uint32 CeilLogTwo(uint32 Arg) { return Arg <= 1 ? 0 : 32 - __builtin_clz(Arg - 1); }
	static FORCEINLINE uint32 CountLeadingZeros(uint32 Value) { return Value == 0 ? 32 : __builtin_clz(Value); }
	static FORCEINLINE uint32 CountTrailingZeros(uint32 Value) { return Value == 0 ? 32 : __builtin_ctz(Value); }
	template <typename T>
	static constexpr FORCEINLINE T DivideAndRoundUp(T Dividend, T Divisor) { return (Dividend + Divisor - 1) / Divisor; }
	template <typename T>
	static constexpr FORCEINLINE T DivideAndRoundDown(T Dividend, T Divisor) { return Dividend / Divisor; }

	// Random numbers from the C library's generator, seeded by RandInit.
	static FORCEINLINE int32 Rand() { return std::rand(); }
	static FORCEINLINE void RandInit(int32 Seed) { std::srand((unsigned)Seed); }
	static FORCEINLINE float FRand()
	{
		// Never 1.0: scaled by RAND_MAX and clamped just below one.
		const float Result = (float)Rand() / (float)RAND_MAX;
		return Result < 1.0f ? Result : 0.99999994f;
	}
	static FORCEINLINE void SRandInit(int32 Seed) { GetRandSeedRef() = Seed; }
	static FORCEINLINE int32 GetRandSeed() { return GetRandSeedRef(); }
	static FORCEINLINE float SRand()
	{
		int32& Seed = GetRandSeedRef();
		Seed = (Seed * 196314165) + 907633515;
		union
		{
			float F;
			int32 I;
		} Result;
		union
		{
			float F;
			int32 I;
		} Temp;
		const float SRandTemp = 1.0f;
		Temp.F = SRandTemp;
		Result.I = (Temp.I & 0xff800000) | (Seed & 0x007fffff);
		return Fractional(Result.F);
	}
	static FORCEINLINE int32 RandHelper(int32 A) { return A > 0 ? Min(TruncToInt(FRand() * (float)A), A - 1) : 0; }
	static FORCEINLINE int64 RandHelper64(int64 A) { return A > 0 ? Min<int64>(TruncToInt((double)FRand() * (double)A), A - 1) : 0; }
	static FORCEINLINE int32 RandRange(int32 Min, int32 Max)
	{
		const int32 Range = (Max - Min) + 1;
		return Min + RandHelper(Range);
	}
	static FORCEINLINE int64 RandRange(int64 Min, int64 Max)
	{
		const int64 Range = (Max - Min) + 1;
		return Min + RandHelper64(Range);
	}
	static FORCEINLINE float RandRange(float InMin, float InMax) { return FRandRange(InMin, InMax); }
	static FORCEINLINE double RandRange(double InMin, double InMax) { return FRandRange(InMin, InMax); }
	static FORCEINLINE float FRandRange(float InMin, float InMax) { return InMin + (InMax - InMin) * FRand(); }
	static FORCEINLINE double FRandRange(double InMin, double InMax) { return InMin + (InMax - InMin) * (double)FRand(); }
	static FORCEINLINE bool RandBool() { return (RandRange(0, 1) == 1); }

private:
	static int32& GetRandSeedRef()
	{
		static thread_local int32 Seed = 0;
		return Seed;
	}
};
