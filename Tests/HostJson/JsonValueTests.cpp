// Copyright Quarn. All Rights Reserved.

#include "JsonTestSupport.h"

#include <gtest/gtest.h>
#include <limits>

using namespace JsonTest;

namespace
{
	template <typename T>
	bool TryNumber(double Value, T& Out)
	{
		return FJsonValueNumber(Value).TryGetNumber(Out);
	}

	template <typename T>
	T NumberAs(double Value, T Untouched)
	{
		T Out = Untouched;
		TryNumber(Value, Out);
		return Out;
	}
} // namespace

TEST(HostJsonValue, IntegerReadsRoundHalfAwayFromZero)
{
	EXPECT_EQ(NumberAs<int32>(2.5, 0), 3);
	EXPECT_EQ(NumberAs<int32>(-2.5, 0), -3);
	EXPECT_EQ(NumberAs<int32>(2.4, 0), 2);
	EXPECT_EQ(NumberAs<int32>(0.5, 0), 1);
	EXPECT_EQ(NumberAs<int32>(-0.5, 0), -1);
	EXPECT_EQ(NumberAs<int32>(0.4999999999999997, 7), 0);
	EXPECT_EQ(NumberAs<int64>(0.49999999999999994, 7), 0);
	EXPECT_EQ(NumberAs<int64>(9007199254740991.0, 0), 9007199254740991ll);
	EXPECT_EQ(NumberAs<int64>(-9007199254740991.0, 0), -9007199254740991ll);
	EXPECT_EQ(NumberAs<int64>(4503599627370497.0, 0), 4503599627370497ll);
	EXPECT_EQ(NumberAs<uint64>(18446744073709549568.0, 0), 18446744073709549568ull);
}

TEST(HostJsonValue, IntegerReadsCheckTheRangeBeforeRounding)
{
	int32 I32 = 5;
	EXPECT_FALSE(TryNumber(2147483647.000001, I32));
	EXPECT_FALSE(TryNumber(-2147483648.000001, I32));
	EXPECT_FALSE(TryNumber(1e20, I32));
	EXPECT_FALSE(TryNumber(std::numeric_limits<double>::quiet_NaN(), I32));
	EXPECT_FALSE(TryNumber(std::numeric_limits<double>::infinity(), I32));
	EXPECT_EQ(I32, 5);
	EXPECT_EQ(NumberAs<int32>(2147483646.5, 0), 2147483647);
	// The range check is on the raw value, so a fraction above the maximum fails even if it would
	// round down into range.
	EXPECT_FALSE(TryNumber(2147483647.4, I32));
	EXPECT_EQ(NumberAs<int32>(-2147483647.5, 0), -2147483647 - 1);

	uint32 U32 = 9;
	EXPECT_FALSE(TryNumber(-0.000000000000001, U32));
	EXPECT_FALSE(TryNumber(-0.4, U32));
	EXPECT_EQ(U32, 9u);
	EXPECT_EQ(NumberAs<uint32>(4294967294.5, 0), 4294967295u);
	EXPECT_EQ(NumberAs<uint32>(-0.0, 9), 0u);

	int8 I8 = 0;
	EXPECT_TRUE(TryNumber(127.0, I8));
	EXPECT_FALSE(TryNumber(128.0, I8));
	EXPECT_EQ(I8, 127);
	uint16 U16 = 0;
	EXPECT_FALSE(TryNumber(65536.0, U16));
	int64 I64 = 1;
	EXPECT_FALSE(TryNumber(9223372036854775808.0, I64));
	EXPECT_TRUE(TryNumber(-9223372036854775808.0, I64));
	EXPECT_EQ(I64, std::numeric_limits<int64>::min());
	uint64 U64 = 1;
	EXPECT_FALSE(TryNumber(18446744073709551616.0, U64));
	EXPECT_EQ(U64, 1u);
}

