// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Misc/StringBuilder.h"
#include <gtest/gtest.h>
#include <cmath>
#include <string>

namespace
{
	std::string Utf8(const FString& S)
	{
		FTCHARToUTF8 Converted(*S);
		return std::string(Converted.Get(), Converted.Length());
	}
}

#define EXPECT_FSTR(Actual, Expected) EXPECT_EQ(Utf8(Actual), std::string(Expected))

TEST(HostCoreString, OperatorsIgnoreCaseButEqualsDoesNot)
{
	const FString A(TEXT("Hello"));
	const FString B(TEXT("HELLO"));
	EXPECT_TRUE(A == B);
	EXPECT_TRUE(A == TEXT("hello"));
	EXPECT_FALSE(A.Equals(B));
	EXPECT_TRUE(A.Equals(B, ESearchCase::IgnoreCase));
	EXPECT_NE(A.Compare(B), 0);
	EXPECT_EQ(A.Compare(B, ESearchCase::IgnoreCase), 0);
	EXPECT_EQ(GetTypeHash(A), GetTypeHash(B));
	EXPECT_EQ(GetTypeHash(A), GetTypeHash(FStringView(TEXT("hElLo"))));
	EXPECT_TRUE(FString() == FString(TEXT("")));
	EXPECT_TRUE(FString().Equals(FString(TEXT(""))));
	EXPECT_FALSE(FString(TEXT("a")) < FString(TEXT("A")));
	EXPECT_TRUE(FString(TEXT("a")) < FString(TEXT("B")));
	// Only ASCII letters fold.
	EXPECT_FALSE(FString(TEXT("\u00e9")) == FString(TEXT("\u00c9")));
}

TEST(HostCoreString, MapAndSetKeysIgnoreCase)
{
	TMap<FString, int32> Map;
	Map.Add(TEXT("Key"), 1);
	Map.Add(TEXT("KEY"), 2);
	EXPECT_EQ(Map.Num(), 1);
	EXPECT_EQ(Map[TEXT("key")], 2);
	// The replacing pair's key spelling is kept.
	for (const auto& Pair : Map)
	{
		EXPECT_FSTR(Pair.Key, "KEY");
	}
	const FStringView Probe(TEXT("kEy"));
	EXPECT_NE(Map.FindByHash(GetTypeHash(Probe), Probe), nullptr);
	TSet<FString> Set = { TEXT("a"), TEXT("A"), TEXT("b") };
	EXPECT_EQ(Set.Num(), 2);
	TArray<FString> Array = { TEXT("One") };
	EXPECT_TRUE(Array.Contains(TEXT("ONE")));
}

TEST(HostCoreString, SearchDefaultsIgnoreCase)
{
	const FString S(TEXT("Hello World"));
	EXPECT_EQ(S.Find(TEXT("world")), 6);
	EXPECT_EQ(S.Find(TEXT("world"), ESearchCase::CaseSensitive), INDEX_NONE);
	EXPECT_EQ(S.Find(TEXT("o"), ESearchCase::IgnoreCase, ESearchDir::FromEnd), 7);
	EXPECT_EQ(S.Find(TEXT("o"), ESearchCase::IgnoreCase, ESearchDir::FromStart, 5), 7);
	EXPECT_TRUE(S.Contains(TEXT("WORLD")));
	EXPECT_TRUE(S.Contains(TEXT("")));
	EXPECT_TRUE(S.StartsWith(TEXT("hello")));
	EXPECT_FALSE(S.StartsWith(TEXT("hello"), ESearchCase::CaseSensitive));
	EXPECT_FALSE(S.StartsWith(TEXT("")));
	EXPECT_FALSE(S.EndsWith(TEXT("")));
	EXPECT_TRUE(S.EndsWith(TEXT("LD")));
	EXPECT_FSTR(S.Replace(TEXT("L"), TEXT("_")), "He__o Wor_d");
	EXPECT_FSTR(S.Replace(TEXT("L"), TEXT("_"), ESearchCase::CaseSensitive), "Hello World");
	EXPECT_FSTR(S.Replace(TEXT(""), TEXT("x")), "Hello World");
	// FStringView's Find and Contains are case-sensitive by default.
	EXPECT_FALSE(FStringView(S).Contains(TEXT("world")));
	EXPECT_TRUE(FStringView(S).StartsWith(TEXT("HELLO")));
}

