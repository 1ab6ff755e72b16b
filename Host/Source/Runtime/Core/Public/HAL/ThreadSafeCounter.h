// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include <atomic>

// Increment/Decrement return the new value; Add/Subtract/Set/Reset return the old one.
class FThreadSafeCounter
{
public:
	typedef int32 IntegerType;

	FThreadSafeCounter() : Counter(0) {}
	FThreadSafeCounter(const FThreadSafeCounter& Other) : Counter(Other.GetValue()) {}
	FThreadSafeCounter(int32 Value) : Counter(Value) {}
	FThreadSafeCounter& operator=(const FThreadSafeCounter&) = delete;

	int32 Increment() { return Counter.fetch_add(1) + 1; }
	int32 Add(int32 Amount) { return Counter.fetch_add(Amount); }
	int32 Decrement() { return Counter.fetch_sub(1) - 1; }
	int32 Subtract(int32 Amount) { return Counter.fetch_sub(Amount); }
	int32 Set(int32 Value) { return Counter.exchange(Value); }
	int32 Reset() { return Counter.exchange(0); }
	int32 GetValue() const { return Counter.load(); }

private:
	std::atomic<int32> Counter;
};

class FThreadSafeCounter64
{
public:
	typedef int64 IntegerType;

	FThreadSafeCounter64() : Counter(0) {}
	FThreadSafeCounter64(const FThreadSafeCounter64& Other) : Counter(Other.GetValue()) {}
	FThreadSafeCounter64(int64 Value) : Counter(Value) {}

	int64 Increment() { return Counter.fetch_add(1) + 1; }
	int64 Add(int64 Amount) { return Counter.fetch_add(Amount); }
	int64 Decrement() { return Counter.fetch_sub(1) - 1; }
	int64 Subtract(int64 Amount) { return Counter.fetch_sub(Amount); }
	int64 Set(int64 Value) { return Counter.exchange(Value); }
	int64 Reset() { return Counter.exchange(0); }
	int64 GetValue() const { return Counter.load(); }

private:
	std::atomic<int64> Counter;
};
