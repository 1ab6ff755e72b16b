// Copyright Quarn. All Rights Reserved.

#include "Containers/UnrealString.h"
#include "Containers/StringConv.h"
#include "Misc/StringFormatArg.h"
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <string>

// TCString members that go through the C library.
template <typename T>
int32 TCString<T>::Atoi(const CharType* String)
{
	return (int32)Atoi64(String);
}

template <typename T>
int64 TCString<T>::Atoi64(const CharType* String)
{
	if (!String)
	{
		return 0;
	}
	return Strtoi64(String, nullptr, 10);
}

namespace
{
	template <typename CharType>
	std::string ToNarrow(const CharType* String)
	{
		std::string Result;
		if constexpr (sizeof(CharType) == 1)
		{
			Result = (const char*)String;
		}
		else
		{
			const int32 Len = TCString<CharType>::Strlen(String);
			const FTCHARToUTF8 Converted((const TCHAR*)String, Len);
			Result.assign(Converted.Get(), Converted.Length());
		}
		return Result;
	}
} // namespace

template <typename T>
float TCString<T>::Atof(const CharType* String)
{
	return String ? (float)std::atof(ToNarrow(String).c_str()) : 0.0f;
}

template <typename T>
double TCString<T>::Atod(const CharType* String)
{
	return String ? std::strtod(ToNarrow(String).c_str(), nullptr) : 0.0;
}

template <typename T>
bool TCString<T>::ToBool(const CharType* String)
{
	if (!String)
	{
		return false;
	}
	static const CharType True[] = { 'T', 'r', 'u', 'e', 0 };
	static const CharType Yes[] = { 'Y', 'e', 's', 0 };
	static const CharType On[] = { 'O', 'n', 0 };
	static const CharType False[] = { 'F', 'a', 'l', 's', 'e', 0 };
	static const CharType No[] = { 'N', 'o', 0 };
	static const CharType Off[] = { 'O', 'f', 'f', 0 };
	if (Stricmp(String, True) == 0 || Stricmp(String, Yes) == 0 || Stricmp(String, On) == 0)
	{
		return true;
	}
	if (Stricmp(String, False) == 0 || Stricmp(String, No) == 0 || Stricmp(String, Off) == 0)
	{
		return false;
	}
	return Atoi(String) != 0;
}

template struct TCString<TCHAR>;
template struct TCString<ANSICHAR>;

namespace
{
	class FStringSink final : public UE::Core::Private::FFormatSink
	{
	public:
		explicit FStringSink(FString& InTarget) : Target(InTarget) {}
		virtual void Write(const TCHAR* Chars, int32 Num) override { Target.AppendChars(Chars, Num); }

	private:
		FString& Target;
	};

	template <typename CharType>
	int32 LengthOf(const CharType* Str, int32 Count)
	{
		return Count >= 0 ? Count : TCString<CharType>::Strlen(Str);
	}
} // namespace

void FString::AssignConverted(const ANSICHAR* Str, int32 Count)
{
	Data.Empty();
	if (!Str)
	{
		return;
	}
	const int32 Len = LengthOf(Str, Count);
	if (Len > 0)
	{
		const int32 Needed = UE::Core::Private::ConvertAnsiToUtf16(Str, Len, nullptr);
		Data.AddUninitialized(Needed + 1);
		UE::Core::Private::ConvertAnsiToUtf16(Str, Len, Data.GetData());
		Data[Needed] = 0;
		TrimToNullTerminator();
	}
}

void FString::AssignConverted(const UTF8CHAR* Str, int32 Count)
{
	Data.Empty();
	if (!Str)
	{
		return;
	}
	const int32 Len = LengthOf(Str, Count);
	if (Len > 0)
	{
		const int32 Needed = UE::Core::Private::ConvertUtf8ToUtf16(Str, Len, nullptr);
		Data.AddUninitialized(Needed + 1);
		UE::Core::Private::ConvertUtf8ToUtf16(Str, Len, Data.GetData());
		Data[Needed] = 0;
		TrimToNullTerminator();
	}
}

