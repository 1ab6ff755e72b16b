// Deposit, withdraw and transfer: the request bodies and their refusals over the scripted
// transport, then the same operations against the emulator, where the reload after each success
// shows what the platform now holds.
#include "QuarnUITestSupport.h"

using namespace QuarnUITest;

namespace
{
	class QuarnUIOperations : public FPanelTest
	{
	protected:
		UQuarnStashPanel* LoadedPanel(EQuarnContainerLayout Layout = EQuarnContainerLayout::Grid)
		{
			UQuarnStashPanel* const Panel = MakeBuiltPanel(Layout);
			const TCHAR* const Word = Layout == EQuarnContainerLayout::Slots ? TEXT("slots") : TEXT("grid");
			LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), Word, { ItemJson(TEXT("ins_1"), TEXT("Bandage"), 2, 0, 0, 0) }));
			EXPECT_TRUE(Panel->IsReady());
			return Panel;
		}

		FQuarnItemInstance Held(const TCHAR* Instance, int32 Quantity)
		{
			FQuarnItemInstance Item = Stack(TEXT("Bandage"), Quantity, 0, 0);
			Item.InstanceId = Instance;
			return Item;
		}
	};

	class QuarnUIOperationsEmulator : public FEmulatorPanelTest
	{
	protected:
		UQuarnStashPanel* EmulatorPanel(const TCHAR* Ticket, const TCHAR* Kind, EQuarnContainerLayout Layout)
		{
			UQuarnStashPanel* const Panel = MakeBuiltPanel(Layout);
			Panel->Ticket = Ticket;
			Panel->ContainerKind = Kind;
			EXPECT_TRUE(LoadAndWait(Panel)) << Str(StatusOf(Panel));
			return Panel;
		}

		/** Runs Operation and waits for the reload it causes (or for a failure). */
		bool RunAndReload(UQuarnStashPanel* Panel, TFunctionRef<void()> Operation)
		{
			UQuarnStashPanelWatcher* const Watcher = WatcherOf(Panel);
			const int32 Loads = Watcher->CountStartingWith(TEXT("Loaded "));
			const int32 Failures = Watcher->CountStartingWith(TEXT("Failed"));
			Operation();
			PumpUntil([&] { return Watcher->CountStartingWith(TEXT("Loaded ")) > Loads || Watcher->CountStartingWith(TEXT("Failed")) > Failures; });
			return Watcher->CountStartingWith(TEXT("Failed")) == Failures && Watcher->CountStartingWith(TEXT("Loaded ")) > Loads;
		}

		/** A copy of the first stack of this item, or an unset value. */
		static TOptional<FQuarnItemInstance> Find(const TArray<FQuarnItemInstance>& Contents, const TCHAR* ItemId)
		{
			const FQuarnItemInstance* const Found = Contents.FindByPredicate([ItemId](const FQuarnItemInstance& Item) { return Item.ItemId == FName(ItemId); });
			return Found ? TOptional<FQuarnItemInstance>(*Found) : TOptional<FQuarnItemInstance>();
		}
	};
}

