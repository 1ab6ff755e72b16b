#include "EmulatorTestSupport.h"

using namespace EmulatorTesting;

namespace
{
class EmulatorTransaction : public EmulatorTest
{
protected:
	void SetUp() override
	{
		EmulatorTest::SetUp();
		Someone = SignIn("transactions");
		Stash = EnsureGrid(Someone, "stash", 6, 4)["id"];
	}

	std::string GrantAt(const std::string& Item, int X, int Y, int Quantity = 1)
	{
		const HttpResponse R = Grant(Someone, Stash, Item, Quantity, {{"x", X}, {"y", Y}});
		EXPECT_EQ(R.Status, 200) << R.Body;
		return BodyOf(R)["instance"]["id"];
	}
	int64_t Version() { return Read(Someone, Stash)["version"]; }
	Json GrantIntent(const std::string& Item, int Quantity) const
	{
		return {{"kind", "grant"}, {"container_id", Stash}, {"item_id", Item}, {"quantity", Quantity}};
	}
	static Json ConsumeIntent(const std::string& Id, int Quantity) { return {{"kind", "consume"}, {"instance_id", Id}, {"quantity", Quantity}}; }
	static Json MoveIntent(const std::string& Id, const Json& To) { return {{"kind", "move"}, {"instance_id", Id}, {"to", To}}; }

	Player Someone;
	std::string Stash;
};
}

TEST_F(EmulatorTransaction, AppliesAllIntentsAsOneVersion)
{
	const std::string Ammo = GrantAt("Ammo", 0, 0, 10);
	const std::string Bandage = GrantAt("Bandage", 1, 0, 2);
	const HttpResponse R = Transact(Someone, Stash, 3,
		{ConsumeIntent(Ammo, 4), GrantIntent("Ammo", 1), ConsumeIntent(Bandage, 2), GrantIntent("Medkit", 3), MoveIntent(Ammo, {{"x", 5}, {"y", 3}})});
	ASSERT_EQ(R.Status, 200) << R.Body;
	const Json Body = BodyOf(R);
	EXPECT_EQ(Body["version"], 4);
	ASSERT_EQ(Body["results"].size(), 5u);
	// Each result is the stack as the transaction left it, or null when it is gone.
	EXPECT_EQ(Body["results"][0]["quantity"], 7);
	EXPECT_EQ(Body["results"][1]["id"], Ammo);
	EXPECT_TRUE(Body["results"][2].is_null());
	EXPECT_EQ(Body["results"][3]["item_id"], "Medkit");
	// Grants come after the consumes and moves: the Medkit takes the first free place of the final
	// state, (0,0), which the Ammo left.
	EXPECT_EQ(Body["results"][3]["x"], 0);
	EXPECT_EQ(Body["results"][3]["y"], 0);
	EXPECT_EQ(Body["results"][4]["x"], 5);
	const Json Document = Read(Someone, Stash);
	EXPECT_EQ(Document["version"], 4);
	EXPECT_EQ(Document["items"].size(), 2u);
}

TEST_F(EmulatorTransaction, StaleVersionIsAConflictAndChangesNothing)
{
	const std::string Ammo = GrantAt("Ammo", 0, 0, 10);
	const Json Before = Read(Someone, Stash);
	const HttpResponse R = Transact(Someone, Stash, 1, {ConsumeIntent(Ammo, 1)});
	ASSERT_TRUE(IsError(R, 409, "version_conflict"));
	EXPECT_EQ(BodyOf(R)["error"]["current_version"], 2);
	EXPECT_EQ(Read(Someone, Stash), Before);
}

TEST_F(EmulatorTransaction, OccupancyIsCheckedOnTheFinalStateSoSwapsWork)
{
	const std::string Left = GrantAt("Helmet", 0, 0);
	const std::string Right = GrantAt("Backpack", 2, 0);
	const HttpResponse R = Transact(Someone, Stash, 3, {MoveIntent(Left, {{"x", 2}, {"y", 0}}), MoveIntent(Right, {{"x", 0}, {"y", 0}})});
	ASSERT_EQ(R.Status, 200) << R.Body;
	const Json Items = Read(Someone, Stash)["items"];
	EXPECT_EQ(Items[0]["id"], Left);
	EXPECT_EQ(Items[0]["x"], 2);
	EXPECT_EQ(Items[1]["x"], 0);

	// A rotation in place that fits: the Backpack (2 x 3) becomes 3 x 2.
	const HttpResponse Rotated = Transact(Someone, Stash, 4, {MoveIntent(Right, {{"x", 0}, {"y", 2}, {"rotated", true}})});
	ASSERT_EQ(Rotated.Status, 200) << Rotated.Body;
	const Json Turned = BodyOf(Rotated)["results"][0];
	EXPECT_EQ(Turned["rotated"], true);
	EXPECT_EQ(Turned["grid_w"], 3);
	EXPECT_EQ(Turned["grid_h"], 2);
}

