// Copyright Quarn. All Rights Reserved.

#include "QuarnSession.h"
#include "QuarnCoreStats.h"
#include "QuarnErrorLibrary.h"
#include "QuarnJsonBody.h"
#include "QuarnLog.h"
#include "Containers/Ticker.h"
#include "Dom/JsonObject.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "HAL/PlatformTime.h"
#include "Templates/UnrealTemplate.h"

/** A request the session sends for its caller, kept whole so that it can go out a second time. */
struct FQuarnSession::FRequest
{
	FString Method;
	FString Path;
	FString Body;
	FString IdempotencyKey;
	/** The caller's reader of a successful answer; null for a plain Send. */
	TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe> Reader;
	FQuarnResponseCallback OnComplete;
	/** The token it last went out with. */
	FString SentToken;
	/** It already met "token_expired" once; a second time is final. */
	bool bResent = false;

	void Complete(bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
	{
		if (OnComplete)
		{
			FQuarnResponseCallback Callback = MoveTemp(OnComplete);
			OnComplete = nullptr;
			Callback(bOk, MoveTemp(Json), Error);
		}
	}
};

namespace QuarnSession
{
	/** Sign-in attempts of one renewal when the platform cannot be reached or fails. */
	constexpr int32 MaxAttempts = 5;
	/** Tokens of one session kept in the routing table, the newest ones; a caller rarely holds an older one. */
	constexpr int32 MaxKnownTokens = 8;

	/** A session that holds a token, and the game instance it serves. */
	struct FRoute
	{
		TWeakObjectPtr<const UObject> Owner;
		TWeakPtr<FQuarnSession> Session;
	};

	/**
	 * Every token a session holds, to the sessions holding it, oldest first: one per game instance
	 * as a rule, but two sessions may be started with one handed-over token, and neither may stop
	 * the other's routing when it ends.
	 */
	static TMap<FString, TArray<FRoute>>& Registry()
	{
		static TMap<FString, TArray<FRoute>> Sessions;
		return Sessions;
	}

	/** True while a session sends a request itself, so that the client does not hand it back. */
	static bool& PassingThrough()
	{
		static bool bPassing = false;
		return bPassing;
	}

	static int64& TotalRenewals()
	{
		static int64 Count = 0;
		return Count;
	}



	static bool IsTokenExpired(const FQuarnError& Error)
	{
		return Error.HttpStatus == 401 && Error.Code.Equals(TEXT("token_expired"), ESearchCase::CaseSensitive);
	}

	/** No answer, or the platform failing or busy: worth another attempt. A refusal is not. */
	static bool IsTransient(const FQuarnError& Error)
	{
		return (Error.HttpStatus == 0 && !Error.Code.Equals(TEXT("cancelled"), ESearchCase::CaseSensitive))
			|| Error.HttpStatus == 429 || Error.HttpStatus >= 500;
	}

	static FQuarnError ExpiredError(const FQuarnError& Cause)
	{
		FQuarnError Error = UQuarnErrorLibrary::MakePluginError(TEXT("token_expired"), 401,
			FString::Printf(TEXT("The player's access token expired and signing in again failed (%s)."), Cause.Code.IsEmpty() ? TEXT("no answer") : *Cause.Code));
		Error.RequestId = Cause.RequestId;
		return Error;
	}

	/** Runs on the game thread at the next tick, so that nobody is called back from inside their own call. */
	static void Later(TFunction<void()> Work, float DelaySeconds = 0.0f)
	{
		FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([Work = MoveTemp(Work)](float)
		{
			Work();
			return false;
		}), DelaySeconds);
	}
}

TSharedRef<FQuarnSession> FQuarnSession::Create(const FString& PlayerId, FRenewed OnRenewed, FExpired OnExpired)
{
	return MakeShareable(new FQuarnSession(nullptr, PlayerId, MoveTemp(OnRenewed), MoveTemp(OnExpired)));
}

TSharedRef<FQuarnSession> FQuarnSession::Create(const UObject* OwnerContext, const FString& PlayerId, FRenewed OnRenewed, FExpired OnExpired)
{
	return MakeShareable(new FQuarnSession(OwnerOf(OwnerContext), PlayerId, MoveTemp(OnRenewed), MoveTemp(OnExpired)));
}

