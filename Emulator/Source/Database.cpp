#include "Database.h"

namespace Velmora
{
namespace
{
[[noreturn]] void fail(sqlite3* db, const std::string& doing)
{
	throw DatabaseError(doing + ": " + sqlite3_errmsg(db));
}
}

Statement::Statement(sqlite3* db, const std::string& sql)
	: m_db(db), m_sql(sql)
{
	if (sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr) != SQLITE_OK)
	{
		fail(db, "preparing " + sql);
	}
}

Statement::~Statement()
{
	sqlite3_finalize(m_statement);
}

Statement& Statement::bind(int index, int64_t value)
{
	sqlite3_bind_int64(m_statement, index, value);
	return *this;
}

Statement& Statement::bind(int index, std::string_view value)
{
	sqlite3_bind_text64(m_statement, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
	return *this;
}

Statement& Statement::bindBlob(int index, std::string_view value)
{
	sqlite3_bind_blob64(m_statement, index, value.data(), value.size(), SQLITE_TRANSIENT);
	return *this;
}

Statement& Statement::bindNull(int index)
{
	sqlite3_bind_null(m_statement, index);
	return *this;
}

Statement& Statement::bindOptional(int index, const std::optional<std::string>& value)
{
	return value ? bind(index, std::string_view(*value)) : bindNull(index);
}

bool Statement::step()
{
	const int result = sqlite3_step(m_statement);
	if (result == SQLITE_ROW)
	{
		return true;
	}
	if (result == SQLITE_DONE)
	{
		return false;
	}
	fail(m_db, "running " + m_sql);
}

void Statement::run()
{
	while (step())
	{
	}
}

int64_t Statement::integer(int column) const
{
	return sqlite3_column_int64(m_statement, column);
}

std::string Statement::text(int column) const
{
	const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
	return data ? std::string(data, sqlite3_column_bytes(m_statement, column)) : std::string();
}

std::string Statement::blob(int column) const
{
	const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
	return data ? std::string(data, sqlite3_column_bytes(m_statement, column)) : std::string();
}

bool Statement::isNull(int column) const
{
	return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

void Statement::reset()
{
	sqlite3_reset(m_statement);
	sqlite3_clear_bindings(m_statement);
}

Database::Database(const std::string& path)
	: m_bInMemory(path.empty()), m_path(path)
{
	const char* name = m_bInMemory ? ":memory:" : path.c_str();
	if (sqlite3_open_v2(name, &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
	{
		const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
		sqlite3_close(m_db);
		throw DatabaseError("opening the database " + std::string(name) + ": " + message);
	}
	sqlite3_busy_timeout(m_db, 5000);
	exec("PRAGMA foreign_keys = ON");
	if (!m_bInMemory)
	{
		exec("PRAGMA journal_mode = WAL");
		exec("PRAGMA synchronous = FULL");
	}
}

std::vector<std::string> Database::integrityProblems(int limit)
{
	std::vector<std::string> problems;
	try
	{
		Statement check(m_db, "PRAGMA integrity_check(" + std::to_string(limit) + ")");
		while (check.step())
		{
			const std::string line = check.text(0);
			if (line != "ok")
			{
				problems.push_back(line);
			}
		}
		if (problems.empty())
		{
			Statement foreignKeys(m_db, "PRAGMA foreign_key_check");
			while (static_cast<int>(problems.size()) < limit && foreignKeys.step())
			{
				problems.push_back("a row of " + foreignKeys.text(0) + " refers to a missing row of " + foreignKeys.text(2));
			}
		}
	}
	catch (const DatabaseError& error)
	{
		// A file damaged badly enough stops the check itself.
		problems.push_back(error.what());
	}
	return problems;
}

Database::~Database()
{
	m_statements.clear();
	sqlite3_close(m_db);
}

Statement& Database::prepare(const char* sql)
{
	auto& slot = m_statements[sql];
	if (!slot)
	{
		slot = std::make_unique<Statement>(m_db, sql);
	}
	slot->reset();
	return *slot;
}

void Database::exec(const char* sql)
{
	char* error = nullptr;
	if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK)
	{
		const std::string message = error ? error : "unknown error";
		sqlite3_free(error);
		throw DatabaseError(std::string(sql) + ": " + message);
	}
}

void Database::resetStatements()
{
	for (auto& [sql, statement] : m_statements)
	{
		statement->reset();
	}
}

Transaction::Transaction(Database& db, bool bWrite)
	: m_db(db)
{
	m_db.exec(bWrite ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction()
{
	if (m_bOpen)
	{
		try
		{
			m_db.resetStatements();
			m_db.exec("ROLLBACK");
		}
		catch (const DatabaseError&)
		{
			// The transaction is gone already (SQLite rolls back on some errors by itself).
		}
	}
}

void Transaction::commit()
{
	m_db.resetStatements();
	m_db.exec("COMMIT");
	m_bOpen = false;
}
}
