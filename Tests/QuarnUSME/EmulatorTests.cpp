// The adapter against the local platform: the test actor's whole run as it logs it, the actor
// started from the details panel's button, a refused sign-in, a second writer between the sync
// node's read and its transaction, and the module's start line under log verbosity.
#include "QuarnUSMETestSupport.h"
#include "Engine/World.h"
#include "Host/CallInEditor.h"
#include "Modules/ModuleManager.h"
#include "QuarnLog.h"
#include "QuarnTest/EmulatorProcess.h"
#include "QuarnUSMESyncTest.h"

#include <nlohmann/json.hpp>

using namespace QuarnUSMETest;

namespace
{
	/** Forwards to the engine HTTP transport, and lets a test act just before a chosen request leaves. */
	class FInterposingTransport : public IQuarnTransport
	{
	public:
		/** Call while no other transport is installed: the inner one is the client's default. */
		FInterposingTransport()
			: Inner(FQuarnClient::GetTransport())
		{
		}

		TFunction<void(const FQuarnHttpRequest&)> BeforeSend;

		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			if (BeforeSend)
			{
				BeforeSend(Request);
			}
			Inner->Send(Request, MoveTemp(OnDone));
		}

	private:
		TSharedRef<IQuarnTransport> Inner;
	};

	class FQuarnUSMEEmulator : public testing::Test
	{
	protected:
		virtual void SetUp() override
		{
			ASSERT_TRUE(Emulator.Start(ExtraArguments())) << Emulator.LastError();
			UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
			SavedBaseUrl = Settings->BaseUrl;
			Settings->BaseUrl = UTF8_TO_TCHAR(Emulator.BaseUrl().c_str());
			FQuarnClient::SetTransport(nullptr);
		}

		virtual void TearDown() override
		{
			FQuarnClient::SetTransport(nullptr);
			GetMutableDefault<UQuarnSettings>()->BaseUrl = SavedBaseUrl;
			for (AActor* Actor : Spawned)
			{
				if (IsValid(Actor))
				{
					Actor->Destroy();
				}
			}
			Engine().CollectGarbage();
			Emulator.Stop();
		}

		virtual std::vector<std::string> ExtraArguments() const
		{
			return {};
		}

		AQuarnUSMESyncTest* SpawnTestActor(bool bRunOnBeginPlay, const FString& Ticket)
		{
			// Set as the level's details panel would, before the actor begins play inside SpawnActor.
			FActorSpawnParameters Parameters;
			Parameters.CustomPreSpawnInitalization = [bRunOnBeginPlay, Ticket](AActor* Spawning)
			{
				AQuarnUSMESyncTest* Test = CastChecked<AQuarnUSMESyncTest>(Spawning);
				Test->bRunOnBeginPlay = bRunOnBeginPlay;
				Test->Ticket = Ticket;
			};
			AQuarnUSMESyncTest* Actor = Engine().GetWorld()->SpawnActor<AQuarnUSMESyncTest>(AQuarnUSMESyncTest::StaticClass(), Parameters);
			Spawned.Add(Actor);
			return Actor;
		}

		/** The LogQuarn lines, with the verbosity, and the ids that vary per run replaced by "<id>". */
		static TArray<FString> Normalise(const FLogCapture& Capture, const FString& PlayerId, const FString& StashId)
		{
			TArray<FString> Lines;
			for (const UE::Host::FCapturedLogLine& Line : Capture.GetLines())
			{
				FString Text = Line.Text;
				if (!PlayerId.IsEmpty())
				{
					Text.ReplaceInline(*PlayerId, TEXT("<player>"), ESearchCase::CaseSensitive);
				}
				if (!StashId.IsEmpty())
				{
					Text.ReplaceInline(*StashId, TEXT("<stash>"), ESearchCase::CaseSensitive);
				}
				Lines.Add(FString(ToString(Line.Verbosity)) + TEXT(": ") + Text);
			}
			return Lines;
		}

		/** The text after Prefix in the first captured line that starts with it, up to the first blank. */
		static FString Field(const FLogCapture& Capture, const FString& Prefix)
		{
			for (const UE::Host::FCapturedLogLine& Line : Capture.GetLines())
			{
				if (Line.Text.StartsWith(Prefix, ESearchCase::CaseSensitive))
				{
					FString Rest = Line.Text.RightChop(Prefix.Len());
					int32 Blank = INDEX_NONE;
					return Rest.FindChar(TEXT(' '), Blank) ? Rest.Left(Blank) : Rest;
				}
			}
			return FString();
		}

		QuarnTest::EmulatorProcess Emulator;
		FString SavedBaseUrl;
		TArray<AActor*> Spawned;
	};

	class FQuarnUSMEProductionEmulator : public FQuarnUSMEEmulator
	{
	protected:
		virtual std::vector<std::string> ExtraArguments() const override
		{
			return {"--production"};
		}
	};

	const TCHAR* const PassedBanner = TEXT("=== USME adapter test: PASSED ===");
	const TCHAR* const FailedBanner = TEXT("=== USME adapter test: FAILED ===");
}

