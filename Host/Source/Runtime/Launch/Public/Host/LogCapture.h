// Copyright Quarn. All Rights Reserved.

// Host-only: records what one log category prints, for tests.
#pragma once

#include "CoreMinimal.h"
#include "HAL/CriticalSection.h"
#include "Misc/OutputDevice.h"

namespace UE::Host
{
	struct FCapturedLogLine
	{
		ELogVerbosity::Type Verbosity = ELogVerbosity::Log;
		FString Text;
	};

	/**
	 * Collects the lines of one category (every category when constructed with NAME_None) from the
	 * moment it is made until it is destroyed. Lines may come from any thread.
	 */
	class LAUNCH_API FLogCapture : public FOutputDevice
	{
	public:
		explicit FLogCapture(FName InCategory);
		virtual ~FLogCapture() override;
		FLogCapture(const FLogCapture&) = delete;
		FLogCapture& operator=(const FLogCapture&) = delete;

		/** A copy of the lines so far, in the order they were logged. */
		TArray<FCapturedLogLine> GetLines() const;

		/** How many captured lines contain Fragment (case-sensitive), at any verbosity. */
		int32 Count(const TCHAR* Fragment) const;

		/** How many captured lines at Verbosity contain Fragment (case-sensitive). */
		int32 Count(const TCHAR* Fragment, ELogVerbosity::Type Verbosity) const;

		/** How many captured lines are at Verbosity. */
		int32 CountAtVerbosity(ELogVerbosity::Type Verbosity) const;

		void Reset();

		// FOutputDevice
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override;
		virtual bool CanBeUsedOnAnyThread() const override { return true; }
		virtual bool CanBeUsedOnMultipleThreads() const override { return true; }

	private:
		FName Category;
		mutable FCriticalSection Lock;
		TArray<FCapturedLogLine> Lines;
	};
}
