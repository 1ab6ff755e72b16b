// Copyright Quarn. All Rights Reserved.

#include "QuarnContainerSyncPolicy.h"
#include "Math/UnrealMathUtility.h"

namespace QuarnContainerSyncPolicy
{
	EFailure Classify(const FQuarnError& Error)
	{
		if (Error.Code.Equals(TEXT("version_conflict"), ESearchCase::IgnoreCase))
		{
			return EFailure::Conflict;
		}
		// The same key still being worked on: its answer comes, or the next try reads what it did.
		if (Error.Code.Equals(TEXT("idempotency_key_in_use"), ESearchCase::IgnoreCase))
		{
			return EFailure::Transient;
		}
		if (Error.HttpStatus == 0)
		{
			// No answer at all. Failures the client makes itself (no base address, a session that
			// ended) are not mended by waiting.
			const bool bNoAnswer = Error.Code == TEXT("network_error") || Error.Code == TEXT("timeout") || Error.Code == TEXT("cancelled");
			return bNoAnswer ? EFailure::Transient : EFailure::Final;
		}
		if (Error.HttpStatus == 408 || Error.HttpStatus == 429 || Error.HttpStatus >= 500)
		{
			return EFailure::Transient;
		}
		// Any other refusal (a bad request, an unknown container, a session that expired for good,
		// a rule of the container) is refused again for the same list.
		return EFailure::Final;
	}

	static double Jittered(double FirstSeconds, int32 Attempt, double CapSeconds)
	{
		const int32 Doublings = FMath::Clamp(Attempt - 1, 0, 30);
		const double Nominal = FMath::Min(FirstSeconds * static_cast<double>(1 << FMath::Min(Doublings, 20)), CapSeconds);
		return Nominal * FMath::FRandRange(0.5, 1.0);
	}

	double TransientWait(int32 Attempt, float RetryAfterSeconds)
	{
		const double Backoff = Jittered(0.5, Attempt, 30.0);
		if (RetryAfterSeconds > 0.0f)
		{
			// Not before the platform said, and not all at once just after it.
			return FMath::Max(Backoff, static_cast<double>(RetryAfterSeconds) * FMath::FRandRange(1.0, 1.1));
		}
		return Backoff;
	}

	double ConflictWait(int32 Attempt)
	{
		return Jittered(0.1, Attempt, 2.0);
	}

	const TCHAR* StateName(const EQuarnContainerSyncState State)
	{
		switch (State)
		{
		case EQuarnContainerSyncState::InSync:
			return TEXT("in sync");
		case EQuarnContainerSyncState::Waiting:
			return TEXT("waiting");
		case EQuarnContainerSyncState::Syncing:
			return TEXT("syncing");
		case EQuarnContainerSyncState::Retrying:
			return TEXT("retrying");
		case EQuarnContainerSyncState::Stopped:
			return TEXT("stopped");
		}
		return TEXT("unknown");
	}
}
