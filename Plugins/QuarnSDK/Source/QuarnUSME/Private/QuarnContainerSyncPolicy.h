// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "QuarnContainerSyncTypes.h"
#include "QuarnTypes.h"

/** How a container kept in sync answers a failed try, and how long it waits before the next. */
namespace QuarnContainerSyncPolicy
{
	enum class EFailure : uint8
	{
		/** Another writer changed the container between the read and the transaction: read again and sync again. */
		Conflict,
		/** No answer, a failure of the platform, or a request to slow down: the same list can go again later. */
		Transient,
		/** A refusal that sending again cannot mend. */
		Final,
	};

	/** Conflicts read again this many times before the container reports the failure and stops. */
	inline constexpr int32 MaxConflictRetries = 4;

	QUARNUSME_API EFailure Classify(const FQuarnError& Error);

	/**
	 * The wait before try N (from 1) after a transient failure: 0.5 s doubling up to 30 s, times a
	 * random factor in [0.5, 1] so that many games do not come back at once; never shorter than the
	 * platform's Retry-After.
	 */
	QUARNUSME_API double TransientWait(int32 Attempt, float RetryAfterSeconds);

	/** The wait before reading again after conflict N (from 1): 0.1 s doubling up to 2 s, with the same jitter. */
	QUARNUSME_API double ConflictWait(int32 Attempt);

	/** A state as the log and the console write it ("in sync", "retrying", ...). */
	QUARNUSME_API const TCHAR* StateName(EQuarnContainerSyncState State);
}
