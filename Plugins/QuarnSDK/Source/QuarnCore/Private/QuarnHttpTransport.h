// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnTransport.h"

/** The default transport: the engine's HTTP module. */
class FQuarnHttpTransport : public IQuarnTransport
{
public:
	virtual void Send(const FQuarnHttpRequest& Request, FQuarnTransportCallback OnDone) override;
};
