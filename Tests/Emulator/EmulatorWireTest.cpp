// The HTTP front against clients no library would be: exact bytes over raw sockets. Every refused
// request must change nothing, so each test compares the container before and after.
#include "EmulatorTestSupport.h"
#include "RawConnection.h"

using namespace EmulatorTesting;

namespace
{
class EmulatorWire : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override { return {"--request-timeout", "3000"}; }

	void SetUp() override
	{
		EmulatorTest::SetUp();
		Someone = SignIn("wire");
		Other = SignIn("wire-other");
		Stash = EnsureSlots(Someone, "stash", 10)["id"];
		ASSERT_EQ(Grant(Someone, Stash, "Ammo", 5).Status, 200);
		Before = Read(Someone, Stash);
	}

	std::string GrantBody(int Quantity = 1) const
	{
		return Json{{"container_id", Stash}, {"item_id", "Ammo"}, {"quantity", Quantity}}.dump();
	}
	// A grant with these extra header lines ("Name: value\r\n" each) and this framing.
	std::string GrantRequest(const std::string& ExtraHeaders, const std::string& Body, bool bWithLength = true) const
	{
		std::string Bytes = "POST /v1/game/inventory/grant HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n";
		Bytes += "Authorization: Bearer " + Someone.Token + "\r\n" + ExtraHeaders;
		if (bWithLength)
		{
			Bytes += "Content-Length: " + std::to_string(Body.size()) + "\r\n";
		}
		return Bytes + "\r\n" + Body;
	}
	HttpResponse Exchange(const std::string& Bytes, int TimeoutMs = 5000)
	{
		RawConnection Connection(Emulator.Port());
		EXPECT_TRUE(Connection.IsOpen());
		EXPECT_TRUE(Connection.Send(Bytes));
		return Connection.ReadAnswer(TimeoutMs);
	}
	void ExpectUnchanged() { EXPECT_EQ(Read(Someone, Stash), Before); }
	int64_t AmmoCount()
	{
		int64_t Count = 0;
		const Json Document = Read(Someone, Stash);
		for (const Json& Item : Document["items"])
		{
			Count += Item.value("quantity", 0);
		}
		return Count;
	}

	Player Someone;
	Player Other;
	std::string Stash;
	Json Before;
};

std::string Chunked(const std::string& Body, size_t ChunkSize)
{
	std::string Bytes;
	for (size_t At = 0; At < Body.size(); At += ChunkSize)
	{
		const std::string Part = Body.substr(At, ChunkSize);
		char Size[32];
		std::snprintf(Size, sizeof(Size), "%zx\r\n", Part.size());
		Bytes += Size + Part + "\r\n";
	}
	return Bytes + "0\r\n\r\n";
}
}

// Limits -------------------------------------------------------------------------------------

TEST_F(EmulatorWire, ChunkedBodiesAreHeldToTheLimitBeforeTheyAreRead)
{
	// Under the limit, chunked works like Content-Length.
	const HttpResponse Small = Exchange(GrantRequest("Transfer-Encoding: chunked\r\n", Chunked(GrantBody(2), 7), false));
	EXPECT_EQ(Small.Status, 200) << Small.Body << Small.Error;
	EXPECT_EQ(AmmoCount(), 7);
	Before = Read(Someone, Stash);

	// One chunk announcing 2 MiB: refused from its size line, the data never needed.
	{
		RawConnection Connection(Emulator.Port());
		ASSERT_TRUE(Connection.Send(GrantRequest("Transfer-Encoding: chunked\r\n", "200000\r\n{\"container_id\": ", false)));
		EXPECT_TRUE(IsError(Connection.ReadAnswer(3000), 413, "payload_too_large"));
		EXPECT_TRUE(Connection.ClosedWithin(5000));
	}
	// Small chunks adding up to just over 1 MiB: a valid grant padded with blanks.
	const std::string Padded = GrantBody(1) + std::string(1024 * 1024, ' ');
	{
		RawConnection Connection(Emulator.Port());
		ASSERT_TRUE(Connection.Send(GrantRequest("Transfer-Encoding: chunked\r\n", Chunked(Padded, 64 * 1024), false)));
		EXPECT_TRUE(IsError(Connection.ReadAnswer(5000), 413, "payload_too_large"));
	}
	ExpectUnchanged();
}

