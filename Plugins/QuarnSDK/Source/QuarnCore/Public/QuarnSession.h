// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include "UObject/WeakObjectPtr.h"
#include "QuarnClient.h"
#include "QuarnTypes.h"

/**
 * One signed-in player's session with the platform: the access token in use, when it expires, and
 * the provider and ticket that signed the player in, so that the session can sign in again by
 * itself. Provider and ticket live only here, in memory; they are never logged or saved.
 *
 * The last tokens the session has held are known to the service client: a request sent with one
 * of them, for the session's game instance, goes through the session, which renews the token
 * shortly before it expires, and again when the platform answers "token_expired", and then sends
 * the request once more with the same method, path, body and idempotency key. One renewal runs at a time; requests that need it meanwhile wait.
 *
 * The owner (the game instance's subsystem, a stash panel) holds the only strong reference.
 * Dropping it forgets the session: its tokens are no longer routed, and requests still waiting for
 * a renewal fail with "not_authenticated".
 */
class QUARNCORE_API FQuarnSession : public TSharedFromThis<FQuarnSession>
{
public:
	/** The session has a new token. */
	using FRenewed = TFunction<void(const FString& AccessToken)>;
	/** Renewal failed; the session holds no token any more. Error says why and what to do. */
	using FExpired = TFunction<void(const FQuarnError& Error)>;

	/** A session with no token yet; Start gives it one. The callbacks run on the game thread. */
	static TSharedRef<FQuarnSession> Create(const FString& PlayerId, FRenewed OnRenewed, FExpired OnExpired);

	/**
	 * A session that belongs to the game instance of OwnerContext (a game instance, or any object
	 * in one of its worlds): its tokens are routed for requests sent with a context of that game
	 * instance only, so that a token handed to another instance has no session there.
	 */
	static TSharedRef<FQuarnSession> Create(const UObject* OwnerContext, const FString& PlayerId, FRenewed OnRenewed, FExpired OnExpired);

	~FQuarnSession();

	/**
	 * Takes the token of a sign-in. ExpiresInSeconds is the platform's "expires_in"; 0 or less when
	 * it sent none, and then the token is renewed only when the platform says it expired.
	 */
	void Start(const FString& AccessToken, double ExpiresInSeconds, const FString& Provider, const FString& Ticket);

	const FString& GetPlayerId() const { return PlayerId; }

	/** The token in use; empty before Start and after the session expired. */
	const FString& GetAccessToken() const { return AccessToken; }

	/** Seconds until the token expires; 0 without a token, -1 when the platform gave no lifetime. */
	double GetSecondsLeft() const;

	/** Sign-ins the session made by itself, over its life. */
	int32 GetRenewalCount() const { return Renewals; }

	/** Requests the session has sent, its own sign-ins included, that have no answer yet. */
	int32 GetRequestsInFlight() const { return RequestsInFlight; }

	/** Requests held until the session has a new token. */
	int32 GetRequestsWaiting() const { return Waiting.Num(); }

	/** True when the session remembers a ticket, so that it can sign in again by itself. */
	bool CanRenew() const { return !Provider.IsEmpty(); }

	/**
	 * Treats the token as expired from now on, so that the next request renews it first, as after
	 * its real expiry. For trying the renewal in a running game (Quarn.ExpireToken).
	 */
	void TreatTokenAsExpired();

	/**
	 * The service client's hook, on the game thread: when AccessToken belongs to a session of the
	 * sender's game instance, the session takes the request (OnComplete is moved from) with its
	 * reader, if any, and true is returned. bHasContext says whether the sender named a context;
	 * Owner is its game instance (null when it has none). A request sent without a context is
	 * served by the session without an owner that holds the token, or else by the sessions of the one game
	 * instance that holds it. Requests the session sends itself pass straight through.
	 */
	static bool Route(bool bHasContext, const TWeakObjectPtr<const UObject>& Owner, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, const TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe>& Reader, FQuarnResponseCallback& OnComplete);

	/** The game instance a context belongs to (the context itself when it is one), or null; game thread only. */
	static TWeakObjectPtr<const UObject> OwnerOf(const UObject* Context);

	/** Sign-ins made by every session of the process, for tools that report them. */
	static int64 GetTotalRenewals();

	/** The renewal margin for a token lifetime: 10% of it, at least 5 s, never more than half of it. */
	static double RenewalMargin(double LifetimeSeconds);

	FQuarnSession(const FQuarnSession&) = delete;
	FQuarnSession& operator=(const FQuarnSession&) = delete;

private:
	struct FRequest;

	FQuarnSession(const TWeakObjectPtr<const UObject>& InOwner, const FString& InPlayerId, FRenewed InOnRenewed, FExpired InOnExpired);

	/** Sends past the routing table, so that the session's own requests are not handed back to it. */
	static void SendDirect(const FString& Method, const FString& Path, const FString& Body, const FString& InAccessToken, const FString& IdempotencyKey, const TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe>& Reader, FQuarnResponseCallback OnComplete);

	void Submit(const TSharedRef<FRequest>& Request);
	void SendNow(const TSharedRef<FRequest>& Request);
	void HandleAnswer(const TSharedRef<FRequest>& Request, bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error);
	bool NeedsRenewal() const;
	bool HasTokenExpired() const;
	void Renew();
	void SendSignIn();
	void HandleSignIn(bool bOk, const TSharedPtr<FJsonObject>& Json, const FQuarnError& Error);
	void RenewalFailed(const FQuarnError& Error);
	void FlushWaiting();
	void Expire(const FQuarnError& Cause);
	void Register(const FString& Token);
	void Unregister(const FString& Token);
	void UnregisterAll();

	/** The game instance whose requests this session serves; null for a session of no game instance. */
	TWeakObjectPtr<const UObject> Owner;
	FString PlayerId;
	FString AccessToken;
	FString Provider;
	FString Ticket;
	/** Every token this session has held, oldest first; each is routed here. */
	TArray<FString> KnownTokens;
	/** FPlatformTime seconds at which the token expires; 0 when unknown. */
	double ExpiresAt = 0.0;
	double Lifetime = 0.0;
	/** After an early renewal failed while the token still held, the next try waits until then. */
	double RetryRenewalAt = 0.0;
	bool bRenewing = false;
	/** Set when the renewal started because the platform refused the token, or past its expiry. */
	bool bTokenKnownExpired = false;
	int32 Attempt = 0;
	int32 Renewals = 0;
	int32 RequestsInFlight = 0;
	/** Sign-ins made before the one now in flight, so that an answer to a stale one is ignored. */
	int32 SignInSerial = 0;
	TArray<TSharedRef<FRequest>> Waiting;
	FRenewed OnRenewed;
	FExpired OnExpired;
};
