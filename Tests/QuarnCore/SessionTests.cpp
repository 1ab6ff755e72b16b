// Sessions over a scripted transport: a token the platform calls expired is renewed with the
// remembered ticket and the request goes again once, with the same method, path, body and key;
// requests that meet the expiry together share one sign-in; a refused renewal ends the session once;
// a token about to expire is renewed before the request leaves; nothing secret reaches the log.
#include "CoreNodeTest.h"
#include "Engine/World.h"
#include "QuarnAuthenticatePlayer.h"
#include "QuarnCorePinRecorder.h"
#include "QuarnEnsureContainer.h"
#include "QuarnLog.h"
#include "QuarnSession.h"
#include "QuarnSessionWatcher.h"
#include "QuarnSubsystem.h"
#include "UObject/Package.h"

using namespace QuarnTest;

namespace
{
	const TCHAR* const Ticket = TEXT("ticket-s3cr3t-4711");
	const TCHAR* const FirstToken = TEXT("tok_first_0001");
	const TCHAR* const SecondToken = TEXT("tok_second_0002");
	const TCHAR* const ExpiredBody = TEXT("{\"error\":{\"code\":\"token_expired\",\"message\":\"The access token expired.\",\"hint\":\"Sign in again.\",\"request_id\":\"req_x\"}}");

	FString SessionAnswer(const TCHAR* Token, const TCHAR* ExpiresIn = TEXT("3600"), const TCHAR* Player = TEXT("plr_s"))
	{
		return FString::Printf(TEXT("{\"player\":{\"id\":\"%s\",\"provider\":\"steam\"},\"tokens\":{\"access_token\":\"%s\",\"token_type\":\"Bearer\",\"expires_in\":%s}}"), Player, Token, ExpiresIn);
	}

	bool IsSignIn(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/sessions"));
	}

	class FQuarnSessions : public FCoreNodeTest
	{
	protected:
		virtual void SetUp() override
		{
			FCoreNodeTest::SetUp();
			Watcher = NewObject<UQuarnSessionWatcher>(GetTransientPackage());
			Watcher->AddToRoot();
			Watcher->Watch(Subsystem());
		}

		virtual void TearDown() override
		{
			Subsystem()->SignOut(TEXT("plr_s"));
			Watcher->Unwatch(Subsystem());
			Watcher->RemoveFromRoot();
			FCoreNodeTest::TearDown();
		}

		/** Signs plr_s in through the node, as a game does, with a token of the given lifetime. */
		void SignIn(const TCHAR* ExpiresIn = TEXT("3600"))
		{
			UQuarnCorePinRecorder* Pins = NewRecorder();
			UQuarnAuthenticatePlayer* Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Engine().GetWorld(), TEXT("steam"), Ticket);
			Pins->Bind(Action);
			Action->Activate();
			ASSERT_EQ(Transport->Pending.Num(), 1);
			Transport->Answer(200, SessionAnswer(FirstToken, ExpiresIn));
			ASSERT_TRUE(PumpUntil([&] { return Pins->Total() > 0; }));
			ASSERT_EQ(Pins->Successes, 1);
			ASSERT_EQ(Str(Subsystem()->GetAccessToken(TEXT("plr_s"))), Str(FirstToken));
		}

		int32 SignInsSent() const
		{
			int32 Count = 0;
			for (const FQuarnHttpRequest& Request : Transport->Sent)
			{
				Count += IsSignIn(Request) ? 1 : 0;
			}
			return Count;
		}

		UQuarnSessionWatcher* Watcher = nullptr;
	};
}

