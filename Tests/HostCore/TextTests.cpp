// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Internationalization/Internationalization.h"
#include "Internationalization/Regex.h"
#include <gtest/gtest.h>

#define LOCTEXT_NAMESPACE "HostTestNamespace"

namespace
{
	struct FCultureScope
	{
		explicit FCultureScope(const TCHAR* Name) { EXPECT_TRUE(FInternationalization::Get().SetCurrentCulture(Name)); }
		~FCultureScope() { FInternationalization::Get().SetCurrentCulture(TEXT("en")); }
	};
}

TEST(HostCoreText, LocalizableTextsKeepNamespaceKeyAndSource)
{
	const FText Loc = LOCTEXT("GreetingKey", "Hello");
	EXPECT_EQ(Loc.ToString(), FString(TEXT("Hello")));
	EXPECT_EQ(FTextInspector::GetNamespace(Loc).GetValue(), FString(TEXT("HostTestNamespace")));
	EXPECT_EQ(FTextInspector::GetKey(Loc).GetValue(), FString(TEXT("GreetingKey")));
	EXPECT_EQ(*FTextInspector::GetSourceString(Loc), FString(TEXT("Hello")));
	const FText Ns = NSLOCTEXT("Other", "Key2", "World");
	EXPECT_EQ(FTextInspector::GetNamespace(Ns).GetValue(), FString(TEXT("Other")));

	const FText FromString = FText::FromString(TEXT("Hello"));
	EXPECT_FALSE(FTextInspector::GetNamespace(FromString).IsSet());
	EXPECT_FALSE(FTextInspector::GetKey(FText::AsNumber(3)).IsSet());
	EXPECT_FALSE(FTextInspector::GetKey(FText::Format(INVTEXT("{0}"), 1)).IsSet());
	EXPECT_TRUE(FromString.IsCultureInvariant());
	EXPECT_TRUE(INVTEXT("x").IsCultureInvariant());
}

TEST(HostCoreText, EmptyNamesAndIdentity)
{
	EXPECT_TRUE(FText().IsEmpty());
	EXPECT_TRUE(FText::FromString(FString()).IdenticalTo(FText::GetEmpty()));
	EXPECT_EQ(FText::FromName(FName()).ToString(), FString(TEXT("None")));
	const FText A = FText::FromString(TEXT("a"));
	const FText B = FText::FromString(TEXT("a"));
	EXPECT_FALSE(A.IdenticalTo(B));
	EXPECT_TRUE(A.IdenticalTo(A));
	const FText ACopy = A;
	EXPECT_TRUE(A.IdenticalTo(ACopy));
	EXPECT_TRUE(A.IdenticalTo(B, ETextIdenticalModeFlags::LexicalCompareInvariants));
	EXPECT_TRUE(A.EqualTo(B));
	EXPECT_FALSE(A.EqualTo(FText::FromString(TEXT("A"))));
	EXPECT_TRUE(A.EqualToCaseIgnored(FText::FromString(TEXT("A"))));
	EXPECT_TRUE(FText::FromString(TEXT("  \t")).IsEmptyOrWhitespace());
}

TEST(HostCoreText, NumbersUseTheCultureRules)
{
	EXPECT_EQ(FText::AsNumber(1234).ToString(), FString(TEXT("1,234")));
	EXPECT_EQ(FText::AsNumber(-1234567).ToString(), FString(TEXT("-1,234,567")));
	EXPECT_EQ(FText::AsNumber(1234567.891).ToString(), FString(TEXT("1,234,567.891")));
	EXPECT_EQ(FText::AsNumber(2.0).ToString(), FString(TEXT("2")));
	EXPECT_EQ(FText::AsNumber(0.12345).ToString(), FString(TEXT("0.123")));
	EXPECT_EQ(FText::AsNumber(0.1235).ToString(), FString(TEXT("0.124")));
	EXPECT_EQ(FText::AsNumber(1234, &FNumberFormattingOptions::DefaultNoGrouping()).ToString(), FString(TEXT("1234")));
	FNumberFormattingOptions NoFraction;
	NoFraction.SetMaximumFractionalDigits(0);
	EXPECT_EQ(FText::AsNumber(2.5, &NoFraction).ToString(), FString(TEXT("2")));
	EXPECT_EQ(FText::AsNumber(3.5, &NoFraction).ToString(), FString(TEXT("4")));
	EXPECT_EQ(FText::AsNumber(2.5, &NoFraction.SetRoundingMode(ERoundingMode::HalfFromZero)).ToString(), FString(TEXT("3")));
	FNumberFormattingOptions Padded;
	Padded.SetMinimumIntegralDigits(3).SetMinimumFractionalDigits(2).SetAlwaysSign(true);
	EXPECT_EQ(FText::AsNumber(7, &Padded).ToString(), FString(TEXT("+007.00")));
	EXPECT_EQ(FText::AsNumber(std::nan("")).ToString(), FString(TEXT("NaN")));
	EXPECT_EQ(FText::AsNumber(MAX_uint64).ToString(), FString(TEXT("18,446,744,073,709,551,615")));
	EXPECT_EQ(FText::AsNumber(MIN_int64).ToString(), FString(TEXT("-9,223,372,036,854,775,808")));

	{
		FCultureScope German(TEXT("de"));
		EXPECT_EQ(FText::AsNumber(1234).ToString(), FString(TEXT("1.234")));
		EXPECT_EQ(FText::AsNumber(1234.5).ToString(), FString(TEXT("1.234,5")));
		EXPECT_EQ(FText::Format(INVTEXT("{0} Stück"), 1234).ToString(), FString(TEXT("1.234 Stück")));
	}
	EXPECT_EQ(FText::AsNumber(1234).ToString(), FString(TEXT("1,234")));
	EXPECT_FALSE(FInternationalization::Get().SetCurrentCulture(TEXT("zz-NOPE")));
	EXPECT_EQ(FInternationalization::Get().GetCurrentCulture()->GetName(), FString(TEXT("en")));
	EXPECT_EQ(FText::AsNumber(1234, nullptr, FInternationalization::Get().GetCulture(TEXT("de"))).ToString(), FString(TEXT("1.234")));
}

