// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Concepts/SameAs.h"
#include "HAL/Platform.h"

/**
 * Global comparison operators for every type that declares the named members:
 *
 *   bool UEOpEquals(const OtherType&) const;      opts into == (and != through C++20's rewriting)
 *   bool UEOpLessThan(const OtherType&) const;    opts into <, <=, > and >=
 *   bool UEOpGreaterThan(const OtherType&) const; the mirror of UEOpLessThan for a foreign left operand
 *
 * A type then declares each comparison once, as a member, and either operand order works.
 */

namespace UE::Core::Private
{
	// Binds NULL, which does not forward perfectly; the type exists only to make that pointer-to-member.
	struct FIncomplete;

	template <typename LhsType, typename RhsType>
	concept CWithUEOpEquals = requires(LhsType& Lhs, RhsType& Rhs)
	{
		{ Lhs.UEOpEquals(Rhs) } -> UE::CSameAs<bool>;
	};

	template <typename LhsType, typename RhsType>
	concept CWithConstUEOpEquals = requires(const LhsType& Lhs, const RhsType& Rhs)
	{
		{ Lhs.UEOpEquals(Rhs) } -> UE::CSameAs<bool>;
	};

	template <typename LhsType, typename RhsType>
	concept CWithUEOpLessThan = requires(LhsType& Lhs, RhsType& Rhs)
	{
		{ Lhs.UEOpLessThan(Rhs) } -> UE::CSameAs<bool>;
	};

	template <typename LhsType, typename RhsType>
	concept CWithConstUEOpLessThan = requires(const LhsType& Lhs, const RhsType& Rhs)
	{
		{ Lhs.UEOpLessThan(Rhs) } -> UE::CSameAs<bool>;
	};

	template <typename LhsType, typename RhsType>
	concept CWithUEOpGreaterThan = requires(LhsType& Lhs, RhsType& Rhs)
	{
		{ Lhs.UEOpGreaterThan(Rhs) } -> UE::CSameAs<bool>;
	};

	template <typename LhsType, typename RhsType>
	concept CWithConstUEOpGreaterThan = requires(const LhsType& Lhs, const RhsType& Rhs)
	{
		{ Lhs.UEOpGreaterThan(Rhs) } -> UE::CSameAs<bool>;
	};

	template <typename LhsType, typename RhsType>
	concept CWithUEOpOrdering = CWithUEOpLessThan<LhsType, RhsType> || CWithUEOpLessThan<RhsType, LhsType>
		|| CWithUEOpGreaterThan<LhsType, RhsType> || CWithUEOpGreaterThan<RhsType, LhsType>;

	// A comparison member that is not const, or takes its argument by non-const reference, is a
	// mistake that would otherwise compile for some operands only.
	template <typename LhsType, typename RhsType>
	constexpr bool ValidateUEOpsEquals()
	{
		constexpr bool bMismatched = (CWithUEOpEquals<LhsType, RhsType> && !CWithConstUEOpEquals<LhsType, RhsType>)
			|| (CWithUEOpEquals<RhsType, LhsType> && !CWithConstUEOpEquals<RhsType, LhsType>);
		static_assert(!bMismatched, "UEOpEquals should be const and accept a const argument");
		return !bMismatched;
	}

	template <typename LhsType, typename RhsType>
	constexpr bool ValidateUEOpsLessAndGreater()
	{
		constexpr bool bMismatchedLess = (CWithUEOpLessThan<LhsType, RhsType> && !CWithConstUEOpLessThan<LhsType, RhsType>)
			|| (CWithUEOpLessThan<RhsType, LhsType> && !CWithConstUEOpLessThan<RhsType, LhsType>);
		constexpr bool bMismatchedGreater = (CWithUEOpGreaterThan<LhsType, RhsType> && !CWithConstUEOpGreaterThan<LhsType, RhsType>)
			|| (CWithUEOpGreaterThan<RhsType, LhsType> && !CWithConstUEOpGreaterThan<RhsType, LhsType>);
		static_assert(!bMismatchedLess, "UEOpLessThan should be const and accept a const argument");
		static_assert(!bMismatchedGreater, "UEOpGreaterThan should be const and accept a const argument");
		return !bMismatchedLess && !bMismatchedGreater;
	}
}

