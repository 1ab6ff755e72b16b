// Copyright Quarn. All Rights Reserved.

// The errors the core's nodes raise, as a graph bound to their pins receives them: each is in the
// error library's table with the kind a game should act on, and its player text carries none of the
// plug-in's advice to developers. The table itself is tested with the core (Quarn.Core.Errors).

#include "Tests/QuarnTestDoubles.h"

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
		const FString Label = FString::Printf(TEXT("%s (%s)"), What, *Error.Code);
		TestNotNull(*(Label + TEXT(" is in the table")), UQuarnErrorLibrary::FindCode(Error.Code));
		TestEqual(*(Label + TEXT(" kind")), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(Error)), static_cast<int32>(Kind));
		const FString PlayerText = UQuarnErrorLibrary::GetPlayerText(Error).ToString();
		TestFalse(*(Label + TEXT(" player text is not empty")), PlayerText.IsEmpty());
		// Neither the player's text nor what a screen showing Hint, else Message, puts up names a
		// setting or a node; the developer's text keeps that advice.
		const FString OnScreen = Error.Hint.IsEmpty() ? Error.Message : Error.Hint;
		for (const TCHAR* const Word : {TEXT("Base Url"), TEXT("Settings"), TEXT("Quarn - "), TEXT("Authenticate Player"), TEXT(" node")})
		{
			TestFalse(*FString::Printf(TEXT("%s player text names \"%s\""), *Label, Word), PlayerText.Contains(Word, ESearchCase::IgnoreCase));
			TestFalse(*FString::Printf(TEXT("%s hint, else message, names \"%s\""), *Label, Word), OnScreen.Contains(Word, ESearchCase::IgnoreCase));
		}
		const FString Advice = UQuarnErrorLibrary::GetDeveloperAdvice(Error);
		if (!Advice.IsEmpty())
		{
			TestTrue(*(Label + TEXT(" developer text carries the advice")), UQuarnErrorLibrary::GetDeveloperText(Error).Contains(Advice, ESearchCase::CaseSensitive));
		}
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
