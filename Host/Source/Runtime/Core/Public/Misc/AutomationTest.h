// Copyright Quarn. All Rights Reserved.

// The automation test framework: tests register themselves by name when their module loads, a
// runner starts them by name, and latent commands carry a test over several frames. Names,
// signatures and macros are the engine's, so that a plug-in's tests compile unchanged under both.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/Queue.h"
#include "Containers/StringView.h"
#include "Containers/UnrealString.h"
#include "Delegates/Delegate.h"
#include "HAL/CriticalSection.h"
#include "HAL/PlatformTime.h"
#include "Internationalization/Regex.h"
#include "Internationalization/Text.h"
#include "Logging/LogMacros.h"
#include "Logging/LogVerbosity.h"
#include "Math/Color.h"
#include "Math/UnrealMathUtility.h"
#include "Misc/AssertionMacros.h"
#include "Misc/AutomationEvent.h"
#include "Misc/Char.h"
#include "Misc/CString.h"
#include "Misc/EnumClassFlags.h"
#include "Templates/UniquePtr.h"
#include "Misc/Optional.h"
#include "Misc/OutputDevice.h"
#include "Misc/Timespan.h"
#include "Templates/Function.h"
#include "Templates/Models.h"
#include "Templates/SharedPointer.h"
#include "UObject/NameTypes.h"

#include <atomic>

CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogLatentCommands, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogAutomationTestFramework, Log, All);

class FAutomationTestBase;

#ifndef WITH_AUTOMATION_TESTS
	#define WITH_AUTOMATION_TESTS (WITH_DEV_AUTOMATION_TESTS || WITH_PERF_AUTOMATION_TESTS)
#endif

/** Flags for specifying automation test requirements and behaviour. */
enum class EAutomationTestFlags
{
	None = 0x00000000,
	EditorContext = 0x00000001,
	ClientContext = 0x00000002,
	ServerContext = 0x00000004,
	CommandletContext = 0x00000008,
	ProgramContext = 0x00000010,

	NonNullRHI = 0x00000100,
	RequiresUser = 0x00000200,

	Disabled = 0x00010000,
	SupportsAutoRTFM = 0x00020000,

	CriticalPriority = 0x00100000,
	HighPriority = 0x00200000,
	MediumPriority = 0x00400000,
	LowPriority = 0x00800000,

	SmokeFilter = 0x01000000,
	EngineFilter = 0x02000000,
	ProductFilter = 0x04000000,
	PerfFilter = 0x08000000,
	StressFilter = 0x10000000,
	NegativeFilter = 0x20000000,
};

ENUM_CLASS_FLAGS(EAutomationTestFlags)

inline constexpr EAutomationTestFlags EAutomationTestFlags_ApplicationContextMask = EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext | EAutomationTestFlags::ServerContext | EAutomationTestFlags::CommandletContext | EAutomationTestFlags::ProgramContext;
inline constexpr EAutomationTestFlags EAutomationTestFlags_FeatureMask = EAutomationTestFlags::NonNullRHI | EAutomationTestFlags::RequiresUser;
inline constexpr EAutomationTestFlags EAutomationTestFlags_PriorityMask = EAutomationTestFlags::CriticalPriority | EAutomationTestFlags::HighPriority | EAutomationTestFlags::MediumPriority | EAutomationTestFlags::LowPriority;
inline constexpr EAutomationTestFlags EAutomationTestFlags_FilterMask = EAutomationTestFlags::SmokeFilter | EAutomationTestFlags::EngineFilter | EAutomationTestFlags::ProductFilter | EAutomationTestFlags::PerfFilter | EAutomationTestFlags::StressFilter | EAutomationTestFlags::NegativeFilter;

/** How an expected message is matched. */
namespace EAutomationExpectedMessageFlags
{
	enum MatchType
	{
		Exact,
		Contains,
	};

	inline const TCHAR* ToString(EAutomationExpectedMessageFlags::MatchType ThisType)
	{
		switch (ThisType)
		{
		case Contains:
			return TEXT("Contains");
		case Exact:
			return TEXT("Exact");
		}
		return TEXT("Unknown");
	}
}

namespace EAutomationExpectedErrorFlags = EAutomationExpectedMessageFlags;

/** The results of one run of a test. */
class FAutomationTestExecutionInfo
{
public:
	FAutomationTestExecutionInfo()
		: bSuccessful(false)
		, Duration(0.0)
		, Errors(0)
		, Warnings(0)
	{
	}

	CORE_API void Clear();

	const TArray<FAutomationExecutionEntry>& GetEntries() const { return Entries; }

	CORE_API void AddEvent(const FAutomationEvent& Event, int StackOffset = 0, bool bCaptureStack = true);
	CORE_API void AddWarning(const FString& WarningMessage);
	CORE_API void AddError(const FString& ErrorMessage);

	int32 GetWarningTotal() const { return Warnings; }
	int32 GetErrorTotal() const { return Errors; }

	const FString& GetContext() const
	{
		static FString EmptyContext;
		return ContextStack.Num() ? ContextStack.Top() : EmptyContext;
	}

	void PushContext(const FString& Context)
	{
		ContextStack.Push(Context);
	}

	void PopContext()
	{
		if (ContextStack.Num() > 0)
		{
			ContextStack.Pop();
		}
	}

public:
	bool bSuccessful;
	double Duration;

private:
	TArray<FAutomationExecutionEntry> Entries;
	int32 Errors;
	int32 Warnings;
	TArray<FString> ContextStack;
};

/** What a runner needs to know of one runnable test: its path in the tree and its command. */
class FAutomationTestInfo
{
public:
	FAutomationTestInfo() = default;

	FAutomationTestInfo(const FString& InDisplayName, const FString& InFullTestPath, const FString& InTestName, const EAutomationTestFlags InTestFlags, const int32 InNumParticipantsRequired, const FString& InParameterName = FString(), const FString& InSourceFile = FString(), int32 InSourceFileLine = 0)
		: DisplayName(InDisplayName)
		, FullTestPath(InFullTestPath)
		, TestName(InTestName)
		, TestParameter(InParameterName)
		, SourceFile(InSourceFile)
		, SourceFileLine(InSourceFileLine)
		, TestFlags(InTestFlags)
		, NumParticipantsRequired(InNumParticipantsRequired)
	{
	}

