// Copyright Quarn. All Rights Reserved.

// What a failed request means to a game: every code the plug-in or the platform gives is in the
// library's table with the kind the platform's contract gives it, the errors the core really
// raises are among them, and neither the player's text nor what a screen showing Hint, else
// Message, puts up carries the plug-in's advice to developers, which the developer's text does.
// The nodes' own errors, seen through their pins, are in the test module (Quarn.Core.NodeErrors).

#include "Tests/QuarnTestDoubles.h"
#include "Tests/QuarnErrorChecks.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnBaseAddress.h"
#include "QuarnErrorLibrary.h"
#include "QuarnItemIds.h"
#include "QuarnResponse.h"
#include "QuarnSession.h"
#include "UObject/Class.h"

namespace QuarnErrorLibraryTests
{
	using K = EQuarnErrorKind;

	struct FExpected
	{
		const TCHAR* Code;
		EQuarnErrorKind Kind;
	};

	/**
	 * Every code a game can meet, with what it asks of the game, written down apart from the
	 * library's table so that a code dropped from it, or added to it without a decision, shows.
	 */
	static const FExpected Expected[] = {
		// The plug-in's own.
		{TEXT("no_base_address"), K::Refused}, {TEXT("invalid_base_address"), K::Refused}, {TEXT("insecure_base_address"), K::Refused},
		{TEXT("no_game_instance"), K::Refused}, {TEXT("not_authenticated"), K::SignIn}, {TEXT("ambiguous_player"), K::Refused}, {TEXT("network_error"), K::Retry},
		{TEXT("timeout"), K::Retry}, {TEXT("cancelled"), K::Refused}, {TEXT("bad_response"), K::Refused},
		{TEXT("http_error"), K::Refused}, {TEXT("token_expired"), K::SignIn},
		// The platform's game API.
		{TEXT("invalid_json"), K::Refused}, {TEXT("invalid_request"), K::Refused}, {TEXT("unsupported_provider"), K::Refused},
		{TEXT("too_many_intents"), K::Refused}, {TEXT("intent_outside_container"), K::Refused}, {TEXT("unauthorized"), K::SignIn},
		{TEXT("provider_not_allowed"), K::Refused}, {TEXT("container_not_found"), K::Refused}, {TEXT("instance_not_found"), K::Refused},
		{TEXT("not_found"), K::Refused}, {TEXT("method_not_allowed"), K::Refused}, {TEXT("version_conflict"), K::Conflict},
		{TEXT("cell_occupied"), K::Refused}, {TEXT("container_full"), K::Refused}, {TEXT("insufficient_quantity"), K::Refused},
		{TEXT("layout_mismatch"), K::Refused}, {TEXT("idempotency_key_in_use"), K::Retry}, {TEXT("payload_too_large"), K::Refused},
		{TEXT("idempotency_key_reused"), K::Refused}, {TEXT("rate_limited"), K::Retry}, {TEXT("internal"), K::Retry},
		{TEXT("unavailable"), K::Retry}, {TEXT("commit_failed"), K::Retry}, {TEXT("database_gone"), K::Retry},
		// The platform's HTTP front.
		{TEXT("request_timeout"), K::Retry}, {TEXT("too_many_connections"), K::Retry}, {TEXT("length_required"), K::Refused}, {TEXT("uri_too_long"), K::Refused},
		{TEXT("expectation_failed"), K::Refused}, {TEXT("headers_too_large"), K::Refused}, {TEXT("not_implemented"), K::Refused},
		{TEXT("http_version_not_supported"), K::Refused},
	};

	static FQuarnError MakeError(const FQuarnErrorCode& Entry, const FString& Message, const FString& Hint)
	{
		FQuarnError Error;
		Error.Code = Entry.Code;
		Error.HttpStatus = Entry.HttpStatus;
		Error.Message = Message;
		Error.Hint = Hint;
		return Error;
	}

	static FQuarnError MakeError(int32 Status, const FString& Code)
	{
		FQuarnError Error;
		Error.HttpStatus = Status;
		Error.Code = Code;
		return Error;
	}

	/** How many of the four questions answer yes: exactly one for every error, none for a success. */
	static int32 Answers(const FQuarnError& Error)
	{
		return int32(UQuarnErrorLibrary::IsConflict(Error)) + int32(UQuarnErrorLibrary::IsWorthRetrying(Error))
			+ int32(UQuarnErrorLibrary::NeedsSignIn(Error)) + int32(UQuarnErrorLibrary::IsRefusedForGood(Error));
	}

