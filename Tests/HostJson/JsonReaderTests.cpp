// Copyright Quarn. All Rights Reserved.

#include "JsonTestSupport.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace JsonTest;

TEST(HostJsonReader, EngineFailureInputsAreRejected)
{
	const char* const Inputs[] = {
		"", "{", "{\"a\"}", "{\"a\":1", "\"a\":1}", "}", "]", "{}0", "{\"a\":1 \"b\":2}",
		"{\"a\":1,}", "[tru]", "[full]", "[nulle]", "[n%ll]", "[65.3e]", "[65.]", "[.7]", "[+6]",
		"[01]", "[00.56]", "[-1.e+4]", "[2e+]", "[\"\\x\"]", "[\"\\u123T\"]", "[\"\\R\"]",
		"[Infinity]", "[1 2]", "[,1]", "{,}", "\"x\"", "42", "true", "[\"abc", "[\"\\u12",
	};
	for (const char* Input : Inputs)
	{
		TSharedPtr<FJsonValue> Value;
		EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(FromUtf8(Input)), Value)) << Input;
		EXPECT_FALSE(Value.IsValid()) << Input;
		EXPECT_FALSE(ParseError(Input).empty()) << Input;
	}
}

TEST(HostJsonReader, ErrorTextsCarryLineAndCharacter)
{
	EXPECT_EQ(ParseError(""), "Null Stream Line: 1 Ch: 0");
	EXPECT_EQ(ParseError("  42 "), "Open Curly or Square Brace token expected, but not found. Line: 1 Ch: 4");
	// A number at the very end is cut off, whatever the structure around it.
	EXPECT_EQ(ParseError("42"), "Number Token Abruptly Ended. Line: 1 Ch: 2");
	EXPECT_EQ(ParseError("{}x"), "Unexpected additional input found. Line: 1 Ch: 2");
	EXPECT_EQ(ParseError("{\n\"a\" 1}"), "Colon token expected, but not found. Line: 2 Ch: 5");
	EXPECT_EQ(ParseError("[1\n 2]"), "Comma token expected, but not found. Line: 2 Ch: 2");
	EXPECT_EQ(ParseError("{\"a\":1,}"), "String token expected, but not found. Line: 1 Ch: 8");
	EXPECT_EQ(ParseError("[01]"), "Poorly formed Json Number Token. Line: 1 Ch: 3");
	EXPECT_EQ(ParseError("[tru]"), "Invalid Json Token. Check that your member names have quotes around them! Line: 1 Ch: 4");
	EXPECT_EQ(ParseError("[\"\\q\"]"), "Bad Json escaped char. Line: 1 Ch: 4");
	EXPECT_EQ(ParseError("[\"\\u12G4\"]"), "Invalid Hexadecimal digit parsed. Line: 1 Ch: 7");
	EXPECT_EQ(ParseError("[\"ab"), "String Token Abruptly Ended. Line: 1 Ch: 4");
	EXPECT_EQ(ParseError("[1"), "Number Token Abruptly Ended. Line: 1 Ch: 2");
	EXPECT_EQ(ParseError("[@]"), "Invalid Json Token. Line: 1 Ch: 2");
	EXPECT_EQ(ParseError("{\"a\":[1]"), "Improperly formatted. Line: 1 Ch: 8");
	EXPECT_EQ(ParseError("[,1]"), "Unknown Error Occurred Line: 1 Ch: 2");
	EXPECT_EQ(ParseError("  \n "), "Invalid Json Token. Line: 2 Ch: 1");
}

TEST(HostJsonReader, EngineQuirksAreAccepted)
{
	// Literals ignore case; output is lower case.
	TSharedPtr<FJsonObject> Object = ParseObject("{\"a\":TRUE,\"b\":faLsE,\"c\":NULL,\"d\":nUlL}");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Condensed(Object), "{\"a\":true,\"b\":false,\"c\":null,\"d\":null}");

	// A trailing comma in an array, and a key without a value, which is dropped.
	TArray<TSharedPtr<FJsonValue>> Array;
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("[1,2,]")), Array));
	EXPECT_EQ(Condensed(Array), "[1,2]");
	Object = ParseObject("{\"a\":}");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Object->Values.Num(), 0);

	// NaN in its printed forms, and infinities.
	Object = ParseObject("{\"a\":nan,\"b\":NaN,\"c\":-nan,\"d\":-nan(ind),\"e\":inf,\"f\":-Inf}");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_TRUE(std::isnan(Object->GetNumberField(TEXT("a"))));
	EXPECT_TRUE(std::isnan(Object->GetNumberField(TEXT("b"))));
	EXPECT_TRUE(std::isnan(Object->GetNumberField(TEXT("c"))));
	EXPECT_TRUE(std::signbit(Object->GetNumberField(TEXT("d"))));
	EXPECT_EQ(Object->GetNumberField(TEXT("e")), HUGE_VAL);
	EXPECT_EQ(Object->GetNumberField(TEXT("f")), -HUGE_VAL);

	// Raw control characters inside strings, and whitespace around the root.
	Object = ParseObject(" \r\n\t{\"s\":\"a\tb\x01\"} \n");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Utf8(Object->GetStringField(TEXT("s"))), "a\tb\x01");
}

