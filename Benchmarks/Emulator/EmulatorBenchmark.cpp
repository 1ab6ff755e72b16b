// bench-emulator --emulator PATH [--seconds S]
//
// Single-intent and 100-intent transactions per second, with p50 and p99 latency, on 1 and on 8
// keep-alive connections (single intents also on 200), against the in-memory and the file database. Every connection has its
// own player and container, so the figures measure the platform, not version conflicts; every
// transaction carries an idempotency key, as the sync node's do.

#include "QuarnTest/EmulatorProcess.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

namespace
{
struct Cell
{
	double perSecond = 0;
	double p50Ms = 0;
	double p99Ms = 0;
	int errors = 0;
};

struct Worker
{
	std::string token;
	std::string container;
	int64_t version = 1;
	std::vector<double> latenciesMs;
	int errors = 0;
};

bool prepare(const QuarnTest::EmulatorProcess& emulator, Worker& worker, const std::string& name)
{
	const QuarnTest::HttpClient client = emulator.Client();
	const QuarnTest::HttpResponse session = client.Post("/v1/game/sessions", Json{{"provider", "anonymous"}, {"ticket", name}}.dump());
	if (session.Status != 200)
	{
		return false;
	}
	worker.token = Json::parse(session.Body)["tokens"]["access_token"];
	const QuarnTest::HttpResponse ensured = client.Post("/v1/game/containers/ensure",
		Json{{"kind", "stash"}, {"layout", "slots"}, {"slot_count", 100}}.dump(), {{"Authorization", "Bearer " + worker.token}});
	if (ensured.Status != 200)
	{
		return false;
	}
	const Json document = Json::parse(ensured.Body);
	worker.container = document["id"];
	worker.version = document["version"];
	return true;
}

Cell measure(const QuarnTest::EmulatorProcess& emulator, int connections, int intents, double seconds, const std::string& label)
{
	std::vector<Worker> workers(connections);
	for (int i = 0; i < connections; ++i)
	{
		if (!prepare(emulator, workers[i], label + "-" + std::to_string(i)))
		{
			std::fprintf(stderr, "bench-emulator: could not prepare a player\n");
			std::exit(1);
		}
	}
	std::atomic<bool> bGo{false};
	std::atomic<bool> bStop{false};
	std::vector<std::thread> threads;
	for (int i = 0; i < connections; ++i)
	{
		threads.emplace_back([&, i] {
			Worker& worker = workers[i];
			httplib::Client http("127.0.0.1", emulator.Port());
			http.set_keep_alive(true);
			http.set_tcp_nodelay(true);
			http.set_read_timeout(30, 0);
			const httplib::Headers auth = {{"Authorization", "Bearer " + worker.token}};
			while (!bGo)
			{
				std::this_thread::yield();
			}
			for (int64_t n = 0; !bStop; ++n)
			{
				Json list = Json::array();
				for (int k = 0; k < intents; ++k)
				{
					// Ten items, so a 100-intent transaction grows ten stacks rather than a hundred.
					list.push_back({{"kind", "grant"}, {"container_id", worker.container}, {"item_id", "Item" + std::to_string(k % 10)}, {"quantity", 1}});
				}
				const std::string body = Json{{"intents", list}, {"container_id", worker.container}, {"expected_version", worker.version}}.dump();
				httplib::Headers headers = auth;
				headers.emplace("Idempotency-Key", label + "-" + std::to_string(i) + "-" + std::to_string(n));
				const auto started = Clock::now();
				const auto result = http.Post("/v1/game/inventory/transaction", headers, body, "application/json");
				const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
				if (!result || result->status != 200)
				{
					++worker.errors;
					continue;
				}
				worker.version = Json::parse(result->body)["version"];
				worker.latenciesMs.push_back(ms);
			}
		});
	}
	const auto started = Clock::now();
	bGo = true;
	std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
	bStop = true;
	for (std::thread& thread : threads)
	{
		thread.join();
	}
	const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
	std::vector<double> all;
	Cell cell;
	for (const Worker& worker : workers)
	{
		all.insert(all.end(), worker.latenciesMs.begin(), worker.latenciesMs.end());
		cell.errors += worker.errors;
	}
	std::sort(all.begin(), all.end());
	cell.perSecond = all.size() / elapsed;
	if (!all.empty())
	{
		cell.p50Ms = all[all.size() / 2];
		cell.p99Ms = all[std::min(all.size() - 1, all.size() * 99 / 100)];
	}
	return cell;
}
}

int main(int argc, char** argv)
{
	std::string emulatorPath;
	double seconds = 3.0;
	for (int i = 1; i < argc; ++i)
	{
		const std::string flag = argv[i];
		if (flag == "--emulator" && i + 1 < argc)
		{
			emulatorPath = argv[++i];
		}
		else if (flag == "--seconds" && i + 1 < argc)
		{
			seconds = std::atof(argv[++i]);
		}
		else
		{
			std::fprintf(stderr, "usage: bench-emulator --emulator PATH [--seconds S]\n");
			return 2;
		}
	}
	if (!emulatorPath.empty())
	{
		setenv("VELMORA_EMULATOR", emulatorPath.c_str(), 1);
	}

	std::printf("| Database | Intents | Connections | Transactions/s | p50 ms | p99 ms | Errors |\n");
	std::printf("|---|---|---|---|---|---|---|\n");
	const std::string dbPath = "/tmp/bench-emulator-" + std::to_string(getpid()) + ".sqlite";
	for (const bool bFile : {false, true})
	{
		std::vector<std::string> arguments;
		if (bFile)
		{
			arguments = {"--db", dbPath};
		}
		QuarnTest::EmulatorProcess emulator;
		if (!emulator.Start(arguments))
		{
			std::fprintf(stderr, "bench-emulator: %s\n", emulator.LastError().c_str());
			return 1;
		}
		for (const int intents : {1, 100})
		{
			// 200 connections at once: what a studio's shared emulator meets; single intents only.
			for (const int connections : {1, 8, 200})
			{
				if (connections == 200 && intents != 1)
				{
					continue;
				}
				const std::string label = std::string(bFile ? "file" : "memory") + "-" + std::to_string(intents) + "-" + std::to_string(connections);
				const Cell cell = measure(emulator, connections, intents, seconds, label);
				std::printf("| %s | %d | %d | %.0f | %.2f | %.2f | %d |\n", bFile ? "file (WAL, synchronous=FULL)" : "memory", intents, connections,
					cell.perSecond, cell.p50Ms, cell.p99Ms, cell.errors);
				std::fflush(stdout);
			}
		}
		emulator.Stop();
	}
	for (const char* suffix : {"", "-wal", "-shm"})
	{
		unlink((dbPath + suffix).c_str());
	}
	return 0;
}
