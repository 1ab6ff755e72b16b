// Loading over the scripted transport: the sign-in and ensure requests byte for byte, every
// status line with its colour, readiness, the re-entry guard, the layout warning, failures, and
// answers arriving for a panel that is gone.
#include "QuarnUITestSupport.h"

using namespace QuarnUITest;

namespace
{
	class QuarnUILoading : public FPanelTest
	{
	protected:
		void ExpectStatus(const UQuarnStashPanel* Panel, const FString& Text, const FLinearColor& Colour)
		{
			EXPECT_EQ(Str(StatusOf(Panel)), Str(Text));
			EXPECT_EQ(StatusColourOf(Panel), Colour);
		}
	};

	FString Mismatch(const TCHAR* Asked, const TCHAR* Kind, const TCHAR* Existing)
	{
		return FString::Printf(TEXT("Stash panel asked for a %s container but '%s' already exists as %s. A container's layout is fixed when it is created; use a different kind, or a different player, to see the other one."), Asked, Kind, Existing);
	}
}

TEST_F(QuarnUILoading, ASignInThenAnEnsureWithExactBodiesThenTheDraw)
{
	FLogCapture Log;
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	EXPECT_FALSE(Panel->IsReady());
	Panel->LoadStash();
	ExpectStatus(Panel, TEXT("Signing in\u2026"), StatusColour);

	ASSERT_EQ(Transport->Sent.Num(), 1);
	const FQuarnHttpRequest& SignIn = Transport->Sent[0];
	EXPECT_EQ(Str(SignIn.Verb), "POST");
	EXPECT_EQ(Str(SignIn.Url), "https://platform.example.com/v1/game/sessions");
	EXPECT_EQ(Str(SignIn.Body), Str(PrettyLines(TEXT("{\n\t\"provider\": \"anonymous\",\n\t\"ticket\": \"menu_preview\"\n}"))));
	EXPECT_EQ(Str(SignIn.GetHeader(TEXT("Authorization"))), "");
	EXPECT_EQ(Str(SignIn.GetHeader(TEXT("Idempotency-Key"))), "");

	// A second call while the first is in flight does nothing at all.
	Panel->LoadStash();
	EXPECT_EQ(Transport->Sent.Num(), 1);

	Transport->Answer(200, SignInAnswer(TEXT("tok_abc"), TEXT("plr_7")));
	ExpectStatus(Panel, TEXT("Loading stash\u2026"), StatusColour);
	EXPECT_FALSE(Panel->IsReady());
	ASSERT_EQ(Transport->Sent.Num(), 2);
	const FQuarnHttpRequest& Ensure = Transport->Sent[1];
	EXPECT_EQ(Str(Ensure.Url), "https://platform.example.com/v1/game/containers/ensure");
	EXPECT_EQ(Str(Ensure.Body), Str(PrettyLines(TEXT("{\n\t\"kind\": \"stash\",\n\t\"layout\": \"grid\",\n\t\"grid_width\": 10,\n\t\"grid_height\": 8\n}"))));
	EXPECT_EQ(Str(Ensure.GetHeader(TEXT("Authorization"))), "Bearer tok_abc");
	EXPECT_EQ(Str(Ensure.GetHeader(TEXT("Idempotency-Key"))), "");
	Panel->LoadStash();
	EXPECT_EQ(Transport->Sent.Num(), 2);

	// Three items, one of them off the grid: all three are read, two drawn.
	Transport->Answer(200, ContainerAnswer(TEXT("ctr_9"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 3, 0, 0), ItemJson(TEXT("ins_2"), TEXT("Flask"), 1, 4, 2, -1, 2, 1), ItemJson(TEXT("ins_3"), TEXT("Lost"), 1, -1, 0) }));
	EXPECT_TRUE(Panel->IsReady());
	ExpectStatus(Panel, TEXT("2 stack(s) \u00B7 10x8"), StatusColour);
	EXPECT_EQ(WatcherOf(Panel)->Lines, (TArray<FString>{ TEXT("Loaded 2") }));
	EXPECT_TRUE(Log.Has(ELogVerbosity::Display, TEXT("Stash panel loaded 3 stack(s) for plr_7")));
	const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
	ASSERT_EQ(Contents.Num(), 3);
	EXPECT_EQ(Str(Contents[1].InstanceId), "ins_2");
	EXPECT_EQ(Contents[1].GridW, 2);
	EXPECT_EQ(Contents[1].X, 4);
	EXPECT_EQ(Log.Count(TEXT("already exists as"), ELogVerbosity::Warning), 0);

	// The guard is released: a second load signs in again and redraws without stacking.
	Panel->LoadStash();
	ASSERT_EQ(Transport->Sent.Num(), 3);
	Transport->Answer(200, SignInAnswer(TEXT("tok_def"), TEXT("plr_7")));
	EXPECT_EQ(Str(Transport->Sent[3].GetHeader(TEXT("Authorization"))), "Bearer tok_def");
	Transport->Answer(200, ContainerAnswer(TEXT("ctr_9"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 3, 0, 0) }));
	EXPECT_EQ(ItemWidgetsOf(Panel).Num(), 2);
	EXPECT_EQ(Member<UCanvasPanel>(Panel, TEXT("GridCanvas"))->GetChildrenCount(), 80 + 2);
	EXPECT_EQ(WatcherOf(Panel)->Lines, (TArray<FString>{ TEXT("Loaded 2"), TEXT("Loaded 1") }));
}

