#include "EmulatorTestSupport.h"

#include <atomic>
#include <map>
#include <set>
#include <thread>

using namespace EmulatorTesting;

namespace
{
class EmulatorConcurrency : public EmulatorTest
{
};

struct Acknowledged
{
	int64_t Version = 0;
	std::string Key;
	int Thread = 0;
};
}

TEST_F(EmulatorConcurrency, EightWritersReadThenTransactWithoutLosingOrRepeatingAChange)
{
	constexpr int Threads = 8;
	constexpr int Rounds = 200;
	const Player Someone = SignIn("concurrency");
	const std::string Stash = EnsureSlots(Someone, "stash", 64)["id"];
	const QuarnTest::HttpClient Shared = Emulator.Client();
	const QuarnTest::HttpHeaders Auth = {{"Authorization", "Bearer " + Someone.Token}};

	std::vector<std::vector<Acknowledged>> PerThread(Threads);
	std::atomic<int> Conflicts{0};
	std::atomic<int> Failures{0};
	std::vector<std::thread> Workers;
	for (int T = 0; T < Threads; ++T)
	{
		Workers.emplace_back([&, T] {
			for (int Round = 0; Round < Rounds && Failures == 0; ++Round)
			{
				const std::string Key = "t" + std::to_string(T) + "-r" + std::to_string(Round);
				while (Failures == 0)
				{
					const HttpResponse Doc = Shared.Get("/v1/game/containers/" + Stash, Auth);
					if (Doc.Status != 200)
					{
						++Failures;
						break;
					}
					const int64_t Version = Json::parse(Doc.Body)["version"];
					const Json Intents = {{{"kind", "grant"}, {"container_id", Stash}, {"item_id", "Ammo"}, {"quantity", 1}},
						{{"kind", "grant"}, {"container_id", Stash}, {"item_id", "Item" + std::to_string(T)}, {"quantity", 2}}};
					QuarnTest::HttpHeaders Headers = Auth;
					// A fresh key per attempt: a conflict is a refusal, and it is stored with its key.
					Headers.push_back({"Idempotency-Key", Key + "-v" + std::to_string(Version)});
					const HttpResponse R = Shared.Post("/v1/game/inventory/transaction",
						Json{{"intents", Intents}, {"container_id", Stash}, {"expected_version", Version}}.dump(), Headers);
					if (R.Status == 200)
					{
						PerThread[T].push_back({Json::parse(R.Body)["version"].get<int64_t>(), Key + "-v" + std::to_string(Version), T});
						break;
					}
					if (R.Status == 409 && Json::parse(R.Body)["error"]["code"] == "version_conflict")
					{
						++Conflicts;
						continue;
					}
					ADD_FAILURE() << "unexpected answer " << R.Status << ": " << R.Body << R.Error;
					++Failures;
					break;
				}
			}
		});
	}
	for (std::thread& Worker : Workers)
	{
		Worker.join();
	}
	ASSERT_EQ(Failures, 0);

	std::map<int64_t, Acknowledged> ByVersion;
	for (const auto& List : PerThread)
	{
		EXPECT_EQ(List.size(), static_cast<size_t>(Rounds));
		for (const Acknowledged& Ack : List)
		{
			EXPECT_TRUE(ByVersion.emplace(Ack.Version, Ack).second) << "version " << Ack.Version << " acknowledged twice";
		}
	}
	// Versions 2 .. 1 + N, each acknowledged once: none skipped, none repeated.
	ASSERT_EQ(ByVersion.size(), static_cast<size_t>(Threads * Rounds));
	EXPECT_EQ(ByVersion.begin()->first, 2);
	EXPECT_EQ(ByVersion.rbegin()->first, 1 + Threads * Rounds);

	const Json Document = Read(Someone, Stash);
	EXPECT_EQ(Document["version"], 1 + Threads * Rounds);
	std::map<std::string, int64_t> Quantities;
	for (const Json& Item : Document["items"])
	{
		Quantities[Item["item_id"]] += Item["quantity"].get<int64_t>();
	}
	EXPECT_EQ(Quantities["Ammo"], Threads * Rounds);
	for (int T = 0; T < Threads; ++T)
	{
		EXPECT_EQ(Quantities["Item" + std::to_string(T)], 2 * Rounds);
	}

	// The history holds exactly the acknowledged transactions, each with its key.
	const Json Log = History(Stash);
	ASSERT_EQ(Log["entries"].size(), static_cast<size_t>(1 + Threads * Rounds));
	std::set<std::string> Keys;
	for (const Json& Entry : Log["entries"])
	{
		if (Entry["version"] == 1)
		{
			continue;
		}
		const Acknowledged& Ack = ByVersion.at(Entry["version"]);
		EXPECT_EQ(Entry["idempotency_key"], Ack.Key);
		EXPECT_TRUE(Keys.insert(Entry["idempotency_key"]).second);
	}
	EXPECT_EQ(ReplayItems(Log), ComparableItems(Document));
	RecordProperty("conflicts", Conflicts.load());
}
