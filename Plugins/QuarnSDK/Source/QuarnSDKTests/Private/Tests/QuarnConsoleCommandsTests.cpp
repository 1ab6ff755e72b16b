// Copyright Quarn. All Rights Reserved.

// The console commands and the request log over a scripted transport: Quarn.Status for a session
// with requests in flight and waiting, Quarn.ExpireToken leading to one renewal, Quarn.LogRequests
// writing one line per request and nothing secret, and the commands gone once the module shuts down.

#include "Tests/QuarnCoreNodeFixture.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "HAL/IConsoleManager.h"
#include "Modules/ModuleManager.h"
#include "QuarnLog.h"
#include "QuarnSession.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

using namespace QuarnTests;

namespace QuarnConsoleTests
{
	const TCHAR* const Ticket = TEXT("ticket-c0ns0le-0815");
	const TCHAR* const FirstToken = TEXT("tok_console_first");
	const TCHAR* const SecondToken = TEXT("tok_console_second");
	const TCHAR* const HandToken = TEXT("tok_console_by_hand");
	const TCHAR* const ExpiredBody = TEXT("{\"error\":{\"code\":\"token_expired\",\"message\":\"The access token expired.\",\"request_id\":\"req_c1\"}}");
	const FTimespan CaseBound = FTimespan::FromSeconds(30);

	FString SessionAnswer(const TCHAR* Token)
	{
		return FString::Printf(TEXT("{\"player\":{\"id\":\"plr_c\",\"provider\":\"steam\"},\"tokens\":{\"access_token\":\"%s\",\"token_type\":\"Bearer\",\"expires_in\":3600}}"), Token);
	}

	bool IsSignIn(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/sessions"), ESearchCase::CaseSensitive);
	}

	/** What a command wrote, one entry per line. */
	class FConsoleOutput : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName&) override
		{
			Lines.Add(V);
		}
		FString Joined() const
		{
			return FString::Join(Lines, TEXT("\n"));
		}
		TArray<FString> Lines;
	};

	/** Runs one line as the game console would and returns what it wrote. */
	FConsoleOutput Run(const TCHAR* Line, bool* bOutRecognized = nullptr)
	{
		FConsoleOutput Output;
		const bool bRecognized = IConsoleManager::Get().ProcessUserConsoleInput(Line, Output, nullptr);
		if (bOutRecognized != nullptr)
		{
			*bOutRecognized = bRecognized;
		}
		return Output;
	}
}

BEGIN_DEFINE_SPEC(FQuarnConsoleCommandsSpec, "Quarn.Core.Console", QuarnTests::TestFlags)
	TUniquePtr<QuarnCoreTests::FNodeFixture> Fixture;
	ELogVerbosity::Type SavedVerbosity = ELogVerbosity::Log;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	UQuarnSubsystem* Subsystem() const
	{
		return Fixture->Subsystem();
	}

	/** The fixture's game instance, as Quarn.Status names it. */
	FString GameName() const
	{
		return Fixture->GetWorld()->GetGameInstance()->GetName();
	}

	int32 SignInsSent() const
	{
		int32 Count = 0;
		for (const FQuarnHttpRequest& Request : Transport().Sent)
		{
			Count += QuarnConsoleTests::IsSignIn(Request) ? 1 : 0;
		}
		return Count;
	}

	TSharedRef<FOutcome> GetContainer(const TCHAR* Token)
	{
		TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/ctr_c"), FString(), Token, FString(), FOutcome::Into(Outcome));
		return Outcome;
	}

	/** The lines of Quarn.Status about the fixture's game instance: its heading and its players. */
	TArray<FString> StatusOfThisGame()
	{
		const QuarnConsoleTests::FConsoleOutput Output = QuarnConsoleTests::Run(TEXT("Quarn.Status"));
		TArray<FString> Mine;
		bool bInside = false;
		for (const FString& Line : Output.Lines)
		{
			if (!Line.StartsWith(TEXT("  ")))
			{
				bInside = Line.StartsWith(GameName() + TEXT(":"), ESearchCase::CaseSensitive);
			}
			if (bInside)
			{
				Mine.Add(Line);
			}
		}
		return Mine;
	}
