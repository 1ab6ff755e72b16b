// Copyright Quarn. All Rights Reserved.

#include "Host/LogCapture.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/ScopeLock.h"

namespace UE::Host
{
	FLogCapture::FLogCapture(FName InCategory)
		: Category(InCategory)
	{
		GLog->AddOutputDevice(this);
	}

	FLogCapture::~FLogCapture()
	{
		GLog->RemoveOutputDevice(this);
	}

	void FLogCapture::Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& InCategory)
	{
		if (!Category.IsNone() && InCategory != Category)
		{
			return;
		}
		FScopeLock ScopeLock(&Lock);
		Lines.Add({ (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask), FString(V) });
	}

	TArray<FCapturedLogLine> FLogCapture::GetLines() const
	{
		FScopeLock ScopeLock(&Lock);
		return Lines;
	}

	int32 FLogCapture::Count(const TCHAR* Fragment) const
	{
		FScopeLock ScopeLock(&Lock);
		int32 Found = 0;
		for (const FCapturedLogLine& Line : Lines)
		{
			Found += Line.Text.Contains(Fragment, ESearchCase::CaseSensitive) ? 1 : 0;
		}
		return Found;
	}

	int32 FLogCapture::Count(const TCHAR* Fragment, ELogVerbosity::Type Verbosity) const
	{
		FScopeLock ScopeLock(&Lock);
		int32 Found = 0;
		for (const FCapturedLogLine& Line : Lines)
		{
			if (Line.Verbosity == Verbosity && Line.Text.Contains(Fragment, ESearchCase::CaseSensitive))
			{
				++Found;
			}
		}
		return Found;
	}

	int32 FLogCapture::CountAtVerbosity(ELogVerbosity::Type Verbosity) const
	{
		FScopeLock ScopeLock(&Lock);
		int32 Found = 0;
		for (const FCapturedLogLine& Line : Lines)
		{
			Found += Line.Verbosity == Verbosity ? 1 : 0;
		}
		return Found;
	}

	void FLogCapture::Reset()
	{
		FScopeLock ScopeLock(&Lock);
		Lines.Reset();
	}
}