TEST(HostJsonValue, ObjectFieldReadsInto32BitFields)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"a\":2.7,\"b\":-2.7,\"c\":3000000000,\"d\":\"12\",\"e\":true,\"big\":1e20}");
	ASSERT_TRUE(Object.IsValid());
	int32 Value = -1;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("a"), Value));
	EXPECT_EQ(Value, 3);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("b"), Value));
	EXPECT_EQ(Value, -3);
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("c"), Value));
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("missing"), Value));
	EXPECT_EQ(Value, -3);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("d"), Value));
	EXPECT_EQ(Value, 12);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("e"), Value));
	EXPECT_EQ(Value, 1);

	// GetIntegerField truncates instead of rounding; out of range gives the x86 "indefinite" value.
	EXPECT_EQ(Object->GetIntegerField(TEXT("a")), 2);
	EXPECT_EQ(Object->GetIntegerField(TEXT("b")), -2);
	EXPECT_EQ(Object->GetIntegerField(TEXT("big")), std::numeric_limits<int32>::min());

	uint32 Unsigned = 0;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("c"), Unsigned));
	EXPECT_EQ(Unsigned, 3000000000u);
}

TEST(HostJsonValue, StringToNumberCoercionIsAsymmetric)
{
	const FJsonValueString Decimal(TEXT("12.7"));
	double Double = 0;
	EXPECT_TRUE(Decimal.TryGetNumber(Double));
	EXPECT_EQ(Double, 12.7);
	int32 I32 = 0;
	EXPECT_TRUE(Decimal.TryGetNumber(I32));
	EXPECT_EQ(I32, 12);
	int16 I16 = 0;
	EXPECT_TRUE(Decimal.TryGetNumber(I16));
	EXPECT_EQ(I16, 13);

	const FJsonValueString Word(TEXT("abc"));
	float Float = 1;
	int8 I8 = 1;
	uint16 U16 = 1;
	EXPECT_FALSE(Word.TryGetNumber(Double));
	EXPECT_FALSE(Word.TryGetNumber(Float));
	EXPECT_FALSE(Word.TryGetNumber(I8));
	EXPECT_FALSE(Word.TryGetNumber(U16));
	int64 I64 = 1;
	uint32 U32 = 1;
	uint64 U64 = 1;
	EXPECT_TRUE(Word.TryGetNumber(I32));
	EXPECT_TRUE(Word.TryGetNumber(I64));
	EXPECT_TRUE(Word.TryGetNumber(U32));
	EXPECT_TRUE(Word.TryGetNumber(U64));
	EXPECT_EQ(I32, 0);
	EXPECT_EQ(I64, 0);
	EXPECT_EQ(U32, 0u);
	EXPECT_EQ(U64, 0u);

	const FJsonValueString Exponent(TEXT("1e5"));
	EXPECT_FALSE(Exponent.TryGetNumber(Double));
	EXPECT_TRUE(Exponent.TryGetNumber(I32));
	EXPECT_EQ(I32, 1);
}

