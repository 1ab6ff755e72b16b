// Copyright Quarn. All Rights Reserved.

#include "HttpManager.h"

#include "Curl/CurlHttpThread.h"
#include "GenericPlatform/HttpRequestCommon.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Http.h"
#include "HttpThread.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/OutputDevice.h"
#include "Misc/ScopeLock.h"

const TCHAR* LexToString(const EHttpFlushReason& FlushReason)
{
	switch (FlushReason)
	{
	case EHttpFlushReason::Default: return TEXT("Default");
	case EHttpFlushReason::Shutdown: return TEXT("Shutdown");
	case EHttpFlushReason::FullFlush: return TEXT("FullFlush");
	case EHttpFlushReason::Count: break;
	}
	return TEXT("Invalid");
}

FHttpManager::FHttpManager()
	: FTSTickerObjectBase(0.0f, FTSTicker::GetCoreTicker())
	, Thread(nullptr)
	, bFlushing(false)
{
	// Default: give requests time, then cancel them. Shutdown: cancel at once and wait for the
	// cancelled requests to complete. FullFlush: wait for as long as it takes.
	FlushTimeLimitsMap.Add(EHttpFlushReason::Default, FHttpFlushTimeLimit(2.0, 4.0));
	FlushTimeLimitsMap.Add(EHttpFlushReason::Shutdown, FHttpFlushTimeLimit(0.0, 5.0));
	FlushTimeLimitsMap.Add(EHttpFlushReason::FullFlush, FHttpFlushTimeLimit(-1.0, -1.0));
}

FHttpManager::~FHttpManager()
{
	if (Thread != nullptr)
	{
		Thread->StopThread();
		delete Thread;
		Thread = nullptr;
	}
}

void FHttpManager::Initialize()
{
	UpdateConfigs();
	if (Thread == nullptr)
	{
		Thread = CreateHttpThread();
		Thread->StartThread();
	}
}

void FHttpManager::Shutdown()
{
	Flush(EHttpFlushReason::Shutdown);

	if (Thread != nullptr)
	{
		Thread->StopThread();
		delete Thread;
		Thread = nullptr;
	}

	TArray<FHttpRequestRef> Abandoned;
	{
		FScopeLock Lock(&RequestLock);
		Abandoned = MoveTemp(Requests);
		Requests.Reset();
	}
	for (const FHttpRequestRef& Request : Abandoned)
	{
		UE_LOG(LogHttp, Warning, TEXT("Abandoning request at shutdown: verb=[%s] url=[%s] status=%s"), *Request->GetVerb(), *Request->GetURL(), EHttpRequestStatus::ToString(Request->GetStatus()));
		StaticCastSharedRef<FHttpRequestCommon>(Request)->Shutdown();
	}

	FScopeLock Lock(&GameThreadTasksLock);
	GameThreadTasks.Reset();
}

void FHttpManager::SetRequestAddedDelegate(const FHttpManagerRequestAddedDelegate& Delegate)
{
	RequestAddedDelegate = Delegate;
}

void FHttpManager::SetRequestCompletedDelegate(const FHttpManagerRequestCompletedDelegate& Delegate)
{
	RequestCompletedDelegate = Delegate;
}

void FHttpManager::RemoveRequest(const FHttpRequestRef& Request)
{
	FScopeLock Lock(&RequestLock);
	Requests.RemoveSingle(Request);
}

bool FHttpManager::IsValidRequest(const IHttpRequest* RequestPtr) const
{
	FScopeLock Lock(&RequestLock);
	for (const FHttpRequestRef& Request : Requests)
	{
		if (&Request.Get() == RequestPtr)
		{
			return true;
		}
	}
	return false;
}

void FHttpManager::Flush(EHttpFlushReason FlushReason)
{
	const FHttpFlushTimeLimit* const Limits = FlushTimeLimitsMap.Find(FlushReason);
	const double SoftLimitSeconds = Limits ? Limits->SoftLimitSeconds : -1.0;
	const double HardLimitSeconds = Limits ? Limits->HardLimitSeconds : -1.0;

	bFlushing = true;

	const double BeginWaitTime = FPlatformTime::Seconds();
	double LastTime = BeginWaitTime;
	bool bCancelled = false;
	for (;;)
	{
		int32 NumRequests = 0;
		{
			FScopeLock Lock(&RequestLock);
			NumRequests = Requests.Num();
		}
		if (NumRequests == 0)
		{
			break;
		}

		const double AppTime = FPlatformTime::Seconds();
		if (!bCancelled && SoftLimitSeconds >= 0.0 && AppTime - BeginWaitTime >= SoftLimitSeconds)
		{
			TArray<FHttpRequestRef> ToCancel;
			{
				FScopeLock Lock(&RequestLock);
				ToCancel = Requests;
			}
			UE_LOG(LogHttp, Log, TEXT("Flush (%s): cancelling %d request(s) still in flight"), LexToString(FlushReason), ToCancel.Num());
			for (const FHttpRequestRef& Request : ToCancel)
			{
				Request->CancelRequest();
			}
			bCancelled = true;
		}
		if (HardLimitSeconds >= 0.0 && AppTime - BeginWaitTime >= HardLimitSeconds)
		{
			UE_LOG(LogHttp, Warning, TEXT("Flush (%s): gave up after %.3fs with %d request(s) still in flight"), LexToString(FlushReason), AppTime - BeginWaitTime, NumRequests);
			break;
		}

		FlushTick(static_cast<float>(AppTime - LastTime));
		LastTime = AppTime;
		FPlatformProcess::Sleep(0.005f);
	}

	// Completions queued for the game thread during the flush still run.
	FlushTick(static_cast<float>(FPlatformTime::Seconds() - LastTime));

	bFlushing = false;
}

