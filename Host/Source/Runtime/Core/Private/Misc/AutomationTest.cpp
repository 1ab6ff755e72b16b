// Copyright Quarn. All Rights Reserved.

#include "Misc/AutomationTest.h"

#include "Logging/LogWarningFilter.h"
#include "Misc/CoreGlobals.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/ScopeLock.h"

DEFINE_LOG_CATEGORY(LogLatentCommands);
DEFINE_LOG_CATEGORY(LogAutomationTestFramework);

namespace UE::Automation::Private
{
	/** Set while the message filter hands a line it downgraded to the log devices (on that thread). */
	thread_local bool bForwardingExpectedLine = false;
}

/**
 * The engine's FAutomationTestMessageFilter: while a test runs, an Error or Warning line that the
 * test expects is counted against its expectation, then passed on as Verbose, so that no other log
 * device sees it as a warning or an error.
 */
class FAutomationTestFramework::FAutomationTestMessageFilter final : public UE::Logging::Private::ILogWarningFilter
{
public:
	void SetCurrentAutomationTest(FAutomationTestBase* InAutomationTest) { CurTest = InAutomationTest; }

	virtual void SerializeWarning(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		FAutomationTestBase* const LocalCurTest = CurTest.load();
		if (LocalCurTest != nullptr && V != nullptr && LocalCurTest->IsExpectedMessage(FString(V), ELogVerbosity::Warning))
		{
			TGuardValue<bool> Forwarding(UE::Automation::Private::bForwardingExpectedLine, true);
			FOutputDeviceRedirector::Get()->Serialize(V, ELogVerbosity::Verbose, Category);
			return;
		}
		FOutputDeviceRedirector::Get()->Serialize(V, Verbosity, Category);
	}

private:
	std::atomic<FAutomationTestBase*> CurTest{ nullptr };
};

// FAutomationTestExecutionInfo

void FAutomationTestExecutionInfo::Clear()
{
	Entries.Empty();
	ContextStack.Empty();
	Errors = 0;
	Warnings = 0;
	bSuccessful = false;
	Duration = 0.0;
}

void FAutomationTestExecutionInfo::AddEvent(const FAutomationEvent& Event, int StackOffset, bool bCaptureStack)
{
	switch (Event.Type)
	{
	case EAutomationEventType::Error:
		++Errors;
		break;
	case EAutomationEventType::Warning:
		++Warnings;
		break;
	default:
		break;
	}
	FAutomationEvent WithContext = Event;
	if (WithContext.Context.IsEmpty())
	{
		WithContext.Context = GetContext();
	}
	Entries.Add(FAutomationExecutionEntry(WithContext));
}

void FAutomationTestExecutionInfo::AddWarning(const FString& WarningMessage)
{
	AddEvent(FAutomationEvent(EAutomationEventType::Warning, WarningMessage));
}

void FAutomationTestExecutionInfo::AddError(const FString& ErrorMessage)
{
	AddEvent(FAutomationEvent(EAutomationEventType::Error, ErrorMessage));
}

// FAutomationExpectedMessage

bool FAutomationExpectedMessage::Matches(const FString& Message)
{
	bool bHasMatch = false;
	if (IsRegex())
	{
		FRegexMatcher MessageMatcher(MessagePatternRegex.GetValue(), Message);
		bHasMatch = MessageMatcher.FindNext();
	}
	else
	{
		bHasMatch = Message.Contains(MessagePatternString) && (!IsExactCompareType() || Message.Len() == MessagePatternString.Len());
	}
	ActualNumberOfOccurrences += bHasMatch ? 1 : 0;
	return bHasMatch;
}

// FAutomationTestFramework

FAutomationTestFramework& FAutomationTestFramework::Get()
{
	static FAutomationTestFramework Framework;
	return Framework;
}

