// Copyright Quarn. All Rights Reserved.

#pragma once

#include "HAL/CriticalSection.h"

class FReadScopeLock
{
public:
	[[nodiscard]] explicit FReadScopeLock(FRWLock& InLock) : Lock(InLock) { Lock.ReadLock(); }
	~FReadScopeLock() { Lock.ReadUnlock(); }

private:
	FRWLock& Lock;
};

class FWriteScopeLock
{
public:
	[[nodiscard]] explicit FWriteScopeLock(FRWLock& InLock) : Lock(InLock) { Lock.WriteLock(); }
	~FWriteScopeLock() { Lock.WriteUnlock(); }

private:
	FRWLock& Lock;
};
