// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"

// An array whose removals leave holes. Holes form a free list; the next addition reuses the most
// recently freed slot, and iteration walks slots in index order. TSet and TMap keep their elements
// here, which is what gives them their iteration order.

struct FSparseArrayAllocationInfo
{
	int32 Index;
	void* Pointer;
};

template <typename InElementType, typename Allocator>
class TSparseArray
{
	struct FFreeListLink
	{
		int32 PrevFreeIndex;
		int32 NextFreeIndex;
	};

	struct FElementOrFreeListLink
	{
		alignas(InElementType) alignas(FFreeListLink) uint8 Bytes[sizeof(InElementType) > sizeof(FFreeListLink) ? sizeof(InElementType) : sizeof(FFreeListLink)];

		InElementType& Element() { return *reinterpret_cast<InElementType*>(Bytes); }
		const InElementType& Element() const { return *reinterpret_cast<const InElementType*>(Bytes); }
		FFreeListLink& Link() { return *reinterpret_cast<FFreeListLink*>(Bytes); }
	};

public:
	using ElementType = InElementType;

	TSparseArray() : FirstFreeIndex(INDEX_NONE), NumFreeIndices(0) {}
	TSparseArray(TSparseArray&& Other) : FirstFreeIndex(INDEX_NONE), NumFreeIndices(0) { MoveFrom(Other); }
	TSparseArray(const TSparseArray& Other) : FirstFreeIndex(INDEX_NONE), NumFreeIndices(0) { *this = Other; }
	~TSparseArray() { Empty(); }

	TSparseArray& operator=(TSparseArray&& Other)
	{
		if (this != &Other)
		{
			Empty();
			MoveFrom(Other);
		}
		return *this;
	}

	TSparseArray& operator=(const TSparseArray& Other)
	{
		if (this != &Other)
		{
			Empty(Other.Data.Num());
			Data.AddUninitialized(Other.Data.Num());
			AllocationFlags = Other.AllocationFlags;
			FirstFreeIndex = Other.FirstFreeIndex;
			NumFreeIndices = Other.NumFreeIndices;
			for (int32 Index = 0; Index < Other.Data.Num(); ++Index)
			{
				if (Other.IsAllocated(Index))
				{
					new (&Data[Index].Element()) ElementType(Other.Data[Index].Element());
				}
				else
				{
					Data[Index].Link() = const_cast<FElementOrFreeListLink&>(Other.Data[Index]).Link();
				}
			}
		}
		return *this;
	}

	// Reserves a slot: the most recently freed one, else a new one at the end.
	FSparseArrayAllocationInfo AddUninitialized()
	{
		int32 Index;
		if (NumFreeIndices)
		{
			Index = FirstFreeIndex;
			FirstFreeIndex = Data[FirstFreeIndex].Link().NextFreeIndex;
			--NumFreeIndices;
			if (NumFreeIndices)
			{
				Data[FirstFreeIndex].Link().PrevFreeIndex = INDEX_NONE;
			}
		}
		else
		{
			Index = Data.AddUninitialized(1);
			AllocationFlags.Add(false);
		}
		AllocationFlags[Index] = true;
		return FSparseArrayAllocationInfo{ Index, &Data[Index].Element() };
	}

	int32 Add(const ElementType& Element)
	{
		FSparseArrayAllocationInfo Allocation = AddUninitialized();
		new (Allocation.Pointer) ElementType(Element);
		return Allocation.Index;
	}

	int32 Add(ElementType&& Element)
	{
		FSparseArrayAllocationInfo Allocation = AddUninitialized();
		new (Allocation.Pointer) ElementType(MoveTempIfPossible(Element));
		return Allocation.Index;
	}

	template <typename... ArgsType>
	int32 Emplace(ArgsType&&... Args)
	{
		FSparseArrayAllocationInfo Allocation = AddUninitialized();
		new (Allocation.Pointer) ElementType(Forward<ArgsType>(Args)...);
		return Allocation.Index;
	}

	void RemoveAt(int32 Index, int32 Count = 1)
	{
		for (int32 It = Index; It < Index + Count; ++It)
		{
			check(IsAllocated(It));
			DestructItem(&Data[It].Element());
		}
		RemoveAtUninitialized(Index, Count);
	}

