#include "EmulatorTestSupport.h"

#include <chrono>
#include <thread>

using namespace EmulatorTesting;

namespace
{
class EmulatorIdempotency : public EmulatorTest
{
protected:
	void SetUp() override
	{
		EmulatorTest::SetUp();
		Someone = SignIn("idempotency");
		Stash = EnsureSlots(Someone, "stash", 10)["id"];
	}

	std::string GrantBody(int Quantity) const { return Json{{"container_id", Stash}, {"item_id", "Ammo"}, {"quantity", Quantity}}.dump(); }
	HttpResponse GrantWithKey(const std::string& Key, int Quantity = 1)
	{
		return Call(Someone, "POST", "/v1/game/inventory/grant", GrantBody(Quantity), Key);
	}
	void SetFaults(const std::string& Plan)
	{
		const HttpResponse R = Emulator.Admin("PUT", "/admin/faults", Json{{"plan", Plan}}.dump());
		ASSERT_EQ(R.Status, 200) << R.Body;
	}
	int64_t AmmoQuantity()
	{
		const Json Items = Read(Someone, Stash)["items"];
		return Items.empty() ? 0 : Items[0]["quantity"].get<int64_t>();
	}

	Player Someone;
	std::string Stash;
};
}

TEST_F(EmulatorIdempotency, RepeatGetsTheStoredAnswerAndIsAppliedOnce)
{
	const HttpResponse First = GrantWithKey("key-1", 5);
	ASSERT_EQ(First.Status, 200) << First.Body;
	EXPECT_FALSE(First.HasHeader("Idempotent-Replayed"));
	const HttpResponse Again = GrantWithKey("key-1", 5);
	EXPECT_EQ(Again.Status, 200);
	EXPECT_EQ(Again.Header("Idempotent-Replayed"), "true");
	EXPECT_EQ(Again.Body, First.Body);
	EXPECT_NE(Again.Header("X-Request-Id"), First.Header("X-Request-Id"));
	EXPECT_EQ(AmmoQuantity(), 5);
	EXPECT_EQ(Read(Someone, Stash)["version"], 2);
	// Another key is another change.
	ASSERT_EQ(GrantWithKey("key-2", 5).Status, 200);
	EXPECT_EQ(AmmoQuantity(), 10);
}

TEST_F(EmulatorIdempotency, RefusalsAreStoredAndReplayedToo)
{
	const std::string Stack = BodyOf(GrantWithKey("seed", 2))["instance"]["id"];
	const std::string Consume = Json{{"instance_id", Stack}, {"quantity", 3}}.dump();
	const HttpResponse First = Call(Someone, "POST", "/v1/game/inventory/consume", Consume, "consume-3");
	ASSERT_TRUE(IsError(First, 409, "insufficient_quantity"));
	// Now the stack holds enough, but the key's answer stands.
	ASSERT_EQ(GrantWithKey("more", 5).Status, 200);
	const HttpResponse Again = Call(Someone, "POST", "/v1/game/inventory/consume", Consume, "consume-3");
	EXPECT_EQ(Again.Status, 409);
	EXPECT_EQ(Again.Header("Idempotent-Replayed"), "true");
	EXPECT_EQ(Again.Body, First.Body);
	EXPECT_EQ(AmmoQuantity(), 7);
}

TEST_F(EmulatorIdempotency, SameKeyWithAnotherBodyOrPathIsRefused)
{
	ASSERT_EQ(GrantWithKey("reused", 1).Status, 200);
	EXPECT_TRUE(IsError(GrantWithKey("reused", 2), 422, "idempotency_key_reused"));
	EXPECT_TRUE(IsError(Call(Someone, "POST", "/v1/game/inventory/consume", GrantBody(1), "reused"), 422, "idempotency_key_reused"));
	EXPECT_EQ(AmmoQuantity(), 1);
	// Keys belong to a player: another player's identical key is unrelated.
	const Player Other = SignIn("idempotency-other");
	const std::string OtherStash = EnsureSlots(Other, "stash", 10)["id"];
	const HttpResponse Theirs =
		Call(Other, "POST", "/v1/game/inventory/grant", Json{{"container_id", OtherStash}, {"item_id", "Ammo"}, {"quantity", 2}}.dump(), "reused");
	EXPECT_EQ(Theirs.Status, 200) << Theirs.Body;
	EXPECT_FALSE(Theirs.HasHeader("Idempotent-Replayed"));
}

