#pragma once

#include "Catalogue.h"
#include "Clock.h"
#include "Database.h"
#include "Faults.h"
#include "Idempotency.h"
#include "Inventory.h"
#include "Json.h"
#include "Options.h"
#include "RateLimiter.h"
#include "Tickets.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace Velmora
{
// What a handler answers: a status, a JSON body (or stored body text, for a replay) and headers.
struct Answer
{
	int status = 200;
	Json body = Json::object();
	std::string storedBody; // used instead of body when not empty
	std::vector<std::pair<std::string, std::string>> headers;

	std::string text() const { return storedBody.empty() ? dumpJson(body) : storedBody; }
};

// One request as the handlers see it.
struct Call
{
	std::string method;
	std::string path;                  // as sent, without the query
	std::vector<std::string> segments; // percent-decoded once
	std::string body;
	std::string requestId;
	std::string remoteAddress;
	// Header lookups (names compare without regard to case).
	std::function<std::string(const std::string&)> header;
	std::function<bool(const std::string&)> hasHeader;
	std::function<std::string(const std::string&)> queryValue;

	// Filled in by the handlers, for the request log.
	std::string playerId;
	bool bReplayed = false;
	FaultDecision fault;
};

// The emulator's state: the database (one connection, used under one lock), the clock, the
// catalogue, tickets, faults and the key registries. Shared by all request threads.
class Emulator
{
public:
	Emulator(const Options& options, Catalogue catalogue, Tickets tickets);
	~Emulator();

	const Options& options() const { return m_options; }
	const Catalogue& catalogue() const { return m_catalogue; }
	const Tickets& tickets() const { return m_tickets; }
	Clock& clock() { return m_clock; }
	Inventory& inventory() { return m_inventory; }
	FaultInjector& faults() { return m_faults; }
	InFlightKeys& inFlight() { return m_inFlight; }
	RateLimiter& rateLimiter() { return m_rateLimiter; }
	const std::string& adminKey() const { return m_adminKey; }
	int schemaVersion() const { return m_schemaVersion; }

	// Database access: hold the lock for as long as the connection is used.
	std::unique_lock<std::mutex> lockDatabase()
	{
		// Counted, so that a commit group stays open while more requests are about to join it.
		if (m_db)
		{
			m_db->noteWaiting(1);
		}
		std::unique_lock<std::mutex> lock(m_dbMutex);
		if (m_db)
		{
			m_db->noteWaiting(-1);
		}
		return lock;
	}
	// Waits until the commit holding this thread's last transactions is settled; without the lock.
	ECommitOutcome awaitCommit();
	Database& db() { return *m_db; }
	// Closes the database (checkpointing the WAL of a file database).
	void closeDatabase();

	std::string newId(const char* prefix) const;
	// Removes idempotency records past their lifetime, now and then; call with the lock held.
	void purgeExpiredNow();
	void maybePurgeExpired();

private:
	Options m_options;
	Catalogue m_catalogue;
	Tickets m_tickets;
	Clock m_clock;
	Inventory m_inventory;
	FaultInjector m_faults;
	InFlightKeys m_inFlight;
	RateLimiter m_rateLimiter;
	std::string m_adminKey;
	std::mutex m_dbMutex;
	std::unique_ptr<Database> m_db;
	int m_schemaVersion = 0;
	std::atomic<uint64_t> m_writes{0};
};
}