	// Frees slots without destroying their contents; each becomes the head of the free list.
	void RemoveAtUninitialized(int32 Index, int32 Count = 1)
	{
		for (; Count; --Count)
		{
			check(AllocationFlags[Index]);
			if (NumFreeIndices)
			{
				Data[FirstFreeIndex].Link().PrevFreeIndex = Index;
			}
			FFreeListLink& Link = Data[Index].Link();
			Link.PrevFreeIndex = INDEX_NONE;
			Link.NextFreeIndex = NumFreeIndices > 0 ? FirstFreeIndex : INDEX_NONE;
			FirstFreeIndex = Index;
			++NumFreeIndices;
			AllocationFlags[Index] = false;
			++Index;
		}
	}

	void Empty(int32 ExpectedNumElements = 0)
	{
		DestroyAll();
		Data.Empty(ExpectedNumElements);
		AllocationFlags.Empty(ExpectedNumElements);
		FirstFreeIndex = INDEX_NONE;
		NumFreeIndices = 0;
	}

	void Reset()
	{
		DestroyAll();
		Data.Reset();
		AllocationFlags.Reset();
		FirstFreeIndex = INDEX_NONE;
		NumFreeIndices = 0;
	}

	void Reserve(int32 ExpectedNumElements)
	{
		if (ExpectedNumElements > Data.Num())
		{
			Data.Reserve(ExpectedNumElements);
			AllocationFlags.Reserve(ExpectedNumElements);
		}
	}

	void Shrink()
	{
		// Trailing holes can go; holes in the middle stay so that indices remain stable.
		int32 MaxAllocatedIndex = INDEX_NONE;
		for (int32 Index = Data.Num() - 1; Index >= 0; --Index)
		{
			if (AllocationFlags[Index])
			{
				MaxAllocatedIndex = Index;
				break;
			}
		}
		const int32 FirstIndexToRemove = MaxAllocatedIndex + 1;
		if (FirstIndexToRemove < Data.Num())
		{
			if (NumFreeIndices > 0)
			{
				// Unlink the trailing free slots from the free list.
				int32 FreeIndex = FirstFreeIndex;
				while (FreeIndex != INDEX_NONE)
				{
					FFreeListLink& Link = Data[FreeIndex].Link();
					const int32 Next = Link.NextFreeIndex;
					if (FreeIndex >= FirstIndexToRemove)
					{
						if (Link.PrevFreeIndex != INDEX_NONE)
						{
							Data[Link.PrevFreeIndex].Link().NextFreeIndex = Link.NextFreeIndex;
						}
						if (Link.NextFreeIndex != INDEX_NONE)
						{
							Data[Link.NextFreeIndex].Link().PrevFreeIndex = Link.PrevFreeIndex;
						}
						if (FreeIndex == FirstFreeIndex)
						{
							FirstFreeIndex = Next;
						}
						--NumFreeIndices;
					}
					FreeIndex = Next;
				}
			}
			Data.RemoveAt(FirstIndexToRemove, Data.Num() - FirstIndexToRemove, EAllowShrinking::No);
			AllocationFlags.RemoveAt(FirstIndexToRemove, AllocationFlags.Num() - FirstIndexToRemove, EAllowShrinking::No);
		}
		Data.Shrink();
		AllocationFlags.Shrink();
	}

	// Moves elements down to close the holes; indices change.
	bool Compact()
	{
		if (NumFreeIndices == 0)
		{
			return false;
		}
		TSparseArray Compacted;
		Compacted.Reserve(Num());
		for (int32 Index = 0; Index < Data.Num(); ++Index)
		{
			if (AllocationFlags[Index])
			{
				FSparseArrayAllocationInfo Allocation = Compacted.AddUninitialized();
				RelocateConstructItems<ElementType>(Allocation.Pointer, &Data[Index].Element(), 1);
			}
		}
		Data.Reset();
		AllocationFlags.Reset();
		NumFreeIndices = 0;
		FirstFreeIndex = INDEX_NONE;
		*this = MoveTemp(Compacted);
		return true;
	}

