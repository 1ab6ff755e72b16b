// Copyright Quarn. All Rights Reserved.

#include "Containers/StringConv.h"

namespace UE::Core::Private
{
	namespace
	{
		// The engine's UNICODE_BOGUS_CHAR_CODEPOINT.
		constexpr uint32 ReplacementChar = '?';

		FORCEINLINE int32 WriteUtf8(uint32 Code, UTF8CHAR* Dest)
		{
			if (Code < 0x80)
			{
				if (Dest)
				{
					Dest[0] = (UTF8CHAR)Code;
				}
				return 1;
			}
			if (Code < 0x800)
			{
				if (Dest)
				{
					Dest[0] = (UTF8CHAR)(0xC0 | (Code >> 6));
					Dest[1] = (UTF8CHAR)(0x80 | (Code & 0x3F));
				}
				return 2;
			}
			if (Code < 0x10000)
			{
				if (Dest)
				{
					Dest[0] = (UTF8CHAR)(0xE0 | (Code >> 12));
					Dest[1] = (UTF8CHAR)(0x80 | ((Code >> 6) & 0x3F));
					Dest[2] = (UTF8CHAR)(0x80 | (Code & 0x3F));
				}
				return 3;
			}
			if (Dest)
			{
				Dest[0] = (UTF8CHAR)(0xF0 | (Code >> 18));
				Dest[1] = (UTF8CHAR)(0x80 | ((Code >> 12) & 0x3F));
				Dest[2] = (UTF8CHAR)(0x80 | ((Code >> 6) & 0x3F));
				Dest[3] = (UTF8CHAR)(0x80 | (Code & 0x3F));
			}
			return 4;
		}

		FORCEINLINE int32 WriteUtf16(uint32 Code, TCHAR* Dest)
		{
			if (Code >= 0x10000)
			{
				if (Dest)
				{
					Dest[0] = (TCHAR)(0xD800 + ((Code - 0x10000) >> 10));
					Dest[1] = (TCHAR)(0xDC00 + ((Code - 0x10000) & 0x3FF));
				}
				return 2;
			}
			if (Dest)
			{
				Dest[0] = (TCHAR)Code;
			}
			return 1;
		}

		// Reads one code point from UTF-16; an unpaired surrogate reads as the bogus character.
		FORCEINLINE uint32 ReadUtf16(const TCHAR* Src, int32 SrcLen, int32& Index)
		{
			const uint32 Unit = Src[Index++];
			if (Unit >= 0xD800 && Unit <= 0xDBFF)
			{
				if (Index < SrcLen && Src[Index] >= 0xDC00 && Src[Index] <= 0xDFFF)
				{
					const uint32 Low = Src[Index++];
					return 0x10000 + ((Unit - 0xD800) << 10) + (Low - 0xDC00);
				}
				return ReplacementChar;
			}
			if (Unit >= 0xDC00 && Unit <= 0xDFFF)
			{
				return ReplacementChar;
			}
			return Unit;
		}

		// Reads one code point from UTF-8; each byte that does not start a valid, shortest-form
		// sequence reads as the bogus character and is consumed alone.
		FORCEINLINE uint32 ReadUtf8(const uint8* Src, int32 SrcLen, int32& Index)
		{
			const uint8 Lead = Src[Index];
			if (Lead < 0x80)
			{
				++Index;
				return Lead;
			}
			int32 Extra;
			uint32 Code;
			uint32 Min;
			if (Lead >= 0xC2 && Lead <= 0xDF)
			{
				Extra = 1;
				Code = Lead & 0x1F;
				Min = 0x80;
			}
			else if ((Lead & 0xF0) == 0xE0)
			{
				Extra = 2;
				Code = Lead & 0x0F;
				Min = 0x800;
			}
			else if (Lead >= 0xF0 && Lead <= 0xF4)
			{
				Extra = 3;
				Code = Lead & 0x07;
				Min = 0x10000;
			}
			else
			{
				++Index;
				return ReplacementChar;
			}
			if (Index + Extra >= SrcLen)
			{
				++Index;
				return ReplacementChar;
			}
			for (int32 Offset = 1; Offset <= Extra; ++Offset)
			{
				const uint8 Next = Src[Index + Offset];
				if ((Next & 0xC0) != 0x80)
				{
					++Index;
					return ReplacementChar;
				}
				Code = (Code << 6) | (Next & 0x3F);
			}
			if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
			{
				++Index;
				return ReplacementChar;
			}
			Index += Extra + 1;
			return Code;
		}
	} // namespace

	int32 ConvertUtf16ToUtf8(const TCHAR* Src, int32 SrcLen, UTF8CHAR* Dest)
	{
		int32 Written = 0;
		for (int32 Index = 0; Index < SrcLen;)
		{
			const uint32 Code = ReadUtf16(Src, SrcLen, Index);
			Written += WriteUtf8(Code, Dest ? Dest + Written : nullptr);
		}
		return Written;
	}

	int32 ConvertUtf8ToUtf16(const UTF8CHAR* Src, int32 SrcLen, TCHAR* Dest)
	{
		int32 Written = 0;
		for (int32 Index = 0; Index < SrcLen;)
		{
			const uint32 Code = ReadUtf8((const uint8*)Src, SrcLen, Index);
			Written += WriteUtf16(Code, Dest ? Dest + Written : nullptr);
		}
		return Written;
	}

	int32 ConvertUtf32ToUtf16(const UTF32CHAR* Src, int32 SrcLen, TCHAR* Dest)
	{
		int32 Written = 0;
		for (int32 Index = 0; Index < SrcLen; ++Index)
		{
			uint32 Code = (uint32)Src[Index];
			if (Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
			{
				Code = ReplacementChar;
			}
			Written += WriteUtf16(Code, Dest ? Dest + Written : nullptr);
		}
		return Written;
	}

	int32 ConvertUtf16ToUtf32(const TCHAR* Src, int32 SrcLen, UTF32CHAR* Dest)
	{
		int32 Written = 0;
		for (int32 Index = 0; Index < SrcLen;)
		{
			const uint32 Code = ReadUtf16(Src, SrcLen, Index);
			if (Dest)
			{
				Dest[Written] = (UTF32CHAR)Code;
			}
			++Written;
		}
		return Written;
	}

	int32 ConvertUtf16ToAnsi(const TCHAR* Src, int32 SrcLen, ANSICHAR* Dest)
	{
		int32 Written = 0;
		for (int32 Index = 0; Index < SrcLen;)
		{
			const uint32 Code = ReadUtf16(Src, SrcLen, Index);
			if (Dest)
			{
				Dest[Written] = Code <= 0x7F ? (ANSICHAR)Code : '?';
			}
			++Written;
		}
		return Written;
	}

	int32 ConvertAnsiToUtf16(const ANSICHAR* Src, int32 SrcLen, TCHAR* Dest)
	{
		if (Dest)
		{
			for (int32 Index = 0; Index < SrcLen; ++Index)
			{
				const uint8 Byte = (uint8)Src[Index];
				Dest[Index] = Byte <= 0x7F ? (TCHAR)Byte : (TCHAR)'?';
			}
		}
		return SrcLen;
	}
} // namespace UE::Core::Private
