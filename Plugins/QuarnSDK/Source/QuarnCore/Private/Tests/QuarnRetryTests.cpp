// Copyright Quarn. All Rights Reserved.

// The engine transport's retries, through the engine's HTTP module: a change that carries an
// idempotency key is sent again after a connection that could not be made, with the same key; one
// without a key is sent once. The address is a loopback port nothing listens on.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnHttpTransport.h"
#include "QuarnSettings.h"

using namespace QuarnTests;

namespace QuarnRetryTests
{
	const TCHAR* const Refused = TEXT("http://127.0.0.1:1");

	/** Lines of the engine's retry manager, at whatever verbosity they reached the log. */
	int32 RetryLines(const FLogLines& Log)
	{
		int32 Count = 0;
		for (const ELogVerbosity::Type Verbosity : {ELogVerbosity::Warning, ELogVerbosity::Log, ELogVerbosity::Display, ELogVerbosity::Verbose})
		{
			Count += Log.Count(FString(TEXT(" on ")) + Refused + TEXT("/v1/game/inventory/grant"), Verbosity);
		}
		return Count;
	}
}

BEGIN_DEFINE_SPEC(FQuarnRetrySpec, "Quarn.Core.Retry", QuarnTests::TestFlags)
	FString SavedBaseUrl;
	float SavedTimeout = 10.0f;
END_DEFINE_SPEC(FQuarnRetrySpec)

void FQuarnRetrySpec::Define()
{
	using namespace QuarnRetryTests;

	BeforeEach([this]()
	{
		UQuarnSettings* const Settings = GetMutableDefault<UQuarnSettings>();
		SavedBaseUrl = Settings->BaseUrl;
		SavedTimeout = Settings->RequestTimeoutSeconds;
		Settings->BaseUrl = Refused;
		Settings->RequestTimeoutSeconds = 5.0f;
		FQuarnClient::SetTransport(nullptr);
		// The engine's retry manager warns on each retry and while retries raise its verbosity.
		AddExpectedError(TEXT("Retry"), EAutomationExpectedErrorFlags::Contains, -1);
		// And the HTTP module on each attempt that could not connect.
		AddExpectedError(TEXT("request failed"), EAutomationExpectedErrorFlags::Contains, -1);
		AddExpectedError(TEXT("completed with reason"), EAutomationExpectedErrorFlags::Contains, -1);
	});

	AfterEach([this]()
	{
		UQuarnSettings* const Settings = GetMutableDefault<UQuarnSettings>();
		Settings->BaseUrl = SavedBaseUrl;
		Settings->RequestTimeoutSeconds = SavedTimeout;
	});

	LatentIt(TEXT("sends a keyed POST again after a refused connection, at most three times"), FTimespan::FromSeconds(40), [this](const FDoneDelegate& Done)
	{
		const TSharedRef<FLogLines> Log = MakeShared<FLogLines>();
		const TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/inventory/grant"), TEXT("{\"item_id\":\"Bandage\"}"), TEXT("tok"), TEXT("key-retried"), FOutcome::Into(Outcome));
		Await(*this, TEXT("the keyed POST to give up"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Log, Outcome, Done]()
		{
			TestEqual(TEXT("callbacks"), Outcome->Calls, 1);
			TestEqualSensitive(TEXT("code"), Outcome->Error.Code, FString(TEXT("network_error")));
			TestEqual(TEXT("retries"), RetryLines(*Log), static_cast<int32>(FQuarnHttpTransport::MaxRetries));
			Done.Execute();
		}, 30.0);
	});

	LatentIt(TEXT("sends a POST without a key once"), FTimespan::FromSeconds(40), [this](const FDoneDelegate& Done)
	{
		const TSharedRef<FLogLines> Log = MakeShared<FLogLines>();
		const TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/inventory/grant"), TEXT("{\"item_id\":\"Bandage\"}"), TEXT("tok"), FString(), FOutcome::Into(Outcome));
		Await(*this, TEXT("the POST to fail"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Log, Outcome, Done]()
		{
			TestEqualSensitive(TEXT("code"), Outcome->Error.Code, FString(TEXT("network_error")));
			TestEqual(TEXT("retries"), RetryLines(*Log), 0);
			Done.Execute();
		}, 30.0);
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
