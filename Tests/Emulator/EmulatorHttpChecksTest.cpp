// The rules for a parsed request head, on their own: the forms of Host, Origin and absolute-form
// targets that a raw-socket test would need a case per spelling for.
#include "HttpChecks.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace
{
HttpRequest Head(const std::string& Target, std::vector<std::pair<std::string, std::string>> Headers, int MinorVersion = 1)
{
	HttpRequest Request;
	Request.method = "GET";
	Request.target = Target;
	Request.minorVersion = MinorVersion;
	Request.headers = std::move(Headers);
	return Request;
}

std::string Refusal(HttpRequest Request, const HttpAuthority& Authority)
{
	bool bContinue = false;
	const std::optional<HttpRefusal> Refused = checkRequestHead(Request, Authority, bContinue);
	return Refused ? std::to_string(Refused->status) + " " + Refused->code : "served " + Request.target;
}
}

TEST(EmulatorHttpChecks, AuthoritiesSplitIntoNameAndPort)
{
	std::string Host;
	int Port = -1;
	ASSERT_TRUE(splitAuthority("LocalHost:8471", Host, Port));
	EXPECT_EQ(Host, "localhost");
	EXPECT_EQ(Port, 8471);
	ASSERT_TRUE(splitAuthority("[::1]:80", Host, Port));
	EXPECT_EQ(Host, "::1");
	EXPECT_EQ(Port, 80);
	ASSERT_TRUE(splitAuthority("127.0.0.1", Host, Port));
	EXPECT_EQ(Port, 0);
	for (const char* Bad : {"", ":80", "[::1", "[nope]:1", "a:0", "a:65536", "a:1234567", "a:-1", "a b", "user@host", "a:80:81", "[::1]x"})
	{
		EXPECT_FALSE(splitAuthority(Bad, Host, Port)) << Bad;
	}
}

TEST(EmulatorHttpChecks, HostAndOriginMustNameThisEmulator)
{
	HttpAuthority Authority;
	Authority.port = 8471;
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "127.0.0.1:8471"}}), Authority), "served /x");
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "127.1.2.3"}}), Authority), "served /x");
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "[::1]:8471"}, {"Origin", "http://[::1]:8471"}}), Authority), "served /x");
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "128.0.0.1:8471"}}), Authority), "403 host_not_allowed");
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "localhost.evil.example:8471"}}), Authority), "403 host_not_allowed");
	// An origin without a port is port 80, not ours.
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "localhost:8471"}, {"Origin", "http://localhost"}}), Authority), "403 origin_not_allowed");
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "localhost:8471"}, {"Origin", "http://localhost:8471/"}}), Authority), "403 origin_not_allowed");
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "localhost:8471"}, {"Origin", "http://a"}, {"origin", "http://localhost:8471"}}), Authority),
		"400 invalid_request");
	Authority.allowed = {"dev.example"};
	EXPECT_EQ(Refusal(Head("/x", {{"Host", "DEV.example:8471"}, {"Origin", "http://dev.example:8471"}}), Authority), "served /x");
}

TEST(EmulatorHttpChecks, AbsoluteFormTargetsBecomeTheirPath)
{
	HttpAuthority Authority;
	Authority.port = 8471;
	EXPECT_EQ(Refusal(Head("http://127.0.0.1:8471/v1/game/containers/a?b=c", {{"Host", "127.0.0.1:8471"}}), Authority),
		"served /v1/game/containers/a?b=c");
	EXPECT_EQ(Refusal(Head("HTTP://localhost:8471?b=c", {{"Host", "x.example"}}), Authority), "served /?b=c");
	EXPECT_EQ(Refusal(Head("http://localhost/v1", {{"Host", "localhost:8471"}}), Authority), "403 host_not_allowed");
	EXPECT_EQ(Refusal(Head("http:///v1", {{"Host", "localhost:8471"}}), Authority), "400 invalid_request");
	// HTTP/1.0 needs no Host; an absolute-form target still has to name us.
	EXPECT_EQ(Refusal(Head("/x", {}, 0), Authority), "served /x");
	EXPECT_EQ(Refusal(Head("http://example.com/x", {}, 0), Authority), "403 host_not_allowed");
}

TEST(EmulatorHttpChecks, ExpectationsAndHttp10Framing)
{
	HttpAuthority Authority;
	Authority.port = 8471;
	HttpRequest Post = Head("/x", {{"Host", "localhost:8471"}, {"Expect", "100-Continue"}, {"Content-Length", "5"}});
	Post.method = "POST";
	bool bContinue = false;
	EXPECT_FALSE(checkRequestHead(Post, Authority, bContinue));
	EXPECT_TRUE(bContinue);
	// Nothing to continue with an empty body, and an HTTP/1.0 client cannot mean it.
	HttpRequest Empty = Head("/x", {{"Host", "localhost:8471"}, {"Expect", "100-continue"}, {"Content-Length", "000"}});
	Empty.method = "POST";
	EXPECT_FALSE(checkRequestHead(Empty, Authority, bContinue));
	EXPECT_FALSE(bContinue);
	HttpRequest Old = Head("/x", {{"Expect", "something-else"}, {"Transfer-Encoding", "chunked"}}, 0);
	Old.method = "POST";
	Old.bKeepAlive = true;
	EXPECT_FALSE(checkRequestHead(Old, Authority, bContinue));
	EXPECT_FALSE(bContinue);
	EXPECT_FALSE(Old.bKeepAlive);
}
