#pragma once

#include "QuarnTest/EmulatorProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace EmulatorTesting
{
using Json = nlohmann::ordered_json;
using QuarnTest::HttpResponse;

struct Player
{
	std::string Id;
	std::string Token;
};

// Parses an answer's body; a body that is not JSON gives null (and fails the test).
Json BodyOf(const HttpResponse& Response);

// Asserts the game API's error shape: status, code, non-empty message, request_id equal to the
// X-Request-Id header.
::testing::AssertionResult IsError(const HttpResponse& Response, int Status, const std::string& Code);

// A running emulator per test, and shorthands for the game API.
class EmulatorTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;
	// Extra command-line arguments for this fixture's emulator.
	virtual std::vector<std::string> Arguments() const { return {}; }

	Player SignIn(const std::string& Ticket);
	Json EnsureGrid(const Player& Who, const std::string& Kind, int Width, int Height);
	Json EnsureSlots(const Player& Who, const std::string& Kind, int Count);
	Json Read(const Player& Who, const std::string& ContainerId);
	HttpResponse Call(const Player& Who, const std::string& Method, const std::string& Path, const std::string& Body,
		const std::string& IdempotencyKey = std::string());
	HttpResponse Post(const Player& Who, const std::string& Path, const Json& Body, const std::string& IdempotencyKey = std::string())
	{
		return Call(Who, "POST", Path, Body.dump(), IdempotencyKey);
	}
	HttpResponse Grant(const Player& Who, const std::string& ContainerId, const std::string& ItemId, int64_t Quantity, const Json& To = Json());
	HttpResponse Transact(const Player& Who, const std::string& ContainerId, int64_t ExpectedVersion, const Json& Intents,
		const std::string& IdempotencyKey = std::string());
	// A braced list is always a list of intents (a lone {intent} would otherwise be the intent itself).
	HttpResponse Transact(const Player& Who, const std::string& ContainerId, int64_t ExpectedVersion, std::initializer_list<Json> Intents,
		const std::string& IdempotencyKey = std::string())
	{
		Json List = Json::array();
		for (const Json& Intent : Intents)
		{
			List.push_back(Intent);
		}
		return Transact(Who, ContainerId, ExpectedVersion, List, IdempotencyKey);
	}
	Json History(const std::string& ContainerId);

	QuarnTest::EmulatorProcess Emulator;
	QuarnTest::HttpClient Client{"http://127.0.0.1:1"};
};

// Rebuilds a container's items by replaying its change history from empty.
Json ReplayItems(const Json& History);
// The document's items reduced to what the history records (no footprint or properties).
Json ComparableItems(const Json& Document);
}
