// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"

template <typename T = void>
struct TLess
{
	FORCEINLINE bool operator()(const T& A, const T& B) const { return A < B; }
};

template <>
struct TLess<void>
{
	template <typename T, typename U>
	FORCEINLINE bool operator()(T&& A, U&& B) const { return Forward<T>(A) < Forward<U>(B); }
};

template <typename T = void>
struct TGreater
{
	FORCEINLINE bool operator()(const T& A, const T& B) const { return B < A; }
};

template <>
struct TGreater<void>
{
	template <typename T, typename U>
	FORCEINLINE bool operator()(T&& A, U&& B) const { return Forward<U>(B) < Forward<T>(A); }
};
