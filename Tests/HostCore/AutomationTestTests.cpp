// Copyright Quarn. All Rights Reserved.

// The automation framework: registration and full names, the Describe and It form's order of blocks, latent
// steps over frames, log errors routed into the running test, and the runner's name filter.
#include "CoreMinimal.h"
#include "Host/AutomationTestRunner.h"
#include "Misc/AutomationTest.h"
#include "Misc/CoreGlobals.h"
#include "Misc/OutputDeviceRedirector.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
	std::string Str(const FString& S)
	{
		return std::string(TCHAR_TO_UTF8(*S));
	}

	TArray<FString> GOrder;
	int32 GTicks = 0;
	int32 GLatentFramesSeen = 0;
	FDoneDelegate GPendingDone;
	int32 GFramesUntilDone = 0;

	/** The runner's tick: what the engine's frame would do, here finishing a pending LatentIt. */
	void TickFrame()
	{
		++GTicks;
		if (GPendingDone.IsBound() && --GFramesUntilDone == 0)
		{
			GPendingDone.Execute();
			GPendingDone.Unbind();
		}
	}

	constexpr EAutomationTestFlags TestFlags = EAutomationTestFlags::EditorContext | EAutomationTestFlags::EngineFilter;

	UE::Host::FAutomationTestRunResult RunOne(const FString& FullPath, double TimeoutSeconds = 5.0)
	{
		for (const FAutomationTestInfo& Info : UE::Host::FindAutomationTests(TEXT("^") + FullPath))
		{
			if (Info.GetFullTestPath().Equals(FullPath, ESearchCase::CaseSensitive))
			{
				return UE::Host::RunAutomationTest(Info, [] { TickFrame(); }, TimeoutSeconds);
			}
		}
		UE::Host::FAutomationTestRunResult Missing;
		Missing.Errors.Add(TEXT("not registered: ") + FullPath);
		return Missing;
	}
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationPasses, "HostTest.Automation.Simple.Passes", TestFlags)
bool FHostAutomationPasses::RunTest(const FString& Parameters)
{
	TestEqual(TEXT("int"), 3, 3);
	TestEqual(TEXT("string ignores case"), FString(TEXT("Abc")), FString(TEXT("aBC")));
	TestEqualSensitive(TEXT("string exact"), FString(TEXT("a\r\nb")), FString(TEXT("a\r\nb")));
	TestTrue(TEXT("true"), true);
	TestFalse(TEXT("false"), false);
	TestNull(TEXT("null"), nullptr);
	const int32 Value = 1;
	TestNotNull(TEXT("not null"), &Value);
	TestValid(TEXT("valid"), MakeShared<int32>(1));
	TestEqual(TEXT("name"), FName(TEXT("Same")), FName(TEXT("same")));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationFails, "HostTest.Automation.Simple.Fails", TestFlags)
bool FHostAutomationFails::RunTest(const FString& Parameters)
{
	TestEqual(TEXT("count"), 2, 3);
	TestEqualSensitive(TEXT("body"), FString(TEXT("a\nb")), FString(TEXT("a\r\nb")));
	TestTrue(TEXT("flag"), false);
	// Passing checks add nothing.
	TestEqual(TEXT("same"), 1, 1);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationReturnsFalse, "HostTest.Automation.Simple.ReturnsFalse", TestFlags)
bool FHostAutomationReturnsFalse::RunTest(const FString& Parameters)
{
	return false;
}

BEGIN_DEFINE_SPEC(FHostAutomationOrderSpec, "HostTest.Automation.Order", TestFlags)
END_DEFINE_SPEC(FHostAutomationOrderSpec)
void FHostAutomationOrderSpec::Define()
{
	BeforeEach([] { GOrder.Add(TEXT("before outer")); });
	AfterEach([] { GOrder.Add(TEXT("after outer")); });
	Describe(TEXT("Inner"), [this]()
	{
		BeforeEach([] { GOrder.Add(TEXT("before inner")); });
		AfterEach([] { GOrder.Add(TEXT("after inner")); });
		It(TEXT("runs between"), [] { GOrder.Add(TEXT("it")); });
	});
	It(TEXT("fails and skips the rest"), [this]()
	{
		AddError(TEXT("first failure"));
	});
	xIt(TEXT("is disabled"), [] { GOrder.Add(TEXT("disabled")); });
}

