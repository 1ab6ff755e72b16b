// Copyright Quarn. All Rights Reserved.

// Host-only: the places where other modules join the engine loop's frame.
#pragma once

#include "CoreMinimal.h"
#include "Delegates/Delegate.h"

namespace UE::Host
{
	DECLARE_MULTICAST_DELEGATE_OneParam(FOnViewportTick, float /*DeltaSeconds*/);

	// Broadcast by the engine loop once per frame after the worlds have ticked: the game
	// viewport's layout and paint pass binds here.
	ENGINE_API FOnViewportTick& OnViewportTick();

	// Seconds of engine time between the garbage collections UEngine::ConditionalCollectGarbage
	// runs (61.1 by default, as gc.TimeBetweenPurgingPendingKillObjects); 0 collects only when
	// UEngine::ForceGarbageCollection asks.
	ENGINE_API void SetTimeBetweenGarbageCollectionPasses(float Seconds);
	ENGINE_API float GetTimeBetweenGarbageCollectionPasses();
}
