// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <type_traits>

// The type traits engine headers and user code name, on top of <type_traits>.

template <typename T> struct TRemoveReference { typedef std::remove_reference_t<T> Type; };
template <typename T> using TRemoveReference_T = typename TRemoveReference<T>::Type;
template <typename T> struct TRemoveCV { typedef std::remove_cv_t<T> Type; };
template <typename T> struct TRemovePointer { typedef std::remove_pointer_t<T> Type; };
template <typename T> struct TDecay { typedef std::decay_t<T> Type; };
template <typename T> struct TRemoveExtent { typedef std::remove_extent_t<T> Type; };
template <typename T> struct TIsPointer { enum { Value = std::is_pointer_v<std::remove_cv_t<T>> }; };
template <typename T> struct TIsArithmetic { enum { Value = std::is_arithmetic_v<std::remove_cv_t<T>> }; };
template <typename T> struct TIsIntegral { enum { Value = std::is_integral_v<std::remove_cv_t<T>> }; };
template <typename T> struct TIsFloatingPoint { enum { Value = std::is_floating_point_v<std::remove_cv_t<T>> }; };
template <typename T> struct TIsSigned { enum { Value = std::is_signed_v<T> }; };
template <typename T> struct TIsEnum { enum { Value = __is_enum(T) }; };
template <typename T> struct TIsEnumClass { enum { Value = std::is_enum_v<T> && !std::is_convertible_v<T, int> }; };
template <typename T> struct TIsArray { enum { Value = std::is_array_v<T> }; };
template <typename T> struct TIsFunction { enum { Value = std::is_function_v<T> }; };
template <typename T> struct TIsConst { enum { Value = std::is_const_v<T> }; };
template <typename T> struct TIsLValueReferenceType { enum { Value = std::is_lvalue_reference_v<T> }; };
template <typename T> struct TIsRValueReferenceType { enum { Value = std::is_rvalue_reference_v<T> }; };
template <typename A, typename B> struct TIsSame { enum { Value = std::is_same_v<A, B> }; };
template <typename From, typename To> struct TIsConvertible { enum { Value = std::is_convertible_v<From, To> }; };
template <typename T, typename... Args> struct TIsConstructible { enum { Value = std::is_constructible_v<T, Args...> }; };
template <typename T> struct TIsTriviallyDestructible { enum { Value = std::is_trivially_destructible_v<T> }; };
template <typename T> struct TIsTriviallyCopyConstructible { enum { Value = std::is_trivially_copy_constructible_v<T> }; };
template <typename T> struct TIsTriviallyCopyAssignable { enum { Value = std::is_trivially_copy_assignable_v<T> }; };
template <typename T> struct TIsTrivial { enum { Value = std::is_trivial_v<T> }; };
template <typename T> struct TIsAbstract { enum { Value = __is_abstract(T) }; };
template <typename T> struct TIsPODType { enum { Value = std::is_trivial_v<T> && std::is_standard_layout_v<T> }; };
template <typename T> struct TIsZeroConstructType { enum { Value = std::is_enum_v<T> || std::is_arithmetic_v<T> || std::is_pointer_v<T> }; };
template <typename T> struct TIsWeakPointerType { enum { Value = false }; };
template <typename T> struct TIsCharType { enum { Value = false }; };
template <> struct TIsCharType<ANSICHAR> { enum { Value = true }; };
template <> struct TIsCharType<UTF8CHAR> { enum { Value = true }; };
template <> struct TIsCharType<WIDECHAR> { enum { Value = true }; };
template <> struct TIsCharType<UTF32CHAR> { enum { Value = true }; };
template <> struct TIsCharType<wchar_t> { enum { Value = true }; };

// Derived -> Base test that also accepts Base == Derived.
template <typename DerivedType, typename BaseType>
struct TIsDerivedFrom
{
	enum { Value = std::is_base_of_v<BaseType, DerivedType> || std::is_same_v<std::remove_cv_t<BaseType>, std::remove_cv_t<DerivedType>> };
	enum { IsDerived = Value };
};

template <bool Predicate, typename Result = void> struct TEnableIf;
template <typename Result> struct TEnableIf<true, Result> { typedef Result Type; };
template <typename Result> struct TEnableIf<false, Result> {};
template <bool Predicate, typename Result = void> using TEnableIf_T = typename TEnableIf<Predicate, Result>::Type;

template <typename... Types> struct TAnd { enum { Value = (Types::Value && ...) }; };
template <typename... Types> struct TOr { enum { Value = (Types::Value || ...) }; };
template <typename Type> struct TNot { enum { Value = !Type::Value }; };

template <bool bCondition, typename TrueClass, typename FalseClass> struct TChooseClass { typedef std::conditional_t<bCondition, TrueClass, FalseClass> Result; };
template <typename T> struct TIdentity { typedef T Type; };
template <typename T> using TIdentity_T = T;

// Types that may be moved in memory with memcpy; every engine container relies on this.
template <typename T> struct TIsBitwiseConstructible;
template <typename T, typename Arg>
struct TIsBitwiseConstructibleImpl { enum { Value = std::is_same_v<std::remove_cv_t<T>, std::remove_cv_t<Arg>> && std::is_trivially_copy_constructible_v<T> }; };

template <typename T>
struct TCallTraits
{
	typedef std::conditional_t<(std::is_arithmetic_v<T> || std::is_pointer_v<T> || std::is_enum_v<T>), const T, const T&> ParamType;
	typedef const T& ConstReference;
	typedef T& Reference;
	typedef const T& ConstPointerType;
	typedef T ValueType;
};

template <typename T>
struct TTypeTraitsBase
{
	typedef typename TCallTraits<T>::ParamType ConstInitType;
	typedef typename TCallTraits<T>::ConstPointerType ConstPointerType;
	enum { IsBytewiseComparable = std::is_enum_v<T> || std::is_arithmetic_v<T> || std::is_pointer_v<T> };
};
template <typename T> struct TTypeTraits : public TTypeTraitsBase<T> {};

template <typename T> struct TIsContiguousContainer { enum { Value = false }; };
template <typename T> struct TIsContiguousContainer<const T> : TIsContiguousContainer<T> {};
template <typename T> struct TIsContiguousContainer<T&> : TIsContiguousContainer<T> {};
template <typename T, size_t N> struct TIsContiguousContainer<T[N]> { enum { Value = true }; };
template <typename T> struct TIsContiguousContainer<std::initializer_list<T>> { enum { Value = true }; };

template <typename T> struct TIsTArray { enum { Value = false }; };
template <typename T> struct TIsTMap { enum { Value = false }; };
template <typename T> struct TIsTSet { enum { Value = false }; };

// Whether T can be passed through a variadic argument list, as the engine's printf checks.
template <typename T>
struct TIsValidVariadicFunctionArg
{
	enum { Value = std::is_arithmetic_v<T> || std::is_pointer_v<T> || std::is_enum_v<T> || std::is_null_pointer_v<T> };
};

template <typename T> struct TRValueToLValueReference { typedef T Type; };
template <typename T> struct TRValueToLValueReference<T&&> { typedef T& Type; };

template <typename T> inline constexpr bool TIsEnum_V = __is_enum(T);
