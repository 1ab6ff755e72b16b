// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

namespace EHttpRequestStatus
{
	/** Where a request (or its response) is in its life. */
	enum Type
	{
		/** ProcessRequest() has not been called. */
		NotStarted,
		/** In flight. */
		Processing,
		/** Finished without a usable response; see GetFailureReason(). */
		Failed,
		/** Finished with a response (of any status code). */
		Succeeded
	};

	inline const TCHAR* ToString(EHttpRequestStatus::Type EnumVal)
	{
		switch (EnumVal)
		{
			case NotStarted:
			{
				return TEXT("NotStarted");
			}
			case Processing:
			{
				return TEXT("Processing");
			}
			case Failed:
			{
				return TEXT("Failed");
			}
			case Succeeded:
			{
				return TEXT("Succeeded");
			}
		}
		return TEXT("");
	}

	inline bool IsFinished(const EHttpRequestStatus::Type Value)
	{
		return Value != NotStarted && Value != Processing;
	}
}

/** Why a request failed. */
enum class EHttpFailureReason : uint8
{
	None = 0,
	/** Could not connect, or the connection went silent for longer than the activity time-out. */
	ConnectionError,
	Cancelled,
	/** The whole request (retries included) took longer than its total time-out. */
	TimedOut,
	Other,
	/** The response body does not fit in memory as one array. */
	ResponseTooLarge,
	Count
};

inline const TCHAR* LexToString(EHttpFailureReason HttpFailureReason)
{
	switch (HttpFailureReason)
	{
	case EHttpFailureReason::None: return TEXT("None");
	case EHttpFailureReason::ConnectionError: return TEXT("ConnectionError");
	case EHttpFailureReason::Cancelled: return TEXT("Cancelled");
	case EHttpFailureReason::TimedOut: return TEXT("TimedOut");
	case EHttpFailureReason::Other: return TEXT("Other");
	case EHttpFailureReason::ResponseTooLarge: return TEXT("ResponseTooLarge");
	default: checkNoEntry(); return TEXT("Invalid");
	}
}

/** What requests and responses have in common. */
class IHttpBase
{
public:
	/** The URL the request was sent to. */
	virtual const FString& GetURL() const = 0;

	/** The URL after redirects; the same as GetURL() when there were none. */
	virtual const FString& GetEffectiveURL() const = 0;

	virtual EHttpRequestStatus::Type GetStatus() const = 0;

	/** Why the request failed, when GetStatus() is Failed. */
	virtual EHttpFailureReason GetFailureReason() const = 0;

	/** URL-decoded value of a query parameter (?Key=Value&...), or empty. */
	virtual FString GetURLParameter(const FString& ParameterName) const = 0;

	/** Value of a header (the name compares ignoring case), or empty if absent. */
	virtual FString GetHeader(const FString& HeaderName) const = 0;

	/** Every header as "Name: Value". */
	virtual TArray<FString> GetAllHeaders() const = 0;

	/** The Content-Type header, if any. */
	virtual FString GetContentType() const = 0;

	/** The Content-Length; not always known. The payload's size is the real length. */
	virtual uint64 GetContentLength() const = 0;

	/** The payload bytes. */
	virtual const TArray<uint8>& GetContent() const = 0;

	virtual ~IHttpBase() = default;
};