TEST(HostJsonReader, NumbersFollowTheGrammarAndReadAsDoubles)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"a\":0,\"b\":-0.0,\"c\":1.5e3,\"d\":2E-2,\"e\":9007199254740993,\"f\":-12}");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Object->GetNumberField(TEXT("a")), 0.0);
	EXPECT_TRUE(std::signbit(Object->GetNumberField(TEXT("b"))));
	EXPECT_EQ(Object->GetNumberField(TEXT("c")), 1500.0);
	EXPECT_EQ(Object->GetNumberField(TEXT("d")), 0.02);
	EXPECT_EQ(Object->GetNumberField(TEXT("e")), 9007199254740992.0);
	EXPECT_EQ(Object->GetNumberField(TEXT("f")), -12.0);
}

TEST(HostJsonReader, StoreNumbersAsStringsKeepsTheExactText)
{
	TSharedPtr<FJsonObject> Object;
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("{\"id\":9007199254740993,\"x\":1.50}")), Object, FJsonSerializer::EFlags::StoreNumbersAsStrings));
	EXPECT_EQ(Object->GetField<EJson::Number>(TEXT("id"))->Type, EJson::Number);
	EXPECT_EQ(Utf8(Object->GetStringField(TEXT("id"))), "9007199254740993");
	uint64 Id = 0;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("id"), Id));
	EXPECT_EQ(Id, 9007199254740993ull);
	EXPECT_EQ(Condensed(Object), "{\"id\":9007199254740993,\"x\":1.50}");
}

TEST(HostJsonReader, StringEscapesAndSurrogatePairs)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"s\":\"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u0041\\u00e9\\ud83d\\ude00\"}");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Utf8(Object->GetStringField(TEXT("s"))), "\"\\/\b\f\n\r\tA\xC3\xA9\xF0\x9F\x98\x80");
	const FString Text = Object->GetStringField(TEXT("s"));
	EXPECT_EQ(Text.Len(), 12);
}

TEST(HostJsonReader, InvalidUtf8IsReplacedNotFatal)
{
	// Bytes that are not UTF-8 become the engine's bogus character '?' in the TCHAR text the reader is given.
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"s\":\"a\xFF\xC3\"}");
	ASSERT_TRUE(Object.IsValid());
	const FString Text = Object->GetStringField(TEXT("s"));
	ASSERT_EQ(Text.Len(), 3);
	EXPECT_EQ(Text[1], TCHAR('?'));
	EXPECT_EQ(Text[2], TCHAR('?'));
}

TEST(HostJsonReader, DuplicateKeysKeepTheLastValueAtTheFirstPosition)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"qty\":1,\"name\":\"a\",\"Qty\":2,\"QTY\":3}");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Object->Values.Num(), 2);
	EXPECT_EQ(Object->GetNumberField(TEXT("qty")), 3.0);
	EXPECT_EQ(Condensed(Object), "{\"QTY\":3,\"name\":\"a\"}");
}

TEST(HostJsonReader, FieldNamesAreMatchedIgnoringCase)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"ContainerId\":\"c1\",\"Version\":4}");
	ASSERT_TRUE(Object.IsValid());
	EXPECT_TRUE(Object->HasField(TEXT("containerid")));
	EXPECT_TRUE(Object->HasTypedField<EJson::Number>(TEXT("VERSION")));
	EXPECT_FALSE(Object->HasTypedField<EJson::String>(TEXT("version")));
	EXPECT_EQ(Utf8(Object->GetStringField(TEXT("containerID"))), "c1");
	EXPECT_FALSE(Object->HasField(TEXT("Container")));
}

