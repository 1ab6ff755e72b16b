// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTypeTraits.h"
#include <cstring>
#include <initializer_list>
#include <utility>

// Casts an lvalue or rvalue to an rvalue; refuses const arguments as the engine's MoveTemp does.
template <typename T>
FORCEINLINE constexpr std::remove_reference_t<T>&& MoveTemp(T&& Obj)
{
	using CastType = std::remove_reference_t<T>;
	static_assert(std::is_lvalue_reference_v<T>, "MoveTemp called on an rvalue");
	static_assert(!std::is_const_v<CastType>, "MoveTemp called on a const object");
	return (CastType&&)Obj;
}

template <typename T>
FORCEINLINE constexpr std::remove_reference_t<T>&& MoveTempIfPossible(T&& Obj)
{
	return (std::remove_reference_t<T>&&)Obj;
}

template <typename T>
FORCEINLINE constexpr T&& Forward(std::remove_reference_t<T>& Obj)
{
	return (T&&)Obj;
}

template <typename T>
FORCEINLINE constexpr T&& Forward(std::remove_reference_t<T>&& Obj)
{
	return (T&&)Obj;
}

template <typename T>
FORCEINLINE T CopyTemp(T& Val)
{
	return const_cast<const T&>(Val);
}

template <typename T>
FORCEINLINE T CopyTemp(const T& Val)
{
	return Val;
}

template <typename T>
FORCEINLINE constexpr const T& AsConst(T& Ref)
{
	return Ref;
}

template <typename T>
FORCEINLINE void Swap(T& A, T& B)
{
	T Temp = MoveTempIfPossible(A);
	A = MoveTempIfPossible(B);
	B = MoveTempIfPossible(Temp);
}

template <typename T, typename U = T>
FORCEINLINE T Exchange(T& Value, U&& NewValue)
{
	T OldValue = MoveTempIfPossible(Value);
	Value = Forward<U>(NewValue);
	return OldValue;
}

template <typename T>
FORCEINLINE void Exchange(T& A, T& B)
{
	Swap(A, B);
}

template <typename T>
constexpr FORCEINLINE T Align(T Val, uint64 Alignment)
{
	return (T)(((uint64)Val + Alignment - 1) & ~(Alignment - 1));
}

template <typename T>
constexpr FORCEINLINE T AlignDown(T Val, uint64 Alignment)
{
	return (T)(((uint64)Val) & ~(Alignment - 1));
}

template <typename T>
constexpr FORCEINLINE bool IsAligned(T Val, uint64 Alignment)
{
	return !((uint64)Val & (Alignment - 1));
}

template <typename ReferencedType>
FORCEINLINE ReferencedType* IfAThenAElseB(ReferencedType* A, ReferencedType* B)
{
	return A ? A : B;
}

// Restores a variable's value when the scope ends.
template <typename RefType, typename AssignedType = RefType>
struct TGuardValue
{
	[[nodiscard]] TGuardValue(RefType& ReferenceValue, const AssignedType& NewValue)
		: RefValue(ReferenceValue), OldValue(ReferenceValue)
	{
		RefValue = NewValue;
	}
	~TGuardValue()
	{
		RefValue = OldValue;
	}
	TGuardValue(const TGuardValue&) = delete;
	TGuardValue& operator=(const TGuardValue&) = delete;
	const AssignedType& GetOriginalValue() const { return OldValue; }

private:
	RefType& RefValue;
	AssignedType OldValue;
};

template <typename Type>
struct TScopeCounter
{
	[[nodiscard]] explicit TScopeCounter(Type& ReferenceValue) : RefValue(ReferenceValue) { ++RefValue; }
	~TScopeCounter() { --RefValue; }
	TScopeCounter(const TScopeCounter&) = delete;
	TScopeCounter& operator=(const TScopeCounter&) = delete;

private:
	Type& RefValue;
};

class FNoncopyable
{
protected:
	FNoncopyable() {}
	~FNoncopyable() {}

private:
	FNoncopyable(const FNoncopyable&);
	FNoncopyable& operator=(const FNoncopyable&);
};

// Contiguous-range helpers used by containers and views.
template <typename T, size_t N> constexpr T* GetData(T (&Container)[N]) { return Container; }
template <typename T, size_t N> constexpr SIZE_T GetNum(T (&)[N]) { return N; }
template <typename T> constexpr const T* GetData(std::initializer_list<T> List) { return List.begin(); }
template <typename T> constexpr SIZE_T GetNum(std::initializer_list<T> List) { return List.size(); }
template <typename T> auto GetData(T&& Container) -> decltype(Container.GetData()) { return Container.GetData(); }
template <typename T> auto GetNum(T&& Container) -> decltype(Container.Num()) { return Container.Num(); }

template <typename T>
FORCEINLINE T* ToRawPtr(T* Ptr)
{
	return Ptr;
}

// Value of a bitwise move: the source is left in an unspecified but destructible state.
template <typename T>
FORCEINLINE void RelocateConstructItems(void* Dest, const T* Source, int32 Count)
{
	std::memmove(Dest, (const void*)Source, sizeof(T) * Count);
}

#define UE_STATIC_DEPRECATE(Version, bExpression, Message)
