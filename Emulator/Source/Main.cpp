// velmora-emulator: the Velmora game API on loopback, for development and tests.

#include "Dashboard.h"
#include "Emulator.h"
#include "HttpServer.h"
#include "Options.h"

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <iostream>
#include <thread>

using namespace Velmora;

namespace
{
std::string baseAddress(const std::string& host, int port)
{
	const std::string shown = host.find(':') != std::string::npos ? "[" + host + "]" : host;
	return "http://" + shown + ":" + std::to_string(port);
}
}

int main(int argc, char** argv)
{
	// A client that hangs up must not kill the server when it writes the answer.
	signal(SIGPIPE, SIG_IGN);
	// One descriptor per connection: allow as many as the system lets this process have.
	rlimit files{};
	if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max)
	{
		files.rlim_cur = files.rlim_max;
		setrlimit(RLIMIT_NOFILE, &files);
	}

	Options options;
	try
	{
		options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
	}
	catch (const std::invalid_argument& error)
	{
		std::cerr << "velmora-emulator: " << error.what() << "\n";
		return 2;
	}
	if (options.bHelp)
	{
		std::cout << usage();
		return 0;
	}
	const bool bLoopback = isLoopbackHost(options.host);
	if (!bLoopback && !options.bListenAny)
	{
		std::cerr << "velmora-emulator: refusing to listen on " << options.host
				  << ": it is not a loopback address. The emulator is for development; pass --listen-any to expose it anyway.\n";
		return 2;
	}

	Catalogue catalogue = Catalogue::builtIn();
	Tickets tickets;
	try
	{
		if (!options.cataloguePath.empty())
		{
			catalogue = Catalogue::fromFile(options.cataloguePath);
		}
		if (!options.ticketsPath.empty())
		{
			tickets = Tickets::fromFile(options.ticketsPath);
		}
	}
	catch (const std::exception& error)
	{
		std::cerr << "velmora-emulator: " << error.what() << "\n";
		return 2;
	}

	// Signals go to one thread that waits for them; every thread started from here on inherits the mask.
	sigset_t stopSignals;
	sigemptyset(&stopSignals);
	sigaddset(&stopSignals, SIGINT);
	sigaddset(&stopSignals, SIGTERM);
	pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

	std::unique_ptr<Emulator> emulator;
	std::unique_ptr<HttpServer> server;
	int port = 0;
	try
	{
		emulator = std::make_unique<Emulator>(options, std::move(catalogue), std::move(tickets));
		server = std::make_unique<HttpServer>(*emulator);
		port = server->bind(options.host, options.port);
	}
	catch (const std::exception& error)
	{
		std::cerr << "velmora-emulator: " << error.what() << "\n";
		return 1;
	}

	// Tests read the first two lines: the base address, then the admin key.
	std::cout << baseAddress(options.host, port) << "\n";
	std::cout << "X-Admin-Key: " << emulator->adminKey() << "\n";
	// The key rides in the fragment, which a browser never sends: the page moves it to session storage.
	std::cout << "dashboard: " << dashboardAddress(baseAddress(options.host, port), emulator->adminKey()) << "\n";
	std::cout << "database: " << (options.dbPath.empty() ? std::string("in memory (lost on exit)") : options.dbPath + " (WAL, durable commits)")
			  << ", schema version " << emulator->schemaVersion() << "\n";
	std::cout << "environment: " << (options.bProduction ? "production (anonymous sign-in refused)" : "development") << "\n";
	std::cout << "catalogue: " << emulator->catalogue().size() << " items; ticket providers: " << emulator->tickets().providerCount() << "\n";
	std::cout << "faults: " << FaultPlan::parse(options.faults).toString() << " (seed " << options.seed << ")" << std::endl;
	if (!bLoopback)
	{
		std::cerr << "WARNING: velmora-emulator is listening on " << options.host
				  << ", reachable from other machines. It is a development tool without real security; do not expose it.\n";
	}

	std::atomic<bool> bStopping{false};
	std::thread signalWaiter([&] {
		int received = 0;
		sigwait(&stopSignals, &received);
		if (!bStopping.exchange(true))
		{
			std::cerr << "velmora-emulator: " << (received == SIGINT ? "SIGINT" : "SIGTERM") << ", finishing the requests in flight\n";
		}
		stopDashboardWaits();
		server->stop();
	});

	if (options.bStopOnStdinClose)
	{
		// A harness holds the other end of our stdin; when it exits, even by a crash, the pipe
		// closes and we stop instead of lingering. The thread is left blocked in read() at exit.
		std::thread([] {
			char buffer[256];
			while (read(STDIN_FILENO, buffer, sizeof(buffer)) > 0)
			{
			}
			kill(getpid(), SIGTERM);
		}).detach();
	}

	server->run();
	if (!bStopping.exchange(true))
	{
		// The server stopped by itself: wake the signal thread so that it can be joined.
		pthread_kill(signalWaiter.native_handle(), SIGTERM);
	}
	signalWaiter.join();
	server.reset();
	emulator->closeDatabase();
	std::cerr << "velmora-emulator: stopped, database closed\n";
	return 0;
}
