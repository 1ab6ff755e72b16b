// Copyright Quarn. All Rights Reserved.

#include "QuarnAuthenticatePlayer.h"
#include "QuarnClient.h"
#include "QuarnErrorLibrary.h"
#include "QuarnJsonBody.h"
#include "QuarnLog.h"
#include "QuarnSubsystem.h"
#include "Dom/JsonObject.h"
#include "UObject/Package.h"

UQuarnAuthenticatePlayer* UQuarnAuthenticatePlayer::AuthenticatePlayer(UObject* WorldContextObject, const FString& Provider, const FString& Ticket)
{
	UQuarnAuthenticatePlayer* Action = NewObject<UQuarnAuthenticatePlayer>(GetTransientPackage());
	Action->Context = WorldContextObject;
	Action->RequestedProvider = Provider;
	Action->RequestedTicket = Ticket;
	Action->RegisterWithGameInstance(WorldContextObject);
	return Action;
}

void UQuarnAuthenticatePlayer::Activate()
{
	if (bActivated)
	{
		return;
	}
	bActivated = true;

	// The token has to live somewhere the other nodes can find it; without a game instance there is
	// no point signing in.
	if (UQuarnSubsystem::Get(Context) == nullptr)
	{
		const FQuarnError Error = UQuarnErrorLibrary::MakePluginError(TEXT("no_game_instance"), 0, TEXT("This world context has no game instance to keep the player's access token."));
		Finish(false, FQuarnPlayer(), Error);
		return;
	}

	const TSharedRef<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("provider"), RequestedProvider);
	Body->SetStringField(TEXT("ticket"), RequestedTicket);

	TWeakObjectPtr<UQuarnAuthenticatePlayer> WeakThis(this);
	FQuarnClient::Send(TEXT("POST"), TEXT("/v1/game/sessions"), QuarnJsonBody::Write(Body), FString(), FString(),
		[WeakThis](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			if (UQuarnAuthenticatePlayer* Action = WeakThis.Get())
			{
				Action->HandleResponse(bOk, MoveTemp(Json), Error);
			}
		});
}

void UQuarnAuthenticatePlayer::HandleResponse(bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
{
	if (!bOk || !Json.IsValid())
	{
		Finish(false, FQuarnPlayer(), Error);
		return;
	}

	FQuarnPlayer Player;
	FString AccessToken;
	double ExpiresInSeconds = 0.0;
	const TSharedPtr<FJsonObject>* PlayerObject = nullptr;
	if (Json->TryGetObjectField(TEXT("player"), PlayerObject) && PlayerObject && PlayerObject->IsValid())
	{
		(*PlayerObject)->TryGetStringField(TEXT("id"), Player.PlayerId);
	}
	const TSharedPtr<FJsonObject>* Tokens = nullptr;
	if (Json->TryGetObjectField(TEXT("tokens"), Tokens) && Tokens && Tokens->IsValid())
	{
		(*Tokens)->TryGetStringField(TEXT("access_token"), AccessToken);
		(*Tokens)->TryGetNumberField(TEXT("expires_in"), ExpiresInSeconds);
	}

	UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(Context);
	if (Player.PlayerId.IsEmpty() || AccessToken.IsEmpty() || Subsystem == nullptr)
	{
		FQuarnError Missing;
		Missing.HttpStatus = 200;
		Missing.Code = TEXT("bad_response");
		Missing.Message = Subsystem == nullptr
			? TEXT("The game instance went away while the player was signing in.")
			: TEXT("The platform signed the player in but sent no player id or no access token.");
		Finish(false, FQuarnPlayer(), Missing);
		return;
	}

	// The provider and ticket stay with the session so that it can sign in again when the token expires.
	Subsystem->StartSession(Player.PlayerId, AccessToken, ExpiresInSeconds, RequestedProvider, RequestedTicket);
	UE_LOG(LogQuarn, Verbose, TEXT("Signed in player %s"), *Player.PlayerId);
	Finish(true, Player, FQuarnError());
}

void UQuarnAuthenticatePlayer::Finish(bool bSucceeded, const FQuarnPlayer& Player, const FQuarnError& Error)
{
	if (bFinished)
	{
		return;
	}
	bFinished = true;
	if (bSucceeded)
	{
		OnSuccess.Broadcast(Player, Error);
	}
	else
	{
		OnFailure.Broadcast(Player, Error);
	}
	SetReadyToDestroy();
}