BEGIN_DEFINE_SPEC(FHostAutomationLatentSpec, "HostTest.Automation.Latent", TestFlags)
END_DEFINE_SPEC(FHostAutomationLatentSpec)
void FHostAutomationLatentSpec::Define()
{
	LatentIt(TEXT("finishes when done is called"), [](const FDoneDelegate& Done)
	{
		// Done is called from a later frame's tick, as an HTTP completion would call it.
		GPendingDone = Done;
		GFramesUntilDone = 3;
	});
	LatentIt(TEXT("times out when done is never called"), FTimespan::FromSeconds(0.05), [](const FDoneDelegate&) {});
}

DEFINE_LATENT_AUTOMATION_COMMAND_ONE_PARAMETER(FHostCountFramesCommand, int32*, Counter);
bool FHostCountFramesCommand::Update()
{
	return ++*Counter >= 3;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationLatentCommands, "HostTest.Automation.Latent.Commands", TestFlags)
bool FHostAutomationLatentCommands::RunTest(const FString& Parameters)
{
	GLatentFramesSeen = 0;
	ADD_LATENT_AUTOMATION_COMMAND(FHostCountFramesCommand(&GLatentFramesSeen));
	ADD_LATENT_AUTOMATION_COMMAND(FFunctionLatentCommand([this]()
	{
		TestEqual(TEXT("frames of the first command"), GLatentFramesSeen, 3);
		return true;
	}));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationLogs, "HostTest.Automation.Log.Expected", TestFlags)
bool FHostAutomationLogs::RunTest(const FString& Parameters)
{
	AddExpectedError(TEXT("refused: bad id"), EAutomationExpectedErrorFlags::Contains, 1);
	AddExpectedErrorPlain(TEXT("[literal]"), EAutomationExpectedErrorFlags::Contains, 1);
	UE_LOG(LogTemp, Error, TEXT("Thing refused: bad id 'x'"));
	UE_LOG(LogTemp, Warning, TEXT("a [literal] bracket"));
	UE_LOG(LogTemp, Log, TEXT("plain lines are no errors"));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationUnexpectedLog, "HostTest.Automation.Log.Unexpected", TestFlags)
bool FHostAutomationUnexpectedLog::RunTest(const FString& Parameters)
{
	AddExpectedError(TEXT("never written"));
	UE_LOG(LogTemp, Error, TEXT("something broke"));
	UE_LOG(LogTemp, Warning, TEXT("something odd"));
	return true;
}

TEST(HostAutomation, TestsRegisterUnderTheirFullNamesOneEntryPerSpecCase)
{
	const TArray<FAutomationTestInfo> Tests = UE::Host::FindAutomationTests(TEXT("HostTest.Automation."));
	std::vector<std::string> Paths;
	for (const FAutomationTestInfo& Info : Tests)
	{
		Paths.push_back(Str(Info.GetFullTestPath()));
	}
	const std::vector<std::string> Expected = {
		"HostTest.Automation.Latent.Commands",
		"HostTest.Automation.Latent.finishes when done is called",
		"HostTest.Automation.Latent.times out when done is never called",
		"HostTest.Automation.Log.Expected",
		"HostTest.Automation.Log.Filtered",
		"HostTest.Automation.Log.FilteredCountedOnce",
		"HostTest.Automation.Log.Unexpected",
		"HostTest.Automation.Order.Inner.runs between",
		"HostTest.Automation.Order.fails and skips the rest",
		"HostTest.Automation.Simple.Fails",
		"HostTest.Automation.Simple.Passes",
		"HostTest.Automation.Simple.ReturnsFalse",
	};
	EXPECT_EQ(Paths, Expected);
	// A case is started by its class name and its command.
	for (const FAutomationTestInfo& Info : Tests)
	{
		if (Info.GetFullTestPath().EndsWith(TEXT("Inner.runs between")))
		{
			EXPECT_EQ(Str(Info.GetTestName()), "FHostAutomationOrderSpec Inner runs between");
		}
	}
	// A second test of the same name is refused; the first stays.
	EXPECT_FALSE(FAutomationTestFramework::Get().RegisterAutomationTest(TEXT("FHostAutomationPasses"), nullptr));
	EXPECT_TRUE(FAutomationTestFramework::Get().ContainsTest(TEXT("FHostAutomationPasses")));
}

