#include "EmulatorTestSupport.h"

#include <cctype>

using namespace EmulatorTesting;

namespace
{
class EmulatorGrant : public EmulatorTest
{
};
class EmulatorConsume : public EmulatorTest
{
};
class EmulatorMove : public EmulatorTest
{
};

std::string Lowercase(std::string Text)
{
	for (char& C : Text)
	{
		C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
	}
	return Text;
}
}

TEST_F(EmulatorGrant, AddsToTheFirstStackOfTheItemElseTheLowestFreeSlot)
{
	const Player Someone = SignIn("grant-slots");
	const std::string Id = EnsureSlots(Someone, "loadout", 4)["id"];
	ASSERT_EQ(Grant(Someone, Id, "Bandage", 1, {{"slot_index", 0}}).Status, 200);
	ASSERT_EQ(Grant(Someone, Id, "Bandage", 2, {{"slot_index", 2}}).Status, 200);
	// Without "to": onto the first Bandage stack, in container order.
	HttpResponse R = Grant(Someone, Id, "Bandage", 5);
	ASSERT_EQ(R.Status, 200) << R.Body;
	Json Body = BodyOf(R);
	EXPECT_EQ(Body["version"], 4);
	EXPECT_EQ(Body["instance"]["quantity"], 6);
	EXPECT_EQ(Body["instance"]["slot_index"], 0);
	// A new item goes to the lowest free index.
	Body = BodyOf(Grant(Someone, Id, "Medkit", 1));
	EXPECT_EQ(Body["instance"]["slot_index"], 1);
	EXPECT_EQ(Body["instance"]["x"], -1);
	EXPECT_EQ(Body["instance"]["y"], -1);
	EXPECT_EQ(Body["instance"]["properties"]["__qnid"], Body["instance"]["id"]);
	EXPECT_EQ(BodyOf(Grant(Someone, Id, "Ammo", 1))["instance"]["slot_index"], 3);
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Water", 1), 409, "container_full"));
	// Full, but a stack of the item exists: still added.
	EXPECT_EQ(BodyOf(Grant(Someone, Id, "Ammo", 9))["instance"]["quantity"], 10);

	const Json Document = Read(Someone, Id);
	EXPECT_EQ(Document["version"], 7);
	ASSERT_EQ(Document["items"].size(), 4u);
	// Items are listed in the order their stacks were created.
	EXPECT_EQ(Document["items"][0]["slot_index"], 0);
	EXPECT_EQ(Document["items"][1]["slot_index"], 2);
	EXPECT_EQ(Document["items"][2]["item_id"], "Medkit");
}

TEST_F(EmulatorGrant, GridScansRowByRowForTheFirstPlaceTheFootprintFits)
{
	const Player Someone = SignIn("grant-grid");
	const std::string Id = EnsureGrid(Someone, "stash", 4, 3)["id"];
	// Rifle is 3 x 1, Helmet 2 x 2, Backpack 2 x 3.
	Json Rifle = BodyOf(Grant(Someone, Id, "Rifle", 1));
	EXPECT_EQ(Rifle["instance"]["x"], 0);
	EXPECT_EQ(Rifle["instance"]["y"], 0);
	EXPECT_EQ(Rifle["instance"]["grid_w"], 3);
	EXPECT_EQ(Rifle["instance"]["grid_h"], 1);
	EXPECT_EQ(Rifle["instance"]["slot_index"], -1);
	// Row 0 has one free cell (3,0); a Helmet needs 2 x 2, so row 1 column 0.
	Json Helmet = BodyOf(Grant(Someone, Id, "Helmet", 1));
	EXPECT_EQ(Helmet["instance"]["x"], 0);
	EXPECT_EQ(Helmet["instance"]["y"], 1);
	// A 1 x 1 item takes the cell left in row 0.
	Json Ammo = BodyOf(Grant(Someone, Id, "Ammo", 1));
	EXPECT_EQ(Ammo["instance"]["x"], 3);
	EXPECT_EQ(Ammo["instance"]["y"], 0);
	// Only columns 2..3 of rows 1..2 are free: no room for a Backpack (2 x 3), room for a Pistol (2 x 1).
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Backpack", 1), 409, "container_full"));
	Json Second = BodyOf(Grant(Someone, Id, "Pistol", 1));
	EXPECT_EQ(Second["instance"]["x"], 2);
	EXPECT_EQ(Second["instance"]["y"], 1);
}

