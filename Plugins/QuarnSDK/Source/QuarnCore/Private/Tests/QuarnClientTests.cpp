// Copyright Quarn. All Rights Reserved.

// The service client over a scripted transport: what it sends, how answers become results or
// errors, that each request completes exactly once on the game thread, and which platform
// addresses it accepts.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "HAL/Runnable.h"
#include "HAL/RunnableThread.h"
#include "Misc/Guid.h"
#include "QuarnBaseAddress.h"
#include "QuarnLog.h"

using namespace QuarnTests;

namespace QuarnClientTests
{
	/** Answers a pending request from a thread of its own, as the HTTP module's threads do. */
	class FAnswerFromWorker : public FRunnable
	{
	public:
		explicit FAnswerFromWorker(FScriptedTransport::FPending& InPending)
			: Pending(InPending)
		{
		}

		virtual uint32 Run() override
		{
			FQuarnHttpResponse Response;
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = 204;
			Response.Body = TEXT("{}");
			Pending.OnDone(Response);
			return 0;
		}

	private:
		FScriptedTransport::FPending& Pending;
	};
}

BEGIN_DEFINE_SPEC(FQuarnClientSpec, "Quarn.Core.Client", QuarnTests::TestFlags)
	TUniquePtr<FClientFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return *Fixture->Transport;
	}

	/** One request whose answer the step gives; Check sees the outcome once the client completes it. */
	TFunction<void(TFunction<void()>)> Exchange(TFunction<void(FScriptedTransport&)> AnswerIt, TFunction<void(const FOutcome&)> Check)
	{
		return [this, AnswerIt, Check](TFunction<void()> Next)
		{
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			// The completion callback owns the outcome; Then must not own it as well.
			FOutcome* const Recorded = &Outcome.Get();
			Outcome->Then = [Recorded, Check, Next]()
			{
				Check(*Recorded);
				Next();
			};
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FOutcome::Into(Outcome));
			AnswerIt(Transport());
		};
	}
END_DEFINE_SPEC(FQuarnClientSpec)

void FQuarnClientSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<FClientFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	Describe(TEXT("Send"), [this]()
	{
		It(TEXT("builds the url, headers and body"), [this]()
		{
			GetMutableDefault<UQuarnSettings>()->BaseUrl = TEXT("https://platform.example.com/");
			GetMutableDefault<UQuarnSettings>()->RequestTimeoutSeconds = 7.5f;
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FQuarnClient::Send(TEXT("post"), TEXT("/v1/game/containers/ensure"), TEXT("{\"kind\":\"stash\"}"), TEXT("tok-123"), TEXT("key-1"), FOutcome::Into(Outcome));

			if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1))
			{
				return;
			}
			const FQuarnHttpRequest& Request = Transport().Sent[0];
			TestEqualSensitive(TEXT("verb"), Request.Verb, FString(TEXT("POST")));
			TestEqualSensitive(TEXT("url"), Request.Url, FString(TEXT("https://platform.example.com/v1/game/containers/ensure")));
			TestEqualSensitive(TEXT("body"), Request.Body, FString(TEXT("{\"kind\":\"stash\"}")));
			TestEqualSensitive(TEXT("authorization header, found without regard to case"), Request.GetHeader(TEXT("authorization")), FString(TEXT("Bearer tok-123")));
			TestEqualSensitive(TEXT("idempotency key"), Request.GetHeader(TEXT("Idempotency-Key")), FString(TEXT("key-1")));
			TestTrue(TEXT("content type is JSON"), Request.GetHeader(TEXT("Content-Type")).StartsWith(TEXT("application/json"), ESearchCase::CaseSensitive));
			TestEqual(TEXT("time-out from the settings"), Request.TimeoutSeconds, 7.5f);
		});

		It(TEXT("leaves out headers that were not given"), [this]()
		{
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/abc"), FString(), FString(), FString(), FOutcome::Into(Outcome));
			if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1))
			{
				return;
			}
			for (const TPair<FString, FString>& Header : Transport().Sent[0].Headers)
			{
				TestNotEqual(TEXT("header name"), Header.Key, FString(TEXT("Authorization")));
				TestNotEqual(TEXT("header name"), Header.Key, FString(TEXT("Idempotency-Key")));
			}
			TestTrue(TEXT("no body"), Transport().Sent[0].Body.IsEmpty());
		});

		It(TEXT("percent-encodes path segments but keeps slashes"), [this]()
		{
			TestEqualSensitive(TEXT("space"), FQuarnClient::EncodePath(TEXT("/v1/game/containers/a b/c")), FString(TEXT("/v1/game/containers/a%20b/c")));
			TestEqualSensitive(TEXT("reserved characters"), FQuarnClient::EncodePath(TEXT("/x/100%?#")), FString(TEXT("/x/100%25%3F%23")));
			TestEqualSensitive(TEXT("two-byte character"), FQuarnClient::EncodePath(TEXT("/x/caf\u00e9")), FString(TEXT("/x/caf%C3%A9")));
			TestEqualSensitive(TEXT("unreserved characters"), FQuarnClient::EncodePath(TEXT("/plain-id_1.2~3")), FString(TEXT("/plain-id_1.2~3")));
			TestEqualSensitive(TEXT("empty segments"), FQuarnClient::EncodePath(TEXT("//")), FString(TEXT("//")));

			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/game/containers/my stash"), FString(), FString(), FString(), FOutcome::Into(Outcome));
			if (TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1))
			{
				TestEqualSensitive(TEXT("url"), Transport().Sent[0].Url, FString(TEXT("https://platform.example.com/v1/game/containers/my%20stash")));
			}
		});

		It(TEXT("encodes a character beyond U+FFFF as its four UTF-8 bytes"), [this]()
		{
			// The engine's UrlEncode takes each UTF-16 unit alone and would send "%3F%3F".
			TestEqualSensitive(TEXT("emoji id"), FQuarnClient::EncodePath(TEXT("/v1/game/containers/box\U0001F4E6")), FString(TEXT("/v1/game/containers/box%F0%9F%93%A6")));
			TestEqualSensitive(TEXT("two in a row, with a slash between"), FQuarnClient::EncodePath(TEXT("/\U0001F600/\U0001F600")), FString(TEXT("/%F0%9F%98%80/%F0%9F%98%80")));
			// Half a pair is no character: it goes as the replacement mark, never as a broken sequence.
			const TCHAR LoneHalf[] = {TEXT('/'), static_cast<TCHAR>(0xD83D), TEXT('a'), 0};
			TestEqualSensitive(TEXT("unpaired surrogate"), FQuarnClient::EncodePath(LoneHalf), FString(TEXT("/%3Fa")));
		});

		It(TEXT("makes idempotency keys that are fresh GUIDs"), [this]()
		{
			const FString First = FQuarnClient::NewIdempotencyKey();
			const FString Second = FQuarnClient::NewIdempotencyKey();
			TestNotEqual(TEXT("two keys"), First, Second);
			FGuid Parsed;
			TestTrue(TEXT("parses as a GUID"), FGuid::Parse(First, Parsed));
			TestTrue(TEXT("is a valid GUID"), Parsed.IsValid());
		});
	});

	Describe(TEXT("Answers"), [this]()
	{
		LatentIt(TEXT("success carries the parsed object"), [this](const FDoneDelegate& Done)
		{
			RunInOrder({Exchange([](FScriptedTransport& T) { T.Answer(200, TEXT("{\"id\":\"c1\",\"version\":3}"), TEXT("req-9")); }, [this](const FOutcome& Outcome)
			{
				TestTrue(TEXT("ok"), Outcome.bOk);
				if (TestValid(TEXT("json"), Outcome.Json))
				{
					TestEqualSensitive(TEXT("id"), Outcome.Json->GetStringField(TEXT("id")), FString(TEXT("c1")));
				}
				TestTrue(TEXT("no error code"), Outcome.Error.Code.IsEmpty());
			})}, [Done]() { Done.Execute(); });
		});

		LatentIt(TEXT("an error object fills every field"), [this](const FDoneDelegate& Done)
		{
			RunInOrder({Exchange([](FScriptedTransport& T)
			{
				T.Answer(409, TEXT("{\"error\":{\"code\":\"version_conflict\",\"message\":\"Changed.\",\"hint\":\"Re-read.\",\"current_version\":4}}"), TEXT("req-42"));
			}, [this](const FOutcome& Outcome)
			{
				TestFalse(TEXT("ok"), Outcome.bOk);
				TestFalse(TEXT("json"), Outcome.Json.IsValid());
				TestEqual(TEXT("status"), Outcome.Error.HttpStatus, 409);
				TestEqualSensitive(TEXT("code"), Outcome.Error.Code, FString(TEXT("version_conflict")));
				TestEqualSensitive(TEXT("message"), Outcome.Error.Message, FString(TEXT("Changed.")));
				TestEqualSensitive(TEXT("hint"), Outcome.Error.Hint, FString(TEXT("Re-read.")));
				TestEqualSensitive(TEXT("request id"), Outcome.Error.RequestId, FString(TEXT("req-42")));
			})}, [Done]() { Done.Execute(); });
		});

		LatentIt(TEXT("HTTP errors without an error object still say what"), [this](const FDoneDelegate& Done)
		{
			TArray<TFunction<void(TFunction<void()>)>> Steps;
			for (const TCHAR* Body : {TEXT(""), TEXT("Service Unavailable"), TEXT("{\"error\":\"flat\"}"), TEXT("{\"error\":{\"message\":\"no code\"}}"), TEXT("[1,2]")})
			{
				const FString Text = Body;
				Steps.Add(Exchange([Text](FScriptedTransport& T) { T.Answer(503, Text); }, [this, Text](const FOutcome& Outcome)
				{
					TestFalse(*(TEXT("ok for ") + Text), Outcome.bOk);
					TestEqual(*(TEXT("status for ") + Text), Outcome.Error.HttpStatus, 503);
					TestEqualSensitive(*(TEXT("code for ") + Text), Outcome.Error.Code, FString(TEXT("http_error")));
					TestTrue(*(TEXT("message names the status for ") + Text), Outcome.Error.Message.Contains(TEXT("503")));
				}));
			}
			RunInOrder(MoveTemp(Steps), [Done]() { Done.Execute(); });
		});

		LatentIt(TEXT("a success that is not an object is a bad response"), [this](const FDoneDelegate& Done)
		{
			TArray<TFunction<void(TFunction<void()>)>> Steps;
			for (const TCHAR* Body : {TEXT(""), TEXT("<html>ok</html>"), TEXT("[]"), TEXT("\"text\""), TEXT("{\"a\":"), TEXT("{} trailing")})
			{
				const FString Text = Body;
				Steps.Add(Exchange([Text](FScriptedTransport& T) { T.Answer(200, Text); }, [this, Text](const FOutcome& Outcome)
				{
					TestFalse(*(TEXT("ok for ") + Text), Outcome.bOk);
					TestFalse(*(TEXT("json for ") + Text), Outcome.Json.IsValid());
					TestEqualSensitive(*(TEXT("code for ") + Text), Outcome.Error.Code, FString(TEXT("bad_response")));
					TestEqual(*(TEXT("status for ") + Text), Outcome.Error.HttpStatus, 200);
				}));
			}
			RunInOrder(MoveTemp(Steps), [Done]() { Done.Execute(); });
		});

		LatentIt(TEXT("transport failures have their own codes"), [this](const FDoneDelegate& Done)
		{
			struct FCase
			{
				EQuarnTransportResult Result;
				const TCHAR* Code;
			};
			TArray<TFunction<void(TFunction<void()>)>> Steps;
			for (const FCase& Case : {FCase{EQuarnTransportResult::ConnectionFailed, TEXT("network_error")}, FCase{EQuarnTransportResult::TimedOut, TEXT("timeout")}, FCase{EQuarnTransportResult::Cancelled, TEXT("cancelled")}})
			{
				const FString Code = Case.Code;
				const EQuarnTransportResult Result = Case.Result;
				Steps.Add(Exchange([Result](FScriptedTransport& T) { T.Fail(Result); }, [this, Code](const FOutcome& Outcome)
				{
					TestFalse(*(TEXT("ok for ") + Code), Outcome.bOk);
					TestEqualSensitive(TEXT("code"), Outcome.Error.Code, Code);
					TestEqual(*(TEXT("status for ") + Code), Outcome.Error.HttpStatus, 0);
					TestFalse(*(TEXT("message for ") + Code), Outcome.Error.Message.IsEmpty());
				}));
			}
			RunInOrder(MoveTemp(Steps), [Done]() { Done.Execute(); });
		});
	});

	Describe(TEXT("Completion"), [this]()
	{
		LatentIt(TEXT("an answer from inside Send arrives on a later frame"), [this](const FDoneDelegate& Done)
		{
			FQuarnHttpResponse Immediate;
			Immediate.Result = EQuarnTransportResult::ConnectionFailed;
			Transport().ImmediateAnswer = Immediate;
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FOutcome::Into(Outcome));
			TestEqual(TEXT("completions from inside Send (the caller must not be re-entered)"), Outcome->Calls, 0);
			AfterFrames(3, [this, Outcome, Done]()
			{
				TestEqual(TEXT("completions"), Outcome->Calls, 1);
				TestTrue(TEXT("on the game thread"), Outcome->bOnGameThread);
				Done.Execute();
			});
		});

		LatentIt(TEXT("a transport answering twice completes once"), [this](const FDoneDelegate& Done)
		{
			FQuarnHttpResponse Immediate;
			Immediate.Result = EQuarnTransportResult::Answered;
			Immediate.StatusCode = 200;
			Immediate.Body = TEXT("{}");
			Transport().ImmediateAnswer = Immediate;
			Transport().bAnswerTwice = true;
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FOutcome::Into(Outcome));
			AfterFrames(5, [this, Outcome, Done]()
			{
				TestEqual(TEXT("completions"), Outcome->Calls, 1);
				TestTrue(TEXT("ok"), Outcome->bOk);
				Done.Execute();
			});
		});

		LatentIt(TEXT("an answer from another thread is delivered on the game thread"), [this](const FDoneDelegate& Done)
		{
			TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FOutcome::Into(Outcome));
			if (!TestEqual(TEXT("pending requests"), Transport().Pending.Num(), 1))
			{
				Done.Execute();
				return;
			}
			FScriptedTransport::FPending Pending = MoveTemp(Transport().Pending[0]);
			Transport().Pending.Reset();
			QuarnClientTests::FAnswerFromWorker Answer(Pending);
			FRunnableThread* const Worker = FRunnableThread::Create(&Answer, TEXT("QuarnClientTestWorker"));
			if (!TestNotNull(TEXT("worker thread"), Worker))
			{
				Done.Execute();
				return;
			}
			Worker->WaitForCompletion();
			delete Worker;
			TestEqual(TEXT("completions before the next frame"), Outcome->Calls, 0);
			FOutcome* const Recorded = &Outcome.Get();
			Outcome->Then = [this, Recorded, Done]()
			{
				TestTrue(TEXT("on the game thread"), Recorded->bOnGameThread);
				TestTrue(TEXT("ok"), Recorded->bOk);
				Done.Execute();
			};
		});

		LatentIt(TEXT("the access token never reaches the log"), [this](const FDoneDelegate& Done)
		{
			const FString Token = TEXT("secret-token-5f1e");
			const ELogVerbosity::Type SavedVerbosity = LogQuarn.GetVerbosity();
			LogQuarn.SetVerbosity(ELogVerbosity::VeryVerbose);
			TSharedRef<FLogLines> Lines = MakeShared<FLogLines>();
			TSharedRef<FOutcome> Ok = MakeShared<FOutcome>();
			TSharedRef<FOutcome> Refused = MakeShared<FOutcome>();
			TSharedRef<FOutcome> Insecure = MakeShared<FOutcome>();
			// The refusal of plain HTTP is logged as a warning, once; this case provokes it.
			AddExpectedError(TEXT("refused: Refusing to send requests"), EAutomationExpectedErrorFlags::Contains, 1);
			FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/sessions"), TEXT("{}"), Token, TEXT("k"), FOutcome::Into(Ok));
			Transport().Answer(200, TEXT("{\"access_token\":\"other\"}"));
			FQuarnClient::Send(TEXT("POST"), TEXT("/v1/x"), TEXT("{}"), Token, FString(), FOutcome::Into(Refused));
			Transport().Answer(401, TEXT("{\"error\":{\"code\":\"unauthorized\",\"message\":\"m\",\"hint\":\"h\"}}"));
			GetMutableDefault<UQuarnSettings>()->BaseUrl = TEXT("http://example.com");
			FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), Token, FString(), FOutcome::Into(Insecure));
			AfterFrames(3, [this, Lines, Ok, Refused, Insecure, Token, SavedVerbosity, Done]()
			{
				TestEqual(TEXT("completions"), Ok->Calls + Refused->Calls + Insecure->Calls, 3);
				TestTrue(TEXT("the client logs its requests at VeryVerbose"), Lines->AnyContains(TEXT("/v1/game/sessions")));
				TestFalse(TEXT("the token appears in the log"), Lines->AnyContains(Token));
				LogQuarn.SetVerbosity(SavedVerbosity);
				Done.Execute();
			});
		});
	});

	Describe(TEXT("BaseAddress"), [this]()
	{
		LatentIt(TEXT("plain HTTP is refused unless loopback or allowed"), [this](const FDoneDelegate& Done)
		{
			struct FCase
			{
				const TCHAR* Base;
				bool bAllowInsecure;
				const TCHAR* Code;
			};
			const FCase Cases[] = {
				{TEXT("https://api.example.com"), false, TEXT("")},
				{TEXT("HTTPS://api.example.com/base"), false, TEXT("")},
				{TEXT("http://127.0.0.1:8080"), false, TEXT("")},
				{TEXT("http://127.12.0.1"), false, TEXT("")},
				{TEXT("http://localhost:1"), false, TEXT("")},
				{TEXT("http://[::1]:9000"), false, TEXT("")},
				{TEXT("http://example.com"), false, TEXT("insecure_base_address")},
				{TEXT("http://127.0.0.1.evil.com"), false, TEXT("insecure_base_address")},
				{TEXT("http://127.0.0.1@evil.com"), false, TEXT("insecure_base_address")},
				{TEXT("http://128.0.0.1"), false, TEXT("insecure_base_address")},
				{TEXT("http://example.com"), true, TEXT("")},
				{TEXT(""), false, TEXT("no_base_address")},
				{TEXT("   "), false, TEXT("no_base_address")},
				{TEXT("ftp://example.com"), false, TEXT("invalid_base_address")},
				{TEXT("https://"), false, TEXT("invalid_base_address")},
				{TEXT("example.com"), true, TEXT("invalid_base_address")},
			};
			// Each refused address is logged once as a warning.
			AddExpectedError(TEXT("GET /v1/x refused: "), EAutomationExpectedErrorFlags::Contains, 9);
			TArray<TFunction<void(TFunction<void()>)>> Steps;
			for (const FCase& Case : Cases)
			{
				const FString Base = Case.Base;
				const FString Code = Case.Code;
				const bool bAllowInsecure = Case.bAllowInsecure;
				Steps.Add([this, Base, Code, bAllowInsecure](TFunction<void()> Next)
				{
					UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
					Settings->BaseUrl = Base;
					Settings->bAllowInsecureHttp = bAllowInsecure;
					Transport().Sent.Reset();
					Transport().Pending.Reset();
					TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
					FOutcome* const Recorded = &Outcome.Get();
					Outcome->Then = [this, Recorded, Base, Code, Next]()
					{
						TestEqualSensitive(*(TEXT("error code for '") + Base + TEXT("'")), Recorded->Error.Code, Code);
						TestEqual(*(TEXT("completions for '") + Base + TEXT("'")), Recorded->Calls, 1);
						Next();
					};
					FQuarnClient::Send(TEXT("GET"), TEXT("/v1/x"), FString(), FString(), FString(), FOutcome::Into(Outcome));
					TestEqual(*(TEXT("requests sent for '") + Base + TEXT("'")), Transport().Sent.Num(), Code.IsEmpty() ? 1 : 0);
					if (Transport().Pending.Num() > 0)
					{
						Transport().Answer(200, TEXT("{}"));
					}
				});
			}
			RunInOrder(MoveTemp(Steps), [Done]() { Done.Execute(); });
		});

		It(TEXT("counts only ASCII digits as an address's digits"), [this]()
		{
			TestTrue(TEXT("127.0.0.1"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0.0.1")));
			TestTrue(TEXT("127.255.255.255"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.255.255.255")));
			TestFalse(TEXT("an octet above 255"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0.0.256")));
			TestFalse(TEXT("a sign"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0.0.+1")));
			TestFalse(TEXT("an empty octet"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0..1")));
			TestFalse(TEXT("four digits"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0.0.0001")));
			// Digits of other scripts (Arabic-Indic, fullwidth, Devanagari) are not decimal digits of a
			// host name, whatever the platform's wide-character tests say of them.
			TestFalse(TEXT("Arabic-Indic one"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0.0.\u0661")));
			TestFalse(TEXT("fullwidth one"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0.0.\uFF11")));
			TestFalse(TEXT("Devanagari one in the first octet"), QuarnBaseAddress::IsLoopbackHost(TEXT("12\u096D.0.0.1")));
			TestFalse(TEXT("superscript one"), QuarnBaseAddress::IsLoopbackHost(TEXT("127.0.0.\u00B9")));
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
