// Copyright Quarn. All Rights Reserved.

#pragma once

// Platform types and compiler macros of the Linux (clang) build.

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#ifndef PLATFORM_LINUX
	#define PLATFORM_LINUX 1
#endif
#ifndef PLATFORM_UNIX
	#define PLATFORM_UNIX 1
#endif
#ifndef PLATFORM_WINDOWS
	#define PLATFORM_WINDOWS 0
#endif
#ifndef PLATFORM_MAC
	#define PLATFORM_MAC 0
#endif
#define PLATFORM_DESKTOP 1
#define PLATFORM_64BITS 1
#define PLATFORM_LITTLE_ENDIAN 1
#define PLATFORM_TCHAR_IS_CHAR16 1
#define PLATFORM_TCHAR_IS_UTF8CHAR 0
#define PLATFORM_WCHAR_IS_4_BYTES 1
#define PLATFORM_UCS2CHAR_IS_UTF16CHAR 1
#define PLATFORM_USE_GENERIC_STRING_IMPLEMENTATION 1
#define PLATFORM_COMPILER_CLANG 1
#define PLATFORM_CACHE_LINE_SIZE 64

#include "Misc/Build.h"

#ifndef UE_ENABLE_ICU
	#define UE_ENABLE_ICU 1
#endif
#ifndef IS_MONOLITHIC
	#define IS_MONOLITHIC 0
#endif
#ifndef IS_PROGRAM
	#define IS_PROGRAM 0
#endif
#ifndef WITH_CASE_PRESERVING_NAME
	// Names keep only the first spelling registered, as in a game build.
	#define WITH_CASE_PRESERVING_NAME 0
#endif

// Fundamental types.
struct FPlatformTypes
{
	typedef unsigned char uint8;
	typedef unsigned short int uint16;
	typedef unsigned int uint32;
	typedef unsigned long long uint64;
	typedef signed char int8;
	typedef signed short int int16;
	typedef signed int int32;
	typedef signed long long int64;

	typedef char ANSICHAR;
	typedef char16_t WIDECHAR;
	typedef char16_t TCHAR;
	typedef char8_t UTF8CHAR;
	typedef char16_t UCS2CHAR;
	typedef char16_t UTF16CHAR;
	typedef char32_t UTF32CHAR;

	typedef uintptr_t UPTRINT;
	typedef intptr_t PTRINT;
	typedef size_t SIZE_T;
	typedef ptrdiff_t SSIZE_T;
	typedef int32 TYPE_OF_NULL;
	typedef decltype(nullptr) TYPE_OF_NULLPTR;
};

typedef FPlatformTypes::uint8 uint8;
typedef FPlatformTypes::uint16 uint16;
typedef FPlatformTypes::uint32 uint32;
typedef FPlatformTypes::uint64 uint64;
typedef FPlatformTypes::int8 int8;
typedef FPlatformTypes::int16 int16;
typedef FPlatformTypes::int32 int32;
typedef FPlatformTypes::int64 int64;
typedef FPlatformTypes::ANSICHAR ANSICHAR;
typedef FPlatformTypes::WIDECHAR WIDECHAR;
typedef FPlatformTypes::TCHAR TCHAR;
typedef FPlatformTypes::UTF8CHAR UTF8CHAR;
typedef FPlatformTypes::UCS2CHAR UCS2CHAR;
typedef FPlatformTypes::UTF16CHAR UTF16CHAR;
typedef FPlatformTypes::UTF32CHAR UTF32CHAR;
typedef FPlatformTypes::UPTRINT UPTRINT;
typedef FPlatformTypes::PTRINT PTRINT;
typedef FPlatformTypes::SIZE_T SIZE_T;
typedef FPlatformTypes::SSIZE_T SSIZE_T;
typedef FPlatformTypes::TYPE_OF_NULL TYPE_OF_NULL;
typedef FPlatformTypes::TYPE_OF_NULLPTR TYPE_OF_NULLPTR;

