// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "HAL/UnrealMemory.h"
#include "Templates/UnrealTemplate.h"
#include <new>

// Element construction and destruction over raw memory, used by the containers.

template <typename ElementType, typename SizeType>
FORCEINLINE void DefaultConstructItems(void* Address, SizeType Count)
{
	if constexpr (std::is_trivially_default_constructible_v<ElementType> && std::is_standard_layout_v<ElementType>)
	{
		FMemory::Memset(Address, 0, sizeof(ElementType) * Count);
	}
	else
	{
		ElementType* Element = (ElementType*)Address;
		while (Count-- > 0)
		{
			new (Element++) ElementType;
		}
	}
}

template <typename ElementType, typename SizeType>
FORCEINLINE void DestructItems(ElementType* Element, SizeType Count)
{
	if constexpr (!std::is_trivially_destructible_v<ElementType>)
	{
		while (Count-- > 0)
		{
			Element->~ElementType();
			++Element;
		}
	}
}

template <typename ElementType>
FORCEINLINE void DestructItem(ElementType* Element)
{
	if constexpr (!std::is_trivially_destructible_v<ElementType>)
	{
		Element->~ElementType();
	}
}

template <typename DestinationElementType, typename SourceElementType, typename SizeType>
FORCEINLINE void ConstructItems(void* Dest, const SourceElementType* Source, SizeType Count)
{
	if constexpr (std::is_same_v<DestinationElementType, SourceElementType> && std::is_trivially_copy_constructible_v<DestinationElementType>)
	{
		if (Count)
		{
			FMemory::Memcpy(Dest, (const void*)Source, sizeof(SourceElementType) * Count);
		}
	}
	else
	{
		DestinationElementType* Element = (DestinationElementType*)Dest;
		while (Count-- > 0)
		{
			new (Element++) DestinationElementType(*Source++);
		}
	}
}

template <typename ElementType, typename SizeType>
FORCEINLINE void CopyAssignItems(ElementType* Dest, const ElementType* Source, SizeType Count)
{
	while (Count-- > 0)
	{
		*Dest++ = *Source++;
	}
}

// Containers move their elements with memmove, as the engine does: element types must not hold
// pointers into themselves.
template <typename DestinationElementType, typename SourceElementType, typename SizeType>
FORCEINLINE void RelocateConstructItems(void* Dest, const SourceElementType* Source, SizeType Count)
{
	static_assert(sizeof(DestinationElementType) == sizeof(SourceElementType), "Relocation between types of different sizes");
	if (Count)
	{
		FMemory::Memmove(Dest, (const void*)Source, sizeof(SourceElementType) * Count);
	}
}

template <typename ElementType, typename SizeType>
FORCEINLINE bool CompareItems(const ElementType* A, const ElementType* B, SizeType Count)
{
	while (Count-- > 0)
	{
		if (!(*A++ == *B++))
		{
			return false;
		}
	}
	return true;
}
