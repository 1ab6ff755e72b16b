// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Containers/Map.h"
#include "CoreMinimal.h"
#include "HttpThread.h"

#include <curl/curl.h>

class FCurlHttpRequest;

/** The HTTP thread running requests on one libcurl multi handle. */
class FCurlHttpThread : public FHttpThreadBase
{
public:
	explicit FCurlHttpThread(FHttpManager& InManager);
	virtual ~FCurlHttpThread();

protected:
	// FHttpThreadBase
	virtual bool StartThreadedRequest(FHttpRequestCommon* Request) override;
	virtual void CompleteThreadedRequest(FHttpRequestCommon* Request) override;
	virtual void TickTransport() override;
	virtual void WaitForTransport(double MaxWaitSeconds) override;
	virtual void WakeTransport() override;

private:
	CURLM* MultiHandle = nullptr;
	/** Easy handles in the multi handle, with their requests. */
	TMap<CURL*, FCurlHttpRequest*> HandlesToRequests;
};
