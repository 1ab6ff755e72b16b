// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "HAL/UnrealMemory.h"
#include "Misc/AssertionMacros.h"
#include "Templates/MemoryOps.h"
#include "Containers/ContainersFwd.h"
#include <limits>

// Allocation policies of the engine's containers and its slack rules.

enum class EAllowShrinking : uint8
{
	No,
	Yes,
	Default = Yes
};

#define UE_USE_COMPACT_SET_AS_DEFAULT 0

template <typename SizeType>
FORCEINLINE SizeType DefaultCalculateSlackGrow(SizeType NumElements, SizeType NumAllocatedElements, SIZE_T BytesPerElement)
{
	// First allocation: at least 4 elements; then grow by 3/8 plus a constant, as the engine does.
	constexpr SIZE_T FirstGrow = 4;
	constexpr SIZE_T ConstantGrow = 16;
	SIZE_T Grow = FirstGrow;
	if (NumAllocatedElements)
	{
		Grow = SIZE_T(NumElements) + 3 * SIZE_T(NumElements) / 8 + ConstantGrow;
	}
	else if (SIZE_T(NumElements) > Grow)
	{
		Grow = SIZE_T(NumElements);
	}
	SizeType Result = (SizeType)Grow;
	if (NumElements > Result)
	{
		Result = std::numeric_limits<SizeType>::max();
	}
	return Result;
}

template <typename SizeType>
FORCEINLINE SizeType DefaultCalculateSlackShrink(SizeType NumElements, SizeType NumAllocatedElements, SIZE_T BytesPerElement)
{
	// Shrink when a third or more is slack or more than 16 KiB is wasted, and the slack is worth it.
	const SizeType CurrentSlackElements = NumAllocatedElements - NumElements;
	const SIZE_T CurrentSlackBytes = SIZE_T(CurrentSlackElements) * BytesPerElement;
	const bool bTooManySlackBytes = CurrentSlackBytes >= 16384;
	const bool bTooManySlackElements = 3 * NumElements < 2 * NumAllocatedElements;
	if ((bTooManySlackBytes || bTooManySlackElements) && (CurrentSlackElements > 64 || !NumElements))
	{
		return NumElements;
	}
	return NumAllocatedElements;
}

template <typename SizeType>
FORCEINLINE SizeType DefaultCalculateSlackReserve(SizeType NumElements, SIZE_T BytesPerElement)
{
	return NumElements;
}

template <int IndexSize>
class TSizedHeapAllocator
{
public:
	using SizeType = std::conditional_t<IndexSize == 64, int64, int32>;

	enum { NeedsElementType = false };
	enum { RequireRangeCheck = true };

	class ForAnyElementType
	{
	public:
		ForAnyElementType() : Data(nullptr) {}
		ForAnyElementType(const ForAnyElementType&) = delete;
		ForAnyElementType& operator=(const ForAnyElementType&) = delete;
		~ForAnyElementType()
		{
			if (Data)
			{
				FMemory::Free(Data);
			}
		}

		FORCEINLINE void MoveToEmpty(ForAnyElementType& Other)
		{
			checkSlow(this != &Other);
			if (Data)
			{
				FMemory::Free(Data);
			}
			Data = Other.Data;
			Other.Data = nullptr;
		}

		FORCEINLINE void* GetAllocation() const { return Data; }

		void ResizeAllocation(SizeType CurrentNum, SizeType NewMax, SIZE_T NumBytesPerElement, uint32 AlignmentOfElement = alignof(std::max_align_t))
		{
			if (Data || NewMax)
			{
				Data = FMemory::Realloc(Data, (SIZE_T)NewMax * NumBytesPerElement, AlignmentOfElement > 16 ? AlignmentOfElement : 0);
			}
		}

		SizeType CalculateSlackReserve(SizeType NewMax, SIZE_T NumBytesPerElement) const { return DefaultCalculateSlackReserve(NewMax, NumBytesPerElement); }
		SizeType CalculateSlackShrink(SizeType NewMax, SizeType CurrentMax, SIZE_T NumBytesPerElement) const { return DefaultCalculateSlackShrink(NewMax, CurrentMax, NumBytesPerElement); }
		SizeType CalculateSlackGrow(SizeType NewMax, SizeType CurrentMax, SIZE_T NumBytesPerElement) const { return DefaultCalculateSlackGrow(NewMax, CurrentMax, NumBytesPerElement); }
		SIZE_T GetAllocatedSize(SizeType CurrentMax, SIZE_T NumBytesPerElement) const { return (SIZE_T)CurrentMax * NumBytesPerElement; }
		bool HasAllocation() const { return !!Data; }
		SizeType GetInitialCapacity() const { return 0; }

	protected:
		void* Data;
	};

