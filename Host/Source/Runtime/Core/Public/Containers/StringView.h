// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/StringFwd.h"
#include "Misc/CString.h"
#include "Misc/Crc.h"
#include "Templates/UnrealTemplate.h"

namespace UE::Core::Private
{
	template <typename RangeType>
	constexpr auto StringViewGetData(const RangeType& Range) -> decltype(GetData(Range)) { return GetData(Range); }
	template <typename RangeType>
	constexpr auto StringViewGetNum(const RangeType& Range) -> decltype(GetNum(Range)) { return GetNum(Range); }
}

// A non-owning view of characters. Equality with other strings ignores case and its hash matches
// FString's, so maps keyed by FString can be probed with a view.
template <typename CharType>
class TStringView
{
public:
	using ElementType = CharType;
	using ViewType = TStringView<CharType>;

	constexpr TStringView() = default;
	constexpr TStringView(const CharType* InData) : DataPtr(InData), Size(InData ? TCString<CharType>::Strlen(InData) : 0) {}
	constexpr TStringView(const CharType* InData, int32 InSize) : DataPtr(InData), Size(InSize) {}

	// Any contiguous range of CharType offering GetData()/GetNum() (FString, string builders).
	template <typename RangeType, std::enable_if_t<!std::is_pointer_v<std::decay_t<RangeType>> && !std::is_array_v<std::remove_reference_t<RangeType>> && !std::is_same_v<std::decay_t<RangeType>, TStringView> && std::is_same_v<std::remove_cv_t<std::remove_pointer_t<decltype(UE::Core::Private::StringViewGetData(std::declval<const RangeType&>()))>>, CharType>>* = nullptr>
	constexpr TStringView(const RangeType& Range UE_LIFETIMEBOUND) : DataPtr(UE::Core::Private::StringViewGetData(Range)), Size((int32)UE::Core::Private::StringViewGetNum(Range))
	{
	}

	constexpr const CharType& operator[](int32 Index) const
	{
		checkf(Index >= 0 && Index < Size, TEXT("Index out of bounds on StringView: index %d on a view with a length of %d"), Index, Size);
		return DataPtr[Index];
	}