bool FHttpManager::Tick(float DeltaSeconds)
{
	// Tasks due now, taken out first: a task may queue more, which wait for a later tick.
	TArray<TFunction<void()>> DueTasks;
	{
		const double Now = FPlatformTime::Seconds();
		FScopeLock Lock(&GameThreadTasksLock);
		for (int32 Index = 0; Index < GameThreadTasks.Num();)
		{
			if (GameThreadTasks[Index].RunAtSeconds <= Now)
			{
				DueTasks.Add(MoveTemp(GameThreadTasks[Index].Task));
				GameThreadTasks.RemoveAt(Index);
			}
			else
			{
				++Index;
			}
		}
	}
	for (TFunction<void()>& Task : DueTasks)
	{
		Task();
	}

	if (Thread != nullptr)
	{
		// A copy: delegates called from Tick may start or finish requests.
		TArray<FHttpRequestRef> RequestsToTick;
		{
			FScopeLock Lock(&RequestLock);
			RequestsToTick = Requests;
		}
		for (const FHttpRequestRef& Request : RequestsToTick)
		{
			Request->Tick(DeltaSeconds);
		}

		TArray<FHttpThreadBase::FRequestRef> CompletedRequests;
		Thread->GetCompletedRequests(CompletedRequests);
		for (const FHttpThreadBase::FRequestRef& Completed : CompletedRequests)
		{
			const FHttpRequestRef CompletedRequest = Completed;
			RemoveRequest(CompletedRequest);
			Completed->FinishRequest();
			BroadcastHttpRequestCompleted(CompletedRequest);
		}
	}

	return true;
}

void FHttpManager::FlushTick(float DeltaSeconds)
{
	Tick(DeltaSeconds);
}

void FHttpManager::AddRequest(const FHttpRequestRef& Request)
{
	FScopeLock Lock(&RequestLock);
	UE_CLOG(bFlushing, LogHttp, Warning, TEXT("Request added while flushing: url=[%s]"), *Request->GetURL());
	Requests.Add(Request);
}

void FHttpManager::AddThreadedRequest(const TSharedRef<FHttpRequestCommon, ESPMode::ThreadSafe>& Request)
{
	const FHttpRequestRef AsRequest = Request;
	AddRequest(AsRequest);
	RequestAddedDelegate.ExecuteIfBound(AsRequest);
	if (Thread != nullptr)
	{
		Thread->AddRequest(Request);
	}
	else
	{
		UE_LOG(LogHttp, Warning, TEXT("HTTP thread not running; request cannot start: url=[%s]"), *Request->GetURL());
	}
}

void FHttpManager::CancelThreadedRequest(const TSharedRef<FHttpRequestCommon, ESPMode::ThreadSafe>& Request)
{
	if (Thread != nullptr)
	{
		Thread->CancelRequest(Request);
	}
}

void FHttpManager::DumpRequests(FOutputDevice& Ar) const
{
	FScopeLock Lock(&RequestLock);
	Ar.Logf(TEXT("------- (%d) Http Requests"), Requests.Num());
	for (const FHttpRequestRef& Request : Requests)
	{
		Ar.Logf(TEXT("	verb=[%s] url=[%s] status=%s"), *Request->GetVerb(), *Request->GetURL(), EHttpRequestStatus::ToString(Request->GetStatus()));
	}
}

bool FHttpManager::SupportsDynamicProxy() const
{
	return true;
}

bool FHttpManager::IsDomainAllowed(const FString& Url) const
{
	if (AllowedDomains.IsEmpty())
	{
		return true;
	}
	const FString Domain = FPlatformHttp::GetUrlDomain(Url);
	for (const FString& AllowedDomain : AllowedDomains)
	{
		if (Domain.EndsWith(AllowedDomain))
		{
			return true;
		}
	}
	return false;
}

void FHttpManager::UpdateConfigs()
{
	AllowedDomains.Reset();
	if (GConfig)
	{
		GConfig->GetArray(TEXT("HTTP"), TEXT("AllowedDomains"), AllowedDomains, GEngineIni);
	}
}

void FHttpManager::AddGameThreadTask(TFunction<void()>&& Task, float Delay)
{
	if (!Task)
	{
		return;
	}
	FScopeLock Lock(&GameThreadTasksLock);
	FGameThreadTask& Entry = GameThreadTasks.AddDefaulted_GetRef();
	Entry.RunAtSeconds = FPlatformTime::Seconds() + (Delay > 0.0f ? Delay : 0.0f);
	Entry.Task = MoveTemp(Task);
}

TSharedPtr<IHttpTaskTimerHandle> FHttpManager::AddHttpThreadTask(TFunction<void()>&& Task, float InDelay)
{
	if (Thread == nullptr || !Task)
	{
		UE_CLOG(Thread == nullptr, LogHttp, Warning, TEXT("AddHttpThreadTask: the HTTP thread is not running; task dropped"));
		return nullptr;
	}
	return Thread->AddTask(MoveTemp(Task), InDelay);
}

void FHttpManager::RemoveHttpThreadTask(TSharedPtr<IHttpTaskTimerHandle> HttpTaskTimerHandle)
{
	if (Thread != nullptr)
	{
		Thread->RemoveTask(HttpTaskTimerHandle);
	}
}

FHttpThreadBase* FHttpManager::GetThread()
{
	return Thread;
}

void FHttpManager::BroadcastHttpRequestCompleted(const FHttpRequestRef& Request)
{
	RequestCompletedDelegate.ExecuteIfBound(Request);
}

FHttpThreadBase* FHttpManager::CreateHttpThread()
{
	return new FCurlHttpThread(*this);
}
