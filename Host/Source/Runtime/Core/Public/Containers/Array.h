// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/AssertionMacros.h"
#include "HAL/UnrealMemory.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/MemoryOps.h"
#include "Templates/Less.h"
#include "Templates/Sorting.h"
#include "Templates/TypeHash.h"
#include "Templates/Invoke.h"
#include "Containers/ContainersFwd.h"
#include "Misc/UEOps.h"
#include "Containers/ContainerAllocationPolicies.h"
#include <initializer_list>

// A dynamically sized array of values. With the default allocator its layout is
// { T* Data; int32 ArrayNum; int32 ArrayMax; } so that reflection can walk any TArray generically.

template <typename ContainerType, typename ElementType, typename SizeType>
class TIndexedContainerIterator
{
public:
	TIndexedContainerIterator(ContainerType& InContainer, SizeType StartIndex = 0) : Container(InContainer), Index(StartIndex) {}

	TIndexedContainerIterator& operator++()
	{
		++Index;
		return *this;
	}
	TIndexedContainerIterator operator++(int)
	{
		TIndexedContainerIterator Tmp(*this);
		++Index;
		return Tmp;
	}
	TIndexedContainerIterator& operator--()
	{
		--Index;
		return *this;
	}
	TIndexedContainerIterator& operator+=(SizeType Offset)
	{
		Index += Offset;
		return *this;
	}

	ElementType& operator*() const { return Container[Index]; }
	ElementType* operator->() const { return &Container[Index]; }
	explicit operator bool() const { return Container.IsValidIndex(Index); }
	SizeType GetIndex() const { return Index; }
	void Reset() { Index = 0; }
	void SetToEnd() { Index = Container.Num(); }

	void RemoveCurrent()
	{
		Container.RemoveAt(Index);
		--Index;
	}
	void RemoveCurrentSwap()
	{
		Container.RemoveAtSwap(Index);
		--Index;
	}

	bool operator==(const TIndexedContainerIterator& Rhs) const { return &Container == &Rhs.Container && Index == Rhs.Index; }
	bool operator!=(const TIndexedContainerIterator& Rhs) const { return !(*this == Rhs); }

private:
	ContainerType& Container;
	SizeType Index;
};

// Range-for iterator that asserts when the array changes size during iteration.
template <typename ElementType, typename SizeType>
struct TCheckedPointerIterator
{
	TCheckedPointerIterator(const SizeType& InNum, ElementType* InPtr) : Ptr(InPtr), CurrentNum(InNum), InitialNum(InNum) {}

	FORCEINLINE ElementType& operator*() const { return *Ptr; }
	FORCEINLINE TCheckedPointerIterator& operator++()
	{
		++Ptr;
		return *this;
	}
	FORCEINLINE TCheckedPointerIterator& operator--()
	{
		--Ptr;
		return *this;
	}
	// The engine's form: == (and so !=, which ends a ranged-for) and < are the operators of
	// Misc/UEOps.h. A size change is reported (ensure), not fatal, as in the engine.
	[[nodiscard]] FORCEINLINE bool UEOpEquals(const TCheckedPointerIterator& Rhs) const
	{
		ensureMsgf(CurrentNum == InitialNum, TEXT("Array has changed during ranged-for iteration!"));
		return Ptr == Rhs.Ptr;
	}
	[[nodiscard]] FORCEINLINE bool UEOpLessThan(const TCheckedPointerIterator& Rhs) const
	{
		ensureMsgf(CurrentNum == InitialNum, TEXT("Array has changed during ranged-for iteration!"));
		return Ptr < Rhs.Ptr;
	}

private:
	ElementType* Ptr;
	const SizeType& CurrentNum;
	SizeType InitialNum;
};

template <typename InElementType, typename InAllocatorType>
class TArray
{
	template <typename OtherInElementType, typename OtherAllocator>
	friend class TArray;

public:
	using SizeType = typename InAllocatorType::SizeType;
	using ElementType = InElementType;
	using AllocatorType = InAllocatorType;
	using ElementAllocatorType = std::conditional_t<AllocatorType::NeedsElementType, typename AllocatorType::template ForElementType<ElementType>, typename AllocatorType::template ForElementType<ElementType>>;

	using TIterator = TIndexedContainerIterator<TArray, ElementType, SizeType>;
	using TConstIterator = TIndexedContainerIterator<const TArray, const ElementType, SizeType>;
	using RangedForIteratorType = TCheckedPointerIterator<ElementType, SizeType>;
	using RangedForConstIteratorType = TCheckedPointerIterator<const ElementType, SizeType>;

