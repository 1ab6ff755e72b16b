// A file database commits the transactions that arrive together with one sync. Under many
// connections and repeated SIGKILLs no acknowledged write may be lost, versions stay contiguous,
// a refused transaction changes nothing, and a resent request is answered from its stored record.
// Also: a database file deleted or replaced under the running emulator stops its writes.
#include "EmulatorTestSupport.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>
#include <unistd.h>

using namespace EmulatorTesting;

namespace
{
class EmulatorFileDatabase : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override { return {"--db", DatabasePath()}; }
	std::string DatabasePath() const { return Emulator.StderrPath() + ".sqlite"; }
	void TearDown() override
	{
		EmulatorTest::TearDown();
		for (const char* Suffix : {"", "-wal", "-shm", ".copy"})
		{
			unlink((DatabasePath() + Suffix).c_str());
		}
	}

	// Connections clients, each writing one container of its own with keyed transactions,
	// while the emulator is killed Kills times; then every container is checked.
	void WriteThroughKills(int Connections, int Kills)
	{
		const Player Someone = SignIn("group");
		const QuarnTest::HttpHeaders Auth = {{"Authorization", "Bearer " + Someone.Token}};
		std::vector<std::string> Containers;
		for (int i = 0; i < Connections; ++i)
		{
			Containers.push_back(EnsureSlots(Someone, "c" + std::to_string(i), 4)["id"]);
		}
		std::vector<int64_t> Acknowledged(Connections, 0);
		std::atomic<int> Replays{0};
		std::atomic<int> Refusals{0};
		std::atomic<bool> bDone{false};
		const long long Deadline = NowMsSteady() + 120000;

		auto Client = [&](int Index) {
			const QuarnTest::HttpClient Http = Emulator.Client(5000);
			const std::string& Id = Containers[Index];
			int64_t Version = 1;
			// Sends one keyed request until it is answered; false past the deadline.
			auto Settle = [&](const std::string& Body, const std::string& Key, HttpResponse& Answer) {
				QuarnTest::HttpHeaders Headers = Auth;
				Headers.push_back({"Idempotency-Key", Key});
				for (;;)
				{
					Answer = Http.Post("/v1/game/inventory/transaction", Body, Headers);
					if (Answer.Answered() && Answer.Status != 503)
					{
						Replays += Answer.Header("Idempotent-Replayed") == "true" ? 1 : 0;
						return true;
					}
					if (NowMsSteady() > Deadline)
					{
						return false;
					}
					std::this_thread::sleep_for(std::chrono::milliseconds(10));
				}
			};
			for (int64_t N = 0; !bDone; ++N)
			{
				HttpResponse Answer;
				// Every fourth transaction is refused, starting at once on a quarter of the clients, so
				// that refusals meet the commit groups however few transactions a slow build gets through.
				if ((N + Index) % 4 == 3)
				{
					// Refused whole: its grant must not stay behind its failed consume.
					const std::string Refused = Json{{"container_id", Id}, {"expected_version", Version},
						{"intents", {{{"kind", "grant"}, {"container_id", Id}, {"item_id", "Bandage"}, {"quantity", 1}},
										{{"kind", "consume"}, {"container_id", Id}, {"item_id", "Ammo"}, {"quantity", 1000000}}}}}
													.dump();
					if (!Settle(Refused, "refused-" + std::to_string(Index) + "-" + std::to_string(N), Answer))
					{
						ADD_FAILURE() << "no answer before the deadline";
						return;
					}
					EXPECT_GE(Answer.Status, 400) << Answer.Body;
					Refusals += Answer.Status >= 400 ? 1 : 0;
					continue;
				}
				const std::string Body = Json{{"container_id", Id}, {"expected_version", Version},
					{"intents", {{{"kind", "grant"}, {"container_id", Id}, {"item_id", "Ammo"}, {"quantity", 1}}}}}
											 .dump();
				if (!Settle(Body, "grant-" + std::to_string(Index) + "-" + std::to_string(N), Answer))
				{
					ADD_FAILURE() << "no answer before the deadline";
					return;
				}
				if (Answer.Status != 200)
				{
					// A lost acknowledged write shows here: the next version is not the one we expect.
					ADD_FAILURE() << "container " << Index << " at version " << Version << ": " << Answer.Status << " " << Answer.Body;
					return;
				}
				Version = BodyOf(Answer)["version"];
				++Acknowledged[Index];
			}
		};
		std::vector<std::thread> Clients;
		for (int i = 0; i < Connections; ++i)
		{
			Clients.emplace_back(Client, i);
		}
		std::mt19937 Random(static_cast<unsigned>(Connections));
		for (int Kill = 0; Kill < Kills; ++Kill)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(150, 400)(Random)));
			Emulator.Kill(SIGKILL);
			ASSERT_TRUE(Emulator.Restart()) << Emulator.LastError();
		}
		std::this_thread::sleep_for(std::chrono::milliseconds(300));
		bDone = true;
		for (std::thread& Thread : Clients)
		{
			Thread.join();
		}

		int64_t Total = 0;
		for (int i = 0; i < Connections; ++i)
		{
			const Json Document = Read(Someone, Containers[i]);
			int64_t Ammo = 0;
			int64_t Bandages = 0;
			for (const Json& Item : Document["items"])
			{
				(Item["item_id"] == "Ammo" ? Ammo : Bandages) += Item["quantity"].get<int64_t>();
			}
			// Each grant was resent until acknowledged, so each is there exactly once.
			EXPECT_EQ(Ammo, Acknowledged[i]) << "container " << i;
			EXPECT_EQ(Bandages, 0) << "a refused transaction left a change, container " << i;
			EXPECT_EQ(Document["version"].get<int64_t>(), 1 + Acknowledged[i]) << "container " << i;
			const Json Changes = History(Containers[i]);
			int64_t Expected = 1;
			for (const Json& Entry : Changes["entries"])
			{
				EXPECT_EQ(Entry["version"].get<int64_t>(), Expected++) << "versions not contiguous, container " << i;
			}
			EXPECT_EQ(ReplayItems(Changes), ComparableItems(Document)) << "container " << i;
			Total += Acknowledged[i];
		}
		EXPECT_GT(Total, Connections);
		EXPECT_GT(Refusals.load(), 0);
		std::printf("%d connections, %d kills: %lld acknowledged, %d refusals, %d answered from their record\n", Connections, Kills,
			static_cast<long long>(Total), Refusals.load(), Replays.load());
	}

	static long long NowMsSteady()
	{
		return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
	}
};
}

