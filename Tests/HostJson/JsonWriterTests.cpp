// Copyright Quarn. All Rights Reserved.

#include "JsonTestSupport.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace JsonTest;

namespace
{
	/** Text given with "\n" line ends, as the pretty printer writes it on this platform (LINE_TERMINATOR). */
	std::string Eol(const std::string& Text)
	{
		std::string Out;
		for (const char C : Text)
		{
			Out += C == '\n' ? std::string(LINE_TERMINATOR_ANSI) : std::string(1, C);
		}
		return Out;
	}

	// {"a":1,"b":{"c":[1,{"d":true}]},"e":{}}, fields added in that order.
	TSharedPtr<FJsonObject> MakeWorkedExample()
	{
		TSharedPtr<FJsonObject> D = MakeShared<FJsonObject>();
		D->SetBoolField(TEXT("d"), true);

		TArray<TSharedPtr<FJsonValue>> C;
		C.Add(MakeShared<FJsonValueNumber>(1));
		C.Add(MakeShared<FJsonValueObject>(D));

		TSharedPtr<FJsonObject> B = MakeShared<FJsonObject>();
		B->SetArrayField(TEXT("c"), C);

		TSharedPtr<FJsonObject> Root = MakeShared<FJsonObject>();
		Root->SetNumberField(TEXT("a"), 1);
		Root->SetObjectField(TEXT("b"), B);
		Root->SetObjectField(TEXT("e"), MakeShared<FJsonObject>());
		return Root;
	}

	std::string NumberBody(double Value)
	{
		TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
		Object->SetNumberField(TEXT("n"), Value);
		return Condensed(Object);
	}

	std::string StringBody(const FString& Value)
	{
		TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
		Object->SetStringField(TEXT("s"), Value);
		return Condensed(Object);
	}
} // namespace

TEST(HostJsonWriter, PrettyWorkedExampleMatchesTheEngineByteForByte)
{
	const std::string Expected = Eol(
		"{\n"
		"\t\"a\": 1,\n"
		"\t\"b\":\n"
		"\t{\n"
		"\t\t\"c\": [\n"
		"\t\t\t1,\n"
		"\t\t\t{\n"
		"\t\t\t\t\"d\": true\n"
		"\t\t\t}\n"
		"\t\t]\n"
		"\t},\n"
		"\t\"e\":\n"
		"\t{\n"
		"\t}\n"
		"}");
	EXPECT_EQ(Pretty(MakeWorkedExample()), Expected);
}

TEST(HostJsonWriter, CondensedWorkedExampleHasNoWhitespace)
{
	EXPECT_EQ(Condensed(MakeWorkedExample()), "{\"a\":1,\"b\":{\"c\":[1,{\"d\":true}]},\"e\":{}}");
}

TEST(HostJsonWriter, EmptyContainersAtTheTopAndInside)
{
	EXPECT_EQ(Pretty(MakeShared<FJsonObject>()), Eol("{\n}"));
	EXPECT_EQ(Condensed(MakeShared<FJsonObject>()), "{}");

	TArray<TSharedPtr<FJsonValue>> Empty;
	FString Out;
	ASSERT_TRUE(FJsonSerializer::Serialize(Empty, TJsonWriterFactory<>::Create(&Out)));
	EXPECT_EQ(Utf8(Out), "[]");
	EXPECT_EQ(Condensed(Empty), "[]");

	// An empty array stays on its key's line; arrays in arrays open on their own line.
	TArray<TSharedPtr<FJsonValue>> Inner;
	TArray<TSharedPtr<FJsonValue>> Outer;
	Outer.Add(MakeShared<FJsonValueArray>(Inner));
	Outer.Add(MakeShared<FJsonValueObject>(MakeShared<FJsonObject>()));
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetArrayField(TEXT("x"), Empty);
	Object->SetArrayField(TEXT("y"), Outer);
	EXPECT_EQ(Pretty(Object), Eol("{\n\t\"x\": [],\n\t\"y\": [\n\t\t[],\n\t\t{\n\t\t}\n\t]\n}"));
}

