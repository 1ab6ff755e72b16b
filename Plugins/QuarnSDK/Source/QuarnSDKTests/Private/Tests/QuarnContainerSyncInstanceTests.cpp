// Copyright Quarn. All Rights Reserved.

// The sync subsystem in one of two game instances, as Play In Editor runs several: its reads and
// transactions go out on behalf of its own game instance, so that when both instances hold a
// session with the same token, an expired token is renewed by the subsystem's instance, with its
// ticket, and the sync goes on with the renewed token.

#include "Tests/QuarnContainerSyncTestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Misc/Timespan.h"

using namespace QuarnContainerSyncTests;
using QuarnSyncTests::Desired;

namespace QuarnContainerSyncInstanceSpecs
{
	const FTimespan Bound = FTimespan::FromSeconds(40.0);
	const TCHAR* const SharedToken = TEXT("tok_shared_0001");
	const TCHAR* const RenewedToken = TEXT("tok_renewed_0002");
	const TCHAR* const TicketA = TEXT("ticket-of-instance-a");
	const TCHAR* const TicketB = TEXT("ticket-of-instance-b");
	const TCHAR* const ExpiredBody = TEXT("{\"error\":{\"code\":\"token_expired\",\"message\":\"The access token expired.\",\"hint\":\"Sign in again.\",\"request_id\":\"req_x\"}}");

	FString SessionAnswer(const TCHAR* Token)
	{
		return FString::Printf(TEXT("{\"player\":{\"id\":\"p1\",\"provider\":\"steam\"},\"tokens\":{\"access_token\":\"%s\",\"token_type\":\"Bearer\",\"expires_in\":3600}}"), Token);
	}

	bool IsSignIn(const FQuarnHttpRequest& Request)
	{
		return Request.Url.EndsWith(TEXT("/v1/game/sessions"), ESearchCase::CaseSensitive);
	}
}

BEGIN_DEFINE_SPEC(FQuarnContainerSyncInstanceSpec, "Quarn.USME.KeepInSync.GameInstances", QuarnTests::TestFlags)
	TUniquePtr<FKeepInSyncFixture> Fixture;
	TUniquePtr<QuarnTests::FTestGame> OtherGame;

	FKeepInSyncFixture& F() const
	{
		return *Fixture;
	}

	FString PendingAuthorization() const
	{
		return F().Transport().Pending.Num() > 0 ? F().Transport().Pending[0].Request.GetHeader(TEXT("Authorization")) : FString();
	}
END_DEFINE_SPEC(FQuarnContainerSyncInstanceSpec)

void FQuarnContainerSyncInstanceSpec::Define()
{
	using namespace QuarnContainerSyncInstanceSpecs;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FKeepInSyncFixture>();
		OtherGame = MakeUnique<QuarnTests::FTestGame>();
	});

	AfterEach([this]()
	{
		if (UQuarnSubsystem* const Other = UQuarnSubsystem::Get(OtherGame->GetWorld()))
		{
			Other->SignOut(TEXT("p1"));
		}
		if (UQuarnSubsystem* const Own = Fixture->GetWorld() ? UQuarnSubsystem::Get(Fixture->GetWorld()) : nullptr)
		{
			Own->SignOut(TEXT("p1"));
		}
		OtherGame.Reset();
		Fixture.Reset();
	});

	LatentIt(TEXT("renews a token both instances hold through the subsystem's own instance, and syncs on with the new token"), Bound, [this](const FDoneDelegate& Done)
	{
		UQuarnSubsystem* const Own = UQuarnSubsystem::Get(F().GetWorld());
		UQuarnSubsystem* const Other = UQuarnSubsystem::Get(OtherGame->GetWorld());
		if (!TestNotNull(TEXT("the sync subsystem"), F().Subsystem()) || !TestNotNull(TEXT("this instance's core subsystem"), Own) || !TestNotNull(TEXT("the other instance's core subsystem"), Other))
		{
			Done.Execute();
			return;
		}
		Own->StartSession(TEXT("p1"), SharedToken, 3600.0, TEXT("steam"), TicketA);
		Other->StartSession(TEXT("p1"), SharedToken, 3600.0, TEXT("steam"), TicketB);
		F().Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 3, 0)});

		F().Run(*this, {
			{TEXT("the first read"), [this]() { return F().ReadPending(); }, [this]()
			{
				TestEqualSensitive(TEXT("the read's token"), PendingAuthorization(), FString(TEXT("Bearer ")) + SharedToken);
				F().Transport().Answer(401, ExpiredBody);
			}},
			{TEXT("the renewal's sign-in"), [this]() { return F().Transport().Pending.Num() > 0 && IsSignIn(F().Transport().Pending[0].Request); }, [this]()
			{
				const FString& SignInBody = F().Transport().Pending[0].Request.Body;
				TestTrue(TEXT("the sign-in carries this instance's ticket"), SignInBody.Contains(TicketA));
				TestFalse(TEXT("the sign-in carries the other instance's ticket"), SignInBody.Contains(TicketB));
				F().Transport().Answer(200, SessionAnswer(RenewedToken));
			}},
			{TEXT("the read sent again"), [this]() { return F().ReadPending(); }, [this]()
			{
				TestEqualSensitive(TEXT("the resent read's token"), PendingAuthorization(), FString(TEXT("Bearer ")) + RenewedToken);
				F().Transport().Answer(200, Document(1, FString()));
			}},
			{TEXT("the transaction"), [this]() { return F().TransactionPending(); }, [this]()
			{
				F().Transport().Answer(200, TEXT("{\"version\":2,\"results\":[]}"));
			}},
			{TEXT("the read-back"), [this]() { return F().ReadPending(); }, [this]()
			{
				F().Transport().Answer(200, Document(2, SlotItem(TEXT("ins_a"), TEXT("Ammo"), 3, 0)));
			}},
			{TEXT("container c1 in sync"), [this]() { return F().Status(TEXT("c1")).State == EQuarnContainerSyncState::InSync; }, [this, Own, Other]()
			{
				TestEqual(TEXT("sign-ins sent"), F().Transport().Sent.FilterByPredicate([](const FQuarnHttpRequest& Request) { return IsSignIn(Request); }).Num(), 1);
				TestEqualSensitive(TEXT("this instance's token"), Own->GetAccessToken(TEXT("p1")), FString(RenewedToken));
				TestEqualSensitive(TEXT("the other instance keeps its token"), Other->GetAccessToken(TEXT("p1")), FString(SharedToken));
				TestEqual(TEXT("synced version"), F().Status(TEXT("c1")).SyncedVersion, static_cast<int64>(2));
			}},
		}, Done);
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
