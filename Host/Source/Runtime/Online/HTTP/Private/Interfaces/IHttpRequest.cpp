// Copyright Quarn. All Rights Reserved.

#include "Interfaces/IHttpRequest.h"

#include "Http.h"

namespace HttpRequestOptions
{
	const FName HttpVersion(TEXT("HttpVersion"));
	const FName RequestMode(TEXT("RequestMode"));
	const FName EnableCookies(TEXT("EnableCookies"));
}

const TCHAR* LexToString(EHttpRequestMode Mode)
{
	switch (Mode)
	{
	case EHttpRequestMode::ThreadedRequest: return TEXT("ThreadedRequest");
	case EHttpRequestMode::ImmediateRequest: return TEXT("ImmediateRequest");
	}
	return TEXT("Invalid");
}

bool IHttpRequest::SetResponseBodyReceiveStreamDelegateV2(FHttpRequestStreamDelegateV2 StreamDelegate)
{
	// Streaming needs archives, which this platform's requests do not take; bodies stay in the response.
	UE_LOG(LogHttp, Warning, TEXT("SetResponseBodyReceiveStreamDelegateV2 is not supported; the body is kept in the response. URL=%s"), *GetURL());
	return false;
}
