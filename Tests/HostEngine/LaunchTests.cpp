// The engine loop: module start-up order, plug-in descriptors, shutdown, ticking hooks and the
// test helpers (TickUntil, log capture, the details panel's CallInEditor button).
#include "EngineTestSupport.h"
#include "EngineTestTypes.h"
#include "TestModules.h"
#include "Containers/Ticker.h"
#include "EngineLogs.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformTime.h"
#include "Host/CallInEditor.h"
#include "Host/EngineLoopHooks.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"

namespace
{
	FString TestPluginDescriptor()
	{
		return FString(TEXT(HOST_ENGINE_TEST_PROJECT)) + TEXT("/Plugins/EngineTestPlugin/EngineTestPlugin.uplugin");
	}

	int32 IndexOf(const TArray<FName>& Names, const TCHAR* Name)
	{
		return Names.IndexOfByKey(FName(Name));
	}

	// A descriptor written for one test, in the build folder.
	FString WriteDescriptor(const TCHAR* FileName, const TCHAR* Text)
	{
		const FString Directory(TEXT(HOST_ENGINE_TEST_SCRATCH));
		IFileManager::Get().MakeDirectory(*Directory, true);
		const FString Path = FPaths::Combine(Directory, FileName);
		EXPECT_TRUE(FFileHelper::SaveStringToFile(FString(Text), *Path)) << Str(Path);
		return Path;
	}
}

TEST(HostEngineLaunch, ModulesStartInEngineOrderThenPluginPhasesAndStopInReverse)
{
	TestModuleEvents().Reset();
	UE::Host::FEngineLoopSettings Settings = TestProjectSettings();
	Settings.PluginDescriptors.Add(TestPluginDescriptor());
	{
		UE::Host::FTestEngine Engine(Settings);
		ASSERT_TRUE(Engine.IsRunning());
		const TArray<FName> Order = FModuleManager::Get().GetLoadedModuleNamesInLoadOrder();
		// Engine modules in dependency order; those not linked into this binary (HTTP, UMG) are absent.
		int32 Previous = INDEX_NONE;
		for (const TCHAR* Name : { TEXT("Core"), TEXT("CoreUObject"), TEXT("Json"), TEXT("InputCore"), TEXT("SlateCore"), TEXT("Slate"), TEXT("DeveloperSettings"), TEXT("Engine") })
		{
			const int32 Index = IndexOf(Order, Name);
			ASSERT_NE(Index, INDEX_NONE) << Str(FString(Name));
			EXPECT_GT(Index, Previous) << Str(FString(Name));
			Previous = Index;
		}
		// The plug-in's modules come after the engine's, Default ones in descriptor order, PostEngineInit last.
		EXPECT_GT(IndexOf(Order, TEXT("HostEngineTestFirst")), Previous);
		EXPECT_EQ(TestModuleEvents(), (TArray<FString>{ TEXT("First.Startup"), TEXT("Second.Startup"), TEXT("Late.Startup(engine)") }));
		// An editor module does not load in a game.
		EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded(TEXT("HostEngineTestEditorOnly")));

		// A second engine in the same process starts no module twice.
		Engine.GetLoop().Exit();
		UE::Host::FTestEngine Again(Settings);
		EXPECT_TRUE(Again.IsRunning());
		EXPECT_EQ(TestModuleEvents().Num(), 3);
	}

	TestModuleEvents().Reset();
	UE::Host::FHostEngineLoop::ShutdownModules();
	EXPECT_EQ(TestModuleEvents(), (TArray<FString>{ TEXT("Late.Shutdown"), TEXT("Second.Shutdown"), TEXT("First.Shutdown") }));
	EXPECT_TRUE(FModuleManager::Get().GetLoadedModuleNamesInLoadOrder().IsEmpty());

	// Modules start again for the next engine, and the engine works as before.
	UE::Host::FTestEngine Restarted(TestProjectSettings());
	ASSERT_TRUE(Restarted.IsRunning());
	EXPECT_TRUE(FModuleManager::Get().IsModuleLoaded(TEXT("Engine")));
	EXPECT_NE(TSoftObjectPtr<UTexture2D>(FSoftObjectPath(TEXT("/Game/Icons/Bandage.Bandage"))).LoadSynchronous(), nullptr);
}

