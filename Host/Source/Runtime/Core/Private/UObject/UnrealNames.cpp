// Copyright Quarn. All Rights Reserved.

#include "UObject/NameTypes.h"
#include "Misc/StringBuilder.h"
#include "Misc/AssertionMacros.h"
#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace
{
	struct FNameEntry
	{
		int32 Len;
		TCHAR Text[1];
	};

	struct FNameKey
	{
		const TCHAR* Text;
		int32 Len;
		uint32 Hash;

		bool operator==(const FNameKey& Other) const
		{
			return Len == Other.Len && TCString<TCHAR>::Strnicmp(Text, Other.Text, Len) == 0;
		}
	};

	struct FNameKeyHash
	{
		size_t operator()(const FNameKey& Key) const { return Key.Hash; }
	};

	// Entries live in fixed chunks that never move, so readers can follow an id without a lock.
	class FNamePool
	{
		static constexpr uint32 ChunkBits = 14;
		static constexpr uint32 ChunkSize = 1u << ChunkBits;
		static constexpr uint32 MaxChunks = 4096;

	public:
		FNamePool()
		{
			for (uint32 Index = 0; Index < MaxChunks; ++Index)
			{
				Chunks[Index].store(nullptr, std::memory_order_relaxed);
			}
			Reserve((uint32)EName::MaxHardcodedNameIndex);
#define UE_REGISTER_ENAME(Name, Index) Register(TEXT(#Name), Index);
			UE_FOR_EACH_HARDCODED_NAME(UE_REGISTER_ENAME)
#undef UE_REGISTER_ENAME
		}

		FNameEntryId Find(const TCHAR* Text, int32 Len) const
		{
			const FNameKey Key{ Text, Len, FCrc::Strihash_DEPRECATED(Len, Text) };
			std::shared_lock<std::shared_mutex> Lock(Mutex);
			auto It = Map.find(Key);
			return It != Map.end() ? FNameEntryId::FromUnstableInt(It->second) : FNameEntryId();
		}

		FNameEntryId FindOrAdd(const TCHAR* Text, int32 Len)
		{
			const FNameKey Key{ Text, Len, FCrc::Strihash_DEPRECATED(Len, Text) };
			{
				std::shared_lock<std::shared_mutex> Lock(Mutex);
				auto It = Map.find(Key);
				if (It != Map.end())
				{
					return FNameEntryId::FromUnstableInt(It->second);
				}
			}
			std::unique_lock<std::shared_mutex> Lock(Mutex);
			auto It = Map.find(Key);
			if (It != Map.end())
			{
				return FNameEntryId::FromUnstableInt(It->second);
			}
			const uint32 Index = NumEntries;
			FNameEntry* Entry = MakeEntry(Text, Len);
			Store(Index, Entry);
			NumEntries = Index + 1;
			Map.emplace(FNameKey{ Entry->Text, Len, Key.Hash }, Index);
			return FNameEntryId::FromUnstableInt(Index);
		}

		const FNameEntry* Resolve(FNameEntryId Id) const
		{
			const uint32 Index = Id.ToUnstableInt();
			FNameEntry** Chunk = Chunks[Index >> ChunkBits].load(std::memory_order_acquire);
			return Chunk ? Chunk[Index & (ChunkSize - 1)] : nullptr;
		}

	private:
		void Reserve(uint32 Count)
		{
			NumEntries = Count;
			for (uint32 Index = 0; Index < Count; ++Index)
			{
				Store(Index, nullptr);
			}
		}

		void Register(const TCHAR* Text, uint32 Index)
		{
			const int32 Len = TCString<TCHAR>::Strlen(Text);
			FNameEntry* Entry = MakeEntry(Text, Len);
			Store(Index, Entry);
			Map.emplace(FNameKey{ Entry->Text, Len, FCrc::Strihash_DEPRECATED(Len, Text) }, Index);
		}

		static FNameEntry* MakeEntry(const TCHAR* Text, int32 Len)
		{
			FNameEntry* Entry = (FNameEntry*)FMemory::Malloc(sizeof(FNameEntry) + Len * sizeof(TCHAR));
			Entry->Len = Len;
			FMemory::Memcpy(Entry->Text, Text, Len * sizeof(TCHAR));
			Entry->Text[Len] = 0;
			return Entry;
		}

		void Store(uint32 Index, FNameEntry* Entry)
		{
			const uint32 ChunkIndex = Index >> ChunkBits;
			checkf(ChunkIndex < MaxChunks, TEXT("The name pool is full"));
			FNameEntry** Chunk = Chunks[ChunkIndex].load(std::memory_order_relaxed);
			if (!Chunk)
			{
				Chunk = new FNameEntry*[ChunkSize]();
				Chunk[Index & (ChunkSize - 1)] = Entry;
				Chunks[ChunkIndex].store(Chunk, std::memory_order_release);
				return;
			}
			Chunk[Index & (ChunkSize - 1)] = Entry;
		}

		mutable std::shared_mutex Mutex;
		std::unordered_map<FNameKey, uint32, FNameKeyHash> Map;
		std::atomic<FNameEntry**> Chunks[MaxChunks];
		uint32 NumEntries = 0;
	};

	// Built on first use: log categories construct names during static initialisation.
	FNamePool& GetNamePool()
	{
		static FNamePool* Pool = new FNamePool();
		return *Pool;
	}

	// Splits a trailing "_N" off, as the engine does; returns the internal number (0 for none).
	template <typename CharType>
	uint32 ParseNumber(const CharType* Name, int32& InOutLen)
	{
		const int32 Len = InOutLen;
		int32 Digits = 0;
		for (const CharType* C = Name + Len - 1; C >= Name && *C >= '0' && *C <= '9'; --C)
		{
			++Digits;
		}
		const CharType* FirstDigit = Name + Len - Digits;
		constexpr int32 MaxDigitsInt32 = 10;
		if (Digits && Digits < Len && *(FirstDigit - 1) == '_' && Digits <= MaxDigitsInt32)
		{
			// "Foo_012" keeps its zero-led digits: only "Foo_0" may start with 0.
			if (Digits == 1 || *FirstDigit != '0')
			{
				int64 Number = 0;
				for (int32 Index = 0; Index < Digits; ++Index)
				{
					Number = Number * 10 + (FirstDigit[Index] - '0');
				}
				if (Number < MAX_int32)
				{
					InOutLen -= 1 + Digits;
					return (uint32)NAME_EXTERNAL_TO_INTERNAL(Number);
				}
			}
		}
		return NAME_NO_NUMBER_INTERNAL;
	}

	bool IsTooLong(int32 Len)
	{
		if (Len >= NAME_SIZE)
		{
			ensureAlwaysMsgf(false, TEXT("FName is too long (%d characters; the limit is %d): the name is None instead"), Len, NAME_SIZE - 1);
			return true;
		}
		return false;
	}
} // namespace

