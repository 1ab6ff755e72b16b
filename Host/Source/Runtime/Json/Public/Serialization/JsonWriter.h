// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Internationalization/Text.h"
#include "Policies/PrettyJsonPrintPolicy.h"
#include "Serialization/JsonTypes.h"
#include "Serialization/MemoryWriter.h"

// Whether a character can be written unescaped into a string of DstChar: not a control character,
// and within ASCII when writing ANSI.
template <typename DstChar, typename SrcChar>
bool HasDestinationJsonStringCharRepresentation(SrcChar Char)
{
	return Char >= SrcChar(' ') && (std::is_same_v<DstChar, SrcChar> || !std::is_same_v<DstChar, ANSICHAR> || Char <= (SrcChar)0x7E);
}

// Appends StringVal to AppendTo as a quoted, escaped JSON string.
template <typename StringType>
inline StringType& AppendEscapeJsonString(StringType& AppendTo, const FString& StringVal)
{
	using CharType = typename StringType::ElementType;
	AppendTo += TEXT("\"");
	for (const TCHAR* Char = *StringVal; *Char != TCHAR('\0'); ++Char)
	{
		switch (*Char)
		{
		case TCHAR('\\'): AppendTo += TEXT("\\\\"); break;
		case TCHAR('\n'): AppendTo += TEXT("\\n"); break;
		case TCHAR('\t'): AppendTo += TEXT("\\t"); break;
		case TCHAR('\b'): AppendTo += TEXT("\\b"); break;
		case TCHAR('\f'): AppendTo += TEXT("\\f"); break;
		case TCHAR('\r'): AppendTo += TEXT("\\r"); break;
		case TCHAR('\"'): AppendTo += TEXT("\\\""); break;
		default:
			if (HasDestinationJsonStringCharRepresentation<CharType>(*Char))
			{
				AppendTo += *Char;
			}
			else
			{
				AppendTo += FString::Printf(TEXT("\\u%04x"), (int32)*Char);
			}
		}
	}
	AppendTo += TEXT("\"");
	return AppendTo;
}

// StringVal as a quoted, escaped JSON string.
inline FString EscapeJsonString(const FString& StringVal)
{
	FString Result;
	return AppendEscapeJsonString(Result, StringVal);
}

