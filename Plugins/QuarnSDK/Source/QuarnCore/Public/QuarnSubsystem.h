// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Subsystems/GameInstanceSubsystem.h"
#include "Templates/SharedPointer.h"
#include "UObject/WeakObjectPtr.h"
#include "QuarnTypes.h"
#include "QuarnSubsystem.generated.h"

class FQuarnSession;

DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FQuarnSessionExpired, const FString&, PlayerId, const FQuarnError&, Error);

/**
 * Holds the sessions of the players signed in through this game instance. Tokens, and the tickets
 * that renew them, live only in memory, as long as the game instance, and are never written to a
 * log. A session signed in with Quarn - Authenticate Player renews its token by itself.
 */
UCLASS()
class QUARNCORE_API UQuarnSubsystem : public UGameInstanceSubsystem
{
	GENERATED_BODY()

public:
	/**
	 * A player's token expired and signing in again with the remembered ticket failed (the ticket
	 * was refused, or the platform stayed unreachable). The player is signed out; requests that
	 * waited fail with "token_expired". Sign the player in again with a fresh ticket.
	 */
	UPROPERTY(BlueprintAssignable, Category = "Velmora|Identity")
	FQuarnSessionExpired OnSessionExpired;

	/** The subsystem of the game instance that owns the context's world, or null. */
	static UQuarnSubsystem* Get(const UObject* WorldContextObject);

	/** The player's access token; empty when the player has not signed in through this game instance. */
	FString GetAccessToken(const FString& PlayerId) const;

	/**
	 * Remembers a player's token, replacing an earlier one, without a way to renew it. An empty
	 * token forgets the player.
	 */
	void SetAccessToken(const FString& PlayerId, const FString& AccessToken);

	/**
	 * Remembers a sign-in: the token, its lifetime in seconds (the platform's "expires_in"; 0 when
	 * unknown) and the provider and ticket that renew it when it expires.
	 */
	void StartSession(const FString& PlayerId, const FString& AccessToken, double ExpiresInSeconds, const FString& Provider, const FString& Ticket);

	/** True when a token is held for the player. */
	UFUNCTION(BlueprintPure, Category = "Velmora|Identity")
	bool IsPlayerAuthenticated(const FString& PlayerId) const;

	/**
	 * Seconds until the player's token expires: 0 when the player is not signed in, -1 when the
	 * platform gave no lifetime. A session renews itself before this reaches 0.
	 */
	UFUNCTION(BlueprintPure, Category = "Velmora|Identity")
	float GetTokenSecondsLeft(const FString& PlayerId) const;

	/** Forgets the player's token and ticket; requests waiting for a new token fail. */
	UFUNCTION(BlueprintCallable, Category = "Velmora|Identity")
	void SignOut(const FString& PlayerId);

	/** The players holding a token in this game instance, for tools that report them. */
	TArray<FString> GetAuthenticatedPlayerIds() const;

	/** The player's session; null when the player is not signed in or holds a token set by hand. */
	TSharedPtr<FQuarnSession> FindSession(const FString& PlayerId) const;

	virtual void Deinitialize() override;

private:
	void HandleSessionExpired(const FString& PlayerId, const FQuarnError& Error);

	TMap<FString, FString> AccessTokens;
	TMap<FString, TSharedPtr<FQuarnSession>> Sessions;
};
