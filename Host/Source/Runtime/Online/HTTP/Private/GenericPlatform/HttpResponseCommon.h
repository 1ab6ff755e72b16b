// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Interfaces/IHttpResponse.h"

#include <atomic>

class FHttpRequestCommon;

/**
 * What every response shares. Written on the HTTP thread while the request runs; read once the
 * request completed (bIsReady), when getters warn about data not being ready.
 */
class FHttpResponseCommon : public IHttpResponse
{
	friend class FHttpRequestCommon;

public:
	FHttpResponseCommon(const FHttpRequestCommon& HttpRequest);

	// IHttpBase
	virtual const FString& GetURL() const override;
	virtual const FString& GetEffectiveURL() const override;
	virtual EHttpRequestStatus::Type GetStatus() const override;
	virtual EHttpFailureReason GetFailureReason() const override;
	virtual FString GetURLParameter(const FString& ParameterName) const override;
	virtual FString GetHeader(const FString& HeaderName) const override;
	virtual const TArray<uint8>& GetContent() const override;

	// IHttpResponse
	virtual TArray<uint8> TakeContent() override;
	virtual int32 GetResponseCode() const override;
	virtual FString GetContentAsString() const override;
	virtual FUtf8StringView GetContentAsUtf8StringView() const override;

	void SetRequestStatus(EHttpRequestStatus::Type InCompletionStatus);
	void SetRequestFailureReason(EHttpFailureReason InFailureReason);
	void SetEffectiveURL(const FString& InEffectiveURL);
	void SetResponseCode(int32 InResponseCode);

	/** Received headers; repeated headers are joined with ", ". Keys compare ignoring case. */
	TMap<FString, FString> Headers;
	TArray<uint8> Payload;
	/** Set just before the complete delegate runs. */
	std::atomic<bool> bIsReady = false;

protected:
	FString URL;
	FString EffectiveURL;
	std::atomic<EHttpRequestStatus::Type> CompletionStatus;
	std::atomic<EHttpFailureReason> FailureReason;
	std::atomic<int32> ResponseCode = 0;
};
