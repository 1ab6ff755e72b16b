// Copyright Quarn. All Rights Reserved.

#include "QuarnClient.h"
#include "QuarnBaseAddress.h"
#include "QuarnConsoleCommands.h"
#include "QuarnCoreModule.h"
#include "QuarnCoreStats.h"
#include "QuarnErrorLibrary.h"
#include "QuarnHttpTransport.h"
#include "QuarnLog.h"
#include "QuarnResponse.h"
#include "QuarnSession.h"
#include "QuarnSettings.h"
#include "QuarnTransport.h"
#include "Async/Async.h"
#include "Containers/StringConv.h"
#include "Containers/Ticker.h"
#include "HAL/PlatformTime.h"
#include "HAL/ThreadSafeCounter.h"
#include "GenericPlatform/GenericPlatformHttp.h"
#include "Misc/Guid.h"

namespace QuarnClient
{
	/**
	 * What requests meet before the core module started or after it shut down: each ends as
	 * "cancelled", on the next tick, and nothing is sent.
	 */
	class FClosedTransport : public IQuarnTransport
	{
	public:
		virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override
		{
			FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([OnDone = MoveTemp(OnDone)](float)
			{
				FQuarnHttpResponse Response;
				Response.Result = EQuarnTransportResult::Cancelled;
				OnDone(Response);
				return false;
			}));
		}
	};

	/** Runs a callback on the game thread at the next tick, so that no caller is re-entered from inside Send. */
	static void CompleteLater(TFunction<void()> Work)
	{
		FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda([Work = MoveTemp(Work)](float)
		{
			Work();
			return false;
		}));
	}
}

void FQuarnClient::Send(const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnResponseCallback OnComplete)
{
	SendRequest(false, nullptr, Method, Path, Body, AccessToken, IdempotencyKey, nullptr, MoveTemp(OnComplete));
}

void FQuarnClient::Send(const UObject* WorldContextObject, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnResponseCallback OnComplete)
{
	SendRequest(WorldContextObject != nullptr, WorldContextObject, Method, Path, Body, AccessToken, IdempotencyKey, nullptr, MoveTemp(OnComplete));
}

void FQuarnClient::SendWithReader(const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnAnswerReader Reader, FQuarnReadCallback OnComplete)
{
	SendWithReader(nullptr, Method, Path, Body, AccessToken, IdempotencyKey, MoveTemp(Reader), MoveTemp(OnComplete));
}