TEST(HostJsonValue, NumberAndBoolToStringAndBack)
{
	const auto Text = [](double Value)
	{
		FString Out;
		EXPECT_TRUE(FJsonValueNumber(Value).TryGetString(Out));
		return Utf8(Out);
	};
	EXPECT_EQ(Text(42), "42");
	EXPECT_EQ(Text(2.5), "2.5");
	EXPECT_EQ(Text(0.1), "0.1");
	EXPECT_EQ(Text(1234567.891), "1234567.891");
	EXPECT_EQ(Text(1.23456789), "1.234568");
	EXPECT_EQ(Text(1e-7), "0");
	EXPECT_EQ(Text(-0.0), "0");

	const TSharedPtr<FJsonObject> Object = ParseObject("{\"n\":3,\"z\":0,\"t\":true,\"f\":false,\"s\":\"Yes\",\"s0\":\"0\",\"s2\":\"2\",\"sx\":\"maybe\",\"o\":{},\"a\":[],\"nul\":null}");
	ASSERT_TRUE(Object.IsValid());
	FString String;
	EXPECT_TRUE(Object->TryGetStringField(TEXT("n"), String));
	EXPECT_EQ(Utf8(String), "3");
	EXPECT_TRUE(Object->TryGetStringField(TEXT("t"), String));
	EXPECT_EQ(Utf8(String), "true");
	EXPECT_FALSE(Object->TryGetStringField(TEXT("o"), String));
	EXPECT_FALSE(Object->TryGetStringField(TEXT("a"), String));
	EXPECT_FALSE(Object->TryGetStringField(TEXT("nul"), String));
	EXPECT_FALSE(Object->TryGetStringField(TEXT("missing"), String));
	EXPECT_EQ(Utf8(Object->GetStringField(TEXT("f"))), "false");

	bool Bool = false;
	EXPECT_TRUE(Object->TryGetBoolField(TEXT("n"), Bool));
	EXPECT_TRUE(Bool);
	EXPECT_TRUE(Object->TryGetBoolField(TEXT("z"), Bool));
	EXPECT_FALSE(Bool);
	EXPECT_TRUE(Object->GetBoolField(TEXT("s")));
	EXPECT_FALSE(Object->GetBoolField(TEXT("s0")));
	EXPECT_TRUE(Object->GetBoolField(TEXT("s2")));
	EXPECT_TRUE(Object->TryGetBoolField(TEXT("sx"), Bool));
	EXPECT_FALSE(Bool);
	EXPECT_FALSE(Object->TryGetBoolField(TEXT("nul"), Bool));
	EXPECT_EQ(Object->GetNumberField(TEXT("t")), 1.0);
	EXPECT_EQ(Object->GetNumberField(TEXT("f")), 0.0);
}

TEST(HostJsonValue, FailedReadsLogWithTheEngineVerbosity)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"n\":1,\"nul\":null}");
	ASSERT_TRUE(Object.IsValid());
	FJsonLogCapture Capture;

	EXPECT_EQ(Object->GetNumberField(TEXT("missing")), 0.0);
	std::vector<FLogLine> Lines = Capture.Take();
	ASSERT_EQ(Lines.size(), 2u);
	EXPECT_EQ(Lines[0].Text, "Field missing was not found.");
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);
	EXPECT_EQ(Lines[1].Text, "Json Value of type 'Null' used as a 'Number'.");
	EXPECT_EQ(Lines[1].Verbosity, ELogVerbosity::Warning);

	// A real mismatch (not a null) is an error.
	EXPECT_EQ(Object->GetArrayField(TEXT("n")).Num(), 0);
	Lines = Capture.Take();
	ASSERT_EQ(Lines.size(), 2u);
	EXPECT_EQ(Lines[0].Text, "Field n is of the wrong type.");
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);
	EXPECT_EQ(Lines[1].Text, "Json Value of type 'Null' used as a 'Array'.");

	const TSharedPtr<FJsonValue> Number = Object->GetField<EJson::None>(TEXT("n"));
	EXPECT_TRUE(Number->AsString() == TEXT("1"));
	EXPECT_FALSE(Number->AsBool() == false);
	EXPECT_TRUE(Capture.Take().empty());
	Number->AsArray();
	Lines = Capture.Take();
	ASSERT_EQ(Lines.size(), 1u);
	EXPECT_EQ(Lines[0].Text, "Json Value of type 'Number' used as a 'Array'.");
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Error);

	Object->GetField<EJson::None>(TEXT("nul"))->AsString();
	Lines = Capture.Take();
	ASSERT_EQ(Lines.size(), 1u);
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);

	// Try* never logs.
	double Double;
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("missing"), Double));
	EXPECT_FALSE(Object->TryGetField(TEXT("missing")).IsValid());
	EXPECT_TRUE(Capture.Take().empty());
}

