// Copyright Quarn. All Rights Reserved.

#include "Curl/CurlHttp.h"

#include "Containers/StringConv.h"
#include "Host/HttpHost.h"
#include "Http.h"
#include "HttpManager.h"
#include "HttpModule.h"

#include <cstdio>

namespace UE::Http::Private
{
	namespace
	{
		std::atomic<bool> bCurlInitialized = false;
		/** What one TArray can hold; lowered by tests through UE::Host::SetHttpMaxInMemoryResponseBytes. */
		std::atomic<int64> MaxInMemoryResponseBytes = MAX_int32;
	}

	bool IsCurlInitialized()
	{
		return bCurlInitialized;
	}

	void SetCurlInitialized(bool bInitialized)
	{
		bCurlInitialized = bInitialized;
	}
}

namespace UE::Host
{
	void SetHttpMaxInMemoryResponseBytes(int64 MaxBytes)
	{
		UE::Http::Private::MaxInMemoryResponseBytes = (MaxBytes > 0 && MaxBytes <= MAX_int32) ? MaxBytes : int64(MAX_int32);
	}

	int64 GetHttpMaxInMemoryResponseBytes()
	{
		return UE::Http::Private::MaxInMemoryResponseBytes;
	}
}

namespace
{
	/** CA bundles of the usual Linux distributions, for https. */
	const char* FindCertBundlePath()
	{
		static const char* const KnownBundlePaths[] =
		{
			"/etc/pki/tls/certs/ca-bundle.crt",
			"/etc/ssl/certs/ca-certificates.crt",
			"/etc/ssl/ca-bundle.pem"
		};
		for (const char* BundlePath : KnownBundlePaths)
		{
			if (FILE* File = std::fopen(BundlePath, "r"))
			{
				std::fclose(File);
				return BundlePath;
			}
		}
		return nullptr;
	}
}

FCurlHttpRequest::FCurlHttpRequest()
	: Verb(TEXT("GET"))
{
	const TMap<FString, FString>& DefaultHeaders = FHttpModule::Get().GetDefaultHeaders();
	for (const TPair<FString, FString>& Header : DefaultHeaders)
	{
		SetHeader(Header.Key, Header.Value);
	}
	bUsePlatformActivityTimeout = false;
}

FCurlHttpRequest::~FCurlHttpRequest()
{
	DestroyEasyHandle();
}

