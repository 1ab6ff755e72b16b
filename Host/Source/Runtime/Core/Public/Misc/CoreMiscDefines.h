// Copyright Quarn. All Rights Reserved.

#pragma once

#include "HAL/Platform.h"

// Metadata follows editor-only data unless a target keeps it without (a game that reads it).
#ifndef WITH_METADATA
	#define WITH_METADATA WITH_EDITORONLY_DATA
#elif WITH_EDITORONLY_DATA && !WITH_METADATA
	#error WITH_EDITORONLY_DATA=1 requires WITH_METADATA=1
#endif

enum { INDEX_NONE = -1 };
enum { UNICODE_BOM = 0xfeff };

enum EForceInit
{
	ForceInit,
	ForceInitToZero
};
enum ENoInit { NoInit };
enum EInPlace { InPlace };

#define UE_ARRAY_COUNT(array) (sizeof(UEArrayCountHelper(array)) - 1)
template <typename T, uint32 N>
char (&UEArrayCountHelper(const T (&)[N]))[N + 1];

#define STRUCT_OFFSET(struc, member) __builtin_offsetof(struc, member)

#define UE_NONCOPYABLE(TypeName) \
	TypeName(TypeName&&) = delete; \
	TypeName(const TypeName&) = delete; \
	TypeName& operator=(const TypeName&) = delete; \
	TypeName& operator=(TypeName&&) = delete;

#define PREPROCESSOR_TO_STRING_INNER(x) #x
#define PREPROCESSOR_TO_STRING(x) PREPROCESSOR_TO_STRING_INNER(x)
#define PREPROCESSOR_JOIN_INNER(x, y) x##y
#define PREPROCESSOR_JOIN(x, y) PREPROCESSOR_JOIN_INNER(x, y)
#define PREPROCESSOR_NOTHING
#define ANONYMOUS_VARIABLE(Name) PREPROCESSOR_JOIN(Name, __LINE__)

#define UE_PTRDIFF_TO_INT32(argument) static_cast<int32>(argument)
#define UE_PTRDIFF_TO_UINT32(argument) static_cast<uint32>(argument)

#define MAX_uint8 ((uint8)0xff)
#define MAX_uint16 ((uint16)0xffff)
#define MAX_uint32 ((uint32)0xffffffff)
#define MAX_uint64 ((uint64)0xffffffffffffffff)
#define MAX_int8 ((int8)0x7f)
#define MAX_int16 ((int16)0x7fff)
#define MAX_int32 ((int32)0x7fffffff)
#define MAX_int64 ((int64)0x7fffffffffffffff)
#define MIN_uint8 ((uint8)0x00)
#define MIN_uint16 ((uint16)0x0000)
#define MIN_uint32 ((uint32)0x00000000)
#define MIN_uint64 ((uint64)0x0000000000000000)
#define MIN_int8 ((int8)-128)
#define MIN_int16 ((int16)-32768)
#define MIN_int32 ((int32)0x80000000)
#define MIN_int64 ((int64)0x8000000000000000)
#define MAX_FLT 3.402823466e+38F
#define MIN_flt (1.175494351e-38F)
#define MAX_flt (3.402823466e+38F)
#define MIN_dbl (2.2250738585072014e-308)
#define MAX_dbl (1.7976931348623158e+308)
#define UE_MAX_FLT MAX_FLT

#define WITH_TEXT_ARCHIVE_SUPPORT 0
#define UE_DEPRECATED_MACRO(Version, Message) _Pragma(PREPROCESSOR_TO_STRING(message(Message)))
