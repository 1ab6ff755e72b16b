#include "EmulatorTestSupport.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

using namespace EmulatorTesting;

namespace
{
class EmulatorOperations : public EmulatorTest
{
};

class EmulatorRateLimit : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override { return {"--rate-limit", "5"}; }
};

class EmulatorCatalogue : public EmulatorTest
{
protected:
	std::vector<std::string> Arguments() const override
	{
		std::ofstream(CataloguePath()) << R"({"Crate": {"display_name": "Supply crate", "grid_w": 3, "grid_h": 2}})";
		return {"--catalogue", CataloguePath()};
	}
	std::string CataloguePath() const { return Emulator.StderrPath() + ".catalogue.json"; }
	void TearDown() override
	{
		EmulatorTest::TearDown();
		std::remove(CataloguePath().c_str());
	}
};

std::vector<std::string> LinesOf(const std::string& Text)
{
	std::vector<std::string> Lines;
	std::stringstream Stream(Text);
	std::string Line;
	while (std::getline(Stream, Line))
	{
		Lines.push_back(Line);
	}
	return Lines;
}

// Runs the emulator with these arguments and expects it to refuse to start.
int ExitCodeOfRefusedStart(const std::vector<std::string>& Arguments)
{
	QuarnTest::EmulatorProcess Refused;
	EXPECT_FALSE(Refused.Start(Arguments, 5000));
	return WIFEXITED(Refused.LastExitStatus()) ? WEXITSTATUS(Refused.LastExitStatus()) : -1;
}
}

TEST_F(EmulatorOperations, LogsOneLinePerRequestWithoutSecrets)
{
	const Player Someone = SignIn("logging");
	const std::string Stash = EnsureSlots(Someone, "stash", 4)["id"];
	const HttpResponse Granted = Grant(Someone, Stash, "Ammo", 1);
	const HttpResponse Queried = Call(Someone, "GET", "/v1/game/containers/" + Stash + "?token=" + Someone.Token, "");
	ASSERT_EQ(Queried.Status, 200);
	const HttpResponse Refused = Call(Player{"", "vel1_wrong.secret-part"}, "GET", "/v1/game/containers/" + Stash, "");
	ASSERT_TRUE(Emulator.Stop());

	const std::string Log = Emulator.ReadStderr();
	EXPECT_EQ(Log.find(Someone.Token), std::string::npos) << Log;
	EXPECT_EQ(Log.find("secret-part"), std::string::npos) << Log;
	EXPECT_EQ(Log.find("Bearer"), std::string::npos) << Log;
	EXPECT_EQ(Log.find("Authorization"), std::string::npos) << Log;
	int RequestLines = 0;
	bool bSawGrant = false;
	for (const std::string& Line : LinesOf(Log))
	{
		if (Line.rfind("GET ", 0) == 0 || Line.rfind("POST ", 0) == 0)
		{
			++RequestLines;
		}
		if (Line.find(Granted.Header("X-Request-Id")) != std::string::npos)
		{
			bSawGrant = true;
			EXPECT_EQ(Line.rfind("POST /v1/game/inventory/grant 200 ", 0), 0u) << Line;
			EXPECT_NE(Line.find("ms "), std::string::npos) << Line;
		}
		if (Line.find(Refused.Header("X-Request-Id")) != std::string::npos)
		{
			EXPECT_NE(Line.find(" 401 "), std::string::npos) << Line;
		}
	}
	EXPECT_TRUE(bSawGrant) << Log;
	EXPECT_EQ(RequestLines, 5) << Log;
}

TEST_F(EmulatorOperations, EveryAnswerCarriesARequestId)
{
	const Player Someone = SignIn("request-ids");
	std::vector<HttpResponse> Answers = {
		Client.Post("/v1/game/sessions", R"({"provider": "anonymous", "ticket": "x"})"),
		Call(Someone, "GET", "/v1/game/nowhere", ""),
		Call(Someone, "POST", "/v1/game/containers/ensure", "{}"),
		Client.Post("/v1/game/sessions", std::string(2 * 1024 * 1024, ' ')),
		Emulator.Admin("GET", "/admin/faults"),
	};
	std::set<std::string> Seen;
	for (const HttpResponse& Answer : Answers)
	{
		const std::string Id = Answer.Header("X-Request-Id");
		EXPECT_EQ(Id.rfind("req_", 0), 0u) << Answer.Status << " " << Answer.Body;
		EXPECT_TRUE(Seen.insert(Id).second) << "repeated " << Id;
	}
}

