// Copyright Quarn. All Rights Reserved.

#include "QuarnConsoleCommands.h"
#include "QuarnLog.h"
#include "QuarnSession.h"
#include "QuarnSubsystem.h"
#include "Engine/GameInstance.h"
#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"
#include "UObject/UObjectIterator.h"

namespace QuarnConsoleCommands
{
	/** Quarn.LogRequests; the console, DefaultEngine.ini's [ConsoleVariables] or the command line set it. */
	static int32 GLogRequests = 0;

	/** What Register added, removed again by Unregister. */
	static TArray<IConsoleObject*>& Registered()
	{
		static TArray<IConsoleObject*> Objects;
		return Objects;
	}

	static FString Describe(const UQuarnSubsystem& Subsystem)
	{
		const UGameInstance* const GameInstance = Subsystem.GetGameInstance();
		return GameInstance != nullptr ? GameInstance->GetName() : FString(TEXT("(no game instance)"));
	}

	/** Every live subsystem, in the order the object array holds them. */
	static TArray<UQuarnSubsystem*> Subsystems()
	{
		TArray<UQuarnSubsystem*> Result;
		for (TObjectIterator<UQuarnSubsystem> It; It; ++It)
		{
			if (IsValid(*It) && It->GetGameInstance() != nullptr)
			{
				Result.Add(*It);
			}
		}
		return Result;
	}

	static FString DescribePlayer(const UQuarnSubsystem& Subsystem, const FString& PlayerId)
	{
		const TSharedPtr<FQuarnSession> Session = Subsystem.FindSession(PlayerId);
		if (!Session.IsValid())
		{
			return FString::Printf(TEXT("  %s: token set by hand, no session to renew it"), *PlayerId);
		}
		const double SecondsLeft = Session->GetSecondsLeft();
		const FString Left = SecondsLeft < 0.0 ? FString(TEXT("no lifetime given")) : FString::Printf(TEXT("%.0f s left"), SecondsLeft);
		return FString::Printf(TEXT("  %s: %s, %d renewals, %d in flight, %d waiting%s"), *PlayerId, *Left, Session->GetRenewalCount(),
			Session->GetRequestsInFlight(), Session->GetRequestsWaiting(), Session->CanRenew() ? TEXT("") : TEXT(", no ticket to renew with"));
	}

	static void Status(const TArray<FString>& Args, FOutputDevice& Ar)
	{
		int32 Players = 0;
		for (const UQuarnSubsystem* Subsystem : Subsystems())
		{
			TArray<FString> PlayerIds = Subsystem->GetAuthenticatedPlayerIds();
			if (PlayerIds.IsEmpty())
			{
				continue;
			}
			PlayerIds.Sort();
			Ar.Logf(TEXT("%s: %d signed in"), *Describe(*Subsystem), PlayerIds.Num());
			for (const FString& PlayerId : PlayerIds)
			{
				Ar.Log(DescribePlayer(*Subsystem, PlayerId));
			}
			Players += PlayerIds.Num();
		}
		if (Players == 0)
		{
			Ar.Logf(TEXT("No player is signed in."));
		}
	}

#if !UE_BUILD_SHIPPING
	static void ExpireToken(const TArray<FString>& Args, FOutputDevice& Ar)
	{
		const FString Wanted = Args.Num() > 0 ? Args[0] : FString();
		int32 Matched = 0;
		for (const UQuarnSubsystem* Subsystem : Subsystems())
		{
			for (const FString& PlayerId : Subsystem->GetAuthenticatedPlayerIds())
			{
				if (!Wanted.IsEmpty() && !PlayerId.Equals(Wanted, ESearchCase::CaseSensitive))
				{
					continue;
				}
				++Matched;
				const TSharedPtr<FQuarnSession> Session = Subsystem->FindSession(PlayerId);
				if (!Session.IsValid() || !Session->CanRenew())
				{
					Ar.Logf(TEXT("%s in %s has no ticket to renew with; left as it is."), *PlayerId, *Describe(*Subsystem));
					continue;
				}
				Session->TreatTokenAsExpired();
				Ar.Logf(TEXT("The token of %s in %s counts as expired; the next request renews it."), *PlayerId, *Describe(*Subsystem));
			}
		}
		if (Matched == 0)
		{
			Ar.Logf(TEXT("%s"), Wanted.IsEmpty() ? TEXT("No player is signed in.") : *FString::Printf(TEXT("No signed-in player %s."), *Wanted));
		}
	}
#endif

	void Register()
	{
		IConsoleManager& Console = IConsoleManager::Get();
		TArray<IConsoleObject*>& Objects = Registered();
		Objects.Add(Console.RegisterConsoleCommand(TEXT("Quarn.Status"),
			TEXT("Lists each signed-in player of each game instance: seconds left on the token, renewals, requests in flight and waiting for a new token."),
			FConsoleCommandWithArgsAndOutputDeviceDelegate::CreateStatic(&Status)));
#if !UE_BUILD_SHIPPING
		Objects.Add(Console.RegisterConsoleCommand(TEXT("Quarn.ExpireToken"),
			TEXT("Quarn.ExpireToken [PlayerId]: the player's session (every signed-in player's without an id) treats its token as expired, so the next request renews it first."),
			FConsoleCommandWithArgsAndOutputDeviceDelegate::CreateStatic(&ExpireToken)));
#endif
		Objects.Add(Console.RegisterConsoleVariableRef(TEXT("Quarn.LogRequests"), GLogRequests,
			TEXT("1: one Display line per finished platform request (method, path, status, code, request id, attempts, milliseconds). 0: off."),
			ECVF_Default));
	}

	void Unregister()
	{
		for (IConsoleObject* Object : Registered())
		{
			// Not kept: a kept variable would point into this module's memory after it unloads.
			IConsoleManager::Get().UnregisterConsoleObject(Object, false);
		}
		Registered().Reset();
	}

	bool IsRequestLogOn()
	{
		return GLogRequests != 0;
	}

	void LogFinishedRequest(const FString& Verb, const FString& Path, int32 Status, const FString& Code, const FString& RequestId, int32 Attempts, double Milliseconds)
	{
		if (!IsRequestLogOn())
		{
			return;
		}
		UE_LOG(LogQuarn, Display, TEXT("%s %s status=%d code=%s request_id=%s attempts=%d ms=%.0f"), *Verb, *Path, Status,
			Code.IsEmpty() ? TEXT("-") : *Code, RequestId.IsEmpty() ? TEXT("-") : *RequestId, Attempts, Milliseconds);
	}
}