TEST(HostJsonReader, RootKindMustMatchTheOutput)
{
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	const TSharedPtr<FJsonObject> Before = Object;
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("[1]")), Object));
	EXPECT_EQ(Object, Before);

	TArray<TSharedPtr<FJsonValue>> Array;
	Array.Add(MakeShared<FJsonValueNull>());
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("{}")), Array));
	EXPECT_EQ(Array.Num(), 1);

	TSharedPtr<FJsonValue> Value;
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("[]")), Value));
	EXPECT_EQ(Value->Type, EJson::Array);
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("{}")), Value));
	EXPECT_EQ(Value->Type, EJson::Object);
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("{}")), Object));
	EXPECT_EQ(Object->Values.Num(), 0);
}

TEST(HostJsonReader, MismatchedClosingBracketsAreErrors)
{
	for (const char* Input : { "[}", "[1,}", "{\"a\":]", "{\"a\":[}}", "[[}]", "{\"a\":{]}" })
	{
		EXPECT_EQ(ParseError(Input).rfind("Unknown state reached while parsing Json token.", 0), 0u) << Input;
	}
}

TEST(HostJsonReader, AbsurdNestingIsRefusedWithAClearError)
{
	std::string Deep(512, '[');
	Deep += std::string(512, ']');
	EXPECT_EQ(ParseError(Deep), "");

	std::string TooDeep(513, '[');
	TooDeep += std::string(513, ']');
	EXPECT_EQ(ParseError(TooDeep), "Json nesting too deep: more than 512 levels of arrays and objects. Line: 1 Ch: 513");

	// Far deeper input fails just the same, without exhausting the stack.
	EXPECT_FALSE(ParseError(std::string(1000000, '[')).empty());
	EXPECT_FALSE(ParseError(std::string(500000, '{') ).empty());
}

TEST(HostJsonReader, TokensAndPositions)
{
	const FString Text(TEXT("{\"k\": \"val\",\n \"n\": 12.5, \"a\": [true]}"));
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(Text);
	EJsonNotation Notation;

	ASSERT_TRUE(Reader->ReadNext(Notation));
	EXPECT_EQ(Notation, EJsonNotation::ObjectStart);
	EXPECT_EQ(Reader->GetLineNumber(), 1u);
	EXPECT_EQ(Reader->GetCharacterNumber(), 1u);

	ASSERT_TRUE(Reader->ReadNext(Notation));
	EXPECT_EQ(Notation, EJsonNotation::String);
	EXPECT_EQ(Utf8(Reader->GetIdentifier()), "k");
	EXPECT_EQ(Utf8(Reader->GetValueAsString()), "val");
	EXPECT_EQ(Reader->GetCharacterNumber(), 11u);

	ASSERT_TRUE(Reader->ReadNext(Notation));
	EXPECT_EQ(Notation, EJsonNotation::Number);
	EXPECT_EQ(Utf8(Reader->GetIdentifier()), "n");
	EXPECT_EQ(Reader->GetValueAsNumber(), 12.5);
	EXPECT_EQ(Utf8(Reader->GetValueAsNumberString()), "12.5");
	EXPECT_EQ(Reader->GetLineNumber(), 2u);
	EXPECT_EQ(Reader->GetCharacterNumber(), 10u);

	ASSERT_TRUE(Reader->ReadNext(Notation));
	EXPECT_EQ(Notation, EJsonNotation::ArrayStart);
	EXPECT_EQ(Utf8(Reader->GetIdentifier()), "a");
	ASSERT_TRUE(Reader->SkipArray());
	ASSERT_TRUE(Reader->ReadNext(Notation));
	EXPECT_EQ(Notation, EJsonNotation::ObjectEnd);
	EXPECT_FALSE(Reader->ReadNext(Notation));
	EXPECT_TRUE(Reader->GetErrorMessage().IsEmpty());
}

TEST(HostJsonReader, ViewAndArchiveReaders)
{
	const FString Text(TEXT("{\"a\":[1,2]}"));
	TSharedPtr<FJsonObject> Object;
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::CreateFromView(FStringView(Text)), Object));
	EXPECT_EQ(Object->GetArrayField(TEXT("a")).Num(), 2);

	FBufferReader Archive((void*)*Text, Text.Len() * (int64)sizeof(TCHAR), false);
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(&Archive), Object));
	EXPECT_EQ(Object->GetArrayField(TEXT("a")).Num(), 2);

	// An escape cut off by the end of the stream is a read error, not a read past the end.
	const FString Cut(TEXT("[\"\\"));
	EXPECT_EQ(ParseError(Utf8(Cut)), "Stream I/O Error Line: 1 Ch: 3");
}
