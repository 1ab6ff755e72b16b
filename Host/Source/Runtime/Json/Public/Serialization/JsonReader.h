// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Misc/StringBuilder.h"
#include "Serialization/BufferReader.h"
#include "Serialization/JsonTypes.h"

#include <limits>

namespace UE::Json::Private
{
	// Arrays and objects nested deeper than this are refused: the values built from them are
	// destroyed and compared recursively, so absurd nesting would exhaust the stack.
	inline constexpr int32 MaxReaderNestingDepth = 512;

	// FParse::HexDigit: the digit's value, 0 for anything that is not a hex digit.
	template <typename CharType>
	inline int32 HexDigit(CharType Char)
	{
		if (Char >= CharType('0') && Char <= CharType('9'))
		{
			return Char - CharType('0');
		}
		if (Char >= CharType('a') && Char <= CharType('f'))
		{
			return Char - CharType('a') + 10;
		}
		if (Char >= CharType('A') && Char <= CharType('F'))
		{
			return Char - CharType('A') + 10;
		}
		return 0;
	}
} // namespace UE::Json::Private

// Reads JSON text token by token. The root must be an object or an array; literals (true,
// false, null, NaN, Inf) are matched ignoring case; a trailing comma is accepted inside arrays
// but not inside objects. Errors end with " Line: <line> Ch: <character>".
template <class CharType = TCHAR>
class TJsonReader
{
	static_assert(std::is_same_v<CharType, TCHAR>, "This host reads JSON as TCHAR text.");

public:
	using StoredStringType = FString;
	using StoredCharType = TCHAR;
	using ValueAsStringReturnType = const FString&;

	static TSharedRef<TJsonReader<CharType>> Create(FArchive* const Stream)
	{
		return MakeShareable(new TJsonReader<CharType>(Stream));
	}

	virtual ~TJsonReader() = default;

	// Reads the next token. Returns false at the end of a well-formed document; on an error,
	// Notation is Error, GetErrorMessage() says why, and the call returns true (once).
	bool ReadNext(EJsonNotation& Notation)
	{
		if (!ErrorMessage.IsEmpty())
		{
			Notation = EJsonNotation::Error;
			return false;
		}

		if (Stream == nullptr)
		{
			Notation = EJsonNotation::Error;
			SetErrorMessage(TEXT("Null Stream"));
			return true;
		}

		const bool bAtEndOfStream = Stream->AtEnd();

		if (bAtEndOfStream && !FinishedReadingRootObject)
		{
			Notation = EJsonNotation::Error;
			SetErrorMessage(TEXT("Improperly formatted."));
			return true;
		}

		if (FinishedReadingRootObject && !bAtEndOfStream)
		{
			Notation = EJsonNotation::Error;
			SetErrorMessage(TEXT("Unexpected additional input found."));
			return true;
		}

		if (bAtEndOfStream)
		{
			return false;
		}

		bool bReadWasSuccess = false;
		Identifier.Empty();

		do
		{
			const EJson CurrentState = ParseState.Num() > 0 ? ParseState.Top() : EJson::None;
			switch (CurrentState)
			{
			case EJson::Array:
				bReadWasSuccess = ReadNextArrayValue(CurrentToken);
				break;

			case EJson::Object:
				bReadWasSuccess = ReadNextObjectValue(CurrentToken);
				break;

			default:
				bReadWasSuccess = ReadStart(CurrentToken);
				break;
			}
		}
		while (bReadWasSuccess && CurrentToken == EJsonToken::None);

		Notation = TokenToNotation(CurrentToken);
		FinishedReadingRootObject = ParseState.Num() == 0;

		if (!bReadWasSuccess || Notation == EJsonNotation::Error)
		{
			Notation = EJsonNotation::Error;
			if (ErrorMessage.IsEmpty())
			{
				SetErrorMessage(TEXT("Unknown Error Occurred"));
			}
			return true;
		}

		if (FinishedReadingRootObject && !Stream->AtEnd())
		{
			bReadWasSuccess = ParseWhiteSpace();
		}

		return bReadWasSuccess;
	}

	bool SkipObject()
	{
		return ReadUntilMatching(EJsonNotation::ObjectEnd);
	}

	bool SkipArray()
	{
		return ReadUntilMatching(EJsonNotation::ArrayEnd);
	}

	// The key of the value just read, when inside an object.
	inline virtual const FString& GetIdentifier() const { return Identifier; }