TEST(HostJsonWriter, TopLevelArrayOfScalars)
{
	TArray<TSharedPtr<FJsonValue>> Array;
	Array.Add(MakeShared<FJsonValueString>(TEXT("a")));
	Array.Add(MakeShared<FJsonValueNull>());
	Array.Add(MakeShared<FJsonValueBoolean>(false));
	FString Out;
	ASSERT_TRUE(FJsonSerializer::Serialize(Array, TJsonWriterFactory<>::Create(&Out)));
	EXPECT_EQ(Utf8(Out), Eol("[\n\t\"a\",\n\tnull,\n\tfalse\n]"));
	EXPECT_EQ(Condensed(Array), "[\"a\",null,false]");
}

TEST(HostJsonWriter, NumbersUseSeventeenSignificantDigits)
{
	EXPECT_EQ(NumberBody(1.0), "{\"n\":1}");
	EXPECT_EQ(NumberBody(3.0), "{\"n\":3}");
	EXPECT_EQ(NumberBody(-12.0), "{\"n\":-12}");
	EXPECT_EQ(NumberBody(1.5), "{\"n\":1.5}");
	EXPECT_EQ(NumberBody(0.1), "{\"n\":0.10000000000000001}");
	EXPECT_EQ(NumberBody(-0.0), "{\"n\":-0}");
	EXPECT_EQ(NumberBody(1e16), "{\"n\":10000000000000000}");
	EXPECT_EQ(NumberBody(1e17), "{\"n\":1e+17}");
	EXPECT_EQ(NumberBody(9007199254740991.0), "{\"n\":9007199254740991}");
	// 2^53 + 1 is not a double: it was rounded before it reached the writer.
	EXPECT_EQ(NumberBody(9007199254740993.0), "{\"n\":9007199254740992}");
	EXPECT_EQ(NumberBody(std::nan("")), "{\"n\":nan}");
}

TEST(HostJsonWriter, NumbersKeptAsTextAreWrittenUnchanged)
{
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetField(TEXT("id"), MakeShared<FJsonValueNumberString>(TEXT("9007199254740993")));
	TArray<TSharedPtr<FJsonValue>> Array;
	Array.Add(MakeShared<FJsonValueNumberString>(TEXT("0.1")));
	Object->SetArrayField(TEXT("list"), Array);
	EXPECT_EQ(Condensed(Object), "{\"id\":9007199254740993,\"list\":[0.1]}");
	// Raw text right after an opening bracket follows a space, not a new line, as the engine writes it.
	EXPECT_EQ(Pretty(Object), Eol("{\n\t\"id\": 9007199254740993,\n\t\"list\": [ 0.1\n\t]\n}"));
}

TEST(HostJsonWriter, StringEscaping)
{
	EXPECT_EQ(StringBody(TEXT("q\"b\\s/")), "{\"s\":\"q\\\"b\\\\s/\"}");
	EXPECT_EQ(StringBody(TEXT("\n\t\b\f\r")), "{\"s\":\"\\n\\t\\b\\f\\r\"}");

	// Other control characters use lower-case \u escapes; DEL and non-ASCII are written as is.
	FString Controls;
	Controls.AppendChar(TCHAR(0x01));
	Controls.AppendChar(TCHAR(0x1F));
	Controls.AppendChar(TCHAR(0x7F));
	EXPECT_EQ(StringBody(Controls), "{\"s\":\"\\u0001\\u001f\x7f\"}");
	EXPECT_EQ(StringBody(FromUtf8("\xCE\xB1\xE0\xB8\x81\xE6\x97\xA5\xF0\x9F\x98\x80")), "{\"s\":\"\xCE\xB1\xE0\xB8\x81\xE6\x97\xA5\xF0\x9F\x98\x80\"}");

	// Keys are escaped the same way.
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetBoolField(TEXT("a\"b\n"), true);
	EXPECT_EQ(Condensed(Object), "{\"a\\\"b\\n\":true}");

	EXPECT_EQ(Utf8(EscapeJsonString(TEXT("x\"\x1f"))), "\"x\\\"\\u001f\"");
}

