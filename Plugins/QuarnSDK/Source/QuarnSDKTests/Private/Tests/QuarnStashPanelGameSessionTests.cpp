// Copyright Quarn. All Rights Reserved.

// A panel with Use Game Session over the scripted transport: off, it signs in by itself as always;
// on, it loads with the token of the player the game signed in with Quarn - Authenticate Player,
// never signs in itself (not on a reload, not when the token expires: the game's session renews it
// once), refuses to load while nobody, or more than one player, is signed in there, and follows
// the game's session when it ends or is replaced between loads.

#include "QuarnUITestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnAuthenticatePlayer.h"
#include "QuarnSession.h"
#include "QuarnSubsystem.h"

using namespace QuarnUITests;

namespace QuarnStashPanelGameSessionTests
{
	const TCHAR* const NobodyLine = TEXT("Load Stash refused: the stash panel uses the game's session, and no player is signed in through its game instance. Call Quarn - Authenticate Player first, or turn off Use Game Session");
	const TCHAR* const SeveralLine = TEXT("Load Stash refused: the stash panel uses the game's session, and 2 players are signed in through its game instance");
	const TCHAR* const PanelTicket = TEXT("panel-ticket-5120");

	bool IsSignIn(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/sessions"));
	}

	int32 SignInsSent(const FScriptedTransport& Transport)
	{
		int32 Count = 0;
		for (const FQuarnHttpRequest& Request : Transport.Sent)
		{
			Count += IsSignIn(Request) ? 1 : 0;
		}
		return Count;
	}

	bool AnySentCarries(const FScriptedTransport& Transport, const TCHAR* Text)
	{
		return Transport.Sent.ContainsByPredicate([Text](const FQuarnHttpRequest& Request) { return Request.Body.Contains(Text, ESearchCase::CaseSensitive); });
	}

	bool PendingIs(const FScriptedTransport& Transport, const TCHAR* PathEnd)
	{
		return Transport.Pending.Num() == 1 && Transport.Pending[0].Request.Url.EndsWith(PathEnd);
	}
}

BEGIN_DEFINE_SPEC(FQuarnStashPanelGameSessionSpec, "Quarn.UI.StashPanel.GameSession", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	UQuarnSubsystem* Subsystem() const
	{
		return UQuarnSubsystem::Get(Fixture->GetGameInstance());
	}

	/** Signs a player in as the game does, through the node, and answers its sign-in. */
	bool SignInThroughGame(const TCHAR* Ticket, const TCHAR* Token, const TCHAR* Player)
	{
		UQuarnAuthenticatePlayer* const Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Fixture->GetGameInstance(), TEXT("anonymous"), Ticket);
		Action->Activate();
		const bool bAnswered = TestTrue(TEXT("the game's sign-in is pending"), QuarnStashPanelGameSessionTests::PendingIs(Transport(), TEXT("/v1/game/sessions")))
			&& Transport().Answer(200, SignInAnswer(Token, Player));
		return bAnswered && TestEqualSensitive(TEXT("the game holds the token"), Subsystem()->GetAccessToken(Player), FString(Token));
	}

	/** A built panel using the game's session, with a ticket of its own that must never be sent. */
	UQuarnRecordingStashPanel* MakeGamePanel()
	{
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Panel->Ticket = QuarnStashPanelGameSessionTests::PanelTicket;
		Panel->bUseGameSession = true;
		return Panel;
	}

	/** The panel refused to load for want of a player: nothing sent, the refusal on screen and to the game. */
	void TestRefused(UQuarnRecordingStashPanel* Panel, int32 SentBefore, const TCHAR* Code)
	{
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		TestEqual(TEXT("requests sent by the refused load"), Transport().Sent.Num(), SentBefore);
		TestEqualSensitive(TEXT("the game hears of it"), Watcher->Lines.Num() > 0 ? Watcher->Lines.Last() : FString(), FString(TEXT("Failed ")) + Code);
		TestEqualSensitive(TEXT("code"), Watcher->Error.Code, FString(Code));
		TestFalse(TEXT("a hint for the player"), Watcher->Error.Hint.IsEmpty());
		TestEqualSensitive(TEXT("the status shows it"), StatusOf(Panel), Watcher->Error.Hint);
		TestEqual(TEXT("in the error colour"), StatusColourOf(Panel), ErrorColour);
		TestFalse(TEXT("the status names no node"), StatusOf(Panel).Contains(TEXT("Quarn -")) || StatusOf(Panel).Contains(TEXT("Use Game Session")));
		TestFalse(TEXT("ready"), Panel->IsReady());
	}
