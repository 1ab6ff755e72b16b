// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"

namespace UE::Assert::Private
{
	// Writes a failed check or ensure where the log goes; bFatal flushes everything first.
	void ReportAssertion(const TCHAR* Message, bool bFatal);
}
