// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"

// A non-owning view of contiguous elements.
template <typename InElementType, typename InSizeType>
class TArrayView
{
public:
	using ElementType = InElementType;
	using SizeType = InSizeType;

	TArrayView() : DataPtr(nullptr), ArrayNum(0) {}

	template <typename OtherElementType, std::enable_if_t<std::is_convertible_v<OtherElementType (*)[], ElementType (*)[]>>* = nullptr>
	TArrayView(const TArrayView<OtherElementType, SizeType>& Other) : DataPtr(Other.GetData()), ArrayNum(Other.Num()) {}

	template <typename OtherElementType, typename OtherAllocator, std::enable_if_t<std::is_convertible_v<OtherElementType (*)[], ElementType (*)[]>>* = nullptr>
	TArrayView(TArray<OtherElementType, OtherAllocator>& Other UE_LIFETIMEBOUND) : DataPtr(Other.GetData()), ArrayNum((SizeType)Other.Num()) {}

	template <typename OtherElementType, typename OtherAllocator, std::enable_if_t<std::is_convertible_v<const OtherElementType (*)[], ElementType (*)[]>>* = nullptr>
	TArrayView(const TArray<OtherElementType, OtherAllocator>& Other UE_LIFETIMEBOUND) : DataPtr(Other.GetData()), ArrayNum((SizeType)Other.Num()) {}

	template <typename OtherElementType, size_t N, std::enable_if_t<std::is_convertible_v<OtherElementType (*)[], ElementType (*)[]>>* = nullptr>
	TArrayView(OtherElementType (&Other)[N] UE_LIFETIMEBOUND) : DataPtr(Other), ArrayNum((SizeType)N) {}

	template <typename T = ElementType, std::enable_if_t<std::is_const_v<T>>* = nullptr>
	TArrayView(std::initializer_list<std::remove_const_t<ElementType>> List UE_LIFETIMEBOUND) : DataPtr(List.begin()), ArrayNum((SizeType)List.size()) {}

	template <typename OtherElementType, std::enable_if_t<std::is_convertible_v<OtherElementType (*)[], ElementType (*)[]>>* = nullptr>
	TArrayView(OtherElementType* InData, SizeType InCount) : DataPtr(InData), ArrayNum(InCount)
	{
		check(ArrayNum >= 0);
	}