TWeakObjectPtr<const UObject> FQuarnSession::OwnerOf(const UObject* Context)
{
	if (Context == nullptr)
	{
		return nullptr;
	}
	if (const UGameInstance* GameInstance = Cast<UGameInstance>(Context))
	{
		return GameInstance;
	}
	const UWorld* World = GEngine ? GEngine->GetWorldFromContextObject(Context, EGetWorldErrorMode::ReturnNull) : nullptr;
	return World ? World->GetGameInstance() : nullptr;
}

FQuarnSession::FQuarnSession(const TWeakObjectPtr<const UObject>& InOwner, const FString& InPlayerId, FRenewed InOnRenewed, FExpired InOnExpired)
	: Owner(InOwner)
	, PlayerId(InPlayerId)
	, OnRenewed(MoveTemp(InOnRenewed))
	, OnExpired(MoveTemp(InOnExpired))
{
}

FQuarnSession::~FQuarnSession()
{
	UnregisterAll();
	if (Waiting.Num() > 0)
	{
		// Signed out, or the owner went away, while these waited for a new token.
		const FQuarnError Error = UQuarnErrorLibrary::MakePluginError(TEXT("not_authenticated"), 0, TEXT("The player signed out while the request waited for a new access token."));
		TArray<TSharedRef<FRequest>> Abandoned = MoveTemp(Waiting);
		QuarnSession::Later([Abandoned, Error]()
		{
			for (const TSharedRef<FRequest>& Request : Abandoned)
			{
				Request->Complete(false, nullptr, Error);
			}
		});
	}
}

void FQuarnSession::Start(const FString& InAccessToken, double ExpiresInSeconds, const FString& InProvider, const FString& InTicket)
{
	if (InAccessToken.IsEmpty())
	{
		return;
	}
	AccessToken = InAccessToken;
	Provider = InProvider;
	Ticket = InTicket;
	Lifetime = ExpiresInSeconds > 0.0 ? ExpiresInSeconds : 0.0;
	ExpiresAt = Lifetime > 0.0 ? FPlatformTime::Seconds() + Lifetime : 0.0;
	RetryRenewalAt = 0.0;
	Register(AccessToken);

	if (bRenewing)
	{
		// The owner signed in by hand while a renewal ran: its token serves the waiting requests,
		// and the renewal's answer, when it comes, is ignored.
		bRenewing = false;
		++SignInSerial;
		FlushWaiting();
	}
}

double FQuarnSession::GetSecondsLeft() const
{
	if (AccessToken.IsEmpty())
	{
		return 0.0;
	}
	if (ExpiresAt <= 0.0)
	{
		return -1.0;
	}
	return FMath::Max(ExpiresAt - FPlatformTime::Seconds(), 0.0);
}

void FQuarnSession::TreatTokenAsExpired()
{
	if (AccessToken.IsEmpty())
	{
		return;
	}
	ExpiresAt = FPlatformTime::Seconds();
	RetryRenewalAt = 0.0;
}

double FQuarnSession::RenewalMargin(double LifetimeSeconds)
{
	return FMath::Max(LifetimeSeconds * 0.1, FMath::Min(5.0, LifetimeSeconds * 0.5));
}

int64 FQuarnSession::GetTotalRenewals()
{
	return QuarnSession::TotalRenewals();
}

