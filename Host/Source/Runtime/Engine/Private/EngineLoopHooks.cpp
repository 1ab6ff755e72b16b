// Copyright Quarn. All Rights Reserved.

#include "Host/EngineLoopHooks.h"

namespace UE::Host
{
	namespace
	{
		// gc.TimeBetweenPurgingPendingKillObjects's default.
		float GTimeBetweenGarbageCollectionPasses = 61.1f;
	}

	FOnViewportTick& OnViewportTick()
	{
		static FOnViewportTick Delegate;
		return Delegate;
	}

	void SetTimeBetweenGarbageCollectionPasses(float Seconds)
	{
		GTimeBetweenGarbageCollectionPasses = FMath::Max(Seconds, 0.0f);
	}

	float GetTimeBetweenGarbageCollectionPasses()
	{
		return GTimeBetweenGarbageCollectionPasses;
	}
}