	const FString& GetDisplayName() const { return DisplayName; }
	const FString& GetFullTestPath() const { return FullTestPath; }
	FString GetTestName() const { return TestName; }
	const FString GetTestParameter() const { return TestParameter; }
	const FString GetSourceFile() const { return SourceFile; }
	const int32 GetSourceFileLine() const { return SourceFileLine; }
	const EAutomationTestFlags GetTestFlags() const { return TestFlags; }
	const int32 GetNumParticipantsRequired() const { return NumParticipantsRequired; }

private:
	FString DisplayName;
	FString FullTestPath;
	FString TestName;
	FString TestParameter;
	FString SourceFile;
	int32 SourceFileLine = 0;
	EAutomationTestFlags TestFlags = EAutomationTestFlags::None;
	int32 NumParticipantsRequired = 0;
};

/** A step of a test that runs over frames: Update is called once a frame until it returns true. */
class IAutomationLatentCommand : public TSharedFromThis<IAutomationLatentCommand>
{
public:
	virtual ~IAutomationLatentCommand() = default;

	virtual bool Update() = 0;

private:
	bool InternalUpdate()
	{
		if (StartTime == 0.0)
		{
			StartTime = FPlatformTime::Seconds();
		}
		return Update();
	}

protected:
	IAutomationLatentCommand()
		: StartTime(0.0)
	{
	}

	double GetCurrentRunTime() const
	{
		return StartTime == 0.0 ? 0.0 : FPlatformTime::Seconds() - StartTime;
	}

	double StartTime;

	friend class FAutomationTestFramework;
};

/** A log message a test expects; matching ones are not reported as the test's errors or warnings. */
struct FAutomationExpectedMessage
{
	FString MessagePatternString;
	TOptional<FRegexPattern> MessagePatternRegex;
	EAutomationExpectedMessageFlags::MatchType CompareType;
	/** Greater than 0: exactly this many; 0: at least one; negative: any number, silently. */
	int32 ExpectedNumberOfOccurrences;
	int32 ActualNumberOfOccurrences;
	ELogVerbosity::Type Verbosity;

	FAutomationExpectedMessage(FString& InMessagePattern, ELogVerbosity::Type InVerbosity, EAutomationExpectedMessageFlags::MatchType InCompareType, int32 InExpectedNumberOfOccurrences = 1, bool IsRegex = true)
		: MessagePatternString(InMessagePattern)
		, CompareType(InCompareType)
		, ExpectedNumberOfOccurrences(InExpectedNumberOfOccurrences)
		, ActualNumberOfOccurrences(0)
		, Verbosity(InVerbosity)
	{
		if (IsRegex)
		{
			MessagePatternRegex = FRegexPattern((InCompareType == EAutomationExpectedMessageFlags::Exact) ? FString::Printf(TEXT("^%s$"), *InMessagePattern) : InMessagePattern, ERegexPatternFlags::CaseInsensitive);
		}
	}

	bool IsRegex() const { return MessagePatternRegex.IsSet(); }
	bool IsExactCompareType() const { return CompareType == EAutomationExpectedMessageFlags::Exact; }

	CORE_API bool Matches(const FString& Message);
};

DECLARE_MULTICAST_DELEGATE_OneParam(FOnTestEvent, FAutomationTestBase*);

/** The registry of tests and the runner of the current one. */
class FAutomationTestFramework
{
public:
	FOnTestEvent OnTestStartEvent;
	FOnTestEvent OnTestEndEvent;

	static CORE_API FAutomationTestFramework& Get();
	static FAutomationTestFramework& GetInstance() { return Get(); }

	/** False, with a warning, when a test of that name is registered already. */
	CORE_API bool RegisterAutomationTest(const FString& InTestNameToRegister, FAutomationTestBase* InTestToRegister);
	CORE_API bool UnregisterAutomationTest(const FString& InTestNameToUnregister);

	CORE_API void EnqueueLatentCommand(TSharedPtr<IAutomationLatentCommand> NewCommand);

	CORE_API bool ContainsTest(const FString& InTestName) const;

	/** Starts "<TestName>[ <Parameters>]": runs RunTest and leaves its latent commands queued. */
	CORE_API void StartTestByName(const FString& InTestToRun, const int32 InRoleIndex, const FString& InFullTestPath = FString());

	/** Ends the current test; true when it passed. */
	CORE_API bool StopTest(FAutomationTestExecutionInfo& OutExecutionInfo);

	/** Runs queued latent commands until one is not finished; true when the queue is empty. */
	CORE_API bool ExecuteLatentCommands();

	CORE_API void DequeueAllCommands();

	bool IsLatentCommandQueueEmpty() const { return LatentCommands.IsEmpty(); }

	/** Every runnable test, one entry per Describe and It case, with its full path. */
	CORE_API void GetValidTestNames(TArray<FAutomationTestInfo>& TestInfo) const;

	CORE_API void SetRequestedTestFilter(const EAutomationTestFlags InRequestedTestFlags);

	FAutomationTestBase* GetCurrentTest() const { return CurrentTest; }
	FString GetCurrentTestFullPath() const { return CurrentTestFullPath; }

private:
	/** Routes log lines written during a test into the test, as errors and warnings. */
	class FAutomationTestOutputDevice : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override;
		virtual bool CanBeUsedOnMultipleThreads() const override { return true; }

		void SetCurrentAutomationTest(FAutomationTestBase* InAutomationTest) { CurTest = InAutomationTest; }

	private:
		std::atomic<FAutomationTestBase*> CurTest { nullptr };
	};

	/** Turns expected Error and Warning lines into Verbose ones before the log devices see them. */
	class FAutomationTestMessageFilter;

	CORE_API FAutomationTestFramework();
	CORE_API ~FAutomationTestFramework();
	FAutomationTestFramework(const FAutomationTestFramework&) = delete;
	FAutomationTestFramework& operator=(const FAutomationTestFramework&) = delete;

	FAutomationTestOutputDevice AutomationTestOutputDevice;
	TUniquePtr<FAutomationTestMessageFilter> AutomationTestMessageFilter;
	TMap<FString, FAutomationTestBase*> AutomationTestClassNameToInstanceMap;
	TQueue<TSharedPtr<IAutomationLatentCommand>> LatentCommands;
	EAutomationTestFlags RequestedTestFilter;
	double StartTime;
	bool bTestSuccessful;
	FAutomationTestBase* CurrentTest;
	FString Parameters;
	FString CurrentTestFullPath;
};

/** The base of every automation test. */
class FAutomationTestBase
{
public:
	CORE_API FAutomationTestBase(const FString& InName, const bool bInComplexTask);
	CORE_API virtual ~FAutomationTestBase();

	virtual EAutomationTestFlags GetTestFlags() const = 0;

	FString GetTestName() const { return TestName; }
	FString GetTestContext() const { return TestParameterContext; }

	virtual FString GetBeautifiedTestName() const = 0;