TEST_F(FQuarnUSMEEmulator, TestActorLogsTheWholePassedRun)
{
	FLogCapture Capture;
	SpawnTestActor(true, TEXT("ue_usme_sync_test"));
	ASSERT_TRUE(PumpUntil([&] { return Capture.AnyContains(PassedBanner) || Capture.AnyContains(FailedBanner); }, 30.0));

	const FString PlayerId = Field(Capture, TEXT("[1/5] OK  player="));
	const FString StashId = Field(Capture, TEXT("[2/5] OK  stash="));
	ASSERT_FALSE(PlayerId.IsEmpty());
	ASSERT_FALSE(StashId.IsEmpty());
	const TArray<FString> Expected = {
		TEXT("Display: === USME adapter test: start ==="),
		TEXT("Display: [1/5] Authenticating 'ue_usme_sync_test'..."),
		TEXT("Display: [1/5] OK  player=<player>"),
		TEXT("Display: [2/5] Ensuring a 40-slot stash (USME uses a flat slot array)..."),
		TEXT("Display: [2/5] OK  stash=<stash> holding 0 stack(s)"),
		TEXT("Display: [3/5] Reconciling: template reports 3 x Bandage picked up in play (no instance id yet)..."),
		TEXT("Display: Sync applied: 1 granted, 0 consumed, 0 moved, 0 unchanged, 0 warning(s)."),
		TEXT("Display: [3/5] OK  granted=1 consumed=0 moved=0 unchanged=0"),
		TEXT("Display: [4/5] Reading back to confirm the platform assigned ids..."),
		TEXT("Display: [4/5] OK  1 stack(s) on the platform"),
		TEXT("Display:         Bandage x3 slot=0  DataKeys=1  id round-trip: OK"),
		TEXT("Display: [5/5] Reconciling an empty list: everything the player dropped must be consumed..."),
		TEXT("Display: Sync applied: 0 granted, 1 consumed, 0 moved, 0 unchanged, 0 warning(s)."),
		TEXT("Display: [5/5] OK  consumed=1 (expected 1)"),
		TEXT("Display: === USME adapter test: PASSED ==="),
	};
	TArray<FString> Got;
	for (const FString& Line : Normalise(Capture, PlayerId, StashId))
	{
		// Only the adapter's own lines; the request log of other categories is not part of the run.
		if (Line.StartsWith(TEXT("Display: ")) || Line.StartsWith(TEXT("Error: ")) || Line.StartsWith(TEXT("Warning: ")))
		{
			Got.Add(Line);
		}
	}
	ASSERT_EQ(Got.Num(), Expected.Num()) << Str(FString::Join(Got, TEXT("\n")));
	for (int32 Index = 0; Index < Expected.Num(); ++Index)
	{
		EXPECT_EQ(Str(Got[Index]), Str(Expected[Index])) << "line " << Index;
	}
}