bool FQuarnSession::Route(bool bHasContext, const TWeakObjectPtr<const UObject>& RequestOwner, const FString& Method, const FString& Path, const FString& Body, const FString& InAccessToken, const FString& IdempotencyKey, const TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe>& Reader, FQuarnResponseCallback& OnComplete)
{
	// The client hands every request over on the game thread, which alone reads the table and
	// the pass-through flag.
	check(IsInGameThread());
	if (QuarnSession::PassingThrough() || InAccessToken.IsEmpty())
	{
		return false;
	}
	TArray<QuarnSession::FRoute>* Routes = QuarnSession::Registry().Find(InAccessToken);
	if (Routes == nullptr)
	{
		return false;
	}
	Routes->RemoveAll([](const QuarnSession::FRoute& Route)
	{
		const TSharedPtr<FQuarnSession> Held = Route.Session.Pin();
		return !Held.IsValid() || Held->AccessToken.IsEmpty();
	});

	TSharedPtr<FQuarnSession> Session;
	for (const QuarnSession::FRoute& Route : *Routes)
	{
		if (Route.Owner == RequestOwner)
		{
			Session = Route.Session.Pin();
			break;
		}
	}
	if (!Session.IsValid() && !bHasContext && Routes->Num() > 0)
	{
		// No context to tell the game instances apart: served only when one game instance holds it.
		const TWeakObjectPtr<const UObject> FirstOwner = (*Routes)[0].Owner;
		const bool bOneOwner = !Routes->ContainsByPredicate([&FirstOwner](const QuarnSession::FRoute& Route) { return !(Route.Owner == FirstOwner); });
		if (bOneOwner)
		{
			Session = (*Routes)[0].Session.Pin();
		}
	}
	if (Routes->Num() == 0)
	{
		QuarnSession::Registry().Remove(InAccessToken);
	}
	if (!Session.IsValid())
	{
		return false;
	}

	const TSharedRef<FRequest> Request = MakeShared<FRequest>();
	Request->Method = Method;
	Request->Path = Path;
	Request->Body = Body;
	Request->IdempotencyKey = IdempotencyKey;
	Request->Reader = Reader;
	Request->OnComplete = MoveTemp(OnComplete);
	OnComplete = nullptr;
	Session->Submit(Request);
	return true;
}

void FQuarnSession::SendDirect(const FString& Method, const FString& Path, const FString& Body, const FString& InAccessToken, const FString& IdempotencyKey, const TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe>& Reader, FQuarnResponseCallback OnComplete)
{
	TGuardValue<bool> Guard(QuarnSession::PassingThrough(), true);
	FQuarnClient::SendRequest(false, nullptr, Method, Path, Body, InAccessToken, IdempotencyKey, Reader, MoveTemp(OnComplete));
}

bool FQuarnSession::HasTokenExpired() const
{
	return ExpiresAt > 0.0 && FPlatformTime::Seconds() >= ExpiresAt;
}

bool FQuarnSession::NeedsRenewal() const
{
	if (ExpiresAt <= 0.0 || Provider.IsEmpty())
	{
		return false;
	}
	const double Now = FPlatformTime::Seconds();
	return Now >= ExpiresAt - RenewalMargin(Lifetime) && (Now >= RetryRenewalAt || Now >= ExpiresAt);
}

void FQuarnSession::Submit(const TSharedRef<FRequest>& Request)
{
	if (bRenewing)
	{
		Waiting.Add(Request);
		return;
	}
	if (NeedsRenewal())
	{
		Waiting.Add(Request);
		bTokenKnownExpired = HasTokenExpired();
		Renew();
		return;
	}
	SendNow(Request);
}

void FQuarnSession::SendNow(const TSharedRef<FRequest>& Request)
{
	Request->SentToken = AccessToken;
	const TWeakPtr<FQuarnSession> WeakThis = AsShared();
	++RequestsInFlight;
	SendDirect(Request->Method, Request->Path, Request->Body, AccessToken, Request->IdempotencyKey, Request->Reader,
		[WeakThis, Request](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			if (const TSharedPtr<FQuarnSession> Session = WeakThis.Pin())
			{
				--Session->RequestsInFlight;
				Session->HandleAnswer(Request, bOk, MoveTemp(Json), Error);
			}
			else
			{
				Request->Complete(bOk, MoveTemp(Json), Error);
			}
		});
}

