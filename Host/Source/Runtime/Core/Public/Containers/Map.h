// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Set.h"
#include "Templates/Tuple.h"
#include "Templates/Sorting.h"

// A map of keys to values: a TSet of TPair<Key, Value> keyed on the pair's Key.

template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys>
struct TDefaultMapKeyFuncs
{
	typedef KeyType KeyInitTypeBase;
	typedef typename TCallTraits<KeyType>::ParamType KeyInitType;
	typedef const TPair<KeyType, ValueType>& ElementInitType;
	enum { bAllowDuplicateKeys = bInAllowDuplicateKeys };

	static FORCEINLINE KeyInitType GetSetKey(ElementInitType Element) { return Element.Key; }
	static FORCEINLINE bool Matches(KeyInitType A, KeyInitType B) { return A == B; }
	template <typename ComparableKey>
	static FORCEINLINE bool Matches(KeyInitType A, ComparableKey B) { return A == B; }
	static FORCEINLINE uint32 GetKeyHash(KeyInitType Key) { return GetTypeHash(Key); }
	template <typename ComparableKey>
	static FORCEINLINE uint32 GetKeyHash(ComparableKey Key) { return GetTypeHash(Key); }
};

template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys>
struct TDefaultMapHashableKeyFuncs : TDefaultMapKeyFuncs<KeyType, ValueType, bInAllowDuplicateKeys>
{
};

template <typename KeyType, typename ValueType, typename SetAllocator, typename KeyFuncs>
class TMapBase
{
public:
	typedef typename KeyFuncs::KeyInitType KeyConstPointerType;
	typedef typename KeyFuncs::KeyInitType KeyInitType;
	typedef typename TCallTraits<ValueType>::ParamType ValueInitType;
	typedef TPair<KeyType, ValueType> ElementType;

protected:
	typedef TSet<ElementType, KeyFuncs, SetAllocator> ElementSetType;

	TMapBase() = default;
	TMapBase(const TMapBase&) = default;
	TMapBase(TMapBase&&) = default;
	TMapBase& operator=(const TMapBase&) = default;
	TMapBase& operator=(TMapBase&&) = default;

public:
	bool OrderIndependentCompareEqual(const TMapBase& Other) const
	{
		if (Num() != Other.Num())
		{
			return false;
		}
		for (const ElementType& Pair : Pairs)
		{
			const ValueType* OtherValue = Other.Find(Pair.Key);
			if (!OtherValue || !(*OtherValue == Pair.Value))
			{
				return false;
			}
		}
		return true;
	}

	FORCEINLINE void Empty(int32 ExpectedNumElements = 0) { Pairs.Empty(ExpectedNumElements); }
	FORCEINLINE void Reset() { Pairs.Reset(); }
	FORCEINLINE void Shrink() { Pairs.Shrink(); }
	FORCEINLINE void Compact() { Pairs.Compact(); }
	FORCEINLINE void CompactStable() { Pairs.CompactStable(); }
	FORCEINLINE void Reserve(int32 Number) { Pairs.Reserve(Number); }
	[[nodiscard]] FORCEINLINE bool IsEmpty() const { return Pairs.IsEmpty(); }
	FORCEINLINE int32 Num() const { return Pairs.Num(); }
	FORCEINLINE int32 GetMaxIndex() const { return Pairs.GetMaxIndex(); }
	FORCEINLINE bool IsValidId(FSetElementId Id) const { return Pairs.IsValidId(Id); }
	FORCEINLINE ElementType& Get(FSetElementId Id) { return Pairs[Id]; }
	FORCEINLINE const ElementType& Get(FSetElementId Id) const { return Pairs[Id]; }
	SIZE_T GetAllocatedSize() const { return Pairs.GetAllocatedSize(); }

