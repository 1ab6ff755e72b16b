// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"

class FName;

namespace UE::Logging::Private
{
	/**
	 * Where Error and Warning lines go before the log devices see them. The engine sends them to GWarn,
	 * which the automation framework replaces with its message filter while a test runs; the host has
	 * no feedback context, so the framework installs its filter here and the filter forwards to GLog.
	 */
	class ILogWarningFilter
	{
	public:
		virtual void SerializeWarning(const TCHAR* Line, ELogVerbosity::Type Verbosity, const FName& Category) = 0;

	protected:
		~ILogWarningFilter() = default;
	};

	/** The filter in place, or null: lines then go straight to GLog. */
	void SetLogWarningFilter(ILogWarningFilter* Filter);
	ILogWarningFilter* GetLogWarningFilter();
}
