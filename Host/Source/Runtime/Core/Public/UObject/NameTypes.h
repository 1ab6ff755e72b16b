// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "UObject/UnrealNames.h"
#include "Containers/UnrealString.h"
#include "Containers/StringView.h"
#include "Templates/TypeHash.h"

// FName: an entry in a global, thread-safe pool of case-insensitively unique strings plus a
// number. A trailing "_N" (N without a leading zero, fewer than 11 digits, below MAX_int32) is
// split off into the number, stored internally as N + 1 (0 means no number). The pool keeps the
// first spelling registered for display, as a build without case-preserving names does.

#define NAME_SIZE 1024
#define NAME_NO_NUMBER_INTERNAL 0
#define NAME_INTERNAL_TO_EXTERNAL(x) (x - 1)
#define NAME_EXTERNAL_TO_INTERNAL(x) (x + 1)
#define NAME_NO_NUMBER NAME_INTERNAL_TO_EXTERNAL(NAME_NO_NUMBER_INTERNAL)

enum EFindName
{
	// Find a name; return None if it does not exist.
	FNAME_Find,
	// Find a name or add it if it does not exist.
	FNAME_Add,
	FNAME_Replace_Not_Safe_For_Threading,
};

enum class ENameCase : uint8
{
	CaseSensitive,
	IgnoreCase,
};

struct FNameEntryId
{
	FNameEntryId() : Value(0) {}
	FNameEntryId(ENoInit) {}
	FNameEntryId(EName Ename) : Value((uint32)Ename) {}

	bool IsNone() const { return Value == 0; }
	uint32 ToUnstableInt() const { return Value; }
	static FNameEntryId FromUnstableInt(uint32 UnstableInt)
	{
		FNameEntryId Id;
		Id.Value = UnstableInt;
		return Id;
	}
	int32 CompareFast(FNameEntryId Rhs) const { return (int32)Value - (int32)Rhs.Value; }
	bool FastLess(FNameEntryId Rhs) const { return Value < Rhs.Value; }
	friend bool operator==(FNameEntryId A, FNameEntryId B) { return A.Value == B.Value; }
	friend bool operator!=(FNameEntryId A, FNameEntryId B) { return A.Value != B.Value; }
	friend uint32 GetTypeHash(FNameEntryId Id) { return Id.Value; }
	explicit operator bool() const { return Value != 0; }

private:
	uint32 Value;
};

class CORE_API FName
{
public:
	FORCEINLINE FName() : ComparisonIndex(), Number(NAME_NO_NUMBER_INTERNAL) {}
	FORCEINLINE FName(EName N) : ComparisonIndex(N), Number(NAME_NO_NUMBER_INTERNAL) {}
	FORCEINLINE FName(EName N, int32 InNumber) : ComparisonIndex(N), Number((uint32)InNumber) {}
	FORCEINLINE FName(FName Other, int32 InNumber) : ComparisonIndex(Other.ComparisonIndex), Number((uint32)InNumber) {}
	FORCEINLINE FName(FNameEntryId InComparisonIndex, FNameEntryId InDisplayIndex, int32 InNumber) : ComparisonIndex(InComparisonIndex), Number((uint32)InNumber) {}

	FName(const WIDECHAR* Name, EFindName FindType = FNAME_Add);
	FName(const ANSICHAR* Name, EFindName FindType = FNAME_Add);
	FName(const UTF8CHAR* Name, EFindName FindType = FNAME_Add);
	FName(int32 Len, const WIDECHAR* Name, EFindName FindType = FNAME_Add);
	FName(int32 Len, const ANSICHAR* Name, EFindName FindType = FNAME_Add);
	FName(int32 Len, const UTF8CHAR* Name, EFindName FindType = FNAME_Add);
	explicit FName(TStringView<WIDECHAR> View, EFindName FindType = FNAME_Add);
	explicit FName(TStringView<ANSICHAR> View, EFindName FindType = FNAME_Add);
	explicit FName(TStringView<UTF8CHAR> View, EFindName FindType = FNAME_Add);
	// The number is taken as given (internal form); the string is not split.
	FName(const WIDECHAR* Name, int32 InNumber);
	FName(const ANSICHAR* Name, int32 InNumber);
	FName(TStringView<WIDECHAR> View, int32 InNumber);
	FName(const WIDECHAR* Name, int32 InNumber, EFindName FindType);

	FString ToString() const;
	void ToString(FString& Out) const;
	void AppendString(FString& Out) const;
	void AppendString(FStringBuilderBase& Out) const;
	FString GetPlainNameString() const;
	uint32 GetPlainNameString(TCHAR (&OutName)[NAME_SIZE]) const;
	uint32 GetStringLength() const;

