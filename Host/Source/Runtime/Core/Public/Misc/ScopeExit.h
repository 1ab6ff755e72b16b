// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/UnrealTemplate.h"

namespace ScopeExitSupport
{
	template <typename FuncType>
	class TScopeGuard
	{
	public:
		explicit TScopeGuard(FuncType&& InFunc) : Func(MoveTemp(InFunc)) {}
		TScopeGuard(TScopeGuard&& Other) : Func(MoveTemp(Other.Func)), bActive(Other.bActive) { Other.bActive = false; }
		~TScopeGuard()
		{
			if (bActive)
			{
				Func();
			}
		}
		TScopeGuard(const TScopeGuard&) = delete;
		TScopeGuard& operator=(const TScopeGuard&) = delete;

	private:
		FuncType Func;
		bool bActive = true;
	};

	struct FScopeGuardSyntaxSupport
	{
		template <typename FuncType>
		TScopeGuard<FuncType> operator+(FuncType&& InFunc) { return TScopeGuard<FuncType>(Forward<FuncType>(InFunc)); }
	};
} // namespace ScopeExitSupport

#define UE_PRIVATE_SCOPE_EXIT_JOIN(A, B) UE_PRIVATE_SCOPE_EXIT_JOIN_INNER(A, B)
#define UE_PRIVATE_SCOPE_EXIT_JOIN_INNER(A, B) A##B
#define ON_SCOPE_EXIT const auto UE_PRIVATE_SCOPE_EXIT_JOIN(ScopeGuard_, __LINE__) = ::ScopeExitSupport::FScopeGuardSyntaxSupport() + [&]() -> void
