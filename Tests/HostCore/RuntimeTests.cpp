// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Containers/Ticker.h"
#include "HAL/Event.h"
#include "HAL/PlatformProcess.h"
#include "HAL/Runnable.h"
#include "HAL/RunnableThread.h"
#include "Host/CoreHost.h"
#include "Misc/Guid.h"
#include "Misc/ScopeLock.h"
#include "Modules/ModuleManager.h"
#include <gtest/gtest.h>
#include <thread>
#include "ModuleTestSupport.h"

namespace
{
	class FHostTestModuleA : public FTestModuleBase
	{
	public:
		FHostTestModuleA() : FTestModuleBase(TEXT("A")) {}
		virtual void StartupModule() override
		{
			// A depends on B and loads it while starting, so B finishes starting first.
			FModuleManager::LoadModuleChecked<IModuleInterface>(TEXT("HostTestModuleB"));
			FTestModuleBase::StartupModule();
		}
	};

}

// One module per source file, as in a real module; B and C live in ModuleTestModules*.cpp.
IMPLEMENT_MODULE(FHostTestModuleA, HostTestModuleA)

TEST(HostCoreModules, StartupOnceAndShutdownInReverseStartupOrder)
{
	Calls().Reset();
	FModuleManager& Manager = FModuleManager::Get();
	EXPECT_FALSE(Manager.IsModuleLoaded(TEXT("HostTestModuleA")));
	IModuleInterface* A = Manager.LoadModule(TEXT("HostTestModuleA"));
	ASSERT_NE(A, nullptr);
	EXPECT_EQ(Manager.LoadModule(TEXT("HostTestModuleA")), A);
	EXPECT_EQ(&FModuleManager::LoadModuleChecked<FHostTestModuleA>(TEXT("HostTestModuleA")), A);
	EXPECT_NE(FModuleManager::LoadModulePtr<IModuleInterface>(TEXT("HostTestModuleC")), nullptr);
	EXPECT_FALSE(FDefaultModuleImpl().IsGameModule());
	const FDefaultGameModuleImpl GameModule;
	EXPECT_TRUE(static_cast<const IModuleInterface&>(GameModule).IsGameModule());
	EXPECT_EQ(Manager.LoadModule(TEXT("NoSuchModule")), nullptr);
	EXPECT_EQ(Calls(), (TArray<FString>{ TEXT("B.Startup"), TEXT("A.Startup"), TEXT("C.Startup") }));

	Calls().Reset();
	UE::Host::ShutdownModules();
	EXPECT_EQ(Calls(), (TArray<FString>{ TEXT("C.PreUnload"), TEXT("A.PreUnload"), TEXT("B.PreUnload"), TEXT("C.Shutdown"), TEXT("C.Destroyed"), TEXT("A.Shutdown"), TEXT("A.Destroyed"), TEXT("B.Shutdown"), TEXT("B.Destroyed") }));
	EXPECT_FALSE(Manager.IsModuleLoaded(TEXT("HostTestModuleA")));

	// UnloadModule shuts one module down without PreUnloadCallback.
	Calls().Reset();
	Manager.LoadModule(TEXT("HostTestModuleC"));
	EXPECT_TRUE(Manager.UnloadModule(TEXT("HostTestModuleC")));
	EXPECT_EQ(Calls(), (TArray<FString>{ TEXT("C.Startup"), TEXT("C.Shutdown"), TEXT("C.Destroyed") }));
}

