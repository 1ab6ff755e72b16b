// Copyright Quarn. All Rights Reserved.

#include "Misc/Guid.h"
#include "Hash/CityHash.h"
#include <sys/random.h>
#include <cstring>

namespace
{
	const char Base64UrlAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
	const char Base36Alphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

	int32 HexValue(TCHAR Char)
	{
		if (Char >= '0' && Char <= '9')
		{
			return Char - '0';
		}
		if (Char >= 'a' && Char <= 'f')
		{
			return Char - 'a' + 10;
		}
		if (Char >= 'A' && Char <= 'F')
		{
			return Char - 'A' + 10;
		}
		return -1;
	}

	// Reads Count hex digits at Text; fails on any other character.
	bool ReadHex(const FString& Text, int32 Start, int32 Count, uint32& Out)
	{
		if (Start + Count > Text.Len())
		{
			return false;
		}
		uint32 Value = 0;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const int32 Digit = HexValue(Text[Start + Index]);
			if (Digit < 0)
			{
				return false;
			}
			Value = (Value << 4) | (uint32)Digit;
		}
		Out = Value;
		return true;
	}

	bool Expect(const FString& Text, int32 Index, TCHAR Char)
	{
		return Index < Text.Len() && Text[Index] == Char;
	}

	bool ParseHyphenated(const FString& Text, int32 Offset, FGuid& Out)
	{
		uint32 A, B1, B2, C1, C2, D;
		if (!Expect(Text, Offset + 8, '-') || !Expect(Text, Offset + 13, '-') || !Expect(Text, Offset + 18, '-') || !Expect(Text, Offset + 23, '-'))
		{
			return false;
		}
		if (!ReadHex(Text, Offset, 8, A) || !ReadHex(Text, Offset + 9, 4, B1) || !ReadHex(Text, Offset + 14, 4, B2) || !ReadHex(Text, Offset + 19, 4, C1) || !ReadHex(Text, Offset + 24, 4, C2) || !ReadHex(Text, Offset + 28, 8, D))
		{
			return false;
		}
		Out = FGuid(A, (B1 << 16) | B2, (C1 << 16) | C2, D);
		return true;
	}

	// 128-bit value (A most significant) held as two 64-bit halves for base 36.
	void DivMod36(uint64& High, uint64& Low, uint32& Remainder)
	{
		const unsigned __int128 Value = ((unsigned __int128)High << 64) | Low;
		const unsigned __int128 Quotient = Value / 36;
		Remainder = (uint32)(Value % 36);
		High = (uint64)(Quotient >> 64);
		Low = (uint64)Quotient;
	}
} // namespace

FGuid::FGuid(const FString& InGuidStr) : FGuid()
{
	if (!Parse(InGuidStr, *this))
	{
		Invalidate();
	}
}