TEST_F(EmulatorGrant, NamedPlaceIsANewStackRefusedWhenTakenOrOutside)
{
	const Player Someone = SignIn("grant-named");
	const std::string Id = EnsureGrid(Someone, "stash", 10, 8)["id"];
	const Json First = BodyOf(Grant(Someone, Id, "Rifle", 1, {{"x", 2}, {"y", 3}}));
	EXPECT_EQ(First["instance"]["x"], 2);
	EXPECT_EQ(First["instance"]["y"], 3);
	// With "to" it does not merge: a second Rifle stack.
	const Json Second = BodyOf(Grant(Someone, Id, "Rifle", 1, {{"x", 0}, {"y", 0}}));
	EXPECT_NE(Second["instance"]["id"], First["instance"]["id"]);
	// (4,3) is the Rifle's third cell.
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 1, {{"x", 4}, {"y", 3}}), 409, "cell_occupied"));
	// A Helmet at (1,2) would cover (2,3).
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Helmet", 1, {{"x", 1}, {"y", 2}}), 409, "cell_occupied"));
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Rifle", 1, {{"x", 8}, {"y", 0}}), 409, "container_full"));
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 1, {{"x", 0}, {"y", 8}}), 409, "container_full"));
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 1, {{"slot_index", 3}}), 409, "layout_mismatch"));
	EXPECT_EQ(Read(Someone, Id)["version"], 3);
	EXPECT_EQ(Read(Someone, Id)["items"].size(), 2u);
}

TEST_F(EmulatorGrant, SlotContainersRefuseGridPlacesAndOutsideSlots)
{
	const Player Someone = SignIn("grant-slot-rules");
	const std::string Id = EnsureSlots(Someone, "loadout", 3)["id"];
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 1, {{"x", 0}, {"y", 0}}), 409, "layout_mismatch"));
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 1, {{"slot_index", 3}}), 409, "container_full"));
	ASSERT_EQ(Grant(Someone, Id, "Ammo", 1, {{"slot_index", 2}}).Status, 200);
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Bandage", 1, {{"slot_index", 2}}), 409, "cell_occupied"));
	// Catalogue footprints are reported in slot containers too; they take one slot.
	const Json Rifle = BodyOf(Grant(Someone, Id, "Rifle", 1, {{"slot_index", 0}}));
	EXPECT_EQ(Rifle["instance"]["grid_w"], 3);
	EXPECT_EQ(BodyOf(Grant(Someone, Id, "Helmet", 1))["instance"]["slot_index"], 1);
}

TEST_F(EmulatorGrant, QuantityMustBePositiveAndStacksStayWithinTheLimit)
{
	const Player Someone = SignIn("grant-quantity");
	const std::string Id = EnsureSlots(Someone, "loadout", 3)["id"];
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 0), 400, "invalid_request"));
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", -4), 400, "invalid_request"));
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 2147483648LL), 400, "invalid_request"));
	ASSERT_EQ(Grant(Someone, Id, "Ammo", 2147483647LL).Status, 200);
	EXPECT_TRUE(IsError(Grant(Someone, Id, "Ammo", 1), 400, "invalid_request"));
	EXPECT_EQ(Read(Someone, Id)["items"][0]["quantity"], 2147483647LL);
	EXPECT_TRUE(IsError(Grant(Someone, "ctr_unknown", "Ammo", 1), 404, "container_not_found"));
}

TEST_F(EmulatorConsume, TakesUnitsAndRemovesAnEmptyStack)
{
	const Player Someone = SignIn("consume");
	const std::string Id = EnsureSlots(Someone, "loadout", 3)["id"];
	const std::string Stack = BodyOf(Grant(Someone, Id, "Bandage", 5))["instance"]["id"];
	HttpResponse R = Post(Someone, "/v1/game/inventory/consume", {{"instance_id", Stack}, {"quantity", 2}});
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_EQ(BodyOf(R)["instance"]["quantity"], 3);
	EXPECT_EQ(BodyOf(R)["version"], 3);
	EXPECT_TRUE(IsError(Post(Someone, "/v1/game/inventory/consume", {{"instance_id", Stack}, {"quantity", 4}}), 409, "insufficient_quantity"));
	// The id matches without regard to letter case.
	R = Post(Someone, "/v1/game/inventory/consume", {{"instance_id", Lowercase(Stack)}, {"quantity", 3}});
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_TRUE(BodyOf(R)["instance"].is_null());
	EXPECT_EQ(BodyOf(R)["version"], 4);
	EXPECT_TRUE(Read(Someone, Id)["items"].empty());
	EXPECT_TRUE(IsError(Post(Someone, "/v1/game/inventory/consume", {{"instance_id", Stack}, {"quantity", 1}}), 404, "instance_not_found"));
	EXPECT_TRUE(IsError(Post(Someone, "/v1/game/inventory/consume", {{"instance_id", Stack}, {"quantity", 0}}), 400, "invalid_request"));
}

