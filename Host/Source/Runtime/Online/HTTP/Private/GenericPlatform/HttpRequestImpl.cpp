// Copyright Quarn. All Rights Reserved.

#include "GenericPlatform/HttpRequestImpl.h"

FHttpRequestCompleteDelegate& FHttpRequestImpl::OnProcessRequestComplete()
{
	return RequestCompleteDelegate;
}

FHttpRequestProgressDelegate64& FHttpRequestImpl::OnRequestProgress64()
{
	return RequestProgressDelegate64;
}

FHttpRequestStatusCodeReceivedDelegate& FHttpRequestImpl::OnStatusCodeReceived()
{
	return StatusCodeReceivedDelegate;
}

FHttpRequestHeaderReceivedDelegate& FHttpRequestImpl::OnHeaderReceived()
{
	return HeaderReceivedDelegate;
}

FHttpRequestWillRetryDelegate& FHttpRequestImpl::OnRequestWillRetry()
{
	return OnRequestWillRetryDelegate;
}

void FHttpRequestImpl::Shutdown()
{
	RequestCompleteDelegate.Unbind();
	RequestProgressDelegate64.Unbind();
	StatusCodeReceivedDelegate.Unbind();
	HeaderReceivedDelegate.Unbind();
	OnRequestWillRetryDelegate.Unbind();
}
