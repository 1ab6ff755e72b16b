// Copyright Quarn. All Rights Reserved.

#pragma once

#include <concepts>

namespace UE
{
	/** Satisfied when T and U are the same type. */
	template <typename T, typename U>
	concept CSameAs = std::same_as<T, U>;
}