TEST(HostAutomation, AssertionsReportEachFailureAndPassingOnesNothing)
{
	const UE::Host::FAutomationTestRunResult Pass = RunOne(TEXT("HostTest.Automation.Simple.Passes"));
	EXPECT_TRUE(Pass.bPassed);
	EXPECT_EQ(Pass.Errors.Num(), 0);

	const UE::Host::FAutomationTestRunResult Fail = RunOne(TEXT("HostTest.Automation.Simple.Fails"));
	EXPECT_FALSE(Fail.bPassed);
	ASSERT_EQ(Fail.Errors.Num(), 3);
	EXPECT_EQ(Str(Fail.Errors[0]), "Expected 'count' to be 3, but it was 2.");
	EXPECT_NE(Str(Fail.Errors[1]).find("'body'"), std::string::npos);
	EXPECT_EQ(Str(Fail.Errors[2]), "Expected 'flag' to be true.");

	// A test that returns false fails even without an error.
	EXPECT_FALSE(RunOne(TEXT("HostTest.Automation.Simple.ReturnsFalse")).bPassed);
	// A rerun starts from a clean record.
	EXPECT_TRUE(RunOne(TEXT("HostTest.Automation.Simple.Passes")).bPassed);
}

TEST(HostAutomation, SpecBlocksRunOuterBeforeFirstAndInnerAfterFirst)
{
	GOrder.Empty();
	const UE::Host::FAutomationTestRunResult Result = RunOne(TEXT("HostTest.Automation.Order.Inner.runs between"));
	EXPECT_TRUE(Result.bPassed);
	std::vector<std::string> Order;
	for (const FString& Step : GOrder)
	{
		Order.push_back(Str(Step));
	}
	const std::vector<std::string> Expected = {"before outer", "before inner", "it", "after inner", "after outer"};
	EXPECT_EQ(Order, Expected);

	// An It that fails still runs the AfterEach blocks, and reports its error with its case.
	GOrder.Empty();
	const UE::Host::FAutomationTestRunResult Failed = RunOne(TEXT("HostTest.Automation.Order.fails and skips the rest"));
	EXPECT_FALSE(Failed.bPassed);
	ASSERT_EQ(Failed.Errors.Num(), 1);
	EXPECT_EQ(Str(Failed.Errors[0]), "first failure");
	ASSERT_EQ(GOrder.Num(), 2);
	EXPECT_EQ(Str(GOrder[1]), "after outer");
}

