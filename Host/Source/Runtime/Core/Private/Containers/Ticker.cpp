// Copyright Quarn. All Rights Reserved.

#include "Containers/Ticker.h"
#include "Misc/AssertionMacros.h"

FTSTicker& FTSTicker::GetCoreTicker()
{
	static FTSTicker* Ticker = new FTSTicker();
	return *Ticker;
}

FTSTicker::FTSTicker() = default;
FTSTicker::~FTSTicker() = default;

FTSTicker::FDelegateHandle FTSTicker::AddTicker(const FTickerDelegate& InDelegate, float InDelay)
{
	TSharedPtr<FElement> Element = MakeShared<FElement>();
	Element->DelayTime = InDelay;
	Element->Delegate = InDelegate;
	std::lock_guard<std::mutex> Lock(Mutex);
	Element->FireTime = CurrentTime + InDelay;
	Elements.Add(Element);
	return Element;
}

FTSTicker::FDelegateHandle FTSTicker::AddTicker(const TCHAR* InName, float InDelay, TUniqueFunction<bool(float)>&& InFunction)
{
	// Delegates copy their callables; a shared holder lets a move-only function ride along.
	TSharedRef<TUniqueFunction<bool(float)>> Function = MakeShared<TUniqueFunction<bool(float)>>(MoveTemp(InFunction));
	return AddTicker(FTickerDelegate::CreateLambda([Function](float DeltaTime) { return (*Function)(DeltaTime); }), InDelay);
}

void FTSTicker::RemoveTicker(FDelegateHandle Handle)
{
	if (TSharedPtr<FElement> Element = Handle.Pin())
	{
		// Marked here, dropped by the owning ticker's next Tick: the ticker need not be known.
		Element->bRemoved.store(true, std::memory_order_release);
	}
}

void FTSTicker::Tick(float DeltaTime)
{
	TArray<TSharedPtr<FElement>> ToTick;
	double Now;
	{
		std::lock_guard<std::mutex> Lock(Mutex);
		CurrentTime += DeltaTime;
		Now = CurrentTime;
		ToTick = MoveTemp(Elements);
	}

	TArray<TSharedPtr<FElement>> Kept;
	Kept.Reserve(ToTick.Num());
	for (TSharedPtr<FElement>& Element : ToTick)
	{
		if (Element->bRemoved.load(std::memory_order_acquire))
		{
			continue;
		}
		if (Element->FireTime > Now)
		{
			Kept.Add(Element);
			continue;
		}
		const bool bKeep = Element->Delegate.IsBound() && Element->Delegate.Execute(DeltaTime);
		if (bKeep && !Element->bRemoved.load(std::memory_order_acquire))
		{
			Element->FireTime = Now + Element->DelayTime;
			Kept.Add(Element);
		}
	}

	std::lock_guard<std::mutex> Lock(Mutex);
	// Tickers added while ticking go after those that were already there.
	Kept.Append(MoveTemp(Elements));
	Elements = MoveTemp(Kept);
}

void FTSTicker::Reset()
{
	std::lock_guard<std::mutex> Lock(Mutex);
	Elements.Empty();
}

FTSTickerObjectBase::FTSTickerObjectBase(float InDelay, FTSTicker& InTicker) : Ticker(InTicker)
{
	TickHandle = Ticker.AddTicker(FTickerDelegate::CreateRaw(this, &FTSTickerObjectBase::Tick), InDelay);
}

FTSTickerObjectBase::~FTSTickerObjectBase()
{
	FTSTicker::RemoveTicker(TickHandle);
}
