// Copyright Quarn. All Rights Reserved.

// The sync node over a scripted transport: authentication, the container read, the reconcile's
// exact transaction body, the pin it fires (exactly one, once), the node's log lines, and what
// the garbage collector does to a node between its request and the answer.

#include "Tests/QuarnSyncTestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Misc/AutomationTest.h"
#include "Misc/Timespan.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/GarbageCollection.h"

using namespace QuarnSyncTests;

namespace QuarnStashSyncTests
{
	/** Long enough for any exchange here; a case that passes it failed to complete. */
	const FTimespan Bound = FTimespan::FromSeconds(10.0);

	/** Frames a case waits after the pin, so that a second pin would be seen. */
	constexpr int32 SettleFrames = 5;

	/** A container document as the platform answers a read: items with their ids in properties. */
	FString Document(int64 Version, const FString& ItemsJson)
	{
		return FString::Printf(TEXT("{\"id\":\"c1\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":%lld,\"items\":[%s]}"), static_cast<long long>(Version), *ItemsJson);
	}

	FString SlotItem(const TCHAR* Id, const TCHAR* ItemId, int32 Quantity, int32 SlotIndex)
	{
		return FString::Printf(TEXT("{\"id\":\"%s\",\"item_id\":\"%s\",\"quantity\":%d,\"slot_index\":%d,\"slot_key\":\"\",\"x\":-1,\"y\":-1,\"rotated\":false,\"properties\":{\"__qnid\":\"%s\"}}"), Id, ItemId, Quantity, SlotIndex, Id);
	}

	/** One reconcile: the desired list, the container's items, and what the node must send. */
	struct FReconcileCase
	{
		FString Name;
		TArray<FQuarnItemInstance> DesiredItems;
		FString Items;
		/** "kind:instance-or-item:quantity" in order; "move:id:{json}" for moves. */
		TArray<FString> Intents;
		int32 Unchanged = 0;
		int32 Warnings = 0;
	};

	TArray<FReconcileCase> ReconcileCases()
	{
		FQuarnItemInstance Rotated = Desired(TEXT("i1"), TEXT("Ammo"), 5, 0);
		Rotated.bRotated = true;
		FQuarnItemInstance Keyed = Desired(TEXT("i1"), TEXT("Ammo"), 5, 0);
		Keyed.SlotKey = TEXT("BELT");
		const FString Ammo = SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0);
		const FString Three = Ammo + TEXT(",") + SlotItem(TEXT("i2"), TEXT("Rope"), 2, 1) + TEXT(",") + SlotItem(TEXT("i3"), TEXT("Medkit"), 1, 2);
		const FString Anonymous = TEXT("{\"id\":\"x\",\"item_id\":\"Ammo\",\"quantity\":5,\"slot_index\":0}");
		// A container that repeats an id (in any case): the later stack is the one compared, and a
		// stack is consumed only when no desired item named its id.
		const FString Repeated = Ammo + TEXT(",") + SlotItem(TEXT("i2"), TEXT("Rope"), 2, 1) + TEXT(",") + SlotItem(TEXT("I1"), TEXT("Ammo"), 7, 2);

