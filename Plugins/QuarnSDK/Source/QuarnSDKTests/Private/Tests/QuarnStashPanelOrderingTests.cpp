// Copyright Quarn. All Rights Reserved.

// Loads that overlap: every operation's success starts a new load, even while one is in flight,
// and answers need not come back in the order they were asked (two connections, or a large answer
// read on a worker while a small one is read at once). The panel applies only its newest load's
// answer; a superseded load changes nothing and fires nothing.

#include "QuarnUITestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

using namespace QuarnUITests;

namespace QuarnStashPanelOrderingTests
{
	const FTimespan Bound = FTimespan::FromSeconds(30.0);
	const TCHAR* const GrantAnswer = TEXT("{\"version\": 2, \"instance\": null}");

	bool IsSignIn(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/sessions"), ESearchCase::CaseSensitive);
	}

	bool IsEnsure(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/containers/ensure"), ESearchCase::CaseSensitive);
	}

	/** A grid container holding Count stacks, ten to a row. */
	FString Holding(int32 Count)
	{
		TArray<FString> Items;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const FString Id = FString::Printf(TEXT("ins_%d"), Index);
			Items.Add(ItemJson(*Id, TEXT("Bandage"), 1, Index % 10, Index / 10));
		}
		return ContainerAnswer(TEXT("ctr_1"), TEXT("grid"), Items);
	}
}

BEGIN_DEFINE_SPEC(FQuarnStashPanelOrderingSpec, "Quarn.UI.StashPanel.Ordering", QuarnTests::TestFlags)
	TUniquePtr<FPanelFixture> Fixture;

	FScriptedTransport& Transport() const
	{
		return Fixture->Transport();
	}

	/** Answers the request waiting at Index (0 is the oldest), whatever came before it. */
	bool AnswerAt(int32 Index, int32 Status, const FString& Body)
	{
		return TestTrue(FString::Printf(TEXT("a request waits at %d"), Index), Transport().AnswerAt(Index, Status, Body));
	}

	/** A built grid panel loaded with one stack, its watcher cleared. */
	UQuarnRecordingStashPanel* LoadedPanel()
	{
		UQuarnRecordingStashPanel* const Panel = Fixture->MakeBuiltPanel();
		Fixture->LoadWith(Panel, QuarnStashPanelOrderingTests::Holding(1));
		return Panel;
	}

	/** Runs Check after enough frames for any late answer (a worker's hand-back included) to land. */
	void Settle(TFunction<void()> Check, const FDoneDelegate& Done)
	{
		AfterFrames(30, [Check, Done]()
		{
			Check();
			Done.Execute();
		});
	}
END_DEFINE_SPEC(FQuarnStashPanelOrderingSpec)