TEST_F(EmulatorIdempotency, UnavailableAnswerIsNotStored)
{
	SetFaults("unavailable=1");
	EXPECT_TRUE(IsError(GrantWithKey("after-503", 4), 503, "unavailable"));
	SetFaults("none");
	EXPECT_EQ(AmmoQuantity(), 0);
	const HttpResponse Retry = GrantWithKey("after-503", 4);
	ASSERT_EQ(Retry.Status, 200) << Retry.Body;
	EXPECT_FALSE(Retry.HasHeader("Idempotent-Replayed"));
	EXPECT_EQ(AmmoQuantity(), 4);
}

TEST_F(EmulatorIdempotency, DroppedAnswerRetriedWithItsKeyIsAppliedOnce)
{
	SetFaults("drop=1,scope=mutating");
	const HttpResponse Lost = GrantWithKey("dropped", 3);
	EXPECT_FALSE(Lost.Answered()) << Lost.Status << " " << Lost.Body;
	SetFaults("none");
	// The change was committed before the connection closed.
	EXPECT_EQ(AmmoQuantity(), 3);
	const HttpResponse Retry = GrantWithKey("dropped", 3);
	ASSERT_EQ(Retry.Status, 200) << Retry.Body;
	EXPECT_EQ(Retry.Header("Idempotent-Replayed"), "true");
	EXPECT_EQ(AmmoQuantity(), 3);
	const Json Faults = BodyOf(Emulator.Admin("GET", "/admin/faults"));
	EXPECT_EQ(Faults["injected"]["drop"], 1);
}

TEST_F(EmulatorIdempotency, KeyStillInFlightIsInUse)
{
	SetFaults("delay=1:1500,scope=mutating");
	HttpResponse Slow;
	std::thread First([&] { Slow = GrantWithKey("slow", 2); });
	std::this_thread::sleep_for(std::chrono::milliseconds(400));
	const HttpResponse Busy = GrantWithKey("slow", 2);
	const HttpResponse Different = GrantWithKey("slow", 9);
	First.join();
	ASSERT_TRUE(IsError(Busy, 409, "idempotency_key_in_use"));
	EXPECT_FALSE(Busy.Header("Retry-After").empty());
	EXPECT_TRUE(IsError(Different, 422, "idempotency_key_reused"));
	EXPECT_EQ(Slow.Status, 200) << Slow.Body;
	SetFaults("none");
	EXPECT_EQ(AmmoQuantity(), 2);
}

TEST_F(EmulatorIdempotency, RecordsExpireAfterFourteenDays)
{
	ASSERT_EQ(GrantWithKey("old", 1).Status, 200);
	ASSERT_EQ(Emulator.Admin("POST", "/admin/clock", R"({"advance_seconds": 1209000})").Status, 200);
	Someone = SignIn("idempotency");
	EXPECT_EQ(GrantWithKey("old", 1).Header("Idempotent-Replayed"), "true");
	ASSERT_EQ(Emulator.Admin("POST", "/admin/clock", R"({"advance_seconds": 1000})").Status, 200);
	Someone = SignIn("idempotency");
	const HttpResponse Fresh = GrantWithKey("old", 1);
	ASSERT_EQ(Fresh.Status, 200) << Fresh.Body;
	EXPECT_FALSE(Fresh.HasHeader("Idempotent-Replayed"));
	EXPECT_EQ(AmmoQuantity(), 2);
}

TEST_F(EmulatorIdempotency, KeysMustBeShortPrintableAscii)
{
	EXPECT_TRUE(IsError(GrantWithKey(std::string(256, 'k')), 400, "invalid_request"));
	EXPECT_TRUE(IsError(GrantWithKey("tab\there"), 400, "invalid_request"));
	EXPECT_TRUE(IsError(GrantWithKey("caf\xc3\xa9"), 400, "invalid_request"));
	EXPECT_EQ(AmmoQuantity(), 0);
	EXPECT_EQ(GrantWithKey(std::string(255, 'k')).Status, 200);
	EXPECT_EQ(GrantWithKey("with space ~!").Status, 200);
}