	virtual FString GetTestFullName() const
	{
		if (FAutomationTestFramework::Get().GetCurrentTest() == this)
		{
			return FAutomationTestFramework::Get().GetCurrentTestFullPath();
		}
		if (GetTestContext().IsEmpty())
		{
			return GetBeautifiedTestName();
		}
		return FString::Printf(TEXT("%s.%s"), *GetBeautifiedTestName(), *GetTestContext());
	}

	virtual uint32 GetRequiredDeviceNum() const = 0;

	CORE_API void ClearExecutionInfo();

	CORE_API virtual void AddError(const FString& InError, int32 StackOffset = 0);
	CORE_API virtual bool AddErrorIfFalse(bool bCondition, const FString& InError, int32 StackOffset = 0);
	CORE_API virtual void AddWarning(const FString& InWarning, int32 StackOffset = 0);
	CORE_API virtual void AddInfo(const FString& InLogItem, int32 StackOffset = 0, bool bCaptureStack = false);
	CORE_API virtual void AddEvent(const FAutomationEvent& InEvent, int32 StackOffset = 0, bool bCaptureStack = false);

	CORE_API bool HasAnyErrors() const;
	CORE_API bool HasMetExpectedMessages(ELogVerbosity::Type VerbosityType = ELogVerbosity::All);
	CORE_API bool HasMetExpectedErrors();
	CORE_API bool GetLastExecutionSuccessState();
	CORE_API void GetExecutionInfo(FAutomationTestExecutionInfo& OutInfo) const;

	/** Every runnable case of this test, with its full path and command. */
	CORE_API void GenerateTestNames(TArray<FAutomationTestInfo>& TestInfo) const;

	CORE_API void AddExpectedMessage(FString ExpectedPatternString, ELogVerbosity::Type ExpectedVerbosity, EAutomationExpectedMessageFlags::MatchType CompareType = EAutomationExpectedMessageFlags::Contains, int32 Occurrences = 1, bool IsRegex = true);
	CORE_API void AddExpectedMessagePlain(FString ExpectedString, ELogVerbosity::Type ExpectedVerbosity, EAutomationExpectedMessageFlags::MatchType CompareType = EAutomationExpectedMessageFlags::Contains, int32 Occurrences = 1);
	CORE_API void AddExpectedMessage(FString ExpectedPatternString, EAutomationExpectedMessageFlags::MatchType CompareType = EAutomationExpectedMessageFlags::Contains, int32 Occurrences = 1, bool IsRegex = true);
	CORE_API void AddExpectedMessagePlain(FString ExpectedString, EAutomationExpectedMessageFlags::MatchType CompareType = EAutomationExpectedMessageFlags::Contains, int32 Occurrences = 1);
	CORE_API void AddExpectedError(FString ExpectedPatternString, EAutomationExpectedErrorFlags::MatchType CompareType = EAutomationExpectedErrorFlags::Contains, int32 Occurrences = 1, bool IsRegex = true);
	CORE_API void AddExpectedErrorPlain(FString ExpectedString, EAutomationExpectedErrorFlags::MatchType CompareType = EAutomationExpectedErrorFlags::Contains, int32 Occurrences = 1);

	const bool IsComplexTask() const { return bComplexTask; }

	virtual bool SuppressLogErrors() { return false; }
	virtual bool SuppressLogWarnings() { return false; }
	virtual bool ElevateLogWarningsToErrors() { return false; }

	inline void AddCommand(IAutomationLatentCommand* NewCommand)
	{
		TSharedRef<IAutomationLatentCommand> CommandPtr = MakeShareable(NewCommand);
		FAutomationTestFramework::Get().EnqueueLatentCommand(CommandPtr);
	}

	virtual FString GetTestSourceFileName() const { return TEXT(""); }
	virtual int32 GetTestSourceFileLine() const { return 0; }
	virtual FString GetTestSourceFileName(const FString& InTestName) const { return GetTestSourceFileName(); }
	virtual int32 GetTestSourceFileLine(const FString& InTestName) const { return GetTestSourceFileLine(); }

	void PushContext(const FString& Context) { ExecutionInfo.PushContext(Context); }
	void PopContext() { ExecutionInfo.PopContext(); }

