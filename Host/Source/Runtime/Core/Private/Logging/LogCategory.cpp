// Copyright Quarn. All Rights Reserved.

#include "Logging/LogCategory.h"
#include "Logging/LogMacros.h"
#include "Logging/LogWarningFilter.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Containers/StringConv.h"
#include <atomic>
#include <cstdio>
#include <cstdlib>

FLogCategoryBase::FLogCategoryBase(const TCHAR* InCategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity)
	: Verbosity((uint8)(InDefaultVerbosity & ELogVerbosity::VerbosityMask))
	, DebugBreakOnLog(false)
	, DefaultVerbosity(InDefaultVerbosity)
	, CompileTimeVerbosity(InCompileTimeVerbosity)
	, CategoryName(InCategoryName)
{
	ResetToDefault();
}

FLogCategoryBase::~FLogCategoryBase() = default;

void FLogCategoryBase::SetVerbosity(ELogVerbosity::Type NewVerbosity)
{
	const uint8 Requested = (uint8)(NewVerbosity & ELogVerbosity::VerbosityMask);
	const uint8 Clamped = Requested < (uint8)CompileTimeVerbosity ? Requested : (uint8)CompileTimeVerbosity;
	Verbosity.store(Clamped, std::memory_order_relaxed);
	DebugBreakOnLog = !!(NewVerbosity & ELogVerbosity::BreakOnLog);
}

const TCHAR* ToString(ELogVerbosity::Type Verbosity)
{
	switch (Verbosity & ELogVerbosity::VerbosityMask)
	{
		case ELogVerbosity::NoLogging: return TEXT("NoLogging");
		case ELogVerbosity::Fatal: return TEXT("Fatal");
		case ELogVerbosity::Error: return TEXT("Error");
		case ELogVerbosity::Warning: return TEXT("Warning");
		case ELogVerbosity::Display: return TEXT("Display");
		case ELogVerbosity::Log: return TEXT("Log");
		case ELogVerbosity::Verbose: return TEXT("Verbose");
		case ELogVerbosity::VeryVerbose: return TEXT("VeryVerbose");
	}
	return TEXT("UknownVerbosity");
}

ELogVerbosity::Type ParseLogVerbosityFromString(const FString& VerbosityString)
{
	for (uint8 Index = 0; Index < ELogVerbosity::NumVerbosity; ++Index)
	{
		if (VerbosityString == ToString((ELogVerbosity::Type)Index))
		{
			return (ELogVerbosity::Type)Index;
		}
	}
	if (VerbosityString == TEXT("All"))
	{
		return ELogVerbosity::All;
	}
	return ELogVerbosity::NoLogging;
}

DEFINE_LOG_CATEGORY(LogTemp);
DEFINE_LOG_CATEGORY(LogCore);
DEFINE_LOG_CATEGORY(LogOutputDevice);
DEFINE_LOG_CATEGORY(LogInit);
DEFINE_LOG_CATEGORY(LogExit);
DEFINE_LOG_CATEGORY(LogModuleManager);
DEFINE_LOG_CATEGORY(LogConfig);
DEFINE_LOG_CATEGORY(LogStreaming);
DEFINE_LOG_CATEGORY(LogTextFormatter);
DEFINE_LOG_CATEGORY(LogInternationalization);

namespace UE::Logging::Private
{
	namespace
	{
		class FBufferSink final : public UE::Core::Private::FFormatSink
		{
		public:
			explicit FBufferSink(FString& InTarget) : Target(InTarget) {}
			virtual void Write(const TCHAR* Chars, int32 Num) override { Target.AppendChars(Chars, Num); }

		private:
			FString& Target;
		};
	} // namespace

	namespace
	{
		std::atomic<ILogWarningFilter*> GWarningFilter{ nullptr };
	}

	void SetLogWarningFilter(ILogWarningFilter* Filter)
	{
		GWarningFilter.store(Filter);
	}

	ILogWarningFilter* GetLogWarningFilter()
	{
		return GWarningFilter.load();
	}

	void BasicLogImpl(const FLogCategoryBase& Category, ELogVerbosity::Type Verbosity, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs)
	{
		// One buffer per thread and nesting depth, so that formatting does not allocate per line.
		thread_local FString Buffers[4];
		thread_local int32 Depth = 0;
		FString Fallback;
		FString& Buffer = Depth < 4 ? Buffers[Depth] : Fallback;
		++Depth;
		Buffer.Reset();
		FBufferSink Sink(Buffer);
		UE::Core::Private::FormatToSink(Sink, Format, Args, NumArgs);
		const ELogVerbosity::Type Level = static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask);
		ILogWarningFilter* const Filter = GWarningFilter.load();
		if (Filter != nullptr && (Level == ELogVerbosity::Error || Level == ELogVerbosity::Warning))
		{
			Filter->SerializeWarning(*Buffer, Verbosity, Category.GetCategoryName());
		}
		else
		{
			FOutputDeviceRedirector::Get()->Serialize(*Buffer, Verbosity, Category.GetCategoryName());
		}
		--Depth;
	}

	void FatalLogImpl(const FLogCategoryBase& Category, const ANSICHAR* File, int32 Line, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs)
	{
		FString Message;
		FBufferSink Sink(Message);
		UE::Core::Private::FormatToSink(Sink, Format, Args, NumArgs);
		FOutputDeviceRedirector::Get()->Serialize(*Message, ELogVerbosity::Fatal, Category.GetCategoryName());
		FOutputDeviceRedirector::Get()->Flush();
		const FString Line2 = FOutputDeviceHelper::FormatLogLine(ELogVerbosity::Fatal, Category.GetCategoryName(), *Message);
		std::fprintf(stderr, "Fatal error: [File:%s] [Line: %d] %s\n", File, Line, FTCHARToUTF8(*Line2).Get());
		std::fflush(stderr);
		std::abort();
	}
} // namespace UE::Logging::Private