	template <typename Allocator>
	int32 GetKeys(TArray<KeyType, Allocator>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutKeys.Add(Pair.Key);
		}
		return OutKeys.Num();
	}

	template <typename OtherKeyFuncs, typename OtherAllocator>
	int32 GetKeys(TSet<KeyType, OtherKeyFuncs, OtherAllocator>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutKeys.Add(Pair.Key);
		}
		return OutKeys.Num();
	}

	FORCEINLINE ValueType& Add(const KeyType& InKey, const ValueType& InValue) { return Emplace(InKey, InValue); }
	FORCEINLINE ValueType& Add(const KeyType& InKey, ValueType&& InValue) { return Emplace(InKey, MoveTempIfPossible(InValue)); }
	FORCEINLINE ValueType& Add(KeyType&& InKey, const ValueType& InValue) { return Emplace(MoveTempIfPossible(InKey), InValue); }
	FORCEINLINE ValueType& Add(KeyType&& InKey, ValueType&& InValue) { return Emplace(MoveTempIfPossible(InKey), MoveTempIfPossible(InValue)); }
	FORCEINLINE ValueType& Add(const KeyType& InKey) { return Emplace(InKey); }
	FORCEINLINE ValueType& Add(KeyType&& InKey) { return Emplace(MoveTempIfPossible(InKey)); }
	FORCEINLINE ValueType& Add(const TTuple<KeyType, ValueType>& InKeyValue) { return Emplace(InKeyValue.Key, InKeyValue.Value); }
	FORCEINLINE ValueType& Add(TTuple<KeyType, ValueType>&& InKeyValue) { return Emplace(MoveTempIfPossible(InKeyValue.Key), MoveTempIfPossible(InKeyValue.Value)); }

	FORCEINLINE ValueType& AddByHash(uint32 KeyHash, const KeyType& InKey, const ValueType& InValue) { return EmplaceByHash(KeyHash, InKey, InValue); }
	FORCEINLINE ValueType& AddByHash(uint32 KeyHash, KeyType&& InKey, ValueType&& InValue) { return EmplaceByHash(KeyHash, MoveTempIfPossible(InKey), MoveTempIfPossible(InValue)); }

	template <typename InitKeyType = KeyType, typename InitValueType = ValueType>
	ValueType& Emplace(InitKeyType&& InKey, InitValueType&& InValue)
	{
		const FSetElementId PairId = Pairs.Emplace(ElementType(Forward<InitKeyType>(InKey), Forward<InitValueType>(InValue)));
		return Pairs[PairId].Value;
	}

	template <typename InitKeyType = KeyType>
	ValueType& Emplace(InitKeyType&& InKey)
	{
		const FSetElementId PairId = Pairs.Emplace(ElementType(Forward<InitKeyType>(InKey), ValueType()));
		return Pairs[PairId].Value;
	}

	template <typename InitKeyType = KeyType, typename InitValueType = ValueType>
	ValueType& EmplaceByHash(uint32 KeyHash, InitKeyType&& InKey, InitValueType&& InValue)
	{
		const FSetElementId PairId = Pairs.EmplaceByHash(KeyHash, ElementType(Forward<InitKeyType>(InKey), Forward<InitValueType>(InValue)));
		return Pairs[PairId].Value;
	}

	FORCEINLINE int32 Remove(KeyConstPointerType InKey) { return Pairs.Remove(InKey); }
	FORCEINLINE void Remove(FSetElementId Id) { Pairs.Remove(Id); }
	template <typename ComparableKey>
	FORCEINLINE int32 RemoveByHash(uint32 KeyHash, const ComparableKey& Key) { return Pairs.RemoveByHash(KeyHash, Key); }

	const KeyType* FindKey(ValueInitType Value) const
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
		if (ElementType* Pair = Pairs.Find(Key))
		{
			return &Pair->Value;
		}
		return nullptr;
	}
	FORCEINLINE const ValueType* Find(KeyConstPointerType Key) const { return const_cast<TMapBase*>(this)->Find(Key); }

	FORCEINLINE FSetElementId FindId(KeyInitType Key) const { return Pairs.FindId(Key); }

	template <typename ComparableKey>
	FORCEINLINE ValueType* FindByHash(uint32 KeyHash, const ComparableKey& Key)
	{
		if (ElementType* Pair = Pairs.FindByHash(KeyHash, Key))
		{
			return &Pair->Value;
		}
		return nullptr;
	}
	template <typename ComparableKey>
	FORCEINLINE const ValueType* FindByHash(uint32 KeyHash, const ComparableKey& Key) const
	{
		return const_cast<TMapBase*>(this)->FindByHash(KeyHash, Key);
	}

	template <typename InitKeyType>
	ValueType& FindOrAddImpl(uint32 KeyHash, InitKeyType&& Key)
	{
		if (ElementType* Pair = Pairs.FindByHash(KeyHash, Key))
		{
			return Pair->Value;
		}
		return EmplaceByHash(KeyHash, Forward<InitKeyType>(Key), ValueType());
	}

	template <typename InitKeyType, typename InitValueType>
	ValueType& FindOrAddImpl(uint32 KeyHash, InitKeyType&& Key, InitValueType&& Value)
	{
		if (ElementType* Pair = Pairs.FindByHash(KeyHash, Key))
		{
			return Pair->Value;
		}
		return EmplaceByHash(KeyHash, Forward<InitKeyType>(Key), Forward<InitValueType>(Value));
	}

	FORCEINLINE ValueType& FindOrAdd(const KeyType& Key) { return FindOrAddImpl(KeyFuncs::GetKeyHash(Key), Key); }
	FORCEINLINE ValueType& FindOrAdd(KeyType&& Key) { return FindOrAddImpl(KeyFuncs::GetKeyHash(Key), MoveTempIfPossible(Key)); }
	FORCEINLINE ValueType& FindOrAdd(const KeyType& Key, const ValueType& Value) { return FindOrAddImpl(KeyFuncs::GetKeyHash(Key), Key, Value); }
	FORCEINLINE ValueType& FindOrAdd(const KeyType& Key, ValueType&& Value) { return FindOrAddImpl(KeyFuncs::GetKeyHash(Key), Key, MoveTempIfPossible(Value)); }
	FORCEINLINE ValueType& FindOrAdd(KeyType&& Key, const ValueType& Value) { return FindOrAddImpl(KeyFuncs::GetKeyHash(Key), MoveTempIfPossible(Key), Value); }
	FORCEINLINE ValueType& FindOrAdd(KeyType&& Key, ValueType&& Value) { return FindOrAddImpl(KeyFuncs::GetKeyHash(Key), MoveTempIfPossible(Key), MoveTempIfPossible(Value)); }
	FORCEINLINE ValueType& FindOrAddByHash(uint32 KeyHash, const KeyType& Key) { return FindOrAddImpl(KeyHash, Key); }
	FORCEINLINE ValueType& FindOrAddByHash(uint32 KeyHash, KeyType&& Key) { return FindOrAddImpl(KeyHash, MoveTempIfPossible(Key)); }

	FORCEINLINE const ValueType& FindChecked(KeyConstPointerType Key) const
	{
		const ElementType* Pair = Pairs.Find(Key);
		check(Pair != nullptr);
		return Pair->Value;
	}
	FORCEINLINE ValueType& FindChecked(KeyConstPointerType Key)
	{
		ElementType* Pair = Pairs.Find(Key);
		check(Pair != nullptr);
		return Pair->Value;
	}

	FORCEINLINE ValueType FindRef(KeyConstPointerType Key) const
	{
		if (const ElementType* Pair = Pairs.Find(Key))
		{
			return Pair->Value;
		}
		return ValueType();
	}

	FORCEINLINE ValueType FindRef(KeyConstPointerType Key, ValueType DefaultValue) const
	{
		if (const ElementType* Pair = Pairs.Find(Key))
		{
			return Pair->Value;
		}
		return DefaultValue;
	}

	FORCEINLINE bool Contains(KeyConstPointerType Key) const { return Pairs.Contains(Key); }
	template <typename ComparableKey>
	FORCEINLINE bool ContainsByHash(uint32 KeyHash, const ComparableKey& Key) const { return Pairs.ContainsByHash(KeyHash, Key); }

	TArray<ElementType> Array() const { return Pairs.Array(); }

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

	template <bool bConst>
	class TBaseIterator
	{
	public:
		using PairItType = std::conditional_t<bConst, typename ElementSetType::TConstIterator, typename ElementSetType::TIterator>;
		using ItKeyType = std::conditional_t<bConst, const KeyType, KeyType>;
		using ItValueType = std::conditional_t<bConst, const ValueType, ValueType>;
		using PairType = std::conditional_t<bConst, const ElementType, ElementType>;

		FORCEINLINE TBaseIterator(const PairItType& InElementIt) : PairIt(InElementIt) {}

		FORCEINLINE TBaseIterator& operator++()
		{
			++PairIt;
			return *this;
		}
		FORCEINLINE explicit operator bool() const { return !!PairIt; }
		FORCEINLINE bool operator!() const { return !(bool)*this; }
		FORCEINLINE bool operator==(const TBaseIterator& Rhs) const { return PairIt == Rhs.PairIt; }
		FORCEINLINE bool operator!=(const TBaseIterator& Rhs) const { return PairIt != Rhs.PairIt; }
		FORCEINLINE ItKeyType& Key() const { return PairIt->Key; }
		FORCEINLINE ItValueType& Value() const { return PairIt->Value; }
		FORCEINLINE FSetElementId GetId() const { return PairIt.GetId(); }
		FORCEINLINE PairType& operator*() const { return *PairIt; }
		FORCEINLINE PairType* operator->() const { return &*PairIt; }

	protected:
		PairItType PairIt;
	};

	class TIterator : public TBaseIterator<false>
	{
	public:
		FORCEINLINE TIterator(TMapBase& InMap) : TBaseIterator<false>(InMap.Pairs.CreateIterator()) {}
		FORCEINLINE TIterator(const typename ElementSetType::TIterator& It) : TBaseIterator<false>(It) {}
		FORCEINLINE void RemoveCurrent() { this->PairIt.RemoveCurrent(); }
	};

	class TConstIterator : public TBaseIterator<true>
	{
	public:
		FORCEINLINE TConstIterator(const TMapBase& InMap) : TBaseIterator<true>(InMap.Pairs.CreateConstIterator()) {}
		FORCEINLINE TConstIterator(const typename ElementSetType::TConstIterator& It) : TBaseIterator<true>(It) {}
	};

	FORCEINLINE TIterator CreateIterator() { return TIterator(*this); }
	FORCEINLINE TConstIterator CreateConstIterator() const { return TConstIterator(*this); }

	FORCEINLINE auto begin() { return Pairs.begin(); }
	FORCEINLINE auto begin() const { return Pairs.begin(); }
	FORCEINLINE auto end() { return Pairs.end(); }
	FORCEINLINE auto end() const { return Pairs.end(); }

