// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/StringFwd.h"
#include "Containers/StringView.h"
#include "Misc/CString.h"
#include "Misc/Crc.h"
#include "Misc/FormatStringSan.h"
#include "Misc/UEOps.h"
#include "Templates/TypeHash.h"

#include "Containers/Map.h"

struct FStringFormatArg;
using FStringFormatOrderedArguments = TArray<FStringFormatArg>;
using FStringFormatNamedArguments = TMap<FString, FStringFormatArg>;

// A string of TCHARs. The array holds the characters plus a terminating NUL when not empty; an
// empty string holds nothing. Comparison operators and hashing ignore case (ASCII); Equals and
// Compare default to case-sensitive; Find, Contains, StartsWith, EndsWith and Replace default to
// ignoring case.
class CORE_API FString
{
public:
	using AllocatorType = TSizedDefaultAllocator<32>;
	using ElementType = TCHAR;

private:
	typedef TArray<TCHAR, AllocatorType> DataType;
	DataType Data;

public:
	FString() = default;
	FString(FString&&) = default;
	FString(const FString&) = default;
	FString& operator=(FString&&) = default;
	FString& operator=(const FString&) = default;

	FString(const FString& Other, int32 ExtraSlack) : Data(Other.Data, ExtraSlack + ((Other.Data.Num() || !ExtraSlack) ? 0 : 1)) {}
	FString(FString&& Other, int32 ExtraSlack) : Data(MoveTemp(Other.Data))
	{
		Reserve(Len() + ExtraSlack);
	}

	FString(const ANSICHAR* Str) { AssignConverted(Str, -1); }
	FString(const WIDECHAR* Str) { AssignRange(Str, Str ? TCString<WIDECHAR>::Strlen(Str) : 0); }
	FString(const UTF8CHAR* Str) { AssignConverted(Str, -1); }
	FString(const UTF32CHAR* Str) { AssignConverted(Str, -1); }
	FString(const wchar_t* Str) { AssignConverted(Str, -1); }

	explicit FString(int32 Len, const ANSICHAR* Str) { AssignConverted(Str, Len); }
	explicit FString(int32 Len, const WIDECHAR* Str) { AssignRange(Str, Len); }
	explicit FString(int32 Len, const UTF8CHAR* Str) { AssignConverted(Str, Len); }
	explicit FString(int32 Len, const UTF32CHAR* Str) { AssignConverted(Str, Len); }

	explicit FString(int32 Len, const ANSICHAR* Str, int32 ExtraSlack) : FString(Len, Str) { Reserve(Len + ExtraSlack); }
	explicit FString(int32 Len, const WIDECHAR* Str, int32 ExtraSlack) : FString(Len, Str) { Reserve(Len + ExtraSlack); }

	explicit FString(TStringView<TCHAR> View) { AssignRange(View.GetData(), View.Len()); }
	explicit FString(TStringView<ANSICHAR> View) { AssignConverted(View.GetData(), View.Len()); }
	explicit FString(TStringView<UTF8CHAR> View) { AssignConverted(View.GetData(), View.Len()); }
	explicit FString(const FStringBuilderBase& Builder);

	[[nodiscard]] static FString ConstructFromPtrSize(const TCHAR* Str, int32 Size) { return FString(Size, Str); }
	[[nodiscard]] static FString ConstructFromPtrSize(const ANSICHAR* Str, int32 Size) { return FString(Size, Str); }
	[[nodiscard]] static FString ConstructFromPtrSize(const UTF8CHAR* Str, int32 Size) { return FString(Size, Str); }
	[[nodiscard]] static FString ConstructWithSlack(const TCHAR* Str, int32 ExtraSlack) { return FString(TCString<TCHAR>::Strlen(Str), Str, ExtraSlack); }

	FString& operator=(const TCHAR* Str)
	{
		if (Data.GetData() != Str)
		{
			FString Temp(Str);
			Data = MoveTemp(Temp.Data);
		}
		return *this;
	}
	FString& operator=(TStringView<TCHAR> View)
	{
		FString Temp(View);
		Data = MoveTemp(Temp.Data);
		return *this;
	}

	FORCEINLINE TCHAR& operator[](int32 Index) UE_LIFETIMEBOUND
	{
		checkf(IsValidIndex(Index), TEXT("String index out of bounds: Index %i from a string with a length of %i"), Index, Len());
		return Data.GetData()[Index];
	}
	FORCEINLINE const TCHAR& operator[](int32 Index) const UE_LIFETIMEBOUND
	{
		checkf(IsValidIndex(Index), TEXT("String index out of bounds: Index %i from a string with a length of %i"), Index, Len());
		return Data.GetData()[Index];
	}

