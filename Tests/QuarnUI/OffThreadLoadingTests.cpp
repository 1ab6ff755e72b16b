// The panel's load with a large container read away from the game thread: it still shows every
// stack once the records arrive, and a panel released during the read hears nothing.
#include "QuarnUITestSupport.h"
#include "Host/CoreHost.h"

using namespace QuarnUITest;

namespace
{
	/** Count stacks, ten to a row, enough to be read on a worker. */
	FString LargeContainer(int32 Count)
	{
		TArray<FString> Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const FString Id = FString::Printf(TEXT("ins_%d"), Index);
			Items.Add(ItemJson(*Id, TEXT("Bandage"), Index + 1, Index % 10, Index / 10));
		}
		return ContainerAnswer(TEXT("ctr_big"), TEXT("grid"), Items);
	}

	class QuarnUIOffThreadLoading : public FPanelTest
	{
	};
}

TEST_F(QuarnUIOffThreadLoading, ALargeContainerIsShownOnceItsRecordsArrive)
{
	FLogCapture Log;
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	const FString Document = LargeContainer(300);
	ASSERT_GE(Document.Len(), FQuarnClient::OffThreadAnswerSize);
	LoadWith(Panel, Document);
	EXPECT_FALSE(Panel->IsReady()) << "the document is still being read on a worker";
	ASSERT_TRUE(PumpUntil([&] { return Panel->IsReady(); }));
	ASSERT_TRUE(PumpUntil([] { return !UE::Host::HasPendingAsyncTasks(); }));
	PumpTicks(2);

	const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
	ASSERT_EQ(Contents.Num(), 300);
	EXPECT_EQ(Str(Contents[299].InstanceId), "ins_299");
	EXPECT_EQ(Contents[299].Quantity, 300);
	EXPECT_EQ(Contents[42].X, 2);
	EXPECT_EQ(Contents[42].Y, 4);
	EXPECT_EQ(Log.Count(TEXT("Stash panel loaded 300 stack(s) for plr_1"), ELogVerbosity::Display), 1);
	// One load, every stack with a place drawn, announced once.
	ASSERT_EQ(WatcherOf(Panel)->Lines.Num(), 1);
	EXPECT_EQ(Str(WatcherOf(Panel)->Lines[0]), "Loaded 300");
}

TEST_F(QuarnUIOffThreadLoading, APanelReleasedWhileItsContainerIsReadHearsNothing)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel();
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Panel);
	ASSERT_NE(Watcher, nullptr);
	Watcher->AddToRoot();
	const TWeakObjectPtr<UQuarnStashPanel> WeakPanel(Panel);
	LoadWith(Panel, LargeContainer(2000));

	Release(Panel);
	Panel->MarkAsGarbage();
	Engine().CollectGarbage();
	EXPECT_FALSE(WeakPanel.IsValid());

	ASSERT_TRUE(PumpUntil([] { return !UE::Host::HasPendingAsyncTasks(); }));
	PumpTicks(3);
	EXPECT_TRUE(Watcher->Lines.IsEmpty());
	Watcher->RemoveFromRoot();
}
