// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <type_traits>

// Character classification. Case conversion is ASCII only, as the engine's TChar does it, so
// string comparisons ignoring case fold only A-Z.
template <typename CharType>
struct TChar
{
	static constexpr FORCEINLINE uint32 ToUnsigned(CharType Char)
	{
		return (uint32)(std::make_unsigned_t<CharType>)Char;
	}

	static constexpr FORCEINLINE CharType ToUpper(CharType Char)
	{
		return (CharType)(ToUnsigned(Char) - ((uint32(ToUnsigned(Char)) - 'a' < 26u) << 5));
	}

	static constexpr FORCEINLINE CharType ToLower(CharType Char)
	{
		return (CharType)(ToUnsigned(Char) + ((uint32(ToUnsigned(Char)) - 'A' < 26u) << 5));
	}

	static constexpr FORCEINLINE bool IsUpper(CharType Char) { return ToUnsigned(Char) - 'A' < 26u; }
	static constexpr FORCEINLINE bool IsLower(CharType Char) { return ToUnsigned(Char) - 'a' < 26u; }
	static constexpr FORCEINLINE bool IsAlpha(CharType Char) { return IsUpper(Char) || IsLower(Char); }
	static constexpr FORCEINLINE bool IsDigit(CharType Char) { return ToUnsigned(Char) - '0' < 10u; }
	static constexpr FORCEINLINE bool IsAlnum(CharType Char) { return IsAlpha(Char) || IsDigit(Char); }
	static constexpr FORCEINLINE bool IsHexDigit(CharType Char) { return IsDigit(Char) || (ToUnsigned(Char) - 'a' < 6u) || (ToUnsigned(Char) - 'A' < 6u); }
	static constexpr FORCEINLINE bool IsOctDigit(CharType Char) { return ToUnsigned(Char) - '0' < 8u; }
	static constexpr FORCEINLINE bool IsPunct(CharType Char)
	{
		const uint32 C = ToUnsigned(Char);
		return (C >= 33 && C <= 47) || (C >= 58 && C <= 64) || (C >= 91 && C <= 96) || (C >= 123 && C <= 126);
	}
	static constexpr FORCEINLINE bool IsPrint(CharType Char) { return ToUnsigned(Char) >= 32 && ToUnsigned(Char) != 127; }
	static constexpr FORCEINLINE bool IsGraph(CharType Char) { return ToUnsigned(Char) > 32 && ToUnsigned(Char) != 127; }
	static constexpr FORCEINLINE bool IsUnderscore(CharType Char) { return Char == (CharType)'_'; }
	static constexpr FORCEINLINE bool IsIdentifier(CharType Char) { return IsAlnum(Char) || IsUnderscore(Char); }
	static constexpr FORCEINLINE bool IsLinebreak(CharType Char)
	{
		const uint32 C = ToUnsigned(Char);
		return (C >= 0x0a && C <= 0x0d) || C == 0x85 || C == 0x2028 || C == 0x2029;
	}

	static constexpr bool IsWhitespace(CharType Char)
	{
		const uint32 C = ToUnsigned(Char);
		if (C == ' ' || (C >= 0x09 && C <= 0x0d))
		{
			return true;
		}
		if constexpr (sizeof(CharType) == 1)
		{
			return false;
		}
		else
		{
			return C == 0x85 || C == 0xa0 || C == 0x1680 || (C >= 0x2000 && C <= 0x200a) || C == 0x2028 || C == 0x2029 || C == 0x202f || C == 0x205f || C == 0x3000;
		}
	}

	static constexpr FORCEINLINE int32 ConvertCharDigitToInt(CharType Char) { return (int32)ToUnsigned(Char) - '0'; }
};

typedef TChar<TCHAR> FChar;
typedef TChar<WIDECHAR> FCharWide;
typedef TChar<ANSICHAR> FCharAnsi;
