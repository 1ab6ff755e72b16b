#pragma once

#include "Emulator.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Velmora
{
// One file of the dashboard page, built into the program (DashboardFiles.gen.cpp, made by
// Emulator/Dashboard/Embed.cmake from the files in Emulator/Dashboard).
struct EmbeddedFile
{
	const char* name;
	const unsigned char* bytes;
	size_t size;
};
extern const EmbeddedFile DashboardFiles[];
extern const size_t DashboardFileCount;

// What GET /dashboard and its files answer: not JSON, so not an Answer.
struct DashboardPage
{
	int status = 200;
	std::string contentType;
	std::string_view body;
	std::vector<std::pair<std::string, std::string>> headers;
};

// The page for GET or HEAD of /dashboard, /dashboard/ or one of its files; nullopt for any other
// request, which then goes on to the APIs. The page holds no secret: it reads the admin key from
// the address's fragment and sends it as X-Admin-Key.
std::optional<DashboardPage> dashboardPage(const std::string& method, const std::string& path);

// "<base>/dashboard#key=<key>", the key percent-encoded: the address printed at start-up.
std::string dashboardAddress(const std::string& baseAddress, const std::string& key);

// Admin requests that only the page needs, under /admin/dashboard/ (the caller has checked the key):
//   GET /admin/dashboard/wait?stamp=S   answers {"stamp"} once the data differs from S, or after 5 s
//   GET /admin/dashboard/replays        requests answered from an idempotency record, newest first
// nullopt when the path is not one of them.
std::optional<Answer> handleDashboardAdmin(Emulator& emulator, const Call& call);

// Notes a game request answered from its idempotency record (it adds no history entry of its own).
void recordReplay(Emulator& emulator, const Call& call, int status);
// Forgets the noted replays (an admin reset).
void clearDashboardState();
// Ends every waiting /admin/dashboard/wait at once, so that a stopping server need not wait for them.
void stopDashboardWaits();
}
