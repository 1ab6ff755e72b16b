// Copyright Quarn. All Rights Reserved.

// Against the platform the project's settings name (Project Settings > Plugins > Quarn SDK, Base
// Url): a player signs in and reads back a stash whose kind needs encoding in the path. Skipped,
// with a warning that says why, when no address is set or nothing answers there.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

BEGIN_DEFINE_SPEC(FQuarnPlatformSpec, "Quarn.Core.Platform", QuarnTests::TestFlags)

	/** True when the platform cannot be reached, after saying so; the case then ends as skipped. */
	bool SkipIfUnreachable(const FQuarnError& Error, const FDoneDelegate& Done)
	{
		if (Error.Code == TEXT("network_error") || Error.Code == TEXT("timeout") || Error.Code == TEXT("no_base_address"))
		{
			AddWarning(FString::Printf(TEXT("Skipped: no platform answers at '%s' (%s). Set Base Url in the Quarn SDK settings to run this test."), *UQuarnSettings::Get()->BaseUrl, *Error.Code));
			Done.Execute();
			return true;
		}
		return false;
	}

END_DEFINE_SPEC(FQuarnPlatformSpec)

void FQuarnPlatformSpec::Define()
{
	LatentIt(TEXT("signs a player in and reads back a container by its encoded id"), FTimespan::FromSeconds(60), [this](const FDoneDelegate& Done)
	{
		// The client's own transport: real HTTP to the configured address.
		FQuarnClient::SetTransport(nullptr);
		if (UQuarnSettings::Get()->BaseUrl.TrimStartAndEnd().IsEmpty())
		{
			AddWarning(TEXT("Skipped: no platform address is set. Set Base Url in the Quarn SDK settings to run this test."));
			Done.Execute();
			return;
		}
		FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/sessions"), TEXT("{\"provider\": \"anonymous\", \"ticket\": \"quarn_automation\"}"), FString(), FQuarnClient::NewIdempotencyKey(),
			[this, Done](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			if (SkipIfUnreachable(Error, Done))
			{
				return;
			}
			const TSharedPtr<FJsonObject>* Tokens = nullptr;
			FString Token;
			if (!TestTrue(*FString::Printf(TEXT("signed in (%s: %s)"), *Error.Code, *Error.Message), bOk && Json.IsValid() && Json->TryGetObjectField(TEXT("tokens"), Tokens) && (*Tokens)->TryGetStringField(TEXT("access_token"), Token)))
			{
				Done.Execute();
				return;
			}
			// A kind with a space and a character beyond U+FFFF: the id must survive the path.
			const FString Body = TEXT("{\"kind\": \"automation box \U0001F4E6\", \"layout\": \"slots\", \"slot_count\": 4}");
			FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/containers/ensure"), Body, Token, FQuarnClient::NewIdempotencyKey(),
				[this, Done, Token](bool bEnsured, TSharedPtr<FJsonObject> Container, const FQuarnError& EnsureError)
			{
				FString Id;
				if (!TestTrue(*FString::Printf(TEXT("ensured (%s: %s)"), *EnsureError.Code, *EnsureError.Message), bEnsured && Container.IsValid() && Container->TryGetStringField(TEXT("id"), Id)))
				{
					Done.Execute();
					return;
				}
				FQuarnClient::Send(TEXT("GET"), FString(TEXT("/v1/game/containers/")) + Id, FString(), Token, FString(),
					[this, Done, Id](bool bRead, TSharedPtr<FJsonObject> ReadBack, const FQuarnError& ReadError)
				{
					FString ReadId;
					TestTrue(*FString::Printf(TEXT("read back (%s: %s)"), *ReadError.Code, *ReadError.Message), bRead && ReadBack.IsValid() && ReadBack->TryGetStringField(TEXT("id"), ReadId));
					TestEqualSensitive(TEXT("container id"), ReadId, Id);
					Done.Execute();
				});
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