TEST_F(EmulatorWire, BadOrOversizedContentLengthIsAnsweredAtOnce)
{
	const long long Started = NowMs();
	EXPECT_TRUE(IsError(Exchange(GrantRequest("Content-Length: -5\r\n", "", false), 2500), 400, "invalid_request"));
	EXPECT_TRUE(IsError(Exchange(GrantRequest("Content-Length: 5x\r\n", "", false), 2500), 400, "invalid_request"));
	EXPECT_TRUE(IsError(Exchange(GrantRequest("Content-Length: 99999999999999999999999\r\n", "", false), 2500), 413, "payload_too_large"));
	// Announced over 1 MiB with Expect: the refusal comes instead of 100 Continue.
	{
		RawConnection Connection(Emulator.Port());
		ASSERT_TRUE(Connection.Send(GrantRequest("Expect: 100-continue\r\nContent-Length: 2000000\r\n", "", false)));
		const HttpResponse Answer = Connection.ReadAnswer(2500, true);
		EXPECT_TRUE(IsError(Answer, 413, "payload_too_large"));
	}
	// Within the limit, Expect gets its 100 Continue and the request goes through.
	{
		RawConnection Connection(Emulator.Port());
		const std::string Body = GrantBody(1);
		ASSERT_TRUE(Connection.Send(GrantRequest("Expect: 100-continue\r\nContent-Length: " + std::to_string(Body.size()) + "\r\n", "", false)));
		EXPECT_EQ(Connection.ReadAnswer(2500, true).Status, 100);
		ASSERT_TRUE(Connection.Send(Body));
		EXPECT_EQ(Connection.ReadAnswer(3000).Status, 200);
	}
	// Each refusal came before the 3 s request deadline could have answered it instead.
	EXPECT_LT(NowMs() - Started, 12000);
	EXPECT_EQ(AmmoCount(), 6);
}

TEST_F(EmulatorWire, RefusalsBelowTheApiUseItsErrorShape)
{
	const std::string Auth = "Host: 127.0.0.1\r\nAuthorization: Bearer " + Someone.Token + "\r\n";
	EXPECT_TRUE(IsError(Exchange("GET /v1/game/containers/" + std::string(20000, 'a') + " HTTP/1.1\r\n" + Auth + "\r\n"), 414, "uri_too_long"));
	EXPECT_TRUE(IsError(Exchange("TRACE /v1/game/inventory/grant HTTP/1.1\r\n" + Auth + "\r\n"), 405, "method_not_allowed"));
	EXPECT_TRUE(IsError(Exchange("BREW /v1/game/inventory/grant HTTP/1.1\r\n" + Auth + "\r\n"), 501, "not_implemented"));
	EXPECT_TRUE(IsError(Exchange("GET /v1/game/sessions HTTP/2.0\r\n\r\n"), 505, "http_version_not_supported"));
	EXPECT_TRUE(IsError(Exchange("GET /v1/game/sessions HTTP/1.1\r\nBad Header: x\r\n\r\n"), 400, "invalid_request"));
	EXPECT_TRUE(IsError(Exchange("GET /v1/game/sessions HTTP/1.1\r\nX-A: 1\r\n continued\r\n\r\n"), 400, "invalid_request"));
	std::string ManyHeaders = "GET /v1/game/sessions HTTP/1.1\r\n";
	for (int i = 0; i < 2000; ++i)
	{
		ManyHeaders += "X-Filler-" + std::to_string(i) + ": " + std::string(40, 'f') + "\r\n";
	}
	EXPECT_TRUE(IsError(Exchange(ManyHeaders + "\r\n"), 431, "headers_too_large"));
	ExpectUnchanged();
}

// Repeated or empty headers ------------------------------------------------------------------

TEST_F(EmulatorWire, EmptyOrBlankIdempotencyKeysAreRefused)
{
	for (const std::string& Key : {std::string("Idempotency-Key:\r\n"), std::string("Idempotency-Key:    \r\n"), std::string("Idempotency-Key: \t\r\n")})
	{
		for (int Send = 0; Send < 2; ++Send)
		{
			EXPECT_TRUE(IsError(Exchange(GrantRequest(Key, GrantBody(1))), 400, "invalid_request")) << Key;
		}
	}
	ExpectUnchanged();
}

TEST_F(EmulatorWire, RepeatedHeadersAreRefusedWhicheverComesFirst)
{
	const std::string Body = GrantBody(1);
	for (const std::string& Headers : {std::string("Idempotency-Key: a\r\nIdempotency-Key: b\r\n"), std::string("Idempotency-Key: b\r\nIdempotency-Key: a\r\n"),
			 std::string("Authorization: Bearer " + Other.Token + "\r\n"), std::string("Content-Length: 3\r\n"),
			 std::string("Content-Length: " + std::to_string(Body.size()) + "\r\n")})
	{
		EXPECT_TRUE(IsError(Exchange(GrantRequest(Headers, Body)), 400, "invalid_request")) << Headers;
	}
	// Both framings at once would let two readers see two different requests.
	EXPECT_TRUE(IsError(Exchange(GrantRequest("Transfer-Encoding: chunked\r\n", Chunked(Body, 5))), 400, "invalid_request"));
	ExpectUnchanged();
}

// Framing ------------------------------------------------------------------------------------

