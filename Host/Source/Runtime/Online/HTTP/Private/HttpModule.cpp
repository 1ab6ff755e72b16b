// Copyright Quarn. All Rights Reserved.

#include "HttpModule.h"

#include "Http.h"
#include "HttpManager.h"
#include "Misc/ConfigCacheIni.h"
#include "Modules/ModuleManager.h"
#include "PlatformHttp.h"

DEFINE_LOG_CATEGORY(LogHttp);

IMPLEMENT_MODULE(FHttpModule, HTTP);

FHttpModule* FHttpModule::Singleton = nullptr;
bool FHttpModule::bWasEverLoaded = false;

namespace UE::Http::Private
{
	const TCHAR* const HttpConfigSection = TEXT("HTTP");

	// The engine's defaults, used when the ini does not set a value.
	constexpr float DefaultConnectionTimeout = 30.0f;
	constexpr float DefaultTotalTimeout = 0.0f;
	constexpr float DefaultActivityTimeout = 30.0f;
	constexpr int32 DefaultMaxConnectionsPerServer = 16;
	constexpr int32 DefaultMaxReadBufferSize = 256 * 1024;
}

FHttpModule& FHttpModule::Get()
{
	if (Singleton == nullptr && !bWasEverLoaded)
	{
		check(IsInGameThread());
		FModuleManager::LoadModuleChecked<FHttpModule>(TEXT("HTTP"));
	}
	checkf(Singleton != nullptr, TEXT("The HTTP module is not loaded (it was shut down)"));
	return *Singleton;
}

void FHttpModule::UpdateConfigs()
{
	using namespace UE::Http::Private;

	HttpConnectionTimeout = DefaultConnectionTimeout;
	HttpTotalTimeout = DefaultTotalTimeout;
	HttpActivityTimeout = DefaultActivityTimeout;
	HttpMaxConnectionsPerServer = DefaultMaxConnectionsPerServer;
	MaxReadBufferSize = DefaultMaxReadBufferSize;
	bEnableHttp = true;
	bUseNullHttp = false;
	HttpDelayTime = 0.0f;
	HttpThreadActiveFrameTimeInSeconds = 1.0f / 200.0f;
	HttpThreadActiveMinimumSleepTimeInSeconds = 0.0f;
	HttpThreadIdleFrameTimeInSeconds = 1.0f / 30.0f;
	HttpThreadIdleMinimumSleepTimeInSeconds = 0.0f;
	HttpEventLoopThreadTickIntervalInSeconds = 1.0f / 30.0f;
	HttpNoProxy.Reset();
	AllowedDomains.Reset();

	if (GConfig)
	{
		// The old single time-out key now means the activity time-out; the new key, read after it, wins.
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpTimeout"), HttpActivityTimeout, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpTotalTimeout"), HttpTotalTimeout, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpConnectionTimeout"), HttpConnectionTimeout, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpActivityTimeout"), HttpActivityTimeout, GEngineIni);
		GConfig->GetInt(HttpConfigSection, TEXT("HttpMaxConnectionsPerServer"), HttpMaxConnectionsPerServer, GEngineIni);
		GConfig->GetInt(HttpConfigSection, TEXT("MaxReadBufferSize"), MaxReadBufferSize, GEngineIni);
		GConfig->GetBool(HttpConfigSection, TEXT("bEnableHttp"), bEnableHttp, GEngineIni);
		GConfig->GetBool(HttpConfigSection, TEXT("bUseNullHttp"), bUseNullHttp, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpDelayTime"), HttpDelayTime, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpThreadActiveFrameTimeInSeconds"), HttpThreadActiveFrameTimeInSeconds, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpThreadActiveMinimumSleepTimeInSeconds"), HttpThreadActiveMinimumSleepTimeInSeconds, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpThreadIdleFrameTimeInSeconds"), HttpThreadIdleFrameTimeInSeconds, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpThreadIdleMinimumSleepTimeInSeconds"), HttpThreadIdleMinimumSleepTimeInSeconds, GEngineIni);
		GConfig->GetString(HttpConfigSection, TEXT("HttpNoProxy"), HttpNoProxy, GEngineIni);
		GConfig->GetArray(HttpConfigSection, TEXT("AllowedDomains"), AllowedDomains, GEngineIni);
	}

	// libcurl needs a positive connection time-out; a bad ini value must not stop every request.
	if (!(HttpConnectionTimeout > 0.0f))
	{
		UE_LOG(LogHttp, Warning, TEXT("[HTTP] HttpConnectionTimeout=%f is not positive; using %f"), HttpConnectionTimeout, DefaultConnectionTimeout);
		HttpConnectionTimeout = DefaultConnectionTimeout;
	}
	if (HttpTotalTimeout < 0.0f)
	{
		UE_LOG(LogHttp, Warning, TEXT("[HTTP] HttpTotalTimeout=%f is negative; using no total time-out"), HttpTotalTimeout);
		HttpTotalTimeout = 0.0f;
	}
	if (HttpActivityTimeout < 0.0f)
	{
		UE_LOG(LogHttp, Warning, TEXT("[HTTP] HttpActivityTimeout=%f is negative; using %f"), HttpActivityTimeout, DefaultActivityTimeout);
		HttpActivityTimeout = DefaultActivityTimeout;
	}

	HttpReceiveTimeout = HttpConnectionTimeout;
	HttpSendTimeout = HttpConnectionTimeout;
	if (GConfig)
	{
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpReceiveTimeout"), HttpReceiveTimeout, GEngineIni);
		GConfig->GetFloat(HttpConfigSection, TEXT("HttpSendTimeout"), HttpSendTimeout, GEngineIni);
	}

	ProxyAddress = FPlatformHttp::GetConfiguredProxyAddress();

	if (HttpManager != nullptr)
	{
		HttpManager->UpdateConfigs();
	}
}

TSharedRef<IHttpRequest, ESPMode::ThreadSafe> FHttpModule::CreateRequest()
{
	if (bUseNullHttp)
	{
		// The null implementation only exists for running without a network; this host always has one.
		UE_LOG(LogHttp, Warning, TEXT("bUseNullHttp is not supported by this platform; creating a real request"));
	}
	return TSharedRef<IHttpRequest, ESPMode::ThreadSafe>(FPlatformHttp::ConstructRequest());
}

void FHttpModule::StartupModule()
{
	Singleton = this;
	bWasEverLoaded = true;

	UpdateConfigs();

	FPlatformHttp::Init();

	HttpManager = FPlatformHttp::CreatePlatformHttpManager();
	if (HttpManager == nullptr)
	{
		HttpManager = new FHttpManager();
	}
	HttpManager->Initialize();
	bSupportsDynamicProxy = HttpManager->SupportsDynamicProxy();
}

void FHttpModule::PostLoadCallback()
{
}

void FHttpModule::PreUnloadCallback()
{
}

void FHttpModule::ShutdownModule()
{
	if (HttpManager != nullptr)
	{
		// Completes (as cancelled) whatever is still in flight, then stops the HTTP thread.
		HttpManager->Shutdown();
		delete HttpManager;
		HttpManager = nullptr;
	}

	FPlatformHttp::Shutdown();

	if (Singleton == this)
	{
		Singleton = nullptr;
	}
}
