// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Async/TaskGraphInterfaces.h"
#include "Templates/Function.h"

/**
 * Runs Function on the named thread. The game thread's tasks run in the engine loop's frame, in
 * the order they were queued; any other name runs Function on a background worker. Safe to call
 * from any thread.
 */
CORE_API void AsyncTask(ENamedThreads::Type Thread, TUniqueFunction<void()> Function);
