// Copyright Quarn. All Rights Reserved.

#include "HttpTestSupport.h"

#include "GenericPlatform/GenericPlatformHttp.h"
#include "PlatformHttp.h"

#include <gtest/gtest.h>

using namespace HostHttpTest;

TEST(HostHTTPUrl, EncodeKeepsOnlyUnreservedCharacters)
{
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("AZaz09-_.~"))), "AZaz09-_.~");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("a b"))), "a%20b");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("a+b"))), "a%2Bb");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("/?#[]@!$&'()*,;=:%"))), "%2F%3F%23%5B%5D%40%21%24%26%27%28%29%2A%2C%3B%3D%3A%25");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("\u00e9"))), "%C3%A9");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("\u20ac"))), "%E2%82%AC");
	// Each UTF-16 unit on its own, as the engine encodes: a character beyond U+FFFF (a surrogate
	// pair) becomes two '?', and so does nothing else.
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("\U0001F600"))), "%3F%3F");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("a\U0001F600b"))), "a%3F%3Fb");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT("\r\n\t"))), "%0D%0A%09");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(TEXT(""))), "");

	// NUL characters are dropped.
	const TCHAR WithNul[] = { TEXT('a'), TEXT('\0'), TEXT('b') };
	EXPECT_EQ(ToStd(FPlatformHttp::UrlEncode(FStringView(WithNul, 3))), "ab");
}

TEST(HostHTTPUrl, DecodeTurnsEscapesIntoUtf8)
{
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("a%20b"))), "a b");
	// '+' is not a space.
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("a+b"))), "a+b");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("caf%C3%A9"))), "caf\xc3\xa9");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("caf%c3%a9"))), "caf\xc3\xa9");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("%u00E9t%u20AC"))), "\xc3\xa9t\xe2\x82\xac");
	// A cut-off escape is skipped: only its '%' goes.
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("abc%"))), "abc");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("abc%4"))), "abc4");
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("%u12"))), "u12");
	// Decoded text ends at a decoded NUL.
	EXPECT_EQ(ToStd(FPlatformHttp::UrlDecode(TEXT("ab%00cd"))), "ab");
	// Bytes that are not UTF-8 do not crash the decoder.
	EXPECT_FALSE(FPlatformHttp::UrlDecode(TEXT("%FF%FE")).IsEmpty());
}

TEST(HostHTTPUrl, EncodeThenDecodeRoundTrips)
{
	const TCHAR* const Samples[] =
	{
		TEXT("plain"),
		TEXT("with space and + plus"),
		TEXT("k=v&k2=v 2#frag"),
		// Characters of the basic plane only: one beyond it is encoded as "%3F%3F", as in the engine.
		TEXT("\u00fcber/\u65e5\u672c\u8a9e?\uFFFD"),
		TEXT("100%"),
	};
	for (const TCHAR* Sample : Samples)
	{
		const FString Encoded = FPlatformHttp::UrlEncode(Sample);
		for (const TCHAR Char : Encoded)
		{
			EXPECT_TRUE(FChar::IsAlnum(Char) || Char == TEXT('%') || Char == TEXT('-') || Char == TEXT('_') || Char == TEXT('.') || Char == TEXT('~')) << ToStd(Encoded);
		}
		EXPECT_TRUE(FPlatformHttp::UrlDecode(Encoded).Equals(Sample, ESearchCase::CaseSensitive)) << ToStd(Sample);
	}
}

TEST(HostHTTPUrl, DomainPortBaseAndPath)
{
	const FString Url = TEXT("https://api.velmora.test:8443/v1/players/p-1/inventory?cursor=a%20b&limit=50#top");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlDomain(Url)), "api.velmora.test");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlDomainAndPort(Url)), "api.velmora.test:8443");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlBase(Url)), "https://api.velmora.test:8443");
	ASSERT_TRUE(FPlatformHttp::GetUrlPort(Url).IsSet());
	EXPECT_EQ(FPlatformHttp::GetUrlPort(Url).GetValue(), 8443);
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlPath(Url)), "/v1/players/p-1/inventory");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlPath(Url, true)), "/v1/players/p-1/inventory?cursor=a%20b&limit=50");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlPath(Url, true, true)), "/v1/players/p-1/inventory?cursor=a%20b&limit=50#top");
	ASSERT_TRUE(FPlatformHttp::IsSecureProtocol(Url).IsSet());
	EXPECT_TRUE(FPlatformHttp::IsSecureProtocol(Url).GetValue());

	const FString Short = TEXT("http://127.0.0.1:5000");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlDomain(Short)), "127.0.0.1");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlPath(Short)), "/");
	EXPECT_EQ(FPlatformHttp::GetUrlPort(Short).GetValue(), 5000);
	EXPECT_FALSE(FPlatformHttp::IsSecureProtocol(Short).GetValue());

	EXPECT_FALSE(FPlatformHttp::GetUrlPort(TEXT("https://example.org/")).IsSet());
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlDomain(TEXT("example.org/path"))), "example.org");
	EXPECT_FALSE(FPlatformHttp::IsSecureProtocol(TEXT("ftp://example.org")).IsSet());
}