protected:
	ElementSetType Pairs;
};

template <typename InKeyType, typename InValueType, typename SetAllocator, typename KeyFuncs>
class TMap : public TMapBase<InKeyType, InValueType, SetAllocator, KeyFuncs>
{
	using Super = TMapBase<InKeyType, InValueType, SetAllocator, KeyFuncs>;

public:
	typedef InKeyType KeyType;
	typedef InValueType ValueType;
	typedef typename Super::KeyInitType KeyInitType;
	typedef typename Super::KeyConstPointerType KeyConstPointerType;
	typedef typename Super::ElementType ElementType;

	TMap() = default;
	TMap(const TMap&) = default;
	TMap(TMap&&) = default;
	TMap& operator=(const TMap&) = default;
	TMap& operator=(TMap&&) = default;

	TMap(std::initializer_list<TTuple<KeyType, ValueType>> InitList)
	{
		this->Reserve((int32)InitList.size());
		for (const TTuple<KeyType, ValueType>& Element : InitList)
		{
			this->Add(Element.Key, Element.Value);
		}
	}

	TMap& operator=(std::initializer_list<TTuple<KeyType, ValueType>> InitList)
	{
		this->Empty((int32)InitList.size());
		for (const TTuple<KeyType, ValueType>& Element : InitList)
		{
			this->Add(Element.Key, Element.Value);
		}
		return *this;
	}

