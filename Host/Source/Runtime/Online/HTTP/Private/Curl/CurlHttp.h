// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Containers/Queue.h"
#include "GenericPlatform/HttpRequestCommon.h"
#include "GenericPlatform/HttpResponseCommon.h"

#include <atomic>
#include <curl/curl.h>

/** Whether libcurl is initialised (handles may only be cleaned up while it is). */
namespace UE::Http::Private
{
	bool IsCurlInitialized();
	void SetCurlInitialized(bool bInitialized);
}

/**
 * A request run by libcurl's multi interface on the HTTP thread. The easy handle lives from
 * SetupRequest (in ProcessRequest) to CleanupRequest (when the request finishes).
 */
class FCurlHttpRequest : public FHttpRequestCommon
{
public:
	FCurlHttpRequest();
	virtual ~FCurlHttpRequest();

	// IHttpBase
	virtual TArray<FString> GetAllHeaders() const override;
	virtual FString GetContentType() const override;
	virtual uint64 GetContentLength() const override;
	virtual const TArray<uint8>& GetContent() const override;

	// IHttpRequest
	virtual FString GetVerb() const override;
	virtual void SetVerb(const FString& InVerb) override;
	virtual void SetOption(const FName Option, const FString& OptionValue) override;
	virtual void SetContent(const TArray<uint8>& ContentPayload) override;
	virtual void SetContent(TArray<uint8>&& ContentPayload) override;
	virtual void SetContentAsString(const FString& ContentString) override;
	virtual void AppendToHeader(const FString& HeaderName, const FString& AdditionalHeaderValue) override;
	virtual bool ProcessRequest() override;
	virtual void Tick(float DeltaSeconds) override;

	// FHttpRequestCommon
	virtual bool StartThreadedRequest() override;
	virtual bool IsThreadedRequestComplete() override;
	virtual void TickThreadedRequest(float DeltaSeconds) override;
	virtual void FinishRequest() override;
	virtual void AbortRequest() override;
	virtual void ClearInCaseOfRetry() override;

	CURL* GetEasyHandle() const { return EasyHandle; }

	/** HTTP thread: libcurl finished the transfer with this result. */
	void MarkAsCompleted(CURLcode InCurlCompletionResult);

	/** HTTP thread: the multi handle refused the request. */
	void SetAddToMultiResult(CURLMcode InResult) { CurlAddToMultiResult = InResult; }

	static FString CombineHeaderKeyValue(const FString& HeaderKey, const FString& HeaderValue);

protected:
	// FHttpRequestCommon
	virtual bool SetupRequest() override;
	virtual void CleanupRequest() override;
	virtual FHttpResponsePtr CreateResponse() override;

private:
	static size_t StaticUploadCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes, void* UserData);
	static int StaticSeekCallback(void* UserData, curl_off_t Offset, int Origin);
	static size_t StaticReceiveResponseHeaderCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes, void* UserData);
	static size_t StaticReceiveResponseBodyCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes, void* UserData);
	static int StaticDebugCallback(CURL* Handle, curl_infotype DebugInfoType, char* DebugInfo, size_t DebugInfoSize, void* UserData);

	size_t UploadCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes);
	int SeekCallback(curl_off_t Offset, int Origin);
	size_t ReceiveResponseHeaderCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes);
	size_t ReceiveResponseBodyCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes);
	int DebugCallback(CURL* Handle, curl_infotype DebugInfoType, char* DebugInfo, size_t DebugInfoSize);

	/** Any byte sent or received: starts (first time) or pushes back the activity time-out. */
	void OnAnyActivityOccur(FStringView Reason);

	bool InitEasyHandle();
	void DestroyEasyHandle();

	/** Game thread (or HTTP thread for that policy): reports progress when it changed. */
	void CheckProgressDelegate();
	/** Game thread: passes on headers the HTTP thread received. */
	void BroadcastNewlyReceivedHeaders();
	void LogCurlErrors() const;

	CURL* EasyHandle = nullptr;
	curl_slist* HeaderList = nullptr;
	FString Verb;
	TArray<uint8> RequestPayload;
	bool bIsRequestPayloadSeekable = true;

	std::atomic<bool> bCurlRequestCompleted = false;
	/** The response being received is a redirect; its headers are not the final ones. */
	bool bRedirected = false;
	CURLMcode CurlAddToMultiResult = CURLM_OK;
	CURLcode CurlCompletionResult = CURLE_OK;
	bool bAnyHttpActivity = false;

	std::atomic<uint64> BytesSent = 0;
	std::atomic<uint64> TotalBytesSent = 0;
	std::atomic<uint64> TotalBytesRead = 0;
	uint64 LastReportedBytesRead = 0;
	uint64 LastReportedBytesSent = 0;

	/** Headers received on the HTTP thread, waiting to be passed on on the game thread. */
	TQueue<TPair<FString, FString>, EQueueMode::Mpsc> NewlyReceivedHeaders;

	char ErrorBuffer[CURL_ERROR_SIZE] = {};
};

class FCurlHttpResponse : public FHttpResponseCommon
{
public:
	FCurlHttpResponse(const FCurlHttpRequest& InRequest);

	// IHttpBase
	virtual TArray<FString> GetAllHeaders() const override;
	virtual FString GetContentType() const override;
	virtual uint64 GetContentLength() const override;

	/** From the Content-Length header, or the bytes received when there was none. */
	uint64 ContentLength = 0;
	/** Whether libcurl finished the transfer without an error. */
	bool bSucceeded = false;
};