TEST(HostCoreThreads, RunnableRunsOnItsOwnThreadAndStops)
{
	struct FCounter : public FRunnable
	{
		virtual bool Init() override { return true; }
		virtual uint32 Run() override
		{
			bWasGameThread = IsInGameThread();
			Counter.Increment();
			Started->Trigger();
			while (!bStop)
			{
				Counter.Increment();
				FPlatformProcess::Sleep(0.001f);
			}
			return 0;
		}
		virtual void Stop() override { bStop = true; }
		std::atomic<bool> bStop{ false };
		bool bWasGameThread = true;
		FThreadSafeCounter Counter;
		FEvent* Started = FPlatformProcess::GetSynchEventFromPool();
	};
	EXPECT_TRUE(IsInGameThread());
	FCounter Runnable;
	FRunnableThread* Thread = FRunnableThread::Create(&Runnable, TEXT("HostTestWorker"));
	ASSERT_NE(Thread, nullptr);
	EXPECT_NE(Thread->GetThreadID(), 0u);
	EXPECT_TRUE(Runnable.Started->Wait(5000));
	Thread->Kill(true);
	delete Thread;
	EXPECT_FALSE(Runnable.bWasGameThread);
	EXPECT_GT(Runnable.Counter.GetValue(), 0);
	FPlatformProcess::ReturnSynchEventToPool(Runnable.Started);
}

TEST(HostCoreThreads, EventsTimeOutOrRelease)
{
	FEvent* AutoReset = FPlatformProcess::GetSynchEventFromPool(false);
	EXPECT_FALSE(AutoReset->Wait(10));
	AutoReset->Trigger();
	EXPECT_TRUE(AutoReset->Wait(0));
	EXPECT_FALSE(AutoReset->Wait(0));
	FPlatformProcess::ReturnSynchEventToPool(AutoReset);
	FEventRef Manual(EEventMode::ManualReset);
	Manual->Trigger();
	EXPECT_TRUE(Manual->Wait(0));
	EXPECT_TRUE(Manual->Wait(0));

	FCriticalSection Section;
	int32 Shared = 0;
	std::thread Threads[4];
	for (std::thread& T : Threads)
	{
		T = std::thread([&]()
		{
			for (int32 Index = 0; Index < 1000; ++Index)
			{
				FScopeLock Lock(&Section);
				++Shared;
			}
		});
	}
	for (std::thread& T : Threads)
	{
		T.join();
	}
	EXPECT_EQ(Shared, 4000);
	const double Start = FPlatformTime::Seconds();
	FPlatformProcess::Sleep(0.01f);
	EXPECT_GE(FPlatformTime::Seconds() - Start, 0.009);
}

TEST(HostCoreTicker, FiresAfterDelayUntilItReturnsFalse)
{
	FTSTicker Ticker;
	int32 Fired = 0;
	float LastDelta = 0;
	Ticker.AddTicker(FTickerDelegate::CreateLambda([&](float Delta)
	{
		LastDelta = Delta;
		return ++Fired < 3;
	}), 0.5f);
	Ticker.Tick(0.25f);
	EXPECT_EQ(Fired, 0);
	Ticker.Tick(0.25f);
	EXPECT_EQ(Fired, 1);
	EXPECT_EQ(LastDelta, 0.25f);
	Ticker.Tick(0.1f);
	EXPECT_EQ(Fired, 1);
	Ticker.Tick(0.5f);
	Ticker.Tick(0.5f);
	Ticker.Tick(0.5f);
	EXPECT_EQ(Fired, 3);

	int32 Other = 0;
	FTSTicker::FDelegateHandle Handle = Ticker.AddTicker(TEXT("Every"), 0.0f, [&Other, MoveOnly = MakeUnique<int32>(1)](float) { Other += *MoveOnly; return true; });
	Ticker.Tick(0.1f);
	Ticker.Tick(0.1f);
	FTSTicker::RemoveTicker(Handle);
	Ticker.Tick(0.1f);
	EXPECT_EQ(Other, 2);

	// Removing another ticker (and adding one) from inside a tick.
	FTSTicker::FDelegateHandle Victim = Ticker.AddTicker(FTickerDelegate::CreateLambda([&Other](float) { Other += 100; return true; }));
	Ticker.AddTicker(FTickerDelegate::CreateLambda([&](float) { FTSTicker::RemoveTicker(Victim); Ticker.AddTicker(TEXT("Late"), 0.0f, [](float) { return false; }); return false; }));
	Ticker.Tick(0.1f);
	Ticker.Tick(0.1f);
	EXPECT_LE(Other, 102);
}