	bool RemoveAndCopyValue(KeyInitType Key, ValueType& OutRemovedValue)
	{
		const FSetElementId PairId = this->Pairs.FindId(Key);
		if (!PairId.IsValidId())
		{
			return false;
		}
		OutRemovedValue = MoveTempIfPossible(this->Pairs[PairId].Value);
		this->Pairs.Remove(PairId);
		return true;
	}

	ValueType FindAndRemoveChecked(KeyConstPointerType Key)
	{
		const FSetElementId PairId = this->Pairs.FindId(Key);
		check(PairId.IsValidId());
		ValueType Result = MoveTempIfPossible(this->Pairs[PairId].Value);
		this->Pairs.Remove(PairId);
		return Result;
	}

	template <typename OtherSetAllocator>
	void Append(TMap<KeyType, ValueType, OtherSetAllocator, KeyFuncs>&& OtherMap)
	{
		this->Reserve(this->Num() + OtherMap.Num());
		for (auto& Pair : OtherMap)
		{
			this->Add(MoveTempIfPossible(Pair.Key), MoveTempIfPossible(Pair.Value));
		}
		OtherMap.Reset();
	}

	template <typename OtherSetAllocator>
	void Append(const TMap<KeyType, ValueType, OtherSetAllocator, KeyFuncs>& OtherMap)
	{
		this->Reserve(this->Num() + OtherMap.Num());
		for (const auto& Pair : OtherMap)
		{
			this->Add(Pair.Key, Pair.Value);
		}
	}

