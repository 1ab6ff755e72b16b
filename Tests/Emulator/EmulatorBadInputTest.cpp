#include "EmulatorTestSupport.h"

using namespace EmulatorTesting;

namespace
{
class EmulatorBadInput : public EmulatorTest
{
protected:
	void SetUp() override
	{
		EmulatorTest::SetUp();
		Someone = SignIn("bad-input");
		Stash = EnsureSlots(Someone, "stash", 10)["id"];
		Stack = BodyOf(Grant(Someone, Stash, "Ammo", 5))["instance"]["id"];
		Before = Read(Someone, Stash);
	}

	void ExpectRefused(const std::string& Path, const std::string& Body, int Status, const std::string& Code)
	{
		const HttpResponse R = Call(Someone, "POST", Path, Body, "key-" + std::to_string(++Sent));
		EXPECT_TRUE(IsError(R, Status, Code)) << "body: " << Body.substr(0, 200);
	}
	std::string TransactionWith(const std::string& IntentsText) const
	{
		return "{\"intents\": " + IntentsText + ", \"container_id\": \"" + Stash + "\", \"expected_version\": 2}";
	}

	Player Someone;
	std::string Stash;
	std::string Stack;
	Json Before;
	int Sent = 0;
};
}

TEST_F(EmulatorBadInput, MalformedOrNonObjectBodiesAreInvalidJson)
{
	const std::string Grant = "/v1/game/inventory/grant";
	ExpectRefused(Grant, "{\"container_id\": ", 400, "invalid_json");
	ExpectRefused(Grant, "not json at all", 400, "invalid_json");
	ExpectRefused(Grant, "", 400, "invalid_json");
	ExpectRefused(Grant, "[1, 2, 3]", 400, "invalid_json");
	ExpectRefused(Grant, "\"a string\"", 400, "invalid_json");
	ExpectRefused(Grant, "{\"item_id\": \"Am\xff\xfemo\", \"container_id\": \"" + Stash + "\", \"quantity\": 1}", 400, "invalid_json");
	ExpectRefused(Grant, "{\"item_id\": \"\xc3\", \"quantity\": 1}", 400, "invalid_json");
	ExpectRefused(Grant, std::string(100000, '[') + std::string(100000, ']'), 400, "invalid_json");
	ExpectRefused("/v1/game/containers/ensure", "{\"kind\": \"x\", \"layout\": \"slots\", \"slot_count\": 3,}", 400, "invalid_json");
	EXPECT_EQ(Read(Someone, Stash), Before);
}

TEST_F(EmulatorBadInput, WrongTypesHugeNumbersAndNegativeQuantitiesAreInvalidRequests)
{
	const std::string Grant = "/v1/game/inventory/grant";
	const std::string Prefix = "{\"container_id\": \"" + Stash + "\", \"item_id\": \"Ammo\", \"quantity\": ";
	for (const char* Quantity : {"\"5\"", "true", "null", "[5]", "-1", "0", "2.5", "99999999999999999999999", "9223372036854775808"})
	{
		ExpectRefused(Grant, Prefix + Quantity + "}", 400, "invalid_request");
	}
	// Numbers no double can hold, and NaN, are not JSON the parser accepts.
	ExpectRefused(Grant, Prefix + "1e400}", 400, "invalid_json");
	ExpectRefused(Grant, Prefix + "-1e400}", 400, "invalid_json");
	ExpectRefused(Grant, Prefix + "NaN}", 400, "invalid_json");
	ExpectRefused(Grant, "{\"container_id\": 17, \"item_id\": \"Ammo\", \"quantity\": 1}", 400, "invalid_request");
	ExpectRefused(Grant, "{\"container_id\": \"" + Stash + "\", \"item_id\": \"\", \"quantity\": 1}", 400, "invalid_request");
	ExpectRefused(Grant, Prefix + "1, \"to\": \"slot 3\"}", 400, "invalid_request");
	ExpectRefused(Grant, Prefix + "1, \"to\": {\"slot_index\": -1}}", 400, "invalid_request");
	ExpectRefused(Grant, Prefix + "1, \"to\": {\"slot_index\": 1e12}}", 400, "invalid_request");
	ExpectRefused("/v1/game/inventory/consume", "{\"instance_id\": \"" + Stack + "\", \"quantity\": -5}", 400, "invalid_request");
	ExpectRefused("/v1/game/inventory/consume", "{\"instance_id\": [\"" + Stack + "\"], \"quantity\": 1}", 400, "invalid_request");
	ExpectRefused("/v1/game/inventory/move", "{\"instance_id\": \"" + Stack + "\", \"to_container_id\": \"" + Stash + "\", \"to\": {\"x\": 1}}", 400,
		"invalid_request");
	EXPECT_EQ(Read(Someone, Stash), Before);
}

