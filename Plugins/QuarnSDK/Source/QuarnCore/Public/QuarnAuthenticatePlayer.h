// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintAsyncActionBase.h"
#include "Templates/SharedPointer.h"
#include "QuarnTypes.h"
#include "QuarnAuthenticatePlayer.generated.h"

class FJsonObject;

DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FQuarnAuthenticatePlayerPin, const FQuarnPlayer&, Player, const FQuarnError&, Error);

/**
 * Signs a player in with an identity provider's ticket and keeps the access token in the game
 * instance's Quarn subsystem, where the other Quarn nodes find it. The subsystem also keeps the
 * provider and ticket, in memory only, to renew the token when it expires.
 */
UCLASS()
class QUARNCORE_API UQuarnAuthenticatePlayer : public UBlueprintAsyncActionBase
{
	GENERATED_BODY()

public:
	/** The platform signed the player in; the player's token is now held by the game instance. */
	UPROPERTY(BlueprintAssignable)
	FQuarnAuthenticatePlayerPin OnSuccess;

	/** The sign-in failed; Error says why. */
	UPROPERTY(BlueprintAssignable)
	FQuarnAuthenticatePlayerPin OnFailure;

	/**
	 * Signs a player in.
	 * @param Provider  The identity provider, such as steam; anonymous is accepted only by development platforms.
	 * @param Ticket    The provider's ticket; for anonymous, the identifier to claim.
	 */
	UFUNCTION(BlueprintCallable, Category = "Velmora|Identity", meta = (BlueprintInternalUseOnly = "true", WorldContext = "WorldContextObject", DisplayName = "Quarn - Authenticate Player"))
	static UQuarnAuthenticatePlayer* AuthenticatePlayer(UObject* WorldContextObject, const FString& Provider, const FString& Ticket);

	virtual void Activate() override;

private:
	void HandleResponse(bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error);
	void Finish(bool bSucceeded, const FQuarnPlayer& Player, const FQuarnError& Error);

	/** The world context the node was placed in; reflected so that the collector sees it. */
	UPROPERTY()
	TObjectPtr<UObject> Context;

	FString RequestedProvider;
	FString RequestedTicket;
	bool bActivated = false;
	bool bFinished = false;
};
