// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/SparseArray.h"
#include "Templates/TypeHash.h"
#include "Templates/Tuple.h"
#include "Templates/Sorting.h"

// A hash set built as the engine builds it: elements in a TSparseArray (iteration order = slot
// order) and singly linked hash buckets threaded through the elements.

class FSetElementId
{
public:
	FORCEINLINE FSetElementId() : Index(INDEX_NONE) {}
	FORCEINLINE bool IsValidId() const { return Index != INDEX_NONE; }
	FORCEINLINE friend bool operator==(const FSetElementId& A, const FSetElementId& B) { return A.Index == B.Index; }
	FORCEINLINE friend bool operator!=(const FSetElementId& A, const FSetElementId& B) { return A.Index != B.Index; }
	FORCEINLINE int32 AsInteger() const { return Index; }
	FORCEINLINE static FSetElementId FromInteger(int32 Integer) { return FSetElementId(Integer); }
	friend uint32 GetTypeHash(const FSetElementId& Id) { return (uint32)Id.Index; }

private:
	FORCEINLINE explicit FSetElementId(int32 InIndex) : Index(InIndex) {}
	int32 Index;
};

template <typename ElementType, bool bInAllowDuplicateKeys>
struct DefaultKeyFuncs
{
	typedef ElementType KeyType;
	typedef typename TCallTraits<ElementType>::ParamType KeyInitType;
	typedef typename TCallTraits<ElementType>::ParamType ElementInitType;
	enum { bAllowDuplicateKeys = bInAllowDuplicateKeys };

	static FORCEINLINE KeyInitType GetSetKey(ElementInitType Element) { return Element; }
	static FORCEINLINE bool Matches(KeyInitType A, KeyInitType B) { return A == B; }
	template <typename ComparableKey>
	static FORCEINLINE bool Matches(KeyInitType A, ComparableKey B) { return A == B; }
	static FORCEINLINE uint32 GetKeyHash(KeyInitType Key) { return GetTypeHash(Key); }
	template <typename ComparableKey>
	static FORCEINLINE uint32 GetKeyHash(ComparableKey Key) { return GetTypeHash(Key); }
};

namespace UE::Core::Private
{
	FORCEINLINE uint32 RoundUpToPowerOfTwo(uint32 Value)
	{
		return Value <= 1 ? 1 : (1u << (32 - __builtin_clz(Value - 1)));
	}

	// Hash buckets for a number of elements: two per bucket plus eight, as the engine sizes them.
	FORCEINLINE int32 GetNumberOfHashBuckets(int32 NumHashedElements)
	{
		constexpr int32 AverageNumberOfElementsPerHashBucket = 2;
		constexpr int32 BaseNumberOfHashBuckets = 8;
		constexpr int32 MinNumberOfHashedElements = 4;
		if (NumHashedElements >= MinNumberOfHashedElements)
		{
			return (int32)RoundUpToPowerOfTwo(NumHashedElements / AverageNumberOfElementsPerHashBucket + BaseNumberOfHashBuckets);
		}
		return 1;
	}
} // namespace UE::Core::Private

template <typename InElementType>
class TSetElement
{
public:
	typedef InElementType ElementType;

	template <typename... ArgTypes>
	explicit TSetElement(ArgTypes&&... Args) : Value(Forward<ArgTypes>(Args)...)
	{
	}
	TSetElement(const TSetElement&) = default;
	TSetElement(TSetElement&&) = default;

	ElementType Value;
	mutable FSetElementId HashNextId;
	mutable int32 HashIndex = 0;
};

template <typename InElementType, typename KeyFuncs, typename Allocator>
class TSet
{
public:
	typedef InElementType ElementType;
	typedef typename KeyFuncs::KeyInitType KeyInitType;
	typedef typename KeyFuncs::ElementInitType ElementInitType;
	typedef TSetElement<InElementType> SetElementType;
	using SizeType = int32;