TEST_F(EmulatorWire, BodyWithoutLengthIsRefusedWith411)
{
	RawConnection Connection(Emulator.Port());
	ASSERT_TRUE(Connection.Send(GrantRequest("", GrantBody(1), false)));
	Connection.HalfClose();
	EXPECT_TRUE(IsError(Connection.ReadAnswer(3000), 411, "length_required"));
	EXPECT_TRUE(Connection.ClosedWithin(5000));
	ExpectUnchanged();
}

TEST_F(EmulatorWire, PipelinedRequestsAreEachAnsweredInOrder)
{
	const std::string Read = "GET /v1/game/containers/" + QuarnTest::PercentEncode(Stash) + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + Someone.Token + "\r\n\r\n";
	RawConnection Connection(Emulator.Port());
	ASSERT_TRUE(Connection.Send(GrantRequest("Idempotency-Key: pipe-1\r\n", GrantBody(1)) + Read + GrantRequest("Idempotency-Key: pipe-2\r\n", GrantBody(2)) + Read +
		"GET /nowhere HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
	const int64_t Version = Before["version"];
	const HttpResponse First = Connection.ReadAnswer();
	const HttpResponse Second = Connection.ReadAnswer();
	const HttpResponse Third = Connection.ReadAnswer();
	const HttpResponse Fourth = Connection.ReadAnswer();
	const HttpResponse Fifth = Connection.ReadAnswer();
	EXPECT_EQ(First.Status, 200) << First.Error;
	EXPECT_EQ(Third.Status, 200) << Third.Error;
	ASSERT_EQ(Second.Status, 200) << Second.Error;
	ASSERT_EQ(Fourth.Status, 200) << Fourth.Error;
	EXPECT_EQ(BodyOf(Second)["version"], Version + 1);
	EXPECT_EQ(BodyOf(Fourth)["version"], Version + 2);
	EXPECT_TRUE(IsError(Fifth, 404, "not_found"));
	EXPECT_EQ(AmmoCount(), 8);
}

// Logs ---------------------------------------------------------------------------------------

TEST_F(EmulatorWire, ControlBytesInThePathAreEscapedInTheLog)
{
	EXPECT_TRUE(IsError(Exchange("GET /v1/game/\x1b[2J\x1b]0;owned\x07\x9b" "31m HTTP/1.1\r\n\r\n"), 400, "invalid_request"));
	ASSERT_EQ(Read(Someone, Stash), Before);
	const std::string Log = Emulator.ReadStderr();
	EXPECT_NE(Log.find("GET /v1/game/\\x1b[2J\\x1b]0;owned\\x07\\x9b31m 400"), std::string::npos) << Log;
	for (const char Byte : Log)
	{
		const unsigned char Code = static_cast<unsigned char>(Byte);
		EXPECT_TRUE(Byte == '\n' || (Code >= 0x20 && Code < 0x7f)) << "raw byte " << int(Code) << " in the log";
	}
}

// Numbers and JSON -------------------------------------------------------------------------------

TEST_F(EmulatorWire, MalformedNumbersAndDuplicateMembersAreRefused)
{
	const std::string History = "/admin/containers/" + QuarnTest::PercentEncode(Stash) + "/history";
	for (const char* Since : {"1abc", "abc", "1.5", "", "+", "99999999999999999999"})
	{
		const HttpResponse Answer = Emulator.Admin("GET", History + "?since=" + Since);
		if (std::string(Since).empty())
		{
			EXPECT_EQ(Answer.Status, 200) << Answer.Body;
			continue;
		}
		EXPECT_TRUE(IsError(Answer, 400, "invalid_request")) << Since;
	}
	EXPECT_EQ(Emulator.Admin("GET", History + "?since=1").Status, 200);

	const std::string Doubled = "{\"container_id\": \"" + Stash + "\", \"item_id\": \"Ammo\", \"quantity\": 1, \"quantity\": 50}";
	EXPECT_TRUE(IsError(Exchange(GrantRequest("", Doubled)), 400, "invalid_json"));
	const std::string Nested = "{\"container_id\": \"" + Stash + "\", \"item_id\": \"Ammo\", \"quantity\": 1, \"to\": {\"slot_index\": 1, \"slot_index\": 2}}";
	EXPECT_TRUE(IsError(Exchange(GrantRequest("", Nested)), 400, "invalid_json"));
	// The same name in two different objects is not a repeat.
	const std::string Separate = "{\"container_id\": \"" + Stash + "\", \"item_id\": \"Water\", \"quantity\": 1, \"to\": {\"quantity\": 1, \"slot_index\": 3}}";
	const HttpResponse Fine = Exchange(GrantRequest("", Separate));
	EXPECT_FALSE(IsError(Fine, 400, "invalid_json")) << Fine.Body;
}