void FQuarnSession::HandleAnswer(const TSharedRef<FRequest>& Request, bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
{
	if (bOk || !QuarnSession::IsTokenExpired(Error))
	{
		Request->Complete(bOk, MoveTemp(Json), Error);
		return;
	}
	if (Request->bResent || AccessToken.IsEmpty())
	{
		// Once is enough: a token that expires again at once is not worth a loop.
		Request->Complete(false, nullptr, QuarnSession::ExpiredError(Error));
		return;
	}

	// The platform applied nothing under an expired token, so the same request with the same key
	// may go again once the session holds a good one.
	Request->bResent = true;
	if (Request->SentToken != AccessToken)
	{
		SendNow(Request);
		return;
	}
	Waiting.Add(Request);
	bTokenKnownExpired = true;
	Renew();
}

void FQuarnSession::Renew()
{
	if (bRenewing)
	{
		return;
	}
	if (Provider.IsEmpty())
	{
		FQuarnError Error;
		Error.Code = TEXT("no_ticket");
		Expire(Error);
		return;
	}
	bRenewing = true;
	Attempt = 0;
	SendSignIn();
}

void FQuarnSession::SendSignIn()
{
	++Attempt;
	const int32 Serial = ++SignInSerial;
	const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("provider"), Provider);
	Body->SetStringField(TEXT("ticket"), Ticket);
	const TWeakPtr<FQuarnSession> WeakThis = AsShared();
	++RequestsInFlight;
	SendDirect(TEXT("POST"), TEXT("/v1/game/sessions"), QuarnJsonBody::Write(Body), FString(), FString(), nullptr,
		[WeakThis, Serial](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			const TSharedPtr<FQuarnSession> Session = WeakThis.Pin();
			if (Session.IsValid())
			{
				--Session->RequestsInFlight;
			}
			if (Session.IsValid() && Session->bRenewing && Session->SignInSerial == Serial)
			{
				Session->HandleSignIn(bOk, Json, Error);
			}
		});
}

void FQuarnSession::HandleSignIn(bool bOk, const TSharedPtr<FJsonObject>& Json, const FQuarnError& Error)
{
	FString NewToken;
	FString NewPlayerId;
	double ExpiresIn = 0.0;
	if (bOk && Json.IsValid())
	{
		const TSharedPtr<FJsonObject>* Tokens = nullptr;
		if (Json->TryGetObjectField(TEXT("tokens"), Tokens) && Tokens != nullptr && Tokens->IsValid())
		{
			(*Tokens)->TryGetStringField(TEXT("access_token"), NewToken);
			(*Tokens)->TryGetNumberField(TEXT("expires_in"), ExpiresIn);
		}
		const TSharedPtr<FJsonObject>* Player = nullptr;
		if (Json->TryGetObjectField(TEXT("player"), Player) && Player != nullptr && Player->IsValid())
		{
			(*Player)->TryGetStringField(TEXT("id"), NewPlayerId);
		}
	}

	if (!bOk)
	{
		// Only a token that no longer holds is worth waiting for; an early renewal falls back to it.
		const bool bMustRenew = bTokenKnownExpired || HasTokenExpired();
		if (QuarnSession::IsTransient(Error) && bMustRenew && Attempt < QuarnSession::MaxAttempts)
		{
			// 0.25 s, 0.5 s, 1 s, 2 s: long enough for a platform that restarts.
			const float Delay = 0.125f * static_cast<float>(1 << FMath::Min(Attempt, 5));
			const TWeakPtr<FQuarnSession> WeakThis = AsShared();
			const int32 Serial = SignInSerial;
			QuarnSession::Later([WeakThis, Serial]()
			{
				const TSharedPtr<FQuarnSession> Session = WeakThis.Pin();
				if (Session.IsValid() && Session->bRenewing && Session->SignInSerial == Serial)
				{
					Session->SendSignIn();
				}
			}, Delay);
			return;
		}
		RenewalFailed(Error);
		return;
	}

	// Another player's token would write into someone else's inventory: never take it.
	if (NewToken.IsEmpty() || (!NewPlayerId.IsEmpty() && !NewPlayerId.Equals(PlayerId, ESearchCase::CaseSensitive)))
	{
		FQuarnError Wrong;
		Wrong.HttpStatus = 200;
		Wrong.Code = TEXT("bad_response");
		Wrong.RequestId = Error.RequestId;
		Expire(Wrong);
		return;
	}

	const TSharedRef<FQuarnSession> Self = AsShared();
	bRenewing = false;
	bTokenKnownExpired = false;
	++Renewals;
	++QuarnSession::TotalRenewals();
	INC_DWORD_STAT(STAT_QuarnRenewals);
	Start(NewToken, ExpiresIn, Provider, Ticket);
	UE_LOG(LogQuarn, Log, TEXT("Renewed the session of player %s; the new token lasts %.0f s."), *PlayerId, ExpiresIn);
	if (OnRenewed)
	{
		const FRenewed Callback = OnRenewed;
		Callback(AccessToken);
	}
	FlushWaiting();
}

