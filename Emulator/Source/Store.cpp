#include "Store.h"

namespace Velmora::Store
{
std::optional<std::string> findPlayer(Database& db, const std::string& provider, const std::string& subject)
{
	Statement& query = db.prepare("SELECT id FROM players WHERE provider = ? AND subject = ?");
	query.bind(1, provider).bind(2, subject);
	if (!query.step())
	{
		return std::nullopt;
	}
	return query.text(0);
}

void insertPlayer(Database& db, const std::string& id, const std::string& provider, const std::string& subject, int64_t createdMs)
{
	db.prepare("INSERT INTO players (id, provider, subject, created_ms) VALUES (?, ?, ?, ?)")
		.bind(1, id)
		.bind(2, provider)
		.bind(3, subject)
		.bind(4, createdMs)
		.run();
}

bool playerExists(Database& db, const std::string& id)
{
	Statement& query = db.prepare("SELECT 1 FROM players WHERE id = ?");
	query.bind(1, id);
	return query.step();
}

std::vector<PlayerRow> listPlayers(Database& db)
{
	std::vector<PlayerRow> players;
	Statement& query = db.prepare("SELECT id, provider, subject FROM players ORDER BY created_ms, id");
	while (query.step())
	{
		players.push_back({query.text(0), query.text(1), query.text(2)});
	}
	return players;
}

void insertToken(Database& db, const std::string& selector, const std::string& verifierHash, const std::string& playerId, int64_t expiresAt)
{
	db.prepare("INSERT INTO tokens (selector, verifier_hash, player_id, expires_at) VALUES (?, ?, ?, ?)")
		.bind(1, selector)
		.bindBlob(2, verifierHash)
		.bind(3, playerId)
		.bind(4, expiresAt)
		.run();
}

std::optional<TokenRow> findToken(Database& db, const std::string& selector)
{
	Statement& query = db.prepare("SELECT verifier_hash, player_id, expires_at FROM tokens WHERE selector = ?");
	query.bind(1, selector);
	if (!query.step())
	{
		return std::nullopt;
	}
	return TokenRow{query.blob(0), query.text(1), query.integer(2)};
}

void deleteTokensExpiredBefore(Database& db, int64_t time)
{
	db.prepare("DELETE FROM tokens WHERE expires_at < ?").bind(1, time).run();
}

std::optional<ContainerState> loadContainer(Database& db, const std::string& id)
{
	Statement& query = db.prepare(
		"SELECT id, player_id, kind, layout, slot_count, grid_width, grid_height, version, next_ord FROM containers WHERE id = ?");
	query.bind(1, id);
	if (!query.step())
	{
		return std::nullopt;
	}
	ContainerState container;
	container.id = query.text(0);
	container.playerId = query.text(1);
	container.kind = query.text(2);
	container.layout = query.text(3);
	container.slotCount = static_cast<int>(query.integer(4));
	container.gridWidth = static_cast<int>(query.integer(5));
	container.gridHeight = static_cast<int>(query.integer(6));
	container.version = query.integer(7);
	container.nextOrd = query.integer(8);
	query.reset();

	Statement& stacks = db.prepare(
		"SELECT id, item_id, quantity, slot_index, slot_key, x, y, rotated, ord FROM stacks WHERE container_id = ? ORDER BY ord");
	stacks.bind(1, id);
	while (stacks.step())
	{
		Stack stack;
		stack.id = stacks.text(0);
		stack.itemId = stacks.text(1);
		stack.quantity = stacks.integer(2);
		stack.slotIndex = static_cast<int>(stacks.integer(3));
		stack.slotKey = stacks.text(4);
		stack.x = static_cast<int>(stacks.integer(5));
		stack.y = static_cast<int>(stacks.integer(6));
		stack.bRotated = stacks.integer(7) != 0;
		stack.ord = stacks.integer(8);
		stack.bStored = true;
		container.stacks.push_back(std::move(stack));
	}
	return container;
}

std::optional<std::string> findContainerByKind(Database& db, const std::string& playerId, const std::string& kind)
{
	Statement& query = db.prepare("SELECT id FROM containers WHERE player_id = ? AND kind = ?");
	query.bind(1, playerId).bind(2, kind);
	if (!query.step())
	{
		return std::nullopt;
	}
	return query.text(0);
}

std::vector<std::string> listContainerIds(Database& db, const std::string& playerId)
{
	std::vector<std::string> ids;
	Statement& query = db.prepare("SELECT id FROM containers WHERE player_id = ? ORDER BY created_ms, rowid");
	query.bind(1, playerId);
	while (query.step())
	{
		ids.push_back(query.text(0));
	}
	return ids;
}

void insertContainer(Database& db, const ContainerState& container, int64_t createdMs)
{
	db.prepare("INSERT INTO containers (id, player_id, kind, layout, slot_count, grid_width, grid_height, version, next_ord, created_ms) "
			   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
		.bind(1, container.id)
		.bind(2, container.playerId)
		.bind(3, container.kind)
		.bind(4, container.layout)
		.bind(5, static_cast<int64_t>(container.slotCount))
		.bind(6, static_cast<int64_t>(container.gridWidth))
		.bind(7, static_cast<int64_t>(container.gridHeight))
		.bind(8, container.version)
		.bind(9, container.nextOrd)
		.bind(10, createdMs)
		.run();
}

void saveContainer(Database& db, ContainerState& container)
{
	db.prepare("UPDATE containers SET version = ?, next_ord = ? WHERE id = ?")
		.bind(1, container.version)
		.bind(2, container.nextOrd)
		.bind(3, container.id)
		.run();
	for (const std::string& id : container.deletedIds)
	{
		db.prepare("DELETE FROM stacks WHERE id = ?").bind(1, id).run();
	}
	container.deletedIds.clear();
	for (Stack& stack : container.stacks)
	{
		if (!stack.bDirty)
		{
			continue;
		}
		Statement& write = stack.bStored
			? db.prepare("UPDATE stacks SET container_id = ?2, ord = ?3, item_id = ?4, quantity = ?5, slot_index = ?6, slot_key = ?7, x = ?8, "
						 "y = ?9, rotated = ?10 WHERE id = ?1")
			: db.prepare("INSERT INTO stacks (id, container_id, ord, item_id, quantity, slot_index, slot_key, x, y, rotated) "
						 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
		write.bind(1, stack.id)
			.bind(2, container.id)
			.bind(3, stack.ord)
			.bind(4, stack.itemId)
			.bind(5, stack.quantity)
			.bind(6, static_cast<int64_t>(stack.slotIndex))
			.bind(7, stack.slotKey)
			.bind(8, static_cast<int64_t>(stack.x))
			.bind(9, static_cast<int64_t>(stack.y))
			.bind(10, static_cast<int64_t>(stack.bRotated ? 1 : 0))
			.run();
		stack.bStored = true;
		stack.bDirty = false;
	}
}

std::optional<StackOwner> findStackOwner(Database& db, const std::string& instanceId)
{
	Statement& query = db.prepare("SELECT s.container_id, c.player_id FROM stacks s JOIN containers c ON c.id = s.container_id WHERE s.id = ?");
	query.bind(1, instanceId);
	if (!query.step())
	{
		return std::nullopt;
	}
	return StackOwner{query.text(0), query.text(1)};
}

void appendChange(Database& db, const ChangeRow& change)
{
	db.prepare("INSERT INTO changes (container_id, version, request_id, idempotency_key, operation, intents, effects, at_ms) "
			   "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
		.bind(1, change.containerId)
		.bind(2, change.version)
		.bind(3, change.requestId)
		.bindOptional(4, change.idempotencyKey)
		.bind(5, change.operation)
		.bind(6, dumpJson(change.intents))
		.bind(7, dumpJson(change.effects))
		.bind(8, change.atMs)
		.run();
}

Json readChanges(Database& db, const std::string& containerId, int64_t sinceVersion)
{
	Json entries = Json::array();
	Statement& query = db.prepare("SELECT version, request_id, idempotency_key, operation, intents, effects, at_ms FROM changes "
								  "WHERE container_id = ? AND version > ? ORDER BY version");
	query.bind(1, containerId).bind(2, sinceVersion);
	while (query.step())
	{
		Json entry = Json::object();
		entry["version"] = query.integer(0);
		entry["request_id"] = query.text(1);
		entry["idempotency_key"] = query.isNull(2) ? Json(nullptr) : Json(query.text(2));
		entry["operation"] = query.text(3);
		entry["at_ms"] = query.integer(6);
		entry["intents"] = Json::parse(query.text(4));
		entry["effects"] = Json::parse(query.text(5));
		entries.push_back(std::move(entry));
	}
	return entries;
}

std::optional<IdempotencyRow> findIdempotency(Database& db, const std::string& playerId, const std::string& key, int64_t now)
{
	Statement& query =
		db.prepare("SELECT fingerprint, status, body, created_at, expires_at FROM idempotency WHERE player_id = ? AND key = ? AND expires_at > ?");
	query.bind(1, playerId).bind(2, key).bind(3, now);
	if (!query.step())
	{
		return std::nullopt;
	}
	return IdempotencyRow{query.blob(0), static_cast<int>(query.integer(1)), query.text(2), query.integer(3), query.integer(4)};
}

void putIdempotency(Database& db, const std::string& playerId, const std::string& key, const IdempotencyRow& row)
{
	// An expired record of the same key is replaced: after 14 days the key is free again.
	db.prepare("INSERT OR REPLACE INTO idempotency (player_id, key, fingerprint, status, body, created_at, expires_at) VALUES (?, ?, ?, ?, ?, ?, ?)")
		.bind(1, playerId)
		.bind(2, key)
		.bindBlob(3, row.fingerprint)
		.bind(4, static_cast<int64_t>(row.status))
		.bind(5, row.body)
		.bind(6, row.createdAt)
		.bind(7, row.expiresAt)
		.run();
}

int64_t deleteIdempotencyExpiredBefore(Database& db, int64_t time)
{
	db.prepare("DELETE FROM idempotency WHERE expires_at <= ?").bind(1, time).run();
	return db.changes();
}
}