	TSet() : HashSize(0) {}
	TSet(const TSet& Other) : Elements(Other.Elements), Hash(Other.Hash), HashSize(Other.HashSize) {}
	TSet(TSet&& Other) : Elements(MoveTemp(Other.Elements)), Hash(MoveTemp(Other.Hash)), HashSize(Other.HashSize) { Other.HashSize = 0; }
	TSet(std::initializer_list<ElementType> InitList) : HashSize(0) { Append(InitList); }
	explicit TSet(TArrayView<const ElementType> InArrayView) : HashSize(0) { Append(InArrayView); }
	explicit TSet(TArray<ElementType>&& InArray) : HashSize(0) { Append(MoveTemp(InArray)); }
	~TSet() = default;

	TSet& operator=(const TSet& Other)
	{
		if (this != &Other)
		{
			Elements = Other.Elements;
			Hash = Other.Hash;
			HashSize = Other.HashSize;
		}
		return *this;
	}
	TSet& operator=(TSet&& Other)
	{
		if (this != &Other)
		{
			Elements = MoveTemp(Other.Elements);
			Hash = MoveTemp(Other.Hash);
			HashSize = Other.HashSize;
			Other.HashSize = 0;
		}
		return *this;
	}
	TSet& operator=(std::initializer_list<ElementType> InitList)
	{
		Reset();
		Append(InitList);
		return *this;
	}

	void Empty(int32 ExpectedNumElements = 0)
	{
		const int32 DesiredHashSize = UE::Core::Private::GetNumberOfHashBuckets(ExpectedNumElements);
		Elements.Empty(ExpectedNumElements);
		if (ExpectedNumElements == 0)
		{
			Hash.Empty();
			HashSize = 0;
		}
		else
		{
			HashSize = DesiredHashSize;
			Hash.Empty(HashSize);
			Hash.SetNumUninitialized(HashSize);
			ClearHash();
		}
	}

	void Reset()
	{
		if (Num() == 0 && Elements.GetMaxIndex() == 0)
		{
			return;
		}
		Elements.Reset();
		ClearHash();
	}

	void Shrink()
	{
		Elements.Shrink();
		Relax();
	}

	void Compact()
	{
		if (Elements.Compact())
		{
			Rehash();
		}
	}

	void CompactStable() { Compact(); }

	void Reserve(int32 Number)
	{
		if (Number > Elements.Num())
		{
			Elements.Reserve(Number);
			const int32 NewHashSize = UE::Core::Private::GetNumberOfHashBuckets(Number);
			if (!HashSize || HashSize < NewHashSize)
			{
				HashSize = NewHashSize;
				Rehash();
			}
		}
	}

	void Relax() { ConditionalRehash(Elements.Num(), true); }

	SIZE_T GetAllocatedSize() const { return Elements.GetAllocatedSize() + Hash.GetAllocatedSize(); }

	[[nodiscard]] FORCEINLINE int32 Num() const { return Elements.Num(); }
	[[nodiscard]] FORCEINLINE bool IsEmpty() const { return Elements.Num() == 0; }
	FORCEINLINE int32 GetMaxIndex() const { return Elements.GetMaxIndex(); }
	FORCEINLINE bool IsValidId(FSetElementId Id) const
	{
		const int32 Index = Id.AsInteger();
		return Index != INDEX_NONE && Index >= 0 && Index < Elements.GetMaxIndex() && Elements.IsAllocated(Index);
	}

	FORCEINLINE ElementType& operator[](FSetElementId Id) { return Elements[Id.AsInteger()].Value; }
	FORCEINLINE const ElementType& operator[](FSetElementId Id) const { return Elements[Id.AsInteger()].Value; }
	FORCEINLINE ElementType& Get(FSetElementId Id) { return Elements[Id.AsInteger()].Value; }
	FORCEINLINE const ElementType& Get(FSetElementId Id) const { return Elements[Id.AsInteger()].Value; }

	FORCEINLINE FSetElementId Add(const InElementType& InElement, bool* bIsAlreadyInSetPtr = nullptr) { return Emplace(InElement, bIsAlreadyInSetPtr); }
	FORCEINLINE FSetElementId Add(InElementType&& InElement, bool* bIsAlreadyInSetPtr = nullptr) { return Emplace(MoveTempIfPossible(InElement), bIsAlreadyInSetPtr); }

