// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/StringFwd.h"
#include "Containers/StringView.h"
#include "Misc/CString.h"

// Conversions between TCHAR (UTF-16) and UTF-8/ANSI/UTF-32. Every input converts: invalid UTF-8
// bytes and unpaired surrogates become '?' (the engine's bogus character); surrogate pairs round-trip. ANSI output replaces
// characters above 0x7F with '?'.

namespace UE::Core::Private
{
	// Each returns the number of output units written (Dest may be null to measure).
	CORE_API int32 ConvertUtf16ToUtf8(const TCHAR* Src, int32 SrcLen, UTF8CHAR* Dest);
	CORE_API int32 ConvertUtf8ToUtf16(const UTF8CHAR* Src, int32 SrcLen, TCHAR* Dest);
	CORE_API int32 ConvertUtf32ToUtf16(const UTF32CHAR* Src, int32 SrcLen, TCHAR* Dest);
	CORE_API int32 ConvertUtf16ToUtf32(const TCHAR* Src, int32 SrcLen, UTF32CHAR* Dest);
	CORE_API int32 ConvertUtf16ToAnsi(const TCHAR* Src, int32 SrcLen, ANSICHAR* Dest);
	CORE_API int32 ConvertAnsiToUtf16(const ANSICHAR* Src, int32 SrcLen, TCHAR* Dest);

	template <typename ToType, typename FromType>
	int32 ConvertString(const FromType* Src, int32 SrcLen, ToType* Dest)
	{
		using From = std::remove_cv_t<FromType>;
		if constexpr (sizeof(From) == sizeof(ToType) && (std::is_same_v<From, ToType> || (sizeof(From) == 1 && std::is_same_v<ToType, UTF8CHAR>) || (sizeof(From) == 1 && std::is_same_v<From, UTF8CHAR>) || sizeof(From) == 2))
		{
			if (Dest && SrcLen)
			{
				FMemory::Memcpy(Dest, Src, SrcLen * sizeof(ToType));
			}
			return SrcLen;
		}
		else if constexpr (sizeof(From) == 2 && std::is_same_v<ToType, UTF8CHAR>)
		{
			return ConvertUtf16ToUtf8((const TCHAR*)Src, SrcLen, Dest);
		}
		else if constexpr (sizeof(From) == 2 && std::is_same_v<ToType, ANSICHAR>)
		{
			return ConvertUtf16ToAnsi((const TCHAR*)Src, SrcLen, Dest);
		}
		else if constexpr (std::is_same_v<From, UTF8CHAR> && sizeof(ToType) == 2)
		{
			return ConvertUtf8ToUtf16(Src, SrcLen, (TCHAR*)Dest);
		}
		else if constexpr (std::is_same_v<From, ANSICHAR> && sizeof(ToType) == 2)
		{
			return ConvertAnsiToUtf16(Src, SrcLen, (TCHAR*)Dest);
		}
		else if constexpr (sizeof(From) == 4 && sizeof(ToType) == 2)
		{
			return ConvertUtf32ToUtf16((const UTF32CHAR*)Src, SrcLen, (TCHAR*)Dest);
		}
		else if constexpr (sizeof(From) == 2 && sizeof(ToType) == 4)
		{
			return ConvertUtf16ToUtf32((const TCHAR*)Src, SrcLen, (UTF32CHAR*)Dest);
		}
		else
		{
			static_assert(sizeof(ToType) == 0, "Unsupported string conversion");
			return 0;
		}
	}
} // namespace UE::Core::Private

// Holds a converted, NUL-terminated copy of a string for the lifetime of the object.
template <typename ToType, typename FromType>
class TStringConversion
{
public:
	using ToCharType = ToType;

	explicit TStringConversion(const FromType* Source)
	{
		Init(Source, Source ? TCString<FromType>::Strlen(Source) : 0);
	}
	TStringConversion(const FromType* Source, int32 SourceLen)
	{
		Init(Source, Source ? SourceLen : 0);
	}
	explicit TStringConversion(TStringView<FromType> Source)
	{
		Init(Source.GetData(), Source.Len());
	}

	TStringConversion(TStringConversion&& Other) = default;
	TStringConversion(const TStringConversion&) = delete;
	TStringConversion& operator=(const TStringConversion&) = delete;

