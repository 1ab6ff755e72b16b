// Copyright Quarn. All Rights Reserved.

#include "Unix/UnixPlatformHttp.h"

#include "Curl/CurlHttp.h"
#include "Http.h"

void FUnixPlatformHttp::Init()
{
	FGenericPlatformHttp::Init();

	if (!UE::Http::Private::IsCurlInitialized())
	{
		const CURLcode InitResult = curl_global_init(CURL_GLOBAL_ALL);
		if (InitResult == CURLE_OK)
		{
			UE::Http::Private::SetCurlInitialized(true);
			const curl_version_info_data* VersionInfo = curl_version_info(CURLVERSION_NOW);
			UE_LOG(LogHttp, Log, TEXT("Using libcurl %s"), ANSI_TO_TCHAR(VersionInfo ? VersionInfo->version : "(unknown)"));
		}
		else
		{
			UE_LOG(LogHttp, Error, TEXT("curl_global_init failed with code %d (%s)"), static_cast<int32>(InitResult), ANSI_TO_TCHAR(curl_easy_strerror(InitResult)));
		}
	}
}

FHttpManager* FUnixPlatformHttp::CreatePlatformHttpManager()
{
	// The default manager runs its requests on a libcurl HTTP thread.
	return nullptr;
}

void FUnixPlatformHttp::Shutdown()
{
	if (UE::Http::Private::IsCurlInitialized())
	{
		curl_global_cleanup();
		UE::Http::Private::SetCurlInitialized(false);
	}
	FGenericPlatformHttp::Shutdown();
}

IHttpRequest* FUnixPlatformHttp::ConstructRequest()
{
	return new FCurlHttpRequest();
}
