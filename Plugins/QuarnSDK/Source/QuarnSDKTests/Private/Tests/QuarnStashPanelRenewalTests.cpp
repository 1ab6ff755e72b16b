// Copyright Quarn. All Rights Reserved.

// The panel's own session over the scripted transport: an operation that meets an expired token
// makes the panel sign in again with its ticket and is sent again with its key, and the game hears
// of it once, after the platform accepted; when the renewal is refused, the game hears of the
// failure once, keeps its item, and the panel waits for a load.

#include "QuarnUITestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

using namespace QuarnUITests;

BEGIN_DEFINE_SPEC(FQuarnStashPanelRenewalSpec, "Quarn.UI.StashPanel.Renewal", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}
END_DEFINE_SPEC(FQuarnStashPanelRenewalSpec)

void FQuarnStashPanelRenewalSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	LatentIt(TEXT("resends a deposit with its key after signing in again, and reports it once"), FTimespan::FromSeconds(30.0), [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this))
		{
			Done.Execute();
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Panel->Ticket = TEXT("panel-ticket-4410");
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}), TEXT("tok_panel_1"));
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		Panel->DepositItem(TEXT("Bandage"), 2);
		if (!TestTrue(TEXT("ready"), Panel->IsReady()) || !TestEqual(TEXT("pending deposit"), Transport().Pending.Num(), 1))
		{
			Done.Execute();
			return;
		}
		const FQuarnHttpRequest First = Transport().Pending[0].Request;
		Transport().Answer(401, ErrorAnswer(TEXT("token_expired"), TEXT("The access token expired."), TEXT("Sign in again.")));

		auto PendingTo = [this](const TCHAR* PathEnd)
		{
			return [this, PathEnd]() { return Transport().Pending.Num() == 1 && Transport().Pending[0].Request.Url.EndsWith(PathEnd); };
		};
		WhenTrue(PendingTo(TEXT("/v1/game/sessions")), 10.0, [this, Watcher, First, PendingTo, Done](bool bSigningIn)
		{
			if (!TestTrue(TEXT("a sign-in is pending"), bSigningIn))
			{
				Done.Execute();
				return;
			}
			TestTrue(TEXT("with the panel's ticket"), Transport().Pending[0].Request.Body.Contains(TEXT("panel-ticket-4410"), ESearchCase::CaseSensitive));
			TestEqual(TEXT("nothing is reported while the panel signs in again"), Watcher->Lines.Num(), 1);
			Transport().Answer(200, SignInAnswer(TEXT("tok_panel_2")));

			WhenTrue(PendingTo(TEXT("/v1/game/inventory/grant")), 10.0, [this, Watcher, First, Done](bool bResent)
			{
				if (!TestTrue(TEXT("the deposit is sent again"), bResent))
				{
					Done.Execute();
					return;
				}
				const FQuarnHttpRequest Second = Transport().Pending[0].Request;
				TestFalse(TEXT("the deposit has a key"), First.GetHeader(TEXT("Idempotency-Key")).IsEmpty());
				TestEqualSensitive(TEXT("the same key"), Second.GetHeader(TEXT("Idempotency-Key")), First.GetHeader(TEXT("Idempotency-Key")));
				TestEqualSensitive(TEXT("the same body"), Second.Body, First.Body);
				TestEqualSensitive(TEXT("the first token"), First.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_panel_1")));
				TestEqualSensitive(TEXT("the new token"), Second.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_panel_2")));
				Transport().Answer(200, TEXT("{}"));

				// Accepted: the game hears of it, then the panel loads again.
				AfterFrames(5, [this, Watcher, Done]()
				{
					TestEqualSensitive(TEXT("watched"), FString::Join(Watcher->Lines, TEXT("|")), FString(TEXT("Loaded 0|Deposit Bandage 2 -1|Deposited Bandage 2 -1")));
					TestTrue(TEXT("the reload signs in"), Transport().Pending.Num() == 1 && Transport().Pending[0].Request.Url.EndsWith(TEXT("/v1/game/sessions")));
					Done.Execute();
				});
			});
		});
	});

	LatentIt(TEXT("fails a deposit once when the renewal is refused, and waits for a load"), FTimespan::FromSeconds(30.0), [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this))
		{
			Done.Execute();
			return;
		}
		AddExpectedMessagePlain(TEXT("The session of player plr_1 expired and could not be renewed (http=401 code=unauthorized)."), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		AddExpectedMessagePlain(TEXT("Deposit refused: the stash is not loaded yet."), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Panel->Ticket = TEXT("panel-ticket-8812");
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}), TEXT("tok_panel_1"));
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		Panel->DepositItem(TEXT("Bandage"), 1);
		if (!TestTrue(TEXT("ready"), Panel->IsReady()) || !TestEqual(TEXT("pending deposit"), Transport().Pending.Num(), 1))
		{
			Done.Execute();
			return;
		}
		Transport().Answer(401, ErrorAnswer(TEXT("token_expired"), TEXT("The access token expired."), TEXT("Sign in again.")));

		WhenTrue([this]() { return Transport().Pending.Num() == 1; }, 10.0, [this, Panel, Watcher, Done](bool bSigningIn)
		{
			if (!TestTrue(TEXT("a sign-in is pending"), bSigningIn))
			{
				Done.Execute();
				return;
			}
			const FQuarnHttpRequest SignIn = Transport().Pending[0].Request;
			TestTrue(TEXT("a sign-in"), SignIn.Url.EndsWith(TEXT("/v1/game/sessions")));
			TestTrue(TEXT("with the panel's ticket"), SignIn.Body.Contains(TEXT("panel-ticket-8812"), ESearchCase::CaseSensitive));
			TestEqual(TEXT("nothing is reported while the panel signs in again"), Watcher->CountStartingWith(TEXT("Failed")), 0);

			Transport().Answer(401, ErrorAnswer(TEXT("unauthorized"), TEXT("The ticket was not accepted."), TEXT("")));
			WhenTrue([Watcher]() { return Watcher->CountStartingWith(TEXT("Failed")) > 0; }, 10.0, [this, Panel, Watcher, Done](bool bFailed)
			{
				if (!TestTrue(TEXT("the deposit failed"), bFailed))
				{
					Done.Execute();
					return;
				}
				// A few frames more, so that a second report would be seen.
				AfterFrames(5, [this, Panel, Watcher, Done]()
				{
					TestEqual(TEXT("failures"), Watcher->CountStartingWith(TEXT("Failed")), 1);
					TestEqualSensitive(TEXT("the deposit's own error"), Watcher->Error.Code, FString(TEXT("token_expired")));
					TestFalse(TEXT("a hint"), Watcher->Error.Hint.IsEmpty());
					TestEqual(TEXT("the game keeps its item"), Watcher->CountStartingWith(TEXT("Deposit")), 0);
					TestEqual(TEXT("pending"), Transport().Pending.Num(), 0);
					TestFalse(TEXT("ready"), Panel->IsReady());

					// Until it loads again, the panel refuses without sending.
					const int32 SentBefore = Transport().Sent.Num();
					Panel->DepositItem(TEXT("Bandage"), 1);
					TestEqual(TEXT("requests after a refused deposit"), Transport().Sent.Num(), SentBefore);
					Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}), TEXT("tok_panel_2"));
					TestTrue(TEXT("ready after a load"), Panel->IsReady());
					Done.Execute();
				});
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