FAutomationTestFramework::FAutomationTestFramework()
	: AutomationTestMessageFilter(MakeUnique<FAutomationTestMessageFilter>())
	, RequestedTestFilter(EAutomationTestFlags::SmokeFilter | EAutomationTestFlags::EngineFilter | EAutomationTestFlags::ProductFilter | EAutomationTestFlags::PerfFilter | EAutomationTestFlags::StressFilter | EAutomationTestFlags::NegativeFilter)
	, StartTime(0.0)
	, bTestSuccessful(false)
	, CurrentTest(nullptr)
{
}

FAutomationTestFramework::~FAutomationTestFramework()
{
	if (UE::Logging::Private::GetLogWarningFilter() == AutomationTestMessageFilter.Get())
	{
		UE::Logging::Private::SetLogWarningFilter(nullptr);
	}
	AutomationTestClassNameToInstanceMap.Empty();
}

bool FAutomationTestFramework::RegisterAutomationTest(const FString& InTestNameToRegister, FAutomationTestBase* InTestToRegister)
{
	if (AutomationTestClassNameToInstanceMap.Contains(InTestNameToRegister))
	{
		UE_LOG(LogAutomationTestFramework, Warning, TEXT("A test named '%s' is registered already; the second one is ignored."), *InTestNameToRegister);
		return false;
	}
	AutomationTestClassNameToInstanceMap.Add(InTestNameToRegister, InTestToRegister);
	return true;
}

bool FAutomationTestFramework::UnregisterAutomationTest(const FString& InTestNameToUnregister)
{
	return AutomationTestClassNameToInstanceMap.Remove(InTestNameToUnregister) > 0;
}

void FAutomationTestFramework::EnqueueLatentCommand(TSharedPtr<IAutomationLatentCommand> NewCommand)
{
	LatentCommands.Enqueue(NewCommand);
}

bool FAutomationTestFramework::ContainsTest(const FString& InTestName) const
{
	return AutomationTestClassNameToInstanceMap.Contains(InTestName);
}

void FAutomationTestFramework::SetRequestedTestFilter(const EAutomationTestFlags InRequestedTestFlags)
{
	RequestedTestFilter = InRequestedTestFlags;
}

void FAutomationTestFramework::GetValidTestNames(TArray<FAutomationTestInfo>& TestInfo) const
{
	TestInfo.Empty();
	for (const TPair<FString, FAutomationTestBase*>& Pair : AutomationTestClassNameToInstanceMap)
	{
		const EAutomationTestFlags Flags = Pair.Value->GetTestFlags();
		if (EnumHasAnyFlags(Flags, EAutomationTestFlags::Disabled) || !EnumHasAnyFlags(Flags, RequestedTestFilter))
		{
			continue;
		}
		Pair.Value->GenerateTestNames(TestInfo);
	}
}

void FAutomationTestFramework::StartTestByName(const FString& InTestToRun, const int32 InRoleIndex, const FString& InFullTestPath)
{
	// "<TestName> <Parameters>": the class's registered name, then the case's command.
	FString TestName = InTestToRun;
	Parameters.Empty();
	int32 Space = INDEX_NONE;
	if (InTestToRun.FindChar(TEXT(' '), Space))
	{
		TestName = InTestToRun.Left(Space);
		Parameters = InTestToRun.RightChop(Space + 1);
	}

	LatentCommands.Empty();
	CurrentTest = nullptr;
	CurrentTestFullPath = InFullTestPath;
	bTestSuccessful = false;

	FAutomationTestBase* const* Found = AutomationTestClassNameToInstanceMap.Find(TestName);
	if (Found == nullptr)
	{
		UE_LOG(LogAutomationTestFramework, Error, TEXT("There is no test named '%s'."), *TestName);
		return;
	}

	CurrentTest = *Found;
	if (CurrentTestFullPath.IsEmpty())
	{
		CurrentTestFullPath = CurrentTest->GetBeautifiedTestName();
	}
	CurrentTest->ClearExecutionInfo();
	CurrentTest->SetTestContext(Parameters);
	StartTime = FPlatformTime::Seconds();

	AutomationTestOutputDevice.SetCurrentAutomationTest(CurrentTest);
	AutomationTestMessageFilter->SetCurrentAutomationTest(CurrentTest);
	UE::Logging::Private::SetLogWarningFilter(AutomationTestMessageFilter.Get());
	if (GLog != nullptr)
	{
		GLog->AddOutputDevice(&AutomationTestOutputDevice);
	}
	OnTestStartEvent.Broadcast(CurrentTest);

	bTestSuccessful = CurrentTest->RunTest(Parameters);
}

