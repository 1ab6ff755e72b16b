#include "Schema.h"

#include <string>

namespace Velmora
{
namespace
{
// Migration N takes the schema from version N - 1 to N. Never edit one that has shipped: add a
// new one instead, so that existing database files move forward.
const char* const Migrations[] = {
	// 1: players, tokens, containers, stacks, change history, idempotency records.
	R"sql(
	CREATE TABLE players (
		id TEXT PRIMARY KEY,
		provider TEXT NOT NULL,
		subject TEXT NOT NULL,
		created_ms INTEGER NOT NULL,
		UNIQUE (provider, subject)
	);
	CREATE TABLE tokens (
		selector TEXT PRIMARY KEY,
		verifier_hash BLOB NOT NULL,
		player_id TEXT NOT NULL REFERENCES players (id) ON DELETE CASCADE,
		expires_at INTEGER NOT NULL
	);
	CREATE TABLE containers (
		id TEXT PRIMARY KEY,
		player_id TEXT NOT NULL REFERENCES players (id) ON DELETE CASCADE,
		kind TEXT NOT NULL,
		layout TEXT NOT NULL CHECK (layout IN ('grid', 'slots')),
		slot_count INTEGER NOT NULL,
		grid_width INTEGER NOT NULL,
		grid_height INTEGER NOT NULL,
		version INTEGER NOT NULL,
		next_ord INTEGER NOT NULL,
		created_ms INTEGER NOT NULL,
		UNIQUE (player_id, kind)
	);
	CREATE TABLE stacks (
		id TEXT PRIMARY KEY COLLATE NOCASE,
		container_id TEXT NOT NULL REFERENCES containers (id) ON DELETE CASCADE,
		ord INTEGER NOT NULL,
		item_id TEXT NOT NULL,
		quantity INTEGER NOT NULL CHECK (quantity > 0),
		slot_index INTEGER NOT NULL,
		slot_key TEXT NOT NULL,
		x INTEGER NOT NULL,
		y INTEGER NOT NULL,
		rotated INTEGER NOT NULL
	);
	CREATE INDEX stacks_by_container ON stacks (container_id, ord);
	CREATE TABLE changes (
		container_id TEXT NOT NULL REFERENCES containers (id) ON DELETE CASCADE,
		version INTEGER NOT NULL,
		request_id TEXT NOT NULL,
		idempotency_key TEXT,
		operation TEXT NOT NULL,
		intents TEXT NOT NULL,
		effects TEXT NOT NULL,
		at_ms INTEGER NOT NULL,
		PRIMARY KEY (container_id, version)
	);
	CREATE TABLE idempotency (
		player_id TEXT NOT NULL,
		key TEXT NOT NULL,
		fingerprint BLOB NOT NULL,
		status INTEGER NOT NULL,
		body TEXT NOT NULL,
		created_at INTEGER NOT NULL,
		expires_at INTEGER NOT NULL,
		PRIMARY KEY (player_id, key)
	);
	CREATE INDEX idempotency_by_expiry ON idempotency (expires_at);
	)sql",
};

constexpr int NewestVersion = static_cast<int>(sizeof(Migrations) / sizeof(Migrations[0]));
}

int migrate(Database& db)
{
	{
		Transaction transaction(db, true);
		db.exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
		Statement& count = db.prepare("SELECT COUNT(*) FROM schema_version");
		count.step();
		if (count.integer(0) == 0)
		{
			db.exec("INSERT INTO schema_version (version) VALUES (0)");
		}
		transaction.commit();
	}
	while (true)
	{
		Transaction transaction(db, true);
		Statement& read = db.prepare("SELECT version FROM schema_version");
		read.step();
		const int version = static_cast<int>(read.integer(0));
		read.reset();
		if (version > NewestVersion)
		{
			throw DatabaseError("the database has schema version " + std::to_string(version) + ", newer than this emulator's " +
				std::to_string(NewestVersion) + "; use a newer emulator or another --db file");
		}
		if (version == NewestVersion)
		{
			return version;
		}
		db.exec(Migrations[version]);
		db.prepare("UPDATE schema_version SET version = ?").bind(1, static_cast<int64_t>(version + 1)).run();
		transaction.commit();
	}
}

void clearAllData(Database& db)
{
	Transaction transaction(db, true);
	// Children first, although the cascades would do it too.
	db.exec("DELETE FROM idempotency; DELETE FROM changes; DELETE FROM stacks; DELETE FROM containers; DELETE FROM tokens; DELETE FROM players;");
	transaction.commit();
}
}
