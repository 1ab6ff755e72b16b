// Copyright Quarn. All Rights Reserved.

#include "QuarnContainerSyncSubsystem.h"
#include "QuarnClient.h"
#include "QuarnContainerSyncEntry.h"
#include "QuarnContainerSyncPolicy.h"
#include "QuarnErrorLibrary.h"
#include "QuarnLog.h"
#include "QuarnReconcile.h"
#include "QuarnSettings.h"
#include "QuarnSubsystem.h"
#include "QuarnUSMEContainerReader.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"

using FEntryRef = TSharedRef<FQuarnContainerSyncEntry>;

namespace QuarnContainerSync
{
	// The status a game may put on screen; which node to call first is the code's advice to the
	// developer, in the stop's log line.
	static FQuarnError NotAuthenticated()
	{
		return UQuarnErrorLibrary::MakePluginError(TEXT("not_authenticated"), 0, TEXT("Player is not authenticated"));
	}

	static FQuarnUSMEContainerRead ReadDocument(const FJsonObject& Json)
	{
		return QuarnUSMEContainerReader::Read(Json);
	}
}

UQuarnContainerSyncSubsystem* UQuarnContainerSyncSubsystem::Get(const UObject* WorldContextObject)
{
	if (WorldContextObject == nullptr || GEngine == nullptr)
	{
		return nullptr;
	}
	const UWorld* World = GEngine->GetWorldFromContextObject(WorldContextObject, EGetWorldErrorMode::ReturnNull);
	return World ? UGameInstance::GetSubsystem<UQuarnContainerSyncSubsystem>(World->GetGameInstance()) : nullptr;
}

void UQuarnContainerSyncSubsystem::KeepContainerInSync(const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& Items)
{
	if (bEnded)
	{
		UE_LOG(LogQuarn, Warning, TEXT("Keep Container In Sync refused for container %s: the game instance has ended."), *ContainerId);
		return;
	}
	if (PlayerId.IsEmpty() || ContainerId.IsEmpty())
	{
		UE_LOG(LogQuarn, Warning, TEXT("Keep Container In Sync refused: it needs a player id and a container id (player \"%s\", container \"%s\")."), *PlayerId, *ContainerId);
		return;
	}

	const TPair<FString, FString> Key(PlayerId, ContainerId);
	TSharedPtr<FQuarnContainerSyncEntry>& Slot = Entries.FindOrAdd(Key);
	if (!Slot.IsValid())
	{
		Slot = MakeShared<FQuarnContainerSyncEntry>();
		Slot->Status.PlayerId = PlayerId;
		Slot->Status.ContainerId = ContainerId;
		Order.Add(Key);
	}
	const FEntryRef Entry = Slot.ToSharedRef();
	Entry->Latest = Items;
	++Entry->LatestCall;
	Entry->Status.bHasUnsentChanges = true;

	switch (Entry->Step)
	{
	case EQuarnContainerSyncStep::Idle:
		// In sync, or stopped: a new call is a new start, with every limit fresh.
		Entry->ConflictTries = 0;
		Entry->FailureTries = 0;
		Entry->bReadBackOnly = false;
		Entry->Step = EQuarnContainerSyncStep::Scheduled;
		ScheduleNext(Entry, 0.0);
		SetState(Entry, EQuarnContainerSyncState::Waiting);
		break;
	case EQuarnContainerSyncStep::Reading:
	case EQuarnContainerSyncStep::Sending:
	case EQuarnContainerSyncStep::ReadingBack:
		// Goes when the sync in flight ends; a later call replaces it.
		if (Entry->Status.State != EQuarnContainerSyncState::Waiting)
		{
			SetState(Entry, EQuarnContainerSyncState::Waiting);
		}
		break;
	case EQuarnContainerSyncStep::Scheduled:
	case EQuarnContainerSyncStep::BackingOff:
		// The next try takes the latest list; a back-off is kept, whatever the game does.
		break;
	}
}