	virtual bool CanRunInEnvironment(const FString& TestParams, FString* OutReason, bool* OutWarn) const { return true; }

public:
	CORE_API bool TestEqual(const TCHAR* What, const int32 Actual, const int32 Expected);
	CORE_API bool TestEqual(const TCHAR* What, const int64 Actual, const int64 Expected);
	CORE_API bool TestEqual(const TCHAR* What, const SIZE_T Actual, const SIZE_T Expected);
	CORE_API bool TestEqual(const TCHAR* What, const float Actual, const float Expected, float Tolerance = UE_KINDA_SMALL_NUMBER);
	CORE_API bool TestEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance = UE_KINDA_SMALL_NUMBER);
	CORE_API bool TestEqual(const TCHAR* What, const FColor Actual, const FColor Expected);
	CORE_API bool TestEqual(const TCHAR* What, const FLinearColor Actual, const FLinearColor Expected);
	CORE_API bool TestEqual(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected);
	CORE_API bool TestEqual(const TCHAR* What, FStringView Actual, FStringView Expected);
	bool TestEqual(const TCHAR* What, const FString& Actual, const FString& Expected)
	{
		return TestEqual(What, *Actual, *Expected);
	}
	CORE_API bool TestEqual(const TCHAR* What, const FText Actual, const FText Expected);
	CORE_API bool TestEqual(const TCHAR* What, const FName Actual, const FName Expected);
	CORE_API bool TestNotEqual(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected);
	CORE_API bool TestNotEqual(const TCHAR* What, FStringView Actual, FStringView Expected);
	bool TestNotEqual(const TCHAR* What, const FString& Actual, const FString& Expected)
	{
		return TestNotEqual(What, *Actual, *Expected);
	}
	CORE_API bool TestNotEqual(const TCHAR* What, const FName Actual, const FName Expected);

	CORE_API bool TestEqualSensitive(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected);
	CORE_API bool TestEqualSensitive(const TCHAR* What, FStringView Actual, FStringView Expected);
	bool TestEqualSensitive(const TCHAR* What, const FString& Actual, const FString& Expected)
	{
		return TestEqualSensitive(What, *Actual, *Expected);
	}
	CORE_API bool TestNotEqualSensitive(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected);
	CORE_API bool TestNotEqualSensitive(const TCHAR* What, FStringView Actual, FStringView Expected);
	bool TestNotEqualSensitive(const TCHAR* What, const FString& Actual, const FString& Expected)
	{
		return TestNotEqualSensitive(What, *Actual, *Expected);
	}

	bool TestEqual(const FString& What, const int32 Actual, const int32 Expected)
	{
		return TestEqual(*What, Actual, Expected);
	}

	bool TestEqual(const FString& What, const float Actual, const float Expected, float Tolerance = UE_KINDA_SMALL_NUMBER)
	{
		return TestEqual(*What, Actual, Expected, Tolerance);
	}

	bool TestEqual(const FString& What, const double Actual, const double Expected, double Tolerance = UE_KINDA_SMALL_NUMBER)
	{
		return TestEqual(*What, Actual, Expected, Tolerance);
	}

	bool TestEqual(const FString& What, const TCHAR* Actual, const TCHAR* Expected)
	{
		return TestEqual(*What, Actual, Expected);
	}

	bool TestEqual(const FString& What, FStringView Actual, FStringView Expected)
	{
		return TestEqual(*What, Actual, Expected);
	}

	bool TestEqualSensitive(const FString& What, const TCHAR* Actual, const TCHAR* Expected)
	{
		return TestEqualSensitive(*What, Actual, Expected);
	}

	bool TestEqualSensitive(const FString& What, FStringView Actual, FStringView Expected)
	{
		return TestEqualSensitive(*What, Actual, Expected);
	}

	struct FHasToString
	{
		template <typename ValueType>
		auto Requires(ValueType& InElem) -> decltype(InElem.ToString());
	};

	template <typename ValueType>
	inline void ReportError(const TCHAR* What, const ValueType& Actual, const ValueType& Expected)
	{
		if constexpr (TModels_V<FHasToString, ValueType>)
		{
			AddError(FString::Printf(TEXT("%s: The two values are not equal (actual=%s, expected=%s)."), What, *Actual.ToString(), *Expected.ToString()));
		}
		else
		{
			AddError(FString::Printf(TEXT("%s: The two values are not equal."), What));
		}
	}

	/** Logs an error if the two values are not equal. */
	template <typename ValueType>
	inline bool TestEqual(const TCHAR* What, const ValueType& Actual, const ValueType& Expected)
	{
		if (Actual != Expected)
		{
			ReportError(What, Actual, Expected);
			return false;
		}
		return true;
	}

	template <typename ValueType>
	bool TestEqual(const FString& What, const ValueType& Actual, const ValueType& Expected)
	{
		return TestEqual(*What, Actual, Expected);
	}

	CORE_API bool TestNearlyEqual(const TCHAR* What, const float Actual, const float Expected, float Tolerance = UE_KINDA_SMALL_NUMBER);
	CORE_API bool TestNearlyEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance = UE_KINDA_SMALL_NUMBER);

	CORE_API bool TestLessThan(const TCHAR* What, const int32 Actual, const int32 Expected);
	CORE_API bool TestLessThan(const TCHAR* What, const int64 Actual, const int64 Expected);
	CORE_API bool TestGreaterThan(const TCHAR* What, const int32 Actual, const int32 Expected);
	CORE_API bool TestGreaterThan(const TCHAR* What, const int64 Actual, const int64 Expected);
	CORE_API bool TestLessEqual(const TCHAR* What, const int32 Actual, const int32 Expected);
	CORE_API bool TestLessEqual(const TCHAR* What, const int64 Actual, const int64 Expected);
	CORE_API bool TestGreaterEqual(const TCHAR* What, const int32 Actual, const int32 Expected);
	CORE_API bool TestGreaterEqual(const TCHAR* What, const int64 Actual, const int64 Expected);
	CORE_API bool TestLessThan(const TCHAR* What, const double Actual, const double Expected, double Tolerance = UE_KINDA_SMALL_NUMBER);
	CORE_API bool TestGreaterThan(const TCHAR* What, const double Actual, const double Expected, double Tolerance = UE_KINDA_SMALL_NUMBER);
	CORE_API bool TestLessEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance = UE_KINDA_SMALL_NUMBER);
	CORE_API bool TestGreaterEqual(const TCHAR* What, const double Actual, const double Expected, double Tolerance = UE_KINDA_SMALL_NUMBER);

	/** Logs an error if the value is not false. */
	CORE_API bool TestFalse(const TCHAR* What, bool Value);

	bool TestFalse(const FString& What, bool Value)
	{
		return TestFalse(*What, Value);
	}

	#define TestFalseExpr(Expression) TestFalse(TEXT(#Expression), Expression)

	template <typename ValueType>
	inline bool TestInvalid(const TCHAR* Description, const ValueType& Value)
	{
		if (Value.IsValid())
		{
			AddError(FString::Printf(TEXT("%s: The value is valid (.IsValid() returned true)."), Description));
			return false;
		}
		return true;
	}

	template <typename ValueType>
	bool TestInvalid(const FString& Description, const ValueType& Value)
	{
		return TestInvalid(*Description, Value);
	}

	/** Logs an error if the two values are equal. */
	template <typename ValueType>
	inline bool TestNotEqual(const TCHAR* Description, const ValueType& Actual, const ValueType& Expected)
	{
		if (Actual == Expected)
		{
			AddError(FString::Printf(TEXT("%s: The two values are equal."), Description));
			return false;
		}
		return true;
	}

	template <typename ValueType>
	bool TestNotEqual(const FString& Description, const ValueType& Actual, const ValueType& Expected)
	{
		return TestNotEqual(*Description, Actual, Expected);
	}

	/** Logs an error if the pointer is null. */
	template <typename ValueType>
	inline bool TestNotNull(const TCHAR* What, const ValueType* Pointer)
	{
		if (Pointer == nullptr)
		{
			AddError(FString::Printf(TEXT("Expected '%s' to be not null."), What));
			return false;
		}
		return true;
	}

	template <typename ValueType>
	bool TestNotNull(const FString& What, const ValueType* Pointer)
	{
		return TestNotNull(*What, Pointer);
	}

	template <typename ValueType>
	inline bool TestSame(const TCHAR* Description, const ValueType& Actual, const ValueType& Expected)
	{
		if (&Actual != &Expected)
		{
			AddError(FString::Printf(TEXT("%s: The two values are not the same."), Description));
			return false;
		}
		return true;
	}

	template <typename ValueType>
	inline bool TestSamePtr(const TCHAR* Description, const ValueType* Actual, const ValueType* Expected)
	{
		if (Actual != Expected)
		{
			AddError(FString::Printf(TEXT("%s: The two pointers are not the same."), Description));
			return false;
		}
		return true;
	}

	/** Logs an error if the pointer is not null. */
	CORE_API bool TestNull(const TCHAR* What, const void* Pointer);

	bool TestNull(const FString& What, const void* Pointer)
	{
		return TestNull(*What, Pointer);
	}

	/** Logs an error if the value is not true. */
	CORE_API bool TestTrue(const TCHAR* What, bool Value);

	bool TestTrue(const FString& What, bool Value)
	{
		return TestTrue(*What, Value);
	}

	#define TestTrueExpr(...) TestTrue(TEXT(#__VA_ARGS__), __VA_ARGS__)

	template <typename ValueType>
	inline bool TestValid(const TCHAR* Description, const ValueType& Value)
	{
		if (!Value.IsValid())
		{
			AddError(FString::Printf(TEXT("%s: The value is not valid (.IsValid() returned false)."), Description));
			return false;
		}
		return true;
	}

	template <typename ValueType>
	bool TestValid(const FString& Description, const ValueType& Value)
	{
		return TestValid(*Description, Value);
	}

