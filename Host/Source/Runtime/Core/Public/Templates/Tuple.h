// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"
#include "Templates/TypeHash.h"
#include "Templates/Invoke.h"
#include <tuple>
#include <utility>

// TTuple stores its elements in declaration order (delegate payloads rely on the layout);
// the two-element form names them Key and Value and is TPair.

template <typename... Types>
struct TTuple;

namespace UE::Core::Private::Tuple
{
	enum EForwardingConstructor
	{
		ForwardingConstructor
	};

	template <typename T, uint32 Index>
	struct TTupleElement
	{
		T Value;

		constexpr TTupleElement() : Value() {}
		template <typename ArgType>
		constexpr explicit TTupleElement(EForwardingConstructor, ArgType&& Arg) : Value(Forward<ArgType>(Arg)) {}
	};

	template <typename Indices, typename... Types>
	struct TTupleStorage;

	template <uint32... Indices, typename... Types>
	struct TTupleStorage<std::integer_sequence<uint32, Indices...>, Types...> : TTupleElement<Types, Indices>...
	{
		constexpr TTupleStorage() = default;
		template <typename... ArgTypes>
		constexpr explicit TTupleStorage(EForwardingConstructor, ArgTypes&&... Args)
			: TTupleElement<Types, Indices>(ForwardingConstructor, Forward<ArgTypes>(Args))...
		{
		}

		template <uint32 Index>
		constexpr auto& Get() &
		{
			using ElementType = std::tuple_element_t<Index, std::tuple<Types...>>;
			return static_cast<TTupleElement<ElementType, Index>&>(*this).Value;
		}
		template <uint32 Index>
		constexpr const auto& Get() const&
		{
			using ElementType = std::tuple_element_t<Index, std::tuple<Types...>>;
			return static_cast<const TTupleElement<ElementType, Index>&>(*this).Value;
		}
		template <uint32 Index>
		constexpr auto&& Get() &&
		{
			using ElementType = std::tuple_element_t<Index, std::tuple<Types...>>;
			return static_cast<ElementType&&>(static_cast<TTupleElement<ElementType, Index>&>(*this).Value);
		}

		template <typename FuncType, typename... ArgTypes>
		decltype(auto) ApplyAfter(FuncType&& Func, ArgTypes&&... Args) const
		{
			return ::Invoke(Func, Forward<ArgTypes>(Args)..., this->template Get<Indices>()...);
		}
		template <typename FuncType, typename... ArgTypes>
		decltype(auto) ApplyAfter(FuncType&& Func, ArgTypes&&... Args)
		{
			return ::Invoke(Func, Forward<ArgTypes>(Args)..., this->template Get<Indices>()...);
		}
		template <typename FuncType, typename... ArgTypes>
		decltype(auto) ApplyBefore(FuncType&& Func, ArgTypes&&... Args) const
		{
			return ::Invoke(Func, this->template Get<Indices>()..., Forward<ArgTypes>(Args)...);
		}
	};
} // namespace UE::Core::Private::Tuple

template <typename... Types>
struct TTuple : UE::Core::Private::Tuple::TTupleStorage<std::make_integer_sequence<uint32, sizeof...(Types)>, Types...>
{
private:
	using Super = UE::Core::Private::Tuple::TTupleStorage<std::make_integer_sequence<uint32, sizeof...(Types)>, Types...>;

public:
	constexpr TTuple() = default;

	template <typename... ArgTypes, std::enable_if_t<sizeof...(ArgTypes) == sizeof...(Types) && sizeof...(Types) != 0 && (std::is_constructible_v<Types, ArgTypes&&> && ...)>* = nullptr>
	constexpr explicit(!(std::is_convertible_v<ArgTypes&&, Types> && ...)) TTuple(ArgTypes&&... Args)
		: Super(UE::Core::Private::Tuple::ForwardingConstructor, Forward<ArgTypes>(Args)...)
	{
	}

	TTuple(const TTuple&) = default;
	TTuple(TTuple&&) = default;
	TTuple& operator=(const TTuple&) = default;
	TTuple& operator=(TTuple&&) = default;

	using Super::ApplyAfter;
	using Super::ApplyBefore;
	using Super::Get;

	static constexpr uint32 Num() { return sizeof...(Types); }
};

// The pair form: Key and Value members.
template <typename KeyType, typename ValueType>
struct TTuple<KeyType, ValueType>
{
	KeyType Key;
	ValueType Value;

	constexpr TTuple() : Key(), Value() {}

	template <typename KeyArg, typename ValueArg, std::enable_if_t<std::is_constructible_v<KeyType, KeyArg&&> && std::is_constructible_v<ValueType, ValueArg&&>>* = nullptr>
	constexpr TTuple(KeyArg&& InKey, ValueArg&& InValue)
		: Key(Forward<KeyArg>(InKey)), Value(Forward<ValueArg>(InValue))
	{
	}

	template <typename OtherKey, typename OtherValue, std::enable_if_t<std::is_constructible_v<KeyType, const OtherKey&> && std::is_constructible_v<ValueType, const OtherValue&> && !(std::is_same_v<KeyType, OtherKey> && std::is_same_v<ValueType, OtherValue>)>* = nullptr>
	constexpr TTuple(const TTuple<OtherKey, OtherValue>& Other)
		: Key(Other.Key), Value(Other.Value)
	{
	}

	TTuple(const TTuple&) = default;
	TTuple(TTuple&&) = default;
	TTuple& operator=(const TTuple&) = default;
	TTuple& operator=(TTuple&&) = default;

