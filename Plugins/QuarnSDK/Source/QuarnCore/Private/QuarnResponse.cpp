// Copyright Quarn. All Rights Reserved.

#include "QuarnResponse.h"
#include "Containers/StringConv.h"
#include "QuarnErrorLibrary.h"
#include "Dom/JsonObject.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

namespace QuarnResponse
{
	TSharedPtr<FJsonObject> ParseObject(const FString& Body)
	{
		if (Body.IsEmpty())
		{
			return nullptr;
		}
		TSharedPtr<FJsonObject> Object;
		const TSharedRef<TJsonReader<TCHAR>> Reader = TJsonReaderFactory<TCHAR>::Create(Body);
		if (!FJsonSerializer::Deserialize(Reader, Object) || !Object.IsValid())
		{
			return nullptr;
		}
		return Object;
	}

	FString BodyText(const FQuarnHttpResponse& Response)
	{
		if (!Response.Body.IsEmpty() || !Response.Content.IsValid() || Response.Content->IsEmpty())
		{
			return Response.Body;
		}
		// Bounded by the byte count: the bytes carry no terminator.
		const FUTF8ToTCHAR Converted(reinterpret_cast<const UTF8CHAR*>(Response.Content->GetData()), Response.Content->Num());
		return FString(Converted.Length(), Converted.Get());
	}

	int32 BodySize(const FQuarnHttpResponse& Response)
	{
		if (!Response.Body.IsEmpty() || !Response.Content.IsValid())
		{
			return Response.Body.Len();
		}
		return Response.Content->Num();
	}

	/** Fills the error from the platform's {"error": {...}} object; false when the body has none. */
	static bool ReadErrorObject(const TSharedPtr<FJsonObject>& Body, FQuarnError& OutError)
	{
		const TSharedPtr<FJsonObject>* ErrorObject = nullptr;
		if (!Body.IsValid() || !Body->TryGetObjectField(TEXT("error"), ErrorObject) || ErrorObject == nullptr || !ErrorObject->IsValid())
		{
			return false;
		}
		FString Code;
		if (!(*ErrorObject)->TryGetStringField(TEXT("code"), Code) || Code.IsEmpty())
		{
			return false;
		}
		OutError.Code = Code;
		(*ErrorObject)->TryGetStringField(TEXT("message"), OutError.Message);
		(*ErrorObject)->TryGetStringField(TEXT("hint"), OutError.Hint);
		FString RequestId;
		if ((*ErrorObject)->TryGetStringField(TEXT("request_id"), RequestId) && !RequestId.IsEmpty())
		{
			OutError.RequestId = RequestId;
		}
		return true;
	}

	bool Interpret(const FQuarnHttpResponse& Response, float TimeoutSeconds, TSharedPtr<FJsonObject>& OutJson, FQuarnError& OutError)
	{
		OutJson.Reset();
		OutError = FQuarnError();
		OutError.RequestId = Response.RequestId;

		switch (Response.Result)
		{
		case EQuarnTransportResult::Answered:
			break;
		// Hints of the plug-in's own errors are for players; the advice for developers (which
		// setting to check) stays with the code, for the log and the developer's text.
		case EQuarnTransportResult::TimedOut:
			OutError = UQuarnErrorLibrary::MakePluginError(TEXT("timeout"), 0, FString::Printf(TEXT("The platform did not answer within %.0f seconds."), TimeoutSeconds));
			OutError.RequestId = Response.RequestId;
			return false;
		case EQuarnTransportResult::Cancelled:
			OutError = UQuarnErrorLibrary::MakePluginError(TEXT("cancelled"), 0, TEXT("The request was cancelled before the platform answered."));
			OutError.RequestId = Response.RequestId;
			return false;
		case EQuarnTransportResult::ConnectionFailed:
		default:
			OutError = UQuarnErrorLibrary::MakePluginError(TEXT("network_error"), 0, TEXT("Could not reach the platform."));
			OutError.RequestId = Response.RequestId;
			return false;
		}

		OutError.HttpStatus = Response.StatusCode;
		OutError.RetryAfterSeconds = Response.RetryAfterSeconds;
		const TSharedPtr<FJsonObject> Body = ParseObject(BodyText(Response));
		if (Response.StatusCode >= 200 && Response.StatusCode < 300)
		{
			if (!Body.IsValid())
			{
				const FQuarnError Unreadable = UQuarnErrorLibrary::MakePluginError(TEXT("bad_response"), Response.StatusCode,
					FString::Printf(TEXT("The platform answered HTTP %d with a body that is not a JSON object."), Response.StatusCode));
				OutError.Code = Unreadable.Code;
				OutError.Message = Unreadable.Message;
				OutError.Hint = Unreadable.Hint;
				return false;
			}
			OutJson = Body;
			OutError = FQuarnError();
			return true;
		}

		if (!ReadErrorObject(Body, OutError))
		{
			const FQuarnError Undescribed = UQuarnErrorLibrary::MakePluginError(TEXT("http_error"), Response.StatusCode,
				FString::Printf(TEXT("The platform answered HTTP %d without an error description."), Response.StatusCode));
			OutError.Code = Undescribed.Code;
			OutError.Message = Undescribed.Message;
			OutError.Hint = Undescribed.Hint;
		}
		return false;
	}
}