TEST_F(QuarnUILoading, EnsureBodiesClampSlotsButNotTheGrid)
{
	UQuarnStashPanel* const Slots = MakeBuiltPanel(EQuarnContainerLayout::Slots);
	Slots->SlotCount = 0;
	Slots->ContainerKind = TEXT("loadout");
	Slots->Provider = TEXT("steam");
	Slots->Ticket = TEXT("t\"1");
	Slots->LoadStash();
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"provider\": \"steam\",\n\t\"ticket\": \"t\\\"1\"\n}"))));
	Transport->Answer(200, SignInAnswer(TEXT("tok")));
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"kind\": \"loadout\",\n\t\"layout\": \"slots\",\n\t\"slot_count\": 1\n}"))));
	Transport->Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {}));

	UQuarnStashPanel* const Grid = MakeBuiltPanel();
	Grid->GridWidth = 0;
	Grid->GridHeight = -2;
	Grid->LoadStash();
	Transport->Answer(200, SignInAnswer(TEXT("tok")));
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"kind\": \"stash\",\n\t\"layout\": \"grid\",\n\t\"grid_width\": 0,\n\t\"grid_height\": -2\n}"))));
}

TEST_F(QuarnUILoading, ASignInWithoutATokenStopsWithoutTheFailureDelegate)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
	ASSERT_TRUE(Panel->IsReady());

	Panel->LoadStash();
	Transport->Answer(200, TEXT("{\"player\": {\"id\": \"plr_2\"}}"));
	ExpectStatus(Panel, TEXT("Signed in but received no token"), ErrorColour);
	EXPECT_FALSE(Panel->IsReady());
	EXPECT_EQ(Transport->Sent.Num(), 3);
	EXPECT_EQ(WatcherOf(Panel)->CountStartingWith(TEXT("Failed")), 0);
	// What was drawn stays, and the guard is released.
	EXPECT_EQ(ContentsOf(Panel).Num(), 0);
	Panel->LoadStash();
	EXPECT_EQ(Transport->Sent.Num(), 4);
	// The player id of the token-less sign-in was kept: the next load's log line names it.
	FLogCapture Log;
	Transport->Answer(200, TEXT("{\"tokens\": {\"access_token\": \"tok_3\"}}"));
	Transport->Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
	EXPECT_TRUE(Log.Has(ELogVerbosity::Display, TEXT("Stash panel loaded 0 stack(s) for plr_2")));
	EXPECT_TRUE(Panel->IsReady());
}

