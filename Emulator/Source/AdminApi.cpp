#include "AdminApi.h"

#include "ApiError.h"
#include "Crypto.h"
#include "Dashboard.h"
#include "JsonRead.h"
#include "Schema.h"
#include "Store.h"

#include <charconv>

namespace Velmora
{
namespace
{
ApiError notFound(const Call& call)
{
	return ApiError(404, "not_found", "There is no admin request at " + call.method + " " + call.path + ".",
		"See Emulator/README.md for the admin requests.");
}

ApiError methodNotAllowed(const Call& call, const std::string& allowed)
{
	ApiError error(405, "method_not_allowed", call.path + " does not take " + call.method + "; it takes " + allowed + ".");
	error.headers.push_back({"Allow", allowed});
	return error;
}

void requireMethod(const Call& call, const std::string& allowed)
{
	// `allowed` is one method or "PUT, POST".
	if (allowed.find(call.method) == std::string::npos && !(call.method == "HEAD" && allowed.find("GET") != std::string::npos))
	{
		throw methodNotAllowed(call, allowed);
	}
}

Answer containerDocument(Emulator& emulator, const std::string& id)
{
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), false);
	const auto container = Store::loadContainer(emulator.db(), id);
	transaction.commit();
	if (!container)
	{
		throw ApiError(404, "container_not_found", "There is no container " + inQuotes(id) + ".");
	}
	Answer answer;
	answer.body = emulator.inventory().documentJson(*container);
	answer.headers.push_back({"X-Player-Id", container->playerId});
	return answer;
}

Answer history(Emulator& emulator, const Call& call, const std::string& id)
{
	int64_t since = 0;
	const std::string sinceText = call.queryValue("since");
	if (!sinceText.empty())
	{
		// The whole text must be the number: std::stoll would read "1abc" as 1.
		const auto [end, error] = std::from_chars(sinceText.data(), sinceText.data() + sinceText.size(), since);
		if (error != std::errc() || end != sinceText.data() + sinceText.size())
		{
			throw invalidRequest("The query parameter \"since\" must be a whole number, not " + inQuotes(sinceText) + ".");
		}
	}
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), false);
	const auto container = Store::loadContainer(emulator.db(), id);
	if (!container)
	{
		throw ApiError(404, "container_not_found", "There is no container " + inQuotes(id) + ".");
	}
	Answer answer;
	answer.body["container_id"] = container->id;
	answer.body["player_id"] = container->playerId;
	answer.body["version"] = container->version;
	answer.body["entries"] = Store::readChanges(emulator.db(), id, since);
	transaction.commit();
	return answer;
}

Answer playerContainers(Emulator& emulator, const std::string& playerId)
{
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), false);
	if (!Store::playerExists(emulator.db(), playerId))
	{
		throw ApiError(404, "not_found", "There is no player " + inQuotes(playerId) + ".");
	}
	Json containers = Json::array();
	for (const std::string& id : Store::listContainerIds(emulator.db(), playerId))
	{
		containers.push_back(emulator.inventory().documentJson(*Store::loadContainer(emulator.db(), id)));
	}
	transaction.commit();
	Answer answer;
	answer.body["player_id"] = playerId;
	answer.body["containers"] = std::move(containers);
	return answer;
}

Answer players(Emulator& emulator)
{
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), false);
	Json list = Json::array();
	for (const Store::PlayerRow& player : Store::listPlayers(emulator.db()))
	{
		list.push_back({{"id", player.id}, {"provider", player.provider}, {"subject", player.subject}, {"token_expires_at", nullptr}});
		// The latest expiry of the player's tokens: a sign-in adds a token and keeps the others.
		Statement& expiry = emulator.db().prepare("SELECT MAX(expires_at) FROM tokens WHERE player_id = ?");
		expiry.bind(1, player.id);
		if (expiry.step() && !expiry.isNull(0))
		{
			list.back()["token_expires_at"] = Clock::format(expiry.integer(0) * 1000);
		}
		expiry.reset();
	}
	transaction.commit();
	Answer answer;
	answer.body["players"] = std::move(list);
	answer.body["now"] = Clock::format(emulator.clock().nowMilliseconds());
	return answer;
}