TEST_F(EmulatorOperations, StopsOnSigtermAfterFinishingRequestsInFlight)
{
	const Player Someone = SignIn("shutdown");
	const std::string Stash = EnsureSlots(Someone, "stash", 4)["id"];
	ASSERT_EQ(Emulator.Admin("PUT", "/admin/faults", R"({"plan": "delay=1:1500,scope=mutating"})").Status, 200);
	HttpResponse Slow;
	std::thread InFlight([&] { Slow = Grant(Someone, Stash, "Ammo", 1); });
	std::this_thread::sleep_for(std::chrono::milliseconds(400));
	const bool bClean = Emulator.Stop();
	InFlight.join();
	EXPECT_TRUE(bClean) << Emulator.ReadStderr();
	EXPECT_EQ(Slow.Status, 200) << Slow.Error;
	EXPECT_NE(Emulator.ReadStderr().find("stopped, database closed"), std::string::npos);
}

TEST_F(EmulatorOperations, AdminRequestsNeedTheKey)
{
	EXPECT_TRUE(IsError(Client.Get("/admin/faults"), 401, "unauthorized"));
	EXPECT_TRUE(IsError(Client.Get("/admin/faults", {{"X-Admin-Key", Emulator.AdminKey() + "x"}}), 401, "unauthorized"));
	EXPECT_TRUE(IsError(Client.Post("/admin/reset", "{}"), 401, "unauthorized"));
	EXPECT_EQ(Emulator.Admin("GET", "/admin/faults").Status, 200);
	EXPECT_TRUE(IsError(Emulator.Admin("GET", "/admin/nothing"), 404, "not_found"));
	EXPECT_TRUE(IsError(Emulator.Admin("PUT", "/admin/faults", R"({"plan": "explode=0.5"})"), 400, "invalid_request"));
	EXPECT_TRUE(IsError(Emulator.Admin("PUT", "/admin/faults", R"({"plan": "unavailable=1.5"})"), 400, "invalid_request"));
}

TEST_F(EmulatorOperations, ResetForgetsPlayersAndContainers)
{
	const Player Someone = SignIn("reset");
	const std::string Stash = EnsureSlots(Someone, "stash", 4)["id"];
	ASSERT_EQ(Emulator.Admin("POST", "/admin/reset").Status, 200);
	EXPECT_TRUE(IsError(Call(Someone, "GET", "/v1/game/containers/" + Stash, ""), 401, "unauthorized"));
	EXPECT_TRUE(BodyOf(Emulator.Admin("GET", "/admin/players"))["players"].empty());
	EXPECT_TRUE(IsError(Emulator.Admin("GET", "/admin/containers/" + Stash), 404, "container_not_found"));
}

TEST_F(EmulatorOperations, FaultsWithTheSameSeedRepeatTheSameWay)
{
	const auto Outcomes = [](const std::vector<std::string>& Arguments) {
		QuarnTest::EmulatorProcess Run;
		EXPECT_TRUE(Run.Start(Arguments)) << Run.LastError();
		const QuarnTest::HttpClient Http = Run.Client();
		std::string Seen;
		for (int I = 0; I < 40; ++I)
		{
			const HttpResponse R = Http.Post("/v1/game/sessions", R"({"provider": "anonymous", "ticket": "seeded"})");
			Seen += R.Answered() ? std::to_string(R.Status) + " " : "dropped ";
		}
		const Json Counters = Json::parse(Run.Admin("GET", "/admin/faults").Body);
		EXPECT_EQ(Counters["eligible_requests"], 40);
		Run.Stop();
		return Seen;
	};
	const std::string First = Outcomes({"--faults", "unavailable=0.3,drop=0.2", "--seed", "42"});
	EXPECT_EQ(Outcomes({"--faults", "unavailable=0.3,drop=0.2", "--seed", "42"}), First);
	EXPECT_NE(Outcomes({"--faults", "unavailable=0.3,drop=0.2", "--seed", "43"}), First);
	EXPECT_NE(First.find("503"), std::string::npos);
	EXPECT_NE(First.find("dropped"), std::string::npos);
	EXPECT_NE(First.find("200"), std::string::npos);
}

