// Copyright Quarn. All Rights Reserved.

#include "Hash/CityHash.h"
#include <cstring>
#include <utility>

namespace
{
	using FUint128 = std::pair<uint64, uint64>;

	constexpr uint64 K0 = 0xc3a5c85c97cb3127ULL;
	constexpr uint64 K1 = 0xb492b66be98b2a39ULL;
	constexpr uint64 K2 = 0x9ae16a3b2f90404fULL;
	constexpr uint64 KMul = 0x9ddfea08eb382d69ULL;

	inline uint64 Fetch64(const char* P)
	{
		uint64 Result;
		std::memcpy(&Result, P, sizeof(Result));
		return Result;
	}

	inline uint32 Fetch32(const char* P)
	{
		uint32 Result;
		std::memcpy(&Result, P, sizeof(Result));
		return Result;
	}

	inline uint64 Rotate(uint64 Value, int Shift)
	{
		return Shift == 0 ? Value : ((Value >> Shift) | (Value << (64 - Shift)));
	}

	inline uint64 ShiftMix(uint64 Value)
	{
		return Value ^ (Value >> 47);
	}

	inline uint64 Hash128to64(uint64 Low, uint64 High)
	{
		uint64 A = (Low ^ High) * KMul;
		A ^= (A >> 47);
		uint64 B = (High ^ A) * KMul;
		B ^= (B >> 47);
		B *= KMul;
		return B;
	}

	inline uint64 HashLen16(uint64 U, uint64 V)
	{
		return Hash128to64(U, V);
	}

	inline uint64 HashLen16(uint64 U, uint64 V, uint64 Mul)
	{
		uint64 A = (U ^ V) * Mul;
		A ^= (A >> 47);
		uint64 B = (V ^ A) * Mul;
		B ^= (B >> 47);
		B *= Mul;
		return B;
	}

	uint64 HashLen0to16(const char* S, uint32 Len)
	{
		if (Len >= 8)
		{
			const uint64 Mul = K2 + Len * 2;
			const uint64 A = Fetch64(S) + K2;
			const uint64 B = Fetch64(S + Len - 8);
			const uint64 C = Rotate(B, 37) * Mul + A;
			const uint64 D = (Rotate(A, 25) + B) * Mul;
			return HashLen16(C, D, Mul);
		}
		if (Len >= 4)
		{
			const uint64 Mul = K2 + Len * 2;
			const uint64 A = Fetch32(S);
			return HashLen16(Len + (A << 3), Fetch32(S + Len - 4), Mul);
		}
		if (Len > 0)
		{
			const uint8 A = (uint8)S[0];
			const uint8 B = (uint8)S[Len >> 1];
			const uint8 C = (uint8)S[Len - 1];
			const uint32 Y = (uint32)A + ((uint32)B << 8);
			const uint32 Z = Len + ((uint32)C << 2);
			return ShiftMix(Y * K2 ^ Z * K0) * K2;
		}
		return K2;
	}

	uint64 HashLen17to32(const char* S, uint32 Len)
	{
		const uint64 Mul = K2 + Len * 2;
		const uint64 A = Fetch64(S) * K1;
		const uint64 B = Fetch64(S + 8);
		const uint64 C = Fetch64(S + Len - 8) * Mul;
		const uint64 D = Fetch64(S + Len - 16) * K2;
		return HashLen16(Rotate(A + B, 43) + Rotate(C, 30) + D, A + Rotate(B + K2, 18) + C, Mul);
	}

	FUint128 WeakHashLen32WithSeeds(uint64 W, uint64 X, uint64 Y, uint64 Z, uint64 A, uint64 B)
	{
		A += W;
		B = Rotate(B + A + Z, 21);
		const uint64 C = A;
		A += X;
		A += Y;
		B += Rotate(A, 44);
		return FUint128(A + Z, B + C);
	}

	FUint128 WeakHashLen32WithSeeds(const char* S, uint64 A, uint64 B)
	{
		return WeakHashLen32WithSeeds(Fetch64(S), Fetch64(S + 8), Fetch64(S + 16), Fetch64(S + 24), A, B);
	}

	uint64 HashLen33to64(const char* S, uint32 Len)
	{
		const uint64 Mul = K2 + Len * 2;
		uint64 A = Fetch64(S) * K2;
		uint64 B = Fetch64(S + 8);
		const uint64 C = Fetch64(S + Len - 24);
		const uint64 D = Fetch64(S + Len - 32);
		const uint64 E = Fetch64(S + 16) * K2;
		const uint64 F = Fetch64(S + 24) * 9;
		const uint64 G = Fetch64(S + Len - 8);
		const uint64 H = Fetch64(S + Len - 16) * Mul;
		const uint64 U = Rotate(A + G, 43) + (Rotate(B, 30) + C) * 9;
		const uint64 V = ((A + G) ^ D) + F + 1;
		const uint64 W = __builtin_bswap64((U + V) * Mul) + H;
		const uint64 X = Rotate(E + F, 42) + C;
		const uint64 Y = (__builtin_bswap64((V + W) * Mul) + G) * Mul;
		const uint64 Z = E + F + C;
		A = __builtin_bswap64((X + Z) * Mul + Y) + B;
		B = ShiftMix((Z + A) * Mul + D + H) * Mul;
		return B + X;
	}
} // namespace

uint64 CityHash128to64(uint64 Low, uint64 High)
{
	return Hash128to64(Low, High);
}

uint64 CityHash64(const char* S, uint32 Len)
{
	if (Len <= 32)
	{
		return Len <= 16 ? HashLen0to16(S, Len) : HashLen17to32(S, Len);
	}
	if (Len <= 64)
	{
		return HashLen33to64(S, Len);
	}

	uint64 X = Fetch64(S + Len - 40);
	uint64 Y = Fetch64(S + Len - 16) + Fetch64(S + Len - 56);
	uint64 Z = HashLen16(Fetch64(S + Len - 48) + Len, Fetch64(S + Len - 24));
	FUint128 V = WeakHashLen32WithSeeds(S + Len - 64, Len, Z);
	FUint128 W = WeakHashLen32WithSeeds(S + Len - 32, Y + K1, X);
	X = X * K1 + Fetch64(S);

	Len = (Len - 1) & ~63u;
	do
	{
		X = Rotate(X + Y + V.first + Fetch64(S + 8), 37) * K1;
		Y = Rotate(Y + V.second + Fetch64(S + 48), 42) * K1;
		X ^= W.second;
		Y += V.first + Fetch64(S + 40);
		Z = Rotate(Z + W.first, 33) * K1;
		V = WeakHashLen32WithSeeds(S, V.second * K1, X + W.first);
		W = WeakHashLen32WithSeeds(S + 32, Z + W.second, Y + Fetch64(S + 16));
		std::swap(Z, X);
		S += 64;
		Len -= 64;
	} while (Len != 0);
	return HashLen16(HashLen16(V.first, W.first) + ShiftMix(Y) * K1 + Z, HashLen16(V.second, W.second) + X);
}

uint64 CityHash64WithSeeds(const char* S, uint32 Len, uint64 Seed0, uint64 Seed1)
{
	return HashLen16(CityHash64(S, Len) - Seed0, Seed1);
}

uint64 CityHash64WithSeed(const char* S, uint32 Len, uint64 Seed)
{
	return CityHash64WithSeeds(S, Len, K2, Seed);
}