TEST_F(FQuarnUSMEEmulator, WithoutBeginPlayRunTheButtonStartsTheRun)
{
	FLogCapture Capture;
	AQuarnUSMESyncTest* Actor = SpawnTestActor(false, TEXT("button_player"));
	PumpTicks(10);
	EXPECT_FALSE(Capture.AnyContains(TEXT("USME adapter test")));

	EXPECT_EQ(UE::Host::CallInEditor(Actor, FName(TEXT("RunSyncTest"))), UE::Host::ECallInEditorResult::Called);
	ASSERT_TRUE(PumpUntil([&] { return Capture.AnyContains(PassedBanner) || Capture.AnyContains(FailedBanner); }, 30.0));
	EXPECT_TRUE(Capture.AnyContains(PassedBanner));
	EXPECT_TRUE(Capture.AnyContains(TEXT("[1/5] Authenticating 'button_player'...")));
}

TEST_F(FQuarnUSMEProductionEmulator, RefusedSignInLogsTheFailureAndStops)
{
	FLogCapture Capture;
	SpawnTestActor(true, TEXT("prod_player"));
	ASSERT_TRUE(PumpUntil([&] { return Capture.AnyContains(FailedBanner); }, 30.0));
	PumpTicks(10);
	bool bFailureLine = false;
	for (const UE::Host::FCapturedLogLine& Line : Capture.GetLines())
	{
		bFailureLine |= Line.Verbosity == ELogVerbosity::Error && Line.Text.StartsWith(TEXT("[1/5] authenticate FAILED  http=403 code=provider_not_allowed detail="));
	}
	EXPECT_TRUE(bFailureLine);
	EXPECT_TRUE(Capture.Has(ELogVerbosity::Error, FailedBanner));
	EXPECT_FALSE(Capture.AnyContains(TEXT("[2/5]"))) << "no container request after a failed sign-in";
}

TEST_F(FQuarnUSMEEmulator, AnEmptyTicketIsPassedThrough)
{
	FLogCapture Capture;
	SpawnTestActor(true, FString());
	ASSERT_TRUE(PumpUntil([&] { return Capture.AnyContains(FailedBanner); }, 30.0));
	EXPECT_TRUE(Capture.Has(ELogVerbosity::Display, TEXT("[1/5] Authenticating ''...")));
	EXPECT_EQ(Capture.Count(TEXT("[1/5] authenticate FAILED  http=400 code=invalid_request detail="), ELogVerbosity::Error), 1);
}