FQuarnContainerSyncStatus UQuarnContainerSyncSubsystem::GetSyncStatus(const FString& PlayerId, const FString& ContainerId) const
{
	const TSharedPtr<FQuarnContainerSyncEntry>* Found = Entries.Find(TPair<FString, FString>(PlayerId, ContainerId));
	if (Found != nullptr && Found->IsValid())
	{
		return (*Found)->Status;
	}
	FQuarnContainerSyncStatus Unknown;
	Unknown.PlayerId = PlayerId;
	Unknown.ContainerId = ContainerId;
	return Unknown;
}

TArray<FQuarnContainerSyncStatus> UQuarnContainerSyncSubsystem::GetAllSyncStatuses() const
{
	TArray<FQuarnContainerSyncStatus> Result;
	Result.Reserve(Order.Num());
	for (const TPair<FString, FString>& Key : Order)
	{
		if (const TSharedPtr<FQuarnContainerSyncEntry>* Found = Entries.Find(Key))
		{
			Result.Add((*Found)->Status);
		}
	}
	return Result;
}

bool UQuarnContainerSyncSubsystem::AreAllContainersInSync() const
{
	for (const TPair<TPair<FString, FString>, TSharedPtr<FQuarnContainerSyncEntry>>& Pair : Entries)
	{
		if (Pair.Value->Status.State != EQuarnContainerSyncState::InSync)
		{
			return false;
		}
	}
	return true;
}

bool UQuarnContainerSyncSubsystem::IsAnyContainerStillTrying() const
{
	for (const TPair<TPair<FString, FString>, TSharedPtr<FQuarnContainerSyncEntry>>& Pair : Entries)
	{
		const EQuarnContainerSyncState State = Pair.Value->Status.State;
		if (State != EQuarnContainerSyncState::InSync && State != EQuarnContainerSyncState::Stopped)
		{
			return true;
		}
	}
	return false;
}

bool UQuarnContainerSyncSubsystem::IsCurrent(const FQuarnContainerSyncEntry& Entry, uint32 Step) const
{
	return !bEnded && Entry.StepSerial == Step;
}

void UQuarnContainerSyncSubsystem::CancelTimer(FQuarnContainerSyncEntry& Entry)
{
	if (Entry.Timer.IsValid())
	{
		FTSTicker::RemoveTicker(Entry.Timer);
	}
	Entry.Timer.Reset();
}

void UQuarnContainerSyncSubsystem::ScheduleNext(const FEntryRef& Entry, double DelaySeconds)
{
	CancelTimer(*Entry);
	const uint32 Step = ++Entry->StepSerial;
	const TWeakObjectPtr<UQuarnContainerSyncSubsystem> WeakThis(this);
	const TWeakPtr<FQuarnContainerSyncEntry> WeakEntry = Entry;
	Entry->Timer = FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([WeakThis, WeakEntry, Step](float)
	{
		UQuarnContainerSyncSubsystem* const This = WeakThis.Get();
		const TSharedPtr<FQuarnContainerSyncEntry> Pinned = WeakEntry.Pin();
		if (This != nullptr && Pinned.IsValid() && This->IsCurrent(*Pinned, Step))
		{
			Pinned->Timer.Reset();
			if (Pinned->bReadBackOnly && !Pinned->HasNewerList())
			{
				This->StartReadBack(Pinned.ToSharedRef());
			}
			else
			{
				This->StartSync(Pinned.ToSharedRef());
			}
		}
		return false;
	}), static_cast<float>(DelaySeconds));
}

void UQuarnContainerSyncSubsystem::StartSync(const FEntryRef& Entry)
{
	CancelTimer(*Entry);
	Entry->bReadBackOnly = false;

	// The token is taken for every sync: a player signed in again meanwhile is served with the
	// new one, and the session renews an expiring one on its own.
	const UQuarnSubsystem* const Core = UGameInstance::GetSubsystem<UQuarnSubsystem>(GetGameInstance());
	Entry->AccessToken = Core ? Core->GetAccessToken(Entry->Status.PlayerId) : FString();
	if (Entry->AccessToken.IsEmpty())
	{
		Stop(Entry, QuarnContainerSync::NotAuthenticated());
		return;
	}

	Entry->Sending = Entry->Latest;
	Entry->SendingCall = Entry->LatestCall;
	Entry->Report = FQuarnSyncReport();
	SendRead(Entry, false, [](UQuarnContainerSyncSubsystem& This, const FEntryRef& Pinned, FQuarnUSMEContainerRead& Read)
	{
		This.HandleRead(Pinned, Read);
	});
	SetState(Entry, EQuarnContainerSyncState::Syncing);
}