TEST(HostCoreString, SlicingClampsInsteadOfAsserting)
{
	const FString S(TEXT("abcdef"));
	EXPECT_FSTR(S.Left(3), "abc");
	EXPECT_FSTR(S.Left(-1), "");
	EXPECT_FSTR(S.Left(100), "abcdef");
	EXPECT_FSTR(S.Mid(2, 2), "cd");
	EXPECT_FSTR(S.Mid(4, 100), "ef");
	EXPECT_FSTR(S.Mid(2, -1), "");
	EXPECT_FSTR(S.Mid(-3, 5), "ab");
	EXPECT_FSTR(S.Mid(3), "def");
	EXPECT_FSTR(S.Right(2), "ef");
	EXPECT_FSTR(S.RightChop(4), "ef");
	EXPECT_FSTR(S.LeftChop(4), "ab");
	EXPECT_FSTR(S.LeftChop(10), "");
	EXPECT_FSTR(FString(TEXT("abc")).Mid(1, 1), "b");
}

TEST(HostCoreString, SplitParseAndTrim)
{
	FString Left;
	FString Right;
	EXPECT_TRUE(FString(TEXT("a=b=c")).Split(TEXT("="), &Left, &Right));
	EXPECT_FSTR(Left, "a");
	EXPECT_FSTR(Right, "b=c");
	EXPECT_TRUE(FString(TEXT("a=b=c")).Split(TEXT("="), &Left, &Right, ESearchCase::CaseSensitive, ESearchDir::FromEnd));
	EXPECT_FSTR(Left, "a=b");
	EXPECT_FALSE(FString(TEXT("abc")).Split(TEXT("="), &Left, &Right));
	EXPECT_FSTR(Left, "a=b");

	TArray<FString> Parts = { TEXT("stale") };
	EXPECT_EQ(FString(TEXT("a,,bXc")).ParseIntoArray(Parts, TEXT(",")), 2);
	EXPECT_FSTR(Parts[0], "a");
	EXPECT_EQ(FString(TEXT("a,,b")).ParseIntoArray(Parts, TEXT(","), false), 3);
	EXPECT_FSTR(Parts[1], "");
	EXPECT_EQ(FString(TEXT("1x2X3")).ParseIntoArray(Parts, TEXT("x")), 3);
	EXPECT_EQ(FString().ParseIntoArray(Parts, TEXT(",")), 0);

	EXPECT_FSTR(FString(TEXT(" \t a b \r\n")).TrimStartAndEnd(), "a b");
	EXPECT_FSTR(FString(TEXT("  a")).TrimEnd(), "  a");
	EXPECT_FSTR(FString(TEXT("\"q\"")).TrimQuotes(), "q");
}

TEST(HostCoreString, NumericAndBoolRules)
{
	EXPECT_TRUE(FString(TEXT("123")).IsNumeric());
	EXPECT_TRUE(FString(TEXT("-1.5")).IsNumeric());
	EXPECT_TRUE(FString(TEXT(".")).IsNumeric());
	EXPECT_TRUE(FString(TEXT("-")).IsNumeric());
	EXPECT_FALSE(FString(TEXT("1e5")).IsNumeric());
	EXPECT_FALSE(FString(TEXT(" 1")).IsNumeric());
	EXPECT_FALSE(FString(TEXT("1.2.3")).IsNumeric());
	EXPECT_FALSE(FString().IsNumeric());

	EXPECT_TRUE(FString(TEXT("TRUE")).ToBool());
	EXPECT_TRUE(FString(TEXT("yes")).ToBool());
	EXPECT_TRUE(FString(TEXT("On")).ToBool());
	EXPECT_TRUE(FString(TEXT("2")).ToBool());
	EXPECT_FALSE(FString(TEXT("off")).ToBool());
	EXPECT_FALSE(FString(TEXT(" true")).ToBool());
	EXPECT_FALSE(FString(TEXT("0")).ToBool());

	EXPECT_EQ(FCString::Atoi(TEXT("42abc")), 42);
	EXPECT_EQ(FCString::Atoi(TEXT("  -7")), -7);
	EXPECT_EQ(FCString::Atoi(TEXT("1e5")), 1);
	EXPECT_EQ(FCString::Atoi64(TEXT("9007199254740993")), 9007199254740993ll);
	EXPECT_DOUBLE_EQ(FCString::Atod(TEXT("12.5e1")), 125.0);
	EXPECT_EQ(FCString::Strtoi(TEXT("ff"), nullptr, 16), 255);
}

