// Copyright Quarn. All Rights Reserved.

#include "QuarnSubsystem.h"
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
	if (AccessToken.IsEmpty())
	{
		AccessTokens.Remove(PlayerId);
	}
	else
	{
		AccessTokens.Add(PlayerId, AccessToken);
	}
}

bool UQuarnSubsystem::IsPlayerAuthenticated(const FString& PlayerId) const
{
	return !GetAccessToken(PlayerId).IsEmpty();
}

void UQuarnSubsystem::Deinitialize()
{
	AccessTokens.Empty();
	Super::Deinitialize();
}
