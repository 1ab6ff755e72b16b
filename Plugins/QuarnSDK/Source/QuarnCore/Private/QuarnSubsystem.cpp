// Copyright Quarn. All Rights Reserved.

#include "QuarnSubsystem.h"
#include "QuarnSession.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"

UQuarnSubsystem* UQuarnSubsystem::Get(const UObject* WorldContextObject)
{
	if (WorldContextObject == nullptr || GEngine == nullptr)
	{
		return nullptr;
	}
	const UWorld* World = GEngine->GetWorldFromContextObject(WorldContextObject, EGetWorldErrorMode::ReturnNull);
	return World ? UGameInstance::GetSubsystem<UQuarnSubsystem>(World->GetGameInstance()) : nullptr;
}

FString UQuarnSubsystem::GetAccessToken(const FString& PlayerId) const
{
	if (PlayerId.IsEmpty())
	{
		return FString();
	}
	const FString* Token = AccessTokens.Find(PlayerId);
	return Token ? *Token : FString();
}

void UQuarnSubsystem::SetAccessToken(const FString& PlayerId, const FString& AccessToken)
{
	if (PlayerId.IsEmpty())
	{
		return;
	}
	// A token handed over by hand comes without a ticket: an earlier session cannot renew it.
	Sessions.Remove(PlayerId);
	if (AccessToken.IsEmpty())
	{
		AccessTokens.Remove(PlayerId);
	}
	else
	{
		AccessTokens.Add(PlayerId, AccessToken);
	}
}

void UQuarnSubsystem::StartSession(const FString& PlayerId, const FString& AccessToken, double ExpiresInSeconds, const FString& Provider, const FString& Ticket)
{
	if (PlayerId.IsEmpty() || AccessToken.IsEmpty())
	{
		return;
	}
	TSharedPtr<FQuarnSession>& Session = Sessions.FindOrAdd(PlayerId);
	if (!Session.IsValid())
	{
		TWeakObjectPtr<UQuarnSubsystem> WeakThis(this);
		Session = FQuarnSession::Create(GetGameInstance(), PlayerId,
			[WeakThis, PlayerId](const FString& NewToken)
			{
				if (UQuarnSubsystem* Subsystem = WeakThis.Get())
				{
					Subsystem->AccessTokens.Add(PlayerId, NewToken);
				}
			},
			[WeakThis, PlayerId](const FQuarnError& Error)
			{
				if (UQuarnSubsystem* Subsystem = WeakThis.Get())
				{
					Subsystem->HandleSessionExpired(PlayerId, Error);
				}
			});
	}
	Session->Start(AccessToken, ExpiresInSeconds, Provider, Ticket);
	AccessTokens.Add(PlayerId, AccessToken);
}

void UQuarnSubsystem::HandleSessionExpired(const FString& PlayerId, const FQuarnError& Error)
{
	AccessTokens.Remove(PlayerId);
	Sessions.Remove(PlayerId);
	OnSessionExpired.Broadcast(PlayerId, Error);
}

bool UQuarnSubsystem::IsPlayerAuthenticated(const FString& PlayerId) const
{
	return !GetAccessToken(PlayerId).IsEmpty();
}

float UQuarnSubsystem::GetTokenSecondsLeft(const FString& PlayerId) const
{
	if (!IsPlayerAuthenticated(PlayerId))
	{
		return 0.0f;
	}
	const TSharedPtr<FQuarnSession>* Session = Sessions.Find(PlayerId);
	return (Session != nullptr && Session->IsValid()) ? static_cast<float>((*Session)->GetSecondsLeft()) : -1.0f;
}

void UQuarnSubsystem::SignOut(const FString& PlayerId)
{
	AccessTokens.Remove(PlayerId);
	Sessions.Remove(PlayerId);
}

TArray<FString> UQuarnSubsystem::GetAuthenticatedPlayerIds() const
{
	TArray<FString> PlayerIds;
	AccessTokens.GetKeys(PlayerIds);
	return PlayerIds;
}

TSharedPtr<FQuarnSession> UQuarnSubsystem::FindSession(const FString& PlayerId) const
{
	const TSharedPtr<FQuarnSession>* Session = Sessions.Find(PlayerId);
	return Session != nullptr ? *Session : nullptr;
}

void UQuarnSubsystem::Deinitialize()
{
	AccessTokens.Empty();
	Sessions.Empty();
	Super::Deinitialize();
}