TEST(HostJsonValue, AsObjectAndGetObjectFieldReturnAValidEmptyObject)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"n\":1,\"o\":{\"k\":\"v\"}}");
	ASSERT_TRUE(Object.IsValid());
	FJsonLogCapture Capture;

	const TSharedPtr<FJsonObject>& Missing = Object->GetObjectField(TEXT("missing"));
	ASSERT_TRUE(Missing.IsValid());
	EXPECT_EQ(Missing->Values.Num(), 0);
	const TSharedPtr<FJsonObject>& FromNumber = Object->GetField<EJson::None>(TEXT("n"))->AsObject();
	ASSERT_TRUE(FromNumber.IsValid());
	EXPECT_EQ(FromNumber->Values.Num(), 0);
	EXPECT_EQ(Capture.Take().size(), 3u);

	const TSharedPtr<FJsonObject>* Inner = nullptr;
	ASSERT_TRUE(Object->TryGetObjectField(TEXT("O"), Inner));
	EXPECT_EQ(Utf8((*Inner)->GetStringField(TEXT("k"))), "v");
	EXPECT_FALSE(Object->TryGetObjectField(TEXT("n"), Inner));
	EXPECT_TRUE(Capture.Take().empty());
}

TEST(HostJsonValue, StringArrayFieldAppendsAndStopsAtTheFirstFailure)
{
	const TSharedPtr<FJsonObject> Object = ParseObject("{\"ok\":[\"a\",2,true],\"bad\":[\"x\",null,\"y\"],\"no\":\"a\"}");
	ASSERT_TRUE(Object.IsValid());
	TArray<FString> Strings;
	Strings.Add(TEXT("kept"));
	EXPECT_TRUE(Object->TryGetStringArrayField(TEXT("ok"), Strings));
	ASSERT_EQ(Strings.Num(), 4);
	EXPECT_EQ(Utf8(Strings[0]), "kept");
	EXPECT_EQ(Utf8(Strings[2]), "2");
	EXPECT_EQ(Utf8(Strings[3]), "true");

	Strings.Reset();
	EXPECT_FALSE(Object->TryGetStringArrayField(TEXT("bad"), Strings));
	ASSERT_EQ(Strings.Num(), 1);
	EXPECT_EQ(Utf8(Strings[0]), "x");
	EXPECT_FALSE(Object->TryGetStringArrayField(TEXT("no"), Strings));
}

TEST(HostJsonValue, CompareEqualFollowsTheEngineCoercions)
{
	const auto Equal = [](const TSharedRef<FJsonValue>& A, const TSharedRef<FJsonValue>& B)
	{
		const bool bForward = *A == *B;
		EXPECT_EQ(bForward, *B == *A);
		return bForward;
	};
	const auto Str = [](const TCHAR* Text) -> TSharedRef<FJsonValue> { return MakeShared<FJsonValueString>(Text); };
	const auto Num = [](double Value) -> TSharedRef<FJsonValue> { return MakeShared<FJsonValueNumber>(Value); };
	const auto Bool = [](bool bValue) -> TSharedRef<FJsonValue> { return MakeShared<FJsonValueBoolean>(bValue); };

	EXPECT_TRUE(Equal(Str(TEXT("abc")), Str(TEXT("ABC"))));
	EXPECT_TRUE(Equal(Bool(true), Str(TEXT("TRUE"))));
	EXPECT_TRUE(Equal(Bool(true), Str(TEXT("1"))));
	EXPECT_FALSE(Equal(Bool(true), Str(TEXT("yes"))));
	EXPECT_TRUE(Equal(Bool(false), Num(0)));
	EXPECT_FALSE(Equal(Bool(true), Num(2)));
	EXPECT_TRUE(Equal(Num(1), Str(TEXT("1"))));
	EXPECT_TRUE(Equal(Num(1.5), Str(TEXT("1.5"))));
	EXPECT_FALSE(Equal(Num(1), Str(TEXT("1x"))));
	EXPECT_TRUE(Equal(Num(2), Num(2)));
	EXPECT_FALSE(Equal(Num(2), MakeShared<FJsonValueNull>()));
	EXPECT_TRUE(Equal(MakeShared<FJsonValueNull>(), MakeShared<FJsonValueNull>()));
	// A number kept as text compares as text, and text of different kinds compares exactly.
	EXPECT_FALSE(Equal(MakeShared<FJsonValueNumberString>(TEXT("1E5")), Str(TEXT("1e5"))));
	EXPECT_TRUE(Equal(MakeShared<FJsonValueNumberString>(TEXT("1e5")), Str(TEXT("1e5"))));

	const TSharedPtr<FJsonObject> A = ParseObject("{\"Key\":[1,\"x\"],\"o\":{\"n\":null}}");
	const TSharedPtr<FJsonObject> B = ParseObject("{\"O\":{\"N\":null},\"key\":[1,\"X\"]}");
	const TSharedPtr<FJsonObject> C = ParseObject("{\"Key\":[1,\"x\",2],\"o\":{\"n\":null}}");
	EXPECT_TRUE(Equal(MakeShared<FJsonValueObject>(A), MakeShared<FJsonValueObject>(B)));
	EXPECT_FALSE(Equal(MakeShared<FJsonValueObject>(A), MakeShared<FJsonValueObject>(C)));
}