void FString::AssignConverted(const UTF32CHAR* Str, int32 Count)
{
	Data.Empty();
	if (!Str)
	{
		return;
	}
	const int32 Len = LengthOf(Str, Count);
	if (Len > 0)
	{
		const int32 Needed = UE::Core::Private::ConvertUtf32ToUtf16(Str, Len, nullptr);
		Data.AddUninitialized(Needed + 1);
		UE::Core::Private::ConvertUtf32ToUtf16(Str, Len, Data.GetData());
		Data[Needed] = 0;
		TrimToNullTerminator();
	}
}

void FString::AssignConverted(const wchar_t* Str, int32 Count)
{
	AssignConverted((const UTF32CHAR*)Str, Count);
}

void FString::TrimToNullTerminator()
{
	if (Data.Num())
	{
		const int32 DataLen = TCString<TCHAR>::Strlen(Data.GetData());
		check(DataLen == 0 || DataLen < Data.Num());
		const int32 NewLen = DataLen > 0 ? DataLen + 1 : 0;
		Data.RemoveAt(NewLen, Data.Num() - NewLen, EAllowShrinking::No);
	}
}

void FString::InsertAt(int32 Index, TCHAR Character)
{
	if (Character != 0)
	{
		if (Data.Num() == 0)
		{
			*this += Character;
		}
		else
		{
			checkf(Index >= 0 && Index <= Len(), TEXT("InsertAt out of bounds"));
			Data.Insert(Character, Index);
		}
	}
}

void FString::InsertAt(int32 Index, const FString& Characters)
{
	if (Characters.Len())
	{
		if (Data.Num() == 0)
		{
			*this += Characters;
		}
		else
		{
			checkf(Index >= 0 && Index <= Len(), TEXT("InsertAt out of bounds"));
			Data.Insert(Characters.Data.GetData(), Characters.Len(), Index);
		}
	}
}

void FString::RemoveAt(int32 Index, int32 Count, EAllowShrinking AllowShrinking)
{
	const int32 Length = Len();
	const int32 ClampedIndex = Index < 0 ? 0 : (Index > Length ? Length : Index);
	const int32 ClampedCount = Count < 0 ? 0 : (Count > Length - ClampedIndex ? Length - ClampedIndex : Count);
	if (ClampedCount > 0)
	{
		if (ClampedCount == Length)
		{
			Data.Reset();
			if (AllowShrinking == EAllowShrinking::Yes)
			{
				Data.Empty();
			}
		}
		else
		{
			Data.RemoveAt(ClampedIndex, ClampedCount, AllowShrinking);
		}
	}
}

bool FString::RemoveFromStart(TStringView<TCHAR> InPrefix, ESearchCase::Type SearchCase)
{
	if (InPrefix.IsEmpty())
	{
		return false;
	}
	if (StartsWith(InPrefix, SearchCase))
	{
		RemoveAt(0, InPrefix.Len());
		return true;
	}
	return false;
}

bool FString::RemoveFromEnd(TStringView<TCHAR> InSuffix, ESearchCase::Type SearchCase)
{
	if (InSuffix.IsEmpty())
	{
		return false;
	}
	if (EndsWith(InSuffix, SearchCase))
	{
		RemoveAt(Len() - InSuffix.Len(), InSuffix.Len());
		return true;
	}
	return false;
}

void FString::PathAppend(const TCHAR* Str, int32 StrLength)
{
	const int32 DataNum = Data.Num();
	if (StrLength == 0)
	{
		if (DataNum > 1 && Data[DataNum - 2] != TEXT('/') && Data[DataNum - 2] != TEXT('\\'))
		{
			Data[DataNum - 1] = TEXT('/');
			Data.Add(TEXT('\0'));
		}
	}
	else
	{
		if (DataNum > 0)
		{
			if (DataNum > 1 && Data[DataNum - 2] != TEXT('/') && Data[DataNum - 2] != TEXT('\\') && *Str != TEXT('/'))
			{
				Data[DataNum - 1] = TEXT('/');
			}
			else
			{
				Data.Pop(EAllowShrinking::No);
			}
		}
		Data.Reserve(Data.Num() + StrLength + 1);
		Data.Append(Str, StrLength);
		Data.Add(TEXT('\0'));
	}
}