void UQuarnContainerSyncSubsystem::SendRead(const FEntryRef& Entry, bool bReadingBack, FReadHandler OnRead)
{
	Entry->Step = bReadingBack ? EQuarnContainerSyncStep::ReadingBack : EQuarnContainerSyncStep::Reading;
	const uint32 Step = ++Entry->StepSerial;
	const TWeakObjectPtr<UQuarnContainerSyncSubsystem> WeakThis(this);
	const TWeakPtr<FQuarnContainerSyncEntry> WeakEntry = Entry;
	// As the sync node reads: a large document is read on a worker, the game thread gets records.
	// Sent on behalf of this game instance, whose session alone renews the token it holds.
	FQuarnClient::SendAndRead<FQuarnUSMEContainerRead>(GetGameInstance(), TEXT("GET"), FString(TEXT("/v1/game/containers/")) + Entry->Status.ContainerId, FString(), Entry->AccessToken, FString(),
		&QuarnContainerSync::ReadDocument,
		[WeakThis, WeakEntry, Step, OnRead = MoveTemp(OnRead)](bool bOk, FQuarnUSMEContainerRead& Read, const FQuarnError& Error)
		{
			UQuarnContainerSyncSubsystem* const This = WeakThis.Get();
			const TSharedPtr<FQuarnContainerSyncEntry> Pinned = WeakEntry.Pin();
			if (This == nullptr || !Pinned.IsValid() || !This->IsCurrent(*Pinned, Step))
			{
				return;
			}
			if (bOk)
			{
				OnRead(*This, Pinned.ToSharedRef(), Read);
			}
			else
			{
				This->HandleFailure(Pinned.ToSharedRef(), Error);
			}
		});
}

void UQuarnContainerSyncSubsystem::HandleRead(const FEntryRef& Entry, FQuarnUSMEContainerRead& Read)
{
	// The sync node's own reconcile and body, so that what goes out is the same to the byte.
	const FString& ContainerId = Entry->Status.ContainerId;
	TArray<TSharedPtr<FJsonValue>> Intents;
	QuarnReconcile::BuildIntents(Entry->Sending, Read.Items, ContainerId, Entry->Report, Intents);
	if (Intents.IsEmpty())
	{
		UE_LOG(LogQuarn, Verbose, TEXT("Sync: nothing to do (%d unchanged)."), Entry->Report.Unchanged);
		Finish(Entry, Read, false);
		return;
	}

	const FString Body = QuarnReconcile::WriteTransactionBody(Intents, ContainerId, Read.Version);
	Intents.Reset();
	Entry->Step = EQuarnContainerSyncStep::Sending;
	const uint32 Step = ++Entry->StepSerial;
	const TWeakObjectPtr<UQuarnContainerSyncSubsystem> WeakThis(this);
	const TWeakPtr<FQuarnContainerSyncEntry> WeakEntry = Entry;
	// One key per transaction; the transport sends a retry of it with the same key, and a later
	// try is a new read and a new transaction with a key of its own.
	FQuarnClient::Send(GetGameInstance(), TEXT("POST"), TEXT("/v1/game/inventory/transaction"), Body, Entry->AccessToken, FQuarnClient::NewIdempotencyKey(),
		[WeakThis, WeakEntry, Step](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			UQuarnContainerSyncSubsystem* const This = WeakThis.Get();
			const TSharedPtr<FQuarnContainerSyncEntry> Pinned = WeakEntry.Pin();
			if (This == nullptr || !Pinned.IsValid() || !This->IsCurrent(*Pinned, Step))
			{
				return;
			}
			if (!bOk)
			{
				This->HandleFailure(Pinned.ToSharedRef(), Error);
				return;
			}
			double Version = 0.0;
			if (Json.IsValid())
			{
				Json->TryGetNumberField(TEXT("version"), Version);
			}
			This->HandleTransaction(Pinned.ToSharedRef(), static_cast<int64>(FMath::Clamp(Version, 0.0, 9.0e18)));
		});
}