		TArray<FReconcileCase> Cases;
		Cases.Add({TEXT("an empty desired list consumes all in order"), {}, Three, {TEXT("consume:i1:5"), TEXT("consume:i2:2"), TEXT("consume:i3:1")}, 0, 0});
		Cases.Add({TEXT("two new items are granted in order"), {Desired(TEXT(""), TEXT("A"), 1, 4), Desired(TEXT(""), TEXT("B"), 2, 5)}, FString(), {TEXT("grant:A:1"), TEXT("grant:B:2")}, 0, 0});
		Cases.Add({TEXT("a decrease names the instance"), {Desired(TEXT("i1"), TEXT("Ammo"), 2, 0)}, Ammo, {TEXT("consume:i1:3")}, 0, 0});
		Cases.Add({TEXT("quantity zero consumes in the final pass"), {Desired(TEXT("i1"), TEXT("Ammo"), 0, 0), Desired(TEXT(""), TEXT("New"), 1, 1)}, Ammo, {TEXT("grant:New:1"), TEXT("consume:i1:5")}, 0, 0});
		Cases.Add({TEXT("rotation alone is unchanged"), {Rotated}, Ammo, {}, 1, 0});
		Cases.Add({TEXT("an empty place sends an empty to"), {Desired(TEXT("i1"), TEXT("Ammo"), 5, -1)}, Ammo, {TEXT("move:i1:{}")}, 0, 0});
		Cases.Add({TEXT("a slot key compares case-blind but differs from empty"), {Keyed}, Ammo, {TEXT("move:i1:{\"slot_index\":0,\"slot_key\":\"BELT\"}")}, 0, 0});
		Cases.Add({TEXT("a case-blind id carries the desired spelling"), {Desired(TEXT("I1"), TEXT("Ammo"), 6, 0)}, Ammo, {TEXT("grant:Ammo:1")}, 0, 0});
		Cases.Add({TEXT("an unknown id warns only"), {Desired(TEXT("ghost"), TEXT("Ammo"), 6, 0)}, FString(), {}, 0, 1});
		Cases.Add({TEXT("items without ids are never touched"), {Desired(TEXT("i9"), TEXT("Ammo"), 5, 0)}, Anonymous, {}, 0, 1});
		Cases.Add({TEXT("a copied stack counts once"), {Desired(TEXT("i1"), TEXT("Ammo"), 8, 0), Desired(TEXT("i1"), TEXT("Ammo"), 8, 0)}, Ammo, {TEXT("grant:Ammo:3")}, 0, 1});
		Cases.Add({TEXT("a repeated container id compares the later stack"), {Desired(TEXT("i2"), TEXT("Rope"), 2, 1), Desired(TEXT("i1"), TEXT("Ammo"), 7, 2)}, Repeated, {}, 2, 0});
		Cases.Add({TEXT("a repeated container id nobody names consumes each stack in order"), {Desired(TEXT("i2"), TEXT("Rope"), 2, 1)}, Repeated, {TEXT("consume:i1:5"), TEXT("consume:I1:7")}, 1, 0});
		Cases.Add({TEXT("an empty item name is None"), {Desired(TEXT(""), TEXT(""), 1, 0)}, FString(), {TEXT("grant:None:1")}, 0, 0});
		return Cases;
	}
}

BEGIN_DEFINE_SPEC(FQuarnStashSyncSpec, "Quarn.USME.Sync", QuarnTests::TestFlags)
	TUniquePtr<FSyncFixture> Fixture;

	QuarnTests::FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	/** Signs the player in, failing the case when the test game has no subsystem. */
	bool SignIn(const FString& PlayerId)
	{
		return TestTrue(TEXT("the test game has the Quarn subsystem"), Fixture->SignIn(PlayerId));
	}

	/** Once the node fired a pin and a few more frames passed (a second pin would show), checks and ends the case. */
	void AfterPin(const UQuarnSyncPinRecorder& Pins, TFunction<void()> Check, const FDoneDelegate& Done)
	{
		FSyncFixture* const Current = Fixture.Get();
		Current->WhenTrue([&Pins]() { return Pins.Total() > 0; }, [Current, Check, Done]()
		{
			Current->AfterFrames(QuarnStashSyncTests::SettleFrames, [Check, Done]()
			{
				Check();
				Done.Execute();
			});
		});
	}

	/** Reads the container, answers the transaction if one is sent with Transaction, and gives Check the intents sent. */
	void ReadThenAnswer(const UQuarnSyncPinRecorder& Pins, const FString& DocumentJson, const FQuarnHttpResponse& Transaction, TFunction<void(const TArray<FString>&)> Check, const FDoneDelegate& Done)
	{
		Transport().Answer(200, DocumentJson);
		FSyncFixture* const Current = Fixture.Get();
		Current->WhenTrue([&Pins, Current]() { return Pins.Total() > 0 || Current->Transport().Pending.Num() > 0; }, [this, &Pins, Current, Transaction, Check, Done]()
		{
			TArray<FString> Intents;
			if (Current->Transport().Pending.Num() > 0)
			{
				Intents = DescribeIntents(Current->Transport().Sent.Last().Body);
				Current->Transport().Answer(Transaction);
			}
			AfterPin(Pins, [Check, Intents]() { Check(Intents); }, Done);
		});
	}

	static FQuarnHttpResponse Answered(int32 Status, const FString& Body)
	{
		FQuarnHttpResponse Response;
		Response.Result = EQuarnTransportResult::Answered;
		Response.StatusCode = Status;
		Response.Body = Body;
		return Response;
	}