TEST_F(QuarnUIOperations, DepositsSendTheGrantAndReportOnlyAfterTheAnswer)
{
	UQuarnStashPanel* const Panel = LoadedPanel();
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Panel);
	const int32 Before = Transport->Sent.Num();

	Panel->DepositItem(TEXT("Bandage"), 0, 2, 1, 7);
	ASSERT_EQ(Transport->Sent.Num(), Before + 1);
	const FQuarnHttpRequest Grant = Transport->Sent.Last();
	EXPECT_EQ(Str(Grant.Url), "https://platform.example.com/v1/game/inventory/grant");
	EXPECT_EQ(Str(Grant.Body), Str(PrettyLines(TEXT("{\n\t\"container_id\": \"ctr_1\",\n\t\"item_id\": \"Bandage\",\n\t\"quantity\": 1,\n\t\"to\":\n\t{\n\t\t\"x\": 2,\n\t\t\"y\": 1\n\t}\n}"))));
	EXPECT_EQ(Str(Grant.GetHeader(TEXT("Authorization"))), "Bearer tok_1");
	const FString FirstKey = Grant.GetHeader(TEXT("Idempotency-Key"));
	EXPECT_FALSE(FirstKey.IsEmpty());
	// Nothing is reported, and nothing redrawn, before the platform answers.
	EXPECT_EQ(Watcher->Lines, (TArray<FString>{ TEXT("Loaded 1") }));

	// Half a cell named: no "to"; the empty name is sent as its text.
	Panel->DepositItem(TEXT("Flask"), 4, 3, -1);
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"container_id\": \"ctr_1\",\n\t\"item_id\": \"Flask\",\n\t\"quantity\": 4\n}"))));
	EXPECT_NE(Transport->Sent.Last().GetHeader(TEXT("Idempotency-Key")), FirstKey);
	Panel->DepositItem(NAME_None);
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"container_id\": \"ctr_1\",\n\t\"item_id\": \"None\",\n\t\"quantity\": 1\n}"))));

	// The first grant is accepted: delegate, then event, then a fresh load.
	ASSERT_TRUE(Transport->Answer(200, TEXT("{\"version\": 2, \"instance\": null}")));
	EXPECT_EQ(Watcher->Lines, (TArray<FString>{ TEXT("Loaded 1"), TEXT("Deposit Bandage 1 7"), TEXT("Deposited Bandage 1 7") }));
	EXPECT_TRUE(Transport->Sent.Last().Url.EndsWith(TEXT("/v1/game/sessions")));
	EXPECT_EQ(Str(StatusOf(Panel)), "Signing in\u2026");

	// The second is refused: error line, failure delegate, no report and no reload.
	const int32 Sent = Transport->Sent.Num();
	ASSERT_TRUE(Transport->Answer(409, ErrorAnswer(TEXT("container_full"), TEXT("No room for Flask."), TEXT(""))));
	EXPECT_EQ(Str(StatusOf(Panel)), "No room for Flask.");
	EXPECT_EQ(StatusColourOf(Panel), ErrorColour);
	EXPECT_EQ(Watcher->Lines.Last(), TEXT("Failed container_full"));
	EXPECT_EQ(Watcher->CountStartingWith(TEXT("Deposit")), 2);
	EXPECT_EQ(Transport->Sent.Num(), Sent);
}

TEST_F(QuarnUIOperations, ANamedCellOnASlotDisplayIsASlotIndex)
{
	UQuarnStashPanel* const Source = LoadedPanel();
	UQuarnStashPanel* const Panel = LoadedPanel(EQuarnContainerLayout::Slots);
	Panel->DepositItem(TEXT("Bandage"), 1, 2, 1);
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"container_id\": \"ctr_1\",\n\t\"item_id\": \"Bandage\",\n\t\"quantity\": 1,\n\t\"to\":\n\t{\n\t\t\"slot_index\": 8\n\t}\n}"))));
	// Outside the drawn columns, sent unchanged.
	Panel->DepositItem(TEXT("Bandage"), 1, 7, 0);
	EXPECT_TRUE(Transport->Sent.Last().Body.Contains(TEXT("\"slot_index\": 7")));

	// The same rule for a transfer into the slot display, from the destination's columns.
	Panel->SlotColumns = 4;
	Panel->ShowContainer(Container(TEXT("slots"), {}));
	Panel->TransferFrom(Source, Held(TEXT("ins_9"), 3), 1, 2);
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"instance_id\": \"ins_9\",\n\t\"to_container_id\": \"ctr_1\",\n\t\"to\":\n\t{\n\t\t\"slot_index\": 9\n\t}\n}"))));
	Panel->TransferFrom(Source, Held(TEXT("ins_9"), 3));
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"instance_id\": \"ins_9\",\n\t\"to_container_id\": \"ctr_1\"\n}"))));
}

TEST_F(QuarnUIOperations, WithdrawalsConsumeTheWholeStack)
{
	UQuarnStashPanel* const Panel = LoadedPanel();
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Panel);
	Panel->WithdrawInstance(Held(TEXT("ins_1"), 5));
	EXPECT_EQ(Str(Transport->Sent.Last().Url), "https://platform.example.com/v1/game/inventory/consume");
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"instance_id\": \"ins_1\",\n\t\"quantity\": 5\n}"))));
	EXPECT_FALSE(Transport->Sent.Last().GetHeader(TEXT("Idempotency-Key")).IsEmpty());
	Panel->WithdrawInstance(Held(TEXT("ins_2"), 0));
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"instance_id\": \"ins_2\",\n\t\"quantity\": 1\n}"))));

	ASSERT_TRUE(Transport->Answer(200, TEXT("{\"version\": 3, \"instance\": null}")));
	EXPECT_EQ(Watcher->Lines, (TArray<FString>{ TEXT("Loaded 1"), TEXT("Withdraw ins_1"), TEXT("Withdrawn ins_1") }));
	EXPECT_EQ(Watcher->Instance.Quantity, 5);
	EXPECT_TRUE(Transport->Sent.Last().Url.EndsWith(TEXT("/v1/game/sessions")));
	ASSERT_TRUE(Transport->Answer(404, ErrorAnswer(TEXT("instance_not_found"), TEXT("No such stack."), TEXT("Reload the stash."))));
	EXPECT_EQ(Str(StatusOf(Panel)), "Reload the stash.");
	EXPECT_EQ(Watcher->CountStartingWith(TEXT("Withdraw")), 2);
}

