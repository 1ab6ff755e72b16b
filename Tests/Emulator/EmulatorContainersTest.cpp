#include "EmulatorTestSupport.h"

using namespace EmulatorTesting;

namespace
{
class EmulatorContainers : public EmulatorTest
{
};
}

TEST_F(EmulatorContainers, EnsureCreatesOnceAndKeepsTheFirstLayout)
{
	const Player Someone = SignIn("ensure");
	const Json Grid = EnsureGrid(Someone, "stash", 10, 8);
	EXPECT_EQ(std::string(Grid["id"]).rfind("ctr_", 0), 0u);
	const Json Expected = {{"id", Grid["id"]}, {"kind", "stash"}, {"layout", "grid"}, {"grid_width", 10}, {"grid_height", 8}, {"version", 1},
		{"items", Json::array()}};
	EXPECT_EQ(Grid, Expected);
	EXPECT_EQ(Grid.dump(), Expected.dump()) << "members out of order";

	// Asking again, even for another layout and size, returns the container as it is.
	EXPECT_EQ(EnsureSlots(Someone, "stash", 40), Grid);
	EXPECT_EQ(EnsureGrid(Someone, "stash", 2, 2), Grid);

	const Json Slots = EnsureSlots(Someone, "loadout", 24);
	EXPECT_EQ(Slots.dump(),
		Json({{"id", Slots["id"]}, {"kind", "loadout"}, {"layout", "slots"}, {"slot_count", 24}, {"version", 1}, {"items", Json::array()}}).dump());
	EXPECT_NE(Slots["id"], Grid["id"]);
	EXPECT_EQ(Read(Someone, Grid["id"]), Grid);
}

TEST_F(EmulatorContainers, EnsureValidatesKindLayoutAndSizeNamingTheMember)
{
	const Player Someone = SignIn("ensure-validation");
	const auto Ensure = [&](const Json& Body) { return Post(Someone, "/v1/game/containers/ensure", Body); };
	const auto Names = [](const HttpResponse& Response, const std::string& Member) {
		return std::string(BodyOf(Response)["error"]["message"]).find("\"" + Member + "\"") != std::string::npos;
	};
	HttpResponse R = Ensure({{"kind", ""}, {"layout", "slots"}, {"slot_count", 4}});
	EXPECT_TRUE(IsError(R, 400, "invalid_request"));
	EXPECT_TRUE(Names(R, "kind"));
	EXPECT_TRUE(IsError(Ensure({{"kind", std::string(65, 'k')}, {"layout", "slots"}, {"slot_count", 4}}), 400, "invalid_request"));
	EXPECT_EQ(Ensure({{"kind", std::string(64, 'k')}, {"layout", "slots"}, {"slot_count", 4}}).Status, 200);
	R = Ensure({{"kind", "a"}, {"layout", "hex"}, {"slot_count", 4}});
	EXPECT_TRUE(IsError(R, 400, "invalid_request"));
	EXPECT_TRUE(Names(R, "layout"));
	R = Ensure({{"kind", "b"}, {"layout", "slots"}, {"slot_count", 0}});
	EXPECT_TRUE(IsError(R, 400, "invalid_request"));
	EXPECT_TRUE(Names(R, "slot_count"));
	EXPECT_TRUE(IsError(Ensure({{"kind", "b"}, {"layout", "slots"}, {"slot_count", 100001}}), 400, "invalid_request"));
	EXPECT_EQ(Ensure({{"kind", "b"}, {"layout", "slots"}, {"slot_count", 100000}}).Status, 200);
	R = Ensure({{"kind", "c"}, {"layout", "grid"}, {"grid_width", 0}, {"grid_height", 8}});
	EXPECT_TRUE(IsError(R, 400, "invalid_request"));
	EXPECT_TRUE(Names(R, "grid_width"));
	R = Ensure({{"kind", "c"}, {"layout", "grid"}, {"grid_width", 10}, {"grid_height", 1001}});
	EXPECT_TRUE(IsError(R, 400, "invalid_request"));
	EXPECT_TRUE(Names(R, "grid_height"));
	EXPECT_TRUE(IsError(Ensure({{"kind", "c"}, {"layout", "grid"}, {"grid_width", 10}}), 400, "invalid_request"));
	// None of the refusals made a container.
	const Json Listed = BodyOf(Emulator.Admin("GET", "/admin/players/" + Someone.Id + "/containers"));
	EXPECT_EQ(Listed["containers"].size(), 2u);
}

TEST_F(EmulatorContainers, PathSegmentsArePercentDecodedOnce)
{
	const Player Someone = SignIn("odd-ids");
	const Json Made = BodyOf(Emulator.Admin(
		"POST", "/admin/containers", Json{{"player_id", Someone.Id}, {"id", "a/b c"}, {"kind", "odd"}, {"layout", "slots"}, {"slot_count", 3}}.dump()));
	ASSERT_EQ(Made["id"], "a/b c");
	const HttpResponse Read = Call(Someone, "GET", "/v1/game/containers/a%2Fb%20c", "");
	ASSERT_EQ(Read.Status, 200) << Read.Body;
	EXPECT_EQ(BodyOf(Read)["id"], "a/b c");
	// Decoded once only: "%252F" is the id "a%2Fb c", which does not exist.
	EXPECT_TRUE(IsError(Call(Someone, "GET", "/v1/game/containers/a%252Fb%20c", ""), 404, "container_not_found"));
	// An unencoded slash is another path.
	EXPECT_TRUE(IsError(Call(Someone, "GET", "/v1/game/containers/a/b%20c", ""), 404, "not_found"));
	EXPECT_EQ(Grant(Someone, "a/b c", "Ammo", 3).Status, 200);
}

TEST_F(EmulatorContainers, UnknownPathsAndMethodsAreRefused)
{
	const Player Someone = SignIn("routes");
	EXPECT_TRUE(IsError(Call(Someone, "GET", "/v1/game/nothing", ""), 404, "not_found"));
	EXPECT_TRUE(IsError(Call(Someone, "GET", "/", ""), 404, "not_found"));
	const HttpResponse Wrong = Call(Someone, "GET", "/v1/game/inventory/grant", "");
	EXPECT_TRUE(IsError(Wrong, 405, "method_not_allowed"));
	EXPECT_EQ(Wrong.Header("Allow"), "POST");
	EXPECT_TRUE(IsError(Call(Someone, "DELETE", "/v1/game/containers/ctr_x", ""), 405, "method_not_allowed"));
	EXPECT_TRUE(IsError(Call(Someone, "PUT", "/v1/game/sessions", "{}"), 405, "method_not_allowed"));
	EXPECT_TRUE(IsError(Call(Someone, "GET", "/v1/game/containers/ctr_missing", ""), 404, "container_not_found"));
}