	FORCEINLINE int32 GetNumber() const { return (int32)Number; }
	FORCEINLINE void SetNumber(const int32 NewNumber) { Number = (uint32)NewNumber; }
	FORCEINLINE FNameEntryId GetComparisonIndex() const { return ComparisonIndex; }
	FORCEINLINE FNameEntryId GetDisplayIndex() const { return ComparisonIndex; }
	FORCEINLINE bool IsNone() const { return ComparisonIndex.IsNone() && Number == NAME_NO_NUMBER_INTERNAL; }
	FORCEINLINE bool IsValid() const { return true; }
	const EName* ToEName() const;

	FORCEINLINE bool IsEqual(const FName& Other, const ENameCase CompareMethod = ENameCase::IgnoreCase, const bool bCompareNumber = true) const
	{
		if (CompareMethod == ENameCase::IgnoreCase)
		{
			return ComparisonIndex == Other.ComparisonIndex && (!bCompareNumber || Number == Other.Number);
		}
		// Only one spelling is kept per entry, so a case-sensitive comparison is the same here.
		return ComparisonIndex == Other.ComparisonIndex && (!bCompareNumber || Number == Other.Number);
	}

	FORCEINLINE bool operator==(FName Other) const { return ComparisonIndex == Other.ComparisonIndex && Number == Other.Number; }
	FORCEINLINE bool operator!=(FName Other) const { return !(*this == Other); }
	FORCEINLINE bool operator==(EName Other) const { return ComparisonIndex == FNameEntryId(Other) && Number == 0; }
	FORCEINLINE bool operator!=(EName Other) const { return !(*this == Other); }
	bool operator==(const ANSICHAR* Other) const;
	bool operator==(const WIDECHAR* Other) const;
	bool operator==(FStringView Other) const;
	bool operator!=(const ANSICHAR* Other) const { return !(*this == Other); }
	bool operator!=(const WIDECHAR* Other) const { return !(*this == Other); }
	bool operator!=(FStringView Other) const { return !(*this == Other); }

	// There is no single correct order of names: choose LexicalLess or FastLess.
	bool operator<(FName Other) const = delete;
	bool operator>(FName Other) const = delete;
	bool operator<=(FName Other) const = delete;
	bool operator>=(FName Other) const = delete;

	// Alphabetical ignoring case, then by number.
	int32 Compare(const FName& Other) const;
	FORCEINLINE int32 CompareIndexes(const FName& Other) const
	{
		if (const int32 Diff = ComparisonIndex.CompareFast(Other.ComparisonIndex))
		{
			return Diff;
		}
		return (int32)Number - (int32)Other.Number;
	}
	FORCEINLINE bool LexicalLess(const FName& Other) const { return Compare(Other) < 0; }
	FORCEINLINE bool FastLess(const FName& Other) const { return CompareIndexes(Other) < 0; }

	friend FORCEINLINE uint32 GetTypeHash(FName Name)
	{
		return Name.ComparisonIndex.ToUnstableInt() + Name.Number;
	}

	static FName FindName(const TCHAR* Name) { return FName(Name, FNAME_Find); }
	static FString SafeString(FNameEntryId InDisplayIndex, int32 InstanceNumber = NAME_NO_NUMBER_INTERNAL);
	static FString NameToDisplayString(const FString& InDisplayName, const bool bIsBool);

	FORCEINLINE uint64 ToUnstableInt() const { return ((uint64)ComparisonIndex.ToUnstableInt() << 32) | Number; }

private:
	void Init(const TCHAR* Name, int32 Len, EFindName FindType, bool bSplitNumber, int32 InNumber);

	FNameEntryId ComparisonIndex;
	uint32 Number;
};

struct FNameLexicalLess
{
	FORCEINLINE bool operator()(const FName& A, const FName& B) const { return A.LexicalLess(B); }
};

struct FNameFastLess
{
	FORCEINLINE bool operator()(const FName& A, const FName& B) const { return A.FastLess(B); }
};

inline FString LexToString(const FName& Name) { return Name.ToString(); }
inline void LexFromString(FName& Name, const TCHAR* Str) { Name = FName(Str); }

template <> struct TIsZeroConstructType<FName> { enum { Value = true }; };

inline bool operator==(const TCHAR* Lhs, const FName& Rhs) { return Rhs == Lhs; }
inline bool operator!=(const TCHAR* Lhs, const FName& Rhs) { return !(Rhs == Lhs); }