TEST_F(FQuarnSessions, AnExpiredTokenIsRenewedAndTheRequestResentOnceWithTheSameKey)
{
	SignIn();
	const int64 RenewalsBefore = FQuarnSession::GetTotalRenewals();
	FOutcome Outcome;
	const FString Body = TEXT("{\"intents\":[],\"container_id\":\"ctr_1\",\"expected_version\":1}");
	FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/inventory/transaction"), Body, FirstToken, TEXT("key-77"), Outcome.Callback());
	ASSERT_EQ(Transport->Pending.Num(), 1);
	const FQuarnHttpRequest First = Transport->Pending[0].Request;
	EXPECT_EQ(Str(First.GetHeader(TEXT("Authorization"))), std::string("Bearer ") + Str(FirstToken));

	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1 && IsSignIn(Transport->Pending[0].Request); }));
	const FQuarnHttpRequest SignInRequest = Transport->Pending[0].Request;
	EXPECT_EQ(Str(SignInRequest.Verb), "POST");
	EXPECT_TRUE(SignInRequest.GetHeader(TEXT("Authorization")).IsEmpty());
	EXPECT_EQ(Str(SignInRequest.Body), Eol("{\n\t\"provider\": \"steam\",\n\t\"ticket\": \"" + Str(Ticket) + "\"\n}"));
	EXPECT_EQ(Outcome.Calls, 0) << "the caller hears nothing while the session renews";

	Transport->Answer(200, SessionAnswer(SecondToken));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1 && !IsSignIn(Transport->Pending[0].Request); }));
	const FQuarnHttpRequest Resent = Transport->Pending[0].Request;
	EXPECT_EQ(Str(Resent.Verb), Str(First.Verb));
	EXPECT_EQ(Str(Resent.Url), Str(First.Url));
	EXPECT_EQ(Str(Resent.Body), Str(First.Body));
	EXPECT_EQ(Str(Resent.GetHeader(TEXT("Idempotency-Key"))), "key-77");
	EXPECT_EQ(Str(Resent.GetHeader(TEXT("Authorization"))), std::string("Bearer ") + Str(SecondToken));
	EXPECT_EQ(Str(Subsystem()->GetAccessToken(TEXT("plr_s"))), Str(SecondToken));

	Transport->Answer(200, TEXT("{\"version\":2,\"results\":[]}"));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	PumpTicks(3);
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_TRUE(Outcome.bOk);
	EXPECT_TRUE(Outcome.bOnGameThread);
	EXPECT_EQ(FQuarnSession::GetTotalRenewals(), RenewalsBefore + 1);
	EXPECT_EQ(Watcher->Expiries, 0);
	const float SecondsLeft = Subsystem()->GetTokenSecondsLeft(TEXT("plr_s"));
	EXPECT_GT(SecondsLeft, 3500.0f);
	EXPECT_LE(SecondsLeft, 3600.0f);

	// A caller still holding the first token is served with the second, without another sign-in.
	FOutcome Late;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Late.Callback());
	ASSERT_EQ(Transport->Pending.Num(), 1);
	EXPECT_EQ(Str(Transport->Pending[0].Request.GetHeader(TEXT("Authorization"))), std::string("Bearer ") + Str(SecondToken));
	Transport->Answer(200, TEXT("{}"));
	ASSERT_TRUE(PumpUntil([&] { return Late.Calls > 0; }));
	EXPECT_EQ(SignInsSent(), 2);
}

TEST_F(FQuarnSessions, EightRequestsMeetingTheExpiryShareOneSignIn)
{
	SignIn();
	FOutcome Outcomes[8];
	for (FOutcome& Outcome : Outcomes)
	{
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Outcome.Callback());
	}
	ASSERT_EQ(Transport->Pending.Num(), 8);
	for (int32 Index = 0; Index < 8; ++Index)
	{
		Transport->Answer(401, ExpiredBody);
	}
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }));
	PumpTicks(5);
	ASSERT_EQ(Transport->Pending.Num(), 1);
	EXPECT_TRUE(IsSignIn(Transport->Pending[0].Request));

	// A ninth request while the renewal runs waits for it too.
	FOutcome Ninth;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_2"), FString(), FirstToken, FString(), Ninth.Callback());
	EXPECT_EQ(Transport->Pending.Num(), 1);

	Transport->Answer(200, SessionAnswer(SecondToken));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 9; }));
	for (const FScriptedTransport::FPending& Pending : Transport->Pending)
	{
		EXPECT_EQ(Str(Pending.Request.GetHeader(TEXT("Authorization"))), std::string("Bearer ") + Str(SecondToken));
	}
	while (Transport->Pending.Num() > 0)
	{
		Transport->Answer(200, TEXT("{\"id\":\"ctr_1\"}"));
	}
	ASSERT_TRUE(PumpUntil([&] { return Ninth.Calls > 0; }));
	PumpTicks(3);
	for (const FOutcome& Outcome : Outcomes)
	{
		EXPECT_EQ(Outcome.Calls, 1);
		EXPECT_TRUE(Outcome.bOk);
	}
	EXPECT_EQ(Ninth.Calls, 1);
	EXPECT_EQ(SignInsSent(), 2) << "the node's sign-in and one renewal";
}