bool FCurlHttpRequest::InitEasyHandle()
{
	check(!EasyHandle);

	EasyHandle = curl_easy_init();
	if (!EasyHandle)
	{
		UE_LOG(LogHttp, Error, TEXT("%p: Failed to initialize curl easy handle"), this);
		return false;
	}

	// The debug callback tracks activity for the activity time-out.
	curl_easy_setopt(EasyHandle, CURLOPT_DEBUGDATA, this);
	curl_easy_setopt(EasyHandle, CURLOPT_DEBUGFUNCTION, StaticDebugCallback);
	curl_easy_setopt(EasyHandle, CURLOPT_VERBOSE, 1L);
	curl_easy_setopt(EasyHandle, CURLOPT_ERRORBUFFER, ErrorBuffer);

	curl_easy_setopt(EasyHandle, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
	curl_easy_setopt(EasyHandle, CURLOPT_SSL_VERIFYPEER, 1L);
	curl_easy_setopt(EasyHandle, CURLOPT_FOLLOWLOCATION, 1L);
	// Required for handles used from several threads.
	curl_easy_setopt(EasyHandle, CURLOPT_NOSIGNAL, 1L);
	curl_easy_setopt(EasyHandle, CURLOPT_PRIVATE, this);

	const FString& ProxyAddress = FHttpModule::Get().GetProxyAddress();
	if (!ProxyAddress.IsEmpty())
	{
		curl_easy_setopt(EasyHandle, CURLOPT_PROXY, TCHAR_TO_ANSI(*ProxyAddress));
	}
	const FString& HttpNoProxy = FHttpModule::Get().GetHttpNoProxy();
	if (!HttpNoProxy.IsEmpty())
	{
		curl_easy_setopt(EasyHandle, CURLOPT_NOPROXY, TCHAR_TO_ANSI(*HttpNoProxy));
	}

	static const char* const CertBundlePath = FindCertBundlePath();
	curl_easy_setopt(EasyHandle, CURLOPT_CAINFO, CertBundlePath);
	curl_easy_setopt(EasyHandle, CURLOPT_SSLCERTTYPE, "PEM");

	return true;
}

void FCurlHttpRequest::DestroyEasyHandle()
{
	if (!EasyHandle && !HeaderList)
	{
		return;
	}
	if (UE::Http::Private::IsCurlInitialized())
	{
		if (EasyHandle)
		{
			curl_easy_cleanup(EasyHandle);
			EasyHandle = nullptr;
		}
		if (HeaderList)
		{
			curl_slist_free_all(HeaderList);
			HeaderList = nullptr;
		}
	}
	else
	{
		// libcurl was shut down while this request was still referenced; its handles cannot be freed.
		UE_LOG(LogHttp, Warning, TEXT("Curl library has already been shut down. Curl handles will be leaked. Flush all HTTP requests before shutting down the HTTP module to avoid this."));
		EasyHandle = nullptr;
		HeaderList = nullptr;
	}
}

FString FCurlHttpRequest::CombineHeaderKeyValue(const FString& HeaderKey, const FString& HeaderValue)
{
	FString Combined;
	Combined.Reserve(HeaderKey.Len() + 2 + HeaderValue.Len());
	Combined.Append(HeaderKey);
	Combined.Append(TEXT(": "));
	Combined.Append(HeaderValue);
	return Combined;
}

TArray<FString> FCurlHttpRequest::GetAllHeaders() const
{
	TArray<FString> Result;
	Result.Reserve(RequestHeaders.Num());
	for (const TPair<FString, FString>& It : RequestHeaders)
	{
		Result.Emplace(CombineHeaderKeyValue(It.Key, It.Value));
	}
	return Result;
}

FString FCurlHttpRequest::GetContentType() const
{
	return GetHeader(TEXT("Content-Type"));
}

uint64 FCurlHttpRequest::GetContentLength() const
{
	return static_cast<uint64>(RequestPayload.Num());
}

const TArray<uint8>& FCurlHttpRequest::GetContent() const
{
	return RequestPayload;
}

FString FCurlHttpRequest::GetVerb() const
{
	return Verb;
}

void FCurlHttpRequest::SetVerb(const FString& InVerb)
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("FCurlHttpRequest::SetVerb() - attempted to set verb on a request that is inflight"));
		return;
	}
	Verb = InVerb.ToUpper();
}

void FCurlHttpRequest::SetOption(const FName Option, const FString& OptionValue)
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("FCurlHttpRequest::SetOption() - attempted to set option on a request that is inflight"));
		return;
	}
	FHttpRequestCommon::SetOption(Option, OptionValue);
}

void FCurlHttpRequest::SetContent(const TArray<uint8>& ContentPayload)
{
	SetContent(TArray<uint8>(ContentPayload));
}

void FCurlHttpRequest::SetContent(TArray<uint8>&& ContentPayload)
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("FCurlHttpRequest::SetContent() - attempted to set content on a request that is inflight"));
		return;
	}
	RequestPayload = MoveTemp(ContentPayload);
	bIsRequestPayloadSeekable = true;
}

void FCurlHttpRequest::SetContentAsString(const FString& ContentString)
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("FCurlHttpRequest::SetContentAsString() - attempted to set content on a request that is inflight"));
		return;
	}
	const FTCHARToUTF8 Converted(*ContentString, ContentString.Len());
	TArray<uint8> Buffer;
	Buffer.Append(reinterpret_cast<const uint8*>(Converted.Get()), Converted.Length());
	RequestPayload = MoveTemp(Buffer);
	bIsRequestPayloadSeekable = true;
}

void FCurlHttpRequest::AppendToHeader(const FString& HeaderName, const FString& AdditionalHeaderValue)
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("FCurlHttpRequest::AppendToHeader() - attempted to append to header on a request that is inflight"));
		return;
	}
	if (!HeaderName.IsEmpty() && !AdditionalHeaderValue.IsEmpty())
	{
		const FString* PreviousValue = RequestHeaders.Find(HeaderName);
		FString NewValue;
		if (PreviousValue != nullptr && !PreviousValue->IsEmpty())
		{
			NewValue = (*PreviousValue) + TEXT(", ");
		}
		NewValue += AdditionalHeaderValue;
		SetHeader(HeaderName, NewValue);
	}
}