TEST(HostCoreGuid, FormatsAndParses)
{
	const FGuid Guid(0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210);
	EXPECT_EQ(Guid.ToString(), FString(TEXT("0123456789ABCDEFFEDCBA9876543210")));
	EXPECT_TRUE(Guid.ToString(EGuidFormats::DigitsLower).Equals(TEXT("0123456789abcdeffedcba9876543210")));
	EXPECT_TRUE(Guid.ToString(EGuidFormats::DigitsWithHyphens).Equals(TEXT("01234567-89AB-CDEF-FEDC-BA9876543210")));
	EXPECT_TRUE(Guid.ToString(EGuidFormats::DigitsWithHyphensLower).Equals(TEXT("01234567-89ab-cdef-fedc-ba9876543210")));
	EXPECT_TRUE(Guid.ToString(EGuidFormats::DigitsWithHyphensInBraces).Equals(TEXT("{01234567-89AB-CDEF-FEDC-BA9876543210}")));
	EXPECT_TRUE(Guid.ToString(EGuidFormats::DigitsWithHyphensInParentheses).Equals(TEXT("(01234567-89AB-CDEF-FEDC-BA9876543210)")));
	EXPECT_TRUE(Guid.ToString(EGuidFormats::HexValuesInBraces).Equals(TEXT("{0x01234567,0x89AB,0xCDEF,{0xFE,0xDC,0xBA,0x98,0x76,0x54,0x32,0x10}}")));
	EXPECT_TRUE(Guid.ToString(EGuidFormats::UniqueObjectGuid).Equals(TEXT("01234567-89ABCDEF-FEDCBA98-76543210")));
	EXPECT_EQ(Guid.ToString(EGuidFormats::Short).Len(), 22);
	EXPECT_EQ(Guid.ToString(EGuidFormats::Base36Encoded).Len(), 25);
	for (int32 Format = 0; Format <= (int32)EGuidFormats::Base36Encoded; ++Format)
	{
		FGuid Parsed;
		const FString Text = Guid.ToString((EGuidFormats)Format);
		EXPECT_TRUE(FGuid::ParseExact(Text, (EGuidFormats)Format, Parsed)) << Format;
		EXPECT_EQ(Parsed, Guid) << Format;
		FGuid ParsedAny;
		EXPECT_TRUE(FGuid::Parse(Text, ParsedAny)) << Format;
		EXPECT_EQ(ParsedAny, Guid) << Format;
	}
	FGuid Bad;
	EXPECT_FALSE(FGuid::Parse(TEXT("0123456789ABCDEFFEDCBA987654321G"), Bad));
	EXPECT_FALSE(FGuid::Parse(TEXT("01234567-89AB-CDEF-FEDC_BA9876543210"), Bad));
	EXPECT_FALSE(FGuid::Parse(TEXT("short"), Bad));
	EXPECT_FALSE(FGuid(FString(TEXT("nonsense"))).IsValid());
	EXPECT_FALSE(FGuid().IsValid());
}

TEST(HostCoreGuid, NewGuidsAreRandomAndDistinct)
{
	TSet<FGuid> Seen;
	for (int32 Index = 0; Index < 1000; ++Index)
	{
		const FGuid Guid = FGuid::NewGuid();
		EXPECT_TRUE(Guid.IsValid());
		Seen.Add(Guid);
	}
	EXPECT_EQ(Seen.Num(), 1000);
	EXPECT_TRUE(FGuid(0, 1, 2, 3) < FGuid(0, 1, 2, 4));
	EXPECT_EQ(GetTypeHash(FGuid(1, 2, 3, 4)), GetTypeHash(FGuid(1, 2, 3, 4)));
}