	FORCEINLINE TArray() : ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity()) {}

	FORCEINLINE TArray(const ElementType* Ptr, SizeType Count)
		: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
	{
		check(Ptr != nullptr || Count == 0);
		CopyToEmpty(Ptr, Count, 0);
	}

	TArray(std::initializer_list<InElementType> InitList)
		: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
	{
		CopyToEmpty(InitList.begin(), (SizeType)InitList.size(), 0);
	}

	template <typename OtherElementType, typename OtherAllocator>
	FORCEINLINE explicit TArray(const TArray<OtherElementType, OtherAllocator>& Other)
		: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
	{
		CopyToEmpty(Other.GetData(), Other.Num(), 0);
	}

	template <typename OtherElementType, typename OtherSizeType>
	explicit TArray(const TArrayView<OtherElementType, OtherSizeType>& Other);

	FORCEINLINE TArray(const TArray& Other)
		: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
	{
		CopyToEmpty(Other.GetData(), Other.Num(), 0);
	}

	FORCEINLINE TArray(const TArray& Other, SizeType ExtraSlack)
		: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
	{
		const SizeType OtherNum = Other.Num();
		if (OtherNum + ExtraSlack > 0)
		{
			ResizeForCopy(OtherNum + ExtraSlack, ArrayMax);
		}
		ConstructItems<ElementType>((void*)GetData(), Other.GetData(), OtherNum);
		ArrayNum = OtherNum;
	}

	FORCEINLINE TArray(TArray&& Other)
		: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
	{
		MoveOrCopy(*this, Other);
	}

	template <typename OtherElementType, typename OtherAllocator, std::enable_if_t<std::is_same_v<std::remove_cv_t<OtherElementType>, std::remove_cv_t<ElementType>> && !std::is_same_v<OtherAllocator, AllocatorType>>* = nullptr>
	FORCEINLINE explicit TArray(TArray<OtherElementType, OtherAllocator>&& Other)
		: ArrayNum(0), ArrayMax(AllocatorInstance.GetInitialCapacity())
	{
		MoveOrCopy(*this, Other);
	}

	~TArray()
	{
		DestructItems(GetData(), ArrayNum);
	}

	TArray& operator=(std::initializer_list<InElementType> InitList)
	{
		DestructItems(GetData(), ArrayNum);
		CopyToEmpty(InitList.begin(), (SizeType)InitList.size(), ArrayMax);
		return *this;
	}

	template <typename OtherAllocator>
	TArray& operator=(const TArray<ElementType, OtherAllocator>& Other)
	{
		DestructItems(GetData(), ArrayNum);
		CopyToEmpty(Other.GetData(), Other.Num(), ArrayMax);
		return *this;
	}

	TArray& operator=(const TArray& Other)
	{
		if (this != &Other)
		{
			DestructItems(GetData(), ArrayNum);
			CopyToEmpty(Other.GetData(), Other.Num(), ArrayMax);
		}
		return *this;
	}

	template <typename OtherElementType, typename OtherSizeType>
	TArray& operator=(const TArrayView<OtherElementType, OtherSizeType>& Other);

	TArray& operator=(TArray&& Other)
	{
		if (this != &Other)
		{
			DestructItems(GetData(), ArrayNum);
			ArrayNum = 0;
			MoveOrCopy(*this, Other);
		}
		return *this;
	}

	FORCEINLINE ElementType* GetData() UE_LIFETIMEBOUND { return (ElementType*)AllocatorInstance.GetAllocation(); }
	FORCEINLINE const ElementType* GetData() const UE_LIFETIMEBOUND { return (const ElementType*)AllocatorInstance.GetAllocation(); }
	FORCEINLINE static constexpr uint32 GetTypeSize() { return sizeof(ElementType); }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return AllocatorInstance.GetAllocatedSize(ArrayMax, sizeof(ElementType)); }
	FORCEINLINE SizeType GetSlack() const { return ArrayMax - ArrayNum; }
	FORCEINLINE void CheckInvariants() const { checkSlow((ArrayNum >= 0) & (ArrayMax >= ArrayNum)); }

	FORCEINLINE void RangeCheck(SizeType Index) const
	{
		CheckInvariants();
		checkf((Index >= 0) & (Index < ArrayNum), TEXT("Array index out of bounds: %lld into an array of size %lld"), (long long)Index, (long long)ArrayNum);
	}

	FORCEINLINE void RangeCheck(SizeType Index, SizeType Count) const
	{
		CheckInvariants();
		checkf((Count >= 0) & (Index >= 0) & (Index + Count <= ArrayNum), TEXT("Array range out of bounds: index %lld, count %lld, size %lld"), (long long)Index, (long long)Count, (long long)ArrayNum);
	}

	FORCEINLINE bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < ArrayNum; }
	[[nodiscard]] FORCEINLINE bool IsEmpty() const { return ArrayNum == 0; }
	FORCEINLINE SizeType Num() const { return ArrayNum; }
	FORCEINLINE SIZE_T NumBytes() const { return (SIZE_T)ArrayNum * sizeof(ElementType); }
	FORCEINLINE SizeType Max() const { return ArrayMax; }

	FORCEINLINE ElementType& operator[](SizeType Index) UE_LIFETIMEBOUND
	{
		RangeCheck(Index);
		return GetData()[Index];
	}
	FORCEINLINE const ElementType& operator[](SizeType Index) const UE_LIFETIMEBOUND
	{
		RangeCheck(Index);
		return GetData()[Index];
	}

	template <typename ET = InElementType>
	FORCEINLINE ElementType Pop(EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		RangeCheck(0);
		ElementType Result = MoveTempIfPossible(GetData()[ArrayNum - 1]);
		RemoveAtImpl(ArrayNum - 1, 1, AllowShrinking == EAllowShrinking::Yes);
		return Result;
	}

	FORCEINLINE void Push(ElementType&& Item) { Add(MoveTempIfPossible(Item)); }
	FORCEINLINE void Push(const ElementType& Item) { Add(Item); }

	FORCEINLINE ElementType& Top() UE_LIFETIMEBOUND { return Last(); }
	FORCEINLINE const ElementType& Top() const UE_LIFETIMEBOUND { return Last(); }

	[[nodiscard]] FORCEINLINE ElementType& Last(SizeType IndexFromTheEnd = 0) UE_LIFETIMEBOUND
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return GetData()[ArrayNum - IndexFromTheEnd - 1];
	}
	[[nodiscard]] FORCEINLINE const ElementType& Last(SizeType IndexFromTheEnd = 0) const UE_LIFETIMEBOUND
	{
		RangeCheck(ArrayNum - IndexFromTheEnd - 1);
		return GetData()[ArrayNum - IndexFromTheEnd - 1];
	}

	FORCEINLINE void Shrink()
	{
		if (ArrayMax != ArrayNum)
		{
			ResizeTo(ArrayNum);
		}
	}

	FORCEINLINE bool Find(const ElementType& Item, SizeType& Index) const
	{
		Index = this->Find(Item);
		return Index != INDEX_NONE;
	}

	SizeType Find(const ElementType& Item) const
	{
		const ElementType* RESTRICT Start = GetData();
		for (const ElementType* RESTRICT Data = Start, *RESTRICT DataEnd = Data + ArrayNum; Data != DataEnd; ++Data)
		{
			if (*Data == Item)
			{
				return static_cast<SizeType>(Data - Start);
			}
		}
		return INDEX_NONE;
	}

	FORCEINLINE bool FindLast(const ElementType& Item, SizeType& Index) const
	{
		Index = this->FindLast(Item);
		return Index != INDEX_NONE;
	}

	SizeType FindLast(const ElementType& Item) const
	{
		for (const ElementType* RESTRICT Start = GetData(), *RESTRICT Data = Start + ArrayNum; Data != Start;)
		{
			--Data;
			if (*Data == Item)
			{
				return static_cast<SizeType>(Data - Start);
			}
		}
		return INDEX_NONE;
	}

	template <typename Predicate>
	SizeType FindLastByPredicate(Predicate Pred, SizeType Count) const
	{
		check(Count >= 0 && Count <= this->Num());
		for (const ElementType* RESTRICT Start = GetData(), *RESTRICT Data = Start + Count; Data != Start;)
		{
			--Data;
			if (::Invoke(Pred, *Data))
			{
				return static_cast<SizeType>(Data - Start);
			}
		}
		return INDEX_NONE;
	}

	template <typename Predicate>
	FORCEINLINE SizeType FindLastByPredicate(Predicate Pred) const
	{
		return FindLastByPredicate(Pred, ArrayNum);
	}

	template <typename KeyType>
	SizeType IndexOfByKey(const KeyType& Key) const
	{
		const ElementType* RESTRICT Start = GetData();
		for (const ElementType* RESTRICT Data = Start, *RESTRICT DataEnd = Start + ArrayNum; Data != DataEnd; ++Data)
		{
			if (*Data == Key)
			{
				return static_cast<SizeType>(Data - Start);
			}
		}
		return INDEX_NONE;
	}

	template <typename Predicate>
	SizeType IndexOfByPredicate(Predicate Pred) const
	{
		const ElementType* RESTRICT Start = GetData();
		for (const ElementType* RESTRICT Data = Start, *RESTRICT DataEnd = Start + ArrayNum; Data != DataEnd; ++Data)
		{
			if (::Invoke(Pred, *Data))
			{
				return static_cast<SizeType>(Data - Start);
			}
		}
		return INDEX_NONE;
	}

	template <typename KeyType>
	FORCEINLINE const ElementType* FindByKey(const KeyType& Key) const
	{
		return const_cast<TArray*>(this)->FindByKey(Key);
	}

	template <typename KeyType>
	ElementType* FindByKey(const KeyType& Key)
	{
		for (ElementType* RESTRICT Data = GetData(), *RESTRICT DataEnd = Data + ArrayNum; Data != DataEnd; ++Data)
		{
			if (*Data == Key)
			{
				return Data;
			}
		}
		return nullptr;
	}

	template <typename Predicate>
	FORCEINLINE const ElementType* FindByPredicate(Predicate Pred) const
	{
		return const_cast<TArray*>(this)->FindByPredicate(Pred);
	}

	template <typename Predicate>
	ElementType* FindByPredicate(Predicate Pred)
	{
		for (ElementType* RESTRICT Data = GetData(), *RESTRICT DataEnd = Data + ArrayNum; Data != DataEnd; ++Data)
		{
			if (::Invoke(Pred, *Data))
			{
				return Data;
			}
		}
		return nullptr;
	}

	template <typename Predicate>
	TArray<ElementType> FilterByPredicate(Predicate Pred) const
	{
		TArray<ElementType> FilterResults;
		for (const ElementType* RESTRICT Data = GetData(), *RESTRICT DataEnd = Data + ArrayNum; Data != DataEnd; ++Data)
		{
			if (::Invoke(Pred, *Data))
			{
				FilterResults.Add(*Data);
			}
		}
		return FilterResults;
	}

	template <typename ComparisonType>
	bool Contains(const ComparisonType& Item) const
	{
		for (const ElementType* RESTRICT Data = GetData(), *RESTRICT DataEnd = Data + ArrayNum; Data != DataEnd; ++Data)
		{
			if (*Data == Item)
			{
				return true;
			}
		}
		return false;
	}

	template <typename Predicate>
	FORCEINLINE bool ContainsByPredicate(Predicate Pred) const
	{
		return FindByPredicate(Pred) != nullptr;
	}

	bool operator==(const TArray& OtherArray) const
	{
		const SizeType Count = Num();
		return Count == OtherArray.Num() && CompareItems(GetData(), OtherArray.GetData(), Count);
	}
	FORCEINLINE bool operator!=(const TArray& OtherArray) const { return !(*this == OtherArray); }

	SizeType AddUninitialized()
	{
		CheckInvariants();
		const SizeType OldNum = ArrayNum;
		if (++ArrayNum > ArrayMax)
		{
			ResizeGrow(OldNum);
		}
		return OldNum;
	}

	SizeType AddUninitialized(SizeType Count)
	{
		CheckInvariants();
		checkf(Count >= 0, TEXT("Negative count %lld passed to AddUninitialized"), (long long)Count);
		const SizeType OldNum = ArrayNum;
		if ((ArrayNum += Count) > ArrayMax)
		{
			ResizeGrow(OldNum);
		}
		return OldNum;
	}

	void InsertUninitialized(SizeType Index, SizeType Count = 1)
	{
		CheckInvariants();
		checkf((Count >= 0) & (Index >= 0) & (Index <= ArrayNum), TEXT("Insert out of bounds: index %lld into an array of size %lld"), (long long)Index, (long long)ArrayNum);
		const SizeType OldNum = ArrayNum;
		if ((ArrayNum += Count) > ArrayMax)
		{
			ResizeGrow(OldNum);
		}
		ElementType* Data = GetData() + Index;
		RelocateConstructItems<ElementType>(Data + Count, Data, OldNum - Index);
	}

	void InsertZeroed(SizeType Index, SizeType Count = 1)
	{
		InsertUninitialized(Index, Count);
		FMemory::Memzero((void*)(GetData() + Index), Count * sizeof(ElementType));
	}

	ElementType& InsertZeroed_GetRef(SizeType Index) UE_LIFETIMEBOUND
	{
		InsertZeroed(Index, 1);
		return GetData()[Index];
	}

	void InsertDefaulted(SizeType Index, SizeType Count = 1)
	{
		InsertUninitialized(Index, Count);
		DefaultConstructItems<ElementType>((void*)(GetData() + Index), Count);
	}

	ElementType& InsertDefaulted_GetRef(SizeType Index) UE_LIFETIMEBOUND
	{
		InsertDefaulted(Index, 1);
		return GetData()[Index];
	}

	SizeType Insert(std::initializer_list<ElementType> InitList, const SizeType InIndex)
	{
		const SizeType NumNewElements = (SizeType)InitList.size();
		InsertUninitialized(InIndex, NumNewElements);
		ConstructItems<ElementType>(GetData() + InIndex, InitList.begin(), NumNewElements);
		return InIndex;
	}

	template <typename OtherAllocator>
	SizeType Insert(const TArray<ElementType, OtherAllocator>& Items, const SizeType InIndex)
	{
		check((const void*)this != (const void*)&Items);
		const SizeType NumNewElements = Items.Num();
		InsertUninitialized(InIndex, NumNewElements);
		ConstructItems<ElementType>(GetData() + InIndex, Items.GetData(), NumNewElements);
		return InIndex;
	}

	template <typename OtherAllocator>
	SizeType Insert(TArray<ElementType, OtherAllocator>&& Items, const SizeType InIndex)
	{
		check((const void*)this != (const void*)&Items);
		const SizeType NumNewElements = Items.Num();
		InsertUninitialized(InIndex, NumNewElements);
		RelocateConstructItems<ElementType>(GetData() + InIndex, Items.GetData(), NumNewElements);
		Items.ArrayNum = 0;
		return InIndex;
	}

	SizeType Insert(const ElementType* Ptr, SizeType Count, SizeType Index)
	{
		check(Ptr != nullptr || Count == 0);
		InsertUninitialized(Index, Count);
		ConstructItems<ElementType>(GetData() + Index, Ptr, Count);
		return Index;
	}

	SizeType Insert(ElementType&& Item, SizeType Index)
	{
		CheckAddress(&Item);
		InsertUninitialized(Index, 1);
		new (GetData() + Index) ElementType(MoveTempIfPossible(Item));
		return Index;
	}

	SizeType Insert(const ElementType& Item, SizeType Index)
	{
		CheckAddress(&Item);
		InsertUninitialized(Index, 1);
		new (GetData() + Index) ElementType(Item);
		return Index;
	}

	ElementType& Insert_GetRef(ElementType&& Item, SizeType Index) UE_LIFETIMEBOUND
	{
		Insert(MoveTempIfPossible(Item), Index);
		return GetData()[Index];
	}

	ElementType& Insert_GetRef(const ElementType& Item, SizeType Index) UE_LIFETIMEBOUND
	{
		Insert(Item, Index);
		return GetData()[Index];
	}

	template <typename... ArgsType>
	FORCEINLINE void EmplaceAt(SizeType Index, ArgsType&&... Args)
	{
		InsertUninitialized(Index, 1);
		new (GetData() + Index) ElementType(Forward<ArgsType>(Args)...);
	}

	template <typename... ArgsType>
	FORCEINLINE ElementType& EmplaceAt_GetRef(SizeType Index, ArgsType&&... Args) UE_LIFETIMEBOUND
	{
		InsertUninitialized(Index, 1);
		return *new (GetData() + Index) ElementType(Forward<ArgsType>(Args)...);
	}

	FORCEINLINE void RemoveAt(SizeType Index, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		RangeCheck(Index);
		RemoveAtImpl(Index, 1, AllowShrinking == EAllowShrinking::Yes);
	}

	template <typename CountType>
	FORCEINLINE void RemoveAt(SizeType Index, CountType Count, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		static_assert(!std::is_same_v<CountType, bool>, "TArray::RemoveAt: unexpected bool passed as the Count argument");
		RangeCheck(Index, (SizeType)Count);
		RemoveAtImpl(Index, (SizeType)Count, AllowShrinking == EAllowShrinking::Yes);
	}

	FORCEINLINE void RemoveAtSwap(SizeType Index, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		RangeCheck(Index);
		RemoveAtSwapImpl(Index, 1, AllowShrinking == EAllowShrinking::Yes);
	}

	template <typename CountType>
	FORCEINLINE void RemoveAtSwap(SizeType Index, CountType Count, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		static_assert(!std::is_same_v<CountType, bool>, "TArray::RemoveAtSwap: unexpected bool passed as the Count argument");
		RangeCheck(Index, (SizeType)Count);
		RemoveAtSwapImpl(Index, (SizeType)Count, AllowShrinking == EAllowShrinking::Yes);
	}

	// Destroys the elements and keeps the allocation (growing it only if NewSize is larger).
	void Reset(SizeType NewSize = 0)
	{
		if (NewSize < 0)
		{
			NewSize = 0;
		}
		if (NewSize <= ArrayMax)
		{
			DestructItems(GetData(), ArrayNum);
			ArrayNum = 0;
		}
		else
		{
			Empty(NewSize);
		}
	}

	// Destroys the elements and sizes the allocation to Slack.
	void Empty(SizeType Slack = 0)
	{
		DestructItems(GetData(), ArrayNum);
		checkSlow(Slack >= 0);
		ArrayNum = 0;
		if (ArrayMax != Slack)
		{
			ResizeTo(Slack);
		}
	}

	void SetNum(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		checkf(NewNum >= 0, TEXT("SetNum with a negative size %lld"), (long long)NewNum);
		if (NewNum > Num())
		{
			const SizeType Diff = NewNum - ArrayNum;
			const SizeType Index = AddUninitialized(Diff);
			DefaultConstructItems<ElementType>((uint8*)AllocatorInstance.GetAllocation() + Index * sizeof(ElementType), Diff);
		}
		else if (NewNum < Num())
		{
			RemoveAt(NewNum, Num() - NewNum, AllowShrinking);
		}
	}

	void SetNumZeroed(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		checkf(NewNum >= 0, TEXT("SetNumZeroed with a negative size %lld"), (long long)NewNum);
		if (NewNum > Num())
		{
			AddZeroed(NewNum - Num());
		}
		else if (NewNum < Num())
		{
			RemoveAt(NewNum, Num() - NewNum, AllowShrinking);
		}
	}

	void SetNumUninitialized(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		checkf(NewNum >= 0, TEXT("SetNumUninitialized with a negative size %lld"), (long long)NewNum);
		if (NewNum > Num())
		{
			AddUninitialized(NewNum - Num());
		}
		else if (NewNum < Num())
		{
			RemoveAt(NewNum, Num() - NewNum, AllowShrinking);
		}
	}

	void SetNumUnsafeInternal(SizeType NewNum)
	{
		checkSlow(NewNum <= Num() && NewNum >= 0);
		ArrayNum = NewNum;
	}

	template <typename OtherElementType, typename OtherAllocatorType>
	void Append(const TArray<OtherElementType, OtherAllocatorType>& Source)
	{
		check((void*)this != (void*)&Source);
		const SizeType SourceCount = Source.Num();
		if (!SourceCount)
		{
			return;
		}
		Reserve(ArrayNum + SourceCount);
		ConstructItems<ElementType>(GetData() + ArrayNum, Source.GetData(), SourceCount);
		ArrayNum += SourceCount;
	}

	template <typename OtherElementType, typename OtherAllocator>
	void Append(TArray<OtherElementType, OtherAllocator>&& Source)
	{
		check((void*)this != (void*)&Source);
		const SizeType SourceCount = Source.Num();
		if (!SourceCount)
		{
			return;
		}
		Reserve(ArrayNum + SourceCount);
		RelocateConstructItems<ElementType>(GetData() + ArrayNum, Source.GetData(), SourceCount);
		Source.ArrayNum = 0;
		ArrayNum += SourceCount;
	}

	template <typename RangeType, std::enable_if_t<TIsContiguousContainer<RangeType>::Value && !TIsTArray<std::decay_t<RangeType>>::Value>* = nullptr>
	void Append(RangeType&& Source)
	{
		const SizeType SourceCount = (SizeType)::GetNum(Source);
		if (!SourceCount)
		{
			return;
		}
		Reserve(ArrayNum + SourceCount);
		ConstructItems<ElementType>(GetData() + ArrayNum, ::GetData(Source), SourceCount);
		ArrayNum += SourceCount;
	}

	void Append(const ElementType* Ptr, SizeType Count)
	{
		check(Ptr != nullptr || Count == 0);
		const SizeType Pos = AddUninitialized(Count);
		ConstructItems<ElementType>(GetData() + Pos, Ptr, Count);
	}

	FORCEINLINE void Append(std::initializer_list<ElementType> InitList)
	{
		const SizeType Count = (SizeType)InitList.size();
		const SizeType Pos = AddUninitialized(Count);
		ConstructItems<ElementType>(GetData() + Pos, InitList.begin(), Count);
	}

	TArray& operator+=(TArray&& Other)
	{
		Append(MoveTemp(Other));
		return *this;
	}
	TArray& operator+=(const TArray& Other)
	{
		Append(Other);
		return *this;
	}
	TArray& operator+=(std::initializer_list<ElementType> InitList)
	{
		Append(InitList);
		return *this;
	}

	template <typename... ArgsType>
	FORCEINLINE SizeType Emplace(ArgsType&&... Args)
	{
		const SizeType Index = AddUninitialized();
		new (GetData() + Index) ElementType(Forward<ArgsType>(Args)...);
		return Index;
	}

	template <typename... ArgsType>
	FORCEINLINE ElementType& Emplace_GetRef(ArgsType&&... Args) UE_LIFETIMEBOUND
	{
		const SizeType Index = AddUninitialized();
		return *new (GetData() + Index) ElementType(Forward<ArgsType>(Args)...);
	}

	FORCEINLINE SizeType Add(ElementType&& Item)
	{
		CheckAddress(&Item);
		return Emplace(MoveTempIfPossible(Item));
	}
	FORCEINLINE SizeType Add(const ElementType& Item)
	{
		CheckAddress(&Item);
		return Emplace(Item);
	}
	FORCEINLINE ElementType& Add_GetRef(ElementType&& Item) UE_LIFETIMEBOUND
	{
		CheckAddress(&Item);
		return Emplace_GetRef(MoveTempIfPossible(Item));
	}
	FORCEINLINE ElementType& Add_GetRef(const ElementType& Item) UE_LIFETIMEBOUND
	{
		CheckAddress(&Item);
		return Emplace_GetRef(Item);
	}

	SizeType AddZeroed(SizeType Count = 1)
	{
		const SizeType Index = AddUninitialized(Count);
		FMemory::Memzero((uint8*)AllocatorInstance.GetAllocation() + Index * sizeof(ElementType), Count * sizeof(ElementType));
		return Index;
	}

	ElementType& AddZeroed_GetRef() UE_LIFETIMEBOUND
	{
		const SizeType Index = AddUninitialized();
		ElementType* Ptr = GetData() + Index;
		FMemory::Memzero((void*)Ptr, sizeof(ElementType));
		return *Ptr;
	}

	SizeType AddDefaulted(SizeType Count = 1)
	{
		const SizeType Index = AddUninitialized(Count);
		DefaultConstructItems<ElementType>((uint8*)AllocatorInstance.GetAllocation() + Index * sizeof(ElementType), Count);
		return Index;
	}

	ElementType& AddDefaulted_GetRef() UE_LIFETIMEBOUND
	{
		const SizeType Index = AddUninitialized();
		ElementType* Ptr = GetData() + Index;
		DefaultConstructItems<ElementType>((void*)Ptr, 1);
		return *Ptr;
	}

	FORCEINLINE SizeType AddUnique(ElementType&& Item) { return AddUniqueImpl(MoveTempIfPossible(Item)); }
	FORCEINLINE SizeType AddUnique(const ElementType& Item) { return AddUniqueImpl(Item); }

	FORCEINLINE void Reserve(SizeType Number)
	{
		checkf(Number >= 0, TEXT("Reserve with a negative size %lld"), (long long)Number);
		if (Number > ArrayMax)
		{
			ResizeForCopy(Number, ArrayMax);
		}
	}

	void Init(const ElementType& Element, SizeType Number)
	{
		Empty(Number);
		for (SizeType Index = 0; Index < Number; ++Index)
		{
			new (GetData() + Index) ElementType(Element);
		}
		ArrayNum = Number;
	}

	SizeType RemoveSingle(const ElementType& Item)
	{
		const SizeType Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAtImpl(Index, 1, true);
		return 1;
	}

	SizeType Remove(const ElementType& Item)
	{
		CheckAddress(&Item);
		return RemoveAll([&Item](const ElementType& Element) { return Element == Item; });
	}

	template <class PREDICATE_CLASS>
	SizeType RemoveAll(const PREDICATE_CLASS& Predicate)
	{
		const SizeType OriginalNum = ArrayNum;
		if (!OriginalNum)
		{
			return 0;
		}
		// Compact in place, keeping the order of the survivors.
		ElementType* Data = GetData();
		SizeType WriteIndex = 0;
		for (SizeType ReadIndex = 0; ReadIndex < OriginalNum; ++ReadIndex)
		{
			if (::Invoke(Predicate, Data[ReadIndex]))
			{
				DestructItem(Data + ReadIndex);
			}
			else
			{
				if (WriteIndex != ReadIndex)
				{
					RelocateConstructItems<ElementType>(Data + WriteIndex, Data + ReadIndex, 1);
				}
				++WriteIndex;
			}
		}
		ArrayNum = WriteIndex;
		return OriginalNum - ArrayNum;
	}

	template <class PREDICATE_CLASS>
	void RemoveAllSwap(const PREDICATE_CLASS& Predicate, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		for (SizeType ItemIndex = 0; ItemIndex < Num();)
		{
			if (::Invoke(Predicate, (*this)[ItemIndex]))
			{
				RemoveAtSwap(ItemIndex, 1, AllowShrinking);
			}
			else
			{
				++ItemIndex;
			}
		}
	}

	SizeType RemoveSingleSwap(const ElementType& Item, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		const SizeType Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAtSwap(Index, 1, AllowShrinking);
		return 1;
	}

	SizeType RemoveSwap(const ElementType& Item, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		CheckAddress(&Item);
		const SizeType OriginalNum = ArrayNum;
		for (SizeType Index = 0; Index < ArrayNum; Index++)
		{
			if ((*this)[Index] == Item)
			{
				RemoveAtSwap(Index--, 1, AllowShrinking);
			}
		}
		return OriginalNum - ArrayNum;
	}

	FORCEINLINE void SwapMemory(SizeType FirstIndexToSwap, SizeType SecondIndexToSwap)
	{
		FMemory::Memswap((uint8*)AllocatorInstance.GetAllocation() + (sizeof(ElementType) * FirstIndexToSwap), (uint8*)AllocatorInstance.GetAllocation() + (sizeof(ElementType) * SecondIndexToSwap), sizeof(ElementType));
	}

	FORCEINLINE void Swap(SizeType FirstIndexToSwap, SizeType SecondIndexToSwap)
	{
		check((FirstIndexToSwap >= 0) && (SecondIndexToSwap >= 0));
		check((ArrayNum > FirstIndexToSwap) && (ArrayNum > SecondIndexToSwap));
		if (FirstIndexToSwap != SecondIndexToSwap)
		{
			SwapMemory(FirstIndexToSwap, SecondIndexToSwap);
		}
	}

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	void Sort() { ::Sort(GetData(), (int32)Num()); }
	template <class PREDICATE_CLASS>
	void Sort(const PREDICATE_CLASS& Predicate) { ::Sort(GetData(), (int32)Num(), Predicate); }
	void StableSort() { ::StableSort(GetData(), (int32)Num()); }
	template <class PREDICATE_CLASS>
	void StableSort(const PREDICATE_CLASS& Predicate) { ::StableSort(GetData(), (int32)Num(), Predicate); }

	FORCEINLINE RangedForIteratorType begin() { return RangedForIteratorType(ArrayNum, GetData()); }
	FORCEINLINE RangedForConstIteratorType begin() const { return RangedForConstIteratorType(ArrayNum, GetData()); }
	FORCEINLINE RangedForIteratorType end() { return RangedForIteratorType(ArrayNum, GetData() + Num()); }
	FORCEINLINE RangedForConstIteratorType end() const { return RangedForConstIteratorType(ArrayNum, GetData() + Num()); }

	ElementAllocatorType& GetAllocatorInstance() { return AllocatorInstance; }
	const ElementAllocatorType& GetAllocatorInstance() const { return AllocatorInstance; }