size_t FCurlHttpRequest::StaticUploadCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes, void* UserData)
{
	return static_cast<FCurlHttpRequest*>(UserData)->UploadCallback(Ptr, SizeInBlocks, BlockSizeInBytes);
}

int FCurlHttpRequest::StaticSeekCallback(void* UserData, curl_off_t Offset, int Origin)
{
	return static_cast<FCurlHttpRequest*>(UserData)->SeekCallback(Offset, Origin);
}

size_t FCurlHttpRequest::StaticReceiveResponseHeaderCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes, void* UserData)
{
	return static_cast<FCurlHttpRequest*>(UserData)->ReceiveResponseHeaderCallback(Ptr, SizeInBlocks, BlockSizeInBytes);
}

size_t FCurlHttpRequest::StaticReceiveResponseBodyCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes, void* UserData)
{
	FCurlHttpRequest* Request = static_cast<FCurlHttpRequest*>(UserData);
	const size_t Result = Request->ReceiveResponseBodyCallback(Ptr, SizeInBlocks, BlockSizeInBytes);
	if (Request->DelegateThreadPolicy == EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread)
	{
		Request->CheckProgressDelegate();
	}
	return Result;
}

int FCurlHttpRequest::StaticDebugCallback(CURL* Handle, curl_infotype DebugInfoType, char* DebugInfo, size_t DebugInfoSize, void* UserData)
{
	return static_cast<FCurlHttpRequest*>(UserData)->DebugCallback(Handle, DebugInfoType, DebugInfo, DebugInfoSize);
}

size_t FCurlHttpRequest::ReceiveResponseHeaderCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes)
{
	InitResponse();
	OnAnyActivityOccur(TEXTVIEW("Received header"));

	const size_t HeaderSize = SizeInBlocks * BlockSizeInBytes;
	if (HeaderSize == 0 || HeaderSize > CURL_MAX_HTTP_HEADER)
	{
		UE_LOG(LogHttp, Warning, TEXT("%p: Could not process response header for request - header size (%d) is invalid."), this, static_cast<int32>(HeaderSize));
		return 0;
	}

	TArray<ANSICHAR> AnsiHeader;
	AnsiHeader.AddUninitialized(static_cast<int32>(HeaderSize) + 1);
	FMemory::Memcpy(AnsiHeader.GetData(), Ptr, HeaderSize);
	AnsiHeader[static_cast<int32>(HeaderSize)] = 0;

	FString Header(ANSI_TO_TCHAR(AnsiHeader.GetData()));
	Header.ReplaceInline(TEXT("\n"), TEXT(""));
	Header.ReplaceInline(TEXT("\r"), TEXT(""));

	FString HeaderKey;
	FString HeaderValue;
	if (Header.Split(TEXT(":"), &HeaderKey, &HeaderValue))
	{
		HeaderValue.TrimStartInline();
		// A redirect's headers are not the response's.
		if (!HeaderKey.IsEmpty() && !HeaderValue.IsEmpty() && !bRedirected)
		{
			if (HeaderKey == TEXT("Content-Length"))
			{
				StaticCastSharedPtr<FCurlHttpResponse>(ResponseCommon)->ContentLength = FCString::Atoi64(*HeaderValue);
			}

			// A repeated header keeps every value, joined with ", ".
			FString NewValue;
			if (const FString* PreviousValue = ResponseCommon->Headers.Find(HeaderKey))
			{
				if (!PreviousValue->IsEmpty())
				{
					NewValue = *PreviousValue + TEXT(", ");
				}
			}
			NewValue += HeaderValue;
			ResponseCommon->Headers.Add(HeaderKey, MoveTemp(NewValue));

			if (DelegateThreadPolicy == EHttpRequestDelegateThreadPolicy::CompleteOnHttpThread)
			{
				OnHeaderReceived().ExecuteIfBound(SharedThis(this), HeaderKey, HeaderValue);
			}
			else if (OnHeaderReceived().IsBound())
			{
				NewlyReceivedHeaders.Enqueue(TPair<FString, FString>(MoveTemp(HeaderKey), MoveTemp(HeaderValue)));
			}
		}
	}
	else if (Header.IsEmpty())
	{
		// The blank line after the headers: the URL they answered is known.
		char* EffectiveUrlPtr = nullptr;
		if (curl_easy_getinfo(EasyHandle, CURLINFO_EFFECTIVE_URL, &EffectiveUrlPtr) == CURLE_OK && EffectiveUrlPtr)
		{
			SetEffectiveURL(FString(UTF8_TO_TCHAR(EffectiveUrlPtr)));
		}
	}
	else
	{
		// The status line.
		long HttpCode = 0;
		if (curl_easy_getinfo(EasyHandle, CURLINFO_RESPONSE_CODE, &HttpCode) == CURLE_OK)
		{
			bRedirected = (HttpCode >= 300 && HttpCode < 400) && (HttpCode != 304);
			if (!bRedirected)
			{
				TriggerStatusCodeReceivedDelegate(static_cast<int32>(HttpCode));
			}
		}
	}
	return HeaderSize;
}