// Writes JSON tokens to an archive. Values inside objects need an identifier; a value without
// one is allowed at the top level, inside arrays, and right after WriteIdentifierPrefix.
template <class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriter
{
public:
	static TSharedRef<TJsonWriter> Create(FArchive* const Stream, int32 InitialIndentLevel = 0)
	{
		return MakeShareable(new TJsonWriter<CharType, PrintPolicy>(Stream, InitialIndentLevel));
	}

	virtual ~TJsonWriter() = default;

	inline int32 GetIndentLevel() const { return IndentLevel; }

	bool CanWriteObjectStart() const
	{
		return CanWriteObjectWithoutIdentifier();
	}

	EJson GetCurrentElementType() const
	{
		return Stack.Num() > 0 ? Stack.Top() : EJson::None;
	}

	void WriteObjectStart()
	{
		check(CanWriteObjectWithoutIdentifier());
		WriteCommaIfNeeded();

		if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}

		PrintPolicy::WriteChar(Stream, CharType('{'));
		++IndentLevel;
		Stack.Push(EJson::Object);
		PreviousTokenWritten = EJsonToken::CurlyOpen;
	}

	// The brace of an object value goes on its own line, under the key.
	template <typename IdentifierType>
	void WriteObjectStart(IdentifierType&& Identifier)
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		WriteIdentifier(Forward<IdentifierType>(Identifier));

		PrintPolicy::WriteLineTerminator(Stream);
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		PrintPolicy::WriteChar(Stream, CharType('{'));
		++IndentLevel;
		Stack.Push(EJson::Object);
		PreviousTokenWritten = EJsonToken::CurlyOpen;
	}

	// Always on a new line, even for an empty object.
	void WriteObjectEnd()
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);

		PrintPolicy::WriteLineTerminator(Stream);

		--IndentLevel;
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		PrintPolicy::WriteChar(Stream, CharType('}'));
		Stack.Pop();
		PreviousTokenWritten = EJsonToken::CurlyClose;
	}

	void WriteArrayStart()
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();

		if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}

		PrintPolicy::WriteChar(Stream, CharType('['));
		++IndentLevel;
		Stack.Push(EJson::Array);
		PreviousTokenWritten = EJsonToken::SquareOpen;
	}

	// The bracket of an array value stays on the key's line.
	template <typename IdentifierType>
	void WriteArrayStart(IdentifierType&& Identifier)
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		WriteIdentifier(Forward<IdentifierType>(Identifier));

		PrintPolicy::WriteSpace(Stream);
		PrintPolicy::WriteChar(Stream, CharType('['));
		++IndentLevel;
		Stack.Push(EJson::Array);
		PreviousTokenWritten = EJsonToken::SquareOpen;
	}

	// An empty array closes on the same line: [].
	void WriteArrayEnd()
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Array);

		--IndentLevel;

		if (PreviousTokenWritten != EJsonToken::SquareOpen)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}

		PrintPolicy::WriteChar(Stream, CharType(']'));
		Stack.Pop();
		PreviousTokenWritten = EJsonToken::SquareClose;
	}

	// Separate overload so that bit fields bind.
	void WriteValue(uint8 Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		WriteValueSeparator();
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	template <class FValue>
	void WriteValue(FValue&& Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		WriteValueSeparator();
		PreviousTokenWritten = WriteValueOnly(Forward<FValue>(Value));
	}

	void WriteValue(FStringView Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();

		PrintPolicy::WriteLineTerminator(Stream);
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	void WriteValue(const FString& Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();

		PrintPolicy::WriteLineTerminator(Stream);
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	template <typename IdentifierType>
	void WriteValue(IdentifierType&& Identifier, uint8 Value)
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		WriteIdentifier(Forward<IdentifierType>(Identifier));

		PrintPolicy::WriteSpace(Stream);
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	template <class FValue, typename IdentifierType>
	void WriteValue(IdentifierType&& Identifier, FValue&& Value)
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		WriteIdentifier(Forward<IdentifierType>(Identifier));

		PrintPolicy::WriteSpace(Stream);
		PreviousTokenWritten = WriteValueOnly(Forward<FValue>(Value));
	}

	template <class ElementType, typename IdentifierType>
	void WriteValue(IdentifierType&& Identifier, const TArray<ElementType>& Array)
	{
		WriteArrayStart(Forward<IdentifierType>(Identifier));
		for (int32 Index = 0; Index < Array.Num(); ++Index)
		{
			WriteValue(Array[Index]);
		}
		WriteArrayEnd();
	}

	template <typename IdentifierType, typename MapIdentifierType, class MapElementType>
	void WriteValue(IdentifierType&& Identifier, const TMap<MapIdentifierType, MapElementType>& Map)
	{
		WriteObjectStart(Forward<IdentifierType>(Identifier));
		for (const TPair<MapIdentifierType, MapElementType>& Element : Map)
		{
			WriteValue(Element.Key, Element.Value);
		}
		WriteObjectEnd();
	}

	template <typename MapIdentifierType, class MapElementType>
	void WriteValue(const TMap<MapIdentifierType, MapElementType>& Map)
	{
		WriteObjectStart();
		for (const TPair<MapIdentifierType, MapElementType>& Element : Map)
		{
			WriteValue(Element.Key, Element.Value);
		}
		WriteObjectEnd();
	}

	void WriteValue(FStringView Identifier, const TCHAR* Value)
	{
		WriteValue(Identifier, FStringView(Value));
	}

	// Writes Value unchanged: it must already be valid JSON (for example another writer's output).
	void WriteRawJSONValue(FStringView Identifier, FStringView Value)
	{
		WriteRawJSONValueImpl(Identifier, Value);
	}

	void WriteRawJSONValue(FUtf8StringView Identifier, FUtf8StringView Value)
	{
		WriteRawJSONValueImpl(FString(Identifier), Value);
	}

	template <typename IdentifierType>
	void WriteNull(IdentifierType&& Identifier)
	{
		WriteValue(Forward<IdentifierType>(Identifier), nullptr);
	}

	void WriteValue(const TCHAR* Value)
	{
		WriteValue(FStringView(Value));
	}

	void WriteRawJSONValue(FStringView Value)
	{
		WriteRawJSONValueImpl(Value);
	}

	void WriteRawJSONValue(FUtf8StringView Value)
	{
		WriteRawJSONValueImpl(Value);
	}

	void WriteNull()
	{
		WriteValue(nullptr);
	}

	// True when a complete document was written (or nothing at all).
	virtual bool Close()
	{
		return (PreviousTokenWritten == EJsonToken::None || PreviousTokenWritten == EJsonToken::CurlyClose || PreviousTokenWritten == EJsonToken::SquareClose)
			&& Stack.Num() == 0;
	}

	// WriteIdentifierPrefix("Foo") followed by WriteValue(Bar) is WriteValue("Foo", Bar).
	template <typename IdentifierType>
	void WriteIdentifierPrefix(IdentifierType&& Identifier)
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		WriteIdentifier(Forward<IdentifierType>(Identifier));
		PrintPolicy::WriteSpace(Stream);
		PreviousTokenWritten = EJsonToken::Identifier;
	}

protected:
	TJsonWriter(FArchive* const InStream, int32 InitialIndentLevel)
		: Stream(InStream)
		, Stack()
		, PreviousTokenWritten(EJsonToken::None)
		, IndentLevel(InitialIndentLevel)
	{
	}

	inline bool CanWriteValueWithoutIdentifier() const
	{
		return Stack.Num() <= 0 || Stack.Top() == EJson::Array || PreviousTokenWritten == EJsonToken::Identifier;
	}

	inline bool CanWriteObjectWithoutIdentifier() const
	{
		return Stack.Num() <= 0 || Stack.Top() == EJson::Array || PreviousTokenWritten == EJsonToken::Identifier || PreviousTokenWritten == EJsonToken::Colon;
	}

	inline void WriteCommaIfNeeded()
	{
		if (PreviousTokenWritten != EJsonToken::CurlyOpen && PreviousTokenWritten != EJsonToken::SquareOpen && PreviousTokenWritten != EJsonToken::Identifier && PreviousTokenWritten != EJsonToken::Comma && PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteChar(Stream, CharType(','));
			PreviousTokenWritten = EJsonToken::Comma;
		}
	}

	// What goes before a value without identifier: a space after a short value, else a new line.
	inline void WriteValueSeparator()
	{
		if (EJsonToken_IsShortValue(PreviousTokenWritten))
		{
			PrintPolicy::WriteSpace(Stream);
		}
		else
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
	}

	template <typename InCharType>
	void WriteIdentifier(const InCharType* Identifier)
	{
		WriteIdentifier(TStringView<InCharType>(Identifier));
	}

	template <typename InCharType>
	void WriteIdentifier(TStringView<InCharType> Identifier)
	{
		WriteCommaIfNeeded();
		PrintPolicy::WriteLineTerminator(Stream);

		PrintPolicy::WriteTabs(Stream, IndentLevel);
		WriteStringValue(Identifier);
		PrintPolicy::WriteChar(Stream, CharType(':'));

		PreviousTokenWritten = EJsonToken::Identifier;
	}

	inline void WriteIdentifier(const FString& Identifier)
	{
		WriteIdentifier(FStringView(Identifier));
	}

	void WriteIdentifier(const FText& Identifier)
	{
		WriteIdentifier(Identifier.ToString());
	}

	inline EJsonToken WriteValueOnly(bool Value)
	{
		PrintPolicy::WriteString(Stream, Value ? TEXTVIEW("true") : TEXTVIEW("false"));
		return Value ? EJsonToken::True : EJsonToken::False;
	}

	inline EJsonToken WriteValueOnly(float Value)
	{
		PrintPolicy::WriteFloat(Stream, Value);
		return EJsonToken::Number;
	}

	inline EJsonToken WriteValueOnly(double Value)
	{
		PrintPolicy::WriteDouble(Stream, Value);
		return EJsonToken::Number;
	}

	inline EJsonToken WriteValueOnly(int32 Value)
	{
		return WriteValueOnly((int64)Value);
	}

	inline EJsonToken WriteValueOnly(int64 Value)
	{
		PrintPolicy::WriteString(Stream, FString::Printf(TEXT("%lld"), Value));
		return EJsonToken::Number;
	}

	inline EJsonToken WriteValueOnly(uint8 Value)
	{
		return WriteValueOnly((uint64)Value);
	}

	inline EJsonToken WriteValueOnly(uint32 Value)
	{
		return WriteValueOnly((uint64)Value);
	}

	inline EJsonToken WriteValueOnly(uint64 Value)
	{
		PrintPolicy::WriteString(Stream, FString::Printf(TEXT("%llu"), Value));
		return EJsonToken::Number;
	}

	inline EJsonToken WriteValueOnly(TYPE_OF_NULLPTR)
	{
		PrintPolicy::WriteString(Stream, TEXTVIEW("null"));
		return EJsonToken::Null;
	}

	inline EJsonToken WriteValueOnly(const TCHAR* Value)
	{
		WriteStringValue(FStringView(Value));
		return EJsonToken::String;
	}

	inline EJsonToken WriteValueOnly(FStringView Value)
	{
		WriteStringValue(Value);
		return EJsonToken::String;
	}

	inline EJsonToken WriteValueOnly(FUtf8StringView Value)
	{
		WriteStringValue(Value);
		return EJsonToken::String;
	}

	template <typename ValueType>
	EJsonToken WriteValueOnly(TSharedRef<ValueType> ValueRef)
	{
		return WriteValueOnly(*ValueRef);
	}

	template <typename ValueType>
	EJsonToken WriteValueOnly(TSharedPtr<ValueType> ValuePtr)
	{
		if (ValuePtr.IsValid())
		{
			return WriteValueOnly(*ValuePtr);
		}
		return WriteValueOnly(nullptr);
	}

	template <typename MapIdentifierType, typename MapElementType>
	EJsonToken WriteValueOnly(const TMap<MapIdentifierType, MapElementType>& Map)
	{
		WriteObjectStart();
		for (const TPair<MapIdentifierType, MapElementType>& Element : Map)
		{
			WriteValue(Element.Key, Element.Value);
		}
		WriteObjectEnd();
		return PreviousTokenWritten;
	}

	template <typename ArrayElementType>
	EJsonToken WriteValueOnly(const TArray<ArrayElementType>& Array)
	{
		WriteArrayStart();
		for (int32 Index = 0; Index < Array.Num(); ++Index)
		{
			WriteValue(Array[Index]);
		}
		WriteArrayEnd();
		return PreviousTokenWritten;
	}

	virtual void WriteStringValue(FAnsiStringView String)
	{
		PrintPolicy::WriteChar(Stream, CharType('"'));
		WriteEscapedString(String);
		PrintPolicy::WriteChar(Stream, CharType('"'));
	}

	virtual void WriteStringValue(FStringView String)
	{
		PrintPolicy::WriteChar(Stream, CharType('"'));
		WriteEscapedString(String);
		PrintPolicy::WriteChar(Stream, CharType('"'));
	}

	virtual void WriteStringValue(const FString& String)
	{
		TJsonWriter::WriteStringValue(FStringView(String));
	}

	virtual void WriteStringValue(FUtf8StringView String)
	{
		PrintPolicy::WriteChar(Stream, CharType('"'));
		WriteEscapedString(String);
		PrintPolicy::WriteChar(Stream, CharType('"'));
	}

	template <typename InCharType>
	void WriteRawJSONValueImpl(FStringView Identifier, TStringView<InCharType> Value)
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		WriteIdentifier(Identifier);

		PrintPolicy::WriteSpace(Stream);
		PrintPolicy::WriteString(Stream, Value);
		PreviousTokenWritten = EJsonToken::String;
	}

	template <typename InCharType>
	void WriteRawJSONValueImpl(TStringView<InCharType> Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();

		if (PreviousTokenWritten != EJsonToken::True && PreviousTokenWritten != EJsonToken::False && PreviousTokenWritten != EJsonToken::SquareOpen)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		else
		{
			PrintPolicy::WriteSpace(Stream);
		}

		PrintPolicy::WriteString(Stream, Value);
		PreviousTokenWritten = EJsonToken::String;
	}

	// Writes runs of plain characters in one go and escapes the rest: the two-character escapes
	// for \ " LF TAB BS FF CR, \u%04x (lower-case hex) for other characters that cannot be
	// written as they are. '/' and non-ASCII characters are written unchanged.
	template <typename InCharType>
	void WriteEscapedString(TStringView<InCharType> InView)
	{
		auto NeedsEscaping = [](InCharType Char) -> bool
		{
			switch (Char)
			{
			case InCharType('\\'):
			case InCharType('\n'):
			case InCharType('\t'):
			case InCharType('\b'):
			case InCharType('\f'):
			case InCharType('\r'):
			case InCharType('\"'):
				return true;
			default:
				return !HasDestinationJsonStringCharRepresentation<CharType>(Char);
			}
		};

		while (!InView.IsEmpty())
		{
			int32 EndIndex = 0;
			while (EndIndex < InView.Len() && !NeedsEscaping(InView.GetData()[EndIndex]))
			{
				++EndIndex;
			}
			if (EndIndex > 0)
			{
				PrintPolicy::WriteString(Stream, InView.Left(EndIndex));
			}
			InView.RightChopInline(EndIndex);

			for (EndIndex = 0; EndIndex < InView.Len(); ++EndIndex)
			{
				const InCharType Char = InView.GetData()[EndIndex];
				switch (Char)
				{
				case InCharType('\\'): PrintPolicy::WriteString(Stream, TEXTVIEW("\\\\")); continue;
				case InCharType('\n'): PrintPolicy::WriteString(Stream, TEXTVIEW("\\n")); continue;
				case InCharType('\t'): PrintPolicy::WriteString(Stream, TEXTVIEW("\\t")); continue;
				case InCharType('\b'): PrintPolicy::WriteString(Stream, TEXTVIEW("\\b")); continue;
				case InCharType('\f'): PrintPolicy::WriteString(Stream, TEXTVIEW("\\f")); continue;
				case InCharType('\r'): PrintPolicy::WriteString(Stream, TEXTVIEW("\\r")); continue;
				case InCharType('\"'): PrintPolicy::WriteString(Stream, TEXTVIEW("\\\"")); continue;
				default: break;
				}

				if (HasDestinationJsonStringCharRepresentation<CharType>(Char))
				{
					break;
				}
				PrintPolicy::WriteString(Stream, FString::Printf(TEXT("\\u%04x"), (int32)Char));
			}
			InView.RightChopInline(EndIndex);
		}
	}

	FArchive* const Stream;
	TArray<EJson> Stack;
	EJsonToken PreviousTokenWritten;
	int32 IndentLevel;
};

