// What the emulator adds for its dashboard page, over HTTP against the running program: the page's
// files, the players' token expiry, the change wait, the noted replays, and the printed address.
#include "../Emulator/EmulatorTestSupport.h"

#include "Dashboard.h"

#include <chrono>
#include <future>
#include <signal.h>

using namespace EmulatorTesting;

namespace
{
class DashboardApi : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override { return {"--token-ttl", "120"}; }

	std::string Stamp(const std::string& Known = std::string())
	{
		const HttpResponse R = Emulator.Admin("GET", "/admin/dashboard/wait?stamp=" + QuarnTest::PercentEncode(Known));
		EXPECT_EQ(R.Status, 200) << R.Body;
		return BodyOf(R).value("stamp", "");
	}
};

TEST(DashboardAddress, PercentEncodesTheKeyInTheFragment)
{
	EXPECT_EQ(Velmora::dashboardAddress("http://127.0.0.1:8471", "3f0cA-_.~"), "http://127.0.0.1:8471/dashboard#key=3f0cA-_.~");
	EXPECT_EQ(Velmora::dashboardAddress("http://[::1]:1", "a b/#&%"), "http://[::1]:1/dashboard#key=a%20b%2F%23%26%25");
}

TEST_F(DashboardApi, ServesThePageAndItsFilesOnlyForReading)
{
	for (const std::string Path : {"/dashboard", "/dashboard/"})
	{
		const HttpResponse Page = Client.Get(Path);
		ASSERT_EQ(Page.Status, 200) << Path;
		EXPECT_EQ(Page.Header("Content-Type"), "text/html; charset=utf-8");
		EXPECT_NE(Page.Header("Content-Security-Policy").find("default-src 'none'"), std::string::npos);
		EXPECT_NE(Page.Body.find("<!DOCTYPE html>"), std::string::npos);
		EXPECT_EQ(Page.Body.find(Emulator.AdminKey()), std::string::npos);
	}
	EXPECT_EQ(Client.Get("/dashboard/app.js").Header("Content-Type"), "text/javascript; charset=utf-8");
	EXPECT_EQ(Client.Get("/dashboard/style.css").Header("Content-Type"), "text/css; charset=utf-8");
	// Nothing else under or beside it, and no writing to it.
	EXPECT_TRUE(IsError(Client.Get("/dashboard/../admin/players"), 404, "not_found"));
	EXPECT_TRUE(IsError(Client.Get("/dashboard/Embed.cmake"), 404, "not_found"));
	EXPECT_TRUE(IsError(Client.Get("/dashboardx"), 404, "not_found"));
	EXPECT_TRUE(IsError(Client.Post("/dashboard", "{}"), 404, "not_found"));
}

TEST_F(DashboardApi, PlayersCarryTheirLatestTokenExpiry)
{
	const Player Someone = SignIn("expiring");
	const Json Listed = BodyOf(Emulator.Admin("GET", "/admin/players"));
	ASSERT_EQ(Listed["players"].size(), 1u);
	const std::string Expires = Listed["players"][0]["token_expires_at"];
	const std::string Now = Listed["now"];
	// ISO 8601 text compares in time order; the token lives 120 s from its sign-in.
	EXPECT_GT(Expires, Now);
	ASSERT_EQ(Emulator.Admin("POST", "/admin/clock", R"({"advance_seconds": 100})").Status, 200);
	SignIn("expiring");
	const std::string Later = BodyOf(Emulator.Admin("GET", "/admin/players"))["players"][0]["token_expires_at"];
	EXPECT_GT(Later, Expires) << "a new sign-in's token is the latest";
}

