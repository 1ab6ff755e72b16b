// Copyright Quarn. All Rights Reserved.

#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Containers/StringConv.h"
#include "Host/CoreHost.h"
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

FOutputDevice::FOutputDevice() : bSuppressEventTag(false), bAutoEmitLineTerminator(true) {}
FOutputDevice::~FOutputDevice() = default;

void FOutputDevice::Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category, const double Time)
{
	Serialize(V, Verbosity, Category);
}

void FOutputDevice::Flush() {}
void FOutputDevice::TearDown() {}
void FOutputDevice::Dump(FArchive& Ar) {}
bool FOutputDevice::IsMemoryOnly() const { return false; }
bool FOutputDevice::CanBeUsedOnAnyThread() const { return false; }
bool FOutputDevice::CanBeUsedOnMultipleThreads() const { return false; }
bool FOutputDevice::CanBeUsedOnPanicThread() const { return false; }

void FOutputDevice::Log(const TCHAR* S) { Serialize(S, ELogVerbosity::Log, NAME_None); }
void FOutputDevice::Log(ELogVerbosity::Type Verbosity, const TCHAR* S) { Serialize(S, Verbosity, NAME_None); }
void FOutputDevice::Log(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Str) { Serialize(Str, Verbosity, Category); }
void FOutputDevice::Log(const FString& S) { Serialize(*S, ELogVerbosity::Log, NAME_None); }
void FOutputDevice::Log(ELogVerbosity::Type Verbosity, const FString& S) { Serialize(*S, Verbosity, NAME_None); }
void FOutputDevice::Log(const FName& Category, ELogVerbosity::Type Verbosity, const FString& S) { Serialize(*S, Verbosity, Category); }

const TCHAR* FOutputDeviceHelper::VerbosityToString(ELogVerbosity::Type Verbosity)
{
	return ToString(Verbosity);
}

FString FOutputDeviceHelper::FormatLogLine(ELogVerbosity::Type Verbosity, const FName& Category, const TCHAR* Message, ELogTimes::Type LogTime, const double Time, int32* OutCategoryIndex)
{
	FString Format;
	if (Category != NAME_None)
	{
		Format += Category.ToString();
		Format += TEXT(": ");
	}
	if (OutCategoryIndex)
	{
		*OutCategoryIndex = Format.Len();
	}
	const ELogVerbosity::Type Masked = (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask);
	if (Masked != ELogVerbosity::Log)
	{
		Format += ToString(Masked);
		Format += TEXT(": ");
	}
	if (Message)
	{
		Format += Message;
	}
	return Format;
}

namespace
{
	// The console: one formatted line per message on standard output.
	class FOutputDeviceConsole final : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			const ELogVerbosity::Type Masked = (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask);
			if (!bEnabled.load(std::memory_order_relaxed) || Masked > MaxVerbosity.load(std::memory_order_relaxed))
			{
				return;
			}
			const FString Line = FOutputDeviceHelper::FormatLogLine(Verbosity, Category, V);
			FTCHARToUTF8 Utf8(*Line, Line.Len());
			std::fwrite(Utf8.Get(), 1, Utf8.Length(), stdout);
			std::fputc('\n', stdout);
		}
		virtual void Flush() override { std::fflush(stdout); }
		virtual bool CanBeUsedOnAnyThread() const override { return true; }

		std::atomic<bool> bEnabled{ true };
		std::atomic<uint8> MaxVerbosity{ ELogVerbosity::Log };
	};

	FOutputDeviceConsole& GetConsoleDevice()
	{
		static FOutputDeviceConsole* Console = new FOutputDeviceConsole();
		return *Console;
	}
} // namespace

struct FOutputDeviceRedirector::FState
{
	std::recursive_mutex Mutex;
	std::vector<FOutputDevice*> Devices;
};

FOutputDeviceRedirector::FOutputDeviceRedirector() : State(new FState()) {}

FOutputDeviceRedirector::~FOutputDeviceRedirector()
{
	delete State;
}

FOutputDeviceRedirector* FOutputDeviceRedirector::Get()
{
	// Never destroyed: lines may be logged while static objects are torn down.
	static FOutputDeviceRedirector* Singleton = []()
	{
		FOutputDeviceRedirector* Redirector = new FOutputDeviceRedirector();
		Redirector->AddOutputDevice(&GetConsoleDevice());
		return Redirector;
	}();
	return Singleton;
}

void FOutputDeviceRedirector::AddOutputDevice(FOutputDevice* OutputDevice)
{
	if (!OutputDevice)
	{
		return;
	}
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	for (FOutputDevice* Existing : State->Devices)
	{
		if (Existing == OutputDevice)
		{
			return;
		}
	}
	State->Devices.push_back(OutputDevice);
}

void FOutputDeviceRedirector::RemoveOutputDevice(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	for (auto It = State->Devices.begin(); It != State->Devices.end(); ++It)
	{
		if (*It == OutputDevice)
		{
			State->Devices.erase(It);
			return;
		}
	}
}

bool FOutputDeviceRedirector::IsRedirectingTo(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	for (FOutputDevice* Existing : State->Devices)
	{
		if (Existing == OutputDevice)
		{
			return true;
		}
	}
	return false;
}

void FOutputDeviceRedirector::Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category, const double Time)
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	// A device may add or remove devices while it handles a line: walk a snapshot.
	const std::vector<FOutputDevice*> Devices = State->Devices;
	for (FOutputDevice* Device : Devices)
	{
		Device->Serialize(Data, Verbosity, Category, Time);
	}
}

void FOutputDeviceRedirector::Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category)
{
	Serialize(Data, Verbosity, Category, -1.0);
}

void FOutputDeviceRedirector::Flush()
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	for (FOutputDevice* Device : State->Devices)
	{
		Device->Flush();
	}
}

void FOutputDeviceRedirector::TearDown()
{
	std::lock_guard<std::recursive_mutex> Lock(State->Mutex);
	const std::vector<FOutputDevice*> Devices = State->Devices;
	State->Devices.clear();
	for (FOutputDevice* Device : Devices)
	{
		Device->Flush();
		Device->TearDown();
	}
	State->Devices.push_back(&GetConsoleDevice());
}

namespace UE::Host
{
	void SetConsoleLogVerbosity(ELogVerbosity::Type Verbosity)
	{
		GetConsoleDevice().MaxVerbosity.store((uint8)(Verbosity & ELogVerbosity::VerbosityMask), std::memory_order_relaxed);
	}

	void SetConsoleOutputEnabled(bool bEnabled)
	{
		GetConsoleDevice().bEnabled.store(bEnabled, std::memory_order_relaxed);
	}
} // namespace UE::Host
