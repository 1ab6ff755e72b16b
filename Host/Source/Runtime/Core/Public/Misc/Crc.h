// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/Char.h"

struct FCrc
{
	// Table of the non-reflected CRC-32 polynomial 0x04C11DB7, used by the deprecated hashes.
	static CORE_API const uint32 CRCTable_DEPRECATED[256];
	// Slicing-by-8 tables of the reflected polynomial 0xEDB88320 (zlib's CRC-32).
	static CORE_API const uint32 CRCTablesSB8[8][256];

	static void Init() {}

	// Standard CRC-32 of a buffer.
	static CORE_API uint32 MemCrc32(const void* Data, int32 Length, uint32 CRC = 0);

	template <typename T>
	static uint32 TypeCrc32(const T& Data, uint32 CRC = 0)
	{
		return MemCrc32(&Data, sizeof(T), CRC);
	}

	// CRC-32 of a string, each character fed as four little-endian bytes.
	template <typename CharType>
	static uint32 StrCrc32(const CharType* Data, uint32 CRC = 0)
	{
		CRC = ~CRC;
		while (CharType Ch = *Data++)
		{
			uint32 Value = (uint32)(std::make_unsigned_t<CharType>)Ch;
			CRC = (CRC >> 8) ^ CRCTablesSB8[0][(CRC ^ Value) & 0xFF];
			Value >>= 8;
			CRC = (CRC >> 8) ^ CRCTablesSB8[0][(CRC ^ Value) & 0xFF];
			Value >>= 8;
			CRC = (CRC >> 8) ^ CRCTablesSB8[0][(CRC ^ Value) & 0xFF];
			Value >>= 8;
			CRC = (CRC >> 8) ^ CRCTablesSB8[0][(CRC ^ Value) & 0xFF];
		}
		return ~CRC;
	}

	// Case-insensitive hash of FString and FName text; case folding is ASCII only, as TChar does it.
	template <typename CharType>
	static FORCEINLINE uint32 Strihash_DEPRECATED(const int32 Len, const CharType* Data)
	{
		uint32 Hash = 0;
		for (int32 Index = 0; Index < Len; ++Index)
		{
			const CharType Ch = TChar<CharType>::ToUpper(Data[Index]);
			uint32 Value = (uint32)(std::make_unsigned_t<CharType>)Ch;
			Hash = ((Hash >> 8) & 0x00FFFFFF) ^ CRCTable_DEPRECATED[(Hash ^ Value) & 0x000000FF];
			if constexpr (sizeof(CharType) >= 2)
			{
				Value >>= 8;
				Hash = ((Hash >> 8) & 0x00FFFFFF) ^ CRCTable_DEPRECATED[(Hash ^ Value) & 0x000000FF];
			}
		}
		return Hash;
	}

	template <typename CharType>
	static uint32 Strihash_DEPRECATED(const CharType* Data)
	{
		int32 Len = 0;
		while (Data[Len])
		{
			++Len;
		}
		return Strihash_DEPRECATED(Len, Data);
	}

	template <typename CharType>
	static uint32 StrCrc_DEPRECATED(const CharType* Data)
	{
		uint32 CRC = 0xFFFFFFFF;
		while (*Data)
		{
			uint32 Value = (uint32)(std::make_unsigned_t<CharType>)*Data++;
			for (SIZE_T Byte = 0; Byte < sizeof(CharType); ++Byte)
			{
				CRC = (CRC << 8) ^ CRCTable_DEPRECATED[(CRC >> 24) ^ (Value & 0xFF)];
				Value >>= 8;
			}
		}
		return ~CRC;
	}

	static CORE_API uint32 MemCrc_DEPRECATED(const void* Data, int32 Length, uint32 CRC = 0);
};