void FQuarnClient::SendWithReader(const UObject* WorldContextObject, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, FQuarnAnswerReader Reader, FQuarnReadCallback OnComplete)
{
	TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe> SharedReader;
	if (Reader)
	{
		SharedReader = MakeShared<FQuarnAnswerReader, ESPMode::ThreadSafe>(MoveTemp(Reader));
	}
	SendRequest(WorldContextObject != nullptr, WorldContextObject, Method, Path, Body, AccessToken, IdempotencyKey, MoveTemp(SharedReader),
		[OnComplete = MoveTemp(OnComplete)](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
		{
			if (OnComplete)
			{
				OnComplete(bOk, Error);
			}
		});
}

void FQuarnClient::SendRequest(bool bHasContext, const TWeakObjectPtr<const UObject>& Context, const FString& Method, const FString& Path, const FString& Body, const FString& AccessToken, const FString& IdempotencyKey, TSharedPtr<FQuarnAnswerReader, ESPMode::ThreadSafe> Reader, FQuarnResponseCallback OnComplete)
{
	if (!IsInGameThread())
	{
		// The settings, the sessions and the transport are the game thread's: a request sent from
		// elsewhere goes out from there, on the next frame, and is routed like any other.
		AsyncTask(ENamedThreads::GameThread, [bHasContext, Context, Method, Path, Body, AccessToken, IdempotencyKey, Reader = MoveTemp(Reader), OnComplete = MoveTemp(OnComplete)]() mutable
		{
			SendRequest(bHasContext, Context, Method, Path, Body, AccessToken, IdempotencyKey, MoveTemp(Reader), MoveTemp(OnComplete));
		});
		return;
	}

	// A token of a remembered session of the sender's game instance: the session renews it when
	// it is about to expire or the platform says it has, and sends the request again once, with
	// the same reader.
	if (FQuarnSession::Route(bHasContext, bHasContext ? FQuarnSession::OwnerOf(Context.Get()) : TWeakObjectPtr<const UObject>(), Method, Path, Body, AccessToken, IdempotencyKey, Reader, OnComplete))
	{
		return;
	}
	TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::Send);
	SCOPE_CYCLE_COUNTER(STAT_QuarnSend);

	// Shared by every path that could complete the request, so that OnComplete runs once even if a
	// transport misbehaves and answers twice.
	TSharedRef<FQuarnResponseCallback> Pending = MakeShared<FQuarnResponseCallback>(MoveTemp(OnComplete));
	auto Complete = [Pending](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error)
	{
		if (*Pending)
		{
			FQuarnResponseCallback Callback = MoveTemp(*Pending);
			*Pending = nullptr;
			Callback(bOk, MoveTemp(Json), Error);
		}
	};

	const UQuarnSettings* Settings = UQuarnSettings::Get();
	const FString Verb = Method.ToUpper();

	FQuarnError AddressError;
	if (!QuarnBaseAddress::Validate(Settings->BaseUrl, Settings->bAllowInsecureHttp, AddressError))
	{
		// The error's hint is for players; the developer reads what to fix here.
		UE_LOG(LogQuarn, Warning, TEXT("%s %s refused: %s %s"), *Verb, *Path, *AddressError.Message, *UQuarnErrorLibrary::GetDeveloperAdvice(AddressError));
		QuarnClient::CompleteLater([Complete, AddressError]() { Complete(false, nullptr, AddressError); });
		return;
	}

	FQuarnHttpRequest Request;
	Request.Verb = Verb;
	Request.Url = QuarnBaseAddress::Join(Settings->BaseUrl, EncodePath(Path));
	Request.Body = Body;
	Request.TimeoutSeconds = Settings->RequestTimeoutSeconds;
	Request.Headers.Emplace(TEXT("Accept"), TEXT("application/json"));
	if (!Body.IsEmpty())
	{
		Request.Headers.Emplace(TEXT("Content-Type"), TEXT("application/json; charset=utf-8"));
	}
	if (!AccessToken.IsEmpty())
	{
		Request.Headers.Emplace(TEXT("Authorization"), FString(TEXT("Bearer ")) + AccessToken);
	}
	if (!IdempotencyKey.IsEmpty())
	{
		Request.Headers.Emplace(TEXT("Idempotency-Key"), IdempotencyKey);
	}

	UE_LOG(LogQuarn, VeryVerbose, TEXT("%s %s"), *Verb, *Path);

	const float TimeoutSeconds = Request.TimeoutSeconds;
	const double StartSeconds = FPlatformTime::Seconds();
	// A transport may answer from inside its own Send (the engine's HTTP module does when a
	// request fails its pre-checks); such an answer is held back until the next tick.
	TSharedRef<bool> bInsideSend = MakeShared<bool>(true);
	// Only the first answer counts; a second one from a misbehaving transport is dropped on
	// arrival, so that a reader never runs twice over one request.
	const TSharedRef<FThreadSafeCounter, ESPMode::ThreadSafe> Answers = MakeShared<FThreadSafeCounter, ESPMode::ThreadSafe>();
	INC_DWORD_STAT(STAT_QuarnRequests);
	GetTransport()->Send(Request, [Complete, Verb, Path, TimeoutSeconds, bInsideSend, Answers, Reader, StartSeconds](const FQuarnHttpResponse& Response)
	{
		if (Answers->Increment() != 1)
		{
			return;
		}
		const int32 StatusCode = Response.StatusCode;
		const int32 Attempts = Response.Attempts;
		if (Response.Result == EQuarnTransportResult::Answered)
		{
			INC_DWORD_STAT_BY(STAT_QuarnBytesReceived, QuarnResponse::BodySize(Response));
		}
		// Runs on the game thread: the log line and the caller's callback.
		auto Finish = [Complete, Verb, Path, StatusCode, Attempts, StartSeconds](bool bOk, TSharedPtr<FJsonObject> Json, const FQuarnError& Error, const FString& RequestId)
		{
			QuarnConsoleCommands::LogFinishedRequest(Verb, Path, bOk ? StatusCode : Error.HttpStatus, bOk ? FString() : Error.Code, bOk ? RequestId : Error.RequestId, Attempts, (FPlatformTime::Seconds() - StartSeconds) * 1000.0);
			if (bOk)
			{
				UE_LOG(LogQuarn, Verbose, TEXT("%s %s -> %d (%s)"), *Verb, *Path, StatusCode, *RequestId);
			}
			else
			{
				UE_LOG(LogQuarn, Verbose, TEXT("%s %s failed: http=%d code=%s (%s)"), *Verb, *Path, Error.HttpStatus, *Error.Code, *Error.RequestId);
			}
			TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::HandOver);
			SCOPE_CYCLE_COUNTER(STAT_QuarnHandOver);
			Complete(bOk, MoveTemp(Json), Error);
		};

		const bool bAnswered = Response.Result == EQuarnTransportResult::Answered;
		if (bAnswered && QuarnResponse::BodySize(Response) >= OffThreadAnswerSize)
		{
			// Decoding, parsing, the caller's reader and freeing the tree all happen on a worker;
			// the game thread only gets the outcome. The caller's weak pointers are checked there.
			AsyncTask(ENamedThreads::AnyBackgroundThreadNormalTask, [Finish = MoveTemp(Finish), Answer = FQuarnHttpResponse(Response), TimeoutSeconds, Reader]() mutable
			{
				TSharedPtr<FJsonObject> Json;
				FQuarnError Error;
				bool bOk = false;
				{
					TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::ReadAnswer);
					SCOPE_CYCLE_COUNTER(STAT_QuarnReadAnswer);
					bOk = QuarnResponse::Interpret(Answer, TimeoutSeconds, Json, Error);
					if (bOk && Reader.IsValid())
					{
						(*Reader)(*Json);
						Json.Reset();
					}
				}
				Reader.Reset();
				const FString RequestId = Answer.RequestId;
				Answer = FQuarnHttpResponse();
				AsyncTask(ENamedThreads::GameThread, [Finish = MoveTemp(Finish), bOk, Json = MoveTemp(Json), Error = MoveTemp(Error), RequestId]() mutable
				{
					Finish(bOk, MoveTemp(Json), Error, RequestId);
				});
			});
			return;
		}

		// A short answer or a failure: read where it arrived, as cheaply as handing it over.
		auto Deliver = [Finish = MoveTemp(Finish), Response, TimeoutSeconds, Reader]()
		{
			TSharedPtr<FJsonObject> Json;
			FQuarnError Error;
			bool bOk = false;
			{
				TRACE_CPUPROFILER_EVENT_SCOPE(Quarn::ReadAnswer);
				SCOPE_CYCLE_COUNTER(STAT_QuarnReadAnswer);
				bOk = QuarnResponse::Interpret(Response, TimeoutSeconds, Json, Error);
				if (bOk && Reader.IsValid())
				{
					(*Reader)(*Json);
					Json.Reset();
				}
			}
			Finish(bOk, MoveTemp(Json), Error, Response.RequestId);
		};
		if (IsInGameThread() && !*bInsideSend)
		{
			Deliver();
		}
		else
		{
			QuarnClient::CompleteLater(MoveTemp(Deliver));
		}
	});
	*bInsideSend = false;
}

