// What HTTP requires of a server about Host, request targets and HTTP/1.0 framing, and the
// refusal of requests addressed to the emulator by a name that is not its own (DNS rebinding):
// exact bytes over raw sockets, and every refused request must change nothing.
#include "EmulatorTestSupport.h"
#include "RawConnection.h"

using namespace EmulatorTesting;

namespace
{
class EmulatorHttpRules : public EmulatorTest
{
protected:
	void SetUp() override
	{
		EmulatorTest::SetUp();
		Someone = SignIn("rules");
		Stash = EnsureSlots(Someone, "stash", 10)["id"];
		ASSERT_EQ(Grant(Someone, Stash, "Ammo", 5).Status, 200);
		Before = Read(Someone, Stash);
	}

	std::string Own() const { return "127.0.0.1:" + std::to_string(Emulator.Port()); }
	std::string GrantBody(int Quantity) const { return Json{{"container_id", Stash}, {"item_id", "Ammo"}, {"quantity", Quantity}}.dump(); }
	// A grant with this request line's target and version and these header lines; Host is not added.
	std::string GrantRequest(const std::string& Target, const std::string& Version, const std::string& Headers, int Quantity = 1) const
	{
		const std::string Body = GrantBody(Quantity);
		return "POST " + Target + " " + Version + "\r\n" + Headers + "Authorization: Bearer " + Someone.Token +
			"\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(Body.size()) + "\r\n\r\n" + Body;
	}
	std::string ReadRequest(const std::string& Target, const std::string& Host) const
	{
		return "GET " + Target + " HTTP/1.1\r\n" + Host + "Authorization: Bearer " + Someone.Token + "\r\n\r\n";
	}
	HttpResponse Exchange(const std::string& Bytes, int TimeoutMs = 5000)
	{
		RawConnection Connection(Emulator.Port());
		EXPECT_TRUE(Connection.IsOpen());
		EXPECT_TRUE(Connection.Send(Bytes));
		return Connection.ReadAnswer(TimeoutMs);
	}
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
	std::string Stash;
	Json Before;
};
}

// Host ---------------------------------------------------------------------------------------

TEST_F(EmulatorHttpRules, Http11WithoutAValidHostIsRefused)
{
	EXPECT_TRUE(IsError(Exchange(GrantRequest("/v1/game/inventory/grant", "HTTP/1.1", "")), 400, "invalid_request"));
	for (const char* Host : {"", "a b", "127.0.0.1:99999", "127.0.0.1:", "[zz]:1", "x/y", "127.0.0.1:1x"})
	{
		EXPECT_TRUE(IsError(Exchange(GrantRequest("/v1/game/inventory/grant", "HTTP/1.1", "Host: " + std::string(Host) + "\r\n")), 400, "invalid_request")) << Host;
	}
	EXPECT_EQ(Read(Someone, Stash), Before);
	// HTTP/1.0 has no Host requirement.
	const HttpResponse Http10 = Exchange(GrantRequest("/v1/game/inventory/grant", "HTTP/1.0", ""));
	EXPECT_EQ(Http10.Status, 200) << Http10.Error << Http10.Body;
	EXPECT_EQ(AmmoCount(), 6);
}

TEST_F(EmulatorHttpRules, TargetsHoldingBlanksOrControlsAreRefused)
{
	const std::string Path = "/v1/game/containers/" + Stash;
	for (const std::string& Bad : {std::string(" x"), std::string("\r"), std::string(1, '\0'), std::string("\t"), std::string("\x7f")})
	{
		const HttpResponse Answer = Exchange(ReadRequest(Path + Bad, "Host: " + Own() + "\r\n"));
		EXPECT_TRUE(IsError(Answer, 400, "invalid_request")) << int(static_cast<unsigned char>(Bad[0])) << " " << Answer.Status;
		const HttpResponse Grant = Exchange(GrantRequest("/v1/game/inventory/grant" + Bad, "HTTP/1.1", "Host: " + Own() + "\r\n"));
		EXPECT_TRUE(IsError(Grant, 400, "invalid_request")) << int(static_cast<unsigned char>(Bad[0]));
	}
	EXPECT_EQ(Read(Someone, Stash), Before);
}

