// Copyright Quarn. All Rights Reserved.

// The sync subsystem over a scripted transport: calls during a sync coalesced into one more, a
// second writer between read and transaction, an outage and Retry-After, refusals that stop a
// container, the platform's ids handed back, the states a game sees and the wait for them, and a
// game instance that ends while a container still retries.

#include "Tests/QuarnContainerSyncTestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Misc/Timespan.h"
#include "QuarnUSMELibrary.h"
#include "QuarnWaitForContainerSync.h"

using namespace QuarnContainerSyncTests;
using QuarnSyncTests::Desired;

namespace QuarnContainerSyncSpecs
{
	/** Long enough for every case here, back-offs included; a case that passes it failed to complete. */
	const FTimespan Bound = FTimespan::FromSeconds(40.0);

	const TCHAR* const StoppedLine = TEXT("Sync of container c1 stopped:");
	const TCHAR* const EndedLine = TEXT("ended with changes not sent");

	FString Join(const TArray<FString>& Parts)
	{
		return FString::Join(Parts, TEXT(" "));
	}

	FString StateText(EQuarnContainerSyncState State)
	{
		static const TCHAR* const Names[] = {TEXT("InSync"), TEXT("Waiting"), TEXT("Syncing"), TEXT("Retrying"), TEXT("Stopped")};
		const int32 Index = static_cast<int32>(State);
		return Index < UE_ARRAY_COUNT(Names) ? FString(Names[Index]) : FString::Printf(TEXT("state %d"), Index);
	}

	FString StatesText(const TArray<EQuarnContainerSyncState>& States)
	{
		TArray<FString> Parts;
		for (const EQuarnContainerSyncState State : States)
		{
			Parts.Add(StateText(State));
		}
		return Join(Parts);
	}
}

BEGIN_DEFINE_SPEC(FQuarnContainerSyncSpec, "Quarn.USME.KeepInSync", QuarnTests::TestFlags)
	TUniquePtr<FKeepInSyncFixture> Fixture;

	FKeepInSyncFixture& F() const
	{
		return *Fixture;
	}

	/** Fails the case when the test game has no sync subsystem; the case then ends at once. */
	bool HasSubsystem()
	{
		return TestNotNull(TEXT("the test game has the sync subsystem"), Fixture->Subsystem());
	}

	/** The game ends (the fixture goes) with this many containers holding unsent changes, one line each. */
	void ExpectEndedUnsent(int32 Containers)
	{
		AddExpectedMessagePlain(QuarnContainerSyncSpecs::EndedLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, Containers);
	}

	FStep WhenReadPending(TFunction<void()> Then)
	{
		FKeepInSyncFixture* const Current = Fixture.Get();
		return {TEXT("a container read"), [Current]() { return Current->ReadPending(); }, MoveTemp(Then)};
	}

	FStep WhenTransactionPending(TFunction<void()> Then)
	{
		FKeepInSyncFixture* const Current = Fixture.Get();
		return {TEXT("a transaction"), [Current]() { return Current->TransactionPending(); }, MoveTemp(Then)};
	}

	FStep WhenState(const FString& ContainerId, EQuarnContainerSyncState State, TFunction<void()> Then)
	{
		FKeepInSyncFixture* const Current = Fixture.Get();
		return {FString::Printf(TEXT("container %s to reach state %d"), *ContainerId, static_cast<int32>(State)), [Current, ContainerId, State]() { return Current->Status(ContainerId).State == State; }, MoveTemp(Then)};
	}
END_DEFINE_SPEC(FQuarnContainerSyncSpec)