TEST_F(EmulatorOperations, RefusesToStartOnBadArgumentsOrAnOpenAddress)
{
	EXPECT_EQ(ExitCodeOfRefusedStart({"--host", "0.0.0.0"}), 2);
	EXPECT_EQ(ExitCodeOfRefusedStart({"--faults", "unavailable=2"}), 2);
	EXPECT_EQ(ExitCodeOfRefusedStart({"--no-such-flag"}), 2);
	EXPECT_EQ(ExitCodeOfRefusedStart({"--catalogue", "/nonexistent/catalogue.json"}), 2);
	EXPECT_EQ(ExitCodeOfRefusedStart({"--port", Emulator.BaseUrl().substr(Emulator.BaseUrl().rfind(':') + 1)}), 1);
}

TEST_F(EmulatorRateLimit, AnswersTooManyRequestsWithRetryAfter)
{
	const Player Someone = SignIn("limited");
	int Limited = 0;
	HttpResponse Last;
	for (int I = 0; I < 12; ++I)
	{
		const HttpResponse R = Call(Someone, "GET", "/v1/game/containers/ctr_none", "");
		if (R.Status == 429)
		{
			++Limited;
			Last = R;
		}
	}
	ASSERT_GT(Limited, 0);
	EXPECT_TRUE(IsError(Last, 429, "rate_limited"));
	EXPECT_GE(std::atoi(Last.Header("Retry-After").c_str()), 1);
	// Another player has a bucket of its own.
	EXPECT_EQ(Call(SignIn("not-limited"), "GET", "/v1/game/containers/ctr_none", "").Status, 404);
}

TEST_F(EmulatorCatalogue, FootprintsComeFromTheCatalogueFile)
{
	const Player Someone = SignIn("catalogue");
	const std::string Stash = EnsureGrid(Someone, "stash", 4, 4)["id"];
	const Json Crate = BodyOf(Grant(Someone, Stash, "Crate", 1))["instance"];
	EXPECT_EQ(Crate["grid_w"], 3);
	EXPECT_EQ(Crate["grid_h"], 2);
	// The built-in default no longer applies: a Rifle is 1 x 1 here.
	EXPECT_EQ(BodyOf(Grant(Someone, Stash, "Rifle", 1))["instance"]["grid_w"], 1);
	const HttpResponse Refused = Grant(Someone, Stash, "Crate", 1, {{"x", 2}, {"y", 2}});
	EXPECT_TRUE(IsError(Refused, 409, "container_full"));
	EXPECT_NE(std::string(BodyOf(Refused)["error"]["message"]).find("Supply crate"), std::string::npos);
}

TEST(EmulatorHarness, StopsCleanlyWhenStandardInputCloses)
{
	int Input[2];
	int Output[2];
	ASSERT_EQ(pipe(Input), 0);
	ASSERT_EQ(pipe(Output), 0);
	const std::string Binary = QuarnTest::EmulatorProcess::BinaryPath();
	const pid_t Child = fork();
	ASSERT_GE(Child, 0);
	if (Child == 0)
	{
		dup2(Input[0], STDIN_FILENO);
		dup2(Output[1], STDOUT_FILENO);
		const int Quiet = open("/dev/null", O_WRONLY);
		dup2(Quiet, STDERR_FILENO);
		close(Input[1]);
		close(Output[0]);
		execl(Binary.c_str(), Binary.c_str(), "--port", "0", "--stop-on-stdin-close", static_cast<char*>(nullptr));
		_exit(127);
	}
	close(Input[0]);
	close(Output[1]);
	char First[64] = {};
	ASSERT_GT(read(Output[0], First, sizeof(First) - 1), 0);
	EXPECT_EQ(std::string(First).rfind("http://127.0.0.1:", 0), 0u);
	// The harness goes away: its end of the pipe closes.
	close(Input[1]);
	int Status = 0;
	ASSERT_EQ(waitpid(Child, &Status, 0), Child);
	close(Output[0]);
	EXPECT_TRUE(WIFEXITED(Status));
	EXPECT_EQ(WEXITSTATUS(Status), 0);
}