FString FQuarnClient::NewIdempotencyKey()
{
	return FGuid::NewGuid().ToString(EGuidFormats::DigitsWithHyphensLower);
}

void FQuarnClient::SetTransport(TSharedPtr<IQuarnTransport> Transport)
{
	if (FQuarnCoreModule* Module = FQuarnCoreModule::Get())
	{
		Module->SetOverrideTransport(MoveTemp(Transport));
	}
}

TSharedRef<IQuarnTransport> FQuarnClient::GetTransport()
{
	if (const FQuarnCoreModule* Module = FQuarnCoreModule::Get())
	{
		return Module->GetTransport();
	}
	return MakeShared<QuarnClient::FClosedTransport>();
}

FString FQuarnClient::EncodePath(const FString& Path)
{
	// Percent-encodes every byte of the path's UTF-8 form but the unreserved ones and the "/"
	// separators, so that each segment is encoded on its own. Not FGenericPlatformHttp::UrlEncode:
	// the engine's converts each UTF-16 unit alone, so an id with a character beyond U+FFFF would
	// reach the platform as "%3F%3F". A "/" byte never occurs inside a multi-byte sequence.
	static const TCHAR HexDigits[] = TEXT("0123456789ABCDEF");
	const FTCHARToUTF8 Utf8(*Path, Path.Len());
	const uint8* Bytes = reinterpret_cast<const uint8*>(Utf8.Get());
	FString Result;
	Result.Reserve(Utf8.Length());
	for (int32 Index = 0; Index < Utf8.Length(); ++Index)
	{
		const uint8 Byte = Bytes[Index];
		const bool bUnreserved = (Byte >= 'A' && Byte <= 'Z') || (Byte >= 'a' && Byte <= 'z') || (Byte >= '0' && Byte <= '9')
			|| Byte == '-' || Byte == '_' || Byte == '.' || Byte == '~';
		if (Byte == 0)
		{
			// A NUL has no place in a URL; it is dropped.
			continue;
		}
		if (bUnreserved || Byte == '/')
		{
			Result.AppendChar(static_cast<TCHAR>(Byte));
		}
		else
		{
			Result.AppendChar(TEXT('%'));
			Result.AppendChar(HexDigits[Byte >> 4]);
			Result.AppendChar(HexDigits[Byte & 0xF]);
		}
	}
	return Result;
}

FString FQuarnHttpRequest::GetHeader(const FString& Name) const
{
	for (const TPair<FString, FString>& Header : Headers)
	{
		if (Header.Key == Name)
		{
			return Header.Value;
		}
	}
	return FString();
}