bool FAutomationTestFramework::ExecuteLatentCommands()
{
	while (!LatentCommands.IsEmpty())
	{
		TSharedPtr<IAutomationLatentCommand> Next;
		LatentCommands.Peek(Next);
		if (!Next.IsValid() || Next->InternalUpdate())
		{
			TSharedPtr<IAutomationLatentCommand> Done;
			LatentCommands.Dequeue(Done);
			// A finished command may be run again by a later case; it starts its clock afresh.
			if (Done.IsValid())
			{
				Done->StartTime = 0.0;
			}
		}
		else
		{
			return false;
		}
	}
	return true;
}

void FAutomationTestFramework::DequeueAllCommands()
{
	LatentCommands.Empty();
}

bool FAutomationTestFramework::StopTest(FAutomationTestExecutionInfo& OutExecutionInfo)
{
	if (GLog != nullptr)
	{
		GLog->RemoveOutputDevice(&AutomationTestOutputDevice);
	}
	AutomationTestOutputDevice.SetCurrentAutomationTest(nullptr);
	UE::Logging::Private::SetLogWarningFilter(nullptr);
	AutomationTestMessageFilter->SetCurrentAutomationTest(nullptr);
	LatentCommands.Empty();

	if (CurrentTest == nullptr)
	{
		OutExecutionInfo.Clear();
		OutExecutionInfo.AddError(TEXT("The test could not be found."));
		return false;
	}

	FAutomationTestBase* const Test = CurrentTest;
	OnTestEndEvent.Broadcast(Test);

	const bool bMetExpected = Test->HasMetExpectedMessages();
	const bool bSuccessful = bTestSuccessful && bMetExpected && !Test->HasAnyErrors();
	Test->InternalSetSuccessState(bSuccessful);
	Test->ExecutionInfo.Duration = FPlatformTime::Seconds() - StartTime;
	Test->GetExecutionInfo(OutExecutionInfo);

	CurrentTest = nullptr;
	CurrentTestFullPath.Empty();
	Parameters.Empty();
	return bSuccessful;
}

void FAutomationTestFramework::FAutomationTestOutputDevice::Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category)
{
	FAutomationTestBase* const Test = CurTest.load();
	// A line the message filter passed on as Verbose has been counted there already.
	if (Test == nullptr || V == nullptr || UE::Automation::Private::bForwardingExpectedLine)
	{
		return;
	}
	const ELogVerbosity::Type Level = static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask);
	const FString Message(V);
	if (Level > ELogVerbosity::Warning)
	{
		// Expected messages of any verbosity are counted.
		Test->IsExpectedMessage(Message, Level);
		return;
	}
	if (Test->IsExpectedMessage(Message, Level))
	{
		return;
	}
	if (Level == ELogVerbosity::Warning)
	{
		if (Test->ElevateLogWarningsToErrors())
		{
			Test->AddError(Message);
		}
		else if (!Test->SuppressLogWarnings())
		{
			Test->AddWarning(Message);
		}
	}
	else if (!Test->SuppressLogErrors())
	{
		Test->AddError(Message);
	}
}

// FAutomationTestBase

FAutomationTestBase::FAutomationTestBase(const FString& InName, const bool bInComplexTask)
	: bComplexTask(bInComplexTask)
	, bRunOnSeparateThread(false)
	, TestName(InName)
{
	FAutomationTestFramework::Get().RegisterAutomationTest(InName, this);
}

