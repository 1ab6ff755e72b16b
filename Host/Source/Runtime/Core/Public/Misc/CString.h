// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/Char.h"
#include "Misc/AssertionMacros.h"

namespace ESearchCase
{
	enum Type
	{
		CaseSensitive,
		IgnoreCase,
	};
}

namespace ESearchDir
{
	enum Type
	{
		FromStart,
		FromEnd,
	};
}

// C-string functions over any character type. Case folding is ASCII only, as TChar's.
template <typename T>
struct TCString
{
	typedef T CharType;

	static int32 Strlen(const CharType* String)
	{
		if (!String)
		{
			return 0;
		}
		const CharType* End = String;
		while (*End)
		{
			++End;
		}
		return (int32)(End - String);
	}

	static int32 Strnlen(const CharType* String, SIZE_T StringSize)
	{
		SIZE_T Length = 0;
		while (Length < StringSize && String[Length])
		{
			++Length;
		}
		return (int32)Length;
	}

	static int32 Strcmp(const CharType* String1, const CharType* String2)
	{
		for (;; ++String1, ++String2)
		{
			const uint32 A = TChar<CharType>::ToUnsigned(*String1);
			const uint32 B = TChar<CharType>::ToUnsigned(*String2);
			if (A != B)
			{
				return A < B ? -1 : 1;
			}
			if (!A)
			{
				return 0;
			}
		}
	}

	static int32 Strncmp(const CharType* String1, const CharType* String2, SIZE_T Count)
	{
		for (; Count > 0; --Count, ++String1, ++String2)
		{
			const uint32 A = TChar<CharType>::ToUnsigned(*String1);
			const uint32 B = TChar<CharType>::ToUnsigned(*String2);
			if (A != B)
			{
				return A < B ? -1 : 1;
			}
			if (!A)
			{
				return 0;
			}
		}
		return 0;
	}

	static int32 Stricmp(const CharType* String1, const CharType* String2)
	{
		for (;; ++String1, ++String2)
		{
			const uint32 A = TChar<CharType>::ToUnsigned(TChar<CharType>::ToLower(*String1));
			const uint32 B = TChar<CharType>::ToUnsigned(TChar<CharType>::ToLower(*String2));
			if (A != B)
			{
				return A < B ? -1 : 1;
			}
			if (!A)
			{
				return 0;
			}
		}
	}

	static int32 Strnicmp(const CharType* String1, const CharType* String2, SIZE_T Count)
	{
		for (; Count > 0; --Count, ++String1, ++String2)
		{
			const uint32 A = TChar<CharType>::ToUnsigned(TChar<CharType>::ToLower(*String1));
			const uint32 B = TChar<CharType>::ToUnsigned(TChar<CharType>::ToLower(*String2));
			if (A != B)
			{
				return A < B ? -1 : 1;
			}
			if (!A)
			{
				return 0;
			}
		}
		return 0;
	}

	static CharType* Strcpy(CharType* Dest, SIZE_T DestCount, const CharType* Src)
	{
		SIZE_T Index = 0;
		for (; DestCount > 0 && Index + 1 < DestCount && Src[Index]; ++Index)
		{
			Dest[Index] = Src[Index];
		}
		if (DestCount > 0)
		{
			Dest[Index] = 0;
		}
		return Dest;
	}

	static CharType* Strncpy(CharType* Dest, const CharType* Src, int32 MaxLen)
	{
		check(MaxLen > 0);
		int32 Index = 0;
		for (; Index < MaxLen - 1 && Src[Index]; ++Index)
		{
			Dest[Index] = Src[Index];
		}
		Dest[Index] = 0;
		return Dest;
	}

	static const CharType* Strchr(const CharType* String, CharType Char)
	{
		for (; *String; ++String)
		{
			if (*String == Char)
			{
				return String;
			}
		}
		return Char == 0 ? String : nullptr;
	}

	static const CharType* Strrchr(const CharType* String, CharType Char)
	{
		const CharType* Last = nullptr;
		for (; *String; ++String)
		{
			if (*String == Char)
			{
				Last = String;
			}
		}
		return Char == 0 ? String : Last;
	}

	static const CharType* Strstr(const CharType* String, const CharType* Find)
	{
		if (!*Find)
		{
			return String;
		}
		const int32 FindLen = Strlen(Find);
		for (; *String; ++String)
		{
			if (*String == *Find && Strncmp(String, Find, FindLen) == 0)
			{
				return String;
			}
		}
		return nullptr;
	}

	static const CharType* Stristr(const CharType* String, const CharType* Find)
	{
		if (!Find || !String)
		{
			return nullptr;
		}
		if (!*Find)
		{
			return String;
		}
		const int32 FindLen = Strlen(Find);
		const CharType FirstLower = TChar<CharType>::ToLower(*Find);
		for (; *String; ++String)
		{
			if (TChar<CharType>::ToLower(*String) == FirstLower && Strnicmp(String, Find, FindLen) == 0)
			{
				return String;
			}
		}
		return nullptr;
	}

