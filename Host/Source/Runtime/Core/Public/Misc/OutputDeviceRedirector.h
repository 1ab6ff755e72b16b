// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Misc/OutputDevice.h"

// Sends every line to each registered output device. Thread-safe: lines from any thread are
// written in order, one at a time, to all devices.
class CORE_API FOutputDeviceRedirector final : public FOutputDevice
{
public:
	FOutputDeviceRedirector();
	virtual ~FOutputDeviceRedirector() override;

	static FOutputDeviceRedirector* Get();

	void AddOutputDevice(FOutputDevice* OutputDevice);
	void RemoveOutputDevice(FOutputDevice* OutputDevice);
	bool IsRedirectingTo(FOutputDevice* OutputDevice);
	void FlushThreadedLogs() {}
	void SetCurrentThreadAsPrimaryThread() {}
	void SetCurrentThreadAsMasterThread() {}
	void EnableBacklog(bool bEnable) {}

	virtual void Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category, const double Time) override;
	virtual void Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category) override;
	virtual void Flush() override;
	virtual void TearDown() override;
	virtual bool CanBeUsedOnAnyThread() const override { return true; }
	virtual bool CanBeUsedOnMultipleThreads() const override { return true; }

private:
	struct FState;
	FState* State;
};
