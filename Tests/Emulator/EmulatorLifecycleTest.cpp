// Slow clients, many connections at once, stopping, and the start-up check of a database file.
// Every wait is bounded; a hang fails the test instead of holding up the suite.
#include "EmulatorTestSupport.h"
#include "RawConnection.h"

#include <sqlite3.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

using namespace EmulatorTesting;

namespace
{
class EmulatorSlowClients : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override { return {"--request-timeout", "1500"}; }

	void SetUp() override
	{
		EmulatorTest::SetUp();
		Someone = SignIn("slow");
		Stash = EnsureSlots(Someone, "stash", 10)["id"];
		Before = Read(Someone, Stash);
	}

	// Connections that have sent part of a grant's head and nothing more.
	std::vector<std::unique_ptr<RawConnection>> OpenStalled(int Count, const std::string& Start)
	{
		std::vector<std::unique_ptr<RawConnection>> Stalled;
		for (int i = 0; i < Count; ++i)
		{
			Stalled.push_back(std::make_unique<RawConnection>(Emulator.Port()));
			EXPECT_TRUE(Stalled.back()->IsOpen());
			EXPECT_TRUE(Stalled.back()->Send(Start));
		}
		return Stalled;
	}

	Player Someone;
	std::string Stash;
	Json Before;
};

class EmulatorFile : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Path = (std::filesystem::temp_directory_path() / ("lifecycle-" + std::to_string(getpid()) + "-" +
			::testing::UnitTest::GetInstance()->current_test_info()->name() + ".sqlite")).string();
		RemoveFiles();
	}
	void TearDown() override
	{
		if (Emulator.IsRunning())
		{
			Emulator.Kill(SIGKILL);
		}
		RemoveFiles();
	}
	void RemoveFiles() const
	{
		for (const char* Suffix : {"", "-wal", "-shm"})
		{
			std::filesystem::remove(Path + Suffix);
		}
	}
	// Starts an emulator on the file, adds a player with one stack, stops it.
	void MakeDatabase()
	{
		ASSERT_TRUE(Emulator.Start({"--db", Path})) << Emulator.LastError();
		const QuarnTest::HttpClient Client = Emulator.Client();
		const Json Session = Json::parse(Client.Post("/v1/game/sessions", Json{{"provider", "anonymous"}, {"ticket", "file"}}.dump()).Body);
		const QuarnTest::HttpHeaders Auth = {{"Authorization", "Bearer " + Session["tokens"]["access_token"].get<std::string>()}};
		const Json Stash = Json::parse(Client.Post("/v1/game/containers/ensure", Json{{"kind", "stash"}, {"layout", "slots"}, {"slot_count", 4}}.dump(), Auth).Body);
		ASSERT_EQ(Client.Post("/v1/game/inventory/grant", Json{{"container_id", Stash["id"]}, {"item_id", "Ammo"}, {"quantity", 5}}.dump(), Auth).Status, 200);
		ASSERT_TRUE(Emulator.Stop()) << Emulator.ReadStderr();
	}
	void ExpectRefusedAtStart(const std::string& Why)
	{
		EXPECT_FALSE(Emulator.Start({"--db", Path}, 30000)) << Why;
		const std::string Log = Emulator.ReadStderr();
		EXPECT_NE(Log.find("is damaged"), std::string::npos) << Why << ": " << Log;
		EXPECT_FALSE(Emulator.IsRunning());
		EXPECT_TRUE(WIFEXITED(Emulator.LastExitStatus()) && WEXITSTATUS(Emulator.LastExitStatus()) != 0) << Emulator.LastExitStatus();
	}

	QuarnTest::EmulatorProcess Emulator;
	std::string Path;
};
}

// Slow clients -------------------------------------------------------------------------------

