// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "GenericPlatform/GenericPlatformAffinity.h"

class FRunnable;

class CORE_API FRunnableThread
{
public:
	// Starts a thread running the runnable; null if it could not start (or Init failed is seen later).
	static FRunnableThread* Create(FRunnable* InRunnable, const TCHAR* ThreadName, uint32 InStackSize = 0, EThreadPriority InThreadPri = TPri_Normal, uint64 InThreadAffinityMask = FPlatformAffinity::GetNoAffinityMask(), EThreadCreateFlags InCreateFlags = EThreadCreateFlags::None);

	virtual void SetThreadPriority(EThreadPriority NewPriority) { ThreadPriority = NewPriority; }
	virtual void Suspend(bool bShouldPause = true) {}
	// Asks the runnable to stop, and waits for the thread if told to.
	virtual bool Kill(bool bShouldWait = true) = 0;
	virtual void WaitForCompletion() = 0;

	const uint32 GetThreadID() const { return ThreadID; }
	const FString& GetThreadName() const { return ThreadName; }
	EThreadPriority GetThreadPriority() const { return ThreadPriority; }

	virtual ~FRunnableThread();

	static uint32 GetTlsSlot() { return 0; }

protected:
	FRunnableThread();

	FString ThreadName;
	FRunnable* Runnable = nullptr;
	EThreadPriority ThreadPriority = TPri_Normal;
	uint32 ThreadID = 0;
};
