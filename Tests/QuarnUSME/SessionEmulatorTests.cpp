// Sessions against the local platform, whose clock is moved past the token's lifetime: a sync after
// the expiry succeeds and the platform holds its units once; eight requests at the expiry cause one
// sign-in; a transaction applied before its answer was lost, then met by the expiry, is answered
// from the stored reply; a ticket the platform no longer accepts ends the session once and fails
// each waiting node once.
#include "QuarnUSMETestSupport.h"
#include "QuarnAuthenticatePlayer.h"
#include "Tests/QuarnCorePinRecorder.h"
#include "QuarnEnsureContainer.h"
#include "Tests/QuarnSessionWatcher.h"
#include "QuarnTest/EmulatorProcess.h"
#include "QuarnUSMELibrary.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace QuarnUSMETest;

namespace
{
	/** Forwards to the engine HTTP transport, counts what leaves, and lets a test stand in for one answer. */
	class FCountingTransport : public IQuarnTransport
	{
	public:
		FCountingTransport()
			: Inner(FQuarnClient::GetTransport())
		{
		}

		/** When set and it returns true, it has taken the request and will answer it itself. */
		TFunction<bool(const FQuarnHttpRequest&, FQuarnTransportCallback&)> Intercept;
		TArray<FQuarnHttpRequest> Sent;

		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			Sent.Add(Request);
			if (Intercept && Intercept(Request, OnDone))
			{
				return;
			}
			Inner->Send(Request, MoveTemp(OnDone));
		}

		int32 Count(const TCHAR* PathEnd) const
		{
			int32 Result = 0;
			for (const FQuarnHttpRequest& Request : Sent)
			{
				Result += Request.Url.EndsWith(PathEnd) ? 1 : 0;
			}
			return Result;
		}

		TSharedRef<IQuarnTransport> Inner;
	};

	class FQuarnSessionEmulator : public FSyncTest
	{
	protected:
		virtual void SetUp() override
		{
			FSyncTest::SetUp();
			FQuarnClient::SetTransport(nullptr);
			ASSERT_TRUE(Emulator.Start(Arguments())) << Emulator.LastError();
			GetMutableDefault<UQuarnSettings>()->BaseUrl = UTF8_TO_TCHAR(Emulator.BaseUrl().c_str());
			GetMutableDefault<UQuarnSettings>()->bAllowInsecureHttp = false;
			Counting = MakeShared<FCountingTransport>();
			FQuarnClient::SetTransport(Counting);
			Watcher = NewObject<UQuarnSessionWatcher>(GetTransientPackage());
			Watcher->AddToRoot();
			Watcher->Watch(Subsystem());
		}

		virtual void TearDown() override
		{
			if (!PlayerId.IsEmpty())
			{
				Subsystem()->SignOut(PlayerId);
			}
			if (Watcher != nullptr)
			{
				Watcher->Unwatch(Subsystem());
				Watcher->RemoveFromRoot();
			}
			for (UQuarnCorePinRecorder* Recorder : CoreRecorders)
			{
				Recorder->RemoveFromRoot();
			}
			FSyncTest::TearDown();
			Emulator.Stop();
		}

		virtual std::vector<std::string> Arguments() const
		{
			return {};
		}

		UQuarnSubsystem* Subsystem() const
		{
			return UQuarnSubsystem::Get(Engine().GetWorld());
		}

		UQuarnCorePinRecorder* NewCoreRecorder()
		{
			UQuarnCorePinRecorder* Recorder = NewObject<UQuarnCorePinRecorder>(GetTransientPackage());
			Recorder->AddToRoot();
			CoreRecorders.Add(Recorder);
			return Recorder;
		}

		/** Signs in through the node and ensures a slot stash, as a game's graph does. */
		void SignInAndEnsure(const TCHAR* Provider = TEXT("anonymous"), const TCHAR* Ticket = TEXT("session_player"))
		{
			UQuarnCorePinRecorder* Player = NewCoreRecorder();
			UQuarnAuthenticatePlayer* SignIn = UQuarnAuthenticatePlayer::AuthenticatePlayer(Engine().GetWorld(), Provider, Ticket);
			Player->Bind(SignIn);
			SignIn->Activate();
			ASSERT_TRUE(PumpUntil([&] { return Player->Total() > 0; }));
			ASSERT_EQ(Player->Successes, 1) << Str(Player->Error.Message);
			PlayerId = Player->Player.PlayerId;

			UQuarnCorePinRecorder* Stash = NewCoreRecorder();
			UQuarnEnsureContainer* Ensure = UQuarnEnsureContainer::EnsureContainer(Engine().GetWorld(), PlayerId, TEXT("stash"), EQuarnContainerLayout::Slots, 20, 1, 1);
			Stash->Bind(Ensure);
			Ensure->Activate();
			ASSERT_TRUE(PumpUntil([&] { return Stash->Total() > 0; }));
			ASSERT_EQ(Stash->Successes, 1) << Str(Stash->Error.Message);
			ContainerId = Stash->Container.ContainerId;
		}

		void AdvancePlatformClock(int64 Seconds)
		{
			const QuarnTest::HttpResponse Answer = Emulator.Admin("POST", "/admin/clock", "{\"advance_seconds\": " + std::to_string(Seconds) + "}");
			ASSERT_EQ(Answer.Status, 200) << Answer.Body;
		}

		nlohmann::json AdminJson(const std::string& Path) const
		{
			return nlohmann::json::parse(Emulator.Admin("GET", Path).Body, nullptr, false);
		}

		static TArray<FQuarnItemInstance> NewBandages(int32 Quantity)
		{
			TArray<FQuarnItemInstance> Items;
			Items.Add(UQuarnUSMELibrary::MakeItemFromUSME(FName(TEXT("Bandage")), Quantity, -1, 1.0f, TArray<FName>(), TArray<FString>()));
			return Items;
		}

		QuarnTest::EmulatorProcess Emulator;
		TSharedPtr<FCountingTransport> Counting;
		UQuarnSessionWatcher* Watcher = nullptr;
		TArray<UQuarnCorePinRecorder*> CoreRecorders;
		FString PlayerId;
		FString ContainerId;
	};
}