// A second writer grants into the container after the node read it and before its transaction
// leaves: the platform refuses the stale batch, the node warns and fails, and a fresh sync succeeds.
TEST_F(FQuarnUSMEEmulator, SecondWriterBetweenReadAndTransactionIsAConflict)
{
	// Sign in and make the container through the platform's own API, as another client would.
	const QuarnTest::HttpClient Client = Emulator.Client();
	const QuarnTest::HttpResponse Session = Client.Post("/v1/game/sessions", R"({"provider":"anonymous","ticket":"second_writer"})", {{"Content-Type", "application/json"}});
	ASSERT_TRUE(Session.Ok()) << Session.Body;
	const nlohmann::json SessionJson = nlohmann::json::parse(Session.Body);
	const std::string Token = SessionJson.at("tokens").at("access_token").get<std::string>();
	const std::string PlayerId = SessionJson.at("player").at("id").get<std::string>();
	const QuarnTest::HttpHeaders Auth = {{"Authorization", "Bearer " + Token}, {"Content-Type", "application/json"}};
	const QuarnTest::HttpResponse Ensured = Client.Post("/v1/game/containers/ensure", R"({"kind":"stash","layout":"slots","slot_count":40})", Auth);
	ASSERT_TRUE(Ensured.Ok()) << Ensured.Body;
	const std::string ContainerId = nlohmann::json::parse(Ensured.Body).at("id").get<std::string>();

	UQuarnSubsystem::Get(Engine().GetWorld())->SetAccessToken(UTF8_TO_TCHAR(PlayerId.c_str()), UTF8_TO_TCHAR(Token.c_str()));
	const TSharedRef<FInterposingTransport> Transport = MakeShared<FInterposingTransport>();
	bool bInterfered = false;
	Transport->BeforeSend = [&](const FQuarnHttpRequest& Request)
	{
		if (!bInterfered && Request.Url.EndsWith(TEXT("/v1/game/inventory/transaction")))
		{
			bInterfered = true;
			const std::string Grant = R"({"container_id":")" + ContainerId + R"(","item_id":"Rope","quantity":1})";
			const QuarnTest::HttpResponse Granted = Client.Post("/v1/game/inventory/grant", Grant, Auth);
			EXPECT_TRUE(Granted.Ok()) << Granted.Body;
		}
	};
	FQuarnClient::SetTransport(Transport);

	FQuarnItemInstance Bandage;
	Bandage.ItemId = FName(TEXT("Bandage"));
	Bandage.Quantity = 2;
	Bandage.SlotIndex = 0;

	FLogCapture Capture;
	UQuarnSyncPinRecorder* First = NewObject<UQuarnSyncPinRecorder>();
	First->AddToRoot();
	UQuarnSyncStash* Action = UQuarnSyncStash::SyncStash(Engine().GetWorld(), UTF8_TO_TCHAR(PlayerId.c_str()), UTF8_TO_TCHAR(ContainerId.c_str()), {Bandage});
	First->Bind(Action);
	Action->Activate();
	ASSERT_TRUE(PumpUntil([&] { return First->Total() > 0; }, 30.0));
	EXPECT_TRUE(bInterfered);
	EXPECT_EQ(First->Failures, 1);
	EXPECT_EQ(Str(First->Error.Code), "version_conflict");
	EXPECT_TRUE(Capture.Has(ELogVerbosity::Warning, FString::Printf(TEXT("Sync refused: container %s changed while reconciling. Re-read and sync again."), UTF8_TO_TCHAR(ContainerId.c_str()))));

	// Re-read and sync again, as the line says.
	UQuarnSyncPinRecorder* Second = NewObject<UQuarnSyncPinRecorder>();
	Second->AddToRoot();
	UQuarnSyncStash* Retry = UQuarnSyncStash::SyncStash(Engine().GetWorld(), UTF8_TO_TCHAR(PlayerId.c_str()), UTF8_TO_TCHAR(ContainerId.c_str()), {Bandage});
	Second->Bind(Retry);
	Retry->Activate();
	ASSERT_TRUE(PumpUntil([&] { return Second->Total() > 0; }, 30.0));
	EXPECT_EQ(Second->Successes, 1) << Str(Second->Error.Code);
	// The template's list is what the sync enforces: the second writer's stack, which the list does
	// not name, is consumed, and the list's new stack is granted once.
	EXPECT_EQ(Second->Report.Granted, 1);
	EXPECT_EQ(Second->Report.Consumed, 1);

	const QuarnTest::HttpResponse Final = Client.Get("/v1/game/containers/" + QuarnTest::PercentEncode(ContainerId), Auth);
	ASSERT_TRUE(Final.Ok());
	const nlohmann::json Items = nlohmann::json::parse(Final.Body).at("items");
	int Bandages = 0;
	for (const nlohmann::json& Item : Items)
	{
		if (Item.at("item_id") == "Bandage")
		{
			Bandages += Item.at("quantity").get<int>();
		}
	}
	EXPECT_EQ(Bandages, 2) << "the refused batch left nothing behind, the retried one applied once";
	First->RemoveFromRoot();
	Second->RemoveFromRoot();
}

TEST(QuarnUSMEModule, StartLineFollowsTheCategoryVerbosity)
{
	IModuleInterface* Module = FModuleManager::Get().GetModule(FName(TEXT("QuarnUSME")));
	ASSERT_NE(Module, nullptr);
	{
		UE_SET_LOG_VERBOSITY(LogQuarn, Display);
		FLogCapture Capture;
		Module->StartupModule();
		EXPECT_FALSE(Capture.AnyContains(TEXT("Quarn USME adapter loaded.")));
	}
	{
		UE_SET_LOG_VERBOSITY(LogQuarn, Log);
		FLogCapture Capture;
		Module->StartupModule();
		EXPECT_TRUE(Capture.Has(ELogVerbosity::Log, TEXT("Quarn USME adapter loaded.")));
	}
	LogQuarn.ResetToDefault();
}
