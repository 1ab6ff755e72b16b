#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>
#include <string_view>

namespace Velmora
{
struct DatabaseError : std::runtime_error
{
	using std::runtime_error::runtime_error;
};

// One prepared statement, reused: every Database::prepare() hands it back reset and unbound.
class Statement
{
public:
	Statement(sqlite3* db, const std::string& sql);
	~Statement();
	Statement(const Statement&) = delete;
	Statement& operator=(const Statement&) = delete;

	Statement& bind(int index, int64_t value);
	Statement& bind(int index, std::string_view value);
	Statement& bindBlob(int index, std::string_view value);
	Statement& bindNull(int index);
	Statement& bindOptional(int index, const std::optional<std::string>& value);

	// True while there is a row; false when done. Throws DatabaseError on failure.
	bool step();
	// Runs a statement that returns no rows.
	void run();

	int64_t integer(int column) const;
	std::string text(int column) const;
	std::string blob(int column) const;
	bool isNull(int column) const;

	void reset();

private:
	sqlite3* m_db;
	sqlite3_stmt* m_statement = nullptr;
	std::string m_sql;
};

// A connection. Not thread-safe: the owner serialises access.
class Database
{
public:
	// An empty path opens a private in-memory database; a file is opened in WAL mode with
	// synchronous=FULL, so that a commit is on disk before it is acknowledged.
	explicit Database(const std::string& path);
	~Database();
	Database(const Database&) = delete;
	Database& operator=(const Database&) = delete;

	Statement& prepare(const char* sql);
	void exec(const char* sql);
	// Finishes every statement still part-way through its rows, so that no read stays open
	// across a commit.
	void resetStatements();
	int64_t changes() const { return sqlite3_changes64(m_db); }
	// SQLite's own checks of the whole file (structure, indexes, NOT NULL and CHECK constraints,
	// foreign keys): the problems found, at most `limit`; empty when the file is sound.
	std::vector<std::string> integrityProblems(int limit);
	bool inMemory() const { return m_bInMemory; }
	const std::string& path() const { return m_path; }

private:
	sqlite3* m_db = nullptr;
	bool m_bInMemory;
	std::string m_path;
	std::map<std::string, std::unique_ptr<Statement>> m_statements;
};

// BEGIN IMMEDIATE (writes) or BEGIN (reads); rolls back unless committed.
class Transaction
{
public:
	Transaction(Database& db, bool bWrite);
	~Transaction();
	Transaction(const Transaction&) = delete;
	Transaction& operator=(const Transaction&) = delete;

	void commit();

private:
	Database& m_db;
	bool m_bOpen = true;
};
}