private:
	FORCEINLINE void CheckAddress(const ElementType* Addr) const
	{
		checkf(Addr < GetData() || Addr >= (GetData() + ArrayMax), TEXT("Attempting to use a container element which already comes from the container being modified"));
	}

	template <typename ArgsType>
	SizeType AddUniqueImpl(ArgsType&& Args)
	{
		SizeType Index;
		if (Find(Args, Index))
		{
			return Index;
		}
		return Add(Forward<ArgsType>(Args));
	}

	void RemoveAtImpl(SizeType Index, SizeType Count, bool bAllowShrinking)
	{
		if (Count)
		{
			CheckInvariants();
			DestructItems(GetData() + Index, Count);
			const SizeType NumToMove = ArrayNum - Index - Count;
			if (NumToMove)
			{
				RelocateConstructItems<ElementType>((uint8*)AllocatorInstance.GetAllocation() + (Index) * sizeof(ElementType), (ElementType*)((uint8*)AllocatorInstance.GetAllocation() + (Index + Count) * sizeof(ElementType)), NumToMove);
			}
			ArrayNum -= Count;
			if (bAllowShrinking)
			{
				ResizeShrink();
			}
		}
	}

	void RemoveAtSwapImpl(SizeType Index, SizeType Count, bool bAllowShrinking)
	{
		if (Count)
		{
			CheckInvariants();
			DestructItems(GetData() + Index, Count);
			const SizeType NumElementsInHole = Count;
			const SizeType NumElementsAfterHole = ArrayNum - (Index + Count);
			const SizeType NumElementsToMoveIntoHole = NumElementsInHole < NumElementsAfterHole ? NumElementsInHole : NumElementsAfterHole;
			if (NumElementsToMoveIntoHole)
			{
				RelocateConstructItems<ElementType>(GetData() + Index, GetData() + (ArrayNum - NumElementsToMoveIntoHole), NumElementsToMoveIntoHole);
			}
			ArrayNum -= Count;
			if (bAllowShrinking)
			{
				ResizeShrink();
			}
		}
	}

	template <typename FromArrayType, typename ToArrayType>
	static FORCEINLINE void MoveOrCopy(ToArrayType& ToArray, FromArrayType& FromArray)
	{
		using FromAllocatorType = typename FromArrayType::AllocatorType;
		using ToAllocatorType = typename ToArrayType::AllocatorType;
		if constexpr (std::is_same_v<FromAllocatorType, ToAllocatorType>)
		{
			ToArray.AllocatorInstance.MoveToEmpty(FromArray.AllocatorInstance);
			ToArray.ArrayNum = FromArray.ArrayNum;
			ToArray.ArrayMax = FromArray.ArrayMax;
			FromArray.ArrayNum = 0;
			FromArray.ArrayMax = FromArray.AllocatorInstance.GetInitialCapacity();
		}
		else
		{
			ToArray.CopyToEmpty(FromArray.GetData(), FromArray.Num(), 0);
			FromArray.Empty();
		}
	}

	FORCENOINLINE void ResizeGrow(SizeType OldNum)
	{
		ArrayMax = AllocatorInstance.CalculateSlackGrow(ArrayNum, ArrayMax, sizeof(ElementType));
		AllocatorInstance.ResizeAllocation(OldNum, ArrayMax, sizeof(ElementType));
	}
	FORCENOINLINE void ResizeShrink()
	{
		const SizeType NewArrayMax = AllocatorInstance.CalculateSlackShrink(ArrayNum, ArrayMax, sizeof(ElementType));
		if (NewArrayMax != ArrayMax)
		{
			ArrayMax = NewArrayMax;
			AllocatorInstance.ResizeAllocation(ArrayNum, ArrayMax, sizeof(ElementType));
		}
	}
	FORCENOINLINE void ResizeTo(SizeType NewMax)
	{
		if (NewMax)
		{
			NewMax = AllocatorInstance.CalculateSlackReserve(NewMax, sizeof(ElementType));
		}
		if (NewMax != ArrayMax)
		{
			ArrayMax = NewMax;
			AllocatorInstance.ResizeAllocation(ArrayNum, ArrayMax, sizeof(ElementType));
		}
	}
	FORCENOINLINE void ResizeForCopy(SizeType NewMax, SizeType PrevMax)
	{
		if (NewMax)
		{
			NewMax = AllocatorInstance.CalculateSlackReserve(NewMax, sizeof(ElementType));
		}
		if (NewMax > PrevMax)
		{
			AllocatorInstance.ResizeAllocation(ArrayNum, NewMax, sizeof(ElementType));
			ArrayMax = NewMax;
		}
		else
		{
			ArrayMax = PrevMax;
		}
	}

	template <typename OtherElementType, typename OtherSizeType>
	void CopyToEmpty(const OtherElementType* OtherData, OtherSizeType OtherNum, SizeType PrevMax)
	{
		const SizeType NewNum = (SizeType)OtherNum;
		ArrayNum = NewNum;
		if (OtherNum || PrevMax)
		{
			ResizeForCopy(NewNum, PrevMax);
			ConstructItems<ElementType>((void*)GetData(), OtherData, OtherNum);
		}
		else
		{
			ArrayMax = AllocatorInstance.GetInitialCapacity();
		}
	}

