// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"
#include "Templates/SharedPointer.h"

class IQuarnTransport;

/**
 * The core module. It owns the transport requests go through, so that the transport and the
 * engine's retry manager inside it end with the module, while the HTTP module (loaded first, so
 * shut down after this one) is still there, and nothing of them is left for static destruction.
 */
class FQuarnCoreModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

	/**
	 * Tickers, HTTP completions and worker tasks keep pointing into this module's code for as long
	 * as a request or a session lives, so the engine must abandon the library, never free it.
	 */
	virtual bool SupportsDynamicReloading() override;

	/** The running module; null before it started and after it shut down. Game thread only. */
	static FQuarnCoreModule* Get();

	/** The transport a test or tool installed, else the engine HTTP transport. */
	TSharedRef<IQuarnTransport> GetTransport() const;

	void SetOverrideTransport(TSharedPtr<IQuarnTransport> Transport);

private:
	TSharedPtr<IQuarnTransport> DefaultTransport;
	TSharedPtr<IQuarnTransport> OverrideTransport;
};
