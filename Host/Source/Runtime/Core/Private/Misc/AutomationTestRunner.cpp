// Copyright Quarn. All Rights Reserved.

#include "Host/AutomationTestRunner.h"

#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Templates/Sorting.h"

namespace UE::Host
{
	bool AutomationFilterMatches(const FString& Filter, const FString& FullTestPath)
	{
		TArray<FString> Entries;
		Filter.ParseIntoArray(Entries, TEXT("+"), true);
		if (Entries.Num() == 0)
		{
			return true;
		}
		for (FString Entry : Entries)
		{
			Entry.TrimStartAndEndInline();
			if (Entry.IsEmpty())
			{
				continue;
			}
			if (Entry.StartsWith(TEXT("^")))
			{
				const FString Prefix = Entry.RightChop(1);
				if (!Prefix.IsEmpty() && FullTestPath.StartsWith(Prefix, ESearchCase::IgnoreCase))
				{
					return true;
				}
			}
			else if (FullTestPath.Contains(Entry, ESearchCase::IgnoreCase))
			{
				return true;
			}
		}
		return false;
	}

	TArray<FAutomationTestInfo> FindAutomationTests(const FString& Filter)
	{
		TArray<FAutomationTestInfo> All;
		FAutomationTestFramework::Get().GetValidTestNames(All);
		TArray<FAutomationTestInfo> Selected;
		for (const FAutomationTestInfo& Info : All)
		{
			if (AutomationFilterMatches(Filter, Info.GetFullTestPath()))
			{
				Selected.Add(Info);
			}
		}
		Selected.Sort([](const FAutomationTestInfo& A, const FAutomationTestInfo& B)
		{
			return A.GetFullTestPath().Compare(B.GetFullTestPath(), ESearchCase::CaseSensitive) < 0;
		});
		return Selected;
	}

	FAutomationTestRunResult RunAutomationTest(const FAutomationTestInfo& Test, TFunctionRef<void()> Tick, double TimeoutSeconds)
	{
		FAutomationTestRunResult Result;
		Result.FullTestPath = Test.GetFullTestPath();
		FAutomationTestFramework& Framework = FAutomationTestFramework::Get();

		const double Start = FPlatformTime::Seconds();
		Framework.StartTestByName(Test.GetTestName(), 0, Test.GetFullTestPath());
		bool bTimedOut = false;
		// The engine runs the queue once a frame, after the frame's work (HTTP completions, worlds).
		while (!Framework.ExecuteLatentCommands())
		{
			if (FPlatformTime::Seconds() - Start > TimeoutSeconds)
			{
				bTimedOut = true;
				break;
			}
			Tick();
			FPlatformProcess::Sleep(0.001f);
		}
		if (bTimedOut)
		{
			if (FAutomationTestBase* Current = Framework.GetCurrentTest())
			{
				Current->AddError(FString::Printf(TEXT("The test did not finish within %.0f seconds."), TimeoutSeconds));
			}
		}

		FAutomationTestExecutionInfo Info;
		Result.bPassed = Framework.StopTest(Info);
		Result.Seconds = FPlatformTime::Seconds() - Start;
		for (const FAutomationExecutionEntry& Entry : Info.GetEntries())
		{
			const FString Line = Entry.Event.Context.IsEmpty() ? Entry.Event.Message : FString::Printf(TEXT("%s [%s]"), *Entry.Event.Message, *Entry.Event.Context);
			if (Entry.Event.Type == EAutomationEventType::Error)
			{
				Result.Errors.Add(Line);
			}
			else if (Entry.Event.Type == EAutomationEventType::Warning)
			{
				Result.Warnings.Add(Line);
			}
		}
		return Result;
	}
}