TEST(HostJsonValue, DuplicateMakesDeepCopies)
{
	const TSharedPtr<FJsonObject> Source = ParseObject("{\"a\":{\"b\":[1,{\"c\":\"d\"}]},\"n\":null}");
	ASSERT_TRUE(Source.IsValid());
	const TSharedPtr<FJsonObject> Copy = MakeShared<FJsonObject>();
	FJsonObject::Duplicate(Source, Copy);
	EXPECT_EQ(Condensed(Copy), "{\"a\":{\"b\":[1,{\"c\":\"d\"}]},\"n\":null}");

	Source->GetObjectField(TEXT("a"))->SetStringField(TEXT("b"), TEXT("changed"));
	EXPECT_EQ(Condensed(Copy), "{\"a\":{\"b\":[1,{\"c\":\"d\"}]},\"n\":null}");

	EXPECT_FALSE(FJsonValue::Duplicate(TSharedPtr<FJsonValue>()).IsValid());
	const TSharedPtr<FJsonValue> Number = FJsonValue::Duplicate(TSharedPtr<FJsonValue>(MakeShared<FJsonValueNumberString>(TEXT("7"))));
	ASSERT_TRUE(Number.IsValid());
	EXPECT_FALSE(Number->PreferStringRepresentation());
	EXPECT_EQ(Number->AsNumber(), 7.0);
}

TEST(HostJsonValue, SetAndRemoveFields)
{
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetStringField(TEXT("s"), FString(TEXT("v")));
	Object->SetStringField(TEXT("t"), "ansi");
	Object->SetNumberField(FString(TEXT("n")), 4);
	Object->SetField(TEXT("null"), MakeShared<FJsonValueNull>());
	EXPECT_TRUE(Object->HasField(TEXT("null")));
	EXPECT_TRUE(Object->HasTypedField<EJson::Null>(TEXT("NULL")));
	EXPECT_EQ(Utf8(Object->GetStringField(TEXT("t"))), "ansi");

	Object->RemoveIf([](const UE::FSharedString& Key, TSharedPtr<const FJsonValue> Value) { return Value->Type == EJson::String; });
	EXPECT_EQ(Condensed(Object), "{\"n\":4,\"null\":null}");
	Object->RemoveField(TEXT("N"));
	EXPECT_FALSE(Object->HasField(TEXT("n")));
	EXPECT_EQ(Object->Values.Num(), 1);
	EXPECT_TRUE(Object->GetStringSet().IsValid());
}