END_DEFINE_SPEC(FQuarnStashPanelGameSessionSpec)

void FQuarnStashPanelGameSessionSpec::Define()
{
	using namespace QuarnStashPanelGameSessionTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	It(TEXT("is off by default: the panel signs in with its own ticket even when the game has a session"), [this]()
	{
		if (!HasSlate(*this) || !SignInThroughGame(TEXT("game-ticket-1001"), TEXT("tok_game_1"), TEXT("plr_game")))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Panel->Ticket = PanelTicket;
		TestFalse(TEXT("off"), Panel->bUseGameSession);
		Panel->LoadStash();
		if (!TestTrue(TEXT("the panel signs in"), PendingIs(Transport(), TEXT("/v1/game/sessions"))))
		{
			return;
		}
		TestTrue(TEXT("with its own ticket"), Transport().Pending[0].Request.Body.Contains(PanelTicket, ESearchCase::CaseSensitive));
		TestEqualSensitive(TEXT("status"), StatusOf(Panel), FString(TEXT("Signing in\u2026")));
		Transport().Answer(200, SignInAnswer(TEXT("tok_panel_1"), TEXT("plr_panel")));
		if (TestTrue(TEXT("then ensures"), PendingIs(Transport(), TEXT("/v1/game/containers/ensure"))))
		{
			TestEqualSensitive(TEXT("with its own token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_panel_1")));
		}
	});

	LatentIt(TEXT("loads and reloads with the game's token and never signs in itself"), FTimespan::FromSeconds(30.0), [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this) || !SignInThroughGame(TEXT("game-ticket-2002"), TEXT("tok_game_1"), TEXT("plr_game")))
		{
			Done.Execute();
			return;
		}
		UQuarnRecordingStashPanel* const Panel = MakeGamePanel();
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		Panel->LoadStash();
		if (!TestTrue(TEXT("the first request is the ensure"), PendingIs(Transport(), TEXT("/v1/game/containers/ensure"))))
		{
			Done.Execute();
			return;
		}
		TestEqualSensitive(TEXT("with the game's token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_game_1")));
		TestEqualSensitive(TEXT("status while the ensure is out"), StatusOf(Panel), FString(TEXT("Loading stash\u2026")));
		// A second call while the load is out does nothing, as without the option.
		Panel->LoadStash();
		TestEqual(TEXT("pending after a second call"), Transport().Pending.Num(), 1);
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {ItemJson(TEXT("ins_1"), TEXT("Bandage"), 2, -1, -1, 0)}));

		Await(*this, TEXT("the load"), [Watcher]() { return Watcher->CountStartingWith(TEXT("Loaded")) == 1; }, Done, [this, Panel, Watcher, Done]()
		{
			TestTrue(TEXT("ready"), Panel->IsReady());
			Panel->DepositItem(TEXT("Bandage"), 1);
			if (!TestTrue(TEXT("the deposit is out"), PendingIs(Transport(), TEXT("/v1/game/inventory/grant"))))
			{
				Done.Execute();
				return;
			}
			TestEqualSensitive(TEXT("the deposit carries the game's token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_game_1")));
			Transport().Answer(200, TEXT("{}"));

			Await(*this, TEXT("the reload after the deposit"), [this]() { return PendingIs(Transport(), TEXT("/v1/game/containers/ensure")); }, Done, [this, Panel, Watcher, Done]()
			{
				TestEqualSensitive(TEXT("the reload carries the game's token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_game_1")));
				Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}));
				// And a reload the game asks for.
				Panel->LoadStash();
				if (TestTrue(TEXT("a reload asked for"), PendingIs(Transport(), TEXT("/v1/game/containers/ensure"))))
				{
					Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}));
				}
				TestEqual(TEXT("sign-ins: the game's own only"), SignInsSent(Transport()), 1);
				TestFalse(TEXT("the panel's ticket never went out"), AnySentCarries(Transport(), PanelTicket));
				TestEqual(TEXT("loads"), Watcher->CountStartingWith(TEXT("Loaded")), 3);
				TestEqual(TEXT("failures"), Watcher->CountStartingWith(TEXT("Failed")), 0);
				Done.Execute();
			});
		});
	});

	LatentIt(TEXT("renews an expired token once, through the game's session"), FTimespan::FromSeconds(30.0), [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this) || !SignInThroughGame(TEXT("game-ticket-3303"), TEXT("tok_game_1"), TEXT("plr_game")))
		{
			Done.Execute();
			return;
		}
		UQuarnRecordingStashPanel* const Panel = MakeGamePanel();
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		Panel->LoadStash();
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}));
		Panel->DepositItem(TEXT("Bandage"), 2);
		if (!TestTrue(TEXT("ready"), Panel->IsReady()) || !TestTrue(TEXT("the deposit is out"), PendingIs(Transport(), TEXT("/v1/game/inventory/grant"))))
		{
			Done.Execute();
			return;
		}
		const FQuarnHttpRequest First = Transport().Pending[0].Request;
		Transport().Answer(401, ErrorAnswer(TEXT("token_expired"), TEXT("The access token expired."), TEXT("Sign in again.")));

		Await(*this, TEXT("the renewal"), [this]() { return PendingIs(Transport(), TEXT("/v1/game/sessions")); }, Done, [this, Watcher, First, Done]()
		{
			const FString Body = Transport().Pending[0].Request.Body;
			TestTrue(TEXT("the renewal signs in with the game's ticket"), Body.Contains(TEXT("game-ticket-3303"), ESearchCase::CaseSensitive));
			TestFalse(TEXT("not with the panel's"), Body.Contains(PanelTicket, ESearchCase::CaseSensitive));
			TestEqual(TEXT("nothing reported meanwhile"), Watcher->CountStartingWith(TEXT("Failed")) + Watcher->CountStartingWith(TEXT("Deposit")), 0);
			Transport().Answer(200, SignInAnswer(TEXT("tok_game_2"), TEXT("plr_game")));

			Await(*this, TEXT("the deposit sent again"), [this]() { return PendingIs(Transport(), TEXT("/v1/game/inventory/grant")); }, Done, [this, Watcher, First, Done]()
			{
				const FQuarnHttpRequest Second = Transport().Pending[0].Request;
				TestEqualSensitive(TEXT("with the renewed token"), Second.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_game_2")));
				TestEqualSensitive(TEXT("with the same key"), Second.GetHeader(TEXT("Idempotency-Key")), First.GetHeader(TEXT("Idempotency-Key")));
				Transport().Answer(200, TEXT("{}"));

				Await(*this, TEXT("the reload"), [this]() { return PendingIs(Transport(), TEXT("/v1/game/containers/ensure")); }, Done, [this, Watcher, Done]()
				{
					TestEqualSensitive(TEXT("the reload follows the renewed token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_game_2")));
					TestEqual(TEXT("deposits reported"), Watcher->CountStartingWith(TEXT("Deposit ")), 1);
					TestEqual(TEXT("deposit events"), Watcher->CountStartingWith(TEXT("Deposited ")), 1);
					TestEqual(TEXT("sign-ins: the game's and one renewal"), SignInsSent(Transport()), 2);
					const TSharedPtr<FQuarnSession> GameSession = Subsystem()->FindSession(TEXT("plr_game"));
					if (TestTrue(TEXT("the game's session lives"), GameSession.IsValid()))
					{
						TestEqual(TEXT("renewals of the game's session"), GameSession->GetRenewalCount(), 1);
					}
					TestEqualSensitive(TEXT("the game holds the renewed token"), Subsystem()->GetAccessToken(TEXT("plr_game")), FString(TEXT("tok_game_2")));
					TestFalse(TEXT("the panel's ticket never went out"), AnySentCarries(Transport(), PanelTicket));
					Done.Execute();
				});
			});
		});
	});

	It(TEXT("refuses to load while no player is signed in through the game"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		AddExpectedMessagePlain(NobodyLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		AddExpectedMessagePlain(TEXT("Deposit refused: the stash is not loaded yet."), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		UQuarnRecordingStashPanel* const Panel = MakeGamePanel();
		Panel->LoadStash();
		TestRefused(Panel, 0, TEXT("not_authenticated"));
		TestEqual(TEXT("failures"), FPanelFixture::WatcherOf(Panel)->CountStartingWith(TEXT("Failed")), 1);
		Panel->DepositItem(TEXT("Bandage"), 1);
		TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 0);
	});

	It(TEXT("refuses to guess between several players of the game"), [this]()
	{
		if (!HasSlate(*this) || !SignInThroughGame(TEXT("game-ticket-a"), TEXT("tok_a"), TEXT("plr_a")) || !SignInThroughGame(TEXT("game-ticket-b"), TEXT("tok_b"), TEXT("plr_b")))
		{
			return;
		}
		AddExpectedMessagePlain(SeveralLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		UQuarnRecordingStashPanel* const Panel = MakeGamePanel();
		const int32 SentBefore = Transport().Sent.Num();
		Panel->LoadStash();
		TestRefused(Panel, SentBefore, TEXT("ambiguous_player"));
	});

	It(TEXT("follows the game's session when it ends or is replaced between loads"), [this]()
	{
		if (!HasSlate(*this) || !SignInThroughGame(TEXT("game-ticket-5505"), TEXT("tok_game_1"), TEXT("plr_game")))
		{
			return;
		}
		AddExpectedMessagePlain(NobodyLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		AddExpectedMessagePlain(TEXT("Deposit refused: the stash is not loaded yet."), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		UQuarnRecordingStashPanel* const Panel = MakeGamePanel();
		Panel->LoadStash();
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}));
		if (!TestTrue(TEXT("ready"), Panel->IsReady()))
		{
			return;
		}

		// The game signs the player out: the panel's token died with the session.
		Subsystem()->SignOut(TEXT("plr_game"));
		int32 SentBefore = Transport().Sent.Num();
		Panel->DepositItem(TEXT("Bandage"), 1);
		TestEqual(TEXT("a deposit after the sign-out sends nothing"), Transport().Sent.Num(), SentBefore);
		Panel->LoadStash();
		TestRefused(Panel, SentBefore, TEXT("not_authenticated"));

		// Another player signs in: the next load is theirs, still without a sign-in of the panel.
		if (!SignInThroughGame(TEXT("game-ticket-6606"), TEXT("tok_other_1"), TEXT("plr_other")))
		{
			return;
		}
		const int32 SignInsBefore = SignInsSent(Transport());
		Panel->LoadStash();
		if (!TestTrue(TEXT("the load is an ensure"), PendingIs(Transport(), TEXT("/v1/game/containers/ensure"))))
		{
			return;
		}
		TestEqualSensitive(TEXT("with the new player's token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_other_1")));
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_2"), TEXT("slots"), {}));
		TestTrue(TEXT("ready for the new player"), Panel->IsReady());

		// The game signs the same player in again: the session holds a new token, and the next
		// operation carries it without a load in between.
		if (!SignInThroughGame(TEXT("game-ticket-6606"), TEXT("tok_other_2"), TEXT("plr_other")))
		{
			return;
		}
		Panel->DepositItem(TEXT("Bandage"), 1);
		if (TestTrue(TEXT("the deposit is out"), PendingIs(Transport(), TEXT("/v1/game/inventory/grant"))))
		{
			const FQuarnHttpRequest Grant = Transport().Pending[0].Request;
			TestEqualSensitive(TEXT("with the replaced token"), Grant.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_other_2")));
			TestTrue(TEXT("into the new player's container"), Grant.Body.Contains(TEXT("\"ctr_2\""), ESearchCase::CaseSensitive));
		}
		TestEqual(TEXT("sign-ins since the sign-out: the game's own only"), SignInsSent(Transport()) - SignInsBefore, 1);
		TestFalse(TEXT("the panel's ticket never went out"), AnySentCarries(Transport(), PanelTicket));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
