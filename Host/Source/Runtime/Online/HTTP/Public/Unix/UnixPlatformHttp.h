// Copyright Quarn. All Rights Reserved.

#pragma once

#include "GenericPlatform/GenericPlatformHttp.h"

/** HTTP on Linux: libcurl. */
class FUnixPlatformHttp : public FGenericPlatformHttp
{
public:
	/** Initialises libcurl. */
	static HTTP_API void Init();

	/** The libcurl manager. */
	static HTTP_API FHttpManager* CreatePlatformHttpManager();

	/** Shuts libcurl down. */
	static HTTP_API void Shutdown();

	/** A new libcurl request. */
	static HTTP_API IHttpRequest* ConstructRequest();
};

typedef FUnixPlatformHttp FPlatformHttp;