TEST_F(EmulatorSlowClients, TricklingClientsNeitherStallOthersNorOutstayTheirDeadline)
{
	// 40 clients trickle a grant's head a byte at a time for about 6 s, well past the 1.5 s deadline.
	std::vector<std::unique_ptr<RawConnection>> Tricklers = OpenStalled(40, "P");
	std::atomic<bool> bTrickling{true};
	std::thread Trickle([&] {
		const std::string Rest = "OST /v1/game/inventory/grant HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Pad: " + std::string(200, 'p');
		for (size_t i = 0; i < 60 && i < Rest.size(); ++i)
		{
			for (auto& Connection : Tricklers)
			{
				Connection->Send(std::string(1, Rest[i]), 200);
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(100));
		}
		bTrickling = false;
	});
	// Meanwhile everyone else is served.
	int Served = 0;
	for (int i = 0; i < 10; ++i)
	{
		Served += Grant(Someone, Stash, "Ammo", 1).Status == 200 ? 1 : 0;
	}
	const bool bServedWhileTrickling = bTrickling;
	Trickle.join();
	EXPECT_EQ(Served, 10);
	EXPECT_TRUE(bServedWhileTrickling) << "the other requests waited for the trickling clients";
	// Each trickler got 408 at its deadline and was closed.
	int TimedOut = 0;
	for (auto& Connection : Tricklers)
	{
		TimedOut += IsError(Connection->ReadAnswer(3000), 408, "request_timeout") ? 1 : 0;
		EXPECT_TRUE(Connection->ClosedWithin(5000));
	}
	EXPECT_EQ(TimedOut, 40);
}

TEST_F(EmulatorSlowClients, ABodyThatStopsHalfWayTimesOutAndChangesNothing)
{
	RawConnection Connection(Emulator.Port());
	const std::string Body = Json{{"container_id", Stash}, {"item_id", "Ammo"}, {"quantity", 1}}.dump();
	ASSERT_TRUE(Connection.Send("POST /v1/game/inventory/grant HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + Someone.Token +
		"\r\nContent-Length: " + std::to_string(Body.size()) + "\r\n\r\n" + Body.substr(0, 10)));
	EXPECT_TRUE(IsError(Connection.ReadAnswer(5000), 408, "request_timeout"));
	EXPECT_TRUE(Connection.ClosedWithin(5000));
	EXPECT_EQ(Read(Someone, Stash), Before);
}

