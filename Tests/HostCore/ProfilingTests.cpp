// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "Host/CsvHost.h"
#include "Host/StatsHost.h"
#include "Host/TraceHost.h"
#include "Misc/FileHelper.h"
#include "ProfilingDebugging/CpuProfilerTrace.h"
#include "ProfilingDebugging/CsvProfiler.h"
#include "Stats/Stats.h"
#include <gtest/gtest.h>
#include <pthread.h>
#include <thread>

DECLARE_STATS_GROUP(TEXT("HostTest"), STATGROUP_HostTest, STATCAT_Advanced);
DECLARE_CYCLE_STAT(TEXT("Timed work"), STAT_HostTestTimed, STATGROUP_HostTest);
DECLARE_DWORD_ACCUMULATOR_STAT(TEXT("Total things"), STAT_HostTestTotal, STATGROUP_HostTest);
DECLARE_DWORD_COUNTER_STAT(TEXT("Things this frame"), STAT_HostTestPerFrame, STATGROUP_HostTest);

CSV_DEFINE_CATEGORY(HostTestOn, true);
CSV_DEFINE_CATEGORY(HostTestOff, false);

namespace
{
	void Inner()
	{
		TRACE_CPUPROFILER_EVENT_SCOPE(HostTest::Inner);
	}

	void Outer()
	{
		TRACE_CPUPROFILER_EVENT_SCOPE_STR("HostTest Outer");
		Inner();
		Inner();
	}
}

TEST(HostProfiling, TraceScopesAreRecordedOnlyWhileRecordingWithTheirThreadsAndNesting)
{
	Outer();
	UE::Host::StartTraceRecording();
	EXPECT_TRUE(UE::Host::IsTraceRecording());
	Outer();
	std::thread Worker([]
	{
		pthread_setname_np(pthread_self(), "TestWorker");
		Inner();
	});
	Worker.join();
	UE::Host::StopTraceRecording();
	Outer();

	const TArray<UE::Host::FTraceScope> Scopes = UE::Host::GetRecordedTraceScopes();
	ASSERT_EQ(Scopes.Num(), 4);
	EXPECT_EQ(Scopes[0].Name, FString(TEXT("HostTest Outer")));
	EXPECT_EQ(Scopes[0].ThreadName, FString(TEXT("GameThread")));
	EXPECT_EQ(Scopes[0].Depth, 0);
	for (int32 Index = 1; Index <= 2; ++Index)
	{
		EXPECT_EQ(Scopes[Index].Name, FString(TEXT("HostTest::Inner")));
		EXPECT_EQ(Scopes[Index].Depth, 1);
		EXPECT_EQ(Scopes[Index].ThreadId, Scopes[0].ThreadId);
		EXPECT_GE(Scopes[Index].BeginSeconds, Scopes[0].BeginSeconds);
		EXPECT_LE(Scopes[Index].EndSeconds, Scopes[0].EndSeconds);
	}
	EXPECT_LE(Scopes[1].EndSeconds, Scopes[2].BeginSeconds);
	EXPECT_EQ(Scopes[3].ThreadName, FString(TEXT("TestWorker")));
	EXPECT_NE(Scopes[3].ThreadId, Scopes[0].ThreadId);
	EXPECT_EQ(Scopes[3].Depth, 0);

	const FString Path = FString(TEXT("/tmp/HostProfilingTrace-")) + FString::FromInt((int32)getpid()) + TEXT("/trace.json");
	ASSERT_TRUE(UE::Host::WriteChromeTrace(Path));
	FString Json;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Json, *Path));
	IFileManager::Get().DeleteDirectory(*FPaths::GetPath(Path), false, true);
	EXPECT_TRUE(Json.StartsWith(TEXT("{\"displayTimeUnit\":\"ms\",\"traceEvents\":[")));
	EXPECT_TRUE(Json.Contains(TEXT("{\"name\":\"HostTest Outer\",\"cat\":\"cpu\",\"ph\":\"X\",\"ts\":0.000,\"dur\":")));
	EXPECT_TRUE(Json.Contains(TEXT("\"args\":{\"name\":\"GameThread\"}")));
	EXPECT_TRUE(Json.Contains(TEXT("\"args\":{\"name\":\"TestWorker\"}")));
	EXPECT_TRUE(Json.EndsWith(TEXT("]}\n")));
}

TEST(HostProfiling, StatsKeepAccumulatorsAlwaysAndTheRestWhileCollecting)
{
	UE::Host::ResetStats();
	UE::Host::SetStatsCollecting(false);
	INC_DWORD_STAT(STAT_HostTestTotal);
	INC_DWORD_STAT(STAT_HostTestPerFrame);
	{
		SCOPE_CYCLE_COUNTER(STAT_HostTestTimed);
	}
	UE::Host::FStatValue Value;
	ASSERT_TRUE(UE::Host::GetStatValue(GET_STATFNAME(STAT_HostTestTotal), Value));
	EXPECT_EQ(Value.Value, 1);
	EXPECT_EQ(Value.Group, FString(TEXT("STATGROUP_HostTest")));
	EXPECT_EQ(Value.Description, FString(TEXT("Total things")));
	EXPECT_TRUE(!UE::Host::GetStatValue(GET_STATFNAME(STAT_HostTestPerFrame), Value) || Value.Value == 0);

	UE::Host::SetStatsCollecting(true);
	INC_DWORD_STAT_BY(STAT_HostTestTotal, 41);
	INC_DWORD_STAT_BY(STAT_HostTestPerFrame, 3);
	{
		SCOPE_CYCLE_COUNTER(STAT_HostTestTimed);
	}
	{
		SCOPE_CYCLE_COUNTER(STAT_HostTestTimed);
	}
	UE::Host::SetStatsCollecting(false);
	ASSERT_TRUE(UE::Host::GetStatValue(GET_STATFNAME(STAT_HostTestTotal), Value));
	EXPECT_EQ(Value.Value, 42);
	ASSERT_TRUE(UE::Host::GetStatValue(GET_STATFNAME(STAT_HostTestPerFrame), Value));
	EXPECT_EQ(Value.Value, 3);
	ASSERT_TRUE(UE::Host::GetStatValue(GET_STATFNAME(STAT_HostTestTimed), Value));
	EXPECT_TRUE(Value.bCycleStat);
	EXPECT_EQ(Value.Value, 2);
	EXPECT_GE(Value.Seconds, 0.0);
}

TEST(HostProfiling, CsvTimingStatsCountWhileCapturingInEnabledCategories)
{
	{
		CSV_SCOPED_TIMING_STAT(HostTestOn, BeforeCapture);
	}
	UE::Host::StartCsvCapture();
	EXPECT_TRUE(FCsvProfiler::Get()->IsCapturing());
	for (int32 Index = 0; Index < 3; ++Index)
	{
		CSV_SCOPED_TIMING_STAT(HostTestOn, Work);
		CSV_SCOPED_TIMING_STAT(HostTestOff, Hidden);
	}
	UE::Host::StopCsvCapture();
	{
		CSV_SCOPED_TIMING_STAT(HostTestOn, Work);
	}
	UE::Host::FCsvStatTotal Total;
	ASSERT_TRUE(UE::Host::GetCsvStatTotal(TEXT("HostTestOn/Work"), Total));
	EXPECT_EQ(Total.Count, 3);
	EXPECT_FALSE(UE::Host::GetCsvStatTotal(TEXT("HostTestOff/Hidden"), Total));
	EXPECT_FALSE(UE::Host::GetCsvStatTotal(TEXT("HostTestOn/BeforeCapture"), Total));
}