void FQuarnSession::RenewalFailed(const FQuarnError& Error)
{
	if (QuarnSession::IsTransient(Error) && !bTokenKnownExpired && !HasTokenExpired())
	{
		// Renewing early failed, but the token still holds: use it, and try again in a while.
		bRenewing = false;
		RetryRenewalAt = FPlatformTime::Seconds() + 1.0;
		UE_LOG(LogQuarn, Warning, TEXT("Could not renew the session of player %s yet (%s); its token still holds for %.0f s."), *PlayerId, *Error.Code, GetSecondsLeft());
		FlushWaiting();
		return;
	}
	Expire(Error);
}

void FQuarnSession::FlushWaiting()
{
	TArray<TSharedRef<FRequest>> Ready = MoveTemp(Waiting);
	Waiting.Reset();
	for (const TSharedRef<FRequest>& Request : Ready)
	{
		SendNow(Request);
	}
}

void FQuarnSession::Expire(const FQuarnError& Cause)
{
	// The owner usually drops the session from its handler; it lives until this returns.
	const TSharedRef<FQuarnSession> Self = AsShared();
	bRenewing = false;
	++SignInSerial;
	UnregisterAll();
	AccessToken.Reset();
	Provider.Reset();
	Ticket.Reset();
	ExpiresAt = 0.0;

	const FQuarnError Expired = QuarnSession::ExpiredError(Cause);
	// Only the code: a refusal's message may quote what was sent.
	UE_LOG(LogQuarn, Warning, TEXT("The session of player %s expired and could not be renewed (http=%d code=%s). %s"), *PlayerId, Cause.HttpStatus, *Cause.Code, *UQuarnErrorLibrary::GetDeveloperAdvice(Expired));
	if (OnExpired)
	{
		const FExpired Callback = OnExpired;
		Callback(Expired);
	}
	TArray<TSharedRef<FRequest>> Failed = MoveTemp(Waiting);
	Waiting.Reset();
	for (const TSharedRef<FRequest>& Request : Failed)
	{
		Request->Complete(false, nullptr, Expired);
	}
}

void FQuarnSession::Register(const FString& Token)
{
	if (KnownTokens.Contains(Token))
	{
		return;
	}
	KnownTokens.Add(Token);
	QuarnSession::FRoute Route;
	Route.Owner = Owner;
	Route.Session = AsShared();
	QuarnSession::Registry().FindOrAdd(Token).Add(MoveTemp(Route));
	while (KnownTokens.Num() > QuarnSession::MaxKnownTokens)
	{
		Unregister(KnownTokens[0]);
		KnownTokens.RemoveAt(0);
	}
}

void FQuarnSession::Unregister(const FString& Token)
{
	TMap<FString, TArray<QuarnSession::FRoute>>& Sessions = QuarnSession::Registry();
	if (TArray<QuarnSession::FRoute>* Routes = Sessions.Find(Token))
	{
		// Only this session's route, and those of sessions already gone: another session may hold
		// the same token.
		Routes->RemoveAll([this](const QuarnSession::FRoute& Route)
		{
			return !Route.Session.IsValid() || Route.Session.HasSameObject(this);
		});
		if (Routes->Num() == 0)
		{
			Sessions.Remove(Token);
		}
	}
}

void FQuarnSession::UnregisterAll()
{
	for (const FString& Token : KnownTokens)
	{
		Unregister(Token);
	}
	KnownTokens.Reset();
}
