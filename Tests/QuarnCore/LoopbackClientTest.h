// Copyright Quarn. All Rights Reserved.

// A fixture for the service client against a real HTTP server on loopback: the client's base
// address points at the server (and is put back afterwards), the real transport is in place.
#pragma once

#include "QuarnTest/PluginTestSupport.h"
#include "HttpTestServer.h"

namespace QuarnTest
{
	class FLoopbackClientTest : public testing::Test
	{
	protected:
		virtual void SetUp() override
		{
			ASSERT_TRUE(Server.IsRunning());
			FQuarnClient::SetTransport(nullptr);
			UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
			SavedBaseUrl = Settings->BaseUrl;
			SavedTimeout = Settings->RequestTimeoutSeconds;
			Settings->BaseUrl = UTF8_TO_TCHAR(Server.Url("").c_str());
			Settings->RequestTimeoutSeconds = 10.0f;
		}

		virtual void TearDown() override
		{
			UQuarnSettings* Settings = GetMutableDefault<UQuarnSettings>();
			Settings->BaseUrl = SavedBaseUrl;
			Settings->RequestTimeoutSeconds = SavedTimeout;
		}

		HttpTest::FServer Server;

	private:
		FString SavedBaseUrl;
		float SavedTimeout = 10.0f;
	};
}
