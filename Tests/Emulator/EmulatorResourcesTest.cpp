// What one hostile client can make the emulator hold: memory (measured on the process, from
// /proc/<pid>/status) and descriptors. Every wait is bounded.
#include "EmulatorTestSupport.h"
#include "RawConnection.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

using namespace EmulatorTesting;

namespace
{
constexpr long long MiB = 1024 * 1024;
// Far less than any of the attacks sends, far more than a connection's buffers and one answer.
constexpr long long Allowance = 32 * MiB;

// The process's resident memory in bytes, 0 when it cannot be read.
long long ResidentBytes(pid_t Pid)
{
	std::ifstream Status("/proc/" + std::to_string(Pid) + "/status");
	std::string Line;
	while (std::getline(Status, Line))
	{
		if (Line.rfind("VmRSS:", 0) == 0)
		{
			return std::stoll(Line.substr(6)) * 1024;
		}
	}
	return 0;
}

class EmulatorResources : public EmulatorTest
{
protected:
	void SetUp() override
	{
		// Under AddressSanitizer freed memory waits in a quarantine (256 MiB by default) before it
		// is reused, and would count here as memory held; the emulator these cases start reuses it
		// at once. Other builds ignore the variable.
		const char* const Options = std::getenv("ASAN_OPTIONS");
		setenv("ASAN_OPTIONS", (std::string(Options != nullptr ? Options : "") + ":quarantine_size_mb=0").c_str(), 1);
		EmulatorTest::SetUp();
		Someone = SignIn("resources");
		Stash = EnsureSlots(Someone, "stash", 10)["id"];
		Start = ResidentBytes(Emulator.ProcessId());
		ASSERT_GT(Start, 0);
	}

	std::string Head(const std::string& Method, const std::string& Target) const
	{
		return Method + " " + Target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + Someone.Token + "\r\n";
	}
	// Sends Total bytes of Unit, as fast as the emulator takes them, until it closes or stops reading.
	void Flood(RawConnection& Connection, const std::string& Unit, long long Total)
	{
		std::string Block;
		while (Block.size() < 256 * 1024)
		{
			Block += Unit;
		}
		for (long long Sent = 0; Sent < Total; Sent += static_cast<long long>(Block.size()))
		{
			if (!Connection.Send(Block, 2000))
			{
				return;
			}
		}
	}
	long long Growth() const { return ResidentBytes(Emulator.ProcessId()) - Start; }

	Player Someone;
	std::string Stash;
	long long Start = 0;
};
}

TEST_F(EmulatorResources, BlankLinesBeforeARequestAreNotKept)
{
	RawConnection Connection(Emulator.Port());
	Flood(Connection, "\r\n", 96 * MiB);
	EXPECT_LT(Growth(), Allowance) << "grew by " << Growth() / MiB << " MiB";
	// Refused and closed, not left to the header deadline.
	EXPECT_TRUE(Connection.ClosedWithin(3000));
}

TEST_F(EmulatorResources, ChunkFramingAroundASmallBodyIsNotKept)
{
	RawConnection Connection(Emulator.Port());
	ASSERT_TRUE(Connection.Send(Head("POST", "/v1/game/inventory/grant") + "Content-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n"));
	// One byte of body per chunk, each behind a long chunk extension.
	Flood(Connection, "1;pad=" + std::string(1000, 'x') + "\r\n \r\n", 96 * MiB);
	EXPECT_LT(Growth(), Allowance) << "grew by " << Growth() / MiB << " MiB";
	ASSERT_TRUE(Connection.Send("0\r\n\r\n"));
	const HttpResponse Answer = Connection.ReadAnswer(10000);
	EXPECT_TRUE(Answer.Status == 400 || Answer.Status == 413 || Answer.Status == 0) << Answer.Status;
	EXPECT_EQ(Read(Someone, Stash)["items"].size(), 0u);
}