	FORCEINLINE int32 Num() const { return Data.Num() - NumFreeIndices; }
	FORCEINLINE bool IsEmpty() const { return Num() == 0; }
	FORCEINLINE int32 GetMaxIndex() const { return Data.Num(); }
	FORCEINLINE bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Data.Num() && AllocationFlags[Index]; }
	FORCEINLINE bool IsAllocated(int32 Index) const { return AllocationFlags[Index]; }
	FORCEINLINE bool IsCompact() const { return NumFreeIndices == 0; }
	SIZE_T GetAllocatedSize() const { return Data.GetAllocatedSize() + AllocationFlags.GetAllocatedSize(); }

	FORCEINLINE ElementType& operator[](int32 Index)
	{
		checkSlow(IsValidIndex(Index));
		return Data.GetData()[Index].Element();
	}
	FORCEINLINE const ElementType& operator[](int32 Index) const
	{
		checkSlow(IsValidIndex(Index));
		return Data.GetData()[Index].Element();
	}

	int32 PointerToIndex(const ElementType* Ptr) const
	{
		return (int32)((const FElementOrFreeListLink*)Ptr - Data.GetData());
	}

	bool operator==(const TSparseArray& Other) const
	{
		if (GetMaxIndex() != Other.GetMaxIndex())
		{
			return false;
		}
		for (int32 Index = 0; Index < GetMaxIndex(); ++Index)
		{
			const bool bAllocated = IsAllocated(Index);
			if (bAllocated != Other.IsAllocated(Index) || (bAllocated && !((*this)[Index] == Other[Index])))
			{
				return false;
			}
		}
		return true;
	}

	template <bool bConst>
	class TBaseIterator
	{
		using ArrayType = std::conditional_t<bConst, const TSparseArray, TSparseArray>;
		using ItElementType = std::conditional_t<bConst, const ElementType, ElementType>;

	public:
		explicit TBaseIterator(ArrayType& InArray, int32 StartIndex = 0) : Array(InArray), Index(StartIndex) { Advance(); }

		TBaseIterator& operator++()
		{
			++Index;
			Advance();
			return *this;
		}
		explicit operator bool() const { return Index < Array.GetMaxIndex(); }
		bool operator!() const { return !(bool)*this; }
		ItElementType& operator*() const { return Array[Index]; }
		ItElementType* operator->() const { return &Array[Index]; }
		int32 GetIndex() const { return Index; }
		bool operator==(const TBaseIterator& Rhs) const { return Index == Rhs.Index && &Array == &Rhs.Array; }
		bool operator!=(const TBaseIterator& Rhs) const { return !(*this == Rhs); }

	protected:
		void Advance()
		{
			const int32 MaxIndex = Array.GetMaxIndex();
			while (Index < MaxIndex && !Array.AllocationFlags[Index])
			{
				++Index;
			}
		}

		ArrayType& Array;
		int32 Index;
	};

	class TIterator : public TBaseIterator<false>
	{
	public:
		explicit TIterator(TSparseArray& InArray, int32 StartIndex = 0) : TBaseIterator<false>(InArray, StartIndex) {}
		void RemoveCurrent() { this->Array.RemoveAt(this->Index); }
	};
	using TConstIterator = TBaseIterator<true>;

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	TIterator begin() { return TIterator(*this, 0); }
	TConstIterator begin() const { return TConstIterator(*this, 0); }
	TIterator end() { return TIterator(*this, GetMaxIndex()); }
	TConstIterator end() const { return TConstIterator(*this, GetMaxIndex()); }

private:
	void DestroyAll()
	{
		if constexpr (!std::is_trivially_destructible_v<ElementType>)
		{
			for (int32 Index = 0; Index < Data.Num(); ++Index)
			{
				if (AllocationFlags[Index])
				{
					Data[Index].Element().~ElementType();
				}
			}
		}
	}

	void MoveFrom(TSparseArray& Other)
	{
		Data = MoveTemp(Other.Data);
		AllocationFlags = MoveTemp(Other.AllocationFlags);
		FirstFreeIndex = Other.FirstFreeIndex;
		NumFreeIndices = Other.NumFreeIndices;
		Other.FirstFreeIndex = INDEX_NONE;
		Other.NumFreeIndices = 0;
	}

	TArray<FElementOrFreeListLink> Data;
	TArray<bool> AllocationFlags;
	int32 FirstFreeIndex;
	int32 NumFreeIndices;
};
