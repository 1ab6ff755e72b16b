#include "Emulator.h"

#include "Crypto.h"
#include "Schema.h"
#include "Store.h"

#include <stdexcept>

namespace Velmora
{
Emulator::Emulator(const Options& options, Catalogue catalogue, Tickets tickets)
	: m_options(options)
	, m_catalogue(std::move(catalogue))
	, m_tickets(std::move(tickets))
	, m_inventory(m_catalogue, [this] { return newId("ins_"); })
	, m_faults(FaultPlan::parse(options.faults), options.seed)
	, m_rateLimiter(options.rateLimit)
	, m_adminKey(options.adminKey.empty() ? toHex(randomBytes(24)) : options.adminKey)
{
	m_db = std::make_unique<Database>(options.dbPath);
	if (!m_db->inMemory())
	{
		// A damaged file is refused rather than served: answers built on it would look valid.
		const std::vector<std::string> problems = m_db->integrityProblems(5);
		if (!problems.empty())
		{
			std::string found;
			for (const std::string& problem : problems)
			{
				found += "\n  " + problem;
			}
			throw std::runtime_error("the database " + options.dbPath + " is damaged; SQLite's integrity check found:" + found +
				"\nIt was not served. Restore it from a copy, or start with a new file.");
		}
	}
	m_schemaVersion = migrate(*m_db);
	purgeExpiredNow();
}

Emulator::~Emulator()
{
	closeDatabase();
}

void Emulator::closeDatabase()
{
	auto lock = lockDatabase();
	m_db.reset();
}

ECommitOutcome Emulator::awaitCommit()
{
	const CommitTicket ticket = Database::takeCommitTicket();
	ECommitOutcome outcome = ECommitOutcome::Durable;
	if (!ticket || !m_db)
	{
		return outcome;
	}
	// Those still to join the group commit it; if none does soon, commit it ourselves.
	while (!m_db->waitSettled(ticket, 1, outcome))
	{
		auto lock = lockDatabase();
		m_db->commitGroupOf(ticket);
	}
	return outcome;
}

std::string Emulator::newId(const char* prefix) const
{
	return Velmora::newId(prefix, m_clock.nowMilliseconds());
}

void Emulator::purgeExpiredNow()
{
	Transaction transaction(*m_db, true);
	const int64_t now = m_clock.nowSeconds();
	Store::deleteIdempotencyExpiredBefore(*m_db, now);
	// Expired tokens are kept for a day so that their holders hear "token_expired", not "unauthorized".
	Store::deleteTokensExpiredBefore(*m_db, now - 24 * 3600);
	transaction.commit();
}

void Emulator::maybePurgeExpired()
{
	if (++m_writes % 1000 == 0)
	{
		purgeExpiredNow();
	}
}
}
