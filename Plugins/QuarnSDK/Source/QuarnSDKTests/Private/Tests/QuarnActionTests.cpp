// Copyright Quarn. All Rights Reserved.

// The core's sign-in and container nodes over a scripted transport: what they send, what they read,
// that exactly one pin fires once, and that the game instance keeps them only until then.

#include "Tests/QuarnCoreNodeFixture.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnAuthenticatePlayer.h"
#include "QuarnEnsureContainer.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtr.h"
#include "UObject/GarbageCollection.h"

using namespace QuarnTests;

namespace QuarnActionTests
{
	const TCHAR* const SessionAnswer = TEXT("{\"player\":{\"id\":\"plr_1\",\"provider\":\"anonymous\"},\"tokens\":{\"access_token\":\"tok_abc\",\"token_type\":\"Bearer\",\"expires_in\":3600}}");

	/** Long enough for a few frames on a loaded build machine; a hang still ends as a failure. */
	const FTimespan CaseBound = FTimespan::FromSeconds(20);
}

BEGIN_DEFINE_SPEC(FQuarnActionSpec, "Quarn.Core.Actions", QuarnTests::TestFlags)
	TUniquePtr<QuarnCoreTests::FNodeFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	/** Runs Then a few frames after the recorder saw a pin, so that a second pin would be seen too. */
	void AfterPin(UQuarnCorePinRecorder* Pins, const FDoneDelegate& Done, TFunction<void()> Then)
	{
		Await(*this, TEXT("a pin to fire"), [Pins]() { return Pins->Total() > 0; }, Done, [Then]()
		{
			AfterFrames(3, Then);
		});
	}
END_DEFINE_SPEC(FQuarnActionSpec)

void FQuarnActionSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<QuarnCoreTests::FNodeFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	});

	Describe(TEXT("SignIn"), [this]()
	{
		LatentIt(TEXT("stores the token for the player"), QuarnActionTests::CaseBound, [this](const FDoneDelegate& Done)
		{
			UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
			UQuarnAuthenticatePlayer* const Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Fixture->GetWorld(), TEXT("anonymous"), TEXT("menu_preview"));
			Pins->Bind(Action);
			Action->Activate();
			if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1))
			{
				Done.Execute();
				return;
			}
			const FQuarnHttpRequest& Request = Transport().Sent[0];
			TestEqualSensitive(TEXT("verb"), Request.Verb, FString(TEXT("POST")));
			TestTrue(TEXT("url ends with the sessions path"), Request.Url.EndsWith(TEXT("/v1/game/sessions"), ESearchCase::CaseSensitive));
			TestEqualSensitive(TEXT("body"), Request.Body, Eol(TEXT("{\n\t\"provider\": \"anonymous\",\n\t\"ticket\": \"menu_preview\"\n}")));
			TestTrue(TEXT("no authorization header"), Request.GetHeader(TEXT("Authorization")).IsEmpty());
			TestFalse(TEXT("authenticated before the answer"), Fixture->Subsystem()->IsPlayerAuthenticated(TEXT("plr_1")));

			Transport().Answer(200, QuarnActionTests::SessionAnswer);
			AfterPin(Pins, Done, [this, Pins, Done]()
			{
				TestEqual(TEXT("successes"), Pins->Successes, 1);
				TestEqual(TEXT("failures"), Pins->Failures, 0);
				TestEqualSensitive(TEXT("player id"), Pins->Player.PlayerId, FString(TEXT("plr_1")));
				TestEqualSensitive(TEXT("token"), Fixture->Subsystem()->GetAccessToken(TEXT("plr_1")), FString(TEXT("tok_abc")));
				// Player ids compare as the engine's string keys do.
				TestEqualSensitive(TEXT("token under another case"), Fixture->Subsystem()->GetAccessToken(TEXT("PLR_1")), FString(TEXT("tok_abc")));
				Done.Execute();
			});
		});

		LatentIt(TEXT("failures keep no token"), QuarnActionTests::CaseBound, [this](const FDoneDelegate& Done)
		{
			struct FCase
			{
				int32 Status;
				const TCHAR* Body;
				const TCHAR* Code;
			};
			const FCase Cases[] = {
				{403, TEXT("{\"error\":{\"code\":\"provider_not_allowed\",\"message\":\"m\",\"hint\":\"h\"}}"), TEXT("provider_not_allowed")},
				{200, TEXT("{\"player\":{\"id\":\"plr_1\"}}"), TEXT("bad_response")},
				{200, TEXT("{\"player\":{},\"tokens\":{\"access_token\":\"t\"}}"), TEXT("bad_response")},
			};
			TArray<TFunction<void(TFunction<void()>)>> Steps;
			for (const FCase& Case : Cases)
			{
				const int32 Status = Case.Status;
				const FString Body = Case.Body;
				const FString Code = Case.Code;
				Steps.Add([this, Status, Body, Code, Done](TFunction<void()> Next)
				{
					UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
					UQuarnAuthenticatePlayer* const Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Fixture->GetWorld(), TEXT("anonymous"), TEXT("x"));
					Pins->Bind(Action);
					Action->Activate();
					if (!Transport().Answer(Status, Body))
					{
						AddError(TEXT("The sign-in sent no request for ") + Body);
						Done.Execute();
						return;
					}
					AfterPin(Pins, Done, [this, Pins, Body, Code, Next]()
					{
						TestEqual(*(TEXT("failures for ") + Body), Pins->Failures, 1);
						TestEqual(*(TEXT("successes for ") + Body), Pins->Successes, 0);
						TestEqualSensitive(*(TEXT("code for ") + Body), Pins->Error.Code, Code);
						TestFalse(*(TEXT("authenticated after ") + Body), Fixture->Subsystem()->IsPlayerAuthenticated(TEXT("plr_1")));
						Next();
					});
				});
			}
			RunInOrder(MoveTemp(Steps), [Done]() { Done.Execute(); });
		});
	});

	Describe(TEXT("EnsureContainer"), [this]()
	{
		LatentIt(TEXT("sends the layout and reads every item field"), QuarnActionTests::CaseBound, [this](const FDoneDelegate& Done)
		{
			Fixture->Subsystem()->SetAccessToken(TEXT("plr_1"), TEXT("tok_abc"));
			UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
			UQuarnEnsureContainer* const Action = UQuarnEnsureContainer::EnsureContainer(Fixture->GetWorld(), TEXT("plr_1"), TEXT("stash"), EQuarnContainerLayout::Grid, 40, 10, 8);
			Pins->Bind(Action);
			Action->Activate();
			if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1))
			{
				Done.Execute();
				return;
			}
			const FQuarnHttpRequest& Request = Transport().Sent[0];
			TestTrue(TEXT("url ends with the ensure path"), Request.Url.EndsWith(TEXT("/v1/game/containers/ensure"), ESearchCase::CaseSensitive));
			TestEqualSensitive(TEXT("authorization"), Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_abc")));
			TestEqualSensitive(TEXT("body"), Request.Body, Eol(TEXT("{\n\t\"kind\": \"stash\",\n\t\"layout\": \"grid\",\n\t\"grid_width\": 10,\n\t\"grid_height\": 8\n}")));

			Transport().Answer(200, TEXT("{\"id\":\"ctr_9\",\"kind\":\"stash\",\"layout\":\"grid\",\"version\":4,\"items\":[")
				TEXT("{\"id\":\"ins_1\",\"item_id\":\"Rifle\",\"quantity\":1,\"slot_index\":-1,\"slot_key\":\"back\",\"x\":2,\"y\":3,\"grid_w\":4,\"grid_h\":2,\"rotated\":true,\"durability\":0.75,\"properties\":{\"__qnid\":\"other\"}},")
				TEXT("{\"item_id\":\"Ammo\",\"quantity\":30,\"properties\":{\"__qnid\":\"ins_2\"}},")
				TEXT("{\"item_id\":\"Odd\",\"quantity\":\"7\",\"x\":true},")
				TEXT("5]}"));
			AfterPin(Pins, Done, [this, Pins, Done]()
			{
				if (!TestEqual(TEXT("successes"), Pins->Successes, 1))
				{
					Done.Execute();
					return;
				}
				const FQuarnContainer& Container = Pins->Container;
				TestEqualSensitive(TEXT("container id"), Container.ContainerId, FString(TEXT("ctr_9")));
				TestEqualSensitive(TEXT("kind"), Container.Kind, FString(TEXT("stash")));
				TestEqualSensitive(TEXT("layout"), Container.Layout, FString(TEXT("grid")));
				// An element that is not an object is no stack.
				if (!TestEqual(TEXT("stacks"), Container.Items.Num(), 3))
				{
					Done.Execute();
					return;
				}
				const FQuarnItemInstance& Rifle = Container.Items[0];
				TestEqualSensitive(TEXT("the stack's own id comes before properties"), Rifle.InstanceId, FString(TEXT("ins_1")));
				TestEqualSensitive(TEXT("item id"), Rifle.ItemId.ToString(), FString(TEXT("Rifle")));
				TestEqual(TEXT("quantity"), Rifle.Quantity, 1);
				TestEqual(TEXT("slot index"), Rifle.SlotIndex, -1);
				TestEqualSensitive(TEXT("slot key"), Rifle.SlotKey, FString(TEXT("back")));
				TestEqual(TEXT("x"), Rifle.X, 2);
				TestEqual(TEXT("y"), Rifle.Y, 3);
				TestEqual(TEXT("grid w"), Rifle.GridW, 4);
				TestEqual(TEXT("grid h"), Rifle.GridH, 2);
				TestTrue(TEXT("rotated"), Rifle.bRotated);
				TestEqual(TEXT("durability"), Rifle.Durability, 0.75f);
				TestEqualSensitive(TEXT("id falls back to properties.__qnid"), Container.Items[1].InstanceId, FString(TEXT("ins_2")));
				// Members of the wrong type keep the record's defaults.
				const FQuarnItemInstance Defaults;
				TestEqual(TEXT("quantity given as a string"), Container.Items[2].Quantity, Defaults.Quantity);
				TestEqual(TEXT("x given as a boolean"), Container.Items[2].X, Defaults.X);
				Done.Execute();
			});
		});

		LatentIt(TEXT("without a token fails without a request"), QuarnActionTests::CaseBound, [this](const FDoneDelegate& Done)
		{
			UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
			UQuarnEnsureContainer* const Action = UQuarnEnsureContainer::EnsureContainer(Fixture->GetWorld(), TEXT("nobody"), TEXT("stash"), EQuarnContainerLayout::Slots, 24, 0, 0);
			Pins->Bind(Action);
			Action->Activate();
			AfterFrames(3, [this, Pins, Done]()
			{
				TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 0);
				TestEqual(TEXT("failures"), Pins->Failures, 1);
				TestEqual(TEXT("successes"), Pins->Successes, 0);
				TestEqualSensitive(TEXT("code"), Pins->Error.Code, FString(TEXT("not_authenticated")));
				Done.Execute();
			});
		});
	});

	Describe(TEXT("Lifetime"), [this]()
	{
		// The game instance holds a running action through a collection, lets it go once a pin
		// fired, and a released action's late answer fires nothing.
		LatentIt(TEXT("the game instance keeps actions until they finish"), QuarnActionTests::CaseBound, [this](const FDoneDelegate& Done)
		{
			Fixture->Subsystem()->SetAccessToken(TEXT("plr_1"), TEXT("tok_abc"));
			UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
			const TWeakObjectPtr<UQuarnEnsureContainer> Action = UQuarnEnsureContainer::EnsureContainer(Fixture->GetWorld(), TEXT("plr_1"), TEXT("loadout"), EQuarnContainerLayout::Slots, 24, 0, 0);
			Pins->Bind(Action.Get());
			Action->Activate();
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
			if (!TestTrue(TEXT("a running action survives a collection"), Action.IsValid()))
			{
				Done.Execute();
				return;
			}
			Transport().Answer(200, TEXT("{\"id\":\"ctr_2\",\"items\":[]}"));
			Await(*this, TEXT("the container pin"), [Pins]() { return Pins->Total() > 0; }, Done, [this, Action, Done]()
			{
				CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
				TestFalse(TEXT("a finished action is collected"), Action.IsValid());

				UQuarnCorePinRecorder* const Late = Fixture->NewRecorder();
				const TWeakObjectPtr<UQuarnAuthenticatePlayer> SignIn = UQuarnAuthenticatePlayer::AuthenticatePlayer(Fixture->GetWorld(), TEXT("anonymous"), TEXT("late"));
				Late->Bind(SignIn.Get());
				SignIn->Activate();
				SignIn->SetReadyToDestroy();
				CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
				if (!TestFalse(TEXT("a released sign-in is collected"), SignIn.IsValid()))
				{
					Done.Execute();
					return;
				}
				// A token the player does not hold yet, so that storing it would show.
				Transport().Answer(200, TEXT("{\"player\":{\"id\":\"plr_1\",\"provider\":\"anonymous\"},\"tokens\":{\"access_token\":\"tok_late\",\"token_type\":\"Bearer\",\"expires_in\":3600}}"));
				AfterFrames(5, [this, Late, Done]()
				{
					TestEqual(TEXT("pins of a collected sign-in"), Late->Total(), 0);
					TestEqualSensitive(TEXT("token after a collected sign-in's answer"), Fixture->Subsystem()->GetAccessToken(TEXT("plr_1")), FString(TEXT("tok_abc")));
					Done.Execute();
				});
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