TEST(HostJsonWriter, FieldsComeOutInInsertionOrderAndReplacementKeepsThePosition)
{
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetStringField(TEXT("kind"), TEXT("move"));
	Object->SetNumberField(TEXT("qty"), 2);
	Object->SetStringField(TEXT("to"), TEXT("bag"));
	Object->SetNumberField(TEXT("QTY"), 5);
	EXPECT_EQ(Condensed(Object), "{\"kind\":\"move\",\"QTY\":5,\"to\":\"bag\"}");

	Object->RemoveField(TEXT("kind"));
	Object->SetBoolField(TEXT("last"), true);
	EXPECT_EQ(Object->Values.Num(), 3);
	EXPECT_NE(Condensed(Object).find("\"last\":true"), std::string::npos);
}

TEST(HostJsonWriter, NullObjectFieldIsWrittenAsNull)
{
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetObjectField(TEXT("o"), TSharedPtr<FJsonObject>());
	EXPECT_TRUE(Object->HasTypedField<EJson::Null>(TEXT("o")));
	// A value that holds no object and an empty slot cannot be dereferenced: both print null.
	Object->SetField(TEXT("p"), MakeShared<FJsonValueObject>(TSharedPtr<FJsonObject>()));
	Object->SetField(TEXT("q"), TSharedPtr<FJsonValue>());
	EXPECT_EQ(Condensed(Object), "{\"o\":null,\"p\":null,\"q\":null}");
}

TEST(HostJsonWriter, OutputStringIsFilledOnCloseAndReplaced)
{
	FString Out(TEXT("old text"));
	{
		const TSharedRef<TJsonWriter<>> Writer = TJsonWriterFactory<>::Create(&Out);
		Writer->WriteObjectStart();
		Writer->WriteValue(TEXT("k"), 1);
		Writer->WriteObjectEnd();
		EXPECT_EQ(Utf8(Out), "old text");
		EXPECT_TRUE(Writer->Close());
	}
	EXPECT_EQ(Utf8(Out), Eol("{\n\t\"k\": 1\n}"));
}

TEST(HostJsonWriter, CloseReportsIncompleteDocuments)
{
	FString Out;
	const TSharedRef<TJsonWriter<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>> Writer = TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Out);
	EXPECT_TRUE(Writer->Close());
	Writer->WriteArrayStart();
	Writer->WriteValue(1);
	EXPECT_FALSE(Writer->Close());
	EXPECT_EQ(Utf8(Out), "[1");
	Writer->WriteArrayEnd();
	EXPECT_TRUE(Writer->Close());
	EXPECT_EQ(Utf8(Out), "[1]");
}

TEST(HostJsonWriter, DirectWriterCallsAndInitialIndent)
{
	FString Out;
	const TSharedRef<TJsonWriter<>> Writer = TJsonWriterFactory<>::Create(&Out, 1);
	Writer->WriteObjectStart();
	Writer->WriteValue(TEXT("i32"), (int32)-7);
	Writer->WriteValue(TEXT("u64"), (uint64)18446744073709551615ull);
	Writer->WriteValue(TEXT("f"), 0.1f);
	Writer->WriteValue(FText::FromString(TEXT("s")), FString(TEXT("v")));
	Writer->WriteNull(TEXT("z"));
	Writer->WriteIdentifierPrefix(TEXT("raw"));
	Writer->WriteRawJSONValue(TEXT("[1,2]"));
	Writer->WriteArrayStart(TEXT("arr"));
	Writer->WriteValue(true);
	Writer->WriteValue(TEXT("x"));
	Writer->WriteArrayEnd();
	Writer->WriteObjectEnd();
	ASSERT_TRUE(Writer->Close());
	EXPECT_EQ(Utf8(Out), Eol(
		"{\n"
		"\t\t\"i32\": -7,\n"
		"\t\t\"u64\": 18446744073709551615,\n"
		"\t\t\"f\": 0.1,\n"
		"\t\t\"s\": \"v\",\n"
		"\t\t\"z\": null,\n"
		"\t\t\"raw\": \n"
		"\t\t[1,2],\n"
		"\t\t\"arr\": [\n"
		"\t\t\ttrue,\n"
		"\t\t\t\"x\"\n"
		"\t\t]\n"
		"\t}"));
}