	FORCEINLINE ValueType& operator[](KeyConstPointerType Key) { return this->FindChecked(Key); }
	FORCEINLINE const ValueType& operator[](KeyConstPointerType Key) const { return this->FindChecked(Key); }

	template <typename PREDICATE_CLASS>
	FORCEINLINE void KeySort(const PREDICATE_CLASS& Predicate)
	{
		this->Pairs.Sort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Key, B.Key); });
	}
	template <typename PREDICATE_CLASS>
	FORCEINLINE void KeyStableSort(const PREDICATE_CLASS& Predicate)
	{
		this->Pairs.StableSort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Key, B.Key); });
	}
	template <typename PREDICATE_CLASS>
	FORCEINLINE void ValueSort(const PREDICATE_CLASS& Predicate)
	{
		this->Pairs.Sort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Value, B.Value); });
	}
	template <typename PREDICATE_CLASS>
	FORCEINLINE void ValueStableSort(const PREDICATE_CLASS& Predicate)
	{
		this->Pairs.StableSort([&Predicate](const ElementType& A, const ElementType& B) { return Predicate(A.Value, B.Value); });
	}

	template <typename Predicate>
	TMap FilterByPredicate(Predicate Pred) const
	{
		TMap FilterResults;
		FilterResults.Reserve(this->Pairs.Num());
		for (const ElementType& Element : this->Pairs)
		{
			if (Pred(Element))
			{
				FilterResults.Add(Element.Key, Element.Value);
			}
		}
		return FilterResults;
	}

	template <typename PREDICATE_CLASS>
	int32 RemoveAll(const PREDICATE_CLASS& Predicate)
	{
		int32 Removed = 0;
		for (typename Super::TIterator It = this->CreateIterator(); It; ++It)
		{
			if (Predicate(*It))
			{
				It.RemoveCurrent();
				++Removed;
			}
		}
		return Removed;
	}

};

// A map allowing several values per key.
template <typename KeyType, typename ValueType, typename SetAllocator, typename KeyFuncs>
class TMultiMap : public TMapBase<KeyType, ValueType, SetAllocator, KeyFuncs>
{
	using Super = TMapBase<KeyType, ValueType, SetAllocator, KeyFuncs>;

public:
	typedef typename Super::KeyConstPointerType KeyConstPointerType;
	typedef typename Super::ValueInitType ValueInitType;

	template <typename Allocator>
	void MultiFind(KeyConstPointerType Key, TArray<ValueType, Allocator>& OutValues, bool bMaintainOrder = false) const
	{
		for (const auto& Pair : this->Pairs)
		{
			if (Pair.Key == Key)
			{
				OutValues.Add(Pair.Value);
			}
		}
	}

	ValueType& AddUnique(const KeyType& InKey, const ValueType& InValue)
	{
		for (auto& Pair : this->Pairs)
		{
			if (Pair.Key == InKey && Pair.Value == InValue)
			{
				return Pair.Value;
			}
		}
		return this->Add(InKey, InValue);
	}

	int32 Remove(KeyConstPointerType InKey) { return Super::Remove(InKey); }

	int32 Remove(KeyConstPointerType InKey, ValueInitType InValue)
	{
		int32 NumRemoved = 0;
		for (auto It = this->CreateIterator(); It; ++It)
		{
			if (It.Key() == InKey && It.Value() == InValue)
			{
				It.RemoveCurrent();
				++NumRemoved;
			}
		}
		return NumRemoved;
	}

	int32 Num(KeyConstPointerType Key) const
	{
		int32 NumMatching = 0;
		for (const auto& Pair : this->Pairs)
		{
			NumMatching += Pair.Key == Key ? 1 : 0;
		}
		return NumMatching;
	}
	using Super::Num;
};

template <typename KeyType, typename ValueType, typename SetAllocator, typename KeyFuncs>
struct TIsTMap<TMap<KeyType, ValueType, SetAllocator, KeyFuncs>> { enum { Value = true }; };