void FQuarnStashPanelOrderingSpec::Define()
{
	using namespace QuarnStashPanelOrderingTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FPanelFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	LatentIt(TEXT("ends on the newest load after two deposits whose reloads are answered in reverse order"), Bound, [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this))
		{
			Done.Execute();
			return;
		}
		UQuarnRecordingStashPanel* const Panel = LoadedPanel();
		Panel->DepositItem(TEXT("Bandage"));
		Panel->DepositItem(TEXT("Medkit"));
		if (!AnswerAt(0, 200, GrantAnswer) || !AnswerAt(0, 200, GrantAnswer))
		{
			Done.Execute();
			return;
		}
		// Each deposit started a load; the second load's sign-in is answered first.
		if (!TestEqual(TEXT("sign-ins waiting"), Transport().Pending.FilterByPredicate([](const FScriptedTransport::FPending& Waiting) { return IsSignIn(Waiting.Request); }).Num(), 2)
			|| !AnswerAt(1, 200, SignInAnswer(TEXT("tok_3"))) || !AnswerAt(0, 200, SignInAnswer(TEXT("tok_2"))))
		{
			Done.Execute();
			return;
		}
		// Every ensure still waiting is answered newest first, with what the platform held when it was asked.
		while (Transport().Pending.Num() > 0)
		{
			const FQuarnHttpRequest& Last = Transport().Pending.Last().Request;
			const bool bOfNewest = Last.GetHeader(TEXT("Authorization")).EndsWith(TEXT("tok_3"));
			if (!TestTrue(TEXT("only ensures wait"), IsEnsure(Last)) || !AnswerAt(Transport().Pending.Num() - 1, 200, Holding(bOfNewest ? 3 : 2)))
			{
				Done.Execute();
				return;
			}
		}
		Settle([this, Panel]()
		{
			TestEqual(TEXT("delegates and events"), FString::Join(FPanelFixture::WatcherOf(Panel)->Lines, TEXT("|")), FString(TEXT("Loaded 1|Deposit Bandage 1 -1|Deposited Bandage 1 -1|Deposit Medkit 1 -1|Deposited Medkit 1 -1|Loaded 3")));
			TestEqual(TEXT("stacks held"), ContentsOf(Panel).Num(), 3);
			TestEqual(TEXT("ensures sent"), Transport().Sent.FilterByPredicate([](const FQuarnHttpRequest& Request) { return IsEnsure(Request); }).Num(), 2);
		}, Done);
	});

	LatentIt(TEXT("keeps a newer small answer when an older large one, read on a worker, comes back after it"), Bound, [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this))
		{
			Done.Execute();
			return;
		}
		const FString Large = Holding(120);
		if (!TestTrue(TEXT("large enough to be read on a worker"), Large.Len() >= FQuarnClient::OffThreadAnswerSize))
		{
			Done.Execute();
			return;
		}
		UQuarnRecordingStashPanel* const Panel = LoadedPanel();
		FQuarnItemInstance First;
		First.InstanceId = TEXT("ins_0");
		FQuarnItemInstance Second;
		Second.InstanceId = TEXT("ins_1");
		Panel->WithdrawInstance(First);
		Panel->WithdrawInstance(Second);
		// Everything is answered in the order it was asked; the older load's ensure gets the larger document.
		int32 SignIns = 0;
		while (Transport().Pending.Num() > 0)
		{
			const FQuarnHttpRequest& Oldest = Transport().Pending[0].Request;
			FString Body = GrantAnswer;
			if (IsSignIn(Oldest))
			{
				Body = SignInAnswer(SignIns++ == 0 ? TEXT("tok_older") : TEXT("tok_newer"));
			}
			else if (IsEnsure(Oldest))
			{
				Body = Oldest.GetHeader(TEXT("Authorization")).EndsWith(TEXT("tok_older")) ? Large : Holding(10);
			}
			if (!AnswerAt(0, 200, Body))
			{
				Done.Execute();
				return;
			}
		}
		Settle([this, Panel]()
		{
			const TArray<FString>& Lines = FPanelFixture::WatcherOf(Panel)->Lines;
			TestEqual(TEXT("delegates and events"), FString::Join(Lines, TEXT("|")), FString(TEXT("Loaded 1|Withdraw ins_0|Withdrawn ins_0|Withdraw ins_1|Withdrawn ins_1|Loaded 10")));
			TestEqual(TEXT("stacks held"), ContentsOf(Panel).Num(), 10);
		}, Done);
	});

	LatentIt(TEXT("ignores a Load Stash pressed during a deposit that fails after the deposit's reload succeeded"), Bound, [this](const FDoneDelegate& Done)
	{
		if (!HasSlate(*this))
		{
			Done.Execute();
			return;
		}
		UQuarnRecordingStashPanel* const Panel = LoadedPanel();
		Panel->DepositItem(TEXT("Bandage"));
		Panel->LoadStash();
		// The deposit succeeds and reloads; that reload completes first.
		if (!AnswerAt(0, 200, GrantAnswer) || !AnswerAt(1, 200, SignInAnswer(TEXT("tok_3"))) || !AnswerAt(1, 200, Holding(2)))
		{
			Done.Execute();
			return;
		}
		// Then the load the player started fails.
		if (!AnswerAt(0, 503, ErrorAnswer(TEXT("unavailable"), TEXT("The platform is restarting."), TEXT("Try again."))))
		{
			Done.Execute();
			return;
		}
		Settle([this, Panel]()
		{
			TestEqual(TEXT("delegates and events"), FString::Join(FPanelFixture::WatcherOf(Panel)->Lines, TEXT("|")), FString(TEXT("Loaded 1|Deposit Bandage 1 -1|Deposited Bandage 1 -1|Loaded 2")));
			TestNotEqual(TEXT("status colour"), StatusColourOf(Panel), ErrorColour);
			TestNotEqual(TEXT("status"), StatusOf(Panel), FString(TEXT("Try again.")));
			TestTrue(TEXT("ready"), Panel->IsReady());
			TestEqual(TEXT("requests waiting"), Transport().Pending.Num(), 0);
		}, Done);
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
