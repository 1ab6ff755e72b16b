// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/StringFwd.h"
#include "Containers/StringView.h"
#include "HAL/UnrealMemory.h"
#include "Misc/CString.h"

#include <atomic>

namespace UE
{

// A reference to an immutable, shared, reference-counted string. The characters are preceded by
// a 4-byte reference count and a 4-byte length in one allocation; the empty string allocates
// nothing. Comparison and hashing ignore case, as FString's do.
template <typename CharType>
class TSharedString
{
public:
	using ElementType = CharType;

	[[nodiscard]] TSharedString() = default;
	[[nodiscard]] TSharedString(TSharedString&& String) : Chars(String.Chars) { String.Chars = nullptr; }
	[[nodiscard]] TSharedString(const TSharedString& String) : Chars(String.Chars) { AddRef(Chars); }
	TSharedString& operator=(TSharedString&& String)
	{
		if (this != &String)
		{
			Release(Chars);
			Chars = String.Chars;
			String.Chars = nullptr;
		}
		return *this;
	}
	TSharedString& operator=(const TSharedString& String)
	{
		CharType* const OldChars = Chars;
		AddRef(String.Chars);
		Chars = String.Chars;
		Release(OldChars);
		return *this;
	}

	// Allocates a copy of the string.
	[[nodiscard]] TSharedString(TStringView<CharType> String)
	{
		if (const int32 Length = String.Len())
		{
			const SIZE_T Size = sizeof(int32) * 2 + sizeof(CharType) * (SIZE_T(Length) + 1);
			int32* const Header = static_cast<int32*>(FMemory::Malloc(Size));
			new ((void*)&Header[0]) std::atomic<int32>(1);
			Header[1] = Length;
			Chars = reinterpret_cast<CharType*>(&Header[2]);
			String.CopyString(Chars, Length);
			Chars[Length] = CharType(0);
		}
	}
	[[nodiscard]] TSharedString(const CharType* String) : TSharedString(TStringView<CharType>(String)) {}

	TSharedString& operator=(TStringView<CharType> String) { return *this = TSharedString(String); }
	TSharedString& operator=(const CharType* String) { return *this = TSharedString(TStringView<CharType>(String)); }

	~TSharedString() { Release(Chars); }

	void Reset()
	{
		Release(Chars);
		Chars = nullptr;
	}

	[[nodiscard]] bool IsEmpty() const { return !Chars; }
	[[nodiscard]] int32 Len() const { return Chars ? reinterpret_cast<const int32*>(Chars)[-1] : 0; }
	[[nodiscard]] const CharType* operator*() const { return Chars ? Chars : &NullChar; }
	[[nodiscard]] TStringView<CharType> ToView() const { return TStringView<CharType>(operator*(), Len()); }

	SIZE_T GetAllocatedSize() const { return sizeof(int32) * 2 + sizeof(CharType) * (SIZE_T(Len()) + 1); }

	static const TSharedString Empty;

	[[nodiscard]] friend bool operator==(const TSharedString& Lhs, const TSharedString& Rhs) { return Lhs.ToView().Equals(Rhs.ToView(), ESearchCase::IgnoreCase); }
	[[nodiscard]] friend bool operator!=(const TSharedString& Lhs, const TSharedString& Rhs) { return !(Lhs == Rhs); }
	[[nodiscard]] friend bool operator==(const TSharedString& Lhs, const CharType* Rhs) { return Lhs.ToView().Equals(TStringView<CharType>(Rhs), ESearchCase::IgnoreCase); }
	[[nodiscard]] friend bool operator!=(const TSharedString& Lhs, const CharType* Rhs) { return !(Lhs == Rhs); }
	// Lets maps keyed by shared strings be probed with a view without allocating.
	[[nodiscard]] friend bool operator==(const TSharedString& Lhs, TStringView<CharType> Rhs) { return Lhs.ToView().Equals(Rhs, ESearchCase::IgnoreCase); }
	[[nodiscard]] friend bool operator!=(const TSharedString& Lhs, TStringView<CharType> Rhs) { return !(Lhs == Rhs); }
	[[nodiscard]] friend bool operator<(const TSharedString& Lhs, const TSharedString& Rhs) { return Lhs.ToView().Compare(Rhs.ToView(), ESearchCase::IgnoreCase) < 0; }

	[[nodiscard]] friend const CharType* GetData(const TSharedString& String) { return *String; }
	[[nodiscard]] friend int32 GetNum(const TSharedString& String) { return String.Len(); }
	[[nodiscard]] friend uint32 GetTypeHash(const TSharedString& String) { return GetTypeHash(String.ToView()); }

private:
	static std::atomic<int32>& RefCount(CharType* InChars) { return *reinterpret_cast<std::atomic<int32>*>(reinterpret_cast<int32*>(InChars) - 2); }

	static void AddRef(CharType* InChars)
	{
		if (InChars)
		{
			RefCount(InChars).fetch_add(1, std::memory_order_relaxed);
		}
	}

	static void Release(CharType* InChars)
	{
		if (InChars && RefCount(InChars).fetch_sub(1, std::memory_order_acq_rel) == 1)
		{
			FMemory::Free(reinterpret_cast<int32*>(InChars) - 2);
		}
	}

	CharType* Chars = nullptr;

	static constexpr CharType NullChar{};
};

template <typename CharType>
inline const TSharedString<CharType> TSharedString<CharType>::Empty;

using FSharedString = TSharedString<TCHAR>;
using FAnsiSharedString = TSharedString<ANSICHAR>;
using FUtf8SharedString = TSharedString<UTF8CHAR>;
using FWideSharedString = TSharedString<WIDECHAR>;

} // namespace UE
