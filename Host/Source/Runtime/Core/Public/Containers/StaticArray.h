// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "Templates/TypeHash.h"

// A fixed-size array value.
template <typename InElementType, uint32 NumElements, uint32 Alignment>
class alignas(Alignment) TStaticArray
{
public:
	using ElementType = InElementType;

	constexpr TStaticArray() : Elements() {}
	explicit TStaticArray(EInPlace, const InElementType& Value)
	{
		for (uint32 Index = 0; Index < NumElements; ++Index)
		{
			Elements[Index] = Value;
		}
	}

	FORCEINLINE InElementType& operator[](uint32 Index)
	{
		checkf(Index < NumElements, TEXT("Static array index %u out of bounds"), Index);
		return Elements[Index];
	}
	FORCEINLINE const InElementType& operator[](uint32 Index) const
	{
		checkf(Index < NumElements, TEXT("Static array index %u out of bounds"), Index);
		return Elements[Index];
	}

	bool operator==(const TStaticArray& Other) const
	{
		for (uint32 Index = 0; Index < NumElements; ++Index)
		{
			if (!(Elements[Index] == Other.Elements[Index]))
			{
				return false;
			}
		}
		return true;
	}
	bool operator!=(const TStaticArray& Other) const { return !(*this == Other); }

	[[nodiscard]] constexpr bool IsEmpty() const { return NumElements == 0; }
	constexpr int32 Num() const { return NumElements; }
	InElementType* GetData() { return Elements; }
	const InElementType* GetData() const { return Elements; }
	InElementType* begin() { return Elements; }
	const InElementType* begin() const { return Elements; }
	InElementType* end() { return Elements + NumElements; }
	const InElementType* end() const { return Elements + NumElements; }

	friend uint32 GetTypeHash(const TStaticArray& Array)
	{
		uint32 Hash = 0;
		for (const InElementType& Element : Array)
		{
			Hash = HashCombineFast(Hash, GetTypeHash(Element));
		}
		return Hash;
	}

private:
	InElementType Elements[NumElements];
};

template <typename T, uint32 N, uint32 A>
struct TIsContiguousContainer<TStaticArray<T, N, A>> { enum { Value = true }; };
