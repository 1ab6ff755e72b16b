#pragma once

#include <sqlite3.h>

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
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

// The database file was deleted or replaced while we ran: a write would be acknowledged and lost.
struct DatabaseGone : DatabaseError
{
	using DatabaseError::DatabaseError;
};

// How the commit holding a request's writes ended.
enum class ECommitOutcome
{
	Durable,
	Failed,       // SQLite could not commit it (the changes are gone)
	DatabaseGone, // the file was deleted or replaced, so it was not committed
};

// The groups holding one thread's writes since it last asked (0: none).
struct CommitTicket
{
	uint64_t first = 0;
	uint64_t last = 0;
	explicit operator bool() const { return last != 0; }
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

	// Group commit (file databases): a write transaction joins the open group as a savepoint and
	// the group is committed, with one sync, when no one else waits for the connection or when it
	// is full. A request is answered only once its group is settled (Emulator::awaitCommit).
	// The owner counts those waiting for its lock here.
	void noteWaiting(int delta) { m_waiting.fetch_add(delta); }
	// The calling thread's request is about to write (so a group waits for it), or no longer is.
	void expectWrite();
	void unexpectWrite();
	// The calling thread's groups since its last call, and forgets them.
	static CommitTicket takeCommitTicket();
	// Waits up to `milliseconds` for the ticket's groups to settle; false on timeout.
	bool waitSettled(const CommitTicket& ticket, int milliseconds, ECommitOutcome& outcome);
	// With the owner's lock held: commits the open group if it holds `ticket`'s last one.
	void commitGroupOf(const CommitTicket& ticket);

private:
	friend class Transaction;
	void beginWrite();
	// A savepoint of the group ended: the ticket notes its group, which is committed when no one
	// else waits for the connection.
	void endWrite(bool bWrite);
	void commitGroup();
	void settle(uint64_t group, ECommitOutcome outcome);
	// True (and said once on stderr) when the path no longer names the file we opened.
	bool fileReplaced();

	sqlite3* m_db = nullptr;
	bool m_bInMemory;
	std::string m_path;
	std::map<std::string, std::unique_ptr<Statement>> m_statements;

	dev_t m_device = 0;
	ino_t m_inode = 0;
	std::atomic<bool> m_bGone{false};
	std::atomic<int> m_waiting{0};
	std::atomic<int> m_pending{0};
	// Under the owner's lock.
	bool m_bGroupOpen = false;
	uint64_t m_openGroup = 0;
	int m_groupSize = 0;
	// Under m_settleMutex.
	std::mutex m_settleMutex;
	std::condition_variable m_settled;
	uint64_t m_settledUpTo = 0;
	std::map<uint64_t, ECommitOutcome> m_failedGroups;
};

// BEGIN IMMEDIATE (writes) or BEGIN (reads); rolls back unless committed. In a file database a
// write is a savepoint of the open commit group, and a read first commits the group, so that no
// answer shows what is not yet on disk.
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
	bool m_bWrite;
	bool m_bJoined = false; // a savepoint of the database's open commit group
	bool m_bOpen = true;
};
}
