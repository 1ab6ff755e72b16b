#include "EmulatorTestSupport.h"

using namespace EmulatorTesting;

namespace
{
class EmulatorOwnership : public EmulatorTest
{
};

// The error's code and message, with the id it names replaced, so that refusals about two
// different ids can be compared.
std::string Shape(const HttpResponse& Response, const std::string& Id)
{
	const Json Error = BodyOf(Response)["error"];
	std::string Message = Error.value("message", "");
	const size_t At = Message.find(Id);
	if (At != std::string::npos)
	{
		Message.replace(At, Id.size(), "<id>");
	}
	return std::to_string(Response.Status) + " " + Error.value("code", "") + " " + Message + " " + Error.value("hint", "");
}
}

TEST_F(EmulatorOwnership, AnotherPlayersContainersAndStacksLookUnknown)
{
	const Player Alice = SignIn("alice");
	const Player Bob = SignIn("bob");
	const std::string AliceStash = EnsureGrid(Alice, "stash", 10, 8)["id"];
	const std::string BobStash = EnsureGrid(Bob, "stash", 10, 8)["id"];
	const std::string AliceRifle = BodyOf(Grant(Alice, AliceStash, "Rifle", 1))["instance"]["id"];
	const std::string BobAmmo = BodyOf(Grant(Bob, BobStash, "Ammo", 4))["instance"]["id"];
	const Json AliceBefore = Read(Alice, AliceStash);
	const std::string Unknown = "ctr_01J0000000000000000000000";
	const std::string UnknownStack = "ins_01J0000000000000000000000";

	const HttpResponse ReadTheirs = Call(Bob, "GET", "/v1/game/containers/" + AliceStash, "");
	const HttpResponse ReadUnknown = Call(Bob, "GET", "/v1/game/containers/" + Unknown, "");
	ASSERT_TRUE(IsError(ReadTheirs, 404, "container_not_found"));
	EXPECT_EQ(Shape(ReadTheirs, AliceStash), Shape(ReadUnknown, Unknown));

	const HttpResponse GrantTheirs = Grant(Bob, AliceStash, "Ammo", 1);
	EXPECT_TRUE(IsError(GrantTheirs, 404, "container_not_found"));
	EXPECT_EQ(Shape(GrantTheirs, AliceStash), Shape(Grant(Bob, Unknown, "Ammo", 1), Unknown));

	const HttpResponse ConsumeTheirs = Post(Bob, "/v1/game/inventory/consume", {{"instance_id", AliceRifle}, {"quantity", 1}});
	EXPECT_TRUE(IsError(ConsumeTheirs, 404, "instance_not_found"));
	EXPECT_EQ(Shape(ConsumeTheirs, AliceRifle), Shape(Post(Bob, "/v1/game/inventory/consume", {{"instance_id", UnknownStack}, {"quantity", 1}}), UnknownStack));

	EXPECT_TRUE(IsError(Post(Bob, "/v1/game/inventory/move", {{"instance_id", AliceRifle}, {"to_container_id", BobStash}}), 404, "instance_not_found"));
	EXPECT_TRUE(IsError(Post(Bob, "/v1/game/inventory/move", {{"instance_id", BobAmmo}, {"to_container_id", AliceStash}}), 404, "container_not_found"));

	const Json ConsumeIntent = {{"kind", "consume"}, {"instance_id", AliceRifle}, {"quantity", 1}};
	EXPECT_TRUE(IsError(Transact(Bob, AliceStash, 2, Json::array({ConsumeIntent})), 404, "container_not_found"));
	// Naming her stack inside his own container does not reveal that it exists elsewhere.
	const HttpResponse Inside = Transact(Bob, BobStash, 2, Json::array({ConsumeIntent}));
	EXPECT_TRUE(IsError(Inside, 404, "instance_not_found"));
	EXPECT_EQ(Shape(Inside, AliceRifle),
		Shape(Transact(Bob, BobStash, 2, Json::array({{{"kind", "consume"}, {"instance_id", UnknownStack}, {"quantity", 1}}})), UnknownStack));

	EXPECT_EQ(Read(Alice, AliceStash), AliceBefore);
	EXPECT_EQ(Read(Bob, BobStash)["version"], 2);
}
