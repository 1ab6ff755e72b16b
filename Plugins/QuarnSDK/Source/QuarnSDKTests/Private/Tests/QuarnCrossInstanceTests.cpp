// Copyright Quarn. All Rights Reserved.

// Two game instances in one process, as Play In Editor runs several: a token belongs to the
// sessions of the game instance that signed in with it. A token handed to the other instance has
// no session there (its expiry passes through, and no sign-in goes out with the first instance's
// ticket), and two sessions started with one token renew each with its own ticket, neither
// silencing the other when it ends.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnEnsureContainer.h"
#include "QuarnSubsystem.h"
#include "Tests/QuarnCorePinRecorder.h"
#include "UObject/Package.h"

using namespace QuarnTests;

namespace QuarnCrossInstanceTests
{
	const TCHAR* const SharedToken = TEXT("tok_shared_0001");
	const TCHAR* const RenewedToken = TEXT("tok_renewed_0002");
	const TCHAR* const TicketA = TEXT("ticket-of-instance-a");
	const TCHAR* const TicketB = TEXT("ticket-of-instance-b");
	const TCHAR* const ExpiredBody = TEXT("{\"error\":{\"code\":\"token_expired\",\"message\":\"The access token expired.\",\"hint\":\"Sign in again.\",\"request_id\":\"req_x\"}}");
	const TCHAR* const ContainerBody = TEXT("{\"id\":\"ctr_1\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":1,\"items\":[]}");
	const FTimespan CaseBound = FTimespan::FromSeconds(30);

	FString SessionAnswer(const TCHAR* Token)
	{
		return FString::Printf(TEXT("{\"player\":{\"id\":\"plr_s\",\"provider\":\"steam\"},\"tokens\":{\"access_token\":\"%s\",\"token_type\":\"Bearer\",\"expires_in\":3600}}"), Token);
	}

	bool IsSignIn(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/sessions"), ESearchCase::CaseSensitive);
	}
}

BEGIN_DEFINE_SPEC(FQuarnCrossInstanceSpec, "Quarn.Core.CrossInstance", QuarnTests::TestFlags)
	TUniquePtr<FClientFixture> Client;
	TUniquePtr<FTestGame> GameA;
	TUniquePtr<FTestGame> GameB;
	TArray<UQuarnCorePinRecorder*> Recorders;

	UQuarnSubsystem* SubsystemOf(const FTestGame& Game) const
	{
		return UQuarnSubsystem::Get(Game.GetWorld());
	}

	FScriptedTransport& Transport() const
	{
		return *Client->Transport;
	}

	int32 SignInsSent() const
	{
		return Transport().Sent.FilterByPredicate([](const FQuarnHttpRequest& Request) { return QuarnCrossInstanceTests::IsSignIn(Request); }).Num();
	}

	/** Ensures plr_s's stash from Game's world, as a level's graph does; the pins are recorded. */
	UQuarnCorePinRecorder* Ensure(const FTestGame& Game)
	{
		UQuarnCorePinRecorder* const Pins = NewObject<UQuarnCorePinRecorder>(GetTransientPackage());
		Pins->AddToRoot();
		Recorders.Add(Pins);
		UQuarnEnsureContainer* const Action = UQuarnEnsureContainer::EnsureContainer(Game.GetWorld(), TEXT("plr_s"), TEXT("stash"), EQuarnContainerLayout::Slots, 40, 10, 8);
		Pins->Bind(Action);
		Action->Activate();
		return Pins;
	}
END_DEFINE_SPEC(FQuarnCrossInstanceSpec)

