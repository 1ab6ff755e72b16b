// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include "UObject/NameTypes.h"

class UObject;

// Identifies a binding; copies of a delegate keep their handle.
class FDelegateHandle
{
public:
	enum EGenerateNewHandleType
	{
		GenerateNewHandle
	};

	FDelegateHandle() : ID(0) {}
	explicit FDelegateHandle(EGenerateNewHandleType) : ID(GenerateNewID()) {}

	bool IsValid() const { return ID != 0; }
	void Reset() { ID = 0; }

	friend bool operator==(const FDelegateHandle& Lhs, const FDelegateHandle& Rhs) { return Lhs.ID == Rhs.ID; }
	friend bool operator!=(const FDelegateHandle& Lhs, const FDelegateHandle& Rhs) { return Lhs.ID != Rhs.ID; }
	friend uint32 GetTypeHash(const FDelegateHandle& Key) { return GetTypeHash(Key.ID); }

private:
	CORE_API static uint64 GenerateNewID();

	uint64 ID;
};

class IDelegateInstance
{
public:
	virtual ~IDelegateInstance() = default;

	virtual FName TryGetBoundFunctionName() const { return NAME_None; }
	virtual UObject* GetUObject() const = 0;
	virtual const void* GetObjectForTimerManager() const = 0;
	virtual uint64 GetBoundProgramCounterForTimerManager() const { return 0; }
	virtual bool HasSameObject(const void* InUserObject) const = 0;
	virtual bool IsCompactable() const { return !IsSafeToExecute(); }
	virtual bool IsSafeToExecute() const = 0;
	virtual FDelegateHandle GetHandle() const = 0;
};
