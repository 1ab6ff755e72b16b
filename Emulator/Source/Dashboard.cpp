#include "Dashboard.h"

#include "ApiError.h"

#include <algorithm>
#include <chrono>
#include <cctype>
#include <condition_variable>
#include <cstdio>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace Velmora
{
namespace
{
// How long a /admin/dashboard/wait holds its request thread, at most, and how often it looks.
constexpr auto WaitLimit = std::chrono::milliseconds(5000);
constexpr auto WaitStep = std::chrono::milliseconds(100);
// Replays kept for the page: the most recent ones are what a developer looks at.
constexpr size_t ReplayLimit = 500;

// The page may only talk to this emulator: no scripts, styles, frames or fonts from elsewhere,
// no inline script, and the address (with its fragment) is never sent on as a referrer.
const char* const PageSecurityPolicy =
	"default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; connect-src 'self'; "
	"base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

// Noted replays and waiters are per process: one emulator runs in one process.
struct DashboardState
{
	std::mutex mutex;
	std::condition_variable changed;
	std::deque<Json> replays;
	uint64_t replaySequence = 0;
	uint64_t generation = 0;
	bool bStopping = false;
};

DashboardState& state()
{
	static DashboardState instance;
	return instance;
}

const EmbeddedFile* findFile(const std::string& name)
{
	for (size_t i = 0; i < DashboardFileCount; ++i)
	{
		if (name == DashboardFiles[i].name)
		{
			return &DashboardFiles[i];
		}
	}
	return nullptr;
}

std::string contentTypeOf(const std::string& name)
{
	const auto endsWith = [&name](const std::string& suffix) {
		return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
	};
	if (endsWith(".html"))
	{
		return "text/html; charset=utf-8";
	}
	if (endsWith(".css"))
	{
		return "text/css; charset=utf-8";
	}
	if (endsWith(".js"))
	{
		return "text/javascript; charset=utf-8";
	}
	return "application/octet-stream";
}

// A short text that changes whenever anything the page shows changes: players, tokens, containers
// and their versions, the history, the fault settings and counters, the clock, the noted replays.
std::string dataStamp(Emulator& emulator)
{
	std::string text;
	{
		auto lock = emulator.lockDatabase();
		Transaction transaction(emulator.db(), false);
		Statement& query = emulator.db().prepare(
			"SELECT (SELECT COUNT(*) FROM players), (SELECT COUNT(*) FROM tokens), (SELECT COALESCE(MAX(expires_at), 0) FROM tokens), "
			"(SELECT COUNT(*) FROM containers), (SELECT COALESCE(SUM(version), 0) FROM containers), (SELECT COUNT(*) FROM changes)");
		query.step();
		for (int column = 0; column < 6; ++column)
		{
			text += std::to_string(query.integer(column)) + ".";
		}
		query.reset();
		transaction.commit();
	}
	Json faults = emulator.faults().describe();
	// Every game request counts as eligible; only what the page shows of the faults matters here.
	faults.erase("eligible_requests");
	text += dumpJson(faults) + "." + std::to_string(emulator.clock().offsetSeconds());
	{
		std::lock_guard lock(state().mutex);
		text += "." + std::to_string(state().replaySequence) + "." + std::to_string(state().generation);
	}
	char hex[17];
	std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(std::hash<std::string>{}(text)));
	return hex;
}

Answer waitForChange(Emulator& emulator, const Call& call)
{
	const std::string known = call.queryValue("stamp");
	const auto deadline = std::chrono::steady_clock::now() + WaitLimit;
	std::string stamp = dataStamp(emulator);
	while (stamp == known && std::chrono::steady_clock::now() < deadline)
	{
		{
			std::unique_lock lock(state().mutex);
			if (state().changed.wait_for(lock, WaitStep, [] { return state().bStopping; }))
			{
				break;
			}
		}
		stamp = dataStamp(emulator);
	}
	Answer answer;
	answer.body["stamp"] = stamp;
	return answer;
}

Answer replays(const Call& call)
{
	const std::string playerId = call.queryValue("player_id");
	Json list = Json::array();
	{
		std::lock_guard lock(state().mutex);
		for (auto it = state().replays.rbegin(); it != state().replays.rend(); ++it)
		{
			if (playerId.empty() || (*it)["player_id"] == playerId)
			{
				list.push_back(*it);
			}
		}
	}
	Answer answer;
	answer.body["replays"] = std::move(list);
	return answer;
}
}

std::optional<DashboardPage> dashboardPage(const std::string& method, const std::string& path)
{
	if ((method != "GET" && method != "HEAD") || path.rfind("/dashboard", 0) != 0)
	{
		return std::nullopt;
	}
	std::string name;
	if (path == "/dashboard" || path == "/dashboard/")
	{
		name = "index.html";
	}
	else if (path.rfind("/dashboard/", 0) == 0)
	{
		name = path.substr(std::string("/dashboard/").size());
	}
	else
	{
		return std::nullopt;
	}
	const EmbeddedFile* file = findFile(name);
	if (file == nullptr)
	{
		return std::nullopt;
	}
	DashboardPage page;
	page.contentType = contentTypeOf(name);
	page.body = std::string_view(reinterpret_cast<const char*>(file->bytes), file->size);
	page.headers = {
		{"Content-Security-Policy", PageSecurityPolicy},
		{"X-Content-Type-Options", "nosniff"},
		{"Referrer-Policy", "no-referrer"},
		{"Cache-Control", "no-store"},
	};
	return page;
}

std::string dashboardAddress(const std::string& baseAddress, const std::string& key)
{
	std::string address = baseAddress + "/dashboard#key=";
	for (const char c : key)
	{
		const unsigned char byte = static_cast<unsigned char>(c);
		if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~')
		{
			address.push_back(c);
		}
		else
		{
			char escaped[4];
			std::snprintf(escaped, sizeof(escaped), "%%%02X", byte);
			address += escaped;
		}
	}
	return address;
}

std::optional<Answer> handleDashboardAdmin(Emulator& emulator, const Call& call)
{
	const std::vector<std::string>& s = call.segments;
	if (s.size() != 3 || s[1] != "dashboard")
	{
		return std::nullopt;
	}
	if (s[2] != "wait" && s[2] != "replays")
	{
		return std::nullopt;
	}
	if (call.method != "GET" && call.method != "HEAD")
	{
		ApiError error(405, "method_not_allowed", call.path + " does not take " + call.method + "; it takes GET.");
		error.headers.push_back({"Allow", "GET"});
		throw error;
	}
	return s[2] == "wait" ? waitForChange(emulator, call) : replays(call);
}

void recordReplay(Emulator& emulator, const Call& call, int status)
{
	Json entry = {
		{"at_ms", emulator.clock().nowMilliseconds()},
		{"request_id", call.requestId},
		{"player_id", call.playerId},
		{"idempotency_key", call.header("Idempotency-Key")},
		{"method", call.method},
		{"path", call.path},
		{"status", status},
	};
	std::lock_guard lock(state().mutex);
	state().replays.push_back(std::move(entry));
	while (state().replays.size() > ReplayLimit)
	{
		state().replays.pop_front();
	}
	++state().replaySequence;
}

void clearDashboardState()
{
	std::lock_guard lock(state().mutex);
	state().replays.clear();
	++state().generation;
}

void stopDashboardWaits()
{
	{
		std::lock_guard lock(state().mutex);
		state().bStopping = true;
	}
	state().changed.notify_all();
}
}
