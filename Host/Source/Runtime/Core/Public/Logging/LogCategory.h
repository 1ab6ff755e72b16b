// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"
#include "UObject/NameTypes.h"
#include <atomic>

// A log category: a name, a run-time verbosity and the compile-time ceiling it cannot exceed.
struct CORE_API FLogCategoryBase
{
	FLogCategoryBase(const TCHAR* CategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity);
	~FLogCategoryBase();

	FORCEINLINE bool IsSuppressed(ELogVerbosity::Type VerbosityLevel) const
	{
		return !((VerbosityLevel & ELogVerbosity::VerbosityMask) <= Verbosity.load(std::memory_order_relaxed));
	}

	FORCEINLINE const FName& GetCategoryName() const { return CategoryName; }
	FORCEINLINE ELogVerbosity::Type GetVerbosity() const { return (ELogVerbosity::Type)Verbosity.load(std::memory_order_relaxed); }
	FORCEINLINE ELogVerbosity::Type GetCompileTimeVerbosity() const { return CompileTimeVerbosity; }
	FORCEINLINE ELogVerbosity::Type GetDefaultVerbosity() const { return DefaultVerbosity; }

	// Clamped to the compile-time verbosity: a category never lets through what was compiled out.
	void SetVerbosity(ELogVerbosity::Type Verbosity);
	void ResetToDefault() { SetVerbosity(DefaultVerbosity); }

private:
	std::atomic<uint8> Verbosity;
	bool DebugBreakOnLog;
	ELogVerbosity::Type DefaultVerbosity;
	ELogVerbosity::Type CompileTimeVerbosity;
	const FName CategoryName;
};

template <ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity>
struct FLogCategory : public FLogCategoryBase
{
	static_assert((InDefaultVerbosity & ELogVerbosity::VerbosityMask) < ELogVerbosity::NumVerbosity, "Bogus default verbosity.");
	static_assert(InCompileTimeVerbosity < ELogVerbosity::NumVerbosity, "Bogus compile time verbosity.");
	static_assert((InDefaultVerbosity & ELogVerbosity::VerbosityMask) <= InCompileTimeVerbosity, "Default verbosity cannot be greater than the compile time verbosity.");

	static constexpr ELogVerbosity::Type CompileTimeVerbosity = InCompileTimeVerbosity;

	FORCEINLINE constexpr ELogVerbosity::Type GetCompileTimeVerbosity() const { return CompileTimeVerbosity; }

	FORCEINLINE FLogCategory(const TCHAR* InCategoryName)
		: FLogCategoryBase(InCategoryName, InDefaultVerbosity, CompileTimeVerbosity)
	{
	}
};