template <typename LhsType, typename RhsType>
	requires UE::Core::Private::CWithUEOpEquals<LhsType, RhsType> || UE::Core::Private::CWithUEOpEquals<RhsType, LhsType>
[[nodiscard]] FORCEINLINE constexpr bool operator==(const LhsType& Lhs, const RhsType& Rhs)
{
	if constexpr (!UE::Core::Private::ValidateUEOpsEquals<LhsType, RhsType>())
	{
		return false;
	}
	else if constexpr (UE::Core::Private::CWithUEOpEquals<LhsType, RhsType>)
	{
		return Lhs.UEOpEquals(Rhs);
	}
	else
	{
		return Rhs.UEOpEquals(Lhs);
	}
}

// A == NULL: NULL is an integer literal, which the template above cannot take as a pointer.
template <typename LhsType>
	requires UE::Core::Private::CWithUEOpEquals<LhsType, decltype(nullptr)>
[[nodiscard]] FORCEINLINE constexpr bool operator==(const LhsType& Lhs, int UE::Core::Private::FIncomplete::* Rhs)
{
	return Lhs.UEOpEquals(nullptr);
}

template <typename LhsType, typename RhsType>
	requires UE::Core::Private::CWithUEOpOrdering<LhsType, RhsType>
[[nodiscard]] FORCEINLINE constexpr bool operator<(const LhsType& Lhs, const RhsType& Rhs)
{
	if constexpr (!UE::Core::Private::ValidateUEOpsLessAndGreater<LhsType, RhsType>())
	{
		return false;
	}
	else if constexpr (UE::Core::Private::CWithUEOpLessThan<LhsType, RhsType>)
	{
		return Lhs.UEOpLessThan(Rhs);
	}
	else
	{
		return Rhs.UEOpGreaterThan(Lhs);
	}
}

template <typename LhsType, typename RhsType>
	requires UE::Core::Private::CWithUEOpOrdering<LhsType, RhsType>
[[nodiscard]] FORCEINLINE constexpr bool operator>(const LhsType& Lhs, const RhsType& Rhs)
{
	if constexpr (!UE::Core::Private::ValidateUEOpsLessAndGreater<LhsType, RhsType>())
	{
		return false;
	}
	else if constexpr (UE::Core::Private::CWithUEOpLessThan<RhsType, LhsType>)
	{
		return Rhs.UEOpLessThan(Lhs);
	}
	else
	{
		return Lhs.UEOpGreaterThan(Rhs);
	}
}

template <typename LhsType, typename RhsType>
	requires UE::Core::Private::CWithUEOpOrdering<LhsType, RhsType>
[[nodiscard]] FORCEINLINE constexpr bool operator>=(const LhsType& Lhs, const RhsType& Rhs)
{
	if constexpr (!UE::Core::Private::ValidateUEOpsLessAndGreater<LhsType, RhsType>())
	{
		return false;
	}
	else if constexpr (UE::Core::Private::CWithUEOpLessThan<LhsType, RhsType>)
	{
		return !Lhs.UEOpLessThan(Rhs);
	}
	else
	{
		return !Rhs.UEOpGreaterThan(Lhs);
	}
}

template <typename LhsType, typename RhsType>
	requires UE::Core::Private::CWithUEOpOrdering<LhsType, RhsType>
[[nodiscard]] FORCEINLINE constexpr bool operator<=(const LhsType& Lhs, const RhsType& Rhs)
{
	if constexpr (!UE::Core::Private::ValidateUEOpsLessAndGreater<LhsType, RhsType>())
	{
		return false;
	}
	else if constexpr (UE::Core::Private::CWithUEOpLessThan<RhsType, LhsType>)
	{
		return !Rhs.UEOpLessThan(Lhs);
	}
	else
	{
		return !Lhs.UEOpGreaterThan(Rhs);
	}
}

/** Makes the operators visible inside a type's namespace, so that lookup from another namespace finds them. */
#define UE_OPS_NAMESPACE_VISIBLE(Type) \
	static_assert(sizeof(Type) > 0); \
	using ::operator==; \
	using ::operator<; \
	using ::operator>; \
	using ::operator<=; \
	using ::operator>=;