TEST_F(EmulatorMove, MovesTheWholeStackBetweenContainersAndBumpsBothVersions)
{
	const Player Someone = SignIn("move");
	const std::string Stash = EnsureGrid(Someone, "stash", 10, 8)["id"];
	const std::string Loadout = EnsureSlots(Someone, "loadout", 24)["id"];
	const Json Granted = BodyOf(Grant(Someone, Stash, "Rifle", 2, {{"x", 4}, {"y", 4}}));
	const std::string Stack = Granted["instance"]["id"];
	ASSERT_EQ(Grant(Someone, Loadout, "Ammo", 1).Status, 200);

	HttpResponse R = Post(Someone, "/v1/game/inventory/move", {{"instance_id", Stack}, {"to_container_id", Loadout}, {"to", {{"slot_index", 5}}}});
	ASSERT_EQ(R.Status, 200) << R.Body;
	Json Body = BodyOf(R);
	EXPECT_EQ(Body["version"], 3);
	EXPECT_EQ(Body["from_version"], 3);
	EXPECT_EQ(Body["instance"]["id"], Stack);
	EXPECT_EQ(Body["instance"]["quantity"], 2);
	EXPECT_EQ(Body["instance"]["slot_index"], 5);
	EXPECT_EQ(Body["instance"]["x"], -1);
	EXPECT_TRUE(Read(Someone, Stash)["items"].empty());
	EXPECT_EQ(Read(Someone, Loadout)["items"].size(), 2u);

	// Back without "to": the first place its 3 x 1 footprint fits.
	R = Post(Someone, "/v1/game/inventory/move", {{"instance_id", Stack}, {"to_container_id", Stash}});
	Body = BodyOf(R);
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_EQ(Body["instance"]["x"], 0);
	EXPECT_EQ(Body["instance"]["y"], 0);
	EXPECT_EQ(Body["instance"]["slot_index"], -1);
	EXPECT_EQ(Body["version"], 4);
	EXPECT_EQ(Body["from_version"], 4);
}

TEST_F(EmulatorMove, WithinOneContainerBumpsItOnceAndChecksThePlace)
{
	const Player Someone = SignIn("move-within");
	const std::string Stash = EnsureGrid(Someone, "stash", 10, 8)["id"];
	const std::string Rifle = BodyOf(Grant(Someone, Stash, "Rifle", 1, {{"x", 0}, {"y", 0}}))["instance"]["id"];
	ASSERT_EQ(Grant(Someone, Stash, "Helmet", 1, {{"x", 5}, {"y", 5}}).Status, 200);
	const auto Move = [&](const Json& To) {
		return Post(Someone, "/v1/game/inventory/move", {{"instance_id", Rifle}, {"to_container_id", Stash}, {"to", To}});
	};
	// Overlapping its own old cells is fine.
	HttpResponse R = Move({{"x", 1}, {"y", 0}});
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_EQ(BodyOf(R)["version"], 4);
	EXPECT_EQ(BodyOf(R)["from_version"], 4);
	EXPECT_TRUE(IsError(Move({{"x", 4}, {"y", 5}}), 409, "cell_occupied"));
	EXPECT_TRUE(IsError(Move({{"x", 8}, {"y", 0}}), 409, "container_full"));
	EXPECT_TRUE(IsError(Move({{"slot_index", 1}}), 409, "layout_mismatch"));
	EXPECT_EQ(Read(Someone, Stash)["version"], 4);
	EXPECT_EQ(Read(Someone, Stash)["items"][0]["x"], 1);
}

TEST_F(EmulatorMove, RefusesUnknownStacksAndContainers)
{
	const Player Someone = SignIn("move-refusals");
	const std::string Loadout = EnsureSlots(Someone, "loadout", 1)["id"];
	const std::string Stash = EnsureSlots(Someone, "stash", 4)["id"];
	ASSERT_EQ(Grant(Someone, Loadout, "Ammo", 1).Status, 200);
	const std::string Bandage = BodyOf(Grant(Someone, Stash, "Bandage", 1))["instance"]["id"];
	EXPECT_TRUE(IsError(Post(Someone, "/v1/game/inventory/move", {{"instance_id", "ins_nope"}, {"to_container_id", Loadout}}), 404, "instance_not_found"));
	EXPECT_TRUE(IsError(Post(Someone, "/v1/game/inventory/move", {{"instance_id", Bandage}, {"to_container_id", "ctr_nope"}}), 404, "container_not_found"));
	EXPECT_TRUE(IsError(Post(Someone, "/v1/game/inventory/move", {{"instance_id", Bandage}, {"to_container_id", Loadout}}), 409, "container_full"));
	EXPECT_EQ(Read(Someone, Stash)["version"], 2);
	EXPECT_EQ(Read(Someone, Loadout)["version"], 2);
}

TEST_F(EmulatorGrant, AcceptsPrettyPrintedBodiesWithWholeNumbersAsDoubles)
{
	const Player Someone = SignIn("pretty");
	const std::string Id = EnsureGrid(Someone, "stash", 10, 8)["id"];
	// The engine's JSON writer: CR LF line ends, tab indents, numbers that may carry ".0".
	const std::string Body = "{\r\n\t\"container_id\": \"" + Id + "\",\r\n\t\"item_id\": \"Ammo\",\r\n\t\"quantity\": 3.0,\r\n\t\"to\": {\r\n\t\t\"x\": 2,\r\n\t\t\"y\": 1.0\r\n\t}\r\n}";
	const HttpResponse R = Call(Someone, "POST", "/v1/game/inventory/grant", Body);
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_EQ(BodyOf(R)["instance"]["quantity"], 3);
	EXPECT_EQ(BodyOf(R)["instance"]["y"], 1);
}