	inline virtual ValueAsStringReturnType GetValueAsString() const
	{
		check(CurrentToken == EJsonToken::String);
		return StringValue;
	}

	inline virtual const StoredStringType& GetInternalValueAsString() const
	{
		check(CurrentToken == EJsonToken::String);
		return StringValue;
	}

	inline virtual StoredStringType StealInternalValueAsString()
	{
		check(CurrentToken == EJsonToken::String);
		return MoveTemp(StringValue);
	}

	inline double GetValueAsNumber() const
	{
		check(CurrentToken == EJsonToken::Number);
		return NumberValue;
	}

	// The number's text as it appeared in the input.
	inline const StoredStringType& GetValueAsNumberString() const
	{
		check(CurrentToken == EJsonToken::Number);
		return StringValue;
	}

	inline bool GetValueAsBoolean() const
	{
		check(CurrentToken == EJsonToken::True || CurrentToken == EJsonToken::False);
		return BoolValue;
	}

	inline const FString& GetErrorMessage() const
	{
		return ErrorMessage;
	}

	inline const uint32 GetLineNumber() const
	{
		return LineNumber;
	}

	inline const uint32 GetCharacterNumber() const
	{
		return CharacterNumber;
	}

protected:
	TJsonReader()
		: TJsonReader(nullptr)
	{
	}

	explicit TJsonReader(FArchive* InStream)
		: ParseState()
		, CurrentToken(EJsonToken::None)
		, Stream(InStream)
		, Identifier()
		, ErrorMessage()
		, StringValue()
		, NumberValue(0.0)
		, LineNumber(1)
		, CharacterNumber(0)
		, BoolValue(false)
		, FinishedReadingRootObject(false)
	{
	}

private:
	static EJsonNotation TokenToNotation(EJsonToken Token)
	{
		switch (Token)
		{
		case EJsonToken::CurlyOpen: return EJsonNotation::ObjectStart;
		case EJsonToken::CurlyClose: return EJsonNotation::ObjectEnd;
		case EJsonToken::SquareOpen: return EJsonNotation::ArrayStart;
		case EJsonToken::SquareClose: return EJsonNotation::ArrayEnd;
		case EJsonToken::String: return EJsonNotation::String;
		case EJsonToken::Number: return EJsonNotation::Number;
		case EJsonToken::True:
		case EJsonToken::False: return EJsonNotation::Boolean;
		case EJsonToken::Null: return EJsonNotation::Null;
		default: return EJsonNotation::Error;
		}
	}

	void SetErrorMessage(const FString& Message)
	{
		ErrorMessage = Message + FString::Printf(TEXT(" Line: %u Ch: %u"), LineNumber, CharacterNumber);
	}

	bool ReadUntilMatching(const EJsonNotation ExpectedNotation)
	{
		uint32 ScopeCount = 0;
		EJsonNotation Notation;

		while (ReadNext(Notation))
		{
			if (ScopeCount == 0 && Notation == ExpectedNotation)
			{
				return true;
			}

			switch (Notation)
			{
			case EJsonNotation::ObjectStart:
			case EJsonNotation::ArrayStart:
				++ScopeCount;
				break;

			case EJsonNotation::ObjectEnd:
			case EJsonNotation::ArrayEnd:
				--ScopeCount;
				break;

			case EJsonNotation::Error:
				return false;

			default:
				break;
			}
		}

		return Stream != nullptr && !Stream->IsError();
	}

	bool ReadStart(EJsonToken& Token)
	{
		if (!ParseWhiteSpace())
		{
			return false;
		}

		Token = EJsonToken::None;

		if (!NextToken(Token))
		{
			return false;
		}

		if (Token != EJsonToken::CurlyOpen && Token != EJsonToken::SquareOpen)
		{
			SetErrorMessage(TEXT("Open Curly or Square Brace token expected, but not found."));
			return false;
		}

		return true;
	}