	static CharType* Strstr(CharType* String, const CharType* Find) { return const_cast<CharType*>(Strstr((const CharType*)String, Find)); }
	static CharType* Stristr(CharType* String, const CharType* Find) { return const_cast<CharType*>(Stristr((const CharType*)String, Find)); }
	static CharType* Strchr(CharType* String, CharType Char) { return const_cast<CharType*>(Strchr((const CharType*)String, Char)); }
	static CharType* Strrchr(CharType* String, CharType Char) { return const_cast<CharType*>(Strrchr((const CharType*)String, Char)); }

	static CharType* Strupr(CharType* Dest, SIZE_T DestCount)
	{
		for (CharType* P = Dest; DestCount > 0 && *P; ++P, --DestCount)
		{
			*P = TChar<CharType>::ToUpper(*P);
		}
		return Dest;
	}

	// Integer parsing with C library semantics (leading whitespace, sign, base prefixes for 0/16).
	static int64 Strtoi64(const CharType* Start, CharType** End, int32 Base)
	{
		return (int64)StrtoImpl(Start, End, Base, true);
	}
	static uint64 Strtoui64(const CharType* Start, CharType** End, int32 Base)
	{
		return StrtoImpl(Start, End, Base, false);
	}
	static int32 Strtoi(const CharType* Start, CharType** End, int32 Base)
	{
		// strtol on a 64-bit platform, then truncated to int32 as the engine's wide Strtoi does.
		return (int32)Strtoi64(Start, End, Base);
	}

	static CORE_API int32 Atoi(const CharType* String);
	static CORE_API int64 Atoi64(const CharType* String);
	static CORE_API float Atof(const CharType* String);
	static CORE_API double Atod(const CharType* String);
	static CORE_API bool ToBool(const CharType* String);

	// Optional sign, digits, at most one '.': no exponent, no spaces.
	static bool IsNumeric(const CharType* Str)
	{
		if (*Str == '-' || *Str == '+')
		{
			++Str;
		}
		bool bHasDot = false;
		while (*Str != 0)
		{
			if (*Str == '.')
			{
				if (bHasDot)
				{
					return false;
				}
				bHasDot = true;
			}
			else if (!TChar<CharType>::IsDigit(*Str))
			{
				return false;
			}
			++Str;
		}
		return true;
	}

	static const CharType* Spc(int32 NumSpaces);
	static const CharType* Tab(int32 NumTabs);

private:
	static uint64 StrtoImpl(const CharType* Start, CharType** End, int32 Base, bool bSigned)
	{
		const CharType* P = Start;
		while (TChar<CharType>::IsWhitespace(*P))
		{
			++P;
		}
		bool bNegative = false;
		if (*P == '-' || *P == '+')
		{
			bNegative = *P == '-';
			++P;
		}
		if ((Base == 0 || Base == 16) && P[0] == '0' && (P[1] == 'x' || P[1] == 'X') && TChar<CharType>::IsHexDigit(P[2]))
		{
			P += 2;
			Base = 16;
		}
		else if (Base == 0)
		{
			Base = (P[0] == '0') ? 8 : 10;
		}
		const CharType* DigitsStart = P;
		uint64 Value = 0;
		bool bOverflow = false;
		for (;; ++P)
		{
			const uint32 C = TChar<CharType>::ToUnsigned(*P);
			int32 Digit;
			if (C >= '0' && C <= '9')
			{
				Digit = (int32)(C - '0');
			}
			else if (C >= 'a' && C <= 'z')
			{
				Digit = (int32)(C - 'a' + 10);
			}
			else if (C >= 'A' && C <= 'Z')
			{
				Digit = (int32)(C - 'A' + 10);
			}
			else
			{
				break;
			}
			if (Digit >= Base)
			{
				break;
			}
			if (Value > (~(uint64)0 - (uint64)Digit) / (uint64)Base)
			{
				bOverflow = true;
			}
			Value = Value * (uint64)Base + (uint64)Digit;
		}
		if (End)
		{
			*End = const_cast<CharType*>(P == DigitsStart ? Start : P);
		}
		if (bSigned)
		{
			const uint64 Limit = bNegative ? (uint64)1 << 63 : ((uint64)1 << 63) - 1;
			if (bOverflow || Value > Limit)
			{
				return bNegative ? (uint64)1 << 63 : ((uint64)1 << 63) - 1;
			}
			return bNegative ? (uint64)(-(int64)(Value - 1) - 1) : Value;
		}
		if (bOverflow)
		{
			return ~(uint64)0;
		}
		return bNegative ? (uint64)(-(int64)Value) : Value;
	}
};

template <typename T>
const typename TCString<T>::CharType* TCString<T>::Spc(int32 NumSpaces)
{
	static const CharType Spaces[] = { ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0 };
	check(NumSpaces >= 0 && NumSpaces <= 32);
	return Spaces + 32 - NumSpaces;
}

template <typename T>
const typename TCString<T>::CharType* TCString<T>::Tab(int32 NumTabs)
{
	static const CharType Tabs[] = { '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t', 0 };
	check(NumTabs >= 0 && NumTabs <= 16);
	return Tabs + 16 - NumTabs;
}

typedef TCString<TCHAR> FCString;
typedef TCString<ANSICHAR> FCStringAnsi;
typedef TCString<WIDECHAR> FCStringWide;
typedef TCString<UTF8CHAR> FCStringUtf8;