	static bool MatchesKind(const FQuarnError& Error, EQuarnErrorKind Kind)
	{
		switch (Kind)
		{
		case K::Conflict: return UQuarnErrorLibrary::IsConflict(Error);
		case K::Retry: return UQuarnErrorLibrary::IsWorthRetrying(Error);
		case K::SignIn: return UQuarnErrorLibrary::NeedsSignIn(Error);
		case K::Refused: return UQuarnErrorLibrary::IsRefusedForGood(Error);
		default: return Answers(Error) == 0;
		}
	}
}

BEGIN_DEFINE_SPEC(FQuarnErrorLibrarySpec, "Quarn.Core.Errors", QuarnTests::TestFlags)
	TUniquePtr<QuarnTests::FClientFixture> Client;

	/** The code as the core raised it, for checking it against the table. */
	void ExpectKnown(const FQuarnError& Error, EQuarnErrorKind Kind, const TCHAR* What)
	{
		QuarnTests::ExpectKnownError(*this, Error, Kind, What);
	}
END_DEFINE_SPEC(FQuarnErrorLibrarySpec)

void FQuarnErrorLibrarySpec::Define()
{
	using namespace QuarnErrorLibraryTests;

	Describe(TEXT("the table"), [this]()
	{
		It(TEXT("holds every code a game can meet, each with the kind the contract gives it, and nothing else"), [this]()
		{
			TSet<FString> ExpectedCodes;
			for (const FExpected& Row : Expected)
			{
				ExpectedCodes.Add(Row.Code);
				const FQuarnErrorCode* const Entry = UQuarnErrorLibrary::FindCode(Row.Code);
				if (!TestNotNull(*FString::Printf(TEXT("%s is in the table"), Row.Code), Entry))
				{
					continue;
				}
				TestEqual(*FString::Printf(TEXT("%s kind in the table"), Row.Code), static_cast<int32>(Entry->Kind), static_cast<int32>(Row.Kind));
			}
			TSet<FString> Seen;
			for (const FQuarnErrorCode& Entry : UQuarnErrorLibrary::GetKnownCodes())
			{
				const FString Code = Entry.Code;
				TestTrue(*FString::Printf(TEXT("%s has a decided kind"), *Code), ExpectedCodes.Contains(Code));
				TestFalse(*FString::Printf(TEXT("%s is listed once"), *Code), Seen.Contains(Code));
				Seen.Add(Code);
				TestEqualSensitive(*FString::Printf(TEXT("%s is lower case"), *Code), Code.ToLower(), Code);
				TestFalse(*FString::Printf(TEXT("%s has a player text"), *Code), Entry.PlayerText.IsEmpty());
				TestNotEqual(*FString::Printf(TEXT("%s kind is an error's"), *Code), static_cast<int32>(Entry.Kind), static_cast<int32>(K::None));
			}
			TestEqual(TEXT("table size"), Seen.Num(), ExpectedCodes.Num());
		});

		It(TEXT("gives the plug-in's own errors a hint for players, and keeps the advice for developers apart"), [this]()
		{
			for (const FQuarnErrorCode& Entry : UQuarnErrorLibrary::GetKnownCodes())
			{
				QuarnTests::ExpectNoDeveloperWords(*this, FString::Printf(TEXT("%s player text"), Entry.Code), Entry.PlayerText.ToString());
				if (!Entry.bDeveloperWords)
				{
					TestEqualSensitive(*FString::Printf(TEXT("%s: the platform's codes come with the platform's words"), Entry.Code), FString(Entry.DeveloperAdvice), FString());
					continue;
				}
				const FQuarnError Raised = UQuarnErrorLibrary::MakePluginError(Entry.Code, Entry.HttpStatus, TEXT("What happened."));
				TestEqualSensitive(*FString::Printf(TEXT("%s raised: code"), Entry.Code), Raised.Code, FString(Entry.Code));
				TestEqual(*FString::Printf(TEXT("%s raised: status"), Entry.Code), Raised.HttpStatus, Entry.HttpStatus);
				TestEqualSensitive(*FString::Printf(TEXT("%s raised: the hint is the player text"), Entry.Code), Raised.Hint, Entry.PlayerText.ToString());
				TestEqualSensitive(*FString::Printf(TEXT("%s raised: advice"), Entry.Code), UQuarnErrorLibrary::GetDeveloperAdvice(Raised), FString(Entry.DeveloperAdvice));
			}
			TestTrue(TEXT("the address codes say which setting to fix"), UQuarnErrorLibrary::GetDeveloperAdvice(UQuarnErrorLibrary::MakePluginError(TEXT("no_base_address"), 0, FString())).Contains(TEXT("Base Url"), ESearchCase::CaseSensitive));
		});

		It(TEXT("answers exactly one of the four questions for every code, as its kind says"), [this]()
		{
			for (const FQuarnErrorCode& Entry : UQuarnErrorLibrary::GetKnownCodes())
			{
				const FQuarnError Error = MakeError(Entry, TEXT("What happened."), TEXT("What to do."));
				const EQuarnErrorKind Kind = UQuarnErrorLibrary::GetErrorKind(Error);
				TestEqual(*FString::Printf(TEXT("%s answers"), Entry.Code), Answers(Error), 1);
				TestTrue(*FString::Printf(TEXT("%s predicate matches its kind"), Entry.Code), MatchesKind(Error, Kind));
				if (!Entry.bKindFromStatus)
				{
					TestEqual(*FString::Printf(TEXT("%s kind"), Entry.Code), static_cast<int32>(Kind), static_cast<int32>(Entry.Kind));
				}
			}
		});

		It(TEXT("shows a player the hint, else the message, except where the words are the plug-in's advice to developers"), [this]()
		{
			for (const FQuarnErrorCode& Entry : UQuarnErrorLibrary::GetKnownCodes())
			{
				const FString Both = UQuarnErrorLibrary::GetPlayerText(MakeError(Entry, TEXT("What happened."), TEXT("What to do."))).ToString();
				const FString MessageOnly = UQuarnErrorLibrary::GetPlayerText(MakeError(Entry, TEXT("What happened."), FString())).ToString();
				const FString Neither = UQuarnErrorLibrary::GetPlayerText(MakeError(Entry, FString(), FString())).ToString();
				if (Entry.bDeveloperWords)
				{
					TestEqualSensitive(*FString::Printf(TEXT("%s with a hint"), Entry.Code), Both, Entry.PlayerText.ToString());
					TestEqualSensitive(*FString::Printf(TEXT("%s with a message"), Entry.Code), MessageOnly, Entry.PlayerText.ToString());
				}
				else
				{
					TestEqualSensitive(*FString::Printf(TEXT("%s with a hint"), Entry.Code), Both, FString(TEXT("What to do.")));
					TestEqualSensitive(*FString::Printf(TEXT("%s with a message"), Entry.Code), MessageOnly, FString(TEXT("What happened.")));
				}
				TestEqualSensitive(*FString::Printf(TEXT("%s without words"), Entry.Code), Neither, Entry.PlayerText.ToString());
			}
		});
	});

	Describe(TEXT("errors the core raises"), [this]()
	{
		It(TEXT("platform addresses it refuses"), [this]()
		{
			for (const TCHAR* Base : {TEXT(""), TEXT("   "), TEXT("ftp://platform.example.com"), TEXT("https://"), TEXT("http://platform.example.com")})
			{
				FQuarnError Error;
				if (TestFalse(*FString::Printf(TEXT("'%s' refused"), Base), QuarnBaseAddress::Validate(Base, false, Error)))
				{
					ExpectKnown(Error, K::Refused, Base);
					// The advice to fix the setting stays with the developer.
					TestTrue(TEXT("the developer's text names the setting"), UQuarnErrorLibrary::GetDeveloperText(Error).Contains(TEXT("settings"), ESearchCase::IgnoreCase));
				}
			}
		});

		It(TEXT("answers that are not a result"), [this]()
		{
			struct FCase
			{
				EQuarnTransportResult Result;
				int32 Status;
				const TCHAR* Body;
				EQuarnErrorKind Kind;
			};
			const FCase Cases[] = {
				{EQuarnTransportResult::ConnectionFailed, 0, TEXT(""), K::Retry},
				{EQuarnTransportResult::TimedOut, 0, TEXT(""), K::Retry},
				{EQuarnTransportResult::Cancelled, 0, TEXT(""), K::Refused},
				{EQuarnTransportResult::Answered, 200, TEXT("<html>a web page</html>"), K::Refused},
				{EQuarnTransportResult::Answered, 201, TEXT(""), K::Refused},
				{EQuarnTransportResult::Answered, 503, TEXT("Service Unavailable"), K::Retry},
				{EQuarnTransportResult::Answered, 502, TEXT(""), K::Retry},
				{EQuarnTransportResult::Answered, 404, TEXT("<html>not here</html>"), K::Refused},
				{EQuarnTransportResult::Answered, 401, TEXT(""), K::SignIn},
				{EQuarnTransportResult::Answered, 409, TEXT("{\"error\":{\"code\":\"version_conflict\",\"message\":\"Changed.\",\"hint\":\"Re-read.\"}}"), K::Conflict},
			};
			for (const FCase& Case : Cases)
			{
				FQuarnHttpResponse Response;
				Response.Result = Case.Result;
				Response.StatusCode = Case.Status;
				Response.Body = Case.Body;
				TSharedPtr<FJsonObject> Json;
				FQuarnError Error;
				if (TestFalse(*FString::Printf(TEXT("HTTP %d '%s' fails"), Case.Status, Case.Body), QuarnResponse::Interpret(Response, 10.0f, Json, Error)))
				{
					ExpectKnown(Error, Case.Kind, *FString::Printf(TEXT("HTTP %d"), Case.Status));
				}
			}
		});

		It(TEXT("an answer with an item id too long to keep"), [this]()
		{
			ExpectKnown(QuarnItemIds::TooLongError(), K::Refused, TEXT("item id too long"));
		});
	});

	Describe(TEXT("errors the session raises"), [this]()
	{
		BeforeEach([this]()
		{
			Client = MakeUnique<QuarnTests::FClientFixture>();
		});

		AfterEach([this]()
		{
			Client.Reset();
		});

		LatentIt(TEXT("a session whose token expired and that cannot sign in again"), FTimespan::FromSeconds(20), [this](const FDoneDelegate& Done)
		{
			AddExpectedMessagePlain(TEXT("The session of player plr_e expired and could not be renewed"), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
			// No ticket to sign in with: the first token_expired ends the session.
			const TSharedRef<FQuarnError> Expired = MakeShared<FQuarnError>();
			TSharedPtr<FQuarnSession> Session = FQuarnSession::Create(TEXT("plr_e"), [](const FString&) {}, [Expired](const FQuarnError& Error) { *Expired = Error; });
			Session->Start(TEXT("tok_e"), 0.0, FString(), FString());
			const TSharedRef<QuarnTests::FOutcome> Outcome = MakeShared<QuarnTests::FOutcome>();
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/c"), FString(), TEXT("tok_e"), FString(), QuarnTests::FOutcome::Into(Outcome));
			Client->Transport->Answer(401, TEXT("{\"error\": {\"code\": \"token_expired\", \"message\": \"Expired.\", \"hint\": \"\"}}"));
			QuarnTests::Await(*this, TEXT("the request to fail"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Expired, Session, Done]()
			{
				ExpectKnown(Outcome->Error, K::SignIn, TEXT("the request that waited"));
				ExpectKnown(*Expired, K::SignIn, TEXT("the session's expiry"));
				TestTrue(TEXT("the message names the cause"), Outcome->Error.Message.Contains(TEXT("no_ticket"), ESearchCase::CaseSensitive));
				Done.Execute();
			});
		});
	});

	Describe(TEXT("errors the table does not know"), [this]()
	{
		It(TEXT("are judged by their status"), [this]()
		{
			TestEqual(TEXT("no answer"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(MakeError(0, TEXT("new_transport_failure")))), static_cast<int32>(K::Retry));
			TestEqual(TEXT("401"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(MakeError(401, TEXT("session_revoked")))), static_cast<int32>(K::SignIn));
			TestEqual(TEXT("429"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(MakeError(429, TEXT("slow_down")))), static_cast<int32>(K::Retry));
			TestEqual(TEXT("504"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(MakeError(504, TEXT("gateway_timeout")))), static_cast<int32>(K::Retry));
			TestEqual(TEXT("501"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(MakeError(501, TEXT("never")))), static_cast<int32>(K::Refused));
			TestEqual(TEXT("409"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(MakeError(409, TEXT("item_locked")))), static_cast<int32>(K::Refused));
			TestEqual(TEXT("a status without a code"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(MakeError(500, FString()))), static_cast<int32>(K::Retry));
			FQuarnError Silent = MakeError(403, TEXT("banned"));
			TestEqualSensitive(TEXT("words for an unknown refusal without any"), UQuarnErrorLibrary::GetPlayerText(Silent).ToString(), FString(TEXT("The inventory service refused this request.")));
			Silent.Message = TEXT("Banned.");
			TestEqualSensitive(TEXT("its own message otherwise"), UQuarnErrorLibrary::GetPlayerText(Silent).ToString(), FString(TEXT("Banned.")));
		});

		It(TEXT("are matched without regard to case, and a known code keeps its kind whatever the status"), [this]()
		{
			TestTrue(TEXT("upper case conflict"), UQuarnErrorLibrary::IsConflict(MakeError(409, TEXT("VERSION_CONFLICT"))));
			TestTrue(TEXT("in use, a 409, is worth retrying"), UQuarnErrorLibrary::IsWorthRetrying(MakeError(409, TEXT("idempotency_key_in_use"))));
			TestTrue(TEXT("not implemented, a 5xx, is refused"), UQuarnErrorLibrary::IsRefusedForGood(MakeError(501, TEXT("not_implemented"))));
			TestTrue(TEXT("the plug-in's not signed in, without a status"), UQuarnErrorLibrary::NeedsSignIn(MakeError(0, TEXT("not_authenticated"))));
		});
	});

	It(TEXT("a default error is no error"), [this]()
	{
		const FQuarnError None;
		TestEqual(TEXT("kind"), static_cast<int32>(UQuarnErrorLibrary::GetErrorKind(None)), static_cast<int32>(K::None));
		TestEqual(TEXT("no question answers yes"), Answers(None), 0);
		TestTrue(TEXT("no player text"), UQuarnErrorLibrary::GetPlayerText(None).IsEmpty());
		TestEqualSensitive(TEXT("developer text"), UQuarnErrorLibrary::GetDeveloperText(None), FString(TEXT("no error")));
	});

	It(TEXT("the developer's text carries everything the error says"), [this]()
	{
		FQuarnError Error = MakeError(409, TEXT("version_conflict"));
		Error.Message = TEXT("Container ctr_1 is at version 8, not 7.");
		Error.Hint = TEXT("Re-read the container and sync again.");
		Error.RequestId = TEXT("req_42");
		TestEqualSensitive(TEXT("full"), UQuarnErrorLibrary::GetDeveloperText(Error),
			FString(TEXT("version_conflict (HTTP 409): Container ctr_1 is at version 8, not 7. Hint: Re-read the container and sync again. [request req_42]")));
		TestEqualSensitive(TEXT("no answer, with the advice for the code"), UQuarnErrorLibrary::GetDeveloperText(MakeError(0, TEXT("network_error"))),
			FString(TEXT("network_error (no HTTP answer) Advice: Check the connection and the Base Url in the Quarn SDK settings, then try again.")));
		FQuarnError FromNode = MakeError(0, TEXT("not_authenticated"));
		FromNode.Hint = TEXT("Call Quarn - Authenticate Player for this player first.");
		TestEqualSensitive(TEXT("advice the hint already gives is not repeated"), UQuarnErrorLibrary::GetDeveloperText(FromNode),
			FString(TEXT("not_authenticated (no HTTP answer) Hint: Call Quarn - Authenticate Player for this player first.")));
	});

#if WITH_METADATA
	It(TEXT("its functions are pure Velmora nodes"), [this]()
	{
		for (const TCHAR* Name : {TEXT("GetErrorKind"), TEXT("IsConflict"), TEXT("IsWorthRetrying"), TEXT("NeedsSignIn"), TEXT("IsRefusedForGood"), TEXT("GetPlayerText"), TEXT("GetDeveloperText")})
		{
			const UFunction* const Function = UQuarnErrorLibrary::StaticClass()->FindFunctionByName(Name);
			if (!TestNotNull(Name, Function))
			{
				continue;
			}
			TestTrue(*FString::Printf(TEXT("%s is pure"), Name), Function->HasAnyFunctionFlags(FUNC_BlueprintPure));
			TestEqualSensitive(*FString::Printf(TEXT("%s category"), Name), Function->GetMetaData(TEXT("Category")), FString(TEXT("Velmora")));
			TestTrue(*FString::Printf(TEXT("%s display name"), Name), Function->GetMetaData(TEXT("DisplayName")).StartsWith(TEXT("Velmora - "), ESearchCase::CaseSensitive));
		}
	});
#endif // WITH_METADATA
}

#endif // WITH_DEV_AUTOMATION_TESTS