protected:
	virtual void GetTests(TArray<FString>& OutBeautifiedNames, TArray<FString>& OutTestCommands) const = 0;

	virtual bool RunTest(const FString& Parameters) = 0;

	virtual void SetTestContext(FString Context) { TestParameterContext = Context; }

protected:
	bool bComplexTask;
	bool bRunOnSeparateThread;
	bool bSuppressLogs = false;
	FString TestName;
	FString TestParameterContext;
	FAutomationTestExecutionInfo ExecutionInfo;

	friend class FAutomationTestFramework;

private:
	CORE_API bool IsExpectedMessage(const FString& Message, const ELogVerbosity::Type& Verbosity = ELogVerbosity::All);
	CORE_API void InternalSetSuccessState(bool bSuccessful);

	/** Log messages this test expects. */
	TArray<FAutomationExpectedMessage> ExpectedMessages;
	/** Log lines arrive from any thread. */
	mutable FCriticalSection ActionCS;
};

DECLARE_DELEGATE(FDoneDelegate);

/** Tests written as nested descriptions of behaviour: Describe, It, BeforeEach, AfterEach, LatentIt. */
class FAutomationSpecBase
	: public FAutomationTestBase
	, public TSharedFromThis<FAutomationSpecBase>
{
private:
	class FSingleExecuteLatentCommand : public IAutomationLatentCommand
	{
	public:
		FSingleExecuteLatentCommand(const FAutomationSpecBase* const InSpec, TFunction<void()> InPredicate, bool bInSkipIfErrored = false)
			: Spec(InSpec)
			, Predicate(MoveTemp(InPredicate))
			, bSkipIfErrored(bInSkipIfErrored)
		{
		}

		virtual bool Update() override
		{
			if (bSkipIfErrored && Spec->HasAnyErrors())
			{
				return true;
			}
			Predicate();
			return true;
		}

	private:
		const FAutomationSpecBase* const Spec;
		const TFunction<void()> Predicate;
		const bool bSkipIfErrored;
	};

	class FUntilDoneLatentCommand : public IAutomationLatentCommand
	{
	public:
		FUntilDoneLatentCommand(FAutomationSpecBase* const InSpec, TFunction<void(const FDoneDelegate&)> InPredicate, const FTimespan& InTimeout, bool bInSkipIfErrored = false)
			: Spec(InSpec)
			, Predicate(MoveTemp(InPredicate))
			, Timeout(InTimeout)
			, bSkipIfErrored(bInSkipIfErrored)
			, bIsRunning(false)
			, StartedRunning(0.0)
			, bDone(false)
		{
		}

		virtual bool Update() override
		{
			if (!bIsRunning)
			{
				if (bSkipIfErrored && Spec->HasAnyErrors())
				{
					return true;
				}
				bDone = false;
				bIsRunning = true;
				StartedRunning = FPlatformTime::Seconds();
				Predicate(FDoneDelegate::CreateSP(this, &FUntilDoneLatentCommand::Done));
			}

			if (bDone)
			{
				Reset();
				return true;
			}
			else if (FPlatformTime::Seconds() >= StartedRunning + Timeout.GetTotalSeconds())
			{
				Reset();
				Spec->AddError(TEXT("Latent command timed out."), 0);
				return true;
			}
			return false;
		}

	private:
		void Done()
		{
			if (bIsRunning)
			{
				bDone = true;
			}
		}

		void Reset()
		{
			bDone = false;
			bIsRunning = false;
		}

		FAutomationSpecBase* const Spec;
		const TFunction<void(const FDoneDelegate&)> Predicate;
		const FTimespan Timeout;
		const bool bSkipIfErrored;
		bool bIsRunning;
		double StartedRunning;
		std::atomic<bool> bDone;
	};

	struct FSpecIt
	{
		FString Description;
		FString Id;
		TSharedRef<IAutomationLatentCommand> Command;

		FSpecIt(FString InDescription, FString InId, TSharedRef<IAutomationLatentCommand> InCommand)
			: Description(MoveTemp(InDescription))
			, Id(MoveTemp(InId))
			, Command(MoveTemp(InCommand))
		{
		}
	};

	struct FSpecDefinitionScope
	{
		FString Description;
		TArray<TSharedRef<IAutomationLatentCommand>> BeforeEach;
		TArray<TSharedRef<FSpecIt>> It;
		TArray<TSharedRef<IAutomationLatentCommand>> AfterEach;
		TArray<TSharedRef<FSpecDefinitionScope>> Children;
	};

	struct FSpec
	{
		FString Id;
		FString Description;
		TArray<TSharedRef<IAutomationLatentCommand>> Commands;
	};

public:
	FAutomationSpecBase(const FString& InName, const bool bInComplexTask)
		: FAutomationTestBase(InName, bInComplexTask)
		, DefaultTimeout(FTimespan::FromSeconds(30))
		, bEnableSkipIfError(true)
		, RootDefinitionScope(MakeShareable(new FSpecDefinitionScope()))
		, bHasBeenDefined(false)
	{
		DefinitionScopeStack.Push(RootDefinitionScope.ToSharedRef());
	}

	virtual bool RunTest(const FString& InParameters) override
	{
		EnsureDefinitions();
		if (!InParameters.IsEmpty())
		{
			const TSharedRef<FSpec>* SpecToRun = IdToSpecMap.Find(InParameters);
			if (SpecToRun != nullptr)
			{
				for (int32 Index = 0; Index < (*SpecToRun)->Commands.Num(); ++Index)
				{
					FAutomationTestFramework::GetInstance().EnqueueLatentCommand((*SpecToRun)->Commands[Index]);
				}
			}
		}
		else
		{
			TArray<TSharedRef<FSpec>> Specs;
			IdToSpecMap.GenerateValueArray(Specs);
			for (int32 SpecIndex = 0; SpecIndex < Specs.Num(); SpecIndex++)
			{
				for (int32 CommandIndex = 0; CommandIndex < Specs[SpecIndex]->Commands.Num(); ++CommandIndex)
				{
					FAutomationTestFramework::GetInstance().EnqueueLatentCommand(Specs[SpecIndex]->Commands[CommandIndex]);
				}
			}
		}
		return true;
	}

	virtual uint32 GetRequiredDeviceNum() const override
	{
		return 1;
	}

	virtual void GetTests(TArray<FString>& OutBeautifiedNames, TArray<FString>& OutTestCommands) const override
	{
		EnsureDefinitions();
		TArray<TSharedRef<FSpec>> Specs;
		IdToSpecMap.GenerateValueArray(Specs);
		for (int32 Index = 0; Index < Specs.Num(); Index++)
		{
			OutTestCommands.Push(Specs[Index]->Id);
			OutBeautifiedNames.Push(Specs[Index]->Description);
		}
	}

	void xDescribe(const FString& InDescription, TFunction<void()> DoWork)
	{
	}

	void Describe(const FString& InDescription, TFunction<void()> DoWork)
	{
		const TSharedRef<FSpecDefinitionScope> ParentScope = DefinitionScopeStack.Last();
		const TSharedRef<FSpecDefinitionScope> NewScope = MakeShareable(new FSpecDefinitionScope());
		NewScope->Description = InDescription;
		ParentScope->Children.Push(NewScope);

		DefinitionScopeStack.Push(NewScope);
		PushDescription(InDescription);
		DoWork();
		PopDescription(InDescription);
		DefinitionScopeStack.Pop();

		if (NewScope->It.Num() == 0 && NewScope->Children.Num() == 0)
		{
			ParentScope->Children.Remove(NewScope);
		}
	}

	void xIt(const FString& InDescription, TFunction<void()> DoWork)
	{
	}

	void xLatentIt(const FString& InDescription, TFunction<void(const FDoneDelegate&)> DoWork)
	{
	}

	void xLatentIt(const FString& InDescription, const FTimespan& Timeout, TFunction<void(const FDoneDelegate&)> DoWork)
	{
	}

	void It(const FString& InDescription, TFunction<void()> DoWork)
	{
		const TSharedRef<FSpecDefinitionScope> CurrentScope = DefinitionScopeStack.Last();
		PushDescription(InDescription);
		CurrentScope->It.Push(MakeShareable(new FSpecIt(GetDescription(), GetId(), MakeShareable(new FSingleExecuteLatentCommand(this, DoWork, bEnableSkipIfError)))));
		PopDescription(InDescription);
	}

	void LatentIt(const FString& InDescription, TFunction<void(const FDoneDelegate&)> DoWork)
	{
		LatentIt(InDescription, DefaultTimeout, MoveTemp(DoWork));
	}

	void LatentIt(const FString& InDescription, const FTimespan& Timeout, TFunction<void(const FDoneDelegate&)> DoWork)
	{
		const TSharedRef<FSpecDefinitionScope> CurrentScope = DefinitionScopeStack.Last();
		PushDescription(InDescription);
		CurrentScope->It.Push(MakeShareable(new FSpecIt(GetDescription(), GetId(), MakeShareable(new FUntilDoneLatentCommand(this, DoWork, Timeout, bEnableSkipIfError)))));
		PopDescription(InDescription);
	}

	void xBeforeEach(TFunction<void()> DoWork)
	{
	}

	void BeforeEach(TFunction<void()> DoWork)
	{
		const TSharedRef<FSpecDefinitionScope> CurrentScope = DefinitionScopeStack.Last();
		CurrentScope->BeforeEach.Push(MakeShareable(new FSingleExecuteLatentCommand(this, DoWork, bEnableSkipIfError)));
	}

	void LatentBeforeEach(TFunction<void(const FDoneDelegate&)> DoWork)
	{
		LatentBeforeEach(DefaultTimeout, MoveTemp(DoWork));
	}

	void LatentBeforeEach(const FTimespan& Timeout, TFunction<void(const FDoneDelegate&)> DoWork)
	{
		const TSharedRef<FSpecDefinitionScope> CurrentScope = DefinitionScopeStack.Last();
		CurrentScope->BeforeEach.Push(MakeShareable(new FUntilDoneLatentCommand(this, DoWork, Timeout, bEnableSkipIfError)));
	}

	void xAfterEach(TFunction<void()> DoWork)
	{
	}

	void AfterEach(TFunction<void()> DoWork)
	{
		const TSharedRef<FSpecDefinitionScope> CurrentScope = DefinitionScopeStack.Last();
		CurrentScope->AfterEach.Push(MakeShareable(new FSingleExecuteLatentCommand(this, DoWork)));
	}

	void LatentAfterEach(TFunction<void(const FDoneDelegate&)> DoWork)
	{
		LatentAfterEach(DefaultTimeout, MoveTemp(DoWork));
	}

	void LatentAfterEach(const FTimespan& Timeout, TFunction<void(const FDoneDelegate&)> DoWork)
	{
		const TSharedRef<FSpecDefinitionScope> CurrentScope = DefinitionScopeStack.Last();
		CurrentScope->AfterEach.Push(MakeShareable(new FUntilDoneLatentCommand(this, DoWork, Timeout)));
	}

protected:
	/** How long a latent block may run before the test fails. */
	FTimespan DefaultTimeout;

	/** Whether BeforeEach and It blocks are skipped once the test has failed. */
	bool bEnableSkipIfError;

	void EnsureDefinitions() const
	{
		if (!bHasBeenDefined)
		{
			const_cast<FAutomationSpecBase*>(this)->Define();
			const_cast<FAutomationSpecBase*>(this)->PostDefine();
		}
	}

	virtual void Define() = 0;

	/** Flattens the scopes into one command list per It: outer BeforeEach first, inner AfterEach first. */
	void PostDefine()
	{
		TArray<TSharedRef<FSpecDefinitionScope>> Stack;
		Stack.Push(RootDefinitionScope.ToSharedRef());

		TArray<TSharedRef<IAutomationLatentCommand>> BeforeEachCommands;
		TArray<TSharedRef<IAutomationLatentCommand>> AfterEachCommands;

		while (Stack.Num() > 0)
		{
			const TSharedRef<FSpecDefinitionScope> Scope = Stack.Last();

			BeforeEachCommands.Append(Scope->BeforeEach);
			AfterEachCommands.Append(Scope->AfterEach);

			for (int32 ItIndex = 0; ItIndex < Scope->It.Num(); ItIndex++)
			{
				TSharedRef<FSpecIt> ItCase = Scope->It[ItIndex];

				TSharedRef<FSpec> Spec = MakeShareable(new FSpec());
				Spec->Id = ItCase->Id;
				Spec->Description = ItCase->Description;
				Spec->Commands.Append(BeforeEachCommands);
				Spec->Commands.Add(ItCase->Command);
				for (int32 AfterEachIndex = AfterEachCommands.Num() - 1; AfterEachIndex >= 0; AfterEachIndex--)
				{
					Spec->Commands.Add(AfterEachCommands[AfterEachIndex]);
				}

				check(!IdToSpecMap.Contains(Spec->Id));
				IdToSpecMap.Add(Spec->Id, Spec);
			}
			Scope->It.Empty();

			if (Scope->Children.Num() > 0)
			{
				Stack.Append(Scope->Children);
				Scope->Children.Empty();
			}
			else
			{
				while (Stack.Num() > 0 && Stack.Last()->Children.Num() == 0 && Stack.Last()->It.Num() == 0)
				{
					const TSharedRef<FSpecDefinitionScope> PoppedScope = Stack.Pop();
					if (PoppedScope->BeforeEach.Num() > 0)
					{
						BeforeEachCommands.RemoveAt(BeforeEachCommands.Num() - PoppedScope->BeforeEach.Num(), PoppedScope->BeforeEach.Num());
					}
					if (PoppedScope->AfterEach.Num() > 0)
					{
						AfterEachCommands.RemoveAt(AfterEachCommands.Num() - PoppedScope->AfterEach.Num(), PoppedScope->AfterEach.Num());
					}
				}
			}
		}

		RootDefinitionScope.Reset();
		DefinitionScopeStack.Reset();
		bHasBeenDefined = true;
	}

private:
	void PushDescription(const FString& InDescription)
	{
		Description.Add(InDescription);
	}

	void PopDescription(const FString& InDescription)
	{
		Description.RemoveAt(Description.Num() - 1);
	}

	FString GetDescription() const
	{
		FString CompleteDescription;
		for (int32 Index = 0; Index < Description.Num(); ++Index)
		{
			if (Description[Index].IsEmpty())
			{
				continue;
			}
			if (CompleteDescription.IsEmpty())
			{
				CompleteDescription = Description[Index];
			}
			else if (FChar::IsWhitespace(CompleteDescription[CompleteDescription.Len() - 1]) || FChar::IsWhitespace(Description[Index][0]))
			{
				CompleteDescription = CompleteDescription + TEXT(".") + Description[Index];
			}
			else
			{
				CompleteDescription = FString::Printf(TEXT("%s.%s"), *CompleteDescription, *Description[Index]);
			}
		}
		return CompleteDescription;
	}

	FString GetId() const
	{
		if (Description.Last().EndsWith(TEXT("]")))
		{
			FString ItDescription = Description.Last();
			ItDescription.RemoveAt(ItDescription.Len() - 1);
			int32 StartingBraceIndex = INDEX_NONE;
			if (ItDescription.FindLastChar(TEXT('['), StartingBraceIndex) && StartingBraceIndex != ItDescription.Len() - 1)
			{
				return ItDescription.RightChop(StartingBraceIndex + 1);
			}
		}

		FString CompleteId;
		for (int32 Index = 0; Index < Description.Num(); ++Index)
		{
			if (Description[Index].IsEmpty())
			{
				continue;
			}
			if (CompleteId.IsEmpty())
			{
				CompleteId = Description[Index];
			}
			else if (FChar::IsWhitespace(CompleteId[CompleteId.Len() - 1]) || FChar::IsWhitespace(Description[Index][0]))
			{
				CompleteId = CompleteId + Description[Index];
			}
			else
			{
				CompleteId = FString::Printf(TEXT("%s %s"), *CompleteId, *Description[Index]);
			}
		}
		return CompleteId;
	}

	TArray<FString> Description;
	TMap<FString, TSharedRef<FSpec>> IdToSpecMap;
	TSharedPtr<FSpecDefinitionScope> RootDefinitionScope;
	TArray<TSharedRef<FSpecDefinitionScope>> DefinitionScopeStack;
	bool bHasBeenDefined;
};