TEST(HostCoreString, PrintfFollowsTheEngineFormats)
{
	const FString Name(TEXT("Quarn"));
	EXPECT_FSTR(FString::Printf(TEXT("%s has %d items"), *Name, 3), "Quarn has 3 items");
	EXPECT_FSTR(FString::Printf(TEXT("[%5d|%-5d|%05d]"), 42, 42, 42), "[   42|42   |00042]");
	EXPECT_FSTR(FString::Printf(TEXT("%u %x %X %o"), 4294967295u, 255, 255, 8), "4294967295 ff FF 10");
	EXPECT_FSTR(FString::Printf(TEXT("%lld %llu"), -9000000000ll, 18000000000000000000ull), "-9000000000 18000000000000000000");
	EXPECT_FSTR(FString::Printf(TEXT("%f %.2f %e %g"), 1.5, 2.345, 12345.0, 0.0001), "1.500000 2.35 1.234500e+04 0.0001");
	EXPECT_FSTR(FString::Printf(TEXT("%c%c %% %s"), TEXT('o'), TEXT('k'), TEXT("\u00e9")), "ok % \u00e9");
	EXPECT_FSTR(FString::Printf(TEXT("%8s|%-4s|%.2s"), TEXT("ab"), TEXT("cd"), TEXT("efgh")), "      ab|cd  |ef");
	EXPECT_FSTR(FString::Printf(TEXT("%*d"), 4, 7), "   7");
	EXPECT_FSTR(FString::Printf(TEXT("%s"), (const TCHAR*)nullptr), "(null)");
	EXPECT_FSTR(FString::Printf(TEXT("%hs"), "ansi"), "ansi");
	EXPECT_FSTR(FString::Printf(TEXT("no args")), "no args");
	enum class ETest : uint8 { A = 7 };
	EXPECT_FSTR(FString::Printf(TEXT("%d"), ETest::A), "7");
	const FString Long = FString::ChrN(2000, TEXT('x'));
	EXPECT_EQ(FString::Printf(TEXT("%s%s"), *Long, *Long).Len(), 4000);
}

TEST(HostCoreString, LexToStringAndSanitizeFloat)
{
	EXPECT_FSTR(LexToString(1.5), "1.500000");
	EXPECT_FSTR(LexToString(1.5f), "1.500000");
	EXPECT_FSTR(LexToString(-3), "-3");
	EXPECT_FSTR(LexToString(true), "true");
	EXPECT_FSTR(LexToString((uint8)200), "200");
	EXPECT_FSTR(LexToString((int64)-5000000000ll), "-5000000000");
	EXPECT_FSTR(LexToSanitizedString(1.5), "1.5");

	EXPECT_FSTR(FString::SanitizeFloat(3.0), "3.0");
	EXPECT_FSTR(FString::SanitizeFloat(2.5), "2.5");
	EXPECT_FSTR(FString::SanitizeFloat(0.1), "0.1");
	EXPECT_FSTR(FString::SanitizeFloat(1.23456789), "1.234568");
	EXPECT_FSTR(FString::SanitizeFloat(1e-7), "0.0");
	EXPECT_FSTR(FString::SanitizeFloat(-0.0), "0.0");
	EXPECT_FSTR(FString::SanitizeFloat(3.0, 0), "3");
	EXPECT_FSTR(FString::SanitizeFloat(1234567.891, 0), "1234567.891");
	EXPECT_FSTR(FString::SanitizeFloat(2.5, 3), "2.500");
	EXPECT_FSTR(FString::SanitizeFloat(NAN), "nan");
	EXPECT_FSTR(FString::SanitizeFloat(INFINITY), "inf");

	int32 Value = 99;
	EXPECT_FALSE(LexTryParseString(Value, TEXT("")));
	EXPECT_FALSE(LexTryParseString(Value, TEXT("abc")));
	EXPECT_TRUE(LexTryParseString(Value, TEXT("0")));
	EXPECT_EQ(Value, 0);
	EXPECT_TRUE(LexTryParseString(Value, TEXT("12")));
	EXPECT_EQ(Value, 12);
	float Float = 0;
	LexFromString(Float, TEXT("2.5"));
	EXPECT_EQ(Float, 2.5f);
}

