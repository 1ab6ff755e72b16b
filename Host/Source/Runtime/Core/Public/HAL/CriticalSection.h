// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <mutex>
#include <shared_mutex>

// A recursive lock, as the engine's pthreads critical section.
class FCriticalSection
{
public:
	FCriticalSection() = default;
	FCriticalSection(const FCriticalSection&) = delete;
	FCriticalSection& operator=(const FCriticalSection&) = delete;

	FORCEINLINE void Lock() { Mutex.lock(); }
	FORCEINLINE bool TryLock() { return Mutex.try_lock(); }
	FORCEINLINE void Unlock() { Mutex.unlock(); }

private:
	std::recursive_mutex Mutex;
};

class FRWLock
{
public:
	FRWLock(uint32 Level = 0) {}
	FRWLock(const FRWLock&) = delete;
	FRWLock& operator=(const FRWLock&) = delete;

	FORCEINLINE void ReadLock() { Mutex.lock_shared(); }
	FORCEINLINE void WriteLock() { Mutex.lock(); }
	FORCEINLINE bool TryReadLock() { return Mutex.try_lock_shared(); }
	FORCEINLINE bool TryWriteLock() { return Mutex.try_lock(); }
	FORCEINLINE void ReadUnlock() { Mutex.unlock_shared(); }
	FORCEINLINE void WriteUnlock() { Mutex.unlock(); }

private:
	std::shared_mutex Mutex;
};

typedef FCriticalSection FTransactionallySafeCriticalSection;
