// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/FormatStringSan.h"
#include <atomic>

// check/verify abort the process after logging; ensure logs (once per site unless "Always") and
// yields the condition so that callers can recover.

namespace UE::Assert::Private
{
	[[noreturn]] CORE_API void CheckFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs);
	CORE_API void EnsureFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs);

	template <typename... Types>
	[[noreturn]] FORCENOINLINE void CheckfFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Format, Types... Args)
	{
		const UE::Core::Private::FFormatArgValue Values[sizeof...(Types) + 1] = { UE::Core::Private::MakeFormatArg(Args)..., {} };
		CheckFailed(Expr, File, Line, Format.FormatString, Values, (int32)sizeof...(Types));
	}

	template <typename... Types>
	FORCENOINLINE void EnsurefFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Format, Types... Args)
	{
		const UE::Core::Private::FFormatArgValue Values[sizeof...(Types) + 1] = { UE::Core::Private::MakeFormatArg(Args)..., {} };
		EnsureFailed(Expr, File, Line, Format.FormatString, Values, (int32)sizeof...(Types));
	}

	// True the first time a given ensure site fires.
	FORCEINLINE bool FirstTime(std::atomic<bool>& bFired)
	{
		return !bFired.exchange(true, std::memory_order_relaxed);
	}
} // namespace UE::Assert::Private

struct FDebug
{
	[[noreturn]] static void AssertFailed(const ANSICHAR* Expr, const ANSICHAR* File, int32 Line, const TCHAR* Message = TEXT(""))
	{
		UE::Assert::Private::CheckfFailed(Expr, File, Line, TEXT("%s"), Message ? Message : TEXT(""));
	}
};

#if DO_CHECK
	#define check(expr) \
		do \
		{ \
			if (UNLIKELY(!(expr))) \
			{ \
				::UE::Assert::Private::CheckFailed(#expr, __FILE__, __LINE__, TEXT(""), nullptr, 0); \
			} \
		} while (false)
	#define checkf(expr, format, ...) \
		do \
		{ \
			if (UNLIKELY(!(expr))) \
			{ \
				::UE::Assert::Private::CheckfFailed(#expr, __FILE__, __LINE__, format, ##__VA_ARGS__); \
			} \
		} while (false)
	#define verify(expr) check(expr)
	#define verifyf(expr, format, ...) checkf(expr, format, ##__VA_ARGS__)
	#define checkCode(Code) \
		do \
		{ \
			Code; \
		} while (false)
	#define checkNoEntry() ::UE::Assert::Private::CheckFailed("Enclosing block should never be called", __FILE__, __LINE__, TEXT(""), nullptr, 0)
	#define checkNoReentry() \
		do \
		{ \
			static std::atomic<bool> ANONYMOUS_VARIABLE(bBeenHere){ false }; \
			if (::UE::Assert::Private::FirstTime(ANONYMOUS_VARIABLE(bBeenHere)) == false) \
			{ \
				::UE::Assert::Private::CheckFailed("Enclosing block was called more than once", __FILE__, __LINE__, TEXT(""), nullptr, 0); \
			} \
		} while (false)
	#define unimplemented() ::UE::Assert::Private::CheckFailed("Unimplemented function called", __FILE__, __LINE__, TEXT(""), nullptr, 0)
#else
	#define check(expr) \
		do \
		{ \
		} while (false)
	#define checkf(expr, format, ...) \
		do \
		{ \
		} while (false)
	#define verify(expr) \
		do \
		{ \
			(void)(expr); \
		} while (false)
	#define verifyf(expr, format, ...) verify(expr)
	#define checkCode(Code)
	#define checkNoEntry()
	#define checkNoReentry()
	#define unimplemented()
#endif

#if DO_GUARD_SLOW
	#define checkSlow(expr) check(expr)
	#define checkfSlow(expr, format, ...) checkf(expr, format, ##__VA_ARGS__)
	#define verifySlow(expr) check(expr)
#else
	#define checkSlow(expr) \
		do \
		{ \
		} while (false)
	#define checkfSlow(expr, format, ...) \
		do \
		{ \
		} while (false)
	#define verifySlow(expr) \
		do \
		{ \
			(void)(expr); \
		} while (false)
#endif

#if DO_ENSURE
	#define UE_ENSURE_IMPL(Always, InExpression, ...) \
		(LIKELY(!!(InExpression)) || ([&]() { \
			static std::atomic<bool> bFired{ false }; \
			if ((Always) || ::UE::Assert::Private::FirstTime(bFired)) \
			{ \
				::UE::Assert::Private::EnsurefFailed(#InExpression, __FILE__, __LINE__, ##__VA_ARGS__); \
			} \
			return false; \
		}()))
	#define ensure(InExpression) UE_ENSURE_IMPL(false, InExpression, TEXT(""))
	#define ensureMsgf(InExpression, InFormat, ...) UE_ENSURE_IMPL(false, InExpression, InFormat, ##__VA_ARGS__)
	#define ensureAlways(InExpression) UE_ENSURE_IMPL(true, InExpression, TEXT(""))
	#define ensureAlwaysMsgf(InExpression, InFormat, ...) UE_ENSURE_IMPL(true, InExpression, InFormat, ##__VA_ARGS__)
#else
	#define ensure(InExpression) (!!(InExpression))
	#define ensureMsgf(InExpression, InFormat, ...) (!!(InExpression))
	#define ensureAlways(InExpression) (!!(InExpression))
	#define ensureAlwaysMsgf(InExpression, InFormat, ...) (!!(InExpression))
#endif

#define UE_CHECK_IMPL(expr) check(expr)
#define UE_STATIC_ASSERT_WARN(bExpression, Message)
