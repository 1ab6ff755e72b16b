// Copyright Quarn. All Rights Reserved.

// The sync node at its edges: activated twice it still reads and writes once; a move on a grid
// carries the stack's position and rotation; a container version beyond a float's precision
// reaches "expected_version" exactly; an item id longer than the platform stores is refused as a
// bad answer before it becomes a name.

#include "Tests/QuarnSyncTestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnItemIds.h"

using namespace QuarnSyncTests;

namespace QuarnSyncActivationTests
{
	const FTimespan Bound = FTimespan::FromSeconds(20);

	FString Document(int64 Version, const FString& ItemsJson)
	{
		return FString::Printf(TEXT("{\"id\":\"c1\",\"kind\":\"stash\",\"layout\":\"slots\",\"version\":%lld,\"items\":[%s]}"), static_cast<long long>(Version), *ItemsJson);
	}

	FString SlotItem(const TCHAR* Id, const TCHAR* ItemId, int32 Quantity, int32 SlotIndex)
	{
		return FString::Printf(TEXT("{\"id\":\"%s\",\"item_id\":\"%s\",\"quantity\":%d,\"slot_index\":%d,\"slot_key\":\"\",\"x\":-1,\"y\":-1,\"rotated\":false,\"properties\":{\"__qnid\":\"%s\"}}"), Id, ItemId, Quantity, SlotIndex, Id);
	}

	FString GridDocument(int64 Version, const FString& ItemsJson)
	{
		return FString::Printf(TEXT("{\"id\":\"c1\",\"kind\":\"stash\",\"layout\":\"grid\",\"version\":%lld,\"items\":[%s]}"), static_cast<long long>(Version), *ItemsJson);
	}

	FString GridItem(const TCHAR* Id, const TCHAR* ItemId, int32 Quantity, int32 X, int32 Y, bool bRotated)
	{
		return FString::Printf(TEXT("{\"id\":\"%s\",\"item_id\":\"%s\",\"quantity\":%d,\"slot_index\":-1,\"slot_key\":\"\",\"x\":%d,\"y\":%d,\"rotated\":%s,\"properties\":{\"__qnid\":\"%s\"}}"),
			Id, ItemId, Quantity, X, Y, bRotated ? TEXT("true") : TEXT("false"), Id);
	}

	/** The "expected_version" of a transaction body as its JSON text, so that no double rounds it on the way. */
	FString ExpectedVersionText(const FString& Body)
	{
		const FString Key = TEXT("\"expected_version\": ");
		const int32 At = Body.Find(Key, ESearchCase::CaseSensitive);
		if (At == INDEX_NONE)
		{
			return TEXT("<absent>");
		}
		int32 End = At + Key.Len();
		while (End < Body.Len() && FChar::IsDigit(Body[End]))
		{
			++End;
		}
		return Body.Mid(At + Key.Len(), End - At - Key.Len());
	}
}

BEGIN_DEFINE_SPEC(FQuarnSyncActivationSpec, "Quarn.USME.SyncEdges", QuarnTests::TestFlags)
	TUniquePtr<FSyncFixture> Fixture;

	QuarnTests::FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	/** Runs Check a few frames after a pin fired, then ends the case; the case's bound ends a wait that never does. */
	void AfterPin(const UQuarnSyncPinRecorder& Pins, TFunction<void()> Check, const FDoneDelegate& Done)
	{
		FSyncFixture* const Current = Fixture.Get();
		Current->WhenTrue([&Pins]() { return Pins.Total() > 0; }, [Current, Check, Done]()
		{
			Current->AfterFrames(3, [Check, Done]()
			{
				Check();
				Done.Execute();
			});
		});
	}

	/** Syncs Desired against a read answered with ReadBody and returns the transaction sent; empty when none went. */
	void SyncAndCatchTransaction(const TArray<FQuarnItemInstance>& Desired, const FString& ReadBody, const FDoneDelegate& Done, TFunction<void(const FQuarnHttpRequest& Transaction)> Check)
	{
		Fixture->Start(TEXT("p1"), TEXT("c1"), Desired);
		Transport().Answer(200, ReadBody);
		FSyncFixture* const Current = Fixture.Get();
		Current->WhenTrue([this]() { return Transport().Pending.Num() == 1; }, [this, Check, Done]()
		{
			Check(Transport().Pending[0].Request);
			Done.Execute();
		});
	}
END_DEFINE_SPEC(FQuarnSyncActivationSpec)