TEST(HostCoreText, FormatOrderedNamedAndEscaped)
{
	EXPECT_EQ(FText::Format(INVTEXT("{0}"), 1234).ToString(), FString(TEXT("1,234")));
	EXPECT_EQ(FText::Format(INVTEXT("{0}"), 0.5).ToString(), FString(TEXT("0.5")));
	EXPECT_EQ(FText::Format(INVTEXT("{0} and {1}"), FText::FromString(TEXT("a")), 2).ToString(), FString(TEXT("a and 2")));
	EXPECT_EQ(FText::Format(INVTEXT("{0} {1}"), 1).ToString(), FString(TEXT("1 {1}")));
	EXPECT_EQ(FText::Format(INVTEXT("`{0`} ``{0}"), 5).ToString(), FString(TEXT("{0} `5")));

	FFormatNamedArguments Named;
	Named.Add(TEXT("Count"), 3);
	Named.Add(TEXT("Item"), FText::FromString(TEXT("sword")));
	EXPECT_EQ(FText::Format(INVTEXT("{count} x {ITEM}, {Missing}"), Named).ToString(), FString(TEXT("3 x sword, {Missing}")));
	EXPECT_EQ(FText::FormatNamed(INVTEXT("{A}-{B}"), TEXT("A"), 1, TEXT("B"), FText::FromString(TEXT("b"))).ToString(), FString(TEXT("1-b")));
	EXPECT_EQ(FText::FormatOrdered(INVTEXT("{1}{0}"), 1, 2).ToString(), FString(TEXT("21")));

	FFormatOrderedArguments Ordered;
	Ordered.Add(FText::FromString(TEXT("x")));
	EXPECT_EQ(FText::Format(INVTEXT("{Name}!"), Ordered).ToString(), FString(TEXT("x!")));

	EXPECT_EQ(FText::Format(INVTEXT("{0} {0}|plural(one=item,other=items)"), 1).ToString(), FString(TEXT("1 item")));
	EXPECT_EQ(FText::Format(INVTEXT("{0} {0}|plural(one=item,other=items)"), 2).ToString(), FString(TEXT("2 items")));
	EXPECT_EQ(FText::Format(INVTEXT("{0}|ordinal(one=st,two=nd,few=rd,other=th)"), 22).ToString(), FString(TEXT("nd")));
	static_assert(!std::is_constructible_v<FFormatArgumentValue, FString>, "FText::Format does not take FString arguments");
	static_assert(!std::is_constructible_v<FFormatArgumentValue, const TCHAR*>, "FText::Format does not take string literals");
}

TEST(HostCoreRegex, IndicesAreInUtf16UnitsAndEndsExclusive)
{
	const FRegexPattern Pattern(TEXT("(\\d+)-(\\w+)"));
	FRegexMatcher Matcher(Pattern, TEXT("\U0001F600 12-ab 7-c"));
	ASSERT_TRUE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetMatchBeginning(), 3);
	EXPECT_EQ(Matcher.GetMatchEnding(), 8);
	EXPECT_EQ(Matcher.GetCaptureGroup(1), FString(TEXT("12")));
	EXPECT_EQ(Matcher.GetCaptureGroup(2), FString(TEXT("ab")));
	ASSERT_TRUE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetCaptureGroup(0), FString(TEXT("7-c")));
	EXPECT_FALSE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetMatchBeginning(), INDEX_NONE);

	FRegexMatcher Insensitive(FRegexPattern(TEXT("quarn"), ERegexPatternFlags::CaseInsensitive), TEXT("The QUARN sdk"));
	EXPECT_TRUE(Insensitive.FindNext());
	FRegexMatcher Sensitive(FRegexPattern(TEXT("quarn")), TEXT("The QUARN sdk"));
	EXPECT_FALSE(Sensitive.FindNext());
	FRegexMatcher Replacer(FRegexPattern(TEXT("a+")), TEXT("caaat baat"));
	EXPECT_EQ(Replacer.ReplaceAll(TEXT("o")), FString(TEXT("cot bot")));

	FRegexMatcher Invalid(FRegexPattern(TEXT("(unclosed")), TEXT("(unclosed"));
	EXPECT_FALSE(Invalid.FindNext());
	EXPECT_EQ(Invalid.GetCaptureGroup(0), FString());
}

#undef LOCTEXT_NAMESPACE