TEST_F(QuarnUIOperations, RefusalsOnlyLogTheirWarning)
{
	FLogCapture Log;
	UQuarnStashPanel* const Unloaded = MakeBuiltPanel();
	Unloaded->DepositItem(TEXT("Bandage"));
	Unloaded->WithdrawInstance(Held(TEXT("ins_1"), 1));
	// Not loaded: the first transfer message even when the source is the destination itself.
	Unloaded->TransferFrom(Unloaded, Held(TEXT("ins_1"), 1));
	EXPECT_EQ(Transport->Sent.Num(), 0);

	UQuarnStashPanel* const Panel = LoadedPanel();
	const int32 Sent = Transport->Sent.Num();
	const FString Status = StatusOf(Panel);
	Panel->WithdrawInstance(Held(TEXT(""), 1));
	Panel->TransferFrom(nullptr, Held(TEXT("ins_1"), 1));
	Panel->TransferFrom(Unloaded, Held(TEXT(""), 1));
	Panel->TransferFrom(Panel, Held(TEXT("ins_1"), 1));
	EXPECT_EQ(Transport->Sent.Num(), Sent);
	EXPECT_EQ(StatusOf(Panel), Status);
	EXPECT_EQ(WatcherOf(Panel)->Lines.Num(), 1);

	EXPECT_EQ(Log.Count(TEXT("Deposit refused: the stash is not loaded yet."), ELogVerbosity::Warning), 1);
	EXPECT_EQ(Log.Count(TEXT("Withdraw refused: no stash, or the stack has no instance id."), ELogVerbosity::Warning), 2);
	EXPECT_EQ(Log.Count(TEXT("Transfer refused: destination not loaded, no source panel, or the stack has no instance id."), ELogVerbosity::Warning), 3);
	EXPECT_EQ(Log.Count(TEXT("Transfer refused: source and destination are the same panel."), ELogVerbosity::Warning), 1);
}

TEST_F(QuarnUIOperations, ATransferReloadsTheSourceBeforeTheDestinationReports)
{
	UQuarnStashPanel* const Source = LoadedPanel();
	UQuarnStashPanel* const Destination = LoadedPanel();
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Destination);
	Destination->TransferFrom(Source, Held(TEXT("ins_1"), 2), 4, 0);
	EXPECT_TRUE(Transport->Sent.Last().Url.EndsWith(TEXT("/v1/game/inventory/move")));
	EXPECT_EQ(Str(Transport->Sent.Last().Body), Str(PrettyLines(TEXT("{\n\t\"instance_id\": \"ins_1\",\n\t\"to_container_id\": \"ctr_1\",\n\t\"to\":\n\t{\n\t\t\"x\": 4,\n\t\t\"y\": 0\n\t}\n}"))));
	const int32 AfterMove = Transport->Sent.Num();

	int32 SentWhenReported = -1;
	FString SourceStatusWhenReported;
	Watcher->Probe = [&](const FString& Line)
	{
		if (Line.StartsWith(TEXT("Transfer ")))
		{
			SentWhenReported = Transport->Sent.Num();
			SourceStatusWhenReported = StatusOf(Source);
		}
	};
	ASSERT_TRUE(Transport->Answer(200, TEXT("{\"version\": 2, \"from_version\": 5, \"instance\": null}")));
	// The source's sign-in went out first; the destination's own reload after its report.
	EXPECT_EQ(SentWhenReported, AfterMove + 1);
	EXPECT_EQ(Str(SourceStatusWhenReported), "Signing in\u2026");
	EXPECT_EQ(Transport->Sent.Num(), AfterMove + 2);
	EXPECT_EQ(Watcher->Lines, (TArray<FString>{ TEXT("Loaded 1"), TEXT("Transfer ins_1"), TEXT("Transferred ins_1") }));
	EXPECT_EQ(WatcherOf(Source)->Lines, (TArray<FString>{ TEXT("Loaded 1") }));
}