FAutomationTestBase::~FAutomationTestBase()
{
	FAutomationTestFramework::Get().UnregisterAutomationTest(TestName);
}

void FAutomationTestBase::ClearExecutionInfo()
{
	FScopeLock Lock(&ActionCS);
	ExecutionInfo.Clear();
	ExpectedMessages.Empty();
}

void FAutomationTestBase::AddError(const FString& InError, int32 StackOffset)
{
	AddEvent(FAutomationEvent(EAutomationEventType::Error, InError), StackOffset);
}

bool FAutomationTestBase::AddErrorIfFalse(bool bCondition, const FString& InError, int32 StackOffset)
{
	if (!bCondition)
	{
		AddError(InError, StackOffset);
	}
	return bCondition;
}

void FAutomationTestBase::AddWarning(const FString& InWarning, int32 StackOffset)
{
	AddEvent(FAutomationEvent(EAutomationEventType::Warning, InWarning), StackOffset);
}

void FAutomationTestBase::AddInfo(const FString& InLogItem, int32 StackOffset, bool bCaptureStack)
{
	AddEvent(FAutomationEvent(EAutomationEventType::Info, InLogItem), StackOffset, bCaptureStack);
}

void FAutomationTestBase::AddEvent(const FAutomationEvent& InEvent, int32 StackOffset, bool bCaptureStack)
{
	FScopeLock Lock(&ActionCS);
	ExecutionInfo.AddEvent(InEvent, StackOffset, bCaptureStack);
}

bool FAutomationTestBase::HasAnyErrors() const
{
	FScopeLock Lock(&ActionCS);
	return ExecutionInfo.GetErrorTotal() > 0;
}

bool FAutomationTestBase::HasMetExpectedMessages(ELogVerbosity::Type VerbosityType)
{
	bool bHasMetAll = true;
	TArray<FString> Missed;
	{
		FScopeLock Lock(&ActionCS);
		for (const FAutomationExpectedMessage& Expected : ExpectedMessages)
		{
			if (VerbosityType != ELogVerbosity::All && Expected.Verbosity != VerbosityType)
			{
				continue;
			}
			if (Expected.ExpectedNumberOfOccurrences >= 0 && ((Expected.ExpectedNumberOfOccurrences == 0 && Expected.ActualNumberOfOccurrences == 0) || (Expected.ExpectedNumberOfOccurrences > 0 && Expected.ActualNumberOfOccurrences != Expected.ExpectedNumberOfOccurrences)))
			{
				bHasMetAll = false;
				const FString Expectation = Expected.ExpectedNumberOfOccurrences > 0 ? FString::Printf(TEXT("%d"), Expected.ExpectedNumberOfOccurrences) : FString(TEXT("at least 1"));
				Missed.Add(FString::Printf(TEXT("Expected message '%s' %d times, %s expected."), *Expected.MessagePatternString, Expected.ActualNumberOfOccurrences, *Expectation));
			}
		}
	}
	for (const FString& Message : Missed)
	{
		AddError(Message);
	}
	return bHasMetAll;
}

bool FAutomationTestBase::HasMetExpectedErrors()
{
	return HasMetExpectedMessages(ELogVerbosity::Warning) && HasMetExpectedMessages(ELogVerbosity::Error);
}

bool FAutomationTestBase::GetLastExecutionSuccessState()
{
	FScopeLock Lock(&ActionCS);
	return ExecutionInfo.bSuccessful;
}

void FAutomationTestBase::GetExecutionInfo(FAutomationTestExecutionInfo& OutInfo) const
{
	FScopeLock Lock(&ActionCS);
	OutInfo = ExecutionInfo;
}

