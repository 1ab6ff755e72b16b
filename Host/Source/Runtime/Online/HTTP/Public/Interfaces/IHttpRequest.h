// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Interfaces/IHttpBase.h"

class FArchive;
class IHttpRequest;
class IHttpResponse;

/** Which thread calls a request's delegates. */
enum class EHttpRequestDelegateThreadPolicy : uint8
{
	CompleteOnGameThread = 0,
	CompleteOnHttpThread,
};

/** Order of requests waiting for a connection; compared by value, lowest first. */
enum class EHttpRequestPriority : uint8
{
	Lowest = 0,
	Low,
	Normal,
	High,
	Highest
};

typedef TSharedPtr<IHttpRequest, ESPMode::ThreadSafe> FHttpRequestPtr;
typedef TSharedPtr<IHttpResponse, ESPMode::ThreadSafe> FHttpResponsePtr;

typedef TSharedRef<IHttpRequest, ESPMode::ThreadSafe> FHttpRequestRef;
typedef TSharedRef<IHttpResponse, ESPMode::ThreadSafe> FHttpResponseRef;

/**
 * Called once when a request completes.
 *
 * Response may be set even when processing failed: check its status, failure reason and code.
 * bProcessedSuccessfully means a response was received and processing completed; it does not
 * mean the status code is 2xx.
 */
using FHttpRequestCompleteDelegate = TTSDelegate<void(FHttpRequestPtr /*Request*/, FHttpResponsePtr /*Response*/, bool /*bProcessedSuccessfully*/)>;

/** Called when the status code of the (final, non-redirect) response arrives. */
using FHttpRequestStatusCodeReceivedDelegate = TTSDelegate<void(FHttpRequestPtr /*Request*/, int32 /*StatusCode*/)>;

/** Called for each response header received. */
using FHttpRequestHeaderReceivedDelegate = TTSDelegate<void(FHttpRequestPtr /*Request*/, const FString& /*HeaderName*/, const FString& /*NewHeaderValue*/)>;

/** Called on ticks where the number of bytes sent or received changed. */
using FHttpRequestProgressDelegate = TTSDelegate<void(FHttpRequestPtr /*Request*/, int32 /*BytesSent*/, int32 /*BytesReceived*/)>;

/** Called on ticks where the number of bytes sent or received changed. */
using FHttpRequestProgressDelegate64 = TTSDelegate<void(FHttpRequestPtr /*Request*/, uint64 /*BytesSent*/, uint64 /*BytesReceived*/)>;

/** Called when a request will be sent again after SecondsToRetry. */
using FHttpRequestWillRetryDelegate = TTSDelegate<void(FHttpRequestPtr /*Request*/, FHttpResponsePtr /*Response*/, float /*SecondsToRetry*/)>;

/** Streams a body: reads or writes Length bytes at Ptr; false on failure. */
using FHttpRequestStreamDelegate = TTSDelegate<bool(void* /*Ptr*/, int64 /*Length*/)>;

/** Streams a body: reads or writes InOutLength bytes at Ptr; sets InOutLength to 0 on failure. */
using FHttpRequestStreamDelegateV2 = TTSDelegate<void(void* /*Ptr*/, int64& /*InOutLength*/)>;

/** Options set with IHttpRequest::SetOption. */
namespace HttpRequestOptions
{
	extern HTTP_API const FName HttpVersion;
	extern HTTP_API const FName RequestMode;
	extern HTTP_API const FName EnableCookies;
}

/** Values of HttpRequestOptions::RequestMode, as LexToString(EHttpRequestMode::Value). */
enum class EHttpRequestMode : uint8
{
	/** Queued to the HTTP thread. */
	ThreadedRequest,
	/** Sent at once where the platform supports it. */
	ImmediateRequest
};

HTTP_API const TCHAR* LexToString(EHttpRequestMode Mode);