size_t FCurlHttpRequest::ReceiveResponseBodyCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes)
{
	InitResponse();
	OnAnyActivityOccur(TEXTVIEW("Received body"));

	const size_t SizeToDownload = SizeInBlocks * BlockSizeInBytes;
	if (SizeToDownload == 0)
	{
		return 0;
	}

	const uint64 CurrentBytesRead = TotalBytesRead.load();
	const uint64 NewTotalSize = CurrentBytesRead + SizeToDownload;
	const int64 MaxBytes = UE::Host::GetHttpMaxInMemoryResponseBytes();
	if (NewTotalSize > static_cast<uint64>(MaxBytes))
	{
		// Returning less than was given makes libcurl stop the transfer (CURLE_WRITE_ERROR).
		UE_LOG(LogHttp, Warning, TEXT("%p: ReceiveResponseBodyCallback: Payload size exceeds %lld bytes: %llu bytes"), this, MaxBytes, NewTotalSize);
		SetFailureReason(EHttpFailureReason::ResponseTooLarge);
		return 0;
	}

	TSharedPtr<FCurlHttpResponse, ESPMode::ThreadSafe> Response = StaticCastSharedPtr<FCurlHttpResponse>(ResponseCommon);
	const uint64 ContentLength = Response->ContentLength;
	// Reserve once for a body of known length, avoiding reallocations.
	if (Response->Payload.IsEmpty() && ContentLength > 0 && ContentLength <= static_cast<uint64>(MaxBytes))
	{
		Response->Payload.Reserve(static_cast<int32>(ContentLength));
	}
	Response->Payload.Append(static_cast<const uint8*>(Ptr), static_cast<int32>(SizeToDownload));

	TotalBytesRead += SizeToDownload;
	return SizeToDownload;
}

size_t FCurlHttpRequest::UploadCallback(void* Ptr, size_t SizeInBlocks, size_t BlockSizeInBytes)
{
	OnAnyActivityOccur(TEXTVIEW("Upload callback"));

	const size_t MaxBufferSize = SizeInBlocks * BlockSizeInBytes;
	const uint64 SizeAlreadySent = BytesSent.load();
	const uint64 PayloadSize = static_cast<uint64>(RequestPayload.Num());
	const uint64 Remaining = SizeAlreadySent < PayloadSize ? PayloadSize - SizeAlreadySent : 0;
	const size_t SizeSentThisTime = static_cast<size_t>(Remaining < MaxBufferSize ? Remaining : MaxBufferSize);
	if (SizeSentThisTime > 0)
	{
		FMemory::Memcpy(Ptr, RequestPayload.GetData() + SizeAlreadySent, SizeSentThisTime);
	}
	BytesSent += SizeSentThisTime;
	TotalBytesSent += SizeSentThisTime;
	return SizeSentThisTime;
}

int FCurlHttpRequest::SeekCallback(curl_off_t Offset, int Origin)
{
	// Only rewinding to the start is needed (libcurl resends after a redirect or a reused connection).
	if (bIsRequestPayloadSeekable && Origin == SEEK_SET && Offset == 0)
	{
		UE_LOG(LogHttp, Log, TEXT("%p: SeekCallback: Resetting to the beginning. We had uploaded %llu bytes"), this, BytesSent.load());
		BytesSent = 0;
		bIsRequestPayloadSeekable = false;
		return CURL_SEEKFUNC_OK;
	}
	UE_LOG(LogHttp, Warning, TEXT("%p: SeekCallback: Failed to seek to Offset=%lld, Origin=%d %s"), this, static_cast<int64>(Offset), Origin, bIsRequestPayloadSeekable ? TEXT("not implemented") : TEXT("seek disabled"));
	return CURL_SEEKFUNC_CANTSEEK;
}

