// Copyright Quarn. All Rights Reserved.

// A renewal's answer that arrives after the session moved on: the owner signed in by hand, or a
// second renewal started meanwhile. The stale answer changes nothing: its token is never taken,
// never sent, and nothing is sent again because of it.

#include "Tests/QuarnCoreNodeFixture.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnSession.h"

using namespace QuarnTests;

namespace QuarnSessionRaceTests
{
	const FTimespan CaseBound = FTimespan::FromSeconds(30);
	const TCHAR* const ExpiredBody = TEXT("{\"error\":{\"code\":\"token_expired\",\"message\":\"The access token expired.\",\"hint\":\"Sign in again.\",\"request_id\":\"req_x\"}}");

	FString SessionAnswer(const TCHAR* Token)
	{
		return FString::Printf(TEXT("{\"player\":{\"id\":\"plr_r\",\"provider\":\"steam\"},\"tokens\":{\"access_token\":\"%s\",\"token_type\":\"Bearer\",\"expires_in\":3600}}"), Token);
	}

	bool IsSignIn(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/sessions"), ESearchCase::CaseSensitive);
	}
}

BEGIN_DEFINE_SPEC(FQuarnSessionRaceSpec, "Quarn.Core.SessionRaces", QuarnTests::TestFlags)
	TUniquePtr<QuarnCoreTests::FNodeFixture> Fixture;
	int64 RenewalsBefore = 0;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	UQuarnSubsystem* Subsystem() const
	{
		return Fixture->Subsystem();
	}

	/** Answers the request waiting at Index, whatever waits before it. */
	bool AnswerAt(int32 Index, int32 Status, const FString& Body)
	{
		return TestTrue(FString::Printf(TEXT("a request waits at %d"), Index), Transport().AnswerAt(Index, Status, Body));
	}

	TSharedRef<FOutcome> Get(const TCHAR* Token)
	{
		const TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/c1"), FString(), Token, FString(), FOutcome::Into(Outcome));
		return Outcome;
	}

	bool AnyRequestCarried(const TCHAR* Token) const
	{
		const FString Header = FString(TEXT("Bearer ")) + Token;
		return Transport().Sent.ContainsByPredicate([&Header](const FQuarnHttpRequest& Request) { return Request.GetHeader(TEXT("Authorization")) == Header; });
	}

	/** plr_r signed in with tok_1; a read meets the expiry; its renewal's sign-in waits, unanswered. */
	void StartRenewal(const FDoneDelegate& Done, TFunction<void(TSharedRef<FOutcome>)> Then)
	{
		Subsystem()->StartSession(TEXT("plr_r"), TEXT("tok_1"), 3600.0, TEXT("steam"), TEXT("ticket-r"));
		const TSharedRef<FOutcome> First = Get(TEXT("tok_1"));
		Transport().Answer(401, QuarnSessionRaceTests::ExpiredBody);
		Await(*this, TEXT("the first renewal's sign-in"), [this]() { return Transport().Pending.Num() == 1 && QuarnSessionRaceTests::IsSignIn(Transport().Pending[0].Request); }, Done, [First, Then]()
		{
			Then(First);
		});
	}
END_DEFINE_SPEC(FQuarnSessionRaceSpec)