TEST_F(FQuarnSessionEmulator, ASyncAfterTheExpirySucceedsAndThePlatformHoldsTheUnitsOnce)
{
	SignInAndEnsure();
	const int32 SignInsBefore = Counting->Count(TEXT("/v1/game/sessions"));
	AdvancePlatformClock(3700);

	FPinRecorder& Pins = Start(PlayerId, ContainerId, NewBandages(3));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }, 20.0));
	PumpTicks(5);
	ASSERT_EQ(Pins.Successes, 1) << Str(Pins.Error.Code) << " " << Str(Pins.Error.Message);
	EXPECT_EQ(Pins.Total(), 1);
	EXPECT_EQ(Pins.Report.Granted, 1);
	EXPECT_EQ(Counting->Count(TEXT("/v1/game/sessions")), SignInsBefore + 1);
	EXPECT_EQ(Watcher->Expiries, 0);
	EXPECT_TRUE(Subsystem()->IsPlayerAuthenticated(PlayerId));

	const nlohmann::json Stored = AdminJson("/admin/containers/" + Str(ContainerId));
	ASSERT_TRUE(Stored.is_object()) << Stored.dump();
	ASSERT_EQ(Stored["items"].size(), 1u) << Stored.dump();
	EXPECT_EQ(Stored["items"][0]["item_id"], "Bandage");
	EXPECT_EQ(Stored["items"][0]["quantity"], 3);
	EXPECT_EQ(Stored["version"], 2) << "created, then one transaction";
}

TEST_F(FQuarnSessionEmulator, EightRequestsAtTheExpiryCauseOneSignIn)
{
	SignInAndEnsure();
	const int32 SignInsBefore = Counting->Count(TEXT("/v1/game/sessions"));
	AdvancePlatformClock(3700);

	const FString Token = Subsystem()->GetAccessToken(PlayerId);
	FOutcome Outcomes[8];
	for (FOutcome& Outcome : Outcomes)
	{
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/") + ContainerId, FString(), Token, FString(), Outcome.Callback());
	}
	ASSERT_TRUE(PumpUntil([&]
	{
		for (const FOutcome& Outcome : Outcomes)
		{
			if (Outcome.Calls == 0)
			{
				return false;
			}
		}
		return true;
	}, 20.0));
	PumpTicks(5);
	for (const FOutcome& Outcome : Outcomes)
	{
		EXPECT_EQ(Outcome.Calls, 1);
		EXPECT_TRUE(Outcome.bOk) << Str(Outcome.Error.Code);
	}
	EXPECT_EQ(Counting->Count(TEXT("/v1/game/sessions")), SignInsBefore + 1);
	EXPECT_NE(Str(Subsystem()->GetAccessToken(PlayerId)), Str(Token));
}