	constexpr const CharType* GetData() const { return DataPtr; }
	constexpr int32 Len() const { return Size; }
	constexpr bool IsEmpty() const { return Size == 0; }
	constexpr bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Size; }

	void RemovePrefix(int32 CharCount) { DataPtr += CharCount; Size -= CharCount; }
	void RemoveSuffix(int32 CharCount) { Size -= CharCount; }
	void Reset() { DataPtr = nullptr; Size = 0; }

	int32 CopyString(CharType* Dest, int32 CharCount, int32 Position = 0) const
	{
		const int32 CopyCount = Position + CharCount > Size ? Size - Position : CharCount;
		for (int32 Index = 0; Index < CopyCount; ++Index)
		{
			Dest[Index] = DataPtr[Position + Index];
		}
		return CopyCount;
	}

	ViewType SubStr(int32 Position, int32 CharCount) const { return Mid(Position, CharCount); }
	ViewType Left(int32 CharCount) const { return ViewType(DataPtr, ClampLen(CharCount)); }
	ViewType LeftChop(int32 CharCount) const { return ViewType(DataPtr, ClampLen(Size - CharCount)); }
	ViewType Right(int32 CharCount) const
	{
		const int32 OutLen = ClampLen(CharCount);
		return ViewType(DataPtr + Size - OutLen, OutLen);
	}
	ViewType RightChop(int32 CharCount) const
	{
		const int32 OutLen = ClampLen(Size - CharCount);
		return ViewType(DataPtr + Size - OutLen, OutLen);
	}
	ViewType Mid(int32 Position, int32 CharCount = MAX_int32) const
	{
		const int32 Start = ClampLen(Position);
		const int32 Rest = Size - Start;
		const int32 Count = CharCount < 0 ? 0 : (CharCount < Rest ? CharCount : Rest);
		return ViewType(DataPtr + Start, Count);
	}
	ViewType TrimStartAndEnd() const { return TrimStart().TrimEnd(); }
	ViewType TrimStart() const
	{
		int32 Start = 0;
		while (Start < Size && TChar<CharType>::IsWhitespace(DataPtr[Start]))
		{
			++Start;
		}
		return ViewType(DataPtr + Start, Size - Start);
	}
	ViewType TrimEnd() const
	{
		int32 NewSize = Size;
		while (NewSize > 0 && TChar<CharType>::IsWhitespace(DataPtr[NewSize - 1]))
		{
			--NewSize;
		}
		return ViewType(DataPtr, NewSize);
	}

	void LeftInline(int32 CharCount) { *this = Left(CharCount); }
	void LeftChopInline(int32 CharCount) { *this = LeftChop(CharCount); }
	void RightInline(int32 CharCount) { *this = Right(CharCount); }
	void RightChopInline(int32 CharCount) { *this = RightChop(CharCount); }
	void MidInline(int32 Position, int32 CharCount = MAX_int32) { *this = Mid(Position, CharCount); }
	void TrimStartAndEndInline() { *this = TrimStartAndEnd(); }
	void TrimStartInline() { *this = TrimStart(); }
	void TrimEndInline() { *this = TrimEnd(); }

	bool Equals(ViewType Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		return Size == Other.Size && Compare(Other, SearchCase) == 0;
	}
	template <typename OtherRangeType, std::enable_if_t<!std::is_same_v<std::decay_t<OtherRangeType>, ViewType> && std::is_constructible_v<ViewType, const OtherRangeType&>>* = nullptr>
	bool Equals(const OtherRangeType& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		return Equals(ViewType(Other), SearchCase);
	}

	int32 Compare(ViewType Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		const int32 MinLen = Size < Other.Size ? Size : Other.Size;
		for (int32 Index = 0; Index < MinLen; ++Index)
		{
			CharType A = DataPtr[Index];
			CharType B = Other.DataPtr[Index];
			if (SearchCase == ESearchCase::IgnoreCase)
			{
				A = TChar<CharType>::ToLower(A);
				B = TChar<CharType>::ToLower(B);
			}
			if (A != B)
			{
				return TChar<CharType>::ToUnsigned(A) < TChar<CharType>::ToUnsigned(B) ? -1 : 1;
			}
		}
		return Size < Other.Size ? -1 : (Size > Other.Size ? 1 : 0);
	}

	bool FindChar(CharType InChar, int32& OutIndex) const
	{
		for (int32 Index = 0; Index < Size; ++Index)
		{
			if (DataPtr[Index] == InChar)
			{
				OutIndex = Index;
				return true;
			}
		}
		OutIndex = INDEX_NONE;
		return false;
	}

	bool FindLastChar(CharType InChar, int32& OutIndex) const
	{
		for (int32 Index = Size - 1; Index >= 0; --Index)
		{
			if (DataPtr[Index] == InChar)
			{
				OutIndex = Index;
				return true;
			}
		}
		OutIndex = INDEX_NONE;
		return false;
	}

	int32 Find(ViewType Search, int32 StartPosition = 0, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		if (StartPosition < 0)
		{
			StartPosition = 0;
		}
		for (int32 Index = StartPosition; Index + Search.Size <= Size; ++Index)
		{
			if (ViewType(DataPtr + Index, Search.Size).Equals(Search, SearchCase))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	bool Contains(ViewType Search, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		return Find(Search, 0, SearchCase) != INDEX_NONE;
	}

	bool StartsWith(CharType Prefix) const { return Size >= 1 && DataPtr[0] == Prefix; }
	bool EndsWith(CharType Suffix) const { return Size >= 1 && DataPtr[Size - 1] == Suffix; }
	bool StartsWith(ViewType Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const
	{
		return Prefix.Equals(Left(Prefix.Len()), SearchCase);
	}
	bool EndsWith(ViewType Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const
	{
		return Suffix.Equals(Right(Suffix.Len()), SearchCase);
	}

	constexpr const CharType* begin() const { return DataPtr; }
	constexpr const CharType* end() const { return DataPtr + Size; }

	friend bool operator==(ViewType Lhs, ViewType Rhs) { return Lhs.Equals(Rhs, ESearchCase::IgnoreCase); }
	friend bool operator!=(ViewType Lhs, ViewType Rhs) { return !Lhs.Equals(Rhs, ESearchCase::IgnoreCase); }
	friend bool operator==(ViewType Lhs, const CharType* Rhs) { return Lhs.Equals(ViewType(Rhs), ESearchCase::IgnoreCase); }
	friend bool operator!=(ViewType Lhs, const CharType* Rhs) { return !(Lhs == Rhs); }
	friend bool operator==(const CharType* Lhs, ViewType Rhs) { return Rhs == Lhs; }
	friend bool operator!=(const CharType* Lhs, ViewType Rhs) { return !(Rhs == Lhs); }
	friend bool operator<(ViewType Lhs, ViewType Rhs) { return Lhs.Compare(Rhs, ESearchCase::IgnoreCase) < 0; }

	friend uint32 GetTypeHash(ViewType View) { return FCrc::Strihash_DEPRECATED(View.Len(), View.GetData()); }

protected:
	constexpr int32 ClampLen(int32 CharCount) const { return CharCount < 0 ? 0 : (CharCount > Size ? Size : CharCount); }

	const CharType* DataPtr = nullptr;
	int32 Size = 0;
};

template <typename CharType>
constexpr inline int32 GetNum(TStringView<CharType> String)
{
	return String.Len();
}

#define TEXTVIEW(String) FStringView(TEXT(String), (int32)(sizeof(TEXT(String)) / sizeof(TCHAR)) - 1)
#define ANSITEXTVIEW(String) FAnsiStringView(String, (int32)sizeof(String) - 1)
#define UTF8TEXTVIEW(String) FUtf8StringView(UTF8TEXT(String), (int32)sizeof(UTF8TEXT(String)) - 1)