void FQuarnSyncActivationSpec::Define()
{
	using namespace QuarnSyncActivationTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FSyncFixture>();
		TestTrue(TEXT("signed in"), Fixture->SignIn(TEXT("p1")));
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	LatentIt(TEXT("reads and writes once when activated a second time, and counts one grant"), Bound, [this](const FDoneDelegate& Done)
	{
		UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 5, 0)});
		if (!TestTrue(TEXT("the node"), Pins.Action.IsValid()))
		{
			Done.Execute();
			return;
		}
		Pins.Action->Activate();
		TestEqual(TEXT("reads sent by two activations"), Transport().Sent.Num(), 1);
		Transport().Answer(200, Document(7, FString()));
		FSyncFixture* const Current = Fixture.Get();
		Current->WhenTrue([this]() { return Transport().Sent.Num() >= 2 && Transport().Pending.Num() > 0; }, [this, &Pins, Done]()
		{
			Transport().Answer(200, TEXT("{\"version\":8,\"results\":[null]}"));
			AfterPin(Pins, [this, &Pins]()
			{
				TestEqual(TEXT("success pins"), Pins.Successes, 1);
				TestEqual(TEXT("failure pins"), Pins.Failures, 0);
				TestEqual(TEXT("granted"), Pins.Report.Granted, 1);
				TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 2);
				TestEqual(TEXT("requests left waiting"), Transport().Pending.Num(), 0);
			}, Done);
		});
	});

	LatentIt(TEXT("moves a stack on a grid to the desired position with its rotation"), Bound, [this](const FDoneDelegate& Done)
	{
		FQuarnItemInstance Rifle = Desired(TEXT("i1"), TEXT("Rifle"), 1, -1);
		Rifle.X = 3;
		Rifle.Y = 2;
		Rifle.bRotated = true;
		FQuarnItemInstance Ammo = Desired(TEXT("i2"), TEXT("Ammo"), 5, -1);
		Ammo.X = 0;
		Ammo.Y = 4;
		SyncAndCatchTransaction({Rifle, Ammo}, GridDocument(3, GridItem(TEXT("i1"), TEXT("Rifle"), 1, 0, 0, false) + TEXT(",") + GridItem(TEXT("i2"), TEXT("Ammo"), 5, 0, 4, false)), Done,
			[this](const FQuarnHttpRequest& Transaction)
			{
				const TArray<FString> Intents = DescribeIntents(Transaction.Body);
				TestEqual(TEXT("intents"), Intents.Num(), 1);
				if (Intents.Num() > 0)
				{
					TestEqualSensitive(TEXT("the move"), Intents[0], FString(TEXT("move:i1:{\"x\":3,\"y\":2,\"rotated\":true}")));
				}
			});
	});

	LatentIt(TEXT("sends a version above 2^24 back as expected_version exactly"), Bound, [this](const FDoneDelegate& Done)
	{
		// 2^24 + 1 is the first whole number a float cannot hold; 2^32 + 3 needs more than 32 bits.
		SyncAndCatchTransaction({Desired(TEXT(""), TEXT("Ammo"), 5, 0)}, Document(16777217, FString()), Done, [this](const FQuarnHttpRequest& Transaction)
		{
			TestEqualSensitive(TEXT("expected_version"), ExpectedVersionText(Transaction.Body), FString(TEXT("16777217")));
		});
	});

	LatentIt(TEXT("sends a version above 2^32 back as expected_version exactly"), Bound, [this](const FDoneDelegate& Done)
	{
		SyncAndCatchTransaction({Desired(TEXT(""), TEXT("Ammo"), 5, 0)}, Document(4294967299LL, FString()), Done, [this](const FQuarnHttpRequest& Transaction)
		{
			TestEqualSensitive(TEXT("expected_version"), ExpectedVersionText(Transaction.Body), FString(TEXT("4294967299")));
		});
	});

	LatentIt(TEXT("refuses a read holding an item id longer than the platform stores as a bad answer, sending nothing more"), Bound, [this](const FDoneDelegate& Done)
	{
		const FString LongId = FString::ChrN(QuarnItemIds::MaxLength + 1, TEXT('q')) + TEXT("_never_a_name");
		const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 5, 0)});
		Transport().Answer(200, Document(2, SlotItem(TEXT("i1"), TEXT("Ammo"), 5, 0) + TEXT(",") + SlotItem(TEXT("i2"), *LongId, 1, 1)));
		AfterPin(Pins, [this, &Pins, LongId]()
		{
			TestEqual(TEXT("failure pins"), Pins.Failures, 1);
			TestEqualSensitive(TEXT("code"), Pins.Error.Code, FString(TEXT("bad_response")));
			TestEqual(TEXT("report"), Pins.Report.Granted + Pins.Report.Consumed + Pins.Report.Unchanged, 0);
			TestEqual(TEXT("requests sent"), Transport().Sent.Num(), 1);
			TestTrue(TEXT("no name was made of the id"), FName(*LongId, FNAME_Find).IsNone());
		}, Done);
	});

	LatentIt(TEXT("reads an item id of exactly the platform's limit"), Bound, [this](const FDoneDelegate& Done)
	{
		const FString LimitId = FString::ChrN(QuarnItemIds::MaxLength, TEXT('k'));
		FQuarnItemInstance Kept = Desired(TEXT("i1"), *LimitId, 1, 0);
		const UQuarnSyncPinRecorder& Pins = Fixture->Start(TEXT("p1"), TEXT("c1"), {Kept});
		Transport().Answer(200, Document(2, SlotItem(TEXT("i1"), *LimitId, 1, 0)));
		AfterPin(Pins, [this, &Pins]()
		{
			TestEqual(TEXT("success pins"), Pins.Successes, 1);
			TestEqual(TEXT("unchanged"), Pins.Report.Unchanged, 1);
		}, Done);
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