void FName::Init(const TCHAR* Name, int32 Len, EFindName FindType, bool bSplitNumber, int32 InNumber)
{
	ComparisonIndex = FNameEntryId();
	Number = NAME_NO_NUMBER_INTERNAL;
	if (!Name || Len <= 0 || IsTooLong(Len))
	{
		return;
	}
	uint32 InternalNumber = (uint32)InNumber;
	if (bSplitNumber)
	{
		InternalNumber = ParseNumber(Name, Len);
	}
	// "_5" leaves no text before the number: that is None.
	if (Len == 0)
	{
		return;
	}
	const FNameEntryId Id = FindType == FNAME_Find ? GetNamePool().Find(Name, Len) : GetNamePool().FindOrAdd(Name, Len);
	if (Id.IsNone() && FindType == FNAME_Find && TCString<TCHAR>::Strnicmp(Name, TEXT("None"), Len) != 0)
	{
		return;
	}
	ComparisonIndex = Id;
	Number = InternalNumber;
}

FName::FName(const WIDECHAR* Name, EFindName FindType) { Init(Name, TCString<WIDECHAR>::Strlen(Name), FindType, true, 0); }
FName::FName(const ANSICHAR* Name, EFindName FindType)
{
	const FString Converted(Name);
	Init(*Converted, Converted.Len(), FindType, true, 0);
}
FName::FName(const UTF8CHAR* Name, EFindName FindType)
{
	const FString Converted(Name);
	Init(*Converted, Converted.Len(), FindType, true, 0);
}
FName::FName(int32 Len, const WIDECHAR* Name, EFindName FindType) { Init(Name, Len, FindType, true, 0); }
FName::FName(int32 Len, const ANSICHAR* Name, EFindName FindType)
{
	const FString Converted(Len, Name);
	Init(*Converted, Converted.Len(), FindType, true, 0);
}
FName::FName(int32 Len, const UTF8CHAR* Name, EFindName FindType)
{
	const FString Converted(Len, Name);
	Init(*Converted, Converted.Len(), FindType, true, 0);
}
FName::FName(TStringView<WIDECHAR> View, EFindName FindType) { Init(View.GetData(), View.Len(), FindType, true, 0); }
FName::FName(TStringView<ANSICHAR> View, EFindName FindType)
{
	const FString Converted(View);
	Init(*Converted, Converted.Len(), FindType, true, 0);
}
FName::FName(TStringView<UTF8CHAR> View, EFindName FindType)
{
	const FString Converted(View);
	Init(*Converted, Converted.Len(), FindType, true, 0);
}
FName::FName(const WIDECHAR* Name, int32 InNumber) { Init(Name, TCString<WIDECHAR>::Strlen(Name), FNAME_Add, false, InNumber); }
FName::FName(const ANSICHAR* Name, int32 InNumber)
{
	const FString Converted(Name);
	Init(*Converted, Converted.Len(), FNAME_Add, false, InNumber);
}
FName::FName(TStringView<WIDECHAR> View, int32 InNumber) { Init(View.GetData(), View.Len(), FNAME_Add, false, InNumber); }
FName::FName(const WIDECHAR* Name, int32 InNumber, EFindName FindType) { Init(Name, TCString<WIDECHAR>::Strlen(Name), FindType, false, InNumber); }