// Latent command definition macros.

#define DEFINE_LATENT_AUTOMATION_COMMAND(CommandName) \
class CommandName : public IAutomationLatentCommand \
	{ \
	public: \
	virtual ~CommandName() \
		{} \
		virtual bool Update() override; \
}

#define DEFINE_LATENT_AUTOMATION_COMMAND_ONE_PARAMETER(CommandName, ParamType, ParamName) \
class CommandName : public IAutomationLatentCommand \
	{ \
	public: \
	CommandName(ParamType InputParam) \
	: ParamName(InputParam) \
		{} \
		virtual ~CommandName() \
		{} \
		virtual bool Update() override; \
	private: \
	ParamType ParamName; \
}

#define DEFINE_LATENT_AUTOMATION_COMMAND_TWO_PARAMETER(CommandName, ParamType0, ParamName0, ParamType1, ParamName1) \
class CommandName : public IAutomationLatentCommand \
	{ \
	public: \
	CommandName(ParamType0 InputParam0, ParamType1 InputParam1) \
	: ParamName0(InputParam0) \
	, ParamName1(InputParam1) \
		{} \
		virtual ~CommandName() \
		{} \
		virtual bool Update() override; \
	private: \
	ParamType0 ParamName0; \
	ParamType1 ParamName1; \
}