TEST(HostAutomation, LatentStepsRunOverFramesUntilDoneOrTimeout)
{
	GTicks = 0;
	const UE::Host::FAutomationTestRunResult Done = RunOne(TEXT("HostTest.Automation.Latent.finishes when done is called"));
	EXPECT_TRUE(Done.bPassed) << (Done.Errors.Num() ? Str(Done.Errors[0]) : "");
	// The runner ticks the engine between frames until the step is done.
	EXPECT_EQ(GTicks, 3);
	EXPECT_FALSE(GPendingDone.IsBound());

	const UE::Host::FAutomationTestRunResult TimedOut = RunOne(TEXT("HostTest.Automation.Latent.times out when done is never called"));
	EXPECT_FALSE(TimedOut.bPassed);
	ASSERT_EQ(TimedOut.Errors.Num(), 1);
	EXPECT_EQ(Str(TimedOut.Errors[0]), "Latent command timed out.");

	// Queued commands run in order, each until it reports itself finished.
	const UE::Host::FAutomationTestRunResult Commands = RunOne(TEXT("HostTest.Automation.Latent.Commands"));
	EXPECT_TRUE(Commands.bPassed) << (Commands.Errors.Num() ? Str(Commands.Errors[0]) : "");
	EXPECT_EQ(GLatentFramesSeen, 3);
}

namespace
{
	/** What another log device (a game's own capture, the log file) receives, with each line's verbosity. */
	class FVerbosityCapture : public FOutputDevice
	{
	public:
		FVerbosityCapture() { GLog->AddOutputDevice(this); }
		virtual ~FVerbosityCapture() override { GLog->RemoveOutputDevice(this); }

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			if (Category == LogTemp.GetCategoryName())
			{
				Lines.Emplace(FString(V), static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask));
			}
		}

		/** The verbosity the line arrived with, or NoLogging when it never arrived. */
		ELogVerbosity::Type VerbosityOf(const TCHAR* Line) const
		{
			for (const TPair<FString, ELogVerbosity::Type>& Entry : Lines)
			{
				if (Entry.Key.Equals(Line, ESearchCase::CaseSensitive))
				{
					return Entry.Value;
				}
			}
			return ELogVerbosity::NoLogging;
		}

		TArray<TPair<FString, ELogVerbosity::Type>> Lines;
	};
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationFilteredLog, "HostTest.Automation.Log.Filtered", TestFlags)
bool FHostAutomationFilteredLog::RunTest(const FString& Parameters)
{
	AddExpectedError(TEXT("expected warning"), EAutomationExpectedErrorFlags::Contains, 1);
	AddExpectedErrorPlain(TEXT("expected error"), EAutomationExpectedErrorFlags::Contains, 1);
	AddExpectedMessagePlain(TEXT("expected display"), ELogVerbosity::Display, EAutomationExpectedMessageFlags::Contains, 1);
	UE_LOG(LogTemp, Warning, TEXT("an expected warning"));
	UE_LOG(LogTemp, Error, TEXT("an expected error"));
	UE_LOG(LogTemp, Display, TEXT("an expected display line"));
	UE_LOG(LogTemp, Warning, TEXT("a warning nobody expects"));
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FHostAutomationFilteredTwice, "HostTest.Automation.Log.FilteredCountedOnce", TestFlags)
bool FHostAutomationFilteredTwice::RunTest(const FString& Parameters)
{
	// Written once, expected twice: the filter's count is the only count, so this must fail.
	AddExpectedError(TEXT("once only"), EAutomationExpectedErrorFlags::Contains, 2);
	UE_LOG(LogTemp, Warning, TEXT("once only"));
	return true;
}

