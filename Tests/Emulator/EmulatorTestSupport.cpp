#include "EmulatorTestSupport.h"

namespace EmulatorTesting
{
Json BodyOf(const HttpResponse& Response)
{
	const Json Parsed = Json::parse(Response.Body, nullptr, false);
	EXPECT_FALSE(Parsed.is_discarded()) << "not JSON: " << Response.Body << " (" << Response.Error << ")";
	return Parsed.is_discarded() ? Json() : Parsed;
}

::testing::AssertionResult IsError(const HttpResponse& Response, int Status, const std::string& Code)
{
	if (Response.Status != Status)
	{
		return ::testing::AssertionFailure() << "status " << Response.Status << ", expected " << Status << ": " << Response.Body << Response.Error;
	}
	const Json Parsed = Json::parse(Response.Body, nullptr, false);
	if (Parsed.is_discarded() || !Parsed.contains("error") || !Parsed["error"].is_object())
	{
		return ::testing::AssertionFailure() << "no error object: " << Response.Body;
	}
	const Json& Error = Parsed["error"];
	if (Error.value("code", "") != Code)
	{
		return ::testing::AssertionFailure() << "code " << Error.value("code", "") << ", expected " << Code << ": " << Response.Body;
	}
	if (Error.value("message", "").empty() || !Error.contains("hint") || !Error["hint"].is_string())
	{
		return ::testing::AssertionFailure() << "message or hint missing: " << Response.Body;
	}
	if (Error.value("request_id", "") != Response.Header("X-Request-Id") || Response.Header("X-Request-Id").empty())
	{
		return ::testing::AssertionFailure() << "request_id does not match X-Request-Id: " << Response.Body;
	}
	return ::testing::AssertionSuccess();
}

void EmulatorTest::SetUp()
{
	ASSERT_TRUE(Emulator.Start(Arguments())) << Emulator.LastError();
	Client = Emulator.Client();
}

void EmulatorTest::TearDown()
{
	if (Emulator.IsRunning())
	{
		EXPECT_TRUE(Emulator.Stop()) << "the emulator did not exit cleanly: " << Emulator.ReadStderr();
	}
	const std::string Log = Emulator.ReadStderr();
	// Nothing the emulator logs may look like a crash or a sanitizer report.
	EXPECT_EQ(Log.find("ERROR: AddressSanitizer"), std::string::npos) << Log;
	EXPECT_EQ(Log.find("runtime error:"), std::string::npos) << Log;
}

Player EmulatorTest::SignIn(const std::string& Ticket)
{
	const HttpResponse Response = Client.Post("/v1/game/sessions", Json{{"provider", "anonymous"}, {"ticket", Ticket}}.dump());
	EXPECT_EQ(Response.Status, 200) << Response.Body;
	const Json Body = BodyOf(Response);
	if (!Body.is_object() || !Body.contains("tokens"))
	{
		return Player{};
	}
	return Player{Body["player"]["id"].get<std::string>(), Body["tokens"]["access_token"].get<std::string>()};
}

Json EmulatorTest::EnsureGrid(const Player& Who, const std::string& Kind, int Width, int Height)
{
	const HttpResponse Response =
		Post(Who, "/v1/game/containers/ensure", Json{{"kind", Kind}, {"layout", "grid"}, {"grid_width", Width}, {"grid_height", Height}});
	EXPECT_EQ(Response.Status, 200) << Response.Body;
	return BodyOf(Response);
}

Json EmulatorTest::EnsureSlots(const Player& Who, const std::string& Kind, int Count)
{
	const HttpResponse Response = Post(Who, "/v1/game/containers/ensure", Json{{"kind", Kind}, {"layout", "slots"}, {"slot_count", Count}});
	EXPECT_EQ(Response.Status, 200) << Response.Body;
	return BodyOf(Response);
}

Json EmulatorTest::Read(const Player& Who, const std::string& ContainerId)
{
	const HttpResponse Response = Call(Who, "GET", "/v1/game/containers/" + QuarnTest::PercentEncode(ContainerId), std::string());
	EXPECT_EQ(Response.Status, 200) << Response.Body;
	return BodyOf(Response);
}

HttpResponse EmulatorTest::Call(const Player& Who, const std::string& Method, const std::string& Path, const std::string& Body,
	const std::string& IdempotencyKey)
{
	QuarnTest::HttpHeaders Headers;
	if (!Who.Token.empty())
	{
		Headers.push_back({"Authorization", "Bearer " + Who.Token});
	}
	if (!IdempotencyKey.empty())
	{
		Headers.push_back({"Idempotency-Key", IdempotencyKey});
	}
	return Client.Send(Method, Path, Body, Headers);
}

HttpResponse EmulatorTest::Grant(const Player& Who, const std::string& ContainerId, const std::string& ItemId, int64_t Quantity, const Json& To)
{
	Json Body = {{"container_id", ContainerId}, {"item_id", ItemId}, {"quantity", Quantity}};
	if (!To.is_null())
	{
		Body["to"] = To;
	}
	return Post(Who, "/v1/game/inventory/grant", Body);
}

HttpResponse EmulatorTest::Transact(const Player& Who, const std::string& ContainerId, int64_t ExpectedVersion, const Json& Intents,
	const std::string& IdempotencyKey)
{
	return Post(Who, "/v1/game/inventory/transaction",
		Json{{"intents", Intents}, {"container_id", ContainerId}, {"expected_version", ExpectedVersion}}, IdempotencyKey);
}

Json EmulatorTest::History(const std::string& ContainerId)
{
	const HttpResponse Response = Emulator.Admin("GET", "/admin/containers/" + QuarnTest::PercentEncode(ContainerId) + "/history");
	EXPECT_EQ(Response.Status, 200) << Response.Body;
	return BodyOf(Response);
}

Json ReplayItems(const Json& History)
{
	Json Items = Json::array();
	for (const Json& Entry : History["entries"])
	{
		for (const Json& Effect : Entry["effects"])
		{
			const std::string Change = Effect["change"];
			const std::string Id = Effect["instance_id"];
			auto Found = Items.end();
			for (auto It = Items.begin(); It != Items.end(); ++It)
			{
				if ((*It)["id"] == Id)
				{
					Found = It;
				}
			}
			Json State = {{"id", Id}, {"item_id", Effect["item_id"]}, {"quantity", Effect["quantity"]}, {"slot_index", Effect["slot_index"]},
				{"slot_key", Effect["slot_key"]}, {"x", Effect["x"]}, {"y", Effect["y"]}, {"rotated", Effect["rotated"]}};
			if (Change == "created")
			{
				EXPECT_EQ(Found, Items.end()) << "created twice: " << Id;
				Items.push_back(State);
			}
			else if (Change == "changed")
			{
				EXPECT_NE(Found, Items.end()) << "changed before it was created: " << Id;
				if (Found != Items.end())
				{
					*Found = State;
				}
			}
			else if (Change == "removed")
			{
				EXPECT_NE(Found, Items.end()) << "removed before it was created: " << Id;
				if (Found != Items.end())
				{
					Items.erase(Found);
				}
			}
			else
			{
				ADD_FAILURE() << "unknown change " << Change;
			}
		}
	}
	return Items;
}

Json ComparableItems(const Json& Document)
{
	Json Items = Json::array();
	for (const Json& Item : Document["items"])
	{
		Items.push_back({{"id", Item["id"]}, {"item_id", Item["item_id"]}, {"quantity", Item["quantity"]}, {"slot_index", Item["slot_index"]},
			{"slot_key", Item["slot_key"]}, {"x", Item["x"]}, {"y", Item["y"]}, {"rotated", Item["rotated"]}});
	}
	return Items;
}
}