TEST(HostJsonWriter, SerializeValueWithIdentifierOnlyUsesTheKeyInsideObjects)
{
	FString Out;
	const TSharedRef<TJsonWriter<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>> Writer = TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Out);
	Writer->WriteArrayStart();
	EXPECT_TRUE(FJsonSerializer::Serialize(MakeShared<FJsonValueString>(TEXT("a")), FString(), Writer, false));
	Writer->WriteObjectStart();
	EXPECT_TRUE(FJsonSerializer::Serialize(MakeShared<FJsonValueNumber>(2), FString(), Writer, false));
	EXPECT_TRUE(FJsonSerializer::Serialize(MakeShared<FJsonValueNumber>(3), FString(TEXT("k")), Writer, false));
	Writer->WriteObjectEnd();
	Writer->WriteArrayEnd();
	EXPECT_TRUE(Writer->Close());
	EXPECT_EQ(Utf8(Out), "[\"a\",{\"\":2,\"k\":3}]");
}

TEST(HostJsonWriter, RoundTripThroughTheReaderKeepsEveryValue)
{
	const std::string Text = "{\"name\":\"Sw\\u00f6rd \\ud83d\\ude00\",\"qty\":3,\"tags\":[\"a\",\"b\"],\"meta\":{\"n\":null,\"ok\":false},\"neg\":-0.5}";
	const TSharedPtr<FJsonObject> Object = ParseObject(Text);
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Condensed(Object), "{\"name\":\"Sw\xC3\xB6rd \xF0\x9F\x98\x80\",\"qty\":3,\"tags\":[\"a\",\"b\"],\"meta\":{\"n\":null,\"ok\":false},\"neg\":-0.5}");
	const TSharedPtr<FJsonObject> Again = ParseObject(Pretty(Object));
	ASSERT_TRUE(Again.IsValid());
	EXPECT_TRUE(FJsonValueObject(Object) == FJsonValueObject(Again));
	EXPECT_EQ(Condensed(Again), Condensed(Object));
}

TEST(HostJsonWriter, PrettyLinesEndWithTheTargetPlatformsTerminator)
{
	// The engine's Windows build writes CR LF, every other platform LF; a host build targets one.
#if defined(HOST_WINDOWS_LINE_TERMINATOR) && HOST_WINDOWS_LINE_TERMINATOR
	EXPECT_STREQ(LINE_TERMINATOR_ANSI, "\r\n");
	EXPECT_EQ(Pretty(MakeShared<FJsonObject>()), "{\r\n}");
#else
	EXPECT_STREQ(LINE_TERMINATOR_ANSI, "\n");
	EXPECT_EQ(Pretty(MakeShared<FJsonObject>()), "{\n}");
#endif
	EXPECT_EQ(FString(LINE_TERMINATOR), FString(UTF8_TO_TCHAR(LINE_TERMINATOR_ANSI)));
	// No line end of the other platform slips in: every CR is followed by LF and LF count equals line count.
	const std::string Body = Pretty(MakeWorkedExample());
	size_t Lf = 0;
	size_t Cr = 0;
	for (const char C : Body)
	{
		Lf += C == '\n';
		Cr += C == '\r';
	}
	EXPECT_EQ(Lf, 14u);
	EXPECT_EQ(Cr, std::string(LINE_TERMINATOR_ANSI).size() == 2 ? 14u : 0u);
}
