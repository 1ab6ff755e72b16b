#pragma once

#include "Json.h"

#include <cstdint>
#include <mutex>
#include <random>
#include <string>

namespace Velmora
{
// Which game requests a fault may hit.
enum class FaultScope
{
	All,       // every request under /v1/game/
	Mutating,  // grant, consume, move, transaction
	Retryable, // GETs and requests that carry an Idempotency-Key: what a client may safely resend
};

// "unavailable=0.1,drop=0.05,delay=0.1:250,scope=mutating": probabilities from 0 to 1, the delay
// in milliseconds. "" and "none" mean no faults.
struct FaultPlan
{
	double unavailable = 0.0;
	double drop = 0.0;
	double delay = 0.0;
	int delayMs = 0;
	FaultScope scope = FaultScope::All;

	// Throws std::invalid_argument with a message that names the part at fault.
	static FaultPlan parse(const std::string& text);
	std::string toString() const;
	bool any() const { return unavailable > 0 || drop > 0 || delay > 0; }
};

// What to do to one request, decided when it arrives.
struct FaultDecision
{
	bool unavailable = false; // answer 503 before any change
	bool drop = false;        // carry it out, then close the connection without an answer
	int delayMs = 0;          // wait this long before carrying it out
};

class FaultInjector
{
public:
	FaultInjector(const FaultPlan& plan, uint64_t seed);

	// Replaces the plan; with a seed, also restarts the random sequence from it.
	void configure(const FaultPlan& plan, const uint64_t* seed);
	// Three draws per eligible request, whatever the outcome, so that a run with the same seed and
	// the same request order meets the same faults.
	FaultDecision decide(bool bMutating, bool bRetryable);
	void resetCounters();
	Json describe() const;

private:
	double draw();

	mutable std::mutex m_mutex;
	FaultPlan m_plan;
	uint64_t m_seed;
	std::mt19937_64 m_random;
	uint64_t m_eligible = 0;
	uint64_t m_unavailable = 0;
	uint64_t m_dropped = 0;
	uint64_t m_delayed = 0;
};
}
