#pragma once

#include "Database.h"
#include "Inventory.h"
#include "Json.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Velmora
{
// Rows of the database as the request handlers need them. Every function runs inside the
// caller's transaction.
namespace Store
{
// Players and tokens.
std::optional<std::string> findPlayer(Database& db, const std::string& provider, const std::string& subject);
void insertPlayer(Database& db, const std::string& id, const std::string& provider, const std::string& subject, int64_t createdMs);
bool playerExists(Database& db, const std::string& id);
struct PlayerRow
{
	std::string id;
	std::string provider;
	std::string subject;
};
std::vector<PlayerRow> listPlayers(Database& db);

void insertToken(Database& db, const std::string& selector, const std::string& verifierHash, const std::string& playerId, int64_t expiresAt);
struct TokenRow
{
	std::string verifierHash;
	std::string playerId;
	int64_t expiresAt = 0;
};
std::optional<TokenRow> findToken(Database& db, const std::string& selector);
void deleteTokensExpiredBefore(Database& db, int64_t time);

// Containers and their stacks.
std::optional<ContainerState> loadContainer(Database& db, const std::string& id);
std::optional<std::string> findContainerByKind(Database& db, const std::string& playerId, const std::string& kind);
std::vector<std::string> listContainerIds(Database& db, const std::string& playerId);
void insertContainer(Database& db, const ContainerState& container, int64_t createdMs);
// Writes the container's version and every changed or deleted stack.
void saveContainer(Database& db, ContainerState& container);
struct StackOwner
{
	std::string containerId;
	std::string playerId;
};
// The container and player of a stack, matching the instance id without regard to letter case.
std::optional<StackOwner> findStackOwner(Database& db, const std::string& instanceId);

// Change history.
struct ChangeRow
{
	std::string containerId;
	int64_t version = 0;
	std::string requestId;
	std::optional<std::string> idempotencyKey;
	std::string operation;
	Json intents;
	Json effects;
	int64_t atMs = 0;
};
void appendChange(Database& db, const ChangeRow& change);
Json readChanges(Database& db, const std::string& containerId, int64_t sinceVersion);

// Idempotency records.
struct IdempotencyRow
{
	std::string fingerprint;
	int status = 0;
	std::string body;
	int64_t createdAt = 0;
	int64_t expiresAt = 0;
};
std::optional<IdempotencyRow> findIdempotency(Database& db, const std::string& playerId, const std::string& key, int64_t now);
void putIdempotency(Database& db, const std::string& playerId, const std::string& key, const IdempotencyRow& row);
int64_t deleteIdempotencyExpiredBefore(Database& db, int64_t time);
}
}