TEST_F(EmulatorHttpRules, AbsoluteFormNamingThisServerIsServed)
{
	const HttpResponse Granted = Exchange(GrantRequest("http://" + Own() + "/v1/game/inventory/grant", "HTTP/1.1", "Host: " + Own() + "\r\n", 2));
	EXPECT_EQ(Granted.Status, 200) << Granted.Body;
	const HttpResponse Read = Exchange(ReadRequest("http://localhost:" + std::to_string(Emulator.Port()) + "/v1/game/containers/" + Stash, "Host: " + Own() + "\r\n"));
	EXPECT_EQ(Read.Status, 200) << Read.Body;
	EXPECT_EQ(AmmoCount(), 7);
	// Naming another server (a proxy request) is not ours to answer.
	EXPECT_TRUE(IsError(Exchange(GrantRequest("http://example.com/v1/game/inventory/grant", "HTTP/1.1", "Host: " + Own() + "\r\n")), 403, "host_not_allowed"));
	EXPECT_TRUE(IsError(Exchange(GrantRequest("http://127.0.0.1:1/v1/game/inventory/grant", "HTTP/1.1", "Host: " + Own() + "\r\n")), 403, "host_not_allowed"));
	EXPECT_EQ(AmmoCount(), 7);
}

// HTTP/1.0 framing ---------------------------------------------------------------------------

TEST_F(EmulatorHttpRules, Http10WithTransferEncodingClosesAfterItsAnswer)
{
	const std::string Body = GrantBody(1);
	char Size[16];
	std::snprintf(Size, sizeof(Size), "%zx", Body.size());
	const std::string Chunked = "POST /v1/game/inventory/grant HTTP/1.0\r\nConnection: keep-alive\r\nAuthorization: Bearer " + Someone.Token +
		"\r\nTransfer-Encoding: chunked\r\n\r\n" + Size + "\r\n" + Body + "\r\n0\r\n\r\n";
	RawConnection Connection(Emulator.Port());
	ASSERT_TRUE(Connection.Send(Chunked + GrantRequest("/v1/game/inventory/grant", "HTTP/1.1", "Host: " + Own() + "\r\nIdempotency-Key: behind\r\n", 50)));
	const HttpResponse First = Connection.ReadAnswer(3000);
	EXPECT_NE(First.Status, 0) << First.Error;
	EXPECT_TRUE(Connection.ClosedWithin(3000));
	// Whatever the first became, the request behind it never ran.
	EXPECT_LT(AmmoCount(), 50);
}

TEST_F(EmulatorHttpRules, Http10ExpectContinueIsIgnored)
{
	const std::string Body = GrantBody(1);
	RawConnection Connection(Emulator.Port());
	ASSERT_TRUE(Connection.Send("POST /v1/game/inventory/grant HTTP/1.0\r\nAuthorization: Bearer " + Someone.Token +
		"\r\nExpect: 100-continue\r\nContent-Length: " + std::to_string(Body.size()) + "\r\n\r\n"));
	// No interim answer: the client is still to send its body.
	const HttpResponse Early = Connection.ReadAnswer(800, true);
	EXPECT_EQ(Early.Status, 0) << "answered " << Early.Status << " before the body";
	ASSERT_TRUE(Connection.Send(Body));
	EXPECT_EQ(Connection.ReadAnswer(3000).Status, 200);
	EXPECT_EQ(AmmoCount(), 6);
}

// Foreign pages ------------------------------------------------------------------------------

