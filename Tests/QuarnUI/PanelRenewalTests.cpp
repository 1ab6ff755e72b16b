// The stash panel's own session against the emulator: an operation that meets an expired token is
// sent again, with its key, after the panel signed in again with its ticket, and the game hears of
// it once, after the platform accepted. (The refused renewal over a scripted transport is the
// plug-in's automation test Quarn.UI.StashPanel.Renewal.)
#include "QuarnUITestSupport.h"

using namespace QuarnUITest;

namespace
{
	/** Forwards to the client's default transport and keeps every request that left. */
	class FRecordingTransport : public IQuarnTransport
	{
	public:
		FRecordingTransport()
			: Inner(FQuarnClient::GetTransport())
		{
		}

		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			Sent.Add(Request);
			Inner->Send(Request, MoveTemp(OnDone));
		}

		TArray<FQuarnHttpRequest> To(const TCHAR* PathEnd) const
		{
			return Sent.FilterByPredicate([PathEnd](const FQuarnHttpRequest& Request) { return Request.Url.EndsWith(PathEnd); });
		}

		TArray<FQuarnHttpRequest> Sent;

	private:
		TSharedRef<IQuarnTransport> Inner;
	};

	class QuarnUIPanelRenewal : public FEmulatorPanelTest
	{
	protected:
		void AdvancePlatformClock(int64 Seconds)
		{
			const QuarnTest::HttpResponse Answer = Emulator.Admin("POST", "/admin/clock", "{\"advance_seconds\": " + std::to_string(Seconds) + "}");
			ASSERT_EQ(Answer.Status, 200) << Answer.Body;
		}
	};
}

TEST_F(QuarnUIPanelRenewal, ADepositAfterTheExpiryIsResentWithItsKeyAndReportedOnce)
{
	UQuarnStashPanel* const Panel = MakeBuiltPanel(EQuarnContainerLayout::Slots);
	Panel->Ticket = TEXT("ui_renewal");
	ASSERT_TRUE(LoadAndWait(Panel)) << Str(StatusOf(Panel));
	UQuarnStashPanelWatcher* const Watcher = WatcherOf(Panel);
	const TSharedRef<FRecordingTransport> Recording = MakeShared<FRecordingTransport>();
	FQuarnClient::SetTransport(Recording);
	AdvancePlatformClock(3700);

	const int32 Loads = Watcher->CountStartingWith(TEXT("Loaded "));
	Panel->DepositItem(TEXT("Bandage"), 2);
	ASSERT_TRUE(PumpUntil([&] { return Watcher->CountStartingWith(TEXT("Loaded ")) > Loads || Watcher->CountStartingWith(TEXT("Failed")) > 0; }, 20.0));
	PumpTicks(5);

	EXPECT_EQ(Watcher->CountStartingWith(TEXT("Failed")), 0) << Str(Watcher->Error.Code);
	EXPECT_EQ(Watcher->CountStartingWith(TEXT("Deposit Bandage 2")), 1);
	const TArray<FQuarnHttpRequest> Grants = Recording->To(TEXT("/v1/game/inventory/grant"));
	ASSERT_EQ(Grants.Num(), 2) << "the first meets the expired token, the second is accepted";
	EXPECT_EQ(Str(Grants[1].GetHeader(TEXT("Idempotency-Key"))), Str(Grants[0].GetHeader(TEXT("Idempotency-Key"))));
	EXPECT_EQ(Str(Grants[1].Body), Str(Grants[0].Body));
	EXPECT_NE(Str(Grants[1].GetHeader(TEXT("Authorization"))), Str(Grants[0].GetHeader(TEXT("Authorization"))));
	EXPECT_EQ(Recording->To(TEXT("/v1/game/sessions")).Num(), 2) << "the renewal, then the reload after the deposit";

	const TArray<FQuarnItemInstance> Contents = ContentsOf(Panel);
	ASSERT_EQ(Contents.Num(), 1);
	EXPECT_EQ(Contents[0].ItemId, FName(TEXT("Bandage")));
	EXPECT_EQ(Contents[0].Quantity, 2);
	FQuarnClient::SetTransport(nullptr);
}