void FAutomationTestBase::GenerateTestNames(TArray<FAutomationTestInfo>& TestInfo) const
{
	TArray<FString> BeautifiedNames;
	TArray<FString> ParameterNames;
	GetTests(BeautifiedNames, ParameterNames);

	const FString BeautifiedTestName = GetBeautifiedTestName();
	for (int32 Index = 0; Index < ParameterNames.Num(); ++Index)
	{
		FString CompleteBeautifiedName = BeautifiedTestName;
		FString CompleteTestName = TestName;
		if (!ParameterNames[Index].IsEmpty())
		{
			CompleteBeautifiedName = FString::Printf(TEXT("%s.%s"), *BeautifiedTestName, *BeautifiedNames[Index]);
			CompleteTestName = FString::Printf(TEXT("%s %s"), *TestName, *ParameterNames[Index]);
		}
		TestInfo.Add(FAutomationTestInfo(CompleteBeautifiedName, CompleteBeautifiedName, CompleteTestName, GetTestFlags(), GetRequiredDeviceNum(), ParameterNames[Index], GetTestSourceFileName(CompleteTestName), GetTestSourceFileLine(CompleteTestName)));
	}
}

void FAutomationTestBase::AddExpectedMessage(FString ExpectedPatternString, ELogVerbosity::Type ExpectedVerbosity, EAutomationExpectedMessageFlags::MatchType CompareType, int32 Occurrences, bool IsRegex)
{
	FScopeLock Lock(&ActionCS);
	for (const FAutomationExpectedMessage& Existing : ExpectedMessages)
	{
		if (Existing.MessagePatternString == ExpectedPatternString)
		{
			UE_LOG(LogAutomationTestFramework, Warning, TEXT("The message '%s' is expected already."), *ExpectedPatternString);
			return;
		}
	}
	ExpectedMessages.Add(FAutomationExpectedMessage(ExpectedPatternString, ExpectedVerbosity, CompareType, Occurrences, IsRegex));
}

void FAutomationTestBase::AddExpectedMessagePlain(FString ExpectedString, ELogVerbosity::Type ExpectedVerbosity, EAutomationExpectedMessageFlags::MatchType CompareType, int32 Occurrences)
{
	AddExpectedMessage(ExpectedString, ExpectedVerbosity, CompareType, Occurrences, false);
}

void FAutomationTestBase::AddExpectedMessage(FString ExpectedPatternString, EAutomationExpectedMessageFlags::MatchType CompareType, int32 Occurrences, bool IsRegex)
{
	AddExpectedMessage(ExpectedPatternString, ELogVerbosity::All, CompareType, Occurrences, IsRegex);
}

void FAutomationTestBase::AddExpectedMessagePlain(FString ExpectedString, EAutomationExpectedMessageFlags::MatchType CompareType, int32 Occurrences)
{
	AddExpectedMessage(ExpectedString, ELogVerbosity::All, CompareType, Occurrences, false);
}

void FAutomationTestBase::AddExpectedError(FString ExpectedPatternString, EAutomationExpectedErrorFlags::MatchType CompareType, int32 Occurrences, bool IsRegex)
{
	AddExpectedMessage(ExpectedPatternString, ELogVerbosity::Warning, CompareType, Occurrences, IsRegex);
}

void FAutomationTestBase::AddExpectedErrorPlain(FString ExpectedString, EAutomationExpectedErrorFlags::MatchType CompareType, int32 Occurrences)
{
	AddExpectedMessage(ExpectedString, ELogVerbosity::Warning, CompareType, Occurrences, false);
}

bool FAutomationTestBase::IsExpectedMessage(const FString& Message, const ELogVerbosity::Type& Verbosity)
{
	FScopeLock Lock(&ActionCS);
	for (FAutomationExpectedMessage& Expected : ExpectedMessages)
	{
		// A message expected at Warning level also covers errors; All covers every verbosity.
		const bool bVerbosityMatches = Expected.Verbosity == ELogVerbosity::All || Verbosity <= Expected.Verbosity;
		if (bVerbosityMatches && Expected.Matches(Message))
		{
			return true;
		}
	}
	return false;
}

void FAutomationTestBase::InternalSetSuccessState(bool bSuccessful)
{
	FScopeLock Lock(&ActionCS);
	ExecutionInfo.bSuccessful = bSuccessful;
}