int32 FString::Find(TStringView<TCHAR> SubStr, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir, int32 StartPosition) const
{
	const int32 Length = Len();
	const int32 SubLen = SubStr.Len();
	if (SubStr.GetData() == nullptr && SubLen == 0)
	{
		return SearchDir == ESearchDir::FromStart ? (StartPosition < 0 ? 0 : StartPosition) : INDEX_NONE;
	}
	const TCHAR* Chars = **this;
	auto MatchesAt = [&](int32 Position)
	{
		return TStringView<TCHAR>(Chars + Position, SubLen).Equals(SubStr, SearchCase);
	};
	if (SearchDir == ESearchDir::FromStart)
	{
		const int32 Start = StartPosition < 0 ? 0 : StartPosition;
		if (SubLen == 0)
		{
			return Start <= Length ? Start : INDEX_NONE;
		}
		for (int32 Position = Start; Position + SubLen <= Length; ++Position)
		{
			if (MatchesAt(Position))
			{
				return Position;
			}
		}
		return INDEX_NONE;
	}
	// From the end: the last match that starts before StartPosition.
	int32 Position = Length - SubLen;
	if (StartPosition != INDEX_NONE && StartPosition - SubLen < Position)
	{
		Position = StartPosition - SubLen;
	}
	if (SubLen == 0)
	{
		return Position >= 0 ? Position : INDEX_NONE;
	}
	for (; Position >= 0; --Position)
	{
		if (MatchesAt(Position))
		{
			return Position;
		}
	}
	return INDEX_NONE;
}

bool FString::MatchesWildcard(TStringView<TCHAR> Wildcard, ESearchCase::Type SearchCase) const
{
	// '*' matches any run, '?' any one character.
	const TStringView<TCHAR> Target(*this);
	int32 T = 0;
	int32 W = 0;
	int32 StarW = INDEX_NONE;
	int32 StarT = 0;
	auto Same = [SearchCase](TCHAR A, TCHAR B)
	{
		return SearchCase == ESearchCase::IgnoreCase ? TChar<TCHAR>::ToLower(A) == TChar<TCHAR>::ToLower(B) : A == B;
	};
	while (T < Target.Len())
	{
		if (W < Wildcard.Len() && (Wildcard[W] == TEXT('?') || Same(Wildcard[W], Target[T])))
		{
			++W;
			++T;
		}
		else if (W < Wildcard.Len() && Wildcard[W] == TEXT('*'))
		{
			StarW = W++;
			StarT = T;
		}
		else if (StarW != INDEX_NONE)
		{
			W = StarW + 1;
			T = ++StarT;
		}
		else
		{
			return false;
		}
	}
	while (W < Wildcard.Len() && Wildcard[W] == TEXT('*'))
	{
		++W;
	}
	return W == Wildcard.Len();
}