// Creates a container with an id of the caller's choosing, for tests of unusual ids.
Answer createContainer(Emulator& emulator, const Call& call)
{
	const Json body = parseBodyObject(call.body);
	const std::string playerId = *readString(body, "player_id", "player_id", 1, 256, true);
	ContainerState container;
	container.id = readString(body, "id", "id", 1, 256, false).value_or(emulator.newId("ctr_"));
	container.playerId = playerId;
	container.kind = *readString(body, "kind", "kind", 1, 64, true);
	container.layout = *readString(body, "layout", "layout", 1, 16, true);
	if (container.layout == "slots")
	{
		container.slotCount = static_cast<int>(*readInteger(body, "slot_count", "slot_count", 1, 100000, true));
	}
	else if (container.layout == "grid")
	{
		container.gridWidth = static_cast<int>(*readInteger(body, "grid_width", "grid_width", 1, 1000, true));
		container.gridHeight = static_cast<int>(*readInteger(body, "grid_height", "grid_height", 1, 1000, true));
	}
	else
	{
		throw invalidRequest("The member \"layout\" must be \"grid\" or \"slots\", not " + inQuotes(container.layout) + ".");
	}
	auto lock = emulator.lockDatabase();
	Transaction transaction(emulator.db(), true);
	if (!Store::playerExists(emulator.db(), playerId))
	{
		throw ApiError(404, "not_found", "There is no player " + inQuotes(playerId) + ".", "Sign the player in first.");
	}
	if (Store::loadContainer(emulator.db(), container.id) || Store::findContainerByKind(emulator.db(), playerId, container.kind))
	{
		throw ApiError(409, "conflict", "The container id or the player's kind " + inQuotes(container.kind) + " is taken already.");
	}
	const int64_t now = emulator.clock().nowMilliseconds();
	Store::insertContainer(emulator.db(), container, now);
	Store::appendChange(emulator.db(), {container.id, container.version, call.requestId, std::nullopt, "create", Json::array(), Json::array(), now});
	transaction.commit();
	Answer answer;
	answer.body = emulator.inventory().documentJson(container);
	return answer;
}

Answer faults(Emulator& emulator, const Call& call)
{
	if (call.method != "GET" && call.method != "HEAD")
	{
		const Json body = parseBodyObject(call.body);
		const std::string plan = readString(body, "plan", "plan", 0, 1000, true).value_or("");
		const std::optional<int64_t> seed = readInteger(body, "seed", "seed", 0, 9007199254740991LL, false);
		FaultPlan parsed;
		try
		{
			parsed = FaultPlan::parse(plan);
		}
		catch (const std::invalid_argument& error)
		{
			throw invalidRequest(std::string("The fault plan is not valid: ") + error.what() + ".",
				"Write it as in --faults, for example unavailable=0.1,drop=0.05,delay=0.1:250.");
		}
		const uint64_t seedValue = seed ? static_cast<uint64_t>(*seed) : 0;
		emulator.faults().configure(parsed, seed ? &seedValue : nullptr);
		if (readBool(body, "reset_counters", "reset_counters", false).value_or(false))
		{
			emulator.faults().resetCounters();
		}
	}
	Answer answer;
	answer.body = emulator.faults().describe();
	return answer;
}

Answer clock(Emulator& emulator, const Call& call)
{
	if (call.method == "POST")
	{
		const Json body = parseBodyObject(call.body);
		const int64_t seconds = *readInteger(body, "advance_seconds", "advance_seconds", 0, 100LL * 365 * 24 * 3600, true);
		emulator.clock().advance(seconds);
	}
	Answer answer;
	answer.body["now"] = Clock::format(emulator.clock().nowMilliseconds());
	answer.body["offset_seconds"] = emulator.clock().offsetSeconds();
	return answer;
}

Answer reset(Emulator& emulator)
{
	{
		auto lock = emulator.lockDatabase();
		clearAllData(emulator.db());
	}
	emulator.faults().resetCounters();
	clearDashboardState();
	Answer answer;
	answer.body["reset"] = true;
	return answer;
}
}

Answer handleAdmin(Emulator& emulator, Call& call)
{
	if (!call.hasHeader("X-Admin-Key") || !constantTimeEquals(call.header("X-Admin-Key"), emulator.adminKey()))
	{
		throw ApiError(401, "unauthorized", "Admin requests need the header X-Admin-Key with the key the emulator printed at start-up.",
			"Read the second line the emulator printed, or start it with --admin-key.");
	}
	const std::vector<std::string>& s = call.segments;
	const size_t n = s.size();
	if (std::optional<Answer> answer = handleDashboardAdmin(emulator, call))
	{
		return std::move(*answer);
	}
	if (n == 2 && s[1] == "reset")
	{
		requireMethod(call, "POST");
		return reset(emulator);
	}
	if (n == 2 && s[1] == "players")
	{
		requireMethod(call, "GET");
		return players(emulator);
	}
	if (n == 4 && s[1] == "players" && s[3] == "containers")
	{
		requireMethod(call, "GET");
		return playerContainers(emulator, s[2]);
	}
	if (n == 2 && s[1] == "containers")
	{
		requireMethod(call, "POST");
		return createContainer(emulator, call);
	}
	if (n == 3 && s[1] == "containers")
	{
		requireMethod(call, "GET");
		return containerDocument(emulator, s[2]);
	}
	if (n == 4 && s[1] == "containers" && s[3] == "history")
	{
		requireMethod(call, "GET");
		return history(emulator, call, s[2]);
	}
	if (n == 2 && s[1] == "faults")
	{
		requireMethod(call, "GET, PUT, POST");
		return faults(emulator, call);
	}
	if (n == 2 && s[1] == "clock")
	{
		requireMethod(call, "GET, POST");
		return clock(emulator, call);
	}
	if (n == 2 && s[1] == "catalogue")
	{
		requireMethod(call, "GET");
		Answer answer;
		answer.body = emulator.catalogue().toJson();
		return answer;
	}
	throw notFound(call);
}
}