TEST_F(EmulatorBadInput, MalformedTransactionsChangeNothing)
{
	const std::string Path = "/v1/game/inventory/transaction";
	const std::string Grant = "{\"kind\": \"grant\", \"container_id\": \"" + Stash + "\", \"item_id\": \"Ammo\", \"quantity\": 1}";
	ExpectRefused(Path, TransactionWith("[" + Grant + ", {\"kind\": \"teleport\", \"instance_id\": \"" + Stack + "\"}]"), 400, "invalid_request");
	ExpectRefused(Path, TransactionWith("[" + Grant + ", {\"instance_id\": \"" + Stack + "\"}]"), 400, "invalid_request");
	ExpectRefused(Path, TransactionWith("[" + Grant + ", 42]"), 400, "invalid_request");
	ExpectRefused(Path, TransactionWith("{\"kind\": \"grant\"}"), 400, "invalid_request");
	ExpectRefused(Path, TransactionWith("[" + Grant + ", {\"kind\": \"consume\", \"instance_id\": \"" + Stack + "\", \"quantity\": -2}]"), 400,
		"invalid_request");
	ExpectRefused(Path, TransactionWith("[{\"kind\": \"move\", \"instance_id\": \"" + Stack + "\"}]"), 400, "invalid_request");
	ExpectRefused(Path, "{\"intents\": [" + Grant + "], \"container_id\": \"" + Stash + "\", \"expected_version\": \"2\"}", 400, "invalid_request");
	ExpectRefused(Path, "{\"intents\": [" + Grant + "], \"container_id\": \"" + Stash + "\"}", 400, "invalid_request");
	ExpectRefused(Path, "{\"intents\": [" + Grant + "], \"container_id\": \"" + Stash + "\", \"expected_version\": -1}", 400, "invalid_request");
	EXPECT_EQ(Read(Someone, Stash), Before);
	EXPECT_EQ(History(Stash)["entries"].size(), 2u);
}

TEST_F(EmulatorBadInput, BodiesOverOneMebibyteAreRefusedBeforeParsing)
{
	// Valid JSON, just too large: 2 MiB of padding in a string.
	const std::string Big = "{\"container_id\": \"" + Stash + "\", \"item_id\": \"Ammo\", \"quantity\": 1, \"pad\": \"" + std::string(2 * 1024 * 1024, 'x') + "\"}";
	ExpectRefused("/v1/game/inventory/grant", Big, 413, "payload_too_large");
	ExpectRefused("/v1/game/sessions", Big, 413, "payload_too_large");
	// Just under the limit is read (and is a normal grant).
	const std::string Fits = "{\"container_id\": \"" + Stash + "\", \"item_id\": \"Ammo\", \"quantity\": 1, \"pad\": \"" + std::string(1024 * 1000, 'x') + "\"}";
	EXPECT_EQ(Call(Someone, "POST", "/v1/game/inventory/grant", Fits).Status, 200);
	EXPECT_EQ(Read(Someone, Stash)["items"][0]["quantity"], 6);
	// The emulator still serves.
	EXPECT_EQ(SignIn("bad-input").Id, Someone.Id);
}