// Assertions

namespace UE::Automation::Private
{
	static FString Quoted(FStringView Value)
	{
		return FString::Printf(TEXT("\"%s\""), *FString(Value));
	}
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const int32 Actual, const int32 Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %d, but it was %d."), What, Expected, Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const int64 Actual, const int64 Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %lld, but it was %lld."), What, Expected, Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const SIZE_T Actual, const SIZE_T Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %llu, but it was %llu."), What, (unsigned long long)Expected, (unsigned long long)Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const float Actual, const float Expected, float Tolerance)
{
	if (!FMath::IsNearlyEqual(Actual, Expected, Tolerance))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %f, but it was %f within tolerance %f."), What, (double)Expected, (double)Actual, (double)Tolerance));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance)
{
	if (!FMath::IsNearlyEqual(Actual, Expected, Tolerance))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %f, but it was %f within tolerance %f."), What, Expected, Actual, Tolerance));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const FColor Actual, const FColor Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %s, but it was %s."), What, *Expected.ToString(), *Actual.ToString()));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const FLinearColor Actual, const FLinearColor Expected)
{
	if (!(Actual == Expected))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %s, but it was %s."), What, *Expected.ToString(), *Actual.ToString()));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected)
{
	return TestEqual(What, FStringView(Actual ? Actual : TEXT("")), FStringView(Expected ? Expected : TEXT("")));
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, FStringView Actual, FStringView Expected)
{
	// As the engine's: strings compare without regard to case; TestEqualSensitive compares exactly.
	if (!Actual.Equals(Expected, ESearchCase::IgnoreCase))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %s, but it was %s."), What, *UE::Automation::Private::Quoted(Expected), *UE::Automation::Private::Quoted(Actual)));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const FText Actual, const FText Expected)
{
	return TestEqual(What, FStringView(Actual.ToString()), FStringView(Expected.ToString()));
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const FName Actual, const FName Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be \"%s\", but it was \"%s\"."), What, *Expected.ToString(), *Actual.ToString()));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestNotEqual(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected)
{
	return TestNotEqual(What, FStringView(Actual ? Actual : TEXT("")), FStringView(Expected ? Expected : TEXT("")));
}

bool FAutomationTestBase::TestNotEqual(const TCHAR* What, FStringView Actual, FStringView Expected)
{
	if (Actual.Equals(Expected, ESearchCase::IgnoreCase))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to differ from %s, but it was %s."), What, *UE::Automation::Private::Quoted(Expected), *UE::Automation::Private::Quoted(Actual)));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestNotEqual(const TCHAR* What, const FName Actual, const FName Expected)
{
	if (Actual == Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to differ from \"%s\"."), What, *Expected.ToString()));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqualSensitive(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected)
{
	return TestEqualSensitive(What, FStringView(Actual ? Actual : TEXT("")), FStringView(Expected ? Expected : TEXT("")));
}

