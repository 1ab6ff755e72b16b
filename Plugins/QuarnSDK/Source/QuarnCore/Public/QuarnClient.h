// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include "QuarnTypes.h"

class FJsonObject;
class IQuarnTransport;

/**
 * Called once per request, on the game thread. With bOk true, Json is a valid object; with bOk
 * false, Error says what went wrong and Json is null.
 */
using FQuarnResponseCallback = TFunction<void(bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)>;

/**
 * The service client: every request to the platform goes through here.
 *
 * The URL is the settings' base address followed by the path. Requests carry JSON, the player's
 * access token as a bearer token when one is given, and an idempotency key when one is given, so
 * that the platform applies a retried change only once. Failures of every kind (no connection, a
 * time-out, a refusal, an answer that is not a JSON object) arrive as an FQuarnError.
 */
class QUARNCORE_API FQuarnClient
{
public:
	static void Send(const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnResponseCallback OnComplete);

	/** A new key on every call, for one change and all retries of it. */
	static FString NewIdempotencyKey();

	/** Sends through another transport from now on; null restores the engine HTTP transport. */
	static void SetTransport(TSharedPtr<IQuarnTransport> Transport);

	/** The transport requests go through. */
	static TSharedRef<IQuarnTransport> GetTransport();

	/** Percent-encodes what cannot stand in a URL path, keeping "/". */
	static FString EncodePath(const FString& Path);
};
