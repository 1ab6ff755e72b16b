// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Templates/Tuple.h"
#include "Templates/Less.h"

// A map kept as an array of pairs sorted by key; lookups are binary searches and iteration is in
// key order.
template <typename InKeyType, typename InValueType, typename ArrayAllocator, typename SortPredicate>
class TSortedMap
{
public:
	typedef InKeyType KeyType;
	typedef InValueType ValueType;
	typedef TPair<KeyType, ValueType> ElementType;
	typedef typename TCallTraits<KeyType>::ParamType KeyInitType;
	typedef typename TCallTraits<KeyType>::ParamType KeyConstPointerType;

	TSortedMap() = default;
	TSortedMap(std::initializer_list<ElementType> InitList)
	{
		for (const ElementType& Element : InitList)
		{
			Add(Element.Key, Element.Value);
		}
	}

	FORCEINLINE bool operator==(const TSortedMap& Other) const { return Pairs == Other.Pairs; }
	FORCEINLINE bool operator!=(const TSortedMap& Other) const { return !(Pairs == Other.Pairs); }

	FORCEINLINE void Empty(int32 ExpectedNumElements = 0) { Pairs.Empty(ExpectedNumElements); }
	FORCEINLINE void Reset() { Pairs.Reset(); }
	FORCEINLINE void Shrink() { Pairs.Shrink(); }
	FORCEINLINE void Reserve(int32 Number) { Pairs.Reserve(Number); }
	[[nodiscard]] FORCEINLINE bool IsEmpty() const { return Pairs.IsEmpty(); }
	FORCEINLINE int32 Num() const { return Pairs.Num(); }
	SIZE_T GetAllocatedSize() const { return Pairs.GetAllocatedSize(); }

	FORCEINLINE ValueType& Add(const KeyType& InKey, const ValueType& InValue) { return Emplace(InKey, InValue); }
	FORCEINLINE ValueType& Add(const KeyType& InKey, ValueType&& InValue) { return Emplace(InKey, MoveTempIfPossible(InValue)); }
	FORCEINLINE ValueType& Add(KeyType&& InKey, const ValueType& InValue) { return Emplace(MoveTempIfPossible(InKey), InValue); }
	FORCEINLINE ValueType& Add(KeyType&& InKey, ValueType&& InValue) { return Emplace(MoveTempIfPossible(InKey), MoveTempIfPossible(InValue)); }
	FORCEINLINE ValueType& Add(const KeyType& InKey) { return Emplace(InKey); }
	FORCEINLINE ValueType& Add(KeyType&& InKey) { return Emplace(MoveTempIfPossible(InKey)); }

	template <typename InitKeyType, typename... ValueArgs>
	ValueType& Emplace(InitKeyType&& InKey, ValueArgs&&... InValue)
	{
		const int32 Index = LowerBound(InKey);
		if (Index < Pairs.Num() && IsEqual(Pairs[Index].Key, InKey))
		{
			// An equal key replaces the existing pair.
			Pairs[Index] = ElementType(Forward<InitKeyType>(InKey), ValueType(Forward<ValueArgs>(InValue)...));
			return Pairs[Index].Value;
		}
		Pairs.Insert(ElementType(Forward<InitKeyType>(InKey), ValueType(Forward<ValueArgs>(InValue)...)), Index);
		return Pairs[Index].Value;
	}

	FORCEINLINE int32 Remove(KeyConstPointerType InKey)
	{
		const int32 Index = FindIndex(InKey);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		Pairs.RemoveAt(Index);
		return 1;
	}

	const KeyType* FindKey(typename TCallTraits<ValueType>::ParamType Value) const
	{
		for (const ElementType& Pair : Pairs)
		{
			if (Pair.Value == Value)
			{
				return &Pair.Key;
			}
		}
		return nullptr;
	}

	FORCEINLINE ValueType* Find(KeyConstPointerType Key)
	{
		const int32 Index = FindIndex(Key);
		return Index != INDEX_NONE ? &Pairs[Index].Value : nullptr;
	}
	FORCEINLINE const ValueType* Find(KeyConstPointerType Key) const { return const_cast<TSortedMap*>(this)->Find(Key); }

	FORCEINLINE ValueType& FindOrAdd(const KeyType& Key)
	{
		if (ValueType* Existing = Find(Key))
		{
			return *Existing;
		}
		return Emplace(Key);
	}

	FORCEINLINE ValueType& FindChecked(KeyConstPointerType Key)
	{
		ValueType* Value = Find(Key);
		check(Value != nullptr);
		return *Value;
	}
	FORCEINLINE const ValueType& FindChecked(KeyConstPointerType Key) const { return const_cast<TSortedMap*>(this)->FindChecked(Key); }

	FORCEINLINE ValueType FindRef(KeyConstPointerType Key) const
	{
		const ValueType* Value = Find(Key);
		return Value ? *Value : ValueType();
	}

	FORCEINLINE bool Contains(KeyConstPointerType Key) const { return FindIndex(Key) != INDEX_NONE; }

	template <typename Allocator>
	void GenerateKeyArray(TArray<KeyType, Allocator>& OutArray) const
	{
		OutArray.Empty(Pairs.Num());
		for (const ElementType& Pair : Pairs)
		{
			OutArray.Add(Pair.Key);
		}
	}
	template <typename Allocator>
	void GenerateValueArray(TArray<ValueType, Allocator>& OutArray) const
	{
		OutArray.Empty(Pairs.Num());
		for (const ElementType& Pair : Pairs)
		{
			OutArray.Add(Pair.Value);
		}
	}

	FORCEINLINE ValueType& operator[](KeyConstPointerType Key) { return FindChecked(Key); }
	FORCEINLINE const ValueType& operator[](KeyConstPointerType Key) const { return FindChecked(Key); }

	FORCEINLINE auto begin() { return Pairs.begin(); }
	FORCEINLINE auto begin() const { return Pairs.begin(); }
	FORCEINLINE auto end() { return Pairs.end(); }
	FORCEINLINE auto end() const { return Pairs.end(); }

	auto CreateIterator() { return Pairs.CreateIterator(); }
	auto CreateConstIterator() const { return Pairs.CreateConstIterator(); }

private:
	template <typename OtherKey>
	FORCEINLINE bool IsEqual(const KeyType& A, const OtherKey& B) const
	{
		return !SortPredicate()(A, B) && !SortPredicate()(B, A);
	}

	template <typename OtherKey>
	int32 LowerBound(const OtherKey& Key) const
	{
		int32 First = 0;
		int32 Count = Pairs.Num();
		while (Count > 0)
		{
			const int32 Step = Count / 2;
			const int32 Middle = First + Step;
			if (SortPredicate()(Pairs[Middle].Key, Key))
			{
				First = Middle + 1;
				Count -= Step + 1;
			}
			else
			{
				Count = Step;
			}
		}
		return First;
	}

	template <typename OtherKey>
	int32 FindIndex(const OtherKey& Key) const
	{
		const int32 Index = LowerBound(Key);
		return (Index < Pairs.Num() && IsEqual(Pairs[Index].Key, Key)) ? Index : INDEX_NONE;
	}

	TArray<ElementType, ArrayAllocator> Pairs;
};