END_DEFINE_SPEC(FQuarnConsoleCommandsSpec)

void FQuarnConsoleCommandsSpec::Define()
{
	using namespace QuarnConsoleTests;

	BeforeEach([this]()
	{
		SavedVerbosity = LogQuarn.GetVerbosity();
		Fixture = MakeUnique<QuarnCoreTests::FNodeFixture>();
		Subsystem()->StartSession(TEXT("plr_c"), FirstToken, 3600.0, TEXT("steam"), Ticket);
	});

	AfterEach([this]()
	{
		IConsoleManager::Get().FindConsoleVariable(TEXT("Quarn.LogRequests"))->Set(0, ECVF_SetByConsole);
		Subsystem()->SignOut(TEXT("plr_c"));
		Subsystem()->SignOut(TEXT("plr_h"));
		Fixture.Reset();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		LogQuarn.SetVerbosity(SavedVerbosity);
	});

	It(TEXT("Quarn.Status lists each player with seconds left, renewals, requests in flight and waiting"), [this]()
	{
		Subsystem()->SetAccessToken(TEXT("plr_h"), HandToken);
		TArray<FString> Status = StatusOfThisGame();
		if (!TestEqual(TEXT("lines about this game"), Status.Num(), 3))
		{
			AddInfo(FString::Join(Status, TEXT("\n")));
			return;
		}
		TestEqualSensitive(TEXT("heading"), Status[0], GameName() + TEXT(": 2 signed in"));
		TestTrue(FString::Printf(TEXT("'%s' shows about an hour left"), *Status[1]), Status[1].StartsWith(TEXT("  plr_c: 3600 s left, ")) || Status[1].StartsWith(TEXT("  plr_c: 3599 s left, ")));
		TestTrue(TEXT("idle session"), Status[1].EndsWith(TEXT(" s left, 0 renewals, 0 in flight, 0 waiting")));
		TestEqualSensitive(TEXT("player set by hand"), Status[2], FString(TEXT("  plr_h: token set by hand, no session to renew it")));

		// One request on the wire; then, with the token treated as expired, a sign-in on the
		// wire and a request waiting for it.
		const TSharedRef<FOutcome> First = GetContainer(FirstToken);
		Status = StatusOfThisGame();
		TestTrue(TEXT("one in flight"), Status.Num() == 3 && Status[1].EndsWith(TEXT(" s left, 0 renewals, 1 in flight, 0 waiting")));
		Run(TEXT("Quarn.ExpireToken plr_c"));
		const TSharedRef<FOutcome> Second = GetContainer(FirstToken);
		Status = StatusOfThisGame();
		TestTrue(TEXT("a sign-in in flight and one waiting"), Status.Num() == 3 && Status[1] == TEXT("  plr_c: 0 s left, 0 renewals, 2 in flight, 1 waiting"));

		const FString Everything = Run(TEXT("Quarn.Status")).Joined();
		TestFalse(TEXT("a token in the status"), Everything.Contains(FirstToken) || Everything.Contains(HandToken));
		TestFalse(TEXT("the ticket in the status"), Everything.Contains(Ticket));

		bool bRecognized = false;
		const FConsoleOutput Help = Run(TEXT("Quarn.Status ?"), &bRecognized);
		TestTrue(TEXT("help recognized"), bRecognized);
		TestTrue(TEXT("help text"), Help.Joined().Contains(TEXT("seconds left on the token")));
	});

	LatentIt(TEXT("Quarn.ExpireToken leads to one renewal and the request succeeds with the new token"), CaseBound, [this](const FDoneDelegate& Done)
	{
		const FConsoleOutput Unknown = Run(TEXT("Quarn.ExpireToken plr_nobody"));
		TestEqualSensitive(TEXT("unknown player"), Unknown.Joined(), FString(TEXT("No signed-in player plr_nobody.")));
		TestEqual(TEXT("requests after an unknown player"), Transport().Sent.Num(), 0);
		Subsystem()->SetAccessToken(TEXT("plr_h"), HandToken);
		const FConsoleOutput ByHand = Run(TEXT("Quarn.ExpireToken plr_h"));
		TestEqualSensitive(TEXT("a token set by hand"), ByHand.Joined(), FString::Printf(TEXT("plr_h in %s has no ticket to renew with; left as it is."), *GameName()));

		const FConsoleOutput Expired = Run(TEXT("Quarn.ExpireToken plr_c"));
		TestEqualSensitive(TEXT("expired"), Expired.Joined(), FString::Printf(TEXT("The token of plr_c in %s counts as expired; the next request renews it."), *GameName()));
		TestEqual(TEXT("requests right after the command"), Transport().Sent.Num(), 0);

		const TSharedPtr<FQuarnSession> Session = Subsystem()->FindSession(TEXT("plr_c"));
		const TSharedRef<FOutcome> Outcome = GetContainer(FirstToken);
		if (!TestTrue(TEXT("the request waits for a sign-in"), Transport().Pending.Num() == 1 && IsSignIn(Transport().Pending[0].Request)))
		{
			Done.Execute();
			return;
		}
		Transport().Answer(200, SessionAnswer(SecondToken));
		Await(*this, TEXT("the request with the new token"), [this]() { return Transport().Pending.Num() == 1 && !IsSignIn(Transport().Pending[0].Request); }, Done, [this, Outcome, Session, Done]()
		{
			TestEqualSensitive(TEXT("authorization"), Transport().Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer ")) + SecondToken);
			Transport().Answer(200, TEXT("{\"id\":\"ctr_c\",\"version\":1,\"stacks\":[]}"));
			Await(*this, TEXT("the completion"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Session, Done]()
			{
				TestTrue(TEXT("ok"), Outcome->bOk);
				TestEqual(TEXT("completions"), Outcome->Calls, 1);
				TestEqual(TEXT("sign-ins"), SignInsSent(), 1);
				TestEqual(TEXT("renewals of the session"), Session->GetRenewalCount(), 1);
				TestEqualSensitive(TEXT("token held"), Subsystem()->GetAccessToken(TEXT("plr_c")), FString(SecondToken));
				TestTrue(TEXT("a fresh lifetime"), Subsystem()->GetTokenSecondsLeft(TEXT("plr_c")) > 3500.0f);
				Done.Execute();
			});
		});
	});

	LatentIt(TEXT("Quarn.LogRequests 1 writes one line per request with its request id and nothing secret"), CaseBound, [this](const FDoneDelegate& Done)
	{
		LogQuarn.SetVerbosity(ELogVerbosity::VeryVerbose);
		const TSharedRef<FLogLines> Log = MakeShared<FLogLines>();
		const FConsoleOutput Set = Run(TEXT("Quarn.LogRequests 1"));
		TestEqualSensitive(TEXT("console reply"), Set.Joined(), FString(TEXT("Quarn.LogRequests = \"1\"")));
		// Read through the console, as a game would: the module's own accessor is not exported.
		const IConsoleVariable* const LogRequests = IConsoleManager::Get().FindConsoleVariable(TEXT("Quarn.LogRequests"));
		if (TestNotNull(TEXT("Quarn.LogRequests registered"), LogRequests))
		{
			TestEqual(TEXT("log on"), LogRequests->GetInt(), 1);
		}

		// The platform calls the token expired: the request, the renewal's sign-in and the
		// request again are three lines.
		const TSharedRef<FOutcome> Outcome = GetContainer(FirstToken);
		Transport().Answer(401, ExpiredBody, TEXT("req_c1"));
		Await(*this, TEXT("the sign-in"), [this]() { return Transport().Pending.Num() == 1 && IsSignIn(Transport().Pending[0].Request); }, Done, [this, Log, Outcome, Done]()
		{
			Transport().Answer(200, SessionAnswer(SecondToken), TEXT("req_c2"));
			Await(*this, TEXT("the resent request"), [this]() { return Transport().Pending.Num() == 1 && !IsSignIn(Transport().Pending[0].Request); }, Done, [this, Log, Outcome, Done]()
			{
				Transport().Answer(200, TEXT("{\"id\":\"ctr_c\",\"version\":1,\"stacks\":[]}"), TEXT("req_c3"));
				Await(*this, TEXT("the completion"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Log, Done]()
				{
					TestEqual(TEXT("request lines"), Log->Count(TEXT(" request_id="), ELogVerbosity::Display), 3);
					TestTrue(TEXT("the refused request"), Log->AnyStartsWith(TEXT("GET /v1/game/containers/ctr_c status=401 code=token_expired request_id=req_c1 attempts=1 ms=")));
					TestTrue(TEXT("the sign-in"), Log->AnyStartsWith(TEXT("POST /v1/game/sessions status=200 code=- request_id=req_c2 attempts=1 ms=")));
					TestTrue(TEXT("the resent request"), Log->AnyStartsWith(TEXT("GET /v1/game/containers/ctr_c status=200 code=- request_id=req_c3 attempts=1 ms=")));
					TestFalse(TEXT("a token in the log"), Log->AnyContains(FirstToken) || Log->AnyContains(SecondToken));
					TestFalse(TEXT("the ticket in the log"), Log->AnyContains(Ticket));
					TestFalse(TEXT("a body in the log"), Log->AnyContains(TEXT("\"stacks\"")) || Log->AnyContains(TEXT("\"provider\"")));

					// Off again: the next request writes no line.
					Run(TEXT("Quarn.LogRequests 0"));
					const TSharedRef<FOutcome> Quiet = GetContainer(SecondToken);
					Transport().Answer(200, TEXT("{\"id\":\"ctr_c\",\"version\":1,\"stacks\":[]}"), TEXT("req_c4"));
					Await(*this, TEXT("the quiet completion"), [Quiet]() { return Quiet->Calls > 0; }, Done, [this, Log, Done]()
					{
						TestEqual(TEXT("request lines with the log off"), Log->Count(TEXT(" request_id="), ELogVerbosity::Display), 3);
						Done.Execute();
					});
				});
			});
		});
	});

	It(TEXT("the commands and the variable are gone once the module shuts down and back when it starts"), [this]()
	{
		IModuleInterface* const Module = FModuleManager::Get().GetModule(TEXT("QuarnCore"));
		if (!TestNotNull(TEXT("the module"), Module))
		{
			return;
		}
		const TCHAR* const Names[] = { TEXT("Quarn.Status"), TEXT("Quarn.ExpireToken"), TEXT("Quarn.LogRequests") };
		for (const TCHAR* Name : Names)
		{
			TestNotNull(FString::Printf(TEXT("%s while the module runs"), Name), IConsoleManager::Get().FindConsoleObject(Name));
		}
		Module->ShutdownModule();
		for (const TCHAR* Name : Names)
		{
			TestNull(FString::Printf(TEXT("%s after shutdown"), Name), IConsoleManager::Get().FindConsoleObject(Name));
			TestFalse(FString::Printf(TEXT("%s registered after shutdown"), Name), IConsoleManager::Get().IsNameRegistered(Name));
		}
		bool bRecognized = true;
		Run(TEXT("Quarn.Status"), &bRecognized);
		TestFalse(TEXT("Quarn.Status recognized after shutdown"), bRecognized);
		Module->StartupModule();
		for (const TCHAR* Name : Names)
		{
			const IConsoleObject* const Object = IConsoleManager::Get().FindConsoleObject(Name);
			TestTrue(FString::Printf(TEXT("%s with help after start-up"), Name), Object != nullptr && FString(Object->GetHelp()).Len() > 20);
		}
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