	FORCEINLINE FSetElementId AddByHash(uint32 KeyHash, const InElementType& InElement, bool* bIsAlreadyInSetPtr = nullptr) { return EmplaceByHash(KeyHash, InElement, bIsAlreadyInSetPtr); }
	FORCEINLINE FSetElementId AddByHash(uint32 KeyHash, InElementType&& InElement, bool* bIsAlreadyInSetPtr = nullptr) { return EmplaceByHash(KeyHash, MoveTempIfPossible(InElement), bIsAlreadyInSetPtr); }

	// Adds an element; an element with an equal key is replaced in place (same slot, new value).
	template <typename ArgsType = ElementType>
	FSetElementId Emplace(ArgsType&& Args, bool* bIsAlreadyInSetPtr = nullptr)
	{
		FSparseArrayAllocationInfo ElementAllocation = Elements.AddUninitialized();
		SetElementType& Element = *new (ElementAllocation.Pointer) SetElementType(Forward<ArgsType>(Args));
		const uint32 KeyHash = KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(Element.Value));
		return EmplaceImpl(KeyHash, Element, ElementAllocation.Index, bIsAlreadyInSetPtr);
	}

	template <typename ArgsType = ElementType>
	FSetElementId EmplaceByHash(uint32 KeyHash, ArgsType&& Args, bool* bIsAlreadyInSetPtr = nullptr)
	{
		FSparseArrayAllocationInfo ElementAllocation = Elements.AddUninitialized();
		SetElementType& Element = *new (ElementAllocation.Pointer) SetElementType(Forward<ArgsType>(Args));
		return EmplaceImpl(KeyHash, Element, ElementAllocation.Index, bIsAlreadyInSetPtr);
	}

	template <typename ArrayElementType>
	void Append(TArrayView<ArrayElementType> InElements)
	{
		Reserve(Elements.Num() + InElements.Num());
		for (const ElementType& Element : InElements)
		{
			Add(Element);
		}
	}

	template <typename ArrayElementType, typename ArrayAllocator>
	void Append(const TArray<ArrayElementType, ArrayAllocator>& InElements)
	{
		Reserve(Elements.Num() + InElements.Num());
		for (const ArrayElementType& Element : InElements)
		{
			Add(Element);
		}
	}

	template <typename ArrayElementType, typename ArrayAllocator>
	void Append(TArray<ArrayElementType, ArrayAllocator>&& InElements)
	{
		Reserve(Elements.Num() + InElements.Num());
		for (ArrayElementType& Element : InElements)
		{
			Add(MoveTempIfPossible(Element));
		}
		InElements.Reset();
	}

	template <typename OtherKeyFuncs, typename OtherAllocator>
	void Append(const TSet<ElementType, OtherKeyFuncs, OtherAllocator>& OtherSet)
	{
		Reserve(Elements.Num() + OtherSet.Num());
		for (const ElementType& Element : OtherSet)
		{
			Add(Element);
		}
	}

	void Append(std::initializer_list<ElementType> InitList)
	{
		Reserve(Elements.Num() + (int32)InitList.size());
		for (const ElementType& Element : InitList)
		{
			Add(Element);
		}
	}

	void Remove(FSetElementId ElementId)
	{
		RemoveByIndex(ElementId.AsInteger());
	}

	int32 Remove(KeyInitType Key)
	{
		if (Elements.Num())
		{
			return RemoveImpl(KeyFuncs::GetKeyHash(Key), Key);
		}
		return 0;
	}

	template <typename ComparableKey>
	int32 RemoveByHash(uint32 KeyHash, const ComparableKey& Key)
	{
		if (Elements.Num())
		{
			return RemoveImpl(KeyHash, Key);
		}
		return 0;
	}

	FSetElementId FindId(KeyInitType Key) const
	{
		if (Elements.Num())
		{
			return FindIdByHash(KeyFuncs::GetKeyHash(Key), Key);
		}
		return FSetElementId();
	}

	template <typename ComparableKey>
	FSetElementId FindIdByHash(uint32 KeyHash, const ComparableKey& Key) const
	{
		if (Elements.Num())
		{
			for (FSetElementId ElementId = GetTypedHash(KeyHash); ElementId.IsValidId(); ElementId = Elements[ElementId.AsInteger()].HashNextId)
			{
				if (KeyFuncs::Matches(KeyFuncs::GetSetKey(Elements[ElementId.AsInteger()].Value), Key))
				{
					return ElementId;
				}
			}
		}
		return FSetElementId();
	}

	FORCEINLINE ElementType* Find(KeyInitType Key)
	{
		const FSetElementId ElementId = FindId(Key);
		return ElementId.IsValidId() ? &Elements[ElementId.AsInteger()].Value : nullptr;
	}
	FORCEINLINE const ElementType* Find(KeyInitType Key) const
	{
		return const_cast<TSet*>(this)->Find(Key);
	}

	template <typename ComparableKey>
	ElementType* FindByHash(uint32 KeyHash, const ComparableKey& Key)
	{
		const FSetElementId ElementId = FindIdByHash(KeyHash, Key);
		return ElementId.IsValidId() ? &Elements[ElementId.AsInteger()].Value : nullptr;
	}
	template <typename ComparableKey>
	const ElementType* FindByHash(uint32 KeyHash, const ComparableKey& Key) const
	{
		return const_cast<TSet*>(this)->FindByHash(KeyHash, Key);
	}

	ElementType& FindOrAdd(const InElementType& InElement, bool* bIsAlreadyInSetPtr = nullptr)
	{
		return FindOrAddByHash(KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(InElement)), InElement, bIsAlreadyInSetPtr);
	}
	ElementType& FindOrAdd(InElementType&& InElement, bool* bIsAlreadyInSetPtr = nullptr)
	{
		const uint32 KeyHash = KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(InElement));
		return FindOrAddByHash(KeyHash, MoveTempIfPossible(InElement), bIsAlreadyInSetPtr);
	}
	template <typename ElementReferenceType>
	ElementType& FindOrAddByHash(uint32 KeyHash, ElementReferenceType&& InElement, bool* bIsAlreadyInSetPtr = nullptr)
	{
		const FSetElementId Existing = FindIdByHash(KeyHash, KeyFuncs::GetSetKey(InElement));
		if (bIsAlreadyInSetPtr)
		{
			*bIsAlreadyInSetPtr = Existing.IsValidId();
		}
		if (Existing.IsValidId())
		{
			return Elements[Existing.AsInteger()].Value;
		}
		return Get(EmplaceByHash(KeyHash, Forward<ElementReferenceType>(InElement)));
	}

	FORCEINLINE bool Contains(KeyInitType Key) const { return FindId(Key).IsValidId(); }
	template <typename ComparableKey>
	FORCEINLINE bool ContainsByHash(uint32 KeyHash, const ComparableKey& Key) const { return FindIdByHash(KeyHash, Key).IsValidId(); }

	template <typename PREDICATE_CLASS>
	void Sort(const PREDICATE_CLASS& Predicate)
	{
		TArray<ElementType> Sorted = Array();
		::Sort(Sorted.GetData(), Sorted.Num(), Predicate);
		Reset();
		Append(MoveTemp(Sorted));
	}

	template <typename PREDICATE_CLASS>
	void StableSort(const PREDICATE_CLASS& Predicate)
	{
		TArray<ElementType> Sorted = Array();
		::StableSort(Sorted.GetData(), Sorted.Num(), Predicate);
		Reset();
		Append(MoveTemp(Sorted));
	}

	TSet Intersect(const TSet& OtherSet) const
	{
		const bool bOtherSmaller = (Num() > OtherSet.Num());
		const TSet& A = (bOtherSmaller ? OtherSet : *this);
		const TSet& B = (bOtherSmaller ? *this : OtherSet);
		TSet Result;
		Result.Reserve(A.Num());
		for (const ElementType& Element : A)
		{
			if (B.Contains(KeyFuncs::GetSetKey(Element)))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	TSet Union(const TSet& OtherSet) const
	{
		TSet Result;
		Result.Reserve(Num() + OtherSet.Num());
		for (const ElementType& Element : *this)
		{
			Result.Add(Element);
		}
		for (const ElementType& Element : OtherSet)
		{
			Result.Add(Element);
		}
		return Result;
	}

	TSet Difference(const TSet& OtherSet) const
	{
		TSet Result;
		Result.Reserve(Num());
		for (const ElementType& Element : *this)
		{
			if (!OtherSet.Contains(KeyFuncs::GetSetKey(Element)))
			{
				Result.Add(Element);
			}
		}
		return Result;
	}

	bool Includes(const TSet& OtherSet) const
	{
		if (OtherSet.Num() > Num())
		{
			return false;
		}
		for (const ElementType& Element : OtherSet)
		{
			if (!Contains(KeyFuncs::GetSetKey(Element)))
			{
				return false;
			}
		}
		return true;
	}

	TArray<ElementType> Array() const
	{
		TArray<ElementType> Result;
		Result.Reserve(Num());
		for (const ElementType& Element : *this)
		{
			Result.Add(Element);
		}
		return Result;
	}

	template <bool bConst>
	class TBaseIterator
	{
		using SetType = std::conditional_t<bConst, const TSet, TSet>;
		using ItElementType = std::conditional_t<bConst, const ElementType, ElementType>;
		using ElementArrayIt = std::conditional_t<bConst, typename TSparseArray<SetElementType>::TConstIterator, typename TSparseArray<SetElementType>::TIterator>;

	public:
		explicit TBaseIterator(SetType& InSet, int32 StartIndex = 0) : ElementIt(InSet.Elements, StartIndex) {}

		FORCEINLINE TBaseIterator& operator++()
		{
			++ElementIt;
			return *this;
		}
		FORCEINLINE explicit operator bool() const { return (bool)ElementIt; }
		FORCEINLINE bool operator!() const { return !(bool)ElementIt; }
		FORCEINLINE bool operator==(const TBaseIterator& Rhs) const { return ElementIt == Rhs.ElementIt; }
		FORCEINLINE bool operator!=(const TBaseIterator& Rhs) const { return ElementIt != Rhs.ElementIt; }
		FORCEINLINE FSetElementId GetId() const { return FSetElementId::FromInteger(ElementIt.GetIndex()); }
		FORCEINLINE ItElementType* operator->() const { return &ElementIt->Value; }
		FORCEINLINE ItElementType& operator*() const { return ElementIt->Value; }

	protected:
		ElementArrayIt ElementIt;
	};

	class TConstIterator : public TBaseIterator<true>
	{
	public:
		explicit TConstIterator(const TSet& InSet, int32 StartIndex = 0) : TBaseIterator<true>(InSet, StartIndex) {}
	};

	class TIterator : public TBaseIterator<false>
	{
	public:
		explicit TIterator(TSet& InSet, int32 StartIndex = 0) : TBaseIterator<false>(InSet, StartIndex), Set(InSet) {}
		void RemoveCurrent() { Set.Remove(this->GetId()); }

	private:
		TSet& Set;
	};

	TIterator CreateIterator() { return TIterator(*this); }
	TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	FORCEINLINE TIterator begin() { return TIterator(*this, 0); }
	FORCEINLINE TConstIterator begin() const { return TConstIterator(*this, 0); }
	FORCEINLINE TIterator end() { return TIterator(*this, Elements.GetMaxIndex()); }
	FORCEINLINE TConstIterator end() const { return TConstIterator(*this, Elements.GetMaxIndex()); }

	friend bool LegacyCompareEqual(const TSet& A, const TSet& B) { return A.Elements == B.Elements; }

private:
	FORCEINLINE FSetElementId& GetTypedHash(int32 HashIndex) const
	{
		return ((FSetElementId*)Hash.GetData())[HashIndex & (HashSize - 1)];
	}

	FSetElementId EmplaceImpl(uint32 KeyHash, SetElementType& Element, int32 ElementIndex, bool* bIsAlreadyInSetPtr)
	{
		bool bIsAlreadyInSet = false;
		FSetElementId ElementId = FSetElementId::FromInteger(ElementIndex);
		if (!KeyFuncs::bAllowDuplicateKeys)
		{
			// The first element added cannot have a duplicate.
			if (Elements.Num() != 1)
			{
				const FSetElementId ExistingId = FindIdByHash(KeyHash, KeyFuncs::GetSetKey(Element.Value));
				bIsAlreadyInSet = ExistingId.IsValidId();
				if (bIsAlreadyInSet)
				{
					// Replace the existing element's value with the new one; its hash links stay.
					ElementType& Existing = Elements[ExistingId.AsInteger()].Value;
					DestructItem(&Existing);
					RelocateConstructItems<ElementType>(&Existing, &Element.Value, 1);
					Elements.RemoveAtUninitialized(ElementIndex);
					ElementId = ExistingId;
				}
			}
		}
		if (!bIsAlreadyInSet)
		{
			if (!ConditionalRehash(Elements.Num()))
			{
				LinkElement(ElementId, Element, KeyHash);
			}
		}
		if (bIsAlreadyInSetPtr)
		{
			*bIsAlreadyInSetPtr = bIsAlreadyInSet;
		}
		return ElementId;
	}

	template <typename ComparableKey>
	int32 RemoveImpl(uint32 KeyHash, const ComparableKey& Key)
	{
		int32 NumRemovedElements = 0;
		FSetElementId* NextElementId = &GetTypedHash(KeyHash);
		while (NextElementId->IsValidId())
		{
			const int32 NextIndex = NextElementId->AsInteger();
			SetElementType& Element = Elements[NextIndex];
			if (KeyFuncs::Matches(KeyFuncs::GetSetKey(Element.Value), Key))
			{
				// Unlink before destroying: the bucket pointer then skips the element.
				*NextElementId = Element.HashNextId;
				Elements.RemoveAt(NextIndex);
				++NumRemovedElements;
				if (!KeyFuncs::bAllowDuplicateKeys)
				{
					break;
				}
			}
			else
			{
				NextElementId = &Element.HashNextId;
			}
		}
		return NumRemovedElements;
	}

	void RemoveByIndex(int32 ElementIndex)
	{
		check(Elements.IsValidIndex(ElementIndex));
		const SetElementType& ElementBeingRemoved = Elements[ElementIndex];
		for (FSetElementId* NextElementId = &GetTypedHash(ElementBeingRemoved.HashIndex); NextElementId->IsValidId(); NextElementId = &Elements[NextElementId->AsInteger()].HashNextId)
		{
			if (NextElementId->AsInteger() == ElementIndex)
			{
				*NextElementId = ElementBeingRemoved.HashNextId;
				break;
			}
		}
		Elements.RemoveAt(ElementIndex);
	}

	FORCEINLINE void LinkElement(FSetElementId ElementId, const SetElementType& Element, uint32 KeyHash) const
	{
		Element.HashIndex = KeyHash & (HashSize - 1);
		FSetElementId& HashBucket = GetTypedHash(Element.HashIndex);
		Element.HashNextId = HashBucket;
		HashBucket = ElementId;
	}

	FORCEINLINE void HashElement(int32 ElementIndex, const SetElementType& Element) const
	{
		LinkElement(FSetElementId::FromInteger(ElementIndex), Element, KeyFuncs::GetKeyHash(KeyFuncs::GetSetKey(Element.Value)));
	}

	bool ConditionalRehash(int32 NumHashedElements, bool bAllowShrinking = false)
	{
		const int32 DesiredHashSize = UE::Core::Private::GetNumberOfHashBuckets(NumHashedElements);
		if (NumHashedElements > 0 && (!HashSize || HashSize < DesiredHashSize || (HashSize > DesiredHashSize && bAllowShrinking)))
		{
			HashSize = DesiredHashSize;
			Rehash();
			return true;
		}
		return false;
	}

	void ClearHash()
	{
		if (HashSize)
		{
			FSetElementId* Buckets = (FSetElementId*)Hash.GetData();
			for (int32 Index = 0; Index < HashSize; ++Index)
			{
				Buckets[Index] = FSetElementId();
			}
		}
	}

	void Rehash()
	{
		Hash.Empty();
		if (HashSize)
		{
			Hash.SetNumUninitialized(HashSize);
			ClearHash();
			for (int32 Index = 0; Index < Elements.GetMaxIndex(); ++Index)
			{
				if (Elements.IsAllocated(Index))
				{
					HashElement(Index, Elements[Index]);
				}
			}
		}
	}

	TSparseArray<SetElementType> Elements;
	mutable TArray<FSetElementId> Hash;
	mutable int32 HashSize;
};

template <typename ElementType, typename KeyFuncs, typename Allocator>
struct TIsTSet<TSet<ElementType, KeyFuncs, Allocator>> { enum { Value = true }; };