TEST(HostAutomation, ExpectedLinesReachOtherLogDevicesAsVerboseAndAreCountedOnce)
{
	FVerbosityCapture Capture;
	const UE::Host::FAutomationTestRunResult Result = RunOne(TEXT("HostTest.Automation.Log.Filtered"));
	// The unexpected warning is the case's only finding.
	EXPECT_TRUE(Result.bPassed);
	EXPECT_EQ(Result.Errors.Num(), 0);
	ASSERT_EQ(Result.Warnings.Num(), 1);
	EXPECT_EQ(Str(Result.Warnings[0]), "a warning nobody expects");
	EXPECT_EQ(Capture.VerbosityOf(TEXT("an expected warning")), ELogVerbosity::Verbose);
	EXPECT_EQ(Capture.VerbosityOf(TEXT("an expected error")), ELogVerbosity::Verbose);
	// The engine's filter downgrades errors and warnings only.
	EXPECT_EQ(Capture.VerbosityOf(TEXT("an expected display line")), ELogVerbosity::Display);
	EXPECT_EQ(Capture.VerbosityOf(TEXT("a warning nobody expects")), ELogVerbosity::Warning);

	const UE::Host::FAutomationTestRunResult Twice = RunOne(TEXT("HostTest.Automation.Log.FilteredCountedOnce"));
	EXPECT_FALSE(Twice.bPassed);
	ASSERT_EQ(Twice.Errors.Num(), 1);
	EXPECT_NE(Str(Twice.Errors[0]).find("once only' 1 times"), std::string::npos) << Str(Twice.Errors[0]);

	// Once the case has ended, an expected pattern is an ordinary warning again.
	Capture.Lines.Empty();
	UE_LOG(LogTemp, Warning, TEXT("an expected warning"));
	EXPECT_EQ(Capture.VerbosityOf(TEXT("an expected warning")), ELogVerbosity::Warning);
}

TEST(HostAutomation, LogErrorsFailTheRunningTestUnlessExpected)
{
	const UE::Host::FAutomationTestRunResult Expected = RunOne(TEXT("HostTest.Automation.Log.Expected"));
	EXPECT_TRUE(Expected.bPassed);
	EXPECT_EQ(Expected.Errors.Num(), 0);
	EXPECT_EQ(Expected.Warnings.Num(), 0);

	const UE::Host::FAutomationTestRunResult Unexpected = RunOne(TEXT("HostTest.Automation.Log.Unexpected"));
	EXPECT_FALSE(Unexpected.bPassed);
	std::vector<std::string> Errors;
	for (const FString& Error : Unexpected.Errors)
	{
		Errors.push_back(Str(Error));
	}
	// The unexpected error, then the expected one that never came.
	ASSERT_EQ(Errors.size(), 2u);
	EXPECT_EQ(Errors[0], "something broke");
	EXPECT_NE(Errors[1].find("never written"), std::string::npos);
	ASSERT_EQ(Unexpected.Warnings.Num(), 1);
	EXPECT_EQ(Str(Unexpected.Warnings[0]), "something odd");

	// Outside a test, log lines reach no test.
	UE_LOG(LogTemp, Error, TEXT("after the run"));
	EXPECT_EQ(FAutomationTestFramework::Get().GetCurrentTest(), nullptr);
}

TEST(HostAutomation, FilterSelectsAsRunTestsDoes)
{
	using UE::Host::AutomationFilterMatches;
	EXPECT_TRUE(AutomationFilterMatches(TEXT(""), TEXT("Quarn.Core.Client")));
	EXPECT_TRUE(AutomationFilterMatches(TEXT("Quarn"), TEXT("Quarn.Core.Client")));
	EXPECT_TRUE(AutomationFilterMatches(TEXT("core.client"), TEXT("Quarn.Core.Client")));
	EXPECT_TRUE(AutomationFilterMatches(TEXT("Client"), TEXT("Quarn.Core.Client.Sends a body")));
	EXPECT_TRUE(AutomationFilterMatches(TEXT("^Quarn.Core"), TEXT("Quarn.Core.Client")));
	EXPECT_FALSE(AutomationFilterMatches(TEXT("^Core"), TEXT("Quarn.Core.Client")));
	EXPECT_TRUE(AutomationFilterMatches(TEXT("Quarn.UI+Quarn.Core"), TEXT("Quarn.Core.Client")));
	EXPECT_FALSE(AutomationFilterMatches(TEXT("Quarn.UI+Quarn.USME"), TEXT("Quarn.Core.Client")));
	EXPECT_FALSE(AutomationFilterMatches(TEXT("^"), TEXT("Quarn.Core.Client")));
	EXPECT_EQ(UE::Host::FindAutomationTests(TEXT("NoSuchTestAnywhere")).Num(), 0);
}
