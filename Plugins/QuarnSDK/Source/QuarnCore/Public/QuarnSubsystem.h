// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Subsystems/GameInstanceSubsystem.h"
#include "QuarnSubsystem.generated.h"

/**
 * Holds the access tokens of the players signed in through this game instance. Tokens live only in
 * memory, as long as the game instance, and are never written to a log.
 */
UCLASS()
class QUARNCORE_API UQuarnSubsystem : public UGameInstanceSubsystem
{
	GENERATED_BODY()

public:
	/** The subsystem of the game instance that owns the context's world, or null. */
	static UQuarnSubsystem* Get(const UObject* WorldContextObject);

	/** The player's access token; empty when the player has not signed in through this game instance. */
	FString GetAccessToken(const FString& PlayerId) const;

	/** Remembers a player's token, replacing an earlier one. An empty token forgets the player. */
	void SetAccessToken(const FString& PlayerId, const FString& AccessToken);

	/** True when a token is held for the player. */
	UFUNCTION(BlueprintPure, Category = "Velmora|Identity")
	bool IsPlayerAuthenticated(const FString& PlayerId) const;

	virtual void Deinitialize() override;

private:
	TMap<FString, FString> AccessTokens;
};