protected:
	ElementAllocatorType AllocatorInstance;
	SizeType ArrayNum;
	SizeType ArrayMax;
};

template <typename InElementType, typename Allocator>
struct TIsTArray<TArray<InElementType, Allocator>> { enum { Value = true }; };
template <typename InElementType, typename Allocator>
struct TIsTArray<const TArray<InElementType, Allocator>> { enum { Value = true }; };
template <typename InElementType, typename Allocator>
struct TIsContiguousContainer<TArray<InElementType, Allocator>> { enum { Value = true }; };

template <typename InElementType, typename Allocator>
FORCEINLINE void* operator new(size_t Size, TArray<InElementType, Allocator>& Array)
{
	check(Size == sizeof(InElementType));
	const auto Index = Array.AddUninitialized();
	return &Array[Index];
}

template <typename InElementType, typename Allocator>
FORCEINLINE void* operator new(size_t Size, TArray<InElementType, Allocator>& Array, typename TArray<InElementType, Allocator>::SizeType Index)
{
	check(Size == sizeof(InElementType));
	Array.InsertUninitialized(Index);
	return &Array[Index];
}

template <typename InElementType, typename Allocator>
uint32 GetTypeHash(const TArray<InElementType, Allocator>& A)
{
	uint32 Hash = 0;
	for (const InElementType& V : A)
	{
		Hash = HashCombine(Hash, GetTypeHash(V));
	}
	return Hash;
}

static_assert(sizeof(TArray<int32>) == sizeof(void*) + 2 * sizeof(int32), "TArray layout is { Data, ArrayNum, ArrayMax }");
