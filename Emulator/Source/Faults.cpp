#include "Faults.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace Velmora
{
namespace
{
double parseProbability(const std::string& name, const std::string& text)
{
	size_t used = 0;
	double value = 0;
	try
	{
		value = std::stod(text, &used);
	}
	catch (const std::exception&)
	{
		used = 0;
	}
	if (used != text.size() || text.empty() || !std::isfinite(value) || value < 0.0 || value > 1.0)
	{
		throw std::invalid_argument("fault \"" + name + "\": the probability must be a number from 0 to 1, not \"" + text + "\"");
	}
	return value;
}

const char* scopeName(FaultScope scope)
{
	switch (scope)
	{
	case FaultScope::Mutating:
		return "mutating";
	case FaultScope::Retryable:
		return "retryable";
	default:
		return "all";
	}
}
}

FaultPlan FaultPlan::parse(const std::string& text)
{
	FaultPlan plan;
	if (text.empty() || text == "none")
	{
		return plan;
	}
	std::stringstream parts(text);
	std::string part;
	while (std::getline(parts, part, ','))
	{
		const size_t equals = part.find('=');
		if (equals == std::string::npos)
		{
			throw std::invalid_argument("fault \"" + part + "\" has no value; write name=value, for example unavailable=0.1");
		}
		const std::string name = part.substr(0, equals);
		const std::string value = part.substr(equals + 1);
		if (name == "unavailable")
		{
			plan.unavailable = parseProbability(name, value);
		}
		else if (name == "drop")
		{
			plan.drop = parseProbability(name, value);
		}
		else if (name == "delay")
		{
			const size_t colon = value.find(':');
			if (colon == std::string::npos)
			{
				throw std::invalid_argument("fault \"delay\" needs a probability and milliseconds, for example delay=0.1:250");
			}
			plan.delay = parseProbability(name, value.substr(0, colon));
			const std::string ms = value.substr(colon + 1);
			size_t used = 0;
			long parsed = -1;
			try
			{
				parsed = std::stol(ms, &used);
			}
			catch (const std::exception&)
			{
				used = 0;
			}
			if (ms.empty() || used != ms.size() || parsed < 0 || parsed > 60000)
			{
				throw std::invalid_argument("fault \"delay\": the delay must be whole milliseconds from 0 to 60000, not \"" + ms + "\"");
			}
			plan.delayMs = static_cast<int>(parsed);
		}
		else if (name == "scope")
		{
			if (value == "all")
			{
				plan.scope = FaultScope::All;
			}
			else if (value == "mutating")
			{
				plan.scope = FaultScope::Mutating;
			}
			else if (value == "retryable")
			{
				plan.scope = FaultScope::Retryable;
			}
			else
			{
				throw std::invalid_argument("fault scope \"" + value + "\" is not one of all, mutating, retryable");
			}
		}
		else
		{
			throw std::invalid_argument("unknown fault \"" + name + "\"; the faults are unavailable, drop, delay (and scope)");
		}
	}
	return plan;
}

std::string FaultPlan::toString() const
{
	if (!any())
	{
		return "none";
	}
	std::ostringstream text;
	text << "unavailable=" << unavailable << ",drop=" << drop << ",delay=" << delay << ":" << delayMs << ",scope=" << scopeName(scope);
	return text.str();
}

FaultInjector::FaultInjector(const FaultPlan& plan, uint64_t seed)
	: m_plan(plan), m_seed(seed), m_random(seed)
{
}

void FaultInjector::configure(const FaultPlan& plan, const uint64_t* seed)
{
	std::lock_guard lock(m_mutex);
	m_plan = plan;
	if (seed != nullptr)
	{
		m_seed = *seed;
		m_random.seed(*seed);
	}
}

double FaultInjector::draw()
{
	// 53 random bits -> [0, 1), the same on every platform (unlike std::uniform_real_distribution).
	return static_cast<double>(m_random() >> 11) * 0x1.0p-53;
}

FaultDecision FaultInjector::decide(bool bMutating, bool bRetryable)
{
	std::lock_guard lock(m_mutex);
	FaultDecision decision;
	if (!m_plan.any())
	{
		return decision;
	}
	if ((m_plan.scope == FaultScope::Mutating && !bMutating) || (m_plan.scope == FaultScope::Retryable && !bRetryable))
	{
		return decision;
	}
	++m_eligible;
	const double unavailable = draw();
	const double drop = draw();
	const double delay = draw();
	if (unavailable < m_plan.unavailable)
	{
		decision.unavailable = true;
		++m_unavailable;
		return decision;
	}
	if (delay < m_plan.delay)
	{
		decision.delayMs = m_plan.delayMs;
		++m_delayed;
	}
	if (drop < m_plan.drop)
	{
		decision.drop = true;
		++m_dropped;
	}
	return decision;
}

void FaultInjector::resetCounters()
{
	std::lock_guard lock(m_mutex);
	m_eligible = m_unavailable = m_dropped = m_delayed = 0;
}

Json FaultInjector::describe() const
{
	std::lock_guard lock(m_mutex);
	Json out = Json::object();
	out["plan"] = m_plan.toString();
	out["seed"] = m_seed;
	out["scope"] = scopeName(m_plan.scope);
	out["unavailable"] = m_plan.unavailable;
	out["drop"] = m_plan.drop;
	out["delay"] = {{"probability", m_plan.delay}, {"ms", m_plan.delayMs}};
	out["injected"] = {{"unavailable", m_unavailable}, {"drop", m_dropped}, {"delay", m_delayed}, {"total", m_unavailable + m_dropped + m_delayed}};
	out["eligible_requests"] = m_eligible;
	return out;
}
}