TEST(HostEngineLaunch, BadPluginDescriptorsStopStartUpWithAnErrorAndStartNothing)
{
	struct FCase
	{
		const TCHAR* FileName;
		const TCHAR* Text;
		const char* Expected;
	};
	const FCase Cases[] = {
		{ TEXT("NotJson.uplugin"), TEXT("{ \"Modules\": [ "), "is not a valid JSON object" },
		{ TEXT("NoName.uplugin"), TEXT("{ \"Modules\": [ { \"Type\": \"Runtime\" } ] }"), "a module entry has no Name" },
		{ TEXT("NoType.uplugin"), TEXT("{ \"Modules\": [ { \"Name\": \"HostEngineTestFirst\" } ] }"), "does not specify a module type" },
		{ TEXT("BadType.uplugin"), TEXT("{ \"Modules\": [ { \"Name\": \"HostEngineTestFirst\", \"Type\": \"Sometimes\" } ] }"), "unrecognized module Type 'Sometimes'" },
		{ TEXT("BadPhase.uplugin"), TEXT("{ \"Modules\": [ { \"Name\": \"HostEngineTestFirst\", \"Type\": \"Runtime\", \"LoadingPhase\": \"Later\" } ] }"), "unrecognized module LoadingPhase 'Later'" },
		{ TEXT("NotAnArray.uplugin"), TEXT("{ \"Modules\": 3 }"), "Modules is not an array" },
		{ TEXT("Missing.uplugin"), nullptr, "Unable to read plugin descriptor" },
	};
	for (const FCase& Case : Cases)
	{
		TestModuleEvents().Reset();
		UE::Host::FEngineLoopSettings Settings = TestProjectSettings();
		Settings.PluginDescriptors.Add(Case.Text ? WriteDescriptor(Case.FileName, Case.Text) : FString(TEXT("/nonexistent/Missing.uplugin")));
		UE::Host::FLogCapture Init(TEXT("LogInit"));
		UE::Host::FTestEngine Engine(Settings);
		EXPECT_FALSE(Engine.IsRunning()) << Case.Expected;
		EXPECT_EQ(GEngine, nullptr);
		EXPECT_TRUE(TestModuleEvents().IsEmpty()) << Case.Expected;
		const TArray<UE::Host::FCapturedLogLine> Lines = Init.GetLines();
		ASSERT_FALSE(Lines.IsEmpty()) << Case.Expected;
		EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Error);
		EXPECT_NE(Str(Lines[0].Text).find(Case.Expected), std::string::npos) << Str(Lines[0].Text);
	}
}

TEST(HostEngineLaunch, PluginModuleThatDoesNotExistFailsStartUp)
{
	UE::Host::FEngineLoopSettings Settings = TestProjectSettings();
	Settings.PluginDescriptors.Add(WriteDescriptor(TEXT("Absent.uplugin"), TEXT("{ \"Modules\": [ { \"Name\": \"HostEngineTestAbsent\", \"Type\": \"Runtime\" } ] }")));
	UE::Host::FLogCapture Init(TEXT("LogInit"));
	UE::Host::FTestEngine Engine(Settings);
	EXPECT_FALSE(Engine.IsRunning());
	EXPECT_EQ(Init.Count(TEXT("Unable to load plugin module 'HostEngineTestAbsent' (not found)."), ELogVerbosity::Error), 1);
	// A loop that did not pre-initialize refuses to start.
	UE::Host::FHostEngineLoop Loop;
	EXPECT_FALSE(Loop.Init());
}

TEST(HostEngineLaunch, OnlyOneEngineRunsAtATime)
{
	UE::Host::FTestEngine First(TestProjectSettings());
	ASSERT_TRUE(First.IsRunning());
	UE::Host::FLogCapture Init(TEXT("LogInit"));
	UE::Host::FTestEngine Second(TestProjectSettings());
	EXPECT_FALSE(Second.IsRunning());
	EXPECT_EQ(Init.Count(TEXT("another engine is running"), ELogVerbosity::Error), 1);
	EXPECT_EQ(GEngine, First.GetEngine());
}

namespace
{
	class HostEngineLoop : public FEngineTest
	{
	};
}

TEST_F(HostEngineLoop, EachFrameRunsTickersThenWorldsThenTheViewportHook)
{
	TArray<FString> Order;
	ATestTickingActor* const Actor = World()->SpawnActor<ATestTickingActor>();
	const FTSTicker::FDelegateHandle Ticker = FTSTicker::GetCoreTicker().AddTicker(TEXT("Test"), 0.0f, [&Order, Actor](float)
	{
		Order.Add(FString::Printf(TEXT("Ticker(%d)"), Actor->TickCount));
		return true;
	});
	const FDelegateHandle Hook = UE::Host::OnViewportTick().AddLambda([&Order, Actor](float DeltaSeconds)
	{
		Order.Add(FString::Printf(TEXT("Viewport(%d,%.2f)"), Actor->TickCount, DeltaSeconds));
	});
	const uint64 FrameBefore = GFrameCounter;
	Engine->Tick(0.5f);
	Engine->Tick(0.25f);
	FTSTicker::RemoveTicker(Ticker);
	UE::Host::OnViewportTick().Remove(Hook);
	EXPECT_EQ(Order, (TArray<FString>{ TEXT("Ticker(0)"), TEXT("Viewport(1,0.50)"), TEXT("Ticker(1)"), TEXT("Viewport(2,0.25)") }));
	EXPECT_EQ(GFrameCounter, FrameBefore + 2);
}