	FORCEINLINE ElementType* GetData() const { return DataPtr; }
	FORCEINLINE static constexpr size_t GetTypeSize() { return sizeof(ElementType); }
	FORCEINLINE SizeType Num() const { return ArrayNum; }
	FORCEINLINE bool IsEmpty() const { return ArrayNum == 0; }
	FORCEINLINE bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < ArrayNum; }

	FORCEINLINE void RangeCheck(SizeType Index) const
	{
		checkf((Index >= 0) & (Index < ArrayNum), TEXT("Array index out of bounds: %lld into an array of size %lld"), (long long)Index, (long long)ArrayNum);
	}

	FORCEINLINE ElementType& operator[](SizeType Index) const
	{
		RangeCheck(Index);
		return DataPtr[Index];
	}

	ElementType& Last(SizeType IndexFromTheEnd = 0) const
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return DataPtr[ArrayNum - IndexFromTheEnd - 1];
	}

	TArrayView Slice(SizeType Index, SizeType InNum) const
	{
		check(InNum >= 0);
		check(Index >= 0 && Index + InNum <= ArrayNum);
		return TArrayView(DataPtr + Index, InNum);
	}
	TArrayView Left(SizeType Count) const { return TArrayView(DataPtr, Clamp(Count)); }
	TArrayView LeftChop(SizeType Count) const { return TArrayView(DataPtr, Clamp(ArrayNum - Count)); }
	TArrayView Right(SizeType Count) const
	{
		const SizeType OutLen = Clamp(Count);
		return TArrayView(DataPtr + ArrayNum - OutLen, OutLen);
	}
	TArrayView RightChop(SizeType Count) const
	{
		const SizeType OutLen = Clamp(ArrayNum - Count);
		return TArrayView(DataPtr + ArrayNum - OutLen, OutLen);
	}
	TArrayView Mid(SizeType Index, SizeType Count = TNumericLimitsMax()) const
	{
		const SizeType Start = Clamp(Index);
		const SizeType Rest = ArrayNum - Start;
		return TArrayView(DataPtr + Start, Count < 0 ? 0 : (Count < Rest ? Count : Rest));
	}

	template <typename ComparisonType>
	SizeType Find(const ComparisonType& Item) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (DataPtr[Index] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	template <typename ComparisonType>
	bool Find(const ComparisonType& Item, SizeType& Index) const
	{
		Index = Find(Item);
		return Index != INDEX_NONE;
	}
	template <typename ComparisonType>
	bool Contains(const ComparisonType& Item) const { return Find(Item) != INDEX_NONE; }
	template <typename Predicate>
	ElementType* FindByPredicate(Predicate Pred) const
	{
		for (SizeType Index = 0; Index < ArrayNum; ++Index)
		{
			if (::Invoke(Pred, DataPtr[Index]))
			{
				return DataPtr + Index;
			}
		}
		return nullptr;
	}
	template <typename Predicate>
	bool ContainsByPredicate(Predicate Pred) const { return FindByPredicate(Pred) != nullptr; }
	template <typename Predicate>
	SizeType IndexOfByPredicate(Predicate Pred) const
	{
		ElementType* Found = FindByPredicate(Pred);
		return Found ? (SizeType)(Found - DataPtr) : INDEX_NONE;
	}

	FORCEINLINE ElementType* begin() const { return DataPtr; }
	FORCEINLINE ElementType* end() const { return DataPtr + ArrayNum; }

private:
	static constexpr SizeType TNumericLimitsMax() { return (SizeType)((~(uint64)0) >> (65 - sizeof(SizeType) * 8)); }
	SizeType Clamp(SizeType Count) const { return Count < 0 ? 0 : (Count > ArrayNum ? ArrayNum : Count); }

	ElementType* DataPtr;
	SizeType ArrayNum;
};

template <typename T, typename SizeType>
struct TIsContiguousContainer<TArrayView<T, SizeType>> { enum { Value = true }; };

template <typename ElementType>
auto MakeArrayView(ElementType* Pointer, int32 Size)
{
	return TArrayView<ElementType>(Pointer, Size);
}
template <typename ElementType, typename Allocator>
auto MakeArrayView(TArray<ElementType, Allocator>& Other)
{
	return TArrayView<ElementType>(Other);
}
template <typename ElementType, typename Allocator>
auto MakeArrayView(const TArray<ElementType, Allocator>& Other)
{
	return TArrayView<const ElementType>(Other);
}
template <typename ElementType, size_t N>
auto MakeArrayView(ElementType (&Other)[N])
{
	return TArrayView<ElementType>(Other);
}
template <typename T>
auto MakeConstArrayView(const T& Other)
{
	using ElementType = std::remove_pointer_t<decltype(::GetData(Other))>;
	return TArrayView<const std::remove_const_t<ElementType>>(::GetData(Other), (int32)::GetNum(Other));
}

template <typename InElementType, typename InAllocatorType>
template <typename OtherElementType, typename OtherSizeType>
TArray<InElementType, InAllocatorType>::TArray(const TArrayView<OtherElementType, OtherSizeType>& Other)
	: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
{
	CopyToEmpty(Other.GetData(), Other.Num(), 0);
}

template <typename InElementType, typename InAllocatorType>
template <typename OtherElementType, typename OtherSizeType>
TArray<InElementType, InAllocatorType>& TArray<InElementType, InAllocatorType>::operator=(const TArrayView<OtherElementType, OtherSizeType>& Other)
{
	DestructItems(GetData(), ArrayNum);
	CopyToEmpty(Other.GetData(), Other.Num(), ArrayMax);
	return *this;
}