	bool ReadNextObjectValue(EJsonToken& Token)
	{
		const bool bCommaPrepend = Token != EJsonToken::CurlyOpen;
		Token = EJsonToken::None;

		if (!NextToken(Token))
		{
			return false;
		}

		if (Token == EJsonToken::CurlyClose)
		{
			return true;
		}

		if (bCommaPrepend)
		{
			if (Token != EJsonToken::Comma)
			{
				SetErrorMessage(TEXT("Comma token expected, but not found."));
				return false;
			}

			Token = EJsonToken::None;

			if (!NextToken(Token))
			{
				return false;
			}
		}

		if (Token != EJsonToken::String)
		{
			SetErrorMessage(TEXT("String token expected, but not found."));
			return false;
		}

		Identifier = MoveTemp(StringValue);
		Token = EJsonToken::None;

		if (!NextToken(Token))
		{
			return false;
		}

		if (Token != EJsonToken::Colon)
		{
			SetErrorMessage(TEXT("Colon token expected, but not found."));
			return false;
		}

		Token = EJsonToken::None;

		return NextToken(Token);
	}

	bool ReadNextArrayValue(EJsonToken& Token)
	{
		const bool bCommaPrepend = Token != EJsonToken::SquareOpen;
		Token = EJsonToken::None;

		if (!NextToken(Token))
		{
			return false;
		}

		if (Token == EJsonToken::SquareClose)
		{
			return true;
		}

		if (bCommaPrepend)
		{
			if (Token != EJsonToken::Comma)
			{
				SetErrorMessage(TEXT("Comma token expected, but not found."));
				return false;
			}

			Token = EJsonToken::None;

			// A closing bracket right after the comma ends the array: trailing commas are allowed.
			if (!NextToken(Token))
			{
				return false;
			}
		}

		return true;
	}

	bool PushScope(EJson Scope)
	{
		if (ParseState.Num() >= UE::Json::Private::MaxReaderNestingDepth)
		{
			SetErrorMessage(FString::Printf(TEXT("Json nesting too deep: more than %d levels of arrays and objects."), UE::Json::Private::MaxReaderNestingDepth));
			return false;
		}
		ParseState.Push(Scope);
		return true;
	}

	// Closing brackets must match the innermost open scope, so that a value never claims to be an
	// object it is not.
	bool PopScope(EJson Scope)
	{
		if (ParseState.Num() == 0 || ParseState.Top() != Scope)
		{
			SetErrorMessage(TEXT("Unknown state reached while parsing Json token."));
			return false;
		}
		ParseState.Pop();
		return true;
	}

	bool NextToken(EJsonToken& OutToken)
	{
		while (!Stream->AtEnd())
		{
			CharType Char;
			if (!Serialize(&Char, sizeof(CharType)))
			{
				return false;
			}
			++CharacterNumber;

			if (Char == CharType('\0'))
			{
				break;
			}

			if (IsLineBreak(Char))
			{
				++LineNumber;
				CharacterNumber = 0;
			}

			if (IsWhitespace(Char))
			{
				continue;
			}

			if (IsJsonNumber(Char))
			{
				const bool bParseNumberSucceed = ParseNumberToken(Char);
				// A failed '-' may still start -NaN or -Inf, tried below.
				if (!bParseNumberSucceed && Char != CharType('-'))
				{
					return false;
				}
				if (bParseNumberSucceed)
				{
					OutToken = EJsonToken::Number;
					return true;
				}
			}

			switch (Char)
			{
			case CharType('{'):
				OutToken = EJsonToken::CurlyOpen;
				return PushScope(EJson::Object);

			case CharType('}'):
				OutToken = EJsonToken::CurlyClose;
				return PopScope(EJson::Object);

			case CharType('['):
				OutToken = EJsonToken::SquareOpen;
				return PushScope(EJson::Array);

			case CharType(']'):
				OutToken = EJsonToken::SquareClose;
				return PopScope(EJson::Array);

			case CharType(':'):
				OutToken = EJsonToken::Colon;
				return true;

			case CharType(','):
				OutToken = EJsonToken::Comma;
				return true;

			case CharType('\"'):
				if (!ParseStringToken())
				{
					return false;
				}
				OutToken = EJsonToken::String;
				return true;

			case CharType('t'): case CharType('T'):
			case CharType('f'): case CharType('F'):
			case CharType('i'): case CharType('I'):
			case CharType('n'): case CharType('N'):
			case CharType('-'):
				return ParseLiteralToken(Char, OutToken);

			default:
				SetErrorMessage(TEXT("Invalid Json Token."));
				return false;
			}
		}

		SetErrorMessage(TEXT("Invalid Json Token."));
		return false;
	}