static_assert(sizeof(uint8) == 1 && sizeof(uint16) == 2 && sizeof(uint32) == 4 && sizeof(uint64) == 8, "Unsigned type sizes");
static_assert(sizeof(int8) == 1 && sizeof(int16) == 2 && sizeof(int32) == 4 && sizeof(int64) == 8, "Signed type sizes");
static_assert(ANSICHAR(-1) < ANSICHAR(0), "ANSICHAR must be signed");
static_assert(!std::is_same_v<ANSICHAR, UTF8CHAR>, "UTF8CHAR is a distinct type");
static_assert(sizeof(TCHAR) == 2, "TCHAR is UTF-16 on this platform");
static_assert(sizeof(PTRINT) == sizeof(void*) && sizeof(UPTRINT) == sizeof(void*), "Pointer-sized integers");

// Text literals.
#define UTF8TEXT_PASTE(x) u8##x
#define UTF16TEXT_PASTE(x) u##x
#define WIDETEXT_PASTE(x) u##x
#define UTF8TEXT(x) UTF8TEXT_PASTE(x)
#define UTF16TEXT(x) UTF16TEXT_PASTE(x)
#define WIDETEXT(x) WIDETEXT_PASTE(x)
#define TEXT_PASTE(x) WIDETEXT(x)
#ifndef TEXT
	#define TEXT(x) TEXT_PASTE(x)
#endif
#define ANSITEXT(x) x

// The platform's line terminator: the engine's Windows platform header sets CR LF, every other
// platform keeps the generic LF. A host build targets one or the other (docs/architecture.md).
#if defined(HOST_WINDOWS_LINE_TERMINATOR) && HOST_WINDOWS_LINE_TERMINATOR
	#define LINE_TERMINATOR TEXT("\r\n")
	#define LINE_TERMINATOR_ANSI "\r\n"
#endif
#ifndef LINE_TERMINATOR
	#define LINE_TERMINATOR TEXT("\n")
#endif
#ifndef LINE_TERMINATOR_ANSI
	#define LINE_TERMINATOR_ANSI "\n"
#endif

// Compiler attributes.
#define FORCEINLINE inline __attribute__((always_inline))
#define FORCENOINLINE __attribute__((noinline))
#define FORCEINLINE_DEBUGGABLE inline
#define CONSTEXPR constexpr
#define RESTRICT __restrict
#define VARARGS
#define CDECL
#define STDCALL
#define ABSTRACT abstract
#define LIKELY(x) __builtin_expect(!!(x), 1)
#define UNLIKELY(x) __builtin_expect(!!(x), 0)
#define UE_LIKELY(x) LIKELY(x)
#define UE_UNLIKELY(x) UNLIKELY(x)
#define UE_NODISCARD [[nodiscard]]
#define UE_NORETURN [[noreturn]]
#define UE_NODISCARD_CTOR [[nodiscard]]
#define UE_NO_UNIQUE_ADDRESS [[no_unique_address]]
#define UE_LIFETIMEBOUND [[clang::lifetimebound]]
#define UE_ASSUME(x) __builtin_assume(x)
#define GCC_ALIGN(n) __attribute__((aligned(n)))
#define MS_ALIGN(n)
#define PLATFORM_BREAK() __builtin_trap()
#define UE_DEBUG_BREAK() ((void)0)

#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT __attribute__((visibility("default")))

#define PRAGMA_DISABLE_DEPRECATION_WARNINGS \
	_Pragma("clang diagnostic push") \
	_Pragma("clang diagnostic ignored \"-Wdeprecated-declarations\"")
#define PRAGMA_ENABLE_DEPRECATION_WARNINGS _Pragma("clang diagnostic pop")
#define PRAGMA_DISABLE_SHADOW_VARIABLE_WARNINGS \
	_Pragma("clang diagnostic push") \
	_Pragma("clang diagnostic ignored \"-Wshadow\"")
#define PRAGMA_ENABLE_SHADOW_VARIABLE_WARNINGS _Pragma("clang diagnostic pop")
#define PRAGMA_DISABLE_UNREACHABLE_CODE_WARNINGS
#define PRAGMA_ENABLE_UNREACHABLE_CODE_WARNINGS
#define PRAGMA_DISABLE_OPTIMIZATION
#define PRAGMA_ENABLE_OPTIMIZATION
#define UE_DISABLE_OPTIMIZATION
#define UE_ENABLE_OPTIMIZATION

#define UE_DEPRECATED(Version, Message) [[deprecated(Message " - Please update your code to the new API before upgrading to the next release, otherwise your project will no longer compile.")]]
#define UE_DEPRECATED_FORGAME(Version, Message) UE_DEPRECATED(Version, Message)

