// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Logging/LogCategory.h"
#include "Logging/LogVerbosity.h"
#include "Misc/FormatStringSan.h"
#include "Misc/AssertionMacros.h"

namespace UE::Logging::Private
{
	CORE_API void BasicLogImpl(const FLogCategoryBase& Category, ELogVerbosity::Type Verbosity, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs);
	[[noreturn]] CORE_API void FatalLogImpl(const FLogCategoryBase& Category, const ANSICHAR* File, int32 Line, const TCHAR* Format, const UE::Core::Private::FFormatArgValue* Args, int32 NumArgs);

	template <typename... Types>
	FORCENOINLINE void BasicLog(const FLogCategoryBase& Category, ELogVerbosity::Type Verbosity, UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Format, Types... Args)
	{
		const UE::Core::Private::FFormatArgValue Values[sizeof...(Types) + 1] = { UE::Core::Private::MakeFormatArg(Args)..., {} };
		BasicLogImpl(Category, Verbosity, Format.FormatString, Values, (int32)sizeof...(Types));
	}

	template <typename... Types>
	[[noreturn]] FORCENOINLINE void FatalLog(const FLogCategoryBase& Category, const ANSICHAR* File, int32 Line, UE::Core::TCheckedFormatString<TCHAR, std::type_identity_t<Types>...> Format, Types... Args)
	{
		const UE::Core::Private::FFormatArgValue Values[sizeof...(Types) + 1] = { UE::Core::Private::MakeFormatArg(Args)..., {} };
		FatalLogImpl(Category, File, Line, Format.FormatString, Values, (int32)sizeof...(Types));
	}
} // namespace UE::Logging::Private

#if NO_LOGGING
	#define UE_LOG_ACTIVE(CategoryName, Verbosity) (::ELogVerbosity::Verbosity == ::ELogVerbosity::Fatal)
#else
	// Active when compiled in for the category and let through by its run-time verbosity.
	#define UE_LOG_ACTIVE(CategoryName, Verbosity) \
		(((::ELogVerbosity::Verbosity & ::ELogVerbosity::VerbosityMask) == ::ELogVerbosity::Fatal) || \
		 (((::ELogVerbosity::Verbosity & ::ELogVerbosity::VerbosityMask) <= ::ELogVerbosity::COMPILED_IN_MINIMUM_VERBOSITY) && \
		  ((::ELogVerbosity::Verbosity & ::ELogVerbosity::VerbosityMask) <= std::remove_reference_t<decltype(CategoryName)>::CompileTimeVerbosity) && \
		  !CategoryName.IsSuppressed(::ELogVerbosity::Verbosity)))
#endif

#define UE_GET_LOG_VERBOSITY(CategoryName) CategoryName.GetVerbosity()
#define UE_SET_LOG_VERBOSITY(CategoryName, Verbosity) CategoryName.SetVerbosity(::ELogVerbosity::Verbosity)

// Formats and writes a line only when the category lets the verbosity through; Fatal always logs,
// then aborts.
#define UE_LOG(CategoryName, Verbosity, Format, ...) \
	do \
	{ \
		static_assert(std::is_array_v<std::remove_reference_t<decltype(Format)>>, "Formatting string must be a TCHAR array."); \
		constexpr ::ELogVerbosity::Type UE_LOG_VerbosityValue = ::ELogVerbosity::Verbosity; \
		if constexpr ((UE_LOG_VerbosityValue & ::ELogVerbosity::VerbosityMask) == ::ELogVerbosity::Fatal) \
		{ \
			::UE::Logging::Private::FatalLog(CategoryName, __FILE__, __LINE__, Format, ##__VA_ARGS__); \
		} \
		else if constexpr (((UE_LOG_VerbosityValue & ::ELogVerbosity::VerbosityMask) <= ::ELogVerbosity::COMPILED_IN_MINIMUM_VERBOSITY) && \
						   ((UE_LOG_VerbosityValue & ::ELogVerbosity::VerbosityMask) <= std::remove_reference_t<decltype(CategoryName)>::CompileTimeVerbosity)) \
		{ \
			if (!CategoryName.IsSuppressed(UE_LOG_VerbosityValue)) \
			{ \
				::UE::Logging::Private::BasicLog(CategoryName, UE_LOG_VerbosityValue, Format, ##__VA_ARGS__); \
			} \
		} \
	} while (false)

#define UE_CLOG(Condition, CategoryName, Verbosity, Format, ...) \
	do \
	{ \
		if (UE_LOG_ACTIVE(CategoryName, Verbosity) && (Condition)) \
		{ \
			UE_LOG(CategoryName, Verbosity, Format, ##__VA_ARGS__); \
		} \
	} while (false)

#define UE_SUPPRESS(CategoryName, Verbosity, ExecuteIfUnsuppressed) \
	do \
	{ \
		if (UE_LOG_ACTIVE(CategoryName, Verbosity)) \
		{ \
			ExecuteIfUnsuppressed; \
		} \
	} while (false)

#define DECLARE_LOG_CATEGORY_EXTERN(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	extern struct FLogCategory##CategoryName : public ::FLogCategory<::ELogVerbosity::DefaultVerbosity, ::ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FORCEINLINE FLogCategory##CategoryName() : FLogCategory(TEXT(#CategoryName)) {} \
	} CategoryName;

#define DEFINE_LOG_CATEGORY(CategoryName, ...) FLogCategory##CategoryName CategoryName;

#define DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	static struct FLogCategory##CategoryName : public ::FLogCategory<::ELogVerbosity::DefaultVerbosity, ::ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FORCEINLINE FLogCategory##CategoryName() : FLogCategory(TEXT(#CategoryName)) {} \
	} CategoryName;

#define DECLARE_LOG_CATEGORY_CLASS(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)

#define DEFINE_LOG_CATEGORY_CLASS(Class, CategoryName) Class::FLogCategory##CategoryName Class::CategoryName;

// Core's own categories.
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogTemp, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogCore, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogOutputDevice, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogInit, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogExit, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogModuleManager, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogConfig, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogStreaming, Display, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogTextFormatter, Log, All);
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogInternationalization, Log, All);
