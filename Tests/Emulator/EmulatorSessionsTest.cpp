#include "EmulatorTestSupport.h"

#include <cstdio>
#include <fstream>

using namespace EmulatorTesting;

namespace
{
class EmulatorSessions : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override
	{
		const std::string Path = Emulator.StderrPath() + ".tickets.json";
		std::ofstream(Path) << R"({"steam": {"tkt-alice": "alice", "tkt-alice-2": "alice", "tkt-bob": "bob"}})";
		return {"--tickets", Path, "--token-ttl", "60"};
	}
	void TearDown() override
	{
		EmulatorTest::TearDown();
		std::remove((Emulator.StderrPath() + ".tickets.json").c_str());
	}

	HttpResponse SignInWith(const std::string& Provider, const std::string& Ticket)
	{
		return Client.Post("/v1/game/sessions", Json{{"provider", Provider}, {"ticket", Ticket}}.dump());
	}
};

class EmulatorProduction : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override { return {"--production"}; }
};
}

TEST_F(EmulatorSessions, AnonymousTicketAlwaysGivesTheSamePlayerWithFreshTokens)
{
	const HttpResponse First = SignInWith("anonymous", "menu_preview");
	const HttpResponse Second = SignInWith("anonymous", "menu_preview");
	const HttpResponse Other = SignInWith("anonymous", "someone_else");
	ASSERT_EQ(First.Status, 200) << First.Body;
	const Json A = BodyOf(First);
	const Json B = BodyOf(Second);
	EXPECT_EQ(A["player"]["id"], B["player"]["id"]);
	EXPECT_EQ(A["player"]["provider"], "anonymous");
	EXPECT_NE(A["player"]["id"], BodyOf(Other)["player"]["id"]);
	EXPECT_EQ(A["tokens"]["token_type"], "Bearer");
	EXPECT_EQ(A["tokens"]["expires_in"], 60);
	const std::string TokenA = A["tokens"]["access_token"];
	const std::string TokenB = B["tokens"]["access_token"];
	EXPECT_NE(TokenA, TokenB);
	// At least 128 bits of randomness in an opaque string.
	EXPECT_GE(TokenA.size(), 32u);
	EXPECT_EQ(std::string(A["player"]["id"]).rfind("plr_", 0), 0u);

	// The first token stays valid after the second sign-in.
	const Player Old{A["player"]["id"], TokenA};
	const Player New{A["player"]["id"], TokenB};
	const Json Made = EnsureSlots(Old, "stash", 4);
	EXPECT_EQ(Read(New, Made["id"])["id"], Made["id"]);
}

TEST_F(EmulatorSessions, RefusesEmptyTicketsAndUnknownProviders)
{
	EXPECT_TRUE(IsError(SignInWith("anonymous", ""), 400, "invalid_request"));
	EXPECT_TRUE(IsError(SignInWith("epic", "x"), 400, "unsupported_provider"));
	EXPECT_TRUE(IsError(Client.Post("/v1/game/sessions", R"({"provider": "anonymous"})"), 400, "invalid_request"));
	EXPECT_TRUE(IsError(Client.Post("/v1/game/sessions", R"({"provider": 7, "ticket": "x"})"), 400, "invalid_request"));
}

TEST_F(EmulatorSessions, TicketFileProvidersSignInTheirTestPlayers)
{
	const Json Alice = BodyOf(SignInWith("steam", "tkt-alice"));
	const Json AliceAgain = BodyOf(SignInWith("steam", "tkt-alice-2"));
	const Json Bob = BodyOf(SignInWith("steam", "tkt-bob"));
	EXPECT_EQ(Alice["player"]["provider"], "steam");
	EXPECT_EQ(Alice["player"]["id"], AliceAgain["player"]["id"]);
	EXPECT_NE(Alice["player"]["id"], Bob["player"]["id"]);
	// An anonymous ticket that spells a label is another player.
	EXPECT_NE(BodyOf(SignInWith("anonymous", "alice"))["player"]["id"], Alice["player"]["id"]);
	EXPECT_TRUE(IsError(SignInWith("steam", "tkt-mallory"), 401, "unauthorized"));
}

TEST_F(EmulatorSessions, RequestsWithoutAValidTokenAreUnauthorized)
{
	const Player Someone = SignIn("token-owner");
	const std::string Id = EnsureSlots(Someone, "stash", 4)["id"];
	const std::string Path = "/v1/game/containers/" + Id;
	EXPECT_TRUE(IsError(Client.Get(Path), 401, "unauthorized"));
	EXPECT_TRUE(IsError(Client.Get(Path, {{"Authorization", "Basic abc"}}), 401, "unauthorized"));
	EXPECT_TRUE(IsError(Client.Get(Path, {{"Authorization", "Bearer not-a-token"}}), 401, "unauthorized"));
	// A token of the right shape whose secret half is wrong.
	std::string Forged = Someone.Token;
	Forged.back() = Forged.back() == 'A' ? 'B' : 'A';
	EXPECT_TRUE(IsError(Client.Get(Path, {{"Authorization", "Bearer " + Forged}}), 401, "unauthorized"));
	EXPECT_EQ(Client.Get(Path, {{"Authorization", "bearer " + Someone.Token}}).Status, 200);
}

TEST_F(EmulatorSessions, ExpiredTokensAreRefusedAsExpired)
{
	const Player Someone = SignIn("short-lived");
	const std::string Id = EnsureSlots(Someone, "stash", 4)["id"];
	ASSERT_EQ(Emulator.Admin("POST", "/admin/clock", R"({"advance_seconds": 61})").Status, 200);
	EXPECT_TRUE(IsError(Call(Someone, "GET", "/v1/game/containers/" + Id, ""), 401, "token_expired"));
	const Player Again = SignIn("short-lived");
	EXPECT_EQ(Again.Id, Someone.Id);
	EXPECT_EQ(Read(Again, Id)["id"], Id);
}

TEST_F(EmulatorProduction, RefusesAnonymousSignIn)
{
	const HttpResponse Response = Client.Post("/v1/game/sessions", R"({"provider": "anonymous", "ticket": "menu_preview"})");
	ASSERT_TRUE(IsError(Response, 403, "provider_not_allowed"));
	EXPECT_FALSE(std::string(BodyOf(Response)["error"]["hint"]).empty());
}