TEST_F(QuarnUIOperations, AnswersForCollectedPanelsAreDropped)
{
	UQuarnStashPanel* const Source = LoadedPanel();
	UQuarnStashPanel* const Destination = LoadedPanel();
	const TWeakObjectPtr<UQuarnStashPanel> WeakSource(Source);
	Destination->TransferFrom(Source, Held(TEXT("ins_1"), 2));
	Release(Source);
	Engine().CollectGarbage();
	ASSERT_FALSE(WeakSource.IsValid());
	const int32 Sent = Transport->Sent.Num();
	ASSERT_TRUE(Transport->Answer(200, TEXT("{\"version\": 2, \"instance\": null}")));
	// Only the destination reloads.
	EXPECT_EQ(Transport->Sent.Num(), Sent + 1);
	EXPECT_EQ(WatcherOf(Destination)->CountStartingWith(TEXT("Transfer ")), 1);

	// A deposit whose panel is gone by the answer: nobody is told, nothing is sent.
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Destination);
	Transport->Pending.Reset();
	Destination->DepositItem(TEXT("Bandage"));
	Destination->WithdrawInstance(Held(TEXT("ins_1"), 1));
	const TWeakObjectPtr<UQuarnStashPanel> WeakDestination(Destination);
	Release(Destination);
	Engine().CollectGarbage();
	ASSERT_FALSE(WeakDestination.IsValid());
	const int32 Lines = Watcher->Lines.Num();
	const int32 SentBefore = Transport->Sent.Num();
	ASSERT_TRUE(Transport->Answer(200, TEXT("{\"version\": 3, \"instance\": null}")));
	ASSERT_TRUE(Transport->Answer(409, ErrorAnswer(TEXT("insufficient_quantity"), TEXT("Too many."), TEXT(""))));
	EXPECT_EQ(Watcher->Lines.Num(), Lines);
	EXPECT_EQ(Transport->Sent.Num(), SentBefore);
}

TEST_F(QuarnUIOperationsEmulator, DepositsLandInANamedCellOrTheFirstFreeOneAndAnOccupiedCellIsRefused)
{
	UQuarnStashPanel* const Panel = EmulatorPanel(TEXT("ui_deposit"), TEXT("stash"), EQuarnContainerLayout::Grid);
	ASSERT_TRUE(Panel->IsReady());
	EXPECT_EQ(ContentsOf(Panel).Num(), 0);

	ASSERT_TRUE(RunAndReload(Panel, [&] { Panel->DepositItem(TEXT("Bandage"), 3, 2, 1, 4); })) << Str(StatusOf(Panel));
	EXPECT_EQ(WatcherOf(Panel)->CountStartingWith(TEXT("Deposit Bandage 3 4")), 1);
	EXPECT_EQ(WatcherOf(Panel)->CountStartingWith(TEXT("Deposited Bandage 3 4")), 1);
	const TOptional<FQuarnItemInstance> Bandage = Find(ContentsOf(Panel), TEXT("Bandage"));
	ASSERT_TRUE(Bandage.IsSet());
	EXPECT_EQ(Bandage->X, 2);
	EXPECT_EQ(Bandage->Y, 1);
	EXPECT_EQ(Bandage->Quantity, 3);
	EXPECT_FALSE(Bandage->InstanceId.IsEmpty());

	ASSERT_TRUE(RunAndReload(Panel, [&] { Panel->DepositItem(TEXT("Flask")); })) << Str(StatusOf(Panel));
	const TOptional<FQuarnItemInstance> Flask = Find(ContentsOf(Panel), TEXT("Flask"));
	ASSERT_TRUE(Flask.IsSet());
	EXPECT_EQ(Flask->X, 0);
	EXPECT_EQ(Flask->Y, 0);
	EXPECT_EQ(Str(StatusOf(Panel)), "2 stack(s) \u00B7 10x8");

	// Onto the bandage's cell: refused, the drawing stays, the error is on the status line.
	const TArray<UWidget*> Drawn = ItemWidgetsOf(Panel);
	EXPECT_FALSE(RunAndReload(Panel, [&] { Panel->DepositItem(TEXT("Scalpel"), 1, 2, 1); }));
	EXPECT_EQ(Str(WatcherOf(Panel)->Error.Code), "cell_occupied");
	EXPECT_EQ(Str(StatusOf(Panel)), Str(WatcherOf(Panel)->Error.Hint.IsEmpty() ? WatcherOf(Panel)->Error.Message : WatcherOf(Panel)->Error.Hint));
	EXPECT_FALSE(StatusOf(Panel).IsEmpty());
	EXPECT_EQ(StatusColourOf(Panel), ErrorColour);
	EXPECT_EQ(ItemWidgetsOf(Panel), Drawn);
	EXPECT_EQ(ContentsOf(Panel).Num(), 2);
	EXPECT_EQ(WatcherOf(Panel)->CountStartingWith(TEXT("Deposit Scalpel")), 0);
}

