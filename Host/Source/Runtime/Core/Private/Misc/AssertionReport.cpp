// Copyright Quarn. All Rights Reserved.

#include "Misc/AssertionReport.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Logging/LogMacros.h"
#include "Containers/StringConv.h"
#include <cstdio>

namespace UE::Assert::Private
{
	void ReportAssertion(const TCHAR* Message, bool bFatal)
	{
		FOutputDeviceRedirector* Redirector = FOutputDeviceRedirector::Get();
		Redirector->Serialize(Message, bFatal ? ELogVerbosity::Fatal : ELogVerbosity::Error, LogOutputDevice.GetCategoryName());
		if (bFatal)
		{
			Redirector->Flush();
			std::fprintf(stderr, "Fatal error: %s\n", FTCHARToUTF8(Message).Get());
			std::fflush(stderr);
		}
	}
} // namespace UE::Assert::Private
