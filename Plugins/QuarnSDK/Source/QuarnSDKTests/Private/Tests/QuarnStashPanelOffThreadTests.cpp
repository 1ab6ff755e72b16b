// Copyright Quarn. All Rights Reserved.

// The panel's load with a large container read away from the game thread: it still shows every
// stack once the records arrive, and a panel released during the read hears nothing.

#include "QuarnUITestSupport.h"
#include "UObject/GarbageCollection.h"

#if WITH_DEV_AUTOMATION_TESTS

using namespace QuarnUITests;

BEGIN_DEFINE_SPEC(FQuarnStashPanelOffThreadSpec, "Quarn.UI.StashPanel.OffThread", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	/** Count stacks, ten to a row, enough to be read on a worker. */
	static FString LargeContainer(int32 Count)
	{
		TArray<FString> Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const FString Id = FString::Printf(TEXT("ins_%d"), Index);
			Items.Add(ItemJson(*Id, TEXT("Bandage"), Index + 1, Index % 10, Index / 10));
		}
		return ContainerAnswer(TEXT("ctr_big"), TEXT("grid"), Items);
	}
END_DEFINE_SPEC(FQuarnStashPanelOffThreadSpec)

void FQuarnStashPanelOffThreadSpec::Define()
{
	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	LatentIt(TEXT("shows a large container once its records arrive"), FTimespan::FromSeconds(30.0), [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this))
		{
			Done.Execute();
			return;
		}
		const TSharedRef<FLogLines> Log = MakeShared<FLogLines>();
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		const FString Document = LargeContainer(300);
		if (!TestTrue(TEXT("large enough to be read on a worker"), Document.Len() >= FQuarnClient::OffThreadAnswerSize))
		{
			Done.Execute();
			return;
		}
		Fixture->LoadWith(Panel, Document);
		TestFalse(TEXT("the document is still being read on a worker"), Panel->IsReady());
		WhenTrue([Panel]() { return Panel->IsReady(); }, 10.0, [this, Panel, Log, Done](bool bReady)
		{
			if (!TestTrue(TEXT("ready"), bReady))
			{
				Done.Execute();
				return;
			}
			// A few frames more, so that a second announcement would be seen.
			AfterFrames(2, [this, Panel, Log, Done]()
			{
				const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
				if (TestEqual(TEXT("contents"), Contents.Num(), 300))
				{
					TestEqualSensitive(TEXT("last instance"), Contents[299].InstanceId, FString(TEXT("ins_299")));
					TestEqual(TEXT("last quantity"), Contents[299].Quantity, 300);
					TestEqual(TEXT("x of 42"), Contents[42].X, 2);
					TestEqual(TEXT("y of 42"), Contents[42].Y, 4);
				}
				TestEqual(TEXT("load lines"), Log->Count(TEXT("Stash panel loaded 300 stack(s) for plr_1"), ELogVerbosity::Display), 1);
				// One load, every stack with a place drawn, announced once.
				TestEqualSensitive(TEXT("watched"), FString::Join(FPanelFixture::WatcherOf(Panel)->Lines, TEXT("|")), FString(TEXT("Loaded 300")));
				Done.Execute();
			});
		});
	});

	LatentIt(TEXT("tells a panel released during the read nothing"), FTimespan::FromSeconds(30.0), [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this))
		{
			Done.Execute();
			return;
		}
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		UQuarnStashPanelWatcher* const Watcher = FPanelFixture::WatcherOf(Panel);
		const TWeakObjectPtr<UQuarnStashPanel> WeakPanel(Panel);
		const FString Document = LargeContainer(2000);
		Fixture->LoadWith(Panel, Document);
		Fixture->Release(Panel);
		Panel->MarkAsGarbage();
		CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
		TestFalse(TEXT("collected"), WeakPanel.IsValid());

		// Nothing outside the client tells when the first read has been delivered. A second panel
		// loading the same document after it gives a point by which the first read, begun earlier
		// and no larger, has come back; the released panel must have heard nothing by then.
		UQuarnRecordingStashPanel* const Second = Fixture->MakeBuiltPanel();
		Fixture->LoadWith(Second, Document);
		WhenTrue([Second]() { return Second->IsReady(); }, 20.0, [this, Watcher, Done](bool bSecondReady)
		{
			TestTrue(TEXT("the second panel loaded"), bSecondReady);
			AfterFrames(3, [this, Watcher, Done]()
			{
				TestEqual(TEXT("lines heard by the released panel"), Watcher->Lines.Num(), 0);
				Done.Execute();
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
