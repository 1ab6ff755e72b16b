// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

#include <cmath>
#include <limits>

// Number conversions the Json module needs, written so that no input (NaN, infinities, values
// beyond the target's range) is undefined behaviour: such inputs give what the engine's x86
// builds give, the "integer indefinite" value (the type's minimum).
namespace UE::Json::Private
{
	// Rounds to the nearest whole number, halves away from zero, exactly (no "+ 0.5" error).
	inline double RoundHalfFromZero(double Value)
	{
		double IntegralPart;
		const double FractionalPart = std::modf(Value, &IntegralPart);
		if (Value < 0.0)
		{
			return FractionalPart > -0.5 ? IntegralPart : IntegralPart - 1.0;
		}
		return FractionalPart < 0.5 ? IntegralPart : IntegralPart + 1.0;
	}

	template <typename IntType>
	inline IntType TruncateToInteger(double Value)
	{
		// The largest power of two the type holds, as a double, bounds the valid range.
		constexpr double Limit = (double)((uint64)1 << (sizeof(IntType) * 8 - 1));
		if (!(Value >= -Limit && Value < Limit))
		{
			return std::numeric_limits<IntType>::min();
		}
		return static_cast<IntType>(Value);
	}

	// (int32)Value as the engine writes it for GetIntegerField: truncation toward zero.
	inline int32 TruncToInt32(double Value)
	{
		return TruncateToInteger<int32>(Value);
	}

	// FMath::RoundToInt64: floor(Value + 0.5).
	inline int64 RoundToInt64(double Value)
	{
		return TruncateToInteger<int64>(std::floor(Value + 0.5));
	}

	inline float DoubleToFloat(double Value)
	{
		if (Value > (double)std::numeric_limits<float>::max())
		{
			return std::numeric_limits<float>::infinity();
		}
		if (Value < -(double)std::numeric_limits<float>::max())
		{
			return -std::numeric_limits<float>::infinity();
		}
		return static_cast<float>(Value);
	}
} // namespace UE::Json::Private