TEST_F(EmulatorHttpRules, ARequestByAnotherNameOrFromAnotherPageIsRefused)
{
	const std::string Port = std::to_string(Emulator.Port());
	const std::string SignInBody = Json{{"provider", "anonymous"}, {"ticket", "default"}}.dump();
	auto SignInWith = [&](const std::string& Headers) {
		return Exchange("POST /v1/game/sessions HTTP/1.1\r\n" + Headers + "Content-Type: application/json\r\nContent-Length: " +
			std::to_string(SignInBody.size()) + "\r\n\r\n" + SignInBody);
	};
	// A page on a rebound name: both its Host and its Origin name it.
	const HttpResponse Rebound = SignInWith("Host: rebound.example:" + Port + "\r\nOrigin: http://rebound.example:" + Port + "\r\n");
	EXPECT_TRUE(IsError(Rebound, 403, "host_not_allowed"));
	EXPECT_EQ(Rebound.Body.find("access_token"), std::string::npos);
	EXPECT_TRUE(IsError(SignInWith("Host: rebound.example:" + Port + "\r\n"), 403, "host_not_allowed"));
	EXPECT_TRUE(IsError(SignInWith("Host: 127.0.0.1:1\r\n"), 403, "host_not_allowed"));
	// A page elsewhere (another port on loopback included) that talks to the real address.
	for (const std::string& Origin : std::vector<std::string>{"http://evil.example", "http://localhost:3000", "null", "https://127.0.0.1:" + Port, "http://127.0.0.1:" + Port + "x"})
	{
		EXPECT_TRUE(IsError(SignInWith("Host: " + Own() + "\r\nOrigin: " + Origin + "\r\n"), 403, "origin_not_allowed")) << Origin;
	}
	EXPECT_TRUE(IsError(Exchange(GrantRequest("/v1/game/inventory/grant", "HTTP/1.1", "Host: " + Own() + "\r\nOrigin: http://evil.example\r\n")), 403,
		"origin_not_allowed"));
	EXPECT_EQ(Read(Someone, Stash), Before);
	// The emulator's own pages, and its loopback names.
	for (const std::string& Headers : std::vector<std::string>{"Host: " + Own() + "\r\nOrigin: http://" + Own() + "\r\n", "Host: localhost:" + Port + "\r\nOrigin: http://localhost:" + Port + "\r\n",
			 "Host: [::1]:" + Port + "\r\n", "Host: 127.0.0.1\r\n", "Host: LOCALHOST\r\n"})
	{
		EXPECT_EQ(SignInWith(Headers).Status, 200) << Headers;
	}
	// The plug-in's client and the test client send Host with the port.
	EXPECT_EQ(Emulator.Client().Post("/v1/game/sessions", SignInBody).Status, 200);
}

TEST(EmulatorAllowedHosts, ListenAnyWithAnAllowListAcceptsTheListedNamesOnly)
{
	QuarnTest::EmulatorProcess Emulator;
	ASSERT_TRUE(Emulator.Start({"--listen-any", "--allow-host", "Dev.Example"})) << Emulator.LastError();
	const std::string Port = std::to_string(Emulator.Port());
	const std::string Body = Json{{"provider", "anonymous"}, {"ticket", "listed"}}.dump();
	auto SignInWith = [&](const std::string& Headers) {
		RawConnection Connection(Emulator.Port());
		EXPECT_TRUE(Connection.Send("POST /v1/game/sessions HTTP/1.1\r\n" + Headers + "Content-Length: " + std::to_string(Body.size()) + "\r\n\r\n" + Body));
		return Connection.ReadAnswer(5000);
	};
	EXPECT_EQ(SignInWith("Host: dev.example:" + Port + "\r\nOrigin: http://dev.example:" + Port + "\r\n").Status, 200);
	EXPECT_TRUE(IsError(SignInWith("Host: other.example:" + Port + "\r\n"), 403, "host_not_allowed"));
	EXPECT_EQ(SignInWith("Host: 127.0.0.1:" + Port + "\r\n").Status, 200);
	EXPECT_TRUE(Emulator.Stop());

	// Without --listen-any an allow-list is a mistake, said at start.
	QuarnTest::EmulatorProcess Refused;
	EXPECT_FALSE(Refused.Start({"--allow-host", "dev.example"}));
}
