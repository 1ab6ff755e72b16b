// Copyright Quarn. All Rights Reserved.

#pragma once

#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "CoreMinimal.h"
#include "Interfaces/IHttpRequest.h"
#include "Misc/AssertionMacros.h"
#include "Modules/ModuleInterface.h"
#include "Templates/SharedPointer.h"

class FHttpManager;
class IHttpRequest;

/**
 * The HTTP module: creates requests and owns the manager that runs them. Settings come from the
 * [HTTP] section of the engine ini.
 */
class FHttpModule :
	public IModuleInterface
{
public:
	/** The loaded module; loads it on first use (on the game thread). */
	HTTP_API static FHttpModule& Get();

	/** Re-reads the settings from the [HTTP] section of the engine ini. */
	HTTP_API void UpdateConfigs();

	/** A new request for this platform (never null). */
	HTTP_API virtual TSharedRef<IHttpRequest, ESPMode::ThreadSafe> CreateRequest();

	/** The manager holding the requests in flight. */
	inline FHttpManager& GetHttpManager()
	{
		check(HttpManager != nullptr);
		return *HttpManager;
	}

	/** Seconds for a whole request to complete; 0 means no limit. */
	inline float GetHttpTotalTimeout() const
	{
		return HttpTotalTimeout;
	}

	/** Seconds to establish a connection. */
	inline float GetHttpConnectionTimeout() const
	{
		return HttpConnectionTimeout;
	}

	/** Seconds without any activity on an established connection before giving up on it. */
	inline float GetHttpActivityTimeout() const
	{
		return HttpActivityTimeout;
	}

	inline int32 GetHttpMaxConnectionsPerServer() const
	{
		return HttpMaxConnectionsPerServer;
	}

	inline int32 GetMaxReadBufferSize() const
	{
		return MaxReadBufferSize;
	}

	inline void SetMaxReadBufferSize(int32 SizeInBytes)
	{
		MaxReadBufferSize = SizeInBytes;
	}

	/** False when the ini disables HTTP: every request then fails before it starts. */
	inline bool IsHttpEnabled() const
	{
		return bEnableHttp;
	}

	inline void ToggleNullHttp(bool bEnabled)
	{
		bUseNullHttp = bEnabled;
	}

	inline bool IsNullHttpEnabled() const
	{
		return bUseNullHttp;
	}

	/** Least time a request takes to complete (for testing slow networks). */
	inline float GetHttpDelayTime() const
	{
		return HttpDelayTime;
	}

	inline void SetHttpDelayTime(float InHttpDelayTime)
	{
		HttpDelayTime = InHttpDelayTime;
	}

	inline float GetHttpThreadActiveFrameTimeInSeconds() const
	{
		return HttpThreadActiveFrameTimeInSeconds;
	}

	inline void SetHttpThreadActiveFrameTimeInSeconds(float InHttpThreadActiveFrameTimeInSeconds)
	{
		HttpThreadActiveFrameTimeInSeconds = InHttpThreadActiveFrameTimeInSeconds;
	}

	inline float GetHttpThreadActiveMinimumSleepTimeInSeconds() const
	{
		return HttpThreadActiveMinimumSleepTimeInSeconds;
	}

	inline void SetHttpThreadActiveMinimumSleepTimeInSeconds(float InHttpThreadActiveMinimumSleepTimeInSeconds)
	{
		HttpThreadActiveMinimumSleepTimeInSeconds = InHttpThreadActiveMinimumSleepTimeInSeconds;
	}

	inline float GetHttpThreadIdleFrameTimeInSeconds() const
	{
		return HttpThreadIdleFrameTimeInSeconds;
	}

	inline void SetHttpThreadIdleFrameTimeInSeconds(float InHttpThreadIdleFrameTimeInSeconds)
	{
		HttpThreadIdleFrameTimeInSeconds = InHttpThreadIdleFrameTimeInSeconds;
	}

	inline float GetHttpThreadIdleMinimumSleepTimeInSeconds() const
	{
		return HttpThreadIdleMinimumSleepTimeInSeconds;
	}

	inline void SetHttpThreadIdleMinimumSleepTimeInSeconds(float InHttpThreadIdleMinimumSleepTimeInSeconds)
	{
		HttpThreadIdleMinimumSleepTimeInSeconds = InHttpThreadIdleMinimumSleepTimeInSeconds;
	}

	inline float GetHttpEventLoopThreadTickIntervalInSeconds() const
	{
		return HttpEventLoopThreadTickIntervalInSeconds;
	}

	/** Headers added to every new request that does not set them itself. */
	const TMap<FString, FString>& GetDefaultHeaders() const { return DefaultHeaders; }

	/** Adds a header to requests created from now on (a request's own value wins). */
	void AddDefaultHeader(const FString& HeaderName, const FString& HeaderValue) { DefaultHeaders.Emplace(HeaderName, HeaderValue); }

	/** Proxy as IPADDRESS:PORT, or empty. */
	inline const FString& GetProxyAddress() const
	{
		return ProxyAddress;
	}

	inline void SetProxyAddress(const FString& InProxyAddress)
	{
		ProxyAddress = InProxyAddress;
	}

	/** Domains that bypass the proxy ("127.0.0.1,localhost,example.com"). */
	inline const FString& GetHttpNoProxy() const
	{
		return HttpNoProxy;
	}

	inline bool SupportsDynamicProxy() const
	{
		return bSupportsDynamicProxy;
	}

	// IModuleInterface
	HTTP_API virtual void StartupModule() override;
	HTTP_API virtual void PostLoadCallback() override;
	HTTP_API virtual void PreUnloadCallback() override;
	HTTP_API virtual void ShutdownModule() override;

protected:
	float HttpConnectionTimeout;
	/** 0 means no total time-out. */
	float HttpTotalTimeout;
	float HttpActivityTimeout;

private:
	FHttpManager* HttpManager = nullptr;
	float HttpReceiveTimeout;
	float HttpSendTimeout;
	float HttpDelayTime;
	float HttpThreadActiveFrameTimeInSeconds;
	float HttpThreadActiveMinimumSleepTimeInSeconds;
	float HttpThreadIdleFrameTimeInSeconds;
	float HttpThreadIdleMinimumSleepTimeInSeconds;
	float HttpEventLoopThreadTickIntervalInSeconds;
	int32 HttpMaxConnectionsPerServer;
	int32 MaxReadBufferSize;
	bool bEnableHttp;
	bool bUseNullHttp;
	TMap<FString, FString> DefaultHeaders;
	static FHttpModule* Singleton;
	/** Set once StartupModule ran; Get() does not load the module again after it shut down. */
	static bool bWasEverLoaded;
	FString ProxyAddress;
	FString HttpNoProxy;
	bool bSupportsDynamicProxy;
	TArray<FString> AllowedDomains;
};
