// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Templates/SharedPointer.h"
#include "QuarnTransport.h"

namespace FHttpRetrySystem
{
	class FManager;
}

/**
 * The default transport: the engine's HTTP module.
 *
 * Requests that are safe to send again (a GET, or a change that carries an idempotency key, which
 * the platform applies at most once) go through the engine's retry manager: after no connection,
 * a time-out, 429 or 503 they are sent again, unchanged, after a capped exponential back-off with
 * jitter or the server's Retry-After, at most MaxRetries times. Every other request is sent once.
 */
class FQuarnHttpTransport : public IQuarnTransport
{
public:
	/** Retries after the first attempt, at most. */
	static constexpr uint32 MaxRetries = 3;

	virtual ~FQuarnHttpTransport() override;

	virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override;

	/** True when sending the request twice cannot change anything twice. */
	static bool IsSafeToRetry(const FQuarnHttpRequest& Request);

private:
	/** Made on first use: the engine's retry manager needs the HTTP module's thread running. */
	FHttpRetrySystem::FManager& GetRetryManager();

	TSharedPtr<FHttpRetrySystem::FManager, ESPMode::ThreadSafe> RetryManager;
};