	// Never null: an empty string gives a pointer to a NUL.
	FORCEINLINE const TCHAR* operator*() const UE_LIFETIMEBOUND { return Data.Num() ? Data.GetData() : TEXT(""); }

	FORCEINLINE DataType& GetCharArray() UE_LIFETIMEBOUND { return Data; }
	FORCEINLINE const DataType& GetCharArray() const UE_LIFETIMEBOUND { return Data; }

	FORCEINLINE void Empty() { Data.Empty(0); }
	FORCEINLINE void Empty(int32 Slack) { Data.Empty(Slack); }
	FORCEINLINE void Reset(int32 NewReservedSize = 0)
	{
		const int32 NewSizeIncludingTerminator = (NewReservedSize > 0) ? (NewReservedSize + 1) : 0;
		Data.Reset(NewSizeIncludingTerminator);
	}
	FORCEINLINE void Shrink() { Data.Shrink(); }
	FORCEINLINE void Reserve(int32 CharacterCount)
	{
		checkSlow(CharacterCount >= 0);
		if (CharacterCount > 0)
		{
			Data.Reserve(CharacterCount + 1);
		}
	}

	[[nodiscard]] FORCEINLINE bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Len(); }
	[[nodiscard]] FORCEINLINE bool IsEmpty() const { return Data.Num() <= 1; }
	[[nodiscard]] FORCEINLINE int32 Len() const { return Data.Num() ? Data.Num() - 1 : 0; }
	FORCEINLINE SIZE_T GetAllocatedSize() const { return Data.GetAllocatedSize(); }

	FORCEINLINE void CheckInvariants() const {}

	FString& AppendChar(TCHAR InChar)
	{
		if (InChar != 0)
		{
			const int32 InsertIndex = (Data.Num() > 0) ? Data.Num() - 1 : 0;
			const int32 InsertCount = (Data.Num() > 0) ? 1 : 2;
			Data.AddUninitialized(InsertCount);
			Data.GetData()[InsertIndex] = InChar;
			Data.GetData()[InsertIndex + 1] = 0;
		}
		return *this;
	}

	FORCEINLINE FString& AppendChars(const TCHAR* Str, int32 Count)
	{
		checkf(Count >= 0, TEXT("AppendChars with a negative count"));
		if (!Count)
		{
			return *this;
		}
		check(Str);
		const int32 Index = Data.Num();
		// Reserve enough space - including an extra gap for a null terminator if we don't already have a string allocated
		Data.AddUninitialized(Count + (Index ? 0 : 1));
		TCHAR* EndPtr = Data.GetData() + Index - (Index ? 1 : 0);
		FMemory::Memcpy(EndPtr, Str, Count * sizeof(TCHAR));
		EndPtr[Count] = 0;
		return *this;
	}

	FORCEINLINE FString& Append(const TCHAR* Str, int32 Count) { return AppendChars(Str, Count); }
	FORCEINLINE FString& Append(const TCHAR* Str) { return AppendChars(Str, TCString<TCHAR>::Strlen(Str)); }
	FORCEINLINE FString& Append(const FString& Str) { return AppendChars(*Str, Str.Len()); }
	FORCEINLINE FString& Append(TStringView<TCHAR> Str) { return AppendChars(Str.GetData(), Str.Len()); }
	FString& Append(const ANSICHAR* Str) { return Append(FString(Str)); }
	FString& Append(TStringView<ANSICHAR> Str) { return Append(FString(Str)); }
	FString& Append(TStringView<UTF8CHAR> Str) { return Append(FString(Str)); }
	FString& Append(TCHAR Char) { return AppendChar(Char); }

	FORCEINLINE FString& operator+=(const TCHAR* Str) { return Append(Str); }
	FORCEINLINE FString& operator+=(const FString& Str) { return Append(Str); }
	FORCEINLINE FString& operator+=(TStringView<TCHAR> Str) { return Append(Str); }
	FORCEINLINE FString& operator+=(TCHAR Char) { return AppendChar(Char); }
	FORCEINLINE FString& operator+=(const ANSICHAR* Str) { return Append(Str); }

	void InsertAt(int32 Index, TCHAR Character);
	void InsertAt(int32 Index, const FString& Characters);
	void RemoveAt(int32 Index, int32 Count = 1, EAllowShrinking AllowShrinking = EAllowShrinking::Default);
	bool RemoveFromStart(TStringView<TCHAR> InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(TStringView<TCHAR> InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);

	// Appends with a '/' between, as paths are joined.
	void PathAppend(const TCHAR* Str, int32 StrLength);

	FString& operator/=(const TCHAR* Str)
	{
		PathAppend(Str, TCString<TCHAR>::Strlen(Str));
		return *this;
	}
	FString& operator/=(const FString& Str)
	{
		PathAppend(*Str, Str.Len());
		return *this;
	}
	FString& operator/=(TStringView<TCHAR> Str)
	{
		PathAppend(Str.GetData(), Str.Len());
		return *this;
	}

	friend FString operator/(const FString& Lhs, const TCHAR* Rhs)
	{
		FString Result(Lhs, TCString<TCHAR>::Strlen(Rhs) + 1);
		Result /= Rhs;
		return Result;
	}
	friend FString operator/(FString&& Lhs, const TCHAR* Rhs)
	{
		FString Result(MoveTemp(Lhs), TCString<TCHAR>::Strlen(Rhs) + 1);
		Result /= Rhs;
		return Result;
	}
	friend FString operator/(const FString& Lhs, const FString& Rhs)
	{
		FString Result(Lhs, Rhs.Len() + 1);
		Result /= Rhs;
		return Result;
	}
	friend FString operator/(FString&& Lhs, const FString& Rhs)
	{
		FString Result(MoveTemp(Lhs), Rhs.Len() + 1);
		Result /= Rhs;
		return Result;
	}
	friend FString operator/(const TCHAR* Lhs, const FString& Rhs)
	{
		FString Result(FString(Lhs), Rhs.Len() + 1);
		Result /= Rhs;
		return Result;
	}

	friend FString operator+(const FString& Lhs, const FString& Rhs) { return ConcatFF(Lhs, *Rhs, Rhs.Len()); }
	friend FString operator+(FString&& Lhs, const FString& Rhs) { return ConcatMF(MoveTemp(Lhs), *Rhs, Rhs.Len()); }
	friend FString operator+(const FString& Lhs, FString&& Rhs) { return ConcatFF(Lhs, *Rhs, Rhs.Len()); }
	friend FString operator+(FString&& Lhs, FString&& Rhs) { return ConcatMF(MoveTemp(Lhs), *Rhs, Rhs.Len()); }
	friend FString operator+(const FString& Lhs, const TCHAR* Rhs) { return ConcatFF(Lhs, Rhs, TCString<TCHAR>::Strlen(Rhs)); }
	friend FString operator+(FString&& Lhs, const TCHAR* Rhs) { return ConcatMF(MoveTemp(Lhs), Rhs, TCString<TCHAR>::Strlen(Rhs)); }
	friend FString operator+(const TCHAR* Lhs, const FString& Rhs) { return ConcatPF(Lhs, TCString<TCHAR>::Strlen(Lhs), Rhs); }
	friend FString operator+(const TCHAR* Lhs, FString&& Rhs) { return ConcatPF(Lhs, TCString<TCHAR>::Strlen(Lhs), Rhs); }
	friend FString operator+(const FString& Lhs, TStringView<TCHAR> Rhs) { return ConcatFF(Lhs, Rhs.GetData(), Rhs.Len()); }
	friend FString operator+(FString&& Lhs, TStringView<TCHAR> Rhs) { return ConcatMF(MoveTemp(Lhs), Rhs.GetData(), Rhs.Len()); }
	friend FString operator+(TStringView<TCHAR> Lhs, const FString& Rhs) { return ConcatPF(Lhs.GetData(), Lhs.Len(), Rhs); }
	friend FString operator+(const FString& Lhs, TCHAR Rhs)
	{
		FString Result(Lhs, 1);
		Result.AppendChar(Rhs);
		return Result;
	}
	friend FString operator+(FString&& Lhs, TCHAR Rhs)
	{
		Lhs.AppendChar(Rhs);
		return MoveTemp(Lhs);
	}

	// Case-insensitive comparisons, as the engine's: == and < (with !=, <=, >, >=) are the global
	// operators of Misc/UEOps.h over these members.
	[[nodiscard]] FORCEINLINE bool UEOpLessThan(const FString& Rhs) const { return TCString<TCHAR>::Stricmp(**this, *Rhs) < 0; }
	template <typename CharType>
	[[nodiscard]] FORCEINLINE bool UEOpLessThan(const CharType* Rhs) const { return CompareIgnoreCase(Rhs) < 0; }
	template <typename CharType>
	[[nodiscard]] FORCEINLINE bool UEOpGreaterThan(const CharType* Rhs) const { return CompareIgnoreCase(Rhs) > 0; }
	[[nodiscard]] FORCEINLINE bool UEOpEquals(const FString& Rhs) const { return Equals(Rhs, ESearchCase::IgnoreCase); }
	template <typename CharType>
	[[nodiscard]] FORCEINLINE bool UEOpEquals(const CharType* Rhs) const { return CompareIgnoreCase(Rhs) == 0; }

private:
	// Null compares as the empty string; other character types are converted first.
	template <typename CharType>
	int32 CompareIgnoreCase(const CharType* Rhs) const
	{
		if constexpr (std::is_same_v<CharType, TCHAR>)
		{
			return TCString<TCHAR>::Stricmp(**this, Rhs ? Rhs : TEXT(""));
		}
		else
		{
			return TCString<TCHAR>::Stricmp(**this, *FString(Rhs));
		}
	}

public:
	// The engine compares a string with a view through the view's members (Containers/StringView.h);
	// the host declares the pair here.
	friend bool operator==(const FString& Lhs, TStringView<TCHAR> Rhs) { return TStringView<TCHAR>(Lhs).Equals(Rhs, ESearchCase::IgnoreCase); }
	friend bool operator!=(const FString& Lhs, TStringView<TCHAR> Rhs) { return !(Lhs == Rhs); }
	friend bool operator==(TStringView<TCHAR> Lhs, const FString& Rhs) { return Rhs == Lhs; }
	friend bool operator!=(TStringView<TCHAR> Lhs, const FString& Rhs) { return !(Rhs == Lhs); }

	[[nodiscard]] FORCEINLINE int32 Compare(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		return SearchCase == ESearchCase::CaseSensitive ? TCString<TCHAR>::Strcmp(**this, *Other) : TCString<TCHAR>::Stricmp(**this, *Other);
	}
	[[nodiscard]] bool Equals(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		const int32 Num = Data.Num();
		const int32 OtherNum = Other.Data.Num();
		if (Num != OtherNum)
		{
			// Empty strings may have no array or just the terminator.
			return Num + OtherNum == 1;
		}
		if (Num > 1)
		{
			return TStringView<TCHAR>(Data.GetData(), Num - 1).Equals(TStringView<TCHAR>(Other.Data.GetData(), Num - 1), SearchCase);
		}
		return true;
	}

	[[nodiscard]] FString Left(int32 Count) const& { return FString(ClampCount(Count), **this); }
	[[nodiscard]] FString LeftChop(int32 Count) const& { return FString(ClampCount(Len() - Count), **this); }
	[[nodiscard]] FString Right(int32 Count) const&
	{
		const int32 OutLen = ClampCount(Count);
		return FString(OutLen, **this + Len() - OutLen);
	}
	[[nodiscard]] FString RightChop(int32 Count) const&
	{
		const int32 OutLen = ClampCount(Len() - Count);
		return FString(OutLen, **this + Len() - OutLen);
	}
	[[nodiscard]] FString Mid(int32 Start) const& { return RightChop(Start); }
	[[nodiscard]] FString Mid(int32 Start, int32 Count) const&
	{
		if (Count >= 0)
		{
			const int32 Length = Len();
			const int32 RequestedStart = Start;
			Start = ClampCount(Start);
			const int32 End = (int32)FMathClamp((int64)Count + (int64)RequestedStart, (int64)Start, (int64)Length);
			return FString(End - Start, **this + Start);
		}
		return FString();
	}
	[[nodiscard]] FString Left(int32 Count) &&
	{
		LeftInline(Count, EAllowShrinking::No);
		return MoveTemp(*this);
	}
	[[nodiscard]] FString LeftChop(int32 Count) &&
	{
		LeftChopInline(Count, EAllowShrinking::No);
		return MoveTemp(*this);
	}
	[[nodiscard]] FString Right(int32 Count) &&
	{
		RightInline(Count, EAllowShrinking::No);
		return MoveTemp(*this);
	}
	[[nodiscard]] FString RightChop(int32 Count) &&
	{
		RightChopInline(Count, EAllowShrinking::No);
		return MoveTemp(*this);
	}
	[[nodiscard]] FString Mid(int32 Start, int32 Count) &&
	{
		MidInline(Start, Count, EAllowShrinking::No);
		return MoveTemp(*this);
	}
	[[nodiscard]] FString Mid(int32 Start) && { return MoveTemp(*this).RightChop(Start); }

	void LeftInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		const int32 Length = Len();
		Count = ClampCount(Count);
		RemoveAt(Count, Length - Count, AllowShrinking);
	}
	void LeftChopInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		const int32 Length = Len();
		RemoveAt(ClampCount(Length - Count), Count, AllowShrinking);
	}
	void RightInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		const int32 Length = Len();
		RemoveAt(0, Length - ClampCount(Count), AllowShrinking);
	}
	void RightChopInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		RemoveAt(0, Count, AllowShrinking);
	}
	void MidInline(int32 Start, int32 Count = MAX_int32, EAllowShrinking AllowShrinking = EAllowShrinking::Default)
	{
		if (Count != MAX_int32 && int64(Start) + int64(Count) < MAX_int32)
		{
			LeftInline(Count + Start, EAllowShrinking::No);
		}
		RightChopInline(Start, AllowShrinking);
	}

	[[nodiscard]] int32 Find(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const
	{
		return Find(TStringView<TCHAR>(SubStr), SearchCase, SearchDir, StartPosition);
	}
	[[nodiscard]] int32 Find(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const
	{
		return Find(TStringView<TCHAR>(SubStr), SearchCase, SearchDir, StartPosition);
	}
	[[nodiscard]] int32 Find(TStringView<TCHAR> SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;

	[[nodiscard]] FORCEINLINE bool Contains(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}
	[[nodiscard]] FORCEINLINE bool Contains(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}
	[[nodiscard]] FORCEINLINE bool Contains(TStringView<TCHAR> SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}

	FORCEINLINE bool FindChar(TCHAR InChar, int32& Index) const { return TStringView<TCHAR>(*this).FindChar(InChar, Index); }
	FORCEINLINE bool FindLastChar(TCHAR InChar, int32& Index) const { return TStringView<TCHAR>(*this).FindLastChar(InChar, Index); }

	template <typename Predicate>
	int32 FindLastCharByPredicate(Predicate Pred, int32 Count) const
	{
		check(Count >= 0 && Count <= this->Len());
		for (int32 Index = Count - 1; Index >= 0; --Index)
		{
			if (Pred(Data.GetData()[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	template <typename Predicate>
	int32 FindLastCharByPredicate(Predicate Pred) const { return FindLastCharByPredicate(Pred, Len()); }

	// An empty prefix or suffix never matches.
	[[nodiscard]] bool StartsWith(const TCHAR* InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return StartsWith(TStringView<TCHAR>(InPrefix), SearchCase); }
	[[nodiscard]] bool StartsWith(const FString& InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return StartsWith(TStringView<TCHAR>(InPrefix), SearchCase); }
	[[nodiscard]] bool StartsWith(TStringView<TCHAR> InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const
	{
		return InPrefix.Len() > 0 && InPrefix.Len() <= Len() && TStringView<TCHAR>(**this, InPrefix.Len()).Equals(InPrefix, SearchCase);
	}
	[[nodiscard]] bool EndsWith(const TCHAR* InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return EndsWith(TStringView<TCHAR>(InSuffix), SearchCase); }
	[[nodiscard]] bool EndsWith(const FString& InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const { return EndsWith(TStringView<TCHAR>(InSuffix), SearchCase); }
	[[nodiscard]] bool EndsWith(TStringView<TCHAR> InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const
	{
		return InSuffix.Len() > 0 && InSuffix.Len() <= Len() && TStringView<TCHAR>(**this + Len() - InSuffix.Len(), InSuffix.Len()).Equals(InSuffix, SearchCase);
	}

	[[nodiscard]] bool MatchesWildcard(TStringView<TCHAR> Wildcard, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;

	bool Split(TStringView<TCHAR> InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const;
	bool Split(TStringView<TCHAR> InS, FString* LeftS, FString* RightS) const { return Split(InS, LeftS, RightS, ESearchCase::IgnoreCase); }
	bool Split(const TCHAR* InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const { return Split(TStringView<TCHAR>(InS), LeftS, RightS, SearchCase, SearchDir); }
	bool Split(const TCHAR* InS, FString* LeftS, FString* RightS) const { return Split(TStringView<TCHAR>(InS), LeftS, RightS, ESearchCase::IgnoreCase); }
	bool Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir = ESearchDir::FromStart) const { return Split(TStringView<TCHAR>(InS), LeftS, RightS, SearchCase, SearchDir); }
	bool Split(const FString& InS, FString* LeftS, FString* RightS) const { return Split(TStringView<TCHAR>(InS), LeftS, RightS, ESearchCase::IgnoreCase); }

	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* pchDelim, bool InCullEmpty = true) const;
	int32 ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* pchExtraDelim = nullptr, bool InCullEmpty = true) const;
	int32 ParseIntoArrayLines(TArray<FString>& OutArray, bool InCullEmpty = true) const;
	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* const* DelimArray, int32 NumDelims, bool InCullEmpty = true) const;

	[[nodiscard]] FString ToUpper() const&;
	[[nodiscard]] FString ToUpper() &&;
	void ToUpperInline();
	[[nodiscard]] FString ToLower() const&;
	[[nodiscard]] FString ToLower() &&;
	void ToLowerInline();

	[[nodiscard]] FString LeftPad(int32 ChCount) const;
	[[nodiscard]] FString RightPad(int32 ChCount) const;

	[[nodiscard]] bool IsNumeric() const;

	void TrimStartAndEndInline();
	[[nodiscard]] FString TrimStartAndEnd() const&;
	[[nodiscard]] FString TrimStartAndEnd() &&;
	void TrimStartInline();
	[[nodiscard]] FString TrimStart() const&;
	[[nodiscard]] FString TrimStart() &&;
	void TrimEndInline();
	[[nodiscard]] FString TrimEnd() const&;
	[[nodiscard]] FString TrimEnd() &&;
	void TrimToNullTerminator();
	void TrimQuotesInline(bool* bQuotesRemoved = nullptr);
	[[nodiscard]] FString TrimQuotes(bool* bQuotesRemoved = nullptr) const&;
	[[nodiscard]] FString TrimQuotes(bool* bQuotesRemoved = nullptr) &&;
	void TrimCharInline(TCHAR CharacterToTrim, bool* bCharRemoved);
	[[nodiscard]] FString TrimChar(TCHAR CharacterToTrim, bool* bCharRemoved = nullptr) const&;

	void ReverseString();
	[[nodiscard]] FString Reverse() const&;
	[[nodiscard]] FString Reverse() &&;

	[[nodiscard]] FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const&;
	[[nodiscard]] FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) &&;
	int32 ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	void ReplaceCharInline(TCHAR SearchChar, TCHAR ReplacementChar, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	[[nodiscard]] FString ReplaceQuotesWithEscapedQuotes() const&;
	[[nodiscard]] FString ReplaceCharWithEscapedChar(const TArray<TCHAR>* Chars = nullptr) const&;
	[[nodiscard]] FString ReplaceEscapedCharWithChar(const TArray<TCHAR>* Chars = nullptr) const&;
	[[nodiscard]] FString ConvertTabsToSpaces(int32 InSpacesPerTab) const;

	[[nodiscard]] bool ToBool() const;

	template <typename... Types>
	[[nodiscard]] static FString Printf(UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Fmt, Types... Args)
	{
		const UE::Core::Private::FFormatArgValue Values[sizeof...(Types) + 1] = { UE::Core::Private::MakeFormatArg(Args)..., {} };
		return PrintfImpl(Fmt.FormatString, Values, (int32)sizeof...(Types));
	}

	template <typename... Types>
	FString& Appendf(UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Fmt, Types... Args)
	{
		const UE::Core::Private::FFormatArgValue Values[sizeof...(Types) + 1] = { UE::Core::Private::MakeFormatArg(Args)..., {} };
		AppendfImpl(Fmt.FormatString, Values, (int32)sizeof...(Types));
		return *this;
	}

	static FString PrintfImpl(const TCHAR* Fmt, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs);
	void AppendfImpl(const TCHAR* Fmt, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs);

	[[nodiscard]] static FString Format(const TCHAR* InFormatString, const FStringFormatOrderedArguments& InOrderedArguments);
	[[nodiscard]] static FString Format(const TCHAR* InFormatString, const FStringFormatNamedArguments& InNamedArguments);

	[[nodiscard]] static FString Chr(TCHAR Ch);
	[[nodiscard]] static FString ChrN(int32 NumCharacters, TCHAR Char);
	[[nodiscard]] static FString FromInt(int32 Num);
	void AppendInt(int32 InNum);
	[[nodiscard]] static FString SanitizeFloat(double InFloat, const int32 InMinFractionalDigits = 1);
	[[nodiscard]] static FString FormatAsNumber(int32 InNumber);

	template <typename RangeType>
	[[nodiscard]] static FString Join(const RangeType& Range, const TCHAR* Separator)
	{
		FString Result;
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				Result += Separator;
			}
			Result += Element;
			bFirst = false;
		}
		return Result;
	}

	template <typename RangeType, typename ProjectionType>
	[[nodiscard]] static FString JoinBy(const RangeType& Range, const TCHAR* Separator, ProjectionType Proj)
	{
		FString Result;
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				Result += Separator;
			}
			Result += ::Invoke(Proj, Element);
			bFirst = false;
		}
		return Result;
	}

	[[nodiscard]] static FString FromHexBlob(const uint8* SrcBuffer, const uint32 SrcSize);

	[[nodiscard]] friend FORCEINLINE uint32 GetTypeHash(const FString& S)
	{
		// Case-insensitive, and the same as GetTypeHash(FStringView).
		return FCrc::Strihash_DEPRECATED(S.Len(), *S);
	}

	friend FORCEINLINE const TCHAR* GetData(const FString& String) { return *String; }
	friend FORCEINLINE TCHAR* GetData(FString& String) { return String.Data.Num() ? String.Data.GetData() : const_cast<TCHAR*>(TEXT("")); }
	friend FORCEINLINE int32 GetNum(const FString& String) { return String.Len(); }

	FORCEINLINE TCHAR* begin() { return Data.Num() ? Data.GetData() : nullptr; }
	FORCEINLINE const TCHAR* begin() const { return Data.Num() ? Data.GetData() : nullptr; }
	FORCEINLINE TCHAR* end() { return Data.Num() ? Data.GetData() + Data.Num() - 1 : nullptr; }
	FORCEINLINE const TCHAR* end() const { return Data.Num() ? Data.GetData() + Data.Num() - 1 : nullptr; }

private:
	static constexpr int64 FMathClamp(int64 X, int64 Min, int64 Max) { return X < Min ? Min : (X > Max ? Max : X); }
	FORCEINLINE int32 ClampCount(int32 Count) const { return Count < 0 ? 0 : (Count > Len() ? Len() : Count); }

	void AssignRange(const TCHAR* Str, int32 Count)
	{
		if (Str && Count > 0)
		{
			Data.Empty(Count + 1);
			Data.AddUninitialized(Count + 1);
			FMemory::Memcpy(Data.GetData(), Str, Count * sizeof(TCHAR));
			Data.GetData()[Count] = 0;
			// A NUL inside the range ends the string, as TCString copies would.
			const int32 RealLen = TCString<TCHAR>::Strnlen(Data.GetData(), Count);
			if (RealLen < Count)
			{
				Data.SetNum(RealLen ? RealLen + 1 : 0);
				if (RealLen)
				{
					Data.GetData()[RealLen] = 0;
				}
			}
		}
		else
		{
			Data.Empty();
		}
	}

	// Length -1 means NUL-terminated.
	void AssignConverted(const ANSICHAR* Str, int32 Count);
	void AssignConverted(const UTF8CHAR* Str, int32 Count);
	void AssignConverted(const UTF32CHAR* Str, int32 Count);
	void AssignConverted(const wchar_t* Str, int32 Count);

	static FString ConcatFF(const FString& Lhs, const TCHAR* Rhs, int32 RhsLen)
	{
		FString Result(Lhs, RhsLen);
		Result.AppendChars(Rhs, RhsLen);
		return Result;
	}
	static FString ConcatMF(FString&& Lhs, const TCHAR* Rhs, int32 RhsLen)
	{
		FString Result(MoveTemp(Lhs), RhsLen);
		Result.AppendChars(Rhs, RhsLen);
		return Result;
	}
	static FString ConcatPF(const TCHAR* Lhs, int32 LhsLen, const FString& Rhs)
	{
		FString Result;
		Result.Reserve(LhsLen + Rhs.Len());
		Result.AppendChars(Lhs, LhsLen);
		Result.Append(Rhs);
		return Result;
	}
};

template <> struct TIsContiguousContainer<FString> { enum { Value = true }; };

inline TCHAR* GetData(FString& String);
inline const TCHAR* GetData(const FString& String);

// Conversions to and from text, as the engine's Lex functions: integers and floats use printf
// formats (so floats get six decimals), bool gives "true"/"false".
inline FString LexToString(const FString& Str) { return Str; }
inline FString LexToString(FString&& Str) { return MoveTemp(Str); }
inline FString LexToString(const TCHAR* Str) { return FString(Str); }
inline FString LexToString(bool Value) { return Value ? FString(TEXT("true")) : FString(TEXT("false")); }
inline FString LexToString(int8 Value) { return FString::Printf(TEXT("%d"), Value); }
inline FString LexToString(uint8 Value) { return FString::Printf(TEXT("%u"), Value); }
inline FString LexToString(int16 Value) { return FString::Printf(TEXT("%d"), Value); }
inline FString LexToString(uint16 Value) { return FString::Printf(TEXT("%u"), Value); }
inline FString LexToString(int32 Value) { return FString::Printf(TEXT("%d"), Value); }
inline FString LexToString(uint32 Value) { return FString::Printf(TEXT("%u"), Value); }
inline FString LexToString(int64 Value) { return FString::Printf(TEXT("%lld"), Value); }
inline FString LexToString(uint64 Value) { return FString::Printf(TEXT("%llu"), Value); }
inline FString LexToString(long Value) { return FString::Printf(TEXT("%ld"), Value); }
inline FString LexToString(unsigned long Value) { return FString::Printf(TEXT("%lu"), Value); }
inline FString LexToString(float Value) { return FString::Printf(TEXT("%f"), Value); }
inline FString LexToString(double Value) { return FString::Printf(TEXT("%f"), Value); }
inline FString LexToString(TCHAR Value) { return FString::Chr(Value); }

inline FString LexToSanitizedString(float Value) { return FString::SanitizeFloat(Value); }
inline FString LexToSanitizedString(double Value) { return FString::SanitizeFloat(Value); }
template <typename T>
inline auto LexToSanitizedString(const T& Value) -> decltype(LexToString(Value)) { return LexToString(Value); }

inline void LexFromString(int8& OutValue, const TCHAR* Buffer) { OutValue = (int8)FCString::Atoi(Buffer); }
inline void LexFromString(int16& OutValue, const TCHAR* Buffer) { OutValue = (int16)FCString::Atoi(Buffer); }
inline void LexFromString(int32& OutValue, const TCHAR* Buffer) { OutValue = (int32)FCString::Atoi(Buffer); }
inline void LexFromString(int64& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atoi64(Buffer); }
inline void LexFromString(uint8& OutValue, const TCHAR* Buffer) { OutValue = (uint8)FCString::Atoi(Buffer); }
inline void LexFromString(uint16& OutValue, const TCHAR* Buffer) { OutValue = (uint16)FCString::Atoi(Buffer); }
inline void LexFromString(uint32& OutValue, const TCHAR* Buffer) { OutValue = (uint32)FCString::Atoi64(Buffer); }
inline void LexFromString(uint64& OutValue, const TCHAR* Buffer) { OutValue = FCString::Strtoui64(Buffer, nullptr, 0); }
inline void LexFromString(float& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atof(Buffer); }
inline void LexFromString(double& OutValue, const TCHAR* Buffer) { OutValue = FCString::Atod(Buffer); }
inline void LexFromString(bool& OutValue, const TCHAR* Buffer) { OutValue = FCString::ToBool(Buffer); }
inline void LexFromString(FString& OutValue, const TCHAR* Buffer) { OutValue = Buffer; }
template <typename T>
inline auto LexFromString(T& OutValue, const FString& Buffer) -> decltype(LexFromString(OutValue, *Buffer)) { return LexFromString(OutValue, *Buffer); }
template <typename T>
inline auto LexFromString(T& OutValue, FStringView Buffer) -> decltype(LexFromString(OutValue, (const TCHAR*)nullptr)) { return LexFromString(OutValue, *FString(Buffer)); }

// False for "" and for text that is not a number yet parses to 0.
template <typename T, std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, bool>>* = nullptr>
inline bool LexTryParseString(T& OutValue, const TCHAR* Buffer)
{
	if (!Buffer || *Buffer == TEXT('\0'))
	{
		OutValue = 0;
		return false;
	}
	LexFromString(OutValue, Buffer);
	return OutValue != 0 || FCString::IsNumeric(Buffer);
}

inline bool LexTryParseString(bool& OutValue, const TCHAR* Buffer)
{
	if (!Buffer || *Buffer == TEXT('\0'))
	{
		OutValue = false;
		return false;
	}
	static const TCHAR* const Words[] = { TEXT("true"), TEXT("yes"), TEXT("on"), TEXT("false"), TEXT("no"), TEXT("off") };
	for (int32 Index = 0; Index < 6; ++Index)
	{
		if (FCString::Stricmp(Buffer, Words[Index]) == 0)
		{
			OutValue = Index < 3;
			return true;
		}
	}
	int32 Number = 0;
	if (LexTryParseString(Number, Buffer))
	{
		OutValue = Number != 0;
		return true;
	}
	return false;
}

inline bool LexTryParseString(FString& OutValue, const TCHAR* Buffer)
{
	OutValue = Buffer;
	return true;
}

template <typename T>
inline auto LexTryParseString(T& OutValue, const FString& Buffer) -> decltype(LexTryParseString(OutValue, *Buffer)) { return LexTryParseString(OutValue, *Buffer); }

template <typename T>
inline auto LexToString(const T& Value) -> decltype(Value.ToString()) { return Value.ToString(); }

// printf-style into a TCHAR buffer.
template <typename... Types>
int32 FCStringSprintf(TCHAR* Dest, int32 DestSize, UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Fmt, Types... Args)
{
	const FString Result = FString::Printf(Fmt, Args...);
	const int32 Copy = Result.Len() < DestSize - 1 ? Result.Len() : DestSize - 1;
	if (DestSize > 0)
	{
		FMemory::Memcpy(Dest, *Result, Copy * sizeof(TCHAR));
		Dest[Copy] = 0;
	}
	return Copy;
}

#include "Containers/UnrealStringFormat.h"