TEST_F(QuarnUILoading, FailuresShowTheHintOrTheMessageInTheErrorColourAndKeepTheDrawing)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Panel);
	LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 2, 1, 1) }));
	const int32 DrawnWidgets = ItemWidgetsOf(Panel).Num();

	// The sign-in fails with a hint.
	Panel->LoadStash();
	Transport->Answer(403, ErrorAnswer(TEXT("provider_not_allowed"), TEXT("Anonymous sign-in is off."), TEXT("Set a real provider.")));
	ExpectStatus(Panel, TEXT("Set a real provider."), ErrorColour);
	EXPECT_EQ(Watcher->Lines.Last(), TEXT("Failed provider_not_allowed"));
	EXPECT_EQ(Watcher->Error.HttpStatus, 403);
	EXPECT_TRUE(Panel->IsReady());
	EXPECT_EQ(ItemWidgetsOf(Panel).Num(), DrawnWidgets);

	// The ensure fails without a hint: the message shows.
	Panel->LoadStash();
	EXPECT_EQ(Transport->Pending.Num(), 1);
	Transport->Answer(200, SignInAnswer(TEXT("tok_2")));
	Transport->Answer(400, ErrorAnswer(TEXT("invalid_request"), TEXT("grid_width must be 1 to 1000."), TEXT("")));
	ExpectStatus(Panel, TEXT("grid_width must be 1 to 1000."), ErrorColour);
	EXPECT_EQ(Watcher->Lines.Last(), TEXT("Failed invalid_request"));
	EXPECT_EQ(ContentsOf(Panel).Num(), 1);
	EXPECT_TRUE(Panel->IsReady());

	// Both empty: an empty line, still in the error colour, and the delegate still fires.
	Panel->LoadStash();
	Transport->Answer(500, ErrorAnswer(TEXT("internal"), TEXT(""), TEXT("")));
	EXPECT_EQ(Watcher->Lines.Last(), TEXT("Failed internal"));
	EXPECT_EQ(Str(Watcher->Error.Message), "");
	EXPECT_EQ(Str(Watcher->Error.Hint), "");
	ExpectStatus(Panel, TEXT(""), ErrorColour);
	EXPECT_EQ(Watcher->CountStartingWith(TEXT("Failed")), 3);
	EXPECT_EQ(Watcher->CountStartingWith(TEXT("Loaded")), 1);

	// No answer at all: the transport failed.
	Panel->LoadStash();
	Transport->Fail(EQuarnTransportResult::ConnectionFailed);
	EXPECT_EQ(Watcher->CountStartingWith(TEXT("Failed")), 4);
	EXPECT_EQ(StatusColourOf(Panel), ErrorColour);
	EXPECT_EQ(Str(StatusOf(Panel)), Str(Watcher->Error.Hint.IsEmpty() ? Watcher->Error.Message : Watcher->Error.Hint));
	Panel->LoadStash();
	EXPECT_EQ(Transport->Pending.Num(), 1);
}

TEST_F(QuarnUILoading, AnEnsureWithoutAnIdLeavesThePanelNotReady)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
	EXPECT_TRUE(Panel->IsReady());
	LoadWith(Panel, TEXT("{\"layout\": \"grid\", \"items\": []}"));
	EXPECT_FALSE(Panel->IsReady());
	// Items that are not objects, and keys of the wrong type, are left alone.
	LoadWith(Panel, TEXT("{\"id\": \"ctr_2\", \"layout\": \"grid\", \"items\": [3, {\"item_id\": \"Flask\", \"quantity\": \"7\", \"x\": 1, \"y\": 0, \"properties\": {\"__qnid\": \"q\"}}]}"));
	EXPECT_TRUE(Panel->IsReady());
	const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
	ASSERT_EQ(Contents.Num(), 1);
	EXPECT_EQ(Contents[0].Quantity, 0);
	EXPECT_EQ(Str(Contents[0].InstanceId), "");
	EXPECT_EQ(Contents[0].X, 1);
}