TEST(HostCoreString, BuildersJoinAndFormat)
{
	EXPECT_FSTR(FString::FormatAsNumber(1234567), "1,234,567");
	EXPECT_FSTR(FString::FormatAsNumber(123), "123");
	EXPECT_FSTR(FString::FromInt(-12), "-12");
	EXPECT_FSTR(FString::Join(TArray<FString>{ TEXT("a"), TEXT("b"), TEXT("c") }, TEXT(", ")), "a, b, c");
	EXPECT_FSTR(FString(TEXT("dir")) / TEXT("file.txt"), "dir/file.txt");
	EXPECT_FSTR(FString(TEXT("dir/")) / TEXT("file.txt"), "dir/file.txt");
	EXPECT_FSTR(FString::Format(TEXT("{0} of {1} `{0}` {2}"), { FStringFormatArg(1), FStringFormatArg(TEXT("two")) }), "1 of two {0} {2}");
	FStringFormatNamedArguments Named;
	Named.Add(TEXT("Who"), FStringFormatArg(TEXT("you")));
	EXPECT_FSTR(FString::Format(TEXT("hi {who}"), Named), "hi you");

	TStringBuilder<8> Builder;
	Builder << TEXT("abc") << 12 << TEXT('-') << FString(TEXT("a long tail beyond the buffer"));
	EXPECT_FSTR(FString(Builder), "abc12-a long tail beyond the buffer");
	EXPECT_FSTR(FString(WriteToString<64>(TEXT("n="), 5)), "n=5");
	Builder.Reset();
	Builder.Appendf(TEXT("%d"), 7);
	EXPECT_EQ(FStringView(Builder), TEXTVIEW("7"));
}

TEST(HostCoreString, Utf8ConversionNeverFailsAndRoundTripsPairs)
{
	// Invalid bytes each become '?', the engine's bogus character: a lone continuation byte, a truncated sequence, an
	// overlong encoding, a surrogate encoded in UTF-8 and a byte that never appears in UTF-8.
	const char Invalid[] = "a\x80" "b\xE2\x82" "c\xC0\xAF" "d\xED\xA0\x80" "e\xFF";
	const FString Decoded(UTF8_TO_TCHAR(Invalid));
	int32 Replacements = 0;
	for (TCHAR Ch : Decoded)
	{
		Replacements += Ch == TEXT('?') ? 1 : 0;
	}
	EXPECT_EQ(Replacements, 9);
	EXPECT_TRUE(Decoded.StartsWith(TEXT("a?b")));
	EXPECT_TRUE(Decoded.EndsWith(TEXT("e?")));
	EXPECT_EQ(Decoded.Len(), 5 + 9);

	// A character outside the BMP is a surrogate pair in TCHAR and four bytes in UTF-8.
	const FString Emoji(TEXT("x\U0001F600y"));
	EXPECT_EQ(Emoji.Len(), 4);
	const std::string Bytes = Utf8(Emoji);
	EXPECT_EQ(Bytes, std::string("x\xF0\x9F\x98\x80y"));
	EXPECT_TRUE(FString(UTF8_TO_TCHAR(Bytes.c_str())).Equals(Emoji));
	// A lone surrogate cannot be encoded and becomes '?'.
	const TCHAR Lone[] = { TEXT('a'), (TCHAR)0xD800, TEXT('b'), 0 };
	EXPECT_EQ(Utf8(FString(Lone)), std::string("a?b"));
	// Conversions with an explicit length stop there, embedded bytes included.
	FUTF8ToTCHAR Partial("abcdef", 3);
	EXPECT_EQ(Partial.Length(), 3);
	EXPECT_FSTR(FString(TCHAR_TO_ANSI(TEXT("caf\u00e9"))), "caf?");
	EXPECT_FSTR(FString(StringCast<TCHAR>(U"\U0001F600").Get()), "\xF0\x9F\x98\x80");
}