	// true, false, null, NaN, -NaN, -NaN(ind), Inf and -Inf, in any case.
	bool ParseLiteralToken(CharType FirstChar, EJsonToken& OutToken)
	{
		StoredStringType Test;
		Test += FirstChar;

		while (!Stream->AtEnd())
		{
			CharType Char;
			if (!Serialize(&Char, sizeof(CharType)))
			{
				return false;
			}

			// Parentheses for "-nan(ind)", as some C libraries print NaN.
			if (IsAlphaNumber(Char) || Char == CharType('(') || Char == CharType(')'))
			{
				++CharacterNumber;
				Test += Char;
			}
			else
			{
				Stream->Seek(Stream->Tell() - (int64)sizeof(CharType));
				break;
			}
		}

		if (Test == TEXT("False"))
		{
			BoolValue = false;
			OutToken = EJsonToken::False;
			return true;
		}

		if (Test == TEXT("True"))
		{
			BoolValue = true;
			OutToken = EJsonToken::True;
			return true;
		}

		if (Test == TEXT("Null"))
		{
			OutToken = EJsonToken::Null;
			return true;
		}

		if (Test.Compare(TEXT("Inf"), ESearchCase::IgnoreCase) == 0)
		{
			StringValue = Test;
			NumberValue = std::numeric_limits<double>::infinity();
			OutToken = EJsonToken::Number;
			return true;
		}

		if (Test.Compare(TEXT("-Inf"), ESearchCase::IgnoreCase) == 0)
		{
			StringValue = Test;
			NumberValue = -std::numeric_limits<double>::infinity();
			OutToken = EJsonToken::Number;
			return true;
		}

		if (Test.Compare(TEXT("NaN"), ESearchCase::IgnoreCase) == 0)
		{
			StringValue = Test;
			NumberValue = std::numeric_limits<double>::quiet_NaN();
			OutToken = EJsonToken::Number;
			return true;
		}

		if (Test.Compare(TEXT("-NaN"), ESearchCase::IgnoreCase) == 0 || Test.Compare(TEXT("-NaN(ind)"), ESearchCase::IgnoreCase) == 0)
		{
			StringValue = Test;
			NumberValue = -std::numeric_limits<double>::quiet_NaN();
			OutToken = EJsonToken::Number;
			return true;
		}

		SetErrorMessage(TEXT("Invalid Json Token. Check that your member names have quotes around them!"));
		return false;
	}

	// Escapes \" \\ \/ \b \f \n \r \t \uXXXX; consecutive \u code units are kept together so that
	// surrogate pairs combine. Raw control characters are accepted as they are.
	bool ParseStringToken()
	{
		TStringBuilder<512> StringBuffer;

		while (true)
		{
			if (Stream->AtEnd())
			{
				SetErrorMessage(TEXT("String Token Abruptly Ended."));
				return false;
			}

			CharType Char;
			if (!Serialize(&Char, sizeof(CharType)))
			{
				return false;
			}
			++CharacterNumber;

			if (Char == CharType('\"'))
			{
				break;
			}

			if (Char == CharType('\\'))
			{
				if (!Serialize(&Char, sizeof(CharType)))
				{
					return false;
				}
				++CharacterNumber;

				switch (Char)
				{
				case CharType('\"'):
				case CharType('\\'):
				case CharType('/'):
					StringBuffer.AppendChar(Char);
					break;
				case CharType('f'): StringBuffer.AppendChar(CharType('\f')); break;
				case CharType('r'): StringBuffer.AppendChar(CharType('\r')); break;
				case CharType('n'): StringBuffer.AppendChar(CharType('\n')); break;
				case CharType('b'): StringBuffer.AppendChar(CharType('\b')); break;
				case CharType('t'): StringBuffer.AppendChar(CharType('\t')); break;
				case CharType('u'):
				{
					int32 HexNum = 0;
					for (int32 Radix = 3; Radix >= 0; --Radix)
					{
						if (Stream->AtEnd())
						{
							SetErrorMessage(TEXT("String Token Abruptly Ended."));
							return false;
						}

						if (!Serialize(&Char, sizeof(CharType)))
						{
							return false;
						}
						++CharacterNumber;

						const int32 Digit = UE::Json::Private::HexDigit(Char);
						if (Digit == 0 && Char != CharType('0'))
						{
							SetErrorMessage(TEXT("Invalid Hexadecimal digit parsed."));
							return false;
						}
						HexNum = HexNum * 16 + Digit;
					}
					// TCHAR is UTF-16: the code unit is stored as it is, pairs included.
					StringBuffer.AppendChar((TCHAR)HexNum);
					break;
				}
				default:
					SetErrorMessage(TEXT("Bad Json escaped char."));
					return false;
				}
			}
			else
			{
				StringBuffer.AppendChar(Char);
			}
		}

		StringValue = StoredStringType(StringBuffer.ToView());
		return true;
	}

