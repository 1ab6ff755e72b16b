// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"

/** One HTTP exchange as the service client hands it to a transport. */
struct FQuarnHttpRequest
{
	/** Upper-case method, such as "POST". */
	FString Verb;
	/** Absolute URL, already percent-encoded. */
	FString Url;
	/** Header names and values, in the order they are sent. */
	TArray<TPair<FString, FString>> Headers;
	/** UTF-8 JSON text; empty for a request without a body. */
	FString Body;
	/** Seconds before the request is abandoned; 0 leaves the transport's default. */
	float TimeoutSeconds = 0.0f;

	/** The value of a header, compared without regard to case; empty when absent. */
	QUARNCORE_API FString GetHeader(const FString& Name) const;
};

/** How a transport ended an exchange. */
enum class EQuarnTransportResult : uint8
{
	/** An HTTP answer arrived, whatever its status. */
	Answered,
	/** No connection could be made, or it broke before an answer arrived. */
	ConnectionFailed,
	/** No answer arrived within the time-out. */
	TimedOut,
	/** The request was cancelled before it finished. */
	Cancelled,
};

/** What came back. */
struct FQuarnHttpResponse
{
	EQuarnTransportResult Result = EQuarnTransportResult::ConnectionFailed;
	/** HTTP status; 0 unless Result is Answered. */
	int32 StatusCode = 0;
	/** The body as text. */
	FString Body;
	/**
	 * The body as the UTF-8 bytes that arrived, from a transport that leaves turning them into text
	 * to the client, which does it away from the game thread. Read only when Body is empty.
	 */
	TSharedPtr<const TArray<uint8>, ESPMode::ThreadSafe> Content;
	/** The platform's X-Request-Id header, when it sent one. */
	FString RequestId;
	/** Times the transport sent the request: more than 1 after retries. */
	int32 Attempts = 1;
	/** Seconds the platform asked the caller to wait before coming back (Retry-After); 0 when it named none. */
	float RetryAfterSeconds = 0.0f;
};

using FQuarnTransportCallback = TFunction<void(const FQuarnHttpResponse& Response)>;

/**
 * What the service client sends through. The default sends with the engine's HTTP module; tests
 * and tools install their own to answer requests themselves.
 *
 * A transport calls OnDone exactly once per Send, and never from inside Send. The engine's HTTP
 * transport calls it on the game thread; the client accepts an answer on any thread.
 */
class IQuarnTransport
{
public:
	virtual ~IQuarnTransport() = default;

	virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) = 0;
};
