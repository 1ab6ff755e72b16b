// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Delegates/Delegate.h"
#include "Delegates/DelegateCombinations.h"
#include "Templates/Function.h"
#include "Templates/SharedPointer.h"
#include "Containers/Array.h"
#include <mutex>

// Return true to keep ticking, false to be removed.
DECLARE_DELEGATE_RetVal_OneParam(bool, FTickerDelegate, float);

// A thread-safe ticker: tickers may be added and removed from any thread; Tick runs on the game
// thread. A ticker fires on the first Tick at or after its delay, with that Tick's delta time.
class CORE_API FTSTicker
{
	struct FElement;

public:
	using FDelegateHandle = TWeakPtr<FElement>;

	static FTSTicker& GetCoreTicker();

	FTSTicker();
	~FTSTicker();
	FTSTicker(const FTSTicker&) = delete;
	FTSTicker& operator=(const FTSTicker&) = delete;

	FDelegateHandle AddTicker(const FTickerDelegate& InDelegate, float InDelay = 0.0f);
	FDelegateHandle AddTicker(const TCHAR* InName, float InDelay, TUniqueFunction<bool(float)>&& InFunction);
	// Removes a ticker from whichever ticker owns it; safe from any thread, also during Tick.
	static void RemoveTicker(FDelegateHandle Handle);

	void Tick(float DeltaTime);
	void Reset();

private:
	struct FElement
	{
		double FireTime = 0.0;
		float DelayTime = 0.0f;
		FTickerDelegate Delegate;
		std::atomic<bool> bRemoved{ false };
	};

	std::mutex Mutex;
	TArray<TSharedPtr<FElement>> Elements;
	double CurrentTime = 0.0;
};

// Ticks through the core ticker while it exists.
class CORE_API FTSTickerObjectBase
{
public:
	virtual bool Tick(float DeltaTime) = 0;

protected:
	FTSTickerObjectBase(float InDelay = 0.0f, FTSTicker& InTicker = FTSTicker::GetCoreTicker());
	virtual ~FTSTickerObjectBase();

private:
	FTSTicker& Ticker;
	FTSTicker::FDelegateHandle TickHandle;
};
