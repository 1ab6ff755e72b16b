#pragma once

#include "Emulator.h"

namespace Velmora
{
enum class GameRoute
{
	Sessions,
	Ensure,
	ReadContainer,
	Grant,
	Consume,
	Move,
	Transaction,
};

inline bool isMutating(GameRoute route)
{
	return route == GameRoute::Grant || route == GameRoute::Consume || route == GameRoute::Move || route == GameRoute::Transaction;
}

// Runs one request under /v1/game/ whose route is known: authentication, rate limit,
// idempotency, the injected delay, then the operation in one database transaction.
// Throws ApiError for refusals that are not stored.
Answer handleGame(Emulator& emulator, GameRoute route, Call& call);
}
