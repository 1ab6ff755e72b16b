// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/SharedPointer.h"
#include "QuarnTransport.h"
#include "QuarnTypes.h"

class FJsonObject;

/** Turns what a transport brought back into the service client's success or error. */
namespace QuarnResponse
{
	/**
	 * True with OutJson set for a 2xx answer whose body is a JSON object. Otherwise false with
	 * OutError filled: from the platform's error object when the body carries one, else with a
	 * code naming what happened ("network_error", "timeout", "cancelled", "bad_response",
	 * "http_error").
	 */
	bool Interpret(const FQuarnHttpResponse& Response, float TimeoutSeconds, TSharedPtr<FJsonObject>& OutJson, FQuarnError& OutError);

	/** The body parsed as a JSON object, or null. */
	TSharedPtr<FJsonObject> ParseObject(const FString& Body);

	/** The body as text: Body, or else Content decoded from UTF-8 (bad sequences become '?'). */
	FString BodyText(const FQuarnHttpResponse& Response);

	/** How long the body is, in characters of Body or else bytes of Content, without decoding it. */
	int32 BodySize(const FQuarnHttpResponse& Response);
}