TEST_F(HostEngineLoop, PeriodicCollectionRunsOnceItsIntervalHasPassed)
{
	UE::Host::SetTimeBetweenGarbageCollectionPasses(1.0f);
	const TWeakObjectPtr<UTestBroadcaster> Weak(NewObject<UTestBroadcaster>());
	Engine->TickFrames(3, 0.25f);
	EXPECT_TRUE(Weak.IsValid());
	Engine->TickFrames(3, 0.25f);
	EXPECT_FALSE(Weak.IsValid());

	// With no interval, only a forced collection runs, at the next frame.
	UE::Host::SetTimeBetweenGarbageCollectionPasses(0.0f);
	const TWeakObjectPtr<UTestBroadcaster> Second(NewObject<UTestBroadcaster>());
	Engine->TickFrames(20, 1.0f);
	EXPECT_TRUE(Second.IsValid());
	GEngine->ForceGarbageCollection(true);
	Engine->Tick();
	EXPECT_FALSE(Second.IsValid());
}

TEST_F(HostEngineLoop, TickUntilStopsWhenTheConditionHoldsOrTheTimeRunsOut)
{
	int32 Frames = 0;
	const FDelegateHandle Hook = UE::Host::OnViewportTick().AddLambda([&Frames](float) { ++Frames; });
	EXPECT_TRUE(Engine->TickUntil([&Frames] { return Frames >= 3; }, 10.0));
	EXPECT_EQ(Frames, 3);
	// Already true: no frame at all.
	EXPECT_TRUE(Engine->TickUntil([] { return true; }, 0.0));
	EXPECT_EQ(Frames, 3);

	UE::Host::FLogCapture Log(TEXT("LogHostTestEngine"));
	const double Start = FPlatformTime::Seconds();
	EXPECT_FALSE(Engine->TickUntil([] { return false; }, 0.05));
	EXPECT_GE(FPlatformTime::Seconds() - Start, 0.05);
	EXPECT_GT(Frames, 3);
	EXPECT_EQ(Log.CountAtVerbosity(ELogVerbosity::Warning), 1);
	UE::Host::OnViewportTick().Remove(Hook);
}

TEST_F(HostEngineLoop, LogCaptureKeepsOneCategoryWithVerbosity)
{
	UE::Host::FLogCapture Temp(TEXT("LogTemp"));
	UE_LOG(LogTemp, Warning, TEXT("first %d"), 1);
	UE_LOG(LogTemp, Log, TEXT("second"));
	UE_LOG(LogEngine, Error, TEXT("other category"));
	const TArray<UE::Host::FCapturedLogLine> Lines = Temp.GetLines();
	ASSERT_EQ(Lines.Num(), 2);
	EXPECT_EQ(Lines[0].Verbosity, ELogVerbosity::Warning);
	EXPECT_EQ(Str(Lines[0].Text), "first 1");
	EXPECT_EQ(Lines[1].Verbosity, ELogVerbosity::Log);
	EXPECT_EQ(Temp.Count(TEXT("other")), 0);
	Temp.Reset();
	EXPECT_TRUE(Temp.GetLines().IsEmpty());
}

TEST_F(HostEngineLoop, CallInEditorRunsMarkedFunctionsAndRefusesOthers)
{
	ATestActor* const Actor = World()->SpawnActor<ATestActor>();
	Actor->PingCalls = 4;
	EngineTestEvents().Reset();
	EXPECT_EQ(UE::Host::CallInEditor(Actor, TEXT("ResetCounters")), UE::Host::ECallInEditorResult::Called);
	EXPECT_EQ(Actor->PingCalls, 0);
	EXPECT_EQ(EngineTestEvents().Num(), 1);

	UE::Host::FLogCapture Log(TEXT("LogHostEditor"));
	EXPECT_EQ(UE::Host::CallInEditor(Actor, TEXT("NotForTheEditor")), UE::Host::ECallInEditorResult::NotCallInEditor);
	EXPECT_EQ(UE::Host::CallInEditor(Actor, TEXT("AddToTotal")), UE::Host::ECallInEditorResult::HasParameters);
	EXPECT_EQ(UE::Host::CallInEditor(Actor, TEXT("NoSuchFunction")), UE::Host::ECallInEditorResult::FunctionNotFound);
	EXPECT_EQ(UE::Host::CallInEditor(nullptr, TEXT("ResetCounters")), UE::Host::ECallInEditorResult::NullObject);
	// Refused calls run nothing and each says why.
	EXPECT_EQ(EngineTestEvents().Num(), 1);
	EXPECT_EQ(Actor->PingTotal, 0);
	EXPECT_EQ(Log.CountAtVerbosity(ELogVerbosity::Warning), 4);
	EXPECT_EQ(Str(FString(UE::Host::LexToString(UE::Host::ECallInEditorResult::HasParameters))), "HasParameters");
}
