// Copyright Quarn. All Rights Reserved.

#include "Curl/CurlHttpThread.h"

#include "Curl/CurlHttp.h"
#include "Http.h"
#include "HttpModule.h"

FCurlHttpThread::FCurlHttpThread(FHttpManager& InManager)
	: FHttpThreadBase(InManager)
{
	MultiHandle = curl_multi_init();
	checkf(MultiHandle != nullptr, TEXT("Could not create the libcurl multi handle"));
	curl_multi_setopt(MultiHandle, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(FHttpModule::Get().GetHttpMaxConnectionsPerServer()));
}

FCurlHttpThread::~FCurlHttpThread()
{
	for (const TPair<CURL*, FCurlHttpRequest*>& Entry : HandlesToRequests)
	{
		curl_multi_remove_handle(MultiHandle, Entry.Key);
	}
	HandlesToRequests.Reset();
	curl_multi_cleanup(MultiHandle);
	MultiHandle = nullptr;
}

bool FCurlHttpThread::StartThreadedRequest(FHttpRequestCommon* Request)
{
	FCurlHttpRequest* CurlRequest = static_cast<FCurlHttpRequest*>(Request);
	if (!CurlRequest->StartThreadedRequest())
	{
		return false;
	}

	CURL* const EasyHandle = CurlRequest->GetEasyHandle();
	const CURLMcode AddResult = curl_multi_add_handle(MultiHandle, EasyHandle);
	if (AddResult != CURLM_OK)
	{
		UE_LOG(LogHttp, Warning, TEXT("Failed to add easy handle %p to multi handle with code %d"), EasyHandle, static_cast<int32>(AddResult));
		CurlRequest->SetAddToMultiResult(AddResult);
		return false;
	}
	HandlesToRequests.Add(EasyHandle, CurlRequest);
	return true;
}

void FCurlHttpThread::CompleteThreadedRequest(FHttpRequestCommon* Request)
{
	CURL* const EasyHandle = static_cast<FCurlHttpRequest*>(Request)->GetEasyHandle();
	if (EasyHandle != nullptr && HandlesToRequests.Remove(EasyHandle) > 0)
	{
		curl_multi_remove_handle(MultiHandle, EasyHandle);
	}
}

void FCurlHttpThread::TickTransport()
{
	if (HandlesToRequests.IsEmpty())
	{
		return;
	}

	int RunningRequests = -1;
	curl_multi_perform(MultiHandle, &RunningRequests);

	int MessagesInQueue = 0;
	while (CURLMsg* Message = curl_multi_info_read(MultiHandle, &MessagesInQueue))
	{
		if (Message->msg != CURLMSG_DONE)
		{
			continue;
		}
		CURL* const EasyHandle = Message->easy_handle;
		const CURLcode Result = Message->data.result;
		FCurlHttpRequest* Request = nullptr;
		if (HandlesToRequests.RemoveAndCopyValue(EasyHandle, Request))
		{
			curl_multi_remove_handle(MultiHandle, EasyHandle);
			Request->MarkAsCompleted(Result);
		}
	}
}

void FCurlHttpThread::WaitForTransport(double MaxWaitSeconds)
{
	const int TimeoutMs = static_cast<int>(MaxWaitSeconds * 1000.0);
	curl_multi_poll(MultiHandle, nullptr, 0, TimeoutMs > 0 ? TimeoutMs : 0, nullptr);
}

void FCurlHttpThread::WakeTransport()
{
	curl_multi_wakeup(MultiHandle);
}