	template <typename ElementType>
	class ForElementType : public ForAnyElementType
	{
	public:
		ForElementType() {}
		FORCEINLINE ElementType* GetAllocation() const { return (ElementType*)ForAnyElementType::GetAllocation(); }
		void ResizeAllocation(SizeType CurrentNum, SizeType NewMax, SIZE_T NumBytesPerElement)
		{
			ForAnyElementType::ResizeAllocation(CurrentNum, NewMax, NumBytesPerElement, alignof(ElementType));
		}
	};
};

template <int IndexSize>
class TSizedDefaultAllocator : public TSizedHeapAllocator<IndexSize>
{
public:
	typedef TSizedHeapAllocator<IndexSize> Typedef;
};

using FHeapAllocator = TSizedHeapAllocator<32>;

// Keeps the first NumInlineElements inside the container, then moves to the secondary allocator.
template <uint32 NumInlineElements, typename SecondaryAllocator = FDefaultAllocator>
class TInlineAllocator
{
public:
	using SizeType = int32;

	enum { NeedsElementType = true };
	enum { RequireRangeCheck = true };

	template <typename ElementType>
	class ForElementType
	{
	public:
		ForElementType() {}
		ForElementType(const ForElementType&) = delete;
		ForElementType& operator=(const ForElementType&) = delete;

		FORCEINLINE void MoveToEmpty(ForElementType& Other)
		{
			if (!Other.SecondaryData.GetAllocation())
			{
				// The elements live inline in Other: relocate them here.
				RelocateConstructItems<ElementType>((void*)InlineData, Other.GetInlineElements(), NumInlineElements);
			}
			SecondaryData.MoveToEmpty(Other.SecondaryData);
		}

		FORCEINLINE ElementType* GetAllocation() const
		{
			return SecondaryData.GetAllocation() ? SecondaryData.GetAllocation() : GetInlineElements();
		}

		void ResizeAllocation(SizeType CurrentNum, SizeType NewMax, SIZE_T NumBytesPerElement)
		{
			if (NewMax <= (SizeType)NumInlineElements)
			{
				if (SecondaryData.GetAllocation())
				{
					RelocateConstructItems<ElementType>((void*)InlineData, (ElementType*)SecondaryData.GetAllocation(), CurrentNum);
					SecondaryData.ResizeAllocation(0, 0, NumBytesPerElement);
				}
			}
			else
			{
				if (!SecondaryData.GetAllocation())
				{
					SecondaryData.ResizeAllocation(0, NewMax, NumBytesPerElement);
					RelocateConstructItems<ElementType>((void*)SecondaryData.GetAllocation(), GetInlineElements(), CurrentNum);
				}
				else
				{
					SecondaryData.ResizeAllocation(CurrentNum, NewMax, NumBytesPerElement);
				}
			}
		}

		SizeType CalculateSlackReserve(SizeType NewMax, SIZE_T NumBytesPerElement) const
		{
			return NewMax <= (SizeType)NumInlineElements ? (SizeType)NumInlineElements : SecondaryData.CalculateSlackReserve(NewMax, NumBytesPerElement);
		}
		SizeType CalculateSlackShrink(SizeType NewMax, SizeType CurrentMax, SIZE_T NumBytesPerElement) const
		{
			return NewMax <= (SizeType)NumInlineElements ? (SizeType)NumInlineElements : SecondaryData.CalculateSlackShrink(NewMax, CurrentMax, NumBytesPerElement);
		}
		SizeType CalculateSlackGrow(SizeType NewMax, SizeType CurrentMax, SIZE_T NumBytesPerElement) const
		{
			return NewMax <= (SizeType)NumInlineElements ? (SizeType)NumInlineElements : SecondaryData.CalculateSlackGrow(NewMax, CurrentMax, NumBytesPerElement);
		}
		SIZE_T GetAllocatedSize(SizeType CurrentMax, SIZE_T NumBytesPerElement) const
		{
			return CurrentMax > (SizeType)NumInlineElements ? SecondaryData.GetAllocatedSize(CurrentMax, NumBytesPerElement) : 0;
		}
		bool HasAllocation() const { return SecondaryData.HasAllocation(); }
		SizeType GetInitialCapacity() const { return NumInlineElements; }

	private:
		ElementType* GetInlineElements() const { return (ElementType*)InlineData; }

		alignas(ElementType) uint8 InlineData[sizeof(ElementType) * NumInlineElements];
		typename SecondaryAllocator::template ForElementType<ElementType> SecondaryData;
	};

	typedef void ForAnyElementType;
};

template <uint32 NumInlineElements>
using TFixedAllocator = TInlineAllocator<NumInlineElements>;

class FDefaultSetAllocator
{
};
class FDefaultSparseArrayAllocator
{
};
class FDefaultBitArrayAllocator
{
};
template <uint32 NumInlineElements>
class TInlineSetAllocator
{
};
template <uint32 NumInlineElements>
class TInlineSparseArrayAllocator
{
};