FString FName::GetPlainNameString() const
{
	const FNameEntry* Entry = GetNamePool().Resolve(ComparisonIndex);
	return Entry ? FString(Entry->Len, Entry->Text) : FString(TEXT("None"));
}

uint32 FName::GetPlainNameString(TCHAR (&OutName)[NAME_SIZE]) const
{
	const FString Plain = GetPlainNameString();
	TCString<TCHAR>::Strcpy(OutName, NAME_SIZE, *Plain);
	return (uint32)Plain.Len();
}

void FName::AppendString(FString& Out) const
{
	const FNameEntry* Entry = GetNamePool().Resolve(ComparisonIndex);
	if (Entry)
	{
		Out.AppendChars(Entry->Text, Entry->Len);
	}
	else
	{
		Out += TEXT("None");
	}
	if (Number != NAME_NO_NUMBER_INTERNAL)
	{
		Out.AppendChar(TEXT('_'));
		Out.AppendInt(NAME_INTERNAL_TO_EXTERNAL((int32)Number));
	}
}

void FName::AppendString(FStringBuilderBase& Out) const
{
	FString Text;
	AppendString(Text);
	Out << Text;
}

void FName::ToString(FString& Out) const
{
	Out.Reset();
	AppendString(Out);
}

FString FName::ToString() const
{
	FString Out;
	AppendString(Out);
	return Out;
}

uint32 FName::GetStringLength() const
{
	return (uint32)ToString().Len();
}

const EName* FName::ToEName() const
{
	static const EName Table[] = {
#define UE_ENAME_ENTRY(Name, Index) NAME_##Name,
		UE_FOR_EACH_HARDCODED_NAME(UE_ENAME_ENTRY)
#undef UE_ENAME_ENTRY
	};
	if (Number == NAME_NO_NUMBER_INTERNAL)
	{
		for (const EName& Value : Table)
		{
			if ((uint32)Value == ComparisonIndex.ToUnstableInt())
			{
				return &Value;
			}
		}
	}
	return nullptr;
}

int32 FName::Compare(const FName& Other) const
{
	if (ComparisonIndex != Other.ComparisonIndex)
	{
		return GetPlainNameString().Compare(Other.GetPlainNameString(), ESearchCase::IgnoreCase);
	}
	return (int32)Number - (int32)Other.Number;
}

bool FName::operator==(FStringView Other) const
{
	int32 Len = Other.Len();
	if (Len >= NAME_SIZE)
	{
		return false;
	}
	const uint32 OtherNumber = ParseNumber(Other.GetData(), Len);
	if (Len == 0)
	{
		// An empty string (or "_N") equals only None.
		return IsNone();
	}
	if (OtherNumber != Number)
	{
		return false;
	}
	const FNameEntry* Entry = GetNamePool().Resolve(ComparisonIndex);
	return Entry && Entry->Len == Len && TCString<TCHAR>::Strnicmp(Entry->Text, Other.GetData(), Len) == 0;
}

bool FName::operator==(const WIDECHAR* Other) const
{
	return *this == FStringView(Other ? Other : TEXT(""));
}

bool FName::operator==(const ANSICHAR* Other) const
{
	return *this == FStringView(FString(Other));
}

FString FName::SafeString(FNameEntryId InDisplayIndex, int32 InstanceNumber)
{
	return FName(InDisplayIndex, InDisplayIndex, InstanceNumber).ToString();
}

FString FName::NameToDisplayString(const FString& InDisplayName, const bool bIsBool)
{
	// "bMyFlag_Name" -> "My Flag Name": drop a bool's b prefix, split words at case changes.
	FString Source = InDisplayName;
	if (bIsBool && Source.Len() > 1 && Source[0] == TEXT('b') && TChar<TCHAR>::IsUpper(Source[1]))
	{
		Source.RightChopInline(1);
	}
	FString Result;
	for (int32 Index = 0; Index < Source.Len(); ++Index)
	{
		const TCHAR Char = Source[Index];
		if (Char == TEXT('_'))
		{
			Result += TEXT(' ');
			continue;
		}
		if (Index > 0 && TChar<TCHAR>::IsUpper(Char) && !TChar<TCHAR>::IsUpper(Source[Index - 1]) && Source[Index - 1] != TEXT('_'))
		{
			Result += TEXT(' ');
		}
		Result += Char;
	}
	return Result;
}
