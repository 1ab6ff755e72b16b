// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Misc/AssertionMacros.h"
#include "Hash/CityHash.h"

enum class EGuidFormats
{
	// "00000000000000000000000000000000"
	Digits,
	// "00000000000000000000000000000000" in lower case
	DigitsLower,
	// "00000000-0000-0000-0000-000000000000"
	DigitsWithHyphens,
	// "00000000-0000-0000-0000-000000000000" in lower case
	DigitsWithHyphensLower,
	// "{00000000-0000-0000-0000-000000000000}"
	DigitsWithHyphensInBraces,
	// "(00000000-0000-0000-0000-000000000000)"
	DigitsWithHyphensInParentheses,
	// "{0x00000000,0x0000,0x0000,{0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00}}"
	HexValuesInBraces,
	// "00000000-00000000-00000000-00000000"
	UniqueObjectGuid,
	// 22 characters of URL-safe base64 without padding
	Short,
	// 25 characters of base 36
	Base36Encoded,
};

struct CORE_API FGuid
{
	uint32 A;
	uint32 B;
	uint32 C;
	uint32 D;

	constexpr FGuid() : A(0), B(0), C(0), D(0) {}
	constexpr FGuid(uint32 InA, uint32 InB, uint32 InC, uint32 InD) : A(InA), B(InB), C(InC), D(InD) {}
	// Invalid (all zero) if the text is not a GUID.
	explicit FGuid(const FString& InGuidStr);

	friend bool operator==(const FGuid& X, const FGuid& Y) { return ((X.A ^ Y.A) | (X.B ^ Y.B) | (X.C ^ Y.C) | (X.D ^ Y.D)) == 0; }
	friend bool operator!=(const FGuid& X, const FGuid& Y) { return !(X == Y); }
	friend bool operator<(const FGuid& X, const FGuid& Y)
	{
		return ((X.A < Y.A) ? true : ((X.A > Y.A) ? false : ((X.B < Y.B) ? true : ((X.B > Y.B) ? false : ((X.C < Y.C) ? true : ((X.C > Y.C) ? false : ((X.D < Y.D) ? true : false)))))));
	}

	uint32& operator[](int32 Index)
	{
		checkSlow(Index >= 0 && Index < 4);
		switch (Index)
		{
			case 0: return A;
			case 1: return B;
			case 2: return C;
			default: return D;
		}
	}
	const uint32& operator[](int32 Index) const { return const_cast<FGuid*>(this)->operator[](Index); }

	void Invalidate() { A = B = C = D = 0; }
	bool IsValid() const { return ((A | B | C | D) != 0); }

	FString ToString(EGuidFormats Format = EGuidFormats::Digits) const;
	void AppendString(FString& Out, EGuidFormats Format = EGuidFormats::DigitsWithHyphensLower) const { Out += ToString(Format); }

	static FGuid NewGuid();
	static FGuid NewDeterministicGuid(FStringView ObjectPath, uint64 Seed = 0);
	static bool Parse(const FString& GuidString, FGuid& OutGuid);
	static bool ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid);

	friend uint32 GetTypeHash(const FGuid& Guid)
	{
		return (uint32)CityHash64((const char*)&Guid, sizeof(FGuid));
	}
};

inline FString LexToString(const FGuid& Value) { return Value.ToString(); }
inline void LexFromString(FGuid& Result, const TCHAR* String) { FGuid::Parse(String, Result); }

template <> struct TIsPODType<FGuid> { enum { Value = true }; };