void FQuarnContainerSyncSpec::Define()
{
	using namespace QuarnContainerSyncSpecs;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FKeepInSyncFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	Describe(TEXT("Coalescing"), [this]()
	{
		LatentIt(TEXT("100 calls during one sync cost one more sync, of the latest list"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
			TestEqual(TEXT("a call waits for the next frame"), F().Transport().Sent.Num(), 0);
			F().Run(*this, {
				WhenReadPending([this]()
				{
					TestEqualSensitive(TEXT("state while the first sync reads"), StateText(F().Status(TEXT("c1")).State), StateText(EQuarnContainerSyncState::Syncing));
					for (int32 Call = 2; Call <= 101; ++Call)
					{
						F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), Call, 0)});
					}
					TestEqualSensitive(TEXT("state with a newer list waiting"), StateText(F().Status(TEXT("c1")).State), StateText(EQuarnContainerSyncState::Waiting));
					TestEqual(TEXT("the calls sent nothing themselves"), F().Transport().Sent.Num(), 1);
					F().Transport().Answer(200, Document(1, FString()));
				}),
				WhenTransactionPending([this]()
				{
					TestEqualSensitive(TEXT("the first transaction carries the first list"), Join(F().PendingIntents()), FString(TEXT("grant:Ammo:1")));
					F().Transport().Answer(200, TEXT("{\"version\":2,\"results\":[]}"));
				}),
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(2, SlotItem(TEXT("ins_a"), TEXT("Ammo"), 1, 0)));
				}),
				WhenTransactionPending([this]()
				{
					TestEqualSensitive(TEXT("the second transaction carries the latest list"), Join(F().PendingIntents()), FString(TEXT("grant:Ammo:101 consume:ins_a:1")));
					TestTrue(TEXT("at the version read again"), F().Transport().Pending[0].Request.Body.Contains(TEXT("\"expected_version\": 2")));
					F().Transport().Answer(200, TEXT("{\"version\":3,\"results\":[]}"));
				}),
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(3, SlotItem(TEXT("ins_b"), TEXT("Ammo"), 101, 0)));
				}),
				WhenState(TEXT("c1"), EQuarnContainerSyncState::InSync, nullptr),
				AfterFrames(10, [this]()
				{
					const TArray<FQuarnHttpRequest> Transactions = F().Transactions();
					if (TestEqual(TEXT("transactions"), Transactions.Num(), 2))
					{
						TestNotEqual(TEXT("each transaction has a key of its own"), Transactions[0].GetHeader(TEXT("Idempotency-Key")), Transactions[1].GetHeader(TEXT("Idempotency-Key")));
					}
					TestEqual(TEXT("requests: read, transaction, read, transaction, read back"), F().Transport().Sent.Num(), 5);
					TestEqual(TEXT("the ids are handed back once"), F().Events().Synced.Num(), 1);
					TestEqual(TEXT("synced version"), F().Status(TEXT("c1")).SyncedVersion, static_cast<int64>(3));
					TestFalse(TEXT("nothing left unsent"), F().Status(TEXT("c1")).bHasUnsentChanges);
				}),
			}, Done);
		});

		LatentIt(TEXT("keeps one sync per container, each container on its own"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			ExpectEndedUnsent(2);
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
			F().Keep(TEXT("c2"), {Desired(TEXT(""), TEXT("Rope"), 1, 0)});
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 2, 0)});
			F().Run(*this, {
				AfterFrames(5, [this]()
				{
					// Calls within one frame are one sync: the latest list of each container.
					if (TestEqual(TEXT("one read per container"), F().Transport().Pending.Num(), 2))
					{
						TestTrue(TEXT("c1 read"), F().Transport().Pending[0].Request.Url.EndsWith(TEXT("/containers/c1")));
						TestTrue(TEXT("c2 read"), F().Transport().Pending[1].Request.Url.EndsWith(TEXT("/containers/c2")));
					}
					F().Transport().Answer(200, Document(1, FString()));
				}),
				AfterFrames(2, [this]()
				{
					const TArray<QuarnTests::FScriptedTransport::FPending>& Pending = F().Transport().Pending;
					if (TestEqual(TEXT("c2 still reads, c1 sends"), Pending.Num(), 2))
					{
						TestTrue(TEXT("c2's read first"), Pending[0].Request.Url.EndsWith(TEXT("/containers/c2")));
						TestEqualSensitive(TEXT("c1's latest list"), Join(QuarnSyncTests::DescribeIntents(Pending[1].Request.Body)), FString(TEXT("grant:Ammo:2")));
					}
				}),
			}, Done);
		});
	});

	Describe(TEXT("Conflict"), [this]()
	{
		LatentIt(TEXT("reads again after a second writer and syncs the latest list over its change"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			const TSharedRef<FString> FirstKey = MakeShared<FString>();
			F().Keep(TEXT("c1"), {Desired(TEXT("i1"), TEXT("Ammo"), 5, 0), Desired(TEXT(""), TEXT("Rope"), 1, 1)});
			F().Run(*this, {
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(3, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0)));
				}),
				WhenTransactionPending([this, FirstKey]()
				{
					*FirstKey = F().Transport().Pending[0].Request.GetHeader(TEXT("Idempotency-Key"));
					// Another writer put a stack into the container after the read.
					F().Transport().Answer(409, Refusal(TEXT("version_conflict")));
					const FQuarnContainerSyncStatus Status = F().Status(TEXT("c1"));
					TestEqualSensitive(TEXT("state after the conflict"), StateText(Status.State), StateText(EQuarnContainerSyncState::Retrying));
					TestEqualSensitive(TEXT("last error"), Status.LastError.Code, FString(TEXT("version_conflict")));
				}),
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(4, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0) + TEXT(",") + SlotItem(TEXT("i9"), TEXT("Medkit"), 1, 2)));
				}),
				WhenTransactionPending([this, FirstKey]()
				{
					// The reconcile's answer to the other writer: its stack is not in the game's list.
					TestEqualSensitive(TEXT("intents over the other writer's change"), Join(F().PendingIntents()), FString(TEXT("grant:Rope:1 consume:i9:1")));
					TestTrue(TEXT("at the version read again"), F().Transport().Pending[0].Request.Body.Contains(TEXT("\"expected_version\": 4")));
					TestNotEqual(TEXT("a new transaction, a new key"), F().Transport().Pending[0].Request.GetHeader(TEXT("Idempotency-Key")), *FirstKey);
					F().Transport().Answer(200, TEXT("{\"version\":5}"));
				}),
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(5, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0) + TEXT(",") + SlotItem(TEXT("i7"), TEXT("Rope"), 1, 1)));
				}),
				WhenState(TEXT("c1"), EQuarnContainerSyncState::InSync, [this]()
				{
					TestEqual(TEXT("transactions"), F().Transactions().Num(), 2);
					TestEqual(TEXT("the error is cleared"), F().Status(TEXT("c1")).LastError.Code, FString());
					TestEqual(TEXT("synced once"), F().Events().Synced.Num(), 1);
				}),
			}, Done);
		});

		LatentIt(TEXT("stops after a few conflicts in a row and says why"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			ExpectEndedUnsent(1);
			AddExpectedMessagePlain(StoppedLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Rope"), 1, 1)});
			TArray<FStep> Steps;
			for (int32 Try = 0; Try < 5; ++Try)
			{
				Steps.Add(WhenReadPending([this, Try]() { F().Transport().Answer(200, Document(10 + Try, FString())); }));
				Steps.Add(WhenTransactionPending([this]() { F().Transport().Answer(409, Refusal(TEXT("version_conflict"))); }));
			}
			Steps.Add(WhenState(TEXT("c1"), EQuarnContainerSyncState::Stopped, nullptr));
			Steps.Add(AfterSeconds(1.0, [this]()
			{
				TestEqual(TEXT("one try and four more"), F().Transactions().Num(), 5);
				TestEqual(TEXT("nothing sent once stopped"), F().Transport().Pending.Num(), 0);
				TestEqualSensitive(TEXT("why"), F().Status(TEXT("c1")).LastError.Code, FString(TEXT("version_conflict")));
			}));
			F().Run(*this, MoveTemp(Steps), Done);
		});
	});

	Describe(TEXT("Outage"), [this]()
	{
		LatentIt(TEXT("keeps the latest list through an outage and sends it once"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
			F().Run(*this, {
				WhenReadPending([this]()
				{
					F().Transport().Fail(EQuarnTransportResult::ConnectionFailed);
					const FQuarnContainerSyncStatus Status = F().Status(TEXT("c1"));
					TestEqualSensitive(TEXT("retrying"), StateText(Status.State), StateText(EQuarnContainerSyncState::Retrying));
					TestEqualSensitive(TEXT("last error"), Status.LastError.Code, FString(TEXT("network_error")));
					TestEqual(TEXT("failed tries"), Status.FailedAttempts, 1);
					// The game goes on playing and saving while the platform is away.
					F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 2, 0)});
					F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 3, 0), Desired(TEXT(""), TEXT("Rope"), 1, 1)});
					TestEqualSensitive(TEXT("still retrying after the calls"), StateText(F().Status(TEXT("c1")).State), StateText(EQuarnContainerSyncState::Retrying));
				}),
				WhenReadPending([this]()
				{
					F().Transport().Fail(EQuarnTransportResult::TimedOut);
					TestEqual(TEXT("failed tries"), F().Status(TEXT("c1")).FailedAttempts, 2);
				}),
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(1, FString()));
				}),
				WhenTransactionPending([this]()
				{
					TestEqualSensitive(TEXT("the latest list, once"), Join(F().PendingIntents()), FString(TEXT("grant:Ammo:3 grant:Rope:1")));
					F().Transport().Answer(200, TEXT("{\"version\":2}"));
				}),
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(2, SlotItem(TEXT("a"), TEXT("Ammo"), 3, 0) + TEXT(",") + SlotItem(TEXT("r"), TEXT("Rope"), 1, 1)));
				}),
				WhenState(TEXT("c1"), EQuarnContainerSyncState::InSync, nullptr),
				AfterFrames(10, [this]()
				{
					TestEqual(TEXT("one transaction for the whole outage"), F().Transactions().Num(), 1);
					TestEqualSensitive(TEXT("states"), StatesText(F().Events().StatesOf(TEXT("c1"))), FString(TEXT("Waiting Syncing Retrying Syncing Retrying Syncing InSync")));
					TestEqual(TEXT("failed tries cleared"), F().Status(TEXT("c1")).FailedAttempts, 0);
				}),
			}, Done);
		});

		LatentIt(TEXT("waits as long as Retry-After says"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			ExpectEndedUnsent(1);
			const TSharedRef<double> RefusedAt = MakeShared<double>(0.0);
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
			F().Run(*this, {
				WhenReadPending([this, RefusedAt]()
				{
					*RefusedAt = FPlatformTime::Seconds();
					// The first back-off alone would be at most half a second.
					F().Transport().Answer(FKeepInSyncFixture::Answered(429, Refusal(TEXT("rate_limited")), 1.5f));
					TestEqual(TEXT("the error carries the wait"), F().Status(TEXT("c1")).LastError.RetryAfterSeconds, 1.5f);
				}),
				WhenReadPending([this, RefusedAt]()
				{
					const double Waited = FPlatformTime::Seconds() - *RefusedAt;
					TestTrue(FString::Printf(TEXT("waited %.2f s, at least the 1.5 s asked for"), Waited), Waited >= 1.5);
					TestTrue(FString::Printf(TEXT("waited %.2f s, not much more than asked"), Waited), Waited < 4.0);
				}),
			}, Done);
		});

		LatentIt(TEXT("stops at the settings' retry limit"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			ExpectEndedUnsent(1);
			GetMutableDefault<UQuarnSettings>()->SyncRetryLimit = 2;
			AddExpectedMessagePlain(StoppedLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
			F().Run(*this, {
				WhenReadPending([this]() { F().Transport().Answer(503, Refusal(TEXT("unavailable"))); }),
				WhenReadPending([this]() { F().Transport().Answer(503, Refusal(TEXT("unavailable"))); }),
				WhenReadPending([this]() { F().Transport().Answer(503, Refusal(TEXT("unavailable"))); }),
				WhenState(TEXT("c1"), EQuarnContainerSyncState::Stopped, nullptr),
				AfterSeconds(1.5, [this]()
				{
					TestEqual(TEXT("one try and two more"), F().Transport().Sent.Num(), 3);
					TestEqual(TEXT("the last error"), F().Status(TEXT("c1")).LastError.HttpStatus, 503);
				}),
			}, Done);
		});
	});

	Describe(TEXT("Failures"), [this]()
	{
		struct FFailureCase
		{
			const TCHAR* Name;
			/** True when the transaction is refused, false when the read is. */
			bool bOnTransaction;
			FQuarnHttpResponse Response;
			EQuarnContainerSyncState Then;
			const TCHAR* Code;
		};
		FQuarnHttpResponse NoAnswer;
		NoAnswer.Result = EQuarnTransportResult::ConnectionFailed;
		const FFailureCase Cases[] = {
			{TEXT("an unknown container stops it"), false, FKeepInSyncFixture::Answered(404, Refusal(TEXT("container_not_found"))), EQuarnContainerSyncState::Stopped, TEXT("container_not_found")},
			{TEXT("a bad request stops it"), true, FKeepInSyncFixture::Answered(400, Refusal(TEXT("invalid_request"))), EQuarnContainerSyncState::Stopped, TEXT("invalid_request")},
			{TEXT("a session expired for good stops it"), true, FKeepInSyncFixture::Answered(401, Refusal(TEXT("token_expired"))), EQuarnContainerSyncState::Stopped, TEXT("token_expired")},
			{TEXT("a full container stops it"), true, FKeepInSyncFixture::Answered(409, Refusal(TEXT("container_full"))), EQuarnContainerSyncState::Stopped, TEXT("container_full")},
			{TEXT("a platform failure retries"), true, FKeepInSyncFixture::Answered(500, Refusal(TEXT("internal"))), EQuarnContainerSyncState::Retrying, TEXT("internal")},
			{TEXT("too many requests retries"), false, FKeepInSyncFixture::Answered(429, Refusal(TEXT("rate_limited"))), EQuarnContainerSyncState::Retrying, TEXT("rate_limited")},
			{TEXT("no answer to the transaction retries"), true, NoAnswer, EQuarnContainerSyncState::Retrying, TEXT("network_error")},
		};
		for (const FFailureCase& Case : Cases)
		{
			LatentIt(Case.Name, Bound, [this, Case](const FDoneDelegate& Done)
			{
				if (!HasSubsystem())
				{
					Done.Execute();
					return;
				}
				ExpectEndedUnsent(1);
				const bool bStops = Case.Then == EQuarnContainerSyncState::Stopped;
				if (bStops)
				{
					AddExpectedMessagePlain(StoppedLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
				}
				F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
				TArray<FStep> Steps;
				if (Case.bOnTransaction)
				{
					Steps.Add(WhenReadPending([this]() { F().Transport().Answer(200, Document(1, FString())); }));
					Steps.Add(WhenTransactionPending([this, Case]() { F().Transport().Answer(Case.Response); }));
				}
				else
				{
					Steps.Add(WhenReadPending([this, Case]() { F().Transport().Answer(Case.Response); }));
				}
				Steps.Add(AfterFrames(1, [this, Case]()
				{
					const FQuarnContainerSyncStatus Status = F().Status(TEXT("c1"));
					TestEqualSensitive(TEXT("state"), StateText(Status.State), StateText(Case.Then));
					TestEqualSensitive(TEXT("says why"), Status.LastError.Code, FString(Case.Code));
					TestTrue(TEXT("the list is kept as unsent"), Status.bHasUnsentChanges);
				}));
				if (bStops)
				{
					const int32 SentBefore = Case.bOnTransaction ? 2 : 1;
					Steps.Add(AfterSeconds(1.2, [this, SentBefore]()
					{
						TestEqual(TEXT("nothing more is sent once stopped"), F().Transport().Sent.Num(), SentBefore);
						// A new call starts the container again.
						F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 2, 0)});
					}));
					Steps.Add(WhenReadPending([this]()
					{
						TestEqualSensitive(TEXT("syncing again"), StateText(F().Status(TEXT("c1")).State), StateText(EQuarnContainerSyncState::Syncing));
					}));
				}
				else
				{
					Steps.Add(WhenReadPending(nullptr));
				}
				F().Run(*this, MoveTemp(Steps), Done);
			});
		}

		LatentIt(TEXT("a player who never signed in stops with not_authenticated and sends nothing"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			ExpectEndedUnsent(1);
			// The developer reads which node to call in the log; the status a game may show says nothing of nodes.
			AddExpectedMessagePlain(TEXT("Sync of container c1 stopped: Player is not authenticated (not_authenticated). Nothing more is sent for it until the game calls again. Call Quarn - Authenticate Player for this player first."), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)}, TEXT("stranger"));
			F().Run(*this, {
				AfterFrames(5, [this]()
				{
					const FQuarnContainerSyncStatus Status = F().Subsystem()->GetSyncStatus(TEXT("stranger"), TEXT("c1"));
					TestEqualSensitive(TEXT("stopped"), StateText(Status.State), StateText(EQuarnContainerSyncState::Stopped));
					TestEqualSensitive(TEXT("why"), Status.LastError.Code, FString(TEXT("not_authenticated")));
					TestFalse(TEXT("the status's hint names no node"), Status.LastError.Hint.Contains(TEXT("Authenticate Player")));
					TestFalse(TEXT("the status has a hint for the player"), Status.LastError.Hint.IsEmpty());
					TestEqual(TEXT("requests sent"), F().Transport().Sent.Num(), 0);
				}),
			}, Done);
		});

		It(TEXT("refuses a call without a container id and keeps nothing"), [this]()
		{
			if (!HasSubsystem())
			{
				return;
			}
			AddExpectedMessagePlain(TEXT("Keep Container In Sync refused: it needs a player id and a container id"), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
			F().Keep(FString(), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
			TestEqual(TEXT("containers kept"), F().Subsystem()->GetAllSyncStatuses().Num(), 0);
			TestTrue(TEXT("nothing to wait for"), F().Subsystem()->AreAllContainersInSync());
		});
	});

	Describe(TEXT("WriteBack"), [this]()
	{
		LatentIt(TEXT("hands back the platform's ids, and a call with them sends no transaction"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			// The game's handler: each item back into USME's fields and out again, as a graph
			// writes the template and builds its next list, then the next call.
			FKeepInSyncFixture* const Current = Fixture.Get();
			F().Events().OnSyncedThen = [Current](const FQuarnContainerSyncResult& Result)
			{
				TArray<FQuarnItemInstance> Template;
				for (const FQuarnItemInstance& Item : Result.Items)
				{
					FName Id;
					int32 Amount = 0;
					int32 CachedIndex = 0;
					float Durability = 0.0f;
					TArray<FName> DataKeys;
					TArray<FString> DataValues;
					UQuarnUSMELibrary::BreakItemToUSME(Item, Id, Amount, CachedIndex, Durability, DataKeys, DataValues);
					Template.Add(UQuarnUSMELibrary::MakeItemFromUSME(Id, Amount, CachedIndex, Durability, DataKeys, DataValues));
				}
				Current->Keep(Result.ContainerId, Template);
			};
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 5, 0), Desired(TEXT("i1"), TEXT("Rope"), 2, 1)});
			F().Run(*this, {
				WhenReadPending([this]() { F().Transport().Answer(200, Document(1, SlotItem(TEXT("i1"), TEXT("Rope"), 2, 1))); }),
				WhenTransactionPending([this]()
				{
					TestEqualSensitive(TEXT("intents"), Join(F().PendingIntents()), FString(TEXT("grant:Ammo:5")));
					F().Transport().Answer(200, TEXT("{\"version\":2}"));
				}),
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(2, SlotItem(TEXT("i1"), TEXT("Rope"), 2, 1) + TEXT(",") + SlotItem(TEXT("ins_new"), TEXT("Ammo"), 5, 0)));
					if (TestEqual(TEXT("handed back"), F().Events().Synced.Num(), 1))
					{
						const FQuarnContainerSyncResult& Result = F().Events().Synced[0];
						TestEqual(TEXT("version"), Result.Version, static_cast<int64>(2));
						TestEqual(TEXT("items"), Result.Items.Num(), 2);
						TestEqualSensitive(TEXT("the new stack's id"), Result.Items.Num() == 2 ? Result.Items[1].InstanceId : FString(), FString(TEXT("ins_new")));
						TestEqual(TEXT("the report"), Result.Report.Granted, 1);
					}
				}),
				// The handler's call: a read that finds nothing to do.
				WhenReadPending([this]() { F().Transport().Answer(200, Document(2, SlotItem(TEXT("i1"), TEXT("Rope"), 2, 1) + TEXT(",") + SlotItem(TEXT("ins_new"), TEXT("Ammo"), 5, 0))); }),
				WhenState(TEXT("c1"), EQuarnContainerSyncState::InSync, nullptr),
				AfterFrames(10, [this]()
				{
					TestEqual(TEXT("no second transaction"), F().Transactions().Num(), 1);
					TestEqual(TEXT("a sync that changed nothing hands nothing back"), F().Events().Synced.Num(), 1);
					TestEqual(TEXT("nothing pending"), F().Transport().Pending.Num(), 0);
				}),
			}, Done);
		});

		LatentIt(TEXT("reads back again, without sending again, when only the read-back failed"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 5, 0)});
			F().Run(*this, {
				WhenReadPending([this]() { F().Transport().Answer(200, Document(1, FString())); }),
				WhenTransactionPending([this]() { F().Transport().Answer(200, TEXT("{\"version\":2}")); }),
				WhenReadPending([this]() { F().Transport().Fail(EQuarnTransportResult::ConnectionFailed); }),
				WhenReadPending([this]() { F().Transport().Answer(200, Document(2, SlotItem(TEXT("n"), TEXT("Ammo"), 5, 0))); }),
				WhenState(TEXT("c1"), EQuarnContainerSyncState::InSync, [this]()
				{
					TestEqual(TEXT("the applied transaction is not sent again"), F().Transactions().Num(), 1);
					TestEqual(TEXT("handed back"), F().Events().Synced.Num(), 1);
				}),
			}, Done);
		});
	});

	Describe(TEXT("Waiting"), [this]()
	{
		LatentIt(TEXT("the wait ends once every container is in sync"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			F().Keep(TEXT("c1"), {});
			F().Keep(TEXT("c2"), {});
			UQuarnWaitForContainerSync* const Wait = UQuarnWaitForContainerSync::WaitUntilContainersInSync(F().GetWorld(), 10.0f);
			F().Events().WatchWait(Wait);
			Wait->Activate();
			TestEqual(TEXT("not yet"), F().Events().AllInSync + F().Events().NotInSync, 0);
			F().Run(*this, {
				WhenReadPending([this]() { F().Transport().Answer(200, Document(4, FString())); }),
				WhenReadPending([this]()
				{
					TestEqual(TEXT("one container in sync is not all"), F().Events().AllInSync, 0);
					F().Transport().Answer(200, Document(9, FString()));
				}),
				AfterFrames(3, [this]()
				{
					TestEqual(TEXT("all in sync, once"), F().Events().AllInSync, 1);
					TestEqual(TEXT("no give-up"), F().Events().NotInSync, 0);
					TestEqual(TEXT("statuses"), F().Events().WaitStatuses.Num(), 2);
					TestEqual(TEXT("c2's version"), F().Status(TEXT("c2")).SyncedVersion, static_cast<int64>(9));
					TestEqualSensitive(TEXT("states"), StatesText(F().Events().StatesOf(TEXT("c1"))), FString(TEXT("Waiting Syncing InSync")));
				}),
			}, Done);
		});

		LatentIt(TEXT("the wait gives up at its time-out while a container retries"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			ExpectEndedUnsent(1);
			const TSharedRef<double> StartedAt = MakeShared<double>(0.0);
			F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
			F().Run(*this, {
				WhenReadPending([this, StartedAt]()
				{
					// Retry-After keeps the container retrying well past the wait's time-out.
					F().Transport().Answer(FKeepInSyncFixture::Answered(503, Refusal(TEXT("unavailable")), 5.0f));
					*StartedAt = FPlatformTime::Seconds();
					UQuarnWaitForContainerSync* const Wait = UQuarnWaitForContainerSync::WaitUntilContainersInSync(F().GetWorld(), 0.3f);
					F().Events().WatchWait(Wait);
					Wait->Activate();
				}),
				{TEXT("the wait to give up"), [this]() { return F().Events().NotInSync > 0; }, [this, StartedAt]()
				{
					TestTrue(TEXT("not before its time-out"), FPlatformTime::Seconds() - *StartedAt >= 0.3);
					TestEqual(TEXT("not in sync"), F().Events().AllInSync, 0);
					if (TestEqual(TEXT("statuses"), F().Events().WaitStatuses.Num(), 1))
					{
						TestEqualSensitive(TEXT("still retrying"), StateText(F().Events().WaitStatuses[0].State), StateText(EQuarnContainerSyncState::Retrying));
					}
				}},
			}, Done);
		});
	});

	Describe(TEXT("GameEnd"), [this]()
	{
		LatentIt(TEXT("a game instance ended while retrying calls nothing afterwards"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!HasSubsystem())
			{
				Done.Execute();
				return;
			}
			// One line per container with unsent changes: c1 retrying and c2 reading; c3 is in sync.
			AddExpectedMessagePlain(EndedLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 2);
			const TSharedRef<int32> SentAtEnd = MakeShared<int32>(0);
			const TSharedRef<int32> EventsAtEnd = MakeShared<int32>(0);
			F().Keep(TEXT("c3"), {});
			F().Run(*this, {
				WhenReadPending([this]()
				{
					F().Transport().Answer(200, Document(1, FString()));
					F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
				}),
				WhenReadPending([this]()
				{
					F().Transport().Fail(EQuarnTransportResult::ConnectionFailed);
					F().Keep(TEXT("c2"), {Desired(TEXT(""), TEXT("Rope"), 1, 0)});
				}),
				WhenReadPending([this, SentAtEnd, EventsAtEnd]()
				{
					TestEqualSensitive(TEXT("c1 retrying"), StateText(F().Status(TEXT("c1")).State), StateText(EQuarnContainerSyncState::Retrying));
					*SentAtEnd = F().Transport().Sent.Num();
					*EventsAtEnd = F().Events().Changes.Num() + F().Events().Synced.Num();
					F().EndGame();
					// c2's read answers after the end.
					F().Transport().Answer(200, Document(1, FString()));
				}),
				// Longer than c1's first back-off can be.
				AfterSeconds(1.5, [this, SentAtEnd, EventsAtEnd]()
				{
					TestEqual(TEXT("nothing sent after the end"), F().Transport().Sent.Num(), *SentAtEnd);
					TestEqual(TEXT("no event after the end"), F().Events().Changes.Num() + F().Events().Synced.Num(), *EventsAtEnd);
				}),
			}, Done);
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
