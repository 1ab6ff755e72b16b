// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "HAL/CriticalSection.h"
#include "Misc/AssertionMacros.h"

// Holds a critical section for the scope, or until Unlock().
class FScopeLock
{
public:
	[[nodiscard]] explicit FScopeLock(FCriticalSection* InSynchObject) : SynchObject(InSynchObject)
	{
		check(SynchObject);
		SynchObject->Lock();
	}
	[[nodiscard]] explicit FScopeLock(FCriticalSection& InSynchObject) : FScopeLock(&InSynchObject) {}

	~FScopeLock() { Unlock(); }

	void Unlock()
	{
		if (SynchObject)
		{
			SynchObject->Unlock();
			SynchObject = nullptr;
		}
	}

	FScopeLock(const FScopeLock&) = delete;
	FScopeLock& operator=(const FScopeLock&) = delete;

private:
	FCriticalSection* SynchObject;
};

class FScopeUnlock
{
public:
	[[nodiscard]] explicit FScopeUnlock(FCriticalSection* InSynchObject) : SynchObject(InSynchObject)
	{
		if (SynchObject)
		{
			SynchObject->Unlock();
		}
	}
	~FScopeUnlock()
	{
		if (SynchObject)
		{
			SynchObject->Lock();
		}
	}

private:
	FCriticalSection* SynchObject;
};