	[[nodiscard]] FORCEINLINE const ToType* Get() const UE_LIFETIMEBOUND { return Buffer.GetData(); }
	[[nodiscard]] FORCEINLINE int32 Length() const { return Buffer.Num() - 1; }

private:
	void Init(const FromType* Source, int32 SourceLen)
	{
		const int32 Needed = SourceLen > 0 ? UE::Core::Private::ConvertString<ToType>(Source, SourceLen, (ToType*)nullptr) : 0;
		Buffer.SetNumUninitialized(Needed + 1);
		if (Needed)
		{
			UE::Core::Private::ConvertString<ToType>(Source, SourceLen, Buffer.GetData());
		}
		Buffer[Needed] = 0;
	}

	TArray<ToType, TInlineAllocator<128>> Buffer;
};

// Conversions used by the TCHAR_TO_* macros; the UTF-8 ones present their result as ANSICHAR.
class FTCHARToUTF8
{
public:
	explicit FTCHARToUTF8(const TCHAR* Source) : Conversion(Source) {}
	FTCHARToUTF8(const TCHAR* Source, int32 SourceLen) : Conversion(Source, SourceLen) {}
	explicit FTCHARToUTF8(TStringView<TCHAR> Source) : Conversion(Source) {}
	FORCEINLINE const ANSICHAR* Get() const UE_LIFETIMEBOUND { return (const ANSICHAR*)Conversion.Get(); }
	FORCEINLINE int32 Length() const { return Conversion.Length(); }

private:
	TStringConversion<UTF8CHAR, TCHAR> Conversion;
};

class FUTF8ToTCHAR
{
public:
	explicit FUTF8ToTCHAR(const ANSICHAR* Source) : Conversion((const UTF8CHAR*)Source) {}
	FUTF8ToTCHAR(const ANSICHAR* Source, int32 SourceLen) : Conversion((const UTF8CHAR*)Source, SourceLen) {}
	explicit FUTF8ToTCHAR(const UTF8CHAR* Source) : Conversion(Source) {}
	FUTF8ToTCHAR(const UTF8CHAR* Source, int32 SourceLen) : Conversion(Source, SourceLen) {}
	FORCEINLINE const TCHAR* Get() const UE_LIFETIMEBOUND { return Conversion.Get(); }
	FORCEINLINE int32 Length() const { return Conversion.Length(); }

private:
	TStringConversion<TCHAR, UTF8CHAR> Conversion;
};

using FTCHARToANSI = TStringConversion<ANSICHAR, TCHAR>;
using FANSIToTCHAR = TStringConversion<TCHAR, ANSICHAR>;
using FTCHARToWChar = TStringConversion<WIDECHAR, TCHAR>;
using FWCharToTCHAR = TStringConversion<TCHAR, WIDECHAR>;
using FTCHARToUTF16 = TStringConversion<UTF16CHAR, TCHAR>;
using FUTF16ToTCHAR = TStringConversion<TCHAR, UTF16CHAR>;
using FTCHARToUTF32 = TStringConversion<UTF32CHAR, TCHAR>;
using FUTF32ToTCHAR = TStringConversion<TCHAR, UTF32CHAR>;

template <typename To, typename From>
[[nodiscard]] FORCEINLINE TStringConversion<To, std::remove_cv_t<From>> StringCast(const From* Str)
{
	return TStringConversion<To, std::remove_cv_t<From>>(Str);
}

template <typename To, typename From>
[[nodiscard]] FORCEINLINE TStringConversion<To, std::remove_cv_t<From>> StringCast(const From* Str, int32 Len)
{
	return TStringConversion<To, std::remove_cv_t<From>>(Str, Len);
}

#define TCHAR_TO_ANSI(str) (ANSICHAR*)StringCast<ANSICHAR>(static_cast<const TCHAR*>(str)).Get()
#define ANSI_TO_TCHAR(str) (TCHAR*)StringCast<TCHAR>(static_cast<const ANSICHAR*>(str)).Get()
#define TCHAR_TO_UTF8(str) (ANSICHAR*)FTCHARToUTF8((const TCHAR*)str).Get()
#define UTF8_TO_TCHAR(str) (TCHAR*)FUTF8ToTCHAR((const ANSICHAR*)str).Get()
#define TCHAR_TO_UTF16(str) (UTF16CHAR*)FTCHARToUTF16((const TCHAR*)str).Get()
#define UTF16_TO_TCHAR(str) (TCHAR*)FUTF16ToTCHAR((const UTF16CHAR*)str).Get()
