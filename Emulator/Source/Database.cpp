#include "Database.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>

namespace Velmora
{
namespace
{
// Transactions sharing one commit at most; with more waiting, the group is committed anyway.
constexpr int MaxGroupSize = 256;

thread_local CommitTicket t_ticket;
thread_local bool t_bExpectsWrite = false;

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
		struct stat file{};
		if (stat(path.c_str(), &file) == 0)
		{
			m_device = file.st_dev;
			m_inode = file.st_ino;
		}
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
	commitGroup();
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

bool Database::fileReplaced()
{
	if (m_bInMemory)
	{
		return false;
	}
	if (m_bGone.load())
	{
		return true;
	}
	struct stat file{};
	const bool bMissing = stat(m_path.c_str(), &file) != 0;
	if (!bMissing && file.st_dev == m_device && file.st_ino == m_inode)
	{
		return false;
	}
	if (!m_bGone.exchange(true))
	{
		std::fprintf(stderr, "velmora-emulator: the database file %s was %s while the emulator ran; writes are refused from now on "
			"(503 \"database_gone\"), since they would be lost. Restart the emulator.\n", m_path.c_str(), bMissing ? "deleted" : "replaced");
	}
	return true;
}

void Database::beginWrite()
{
	if (m_bGroupOpen)
	{
		if (m_bGone.load())
		{
			throw DatabaseGone("the database file was deleted or replaced");
		}
		return;
	}
	if (fileReplaced())
	{
		throw DatabaseGone("the database file was deleted or replaced");
	}
	exec("BEGIN IMMEDIATE");
	m_bGroupOpen = true;
	++m_openGroup;
	m_groupSize = 0;
}

void Database::expectWrite()
{
	if (!t_bExpectsWrite)
	{
		t_bExpectsWrite = true;
		m_pending.fetch_add(1);
	}
}

void Database::unexpectWrite()
{
	if (t_bExpectsWrite)
	{
		t_bExpectsWrite = false;
		m_pending.fetch_sub(1);
	}
}

void Database::endWrite(bool bWrite)
{
	if (bWrite)
	{
		unexpectWrite();
	}
	if (sqlite3_get_autocommit(m_db) != 0)
	{
		// SQLite rolled the whole group back by itself (some errors do): none of it was committed.
		if (m_bGroupOpen)
		{
			m_bGroupOpen = false;
			settle(m_openGroup, ECommitOutcome::Failed);
		}
		return;
	}
	// Even a refusal waits for the group: what it read may be the group's.
	t_ticket.first = t_ticket.first == 0 ? m_openGroup : t_ticket.first;
	t_ticket.last = m_openGroup;
	++m_groupSize;
	// Requests waiting for the connection, or on their way to a write, will join; the last commits.
	if (m_groupSize >= MaxGroupSize || (m_waiting.load() == 0 && m_pending.load() == 0))
	{
		commitGroup();
	}
}

void Database::commitGroup()
{
	if (!m_bGroupOpen)
	{
		return;
	}
	m_bGroupOpen = false;
	resetStatements();
	ECommitOutcome outcome = ECommitOutcome::Durable;
	try
	{
		if (fileReplaced())
		{
			outcome = ECommitOutcome::DatabaseGone;
			exec("ROLLBACK");
		}
		else
		{
			exec("COMMIT");
		}
	}
	catch (const DatabaseError& error)
	{
		std::fprintf(stderr, "database error: the commit failed: %s\n", error.what());
		outcome = outcome == ECommitOutcome::Durable ? ECommitOutcome::Failed : outcome;
		if (sqlite3_get_autocommit(m_db) == 0)
		{
			sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
		}
	}
	settle(m_openGroup, outcome);
}

void Database::settle(uint64_t group, ECommitOutcome outcome)
{
	{
		const std::lock_guard<std::mutex> lock(m_settleMutex);
		if (outcome != ECommitOutcome::Durable)
		{
			m_failedGroups[group] = outcome;
			while (m_failedGroups.size() > 1000)
			{
				m_failedGroups.erase(m_failedGroups.begin());
			}
		}
		m_settledUpTo = group;
	}
	m_settled.notify_all();
}

CommitTicket Database::takeCommitTicket()
{
	const CommitTicket ticket = t_ticket;
	t_ticket = CommitTicket{};
	return ticket;
}

bool Database::waitSettled(const CommitTicket& ticket, int milliseconds, ECommitOutcome& outcome)
{
	std::unique_lock<std::mutex> lock(m_settleMutex);
	if (!m_settled.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return m_settledUpTo >= ticket.last; }))
	{
		return false;
	}
	outcome = ECommitOutcome::Durable;
	for (auto failed = m_failedGroups.lower_bound(ticket.first); failed != m_failedGroups.end() && failed->first <= ticket.last; ++failed)
	{
		if (outcome != ECommitOutcome::DatabaseGone)
		{
			outcome = failed->second;
		}
	}
	return true;
}

void Database::commitGroupOf(const CommitTicket& ticket)
{
	if (m_bGroupOpen && m_openGroup == ticket.last)
	{
		commitGroup();
	}
}

Transaction::Transaction(Database& db, bool bWrite)
	: m_db(db), m_bWrite(bWrite)
{
	if (m_db.m_bInMemory)
	{
		m_db.exec(bWrite ? "BEGIN IMMEDIATE" : "BEGIN");
		return;
	}
	if (bWrite)
	{
		m_db.beginWrite();
	}
	if (m_db.m_bGroupOpen)
	{
		// A savepoint of the open group: rolled back alone, committed with the others.
		m_db.exec("SAVEPOINT grouped");
		m_bJoined = true;
		return;
	}
	m_db.exec("BEGIN");
}

Transaction::~Transaction()
{
	if (!m_bOpen)
	{
		return;
	}
	try
	{
		m_db.resetStatements();
		if (m_bJoined)
		{
			m_db.exec("ROLLBACK TO grouped");
			m_db.exec("RELEASE grouped");
		}
		else
		{
			m_db.exec("ROLLBACK");
		}
	}
	catch (const DatabaseError&)
	{
		// The transaction is gone already (SQLite rolls back on some errors by itself).
	}
	if (m_bJoined)
	{
		m_db.endWrite(m_bWrite);
	}
}

void Transaction::commit()
{
	m_db.resetStatements();
	if (m_bJoined)
	{
		m_db.exec("RELEASE grouped");
		m_bOpen = false;
		m_db.endWrite(m_bWrite);
		return;
	}
	m_db.exec("COMMIT");
	m_bOpen = false;
}
}
