// Copyright Quarn. All Rights Reserved.

#include "QuarnHttpTransport.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"

void FQuarnHttpTransport::Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone)
{
	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> HttpRequest = FHttpModule::Get().CreateRequest();
	HttpRequest->SetVerb(Request.Verb);
	HttpRequest->SetURL(Request.Url);
	for (const TPair<FString, FString>& Header : Request.Headers)
	{
		HttpRequest->SetHeader(Header.Key, Header.Value);
	}
	if (!Request.Body.IsEmpty())
	{
		HttpRequest->SetContentAsString(Request.Body);
	}
	if (Request.TimeoutSeconds > 0.0f)
	{
		HttpRequest->SetTimeout(Request.TimeoutSeconds);
	}
	HttpRequest->OnProcessRequestComplete().BindLambda([OnDone = MoveTemp(OnDone)](FHttpRequestPtr Finished, FHttpResponsePtr HttpResponse, bool bProcessedSuccessfully)
	{
		FQuarnHttpResponse Response;
		if (bProcessedSuccessfully && HttpResponse.IsValid() && HttpResponse->GetResponseCode() > 0)
		{
			Response.Result = EQuarnTransportResult::Answered;
			Response.StatusCode = HttpResponse->GetResponseCode();
			Response.Body = HttpResponse->GetContentAsString();
			Response.RequestId = HttpResponse->GetHeader(TEXT("X-Request-Id"));
		}
		else
		{
			const EHttpFailureReason Reason = Finished.IsValid() ? Finished->GetFailureReason() : EHttpFailureReason::Other;
			switch (Reason)
			{
			case EHttpFailureReason::TimedOut:
				Response.Result = EQuarnTransportResult::TimedOut;
				break;
			case EHttpFailureReason::Cancelled:
				Response.Result = EQuarnTransportResult::Cancelled;
				break;
			default:
				Response.Result = EQuarnTransportResult::ConnectionFailed;
				break;
			}
		}
		OnDone(Response);
	});
	HttpRequest->ProcessRequest();
}