// A writer into a string. The bytes are buffered and the string is only filled by Close(),
// which replaces what it held.
template <class PrintPolicy = TPrettyJsonPrintPolicy<TCHAR>>
class TJsonStringWriter : public TJsonWriter<typename PrintPolicy::CharType, PrintPolicy>
{
public:
	using CharType = typename PrintPolicy::CharType;
	using StringType = FString;

	static_assert(std::is_same_v<CharType, TCHAR>, "String writers write TCHAR text in this host.");

	static TSharedRef<TJsonStringWriter> Create(StringType* const InStream, int32 InitialIndent = 0)
	{
		return MakeShareable(new TJsonStringWriter(InStream, InitialIndent));
	}

	virtual ~TJsonStringWriter() override
	{
		check(this->Stream->Close());
		delete this->Stream;
	}

	virtual bool Close() override
	{
		OutString->Reset(Bytes.Num() / (int32)sizeof(CharType));
		OutString->AppendChars((const CharType*)Bytes.GetData(), Bytes.Num() / (int32)sizeof(CharType));
		return TJsonWriter<CharType, PrintPolicy>::Close();
	}

protected:
	TJsonStringWriter(StringType* const InOutString, int32 InitialIndent)
		: TJsonWriter<CharType, PrintPolicy>(new FMemoryWriter(Bytes), InitialIndent)
		, Bytes()
		, OutString(InOutString)
	{
	}

private:
	TArray<uint8> Bytes;
	StringType* OutString;
};

template <class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriterFactory
{
public:
	using StringType = FString;

	static TSharedRef<TJsonWriter<CharType, PrintPolicy>> Create(FArchive* const Stream, int32 InitialIndent = 0)
	{
		return TJsonWriter<CharType, PrintPolicy>::Create(Stream, InitialIndent);
	}

	static TSharedRef<TJsonWriter<CharType, PrintPolicy>> Create(StringType* const Stream, int32 InitialIndent = 0)
	{
		return StaticCastSharedRef<TJsonWriter<CharType, PrintPolicy>>(TJsonStringWriter<PrintPolicy>::Create(Stream, InitialIndent));
	}
};
