// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Interfaces/IHttpRequest.h"

/** The delegates every request implementation holds. */
class FHttpRequestImpl : public IHttpRequest
{
public:
	// IHttpRequest
	HTTP_API virtual FHttpRequestCompleteDelegate& OnProcessRequestComplete() override;
	HTTP_API virtual FHttpRequestProgressDelegate64& OnRequestProgress64() override;
	HTTP_API virtual FHttpRequestStatusCodeReceivedDelegate& OnStatusCodeReceived() override;
	HTTP_API virtual FHttpRequestHeaderReceivedDelegate& OnHeaderReceived() override;
	HTTP_API virtual FHttpRequestWillRetryDelegate& OnRequestWillRetry() override;

	/** Unbinds every delegate (the module is going away). */
	HTTP_API virtual void Shutdown();

protected:
	FHttpRequestCompleteDelegate RequestCompleteDelegate;
	FHttpRequestProgressDelegate64 RequestProgressDelegate64;
	FHttpRequestStatusCodeReceivedDelegate StatusCodeReceivedDelegate;
	FHttpRequestHeaderReceivedDelegate HeaderReceivedDelegate;
	FHttpRequestWillRetryDelegate OnRequestWillRetryDelegate;
};