TEST_F(FQuarnSessions, ARefusedRenewalEndsTheSessionOnceAndFailsEveryWaitingNodeOnce)
{
	SignIn();
	TArray<UQuarnCorePinRecorder*> Nodes;
	for (int32 Index = 0; Index < 3; ++Index)
	{
		UQuarnCorePinRecorder* Pins = NewRecorder();
		UQuarnEnsureContainer* Action = UQuarnEnsureContainer::EnsureContainer(Engine().GetWorld(), TEXT("plr_s"), TEXT("stash"), EQuarnContainerLayout::Slots, 10, 1, 1);
		Pins->Bind(Action);
		Action->Activate();
		Nodes.Add(Pins);
	}
	ASSERT_EQ(Transport->Pending.Num(), 3);
	for (int32 Index = 0; Index < 3; ++Index)
	{
		Transport->Answer(401, ExpiredBody);
	}
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }));
	ASSERT_TRUE(IsSignIn(Transport->Pending[0].Request));
	Transport->Answer(400, TEXT("{\"error\":{\"code\":\"unsupported_provider\",\"message\":\"The sign-in provider is not known.\",\"hint\":\"\"}}"));
	ASSERT_TRUE(PumpUntil([&] { return Watcher->Expiries > 0; }));
	PumpTicks(5);

	EXPECT_EQ(Watcher->Expiries, 1);
	EXPECT_EQ(Str(Watcher->PlayerId), "plr_s");
	EXPECT_EQ(Str(Watcher->Error.Code), "token_expired");
	EXPECT_FALSE(Watcher->Error.Hint.IsEmpty());
	EXPECT_NE(Watcher->Error.Message.Find(TEXT("unsupported_provider")), INDEX_NONE) << Str(Watcher->Error.Message);
	for (const UQuarnCorePinRecorder* Pins : Nodes)
	{
		EXPECT_EQ(Pins->Failures, 1);
		EXPECT_EQ(Pins->Successes, 0);
		EXPECT_EQ(Str(Pins->Error.Code), "token_expired");
		EXPECT_FALSE(Pins->Error.Hint.IsEmpty());
	}
	EXPECT_FALSE(Subsystem()->IsPlayerAuthenticated(TEXT("plr_s")));
	EXPECT_EQ(Subsystem()->GetTokenSecondsLeft(TEXT("plr_s")), 0.0f);
	EXPECT_EQ(Transport->Pending.Num(), 0) << "nothing is resent after a refusal";

	// The dead token is no longer the session's: a request with it goes out as it is.
	FOutcome After;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), After.Callback());
	ASSERT_EQ(Transport->Pending.Num(), 1);
	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return After.Calls > 0; }));
	PumpTicks(3);
	EXPECT_EQ(After.Calls, 1);
	EXPECT_EQ(SignInsSent(), 2);
	EXPECT_EQ(Watcher->Expiries, 1);
}

TEST_F(FQuarnSessions, ARenewalRetriesWhileThePlatformCannotBeReached)
{
	SignIn();
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Outcome.Callback());
	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }));
	Transport->Fail(EQuarnTransportResult::ConnectionFailed);
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }, 5.0));
	ASSERT_TRUE(IsSignIn(Transport->Pending[0].Request));
	Transport->Answer(503, TEXT("{\"error\":{\"code\":\"unavailable\",\"message\":\"Down.\"}}"));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }, 5.0));
	ASSERT_TRUE(IsSignIn(Transport->Pending[0].Request));
	Transport->Answer(200, SessionAnswer(SecondToken));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1 && !IsSignIn(Transport->Pending[0].Request); }));
	Transport->Answer(200, TEXT("{}"));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_TRUE(Outcome.bOk);
	EXPECT_EQ(SignInsSent(), 4);
	EXPECT_EQ(Watcher->Expiries, 0);
}

TEST_F(FQuarnSessions, ATokenAboutToExpireIsRenewedBeforeTheRequestLeaves)
{
	SignIn(TEXT("0.001"));
	FPlatformProcess::Sleep(0.01f);
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/inventory/grant"), TEXT("{}"), FirstToken, TEXT("key-9"), Outcome.Callback());
	ASSERT_EQ(Transport->Pending.Num(), 1);
	ASSERT_TRUE(IsSignIn(Transport->Pending[0].Request)) << "the request waits for the new token";
	Transport->Answer(200, SessionAnswer(SecondToken));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1 && !IsSignIn(Transport->Pending[0].Request); }));
	EXPECT_EQ(Str(Transport->Pending[0].Request.GetHeader(TEXT("Authorization"))), std::string("Bearer ") + Str(SecondToken));
	EXPECT_EQ(Str(Transport->Pending[0].Request.GetHeader(TEXT("Idempotency-Key"))), "key-9");
	Transport->Answer(200, TEXT("{\"version\":3}"));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_TRUE(Outcome.bOk);
	EXPECT_EQ(Outcome.Calls, 1);
}

TEST_F(FQuarnSessions, AnEarlyRenewalThatCannotReachThePlatformSendsWithTheTokenStillHeld)
{
	// A two-second token is renewed in its last second.
	SignIn(TEXT("2"));
	FPlatformProcess::Sleep(1.05f);
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Outcome.Callback());
	ASSERT_EQ(Transport->Pending.Num(), 1);
	ASSERT_TRUE(IsSignIn(Transport->Pending[0].Request));
	Transport->Fail(EQuarnTransportResult::ConnectionFailed);
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }, 5.0));
	EXPECT_FALSE(IsSignIn(Transport->Pending[0].Request));
	EXPECT_EQ(Str(Transport->Pending[0].Request.GetHeader(TEXT("Authorization"))), std::string("Bearer ") + Str(FirstToken));
	Transport->Answer(200, TEXT("{}"));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_TRUE(Outcome.bOk);
	EXPECT_EQ(Watcher->Expiries, 0);
	EXPECT_TRUE(Subsystem()->IsPlayerAuthenticated(TEXT("plr_s")));
}