void UQuarnContainerSyncSubsystem::HandleTransaction(const FEntryRef& Entry, int64 AnsweredVersion)
{
	const FQuarnSyncReport& Report = Entry->Report;
	UE_LOG(LogQuarn, Display, TEXT("Sync applied: %d granted, %d consumed, %d moved, %d unchanged, %d warning(s)."),
		Report.Granted, Report.Consumed, Report.Moved, Report.Unchanged, Report.Warnings.Num());
	Entry->ConflictTries = 0;
	Entry->FailureTries = 0;
	if (AnsweredVersion > 0)
	{
		Entry->Status.SyncedVersion = AnsweredVersion;
	}
	if (Entry->HasNewerList())
	{
		// The ids of this list are of no use to a game that has moved on: the newer list goes now.
		Entry->SyncedCall = Entry->SendingCall;
		Entry->Status.LastError = FQuarnError();
		Entry->Status.FailedAttempts = 0;
		StartSync(Entry);
		return;
	}
	StartReadBack(Entry);
}

void UQuarnContainerSyncSubsystem::StartReadBack(const FEntryRef& Entry)
{
	CancelTimer(*Entry);
	// The platform chose the new stacks' ids; reading the container is the only way to learn them.
	Entry->bReadBackOnly = true;
	SendRead(Entry, true, [](UQuarnContainerSyncSubsystem& This, const FEntryRef& Pinned, FQuarnUSMEContainerRead& Read)
	{
		Pinned->bReadBackOnly = false;
		if (Pinned->HasNewerList())
		{
			This.StartSync(Pinned);
			return;
		}
		This.Finish(Pinned, Read, true);
	});
	// After a back-off the container syncs again; straight after its transaction it still does.
	if (Entry->Status.State == EQuarnContainerSyncState::Retrying)
	{
		SetState(Entry, EQuarnContainerSyncState::Syncing);
	}
}

void UQuarnContainerSyncSubsystem::Finish(const FEntryRef& Entry, FQuarnUSMEContainerRead& Read, bool bChanged)
{
	Entry->Step = EQuarnContainerSyncStep::Idle;
	Entry->ConflictTries = 0;
	Entry->FailureTries = 0;
	Entry->SyncedCall = Entry->SendingCall;
	Entry->Status.SyncedVersion = Read.Version;
	Entry->Status.LastError = FQuarnError();
	Entry->Status.FailedAttempts = 0;
	if (Entry->HasNewerList())
	{
		// Nothing to do for the list that was read, but a newer one came meanwhile.
		StartSync(Entry);
		return;
	}
	Entry->Status.bHasUnsentChanges = false;
	Entry->Status.State = EQuarnContainerSyncState::InSync;

	// The ids go back first: a game that writes them into the template and calls again from the
	// handler finds the container idle and in sync.
	if (bChanged)
	{
		FQuarnContainerSyncResult Result;
		Result.PlayerId = Entry->Status.PlayerId;
		Result.ContainerId = Entry->Status.ContainerId;
		Result.Version = Read.Version;
		Result.Items = MoveTemp(Read.Items);
		Result.Report = Entry->Report;
		OnContainerSynced.Broadcast(Result);
	}
	if (!bEnded && Entry->Status.State == EQuarnContainerSyncState::InSync)
	{
		const FQuarnContainerSyncStatus Snapshot = Entry->Status;
		OnSyncStateChanged.Broadcast(Snapshot);
	}
}