#if WITH_AUTOMATION_TESTS
	#define ADD_LATENT_AUTOMATION_COMMAND(ClassDeclaration) FAutomationTestFramework::Get().EnqueueLatentCommand(MakeShareable(new ClassDeclaration));
#else
	#define ADD_LATENT_AUTOMATION_COMMAND(ClassDeclaration)
#endif

#define UE_AUTOMATION_TEST_FLAG_CHECKS(TFlags) \
	static_assert(!!((TFlags) & EAutomationTestFlags_ApplicationContextMask), "AutomationTest has no application flag.  It shouldn't run.  See AutomationTest.h."); \
	static_assert(!!(((TFlags) & EAutomationTestFlags_FilterMask) == EAutomationTestFlags::SmokeFilter) || \
		!!(((TFlags) & EAutomationTestFlags_FilterMask) == EAutomationTestFlags::EngineFilter) || \
		!!(((TFlags) & EAutomationTestFlags_FilterMask) == EAutomationTestFlags::ProductFilter) || \
		!!(((TFlags) & EAutomationTestFlags_FilterMask) == EAutomationTestFlags::PerfFilter) || \
		!!(((TFlags) & EAutomationTestFlags_FilterMask) == EAutomationTestFlags::StressFilter) || \
		!!(((TFlags) & EAutomationTestFlags_FilterMask) == EAutomationTestFlags::NegativeFilter), \
		"All AutomationTests must have exactly 1 filter type specified.  See AutomationTest.h.");

