// Copyright Quarn. All Rights Reserved.

// What the panel tells the game, and when: a withdrawal only once the platform has accepted it, a
// deposit onto a cell of a slot display as that slot's index, and an answer holding an item id
// longer than the platform stores refused as a bad answer, with nothing drawn from it.

#include "QuarnUITestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnItemIds.h"

using namespace QuarnUITests;

namespace QuarnStashPanelAcceptanceTests
{
	FQuarnItemInstance Held(const TCHAR* InstanceId, int32 Quantity)
	{
		FQuarnItemInstance Item;
		Item.InstanceId = InstanceId;
		Item.ItemId = TEXT("Bandage");
		Item.Quantity = Quantity;
		return Item;
	}
}

BEGIN_DEFINE_SPEC(FQuarnStashPanelAcceptanceSpec, "Quarn.UI.StashPanel.Acceptance", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}
END_DEFINE_SPEC(FQuarnStashPanelAcceptanceSpec)

void FQuarnStashPanelAcceptanceSpec::Define()
{
	using namespace QuarnStashPanelAcceptanceTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	It(TEXT("reports a withdrawal only after the platform accepted it"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {ItemJson(TEXT("ins_1"), TEXT("Bandage"), 5, 0, 0)}));
		const UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);

		Panel->WithdrawInstance(Held(TEXT("ins_1"), 5));
		TestEqual(TEXT("told before the answer"), Watcher->CountStartingWith(TEXT("Withdraw")), 0);
		Transport().Answer(409, ErrorAnswer(TEXT("insufficient_quantity"), TEXT("The stack holds less."), TEXT("Reload the stash.")));
		TestEqual(TEXT("told after a refusal"), Watcher->CountStartingWith(TEXT("Withdraw")), 0);
		TestEqualSensitive(TEXT("the refusal"), Watcher->Lines.Last(), FString(TEXT("Failed insufficient_quantity")));
		TestEqual(TEXT("stacks still drawn"), ContentsOf(Panel).Num(), 1);

		Panel->WithdrawInstance(Held(TEXT("ins_1"), 5));
		TestEqual(TEXT("told before the second answer"), Watcher->CountStartingWith(TEXT("Withdraw")), 0);
		Transport().Answer(200, TEXT("{\"version\": 3, \"instance\": null}"));
		TestEqual(TEXT("withdraw delegates"), Watcher->CountStartingWith(TEXT("Withdraw ins_1")), 1);
		TestEqual(TEXT("withdrawn events"), Watcher->CountStartingWith(TEXT("Withdrawn ins_1")), 1);
	});

	It(TEXT("deposits onto a cell of a slot display as the slot at that cell"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel(EQuarnContainerLayout::Slots);
		Panel->SlotColumns = 6;
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("slots"), {ItemJson(TEXT("ins_1"), TEXT("Bandage"), 1, -1, -1, 13)}));
		const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
		if (TestEqual(TEXT("stacks"), Contents.Num(), 1))
		{
			TestEqual(TEXT("slot 13's column"), Contents[0].X, 1);
			TestEqual(TEXT("slot 13's row"), Contents[0].Y, 2);
		}
		Panel->DepositItem(TEXT("Bandage"), 1, 2, 1);
		TestEqualSensitive(TEXT("grant body"), Transport().Sent.Last().Body, PrettyLines(TEXT("{\n\t\"container_id\": \"ctr_1\",\n\t\"item_id\": \"Bandage\",\n\t\"quantity\": 1,\n\t\"to\":\n\t{\n\t\t\"slot_index\": 8\n\t}\n}")));
	});

	It(TEXT("refuses an ensure answer holding an item id longer than the platform stores, drawing nothing of it"), [this]()
	{
		if (!HasSlate(*this))
		{
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		Fixture->LoadWith(Panel, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {ItemJson(TEXT("ins_1"), TEXT("Bandage"), 5, 0, 0)}));
		const FString LongId = FString::ChrN(QuarnItemIds::MaxLength + 1, TEXT('p')) + TEXT("_panel_never_a_name");
		Panel->LoadStash();
		Transport().Answer(200, SignInAnswer(TEXT("tok_2")));
		Transport().Answer(200, ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), {ItemJson(TEXT("ins_1"), TEXT("Bandage"), 5, 0, 0), ItemJson(TEXT("ins_2"), *LongId, 1, 1, 0)}));
		const UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		TestEqualSensitive(TEXT("delegates and events"), FString::Join(Watcher->Lines, TEXT("|")), FString(TEXT("Loaded 1|Failed bad_response")));
		TestEqual(TEXT("stacks still drawn"), ContentsOf(Panel).Num(), 1);
		TestEqual(TEXT("status colour"), StatusColourOf(Panel), ErrorColour);
		TestTrue(TEXT("no name was made of the id"), FName(*LongId, FNAME_Find).IsNone());
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