TEST(HostHTTPUrl, QueryParametersAreDecoded)
{
	const FString Url = TEXT("http://h/p?name=J%C3%BCrgen%20K&empty=&flag&last=1#frag=2");
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlParameter(Url, TEXT("name")).Get(FString())), "J\xc3\xbcrgen K");
	ASSERT_TRUE(FPlatformHttp::GetUrlParameter(Url, TEXT("empty")).IsSet());
	EXPECT_TRUE(FPlatformHttp::GetUrlParameter(Url, TEXT("empty")).GetValue().IsEmpty());
	ASSERT_TRUE(FPlatformHttp::GetUrlParameter(Url, TEXT("flag")).IsSet());
	EXPECT_EQ(ToStd(FPlatformHttp::GetUrlParameter(Url, TEXT("last")).Get(FString())), "1");
	EXPECT_FALSE(FPlatformHttp::GetUrlParameter(Url, TEXT("frag")).IsSet());
	EXPECT_FALSE(FPlatformHttp::GetUrlParameter(Url, TEXT("missing")).IsSet());
	EXPECT_FALSE(FPlatformHttp::GetUrlParameter(TEXT("http://h/p"), TEXT("name")).IsSet());
}

TEST(HostHTTPUrl, ResponseCodesAndFailureReasons)
{
	EXPECT_TRUE(EHttpResponseCodes::IsOk(200));
	EXPECT_TRUE(EHttpResponseCodes::IsOk(206));
	EXPECT_FALSE(EHttpResponseCodes::IsOk(199));
	EXPECT_FALSE(EHttpResponseCodes::IsOk(207));
	EXPECT_FALSE(EHttpResponseCodes::IsOk(304));
	EXPECT_EQ(ToStd(EHttpResponseCodes::ResponseCodeToString(EHttpResponseCodes::NotFound)), "404:NotFound");
	// A code outside the list (and outside the enum's range) is just its number.
	EXPECT_EQ(ToStd(EHttpResponseCodes::GetResponseCodeAsErrorCode(599)), "errors.com.epicgames.httpresponse.599");
	EXPECT_EQ(ToStd(EHttpResponseCodes::GetResponseCodeAsErrorCode(429)), "errors.com.epicgames.httpresponse.429:TooManyRequests");
	EXPECT_EQ(EHttpResponseCodes::TooManyRequests, 429);
	EXPECT_EQ(EHttpResponseCodes::ServiceUnavail, 503);

	// The engine's order: a switch compiled against it sees the same values.
	static_assert(static_cast<int>(EHttpFailureReason::None) == 0);
	static_assert(static_cast<int>(EHttpFailureReason::ConnectionError) == 1);
	static_assert(static_cast<int>(EHttpFailureReason::Cancelled) == 2);
	static_assert(static_cast<int>(EHttpFailureReason::TimedOut) == 3);
	static_assert(static_cast<int>(EHttpFailureReason::Other) == 4);
	static_assert(static_cast<int>(EHttpFailureReason::ResponseTooLarge) == 5);
	static_assert(static_cast<int>(EHttpFailureReason::Count) == 6);
	static_assert(EHttpRequestStatus::Succeeded == 3);
	EXPECT_EQ(ToStd(LexToString(EHttpFailureReason::ResponseTooLarge)), "ResponseTooLarge");
	EXPECT_EQ(ToStd(LexToString(EHttpFailureReason::ConnectionError)), "ConnectionError");
	EXPECT_FALSE(EHttpRequestStatus::IsFinished(EHttpRequestStatus::Processing));
	EXPECT_TRUE(EHttpRequestStatus::IsFinished(EHttpRequestStatus::Failed));
}