	// Checks the number against the JSON grammar, -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?,
	// then converts its text.
	bool ParseNumberToken(CharType FirstChar)
	{
		StoredStringType String;
		int32 State = 0;
		bool bUseFirstChar = true;
		bool bStateError = false;

		while (true)
		{
			if (Stream->AtEnd())
			{
				SetErrorMessage(TEXT("Number Token Abruptly Ended."));
				return false;
			}

			CharType Char;
			if (bUseFirstChar)
			{
				Char = FirstChar;
				bUseFirstChar = false;
			}
			else
			{
				if (!Serialize(&Char, sizeof(CharType)))
				{
					return false;
				}
				++CharacterNumber;
			}

			if (!IsJsonNumber(Char))
			{
				// The number ends before this character: give it back.
				Stream->Seek(Stream->Tell() - (int64)sizeof(CharType));
				--CharacterNumber;
				break;
			}

			switch (State)
			{
			case 0:
				if (Char == CharType('-')) { State = 1; }
				else if (Char == CharType('0')) { State = 2; }
				else if (IsNonZeroDigit(Char)) { State = 3; }
				else { bStateError = true; }
				break;

			case 1:
				if (Char == CharType('0')) { State = 2; }
				else if (IsNonZeroDigit(Char)) { State = 3; }
				else { bStateError = true; }
				break;

			case 2:
				if (Char == CharType('.')) { State = 4; }
				else if (Char == CharType('e') || Char == CharType('E')) { State = 5; }
				else { bStateError = true; }
				break;

			case 3:
				if (IsDigit(Char)) { State = 3; }
				else if (Char == CharType('.')) { State = 4; }
				else if (Char == CharType('e') || Char == CharType('E')) { State = 5; }
				else { bStateError = true; }
				break;

			case 4:
				if (IsDigit(Char)) { State = 6; }
				else { bStateError = true; }
				break;

			case 5:
				if (Char == CharType('-') || Char == CharType('+')) { State = 7; }
				else if (IsDigit(Char)) { State = 8; }
				else { bStateError = true; }
				break;

			case 6:
				if (IsDigit(Char)) { State = 6; }
				else if (Char == CharType('e') || Char == CharType('E')) { State = 5; }
				else { bStateError = true; }
				break;

			case 7:
				if (IsDigit(Char)) { State = 8; }
				else { bStateError = true; }
				break;

			case 8:
				if (IsDigit(Char)) { State = 8; }
				else { bStateError = true; }
				break;

			default:
				SetErrorMessage(TEXT("Unknown state reached in Json Number Token."));
				return false;
			}

			if (bStateError)
			{
				break;
			}

			String += Char;
		}

		if (!bStateError && (State == 2 || State == 3 || State == 6 || State == 8))
		{
			StringValue = String;
			NumberValue = FCString::Atod(*String);
			return true;
		}

		// A lone '-' may still be -NaN or -Inf; the caller reports it if not.
		if (FirstChar != CharType('-'))
		{
			SetErrorMessage(TEXT("Poorly formed Json Number Token."));
		}

		return false;
	}

	bool ParseWhiteSpace()
	{
		while (!Stream->AtEnd())
		{
			CharType Char;
			if (!Serialize(&Char, sizeof(CharType)))
			{
				return false;
			}
			++CharacterNumber;

			if (IsLineBreak(Char))
			{
				++LineNumber;
				CharacterNumber = 0;
			}

			if (!IsWhitespace(Char))
			{
				Stream->Seek(Stream->Tell() - (int64)sizeof(CharType));
				--CharacterNumber;
				break;
			}
		}
		return true;
	}

	bool IsLineBreak(const CharType& Char)
	{
		return Char == CharType('\n');
	}

	// Only the four JSON whitespace characters.
	bool IsWhitespace(const CharType& Char)
	{
		return Char == CharType(' ') || Char == CharType('\t') || Char == CharType('\n') || Char == CharType('\r');
	}

	// Characters that may appear in a number token.
	bool IsJsonNumber(const CharType& Char)
	{
		return (Char >= CharType('0') && Char <= CharType('9')) || Char == CharType('-') || Char == CharType('.') || Char == CharType('+') || Char == CharType('e') || Char == CharType('E');
	}

