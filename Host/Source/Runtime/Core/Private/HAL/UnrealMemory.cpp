// Copyright Quarn. All Rights Reserved.

#include "HAL/UnrealMemory.h"
#include "Misc/AssertionMacros.h"
#include <cstdlib>
#include <malloc.h>

namespace
{
	// Alignments up to this are what malloc guarantees already.
	constexpr uint32 NaturalAlignment = alignof(std::max_align_t);
}

void* FMemory::Malloc(SIZE_T Count, uint32 Alignment)
{
	void* Result;
	if (Alignment <= NaturalAlignment)
	{
		Result = std::malloc(Count ? Count : 1);
	}
	else
	{
		Result = nullptr;
		if (posix_memalign(&Result, Alignment, Count ? Count : 1) != 0)
		{
			Result = nullptr;
		}
	}
	checkf(Result != nullptr, TEXT("Out of memory allocating %llu bytes"), (uint64)Count);
	return Result;
}

void* FMemory::Realloc(void* Original, SIZE_T Count, uint32 Alignment)
{
	if (Count == 0)
	{
		Free(Original);
		return nullptr;
	}
	if (Alignment <= NaturalAlignment)
	{
		void* Result = std::realloc(Original, Count);
		checkf(Result != nullptr, TEXT("Out of memory reallocating %llu bytes"), (uint64)Count);
		return Result;
	}
	void* Result = Malloc(Count, Alignment);
	if (Original)
	{
		const SIZE_T OldSize = malloc_usable_size(Original);
		std::memcpy(Result, Original, OldSize < Count ? OldSize : Count);
		std::free(Original);
	}
	return Result;
}

void FMemory::Free(void* Original)
{
	std::free(Original);
}

void* FMemory::MallocZeroed(SIZE_T Count, uint32 Alignment)
{
	void* Result = Malloc(Count, Alignment);
	std::memset(Result, 0, Count);
	return Result;
}

SIZE_T FMemory::GetAllocSize(void* Original)
{
	return Original ? malloc_usable_size(Original) : 0;
}

void FMemory::Memswap(void* Ptr1, void* Ptr2, SIZE_T Size)
{
	uint8* A = (uint8*)Ptr1;
	uint8* B = (uint8*)Ptr2;
	uint8 Buffer[256];
	while (Size > 0)
	{
		const SIZE_T Chunk = Size < sizeof(Buffer) ? Size : sizeof(Buffer);
		std::memcpy(Buffer, A, Chunk);
		std::memcpy(A, B, Chunk);
		std::memcpy(B, Buffer, Chunk);
		A += Chunk;
		B += Chunk;
		Size -= Chunk;
	}
}
