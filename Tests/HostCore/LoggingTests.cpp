// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Misc/OutputDeviceRedirector.h"
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

DEFINE_LOG_CATEGORY_STATIC(LogHostTest, Log, All);
DEFINE_LOG_CATEGORY_STATIC(LogHostTestCompiledToWarning, Warning, Warning);

namespace
{
	struct FLine
	{
		FString Text;
		ELogVerbosity::Type Verbosity;
		FName Category;
	};

	class FCaptureDevice : public FOutputDevice
	{
	public:
		FCaptureDevice() { GLog->AddOutputDevice(this); }
		~FCaptureDevice() { GLog->RemoveOutputDevice(this); }

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			if (Category == LogHostTest.GetCategoryName() || Category == LogHostTestCompiledToWarning.GetCategoryName() || Category == TEXT("LogOutputDevice"))
			{
				Lines.push_back({ FString(V), Verbosity, Category });
			}
		}

		std::mutex Mutex;
		std::vector<FLine> Lines;
	};

	int32 CountedCalls = 0;
	bool CountCall()
	{
		++CountedCalls;
		return true;
	}
}

TEST(HostCoreLogging, DevicesReceiveTheMessageOnly)
{
	FCaptureDevice Capture;
	const FString Item(TEXT("sword"));
	UE_LOG(LogHostTest, Display, TEXT("Got %s x%d"), *Item, 2);
	ASSERT_EQ(Capture.Lines.size(), 1u);
	EXPECT_EQ(Capture.Lines[0].Text, FString(TEXT("Got sword x2")));
	EXPECT_EQ(Capture.Lines[0].Verbosity, ELogVerbosity::Display);
	EXPECT_TRUE(Capture.Lines[0].Category == TEXT("LogHostTest"));
	EXPECT_EQ(FOutputDeviceHelper::FormatLogLine(ELogVerbosity::Display, FName(TEXT("LogQuarn")), TEXT("text")), FString(TEXT("LogQuarn: Display: text")));
	EXPECT_EQ(FOutputDeviceHelper::FormatLogLine(ELogVerbosity::Log, FName(TEXT("LogQuarn")), TEXT("text")), FString(TEXT("LogQuarn: text")));
	EXPECT_EQ(FOutputDeviceHelper::FormatLogLine(ELogVerbosity::Warning, FName(TEXT("LogQuarn")), TEXT("text")), FString(TEXT("LogQuarn: Warning: text")));
}

TEST(HostCoreLogging, VerbosityFiltersBeforeFormatting)
{
	FCaptureDevice Capture;
	CountedCalls = 0;
	UE_LOG(LogHostTest, Verbose, TEXT("hidden %d"), 1);
	UE_CLOG(CountCall(), LogHostTest, Verbose, TEXT("hidden"));
	EXPECT_EQ(CountedCalls, 0);
	EXPECT_TRUE(Capture.Lines.empty());
	EXPECT_FALSE(UE_LOG_ACTIVE(LogHostTest, Verbose));

	UE_SET_LOG_VERBOSITY(LogHostTest, VeryVerbose);
	UE_LOG(LogHostTest, Verbose, TEXT("shown"));
	UE_CLOG(CountCall(), LogHostTest, VeryVerbose, TEXT("shown too"));
	EXPECT_EQ(CountedCalls, 1);
	EXPECT_EQ(Capture.Lines.size(), 2u);

	UE_SET_LOG_VERBOSITY(LogHostTest, Error);
	UE_LOG(LogHostTest, Warning, TEXT("hidden"));
	UE_LOG(LogHostTest, Error, TEXT("error"));
	EXPECT_EQ(Capture.Lines.size(), 3u);
	LogHostTest.ResetToDefault();
	EXPECT_EQ(LogHostTest.GetVerbosity(), ELogVerbosity::Log);
}

TEST(HostCoreLogging, SetVerbosityIsClampedToCompileTime)
{
	FCaptureDevice Capture;
	UE_SET_LOG_VERBOSITY(LogHostTestCompiledToWarning, VeryVerbose);
	EXPECT_EQ(LogHostTestCompiledToWarning.GetVerbosity(), ELogVerbosity::Warning);
	UE_LOG(LogHostTestCompiledToWarning, Log, TEXT("compiled out"));
	UE_LOG(LogHostTestCompiledToWarning, Warning, TEXT("kept"));
	ASSERT_EQ(Capture.Lines.size(), 1u);
	EXPECT_EQ(Capture.Lines[0].Text, FString(TEXT("kept")));
}

TEST(HostCoreLogging, EnsureLogsAnErrorOncePerSite)
{
	FCaptureDevice Capture;
	for (int32 Index = 0; Index < 3; ++Index)
	{
		ensureMsgf(Index < 0, TEXT("pass %d"), Index);
	}
	ASSERT_EQ(Capture.Lines.size(), 1u);
	EXPECT_EQ(Capture.Lines[0].Verbosity, ELogVerbosity::Error);
	EXPECT_TRUE(Capture.Lines[0].Text.StartsWith(TEXT("Ensure condition failed: Index < 0")));
	EXPECT_TRUE(Capture.Lines[0].Text.EndsWith(TEXT("pass 0")));
}

TEST(HostCoreLogging, LinesFromManyThreadsArriveWhole)
{
	FCaptureDevice Capture;
	std::thread Threads[4];
	for (int32 T = 0; T < 4; ++T)
	{
		Threads[T] = std::thread([T]()
		{
			for (int32 Index = 0; Index < 250; ++Index)
			{
				UE_LOG(LogHostTest, Log, TEXT("thread %d line %d"), T, Index);
			}
		});
	}
	for (std::thread& T : Threads)
	{
		T.join();
	}
	ASSERT_EQ(Capture.Lines.size(), 1000u);
	for (const FLine& Line : Capture.Lines)
	{
		EXPECT_TRUE(Line.Text.StartsWith(TEXT("thread ")));
	}
}

TEST(HostCoreLoggingDeathTest, FatalLogsAndAborts)
{
	EXPECT_DEATH(UE_LOG(LogHostTest, Fatal, TEXT("cannot continue: %d"), 42), "LogHostTest: Fatal: cannot continue: 42");
}
