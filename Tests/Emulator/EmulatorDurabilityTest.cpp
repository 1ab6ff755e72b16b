#include "EmulatorTestSupport.h"

#include <atomic>
#include <chrono>
#include <map>
#include <random>
#include <thread>
#include <unistd.h>

using namespace EmulatorTesting;

namespace
{
class EmulatorDurability : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override { return {"--db", DatabasePath()}; }
	std::string DatabasePath() const { return Emulator.StderrPath() + ".sqlite"; }
	void TearDown() override
	{
		EmulatorTest::TearDown();
		for (const char* Suffix : {"", "-wal", "-shm"})
		{
			unlink((DatabasePath() + Suffix).c_str());
		}
	}
};

std::map<std::string, int64_t> QuantitiesOf(const Json& Document)
{
	std::map<std::string, int64_t> Quantities;
	for (const Json& Item : Document["items"])
	{
		Quantities[Item["item_id"]] += Item["quantity"].get<int64_t>();
	}
	return Quantities;
}
}

TEST_F(EmulatorDurability, AcknowledgedChangesSurviveTwentyKills)
{
	const Player Someone = SignIn("durability");
	const std::string Stash = EnsureSlots(Someone, "stash", 16)["id"];
	const QuarnTest::HttpClient Writer = Emulator.Client(3000);
	const QuarnTest::HttpHeaders Auth = {{"Authorization", "Bearer " + Someone.Token}};

	std::atomic<bool> bDone{false};
	std::atomic<int64_t> Acknowledged{0};
	std::atomic<int> Unanswered{0};
	std::thread Client([&] {
		int64_t Version = 1;
		for (int64_t N = 0; !bDone; ++N)
		{
			// Two grants in one transaction: after any crash both or neither are there.
			const std::string Body = Json{{"intents",
											  {{{"kind", "grant"}, {"container_id", Stash}, {"item_id", "Ammo"}, {"quantity", 1}},
												  {{"kind", "grant"}, {"container_id", Stash}, {"item_id", "Bandage"}, {"quantity", 1}}}},
				{"container_id", Stash}, {"expected_version", Version}}
										 .dump();
			QuarnTest::HttpHeaders Headers = Auth;
			Headers.push_back({"Idempotency-Key", "grant-" + std::to_string(N)});
			// Resend the same request with the same key until it is answered.
			while (true)
			{
				const HttpResponse R = Writer.Post("/v1/game/inventory/transaction", Body, Headers);
				if (R.Status == 200)
				{
					Version = Json::parse(R.Body)["version"];
					++Acknowledged;
					break;
				}
				if (R.Answered() && R.Status != 503)
				{
					ADD_FAILURE() << R.Status << " " << R.Body;
					bDone = true;
					return;
				}
				++Unanswered;
				std::this_thread::sleep_for(std::chrono::milliseconds(5));
			}
		}
	});

	std::mt19937 Random(20240607);
	for (int Kill = 0; Kill < 20; ++Kill)
	{
		std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(20, 80)(Random)));
		const int64_t Before = Acknowledged;
		Emulator.Kill(SIGKILL);
		ASSERT_TRUE(Emulator.Restart()) << Emulator.LastError();
		const Json Document = Read(Someone, Stash);
		const auto Quantities = QuantitiesOf(Document);
		// Everything acknowledged before the kill is there (at most one more that was in flight)...
		EXPECT_GE(Quantities.count("Ammo") ? Quantities.at("Ammo") : 0, Before);
		// ...and no transaction is half applied.
		EXPECT_EQ(Quantities.count("Ammo") ? Quantities.at("Ammo") : 0, Quantities.count("Bandage") ? Quantities.at("Bandage") : 0);
		EXPECT_EQ(Document["version"].get<int64_t>(), 1 + (Quantities.count("Ammo") ? Quantities.at("Ammo") : 0));
	}
	std::this_thread::sleep_for(std::chrono::milliseconds(50));
	bDone = true;
	Client.join();

	const Json Document = Read(Someone, Stash);
	const auto Quantities = QuantitiesOf(Document);
	EXPECT_GT(Acknowledged.load(), 20);
	EXPECT_GT(Unanswered.load(), 0) << "no kill interrupted a request";
	// Every request was resent until acknowledged, so each was applied exactly once.
	EXPECT_EQ(Quantities.at("Ammo"), Acknowledged.load());
	EXPECT_EQ(Quantities.at("Bandage"), Acknowledged.load());
	EXPECT_EQ(ReplayItems(History(Stash)), ComparableItems(Document));
}

TEST_F(EmulatorDurability, DataSurvivesAnOrderlyRestart)
{
	const Player Someone = SignIn("restart");
	const Json Made = EnsureGrid(Someone, "stash", 5, 5);
	const std::string Id = Made["id"];
	ASSERT_EQ(Grant(Someone, Id, "Helmet", 1, {{"x", 3}, {"y", 3}}).Status, 200);
	const Json Before = Read(Someone, Id);
	ASSERT_TRUE(Emulator.Stop());
	ASSERT_TRUE(Emulator.Restart()) << Emulator.LastError();
	// Tokens, containers and idempotency records are all in the file.
	EXPECT_EQ(Read(Someone, Id), Before);
	EXPECT_EQ(SignIn("restart").Id, Someone.Id);
}