FString FGuid::ToString(EGuidFormats Format) const
{
	switch (Format)
	{
		case EGuidFormats::DigitsLower:
			return FString::Printf(TEXT("%08x%08x%08x%08x"), A, B, C, D);
		case EGuidFormats::DigitsWithHyphens:
			return FString::Printf(TEXT("%08X-%04X-%04X-%04X-%04X%08X"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
		case EGuidFormats::DigitsWithHyphensLower:
			return FString::Printf(TEXT("%08x-%04x-%04x-%04x-%04x%08x"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
		case EGuidFormats::DigitsWithHyphensInBraces:
			return FString::Printf(TEXT("{%08X-%04X-%04X-%04X-%04X%08X}"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
		case EGuidFormats::DigitsWithHyphensInParentheses:
			return FString::Printf(TEXT("(%08X-%04X-%04X-%04X-%04X%08X)"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
		case EGuidFormats::HexValuesInBraces:
			return FString::Printf(TEXT("{0x%08X,0x%04X,0x%04X,{0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X}}"), A, B >> 16, B & 0xFFFF, C >> 24, (C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0XFF, D >> 24, (D >> 16) & 0XFF, (D >> 8) & 0XFF, D & 0XFF);
		case EGuidFormats::UniqueObjectGuid:
			return FString::Printf(TEXT("%08X-%08X-%08X-%08X"), A, B, C, D);
		case EGuidFormats::Short:
		{
			// The four components' bytes in memory order, URL-safe base64, padding removed.
			uint8 Bytes[16];
			const uint32 Components[4] = { A, B, C, D };
			std::memcpy(Bytes, Components, 16);
			FString Result;
			for (int32 Index = 0; Index < 16; Index += 3)
			{
				const uint32 Remaining = 16 - Index;
				const uint32 Chunk = ((uint32)Bytes[Index] << 16) | (Remaining > 1 ? (uint32)Bytes[Index + 1] << 8 : 0) | (Remaining > 2 ? (uint32)Bytes[Index + 2] : 0);
				Result.AppendChar((TCHAR)Base64UrlAlphabet[(Chunk >> 18) & 63]);
				Result.AppendChar((TCHAR)Base64UrlAlphabet[(Chunk >> 12) & 63]);
				if (Remaining > 1)
				{
					Result.AppendChar((TCHAR)Base64UrlAlphabet[(Chunk >> 6) & 63]);
				}
				if (Remaining > 2)
				{
					Result.AppendChar((TCHAR)Base64UrlAlphabet[Chunk & 63]);
				}
			}
			return Result;
		}
		case EGuidFormats::Base36Encoded:
		{
			uint64 High = ((uint64)A << 32) | B;
			uint64 Low = ((uint64)C << 32) | D;
			TCHAR Digits[25];
			for (int32 Index = 24; Index >= 0; --Index)
			{
				uint32 Remainder;
				DivMod36(High, Low, Remainder);
				Digits[Index] = (TCHAR)Base36Alphabet[Remainder];
			}
			return FString(25, Digits);
		}
		case EGuidFormats::Digits:
		default:
			return FString::Printf(TEXT("%08X%08X%08X%08X"), A, B, C, D);
	}
}

FGuid FGuid::NewGuid()
{
	FGuid Result;
	uint8 Bytes[16];
	ssize_t Got = 0;
	while (Got < 16)
	{
		const ssize_t Now = getrandom(Bytes + Got, 16 - Got, 0);
		if (Now <= 0)
		{
			break;
		}
		Got += Now;
	}
	checkf(Got == 16, TEXT("The operating system did not supply random bytes for a GUID"));
	std::memcpy(&Result, Bytes, 16);
	// Version 4, variant 1 bits, as an operating system's random GUID carries them.
	Result.B = (Result.B & 0xFFFF0FFF) | 0x00004000;
	Result.C = (Result.C & 0x3FFFFFFF) | 0x80000000;
	return Result;
}

FGuid FGuid::NewDeterministicGuid(FStringView ObjectPath, uint64 Seed)
{
	const uint64 H1 = CityHash64WithSeed((const char*)ObjectPath.GetData(), (uint32)(ObjectPath.Len() * sizeof(TCHAR)), Seed);
	const uint64 H2 = CityHash64WithSeed((const char*)ObjectPath.GetData(), (uint32)(ObjectPath.Len() * sizeof(TCHAR)), H1);
	return FGuid((uint32)(H1 >> 32), (uint32)H1, (uint32)(H2 >> 32), (uint32)H2);
}

bool FGuid::Parse(const FString& GuidString, FGuid& OutGuid)
{
	switch (GuidString.Len())
	{
		case 32: return ParseExact(GuidString, EGuidFormats::Digits, OutGuid);
		case 36: return ParseExact(GuidString, EGuidFormats::DigitsWithHyphens, OutGuid);
		case 38:
			return GuidString[0] == TEXT('{') ? ParseExact(GuidString, EGuidFormats::DigitsWithHyphensInBraces, OutGuid) : ParseExact(GuidString, EGuidFormats::DigitsWithHyphensInParentheses, OutGuid);
		case 68: return ParseExact(GuidString, EGuidFormats::HexValuesInBraces, OutGuid);
		case 35: return ParseExact(GuidString, EGuidFormats::UniqueObjectGuid, OutGuid);
		case 22: return ParseExact(GuidString, EGuidFormats::Short, OutGuid);
		case 25: return ParseExact(GuidString, EGuidFormats::Base36Encoded, OutGuid);
		default: return false;
	}
}

bool FGuid::ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid)
{
	uint32 A, B, C, D;
	switch (Format)
	{
		case EGuidFormats::Digits:
		case EGuidFormats::DigitsLower:
			if (GuidString.Len() != 32 || !ReadHex(GuidString, 0, 8, A) || !ReadHex(GuidString, 8, 8, B) || !ReadHex(GuidString, 16, 8, C) || !ReadHex(GuidString, 24, 8, D))
			{
				return false;
			}
			OutGuid = FGuid(A, B, C, D);
			return true;
		case EGuidFormats::DigitsWithHyphens:
		case EGuidFormats::DigitsWithHyphensLower:
			return GuidString.Len() == 36 && ParseHyphenated(GuidString, 0, OutGuid);
		case EGuidFormats::DigitsWithHyphensInBraces:
			return GuidString.Len() == 38 && GuidString[0] == TEXT('{') && GuidString[37] == TEXT('}') && ParseHyphenated(GuidString, 1, OutGuid);
		case EGuidFormats::DigitsWithHyphensInParentheses:
			return GuidString.Len() == 38 && GuidString[0] == TEXT('(') && GuidString[37] == TEXT(')') && ParseHyphenated(GuidString, 1, OutGuid);
		case EGuidFormats::HexValuesInBraces:
		{
			if (GuidString.Len() != 68)
			{
				return false;
			}
			const FString Expected = FGuid(0, 0, 0, 0).ToString(EGuidFormats::HexValuesInBraces);
			uint32 Parts[11];
			const int32 Widths[11] = { 8, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2 };
			int32 Pos = 0;
			for (int32 Part = 0; Part < 11; ++Part)
			{
				while (Pos < 68 && !(GuidString[Pos] == TEXT('0') && (GuidString[Pos + 1] == TEXT('x') || GuidString[Pos + 1] == TEXT('X'))))
				{
					if (GuidString[Pos] != Expected[Pos])
					{
						return false;
					}
					++Pos;
				}
				Pos += 2;
				if (!ReadHex(GuidString, Pos, Widths[Part], Parts[Part]))
				{
					return false;
				}
				Pos += Widths[Part];
			}
			OutGuid = FGuid(Parts[0], (Parts[1] << 16) | Parts[2], (Parts[3] << 24) | (Parts[4] << 16) | (Parts[5] << 8) | Parts[6], (Parts[7] << 24) | (Parts[8] << 16) | (Parts[9] << 8) | Parts[10]);
			return GuidString.EndsWith(TEXT("}}"));
		}
		case EGuidFormats::UniqueObjectGuid:
			if (GuidString.Len() != 35 || !Expect(GuidString, 8, '-') || !Expect(GuidString, 17, '-') || !Expect(GuidString, 26, '-') || !ReadHex(GuidString, 0, 8, A) || !ReadHex(GuidString, 9, 8, B) || !ReadHex(GuidString, 18, 8, C) || !ReadHex(GuidString, 27, 8, D))
			{
				return false;
			}
			OutGuid = FGuid(A, B, C, D);
			return true;
		case EGuidFormats::Short:
		{
			if (GuidString.Len() != 22)
			{
				return false;
			}
			uint8 Bytes[18] = {};
			int32 ByteCount = 0;
			uint32 Accumulator = 0;
			int32 Bits = 0;
			for (TCHAR Char : GuidString)
			{
				const char* Found = (Char < 128 && Char) ? std::strchr(Base64UrlAlphabet, (char)Char) : nullptr;
				if (!Found)
				{
					return false;
				}
				Accumulator = (Accumulator << 6) | (uint32)(Found - Base64UrlAlphabet);
				Bits += 6;
				if (Bits >= 8)
				{
					Bits -= 8;
					Bytes[ByteCount++] = (uint8)(Accumulator >> Bits);
				}
			}
			std::memcpy(&OutGuid, Bytes, 16);
			return true;
		}
		case EGuidFormats::Base36Encoded:
		{
			if (GuidString.Len() != 25)
			{
				return false;
			}
			unsigned __int128 Value = 0;
			for (TCHAR Char : GuidString)
			{
				const TCHAR Upper = TChar<TCHAR>::ToUpper(Char);
				const char* Found = (Upper < 128 && Upper) ? std::strchr(Base36Alphabet, (char)Upper) : nullptr;
				if (!Found)
				{
					return false;
				}
				Value = Value * 36 + (uint32)(Found - Base36Alphabet);
			}
			OutGuid = FGuid((uint32)(Value >> 96), (uint32)(Value >> 64), (uint32)(Value >> 32), (uint32)Value);
			return true;
		}
	}
	return false;
}