void FQuarnSessionRaceSpec::Define()
{
	using namespace QuarnSessionRaceTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<QuarnCoreTests::FNodeFixture>();
		RenewalsBefore = FQuarnSession::GetTotalRenewals();
	});

	AfterEach([this]()
	{
		Subsystem()->SignOut(TEXT("plr_r"));
		Fixture.Reset();
	});

	LatentIt(TEXT("ignores a renewal's answer that arrives after a sign-in by hand"), CaseBound, [this](const FDoneDelegate& Done)
	{
		StartRenewal(Done, [this, Done](TSharedRef<FOutcome> First)
		{
			// The owner signs the player in by hand: the waiting read goes out with that token.
			Subsystem()->StartSession(TEXT("plr_r"), TEXT("tok_manual"), 3600.0, TEXT("steam"), TEXT("ticket-r"));
			Await(*this, TEXT("the read resent with the manual token"), [this]() { return Transport().Pending.Num() == 2; }, Done, [this, First, Done]()
			{
				TestEqualSensitive(TEXT("the resend's token"), Transport().Pending[1].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_manual")));
				if (!AnswerAt(0, 200, SessionAnswer(TEXT("tok_stale"))))
				{
					Done.Execute();
					return;
				}
				AfterFrames(5, [this, First, Done]()
				{
					TestEqualSensitive(TEXT("the player's token"), Subsystem()->GetAccessToken(TEXT("plr_r")), FString(TEXT("tok_manual")));
					TestEqual(TEXT("renewals counted"), FQuarnSession::GetTotalRenewals() - RenewalsBefore, 0LL);
					TestEqual(TEXT("requests waiting"), Transport().Pending.Num(), 1);
					Transport().Answer(200, TEXT("{\"id\":\"c1\"}"));
					Await(*this, TEXT("the read's callback"), [First]() { return First->Calls > 0; }, Done, [this, First, Done]()
					{
						TestTrue(TEXT("the read succeeded"), First->bOk);
						TestFalse(TEXT("a request carried the stale token"), AnyRequestCarried(TEXT("tok_stale")));
						Done.Execute();
					});
				});
			});
		});
	});

	LatentIt(TEXT("ignores the first renewal's answer once a second renewal has started, and takes the second's"), CaseBound, [this](const FDoneDelegate& Done)
	{
		StartRenewal(Done, [this, Done](TSharedRef<FOutcome> First)
		{
			Subsystem()->StartSession(TEXT("plr_r"), TEXT("tok_manual"), 3600.0, TEXT("steam"), TEXT("ticket-r"));
			const TSharedRef<FOutcome> Second = Get(TEXT("tok_manual"));
			Await(*this, TEXT("both reads on the wire"), [this]() { return Transport().Pending.Num() == 3; }, Done, [this, First, Second, Done]()
			{
				// The first read succeeds; the second meets the expiry, and a second renewal starts.
				if (!AnswerAt(1, 200, TEXT("{\"id\":\"c1\"}")) || !AnswerAt(1, 401, ExpiredBody))
				{
					Done.Execute();
					return;
				}
				Await(*this, TEXT("the second renewal's sign-in"), [this]() { return Transport().Pending.Num() == 2 && IsSignIn(Transport().Pending[1].Request); }, Done, [this, First, Second, Done]()
				{
					if (!AnswerAt(0, 200, SessionAnswer(TEXT("tok_stale"))))
					{
						Done.Execute();
						return;
					}
					AfterFrames(5, [this, First, Second, Done]()
					{
						TestEqual(TEXT("requests waiting after the stale answer"), Transport().Pending.Num(), 1);
						TestEqualSensitive(TEXT("the player's token after the stale answer"), Subsystem()->GetAccessToken(TEXT("plr_r")), FString(TEXT("tok_manual")));
						Transport().Answer(200, SessionAnswer(TEXT("tok_fresh")));
						Await(*this, TEXT("the second read resent"), [this]() { return Transport().Pending.Num() == 1; }, Done, [this, First, Second, Done]()
						{
							TestEqualSensitive(TEXT("the resend's token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_fresh")));
							Transport().Answer(200, TEXT("{\"id\":\"c1\"}"));
							Await(*this, TEXT("the second read's callback"), [Second]() { return Second->Calls > 0; }, Done, [this, First, Second, Done]()
							{
								TestTrue(TEXT("the first read succeeded"), First->bOk);
								TestTrue(TEXT("the second read succeeded"), Second->bOk);
								TestEqual(TEXT("renewals counted"), FQuarnSession::GetTotalRenewals() - RenewalsBefore, 1LL);
								TestEqualSensitive(TEXT("the player's token"), Subsystem()->GetAccessToken(TEXT("plr_r")), FString(TEXT("tok_fresh")));
								TestFalse(TEXT("a request carried the stale token"), AnyRequestCarried(TEXT("tok_stale")));
								Done.Execute();
							});
						});
					});
				});
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
