// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <type_traits>

// Hash functions for the containers: scalars, pointers and enums; user types add a GetTypeHash
// overload found by argument-dependent lookup.

inline constexpr uint32 HashCombine(uint32 A, uint32 C)
{
	uint32 B = 0x9e3779b9;
	A += B;

	A -= B; A -= C; A ^= (C >> 13);
	B -= C; B -= A; B ^= (A << 8);
	C -= A; C -= B; C ^= (B >> 13);
	A -= B; A -= C; A ^= (C >> 12);
	B -= C; B -= A; B ^= (A << 16);
	C -= A; C -= B; C ^= (B >> 5);
	A -= B; A -= C; A ^= (C >> 3);
	B -= C; B -= A; B ^= (A << 10);
	C -= A; C -= B; C ^= (B >> 15);

	return C;
}

inline constexpr uint32 HashCombineFast(uint32 A, uint32 B)
{
	return A ^ (B + 0x9e3779b9 + (A << 6) + (A >> 2));
}

inline uint32 PointerHash(const void* Key)
{
	// Low bits of pointers are mostly alignment: drop them before mixing.
	const UPTRINT PtrInt = reinterpret_cast<UPTRINT>(Key) >> 4;
	uint32 Result = (uint32)PtrInt;
	Result = HashCombineFast(Result, (uint32)(PtrInt >> 32));
	return Result;
}

inline uint32 PointerHash(const void* Key, uint32 C)
{
	return HashCombine(PointerHash(Key), C);
}

template <typename ScalarType, std::enable_if_t<std::is_scalar_v<ScalarType>>* = nullptr>
inline uint32 GetTypeHash(ScalarType Value)
{
	if constexpr (std::is_integral_v<ScalarType>)
	{
		if constexpr (sizeof(ScalarType) <= 4)
		{
			return (uint32)Value;
		}
		else
		{
			return (uint32)Value + ((uint32)((uint64)Value >> 32) * 23);
		}
	}
	else if constexpr (std::is_floating_point_v<ScalarType>)
	{
		if constexpr (sizeof(ScalarType) == 4)
		{
			return __builtin_bit_cast(uint32, Value);
		}
		else
		{
			const uint64 Bits = __builtin_bit_cast(uint64, Value);
			return (uint32)Bits + ((uint32)(Bits >> 32) * 23);
		}
	}
	else if constexpr (std::is_enum_v<ScalarType>)
	{
		return GetTypeHash((std::underlying_type_t<ScalarType>)Value);
	}
	else if constexpr (std::is_pointer_v<ScalarType>)
	{
		return PointerHash((const void*)Value);
	}
	else if constexpr (std::is_null_pointer_v<ScalarType>)
	{
		return 0;
	}
	else
	{
		static_assert(sizeof(ScalarType) == 0, "Unsupported scalar type passed to GetTypeHash");
		return 0;
	}
}
