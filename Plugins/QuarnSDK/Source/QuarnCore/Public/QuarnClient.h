// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Async/Async.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include "UObject/WeakObjectPtr.h"
#include "QuarnTypes.h"

class FJsonObject;
class IQuarnTransport;

/**
 * Called once per request, on the game thread. With bOk true, Json is a valid object; with bOk
 * false, Error says what went wrong and Json is null.
 */
using FQuarnResponseCallback = TFunction<void(bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)>;

/**
 * Reads a successful answer into the caller's own records. It may run on a worker thread, so it
 * may touch no UObject and nothing that the game thread changes meanwhile; what it needs it captures
 * by value or through a thread-safe shared pointer.
 */
using FQuarnAnswerReader = TFunction<void(const FJsonObject& Json)>;

/** Called once per request, on the game thread: after the reader has run when bOk is true, else with Error filled. */
using FQuarnReadCallback = TFunction<void(bool bOk, const FQuarnError& Error)>;

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
	/**
	 * May be called on any thread: a request sent from another thread goes out from the game
	 * thread on its next frame. A request sent with a token of a session is served by that session
	 * (renewed and resent once when the token expires); with a world context, only by a session
	 * of the context's game instance. Without one, only a token that a single game instance holds
	 * is served.
	 */
	static void Send(const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnResponseCallback OnComplete);

	/** Send on behalf of WorldContextObject's game instance, whose sessions alone serve its token. */
	static void Send(const UObject* WorldContextObject, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnResponseCallback OnComplete);

	/**
	 * Sends as Send does, then turns a successful answer into records: for an answer of at least
	 * OffThreadAnswerSize the body is decoded and parsed, Reader runs and the JSON tree is freed on
	 * a worker, and OnComplete follows once on the game thread, which receives records, not a tree
	 * to walk. A shorter answer is read on the game thread when it arrives. Reader may therefore
	 * run on either thread. Retries, time-outs and every failure are those of Send; a failure
	 * never runs Reader.
	 */
	static void SendWithReader(const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnAnswerReader Reader, FQuarnReadCallback OnComplete);

	/** SendWithReader on behalf of WorldContextObject's game instance. */
	static void SendWithReader(const UObject* WorldContextObject, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnAnswerReader Reader, FQuarnReadCallback OnComplete);

	/**
	 * SendWithReader for a reader that returns one record: OnComplete gets what Reader returned,
	 * or a default record when the request failed, and may move out of it; what it leaves is
	 * freed on a worker.
	 */
	template <typename RecordType>
	static void SendAndRead(const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, TFunction<RecordType(const FJsonObject& Json)> Reader, TFunction<void(bool bOk, RecordType& Record, const FQuarnError& Error)> OnComplete)
	{
		SendAndRead<RecordType>(nullptr, Method, Path, Body, AccessToken, IdempotencyKey, MoveTemp(Reader), MoveTemp(OnComplete));
	}

	/** SendAndRead on behalf of WorldContextObject's game instance (none when null). */
	template <typename RecordType>
	static void SendAndRead(const UObject* WorldContextObject, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, TFunction<RecordType(const FJsonObject& Json)> Reader, TFunction<void(bool bOk, RecordType& Record, const FQuarnError& Error)> OnComplete)
	{
		// Written on the worker, then read on the game thread once the worker has handed over.
		const TSharedRef<RecordType, ESPMode::ThreadSafe> Record = MakeShared<RecordType, ESPMode::ThreadSafe>();
		SendWithReader(WorldContextObject, Method, Path, Body, AccessToken, IdempotencyKey,
			[Reader = MoveTemp(Reader), Record](const FJsonObject& Json)
			{
				*Record = Reader(Json);
			},
			[OnComplete = MoveTemp(OnComplete), Record](bool bOk, const FQuarnError& Error)
			{
				OnComplete(bOk, *Record, Error);
				// Whatever the caller left in the record is freed on a worker, outside the frame.
				AsyncTask(ENamedThreads::AnyBackgroundThreadNormalTask, [Leftover = MoveTemp(*Record)]()
				{
				});
			});
	}

	/** A new key on every call, for one change and all retries of it. */
	static FString NewIdempotencyKey();

	/** Sends through another transport from now on; null restores the engine HTTP transport. */
	static void SetTransport(TSharedPtr<IQuarnTransport> Transport);

	/** The transport requests go through. */
	static TSharedRef<IQuarnTransport> GetTransport();

	/** Percent-encodes what cannot stand in a URL path, keeping "/". */
	static FString EncodePath(const FString& Path);

	/**
	 * Answers at least this long (characters, or bytes as they arrived) are parsed on a worker, by
	 * Send as well as by SendWithReader. Shorter ones (sign-ins, transactions, small containers,
	 * about 75 stacks) cost less to parse than to hand over, and complete as they arrive.
	 */
	static constexpr int32 OffThreadAnswerSize = 16 * 1024;

private:
	/** Sessions send their callers' requests again, readers included. */
	friend class FQuarnSession;

	/** Context is the sender's world context when bHasContext; a session's own requests have none. */
	static void SendRequest(bool bHasContext, const TWeakObjectPtr<const UObject>& Context, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe> Reader, FQuarnResponseCallback OnComplete);
};