TEST_F(EmulatorFileDatabase, EightConnectionsThroughKillsLoseNothing)
{
	WriteThroughKills(8, 8);
}

TEST_F(EmulatorFileDatabase, TwoHundredConnectionsThroughKillsLoseNothing)
{
	WriteThroughKills(200, 5);
}

TEST_F(EmulatorFileDatabase, ADeletedOrReplacedFileStopsWrites)
{
	for (const bool bReplace : {false, true})
	{
		const Player Someone = SignIn(bReplace ? "replaced" : "deleted");
		const std::string Stash = EnsureSlots(Someone, "stash", 4)["id"];
		ASSERT_EQ(Grant(Someone, Stash, "Ammo", 1).Status, 200);
		if (bReplace)
		{
			// Another file under the same name (a restore from a copy, say).
			std::filesystem::copy_file(DatabasePath(), DatabasePath() + ".copy", std::filesystem::copy_options::overwrite_existing);
			std::filesystem::rename(DatabasePath() + ".copy", DatabasePath());
		}
		else
		{
			ASSERT_EQ(unlink(DatabasePath().c_str()), 0);
		}
		for (int i = 0; i < 3; ++i)
		{
			EXPECT_TRUE(IsError(Grant(Someone, Stash, "Ammo", 1), 503, "database_gone"));
		}
		const std::string Log = Emulator.ReadStderr();
		const std::string Said = bReplace ? "was replaced while the emulator ran" : "was deleted while the emulator ran";
		EXPECT_NE(Log.find(Said), std::string::npos) << Log;
		EXPECT_EQ(Log.find(Said, Log.find(Said) + 1), std::string::npos) << "said more than once: " << Log;
		ASSERT_TRUE(Emulator.Stop()) << Emulator.ReadStderr();
		for (const char* Suffix : {"", "-wal", "-shm"})
		{
			unlink((DatabasePath() + Suffix).c_str());
		}
		ASSERT_TRUE(Emulator.Restart()) << Emulator.LastError();
	}
}