TEST_F(QuarnUIOperationsEmulator, AWithdrawalTakesTheStackOut)
{
	UQuarnStashPanel* const Panel = EmulatorPanel(TEXT("ui_withdraw"), TEXT("stash"), EQuarnContainerLayout::Grid);
	ASSERT_TRUE(RunAndReload(Panel, [&] { Panel->DepositItem(TEXT("Bandage"), 4); }));
	const TOptional<FQuarnItemInstance> Found = Find(ContentsOf(Panel), TEXT("Bandage"));
	ASSERT_TRUE(Found.IsSet());
	const FQuarnItemInstance Stack = Found.GetValue();
	ASSERT_TRUE(RunAndReload(Panel, [&] { Panel->WithdrawInstance(Stack); })) << Str(StatusOf(Panel));
	EXPECT_EQ(Str(WatcherOf(Panel)->Instance.InstanceId), Str(Stack.InstanceId));
	EXPECT_EQ(WatcherOf(Panel)->Instance.Quantity, 4);
	EXPECT_EQ(WatcherOf(Panel)->CountStartingWith(TEXT("Withdrawn ")), 1);
	EXPECT_EQ(ContentsOf(Panel).Num(), 0);
	EXPECT_EQ(Str(StatusOf(Panel)), "0 stack(s) \u00B7 10x8");
}

TEST_F(QuarnUIOperationsEmulator, ATransferMovesTheStackBetweenTwoPanelsOfOnePlayer)
{
	UQuarnStashPanel* const Stash = EmulatorPanel(TEXT("ui_transfer"), TEXT("stash"), EQuarnContainerLayout::Grid);
	UQuarnStashPanel* const Loadout = EmulatorPanel(TEXT("ui_transfer"), TEXT("loadout"), EQuarnContainerLayout::Slots);
	ASSERT_TRUE(RunAndReload(Stash, [&] { Stash->DepositItem(TEXT("Bandage"), 2, 5, 5); }));
	const TOptional<FQuarnItemInstance> Found = Find(ContentsOf(Stash), TEXT("Bandage"));
	ASSERT_TRUE(Found.IsSet());
	const FQuarnItemInstance Moving = Found.GetValue();

	FString StashStatusWhenReported;
	WatcherOf(Loadout)->Probe = [&](const FString& Line)
	{
		if (Line.StartsWith(TEXT("Transfer ")))
		{
			StashStatusWhenReported = StatusOf(Stash);
		}
	};
	const int32 StashLoads = WatcherOf(Stash)->CountStartingWith(TEXT("Loaded "));
	ASSERT_TRUE(RunAndReload(Loadout, [&] { Loadout->TransferFrom(Stash, Moving, 1, 0); })) << Str(StatusOf(Loadout));
	ASSERT_TRUE(WaitForLoads(Stash, StashLoads));
	EXPECT_EQ(Str(StashStatusWhenReported), "Signing in\u2026");
	EXPECT_EQ(WatcherOf(Loadout)->CountStartingWith(TEXT("Transferred ") + Moving.InstanceId), 1);
	EXPECT_EQ(WatcherOf(Stash)->CountStartingWith(TEXT("Transfer")), 0);

	EXPECT_FALSE(Find(ContentsOf(Stash), TEXT("Bandage")).IsSet());
	const TOptional<FQuarnItemInstance> Arrived = Find(ContentsOf(Loadout), TEXT("Bandage"));
	ASSERT_TRUE(Arrived.IsSet());
	EXPECT_EQ(Str(Arrived->InstanceId), Str(Moving.InstanceId));
	EXPECT_EQ(Arrived->SlotIndex, 1);
	EXPECT_EQ(Arrived->X, 1);
	EXPECT_EQ(Arrived->Y, 0);
	EXPECT_EQ(Str(StatusOf(Loadout)), "1 of 24 slots");
}
