// Copyright Quarn. All Rights Reserved.

#include "QuarnSyncConsoleCommands.h"
#include "QuarnContainerSyncPolicy.h"
#include "QuarnContainerSyncSubsystem.h"
#include "Engine/GameInstance.h"
#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"
#include "UObject/UObjectIterator.h"

namespace QuarnSyncConsoleCommands
{
	static IConsoleObject* StatusCommand = nullptr;

	static FString Describe(const FQuarnContainerSyncStatus& Status)
	{
		FString Line = FString::Printf(TEXT("  %s / %s: %s, version %lld"), *Status.PlayerId, *Status.ContainerId,
			QuarnContainerSyncPolicy::StateName(Status.State), static_cast<long long>(Status.SyncedVersion));
		if (Status.bHasUnsentChanges)
		{
			Line += TEXT(", changes not sent yet");
		}
		if (Status.FailedAttempts > 0)
		{
			Line += FString::Printf(TEXT(", %d failed in a row"), Status.FailedAttempts);
		}
		if (!Status.LastError.Code.IsEmpty() || Status.LastError.HttpStatus != 0)
		{
			// The code and status only: a message may quote what the platform was sent.
			Line += FString::Printf(TEXT(", last error %s (HTTP %d)"),
				Status.LastError.Code.IsEmpty() ? TEXT("-") : *Status.LastError.Code, Status.LastError.HttpStatus);
		}
		return Line;
	}

	static void Status(const TArray<FString>& Args, FOutputDevice& Ar)
	{
		int32 Containers = 0;
		for (TObjectIterator<UQuarnContainerSyncSubsystem> It; It; ++It)
		{
			const UGameInstance* const GameInstance = IsValid(*It) ? It->GetGameInstance() : nullptr;
			if (GameInstance == nullptr)
			{
				continue;
			}
			TArray<FQuarnContainerSyncStatus> Statuses = It->GetAllSyncStatuses();
			if (Statuses.IsEmpty())
			{
				continue;
			}
			Statuses.Sort([](const FQuarnContainerSyncStatus& A, const FQuarnContainerSyncStatus& B)
			{
				return A.PlayerId != B.PlayerId ? A.PlayerId < B.PlayerId : A.ContainerId < B.ContainerId;
			});
			Ar.Logf(TEXT("%s: %d kept in sync"), *GameInstance->GetName(), Statuses.Num());
			for (const FQuarnContainerSyncStatus& ContainerStatus : Statuses)
			{
				Ar.Log(Describe(ContainerStatus));
			}
			Containers += Statuses.Num();
		}
		if (Containers == 0)
		{
			Ar.Logf(TEXT("No container is kept in sync."));
		}
	}

	void Register()
	{
		if (StatusCommand == nullptr)
		{
			StatusCommand = IConsoleManager::Get().RegisterConsoleCommand(TEXT("Quarn.Sync.Status"),
				TEXT("Lists each container that Keep Container In Sync looks after, per game instance: its state, the version last synced, unsent changes, failures in a row and the last error's code."),
				FConsoleCommandWithArgsAndOutputDeviceDelegate::CreateStatic(&Status));
		}
	}

	void Unregister()
	{
		if (StatusCommand != nullptr)
		{
			IConsoleManager::Get().UnregisterConsoleObject(StatusCommand, false);
			StatusCommand = nullptr;
		}
	}
}
