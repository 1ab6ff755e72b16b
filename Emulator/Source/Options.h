#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Velmora
{
struct Options
{
	std::string dbPath;                 // empty: in memory
	std::string host = "127.0.0.1";
	int port = 8471;
	bool bListenAny = false;
	std::vector<std::string> allowedHosts; // --allow-host: names Host and Origin may give besides loopback
	bool bProduction = false;
	std::string cataloguePath;
	std::string ticketsPath;
	std::string faults;
	uint64_t seed = 1;
	std::string adminKey;               // empty: a random one
	int64_t tokenTtlSeconds = 3600;
	double rateLimit = 0;               // requests per second per player; 0: off
	int threads = 32;
	int requestTimeoutMs = 10000;       // per request's headers, then its body; and idle connections
	bool bStopOnStdinClose = false;     // for test harnesses: exit cleanly when our parent goes away
	bool bHelp = false;
};

// Throws std::invalid_argument with a message for the command line.
Options parseOptions(const std::vector<std::string>& arguments);
std::string usage();

// True for 127.0.0.0/8, ::1 and "localhost".
bool isLoopbackHost(const std::string& host);
}