void UQuarnContainerSyncSubsystem::HandleFailure(const FEntryRef& Entry, const FQuarnError& Error)
{
	using namespace QuarnContainerSyncPolicy;
	const FString& ContainerId = Entry->Status.ContainerId;
	Entry->Status.LastError = Error;
	++Entry->Status.FailedAttempts;

	double WaitSeconds = 0.0;
	switch (Classify(Error))
	{
	case EFailure::Conflict:
		if (++Entry->ConflictTries > MaxConflictRetries)
		{
			Stop(Entry, Error);
			return;
		}
		WaitSeconds = ConflictWait(Entry->ConflictTries);
		UE_LOG(LogQuarn, Display, TEXT("Sync of container %s met a change by another writer; reading it again (%d of %d)."), *ContainerId, Entry->ConflictTries, MaxConflictRetries);
		break;
	case EFailure::Transient:
	{
		// Counted on without end when there is no limit; the wait stops growing long before.
		Entry->FailureTries = FMath::Min(Entry->FailureTries + 1, 1000000);
		const int32 Limit = UQuarnSettings::Get()->SyncRetryLimit;
		if (Limit > 0 && Entry->FailureTries > Limit)
		{
			Stop(Entry, Error);
			return;
		}
		WaitSeconds = TransientWait(Entry->FailureTries, Error.RetryAfterSeconds);
		UE_LOG(LogQuarn, Display, TEXT("Sync of container %s failed (%s, HTTP %d); trying again in %.1f s."), *ContainerId, *Error.Code, Error.HttpStatus, WaitSeconds);
		break;
	}
	case EFailure::Final:
		Stop(Entry, Error);
		return;
	}

	Entry->Step = EQuarnContainerSyncStep::BackingOff;
	ScheduleNext(Entry, WaitSeconds);
	SetState(Entry, EQuarnContainerSyncState::Retrying);
}

void UQuarnContainerSyncSubsystem::Stop(const FEntryRef& Entry, const FQuarnError& Error)
{
	CancelTimer(*Entry);
	++Entry->StepSerial;
	Entry->Step = EQuarnContainerSyncStep::Idle;
	Entry->bReadBackOnly = false;
	Entry->Status.LastError = Error;
	// The status may reach a player; what the developer should do goes in the log line alone.
	const FString Advice = UQuarnErrorLibrary::GetDeveloperAdvice(Error);
	UE_LOG(LogQuarn, Warning, TEXT("Sync of container %s stopped: %s (%s). Nothing more is sent for it until the game calls again.%s%s"),
		*Entry->Status.ContainerId, *Error.Message, *Error.Code, Advice.IsEmpty() ? TEXT("") : TEXT(" "), *Advice);
	SetState(Entry, EQuarnContainerSyncState::Stopped);
}

void UQuarnContainerSyncSubsystem::SetState(const FEntryRef& Entry, EQuarnContainerSyncState State)
{
	Entry->Status.State = State;
	if (bEnded)
	{
		return;
	}
	// A copy: a handler may call in again and change the entry while the broadcast runs.
	const FQuarnContainerSyncStatus Snapshot = Entry->Status;
	OnSyncStateChanged.Broadcast(Snapshot);
}

void UQuarnContainerSyncSubsystem::Deinitialize()
{
	bEnded = true;
	for (const TPair<FString, FString>& Key : Order)
	{
		const TSharedPtr<FQuarnContainerSyncEntry>* Found = Entries.Find(Key);
		if (Found == nullptr || !Found->IsValid())
		{
			continue;
		}
		FQuarnContainerSyncEntry& Entry = **Found;
		CancelTimer(Entry);
		if (Entry.Status.bHasUnsentChanges)
		{
			UE_LOG(LogQuarn, Warning, TEXT("Sync of container %s for player %s ended with changes not sent (%s); the template's own save still holds them."),
				*Entry.Status.ContainerId, *Entry.Status.PlayerId, QuarnContainerSyncPolicy::StateName(Entry.Status.State));
		}
	}
	// Answers still on their way find no entry and are dropped.
	Entries.Empty();
	Order.Empty();
	Super::Deinitialize();
}
