// Copyright Quarn. All Rights Reserved.

// The errors the core's nodes raise, as a graph bound to their pins receives them: each is in the
// error library's table with the kind a game should act on, and its player text carries none of the
// plug-in's advice to developers. The table itself is tested with the core (Quarn.Core.Errors).

#include "Tests/QuarnTestDoubles.h"
#include "Tests/QuarnErrorChecks.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnAuthenticatePlayer.h"
#include "QuarnCoreNodeFixture.h"
#include "QuarnEnsureContainer.h"
#include "QuarnErrorLibrary.h"

BEGIN_DEFINE_SPEC(FQuarnNodeErrorSpec, "Quarn.Core.NodeErrors", QuarnTests::TestFlags)
	TUniquePtr<QuarnCoreTests::FNodeFixture> Fixture;

	/** The code as the node raised it, for checking it against the table. */
	void ExpectKnown(const FQuarnError& Error, EQuarnErrorKind Kind, const TCHAR* What)
	{
		QuarnTests::ExpectKnownError(*this, Error, Kind, What);
	}
END_DEFINE_SPEC(FQuarnNodeErrorSpec)

void FQuarnNodeErrorSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<QuarnCoreTests::FNodeFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	LatentIt(TEXT("ensuring a container for a player nobody signed in"), FTimespan::FromSeconds(20), [this](const FDoneDelegate& Done)
	{
		UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
		UQuarnEnsureContainer* const Action = UQuarnEnsureContainer::EnsureContainer(Fixture->GetWorld(), TEXT("nobody"), TEXT("stash"), EQuarnContainerLayout::Slots, 24, 0, 0);
		Pins->Bind(Action);
		Action->Activate();
		QuarnTests::AfterFrames(3, [this, Pins, Done]()
		{
			if (TestEqual(TEXT("failures"), Pins->Failures, 1))
			{
				ExpectKnown(Pins->Error, EQuarnErrorKind::SignIn, TEXT("ensure without a token"));
			}
			Done.Execute();
		});
	});

	LatentIt(TEXT("signing in from an object without a game instance"), FTimespan::FromSeconds(20), [this](const FDoneDelegate& Done)
	{
		UQuarnCorePinRecorder* const Pins = Fixture->NewRecorder();
		// The recorder lives in the transient package: no world, so no game instance to keep a token.
		AddExpectedMessagePlain(TEXT("No world was found for object"), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 0);
		UQuarnAuthenticatePlayer* const Action = UQuarnAuthenticatePlayer::AuthenticatePlayer(Pins, TEXT("anonymous"), TEXT("someone"));
		Pins->Bind(Action);
		Action->Activate();
		QuarnTests::AfterFrames(3, [this, Pins, Done]()
		{
			if (TestEqual(TEXT("failures"), Pins->Failures, 1))
			{
				ExpectKnown(Pins->Error, EQuarnErrorKind::Refused, TEXT("sign-in without a game instance"));
			}
			TestEqual(TEXT("requests sent"), Fixture->Transport().Sent.Num(), 0);
			Done.Execute();
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
