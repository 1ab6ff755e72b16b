// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnTypes.h"

/** Checks and joins the platform's base address. */
namespace QuarnBaseAddress
{
	/**
	 * True when requests may go to Base: an https address, or plain http to this machine (or to
	 * any host when bAllowInsecure). Otherwise fills OutError with the reason.
	 */
	bool Validate(const FString& Base, bool bAllowInsecure, FQuarnError& OutError);

	/** True when Host names this machine: localhost, 127.x.y.z or ::1. */
	bool IsLoopbackHost(const FString& Host);

	/** Base without its trailing slashes, then Path. */
	FString Join(const FString& Base, const FString& Path);
}
