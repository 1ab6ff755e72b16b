// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

template <int IndexSize> class TSizedDefaultAllocator;
using FDefaultAllocator = TSizedDefaultAllocator<32>;
using FDefaultAllocator64 = TSizedDefaultAllocator<64>;
class FDefaultSetAllocator;
class FDefaultSparseArrayAllocator;
class FDefaultBitArrayAllocator;

class FString;
class FName;
class FText;

template <typename T, typename Allocator = FDefaultAllocator> class TArray;
template <typename T> using TArray64 = TArray<T, FDefaultAllocator64>;
template <typename T, typename SizeType = int32> class TArrayView;
template <typename T, typename SizeType = int32> using TConstArrayView = TArrayView<const T, SizeType>;
template <typename T> using TArrayView64 = TArrayView<T, int64>;
template <typename T> using TConstArrayView64 = TConstArrayView<T, int64>;
template <typename T, typename Allocator = FDefaultSparseArrayAllocator> class TSparseArray;
template <typename ElementType, bool bInAllowDuplicateKeys = false> struct DefaultKeyFuncs;
template <typename InElementType, typename KeyFuncs = DefaultKeyFuncs<InElementType>, typename Allocator = FDefaultSetAllocator> class TSet;
template <typename KeyType, typename ValueType, bool bInAllowDuplicateKeys> struct TDefaultMapHashableKeyFuncs;
template <typename InKeyType, typename InValueType, typename SetAllocator = FDefaultSetAllocator, typename KeyFuncs = TDefaultMapHashableKeyFuncs<InKeyType, InValueType, false>> class TMap;
template <typename KeyType, typename ValueType, typename SetAllocator = FDefaultSetAllocator, typename KeyFuncs = TDefaultMapHashableKeyFuncs<KeyType, ValueType, true>> class TMultiMap;
#include "Templates/Less.h"
template <typename KeyType, typename ValueType, typename ArrayAllocator = FDefaultAllocator, typename SortPredicate = TLess<KeyType>> class TSortedMap;
template <typename InElementType, uint32 NumElements, uint32 Alignment = alignof(InElementType)> class TStaticArray;
template <typename FuncType> class TFunction;
template <typename FuncType> class TFunctionRef;
template <typename FuncType> class TUniqueFunction;