int FCurlHttpRequest::DebugCallback(CURL* Handle, curl_infotype DebugInfoType, char* DebugInfo, size_t DebugInfoSize)
{
	check(Handle == EasyHandle);
	switch (DebugInfoType)
	{
	case CURLINFO_HEADER_IN:
		OnAnyActivityOccur(TEXTVIEW("Header in"));
		break;
	case CURLINFO_HEADER_OUT:
		OnAnyActivityOccur(TEXTVIEW("Header out"));
		break;
	case CURLINFO_DATA_IN:
		OnAnyActivityOccur(TEXTVIEW("Data in"));
		break;
	case CURLINFO_DATA_OUT:
		OnAnyActivityOccur(TEXTVIEW("Data out"));
		break;
	case CURLINFO_SSL_DATA_IN:
		OnAnyActivityOccur(TEXTVIEW("Ssl data in"));
		break;
	case CURLINFO_SSL_DATA_OUT:
		OnAnyActivityOccur(TEXTVIEW("Ssl data out"));
		break;
	default:
		break;
	}
	return 0;
}

void FCurlHttpRequest::OnAnyActivityOccur(FStringView Reason)
{
	if (!bAnyHttpActivity)
	{
		bAnyHttpActivity = true;
		curl_easy_getinfo(EasyHandle, CURLINFO_CONNECT_TIME, &ConnectTime);
		StartActivityTimeoutTimer();
	}
	ResetActivityTimeoutTimer(Reason);
}

bool FCurlHttpRequest::SetupRequest()
{
	checkf(UE::Http::Private::IsCurlInitialized(), TEXT("Curl request was set up while the library is shut down"));

	if (!InitEasyHandle())
	{
		return false;
	}

	if ((GetVerb().IsEmpty() || GetVerb().Equals(TEXT("GET"), ESearchCase::IgnoreCase)) && RequestPayload.Num() > 0)
	{
		UE_LOG(LogHttp, Warning, TEXT("An HTTP Get request cannot contain a payload."));
		return false;
	}

	bCurlRequestCompleted = false;
	CurlAddToMultiResult = CURLM_OK;
	LastReportedBytesSent = 0;

	// RFC 2616 section 4.4: a request with a body says how long it is.
	if (GetHeader(TEXT("Content-Length")).IsEmpty() && RequestPayload.Num() != 0)
	{
		SetHeader(TEXT("Content-Length"), FString::Printf(TEXT("%llu"), static_cast<uint64>(RequestPayload.Num())));
	}

	// No "Expect: 100-continue": some load balancers mishandle it.
	if (GetHeader(TEXT("Expect")).IsEmpty())
	{
		SetHeader(TEXT("Expect"), TEXT(""));
	}

	return true;
}

