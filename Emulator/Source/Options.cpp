#include "Options.h"

#include "Faults.h"

#include <arpa/inet.h>

#include <cctype>
#include <stdexcept>

namespace Velmora
{
namespace
{
int64_t parseInteger(const std::string& flag, const std::string& text, int64_t minimum, int64_t maximum)
{
	size_t used = 0;
	long long value = 0;
	try
	{
		value = std::stoll(text, &used);
	}
	catch (const std::exception&)
	{
		used = 0;
	}
	if (text.empty() || used != text.size() || value < minimum || value > maximum)
	{
		throw std::invalid_argument(flag + " needs a whole number from " + std::to_string(minimum) + " to " + std::to_string(maximum) + ", not \"" +
			text + "\"");
	}
	return value;
}
}

std::string usage()
{
	return "velmora-emulator: the Velmora game API on loopback, for development and tests.\n"
		   "\n"
		   "  --db PATH          keep data in this SQLite file (WAL, durable commits); default: in memory\n"
		   "  --port N           port to listen on; 0 picks a free one (default 8471)\n"
		   "  --host ADDRESS     address to listen on (default 127.0.0.1; ::1 also works)\n"
		   "  --listen-any       allow an address that is not loopback (development only!)\n"
		   "  --allow-host NAME  with --listen-any: a name (or address) requests may give in Host and\n"
		   "                     Origin besides loopback ones; repeat for more\n"
		   "  --production       behave as a production environment: refuse \"anonymous\" sign-in\n"
		   "  --catalogue FILE   item catalogue: {\"Rifle\": {\"display_name\": \"Rifle\", \"grid_w\": 3, \"grid_h\": 1}}\n"
		   "  --tickets FILE     test players: {\"steam\": {\"ticket-1\": \"alice\"}}\n"
		   "  --faults LIST      inject faults, e.g. unavailable=0.1,drop=0.05,delay=0.1:250[,scope=mutating]\n"
		   "  --seed N           seed of the fault sequence (default 1)\n"
		   "  --admin-key KEY    admin key for /admin/ requests (default: random, printed at start)\n"
		   "  --token-ttl S      access token lifetime in seconds (default 3600)\n"
		   "  --rate-limit N     requests per second per player before 429 (default: no limit)\n"
		   "  --threads N        request threads (default 32)\n"
		   "  --request-timeout MS  time a client has for a request's headers, then for its body, and\n"
		   "                     the longest an idle connection stays open (default 10000)\n"
		   "  --stop-on-stdin-close  stop as on SIGTERM when standard input closes (for test harnesses)\n";
}

Options parseOptions(const std::vector<std::string>& arguments)
{
	Options options;
	for (size_t i = 0; i < arguments.size(); ++i)
	{
		const std::string& flag = arguments[i];
		auto value = [&]() -> const std::string& {
			if (i + 1 >= arguments.size())
			{
				throw std::invalid_argument(flag + " needs a value");
			}
			return arguments[++i];
		};
		if (flag == "--help" || flag == "-h")
		{
			options.bHelp = true;
		}
		else if (flag == "--db")
		{
			options.dbPath = value();
			if (options.dbPath.empty())
			{
				throw std::invalid_argument("--db needs a file path");
			}
		}
		else if (flag == "--port")
		{
			options.port = static_cast<int>(parseInteger(flag, value(), 0, 65535));
		}
		else if (flag == "--host")
		{
			options.host = value();
		}
		else if (flag == "--listen-any")
		{
			options.bListenAny = true;
		}
		else if (flag == "--allow-host")
		{
			std::string name = value();
			for (char& c : name)
			{
				c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
			}
			if (name.size() > 2 && name.front() == '[' && name.back() == ']')
			{
				name = name.substr(1, name.size() - 2);
			}
			in6_addr address6{};
			const bool bBadColon = name.find(':') != std::string::npos && inet_pton(AF_INET6, name.c_str(), &address6) != 1;
			if (name.empty() || name.find_first_of(" /@") != std::string::npos || bBadColon)
			{
				throw std::invalid_argument("--allow-host needs a host name or address without a port, not \"" + name + "\"");
			}
			options.allowedHosts.push_back(name);
		}
		else if (flag == "--production")
		{
			options.bProduction = true;
		}
		else if (flag == "--catalogue")
		{
			options.cataloguePath = value();
		}
		else if (flag == "--tickets")
		{
			options.ticketsPath = value();
		}
		else if (flag == "--faults")
		{
			options.faults = value();
			FaultPlan::parse(options.faults);
		}
		else if (flag == "--seed")
		{
			const std::string& text = value();
			size_t used = 0;
			try
			{
				options.seed = std::stoull(text, &used);
			}
			catch (const std::exception&)
			{
				used = 0;
			}
			if (text.empty() || used != text.size() || text[0] == '-')
			{
				throw std::invalid_argument("--seed needs a whole number from 0 to 18446744073709551615, not \"" + text + "\"");
			}
		}
		else if (flag == "--admin-key")
		{
			options.adminKey = value();
			if (options.adminKey.size() < 8)
			{
				throw std::invalid_argument("--admin-key needs at least 8 characters");
			}
		}
		else if (flag == "--token-ttl")
		{
			options.tokenTtlSeconds = parseInteger(flag, value(), 1, 10LL * 365 * 24 * 3600);
		}
		else if (flag == "--rate-limit")
		{
			options.rateLimit = static_cast<double>(parseInteger(flag, value(), 0, 1000000));
		}
		else if (flag == "--stop-on-stdin-close")
		{
			options.bStopOnStdinClose = true;
		}
		else if (flag == "--threads")
		{
			options.threads = static_cast<int>(parseInteger(flag, value(), 2, 1024));
		}
		else if (flag == "--request-timeout")
		{
			options.requestTimeoutMs = static_cast<int>(parseInteger(flag, value(), 100, 3600000));
		}
		else
		{
			throw std::invalid_argument("unknown option " + flag + " (try --help)");
		}
	}
	if (!options.allowedHosts.empty() && !options.bListenAny)
	{
		throw std::invalid_argument("--allow-host needs --listen-any: on loopback only loopback names reach the emulator");
	}
	return options;
}

bool isLoopbackHost(const std::string& host)
{
	if (host == "localhost" || host == "::1")
	{
		return true;
	}
	in_addr address{};
	if (inet_pton(AF_INET, host.c_str(), &address) == 1)
	{
		return (ntohl(address.s_addr) >> 24) == 127;
	}
	return false;
}
}
