// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"

/**
 * The plug-in's console commands and variables: Quarn.Status, Quarn.ExpireToken (not in Shipping)
 * and Quarn.LogRequests. QuarnCore registers them when it starts and removes them when it shuts
 * down.
 */
namespace QuarnConsoleCommands
{
	void Register();
	void Unregister();

	/** True while Quarn.LogRequests is on. */
	bool IsRequestLogOn();

	/**
	 * One Display line for a finished request while Quarn.LogRequests is on: method, path, status,
	 * code, request id, attempts and milliseconds. Never a header or a body, so never a token or a
	 * ticket.
	 */
	void LogFinishedRequest(const FString& Verb, const FString& Path, int32 Status, const FString& Code, const FString& RequestId, int32 Attempts, double Milliseconds);
}