END_DEFINE_SPEC(FQuarnStashSyncSpec)

void FQuarnStashSyncSpec::Define()
{
	using namespace QuarnStashSyncTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FSyncFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	Describe(TEXT("Authentication"), [this]()
	{
		It(TEXT("fails at once without a token and sends nothing"), [this]()
		{
			const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("nobody"), TEXT("c1"), {});
			TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 0);
			TestEqual(TEXT("failure pins"), Pins.Failures, 1);
			TestEqual(TEXT("success pins"), Pins.Successes, 0);
			TestEqualSensitive(TEXT("code"), Pins.Error.Code, FString(TEXT("not_authenticated")));
			TestEqualSensitive(TEXT("message"), Pins.Error.Message, FString(TEXT("Player is not authenticated")));
			TestEqualSensitive(TEXT("hint"), Pins.Error.Hint, FString(TEXT("Call Quarn - Authenticate Player for this player first.")));
			TestEqual(TEXT("nothing counted"), Pins.Report.Granted + Pins.Report.Consumed + Pins.Report.Moved + Pins.Report.Unchanged, 0);
		});

		It(TEXT("treats a context without a game instance as not authenticated"), [this]()
		{
			if (!SignIn(TEXT("p1")))
			{
				return;
			}
			// An object in the transient package reaches no world, so no game instance and no token.
			// The engine warns that it found no world when the node registers with a game instance.
			AddExpectedMessagePlain(TEXT("No world was found for object"), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 0);
			UObject* const Orphan = NewObject<UQuarnSyncStash>(GetTransientPackage());
			const UQuarnSyncPinRecorder& Pins = Fixture->StartWithContext(Orphan, TEXT("p1"), TEXT("c1"), {});
			TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 0);
			TestEqual(TEXT("failure pins"), Pins.Failures, 1);
			TestEqualSensitive(TEXT("code"), Pins.Error.Code, FString(TEXT("not_authenticated")));
		});
	});

	Describe(TEXT("Fixture"), [this]()
	{
		It(TEXT("hands the running game its network-encryption handlers back"), [this]()
		{
			// Stand-ins for what the running game's instance has bound in a live session.
			const FNetDelegates::FReceivedNetworkEncryptionToken OwnToken = FNetDelegates::OnReceivedNetworkEncryptionToken;
			const FNetDelegates::FReceivedNetworkEncryptionAck OwnAck = FNetDelegates::OnReceivedNetworkEncryptionAck;
			int32 TokensSeen = 0;
			int32 AcksSeen = 0;
			FNetDelegates::OnReceivedNetworkEncryptionToken.BindLambda([&TokensSeen](const FString&, const FOnEncryptionKeyResponse&) { ++TokensSeen; });
			FNetDelegates::OnReceivedNetworkEncryptionAck.BindLambda([&AcksSeen](const FOnEncryptionKeyResponse&) { ++AcksSeen; });
			{
				const QuarnTests::FTestGame CaseGame;
			}
			TestTrue(TEXT("token handler back"), FNetDelegates::OnReceivedNetworkEncryptionToken.ExecuteIfBound(TEXT("t"), FOnEncryptionKeyResponse()));
			TestTrue(TEXT("ack handler back"), FNetDelegates::OnReceivedNetworkEncryptionAck.ExecuteIfBound(FOnEncryptionKeyResponse()));
			TestEqual(TEXT("the game's token handler ran"), TokensSeen, 1);
			TestEqual(TEXT("the game's ack handler ran"), AcksSeen, 1);
			FNetDelegates::OnReceivedNetworkEncryptionToken = OwnToken;
			FNetDelegates::OnReceivedNetworkEncryptionAck = OwnAck;
		});
	});

	Describe(TEXT("Read"), [this]()
	{
		It(TEXT("reads the container id verbatim with the token"), [this]()
		{
			if (!SignIn(TEXT("p1")))
			{
				return;
			}
			Fixture->Start(TEXT("p1"), TEXT("my stash/2"), {});
			if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1))
			{
				return;
			}
			const FQuarnHttpRequest& Read = Transport().Sent[0];
			TestEqualSensitive(TEXT("verb"), Read.Verb, FString(TEXT("GET")));
			// The node passes the id as it is; the client encodes what a path cannot hold.
			TestEqualSensitive(TEXT("url"), Read.Url, FString(TEXT("https://platform.example.com/v1/game/containers/my%20stash/2")));
			TestEqualSensitive(TEXT("authorization"), Read.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer token-p1")));
			TestTrue(TEXT("a read carries no idempotency key"), Read.GetHeader(TEXT("Idempotency-Key")).IsEmpty());
		});

		LatentIt(TEXT("carries a failed read's error as delivered and sends no transaction"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!SignIn(TEXT("p1")))
			{
				Done.Execute();
				return;
			}
			const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 5, 0)});
			Transport().Answer(404, TEXT("{\"error\":{\"code\":\"not_found\",\"message\":\"No such container.\",\"hint\":\"h\"}}"));
			AfterPin(Pins, [this, &Pins]()
			{
				TestEqual(TEXT("failure pins"), Pins.Failures, 1);
				TestEqual(TEXT("success pins"), Pins.Successes, 0);
				TestEqual(TEXT("http status"), Pins.Error.HttpStatus, 404);
				TestEqualSensitive(TEXT("code"), Pins.Error.Code, FString(TEXT("not_found")));
				TestEqual(TEXT("granted"), Pins.Report.Granted, 0);
				TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1);
			}, Done);
		});
	});

	Describe(TEXT("Reconcile"), [this]()
	{
		LatentIt(TEXT("succeeds without a request when the container agrees"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!SignIn(TEXT("p1")))
			{
				Done.Execute();
				return;
			}
			LogQuarn.SetVerbosity(ELogVerbosity::Verbose);
			const TSharedRef<QuarnTests::FLogLines> Log = MakeShared<QuarnTests::FLogLines>();
			const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT("i1"), TEXT("Ammo"), 5, 0), Desired(TEXT("I2"), TEXT("Bandage"), 1, 3)});
			Transport().Answer(200, Document(4, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0) + TEXT(",") + SlotItem(TEXT("i2"), TEXT("Bandage"), 1, 3)));
			AfterPin(Pins, [this, &Pins, Log]()
			{
				TestEqual(TEXT("success pins"), Pins.Successes, 1);
				TestEqual(TEXT("failure pins"), Pins.Failures, 0);
				TestEqual(TEXT("unchanged"), Pins.Report.Unchanged, 2);
				TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1);
				TestTrue(TEXT("verbose line"), Log->Has(ELogVerbosity::Verbose, TEXT("Sync: nothing to do (2 unchanged).")));
			}, Done);
		});

		LatentIt(TEXT("sends the transaction as the engine's pretty JSON"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!SignIn(TEXT("p1")))
			{
				Done.Execute();
				return;
			}
			const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {
				Desired(TEXT(""), TEXT("Ammo"), 10, -1),
				Desired(TEXT("i1"), TEXT("Medkit"), 8, 0),
				Desired(TEXT("i2"), TEXT("Bandage"), 2, 7),
			});
			Transport().Answer(200, Document(7,
				SlotItem(TEXT("i1"), TEXT("Medkit"), 5, 0) + TEXT(",") +
				SlotItem(TEXT("i2"), TEXT("Bandage"), 5, 1) + TEXT(",") +
				SlotItem(TEXT("i3"), TEXT("Rope"), 1, 2)));
			Fixture->WhenTrue([this]() { return Transport().Pending.Num() > 0; }, [this, &Pins, Done]()
			{
				if (!TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 2))
				{
					Done.Execute();
					return;
				}
				const FQuarnHttpRequest& Transaction = Transport().Sent[1];
				TestEqualSensitive(TEXT("verb"), Transaction.Verb, FString(TEXT("POST")));
				TestEqualSensitive(TEXT("url"), Transaction.Url, FString(TEXT("https://platform.example.com/v1/game/inventory/transaction")));
				TestFalse(TEXT("idempotency key"), Transaction.GetHeader(TEXT("Idempotency-Key")).IsEmpty());
				// Written with "\n"; the pretty printer ends lines with the platform's terminator.
				const FString Expected = FString(TEXT(
					"{\n"
					"\t\"intents\": [\n"
					"\t\t{\n"
					"\t\t\t\"kind\": \"grant\",\n"
					"\t\t\t\"container_id\": \"c1\",\n"
					"\t\t\t\"item_id\": \"Ammo\",\n"
					"\t\t\t\"quantity\": 10\n"
					"\t\t},\n"
					"\t\t{\n"
					"\t\t\t\"kind\": \"grant\",\n"
					"\t\t\t\"container_id\": \"c1\",\n"
					"\t\t\t\"item_id\": \"Medkit\",\n"
					"\t\t\t\"quantity\": 3\n"
					"\t\t},\n"
					"\t\t{\n"
					"\t\t\t\"kind\": \"consume\",\n"
					"\t\t\t\"instance_id\": \"i2\",\n"
					"\t\t\t\"quantity\": 3\n"
					"\t\t},\n"
					"\t\t{\n"
					"\t\t\t\"kind\": \"move\",\n"
					"\t\t\t\"instance_id\": \"i2\",\n"
					"\t\t\t\"to\":\n"
					"\t\t\t{\n"
					"\t\t\t\t\"slot_index\": 7\n"
					"\t\t\t}\n"
					"\t\t},\n"
					"\t\t{\n"
					"\t\t\t\"kind\": \"consume\",\n"
					"\t\t\t\"instance_id\": \"i3\",\n"
					"\t\t\t\"quantity\": 1\n"
					"\t\t}\n"
					"\t],\n"
					"\t\"container_id\": \"c1\",\n"
					"\t\"expected_version\": 7\n"
					"}")).Replace(TEXT("\n"), LINE_TERMINATOR, ESearchCase::CaseSensitive);
				TestEqualSensitive(TEXT("body"), Transaction.Body, Expected);

				Transport().Answer(200, TEXT("{\"version\":8}"));
				AfterPin(Pins, [this, &Pins]()
				{
					TestEqual(TEXT("success pins"), Pins.Successes, 1);
					TestEqual(TEXT("failure pins"), Pins.Failures, 0);
					TestEqual(TEXT("granted"), Pins.Report.Granted, 2);
					TestEqual(TEXT("consumed"), Pins.Report.Consumed, 2);
					TestEqual(TEXT("moved"), Pins.Report.Moved, 1);
					TestEqual(TEXT("unchanged"), Pins.Report.Unchanged, 0);
				}, Done);
			});
		});

		Describe(TEXT("EdgeCases"), [this]()
		{
			for (const FReconcileCase& Case : ReconcileCases())
			{
				LatentIt(Case.Name, Bound, [this, Case](const FDoneDelegate& Done)
				{
					if (!SignIn(TEXT("p1")))
					{
						Done.Execute();
						return;
					}
					const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), Case.DesiredItems);
					ReadThenAnswer(Pins, Document(3, Case.Items), Answered(200, TEXT("{}")), [this, &Pins, Case](const TArray<FString>& Intents)
					{
						TestEqual(TEXT("pins"), Pins.Total(), 1);
						TestEqual(TEXT("success pins"), Pins.Successes, 1);
						TestEqualSensitive(TEXT("intents"), FString::Join(Intents, TEXT(" ")), FString::Join(Case.Intents, TEXT(" ")));
						TestEqual(TEXT("unchanged"), Pins.Report.Unchanged, Case.Unchanged);
						TestEqual(TEXT("warnings"), Pins.Report.Warnings.Num(), Case.Warnings);
					}, Done);
				});
			}
		});

		LatentIt(TEXT("names the item and the id in its warnings"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!SignIn(TEXT("p1")))
			{
				Done.Execute();
				return;
			}
			const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT("ghost"), TEXT("Ammo"), 6, 0), Desired(TEXT("i1"), TEXT("Rope"), 5, 0), Desired(TEXT("I1"), TEXT("Rope"), 9, 0)});
			Transport().Answer(200, Document(3, SlotItem(TEXT("i1"), TEXT("Rope"), 5, 0)));
			AfterPin(Pins, [this, &Pins]()
			{
				if (TestEqual(TEXT("warnings"), Pins.Report.Warnings.Num(), 2))
				{
					TestEqualSensitive(TEXT("unknown id"), Pins.Report.Warnings[0], FString(TEXT("Ammo carries unknown instance id ghost; ignored (the platform has no such item)")));
					TestEqualSensitive(TEXT("id used twice"), Pins.Report.Warnings[1], FString(TEXT("Rope carries instance id I1 already used by an earlier item; ignored")));
				}
				TestEqual(TEXT("unchanged"), Pins.Report.Unchanged, 1);
			}, Done);
		});
	});

	Describe(TEXT("Transaction"), [this]()
	{
		const TCHAR* const ConflictLine = TEXT("Sync refused: container c 9 changed while reconciling. Re-read and sync again.");
		// Descriptions differ by more than case: the framework keys its cases by them without case.
		const TPair<const TCHAR*, const TCHAR*> Refusals[] = {
			{TEXT("version_conflict"), TEXT("fails on a version conflict and logs it")},
			{TEXT("VERSION_Conflict"), TEXT("knows a version conflict in other capitals")},
			{TEXT("quota_exceeded"), TEXT("fails on another refusal without the conflict line")},
		};
		for (const TPair<const TCHAR*, const TCHAR*>& Refusal : Refusals)
		{
			const FString RefusedCode(Refusal.Key);
			const bool bConflict = RefusedCode.Equals(TEXT("version_conflict"), ESearchCase::IgnoreCase);
			LatentIt(FString::Printf(TEXT("%s (%s)"), Refusal.Value, Refusal.Key), Bound, [this, RefusedCode, bConflict, ConflictLine](const FDoneDelegate& Done)
			{
				if (!SignIn(TEXT("p1")))
				{
					Done.Execute();
					return;
				}
				if (bConflict)
				{
					// Expected exactly once; the framework fails the case otherwise.
					AddExpectedMessagePlain(ConflictLine, ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
				}
				const TSharedRef<QuarnTests::FLogLines> Log = MakeShared<QuarnTests::FLogLines>();
				const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c 9"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0)});
				const FString Refusal = FString::Printf(TEXT("{\"error\":{\"code\":\"%s\",\"message\":\"m\",\"hint\":\"h\"}}"), *RefusedCode);
				ReadThenAnswer(Pins, Document(3, FString()), Answered(409, Refusal), [this, &Pins, RefusedCode, bConflict, ConflictLine, Log](const TArray<FString>& Intents)
				{
					TestEqualSensitive(TEXT("intents"), FString::Join(Intents, TEXT(" ")), FString(TEXT("grant:Ammo:1")));
					TestEqual(TEXT("failure pins"), Pins.Failures, 1);
					TestEqual(TEXT("success pins"), Pins.Successes, 0);
					TestEqualSensitive(TEXT("code as delivered"), Pins.Error.Code, RefusedCode);
					TestEqual(TEXT("the report describes what was sent"), Pins.Report.Granted, 1);
					TestEqual(TEXT("conflict line"), Log->HasAtAnyVerbosity(ConflictLine), bConflict);
				}, Done);
			});
		}

		LatentIt(TEXT("logs the counts when applied"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!SignIn(TEXT("p1")))
			{
				Done.Execute();
				return;
			}
			const TSharedRef<QuarnTests::FLogLines> Log = MakeShared<QuarnTests::FLogLines>();
			const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 1, 0), Desired(TEXT("ghost"), TEXT("X"), 1, 0)});
			ReadThenAnswer(Pins, Document(3, FString()), Answered(200, TEXT("{}")), [this, &Pins, Log](const TArray<FString>& Intents)
			{
				TestEqual(TEXT("success pins"), Pins.Successes, 1);
				TestTrue(TEXT("display line"), Log->Has(ELogVerbosity::Display, TEXT("Sync applied: 1 granted, 0 consumed, 0 moved, 0 unchanged, 1 warning(s).")));
			}, Done);
		});
	});

	// The collector runs between the request and its answer: an action the game instance still
	// holds survives and fires; one that was released is collected and the late answer fires nothing.
	Describe(TEXT("GarbageCollection"), [this]()
	{
		LatentIt(TEXT("keeps a running action alive and releases it after its pin"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!SignIn(TEXT("p1")))
			{
				Done.Execute();
				return;
			}
			const UQuarnSyncPinRecorder& Held = Fixture->Start(TEXT("p1"), TEXT("c1"), {});
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
			if (!TestTrue(TEXT("the game instance keeps a running action alive"), Held.Action.IsValid()))
			{
				Done.Execute();
				return;
			}
			Transport().Answer(200, Document(1, FString()));
			Fixture->WhenTrue([&Held]() { return Held.Total() > 0; }, [this, &Held, Done]()
			{
				TestEqual(TEXT("success pins"), Held.Successes, 1);
				CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
				TestFalse(TEXT("released after its pin fired"), Held.Action.IsValid());
				Done.Execute();
			});
		});

		LatentIt(TEXT("fires nothing for an action collected before its answer"), Bound, [this](const FDoneDelegate& Done)
		{
			if (!SignIn(TEXT("p1")))
			{
				Done.Execute();
				return;
			}
			const UQuarnSyncPinRecorder& Dropped = Fixture->Start(TEXT("p1"), TEXT("c1"), {});
			if (!TestTrue(TEXT("started"), Dropped.Action.IsValid()))
			{
				Done.Execute();
				return;
			}
			Dropped.Action->SetReadyToDestroy();
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
			if (!TestFalse(TEXT("collected once released"), Dropped.Action.IsValid()))
			{
				Done.Execute();
				return;
			}
			Transport().Answer(200, Document(1, SlotItem(TEXT("i1"), TEXT("Ammo"), 1, 0)));
			Fixture->AfterFrames(10, [this, &Dropped, Done]()
			{
				TestEqual(TEXT("pins"), Dropped.Total(), 0);
				TestEqual(TEXT("nothing further is sent for a collected action"), Transport().Pending.Num(), 0);
				TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1);
				Done.Execute();
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