void FQuarnCrossInstanceSpec::Define()
{
	using namespace QuarnCrossInstanceTests;

	BeforeEach([this]()
	{
		Client = MakeUnique<FClientFixture>();
		GameA = MakeUnique<FTestGame>();
		GameB = MakeUnique<FTestGame>();
	});

	AfterEach([this]()
	{
		for (UQuarnCorePinRecorder* Pins : Recorders)
		{
			Pins->RemoveFromRoot();
		}
		Recorders.Reset();
		SubsystemOf(*GameA)->SignOut(TEXT("plr_s"));
		SubsystemOf(*GameB)->SignOut(TEXT("plr_s"));
		GameB.Reset();
		GameA.Reset();
		Client.Reset();
	});

	LatentIt(TEXT("gives a token handed to another game instance no session there: its expiry passes through and no sign-in goes out"), CaseBound, [this](const FDoneDelegate& Done)
	{
		SubsystemOf(*GameA)->StartSession(TEXT("plr_s"), SharedToken, 3600.0, TEXT("steam"), TicketA);
		// Handed over, as a client's token reaches a listen server, without a ticket.
		SubsystemOf(*GameB)->SetAccessToken(TEXT("plr_s"), SharedToken);

		UQuarnCorePinRecorder* const Pins = Ensure(*GameB);
		Await(*this, TEXT("the ensure from instance B"), [this]() { return Transport().Pending.Num() == 1; }, Done, [this, Pins, Done]()
		{
			Transport().Answer(401, ExpiredBody);
			Await(*this, TEXT("instance B's pin"), [Pins]() { return Pins->Total() > 0; }, Done, [this, Pins, Done]()
			{
				TestEqual(TEXT("failures"), Pins->Failures, 1);
				TestEqualSensitive(TEXT("code"), Pins->Error.Code, FString(TEXT("token_expired")));
				TestEqualSensitive(TEXT("the platform's own message, not a failed renewal's"), Pins->Error.Message, FString(TEXT("The access token expired.")));
				TestEqual(TEXT("sign-ins sent"), SignInsSent(), 0);
				TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1);
				TestEqualSensitive(TEXT("instance A keeps its token"), SubsystemOf(*GameA)->GetAccessToken(TEXT("plr_s")), FString(SharedToken));
				Done.Execute();
			});
		});
	});

	LatentIt(TEXT("renews a token two instances share with the ticket of the instance that sent the request"), CaseBound, [this](const FDoneDelegate& Done)
	{
		SubsystemOf(*GameA)->StartSession(TEXT("plr_s"), SharedToken, 3600.0, TEXT("steam"), TicketA);
		SubsystemOf(*GameB)->StartSession(TEXT("plr_s"), SharedToken, 3600.0, TEXT("steam"), TicketB);

		UQuarnCorePinRecorder* const Pins = Ensure(*GameA);
		Await(*this, TEXT("the ensure from instance A"), [this]() { return Transport().Pending.Num() == 1; }, Done, [this, Pins, Done]()
		{
			Transport().Answer(401, ExpiredBody);
			Await(*this, TEXT("the renewal's sign-in"), [this]() { return Transport().Pending.Num() == 1 && IsSignIn(Transport().Pending[0].Request); }, Done, [this, Pins, Done]()
			{
				TestTrue(TEXT("the sign-in carries instance A's ticket"), Transport().Pending[0].Request.Body.Contains(TicketA));
				TestFalse(TEXT("the sign-in carries instance B's ticket"), Transport().Pending[0].Request.Body.Contains(TicketB));
				Transport().Answer(200, SessionAnswer(RenewedToken));
				Await(*this, TEXT("the resent ensure"), [this]() { return Transport().Pending.Num() == 1 && !IsSignIn(Transport().Pending[0].Request); }, Done, [this, Pins, Done]()
				{
					Transport().Answer(200, ContainerBody);
					Await(*this, TEXT("instance A's pin"), [Pins]() { return Pins->Total() > 0; }, Done, [this, Pins, Done]()
					{
						TestEqual(TEXT("successes"), Pins->Successes, 1);
						TestEqualSensitive(TEXT("instance A's new token"), SubsystemOf(*GameA)->GetAccessToken(TEXT("plr_s")), FString(RenewedToken));
						TestEqualSensitive(TEXT("instance B's token"), SubsystemOf(*GameB)->GetAccessToken(TEXT("plr_s")), FString(SharedToken));
						Done.Execute();
					});
				});
			});
		});
	});

	LatentIt(TEXT("keeps renewing one instance's session after the other instance's session with the same token ended"), CaseBound, [this](const FDoneDelegate& Done)
	{
		SubsystemOf(*GameA)->StartSession(TEXT("plr_s"), SharedToken, 3600.0, TEXT("steam"), TicketA);
		SubsystemOf(*GameB)->StartSession(TEXT("plr_s"), SharedToken, 3600.0, TEXT("steam"), TicketB);
		SubsystemOf(*GameB)->SignOut(TEXT("plr_s"));

		UQuarnCorePinRecorder* const Pins = Ensure(*GameA);
		Await(*this, TEXT("the ensure from instance A"), [this]() { return Transport().Pending.Num() == 1; }, Done, [this, Pins, Done]()
		{
			Transport().Answer(401, ExpiredBody);
			Await(*this, TEXT("instance A's renewal"), [this, Pins]() { return Pins->Total() > 0 || (Transport().Pending.Num() == 1 && IsSignIn(Transport().Pending[0].Request)); }, Done, [this, Pins, Done]()
			{
				if (!TestEqual(TEXT("pins fired before the renewal"), Pins->Total(), 0))
				{
					Done.Execute();
					return;
				}
				TestTrue(TEXT("the sign-in carries instance A's ticket"), Transport().Pending[0].Request.Body.Contains(TicketA));
				Transport().Answer(200, SessionAnswer(RenewedToken));
				Await(*this, TEXT("the resent ensure"), [this]() { return Transport().Pending.Num() == 1 && !IsSignIn(Transport().Pending[0].Request); }, Done, [this, Pins, Done]()
				{
					TestEqualSensitive(TEXT("the resend's token"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer ")) + RenewedToken);
					Transport().Answer(200, ContainerBody);
					Await(*this, TEXT("instance A's pin"), [Pins]() { return Pins->Total() > 0; }, Done, [this, Pins, Done]()
					{
						TestEqual(TEXT("successes"), Pins->Successes, 1);
						Done.Execute();
					});
				});
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