/** An HTTP request, created by FHttpModule::CreateRequest(). */
class IHttpRequest :
	public IHttpBase, public TSharedFromThis<IHttpRequest, ESPMode::ThreadSafe>
{
public:
	/** The verb (GET, PUT, POST, ...). */
	virtual FString GetVerb() const = 0;

	/** Sets the verb; GET when never set. Ignored while the request is in flight. */
	virtual void SetVerb(const FString& Verb) = 0;

	/** Sets the URL (http://host/path?key=value). Required; ignored while in flight. */
	virtual void SetURL(const FString& URL) = 0;

	/** Value of an option, or empty when never set. */
	virtual FString GetOption(const FName Option) const = 0;

	/** Sets an option (see HttpRequestOptions) before ProcessRequest. */
	virtual void SetOption(const FName Option, const FString& OptionValue) = 0;

	/** Sets the payload. */
	virtual void SetContent(const TArray<uint8>& ContentPayload) = 0;

	/** Sets the payload, taking ownership of the bytes. */
	virtual void SetContent(TArray<uint8>&& ContentPayload) = 0;

	/** Sets the payload to the string encoded as UTF-8. */
	virtual void SetContentAsString(const FString& ContentString) = 0;

	/** Streams the payload from a file; false if the file cannot be used. */
	virtual bool SetContentAsStreamedFile(const FString& Filename) = 0;

	/** Streams the payload from an archive (read on the HTTP thread). */
	virtual bool SetContentFromStream(TSharedRef<FArchive, ESPMode::ThreadSafe> Stream) = 0;

	/** Streams the response body into an archive instead of keeping it in the response. */
	virtual bool SetResponseBodyReceiveStream(TSharedRef<FArchive> Stream) = 0;

	/** Streams the response body to a delegate instead of keeping it in the response. */
	HTTP_API bool SetResponseBodyReceiveStreamDelegateV2(FHttpRequestStreamDelegateV2 StreamDelegate);

	/** Sets a header, replacing an earlier value. Content-Length is added for you. */
	virtual void SetHeader(const FString& HeaderName, const FString& HeaderValue) = 0;

	/** Appends to a header's value, separated by ", "; the same as SetHeader when unset. */
	virtual void AppendToHeader(const FString& HeaderName, const FString& AdditionalHeaderValue) = 0;

	/** Total time-out of this request (retries included), overriding the module's default. */
	virtual void SetTimeout(float InTimeoutSecs) = 0;

	/** Time-out without any send or receive activity once connected, overriding the default. */
	virtual void SetActivityTimeout(float InTimeoutSecs) = 0;

	/** Goes back to the module's default total time-out. */
	virtual void ClearTimeout() = 0;

	/** Forgets an elapsed total time-out, so a finished request can be used again. */
	virtual void ResetTimeoutStatus() = 0;

	/** This request's total time-out, if set. */
	virtual TOptional<float> GetTimeout() const = 0;

	/**
	 * Starts the request. The complete delegate is always called once, on completion or on error,
	 * if bound. A request can be used again, but not while in flight.
	 *
	 * @return whether the request was started.
	 */
	virtual bool ProcessRequest() = 0;

	virtual FHttpRequestCompleteDelegate& OnProcessRequestComplete() = 0;

	virtual FHttpRequestProgressDelegate64& OnRequestProgress64() = 0;

	virtual FHttpRequestWillRetryDelegate& OnRequestWillRetry() = 0;

	virtual FHttpRequestHeaderReceivedDelegate& OnHeaderReceived() = 0;

	virtual FHttpRequestStatusCodeReceivedDelegate& OnStatusCodeReceived() = 0;

	/** Cancels a request in flight; it still completes, as failed with reason Cancelled. */
	virtual void CancelRequest() = 0;

	virtual const FHttpResponsePtr GetResponse() const = 0;

	virtual void Tick(float DeltaSeconds) = 0;

	/** Time the server took to answer, in seconds. */
	virtual float GetElapsedTime() const = 0;

	/**
	 * Chooses the thread that calls this request's delegates. With CompleteOnHttpThread they can
	 * be called on any thread and must be thread-safe.
	 */
	virtual void SetDelegateThreadPolicy(EHttpRequestDelegateThreadPolicy InThreadPolicy) = 0;

	virtual EHttpRequestDelegateThreadPolicy GetDelegateThreadPolicy() const = 0;

	/**
	 * Blocks until the request completed. Uses the complete delegate itself (it must not be bound)
	 * and switches the request to CompleteOnHttpThread.
	 */
	virtual void ProcessRequestUntilComplete() = 0;

	virtual void SetPriority(EHttpRequestPriority InPriority) = 0;

	virtual EHttpRequestPriority GetPriority() const = 0;

	virtual ~IHttpRequest() = default;
};