TEST_F(DashboardApi, WaitAnswersAtOnceWhenTheDataDiffersAndSoonAfterAChange)
{
	const std::string First = Stamp();
	ASSERT_EQ(First.size(), 16u);
	EXPECT_EQ(Stamp("not-a-stamp"), First) << "an unknown stamp is answered at once with the current one";

	const Player Someone = SignIn("waiter");
	const std::string AfterSignIn = Stamp();
	EXPECT_NE(AfterSignIn, First);
	const Json Stash = EnsureGrid(Someone, "stash", 4, 4);
	const std::string Known = Stamp();

	// A wait on the current stamp returns shortly after a grant lands, with a new stamp.
	auto Waiting = std::async(std::launch::async, [this, Known] {
		const auto Started = std::chrono::steady_clock::now();
		const std::string Next = Stamp(Known);
		return std::make_pair(Next, std::chrono::steady_clock::now() - Started);
	});
	std::this_thread::sleep_for(std::chrono::milliseconds(300));
	ASSERT_EQ(Grant(Someone, Stash["id"], "Ammo", 5).Status, 200);
	ASSERT_EQ(Waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
	const auto [Next, Took] = Waiting.get();
	EXPECT_NE(Next, Known);
	EXPECT_LT(Took, std::chrono::milliseconds(3000)) << "it waited for its time limit instead of the change";

	// Fault settings count as a change; a game read does not.
	const std::string Before = Stamp();
	ASSERT_EQ(Emulator.Admin("PUT", "/admin/faults", R"({"plan": "delay=0.5:1"})").Status, 200);
	EXPECT_NE(Stamp(), Before);
}

TEST_F(DashboardApi, ReplaysAreNotedNewestFirstAndForgottenOnReset)
{
	const Player Someone = SignIn("replayer");
	const Json Stash = EnsureSlots(Someone, "stash", 10);
	const Json Body = {{"container_id", Stash["id"]}, {"item_id", "Water"}, {"quantity", 1}};
	ASSERT_EQ(Post(Someone, "/v1/game/inventory/grant", Body, "key-1").Status, 200);
	EXPECT_TRUE(BodyOf(Emulator.Admin("GET", "/admin/dashboard/replays"))["replays"].empty()) << "a first answer is no replay";

	const HttpResponse Again = Post(Someone, "/v1/game/inventory/grant", Body, "key-1");
	ASSERT_EQ(Again.Header("Idempotent-Replayed"), "true");
	const HttpResponse Refused = Post(Someone, "/v1/game/inventory/grant", Json{{"container_id", "nope"}, {"item_id", "Water"}, {"quantity", 1}}, "key-2");
	ASSERT_EQ(Refused.Status, 404);
	ASSERT_EQ(Post(Someone, "/v1/game/inventory/grant", Json{{"container_id", "nope"}, {"item_id", "Water"}, {"quantity", 1}}, "key-2").Status, 404);

	const Json Replays = BodyOf(Emulator.Admin("GET", "/admin/dashboard/replays?player_id=" + Someone.Id))["replays"];
	ASSERT_EQ(Replays.size(), 2u);
	EXPECT_EQ(Replays[0]["idempotency_key"], "key-2");
	EXPECT_EQ(Replays[0]["status"], 404);
	EXPECT_EQ(Replays[1]["idempotency_key"], "key-1");
	EXPECT_EQ(Replays[1]["request_id"], Again.Header("X-Request-Id"));
	EXPECT_EQ(Replays[1]["player_id"], Someone.Id);
	EXPECT_EQ(Replays[1]["path"], "/v1/game/inventory/grant");
	EXPECT_TRUE(BodyOf(Emulator.Admin("GET", "/admin/dashboard/replays?player_id=plr_other"))["replays"].empty());

	ASSERT_EQ(Emulator.Admin("POST", "/admin/reset").Status, 200);
	EXPECT_TRUE(BodyOf(Emulator.Admin("GET", "/admin/dashboard/replays"))["replays"].empty());
}

TEST_F(DashboardApi, ItsAdminRequestsNeedTheKeyAndTheirMethod)
{
	for (const std::string Path : {"/admin/dashboard/wait", "/admin/dashboard/replays"})
	{
		EXPECT_TRUE(IsError(Client.Get(Path), 401, "unauthorized")) << Path;
		EXPECT_TRUE(IsError(Emulator.Admin("POST", Path, "{}"), 405, "method_not_allowed")) << Path;
	}
	EXPECT_TRUE(IsError(Emulator.Admin("GET", "/admin/dashboard/other"), 404, "not_found"));
	EXPECT_TRUE(IsError(Emulator.Admin("GET", "/admin/dashboard"), 404, "not_found"));
}

TEST_F(DashboardApi, AStopIsNotHeldUpByAWaitingPage)
{
	const std::string Known = Stamp();
	auto Waiting = std::async(std::launch::async, [this, Known] { return Emulator.Admin("GET", "/admin/dashboard/wait?stamp=" + Known); });
	std::this_thread::sleep_for(std::chrono::milliseconds(300));
	const auto Started = std::chrono::steady_clock::now();
	EXPECT_TRUE(Emulator.Stop());
	EXPECT_LT(std::chrono::steady_clock::now() - Started, std::chrono::milliseconds(4000));
	ASSERT_EQ(Waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
	Waiting.get();
}
}
