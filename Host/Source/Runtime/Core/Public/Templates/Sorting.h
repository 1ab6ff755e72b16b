// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/Less.h"
#include <algorithm>

// Sorting of raw ranges. Like the engine's, sorting an array of pointers compares the pointees.

template <typename T, class PredicateType>
struct TDereferenceWrapper
{
	const PredicateType& Predicate;
	TDereferenceWrapper(const PredicateType& InPredicate) : Predicate(InPredicate) {}
	FORCEINLINE bool operator()(T& A, T& B) { return Predicate(A, B); }
	FORCEINLINE bool operator()(const T& A, const T& B) const { return Predicate(A, B); }
};

template <typename T, class PredicateType>
struct TDereferenceWrapper<T*, PredicateType>
{
	const PredicateType& Predicate;
	TDereferenceWrapper(const PredicateType& InPredicate) : Predicate(InPredicate) {}
	FORCEINLINE bool operator()(T* A, T* B) const { return Predicate(*A, *B); }
};

template <class T, class PredicateType>
void Sort(T* First, const int32 Num, const PredicateType& Predicate)
{
	std::sort(First, First + Num, TDereferenceWrapper<T, PredicateType>(Predicate));
}

template <class T>
void Sort(T* First, const int32 Num)
{
	Sort(First, Num, TLess<std::remove_pointer_t<T>>());
}

template <class T, class PredicateType>
void StableSort(T* First, const int32 Num, const PredicateType& Predicate)
{
	std::stable_sort(First, First + Num, TDereferenceWrapper<T, PredicateType>(Predicate));
}

template <class T>
void StableSort(T* First, const int32 Num)
{
	StableSort(First, Num, TLess<std::remove_pointer_t<T>>());
}