#define IMPLEMENT_SIMPLE_AUTOMATION_TEST_PRIVATE(TClass, TBaseClass, PrettyName, TFlags, FileName, LineNumber) \
	class TClass : public TBaseClass \
	{ \
	public: \
		TClass(const FString& InName) \
		: TBaseClass(InName, false) \
		{ \
			UE_AUTOMATION_TEST_FLAG_CHECKS(TFlags) \
		} \
		virtual EAutomationTestFlags GetTestFlags() const override { return TFlags; } \
		virtual bool IsStressTest() const { return false; } \
		virtual uint32 GetRequiredDeviceNum() const override { return 1; } \
		virtual FString GetTestSourceFileName() const override { return FileName; } \
		virtual int32 GetTestSourceFileLine() const override { return LineNumber; } \
	protected: \
		virtual void GetTests(TArray<FString>& OutBeautifiedNames, TArray<FString>& OutTestCommands) const override \
		{ \
			OutBeautifiedNames.Add(PrettyName); \
			OutTestCommands.Add(FString()); \
		} \
		virtual bool RunTest(const FString& Parameters) override; \
		virtual FString GetBeautifiedTestName() const override { return PrettyName; } \
	};

#define BEGIN_DEFINE_SPEC_PRIVATE(TClass, PrettyName, TFlags, FileName, LineNumber) \
	class TClass : public FAutomationSpecBase \
	{ \
	public: \
		TClass(const FString& InName) \
		: FAutomationSpecBase(InName, false) \
		{ \
			UE_AUTOMATION_TEST_FLAG_CHECKS(TFlags) \
		} \
		virtual EAutomationTestFlags GetTestFlags() const override { return TFlags; } \
		using FAutomationSpecBase::GetTestSourceFileName; \
		virtual FString GetTestSourceFileName() const override { return FileName; } \
		using FAutomationSpecBase::GetTestSourceFileLine; \
		virtual int32 GetTestSourceFileLine() const override { return LineNumber; } \
	protected: \
		virtual FString GetBeautifiedTestName() const override { return PrettyName; } \
		virtual void Define() override;

#define IMPLEMENT_SIMPLE_AUTOMATION_TEST(TClass, PrettyName, TFlags) \
	IMPLEMENT_SIMPLE_AUTOMATION_TEST_PRIVATE(TClass, FAutomationTestBase, PrettyName, TFlags, __FILE__, __LINE__) \
	namespace \
	{ \
		TClass TClass##AutomationTestInstance(TEXT(#TClass)); \
	}

#define IMPLEMENT_CUSTOM_SIMPLE_AUTOMATION_TEST(TClass, TBaseClass, PrettyName, TFlags) \
	IMPLEMENT_SIMPLE_AUTOMATION_TEST_PRIVATE(TClass, TBaseClass, PrettyName, TFlags, __FILE__, __LINE__) \
	namespace \
	{ \
		TClass TClass##AutomationTestInstance(TEXT(#TClass)); \
	}

#define BEGIN_DEFINE_SPEC(TClass, PrettyName, TFlags) \
	BEGIN_DEFINE_SPEC_PRIVATE(TClass, PrettyName, TFlags, __FILE__, __LINE__)

#define END_DEFINE_SPEC(TClass) \
	}; \
	namespace \
	{ \
		TClass TClass##AutomationSpecInstance(TEXT(#TClass)); \
	}

#define DEFINE_SPEC(TClass, PrettyName, TFlags) \
	BEGIN_DEFINE_SPEC_PRIVATE(TClass, PrettyName, TFlags, __FILE__, __LINE__) \
	END_DEFINE_SPEC(TClass)

// Early-exit forms of the assertions.

#define UTEST_EQUAL(What, Actual, Expected) \
	if (!TestEqual(What, Actual, Expected)) \
	{ \
		return false; \
	}

#define UTEST_EQUAL_SENSITIVE(What, Actual, Expected) \
	if (!TestEqualSensitive(What, Actual, Expected)) \
	{ \
		return false; \
	}

#define UTEST_TRUE(What, Value) \
	if (!TestTrue(What, Value)) \
	{ \
		return false; \
	}

#define UTEST_FALSE(What, Value) \
	if (!TestFalse(What, Value)) \
	{ \
		return false; \
	}

#define UTEST_NULL(What, Pointer) \
	if (!TestNull(What, Pointer)) \
	{ \
		return false; \
	}

#define UTEST_NOT_NULL(What, Pointer) \
	if (!TestNotNull(What, Pointer)) \
	{ \
		return false; \
	}

#define UTEST_VALID(What, Value) \
	if (!TestValid(What, Value)) \
	{ \
		return false; \
	}

// Basic latent commands.

/** Runs a predicate each frame until it returns true. */
class FFunctionLatentCommand : public IAutomationLatentCommand
{
public:
	FFunctionLatentCommand(TFunction<bool()> InLatentPredicate)
		: LatentPredicate(MoveTemp(InLatentPredicate))
	{
	}

	virtual bool Update() override
	{
		return LatentPredicate();
	}

private:
	TFunction<bool()> LatentPredicate;
};

/** Runs a callback once its delay has passed. */
class FDelayedFunctionLatentCommand : public IAutomationLatentCommand
{
public:
	FDelayedFunctionLatentCommand(TFunction<void()> InCallback, float InDelay = 0.1f)
		: Callback(MoveTemp(InCallback))
		, Delay(InDelay)
	{
	}

	virtual bool Update() override
	{
		const double NewTime = FPlatformTime::Seconds();
		if (NewTime - StartTime >= Delay)
		{
			Callback();
			return true;
		}
		return false;
	}

private:
	TFunction<void()> Callback;
	float Delay;
};

/** Waits until a callback returns true, or calls the timeout callback after Timeout seconds. */
class FUntilCommand : public IAutomationLatentCommand
{
public:
	FUntilCommand(TFunction<bool()> InCallback, TFunction<bool()> InTimeoutCallback, float InTimeout = 5.0f)
		: Callback(MoveTemp(InCallback))
		, TimeoutCallback(MoveTemp(InTimeoutCallback))
		, Timeout(InTimeout)
	{
	}

	FUntilCommand(TFunction<bool()> InCallback, float InTimeout = 5.0f)
		: Callback(MoveTemp(InCallback))
		, TimeoutCallback([]() { return true; })
		, Timeout(InTimeout)
	{
	}

	virtual bool Update() override
	{
		if (!Callback())
		{
			if (FPlatformTime::Seconds() - StartTime >= Timeout)
			{
				TimeoutCallback();
				return true;
			}
			return false;
		}
		return true;
	}

private:
	TFunction<bool()> Callback;
	TFunction<bool()> TimeoutCallback;
	float Timeout;
};
