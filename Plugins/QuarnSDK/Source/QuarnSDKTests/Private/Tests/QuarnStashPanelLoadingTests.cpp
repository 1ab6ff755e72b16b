// Copyright Quarn. All Rights Reserved.

// Loading over the scripted transport: the sign-in and ensure requests byte for byte, every status
// line with its colour, readiness, the re-entry guard, the layout warning, failures, and answers
// arriving for a panel that is gone.

#include "QuarnUITestSupport.h"
#include "UObject/GarbageCollection.h"

#if WITH_DEV_AUTOMATION_TESTS

using namespace QuarnUITests;

BEGIN_DEFINE_SPEC(FQuarnStashPanelLoadingSpec, "Quarn.UI.StashPanel.Loading", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	void TestStatus(const UQuarnStashPanel* Panel, const FString& Text, const FLinearColor& Colour)
	{
		TestEqualSensitive(TEXT("status"), StatusOf(Panel), Text);
		TestEqual(TEXT("status colour"), StatusColourOf(Panel), Colour);
	}

	static FString Mismatch(const TCHAR* Asked, const TCHAR* Kind, const TCHAR* Existing)
	{
		return FString::Printf(TEXT("Stash panel asked for a %s container but '%s' already exists as %s. A container's layout is fixed when it is created; use a different kind, or a different player, to see the other one."), Asked, Kind, Existing);
	}
END_DEFINE_SPEC(FQuarnStashPanelLoadingSpec)

void FQuarnStashPanelLoadingSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	It(TEXT("signs in, then ensures with exact bodies, then draws"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		FLogLines Log;
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		TestFalse(TEXT("ready before loading"), Panel->IsReady());
		Panel->LoadStash();
		TestStatus(Panel, TEXT("Signing in\u2026"), StatusColour);

		if (!TestEqual(TEXT("requests after the load"), Transport().Sent.Num(), 1))
		{
			return;
		}
		const FQuarnHttpRequest SignIn = Transport().Sent[0];
		TestEqualSensitive(TEXT("sign-in verb"), SignIn.Verb, FString(TEXT("POST")));
		TestEqualSensitive(TEXT("sign-in url"), SignIn.Url, FString(TEXT("https://platform.example.com/v1/game/sessions")));
		TestEqualSensitive(TEXT("sign-in body"), SignIn.Body, PrettyLines(TEXT("{\n\t\"provider\": \"anonymous\",\n\t\"ticket\": \"menu_preview\"\n}")));
		TestEqualSensitive(TEXT("sign-in authorization"), SignIn.GetHeader(TEXT("Authorization")), FString());
		TestEqualSensitive(TEXT("sign-in key"), SignIn.GetHeader(TEXT("Idempotency-Key")), FString());

		// A second call while the first is in flight does nothing at all.
		Panel->LoadStash();
		TestEqual(TEXT("requests after a second load"), Transport().Sent.Num(), 1);

		Transport().Answer(200, SignInAnswer(TEXT("tok_abc"), TEXT("plr_7")));
		TestStatus(Panel, TEXT("Loading stash\u2026"), StatusColour);
		TestFalse(TEXT("ready while ensuring"), Panel->IsReady());
		if (!TestEqual(TEXT("requests after the sign-in"), Transport().Sent.Num(), 2))
		{
			return;
		}
		const FQuarnHttpRequest Ensure = Transport().Sent[1];
		TestEqualSensitive(TEXT("ensure url"), Ensure.Url, FString(TEXT("https://platform.example.com/v1/game/containers/ensure")));
		TestEqualSensitive(TEXT("ensure body"), Ensure.Body, PrettyLines(TEXT("{\n\t\"kind\": \"stash\",\n\t\"layout\": \"grid\",\n\t\"grid_width\": 10,\n\t\"grid_height\": 8\n}")));
		TestEqualSensitive(TEXT("ensure authorization"), Ensure.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_abc")));
		TestEqualSensitive(TEXT("ensure key"), Ensure.GetHeader(TEXT("Idempotency-Key")), FString());
		Panel->LoadStash();
		TestEqual(TEXT("requests after a load while ensuring"), Transport().Sent.Num(), 2);

		// Three items, one of them off the grid: all three are read, two drawn.
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_9"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 3, 0, 0), ItemJson(TEXT("ins_2"), TEXT("Flask"), 1, 4, 2, -1, 2, 1), ItemJson(TEXT("ins_3"), TEXT("Lost"), 1, -1, 0) }));
		TestTrue(TEXT("ready"), Panel->IsReady());
		TestStatus(Panel, TEXT("2 stack(s) \u00B7 10x8"), StatusColour);
		TestEqualSensitive(TEXT("watched"), FString::Join(FPanelFixture::WatcherOf(Panel)->Lines, TEXT("|")), FString(TEXT("Loaded 2")));
		TestTrue(TEXT("the load is logged"), Log.Has(ELogVerbosity::Display, TEXT("Stash panel loaded 3 stack(s) for plr_7")));
		const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
		if (TestEqual(TEXT("contents"), Contents.Num(), 3))
		{
			TestEqualSensitive(TEXT("second instance"), Contents[1].InstanceId, FString(TEXT("ins_2")));
			TestEqual(TEXT("second width"), Contents[1].GridW, 2);
			TestEqual(TEXT("second x"), Contents[1].X, 4);
		}
		TestEqual(TEXT("layout warnings"), Log.Count(TEXT("already exists as"), ELogVerbosity::Warning), 0);

		// The guard is released: a second load signs in again and redraws without stacking.
		Panel->LoadStash();
		if (!TestEqual(TEXT("requests after the reload"), Transport().Sent.Num(), 3))
		{
			return;
		}
		Transport().Answer(200, SignInAnswer(TEXT("tok_def"), TEXT("plr_7")));
		if (TestEqual(TEXT("requests after the second sign-in"), Transport().Sent.Num(), 4))
		{
			TestEqualSensitive(TEXT("second ensure authorization"), Transport().Sent[3].GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_def")));
		}
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_9"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 3, 0, 0) }));
		TestEqual(TEXT("item widgets"), ItemWidgetsOf(Panel).Num(), 2);
		TestEqual(TEXT("canvas children"), Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))->GetChildrenCount(), 80 + 2);
		TestEqualSensitive(TEXT("watched after the reload"), FString::Join(FPanelFixture::WatcherOf(Panel)->Lines, TEXT("|")), FString(TEXT("Loaded 2|Loaded 1")));
	});

	It(TEXT("clamps the slot count in the ensure body but not the grid"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Slots = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Slots->SlotCount = 0;
		Slots->ContainerKind = TEXT("loadout");
		Slots->Provider = TEXT("steam");
		Slots->Ticket = TEXT("t\"1");
		Slots->LoadStash();
		TestEqualSensitive(TEXT("sign-in body"), Transport().Sent.Last().Body, PrettyLines(TEXT("{\n\t\"provider\": \"steam\",\n\t\"ticket\": \"t\\\"1\"\n}")));
		Transport().Answer(200, SignInAnswer(TEXT("tok")));
		TestEqualSensitive(TEXT("slots ensure body"), Transport().Sent.Last().Body, PrettyLines(TEXT("{\n\t\"kind\": \"loadout\",\n\t\"layout\": \"slots\",\n\t\"slot_count\": 1\n}")));
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}));

		UQuarnRecordingStashPanel* const Grid = Fixture->MakeBuiltPanel();
		Grid->GridWidth = 0;
		Grid->GridHeight = -2;
		Grid->LoadStash();
		Transport().Answer(200, SignInAnswer(TEXT("tok")));
		TestEqualSensitive(TEXT("grid ensure body"), Transport().Sent.Last().Body, PrettyLines(TEXT("{\n\t\"kind\": \"stash\",\n\t\"layout\": \"grid\",\n\t\"grid_width\": 0,\n\t\"grid_height\": -2\n}")));
	});

	It(TEXT("stops without the failure delegate when a sign-in has no token"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
		if (!TestTrue(TEXT("ready after the first load"), Panel->IsReady()))
		{
			return;
		}

		Panel->LoadStash();
		Transport().Answer(200, TEXT("{\"player\": {\"id\": \"plr_2\"}}"));
		TestStatus(Panel, TEXT("Signed in but received no token"), ErrorColour);
		TestFalse(TEXT("ready"), Panel->IsReady());
		TestEqual(TEXT("requests"), Transport().Sent.Num(), 3);
		TestEqual(TEXT("failures"), FPanelFixture::WatcherOf(Panel)->CountStartingWith(TEXT("Failed")), 0);
		// What was drawn stays, and the guard is released.
		TestEqual(TEXT("contents"), ContentsOf(Panel).Num(), 0);
		Panel->LoadStash();
		TestEqual(TEXT("requests after another load"), Transport().Sent.Num(), 4);
		// The player id of the token-less sign-in was kept: the next load's log line names it.
		FLogLines Log;
		Transport().Answer(200, TEXT("{\"tokens\": {\"access_token\": \"tok_3\"}}"));
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
		TestTrue(TEXT("the kept player is logged"), Log.Has(ELogVerbosity::Display, TEXT("Stash panel loaded 0 stack(s) for plr_2")));
		TestTrue(TEXT("ready at last"), Panel->IsReady());
	});

	It(TEXT("shows the hint or the message of a failure in the error colour and keeps the drawing"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 2, 1, 1) }));
		const int32 DrawnWidgets = ItemWidgetsOf(Panel).Num();

		// The sign-in fails with a hint.
		Panel->LoadStash();
		Transport().Answer(403, ErrorAnswer(TEXT("provider_not_allowed"), TEXT("Anonymous sign-in is off."), TEXT("Set a real provider.")));
		TestStatus(Panel, TEXT("Set a real provider."), ErrorColour);
		TestEqualSensitive(TEXT("last line"), Watcher->Lines.Last(), FString(TEXT("Failed provider_not_allowed")));
		TestEqual(TEXT("status code"), Watcher->Error.HttpStatus, 403);
		TestTrue(TEXT("still ready"), Panel->IsReady());
		TestEqual(TEXT("drawing kept"), ItemWidgetsOf(Panel).Num(), DrawnWidgets);

		// The ensure fails without a hint: the message shows.
		Panel->LoadStash();
		TestEqual(TEXT("pending"), Transport().Pending.Num(), 1);
		Transport().Answer(200, SignInAnswer(TEXT("tok_2")));
		Transport().Answer(400, ErrorAnswer(TEXT("invalid_request"), TEXT("grid_width must be 1 to 1000."), TEXT("")));
		TestStatus(Panel, TEXT("grid_width must be 1 to 1000."), ErrorColour);
		TestEqualSensitive(TEXT("last line after the ensure"), Watcher->Lines.Last(), FString(TEXT("Failed invalid_request")));
		TestEqual(TEXT("contents kept"), ContentsOf(Panel).Num(), 1);
		TestTrue(TEXT("ready after the ensure failed"), Panel->IsReady());

		// Both empty: an empty line, still in the error colour, and the delegate still fires.
		Panel->LoadStash();
		Transport().Answer(500, ErrorAnswer(TEXT("internal"), TEXT(""), TEXT("")));
		TestEqualSensitive(TEXT("last line when empty"), Watcher->Lines.Last(), FString(TEXT("Failed internal")));
		TestEqualSensitive(TEXT("message"), Watcher->Error.Message, FString());
		TestEqualSensitive(TEXT("hint"), Watcher->Error.Hint, FString());
		TestStatus(Panel, FString(), ErrorColour);
		TestEqual(TEXT("failures"), Watcher->CountStartingWith(TEXT("Failed")), 3);
		TestEqual(TEXT("loads"), Watcher->CountStartingWith(TEXT("Loaded")), 1);

		// No answer at all: the transport failed.
		Panel->LoadStash();
		Transport().Fail(EQuarnTransportResult::ConnectionFailed);
		TestEqual(TEXT("failures after the transport failed"), Watcher->CountStartingWith(TEXT("Failed")), 4);
		TestEqual(TEXT("error colour"), StatusColourOf(Panel), ErrorColour);
		TestEqualSensitive(TEXT("status of the transport failure"), StatusOf(Panel), Watcher->Error.Hint.IsEmpty() ? Watcher->Error.Message : Watcher->Error.Hint);
		Panel->LoadStash();
		TestEqual(TEXT("the guard is released"), Transport().Pending.Num(), 1);
	});

	It(TEXT("is not ready after an ensure answer without an id"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
		TestTrue(TEXT("ready"), Panel->IsReady());
		Fixture->LoadWith(Panel, TEXT("{\"layout\": \"grid\", \"items\": []}"));
		TestFalse(TEXT("ready without an id"), Panel->IsReady());
		// Items that are not objects, and keys of the wrong type, are left alone.
		Fixture->LoadWith(Panel, TEXT("{\"id\": \"ctr_2\", \"layout\": \"grid\", \"items\": [3, {\"item_id\": \"Flask\", \"quantity\": \"7\", \"x\": 1, \"y\": 0, \"properties\": {\"__qnid\": \"q\"}}]}"));
		TestTrue(TEXT("ready again"), Panel->IsReady());
		const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
		if (TestEqual(TEXT("contents"), Contents.Num(), 1))
		{
			TestEqual(TEXT("quantity of the wrong type"), Contents[0].Quantity, 0);
			TestEqualSensitive(TEXT("instance without an id"), Contents[0].InstanceId, FString());
			TestEqual(TEXT("x"), Contents[0].X, 1);
		}
	});

	It(TEXT("draws a container of the other layout as it is and warns"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		AddExpectedMessagePlain(Mismatch(TEXT("slots"), TEXT("stash"), TEXT("grid")), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		AddExpectedMessagePlain(Mismatch(TEXT("grid"), TEXT("hideout"), TEXT("SLOTS")), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		FLogLines Log;
		// Slots asked for, a grid received.
		UQuarnRecordingStashPanel* const WantsSlots = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Fixture->LoadWith(WantsSlots, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Rifle"), 1, 3, 2, -1, 4, 2) }));
		TestEqualSensitive(TEXT("status of a grid"), StatusOf(WantsSlots), FString(TEXT("1 stack(s) \u00B7 10x8 grid (this container was not created as slots)")));
		TestTrue(TEXT("warned of the grid"), Log.HasAtAnyVerbosity(Mismatch(TEXT("slots"), TEXT("stash"), TEXT("grid"))));
		TestEqual(TEXT("grid width"), Member<USizeBox>(WantsSlots, TEXT("GridSizer"))->GetWidthOverride(), 640.0f);
		TestEqual(TEXT("stack width"), ContentsOf(WantsSlots)[0].GridW, 4);

		// A grid asked for, slots received in capitals: drawn as slots.
		UQuarnRecordingStashPanel* const WantsGrid = Fixture->MakeBuiltPanel();
		WantsGrid->ContainerKind = TEXT("hideout");
		Fixture->LoadWith(WantsGrid, ContainerAnswer(TEXT("ctr_2"), TEXT("SLOTS"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 1, -1, -1, 13), ItemJson(TEXT("ins_2"), TEXT("Flask"), 1, 2, 3, -1) }));
		// Both stacks have cells after the layout, so both are drawn and counted.
		TestEqualSensitive(TEXT("status of slots"), StatusOf(WantsGrid), FString(TEXT("2 of 24 slots")));
		TestTrue(TEXT("warned of the slots"), Log.HasAtAnyVerbosity(Mismatch(TEXT("grid"), TEXT("hideout"), TEXT("SLOTS"))));
		const TArray<FQuarnItemInstance> Laid = ContentsOf(WantsGrid);
		if (TestEqual(TEXT("laid out"), Laid.Num(), 2))
		{
			// Slot 13 at 6 columns is column 1, row 2; the stack without a slot keeps its coordinates.
			TestEqual(TEXT("slot 13 x"), Laid[0].X, 1);
			TestEqual(TEXT("slot 13 y"), Laid[0].Y, 2);
			TestEqual(TEXT("no slot x"), Laid[1].X, 2);
			TestEqual(TEXT("no slot y"), Laid[1].Y, 3);
		}
		TestEqual(TEXT("warnings"), Log.CountAtAnyVerbosity(TEXT("already exists as")), 2);

		// No layout word: a grid, and no warning.
		UQuarnRecordingStashPanel* const Unsure = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Fixture->LoadWith(Unsure, TEXT("{\"id\": \"ctr_3\", \"items\": []}"));
		TestEqualSensitive(TEXT("status without a layout"), StatusOf(Unsure), FString(TEXT("0 stack(s) \u00B7 10x8 grid (this container was not created as slots)")));
		TestEqual(TEXT("warnings without a layout"), Log.CountAtAnyVerbosity(TEXT("already exists as")), 2);
	});

	It(TEXT("shows a container without signing in"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Panel->SlotCount = 24;
		Panel->SlotColumns = 5;
		FQuarnContainer Shown = Container(TEXT("slots"), { Stack(TEXT("Bandage"), 1, 9, 9) });
		Shown.Items[0].SlotIndex = 7;
		Panel->ShowContainer(Shown);
		// The caller's record is untouched; the panel's copy is laid out by 5 columns.
		TestEqual(TEXT("caller's x"), Shown.Items[0].X, 9);
		TestEqual(TEXT("panel's x"), ContentsOf(Panel)[0].X, 2);
		TestEqual(TEXT("panel's y"), ContentsOf(Panel)[0].Y, 1);
		TestEqual(TEXT("width"), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), 320.0f);
		TestEqual(TEXT("height"), Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), 320.0f);
		TestEqualSensitive(TEXT("status"), StatusOf(Panel), FString(TEXT("1 of 24 slots")));
		TestFalse(TEXT("ready"), Panel->IsReady());
		TestEqual(TEXT("requests"), Transport().Sent.Num(), 0);
		// Not ready: the operations refuse.
		AddExpectedMessagePlain(TEXT("Deposit refused: the stash is not loaded yet."), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		FLogLines Log;
		Panel->DepositItem(TEXT("Bandage"));
		TestTrue(TEXT("refusal logged"), Log.HasAtAnyVerbosity(TEXT("Deposit refused: the stash is not loaded yet.")));
		TestEqual(TEXT("requests after the refused deposit"), Transport().Sent.Num(), 0);
	});

	It(TEXT("drops answers for a collected panel"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* Panel = Fixture->MakeBuiltPanel();
		Panel->LoadStash();
		const TWeakObjectPtr<UQuarnStashPanel> Weak(Panel);
		Fixture->Release(Panel);
		Panel = nullptr;
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		if (!TestFalse(TEXT("collected"), Weak.IsValid()))
		{
			return;
		}
		Transport().Answer(200, SignInAnswer(TEXT("tok")));
		TestEqual(TEXT("requests"), Transport().Sent.Num(), 1);

		// Collected between the sign-in and the ensure.
		UQuarnRecordingStashPanel* const Second = Fixture->MakeBuiltPanel();
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Second);
		Second->LoadStash();
		Transport().Answer(200, SignInAnswer(TEXT("tok")));
		const TWeakObjectPtr<UQuarnStashPanel> WeakSecond(Second);
		Fixture->Release(Second);
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		if (!TestFalse(TEXT("second collected"), WeakSecond.IsValid()))
		{
			return;
		}
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
		TestEqual(TEXT("watched lines"), Watcher->Lines.Num(), 0);
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