TEST_F(FQuarnSessionEmulator, AnAppliedTransactionMetByTheExpiryIsAnsweredFromTheStoredReply)
{
	SignInAndEnsure();
	// The first transaction is carried out and committed, its answer is lost, the token expires,
	// and the transport's repeat of it (same key, old token) meets "token_expired".
	bool bStoodIn = false;
	FString FirstKey;
	QuarnTest::EmulatorProcess* const Platform = &Emulator;
	TSharedRef<IQuarnTransport> Inner = Counting->Inner;
	Counting->Intercept = [&bStoodIn, &FirstKey, Platform, Inner](const FQuarnHttpRequest& Request, FQuarnTransportCallback& OnDone)
	{
		if (bStoodIn || !Request.Url.EndsWith(TEXT("/v1/game/inventory/transaction")))
		{
			return false;
		}
		bStoodIn = true;
		FirstKey = Request.GetHeader(TEXT("Idempotency-Key"));
		Inner->Send(Request, [Request, Platform, Inner, OnDone = MoveTemp(OnDone)](const FQuarnHttpResponse& Applied) mutable
		{
			EXPECT_EQ(Applied.StatusCode, 200) << Str(Applied.Body);
			Platform->Admin("POST", "/admin/clock", "{\"advance_seconds\": 3700}");
			Inner->Send(Request, MoveTemp(OnDone));
		});
		return true;
	};

	FPinRecorder& Pins = Start(PlayerId, ContainerId, NewBandages(4));
	ASSERT_TRUE(PumpUntil([&] { return Pins.Total() > 0; }, 20.0));
	PumpTicks(5);
	ASSERT_TRUE(bStoodIn);
	ASSERT_EQ(Pins.Successes, 1) << Str(Pins.Error.Code) << " " << Str(Pins.Error.Message);
	EXPECT_EQ(Pins.Total(), 1);

	// The resend went with the first key, and the platform applied it once.
	TArray<FString> Keys;
	for (const FQuarnHttpRequest& Request : Counting->Sent)
	{
		if (Request.Url.EndsWith(TEXT("/v1/game/inventory/transaction")))
		{
			Keys.Add(Request.GetHeader(TEXT("Idempotency-Key")));
		}
	}
	ASSERT_EQ(Keys.Num(), 2);
	EXPECT_EQ(Str(Keys[1]), Str(FirstKey));
	const nlohmann::json History = AdminJson("/admin/containers/" + Str(ContainerId) + "/history");
	ASSERT_TRUE(History.is_object()) << History.dump();
	int Applied = 0;
	for (const nlohmann::json& Entry : History["entries"])
	{
		Applied += (Entry["idempotency_key"].is_string() && Entry["idempotency_key"] == Str(FirstKey)) ? 1 : 0;
	}
	EXPECT_EQ(Applied, 1) << History.dump();
	const nlohmann::json Stored = AdminJson("/admin/containers/" + Str(ContainerId));
	ASSERT_EQ(Stored["items"].size(), 1u) << Stored.dump();
	EXPECT_EQ(Stored["items"][0]["quantity"], 4);
}

namespace
{
	/** A platform whose steam test player can sign in until it is started again without that ticket. */
	class FQuarnSessionTicketEmulator : public FQuarnSessionEmulator
	{
	protected:
		virtual void SetUp() override
		{
			const std::string Base = "/tmp/quarn-session-" + std::to_string(getpid());
			DatabasePath = Base + ".db";
			TicketsPath = Base + "-tickets.json";
			EmptyTicketsPath = Base + "-no-tickets.json";
			std::ofstream(TicketsPath) << "{\"steam\": {\"ticket-alice\": \"alice\"}}";
			std::ofstream(EmptyTicketsPath) << "{\"steam\": {}}";
			FQuarnSessionEmulator::SetUp();
		}

		virtual void TearDown() override
		{
			FQuarnSessionEmulator::TearDown();
			for (const std::string& Path : {DatabasePath, DatabasePath + "-wal", DatabasePath + "-shm", TicketsPath, EmptyTicketsPath})
			{
				std::remove(Path.c_str());
			}
		}

		virtual std::vector<std::string> Arguments() const override
		{
			return {"--db", DatabasePath, "--tickets", TicketsPath};
		}

		std::string DatabasePath;
		std::string TicketsPath;
		std::string EmptyTicketsPath;
	};
}

TEST_F(FQuarnSessionTicketEmulator, ATicketNoLongerAcceptedEndsTheSessionOnceAndFailsEachNodeOnce)
{
	SignInAndEnsure(TEXT("steam"), TEXT("ticket-alice"));
	const std::string Port = std::to_string(Emulator.Port());
	ASSERT_TRUE(Emulator.Stop());
	ASSERT_TRUE(Emulator.Start({"--db", DatabasePath, "--tickets", EmptyTicketsPath, "--port", Port})) << Emulator.LastError();
	AdvancePlatformClock(3700);

	TArray<FPinRecorder*> Nodes;
	for (int32 Index = 0; Index < 3; ++Index)
	{
		Nodes.Add(&Start(PlayerId, ContainerId, NewBandages(1)));
	}
	ASSERT_TRUE(PumpUntil([&] { return Nodes[0]->Total() > 0 && Nodes[1]->Total() > 0 && Nodes[2]->Total() > 0; }, 20.0));
	PumpTicks(10);
	EXPECT_EQ(Watcher->Expiries, 1);
	EXPECT_EQ(Str(Watcher->PlayerId), Str(PlayerId));
	EXPECT_EQ(Str(Watcher->Error.Code), "token_expired");
	for (const FPinRecorder* Pins : Nodes)
	{
		EXPECT_EQ(Pins->Failures, 1);
		EXPECT_EQ(Pins->Successes, 0);
		EXPECT_EQ(Str(Pins->Error.Code), "token_expired");
		EXPECT_FALSE(Pins->Error.Hint.IsEmpty());
	}
	EXPECT_FALSE(Subsystem()->IsPlayerAuthenticated(PlayerId));
	EXPECT_EQ(Counting->Count(TEXT("/v1/game/sessions")), 2) << "the node's sign-in and one refused renewal";
}