TEST_F(FQuarnSessions, AResentRequestThatMeetsTheExpiryAgainFailsWithoutASecondRenewal)
{
	SignIn();
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Outcome.Callback());
	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }));
	Transport->Answer(200, SessionAnswer(SecondToken));
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1 && !IsSignIn(Transport->Pending[0].Request); }));
	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	PumpTicks(5);
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_FALSE(Outcome.bOk);
	EXPECT_EQ(Str(Outcome.Error.Code), "token_expired");
	EXPECT_FALSE(Outcome.Error.Hint.IsEmpty());
	EXPECT_EQ(SignInsSent(), 2);
	EXPECT_EQ(Transport->Pending.Num(), 0);
}

TEST_F(FQuarnSessions, SigningOutFailsWaitingRequestsOnceWithoutAnExpiry)
{
	SignIn();
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Outcome.Callback());
	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }));
	Subsystem()->SignOut(TEXT("plr_s"));
	EXPECT_FALSE(Subsystem()->IsPlayerAuthenticated(TEXT("plr_s")));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	EXPECT_EQ(Str(Outcome.Error.Code), "not_authenticated");
	// The renewal's late answer changes nothing.
	Transport->Answer(200, SessionAnswer(SecondToken));
	PumpTicks(5);
	EXPECT_EQ(Outcome.Calls, 1);
	EXPECT_EQ(Watcher->Expiries, 0);
	EXPECT_FALSE(Subsystem()->IsPlayerAuthenticated(TEXT("plr_s")));
	EXPECT_EQ(Transport->Pending.Num(), 0);
}

TEST_F(FQuarnSessions, ARenewalThatSignsInAnotherPlayerIsRefused)
{
	SignIn();
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Outcome.Callback());
	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }));
	Transport->Answer(200, SessionAnswer(SecondToken, TEXT("3600"), TEXT("plr_other")));
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	PumpTicks(3);
	EXPECT_EQ(Str(Outcome.Error.Code), "token_expired");
	EXPECT_EQ(Watcher->Expiries, 1);
	EXPECT_EQ(Transport->Pending.Num(), 0) << "nothing goes out under another player's token";
}

TEST_F(FQuarnSessions, AHandedOverTokenHasNoSessionAndPassesTheExpiryThrough)
{
	Subsystem()->SetAccessToken(TEXT("plr_s"), TEXT("tok_by_hand"));
	EXPECT_EQ(Subsystem()->GetTokenSecondsLeft(TEXT("plr_s")), -1.0f);
	FOutcome Outcome;
	FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), TEXT("tok_by_hand"), FString(), Outcome.Callback());
	Transport->Answer(401, ExpiredBody);
	ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
	PumpTicks(3);
	EXPECT_EQ(Str(Outcome.Error.Code), "token_expired");
	EXPECT_EQ(SignInsSent(), 0);
	EXPECT_EQ(Watcher->Expiries, 0);
}

TEST_F(FQuarnSessions, NoTicketOrTokenReachesAnyLogLine)
{
	const ELogVerbosity::Type Saved = LogQuarn.GetVerbosity();
	LogQuarn.SetVerbosity(ELogVerbosity::VeryVerbose);
	{
		FLogCapture Log;
		SignIn(TEXT("0.001"));
		FPlatformProcess::Sleep(0.01f);
		FOutcome Outcome;
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_1"), FString(), FirstToken, FString(), Outcome.Callback());
		Transport->Answer(200, SessionAnswer(SecondToken, TEXT("0.001")));
		ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1 && !IsSignIn(Transport->Pending[0].Request); }));
		Transport->Answer(401, ExpiredBody);
		ASSERT_TRUE(PumpUntil([&] { return Transport->Pending.Num() == 1; }));
		Transport->Answer(400, TEXT("{\"error\":{\"code\":\"invalid_request\",\"message\":\"Bad ticket.\"}}"));
		ASSERT_TRUE(PumpUntil([&] { return Outcome.Calls > 0; }));
		PumpTicks(3);

		EXPECT_GT(Log.Count(TEXT("Renewed the session of player plr_s")), 0);
		EXPECT_GT(Log.Count(TEXT("expired and could not be renewed")), 0);
		EXPECT_EQ(Log.Count(Ticket), 0);
		EXPECT_EQ(Log.Count(FirstToken), 0);
		EXPECT_EQ(Log.Count(SecondToken), 0);
	}
	LogQuarn.SetVerbosity(Saved);
}