TEST_F(EmulatorResources, AnswersAClientDoesNotReadAreNotQueued)
{
	// A container whose document is about 850 KB.
	const Json Big = EnsureSlots(Someone, "big", 3000);
	Json Intents = Json::array();
	for (int i = 0; i < 3000; ++i)
	{
		Intents.push_back({{"kind", "grant"}, {"container_id", Big["id"]}, {"item_id", "Item-" + std::to_string(i) + std::string(100, 'i')}, {"quantity", 1}});
	}
	ASSERT_EQ(Transact(Someone, Big["id"], Big["version"], Intents).Status, 200);
	const std::string Path = "/v1/game/containers/" + QuarnTest::PercentEncode(Big["id"]);
	const size_t DocumentBytes = Call(Someone, "GET", Path, "").Body.size();
	EXPECT_GT(DocumentBytes, 800u * 1024);
	Start = ResidentBytes(Emulator.ProcessId());

	// 200 reads pipelined, and not one answer read.
	std::string Pipelined;
	for (int i = 0; i < 200; ++i)
	{
		Pipelined += Head("GET", Path) + "\r\n";
	}
	RawConnection Reader(Emulator.Port());
	Reader.Send(Pipelined, 2000);
	std::this_thread::sleep_for(std::chrono::seconds(3));
	// The answers that fit the sockets' buffers are made, then the connection is no longer read
	// from. (Each answer's working memory stays with the allocator of the worker that made it,
	// hence the wider allowance.)
	EXPECT_LT(Growth(), 2 * Allowance) << "grew by " << Growth() / MiB << " MiB for " << DocumentBytes << "-byte answers";
	const std::string Log = Emulator.ReadStderr();
	size_t Answered = 0;
	for (size_t At = Log.find("GET /v1/game/containers/"); At != std::string::npos; At = Log.find("GET /v1/game/containers/", At + 1))
	{
		++Answered;
	}
	// What fits the two sockets' buffers (a dozen here); the rest waits for the client.
	EXPECT_LT(Answered, 40u) << "reads answered while the client read none";
	std::printf("%zu of 200 reads answered, memory grew by %lld MiB\n", Answered, Growth() / MiB);
	// Meanwhile others are served.
	EXPECT_EQ(Call(Someone, "GET", "/v1/game/containers/" + QuarnTest::PercentEncode(Stash), "").Status, 200);
}

class EmulatorDescriptors : public EmulatorTest
{
protected:
	void SetUp() override
	{
		EmulatorTest::SetUp();
		Someone = SignIn("descriptors");
		// The emulator may hold 256 descriptors from now on.
		const rlimit Limit{256, 256};
		ASSERT_EQ(prlimit(Emulator.ProcessId(), RLIMIT_NOFILE, &Limit, nullptr), 0);
	}
	Player Someone;
};

TEST_F(EmulatorDescriptors, ANewClientIsRefusedAtOnceWhenRequestsInProgressHoldEveryDescriptor)
{
	// Every connection part-way through a request: none may be closed to make room.
	std::vector<std::unique_ptr<RawConnection>> Busy;
	for (int i = 0; i < 200; ++i)
	{
		Busy.push_back(std::make_unique<RawConnection>(Emulator.Port(), 1000));
		Busy.back()->Send("GET /v1/game/containers/none HTTP/1.1\r\n", 1000);
	}
	std::this_thread::sleep_for(std::chrono::milliseconds(600));
	const long long Started = NowMs();
	RawConnection Late(Emulator.Port(), 1000);
	Late.Send("GET /v1/game/containers/none HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 1000);
	const HttpResponse Answer = Late.ReadAnswer(2000);
	EXPECT_TRUE(IsError(Answer, 503, "too_many_connections")) << Answer.Error;
	EXPECT_EQ(Answer.Header("Retry-After"), "1");
	EXPECT_LT(NowMs() - Started, 2000);
	// The requests in progress are still taken.
	int Answered = 0;
	for (auto& Connection : Busy)
	{
		Connection->Send("Host: 127.0.0.1\r\nAuthorization: Bearer " + Someone.Token + "\r\n\r\n", 200);
	}
	for (auto& Connection : Busy)
	{
		const HttpResponse Each = Connection->ReadAnswer(200);
		Answered += Each.Status == 404 ? 1 : 0;
	}
	EXPECT_GT(Answered, 150);
}

TEST_F(EmulatorDescriptors, ANewClientIsAnsweredAtOnceWhenIdleConnectionsHoldEveryDescriptor)
{
	std::vector<std::unique_ptr<RawConnection>> Idle;
	for (int i = 0; i < 320; ++i)
	{
		Idle.push_back(std::make_unique<RawConnection>(Emulator.Port(), 1000));
	}
	std::this_thread::sleep_for(std::chrono::milliseconds(300));
	// Answered well before an idle connection times out (10 s): the longest idle one makes room.
	const long long Started = NowMs();
	RawConnection Late(Emulator.Port(), 1000);
	ASSERT_TRUE(Late.Send("GET /v1/game/containers/none HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + Someone.Token + "\r\n\r\n", 1000));
	const HttpResponse Answer = Late.ReadAnswer(2000);
	EXPECT_TRUE(IsError(Answer, 404, "container_not_found")) << Answer.Error;
	EXPECT_LT(NowMs() - Started, 2000);
	// Once the idle ones go, everyone is served again.
	Idle.clear();
	std::this_thread::sleep_for(std::chrono::milliseconds(300));
	EXPECT_EQ(Call(Someone, "GET", "/v1/game/containers/none", "").Status, 404);
}
