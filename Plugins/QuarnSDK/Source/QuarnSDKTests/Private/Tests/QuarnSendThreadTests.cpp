// Copyright Quarn. All Rights Reserved.

// Sending from another thread: the request goes out from the game thread (where the settings,
// the sessions and the transport live), and its callback runs there too; a session's token sent
// from a worker is routed to the session like any other.

#include "Tests/QuarnCoreNodeFixture.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Async/Async.h"
#include "HAL/CriticalSection.h"
#include "Misc/ScopeLock.h"
#include "QuarnSubsystem.h"

using namespace QuarnTests;

namespace QuarnSendThreadTests
{
	const FTimespan CaseBound = FTimespan::FromSeconds(30);
	const TCHAR* const ExpiredBody = TEXT("{\"error\":{\"code\":\"token_expired\",\"message\":\"The access token expired.\",\"hint\":\"Sign in again.\",\"request_id\":\"req_x\"}}");

	/** The scripted transport, noting on which thread each request reached it. */
	class FThreadNotingTransport : public FScriptedTransport
	{
	public:
		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			{
				FScopeLock Lock(&Mutex);
				SentOnGameThread.Add(IsInGameThread());
			}
			FScriptedTransport::Send(Request, MoveTemp(OnDone));
		}

		TArray<bool> Threads() const
		{
			FScopeLock Lock(&Mutex);
			return SentOnGameThread;
		}

	private:
		mutable FCriticalSection Mutex;
		TArray<bool> SentOnGameThread;
	};

	/** Sends on a background worker, as game code on its own thread would. */
	void SendFromWorker(const FString& Method, const FString& Path, const FString& Token, const TSharedRef<FOutcome>& Outcome)
	{
		AsyncTask(ENamedThreads::AnyBackgroundThreadNormalTask, [Method, Path, Token, Outcome]()
		{
			FQuarnClient::Send(Method, Path, FString(), Token, FString(), FOutcome::Into(Outcome));
		});
	}
}

BEGIN_DEFINE_SPEC(FQuarnSendThreadSpec, "Quarn.Core.SendThread", QuarnTests::TestFlags)
	TUniquePtr<QuarnCoreTests::FNodeFixture> Fixture;
	TSharedPtr<QuarnSendThreadTests::FThreadNotingTransport> Transport;
END_DEFINE_SPEC(FQuarnSendThreadSpec)

void FQuarnSendThreadSpec::Define()
{
	using namespace QuarnSendThreadTests;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<QuarnCoreTests::FNodeFixture>();
		Transport = MakeShared<FThreadNotingTransport>();
		FQuarnClient::SetTransport(Transport);
	});

	AfterEach([this]()
	{
		if (UQuarnSubsystem* Subsystem = Fixture->Subsystem())
		{
			Subsystem->SignOut(TEXT("plr_w"));
		}
		// The fixture puts the engine transport back.
		Fixture.Reset();
		Transport.Reset();
	});

	LatentIt(TEXT("sends a request made on a worker from the game thread, and completes it there"), CaseBound, [this](const FDoneDelegate& Done)
	{
		const TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		SendFromWorker(TEXT("GET"), TEXT("/v1/game/containers/c1"), FString(), Outcome);
		Await(*this, TEXT("the request to reach the transport"), [this]() { return Transport->Threads().Num() == 1 && Transport->Pending.Num() == 1; }, Done, [this, Outcome, Done]()
		{
			TestTrue(TEXT("the transport was called on the game thread"), Transport->Threads()[0]);
			Transport->Answer(200, TEXT("{\"id\":\"c1\"}"));
			Await(*this, TEXT("the callback"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Done]()
			{
				AfterFrames(3, [this, Outcome, Done]()
				{
					TestEqual(TEXT("callbacks"), Outcome->Calls, 1);
					TestTrue(TEXT("succeeded"), Outcome->bOk);
					TestTrue(TEXT("the callback ran on the game thread"), Outcome->bOnGameThread);
					Done.Execute();
				});
			});
		});
	});

	LatentIt(TEXT("routes a session's token sent from a worker to the session, which renews it"), CaseBound, [this](const FDoneDelegate& Done)
	{
		UQuarnSubsystem* const Subsystem = Fixture->Subsystem();
		if (!TestNotNull(TEXT("subsystem"), Subsystem))
		{
			Done.Execute();
			return;
		}
		Subsystem->StartSession(TEXT("plr_w"), TEXT("tok_w1"), 3600.0, TEXT("steam"), TEXT("ticket-w"));
		const TSharedRef<FOutcome> Outcome = MakeShared<FOutcome>();
		SendFromWorker(TEXT("GET"), TEXT("/v1/game/containers/c1"), TEXT("tok_w1"), Outcome);
		Await(*this, TEXT("the request"), [this]() { return Transport->Pending.Num() == 1; }, Done, [this, Outcome, Done]()
		{
			Transport->Answer(401, ExpiredBody);
			Await(*this, TEXT("the renewal, or the expiry reaching the caller"), [this, Outcome]() { return Outcome->Calls > 0 || Transport->Pending.Num() == 1; }, Done, [this, Outcome, Done]()
			{
				if (!TestEqual(TEXT("callbacks before the renewal"), Outcome->Calls, 0))
				{
					Done.Execute();
					return;
				}
				TestTrue(TEXT("a sign-in went out"), Transport->Pending[0].Request.Url.EndsWith(TEXT("/v1/game/sessions")));
				Transport->Answer(200, TEXT("{\"player\":{\"id\":\"plr_w\"},\"tokens\":{\"access_token\":\"tok_w2\",\"expires_in\":3600}}"));
				Await(*this, TEXT("the resend"), [this]() { return Transport->Pending.Num() == 1; }, Done, [this, Outcome, Done]()
				{
					TestEqualSensitive(TEXT("the resend's token"), Transport->Pending[0].Request.GetHeader(TEXT("Authorization")), FString(TEXT("Bearer tok_w2")));
					Transport->Answer(200, TEXT("{\"id\":\"c1\"}"));
					Await(*this, TEXT("the callback"), [Outcome]() { return Outcome->Calls > 0; }, Done, [this, Outcome, Done]()
					{
						TestTrue(TEXT("succeeded"), Outcome->bOk);
						TestTrue(TEXT("on the game thread"), Outcome->bOnGameThread);
						TestTrue(TEXT("every request left from the game thread"), !Transport->Threads().Contains(false));
						Done.Execute();
					});
				});
			});
		});
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