TEST_F(QuarnUILoading, AContainerOfTheOtherLayoutIsDrawnAsItIsAndWarnedAbout)
{
	FLogCapture Log;
	// Slots asked for, a grid received.
	UQuarnStashPanel* const WantsSlots = MakeBuiltPanel(EQuarnContainerLayout::Slots);
	LoadWith(WantsSlots, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), { ItemJson(TEXT("ins_1"), TEXT("Rifle"), 1, 3, 2, -1, 4, 2) }));
	EXPECT_EQ(Str(StatusOf(WantsSlots)), "1 stack(s) \u00B7 10x8 grid (this container was not created as slots)");
	EXPECT_TRUE(Log.Has(ELogVerbosity::Warning, Mismatch(TEXT("slots"), TEXT("stash"), TEXT("grid"))));
	EXPECT_FLOAT_EQ(Member<USizeBox>(WantsSlots, TEXT("GridSizer"))->GetWidthOverride(), 640.0f);
	EXPECT_EQ(ContentsOf(WantsSlots)[0].GridW, 4);

	// A grid asked for, slots received in capitals: drawn as slots.
	UQuarnStashPanel* const WantsGrid = MakeBuiltPanel();
	WantsGrid->ContainerKind = TEXT("hideout");
	LoadWith(WantsGrid, ContainerAnswer(TEXT("ctr_2"), TEXT("SLOTS"), { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 1, -1, -1, 13), ItemJson(TEXT("ins_2"), TEXT("Flask"), 1, 2, 3, -1) }));
	// Both stacks have cells after the layout, so both are drawn and counted.
	EXPECT_EQ(Str(StatusOf(WantsGrid)), "2 of 24 slots");
	EXPECT_TRUE(Log.Has(ELogVerbosity::Warning, Mismatch(TEXT("grid"), TEXT("hideout"), TEXT("SLOTS"))));
	const TArray<FQuarnItemInstance> Laid = ContentsOf(WantsGrid);
	ASSERT_EQ(Laid.Num(), 2);
	// Slot 13 at 6 columns is column 1, row 2; the stack without a slot keeps its coordinates.
	EXPECT_EQ(Laid[0].X, 1);
	EXPECT_EQ(Laid[0].Y, 2);
	EXPECT_EQ(Laid[1].X, 2);
	EXPECT_EQ(Laid[1].Y, 3);
	EXPECT_EQ(Log.Count(TEXT("already exists as"), ELogVerbosity::Warning), 2);

	// No layout word: a grid, and no warning.
	UQuarnStashPanel* const Unsure = MakeBuiltPanel(EQuarnContainerLayout::Slots);
	LoadWith(Unsure, TEXT("{\"id\": \"ctr_3\", \"items\": []}"));
	EXPECT_EQ(Str(StatusOf(Unsure)), "0 stack(s) \u00B7 10x8 grid (this container was not created as slots)");
	EXPECT_EQ(Log.Count(TEXT("already exists as"), ELogVerbosity::Warning), 2);
}

TEST_F(QuarnUILoading, ShowContainerDrawsWithoutSigningIn)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel(EQuarnContainerLayout::Slots);
	Panel->SlotCount = 24;
	Panel->SlotColumns = 5;
	FQuarnContainer Shown = Container(TEXT("slots"), { Stack(TEXT("Bandage"), 1, 9, 9) });
	Shown.Items[0].SlotIndex = 7;
	Panel->ShowContainer(Shown);
	// The caller's record is untouched; the panel's copy is laid out by 5 columns.
	EXPECT_EQ(Shown.Items[0].X, 9);
	EXPECT_EQ(ContentsOf(Panel)[0].X, 2);
	EXPECT_EQ(ContentsOf(Panel)[0].Y, 1);
	EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetWidthOverride(), 320.0f);
	EXPECT_FLOAT_EQ(Member<USizeBox>(Panel, TEXT("GridSizer"))->GetHeightOverride(), 320.0f);
	EXPECT_EQ(Str(StatusOf(Panel)), "1 of 24 slots");
	EXPECT_FALSE(Panel->IsReady());
	EXPECT_EQ(Transport->Sent.Num(), 0);
	// Not ready: the operations refuse.
	FLogCapture Log;
	Panel->DepositItem(TEXT("Bandage"));
	EXPECT_TRUE(Log.Has(ELogVerbosity::Warning, TEXT("Deposit refused: the stash is not loaded yet.")));
	EXPECT_EQ(Transport->Sent.Num(), 0);
}

TEST_F(QuarnUILoading, AnswersForACollectedPanelAreDropped)
{
	UQuarnStashPanel* Panel = MakeBuiltPanel();
	Panel->LoadStash();
	const TWeakObjectPtr<UQuarnStashPanel> Weak(Panel);
	Release(Panel);
	Panel = nullptr;
	Engine().CollectGarbage();
	ASSERT_FALSE(Weak.IsValid());
	Transport->Answer(200, SignInAnswer(TEXT("tok")));
	EXPECT_EQ(Transport->Sent.Num(), 1);

	// Collected between the sign-in and the ensure.
	UQuarnStashPanel* Second = MakeBuiltPanel();
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Second);
	Second->LoadStash();
	Transport->Answer(200, SignInAnswer(TEXT("tok")));
	const TWeakObjectPtr<UQuarnStashPanel> WeakSecond(Second);
	Release(Second);
	Engine().CollectGarbage();
	ASSERT_FALSE(WeakSecond.IsValid());
	Transport->Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {}));
	EXPECT_EQ(Watcher->Lines.Num(), 0);
}
