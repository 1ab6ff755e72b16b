// Copyright Quarn. All Rights Reserved.

// Quarn.Sync.Status over the scripted transport: each container of the game instance with its
// state, version, unsent changes and the last failure's code. Its registration is tested with the
// adapter (Quarn.USME.ConsoleRegistration).

#include "Tests/QuarnContainerSyncTestSupport.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "HAL/IConsoleManager.h"
#include "Misc/OutputDevice.h"

using namespace QuarnContainerSyncTests;
using QuarnSyncTests::Desired;

namespace QuarnSyncConsoleSpecs
{
	const FTimespan Bound = FTimespan::FromSeconds(20.0);

	/** What a command wrote, one entry per line. */
	class FConsoleOutput : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName&) override
		{
			Lines.Add(V);
		}
		TArray<FString> Lines;
	};

	TArray<FString> Run(const TCHAR* Line, bool* bOutRecognized = nullptr)
	{
		FConsoleOutput Output;
		const bool bRecognized = IConsoleManager::Get().ProcessUserConsoleInput(Line, Output, nullptr);
		if (bOutRecognized != nullptr)
		{
			*bOutRecognized = bRecognized;
		}
		return Output.Lines;
	}

	/** The lines a game instance's block holds: its heading and the container lines under it. */
	TArray<FString> BlockOf(const TArray<FString>& Lines, const FString& GameName)
	{
		TArray<FString> Block;
		bool bInside = false;
		for (const FString& Line : Lines)
		{
			if (!Line.StartsWith(TEXT(" ")))
			{
				bInside = Line.StartsWith(GameName + TEXT(":"), ESearchCase::CaseSensitive);
			}
			if (bInside)
			{
				Block.Add(Line);
			}
		}
		return Block;
	}
}

BEGIN_DEFINE_SPEC(FQuarnSyncConsoleSpec, "Quarn.USME.Console", QuarnTests::TestFlags)
	TUniquePtr<FKeepInSyncFixture> Fixture;

	FString GameName() const
	{
		const UWorld* const World = Fixture->GetWorld();
		return World != nullptr && World->GetGameInstance() != nullptr ? World->GetGameInstance()->GetName() : FString();
	}
END_DEFINE_SPEC(FQuarnSyncConsoleSpec)

void FQuarnSyncConsoleSpec::Define()
{
	using namespace QuarnSyncConsoleSpecs;

	BeforeEach([this]()
	{
		Fixture = MakeUnique<FKeepInSyncFixture>();
	});

	AfterEach([this]()
	{
		Fixture.Reset();
	});

	LatentIt(TEXT("Quarn.Sync.Status lists each container with its state, version, unsent changes and last error code"), Bound, [this](const FDoneDelegate& Done)
	{
		if (!TestNotNull(TEXT("the test game has the sync subsystem"), Fixture->Subsystem()))
		{
			Done.Execute();
			return;
		}
		// The game ends while the container still retries.
		AddExpectedMessagePlain(TEXT("ended with changes not sent"), ELogVerbosity::Warning, EAutomationExpectedMessageFlags::Contains, 1);
		const FString Game = GameName();
		TestTrue(TEXT("nothing listed for a game that keeps no container"), BlockOf(Run(TEXT("Quarn.Sync.Status")), Game).IsEmpty());

		Fixture->Keep(TEXT("c1"), {Desired(TEXT(""), TEXT("Ammo"), 3, 0)});
		FKeepInSyncFixture* const F = Fixture.Get();
		Fixture->Run(*this, {
			{TEXT("a container read"), [F]() { return F->ReadPending(); }, [this, F, Game]()
			{
				const TArray<FString> Block = BlockOf(Run(TEXT("Quarn.Sync.Status")), Game);
				TestEqual(TEXT("a heading and one container while the first sync reads"), Block.Num(), 2);
				if (Block.Num() == 2)
				{
					TestEqual(TEXT("the heading"), Block[0], Game + TEXT(": 1 kept in sync"));
					TestEqual(TEXT("the container syncing"), Block[1], FString(TEXT("  p1 / c1: syncing, version 0, changes not sent yet")));
				}
				F->Transport().Answer(FKeepInSyncFixture::Answered(503, Refusal(TEXT("unavailable"))));
			}},
			{TEXT("the container to retry"), [F]() { return F->Status(TEXT("c1")).State == EQuarnContainerSyncState::Retrying; }, [this, Game]()
			{
				const TArray<FString> Block = BlockOf(Run(TEXT("Quarn.Sync.Status")), Game);
				TestEqual(TEXT("still one container"), Block.Num(), 2);
				if (Block.Num() == 2)
				{
					TestEqual(TEXT("the container retrying, with the failure's code and status"), Block[1],
						FString(TEXT("  p1 / c1: retrying, version 0, changes not sent yet, 1 failed in a row, last error unavailable (HTTP 503)")));
					TestFalse(TEXT("no message or token in the line"), Block[1].Contains(TEXT("Refused")) || Block[1].Contains(TEXT("token-p1")));
				}
			}},
		}, Done);
	});
}

#endif