TEST(HostCoreString, EditsAndPadding)
{
	FString S(TEXT("abc"));
	S.InsertAt(1, TEXT('X'));
	EXPECT_FSTR(S, "aXbc");
	S.RemoveAt(0, 2);
	EXPECT_FSTR(S, "bc");
	EXPECT_TRUE(S.RemoveFromStart(TEXT("B")));
	EXPECT_FSTR(S, "c");
	S.Empty();
	EXPECT_TRUE(S.IsEmpty());
	EXPECT_EQ(*S, FString().operator*()[0] == 0 ? *S : nullptr);
	S.AppendChar(TEXT('z'));
	S += TEXT("zz");
	EXPECT_EQ(S.Len(), 3);
	EXPECT_FSTR(S.ToUpper(), "ZZZ");
	EXPECT_FSTR(FString(TEXT("ab")).LeftPad(4), "  ab");
	EXPECT_FSTR(FString(TEXT("abc")).Reverse(), "cba");
	EXPECT_TRUE(FString(TEXT("Quarn.ini")).MatchesWildcard(TEXT("*.INI")));
	EXPECT_FSTR(FString(TEXT("a,b")) + TEXT("!") + FString(TEXT("?")), "a,b!?");
	S.Reset(100);
	EXPECT_TRUE(S.IsEmpty());
	EXPECT_GE(S.GetCharArray().Max(), 101);
}

TEST(HostCoreString, ComparisonsWorkInEitherOperandOrderThroughTheUEOpMembers)
{
	// The engine's form: members, with the operators the global templates of Misc/UEOps.h.
	static_assert(UE::Core::Private::CWithUEOpEquals<FString, FString>);
	static_assert(UE::Core::Private::CWithUEOpLessThan<FString, const TCHAR*>);
	static_assert(UE::Core::Private::CWithUEOpGreaterThan<FString, const TCHAR*>);

	const FString Apple(TEXT("apple"));
	EXPECT_TRUE(TEXT("APPLE") == Apple);
	EXPECT_FALSE(TEXT("pear") == Apple);
	EXPECT_TRUE(TEXT("pear") != Apple);
	EXPECT_TRUE(Apple != TEXT("pear"));
	// A character pointer on the left is ordered through the string's UEOpGreaterThan.
	EXPECT_TRUE(TEXT("Banana") > Apple);
	EXPECT_TRUE(TEXT("AARDVARK") < Apple);
	EXPECT_TRUE(TEXT("APPLE") <= Apple);
	EXPECT_TRUE(TEXT("APPLE") >= Apple);
	EXPECT_FALSE(TEXT("APPLE") < Apple);
	EXPECT_TRUE(Apple < TEXT("Banana"));
	EXPECT_TRUE(Apple > TEXT("AARDVARK"));
	EXPECT_TRUE(Apple >= FString(TEXT("APPLE")));
	EXPECT_FALSE(Apple > FString(TEXT("APPLE")));
	EXPECT_TRUE(FString(TEXT("b")) >= FString(TEXT("A")));

	// A null character pointer is the empty string; narrow text converts first.
	const TCHAR* const Null = nullptr;
	EXPECT_TRUE(FString() == Null);
	EXPECT_FALSE(Apple == Null);
	EXPECT_TRUE(Null < Apple);
	EXPECT_TRUE(Apple == "APPLE");
	EXPECT_TRUE(Apple < "banana");

	// Sorting goes through the same operator<.
	TArray<FString> Names = { TEXT("cherry"), TEXT("Banana"), TEXT("apple") };
	Names.Sort();
	EXPECT_FSTR(Names[0], "apple");
	EXPECT_FSTR(Names[2], "cherry");
}