TEST_F(EmulatorSlowClients, TwoHundredConnectionsQueueWhileTheServerIsBusy)
{
	// Stopped, the emulator accepts nothing: only the listen backlog holds the handshakes. With a
	// backlog of a handful, most of these would still be waiting to connect.
	ASSERT_EQ(kill(Emulator.ProcessId(), SIGSTOP), 0);
	std::vector<int> Sockets;
	sockaddr_in Address{};
	Address.sin_family = AF_INET;
	Address.sin_port = htons(static_cast<uint16_t>(Emulator.Port()));
	Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	for (int i = 0; i < 200; ++i)
	{
		const int Fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
		ASSERT_GE(Fd, 0);
		connect(Fd, reinterpret_cast<const sockaddr*>(&Address), sizeof(Address));
		Sockets.push_back(Fd);
	}
	int Connected = 0;
	const long long Deadline = NowMs() + 3000;
	for (const int Fd : Sockets)
	{
		pollfd Wait{Fd, POLLOUT, 0};
		int Error = 0;
		socklen_t Size = sizeof(Error);
		if (poll(&Wait, 1, static_cast<int>(std::max(0LL, Deadline - NowMs()))) == 1 && getsockopt(Fd, SOL_SOCKET, SO_ERROR, &Error, &Size) == 0 && Error == 0)
		{
			++Connected;
		}
	}
	ASSERT_EQ(kill(Emulator.ProcessId(), SIGCONT), 0);
	EXPECT_EQ(Connected, 200);
	// And each is served once the emulator runs again.
	int Answered = 0;
	for (const int Fd : Sockets)
	{
		const std::string Request = "GET /nowhere HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
		if (send(Fd, Request.data(), Request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(Request.size()))
		{
			pollfd Wait{Fd, POLLIN, 0};
			char Head[16] = {};
			if (poll(&Wait, 1, 5000) == 1 && recv(Fd, Head, 12, 0) == 12 && std::string(Head, 12) == "HTTP/1.1 404")
			{
				++Answered;
			}
		}
		close(Fd);
	}
	EXPECT_EQ(Answered, Connected);
}

// Shutdown -----------------------------------------------------------------------------------

TEST(EmulatorShutdown, SigtermRightAfterStartStopsIt)
{
	// The base address is printed before the server loop starts: a SIGTERM in between must not be lost.
	for (int i = 0; i < 15; ++i)
	{
		QuarnTest::EmulatorProcess Emulator;
		ASSERT_TRUE(Emulator.Start()) << Emulator.LastError();
		ASSERT_EQ(kill(Emulator.ProcessId(), SIGTERM), 0);
		ASSERT_TRUE(Emulator.Stop(10000)) << "run " << i << " did not stop: " << Emulator.ReadStderr();
	}
}

TEST_F(EmulatorSlowClients, SigtermStopsItWhileClientsTrickle)
{
	// Each byte keeps a per-read timeout from firing; only a stop that closes them ends the process.
	std::vector<std::unique_ptr<RawConnection>> Tricklers = OpenStalled(40, "P");
	std::atomic<bool> bDone{false};
	std::thread Trickle([&] {
		const std::string Rest = "OST /v1/game/inventory/grant HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Pad: " + std::string(200, 'p');
		for (size_t i = 0; i < 60 && !bDone; ++i)
		{
			for (auto& Connection : Tricklers)
			{
				Connection->Send(std::string(1, Rest[i]), 200);
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(100));
		}
	});
	std::this_thread::sleep_for(std::chrono::milliseconds(500));
	// Stop() sends SIGTERM and waits.
	EXPECT_TRUE(Emulator.Stop(3000)) << Emulator.ReadStderr();
	bDone = true;
	Trickle.join();
	for (auto& Connection : Tricklers)
	{
		EXPECT_TRUE(Connection->ClosedWithin(2000));
	}
}

class EmulatorStopInFlight : public EmulatorSlowClients
{
protected:
	// Every grant waits 3 s, so that one is surely in flight when SIGTERM comes.
	std::vector<std::string> Arguments() const override { return {"--faults", "delay=1:3000,scope=mutating"}; }
};

TEST_F(EmulatorStopInFlight, RequestsInFlightFinishAndNewOnesAreRefused)
{
	const std::string Body = Json{{"container_id", Stash}, {"item_id", "Ammo"}, {"quantity", 3}}.dump();
	RawConnection InFlight(Emulator.Port());
	ASSERT_TRUE(InFlight.Send("POST /v1/game/inventory/grant HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + Someone.Token +
		"\r\nContent-Length: " + std::to_string(Body.size()) + "\r\n\r\n" + Body));
	std::this_thread::sleep_for(std::chrono::milliseconds(1000));
	ASSERT_EQ(kill(Emulator.ProcessId(), SIGTERM), 0);
	// The listener closes at once: a new connection is refused while the grant is still delayed.
	bool bRefused = false;
	const long long Deadline = NowMs() + 1000;
	while (!bRefused && NowMs() < Deadline)
	{
		bRefused = !RawConnection(Emulator.Port(), 200).IsOpen();
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
	}
	EXPECT_TRUE(bRefused);
	const HttpResponse Answer = InFlight.ReadAnswer(10000);
	EXPECT_EQ(Answer.Status, 200) << Answer.Body << Answer.Error;
	EXPECT_EQ(Answer.Header("Connection"), "close");
	EXPECT_TRUE(Emulator.Stop(10000)) << Emulator.ReadStderr();
}

// Start-up check of a database file ---------------------------------------------------------------

TEST_F(EmulatorFile, DamagedPagesAreRefusedAtStart)
{
	MakeDatabase();
	// Overwrite the start of every page but the first (the schema): their b-tree headers.
	std::fstream File(Path, std::ios::in | std::ios::out | std::ios::binary);
	ASSERT_TRUE(File.good());
	File.seekg(0, std::ios::end);
	const std::streamoff Size = File.tellg();
	ASSERT_GE(Size, 4096 * 3);
	for (std::streamoff Page = 4096; Page < Size; Page += 4096)
	{
		File.seekp(Page);
		File.write("\xff\xee\xdd\xcc\xbb\xaa\x99\x88", 8);
	}
	File.close();
	ExpectRefusedAtStart("b-tree pages overwritten");
}

TEST_F(EmulatorFile, RowsBreakingTheSchemasChecksAreRefusedAtStart)
{
	MakeDatabase();
	sqlite3* Db = nullptr;
	ASSERT_EQ(sqlite3_open(Path.c_str(), &Db), SQLITE_OK);
	// A stack quantity no write of ours could store, put there behind the schema's back.
	ASSERT_EQ(sqlite3_exec(Db, "PRAGMA ignore_check_constraints = ON; UPDATE stacks SET quantity = -7", nullptr, nullptr, nullptr), SQLITE_OK);
	sqlite3_close(Db);
	ExpectRefusedAtStart("quantity -7");
}

TEST_F(EmulatorFile, ASoundFileStartsAndServes)
{
	MakeDatabase();
	ASSERT_TRUE(Emulator.Start({"--db", Path})) << Emulator.ReadStderr();
	EXPECT_EQ(Emulator.Admin("GET", "/admin/players").Status, 200);
}