bool FCurlHttpRequest::StartThreadedRequest()
{
	curl_slist_free_all(HeaderList);
	HeaderList = nullptr;

	curl_easy_setopt(EasyHandle, CURLOPT_URL, TCHAR_TO_UTF8(*GetURL()));

	const FString HttpVersion = GetOption(HttpRequestOptions::HttpVersion);
	if (!HttpVersion.IsEmpty())
	{
		if (HttpVersion == TEXT("HTTP/2") || HttpVersion == TEXT("2TLS"))
		{
			curl_easy_setopt(EasyHandle, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_2TLS);
		}
		else if (HttpVersion == TEXT("HTTP/1.1") || HttpVersion == TEXT("1.1"))
		{
			curl_easy_setopt(EasyHandle, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
		}
		else
		{
			UE_LOG(LogHttp, Warning, TEXT("Unsupported http version %s"), *HttpVersion);
		}
	}
	if (GetOption(HttpRequestOptions::EnableCookies).ToBool())
	{
		curl_easy_setopt(EasyHandle, CURLOPT_COOKIEFILE, "");
	}

	bool bUseReadFunction = false;
	const curl_off_t PayloadSize = static_cast<curl_off_t>(RequestPayload.Num());

	// The verb is upper case (SetVerb stores it so).
	if (Verb == TEXT("POST"))
	{
		// Without a Content-Type the payload must be URL-encoded form data.
		checkf(!GetHeader(TEXT("Content-Type")).IsEmpty() || FGenericPlatformHttp::IsURLEncoded(RequestPayload),
			TEXT("A POST with a payload that is not URL-encoded needs a Content-Type header. URL=%s"), *GetURL());
		curl_easy_setopt(EasyHandle, CURLOPT_POST, 1L);
		curl_easy_setopt(EasyHandle, CURLOPT_POSTFIELDS, nullptr);
		curl_easy_setopt(EasyHandle, CURLOPT_POSTFIELDSIZE_LARGE, PayloadSize);
		bUseReadFunction = true;
	}
	else if (Verb == TEXT("PUT") || Verb == TEXT("PATCH"))
	{
		curl_easy_setopt(EasyHandle, CURLOPT_UPLOAD, 1L);
		curl_easy_setopt(EasyHandle, CURLOPT_INFILESIZE_LARGE, PayloadSize);
		if (Verb != TEXT("PUT"))
		{
			curl_easy_setopt(EasyHandle, CURLOPT_CUSTOMREQUEST, TCHAR_TO_UTF8(*Verb));
		}
		bUseReadFunction = true;
	}
	else if (Verb == TEXT("GET"))
	{
		curl_easy_setopt(EasyHandle, CURLOPT_HTTPGET, 1L);
	}
	else if (Verb == TEXT("HEAD"))
	{
		curl_easy_setopt(EasyHandle, CURLOPT_NOBODY, 1L);
	}
	else if (Verb == TEXT("DELETE"))
	{
		checkf(!GetHeader(TEXT("Content-Type")).IsEmpty() || FGenericPlatformHttp::IsURLEncoded(RequestPayload),
			TEXT("A DELETE with a payload that is not URL-encoded needs a Content-Type header. URL=%s"), *GetURL());
		curl_easy_setopt(EasyHandle, CURLOPT_POST, 1L);
		curl_easy_setopt(EasyHandle, CURLOPT_CUSTOMREQUEST, "DELETE");
		curl_easy_setopt(EasyHandle, CURLOPT_POSTFIELDSIZE_LARGE, PayloadSize);
		bUseReadFunction = true;
	}
	else
	{
		curl_easy_setopt(EasyHandle, CURLOPT_CUSTOMREQUEST, TCHAR_TO_UTF8(*Verb));
	}

	if (bUseReadFunction)
	{
		BytesSent = 0;
		TotalBytesSent = 0;
		curl_easy_setopt(EasyHandle, CURLOPT_READDATA, this);
		curl_easy_setopt(EasyHandle, CURLOPT_READFUNCTION, StaticUploadCallback);
	}

	curl_easy_setopt(EasyHandle, CURLOPT_HEADERDATA, this);
	curl_easy_setopt(EasyHandle, CURLOPT_HEADERFUNCTION, StaticReceiveResponseHeaderCallback);
	curl_easy_setopt(EasyHandle, CURLOPT_WRITEDATA, this);
	curl_easy_setopt(EasyHandle, CURLOPT_WRITEFUNCTION, StaticReceiveResponseBodyCallback);

	// Every encoding libcurl supports may be used by the server.
	curl_easy_setopt(EasyHandle, CURLOPT_ACCEPT_ENCODING, "");

	for (const TPair<FString, FString>& HeaderPair : RequestHeaders)
	{
		const FString FullHeader = CombineHeaderKeyValue(HeaderPair.Key, HeaderPair.Value);
		curl_slist* NewHeaderList = curl_slist_append(HeaderList, TCHAR_TO_UTF8(*FullHeader));
		if (!NewHeaderList)
		{
			UE_LOG(LogHttp, Warning, TEXT("Failed to append header '%s'"), *HeaderPair.Key);
			continue;
		}
		HeaderList = NewHeaderList;
	}
	if (HeaderList)
	{
		curl_easy_setopt(EasyHandle, CURLOPT_HTTPHEADER, HeaderList);
	}

	const float HttpConnectionTimeout = FHttpModule::Get().GetHttpConnectionTimeout();
	check(HttpConnectionTimeout > 0.0f);
	curl_easy_setopt(EasyHandle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(HttpConnectionTimeout * 1000.0f));

	if (bIsRequestPayloadSeekable)
	{
		curl_easy_setopt(EasyHandle, CURLOPT_SEEKDATA, this);
		curl_easy_setopt(EasyHandle, CURLOPT_SEEKFUNCTION, StaticSeekCallback);
	}

	ElapsedTime = 0.0f;

	return FHttpRequestCommon::StartThreadedRequest();
}

bool FCurlHttpRequest::ProcessRequest()
{
	if (CompletionStatus == EHttpRequestStatus::Processing)
	{
		UE_LOG(LogHttp, Warning, TEXT("ProcessRequest failed. Still processing last request."));
		return false;
	}

	// A reused request must not show the previous response until the new one arrives.
	ResponseCommon = nullptr;
	LastReportedBytesRead = 0;

	if (!PreProcess())
	{
		return false;
	}

	// In flight: a second ProcessRequest is refused until this one completed.
	SetStatus(EHttpRequestStatus::Processing);

	// The manager holds the request while it runs, so the caller may drop it.
	FHttpModule::Get().GetHttpManager().AddThreadedRequest(SharedThis(this));

	UE_LOG(LogHttp, Verbose, TEXT("%p: request (easy handle:%p) has been added to threaded queue for processing"), this, EasyHandle);
	return true;
}

void FCurlHttpRequest::ClearInCaseOfRetry()
{
	FHttpRequestCommon::ClearInCaseOfRetry();

	LastReportedBytesRead = 0;
	TotalBytesRead = 0;
	bAnyHttpActivity = false;
	bCurlRequestCompleted = false;
	bRedirected = false;
	ErrorBuffer[0] = 0;
}

bool FCurlHttpRequest::IsThreadedRequestComplete()
{
	if (bCurlRequestCompleted && ElapsedTime >= FHttpModule::Get().GetHttpDelayTime())
	{
		return true;
	}
	return CurlAddToMultiResult != CURLM_OK;
}

void FCurlHttpRequest::TickThreadedRequest(float DeltaSeconds)
{
	ElapsedTime = ElapsedTime + DeltaSeconds;
}

void FCurlHttpRequest::AbortRequest()
{
	if (bCurlRequestCompleted)
	{
		return;
	}

	FHttpManager& HttpManager = FHttpModule::Get().GetHttpManager();
	if (HttpManager.IsValidRequest(this))
	{
		HttpManager.CancelThreadedRequest(SharedThis(this));
	}
	else
	{
		FinishRequestNotInHttpManager();
	}
}

void FCurlHttpRequest::Tick(float DeltaSeconds)
{
	if (DelegateThreadPolicy == EHttpRequestDelegateThreadPolicy::CompleteOnGameThread)
	{
		CheckProgressDelegate();
		BroadcastNewlyReceivedHeaders();
	}
}

void FCurlHttpRequest::CheckProgressDelegate()
{
	const uint64 CurrentBytesRead = TotalBytesRead.load();
	const uint64 CurrentBytesSent = BytesSent.load();

	const bool bProcessing = CompletionStatus == EHttpRequestStatus::Processing;
	const bool bProgressChanged = CurrentBytesSent != LastReportedBytesSent || CurrentBytesRead != LastReportedBytesRead;
	if (bProcessing && bProgressChanged)
	{
		LastReportedBytesSent = CurrentBytesSent;
		LastReportedBytesRead = CurrentBytesRead;
		OnRequestProgress64().ExecuteIfBound(SharedThis(this), LastReportedBytesSent, LastReportedBytesRead);
	}
}

void FCurlHttpRequest::BroadcastNewlyReceivedHeaders()
{
	TPair<FString, FString> NewHeader;
	while (NewlyReceivedHeaders.Dequeue(NewHeader))
	{
		OnHeaderReceived().ExecuteIfBound(SharedThis(this), NewHeader.Key, NewHeader.Value);
	}
}

void FCurlHttpRequest::MarkAsCompleted(CURLcode InCurlCompletionResult)
{
	CurlCompletionResult = InCurlCompletionResult;
	bCurlRequestCompleted = true;

	if (TSharedPtr<FCurlHttpResponse, ESPMode::ThreadSafe> Response = StaticCastSharedPtr<FCurlHttpResponse>(ResponseCommon))
	{
		long HttpCode = 0;
		if (curl_easy_getinfo(EasyHandle, CURLINFO_RESPONSE_CODE, &HttpCode) == CURLE_OK)
		{
			Response->SetResponseCode(static_cast<int32>(HttpCode));
		}
	}

	StopActivityTimeoutTimer();
}

void FCurlHttpRequest::FinishRequest()
{
	PostProcess();

	CheckProgressDelegate();

	TSharedPtr<FCurlHttpResponse, ESPMode::ThreadSafe> Response = StaticCastSharedPtr<FCurlHttpResponse>(ResponseCommon);

	if (bCurlRequestCompleted && Response.IsValid())
	{
		Response->bSucceeded = (CurlCompletionResult == CURLE_OK);

		if (Response->ContentLength == 0)
		{
			Response->ContentLength = TotalBytesRead;
		}

		// An http(s) answer without a status code is not an answer.
		if (Response->GetResponseCode() <= 0 && GetURL().StartsWith(TEXT("Http"), ESearchCase::IgnoreCase))
		{
			UE_LOG(LogHttp, Warning, TEXT("%p: invalid HTTP response code received. URL: %s, HTTP code: %d, content length: %llu, actual payload size: %llu"),
				this, *GetURL(), Response->GetResponseCode(), Response->ContentLength, TotalBytesRead.load());
			Response->bSucceeded = false;
		}
	}

	if (Response.IsValid() && DelegateThreadPolicy == EHttpRequestDelegateThreadPolicy::CompleteOnGameThread)
	{
		BroadcastNewlyReceivedHeaders();
	}

	const bool bSucceeded = Response.IsValid() && Response->bSucceeded;
	if (!bSucceeded)
	{
		LogCurlErrors();

		if (bCurlRequestCompleted)
		{
			switch (CurlCompletionResult)
			{
			case CURLE_COULDNT_CONNECT:
			case CURLE_OPERATION_TIMEDOUT:
			case CURLE_COULDNT_RESOLVE_PROXY:
			case CURLE_COULDNT_RESOLVE_HOST:
			case CURLE_SSL_CONNECT_ERROR:
				// Nothing reached the server: safe to retry.
				SetFailureReason(EHttpFailureReason::ConnectionError);
				break;
			default:
				break;
			}
		}
	}

	OnFinishRequest(bSucceeded);
}

void FCurlHttpRequest::LogCurlErrors() const
{
	if (CurlAddToMultiResult != CURLM_OK)
	{
		UE_LOG(LogHttp, Warning, TEXT("%p: request failed, libcurl multi error: %d (%s)"), this, static_cast<int32>(CurlAddToMultiResult), ANSI_TO_TCHAR(curl_multi_strerror(CurlAddToMultiResult)));
	}
	else if (bCurlRequestCompleted && CurlCompletionResult != CURLE_OK)
	{
		const bool bAborted = bCanceled || bTimedOut || bActivityTimedOut;
		if (!bAborted)
		{
			UE_LOG(LogHttp, Warning, TEXT("%p: request failed, libcurl error: %d (%s) %s"), this, static_cast<int32>(CurlCompletionResult), ANSI_TO_TCHAR(curl_easy_strerror(CurlCompletionResult)), ANSI_TO_TCHAR(ErrorBuffer));
		}
	}
}

void FCurlHttpRequest::CleanupRequest()
{
	DestroyEasyHandle();
}

FHttpResponsePtr FCurlHttpRequest::CreateResponse()
{
	return MakeShared<FCurlHttpResponse, ESPMode::ThreadSafe>(*this);
}

FCurlHttpResponse::FCurlHttpResponse(const FCurlHttpRequest& InRequest)
	: FHttpResponseCommon(InRequest)
{
}

TArray<FString> FCurlHttpResponse::GetAllHeaders() const
{
	TArray<FString> Result;
	if (!bIsReady)
	{
		UE_LOG(LogHttp, Warning, TEXT("Can't get cached headers. Response still processing. %s"), *GetURL());
		return Result;
	}
	Result.Reserve(Headers.Num());
	for (const TPair<FString, FString>& It : Headers)
	{
		Result.Emplace(FCurlHttpRequest::CombineHeaderKeyValue(It.Key, It.Value));
	}
	return Result;
}

FString FCurlHttpResponse::GetContentType() const
{
	return GetHeader(TEXT("Content-Type"));
}

uint64 FCurlHttpResponse::GetContentLength() const
{
	return ContentLength;
}
