// Copyright Quarn. All Rights Reserved.

#include "GenericPlatform/HttpResponseCommon.h"

#include "Containers/StringConv.h"
#include "GenericPlatform/HttpRequestCommon.h"
#include "Http.h"

FHttpResponseCommon::FHttpResponseCommon(const FHttpRequestCommon& HttpRequest)
	: URL(HttpRequest.GetURL())
	, EffectiveURL(HttpRequest.GetEffectiveURL())
	, CompletionStatus(HttpRequest.GetStatus())
	, FailureReason(HttpRequest.GetFailureReason())
{
}

const FString& FHttpResponseCommon::GetURL() const
{
	return URL;
}

const FString& FHttpResponseCommon::GetEffectiveURL() const
{
	return EffectiveURL;
}

EHttpRequestStatus::Type FHttpResponseCommon::GetStatus() const
{
	return CompletionStatus;
}

EHttpFailureReason FHttpResponseCommon::GetFailureReason() const
{
	return FailureReason;
}

FString FHttpResponseCommon::GetURLParameter(const FString& ParameterName) const
{
	FString ReturnValue;
	if (TOptional<FString> OptionalParameterValue = FGenericPlatformHttp::GetUrlParameter(URL, ParameterName))
	{
		ReturnValue = MoveTemp(OptionalParameterValue.GetValue());
	}
	return ReturnValue;
}

FString FHttpResponseCommon::GetHeader(const FString& HeaderName) const
{
	if (!bIsReady)
	{
		UE_LOG(LogHttp, Warning, TEXT("Can't get cached header [%s]. Response still processing. %s"), *HeaderName, *URL);
		return FString();
	}
	const FString* Header = Headers.Find(HeaderName);
	return Header ? *Header : FString();
}

const TArray<uint8>& FHttpResponseCommon::GetContent() const
{
	if (!bIsReady)
	{
		UE_LOG(LogHttp, Warning, TEXT("Payload is incomplete. Response still processing. %s"), *URL);
	}
	return Payload;
}

TArray<uint8> FHttpResponseCommon::TakeContent()
{
	if (!bIsReady)
	{
		UE_LOG(LogHttp, Warning, TEXT("Payload is incomplete. Response still processing. %s"), *URL);
		return TArray<uint8>();
	}
	TArray<uint8> Content = MoveTemp(Payload);
	Payload.Reset();
	return Content;
}

int32 FHttpResponseCommon::GetResponseCode() const
{
	return ResponseCode;
}

FString FHttpResponseCommon::GetContentAsString() const
{
	// Bounded by the payload's length: the bytes are not NUL-terminated, and bad UTF-8 is replaced.
	const TArray<uint8>& Content = GetContent();
	if (Content.IsEmpty())
	{
		return FString();
	}
	const FUTF8ToTCHAR Converted(reinterpret_cast<const UTF8CHAR*>(Content.GetData()), Content.Num());
	return FString(Converted.Length(), Converted.Get());
}

FUtf8StringView FHttpResponseCommon::GetContentAsUtf8StringView() const
{
	const TArray<uint8>& Content = GetContent();
	return FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Content.GetData()), Content.Num());
}

void FHttpResponseCommon::SetRequestStatus(EHttpRequestStatus::Type InCompletionStatus)
{
	CompletionStatus = InCompletionStatus;
}

void FHttpResponseCommon::SetRequestFailureReason(EHttpFailureReason InFailureReason)
{
	FailureReason = InFailureReason;
}

void FHttpResponseCommon::SetEffectiveURL(const FString& InEffectiveURL)
{
	EffectiveURL = InEffectiveURL;
}

void FHttpResponseCommon::SetResponseCode(int32 InResponseCode)
{
	ResponseCode = InResponseCode;
}
