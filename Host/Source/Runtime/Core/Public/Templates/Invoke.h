// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"
#include <functional>

// Calls a callable, a member function pointer on an object (or pointer) or reads a member.
template <typename FuncType, typename... ArgTypes>
FORCEINLINE decltype(auto) Invoke(FuncType&& Func, ArgTypes&&... Args)
{
	return std::invoke(Forward<FuncType>(Func), Forward<ArgTypes>(Args)...);
}

template <typename FuncType, typename... ArgTypes>
using TInvokeResult_T = std::invoke_result_t<FuncType, ArgTypes...>;

template <typename FuncType, typename... ArgTypes>
struct TInvokeResult
{
	using Type = std::invoke_result_t<FuncType, ArgTypes...>;
};