TEST_F(EmulatorTransaction, RealCollisionIsRefusedAndChangesNothing)
{
	const std::string A = GrantAt("Helmet", 0, 0);
	const std::string B = GrantAt("Ammo", 4, 0, 5);
	const Json Before = Read(Someone, Stash);
	// The Ammo is only partly consumed, so it still holds a cell the Helmet would cover.
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 3, {ConsumeIntent(B, 2), MoveIntent(A, {{"x", 3}, {"y", 0}})}), 409, "cell_occupied"));
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 3, {ConsumeIntent(B, 2), MoveIntent(A, {{"x", 5}, {"y", 0}})}), 409, "container_full"));
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 3, {ConsumeIntent(B, 6)}), 409, "insufficient_quantity"));
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 3, {ConsumeIntent(B, 5), ConsumeIntent(B, 1)}), 404, "instance_not_found"));
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 3, {MoveIntent(A, {{"slot_index", 2}})}), 409, "layout_mismatch"));
	// 19 cells are free; 20 different 1 x 1 items do not fit, so none of them is granted.
	Json Many = Json::array({ConsumeIntent(B, 1)});
	for (int I = 0; I < 20; ++I)
	{
		Many.push_back(GrantIntent("Gem" + std::to_string(I), 1));
	}
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 3, Many), 409, "container_full"));
	EXPECT_EQ(Read(Someone, Stash), Before);
	EXPECT_EQ(History(Stash)["entries"].size(), 3u);
	// One fewer fits exactly.
	Many.erase(Many.end() - 1);
	ASSERT_EQ(Transact(Someone, Stash, 3, Many).Status, 200);
	EXPECT_EQ(Read(Someone, Stash)["items"].size(), 21u);
}

TEST_F(EmulatorTransaction, EmptyMoveChangesNothingButCountsAsAVersion)
{
	const std::string A = GrantAt("Helmet", 1, 1);
	const HttpResponse R = Transact(Someone, Stash, 2, {MoveIntent(A, Json::object())});
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_EQ(BodyOf(R)["results"][0]["x"], 1);
	EXPECT_EQ(BodyOf(R)["results"][0]["y"], 1);
	EXPECT_EQ(Version(), 3);
}

TEST_F(EmulatorTransaction, IntentsMustStayInsideTheContainer)
{
	const std::string Other = EnsureGrid(Someone, "other", 4, 4)["id"];
	const HttpResponse Held = Grant(Someone, Other, "Ammo", 1);
	const std::string Foreign = BodyOf(Held)["instance"]["id"];
	Json Outside = GrantIntent("Ammo", 1);
	Outside["container_id"] = Other;
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 1, {Outside}), 400, "intent_outside_container"));
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 1, {ConsumeIntent(Foreign, 1)}), 400, "intent_outside_container"));
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 1, {MoveIntent(Foreign, {{"x", 0}, {"y", 0}})}), 400, "intent_outside_container"));
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 1, {ConsumeIntent("ins_unknown", 1)}), 404, "instance_not_found"));
	EXPECT_EQ(Read(Someone, Other)["version"], 2);
	EXPECT_EQ(Version(), 1);
}

TEST_F(EmulatorTransaction, RefusesMoreThanTenThousandIntents)
{
	Json Intents = Json::array();
	for (int I = 0; I < 10001; ++I)
	{
		Intents.push_back(GrantIntent("Ammo", 1));
	}
	EXPECT_TRUE(IsError(Transact(Someone, Stash, 1, Intents), 400, "too_many_intents"));
	Intents.erase(Intents.begin());
	const HttpResponse R = Transact(Someone, Stash, 1, Intents);
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_EQ(BodyOf(R)["version"], 2);
	EXPECT_EQ(Read(Someone, Stash)["items"][0]["quantity"], 10000);
}

TEST_F(EmulatorTransaction, InstanceIdsMatchWithoutRegardToCase)
{
	const std::string Ammo = GrantAt("Ammo", 0, 0, 3);
	std::string Lower = Ammo;
	for (char& C : Lower)
	{
		C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
	}
	const HttpResponse R = Transact(Someone, Stash, 2, {ConsumeIntent(Lower, 1)});
	ASSERT_EQ(R.Status, 200) << R.Body;
	EXPECT_EQ(BodyOf(R)["results"][0]["id"], Ammo);
}

TEST_F(EmulatorTransaction, HistoryReplaysToTheStoredContainer)
{
	const std::string Loadout = EnsureSlots(Someone, "loadout", 8)["id"];
	const std::string Ammo = GrantAt("Ammo", 0, 0, 10);
	const std::string Rifle = GrantAt("Rifle", 0, 1);
	ASSERT_EQ(Transact(Someone, Stash, 3, {ConsumeIntent(Ammo, 3), MoveIntent(Rifle, {{"x", 2}, {"y", 2}}), GrantIntent("Medkit", 2)}).Status, 200);
	ASSERT_EQ(Post(Someone, "/v1/game/inventory/move", {{"instance_id", Ammo}, {"to_container_id", Loadout}}).Status, 200);
	ASSERT_EQ(Post(Someone, "/v1/game/inventory/move", {{"instance_id", Ammo}, {"to_container_id", Stash}, {"to", {{"x", 5}, {"y", 0}}}}).Status, 200);
	ASSERT_EQ(Post(Someone, "/v1/game/inventory/consume", {{"instance_id", Rifle}, {"quantity", 1}}).Status, 200);
	for (const std::string& Id : {Stash, Loadout})
	{
		const Json Log = History(Id);
		const Json Document = Read(Someone, Id);
		EXPECT_EQ(ReplayItems(Log), ComparableItems(Document)) << Log.dump(1);
		// Versions rise by one per entry, none skipped.
		int64_t Expected = 1;
		for (const Json& Entry : Log["entries"])
		{
			EXPECT_EQ(Entry["version"], Expected++);
		}
		EXPECT_EQ(Document["version"], Expected - 1);
	}
}