	bool IsDigit(const CharType& Char)
	{
		return Char >= CharType('0') && Char <= CharType('9');
	}

	bool IsNonZeroDigit(const CharType& Char)
	{
		return Char >= CharType('1') && Char <= CharType('9');
	}

	// ASCII letters only.
	bool IsAlphaNumber(const CharType& Char)
	{
		return (Char >= CharType('a') && Char <= CharType('z')) || (Char >= CharType('A') && Char <= CharType('Z'));
	}

protected:
	bool Serialize(void* V, int64 Length)
	{
		Stream->Serialize(V, Length);
		if (Stream->IsError())
		{
			SetErrorMessage(TEXT("Stream I/O Error"));
			return false;
		}
		return true;
	}

	TArray<EJson> ParseState;
	EJsonToken CurrentToken;

	FArchive* Stream;
	FString Identifier;
	FString ErrorMessage;
	StoredStringType StringValue;
	double NumberValue;
	uint32 LineNumber;
	uint32 CharacterNumber;
	bool BoolValue;
	bool FinishedReadingRootObject;
};

// Reads a copy of the given text.
template <typename CharType>
class TJsonStringReader : public TJsonReader<CharType>
{
public:
	static TSharedRef<TJsonStringReader> Create(const FString& JsonString)
	{
		return MakeShareable(new TJsonStringReader(JsonString));
	}

	static TSharedRef<TJsonStringReader> Create(FString&& JsonString)
	{
		return MakeShareable(new TJsonStringReader(MoveTemp(JsonString)));
	}

	const FString& GetSourceString() const
	{
		return Content;
	}

	virtual ~TJsonStringReader() override = default;

protected:
	explicit TJsonStringReader(const FString& JsonString)
		: Content(JsonString)
		, Reader(nullptr)
	{
		InitReader();
	}

	explicit TJsonStringReader(FString&& JsonString)
		: Content(MoveTemp(JsonString))
		, Reader(nullptr)
	{
		InitReader();
	}

	// An empty text gets no stream, which the first ReadNext reports.
	inline void InitReader()
	{
		if (Content.IsEmpty())
		{
			return;
		}
		Reader = MakeUnique<FBufferReader>((void*)*Content, (int64)Content.Len() * (int64)sizeof(CharType), false);
		this->Stream = Reader.Get();
	}

	const FString Content;
	TUniquePtr<FBufferReader> Reader;
};

using FJsonStringReader = TJsonStringReader<TCHAR>;

// Reads text it does not own; the text must outlive the reader.
template <class CharType>
class TJsonStringViewReader : public TJsonReader<CharType>
{
public:
	static TSharedRef<TJsonStringViewReader> Create(TStringView<CharType> JsonString)
	{
		return MakeShareable(new TJsonStringViewReader(JsonString));
	}

	virtual ~TJsonStringViewReader() override = default;

protected:
	explicit TJsonStringViewReader(TStringView<CharType> JsonString)
		: Content(JsonString)
		, Reader(nullptr)
	{
		InitReader();
	}

	void InitReader()
	{
		if (Content.IsEmpty())
		{
			return;
		}
		Reader = MakeUnique<FBufferReader>((void*)Content.GetData(), (int64)Content.Len() * (int64)sizeof(CharType), false);
		TJsonReader<CharType>::Stream = Reader.Get();
	}

	TStringView<CharType> Content;
	TUniquePtr<FBufferReader> Reader;
};

template <class CharType = TCHAR>
class TJsonReaderFactory
{
public:
	using StringType = FString;

	static TSharedRef<TJsonReader<TCHAR>> Create(StringType&& JsonString)
	{
		return TJsonStringReader<TCHAR>::Create(MoveTemp(JsonString));
	}

	static TSharedRef<TJsonReader<TCHAR>> Create(const StringType& JsonString)
	{
		return TJsonStringReader<TCHAR>::Create(JsonString);
	}

	static TSharedRef<TJsonReader<CharType>> Create(FArchive* const Stream)
	{
		return TJsonReader<CharType>::Create(Stream);
	}

	static TSharedRef<TJsonReader<CharType>> CreateFromView(TStringView<CharType> JsonString)
	{
		return TJsonStringViewReader<CharType>::Create(JsonString);
	}
};