bool FString::Split(TStringView<TCHAR> InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir) const
{
	const int32 InPos = Find(InS, SearchCase, SearchDir);
	if (InPos < 0)
	{
		return false;
	}
	// Copy first: an output may alias this string.
	const FString Source = *this;
	if (LeftS)
	{
		*LeftS = Source.Left(InPos);
	}
	if (RightS)
	{
		*RightS = Source.Mid(InPos + InS.Len());
	}
	return true;
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* pchDelim, bool InCullEmpty) const
{
	check(pchDelim);
	OutArray.Reset();
	const int32 DelimLength = TCString<TCHAR>::Strlen(pchDelim);
	if (DelimLength == 0 || IsEmpty())
	{
		return OutArray.Num();
	}
	const TStringView<TCHAR> Delim(pchDelim, DelimLength);
	const TCHAR* Chars = **this;
	const int32 Length = Len();
	int32 TokenStart = 0;
	for (int32 Position = 0; Position + DelimLength <= Length;)
	{
		if (TStringView<TCHAR>(Chars + Position, DelimLength).Equals(Delim, ESearchCase::IgnoreCase))
		{
			if (!InCullEmpty || Position > TokenStart)
			{
				OutArray.Emplace(Position - TokenStart, Chars + TokenStart);
			}
			Position += DelimLength;
			TokenStart = Position;
		}
		else
		{
			++Position;
		}
	}
	if (!InCullEmpty || Length > TokenStart)
	{
		OutArray.Emplace(Length - TokenStart, Chars + TokenStart);
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* const* DelimArray, int32 NumDelims, bool InCullEmpty) const
{
	OutArray.Reset();
	const TCHAR* Chars = **this;
	const int32 Length = Len();
	int32 TokenStart = 0;
	int32 Position = 0;
	while (Position < Length)
	{
		int32 MatchedLen = 0;
		for (int32 DelimIndex = 0; DelimIndex < NumDelims; ++DelimIndex)
		{
			const int32 DelimLen = TCString<TCHAR>::Strlen(DelimArray[DelimIndex]);
			if (DelimLen > 0 && Position + DelimLen <= Length && TCString<TCHAR>::Strncmp(Chars + Position, DelimArray[DelimIndex], DelimLen) == 0)
			{
				MatchedLen = DelimLen;
				break;
			}
		}
		if (MatchedLen > 0)
		{
			if (!InCullEmpty || Position > TokenStart)
			{
				OutArray.Emplace(Position - TokenStart, Chars + TokenStart);
			}
			Position += MatchedLen;
			TokenStart = Position;
		}
		else
		{
			++Position;
		}
	}
	if (!InCullEmpty || Length > TokenStart)
	{
		OutArray.Emplace(Length - TokenStart, Chars + TokenStart);
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* pchExtraDelim, bool InCullEmpty) const
{
	const TCHAR* WhiteSpace[] = { TEXT(" "), TEXT("\t"), TEXT("\r"), TEXT("\n"), TEXT("") };
	const int32 NumWhiteSpaces = UE_ARRAY_COUNT(WhiteSpace) - 1;
	if (pchExtraDelim && *pchExtraDelim)
	{
		WhiteSpace[NumWhiteSpaces] = pchExtraDelim;
		return ParseIntoArray(OutArray, WhiteSpace, NumWhiteSpaces + 1, InCullEmpty);
	}
	return ParseIntoArray(OutArray, WhiteSpace, NumWhiteSpaces, InCullEmpty);
}

int32 FString::ParseIntoArrayLines(TArray<FString>& OutArray, bool InCullEmpty) const
{
	static const TCHAR* const LineEndings[] = { TEXT("\r\n"), TEXT("\r"), TEXT("\n") };
	return ParseIntoArray(OutArray, LineEndings, UE_ARRAY_COUNT(LineEndings), InCullEmpty);
}

FString FString::ToUpper() const&
{
	FString New(*this);
	New.ToUpperInline();
	return New;
}

FString FString::ToUpper() &&
{
	ToUpperInline();
	return MoveTemp(*this);
}

void FString::ToUpperInline()
{
	for (TCHAR& Char : *this)
	{
		Char = TChar<TCHAR>::ToUpper(Char);
	}
}

FString FString::ToLower() const&
{
	FString New(*this);
	New.ToLowerInline();
	return New;
}

FString FString::ToLower() &&
{
	ToLowerInline();
	return MoveTemp(*this);
}

void FString::ToLowerInline()
{
	for (TCHAR& Char : *this)
	{
		Char = TChar<TCHAR>::ToLower(Char);
	}
}

FString FString::LeftPad(int32 ChCount) const
{
	const int32 Pad = ChCount - Len();
	return Pad > 0 ? ChrN(Pad, TEXT(' ')) + *this : *this;
}

FString FString::RightPad(int32 ChCount) const
{
	const int32 Pad = ChCount - Len();
	return Pad > 0 ? *this + ChrN(Pad, TEXT(' ')) : *this;
}

bool FString::IsNumeric() const
{
	if (IsEmpty())
	{
		return false;
	}
	return TCString<TCHAR>::IsNumeric(Data.GetData());
}

void FString::TrimStartAndEndInline()
{
	TrimEndInline();
	TrimStartInline();
}

FString FString::TrimStartAndEnd() const&
{
	FString Result(*this);
	Result.TrimStartAndEndInline();
	return Result;
}

FString FString::TrimStartAndEnd() &&
{
	TrimStartAndEndInline();
	return MoveTemp(*this);
}

void FString::TrimStartInline()
{
	int32 Pos = 0;
	const int32 Length = Len();
	while (Pos < Length && TChar<TCHAR>::IsWhitespace((*this)[Pos]))
	{
		++Pos;
	}
	RemoveAt(0, Pos);
}

FString FString::TrimStart() const&
{
	FString Result(*this);
	Result.TrimStartInline();
	return Result;
}

FString FString::TrimStart() &&
{
	TrimStartInline();
	return MoveTemp(*this);
}

void FString::TrimEndInline()
{
	int32 End = Len();
	while (End > 0 && TChar<TCHAR>::IsWhitespace((*this)[End - 1]))
	{
		--End;
	}
	RemoveAt(End, Len() - End);
}

FString FString::TrimEnd() const&
{
	FString Result(*this);
	Result.TrimEndInline();
	return Result;
}

FString FString::TrimEnd() &&
{
	TrimEndInline();
	return MoveTemp(*this);
}

void FString::TrimCharInline(TCHAR CharacterToTrim, bool* bCharRemoved)
{
	bool bQuotesWereRemoved = false;
	int32 Start = 0;
	int32 Count = Len();
	if (Count > 0)
	{
		if ((*this)[0] == CharacterToTrim)
		{
			Start++;
			Count--;
			bQuotesWereRemoved = true;
		}
		if (Len() > 1 && (*this)[Len() - 1] == CharacterToTrim)
		{
			Count--;
			bQuotesWereRemoved = true;
		}
	}
	if (bCharRemoved)
	{
		*bCharRemoved = bQuotesWereRemoved;
	}
	MidInline(Start, Count, EAllowShrinking::No);
}

FString FString::TrimChar(TCHAR CharacterToTrim, bool* bCharRemoved) const&
{
	FString Result(*this);
	Result.TrimCharInline(CharacterToTrim, bCharRemoved);
	return Result;
}

void FString::TrimQuotesInline(bool* bQuotesRemoved)
{
	TrimCharInline(TEXT('"'), bQuotesRemoved);
}

FString FString::TrimQuotes(bool* bQuotesRemoved) const&
{
	FString Result(*this);
	Result.TrimQuotesInline(bQuotesRemoved);
	return Result;
}

FString FString::TrimQuotes(bool* bQuotesRemoved) &&
{
	TrimQuotesInline(bQuotesRemoved);
	return MoveTemp(*this);
}

void FString::ReverseString()
{
	if (Len() > 0)
	{
		TCHAR* StartChar = &(*this)[0];
		TCHAR* EndChar = &(*this)[Len() - 1];
		while (StartChar < EndChar)
		{
			const TCHAR Temp = *StartChar;
			*StartChar++ = *EndChar;
			*EndChar-- = Temp;
		}
	}
}

FString FString::Reverse() const&
{
	FString New(*this);
	New.ReverseString();
	return New;
}

FString FString::Reverse() &&
{
	ReverseString();
	return MoveTemp(*this);
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) const&
{
	FString Copy(*this);
	Copy.ReplaceInline(From, To, SearchCase);
	return Copy;
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) &&
{
	ReplaceInline(From, To, SearchCase);
	return MoveTemp(*this);
}

int32 FString::ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText, ESearchCase::Type SearchCase)
{
	checkf(ReplacementText != nullptr, TEXT("FString::Replace needs a replacement text"));
	if (!SearchText || !*SearchText || IsEmpty())
	{
		return 0;
	}
	const TStringView<TCHAR> Search(SearchText);
	const int32 ReplaceLen = TCString<TCHAR>::Strlen(ReplacementText);
	FString Result;
	int32 Count = 0;
	int32 Position = 0;
	const int32 Length = Len();
	const TCHAR* Chars = **this;
	int32 Copied = 0;
	while (Position + Search.Len() <= Length)
	{
		if (TStringView<TCHAR>(Chars + Position, Search.Len()).Equals(Search, SearchCase))
		{
			if (Count == 0)
			{
				Result.Reserve(Length);
			}
			Result.AppendChars(Chars + Copied, Position - Copied);
			Result.AppendChars(ReplacementText, ReplaceLen);
			Position += Search.Len();
			Copied = Position;
			++Count;
		}
		else
		{
			++Position;
		}
	}
	if (Count > 0)
	{
		Result.AppendChars(Chars + Copied, Length - Copied);
		*this = MoveTemp(Result);
	}
	return Count;
}

void FString::ReplaceCharInline(TCHAR SearchChar, TCHAR ReplacementChar, ESearchCase::Type SearchCase)
{
	if (SearchCase == ESearchCase::IgnoreCase && TChar<TCHAR>::IsAlpha(SearchChar))
	{
		const TCHAR Lower = TChar<TCHAR>::ToLower(SearchChar);
		for (TCHAR& Char : *this)
		{
			if (TChar<TCHAR>::ToLower(Char) == Lower)
			{
				Char = ReplacementChar;
			}
		}
	}
	else
	{
		for (TCHAR& Char : *this)
		{
			if (Char == SearchChar)
			{
				Char = ReplacementChar;
			}
		}
	}
}

FString FString::ReplaceQuotesWithEscapedQuotes() const&
{
	if (!Contains(TEXT("\""), ESearchCase::CaseSensitive))
	{
		return *this;
	}
	FString Result;
	bool bEscaped = false;
	for (TCHAR Char : *this)
	{
		if (bEscaped)
		{
			bEscaped = false;
		}
		else if (Char == TEXT('\\'))
		{
			bEscaped = true;
		}
		else if (Char == TEXT('"'))
		{
			Result += TEXT('\\');
		}
		Result += Char;
	}
	return Result;
}

namespace
{
	const TCHAR* const CharToEscapeSeqMap[][2] = {
		{ TEXT("\\"), TEXT("\\\\") },
		{ TEXT("\n"), TEXT("\\n") },
		{ TEXT("\r"), TEXT("\\r") },
		{ TEXT("\t"), TEXT("\\t") },
		{ TEXT("\'"), TEXT("\\'") },
		{ TEXT("\""), TEXT("\\\"") },
	};
}

FString FString::ReplaceCharWithEscapedChar(const TArray<TCHAR>* Chars) const&
{
	FString Result(*this);
	for (const auto& Entry : CharToEscapeSeqMap)
	{
		if (!Chars || Chars->Contains(*Entry[0]))
		{
			Result.ReplaceInline(Entry[0], Entry[1], ESearchCase::CaseSensitive);
		}
	}
	return Result;
}

FString FString::ReplaceEscapedCharWithChar(const TArray<TCHAR>* Chars) const&
{
	FString Result(*this);
	for (int32 Index = UE_ARRAY_COUNT(CharToEscapeSeqMap) - 1; Index >= 0; --Index)
	{
		if (!Chars || Chars->Contains(*CharToEscapeSeqMap[Index][0]))
		{
			Result.ReplaceInline(CharToEscapeSeqMap[Index][1], CharToEscapeSeqMap[Index][0], ESearchCase::CaseSensitive);
		}
	}
	return Result;
}

FString FString::ConvertTabsToSpaces(int32 InSpacesPerTab) const
{
	FString Result;
	int32 Column = 0;
	for (TCHAR Char : *this)
	{
		if (Char == TEXT('\t'))
		{
			const int32 Spaces = InSpacesPerTab - (Column % InSpacesPerTab);
			Result += ChrN(Spaces, TEXT(' '));
			Column += Spaces;
		}
		else
		{
			Result += Char;
			Column = (Char == TEXT('\n')) ? 0 : Column + 1;
		}
	}
	return Result;
}

bool FString::ToBool() const
{
	return TCString<TCHAR>::ToBool(**this);
}

FString FString::PrintfImpl(const TCHAR* Fmt, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs)
{
	FString Result;
	Result.AppendfImpl(Fmt, Args, NumArgs);
	return Result;
}

void FString::AppendfImpl(const TCHAR* Fmt, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs)
{
	FStringSink Sink(*this);
	UE::Core::Private::FormatToSink(Sink, Fmt, Args, NumArgs);
}

namespace
{
	void AppendFormatArg(FString& Result, const FStringFormatArg& Arg)
	{
		switch (Arg.Type)
		{
			case FStringFormatArg::Int: Result += LexToString(Arg.IntValue); break;
			case FStringFormatArg::UInt: Result += LexToString(Arg.UIntValue); break;
			case FStringFormatArg::Double: Result += FString::Printf(TEXT("%f"), Arg.DoubleValue); break;
			default: Result += Arg.StringValue; break;
		}
	}

	// "{Key}" tokens; a backtick escapes the next character; unknown keys stay as written.
	template <typename LookupType>
	FString FormatImpl(const TCHAR* Format, LookupType Lookup)
	{
		FString Result;
		if (!Format)
		{
			return Result;
		}
		const TCHAR* P = Format;
		while (*P)
		{
			if (*P == TEXT('`') && P[1])
			{
				Result += P[1];
				P += 2;
				continue;
			}
			if (*P == TEXT('{'))
			{
				const TCHAR* Close = P + 1;
				while (*Close && *Close != TEXT('}') && *Close != TEXT('{'))
				{
					++Close;
				}
				if (*Close == TEXT('}'))
				{
					const FString Key(int32(Close - P - 1), P + 1);
					if (const FStringFormatArg* Arg = Lookup(Key))
					{
						AppendFormatArg(Result, *Arg);
						P = Close + 1;
						continue;
					}
				}
			}
			Result += *P++;
		}
		return Result;
	}
} // namespace

FString FString::Format(const TCHAR* InFormatString, const FStringFormatOrderedArguments& InOrderedArguments)
{
	return FormatImpl(InFormatString, [&InOrderedArguments](const FString& Key) -> const FStringFormatArg*
	{
		if (Key.IsEmpty() || !TCString<TCHAR>::IsNumeric(*Key) || Key.Contains(TEXT(".")) || Key[0] == TEXT('-') || Key[0] == TEXT('+'))
		{
			return nullptr;
		}
		const int32 Index = TCString<TCHAR>::Atoi(*Key);
		return InOrderedArguments.IsValidIndex(Index) ? &InOrderedArguments[Index] : nullptr;
	});
}

FString FString::Format(const TCHAR* InFormatString, const FStringFormatNamedArguments& InNamedArguments)
{
	return FormatImpl(InFormatString, [&InNamedArguments](const FString& Key) -> const FStringFormatArg*
	{
		return InNamedArguments.Find(Key);
	});
}

FString FString::Chr(TCHAR Ch)
{
	FString Result;
	Result.AppendChar(Ch);
	return Result;
}

FString FString::ChrN(int32 NumCharacters, TCHAR Char)
{
	FString Result;
	if (NumCharacters > 0 && Char)
	{
		Result.Data.AddUninitialized(NumCharacters + 1);
		for (int32 Index = 0; Index < NumCharacters; ++Index)
		{
			Result.Data[Index] = Char;
		}
		Result.Data[NumCharacters] = 0;
	}
	return Result;
}

FString FString::FromInt(int32 Num)
{
	FString Result;
	Result.AppendInt(Num);
	return Result;
}

void FString::AppendInt(int32 InNum)
{
	TCHAR Buffer[16];
	int32 Pos = 16;
	int64 Num = InNum;
	const bool bNegative = Num < 0;
	if (bNegative)
	{
		Num = -Num;
	}
	do
	{
		Buffer[--Pos] = (TCHAR)(TEXT('0') + (Num % 10));
		Num /= 10;
	} while (Num);
	if (bNegative)
	{
		Buffer[--Pos] = TEXT('-');
	}
	AppendChars(Buffer + Pos, 16 - Pos);
}

FString FString::SanitizeFloat(double InFloat, const int32 InMinFractionalDigits)
{
	// Negative zero prints as zero.
	if (InFloat == 0.0)
	{
		InFloat = 0.0;
	}
	FString TempString = FString::Printf(TEXT("%f"), InFloat);
	if (!TempString.IsNumeric())
	{
		// Not a plain decimal number (nan, inf): leave it as printed.
		return TempString;
	}
	// Trim trailing zeros of the fraction, and the separator when nothing is left after it.
	int32 TrimIndex = INDEX_NONE;
	int32 DecimalSeparatorIndex = INDEX_NONE;
	for (int32 CharIndex = TempString.Len() - 1; CharIndex >= 0; --CharIndex)
	{
		const TCHAR Char = TempString[CharIndex];
		if (Char == TEXT('.'))
		{
			DecimalSeparatorIndex = CharIndex;
			TrimIndex = TrimIndex > DecimalSeparatorIndex ? TrimIndex : DecimalSeparatorIndex;
			break;
		}
		if (TrimIndex == INDEX_NONE && Char != TEXT('0'))
		{
			TrimIndex = CharIndex + 1;
		}
	}
	check(TrimIndex != INDEX_NONE && DecimalSeparatorIndex != INDEX_NONE);
	TempString.RemoveAt(TrimIndex, TempString.Len() - TrimIndex, EAllowShrinking::No);
	if (InMinFractionalDigits > 0)
	{
		if (TrimIndex == DecimalSeparatorIndex)
		{
			TempString.AppendChar(TEXT('.'));
		}
		const int32 NumFractionalDigits = (TempString.Len() - DecimalSeparatorIndex) - 1;
		const int32 FractionalDigitsToPad = InMinFractionalDigits - NumFractionalDigits;
		for (int32 Index = 0; Index < FractionalDigitsToPad; ++Index)
		{
			TempString.AppendChar(TEXT('0'));
		}
	}
	return TempString;
}

FString FString::FormatAsNumber(int32 InNumber)
{
	// Groups of three from the right, counting every character (the engine's behaviour, so a
	// negative number gets a separator after its sign: -123 gives "-,123").
	const FString Number = FString::FromInt(InNumber);
	FString Result;
	int32 Dec = 0;
	for (int32 X = Number.Len() - 1; X > -1; --X)
	{
		Result += Number.Mid(X, 1);
		Dec++;
		if (Dec == 3 && X > 0)
		{
			Result += TEXT(",");
			Dec = 0;
		}
	}
	return Result.Reverse();
}

FString FString::FromHexBlob(const uint8* SrcBuffer, const uint32 SrcSize)
{
	FString Result;
	Result.Reserve(SrcSize * 3);
	for (uint32 Count = 0; Count < SrcSize; ++Count)
	{
		Result += FString::Printf(TEXT("%03d"), (int32)SrcBuffer[Count]);
	}
	return Result;
}