bool FAutomationTestBase::TestEqualSensitive(const TCHAR* What, FStringView Actual, FStringView Expected)
{
	if (!Actual.Equals(Expected, ESearchCase::CaseSensitive))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %s, but it was %s."), What, *UE::Automation::Private::Quoted(Expected), *UE::Automation::Private::Quoted(Actual)));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestNotEqualSensitive(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected)
{
	return TestNotEqualSensitive(What, FStringView(Actual ? Actual : TEXT("")), FStringView(Expected ? Expected : TEXT("")));
}

bool FAutomationTestBase::TestNotEqualSensitive(const TCHAR* What, FStringView Actual, FStringView Expected)
{
	if (Actual.Equals(Expected, ESearchCase::CaseSensitive))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to differ from %s, but it was %s."), What, *UE::Automation::Private::Quoted(Expected), *UE::Automation::Private::Quoted(Actual)));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestNearlyEqual(const TCHAR* What, const float Actual, const float Expected, float Tolerance)
{
	return TestEqual(What, Actual, Expected, Tolerance);
}

bool FAutomationTestBase::TestNearlyEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance)
{
	return TestEqual(What, Actual, Expected, Tolerance);
}

namespace UE::Automation::Private
{
	template <typename ValueType>
	static bool Compare(FAutomationTestBase& Test, const TCHAR* What, ValueType Actual, ValueType Expected, bool bHolds, const TCHAR* Relation)
	{
		if (!bHolds)
		{
			Test.AddError(FString::Printf(TEXT("Expected '%s' to be %s %lld, but it was %lld."), What, Relation, (long long)Expected, (long long)Actual));
		}
		return bHolds;
	}

	static bool CompareReal(FAutomationTestBase& Test, const TCHAR* What, double Actual, double Expected, bool bHolds, const TCHAR* Relation)
	{
		if (!bHolds)
		{
			Test.AddError(FString::Printf(TEXT("Expected '%s' to be %s %f, but it was %f."), What, Relation, Expected, Actual));
		}
		return bHolds;
	}
}

bool FAutomationTestBase::TestLessThan(const TCHAR* What, const int32 Actual, const int32 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual < Expected, TEXT("less than"));
}

bool FAutomationTestBase::TestLessThan(const TCHAR* What, const int64 Actual, const int64 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual < Expected, TEXT("less than"));
}

bool FAutomationTestBase::TestGreaterThan(const TCHAR* What, const int32 Actual, const int32 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual > Expected, TEXT("greater than"));
}

bool FAutomationTestBase::TestGreaterThan(const TCHAR* What, const int64 Actual, const int64 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual > Expected, TEXT("greater than"));
}

bool FAutomationTestBase::TestLessEqual(const TCHAR* What, const int32 Actual, const int32 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual <= Expected, TEXT("less than or equal to"));
}

bool FAutomationTestBase::TestLessEqual(const TCHAR* What, const int64 Actual, const int64 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual <= Expected, TEXT("less than or equal to"));
}

bool FAutomationTestBase::TestGreaterEqual(const TCHAR* What, const int32 Actual, const int32 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual >= Expected, TEXT("greater than or equal to"));
}

bool FAutomationTestBase::TestGreaterEqual(const TCHAR* What, const int64 Actual, const int64 Expected)
{
	return UE::Automation::Private::Compare(*this, What, Actual, Expected, Actual >= Expected, TEXT("greater than or equal to"));
}

bool FAutomationTestBase::TestLessThan(const TCHAR* What, const double Actual, const double Expected, double Tolerance)
{
	return UE::Automation::Private::CompareReal(*this, What, Actual, Expected, Actual < Expected && !FMath::IsNearlyEqual(Actual, Expected, Tolerance), TEXT("less than"));
}

bool FAutomationTestBase::TestGreaterThan(const TCHAR* What, const double Actual, const double Expected, double Tolerance)
{
	return UE::Automation::Private::CompareReal(*this, What, Actual, Expected, Actual > Expected && !FMath::IsNearlyEqual(Actual, Expected, Tolerance), TEXT("greater than"));
}

bool FAutomationTestBase::TestLessEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance)
{
	return UE::Automation::Private::CompareReal(*this, What, Actual, Expected, Actual <= Expected || FMath::IsNearlyEqual(Actual, Expected, Tolerance), TEXT("less than or equal to"));
}

bool FAutomationTestBase::TestGreaterEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance)
{
	return UE::Automation::Private::CompareReal(*this, What, Actual, Expected, Actual >= Expected || FMath::IsNearlyEqual(Actual, Expected, Tolerance), TEXT("greater than or equal to"));
}

bool FAutomationTestBase::TestFalse(const TCHAR* What, bool Value)
{
	if (Value)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be false."), What));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestTrue(const TCHAR* What, bool Value)
{
	if (!Value)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be true."), What));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestNull(const TCHAR* What, const void* Pointer)
{
	if (Pointer != nullptr)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be null."), What));
		return false;
	}
	return true;
}
