// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <cstring>

enum
{
	DEFAULT_ALIGNMENT = 0,
	MIN_ALIGNMENT = 8,
};

struct FMemory
{
	static FORCEINLINE void* Memmove(void* Dest, const void* Src, SIZE_T Count) { return std::memmove(Dest, Src, Count); }
	static FORCEINLINE int32 Memcmp(const void* Buf1, const void* Buf2, SIZE_T Count) { return std::memcmp(Buf1, Buf2, Count); }
	static FORCEINLINE void* Memset(void* Dest, uint8 Char, SIZE_T Count) { return std::memset(Dest, Char, Count); }
	static FORCEINLINE void* Memzero(void* Dest, SIZE_T Count) { return std::memset(Dest, 0, Count); }
	static FORCEINLINE void* Memcpy(void* Dest, const void* Src, SIZE_T Count) { return std::memcpy(Dest, Src, Count); }
	static FORCEINLINE void* BigBlockMemcpy(void* Dest, const void* Src, SIZE_T Count) { return std::memcpy(Dest, Src, Count); }
	static FORCEINLINE void* StreamingMemcpy(void* Dest, const void* Src, SIZE_T Count) { return std::memcpy(Dest, Src, Count); }
	static CORE_API void Memswap(void* Ptr1, void* Ptr2, SIZE_T Size);

	template <typename T>
	static FORCEINLINE void Memset(T& Src, uint8 ValueToSet)
	{
		static_assert(!std::is_pointer_v<T>, "For pointers use the three parameters function");
		Memset(&Src, ValueToSet, sizeof(T));
	}

	template <typename T>
	static FORCEINLINE void Memzero(T& Src)
	{
		static_assert(!std::is_pointer_v<T>, "For pointers use the two parameters function");
		Memzero(&Src, sizeof(T));
	}

	template <typename T>
	static FORCEINLINE void Memcpy(T& Dest, const T& Src)
	{
		static_assert(!std::is_pointer_v<T>, "For pointers use the three parameters function");
		Memcpy(&Dest, &Src, sizeof(T));
	}

	static CORE_API void* Malloc(SIZE_T Count, uint32 Alignment = DEFAULT_ALIGNMENT);
	static CORE_API void* Realloc(void* Original, SIZE_T Count, uint32 Alignment = DEFAULT_ALIGNMENT);
	static CORE_API void Free(void* Original);
	static CORE_API void* MallocZeroed(SIZE_T Count, uint32 Alignment = DEFAULT_ALIGNMENT);
	static CORE_API SIZE_T GetAllocSize(void* Original);
	static SIZE_T QuantizeSize(SIZE_T Count, uint32 Alignment = DEFAULT_ALIGNMENT) { return Count; }
	static void Trim(bool bTrimThreadCaches = true) {}
};