	template <uint32 Index>
	constexpr auto& Get() &
	{
		static_assert(Index < 2, "Tuple index out of range");
		if constexpr (Index == 0)
		{
			return Key;
		}
		else
		{
			return Value;
		}
	}
	template <uint32 Index>
	constexpr const auto& Get() const&
	{
		static_assert(Index < 2, "Tuple index out of range");
		if constexpr (Index == 0)
		{
			return Key;
		}
		else
		{
			return Value;
		}
	}
	template <uint32 Index>
	constexpr auto&& Get() &&
	{
		if constexpr (Index == 0)
		{
			return static_cast<KeyType&&>(Key);
		}
		else
		{
			return static_cast<ValueType&&>(Value);
		}
	}

	template <typename FuncType, typename... ArgTypes>
	decltype(auto) ApplyAfter(FuncType&& Func, ArgTypes&&... Args) const
	{
		return ::Invoke(Func, Forward<ArgTypes>(Args)..., Key, Value);
	}
	template <typename FuncType, typename... ArgTypes>
	decltype(auto) ApplyAfter(FuncType&& Func, ArgTypes&&... Args)
	{
		return ::Invoke(Func, Forward<ArgTypes>(Args)..., Key, Value);
	}
	template <typename FuncType, typename... ArgTypes>
	decltype(auto) ApplyBefore(FuncType&& Func, ArgTypes&&... Args) const
	{
		return ::Invoke(Func, Key, Value, Forward<ArgTypes>(Args)...);
	}

	static constexpr uint32 Num() { return 2; }
};

template <>
struct TTuple<>
{
	constexpr TTuple() = default;
	template <typename FuncType, typename... ArgTypes>
	decltype(auto) ApplyAfter(FuncType&& Func, ArgTypes&&... Args) const
	{
		return ::Invoke(Func, Forward<ArgTypes>(Args)...);
	}
	template <typename FuncType, typename... ArgTypes>
	decltype(auto) ApplyBefore(FuncType&& Func, ArgTypes&&... Args) const
	{
		return ::Invoke(Func, Forward<ArgTypes>(Args)...);
	}
	static constexpr uint32 Num() { return 0; }
};

template <typename KeyType, typename ValueType>
using TPair = TTuple<KeyType, ValueType>;

template <typename... Types>
FORCEINLINE TTuple<std::decay_t<Types>...> MakeTuple(Types&&... Args)
{
	return TTuple<std::decay_t<Types>...>(Forward<Types>(Args)...);
}

template <typename... Types>
FORCEINLINE TTuple<Types&...> Tie(Types&... Args)
{
	return TTuple<Types&...>(Args...);
}

namespace UE::Core::Private::Tuple
{
	template <typename TupleType, uint32... Indices>
	bool EqualImpl(const TupleType& A, const TupleType& B, std::integer_sequence<uint32, Indices...>)
	{
		return ((A.template Get<Indices>() == B.template Get<Indices>()) && ...);
	}
	template <typename TupleType, uint32... Indices>
	bool LessImpl(const TupleType& A, const TupleType& B, std::integer_sequence<uint32, Indices...>)
	{
		bool bResult = false;
		bool bDecided = false;
		(((!bDecided) ? ((A.template Get<Indices>() < B.template Get<Indices>()) ? (bResult = true, bDecided = true) : ((B.template Get<Indices>() < A.template Get<Indices>()) ? (bResult = false, bDecided = true) : false)) : false), ...);
		return bResult;
	}
	template <typename TupleType, uint32... Indices>
	uint32 HashImpl(const TupleType& T, std::integer_sequence<uint32, Indices...>)
	{
		uint32 Hash = 0;
		((Hash = HashCombine(Hash, GetTypeHash(T.template Get<Indices>()))), ...);
		return Hash;
	}
} // namespace UE::Core::Private::Tuple

template <typename... Types>
bool operator==(const TTuple<Types...>& A, const TTuple<Types...>& B)
{
	return UE::Core::Private::Tuple::EqualImpl(A, B, std::make_integer_sequence<uint32, sizeof...(Types)>());
}

template <typename... Types>
bool operator!=(const TTuple<Types...>& A, const TTuple<Types...>& B)
{
	return !(A == B);
}

template <typename... Types>
bool operator<(const TTuple<Types...>& A, const TTuple<Types...>& B)
{
	return UE::Core::Private::Tuple::LessImpl(A, B, std::make_integer_sequence<uint32, sizeof...(Types)>());
}

template <typename... Types>
uint32 GetTypeHash(const TTuple<Types...>& Tuple)
{
	return UE::Core::Private::Tuple::HashImpl(Tuple, std::make_integer_sequence<uint32, sizeof...(Types)>());
}

template <typename T> struct TIsTuple { enum { Value = false }; };
template <typename... Types> struct TIsTuple<TTuple<Types...>> { enum { Value = true }; };

template <typename TupleType> struct TTupleArity;
template <typename... Types> struct TTupleArity<TTuple<Types...>> { static constexpr uint32 Value = sizeof...(Types); };
template <typename... Types> struct TTupleArity<const TTuple<Types...>> { static constexpr uint32 Value = sizeof...(Types); };

// Structured bindings.
template <typename... Types>
struct std::tuple_size<TTuple<Types...>> : std::integral_constant<size_t, sizeof...(Types)>
{
};
template <size_t Index, typename... Types>
struct std::tuple_element<Index, TTuple<Types...>>
{
	using type = std::tuple_element_t<Index, std::tuple<Types...>>;
};

template <size_t Index, typename... Types>
decltype(auto) get(TTuple<Types...>& Tuple)
{
	return Tuple.template Get<(uint32)Index>();
}
template <size_t Index, typename... Types>
decltype(auto) get(const TTuple<Types...>& Tuple)
{
	return Tuple.template Get<(uint32)Index>();
}
template <size_t Index, typename... Types>
decltype(auto) get(TTuple<Types...>&& Tuple)
{
	return MoveTemp(Tuple).template Get<(uint32)Index>();
}
