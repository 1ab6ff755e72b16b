// Copyright Quarn. All Rights Reserved.

#include "Misc/Crc.h"
#include "HAL/UnrealMemory.h"

namespace
{
	struct FNonReflectedTable
	{
		uint32 Values[256];
		constexpr FNonReflectedTable() : Values()
		{
			for (uint32 Index = 0; Index < 256; ++Index)
			{
				uint32 Crc = Index << 24;
				for (int32 Bit = 0; Bit < 8; ++Bit)
				{
					Crc = (Crc & 0x80000000) ? (Crc << 1) ^ 0x04C11DB7 : (Crc << 1);
				}
				Values[Index] = Crc;
			}
		}
	};

	struct FSliceBy8Tables
	{
		uint32 Values[8][256];
		constexpr FSliceBy8Tables() : Values()
		{
			for (uint32 Index = 0; Index < 256; ++Index)
			{
				uint32 Crc = Index;
				for (int32 Bit = 0; Bit < 8; ++Bit)
				{
					Crc = (Crc & 1) ? (Crc >> 1) ^ 0xEDB88320 : (Crc >> 1);
				}
				Values[0][Index] = Crc;
			}
			for (uint32 Index = 0; Index < 256; ++Index)
			{
				for (int32 Slice = 1; Slice < 8; ++Slice)
				{
					const uint32 Prev = Values[Slice - 1][Index];
					Values[Slice][Index] = (Prev >> 8) ^ Values[0][Prev & 0xFF];
				}
			}
		}
	};

	constexpr FNonReflectedTable NonReflected;
	constexpr FSliceBy8Tables SliceBy8;
} // namespace

const uint32 FCrc::CRCTable_DEPRECATED[256] = {
#define ROW(i) NonReflected.Values[i], NonReflected.Values[i + 1], NonReflected.Values[i + 2], NonReflected.Values[i + 3], NonReflected.Values[i + 4], NonReflected.Values[i + 5], NonReflected.Values[i + 6], NonReflected.Values[i + 7]
	ROW(0), ROW(8), ROW(16), ROW(24), ROW(32), ROW(40), ROW(48), ROW(56),
	ROW(64), ROW(72), ROW(80), ROW(88), ROW(96), ROW(104), ROW(112), ROW(120),
	ROW(128), ROW(136), ROW(144), ROW(152), ROW(160), ROW(168), ROW(176), ROW(184),
	ROW(192), ROW(200), ROW(208), ROW(216), ROW(224), ROW(232), ROW(240), ROW(248)
#undef ROW
};

#define ROW(s, i) SliceBy8.Values[s][i], SliceBy8.Values[s][i + 1], SliceBy8.Values[s][i + 2], SliceBy8.Values[s][i + 3], SliceBy8.Values[s][i + 4], SliceBy8.Values[s][i + 5], SliceBy8.Values[s][i + 6], SliceBy8.Values[s][i + 7]
#define SLICE(s) { ROW(s, 0), ROW(s, 8), ROW(s, 16), ROW(s, 24), ROW(s, 32), ROW(s, 40), ROW(s, 48), ROW(s, 56), \
	ROW(s, 64), ROW(s, 72), ROW(s, 80), ROW(s, 88), ROW(s, 96), ROW(s, 104), ROW(s, 112), ROW(s, 120), \
	ROW(s, 128), ROW(s, 136), ROW(s, 144), ROW(s, 152), ROW(s, 160), ROW(s, 168), ROW(s, 176), ROW(s, 184), \
	ROW(s, 192), ROW(s, 200), ROW(s, 208), ROW(s, 216), ROW(s, 224), ROW(s, 232), ROW(s, 240), ROW(s, 248) }
const uint32 FCrc::CRCTablesSB8[8][256] = { SLICE(0), SLICE(1), SLICE(2), SLICE(3), SLICE(4), SLICE(5), SLICE(6), SLICE(7) };
#undef SLICE
#undef ROW

uint32 FCrc::MemCrc32(const void* InData, int32 Length, uint32 CRC)
{
	CRC = ~CRC;
	const uint8* Data = (const uint8*)InData;
	// Eight bytes at a time (little-endian), then the tail.
	while (Length >= 8)
	{
		uint32 One;
		uint32 Two;
		FMemory::Memcpy(&One, Data, 4);
		FMemory::Memcpy(&Two, Data + 4, 4);
		One ^= CRC;
		CRC = CRCTablesSB8[7][One & 0xFF] ^ CRCTablesSB8[6][(One >> 8) & 0xFF] ^ CRCTablesSB8[5][(One >> 16) & 0xFF] ^ CRCTablesSB8[4][One >> 24] ^
			CRCTablesSB8[3][Two & 0xFF] ^ CRCTablesSB8[2][(Two >> 8) & 0xFF] ^ CRCTablesSB8[1][(Two >> 16) & 0xFF] ^ CRCTablesSB8[0][Two >> 24];
		Data += 8;
		Length -= 8;
	}
	while (Length-- > 0)
	{
		CRC = (CRC >> 8) ^ CRCTablesSB8[0][(CRC ^ *Data++) & 0xFF];
	}
	return ~CRC;
}

uint32 FCrc::MemCrc_DEPRECATED(const void* InData, int32 Length, uint32 CRC)
{
	CRC = ~CRC;
	const uint8* Data = (const uint8*)InData;
	for (int32 Index = 0; Index < Length; ++Index)
	{
		CRC = (CRC << 8) ^ CRCTable_DEPRECATED[(CRC >> 24) ^ Data[Index]];
	}
	return ~CRC;
}
